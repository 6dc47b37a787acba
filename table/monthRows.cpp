#include "table/monthRows.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

// The date and time fields of a row, in a fixed buffer with room for any
// values: an int takes at most 11 characters, so the date at most
// 11 + 1 + 11 + 1 + 11 + 2 = 37 and a time field 2 + 11 + 1 + 11 = 25
// (clock angles give at most 12; the hours-and-minutes overload takes any
// int).
struct RowBuffer {
    static constexpr std::size_t intChars = 11;  // "-2147483648"
    char text[(3 * intChars + 4) + 4 * (2 * intChars + 3)];
    std::size_t length = 0;

    void put(const char* s, std::size_t n)
    {
        std::memcpy(text + length, s, n);
        length += n;
    }

    // value right-aligned in width columns, as "%<width>d" writes it
    void putInt(int value, int width)
    {
        char digits[intChars + 1];
        const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
        const int n = static_cast<int>(r.ptr - digits);
        for (int i = n; i < width; ++i)
            text[length++] = ' ';
        put(digits, n);
    }

    // One time field: hours and minutes truncated from a clock angle, or
    // hyphens for an absent event (any negative value). A value that is no
    // clock angle at all (NaN, infinite, absurdly large) is shown as absent
    // too rather than converted to an int it does not fit.
    void putTime(double v)
    {
        if (v >= 0 && v < 1e6) {
            const double x = v * 3.81971864;  // 24 / 2 pi: clock angle to hours
            const int hours = static_cast<int>(x);
            const int minutes = static_cast<int>((x - hours) * 60);
            putClock(hours, minutes);
        } else {
            putClock(-1, 0);
        }
    }

    // "  %3d:%2d", or hyphens when hours is negative.
    void putClock(int hours, int minutes)
    {
        if (hours >= 0) {
            put("  ", 2);
            putInt(hours, 3);
            put(":", 1);
            putInt(minutes, 2);
        } else {
            put("   --:--", 8);
        }
    }

    void putDate(int year, int month, int day)
    {
        putInt(year, 5);
        put("/", 1);
        putInt(month, 3);
        put("/", 1);
        putInt(day, 3);
        put("  ", 2);
    }

    // The row: the fields so far, then "  %5.1f " of the age.
    std::string withAge(double moonAge) const
    {
        char age[400];  // room for any double in "%5.1f"
        const int n = std::snprintf(age, sizeof age, "  %5.1f ", moonAge);
        const std::size_t ageLength = n > 0 ? std::min<std::size_t>(n, sizeof age - 1) : 0;
        std::string out;
        out.reserve(length + ageLength);
        out.append(text, length);
        out.append(age, ageLength);
        return out;
    }
};

}  // namespace

int monthLength(int year, int month)
{
    static const int days[13] = {31, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month == 2)
        return year % 4 == 0 ? 29 : 28;
    return days[month];
}

std::string monthRow(int year, int month, int day, const TcDayResult& result)
{
    // "%5d/%3d/%3d  ", the four times, then "  %5.1f " of the age. The
    // integer fields are written by hand, several times faster than printf;
    // the age keeps printf's rounding.
    RowBuffer row;
    row.putDate(year, month, day);
    row.putTime(result.sunRise);
    row.putTime(result.sunSet);
    row.putTime(result.moonRise);
    row.putTime(result.moonSet);
    return row.withAge(result.moonAge);
}

std::string monthRow(int year, int month, int day, const int hours[4], const int minutes[4], double moonAge)
{
    RowBuffer row;
    row.putDate(year, month, day);
    for (int i = 0; i < 4; ++i)
        row.putClock(hours[i], minutes[i]);
    return row.withAge(moonAge);
}

std::vector<std::string> monthRows(const TcCalc& cCalc, int year, int month)
{
    std::vector<std::string> rows;
    const int days = monthLength(year, month);
    rows.reserve(days);
    TcDayResult result;
    for (int day = 1; day <= days; ++day) {
        cCalc.mooncalc(year, month, day, result);
        rows.push_back(monthRow(year, month, day, result));
    }
    return rows;
}

std::string monthText(const std::vector<std::string>& rows)
{
    std::string text;
    text.reserve(rows.size() * 57);
    for (const std::string& row : rows) {
        text += row;
        text += "\r\n";
    }
    return text;
}
