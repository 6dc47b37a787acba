// The day result of mooncalc: rise and set times, age and weekday at a site.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/prcCalc.h"
#include "table/monthRows.h"

namespace {

struct EngineDay : ::testing::Test {
    TcMainState state;
    TcCalc calc{state};

    void site(double lat, double lon, double tz, int summer = 0)
    {
        state.siteLatitude = lat;
        state.siteLongitude = lon;
        state.siteTimeZone = tz;
        state.siteSummerTime = summer;
    }
    TcDayResult day(int y, int m, int d) const
    {
        TcDayResult r;
        calc.mooncalc(y, m, d, r);
        return r;
    }
};

TEST_F(EngineDay, WorkedDaysAtTheDefaultSite)
{
    putDefaultSite(state);
    TcDayResult r = day(2000, 1, 1);
    EXPECT_NEAR(r.sunRise, 1.79569, 1e-5);
    EXPECT_NEAR(r.sunSet, 4.35768, 1e-5);
    EXPECT_NEAR(r.moonRise, 0.44587, 1e-5);
    EXPECT_NEAR(r.moonSet, 3.43094, 1e-5);
    EXPECT_NEAR(r.moonAge, 23.9286, 1e-4);
    EXPECT_EQ(r.weekday, 6.0);

    // the moon rises after midnight: no rise on the 28th
    r = day(2000, 1, 28);
    EXPECT_EQ(r.moonRise, TcCalc::noEvent);
    EXPECT_NEAR(r.sunRise, 1.76930, 1e-5);
    EXPECT_NEAR(r.sunSet, 4.46828, 1e-5);
    EXPECT_NEAR(r.moonSet, 2.91159, 1e-5);
    EXPECT_NEAR(r.moonAge, 21.1483, 1e-4);
    EXPECT_EQ(r.weekday, 5.0);

    // The site is read at every call, not kept from an earlier one.
    const double tokyo = day(2000, 1, 1).sunRise;
    site(-33.87, 151.21, 10);
    EXPECT_GT(std::fabs(day(2000, 1, 1).sunRise - tokyo), 0.1);
}

// Clock-angle difference b - a, wrapped into [-pi, pi).
double clockDiff(double a, double b)
{
    return std::fmod(b - a + 3 * M_PI, 2 * M_PI) - M_PI;
}

TEST_F(EngineDay, SummerTimeOnlyInTheLocalSummerAndOnlyForFlag1)
{
    struct Case {
        double lat;
        int month, flag;
        bool shifted;
    };
    const Case cases[] = {
        {35.67, 4, 1, true},   {35.67, 9, 1, true},   {35.67, 3, 1, false},  {35.67, 10, 1, false},
        {-33.87, 3, 1, true},  {-33.87, 10, 1, true}, {-33.87, 12, 1, true}, {-33.87, 4, 1, false},
        {-33.87, 9, 1, false}, {0.0, 6, 1, false},    {0.0, 12, 1, false},   {35.67, 6, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "lat " << c.lat << " month " << c.month << " flag " << c.flag);
        site(c.lat, 139.5, 9, 0);
        const TcDayResult plain = day(2001, c.month, 15);
        state.siteSummerTime = c.flag;
        const TcDayResult r = day(2001, c.month, 15);
        if (!c.shifted) {
            EXPECT_EQ(std::make_tuple(r.sunRise, r.sunSet, r.moonRise, r.moonSet, r.moonAge),
                      std::make_tuple(plain.sunRise, plain.sunSet, plain.moonRise, plain.moonSet, plain.moonAge));
            continue;
        }
        // one hour later on the clock, the age taken one hour earlier
        const double hour = 0.26179938774;
        EXPECT_NEAR(clockDiff(plain.sunRise, r.sunRise), hour, 0.005);
        EXPECT_NEAR(clockDiff(plain.sunSet, r.sunSet), hour, 0.005);
        for (auto [a, b] : {std::pair{plain.moonRise, r.moonRise}, std::pair{plain.moonSet, r.moonSet}})
            if (a >= 0 && b >= 0) {
                EXPECT_NEAR(clockDiff(a, b), hour, 0.02);
            }
        EXPECT_NEAR(plain.moonAge - r.moonAge, 1 / 24.0, 1e-3);
        EXPECT_EQ(r.weekday, plain.weekday);
    }
}

TEST_F(EngineDay, WestLongitudeEitherWayRound)
{
    // 120 W given as -120 or as 240 E, eight hours behind UT
    for (int month = 1; month <= 12; ++month) {
        site(37.0, -120, -8);
        const std::vector<std::string> west = monthRows(calc, 2003, month);
        site(37.0, 240, -8);
        EXPECT_EQ(monthRows(calc, 2003, month), west) << month;
        const TcDayResult r = day(2003, month, 15);  // a negative offset: local times still fall in the day
        EXPECT_TRUE(r.sunRise > 0.9 && r.sunRise < r.sunSet && r.sunSet < 5.3) << r.sunRise << " " << r.sunSet;
    }
}

TEST_F(EngineDay, BodiesThatDoNotCrossTheHorizonHaveNoEvents)
{
    for (int month : {6, 12}) {  // midnight sun, then polar night
        site(80.0, 15.0, 1);
        const TcDayResult r = day(2000, month, 21);
        EXPECT_EQ(r.sunRise, TcCalc::noEvent) << month;
        EXPECT_EQ(r.sunSet, TcCalc::noEvent) << month;
        EXPECT_TRUE(r.moonAge >= 0 && r.moonAge < 29.530589);
    }
    for (double lat : {90.0, -90.0}) {  // at the poles nothing crosses the horizon
        site(lat, 0, 0);
        for (int month = 1; month <= 12; ++month) {
            const TcDayResult r = day(2000, month, 10);
            for (double t : {r.sunRise, r.sunSet, r.moonRise, r.moonSet})
                EXPECT_EQ(t, TcCalc::noEvent) << lat << " " << month;
        }
    }
    // Northern Norway, spring: the sun rises and sets, the moon at its
    // extreme declination does not cross the horizon at local noon.
    site(69.65, 18.96, 1);
    const TcDayResult r = day(2000, 3, 14);
    EXPECT_GE(r.sunRise, 0.0);
    EXPECT_GE(r.sunSet, 0.0);
    EXPECT_EQ(r.moonRise, TcCalc::noEvent);
    EXPECT_EQ(r.moonSet, TcCalc::noEvent);
}

TEST_F(EngineDay, MoonTimesStayInTheirRanges)
{
    // The later-rise attempt can yield a clock angle a little above 2 pi; it
    // is accepted (up to 6.2832) and reads as 24:00.
    site(35.0, 8.0, 1);
    const TcDayResult late = day(2025, 5, 17);
    EXPECT_GT(late.moonRise, calc.twoPi);
    EXPECT_LE(late.moonRise, 6.2832);
    EXPECT_EQ(monthRow(2025, 5, 17, late).substr(31, 8), "   24: 0");

    // Over several years at three sites: first-attempt times are above 0,
    // second-attempt times at most 6.2832; absent is exactly the no-event value.
    const double sites[][3] = {{35.67, 139.5, 9}, {-41.3, 174.8, 12}, {51.5, -0.1, 0}};
    int rises = 0, sets = 0;
    for (const auto& s : sites) {
        site(s[0], s[1], s[2]);
        for (int i = 0; i < 1500; ++i) {
            const TcDayResult r = day(2010, 1, 1 + i);  // days past the month's end count on
            for (double v : {r.moonRise, r.moonSet})
                EXPECT_TRUE(v == TcCalc::noEvent || (v > 0 && v <= 6.2832)) << v;
            rises += r.moonRise > 0;
            sets += r.moonSet > 0;
        }
    }
    // about one day in thirty has no rise (and one no set) at mid latitudes
    EXPECT_GT(rises, 4300);
    EXPECT_GT(sets, 4300);
}

}  // namespace
