#include "graph/dayGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "almanac/almanacLines.h"
#include "graph/altitude.h"

namespace graph {

namespace {

// Where the sun stands above one limit: stretches of [0, length] hours.
std::vector<std::pair<double, double>> above(const almanac::Crossing& rise, const almanac::Crossing& set,
                                             double length)
{
    using almanac::Occurs;
    if (rise.occurs == Occurs::AlwaysAbove)
        return {{0, length}};
    const bool r = rise.occurs == Occurs::Yes, s = set.occurs == Occurs::Yes;
    const double a = std::min(rise.hours, length), b = std::min(set.hours, length);
    if (r && s)
        return a < b ? std::vector<std::pair<double, double>> {{a, b}}
                     : std::vector<std::pair<double, double>> {{0, b}, {a, length}};
    if (r)
        return {{a, length}};
    if (s)
        return {{0, b}};
    return {};
}

// Pixels of a time and of an altitude.
struct Axes {
    Rect r;
    double length;
    double x(double hours) const { return r.left + hours / length * r.width; }
    double y(double degrees) const
    {
        return r.top + (highestAltitude - degrees) / (highestAltitude - lowestAltitude) * r.height;
    }
};

// A curve of altitudes (degrees) taken every curveStepHours and at the end,
// cut where it leaves the plot's altitudes (the cut points interpolated).
std::vector<Polyline> curve(const Axes& ax, const std::vector<double>& hours, const std::vector<double>& alt)
{
    std::vector<Polyline> parts;
    Polyline cur;
    for (std::size_t i = 0; i < alt.size(); ++i) {
        const bool in = alt[i] >= lowestAltitude;
        if (i > 0 && in != (alt[i - 1] >= lowestAltitude)) {
            const double f = (lowestAltitude - alt[i - 1]) / (alt[i] - alt[i - 1]);
            cur.push_back({ax.x(hours[i - 1] + f * (hours[i] - hours[i - 1])), ax.y(lowestAltitude)});
            if (!in) {
                parts.push_back(std::move(cur));
                cur.clear();
            }
        }
        if (in)
            cur.push_back({ax.x(hours[i]), ax.y(alt[i])});
    }
    if (!cur.empty())
        parts.push_back(std::move(cur));
    return parts;
}

}  // namespace

Rect dayPlotArea(double width, double height)
{
    return {30, 18, std::max(1.0, width - 40), std::max(1.0, height - 38)};
}

double julianDayOfUnixTime(double seconds)
{
    return 2440587.5 + seconds / 86400;
}

bool placeNow(DayGraph& g, double nowJdUt)
{
    const bool had = g.hasNow;
    const double wasX = g.nowX;
    const double h = (nowJdUt - g.startJdUt) * 24;
    g.hasNow = std::isfinite(h) && h >= 0 && h < g.length;
    g.nowX = g.hasNow ? Axes {g.plot, g.length}.x(h) : 0;
    return g.hasNow != had || g.nowX != wasX;
}

std::vector<SkyBand> skyBands(const almanac::Day& day, double length)
{
    const std::vector<std::pair<double, double>> limits[] = {
        above(day.sunRise, day.sunSet, length),
        above(day.civilDawn, day.civilDusk, length),
        above(day.nauticalDawn, day.nauticalDusk, length),
        above(day.astronomicalDawn, day.astronomicalDusk, length),
    };
    std::vector<double> cuts {0, length};
    for (const auto& l : limits)
        for (const auto& s : l) {
            cuts.push_back(s.first);
            cuts.push_back(s.second);
        }
    std::sort(cuts.begin(), cuts.end());
    std::vector<SkyBand> bands;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        if (!(cuts[i + 1] > cuts[i]))
            continue;
        const double mid = (cuts[i] + cuts[i + 1]) / 2;
        int level = 0;
        for (const auto& l : limits)
            for (const auto& s : l)
                level += s.first <= mid && mid < s.second;
        const SkyLevel lv = static_cast<SkyLevel>(std::min(level, 4));
        if (!bands.empty() && bands.back().level == lv)
            bands.back().to = cuts[i + 1];
        else
            bands.push_back({cuts[i], cuts[i + 1], lv});
    }
    return bands;
}

