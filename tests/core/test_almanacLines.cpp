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

TEST(AlmanacLines, SheetNamesTheRealDateAndTheRepeatedHour)
{
    const double twoPi = 3.141592653589793 * 2;
    const TcDayResult classic {0.25 * twoPi, 0.75 * twoPi, TcCalc::noEvent, TcCalc::noEvent, 3, 6};
    almanac::Day day;  // 31 February 2001 counted on to 3 March
    day.year = 2001, day.month = 3, day.day = 3;
    day.askedYear = 2001, day.askedMonth = 2, day.askedDay = 31;
    day.realDate = false;
    AlmanacSheet s = almanacSheet({35, 139, 9, 0}, day, {}, classic, twoPi);
    EXPECT_EQ(s.date, "2001年  3月  3日  (土)");
    ASSERT_EQ(s.notes.size(), 1u);
    EXPECT_EQ(s.notes[0], "2001年2月31日は暦にない日です。3月3日の値を示します。");

    // The last day of summer time: a moon transit read on the clock gone
    // back, and a second one in that hour.
    almanac::Day last;
    last.year = 2021, last.month = 9, last.day = 30, last.clockOffset = 10, last.length = 25;
    last.moonTransit = {true, 0.1, 50, 10};
    last.moonRise = {almanac::Occurs::Yes, 23.6, 60, 9};
    last.repeated = {{almanac::Event::MoonTransit, 23.9, 51, 9}};
    s = almanacSheet({35, 139, 9, 1}, last, {}, classic, twoPi);
    EXPECT_EQ(s.events[3].time, "23:36（標準時）");
    EXPECT_EQ(s.events[4].time, "00:06 / 23:54（標準時）");
    EXPECT_EQ(s.notes.size(), 1u);

    day.computed = false;  // nothing to show: no figures, only the note
    s = almanacSheet({35, 139, 9, 0}, day, {}, classic, twoPi);
    EXPECT_EQ(s.events[0].time, "--:--");
    EXPECT_EQ(s.events[6].time, "--");
}
