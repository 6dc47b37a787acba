// The precise almanac: published phase instants, polar day and night, the
// summer-time clock and days without a moon rise.
#include <gtest/gtest.h>

#include "almanac/almanac.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

using namespace almanac;

namespace {
const Site tokyo{35.67, 139.5, 9, 0};
}

TEST(Almanac, PhasesOfJanuary2000MatchThePublishedInstants)
{
    // New moon 2000-01-06 18:14 UT, full moon 2000-01-21 04:40 UT.
    const std::vector<PhaseEvent> p = monthPhases(tokyo, 2000, 1);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].phase, Phase::NewMoon);
    EXPECT_NEAR(p[0].jdUt, 2451550.5 - 5.76 / 24, 60.0 / 86400);
    EXPECT_EQ(p[2].phase, Phase::FullMoon);
    EXPECT_NEAR(p[2].jdUt, 2451564.5 + 4.6667 / 24, 60.0 / 86400);
    EXPECT_EQ(p[0].day * 10000 + p[0].hour * 100 + p[0].minute, 70313);  // 03:13 JST on the 7th
    const Day fullMoonDay = computeDay(tokyo, 2000, 1, 21);
    EXPECT_GT(fullMoonDay.moonIllumination, 0.99);
    EXPECT_NEAR(computeDay(tokyo, 2000, 1, 7).moonAge, 12 / 24.0 - 3.23 / 24, 0.01);
}

TEST(Almanac, PolarDayAndNightAreNotMissingEvents)
{
    const Site svalbard{78.22, 15.65, 1, 0};
    const Day june = computeDay(svalbard, 2000, 6, 21);
    EXPECT_EQ(june.sunRise.occurs, Occurs::AlwaysAbove);
    EXPECT_EQ(june.astronomicalDusk.occurs, Occurs::AlwaysAbove);
    EXPECT_TRUE(june.sunTransit.occurs);
    EXPECT_NEAR(june.sunTransit.altitude, 90 - 78.22 + 23.44, 0.1);
    const Day december = computeDay(svalbard, 2000, 12, 21);
    EXPECT_EQ(december.sunSet.occurs, Occurs::AlwaysBelow);
    EXPECT_EQ(december.civilDawn.occurs, Occurs::AlwaysBelow);
    EXPECT_EQ(december.nauticalDawn.occurs, Occurs::Yes);  // the sun climbs to -11.7 degrees

    // Tokyo: the moon rises every day but one of January 2000, which has no
    // rise at all rather than a polar one.
    int without = 0;
    for (int day = 1; day <= 31; ++day) {
        const Day d = computeDay(tokyo, 2000, 1, day);
        EXPECT_NE(d.moonRise.occurs, Occurs::AlwaysAbove);
        EXPECT_NE(d.moonRise.occurs, Occurs::AlwaysBelow);
        without += d.moonRise.occurs == Occurs::No;
        EXPECT_EQ(d.sunRise.occurs, Occurs::Yes);
    }
    EXPECT_EQ(without, 1);
}

TEST(Almanac, SummerTimeMovesTheClockOnly)
{
    Site sydney{-33.87, 151.21, 10, 0};
    const Day standard = computeDay(sydney, 2024, 1, 15);
    sydney.summerTime = 1;
    EXPECT_EQ(clockOffset(sydney, 1), 11.0);
    EXPECT_EQ(clockOffset(sydney, 7), 10.0);
    const Day summer = computeDay(sydney, 2024, 1, 15);
    EXPECT_NEAR(summer.sunRise.hours - standard.sunRise.hours, 1.0, 1e-3);
    EXPECT_NEAR(summer.sunRise.azimuth, standard.sunRise.azimuth, 0.05);
    EXPECT_NEAR(summer.moonAge, standard.moonAge - 1 / 24.0, 1e-4);
}

