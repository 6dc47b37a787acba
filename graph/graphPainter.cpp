#include "graph/graphPainter.h"

#include <QFileDialog>
#include <QFontMetricsF>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QSvgGenerator>
#include <QWidget>

#include "graph/palette.h"
#include "ui/msgBox.h"
#include "ui/sjis.h"

namespace graph {

namespace {

QPolygonF polygon(const Polyline& line)
{
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(line.size()));
    for (const Point& pt : line)
        poly << QPointF(pt.x, pt.y);
    return poly;
}

// A label on a pale plate, kept inside the rectangle.
void drawLabel(QPainter& p, const Label& l, const Rect& inside, const QColor& ink)
{
    const QString t = ui::fromUtf8(l.text);
    const QFontMetricsF fm(p.font());
    const double w = fm.horizontalAdvance(t) + 6, h = fm.height() + 2;
    double x = l.at.x - w / 2, y = l.above ? l.at.y - h : l.at.y;
    x = std::clamp(x, inside.left, std::max(inside.left, inside.right() - w));
    y = std::clamp(y, inside.top, std::max(inside.top, inside.bottom() - h));
    const QRectF box(x, y, w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRoundedRect(box, 3, 3);
    p.setPen(ink);
    p.drawText(box, Qt::AlignCenter, t);
}

const QColor kSun {QRgb {sunRgb}}, kMoon {QRgb {moonRgb}}, kNow {QRgb {nowRgb}};

// A curve on a pale edge, so that it shows on the dark sky and the light.
// Only the curve itself is antialiased: the edge is soft anyway.
void drawCurves(QPainter& p, const std::vector<Polyline>& parts, const QColor& colour)
{
    for (const Polyline& part : parts) {
        const QPolygonF poly = polygon(part);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(255, 255, 255, 150), 4.5, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
        p.drawPolyline(poly);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
        p.drawPolyline(poly);
    }
}

}  // namespace

QColor skyColour(SkyLevel level)
{
    return QColor {QRgb {skyRgb(level)}};
}

void paintDayGraph(QPainter& p, const DayGraph& g)
{
    // Bands and scales are upright: antialiasing only for the curves and marks.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRectF plot(g.plot.left, g.plot.top, g.plot.width, g.plot.height);
    for (const SkyBand& b : g.bands)
        p.fillRect(QRectF(b.from, plot.top(), b.to - b.from, plot.height()), skyColour(b.level));

    // Scales: a faint line at every tick, the texts outside the plot.
    const QFontMetricsF fm(p.font());
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    for (const Tick& t : g.hours)
        p.drawLine(QPointF(t.at, plot.top()), QPointF(t.at, plot.bottom()));
    for (const Tick& t : g.altitudes)
        p.drawLine(QPointF(plot.left(), t.at), QPointF(plot.right(), t.at));
    p.setPen(QColor(40, 40, 40));
    for (const Tick& t : g.hours)
        p.drawText(QRectF(t.at - 20, plot.bottom() + 1, 40, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                   ui::fromUtf8(t.text));
    for (const Tick& t : g.altitudes)
        p.drawText(QRectF(0, t.at - fm.height() / 2, plot.left() - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   ui::fromUtf8(t.text) + QStringLiteral("°"));
    p.setPen(QPen(QColor(20, 20, 20), 1.3));
    p.drawLine(QPointF(plot.left(), g.horizonY), QPointF(plot.right(), g.horizonY));

    p.setRenderHint(QPainter::Antialiasing, true);
    p.save();
    p.setClipRect(plot);
    drawCurves(p, g.moon, kMoon);
    drawCurves(p, g.sun, kSun);
    if (g.hasNow) {
        p.setPen(QPen(kNow, 1.5, Qt::DashLine));
        p.drawLine(QPointF(g.nowX, plot.top()), QPointF(g.nowX, plot.bottom()));
    }
    p.restore();

    const Rect all {0, 0, g.plot.right() + 10, g.plot.bottom()};
    for (const Mark& m : g.marks) {
        const QColor c = m.body == Body::sun ? kSun : kMoon;
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(c);
        p.drawEllipse(QPointF(m.at.x, m.at.y), 3.5, 3.5);
        drawLabel(p, m.label, all, c.darker(130));
    }
    if (!g.note.empty()) {
        QFont bold = p.font();
        bold.setBold(true);
        p.save();
        p.setFont(bold);
        drawLabel(p, {{g.plot.left + g.plot.width / 2, g.plot.top + 2}, g.note, false}, all, QColor(20, 20, 20));
        p.restore();
    }
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);
}

void paintYearGraph(QPainter& p, const YearGraph& g)
{
    const QRectF plot(g.plot.left, g.plot.top, g.plot.width, g.plot.height);
    // Neighbouring day columns must meet without seams: no antialiasing on
    // the areas.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(plot, QColor(232, 232, 232));  // hours a date does not have (23-hour dates)
    p.setPen(Qt::NoPen);
    for (const YearArea& a : g.areas) {
        p.setBrush(skyColour(a.level));
        p.drawPolygon(polygon(a.outline));
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    const QFontMetricsF fm(p.font());
    p.setPen(QPen(QColor(255, 255, 255, 80), 1));
    for (const Tick& t : g.months)
        p.drawLine(QPointF(t.at, plot.top()), QPointF(t.at, plot.bottom()));
    for (const Tick& t : g.hours)
        p.drawLine(QPointF(plot.left(), t.at), QPointF(plot.right(), t.at));
    drawCurves(p, g.rise, kSun);
    drawCurves(p, g.set, kSun.darker(140));
    p.setPen(QPen(kNow, 1.5));
    p.drawLine(QPointF(g.shownX, plot.top()), QPointF(g.shownX, plot.bottom()));
    p.setPen(QColor(40, 40, 40));
    for (const Tick& t : g.months)
        p.drawText(QRectF(t.at, plot.bottom() + 1, 40, fm.height()), Qt::AlignLeft | Qt::AlignTop,
                   ui::fromUtf8(t.text) + QStringLiteral("月"));
    for (const Tick& t : g.hours)
        p.drawText(QRectF(0, t.at - fm.height() / 2, plot.left() - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   ui::fromUtf8(t.text) + QStringLiteral("時"));
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);
}

void paintMoon(QPainter& p, const MoonView& v)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(v.centre.x, v.centre.y);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(48, 52, 64));
    p.drawEllipse(c, v.radius, v.radius);
    p.setBrush(QColor(250, 244, 210));
    p.drawPolygon(polygon(v.lit));
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, v.radius, v.radius);
    const QFontMetricsF fm(p.font());
    p.setPen(QColor(30, 30, 30));
    const QString caption = ui::fromUtf8(v.caption.text);
    p.drawText(QRectF(v.centre.x - 80, v.caption.at.y, 160, fm.height()), Qt::AlignHCenter | Qt::AlignTop, caption);
    p.drawText(QRectF(v.centre.x - 80, v.caption.at.y + fm.height(), 160, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("輝面比 %1").arg(v.illuminated, 0, 'f', 2));
}

bool savePicture(const QString& path, const QSize& size, double scale, const QString& title,
                 const std::function<void(QPainter&)>& paint)
{
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setResolution(96);  // a browser's pixel: the picture opens at the window's size
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        QPainter p;
        if (!p.begin(&svg))
            return false;
        p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        paint(p);
        return p.end();
    }
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        paint(p);
    }
    return image.save(path, "PNG");
}

