// Draws the tool-bar button pictures (20 x 20, transparent ground) and the
// program icon (a crescent moon on a dark blue rounded square) in every size
// the program and the desktop need. Only shapes are drawn, no text, so the
// result does not depend on the fonts installed and every run writes the same
// files.
//
//   mkicons <resources folder>
//
// writes btn_exit.png, btn_date.png, btn_locate.png, btn_calc.png,
// btn_before.png, btn_next.png, btn_help.png, lunvelde.png (64 x 64), each
// also as <name>@2x.png at twice the size, and
// icons/hicolor/<N>x<N>/apps/lunvelde.png for N = 16 ... 256.

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>
#include <utility>

namespace {

constexpr int kButtonSize = 20;

const QColor kOutline(0x33, 0x33, 0x33);

QImage canvas(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

bool save(const QImage& img, const QString& path)
{
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "mkicons: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Runs a drawing in the 20 x 20 coordinate system of a button picture, on
// scale x 20 pixels.
QImage button(const std::function<void(QPainter&)>& draw, int scale)
{
    QImage img = canvas(kButtonSize * scale);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(scale, scale);
    draw(p);
    p.end();
    return img;
}

QPen pen(const QColor& c, double width)
{
    QPen pn(c, width);
    pn.setJoinStyle(Qt::RoundJoin);
    pn.setCapStyle(Qt::RoundCap);
    return pn;
}

// An open door with an arrow leaving through it.
void drawExit(QPainter& p)
{
    // Frame with the dark opening.
    p.setPen(pen(kOutline, 1.0));
    p.setBrush(QColor(0x4a, 0x4a, 0x52));
    p.drawRect(QRectF(2.5, 1.5, 10, 17));
    // The door swung open towards the viewer, hinged on the left.
    QPainterPath door;
    door.moveTo(2.5, 1.5);
    door.lineTo(8.5, 3.5);
    door.lineTo(8.5, 19.0);
    door.lineTo(2.5, 18.5);
    door.closeSubpath();
    QLinearGradient wood(2.5, 0, 8.5, 0);
    wood.setColorAt(0, QColor(0xc8, 0x84, 0x3c));
    wood.setColorAt(1, QColor(0x8c, 0x52, 0x1c));
    p.setBrush(wood);
    p.drawPath(door);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xe0, 0x80));
    p.drawEllipse(QPointF(7.2, 11.0), 0.8, 0.8);
    // The arrow pointing out to the right.
    QPainterPath arrow;
    arrow.moveTo(10.0, 8.5);
    arrow.lineTo(14.0, 8.5);
    arrow.lineTo(14.0, 5.5);
    arrow.lineTo(19.0, 10.0);
    arrow.lineTo(14.0, 14.5);
    arrow.lineTo(14.0, 11.5);
    arrow.lineTo(10.0, 11.5);
    arrow.closeSubpath();
    p.setPen(pen(QColor(0x1b, 0x5e, 0x20), 0.8));
    p.setBrush(QColor(0x43, 0xa0, 0x47));
    p.drawPath(arrow);
}

// A calendar page: red heading, two rings and a grid of days.
void drawDate(QPainter& p)
{
    p.setPen(pen(kOutline, 1.0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2.5, 3.5, 15, 15), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd3, 0x2f, 0x2f));
    p.drawRect(QRectF(3.0, 4.0, 14, 4));
    // Days: three rows of four cells, one of them marked.
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            const bool today = row == 1 && col == 2;
            p.setBrush(today ? QColor(0xd3, 0x2f, 0x2f) : QColor(0x80, 0x80, 0x88));
            p.drawRect(QRectF(4.5 + col * 3.0, 9.5 + row * 3.0, 2.0, 2.0));
        }
    // Binder rings.
    p.setPen(pen(QColor(0x55, 0x55, 0x55), 1.4));
    p.drawLine(QPointF(6.5, 2.0), QPointF(6.5, 5.5));
    p.drawLine(QPointF(13.5, 2.0), QPointF(13.5, 5.5));
}

// A map pin standing on its shadow.
void drawLocate(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(QPointF(10.0, 18.0), 4.5, 1.4);
    QPainterPath pin;
    pin.moveTo(10.0, 18.2);
    pin.cubicTo(8.0, 14.0, 4.0, 11.0, 4.0, 7.5);
    pin.arcTo(QRectF(4.0, 1.5, 12.0, 12.0), 180.0, -180.0);
    pin.cubicTo(16.0, 11.0, 12.0, 14.0, 10.0, 18.2);
    pin.closeSubpath();
    QRadialGradient red(QPointF(8.0, 5.5), 9.0);
    red.setColorAt(0, QColor(0xff, 0x6e, 0x6e));
    red.setColorAt(1, QColor(0xb7, 0x1c, 0x1c));
    p.setPen(pen(QColor(0x7f, 0x10, 0x10), 0.9));
    p.setBrush(red);
    p.drawPath(pin);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10.0, 7.5), 2.3, 2.3);
}