TEST(Almanac, SummerTimeSwitchDaysLoseAndDoubleNoEvent)
{
    // Sydney keeps summer time October to March: 31 March has 25 hours,
    // 30 September 23. The events of the three days around each switch, as
    // UT instants, must be those of the same days without summer time.
    const Site standard{-33.87, 151.21, 10, 0};
    Site summer = standard;
    summer.summerTime = 1;
    for (int year = 2000; year <= 2030; ++year)
        for (const int month : {3, 9}) {
            const auto instants = [&](const Site& site) {
                std::vector<std::pair<int, long long>> out;  // (event, UT second from the first midnight)
                for (int j = 0; j < 3; ++j) {
                    const int last = month == 3 ? 31 : 30;
                    const Day d = computeDay(site, year, j == 2 ? month + 1 : month, j == 2 ? 1 : last - 1 + j);
                    const double start = j * 24.0 - (d.clockOffset - standard.timeZone);
                    const auto add = [&](Event e, double hours, double offset) {
                        // the span both runs cover: from the first standard midnight, 71 hours
                        const long long at = std::llround((start + hours - (offset - d.clockOffset)) * 3600);
                        if (at >= 0 && at < 71 * 3600)
                            out.push_back({int(e), at});
                    };
                    const std::pair<Event, const Crossing*> crossings[] = {
                        {Event::SunRise, &d.sunRise},     {Event::SunSet, &d.sunSet},
                        {Event::MoonRise, &d.moonRise},   {Event::MoonSet, &d.moonSet},
                        {Event::CivilDawn, &d.civilDawn}, {Event::CivilDusk, &d.civilDusk}};
                    for (const auto& [e, c] : crossings)
                        if (c->occurs == Occurs::Yes)
                            add(e, c->hours, c->clockOffset);
                    for (const auto& [e, t] : {std::pair{Event::SunTransit, &d.sunTransit},
                                               std::pair{Event::MoonTransit, &d.moonTransit}})
                        if (t->occurs)
                            add(e, t->hours, t->clockOffset);
                    for (const Repeat& r : d.repeated)
                        if (r.event <= Event::CivilDusk)
                            add(r.event, r.hours, r.clockOffset);
                    if (site.summerTime)
                        EXPECT_EQ(d.length, j == 1 ? (month == 3 ? 25.0 : 23.0) : 24.0) << year << '/' << month;
                }
                std::sort(out.begin(), out.end());
                return out;
            };
            const auto want = instants(standard), got = instants(summer);
            ASSERT_EQ(got.size(), want.size()) << year << '/' << month;
            for (std::size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].first, want[i].first) << year << '/' << month;
                EXPECT_NEAR(double(got[i].second), double(want[i].second), 2) << year << '/' << month;
            }
        }
}

TEST(Almanac, PhasesAreListedInTheMonthOfTheLocalClockInForce)
{
    // PyEphem 4.1.4 instants (UT) as local clock times. Near the month's
    // edges at offsets far from UT, under summer time, and at an offset no
    // dialog accepts (30 h): the phase is in the month of its local date.
    const struct {
        Site site;
        int year, month;
        int index;  // in the month's list; -1 the last
        Phase phase;
        int day, minute;  // local clock, minutes of the day
    } cases[] = {
        {{0, 0, 14, 0}, 1997, 11, 0, Phase::NewMoon, 1, 1},          // 1997-10-31 10:01:05 UT
        {{0, 0, 14, 0}, 2015, 8, 0, Phase::FullMoon, 1, 43},         // 2015-07-31 10:42:53
        {{0, 0, 14, 0}, 2020, 11, -1, Phase::FullMoon, 30, 1410},      // 2020-11-30 09:29:41
        {{0, 0, -12, 0}, 1995, 2, -1, Phase::NewMoon, 28, 1428},       // 1995-03-01 11:47:46
        {{0, 0, -12, 0}, 2007, 12, 0, Phase::LastQuarter, 1, 44},    // 2007-12-01 12:44:04
        {{0, 0, -12, 0}, 2024, 4, -1, Phase::LastQuarter, 30, 1407},   // 2024-05-01 11:27:12
        {{0, 0, 9, 0}, 2016, 4, 0, Phase::LastQuarter, 1, 17},           // 2016-03-31 15:16:51, 0.77 d after the mean
        {{0, 0, -12, 0}, 2001, 2, 0, Phase::FirstQuarter, 1, 122},       // 2001-02-01 14:02:25, 0.71 d after the mean
        {{35.67, 139.5, 9, 1}, 2000, 7, 2, Phase::FullMoon, 16, 1435},  // 2000-07-16 13:55:12, +10 h
        {{35.67, 139.5, 30, 0}, 2000, 1, 2, Phase::FullMoon, 22, 640},  // 2000-01-21 04:40:xx, +30 h
    };
    for (const auto& c : cases) {
        const std::vector<PhaseEvent> p = monthPhases(c.site, c.year, c.month);
        ASSERT_GT(p.size(), std::size_t(c.index < 0 ? 0 : c.index)) << c.year << '/' << c.month;
        const PhaseEvent& f = c.index < 0 ? p.back() : p[c.index];
        EXPECT_EQ(f.phase, c.phase) << c.year << '/' << c.month;
        EXPECT_EQ(f.month, c.month);
        EXPECT_EQ(f.day, c.day) << c.year << '/' << c.month;
        EXPECT_NEAR(f.hour * 60 + f.minute, c.minute, 1) << c.year << '/' << c.month;
    }
}

