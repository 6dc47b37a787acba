// The Japanese calendar as text: the day-by-day CSV table and the year's
// list of solar terms and seasonal days (lunvelde-table --koyomi and
// --sekki), and the lines of the details window's calendar block.
#pragma once

#include <string>
#include <vector>

namespace koyomi {

// One line per day of the month (month 1..12) or of the whole year (month
// 0) after the header line koyomiCsvHeader; LF line ends. Columns: date,
// weekday (日..土), holiday name, lunisolar month, 1 for a leap month,
// lunisolar day, 六曜, the day's 干支, the solar term of the day and its
// JST time (HH:MM), the seasonal days joined by "・", 潮名, and the moon's
// distance in km at 12:00 JST.
std::string koyomiCsv(int year, int month);
extern const char* const koyomiCsvHeader;

// The year's solar terms and seasonal days in date order, CSV: name, the
// sun's longitude in degrees where it defines the day, the date, and the
// JST time rounded to the minute where the day has an instant.
std::string sekkiText(int year);
extern const char* const sekkiHeader;

// The calendar block of the details window for one date, four lines (JST):
// the lunisolar date with 六曜 and the day's and year's 干支; the moon's
// distance and apparent diameter at 12:00 and the tide name; the month's
// perigees and apogees with their times; the holiday, solar term with its
// time and seasonal days of the day (empty on a plain day).
std::vector<std::string> koyomiLines(int year, int month, int day);

}  // namespace koyomi
