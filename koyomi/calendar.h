// The Japanese calendar's days: the 24 solar terms (二十四節気) and the
// seasonal days (雑節), the traditional lunisolar date (旧暦) with its 六曜,
// the sexagenary cycle (干支) and the tide names (潮名). All dates are Japan
// Standard Time. The rules and their sources are in docs/koyomi.md.
#pragma once

#include <string>
#include <vector>

namespace koyomi {

// One of the 24 solar terms: the sun's apparent longitude a multiple of 15.
struct SolarTerm {
    int longitude = 0;   // degrees: 0 春分, 15 清明, ... 315 立春
    double jdUt = 0;     // the instant
    long jdn = 0;        // its JST date (of the instant rounded to the minute)
    int hour = 0, minute = 0;  // JST, rounded to the minute
};

// The term's name; 中気 (principal terms, even multiples of 15: 春分, 穀雨,
// ...) and 節 (the others: 清明, 立夏, ...) told apart by isChuki.
const char* termName(int longitude);
inline bool isChuki(int longitude) { return longitude % 30 == 0; }

// The instant the sun reaches the longitude in the given Gregorian year
// (longitudes 285 and 300 fall in January, 270 in December).
SolarTerm solarTerm(int year, int longitude);

// The year's 24 terms in time order, 小寒 to 冬至.
std::vector<SolarTerm> yearTerms(int year);

// The traditional lunisolar date.
struct Kyureki {
    int month = 0;       // 1 .. 12
    bool leap = false;   // 閏月
    int day = 0;         // 1 .. 30
};
Kyureki kyureki(long jdn);
std::string kyurekiText(const Kyureki& k);  // e.g. 閏11月3日

// 六曜 of a lunisolar date: 大安, 赤口, 先勝, 友引, 先負, 仏滅.
const char* rokuyo(const Kyureki& k);

// The sexagenary cycle: 0 = 甲子 .. 59 = 癸亥.
int dayKanshi(long jdn);
int yearKanshi(int year);
std::string kanshiName(int index);

// A seasonal day (雑節) or a solar term that the calendar lists, with its
// instant where the sun's longitude defines it.
struct CalendarDay {
    std::string name;
    int longitude = -1;  // degrees, or -1 when the day is counted, not reached
    long jdn = 0;
    bool timed = false;  // hour and minute valid
    int hour = 0, minute = 0;
};

// The year's 24 terms and seasonal days in date order (the terms first on a
// shared date): 節分, 彼岸入り and 彼岸明け, 社日, 八十八夜, 入梅, 半夏生,
// 土用の入り and the 丑の日 of each 土用, 二百十日, 二百二十日.
std::vector<CalendarDay> yearCalendarDays(int year);

// 潮名 of a date from the elongation at 0 h JST.
const char* tideName(long jdn);

}  // namespace koyomi