TEST(Almanac, GrazingMoonCrossesTwiceWithinHalfAnHour)
{
    // Tromso: the moon dips below, or peeps over, -35'08" for minutes.
    // PyEphem 4.1.4 crossings (pressure 0, topocentric centre), UT+1.
    const Site tromso{69.65, 18.96, 1, 0};
    const struct {
        int year, month, day;
        double rise, set;  // hours
    } cases[] = {
        {2000, 1, 20, 11 + 19 / 60.0 + 23.47 / 3600, 11 + 1 / 60.0 + 2.97 / 3600},
        {2001, 7, 8, 1 + 44 / 60.0 + 12.98 / 3600, 1 + 53 / 60.0 + 48.18 / 3600},
        {2006, 7, 26, 42 / 60.0 + 39.86 / 3600, 37 / 60.0 + 54.64 / 3600},
    };
    for (const auto& c : cases) {
        const Day d = computeDay(tromso, c.year, c.month, c.day);
        ASSERT_EQ(d.moonRise.occurs, Occurs::Yes) << c.year;
        ASSERT_EQ(d.moonSet.occurs, Occurs::Yes) << c.year;
        EXPECT_NEAR(d.moonRise.hours, c.rise, 30 / 3600.0) << c.year;  // grazing: the theories' seconds grow
        EXPECT_NEAR(d.moonSet.hours, c.set, 30 / 3600.0) << c.year;
    }
}

TEST(Almanac, WhatCannotBeComputedIsSaid)
{
    // 31 February 2001 counts on to 3 March and says so.
    const Day feb31 = computeDay(tokyo, 2001, 2, 31);
    EXPECT_FALSE(feb31.realDate);
    EXPECT_TRUE(feb31.computed);
    EXPECT_EQ(feb31.year * 10000 + feb31.month * 100 + feb31.day, 20010303);
    EXPECT_EQ(feb31.askedMonth * 100 + feb31.askedDay, 231);
    EXPECT_TRUE(computeDay(tokyo, 2000, 2, 29).realDate);
    for (const auto& [y, m, dd] : {std::tuple{2001, 13, 1}, std::tuple{2001, 0, 5}, std::tuple{2001, 5, 0}}) {
        const Day d = computeDay(tokyo, y, m, dd);
        EXPECT_FALSE(d.computed) << m << '/' << dd;
        EXPECT_EQ(d.sunRise.occurs, Occurs::No);
    }
    EXPECT_TRUE(monthPhases(tokyo, 2001, 13).empty());

    // Sapporo, 2000-05-12: age 7.95 days at noon (PyEphem); a latitude past
    // the pole keeps the age and gives no rise; 720 degrees east is 0.
    const Day beyond = computeDay({95, 141.35, 9, 0}, 2000, 5, 12);
    EXPECT_FALSE(beyond.siteDefined);
    EXPECT_EQ(beyond.sunRise.occurs, Occurs::No);
    EXPECT_FALSE(beyond.moonTransit.occurs);
    EXPECT_NEAR(beyond.moonAge, 7.95, 0.005);
    EXPECT_FALSE(computeDay({std::nan(""), 0, 0, 0}, 2000, 5, 12).siteDefined);
    EXPECT_NEAR(computeDay({51.48, 720, 0, 0}, 2000, 6, 21).sunRise.hours,
                computeDay({51.48, 0, 0, 0}, 2000, 6, 21).sunRise.hours, 1e-9);
    for (const double tz : {49.0, -1e300, std::nan("")}) {
        EXPECT_FALSE(computeDay({35, 139, tz, 0}, 2000, 5, 12).computed) << tz;
        EXPECT_TRUE(monthPhases({35, 139, tz, 0}, 2000, 5).empty()) << tz;
    }
    EXPECT_TRUE(computeDay(tokyo, 1899, 6, 1).outsideEphemeris);
    EXPECT_FALSE(computeDay(tokyo, 2099, 12, 31).outsideEphemeris);
}

