#include "graph/yearGraph.h"

#include <erfa.h>

#include <algorithm>
#include <string>

#include "date/calendar.h"
#include "graph/altitude.h"

namespace graph {

int dayOfYear(int year, int month, int day)
{
    double a0, a, b0, b;
    if (eraCal2jd(year, 1, 1, &a0, &a) || eraCal2jd(year, month, day, &b0, &b))
        return 0;
    return static_cast<int>((b0 - a0) + (b - a));
}

std::vector<YearDay> yearDays(const almanac::Site& site, int year)
{
    std::vector<YearDay> days;
    const int n = dayOfYear(year, 12, 31) + 1;
    days.reserve(static_cast<std::size_t>(n));
    const long first = civil::julianDayNumber(year, 1, 1);
    for (int i = 0; i < n; ++i) {
        int y, m, dd;
        civil::civilDate(first + i, y, m, dd);
        const almanac::Day day = almanac::computeDay(site, y, m, dd);
        YearDay yd;
        yd.month = m;
        yd.day = dd;
        yd.length = dateHours(site, y, m, dd);
        yd.bands = skyBands(day, yd.length);
        for (const SkyBand& b : yd.bands)
            yd.hours[static_cast<int>(b.level)] += b.to - b.from;
        if (day.sunRise.occurs == almanac::Occurs::Yes)
            yd.rise = day.sunRise.hours;
        if (day.sunSet.occurs == almanac::Occurs::Yes)
            yd.set = day.sunSet.hours;
        days.push_back(std::move(yd));
    }
    return days;
}

Rect yearPlotArea(double width, double height)
{
    return {40, 10, std::max(1.0, width - 52), std::max(1.0, height - 32)};
}

YearGraph yearGraph(const std::vector<YearDay>& days, YearView view, const Rect& plot, int shown)
{
    YearGraph g;
    g.plot = plot;
    g.view = view;
    for (const YearDay& d : days)
        g.hoursShown = std::max(g.hoursShown, d.length);
    const double n = std::max<std::size_t>(days.size(), 1);
    const auto x = [&](double i) { return plot.left + i / n * plot.width; };
    const auto y = [&](double h) { return plot.bottom() - h / g.hoursShown * plot.height; };

    if (view == YearView::durations) {
        // Day at the bottom, then civil, nautical, astronomical twilight and
        // night on top; each area between the running sums of hours.
        std::vector<double> below(days.size(), 0.0);
        for (int lv = 4; lv >= 0; --lv) {
            YearArea a;
            a.level = static_cast<SkyLevel>(lv);
            std::vector<Point> lower;
            for (std::size_t i = 0; i < days.size(); ++i) {
                const double top = below[i] + days[i].hours[lv];
                for (double e : {0.0, 1.0}) {
                    a.outline.push_back({x(double(i) + e), y(top)});
                    lower.push_back({x(double(i) + e), y(below[i])});
                }
                below[i] = top;
            }
            a.outline.insert(a.outline.end(), lower.rbegin(), lower.rend());
            g.areas.push_back(std::move(a));
        }
    } else {
        for (std::size_t i = 0; i < days.size(); ++i)
            for (const SkyBand& b : days[i].bands) {
                const double l = x(double(i)), r = x(double(i) + 1);
                g.areas.push_back({b.level, {{l, y(b.from)}, {r, y(b.from)}, {r, y(b.to)}, {l, y(b.to)}}});
            }
        const auto line = [&](double YearDay::*field, std::vector<Polyline>& out) {
            Polyline cur;
            for (std::size_t i = 0; i < days.size(); ++i) {
                const double h = days[i].*field;
                if (std::isnan(h)) {
                    if (!cur.empty())
                        out.push_back(std::move(cur));
                    cur.clear();
                    continue;
                }
                cur.push_back({x(double(i) + 0.5), y(h)});
            }
            if (!cur.empty())
                out.push_back(std::move(cur));
        };
        line(&YearDay::rise, g.rise);
        line(&YearDay::set, g.set);
    }
    for (std::size_t i = 0; i < days.size(); ++i)
        if (days[i].day == 1)
            g.months.push_back({x(double(i)), std::to_string(days[i].month)});
    for (int h = 0; h <= g.hoursShown; h += 6)
        g.hours.push_back({y(h), std::to_string(h)});
    g.shownX = x(std::clamp(shown, 0, int(n) - 1) + 0.5);
    return g;
}

}  // namespace graph
