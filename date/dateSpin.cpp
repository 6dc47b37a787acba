#include "date/dateSpin.h"

#include <cstdio>
#include <limits>

#include "app/dayStep.h"

namespace {

// A typed month is brought into 1..12 before a step. Months from 1 up give
// (month - 1) rem 12 + 1 (13 -> 1, 14 -> 2, 25 -> 1). Months of 0 and below
// go round the same cycle backwards (0 -> 12, -1 -> 11, -12 -> 12), so the
// month-length table is never read outside its entries.
int64_t reduceMonth(int64_t month)
{
    int64_t r = (month - 1) % 12;
    if (r < 0)
        r += 12;
    return r + 1;
}

std::string format(const char* fmt, int32_t value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, fmt, static_cast<int>(value));
    return buf;
}

}  // namespace

bool parseWhole(const std::string& text, int32_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    // Accumulate as a negative number so that the most negative 32-bit value
    // can be read too.
    const int64_t lowest = std::numeric_limits<int32_t>::min();
    const int64_t highest = std::numeric_limits<int32_t>::max();
    int64_t n = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        n = n * 10 - (c - '0');
        if (n < lowest)
            return false;
    }
    if (!negative) {
        if (-n > highest)
            return false;
        n = -n;
    }
    value = static_cast<int32_t>(n);
    return true;
}

TcDateFields dateFields(int32_t year, int32_t month, int32_t day)
{
    return TcDateFields{format("%5d", year), format("%3d", month), format("%3d", day)};
}

TcSpinField spinFieldFor(const std::string& controlName)
{
    if (controlName == "spinDay")
        return TcSpinField::Day;
    if (controlName == "spinMonth")
        return TcSpinField::Month;
    return TcSpinField::Year;
}

void spinDate(TcDateFields& fields, TcSpinField field, int step)
{
    step = step < 0 ? -1 : 1;

    // 64-bit working values: a field typed at the edge of the 32-bit range
    // can be stepped once past it before it is carried or clamped.
    int32_t v = 0;
    int64_t year = parseWhole(fields.year, v) ? v : 2000;
    int64_t month = parseWhole(fields.month, v) ? reduceMonth(v) : 1;
    int64_t day = parseWhole(fields.day, v) ? v : 1;

    // Month lengths; index 0 is December of the year before, 13 January of
    // the year after. Every year divisible by 4 is a leap year here.
    int32_t length[14] = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 31};
    length[2] = year % 4 == 0 ? 29 : 28;

    bool moveMonth = field == TcSpinField::Month;
    bool moveYear = field == TcSpinField::Year;

    if (field == TcSpinField::Day) {
        day += step;
        if (day < 1 || day > length[month]) {
            day = day < 1 ? length[month - 1] : 1;
            moveMonth = true;
        }
    }
    if (moveMonth) {
        month += step;
        if (month < 1 || month > 12) {
            month = (month + 11) % 12 + 1;
            moveYear = true;
        }
    }
    if (moveYear) {
        year += step;
        if (year < kFirstYear)
            year = kFirstYear;
        if (year > kLastYear)
            year = kLastYear;
    }

    fields = dateFields(static_cast<int32_t>(year), static_cast<int32_t>(month), static_cast<int32_t>(day));
}

TcDateCheck checkDate(const TcDateFields& fields, int32_t& year, int32_t& month, int32_t& day)
{
    int32_t y = 0, m = 0, d = 0;
    if (!parseWhole(fields.year, y) || !parseWhole(fields.month, m) || !parseWhole(fields.day, d))
        return TcDateCheck::BadText;
    if (y < kFirstYear || y > kLastYear || m < 1 || m > 12 || d < 1 || d > 31)
        return TcDateCheck::OutOfRange;
    year = y;
    month = m;
    day = d;
    return TcDateCheck::Ok;
}
