// The year of daylight at a site: for every date, the hours of day, of each
// twilight and of night, and the clock times of sunrise and sunset, drawn
// either as stacked bands of hours against the date or as the sky's levels
// at their clock times (where the summer-time jumps show).
#pragma once

#include <vector>

#include "almanac/almanac.h"
#include "graph/dayGraph.h"
#include "graph/plot.h"

namespace graph {

struct YearDay {
    int month = 1, day = 1;
    double length = 24;                 // hours in the date
    double hours[5] = {};               // hours at each SkyLevel (night .. day)
    std::vector<SkyBand> bands;         // hours after local midnight
    double rise = std::nan(""), set = std::nan("");  // local clock hours; NaN on a day without one
};

// Every date of the year, from almanac::computeDay.
std::vector<YearDay> yearDays(const almanac::Site& site, int year);

enum class YearView { durations, clock };

struct YearArea {
    SkyLevel level = SkyLevel::night;
    Polyline outline;  // closed
};

struct YearGraph {
    Rect plot;
    YearView view = YearView::durations;
    double hoursShown = 24;         // the y range: 0 .. hoursShown hours, 0 at the bottom
    std::vector<YearArea> areas;    // durations: one per level, stacked (day lowest);
                                    // clock: one per stretch of a day
    std::vector<Polyline> rise, set;  // clock view: the sunrise and sunset times
    std::vector<Tick> months;       // x of the first of each month, "1" .. "12"
    std::vector<Tick> hours;        // y of every sixth hour
    double shownX = 0;              // the shown date's column (centre)
};

// The plot inside a picture of the given size: room on the left for the
// hours and below for the months.
Rect yearPlotArea(double width, double height);

// The picture of yearDays' result; shown is the index of the shown date.
YearGraph yearGraph(const std::vector<YearDay>& days, YearView view, const Rect& plot, int shown);

// The index of a date in yearDays' result (0 for the first of January).
int dayOfYear(int year, int month, int day);

}  // namespace graph
