// One day forward or back for the main window's displayed date.
#pragma once

#include <cstdint>

// The years the program computes: the date dialog takes only these, a step
// across a year end keeps the date in them, and the table command accepts
// only these.
inline constexpr int32_t kFirstYear = 1901;
inline constexpr int32_t kLastYear = 2099;

// Moves year/month/day by one day: back when step is negative, forward
// otherwise. Every year divisible by 4 counts as a leap year (exact for
// 1901..2099); February's length is taken from the year before the step.
// A day beyond its month's end (such as 31 February, which the date dialog
// accepts) becomes the 1st of the month the step leads to: 1 March forward,
// 1 January back. The year is clamped to 1901..2099 only when the step
// crosses a year end, so a year outside that range stays as it is while the
// steps stay within it.
void stepDay(int32_t& year, int32_t& month, int32_t& day, int step);
