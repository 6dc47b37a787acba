// The month table rows: lengths of months, the row format and the text form.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "table/monthRows.h"

namespace {

const char* const january1 = " 2000/  1/  1      6:51   16:38    1:42   13: 6   23.9 ";
const char* const january28 = " 2000/  1/ 28      6:45   17: 4   --:--   11: 7   21.1 ";

// Clock angle of h:m (hours as the table reads them back).
double clock(double hours) { return hours / 3.81971864; }

TEST(MonthLength, LeapYearsAndMonths)
{
    // February has 29 days in every year divisible by 4, with no century
    // rule and with the remainder taking the dividend's sign.
    const int cases[][3] = {{2000, 2, 29}, {2001, 2, 28}, {2100, 2, 29}, {-4, 2, 29}, {-3, 2, 28},
                            {2001, 1, 31}, {2001, 4, 30}, {2001, 12, 31}, {2001, 0, 0},  {2001, 13, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(monthLength(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
}

TEST(MonthRow, FieldsAreTruncatedAndPadded)
{
    // 13 h 6.5 min, 6 h 59.9 min, exactly 0:00, an absent event; age 0.3394
    const TcDayResult r{clock(13 + 6.5 / 60), clock(6 + 59.9 / 60), 0.0, TcCalc::noEvent, 0.3394, 3};
    const std::string row = monthRow(1901, 12, 9, r);
    EXPECT_EQ(row, " 1901/ 12/  9     13: 6    6:59    0: 0   --:--    0.3 ");
    EXPECT_EQ(row.size(), 55u);

    // any negative time is absent, not only the no-event value; a time a
    // little above a whole turn reads 24:00; the age rounds to one decimal
    const TcDayResult s{-0.0005, 6.2832, std::nan(""), clock(23 + 59.99 / 60), 29.96, 0};
    EXPECT_EQ(monthRow(2099, 1, 31, s), " 2099/  1/ 31     --:--   24: 0   --:--   23:59   30.0 ");
}

TEST(MonthRow, DateFieldsWriteAsPrintfDoes)
{
    // Widths are minimums: negative and over-long values are written whole.
    const TcDayResult r{TcCalc::noEvent, TcCalc::noEvent, TcCalc::noEvent, TcCalc::noEvent, 0, 0};
    const int fields[][3] = {{-45, -1, 0}, {123456, 1000, -99}, {0, 12, 31}, {-2147483647 - 1, 7, 7}};
    for (const auto& f : fields) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%5d/%3d/%3d  ", f[0], f[1], f[2]);
        const std::string row = monthRow(f[0], f[1], f[2], r);
        EXPECT_EQ(row.substr(0, row.size() - 40), expected);
    }
}

TEST(MonthRows, OneRowForEveryDayOfTheMonth)
{
    TcMainState state;
    putDefaultSite(state);
    const TcCalc calc(state);
    const std::vector<std::string> rows = monthRows(calc, 2000, 1);
    ASSERT_EQ(rows.size(), 31u);
    EXPECT_EQ(rows[0], january1);
    EXPECT_EQ(rows[27], january28);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].size(), 55u) << i;

    EXPECT_EQ(monthRows(calc, 2001, 4).back().substr(0, 15), " 2001/  4/ 30  ");
    EXPECT_TRUE(monthRows(calc, 2001, 13).empty());
}

TEST(MonthText, EveryRowEndsInCrLf)
{
    EXPECT_EQ(monthText({}), "");
    EXPECT_EQ(monthText({january1, january28}), std::string(january1) + "\r\n" + january28 + "\r\n");
}

}  // namespace

TEST(MonthRow, AnyIntFitsTheRowAsPrintfWritesIt)
{
    // Hours and minutes of any int (a hand-edited or corrupt source): the
    // row is what printf's fields make of them, nothing written past it.
    const int hours[4] = {2147483647, -1, 1234567890, 0};
    const int minutes[4] = {-2147483647 - 1, 0, -2147483647 - 1, -2147483647 - 1};
    char expected[256];
    std::snprintf(expected, sizeof expected, "%5d/%3d/%3d    %3d:%2d   --:--  %3d:%2d  %3d:%2d  %5.1f ",
                  -2147483647 - 1, -2147483647 - 1, 2147483647, hours[0], minutes[0], hours[2], minutes[2], hours[3],
                  minutes[3], 1.25);
    EXPECT_EQ(monthRow(-2147483647 - 1, -2147483647 - 1, 2147483647, hours, minutes, 1.25), expected);
}