// A table: blue heading row and a grid of cells.
void drawCalc(QPainter& p)
{
    const QRectF sheet(2.5, 2.5, 15, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setBrush(QColor(0x1e, 0x6f, 0xd0));
    p.drawRect(QRectF(2.5, 2.5, 15, 4));
    p.setPen(pen(QColor(0x70, 0x78, 0x88), 0.9));
    p.setBrush(Qt::NoBrush);
    for (double x : {7.5, 12.5})
        p.drawLine(QPointF(x, 6.5), QPointF(x, 17.5));
    for (double y : {10.2, 13.9})
        p.drawLine(QPointF(2.5, y), QPointF(17.5, y));
    p.setPen(pen(kOutline, 1.0));
    p.drawRect(sheet);
}

// A fat arrow pointing left (dir = -1) or right (dir = +1).
void drawArrow(QPainter& p, int dir)
{
    auto px = [dir](double x) { return dir > 0 ? x : 20.0 - x; };
    QPainterPath arrow;
    arrow.moveTo(px(2.5), 7.5);
    arrow.lineTo(px(10.0), 7.5);
    arrow.lineTo(px(10.0), 3.0);
    arrow.lineTo(px(17.5), 10.0);
    arrow.lineTo(px(10.0), 17.0);
    arrow.lineTo(px(10.0), 12.5);
    arrow.lineTo(px(2.5), 12.5);
    arrow.closeSubpath();
    QLinearGradient fill(0, 3.0, 0, 17.0);
    fill.setColorAt(0, QColor(0x64, 0xb5, 0xf6));
    fill.setColorAt(1, QColor(0x15, 0x65, 0xc0));
    p.setPen(pen(QColor(0x0d, 0x3c, 0x78), 1.0));
    p.setBrush(fill);
    p.drawPath(arrow);
}

// A question mark in a blue circle, drawn as strokes.
void drawHelp(QPainter& p)
{
    QRadialGradient blue(QPointF(8.0, 7.0), 11.0);
    blue.setColorAt(0, QColor(0x4f, 0x9b, 0xff));
    blue.setColorAt(1, QColor(0x0d, 0x47, 0xa1));
    p.setPen(pen(QColor(0x0a, 0x2f, 0x6b), 1.0));
    p.setBrush(blue);
    p.drawEllipse(QPointF(10.0, 10.0), 8.5, 8.5);
    QPainterPath hook;
    hook.arcMoveTo(QRectF(7.0, 4.0, 6.0, 6.0), 160.0);
    hook.arcTo(QRectF(7.0, 4.0, 6.0, 6.0), 160.0, -220.0);
    hook.quadTo(QPointF(10.0, 10.5), QPointF(10.0, 12.3));
    p.setPen(pen(Qt::white, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10.0, 15.2), 1.25, 1.25);
}

// The program icon in one size: a crescent moon, lit on the right, on a dark
// blue rounded square, with a few stars from 32 pixels up.
QImage programIcon(int size)
{
    QImage img = canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 64.0, size / 64.0);  // drawn in a 64 x 64 coordinate system

    QLinearGradient sky(0, 0, 0, 64);
    sky.setColorAt(0, QColor(0x1a, 0x2f, 0x7a));
    sky.setColorAt(1, QColor(0x07, 0x10, 0x38));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 12, 12);

    if (size >= 32) {
        p.setBrush(QColor(0xff, 0xff, 0xff, 210));
        p.drawEllipse(QPointF(13, 14), 1.6, 1.6);
        p.drawEllipse(QPointF(13, 50), 1.2, 1.2);
        p.drawEllipse(QPointF(53, 9), 1.0, 1.0);
        p.drawEllipse(QPointF(11, 33), 1.0, 1.0);
    }

    QPainterPath disc;
    disc.addEllipse(QPointF(35, 32), 22, 22);
    QPainterPath shadow;
    shadow.addEllipse(QPointF(25, 27), 20, 20);
    const QPainterPath crescent = disc.subtracted(shadow);
    QRadialGradient light(QPointF(48, 36), 26);
    light.setColorAt(0, QColor(0xff, 0xf8, 0xdc));
    light.setColorAt(1, QColor(0xe8, 0xcf, 0x7a));
    p.setBrush(light);
    p.drawPath(crescent);
    p.end();
    return img;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkicons <resources folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;

    // Each picture also at twice the size, "@2x": QIcon takes it on screens
    // scaled to 200 %.
    const std::pair<const char*, std::function<void(QPainter&)>> buttons[] = {
        {"btn_exit", drawExit},
        {"btn_date", drawDate},
        {"btn_locate", drawLocate},
        {"btn_calc", drawCalc},
        {"btn_before", [](QPainter& p) { drawArrow(p, -1); }},
        {"btn_next", [](QPainter& p) { drawArrow(p, +1); }},
        {"btn_help", drawHelp},
    };
    for (const auto& [name, draw] : buttons) {
        ok &= save(button(draw, 1), out.filePath(QLatin1String(name) + QStringLiteral(".png")));
        ok &= save(button(draw, 2), out.filePath(QLatin1String(name) + QStringLiteral("@2x.png")));
    }

    ok &= save(programIcon(64), out.filePath("lunvelde.png"));
    ok &= save(programIcon(128), out.filePath("lunvelde@2x.png"));
    for (int n : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("icons/hicolor/%1x%1/apps").arg(n);
        if (!out.mkpath(dir)) {
            std::fprintf(stderr, "mkicons: cannot create %s\n", qPrintable(out.filePath(dir)));
            ok = false;
            continue;
        }
        ok &= save(programIcon(n), out.filePath(dir + QStringLiteral("/lunvelde.png")));
    }
    return ok ? 0 : 1;
}
