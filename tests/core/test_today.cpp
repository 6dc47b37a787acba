#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <ctime>

#include "app/today.h"

namespace {

using Date = std::array<int, 3>;  // year, month, day

// The local date for a UTC reading and an offset in hours ahead of UT.
Date localAt(UtcClock utc, double hoursAhead)
{
    Date d {};
    d[0] = localToday(utc, static_cast<long>(-hoursAhead * 3600), d[1], d[2]);
    return d;
}

}  // namespace

TEST(Today, TheOffsetCanMoveTheDateAcrossMonthAndYearEnds)
{
    // Ahead of UTC: the next day.
    EXPECT_EQ(localAt({2023, 12, 31, 23, 30}, 9), (Date{2024, 1, 1}));
    EXPECT_EQ(localAt({2023, 4, 30, 15, 0}, 9), (Date{2023, 5, 1}));
    EXPECT_EQ(localAt({2024, 2, 28, 20, 0}, 9), (Date{2024, 2, 29}));
    EXPECT_EQ(localAt({2023, 2, 28, 20, 0}, 9), (Date{2023, 3, 1}));
    // Behind UTC: the day before.
    EXPECT_EQ(localAt({2024, 3, 1, 0, 30}, -5), (Date{2024, 2, 29}));
    EXPECT_EQ(localAt({2023, 3, 1, 0, 30}, -5), (Date{2023, 2, 28}));
    EXPECT_EQ(localAt({2024, 1, 1, 4, 59}, -5), (Date{2023, 12, 31}));
    // The year is not limited here.
    EXPECT_EQ(localAt({2100, 12, 31, 23, 0}, 9), (Date{2101, 1, 1}));
}

TEST(Today, LocalMidnightIsTheBoundary)
{
    EXPECT_EQ(localAt({2023, 6, 10, 14, 59}, 9), (Date{2023, 6, 10}));  // 23:59 local
    EXPECT_EQ(localAt({2023, 6, 10, 15, 0}, 9), (Date{2023, 6, 11}));   // 0:00 local
    EXPECT_EQ(localAt({2024, 1, 1, 5, 0}, -5), (Date{2024, 1, 1}));
    EXPECT_EQ(localAt({2023, 7, 15, 18, 29}, 5.5), (Date{2023, 7, 15}));
    EXPECT_EQ(localAt({2023, 7, 15, 18, 30}, 5.5), (Date{2023, 7, 16}));
    EXPECT_EQ(localAt({2023, 7, 15, 0, 0}, 0), (Date{2023, 7, 15}));
    EXPECT_EQ(localAt({2023, 7, 15, 23, 59}, 0), (Date{2023, 7, 15}));
    // Seconds of the offset are truncated toward zero: 59 s west count as
    // no minute, 61 s as one.
    Date d {};
    d[0] = localToday({2023, 7, 15, 0, 0}, 59, d[1], d[2]);
    EXPECT_EQ(d, (Date{2023, 7, 15}));
    d[0] = localToday({2023, 7, 15, 0, 0}, 61, d[1], d[2]);
    EXPECT_EQ(d, (Date{2023, 7, 14}));
}

TEST(Today, FuncTodayReadsTheInjectedClockAndOffsetAnew)
{
    UtcClock now {2023, 12, 31, 23, 30};
    setTodaySource({[&now] { return now; }, [] { return -32400L; }});
    int month = 0, day = 0;
    EXPECT_EQ(funcToday(month, day), 2024);
    EXPECT_EQ(month, 1);
    EXPECT_EQ(day, 1);
    now = {2023, 12, 31, 14, 0};
    EXPECT_EQ(funcToday(month, day), 2023);
    EXPECT_EQ(month, 12);
    EXPECT_EQ(day, 31);
    setTodaySource({});
}

TEST(Today, TheSystemSourceUsesTheStandardOffsetOfTz)
{
    // A zone 14 hours ahead whose summer time (15 hours ahead) lasts all
    // year: only the standard offset counts, so the local date is the UTC
    // date of 14 hours later.
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "XXX-14YYY,J1/0,J365/25", 1);
    setTodaySource({});
    int month = 0, day = 0;
    const std::time_t before = std::time(nullptr);
    const int year = funcToday(month, day);
    const std::time_t after = std::time(nullptr);
    if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();

    bool matches = false;
    for (std::time_t t : {before, after}) {
        const std::time_t later = t + 14 * 3600;
        std::tm tm {};
        gmtime_r(&later, &tm);
        matches = matches || (tm.tm_year + 1900 == year && tm.tm_mon + 1 == month && tm.tm_mday == day);
    }
    EXPECT_TRUE(matches) << year << "-" << month << "-" << day;
}
