// The precise almanac: published phase instants, polar day and night, the
// summer-time clock and days without a moon rise.
#include <gtest/gtest.h>

#include "almanac/almanac.h"

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
