// The four text lines of the main window.
#include <gtest/gtest.h>

#include <cmath>

#include "app/dispLines.h"

namespace {

const double kTwoPi = 3.141592653589793 * 2;

// The clock angle of h:m.
double at(double h, double m)
{
    return (h + m / 60.0) / 24.0 * kTwoPi;
}

}  // namespace

TEST(DispLines, DateLineCarriesTheWeekdayBetweenItsParentheses)
{
    EXPECT_EQ(dateLine(1901, 12, 1, 0.0), " 1901年 12月  1日  (日)    ");
    EXPECT_EQ(dateLine(2000, 5, 8, 1.9999), " 2000年  5月  8日  (月)    ");  // the integer part counts
    EXPECT_EQ(dateLine(2099, 1, 31, 6.0), " 2099年  1月 31日  (土)    ");
    // A weekday outside the week shows no character.
    EXPECT_EQ(dateLine(2000, 5, 12, 7.0), " 2000年  5月 12日  (  )    ");
    EXPECT_EQ(dateLine(2000, 5, 12, -1.0), " 2000年  5月 12日  (  )    ");
}

TEST(DispLines, TimesAreTruncatedToTheMinuteAndBlankPadded)
{
    EXPECT_EQ(timeField(at(6, 5), kTwoPi), "  6: 5");
    EXPECT_EQ(timeField(0.0, kTwoPi), "  0: 0");
    EXPECT_EQ(timeField(at(6, 4.9), kTwoPi), "  6: 4");
    // A hair below a whole minute still shows that minute.
    EXPECT_EQ(timeField(at(12, 30) - 1e-9, kTwoPi), " 12:30");
    // Just above 2 pi is 24:00.
    EXPECT_EQ(timeField(6.2832, kTwoPi), " 24: 0");
    EXPECT_EQ(timeField(kTwoPi, kTwoPi), " 24: 0");
    // Any negative time is absent, not only the no-event value, and so is a
    // value that is not a number.
    for (double absent : {TcCalc::noEvent, -3.0, -1000.0, std::nan("")})
        EXPECT_EQ(timeField(absent, kTwoPi), " --:--") << absent;
}

TEST(DispLines, TheDayResultFillsAllFourLines)
{
    const double none = TcCalc::noEvent;
    EXPECT_EQ(sunLine(none, at(18, 43), kTwoPi), "日出  --:--  日没  18:43");
    EXPECT_EQ(moonLine(at(5, 3), none, kTwoPi), "月出   5: 3  月没   --:--");
    EXPECT_EQ(ageLine(0.0), "月齢   0.0");
    EXPECT_EQ(ageLine(7.44), "月齢   7.4");
    EXPECT_EQ(ageLine(7.46), "月齢   7.5");
    EXPECT_EQ(ageLine(29.5), "月齢  29.5");

    const TcDayResult r{at(4, 27), at(18, 43), none, at(9, 0), 14.26, 5.0};
    const DispLines lines = dispLines(2000, 5, 12, r, kTwoPi);
    EXPECT_EQ(lines.date, " 2000年  5月 12日  (金)    ");
    EXPECT_EQ(lines.sun, "日出   4:27  日没  18:43");
    EXPECT_EQ(lines.moon, "月出  --:--  月没    9: 0");
    EXPECT_EQ(lines.age, "月齢  14.3");
}
