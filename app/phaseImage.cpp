#include "app/phaseImage.h"

namespace ui {

TcImage toTcImage(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    TcImage out(rgb.width(), rgb.height());
    for (int y = 0; y < out.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < out.width; ++x)
            out.setPixel(x, y, line[x] & 0x00ffffffu);
    }
    return out;
}

QImage fromTcImage(const TcImage& image)
{
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.width; ++x)
            line[x] = 0xff000000u | image.pixel(x, y);
    }
    return out;
}

const QImage& fullMoonImage()
{
    static const QImage img = [] {
        QImage i(QStringLiteral(":/resources/fullmoon.png"));
        if (i.isNull()) {
            // Only when the resource is missing from the build: a black
            // picture of the right size keeps the window usable.
            i = QImage(phase::kPictureWidth, phase::kPictureHeight, QImage::Format_RGB32);
            i.fill(Qt::black);
        }
        return i.convertToFormat(QImage::Format_RGB32);
    }();
    return img;
}

QImage phaseImage(double age, double pi, double twoPi)
{
    static const TcImage moon = toTcImage(fullMoonImage());
    TcImage canvas = moon;
    funcPhase(canvas, age, pi, twoPi);
    return fromTcImage(canvas);
}

}  // namespace ui
