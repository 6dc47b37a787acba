// Julian days, the calendar, angle reduction, sidereal time and dms.
#include <gtest/gtest.h>

#include <vector>

#include "engine/prcCalc.h"

namespace {

struct EngineTime : ::testing::Test {
    TcMainState state;
    TcCalc calc{state};
};

struct JdCase {
    int year, month;
    double day;
    int hour;
    double jd;
};

TEST_F(EngineTime, JulianDayOfCalendarDates)
{
    const JdCase cases[] = {
        {2000, 1, 1.0, 0, 2451544.5},   {1999, 12, 31.0, 12, 2451544.0}, {1900, 1, 1.0, 0, 2415020.5},
        // days outside the month count on from its start
        {2000, 1, 32.0, 0, 2451575.5},  {2000, 2, 1.0, 0, 2451575.5},    {2000, 3, 0.0, 0, 2451603.5},
        {2000, 2, 29.0, 0, 2451603.5},  {1900, 3, 0.0, 0, 2415078.5},    {2001, 2, 31.0, 0, 2451971.5},
        // the calendar switch: October 5 already reads as Gregorian
        {1582, 10, 4.0, 0, 2299159.5},  {1582, 10, 15.0, 0, 2299160.5},  {1582, 10, 5.0, 0, 2299150.5},
        // negative years
        {-1000, 7, 12.5, 0, 1356001.0}, {-123, 12, 31.0, 0, 1676496.5},  {-122, 1, 1.0, 0, 1676497.5},
        {-4712, 1, 1.5, 0, 0.0},
    };
    for (const JdCase& c : cases)
        EXPECT_DOUBLE_EQ(calc.tjd(c.year, c.month, c.day, c.hour, 0, 0), c.jd)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << "h";
    // minutes and seconds are fractions of the day
    EXPECT_DOUBLE_EQ(calc.tjd(2000, 1, 1.0, 6, 30, 36), 2451544.5 + 0.25 + 30 / 1440.0 + 36 / 86400.0);
}

struct YmdCase {
    double jd;
    int year, month;
    double day;
    int weekday;
};

TEST_F(EngineTime, CalendarDateAndWeekdayOfJulianDays)
{
    const YmdCase cases[] = {
        {2451544.5, 2000, 1, 1.0, 6},   {2451544.75, 2000, 1, 1.25, 6}, {2415385.5, 1901, 1, 1.0, 2},
        {2415384.5, 1900, 12, 31.0, 1}, {2416539.5, 1904, 2, 29.0, 1},  {2416845.5, 1904, 12, 31.0, 6},
        {2415444.5, 1901, 3, 1.0, 5},   {2451971.5, 2001, 3, 3.0, 6},
        // ends of the exact range: every fourth year is taken as a leap year,
        // so 1900 and 2100 get a February 29; the weekday stays right
        {2415078.5, 1900, 2, 29.0, 3},  {2488128.5, 2100, 2, 29.0, 1},
    };
    for (const YmdCase& c : cases) {
        int year = 0, month = 0;
        double day = 0;
        EXPECT_EQ(calc.toYMD(c.jd, year, month, day), c.weekday) << c.jd;
        EXPECT_EQ(year, c.year) << c.jd;
        EXPECT_EQ(month, c.month) << c.jd;
        EXPECT_DOUBLE_EQ(day, c.day) << c.jd;
    }
}

TEST_F(EngineTime, CalendarRoundTripsEveryDayOf1901To2099)
{
    int bad = 0;
    for (double jd = calc.tjd(1901, 1, 1.0, 0, 0, 0); jd <= calc.tjd(2099, 12, 31.0, 0, 0, 0); jd += 1) {
        int year, month;
        double day;
        const int weekday = calc.toYMD(jd, year, month, day);
        if (calc.tjd(year, month, day, 0, 0, 0) != jd || weekday < 0 || weekday > 6)
            ++bad;
    }
    EXPECT_EQ(bad, 0);
}

TEST_F(EngineTime, PmodReducesIntoOneTurn)
{
    const double pi = calc.pi;
    EXPECT_DOUBLE_EQ(calc.pmod(-0.1), 6.183185307179587);
    EXPECT_DOUBLE_EQ(calc.pmod(7.0), 0.7168146928204138);
    EXPECT_EQ(calc.pmod(-4 * pi), 0.0);
    EXPECT_NEAR(calc.pmod(-4 * pi - 0.1), 6.183185307179587, 1e-14);  // below -4 pi: one more turn
    EXPECT_NEAR(calc.pmod(-100.0), 0.5309649148733939, 1e-13);
    for (double a = -60; a < 60; a += 0.37) {
        const double r = calc.pmod(a);
        EXPECT_TRUE(r >= 0 && r < calc.twoPi) << a;
    }
}

TEST_F(EngineTime, SiderealTimeAndDms)
{
    EXPECT_NEAR(calc.sid(2451545.0), 4.8949556, 1e-7);
    EXPECT_NEAR(calc.sid(2451544.5), 1.7447615, 1e-7);

    int d, m, s;
    calc.dms(0.5, d, m, s);
    EXPECT_EQ((std::vector<int>{d, m, s}), (std::vector<int>{28, 38, 52}));
    calc.dms(-0.5, d, m, s);
    EXPECT_EQ((std::vector<int>{d, m, s}), (std::vector<int>{-28, 38, 52}));
    calc.dms(-0.001, d, m, s);  // the sign is lost with zero whole degrees
    EXPECT_EQ((std::vector<int>{d, m, s}), (std::vector<int>{0, 3, 26}));
}

}  // namespace
