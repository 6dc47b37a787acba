// The stored full-moon picture and the phase picture built from it.
#include <QApplication>
#include <QImage>
#include <QTest>

#include "app/phase.h"
#include "support.h"
#include "app/phaseImage.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = kPi * 2;

bool isBlack(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0x00ffffffu) == 0; }

}  // namespace

class TestPhaseImage : public QObject {
    Q_OBJECT

private slots:
    // The painter relies on a black ground outside the disc's box 20..126 x
    // 16..119 and on no black pixel well inside the disc; the disc itself is
    // a photograph-like grey picture, not a flat fill.
    void fullMoonHasTheDiscWhereThePainterExpectsIt()
    {
        const QImage& moon = ui::fullMoonImage();
        QCOMPARE(moon.size(), QSize(151, 136));
        int litOutside = 0, darkInside = 0, lo = 255, hi = 0;
        for (int y = 0; y < moon.height(); ++y) {
            for (int x = 0; x < moon.width(); ++x) {
                if (x < 20 || x > 126 || y < 16 || y > 119) {
                    litOutside += isBlack(moon, x, y) ? 0 : 1;
                    continue;
                }
                const double u = (x - 73.0) / 50.5, v = (y - 67.5) / 49.0;  // three pixels in from the edge
                if (u * u + v * v >= 1.0)
                    continue;
                darkInside += isBlack(moon, x, y) ? 1 : 0;
                const QRgb p = moon.pixel(x, y);
                if (u * u + v * v < 0.8) {
                    lo = qMin(lo, qGray(p));
                    hi = qMax(hi, qGray(p));
                    QVERIFY(qAbs(qRed(p) - qBlue(p)) < 40);
                }
            }
        }
        QCOMPARE(litOutside, 0);
        QCOMPARE(darkInside, 0);
        QVERIFY2(hi - lo > 60, qPrintable(QStringLiteral("grey levels %1..%2").arg(lo).arg(hi)));
        // The disc reaches its box on all four sides.
        QVERIFY(!isBlack(moon, 20, 67) && !isBlack(moon, 126, 67));
        QVERIFY(!isBlack(moon, 73, 16) && !isBlack(moon, 73, 119));
    }

    void phaseImageIsThePainterOnTheStoredPicture()
    {
        const TcImage moon = ui::toTcImage(ui::fullMoonImage());
        for (double age : {0.0, 3.0, 7.3826, 11.0, 14.7653, 18.0, 22.1479, 26.0, 29.53, -2.0}) {
            const QImage shown = ui::phaseImage(age, kPi, kTwoPi);
            QCOMPARE(shown.size(), QSize(151, 136));
            TcImage want = moon;
            funcPhase(want, age, kPi, kTwoPi);
            for (int y = 0; y < want.height; ++y)
                for (int x = 0; x < want.width; ++x)
                    if ((shown.pixel(x, y) & 0x00ffffffu) != want.pixel(x, y))
                        QFAIL(qPrintable(QStringLiteral("age %1: pixel (%2, %3) differs").arg(age).arg(x).arg(y)));
        }
    }

    // Each call starts from the untouched picture: a full moon after two dark
    // ones is lit on both sides of the middle.
    void paintingLeavesTheStoredPictureAlone()
    {
        const QImage before = ui::fullMoonImage().copy();
        ui::phaseImage(0.0, kPi, kTwoPi);
        ui::phaseImage(29.53, kPi, kTwoPi);
        QCOMPARE(ui::fullMoonImage(), before);
        const QImage full = ui::phaseImage(14.7653, kPi, kTwoPi);
        QVERIFY(!isBlack(full, 30, 67) && !isBlack(full, 100, 67));
    }

    void conversionKeepsEveryPixel()
    {
        QImage img(5, 3, QImage::Format_ARGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                img.setPixel(x, y, qRgba(x * 50, y * 100, 7 + x + y, 128 + x));
        const TcImage plain = ui::toTcImage(img);
        QCOMPARE(plain.pixel(4, 2), 0x00c8c80du);  // alpha dropped
        const QImage back = ui::fromTcImage(plain);
        QCOMPARE(back.format(), QImage::Format_RGB32);
        QCOMPARE(back, img.convertToFormat(QImage::Format_RGB32));
    }
};

LUNVELDE_GUI_TEST_MAIN(TestPhaseImage)

#include "tst_phaseImage.moc"
