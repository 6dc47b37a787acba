// The stored full-moon picture and the phase picture built from it.
#include <QApplication>
#include <QImage>
#include <QTest>

#include "app/phase.h"
#include "support.h"
#include "ui/phaseImage.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = kPi * 2;

bool isBlack(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0x00ffffffu) == 0; }

// The dark runs of one row as "first..last" ranges.
QString darkRuns(const QImage& img, int y)
{
    QStringList runs;
    for (int x = 0; x < img.width(); ++x) {
        if (!isBlack(img, x, y)) continue;
        int end = x;
        while (end + 1 < img.width() && isBlack(img, end + 1, y)) ++end;
        runs << QStringLiteral("%1..%2").arg(x).arg(end);
        x = end;
    }
    return runs.join(QLatin1Char(' '));
}

}  // namespace

class TestPhaseImage : public QObject {
    Q_OBJECT

private slots:
    void fullMoonHasTheDiscWhereThePainterExpectsIt()
    {
        support::TestFolders folders;
        const QImage& moon = ui::fullMoonImage();
        QCOMPARE(moon.size(), QSize(151, 136));
        QCOMPARE(moon.format(), QImage::Format_RGB32);

        int litOutside = 0, darkInside = 0;
        for (int y = 0; y < moon.height(); ++y) {
            for (int x = 0; x < moon.width(); ++x) {
                // Everything outside the disc's box is the black ground.
                if (x < 20 || x > 126 || y < 16 || y > 119) {
                    if (!isBlack(moon, x, y)) ++litOutside;
                    continue;
                }
                // Well inside the disc (three pixels in from its edge) nothing
                // is black, so no painted pixel can be mistaken for moon.
                const double u = (x - 73.0) / 50.5, v = (y - 67.5) / 49.0;
                if (u * u + v * v < 1.0 && isBlack(moon, x, y)) ++darkInside;
            }
        }
        QCOMPARE(litOutside, 0);
        QCOMPARE(darkInside, 0);
        // The disc reaches its box on all four sides.
        QVERIFY(!isBlack(moon, 20, 67));
        QVERIFY(!isBlack(moon, 126, 67));
        QVERIFY(!isBlack(moon, 73, 16));
        QVERIFY(!isBlack(moon, 73, 119));
    }

    void fullMoonIsAGreyPictureNotAFlatFill()
    {
        // A photograph-like moon: the dark plains and the bright highlands
        // make a wide spread of grey levels, and no colour is strong.
        const QImage& moon = ui::fullMoonImage();
        int lo = 255, hi = 0;
        for (int y = 30; y < 106; ++y)
            for (int x = 35; x < 112; ++x) {
                const double u = (x - 73.0) / 45.0, v = (y - 67.5) / 45.0;
                if (u * u + v * v >= 1.0) continue;  // inner part of the disc only
                const QRgb p = moon.pixel(x, y);
                lo = qMin(lo, qGray(p));
                hi = qMax(hi, qGray(p));
                QVERIFY(qAbs(qRed(p) - qBlue(p)) < 40);
            }
        QVERIFY2(hi - lo > 60, qPrintable(QStringLiteral("grey levels %1..%2").arg(lo).arg(hi)));
    }

    void phaseImageIsThePainterOnTheStoredPicture()
    {
        const TcImage moon = ui::toTcImage(ui::fullMoonImage());
        for (double age : {0.0, 3.0, 7.3826, 11.0, 14.7653, 18.0, 22.1479, 26.0, 29.53, -2.0}) {
            const QImage shown = ui::phaseImage(age, kPi, kTwoPi);
            QCOMPARE(shown.size(), QSize(151, 136));
            QCOMPARE(shown.format(), QImage::Format_RGB32);
            TcImage want = moon;
            funcPhase(want, age, kPi, kTwoPi);
            for (int y = 0; y < want.height; ++y)
                for (int x = 0; x < want.width; ++x)
                    if ((shown.pixel(x, y) & 0x00ffffffu) != want.pixel(x, y))
                        QFAIL(qPrintable(QStringLiteral("age %1: pixel (%2, %3) differs").arg(age).arg(x).arg(y)));
        }
    }

    void paintingLeavesTheStoredPictureAlone()
    {
        const QImage before = ui::fullMoonImage().copy();
        ui::phaseImage(0.0, kPi, kTwoPi);
        ui::phaseImage(29.53, kPi, kTwoPi);
        QCOMPARE(ui::fullMoonImage(), before);
        // A full moon only loses its thin right rim, so the next call starts
        // from the untouched picture rather than from the previous dark one.
        const QImage full = ui::phaseImage(14.7653, kPi, kTwoPi);
        QVERIFY(!isBlack(full, 30, 67));
        QVERIFY(!isBlack(full, 100, 67));
    }

    void rimsOnTheRealPicture()
    {
        // New moon: the only light left on the middle row is the rim 124..126.
        const QImage newMoon = ui::phaseImage(0.0, kPi, kTwoPi);
        QCOMPARE(darkRuns(newMoon, 67), QStringLiteral("0..123 127..150"));
        // End of the month: the rim 20..23 on the left.
        const QImage old = ui::phaseImage(29.53, kPi, kTwoPi);
        QCOMPARE(darkRuns(old, 67), QStringLiteral("0..19 24..150"));
        // First quarter: dark up to column 73, the moon lit from 74 on.
        const QImage quarter = ui::phaseImage(7.3826, kPi, kTwoPi);
        QCOMPARE(darkRuns(quarter, 67), QStringLiteral("0..73 127..150"));
    }

    void conversionKeepsEveryPixel()
    {
        QImage img(5, 3, QImage::Format_ARGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                img.setPixel(x, y, qRgba(x * 50, y * 100, 7 + x + y, 128 + x));
        const TcImage plain = ui::toTcImage(img);
        QCOMPARE(plain.width, 5);
        QCOMPARE(plain.height, 3);
        QCOMPARE(plain.pixel(4, 2), 0x00c8c80du);  // alpha dropped
        const QImage back = ui::fromTcImage(plain);
        QCOMPARE(back.format(), QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                QCOMPARE(back.pixel(x, y) & 0x00ffffffu, img.pixel(x, y) & 0x00ffffffu);
    }
};

LUNVELDE_GUI_TEST_MAIN(TestPhaseImage)

#include "tst_phaseImage.moc"
