// The pictures' geometry against the almanac's table: where the curves meet
// the horizon, where they peak, where the sky changes, polar days and
// nights, the moon turned at a southern site, and the year of daylight.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "almanac/almanac.h"
#include "almanac/almanacLines.h"
#include "graph/altitude.h"
#include "graph/dayGraph.h"
#include "graph/moonView.h"
#include "graph/yearGraph.h"

namespace {

using graph::Point;

struct Case {
    const char* name;
    double lat, lon, tz;
    int summer, year, month, day;
};

const Case kSites[] = {
    {"Tokyo June", 35.68, 139.77, 9, 0, 2026, 6, 21},
    {"Tokyo December", 35.68, 139.77, 9, 0, 2026, 12, 21},
    {"Sydney June", -33.87, 151.21, 10, 0, 2026, 6, 21},
    {"Sydney December, summer time", -33.87, 151.21, 10, 1, 2026, 12, 21},
    {"Tromso March", 69.65, 18.96, 1, 1, 2026, 3, 31},  // a 23-hour date
};

almanac::Site site(const Case& c)
{
    almanac::Site s;
    s.latitude = c.lat;
    s.longitude = c.lon;
    s.timeZone = c.tz;
    s.summerTime = c.summer;
    return s;
}

// Every x where a polyline crosses the height y.
std::vector<double> crossingsAt(const std::vector<graph::Polyline>& parts, double y)
{
    std::vector<double> xs;
    for (const auto& p : parts)
        for (std::size_t i = 1; i < p.size(); ++i)
            if ((p[i - 1].y < y) != (p[i].y < y))
                xs.push_back(p[i - 1].x + (y - p[i - 1].y) / (p[i].y - p[i - 1].y) * (p[i].x - p[i - 1].x));
    return xs;
}

double nearest(const std::vector<double>& xs, double x)
{
    double best = 1e9;
    for (double v : xs)
        best = std::min(best, std::fabs(v - x));
    return best;
}

// The y of a polyline at x (linear between points).
double heightAt(const std::vector<graph::Polyline>& parts, double x)
{
    for (const auto& p : parts)
        for (std::size_t i = 1; i < p.size(); ++i)
            if (p[i - 1].x <= x && x <= p[i].x)
                return p[i - 1].y + (x - p[i - 1].x) / (p[i].x - p[i - 1].x) * (p[i].y - p[i - 1].y);
    return std::nan("");
}

const graph::Rect kPlot = graph::dayPlotArea(graph::dayGraphWidth, graph::dayGraphHeight);

TEST(DayGraph, CurvesMeetTheHorizonAtTheTableTimesAndPeakAtTheTransit)
{
    for (const Case& c : kSites) {
        SCOPED_TRACE(c.name);
        const almanac::Day day = almanac::computeDay(site(c), c.year, c.month, c.day);
        const graph::DayGraph g = graph::dayGraph(site(c), day, kPlot);
        const double length = graph::dateHours(site(c), c.year, c.month, c.day);
        EXPECT_EQ(g.length, length);
        const auto x = [&](double h) { return kPlot.left + h / length * kPlot.width; };
        const auto y = [&](double a) { return kPlot.top + (90 - a) / 110 * kPlot.height; };
        EXPECT_NEAR(g.horizonY, y(0), 1e-9);
        // The curves stay within the date.
        for (const auto* curve : {&g.sun, &g.moon})
            for (const auto& p : *curve)
                EXPECT_TRUE(p.front().x >= kPlot.left && p.back().x <= kPlot.right());
        const std::vector<double> sunX = crossingsAt(g.sun, g.horizonY), moonX = crossingsAt(g.moon, g.horizonY);
        for (const almanac::Crossing* cr : {&day.sunRise, &day.sunSet}) {
            ASSERT_EQ(cr->occurs, almanac::Occurs::Yes);
            EXPECT_LT(nearest(sunX, x(cr->hours)), 1.0);
        }
        for (const almanac::Crossing* cr : {&day.moonRise, &day.moonSet}) {
            if (cr->occurs == almanac::Occurs::Yes && cr->hours < length) {
                EXPECT_LT(nearest(moonX, x(cr->hours)), 1.0);
            }
        }
        EXPECT_EQ(sunX.size(), 2u);
        // The sun's peak: at the transit's x, the transit's altitude (the
        // drawn upper limb lies 0.27 degree higher, 0.4 px), and nothing higher.
        ASSERT_TRUE(day.sunTransit.occurs);
        const double peak = heightAt(g.sun, x(day.sunTransit.hours));
        EXPECT_NEAR(peak, y(day.sunTransit.altitude), 1.0);
        for (const auto& p : g.sun)
            for (const Point& q : p)
                EXPECT_GE(q.y, peak - 0.1);
        // Rise, transit and set marks of the sun, at the table's x.
        int sunMarks = 0;
        for (const graph::Mark& m : g.marks)
            if (m.body == graph::Body::sun) {
                ++sunMarks;
                const double h = m.event == graph::Event::rise  ? day.sunRise.hours
                                 : m.event == graph::Event::set ? day.sunSet.hours
                                                                : day.sunTransit.hours;
                EXPECT_NEAR(m.at.x, x(h), 1e-9);
            }
        EXPECT_EQ(sunMarks, 3);
    }
}

// The places the curves are drawn from agree with the almanac's events to a
// few arcseconds: the upper limb on the horizon at sunrise and sunset, the
// moon's centre at its rise and set, the altitudes at transit.
TEST(DaySky, AltitudesAgreeWithTheAlmanac)
{
    const double arcsec = 1.0 / 3600;
    for (const Case& c : kSites) {
        SCOPED_TRACE(c.name);
        const almanac::Day day = almanac::computeDay(site(c), c.year, c.month, c.day);
        const graph::DaySky sky(site(c), c.year, c.month, c.day);
        for (const almanac::Crossing* cr : {&day.sunRise, &day.sunSet}) {
            const graph::Place p = sky.sun(cr->hours);
            EXPECT_NEAR(graph::sunUpperLimb(p.altitude, p.distance), 0, 3 * arcsec);
        }
        for (const almanac::Crossing* cr : {&day.moonRise, &day.moonSet}) {
            if (cr->occurs == almanac::Occurs::Yes) {
                const double a = sky.moon(cr->hours).altitude;
                EXPECT_NEAR(a + graph::refraction(a), 0, 3 * arcsec);
            }
        }
        EXPECT_NEAR(sky.sun(day.sunTransit.hours).altitude, day.sunTransit.altitude, 3 * arcsec);
        if (day.moonTransit.occurs) {
            EXPECT_NEAR(sky.moon(day.moonTransit.hours).altitude, day.moonTransit.altitude, 3 * arcsec);
        }
        // At a transit the geocentric hour angle is zero too: the site lies
        // in its meridian's plane, so parallax moves nothing out of it.
        const double pi = std::acos(-1.0);
        const auto hourAngle = [&](double hours, const graph::Place& p) {
            return std::remainder(sky.siderealTime(hours) - p.rightAscension, 2 * pi) * 180 / pi;
        };
        EXPECT_NEAR(hourAngle(day.sunTransit.hours, sky.sun(day.sunTransit.hours)), 0, 0.5 * arcsec);
        if (day.moonTransit.occurs) {
            EXPECT_NEAR(hourAngle(day.moonTransit.hours, sky.moon(day.moonTransit.hours)), 0, 0.5 * arcsec);
        }
    }
}

TEST(DayGraph, SkyBandsChangeAtTheTwilightTimes)
{
    using L = graph::SkyLevel;
    for (const Case& c : kSites) {
        SCOPED_TRACE(c.name);
        const almanac::Day day = almanac::computeDay(site(c), c.year, c.month, c.day);
        const graph::DayGraph g = graph::dayGraph(site(c), day, kPlot);
        const auto x = [&](double h) { return kPlot.left + h / g.length * kPlot.width; };
        // Dawn: the level rises through each limit; dusk: it falls.
        const struct {
            const almanac::Crossing& c;
            L before, after;
        } edges[] = {
            {day.astronomicalDawn, L::night, L::astronomical}, {day.nauticalDawn, L::astronomical, L::nautical},
            {day.civilDawn, L::nautical, L::civil},             {day.sunRise, L::civil, L::day},
            {day.sunSet, L::day, L::civil},                     {day.civilDusk, L::civil, L::nautical},
            {day.nauticalDusk, L::nautical, L::astronomical},   {day.astronomicalDusk, L::astronomical, L::night},
        };
        for (const auto& e : edges) {
            if (e.c.occurs != almanac::Occurs::Yes || e.c.hours >= g.length)
                continue;
            bool found = false;
            for (std::size_t i = 1; i < g.bands.size(); ++i)
                found |= std::fabs(g.bands[i].from - x(e.c.hours)) < 1e-9 && g.bands[i - 1].level == e.before &&
                         g.bands[i].level == e.after;
            EXPECT_TRUE(found) << e.c.hours;
        }
        EXPECT_EQ(g.bands.front().from, kPlot.left);
        EXPECT_EQ(g.bands.back().to, kPlot.right());
    }
}

TEST(DayGraph, PolarDayAndNightShowWithoutCrossings)
{
    const Case polar[] = {{"June", 78.2, 15.6, 1, 0, 2026, 6, 21}, {"December", 78.2, 15.6, 1, 0, 2026, 12, 21}};
    for (const Case& c : polar) {
        SCOPED_TRACE(c.name);
        const almanac::Day day = almanac::computeDay(site(c), c.year, c.month, c.day);
        const graph::DayGraph g = graph::dayGraph(site(c), day, kPlot);
        const bool summer = c.month == 6;
        EXPECT_TRUE(crossingsAt(g.sun, g.horizonY).empty());
        for (const auto& p : g.sun)
            for (const Point& q : p)
                EXPECT_EQ(q.y < g.horizonY, summer);
        for (const graph::SkyBand& b : g.bands)
            EXPECT_EQ(b.level == graph::SkyLevel::day, summer);
        EXPECT_EQ(g.note, summer ? "沈まない（白夜）" : "昇らない（極夜）");
        for (const graph::Mark& m : g.marks)
            EXPECT_FALSE(m.body == graph::Body::sun && m.event != graph::Event::transit);
    }
}

TEST(DayGraph, NowLineOnlyOnItsDate)
{
    const Case& c = kSites[0];
    const almanac::Day day = almanac::computeDay(site(c), c.year, c.month, c.day);
    // 2026-06-21 03:00 UT is 12:00 in Tokyo.
    const double noon = graph::julianDayOfUnixTime(1782010800.0);
    const graph::DayGraph g = graph::dayGraph(site(c), day, kPlot, noon);
    ASSERT_TRUE(g.hasNow);
    EXPECT_NEAR(g.nowX, kPlot.left + kPlot.width / 2, 1e-6);
    EXPECT_FALSE(graph::dayGraph(site(c), day, kPlot, noon + 0.5).hasNow);
    EXPECT_FALSE(graph::dayGraph(site(c), day, kPlot, noon - 0.5 - 1e-6).hasNow);
}

TEST(DayGraph, LabelsKeepClearOfEachOther)
{
    // Near new moon the sun and the moon rise, transit and set together.
    for (int day : {8, 9, 10}) {
        const almanac::Site s = site(kSites[0]);
        const graph::DayGraph g = graph::dayGraph(s, almanac::computeDay(s, 2026, 12, day), kPlot);
        ASSERT_EQ(g.marks.size(), 6u);
        for (std::size_t i = 0; i < g.marks.size(); ++i)
            for (std::size_t j = 0; j < i; ++j) {
                const Point a = g.marks[i].label.at, b = g.marks[j].label.at;
                EXPECT_TRUE(std::fabs(a.x - b.x) >= graph::labelWidth || std::fabs(a.y - b.y) >= graph::labelHeight)
                    << day << ": " << g.marks[i].label.text << " " << g.marks[j].label.text;
            }
    }
}

// The lit part's area and on which side of the disc it stands.
void litShape(const graph::MoonView& v, double& area, double& cx)
{
    double a = 0, sx = 0;
    for (std::size_t i = 0; i < v.lit.size(); ++i) {
        const Point& p = v.lit[i];
        const Point& q = v.lit[(i + 1) % v.lit.size()];
        const double cross = p.x * q.y - q.x * p.y;
        a += cross;
        sx += (p.x + q.x) * cross;
    }
    area = std::fabs(a / 2);
    cx = sx / (3 * a) - v.centre.x;
}

TEST(MoonView, LitAreaAndSideAsSeenNorthAndSouth)
{
    // 2026-06-22: a waxing crescent-to-quarter moon, lit towards the sun in the
    // west: on the right seen from Tokyo, on the left seen from Sydney.
    const struct {
        const Case c;
        bool litRight;
    } rows[] = {
        {{"Tokyo", 35.68, 139.77, 9, 0, 2026, 6, 22}, true},
        {{"Sydney", -33.87, 151.21, 10, 0, 2026, 6, 22}, false},
        {{"Tokyo, waning", 35.68, 139.77, 9, 0, 2026, 7, 7}, false},
        {{"Sydney, waning", -33.87, 151.21, 10, 0, 2026, 7, 7}, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.c.name);
        const almanac::Day day = almanac::computeDay(site(r.c), r.c.year, r.c.month, r.c.day);
        const graph::MoonView v = graph::moonView(site(r.c), day, {100, 100}, 50);
        ASSERT_EQ(v.moment, graph::Event::transit);
        EXPECT_NEAR(v.illuminated, day.moonIllumination, 0.07);
        double area, cx;
        litShape(v, area, cx);
        EXPECT_NEAR(area / (3.14159265358979 * 50 * 50), v.illuminated, 0.01);
        EXPECT_EQ(cx > 0, r.litRight) << v.tilt;
        // At transit the zenith is due north or due south of the moon.
        EXPECT_NEAR(std::fabs(v.parallactic), r.c.lat > 0 ? 0 : 180, 0.5);
    }
}

TEST(MoonView, StandsAtItsRiseOnADayWithoutTransit)
{
    const almanac::Site s = site(kSites[0]);
    int found = 0;
    for (int d = 1; d <= 31; ++d) {
        const almanac::Day day = almanac::computeDay(s, 2026, 12, d);
        if (day.moonTransit.occurs)
            continue;
        ++found;
        const graph::MoonView v = graph::moonView(s, day, {0, 0}, 10);
        EXPECT_EQ(v.moment, graph::Event::rise);
        EXPECT_EQ(v.hours, day.moonRise.hours);
        EXPECT_EQ(v.caption.text, "月の出 " + clockHM(day.moonRise.hours));
    }
    EXPECT_EQ(found, 1);
}

TEST(YearGraph, DaylightAddsUpAndTheSummerTimeJumpShows)
{
    almanac::Site s = site(kSites[0]);
    s.summerTime = 1;
    const std::vector<graph::YearDay> days = graph::yearDays(s, 2024);
    ASSERT_EQ(days.size(), 366u);
    for (const graph::YearDay& d : days) {
        double sum = 0;
        for (double h : d.hours)
            sum += h;
        EXPECT_NEAR(sum, d.length, 1e-9);
    }
    const int jun21 = graph::dayOfYear(2024, 6, 21), mar31 = graph::dayOfYear(2024, 3, 31);
    EXPECT_NEAR(days[jun21].hours[4], days[jun21].set - days[jun21].rise, 1e-9);
    EXPECT_NEAR(days[mar31 + 1].rise - days[mar31].rise, 1.0, 0.05);
    EXPECT_EQ(days[mar31].length, 23);
    const graph::YearGraph g = graph::yearGraph(days, graph::YearView::clock, {0, 0, 366, 250}, jun21);
    EXPECT_EQ(g.shownX, jun21 + 0.5);
    ASSERT_EQ(g.rise.size(), 1u);
    EXPECT_NEAR(g.rise[0][mar31 + 1].y - g.rise[0][mar31].y, -250 / 25.0, 0.5);

    s.latitude = 78.2;
    const std::vector<graph::YearDay> polar = graph::yearDays(s, 2026);
    EXPECT_EQ(polar[graph::dayOfYear(2026, 6, 21)].hours[4], 24);
    EXPECT_EQ(polar[graph::dayOfYear(2026, 12, 21)].hours[4], 0);
}

}  // namespace
