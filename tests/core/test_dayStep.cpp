// One day forward or back on the main window's displayed date.
#include <gtest/gtest.h>

#include <array>

#include "app/dayStep.h"

namespace {

using Date = std::array<int32_t, 3>;  // year, month, day

}  // namespace

TEST(DayStep, CarriesAcrossMonthAndYearEnds)
{
    struct Case {
        Date from;
        int step;
        Date to;
    };
    const Case cases[] = {
        // the leap rule of the year, both ways; month lengths of the table
        {{2000, 3, 1}, -1, {2000, 2, 29}}, {{1999, 3, 1}, -1, {1999, 2, 28}}, {{2000, 2, 28}, +1, {2000, 2, 29}},
        {{2000, 2, 29}, +1, {2000, 3, 1}}, {{2001, 4, 30}, +1, {2001, 5, 1}},  {{2001, 5, 1}, -1, {2001, 4, 30}},
        {{2001, 8, 1}, -1, {2001, 7, 31}}, {{2001, 6, 15}, +1, {2001, 6, 16}}, {{2001, 6, 15}, -1, {2001, 6, 14}},
        {{2000, 1, 1}, -1, {1999, 12, 31}}, {{1999, 12, 31}, +1, {2000, 1, 1}},
        // crossing a year end keeps the year in 1901..2099; the ends stay reachable
        {{1901, 1, 1}, -1, {1901, 12, 31}}, {{2099, 12, 31}, +1, {2099, 1, 1}},
        {{1902, 1, 1}, -1, {1901, 12, 31}}, {{2098, 12, 31}, +1, {2099, 1, 1}},
        // a year outside the range is kept until a step crosses its end
        {{2150, 6, 30}, +1, {2150, 7, 1}}, {{1850, 3, 1}, -1, {1850, 2, 28}}, {{2104, 3, 1}, -1, {2104, 2, 29}},
        {{2150, 12, 31}, +1, {2099, 1, 1}}, {{1850, 1, 1}, -1, {1901, 12, 31}}, {{2150, 1, 1}, -1, {2099, 12, 31}},
        // a day beyond its month goes to the 1st of the next month either way,
        // unless one day back lands inside the month
        {{2001, 2, 31}, +1, {2001, 3, 1}}, {{2001, 2, 31}, -1, {2001, 1, 1}}, {{2001, 4, 31}, +1, {2001, 5, 1}},
        {{2001, 4, 31}, -1, {2001, 4, 30}}, {{2000, 2, 30}, -1, {2000, 2, 29}},
    };
    for (const Case& c : cases) {
        Date d = c.from;
        stepDay(d[0], d[1], d[2], c.step);
        EXPECT_EQ(d, c.to) << c.from[0] << "/" << c.from[1] << "/" << c.from[2] << " by " << c.step;
    }
}

TEST(DayStep, AYearBackAndForthReturnsToTheStart)
{
    // 366 days back from 15 March 2004 pass 29 February 2004.
    Date d{2004, 3, 15};
    for (int i = 0; i < 366; ++i)
        stepDay(d[0], d[1], d[2], -1);
    EXPECT_EQ(d, (Date{2003, 3, 15}));
    for (int i = 0; i < 366; ++i)
        stepDay(d[0], d[1], d[2], +1);
    EXPECT_EQ(d, (Date{2004, 3, 15}));
}