void pictureMenu(QWidget* widget, const QPoint& globalPos, const QString& baseName,
                 const std::function<void(QPainter&)>& paint)
{
    QMenu menu(widget);
    QAction* png = menu.addAction(QStringLiteral("PNG 画像として保存(&P)..."));
    QAction* svg = menu.addAction(QStringLiteral("SVG 画像として保存(&S)..."));
    png->setObjectName(QStringLiteral("savePng"));
    svg->setObjectName(QStringLiteral("saveSvg"));
    QAction* chosen = menu.exec(globalPos);
    if (!chosen)
        return;
    const bool isSvg = chosen == svg;
    const QString path = QFileDialog::getSaveFileName(
        widget, QStringLiteral("画像の保存"), baseName + (isSvg ? QStringLiteral(".svg") : QStringLiteral(".png")),
        isSvg ? QStringLiteral("SVG (*.svg)") : QStringLiteral("PNG (*.png)"));
    if (path.isEmpty())
        return;
    QFont font = widget->font();
    const auto withFont = [&](QPainter& p) {
        p.setFont(font);
        paint(p);
    };
    if (!savePicture(path, widget->size(), widget->devicePixelRatioF(), widget->window()->windowTitle(), withFont))
        ui::showMessage(widget, QStringLiteral("%1 に書き込めませんでした。").arg(path));
}

}  // namespace graph
