#include <gtest/gtest.h>

#include <array>

#include "app/dayStep.h"

namespace {

using Date = std::array<int32_t, 3>;  // year, month, day

Date stepped(Date from, int step)
{
    stepDay(from[0], from[1], from[2], step);
    return from;
}

}  // namespace

TEST(DayStep, MonthEndsUseTheLeapRuleOfTheYear)
{
    EXPECT_EQ(stepped({2000, 3, 1}, -1), (Date{2000, 2, 29}));
    EXPECT_EQ(stepped({1999, 3, 1}, -1), (Date{1999, 2, 28}));
    EXPECT_EQ(stepped({2000, 2, 28}, +1), (Date{2000, 2, 29}));
    EXPECT_EQ(stepped({2000, 2, 29}, +1), (Date{2000, 3, 1}));
    EXPECT_EQ(stepped({1999, 2, 28}, +1), (Date{1999, 3, 1}));
    EXPECT_EQ(stepped({2001, 4, 30}, +1), (Date{2001, 5, 1}));
    EXPECT_EQ(stepped({2001, 5, 1}, -1), (Date{2001, 4, 30}));
    EXPECT_EQ(stepped({2001, 8, 1}, -1), (Date{2001, 7, 31}));
    EXPECT_EQ(stepped({2001, 6, 15}, +1), (Date{2001, 6, 16}));
    EXPECT_EQ(stepped({2001, 6, 15}, -1), (Date{2001, 6, 14}));
}

TEST(DayStep, YearEndsCarryTheYear)
{
    EXPECT_EQ(stepped({2000, 1, 1}, -1), (Date{1999, 12, 31}));
    EXPECT_EQ(stepped({1999, 12, 31}, +1), (Date{2000, 1, 1}));
}

TEST(DayStep, CrossingAYearEndKeepsTheYearIn1901To2099)
{
    EXPECT_EQ(stepped({1901, 1, 1}, -1), (Date{1901, 12, 31}));
    EXPECT_EQ(stepped({2099, 12, 31}, +1), (Date{2099, 1, 1}));
    // The ends themselves are still reachable from inside.
    EXPECT_EQ(stepped({1902, 1, 1}, -1), (Date{1901, 12, 31}));
    EXPECT_EQ(stepped({2098, 12, 31}, +1), (Date{2099, 1, 1}));
}

TEST(DayStep, AYearOutsideTheRangeIsKeptUntilAStepCrossesItsEnd)
{
    EXPECT_EQ(stepped({2150, 6, 30}, +1), (Date{2150, 7, 1}));
    EXPECT_EQ(stepped({1850, 3, 1}, -1), (Date{1850, 2, 28}));
    EXPECT_EQ(stepped({2104, 3, 1}, -1), (Date{2104, 2, 29}));
    EXPECT_EQ(stepped({2150, 12, 31}, +1), (Date{2099, 1, 1}));
    EXPECT_EQ(stepped({1850, 1, 1}, -1), (Date{1901, 12, 31}));
    EXPECT_EQ(stepped({2150, 1, 1}, -1), (Date{2099, 12, 31}));
}

TEST(DayStep, ADayBeyondItsMonthGoesToTheFirstOfTheNextMonthEitherWay)
{
    EXPECT_EQ(stepped({2001, 2, 31}, +1), (Date{2001, 3, 1}));
    EXPECT_EQ(stepped({2001, 2, 31}, -1), (Date{2001, 1, 1}));
    EXPECT_EQ(stepped({2001, 4, 31}, +1), (Date{2001, 5, 1}));
    EXPECT_EQ(stepped({2001, 4, 31}, -1), (Date{2001, 4, 30}));  // one day back lands inside April
    EXPECT_EQ(stepped({2000, 2, 30}, -1), (Date{2000, 2, 29}));  // 29 still fits February 2000
}

TEST(DayStep, AYearBackAndForthReturnsToTheStart)
{
    // 366 days back from 15 March 2004 pass 29 February 2004.
    Date d {2004, 3, 15};
    for (int i = 0; i < 366; ++i) stepDay(d[0], d[1], d[2], -1);
    EXPECT_EQ(d, (Date{2003, 3, 15}));
    for (int i = 0; i < 366; ++i) stepDay(d[0], d[1], d[2], +1);
    EXPECT_EQ(d, (Date{2004, 3, 15}));
}
