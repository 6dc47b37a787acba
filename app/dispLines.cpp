#include "app/dispLines.h"

#include <cmath>
#include <cstdio>

namespace {

const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};

}  // namespace

std::string timeField(double t, double twoPi)
{
    const double h = t / twoPi * 24 + 0.0000001;
    // Any negative time is an absent event. A value that is not a number, or
    // too large for an hour count, cannot be shown as a time either.
    if (!(h >= 0 && h < 1e9))
        return " --:--";
    const double a = std::fabs(h);
    const int hours = static_cast<int>(a);
    const int minutes = static_cast<int>((a - hours) * 60);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%3d:%2d", hours, minutes);
    return buf;
}

std::string dateLine(int year, int month, int day, double weekday)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%5d年%3d月%3d日  (", year, month, day);
    std::string line = buf;
    const bool known = weekday >= 0 && weekday < 7;
    line += known ? kWeekdays[static_cast<int>(weekday)] : "  ";
    line += ")    ";
    return line;
}

std::string sunLine(double rise, double set, double twoPi)
{
    return "日出 " + timeField(rise, twoPi) + "  日没 " + timeField(set, twoPi);
}

std::string moonLine(double rise, double set, double twoPi)
{
    return "月出 " + timeField(rise, twoPi) + "  月没  " + timeField(set, twoPi);
}

std::string ageLine(double age)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "月齢 %5.1f", age);
    return buf;
}

DispLines dispLines(int year, int month, int day, const TcDayResult& r, double twoPi)
{
    return DispLines {
        dateLine(year, month, day, r.weekday),
        sunLine(r.sunRise, r.sunSet, twoPi),
        moonLine(r.moonRise, r.moonSet, twoPi),
        ageLine(r.moonAge),
    };
}
