// The picture widgets: the day graph and the moon as it stands (shown in the
// details window) and the year of daylight (its own window). Each keeps the
// geometry of what it shows and only paints it; a right click offers to save
// the picture as PNG or SVG.
#pragma once

#include <QWidget>
#include <vector>

#include "almanac/almanac.h"
#include "graph/dayGraph.h"
#include "graph/moonView.h"
#include "graph/yearGraph.h"

class QTimer;

class TcDayGraph : public QWidget {
    Q_OBJECT
public:
    explicit TcDayGraph(QWidget* parent);
    // The day to show; the present moment is read from the clock
    // (app/today.h), and again every minute to move the now line while the
    // date is today.
    void setDay(const almanac::Site& site, const almanac::Day& day);
    const graph::DayGraph& geometry() const { return shown; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void layout();
    void tick();
    almanac::Site site;
    almanac::Day day;
    bool known = false;
    graph::DayGraph shown;
    QTimer* clock;  // a minute
};

class TcMoonView : public QWidget {
    Q_OBJECT
public:
    explicit TcMoonView(QWidget* parent);
    void setDay(const almanac::Site& site, const almanac::Day& day);
    const graph::MoonView& geometry() const { return shown; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void layout();
    almanac::Site site;
    almanac::Day day;
    bool known = false;
    graph::MoonView shown;
};

class TcYearGraph : public QWidget {
    Q_OBJECT
public:
    explicit TcYearGraph(QWidget* parent);
    // The year of the site (recomputed only when the site or year changes)
    // with the given date marked.
    void setDate(const almanac::Site& site, int year, int month, int day);
    void setView(graph::YearView view);
    const graph::YearGraph& geometry() const { return shown; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void layout();
    almanac::Site site;
    int year = 0, shownIndex = 0;
    graph::YearView view = graph::YearView::durations;
    std::vector<graph::YearDay> days;
    graph::YearGraph shown;
};
