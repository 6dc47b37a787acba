// Today's date from the UTC clock and the standard-time offset.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <ctime>

#include "app/today.h"

namespace {

using Date = std::array<int, 3>;  // year, month, day

TEST(Today, TheOffsetMovesTheDateAtLocalMidnight)
{
    struct Case {
        UtcClock utc;
        long zoneWest;  // seconds west of UTC
        Date local;
    };
    const Case cases[] = {
        // ahead of UTC: the next day, across month and year ends
        {{2023, 12, 31, 23, 30}, -32400, {2024, 1, 1}}, {{2023, 4, 30, 15, 0}, -32400, {2023, 5, 1}},
        {{2024, 2, 28, 20, 0}, -32400, {2024, 2, 29}},  {{2023, 2, 28, 20, 0}, -32400, {2023, 3, 1}},
        {{2100, 12, 31, 23, 0}, -32400, {2101, 1, 1}},  // the year is not limited here
        // behind UTC: the day before
        {{2024, 3, 1, 0, 30}, 18000, {2024, 2, 29}},    {{2023, 3, 1, 0, 30}, 18000, {2023, 2, 28}},
        {{2024, 1, 1, 4, 59}, 18000, {2023, 12, 31}},
        // local midnight is the boundary
        {{2023, 6, 10, 14, 59}, -32400, {2023, 6, 10}}, {{2023, 6, 10, 15, 0}, -32400, {2023, 6, 11}},
        {{2024, 1, 1, 5, 0}, 18000, {2024, 1, 1}},      {{2023, 7, 15, 18, 29}, -19800, {2023, 7, 15}},
        {{2023, 7, 15, 18, 30}, -19800, {2023, 7, 16}}, {{2023, 7, 15, 0, 0}, 0, {2023, 7, 15}},
        {{2023, 7, 15, 23, 59}, 0, {2023, 7, 15}},
        // seconds of the offset are truncated toward zero: 59 s west count as
        // no minute, 61 s as one
        {{2023, 7, 15, 0, 0}, 59, {2023, 7, 15}},       {{2023, 7, 15, 0, 0}, 61, {2023, 7, 14}},
    };
    for (const Case& c : cases) {
        Date d{};
        d[0] = localToday(c.utc, c.zoneWest, d[1], d[2]);
        EXPECT_EQ(d, c.local) << c.utc.year << "-" << c.utc.month << "-" << c.utc.day << " " << c.utc.hour << ":"
                              << c.utc.minute << " west " << c.zoneWest;
    }
}

TEST(Today, FuncTodayReadsTheInjectedClockAndOffsetAnew)
{
    UtcClock now {2023, 12, 31, 23, 30};
    setTodaySource({[&now] { return now; }, [] { return -32400L; }});
    int month = 0, day = 0;
    EXPECT_EQ((Date{funcToday(month, day), month, day}), (Date{2024, 1, 1}));
    now = {2023, 12, 31, 14, 0};
    EXPECT_EQ((Date{funcToday(month, day), month, day}), (Date{2023, 12, 31}));
    setTodaySource({});
}

TEST(Today, TheSystemSourceUsesTheStandardOffsetOfTz)
{
    // A zone 14 hours ahead whose summer time (15 hours ahead) lasts all
    // year: only the standard offset counts.
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "XXX-14YYY,J1/0,J365/25", 1);
    int month = 0, day = 0;
    // 9:30 UTC is 23:30 of the same day in standard time.
    setTodaySource({[] { return UtcClock{2023, 7, 15, 9, 30}; }, {}});
    const Date fixedClock{funcToday(month, day), month, day};
    // The system clock: the UTC date of 14 hours later.
    setTodaySource({});
    const std::time_t before = std::time(nullptr);
    const Date systemClock{funcToday(month, day), month, day};
    const std::time_t after = std::time(nullptr);
    if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();

    EXPECT_EQ(fixedClock, (Date{2023, 7, 15}));
    bool matches = false;
    for (std::time_t t : {before, after}) {
        const std::time_t later = t + 14 * 3600;
        std::tm tm {};
        gmtime_r(&later, &tm);
        matches = matches || systemClock == Date{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
    }
    EXPECT_TRUE(matches) << systemClock[0] << "-" << systemClock[1] << "-" << systemClock[2];
}

}  // namespace
