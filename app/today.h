// Today's civil date at the local standard time of this computer: the UTC
// clock moved by the C library's standard-time offset. Summer time is not
// applied. The clock and the offset can be replaced, so the arithmetic can be
// tried at any instant.
#pragma once

#include <functional>

// A reading of the clock as UTC calendar fields.
struct UtcClock {
    int year;
    int month;   // 1..12
    int day;     // 1..31
    int hour;    // 0..23
    int minute;  // 0..59
};

// The local date for a UTC reading and a standard-time offset in seconds
// west of UTC (the sign of the C library's `timezone`: -32400 for UT+9).
// Returns the year; month and day receive the rest. The offset moves the
// date by at most one day, and the year is not limited.
int localToday(const UtcClock& utc, long zoneWestSeconds, int& month, int& day);

// Where funcToday takes the clock reading and the offset from. Empty
// functions mean the system clock and the C library's time-zone setting
// (tzset, then `timezone`; the TZ environment variable is honoured).
struct TodaySource {
    std::function<UtcClock()> utcNow;
    std::function<long()> zoneWest;
};
void setTodaySource(TodaySource source);

// The clock's reading (UTC, to the minute) from the same source.
UtcClock funcUtcNow();

// Today's date, read anew at each call. Returns the year.
int funcToday(int& month, int& day);
