// The month view 月間こよみ: one row per day of a month at a site, with the
// Japanese calendar (Japan Standard Time) beside the precise almanac's rise
// and set times (the site's local clock), and the same month as an HTML
// page for printing. The window shows these texts; nothing here draws.
#pragma once

#include <string>
#include <vector>

#include "almanac/almanac.h"

namespace koyomi {

struct MonthViewRow {
    int day = 0;
    std::string date;      // "12/ 8"
    std::string weekday;   // 日 .. 土
    bool redDay = false;   // a Sunday or a national holiday
    std::string holiday;   // the holiday's name
    std::string kyureki;   // "10/30", "閏11/ 1"
    std::string rokuyo;
    std::string marks;     // solar term with its time, seasonal days
    std::string sunRise, sunSet, moonRise, moonSet;  // "HH:MM", "なし", or a word
    std::string age;       // moon age at local noon, "12.9"
    std::string phase;     // "満月 10:28" on the day of a principal phase
};

struct MonthView {
    int year = 0, month = 0;
    std::string title;  // "2026年12月"
    std::vector<MonthViewRow> rows;
};

// Column headings, in the order of the row's texts after the date.
extern const char* const kMonthViewHeadings[];
inline constexpr int kMonthViewColumns = 12;

// Which clock each column reads, said under the table.
extern const char* const kMonthViewNote;

MonthView monthView(const almanac::Site& site, int year, int month);

// The texts of a row in column order (date, weekday, holiday, 旧暦, 六曜,
// 節気・雑節, 日出, 日没, 月出, 月没, 月齢, 月相).
std::vector<std::string> monthViewCells(const MonthViewRow& row);

// The month as one HTML page (a title with the site's name, given as UTF-8,
// and a table; Sundays and holidays in red) for printing on one A4 page.
std::string monthViewHtml(const MonthView& view, const std::string& siteName);

}  // namespace koyomi
