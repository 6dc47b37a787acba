#include <gtest/gtest.h>

#include <cmath>

#include "app/dispLines.h"

namespace {

const double kPi = 3.141592653589793;
const double kTwoPi = kPi * 2;

// The clock angle of h:m.
double at(int h, int m)
{
    return (h + m / 60.0) / 24.0 * kTwoPi;
}

}  // namespace

TEST(DispLines, DateLineCarriesTheWeekdayBetweenItsParentheses)
{
    EXPECT_EQ(dateLine(2000, 5, 12, 5.0), " 2000年  5月 12日  (金)    ");
    EXPECT_EQ(dateLine(1901, 12, 1, 0.0), " 1901年 12月  1日  (日)    ");
    EXPECT_EQ(dateLine(2099, 1, 31, 6.0), " 2099年  1月 31日  (土)    ");
    EXPECT_EQ(dateLine(2001, 2, 31, 3.0), " 2001年  2月 31日  (水)    ");
    // The integer part of the weekday number picks the character.
    EXPECT_EQ(dateLine(2000, 5, 8, 1.9999), " 2000年  5月  8日  (月)    ");
    EXPECT_EQ(dateLine(2000, 5, 9, 2.0), " 2000年  5月  9日  (火)    ");
    EXPECT_EQ(dateLine(2000, 5, 11, 4.0), " 2000年  5月 11日  (木)    ");
    // A weekday outside the week shows no character.
    EXPECT_EQ(dateLine(2000, 5, 12, 7.0), " 2000年  5月 12日  (  )    ");
    EXPECT_EQ(dateLine(2000, 5, 12, -1.0), " 2000年  5月 12日  (  )    ");
}

TEST(DispLines, TimesAreTruncatedToTheMinuteAndBlankPadded)
{
    EXPECT_EQ(sunLine(at(4, 27), at(18, 43), kTwoPi), "日出   4:27  日没  18:43");
    EXPECT_EQ(timeField(at(6, 5), kTwoPi), "  6: 5");
    EXPECT_EQ(timeField(0.0, kTwoPi), "  0: 0");
    // 6 h 4.9 min shows minute 4.
    EXPECT_EQ(timeField((6 + 4.9 / 60) / 24 * kTwoPi, kTwoPi), "  6: 4");
    // A hair below a whole minute still shows that minute.
    EXPECT_EQ(timeField((12 + 30 / 60.0 - 1e-9) / 24 * kTwoPi, kTwoPi), " 12:30");
    // Just above 2 pi is 24:00.
    EXPECT_EQ(timeField(6.2832, kTwoPi), " 24: 0");
    EXPECT_EQ(timeField(kTwoPi, kTwoPi), " 24: 0");
}

TEST(DispLines, AbsentTimesAreHyphenatedInTheirOwnFields)
{
    const double none = TcCalc::noEvent;
    EXPECT_EQ(sunLine(none, at(18, 43), kTwoPi), "日出  --:--  日没  18:43");
    EXPECT_EQ(sunLine(at(4, 27), none, kTwoPi), "日出   4:27  日没  --:--");
    EXPECT_EQ(moonLine(none, at(17, 20), kTwoPi), "月出  --:--  月没   17:20");
    EXPECT_EQ(moonLine(at(5, 3), none, kTwoPi), "月出   5: 3  月没   --:--");
    EXPECT_EQ(moonLine(none, none, kTwoPi), "月出  --:--  月没   --:--");
    // Any negative time is absent, not only the no-event value, and so is a
    // value that is not a number.
    EXPECT_EQ(timeField(-3.0, kTwoPi), " --:--");
    EXPECT_EQ(timeField(-1000.0, kTwoPi), " --:--");
    EXPECT_EQ(timeField(std::nan(""), kTwoPi), " --:--");
}

TEST(DispLines, AgeHasOneDecimalInFiveColumns)
{
    EXPECT_EQ(ageLine(0.0), "月齢   0.0");
    EXPECT_EQ(ageLine(7.44), "月齢   7.4");
    EXPECT_EQ(ageLine(7.46), "月齢   7.5");
    EXPECT_EQ(ageLine(29.5), "月齢  29.5");
}

TEST(DispLines, TheDayResultFillsAllFourLines)
{
    const TcDayResult r {at(4, 27), at(18, 43), TcCalc::noEvent, at(9, 0), 14.26, 5.0};
    const DispLines lines = dispLines(2000, 5, 12, r, kTwoPi);
    EXPECT_EQ(lines.date, " 2000年  5月 12日  (金)    ");
    EXPECT_EQ(lines.sun, "日出   4:27  日没  18:43");
    EXPECT_EQ(lines.moon, "月出  --:--  月没    9: 0");
    EXPECT_EQ(lines.age, "月齢  14.3");
}
