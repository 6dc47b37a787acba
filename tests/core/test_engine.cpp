// The engine's building blocks: Julian days and the calendar, angle
// reduction, sidereal time, the places of the sun and the moon, the observer
// and the moon age.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "engine/prcCalc.h"

namespace {

struct Engine : ::testing::Test {
    TcMainState state;
    TcCalc calc{state};
};

TEST_F(Engine, JulianDayOfCalendarDates)
{
    struct Case {
        int year, month;
        double day;
        int hour;
        double jd;
    };
    const Case cases[] = {
        {2000, 1, 1.0, 0, 2451544.5}, {1999, 12, 31.0, 12, 2451544.0}, {1900, 1, 1.0, 0, 2415020.5},
        // days outside the month count on from its start
        {2000, 1, 32.0, 0, 2451575.5}, {2000, 3, 0.0, 0, 2451603.5}, {1900, 3, 0.0, 0, 2415078.5},
        {2001, 2, 31.0, 0, 2451971.5},
        // the calendar switch: October 5 already reads as Gregorian
        {1582, 10, 4.0, 0, 2299159.5}, {1582, 10, 15.0, 0, 2299160.5}, {1582, 10, 5.0, 0, 2299150.5},
        // negative years
        {-1000, 7, 12.5, 0, 1356001.0}, {-123, 12, 31.0, 0, 1676496.5}, {-122, 1, 1.0, 0, 1676497.5},
        {-4712, 1, 1.5, 0, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(calc.tjd(c.year, c.month, c.day, c.hour, 0, 0), c.jd)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << "h";
    // minutes and seconds are fractions of the day
    EXPECT_DOUBLE_EQ(calc.tjd(2000, 1, 1.0, 6, 30, 36), 2451544.5 + 0.25 + 30 / 1440.0 + 36 / 86400.0);
}

TEST_F(Engine, CalendarDateAndWeekdayOfJulianDays)
{
    struct Case {
        double jd;
        int year, month;
        double day;
        int weekday;
    };
    const Case cases[] = {
        {2451544.5, 2000, 1, 1.0, 6},   {2451544.75, 2000, 1, 1.25, 6}, {2415385.5, 1901, 1, 1.0, 2},
        {2415384.5, 1900, 12, 31.0, 1}, {2416539.5, 1904, 2, 29.0, 1},  {2416845.5, 1904, 12, 31.0, 6},
        {2415444.5, 1901, 3, 1.0, 5},
        // ends of the exact range: every fourth year is taken as a leap year,
        // so 1900 and 2100 get a February 29; the weekday stays right
        {2415078.5, 1900, 2, 29.0, 3},  {2488128.5, 2100, 2, 29.0, 1},
    };
    for (const Case& c : cases) {
        int year = 0, month = 0;
        double day = 0;
        EXPECT_EQ(calc.toYMD(c.jd, year, month, day), c.weekday) << c.jd;
        EXPECT_EQ(year, c.year) << c.jd;
        EXPECT_EQ(month, c.month) << c.jd;
        EXPECT_DOUBLE_EQ(day, c.day) << c.jd;
    }

    // Every day of 1901 to 2099 converts back to its own Julian day.
    int bad = 0;
    for (double jd = calc.tjd(1901, 1, 1.0, 0, 0, 0); jd <= calc.tjd(2099, 12, 31.0, 0, 0, 0); jd += 1) {
        int year, month;
        double day;
        const int weekday = calc.toYMD(jd, year, month, day);
        bad += calc.tjd(year, month, day, 0, 0, 0) != jd || weekday < 0 || weekday > 6;
    }
    EXPECT_EQ(bad, 0);
}

TEST_F(Engine, AngleReductionSiderealTimeAndDms)
{
    EXPECT_DOUBLE_EQ(calc.pmod(-0.1), 6.183185307179587);
    EXPECT_DOUBLE_EQ(calc.pmod(7.0), 0.7168146928204138);
    EXPECT_EQ(calc.pmod(-4 * calc.pi), 0.0);
    EXPECT_NEAR(calc.pmod(-4 * calc.pi - 0.1), 6.183185307179587, 1e-14);  // below -4 pi: one more turn
    EXPECT_NEAR(calc.pmod(-100.0), 0.5309649148733939, 1e-13);

    EXPECT_NEAR(calc.sid(2451545.0), 4.8949556, 1e-7);
    EXPECT_NEAR(calc.sid(2451544.5), 1.7447615, 1e-7);

    const std::pair<double, std::vector<int>> dmsCases[] = {
        {0.5, {28, 38, 52}}, {-0.5, {-28, 38, 52}}, {-0.001, {0, 3, 26}},  // the sign is lost with 0 degrees
    };
    for (const auto& [angle, expected] : dmsCases) {
        int d, m, s;
        calc.dms(angle, d, m, s);
        EXPECT_EQ((std::vector<int>{d, m, s}), expected) << angle;
    }
}

TEST_F(Engine, SunAndMoonPlaces)
{
    double beta, parallax, alpha, delta;

    EXPECT_NEAR(calc.sun(2451545.0), 4.8934785, 1e-7);
    calc.ec_to_eq(4.8934785, 0, 0.4090928, alpha, delta);
    EXPECT_NEAR(alpha, 4.9093641, 1e-7);
    EXPECT_NEAR(delta, -0.4020142, 1e-7);

    const double lambda = calc.sMOON(2451545.0, beta, parallax);
    EXPECT_NEAR(lambda, 3.9003537, 1e-7);
    EXPECT_NEAR(beta, 0.0889144, 1e-7);
    EXPECT_NEAR(parallax, 0.0158463, 1e-7);
    calc.ec_to_eq(lambda, beta, 0.4090928, alpha, delta);
    EXPECT_NEAR(alpha, 3.8846585, 1e-7);
    EXPECT_NEAR(delta, -0.1923120, 1e-7);

    // At the series' epoch, and in 1968 where both unreduced series lie
    // below -4 pi.
    EXPECT_NEAR(calc.sun(2442412.5), 4.8680279, 1e-7);
    EXPECT_NEAR(calc.sMOON(2442412.5, beta, parallax), 2.1702493, 1e-7);
    EXPECT_NEAR(beta, -0.0725130, 1e-7);
    EXPECT_NEAR(parallax, 0.0175698, 1e-7);
    EXPECT_NEAR(calc.sun(2440000.5), 1.0975525, 1e-7);
    EXPECT_NEAR(calc.sMOON(2440000.5, beta, parallax), 0.4735603, 1e-7);
}

TEST_F(Engine, RightAscensionLandsInItsQuadrant)
{
    const double eps = 0.4090928;
    double alpha, delta;
    calc.ec_to_eq(calc.pi / 2, 0, eps, alpha, delta);
    EXPECT_NEAR(alpha, calc.pi / 2, 1e-12);
    EXPECT_NEAR(delta, eps, 1e-12);
    calc.ec_to_eq(0, 0, eps, alpha, delta);
    EXPECT_EQ(alpha, 0.0);
    EXPECT_EQ(delta, 0.0);
    calc.ec_to_eq(3.4906585, 0, eps, alpha, delta);  // 200 deg: the +pi step
    EXPECT_NEAR(alpha, 3.4638857, 1e-7);
    calc.ec_to_eq(5.2359878, 0, eps, alpha, delta);  // 300 deg: the +2 pi step
    EXPECT_NEAR(alpha, 5.2740579, 1e-7);

}

TEST_F(Engine, ObserverOnTheBesselEllipsoid)
{
    double rhoSin;
    EXPECT_DOUBLE_EQ(calc.obs(0, rhoSin), 6377.39715);
    EXPECT_EQ(rhoSin, 0.0);
    EXPECT_NEAR(calc.obs(35 / calc.degPerRad, rhoSin), 5229.8029, 1e-4);
    EXPECT_NEAR(rhoSin, 3637.5062, 1e-4);
}

TEST_F(Engine, MoonAgeGrowsADayADayAndWrapsAtNewMoon)
{
    EXPECT_NEAR(calc.moonage(2451550.625), 0.3394, 1e-4);  // 2000-01-07, local noon at +9 h
    EXPECT_NEAR(calc.moonage(2451545.0), 24.2999, 1e-4);
    // Right at a computed new moon far before the present the plain remainder
    // comes out a hair above a whole lunation; the age must still wrap to 0.
    const double age = calc.moonage(-477766.54435964045);
    EXPECT_TRUE(age >= 0 && age < 29.530589) << age;

    int wraps = 0;
    double previous = calc.moonage(2451544.5 - 1);
    for (int i = 0; i < 366 * 3; ++i) {
        const double age = calc.moonage(2451544.5 + i);
        ASSERT_TRUE(age >= 0 && age < 29.530589) << i;
        if (age < previous) {  // from just under a lunation to just above 0
            ++wraps;
            EXPECT_TRUE(previous > 28.4 && age < 1.1) << i;
        } else {
            EXPECT_NEAR(age - previous, 1.0, 0.05) << i;
        }
        previous = age;
    }
    EXPECT_NEAR(wraps, 366 * 3 / 29.530589, 1.0);
}

}  // namespace
