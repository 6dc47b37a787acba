#include "app/dayStep.h"

void stepDay(int32_t& year, int32_t& month, int32_t& day, int step)
{
    const int32_t d = step < 0 ? -1 : 1;

    // Index 0 is December (the month before January), 13 the January after.
    int32_t daysInMonth[14] = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 31};
    daysInMonth[2] = (year % 4 == 0) ? 29 : 28;

    // The displayed month is always 1..12; anything else would index past the
    // table, so such a month is taken as one of 31 days.
    const auto monthLength = [&daysInMonth](int32_t m) { return (m >= 0 && m <= 13) ? daysInMonth[m] : 31; };

    day += d;
    if (day < 1 || day > monthLength(month)) {
        day = (day >= 1) ? 1 : monthLength(month - 1);
        month += d;
        if (month < 1 || month > 12) {
            month = ((month + 11) % 12) + 1;
            year += d;
            if (year < kFirstYear)
                year = kFirstYear;
            else if (year > kLastYear)
                year = kLastYear;
        }
    }
}
