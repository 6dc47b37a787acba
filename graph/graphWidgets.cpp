#include "graph/graphWidgets.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QPainter>
#include <QTimer>

#include "app/today.h"
#include "graph/graphPainter.h"

namespace {

bool sameSite(const almanac::Site& a, const almanac::Site& b)
{
    return a.latitude == b.latitude && a.longitude == b.longitude && a.timeZone == b.timeZone &&
           a.summerTime == b.summerTime;
}

// The present instant from the clock's reading (to the minute).
double nowJdUt()
{
    const UtcClock c = funcUtcNow();
    const QDateTime t(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute), Qt::UTC);
    return graph::julianDayOfUnixTime(double(t.toSecsSinceEpoch()));
}

constexpr int kMoonWidth = 130, kMoonRadius = 48;
constexpr int kYearWidth = 780, kYearHeight = 330;

}  // namespace

// --- The day ---------------------------------------------------------------

TcDayGraph::TcDayGraph(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("dayGraph"));
    setFixedSize(sizeHint());
    clock = new QTimer(this);
    clock->setObjectName(QStringLiteral("nowClock"));
    connect(clock, &QTimer::timeout, this, &TcDayGraph::tick);
    clock->start(60 * 1000);
}

void TcDayGraph::tick()
{
    // Only the line moves; a date that is not today keeps its picture.
    if (known && graph::placeNow(shown, nowJdUt()))
        update();
}

QSize TcDayGraph::sizeHint() const
{
    return QSize(int(graph::dayGraphWidth), int(graph::dayGraphHeight));
}

void TcDayGraph::setDay(const almanac::Site& s, const almanac::Day& d)
{
    site = s;
    day = d;
    known = true;
    layout();
    update();
}

void TcDayGraph::layout()
{
    if (!known)
        return;
    shown = graph::dayGraph(site, day, graph::dayPlotArea(width(), height()), nowJdUt());
}

void TcDayGraph::resizeEvent(QResizeEvent*)
{
    layout();
}

void TcDayGraph::paintEvent(QPaintEvent*)
{
    if (!known)
        return;
    QPainter p(this);
    graph::paintDayGraph(p, shown);
}

void TcDayGraph::contextMenuEvent(QContextMenuEvent* event)
{
    if (!known)
        return;
    const QString name = QStringLiteral("day-%1-%2-%3").arg(day.year).arg(day.month, 2, 10, QLatin1Char('0')).arg(
        day.day, 2, 10, QLatin1Char('0'));
    const graph::DayGraph g = shown;
    graph::pictureMenu(this, event->globalPos(), name, [g](QPainter& p) { graph::paintDayGraph(p, g); });
}

// --- The moon --------------------------------------------------------------

TcMoonView::TcMoonView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("moonView"));
    setFixedSize(sizeHint());
}

QSize TcMoonView::sizeHint() const
{
    return QSize(kMoonWidth, int(graph::dayGraphHeight));
}

void TcMoonView::setDay(const almanac::Site& s, const almanac::Day& d)
{
    site = s;
    day = d;
    known = true;
    layout();
    update();
}

void TcMoonView::layout()
{
    if (known)
        shown = graph::moonView(site, day, {width() / 2.0, 30.0 + kMoonRadius}, kMoonRadius);
}

void TcMoonView::resizeEvent(QResizeEvent*)
{
    layout();
}

void TcMoonView::paintEvent(QPaintEvent*)
{
    if (!known)
        return;
    QPainter p(this);
    p.setPen(QColor(30, 30, 30));
    p.drawText(QRect(0, 4, width(), 20), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("空に見える月"));
    graph::paintMoon(p, shown);
}

// --- The year --------------------------------------------------------------

TcYearGraph::TcYearGraph(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("yearGraph"));
    setMinimumSize(400, 200);
}

QSize TcYearGraph::sizeHint() const
{
    return QSize(kYearWidth, kYearHeight);
}

void TcYearGraph::setDate(const almanac::Site& s, int y, int month, int d)
{
    if (days.empty() || y != year || !sameSite(s, site)) {
        days = graph::yearDays(s, y);
        site = s;
        year = y;
    }
    shownIndex = graph::dayOfYear(y, month, d);
    layout();
    update();
}

void TcYearGraph::setView(graph::YearView v)
{
    view = v;
    layout();
    update();
}

void TcYearGraph::layout()
{
    if (!days.empty())
        shown = graph::yearGraph(days, view, graph::yearPlotArea(width(), height()), shownIndex);
}

void TcYearGraph::resizeEvent(QResizeEvent*)
{
    layout();
}

void TcYearGraph::paintEvent(QPaintEvent*)
{
    if (days.empty())
        return;
    QPainter p(this);
    graph::paintYearGraph(p, shown);
}

void TcYearGraph::contextMenuEvent(QContextMenuEvent* event)
{
    if (days.empty())
        return;
    const graph::YearGraph g = shown;
    graph::pictureMenu(this, event->globalPos(), QStringLiteral("daylight-%1").arg(year),
                       [g](QPainter& p) { graph::paintYearGraph(p, g); });
}
