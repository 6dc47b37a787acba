#include "koyomi/monthView.h"

#include "almanac/almanacLines.h"
#include "koyomi/calendar.h"
#include "koyomi/holidays.h"
#include "koyomi/sky.h"
#include "sites/numParse.h"

namespace koyomi {

const char* const kMonthViewHeadings[] = {"日付", "曜",   "祝日", "旧暦", "六曜", "節気・雑節",
                                          "日出", "日没", "月出", "月没", "月齢", "月相"};

const char* const kMonthViewNote = "旧暦・六曜・祝日・節気・雑節は日本標準時、出没時刻と月齢はこの観測地の時計による。";

namespace {

const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};
const char* const kPhaseNames[4] = {"新月", "上弦", "満月", "下弦"};

std::string escapeHtml(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : std::string(1, c);
    return out;
}

}  // namespace

MonthView monthView(const almanac::Site& site, int year, int month)
{
    MonthView view;
    view.year = year;
    view.month = month;
    view.title = sitefile::formatC("%d年%d月", year, month);
    const std::vector<Holiday> holidays = yearHolidays(year);
    const std::vector<CalendarDay> days = yearCalendarDays(year);
    const std::vector<almanac::PhaseEvent> phases = almanac::monthPhases(site, year, month);
    const long first = julianDayNumber(year, month, 1);
    const long end = month == 12 ? julianDayNumber(year + 1, 1, 1) : julianDayNumber(year, month + 1, 1);
    for (long jdn = first; jdn < end; ++jdn) {
        MonthViewRow r;
        r.day = static_cast<int>(jdn - first + 1);
        r.date = sitefile::formatC("%d/%2d", month, r.day);
        r.weekday = kWeekdays[weekday(jdn)];
        for (const Holiday& h : holidays)
            if (h.jdn == jdn)
                r.holiday = h.name;
        r.redDay = weekday(jdn) == 0 || !r.holiday.empty();
        const Kyureki k = kyureki(jdn);
        r.kyureki = sitefile::formatC("%s%d/%2d", k.leap ? "閏" : "", k.month, k.day);
        r.rokuyo = rokuyo(k);
        for (const CalendarDay& c : days)
            if (c.jdn == jdn)
                r.marks += (r.marks.empty() ? "" : " ") + c.name +
                           (c.timed && c.longitude % 15 == 0 ? sitefile::formatC(" %02d:%02d", c.hour, c.minute) : "");
        const almanac::Day d = almanac::computeDay(site, year, month, r.day);
        r.sunRise = crossingTime(d.sunRise, CrossingKind::sun);
        r.sunSet = crossingTime(d.sunSet, CrossingKind::sun);
        r.moonRise = crossingTime(d.moonRise, CrossingKind::moon);
        r.moonSet = crossingTime(d.moonSet, CrossingKind::moon);
        r.age = sitefile::formatC("%.1f", d.moonAge);
        for (const almanac::PhaseEvent& p : phases)
            if (p.day == r.day)
                r.phase = sitefile::formatC("%s %02d:%02d", kPhaseNames[static_cast<int>(p.phase)], p.hour, p.minute);
        view.rows.push_back(r);
    }
    return view;
}

std::vector<std::string> monthViewCells(const MonthViewRow& r)
{
    return {r.date,   r.weekday, r.holiday,  r.kyureki, r.rokuyo, r.marks, r.sunRise,
            r.sunSet, r.moonRise, r.moonSet, r.age,     r.phase};
}

std::string monthViewHtml(const MonthView& view, const std::string& siteName)
{
    std::string html = "<html><head><meta charset=\"utf-8\"></head><body>";
    html += "<h3>" + escapeHtml(view.title + " 月間こよみ  " + siteName) + "</h3>";
    html += "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>";
    for (int c = 0; c < kMonthViewColumns; ++c)
        html += std::string("<th style=\"white-space:nowrap\">") + kMonthViewHeadings[c] + "</th>";
    html += "</tr>";
    for (const MonthViewRow& r : view.rows) {
        html += r.redDay ? "<tr style=\"color:#c00000\">" : "<tr>";
        for (const std::string& cell : monthViewCells(r))
            html += "<td style=\"white-space:nowrap\">" + escapeHtml(cell) + "</td>";
        html += "</tr>";
    }
    html += std::string("</table><p>") + kMonthViewNote + "</p>";
    html += "</body></html>";
    return html;
}

}  // namespace koyomi