TEST(Almanac, DeltaTFollowsTheObservedValues)
{
    // USNO deltat.data / historic_deltat.data values at dates between the
    // yearly values the model holds, and its joins without a step.
    const auto jd = [](double year) { return 2451544.5 + (year - 2000) * 365.2425; };
    const struct {
        double year, seconds;
    } observed[] = {{1957.5, 31.923}, {1964.5, 35.400}, {1977.5, 48.034}, {2018 + 7 / 12.0, 69.1142},
                    {2019 + 1 / 12.0, 69.2452}, {2024.0, 69.1752}};
    for (const auto& o : observed)
        EXPECT_NEAR(deltaT(jd(o.year)), o.seconds, 0.1) << o.year;
    for (const double join : {1950.0, 1955.0, 2026.0, 2050.0})
        EXPECT_NEAR(deltaT(jd(join) - 1e-6), deltaT(jd(join) + 1e-6), 0.002) << join;
}

TEST(Almanac, TheRepeatedHourKeepsItsEvents)
{
    // Tokyo with summer time: on 30 September the clock goes back from 24:00
    // to 23:00. PyEphem 4.1.4: the moon transits 2012-09-29 14:01:46 UT
    // (00:01:46 summer time) and again 2012-09-30 14:46:27 UT (23:46:27
    // standard time); it rises 2021-09-30 14:36:37 UT, 23:36:37 standard time.
    const Site tokyoSummer{35.67, 139.5, 9, 1};
    const Day d2012 = computeDay(tokyoSummer, 2012, 9, 30);
    EXPECT_EQ(d2012.length, 25.0);
    ASSERT_TRUE(d2012.moonTransit.occurs);
    EXPECT_NEAR(d2012.moonTransit.hours, 1 / 60.0 + 46 / 3600.0, 3 / 3600.0);
    EXPECT_EQ(d2012.moonTransit.clockOffset, 10.0);
    ASSERT_EQ(d2012.repeated.size(), 1u);
    EXPECT_EQ(d2012.repeated[0].event, Event::MoonTransit);
    EXPECT_NEAR(d2012.repeated[0].hours, 23 + 46 / 60.0 + 27 / 3600.0, 3 / 3600.0);
    EXPECT_EQ(d2012.repeated[0].clockOffset, 9.0);
    EXPECT_FALSE(computeDay(tokyoSummer, 2012, 10, 1).moonTransit.occurs);  // none left for the next date

    const Day d2021 = computeDay(tokyoSummer, 2021, 9, 30);
    ASSERT_EQ(d2021.moonRise.occurs, Occurs::Yes);
    EXPECT_EQ(d2021.moonRise.clockOffset, 9.0);
    EXPECT_NEAR(d2021.moonRise.hours * 60, 23 * 60 + 36 + 37 / 60.0, 0.05);
}

TEST(Almanac, AnEventAtMidnightBelongsToOneDateOnly)
{
    // The moon transits Tokyo on 1947-02-05 at 15:00:00 UT (PyEphem 4.1.4),
    // within 10 ms of local midnight: each date's own frame would put it on
    // both sides; it must be on exactly one of the two dates.
    const int on5 = computeDay(tokyo, 1947, 2, 5).moonTransit.occurs, on6 = computeDay(tokyo, 1947, 2, 6).moonTransit.occurs;
    EXPECT_EQ(on5 + on6, 1);
}