DayGraph dayGraph(const almanac::Site& site, const almanac::Day& day, const Rect& plot, double nowJdUt)
{
    const DaySky sky(site, day.year, day.month, day.day);
    DayGraph g;
    g.plot = plot;
    g.length = sky.length();
    const Axes ax {plot, g.length};
    g.horizonY = ax.y(0);

    for (SkyBand b : skyBands(day, g.length)) {
        b.from = ax.x(b.from);
        b.to = ax.x(b.to);
        g.bands.push_back(b);
    }

    std::vector<double> hours, sunAlt, moonAlt;
    for (int i = 0;; ++i) {
        const double h = std::min(i * curveStepHours, g.length);
        hours.push_back(h);
        const Place s = sky.sun(h);
        sunAlt.push_back(sunUpperLimb(s.altitude, s.distance));
        const double m = sky.moon(h).altitude;
        moonAlt.push_back(m + refraction(m));
        if (h >= g.length)
            break;
    }
    g.sun = curve(ax, hours, sunAlt);
    g.moon = curve(ax, hours, moonAlt);

    // Marks at the table's times; the transit on the curve as drawn.
    const auto cross = [&](Body body, Event ev, const almanac::Crossing& c, bool labelAbove) {
        if (c.occurs != almanac::Occurs::Yes || c.hours > g.length)
            return;
        const Point at {ax.x(c.hours), g.horizonY};
        g.marks.push_back({body, ev, at, {{at.x, at.y + (labelAbove ? -4 : 4)}, clockHM(c.hours), labelAbove}});
    };
    const auto transit = [&](Body body, const almanac::Transit& t) {
        if (!t.occurs || t.hours > g.length)
            return;
        const double a = body == Body::sun ? sunUpperLimb(t.altitude, sky.sun(t.hours).distance)
                                           : t.altitude + refraction(t.altitude);
        const Point at {ax.x(t.hours), ax.y(std::max(a, lowestAltitude))};
        g.marks.push_back({body, Event::transit, at, {{at.x, at.y - 4}, clockHM(t.hours), true}});
    };
    cross(Body::sun, Event::rise, day.sunRise, true);
    transit(Body::sun, day.sunTransit);
    cross(Body::sun, Event::set, day.sunSet, true);
    cross(Body::moon, Event::rise, day.moonRise, false);
    transit(Body::moon, day.moonTransit);
    cross(Body::moon, Event::set, day.moonSet, false);

    // A label that would cover an earlier one moves further from its mark.
    for (std::size_t i = 1; i < g.marks.size(); ++i) {
        Label& l = g.marks[i].label;
        for (bool moved = true; moved;) {
            moved = false;
            for (std::size_t j = 0; j < i; ++j) {
                const Label& o = g.marks[j].label;
                if (std::fabs(o.at.x - l.at.x) < labelWidth && std::fabs(o.at.y - l.at.y) < labelHeight) {
                    l.at.y += l.above ? -labelHeight : labelHeight;
                    moved = true;
                }
            }
        }
    }

    for (int h = 0; h <= g.length + 1e-9; h += 3)
        g.hours.push_back({ax.x(h), std::to_string(h)});
    for (int a : {-18, 0, 30, 60, 90})
        g.altitudes.push_back({ax.y(a), std::to_string(a)});

    g.startJdUt = 2451545.0 + sky.ut(0);
    placeNow(g, nowJdUt);
    if (day.sunRise.occurs == almanac::Occurs::AlwaysAbove || day.sunRise.occurs == almanac::Occurs::AlwaysBelow)
        g.note = crossingTime(day.sunRise, CrossingKind::sun);
    return g;
}

}  // namespace graph
