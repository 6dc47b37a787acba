// The texts of the almanac details window.
#include <gtest/gtest.h>

#include "almanac/almanacLines.h"
#include "app/dispLines.h"

namespace {

almanac::Crossing crossing(almanac::Occurs occurs, double hours = 0)
{
    almanac::Crossing c;
    c.occurs = occurs;
    c.hours = hours;
    return c;
}

}  // namespace

TEST(AlmanacLines, TimesRoundToTheMinuteAndADayWithoutAnEventSaysWhy)
{
    using almanac::Occurs;
    EXPECT_EQ(clockHM(5 + 59.6 / 60), "06:00");
    EXPECT_EQ(clockHM(17 + 3.4 / 60), "17:03");
    EXPECT_EQ(clockHM(23 + 59.7 / 60), "23:59");  // stays on its date
    EXPECT_EQ(crossingTime(crossing(Occurs::Yes, 0.5), CrossingKind::moon), "00:30");
    // The neighbouring date, polar day and polar night are three different words.
    const std::string no = crossingTime(crossing(Occurs::No), CrossingKind::sun);
    const std::string above = crossingTime(crossing(Occurs::AlwaysAbove), CrossingKind::sun);
    const std::string below = crossingTime(crossing(Occurs::AlwaysBelow), CrossingKind::sun);
    EXPECT_EQ(no, "なし");
    EXPECT_NE(above, below);
    EXPECT_TRUE(above != no && below != no);
    EXPECT_NE(crossingTime(crossing(Occurs::AlwaysBelow), CrossingKind::twilight), below);
}

TEST(AlmanacLines, SheetSetsTheMainWindowFiguresBesideThePreciseOnes)
{
    const double twoPi = 3.141592653589793 * 2;
    almanac::Site site {-33.87, 360 - 70.65, -4, 1};  // south and west, keeps summer time
    almanac::Day day;
    day.year = 2001, day.month = 1, day.day = 9, day.clockOffset = -3;
    day.sunRise = crossing(almanac::Occurs::Yes, 6 + 40.0 / 60);
    day.sunRise.azimuth = 118.25;
    day.sunTransit = {true, 12.5, -0.04};
    day.moonSet = crossing(almanac::Occurs::AlwaysAbove);
    day.moonAge = 14.256;
    const TcDayResult classic {6.66 / 24 * twoPi, 0.8 * twoPi, TcCalc::noEvent, 0.1, 14.26, 2};
    const AlmanacSheet s = almanacSheet(site, day, {}, classic, twoPi);
    EXPECT_EQ(s.date, "2001年  1月  9日  (火)");
    EXPECT_EQ(s.place, "南緯 33.87°  西経  70.65°  UT-4:00  夏時間 UT-3:00");
    ASSERT_EQ(s.events.size(), 7u);
    EXPECT_EQ(s.events[0].time, "06:40");
    EXPECT_EQ(s.events[0].angle, "方位 118.3°");  // as lunvelde-table --csv rounds
    EXPECT_EQ(s.events[0].classic, "6:39");  // the main window truncates
    EXPECT_EQ(s.events[1].angle, "高度   0.0°");  // never "-0.0"
    EXPECT_EQ(s.events[3].classic, "--:--");
    EXPECT_EQ(s.events[5].time, "沈まない");
    EXPECT_EQ(s.events[6].time, "14.26");
    EXPECT_EQ(s.events[6].classic, "14.3");
}

// The main window's --:-- says which of polar day and polar night it is.
TEST(AlmanacLines, ThePolarNoteTellsPolarDayFromPolarNight)
{
    const almanac::Site longyearbyen {78.22, 15.65, 1.0, 0};
    EXPECT_EQ(sunAllDayNote(almanac::computeDay(longyearbyen, 2024, 6, 21)), "白夜：太陽は一日中沈みません。");
    EXPECT_EQ(sunAllDayNote(almanac::computeDay(longyearbyen, 2024, 12, 21)), "極夜：太陽は一日中昇りません。");
    EXPECT_EQ(sunAllDayNote(almanac::computeDay(longyearbyen, 2024, 3, 21)), "");
}
