#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "date/dateSpin.h"

namespace {

// Steps the date y-m-d (as the dialog shows it) once and returns the three
// fields as "year/month/day" with the blanks of the field formats removed.
std::string stepped(TcDateFields f, TcSpinField field, int step)
{
    spinDate(f, field, step);
    auto trim = [](const std::string& s) { return s.substr(s.find_first_not_of(' ')); };
    return trim(f.year) + "/" + trim(f.month) + "/" + trim(f.day);
}

std::string stepped(int y, int m, int d, TcSpinField field, int step)
{
    return stepped(dateFields(y, m, d), field, step);
}

constexpr auto Day = TcSpinField::Day;
constexpr auto Month = TcSpinField::Month;
constexpr auto Year = TcSpinField::Year;

}  // namespace

TEST(ParseWhole, TakesBlanksASignAndDigitsWithin32BitsOnly)
{
    const std::pair<const char*, int32_t> good[] = {{" 2001", 2001}, {"   -12", -12}, {"+7", 7}, {"007", 7},
                                                    {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}};
    for (const auto& [text, expected] : good) {
        int32_t v = 0;
        EXPECT_TRUE(parseWhole(text, v)) << '"' << text << '"';
        EXPECT_EQ(v, expected) << '"' << text << '"';
    }
    // Anything else is refused and leaves the value alone.
    for (const char* bad : {"", "   ", "2001 ", "20 01", "+", "-", "+-1", "1a", "a", "1.0", "\t1",
                            "2147483648", "-2147483649", "99999999999999999999"}) {
        int32_t v = 42;
        EXPECT_FALSE(parseWhole(bad, v)) << '"' << bad << '"';
        EXPECT_EQ(v, 42) << '"' << bad << '"';
    }
}

TEST(SpinDate, DayCarriesAcrossMonthAndYearEnds)
{
    EXPECT_EQ(stepped(2001, 1, 31, Day, +1), "2001/2/1");
    EXPECT_EQ(stepped(2001, 2, 28, Day, +1), "2001/3/1");
    EXPECT_EQ(stepped(2004, 2, 28, Day, +1), "2004/2/29");
    EXPECT_EQ(stepped(2004, 2, 29, Day, +1), "2004/3/1");
    EXPECT_EQ(stepped(2001, 4, 30, Day, +1), "2001/5/1");
    EXPECT_EQ(stepped(2000, 12, 31, Day, +1), "2001/1/1");
    // 2100 is no leap year on the calendar, but this table has no century rule.
    EXPECT_EQ(stepped(2098, 12, 31, Day, +1), "2099/1/1");
    // Down from the 1st: the last day of the month before.
    EXPECT_EQ(stepped(2004, 3, 1, Day, -1), "2004/2/29");
    EXPECT_EQ(stepped(2001, 3, 1, Day, -1), "2001/2/28");
    EXPECT_EQ(stepped(2001, 5, 1, Day, -1), "2001/4/30");
    EXPECT_EQ(stepped(2001, 4, 1, Day, -1), "2001/3/31");
    EXPECT_EQ(stepped(2001, 2, 1, Day, -1), "2001/1/31");
    EXPECT_EQ(stepped(2001, 1, 1, Day, -1), "2000/12/31");
}

TEST(SpinDate, YearFollowsTheMonthAndIsClampedOnlyWhenItMoves)
{
    EXPECT_EQ(stepped(2099, 12, 31, Day, +1), "2099/1/1");
    EXPECT_EQ(stepped(1901, 1, 1, Day, -1), "1901/12/31");
    EXPECT_EQ(stepped(2099, 5, 5, Year, +1), "2099/5/5");
    EXPECT_EQ(stepped(1901, 5, 5, Year, -1), "1901/5/5");
    EXPECT_EQ(stepped(2000, 5, 5, Year, +1), "2001/5/5");
    // A typed year out of range stays while the day moves within its month.
    EXPECT_EQ(stepped(3000, 5, 5, Day, +1), "3000/5/6");
    EXPECT_EQ(stepped(3000, 5, 5, Month, -1), "3000/4/5");
    EXPECT_EQ(stepped(3000, 5, 5, Year, -1), "2099/5/5");
    // The month carries into the year and leaves the day as it is.
    EXPECT_EQ(stepped(2005, 12, 15, Month, +1), "2006/1/15");
    EXPECT_EQ(stepped(2005, 1, 15, Month, -1), "2004/12/15");
    EXPECT_EQ(stepped(2001, 1, 31, Month, +1), "2001/2/31");
}

TEST(SpinDate, ReducesATypedMonthBeforeTheStep)
{
    EXPECT_EQ(stepped(TcDateFields{"2001", "14", "1"}, Year, +1), "2002/2/1");
    EXPECT_EQ(stepped(TcDateFields{"2001", "25", "31"}, Day, +1), "2001/2/1");
    // Months of 0 and below go round backwards: 0 is December, -1 November.
    EXPECT_EQ(stepped(TcDateFields{"2001", "0", "31"}, Day, +1), "2002/1/1");
    EXPECT_EQ(stepped(TcDateFields{"2001", "0", "1"}, Day, -1), "2001/11/30");
    EXPECT_EQ(stepped(TcDateFields{"2001", "-1", "30"}, Day, +1), "2001/12/1");
    EXPECT_EQ(stepped(TcDateFields{"2001", "-12", "5"}, Month, +1), "2002/1/5");
    EXPECT_EQ(stepped(TcDateFields{"2001", "-2147483648", "5"}, Year, +1), "2002/4/5");
}

TEST(SpinDate, UnreadableAndExtremeFields)
{
    EXPECT_EQ(stepped(TcDateFields{"x", "3", "3"}, Day, +1), "2000/3/4");
    EXPECT_EQ(stepped(TcDateFields{"2001 ", "", "abc"}, Month, +1), "2000/2/1");
    // February of the default year 2000 has 29 days.
    EXPECT_EQ(stepped(TcDateFields{"", "2", "28"}, Day, +1), "2000/2/29");
    // Every field is written back in its format.
    TcDateFields f{"x", "14", "7"};
    spinDate(f, TcSpinField::Day, +1);
    EXPECT_EQ(f.year, " 2000");
    EXPECT_EQ(f.month, "  2");
    EXPECT_EQ(f.day, "  8");
    // Fields at the 32-bit edges survive the step.
    EXPECT_EQ(stepped(TcDateFields{"2147483647", "1", "1"}, Year, +1), "2099/1/1");
    EXPECT_EQ(stepped(TcDateFields{"-2147483648", "1", "1"}, Year, -1), "1901/1/1");
    EXPECT_EQ(stepped(TcDateFields{"2001", "1", "2147483647"}, Day, +1), "2001/2/1");
    EXPECT_EQ(stepped(TcDateFields{"2001", "3", "-2147483648"}, Day, -1), "2001/2/28");
}
