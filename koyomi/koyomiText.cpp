#include "koyomi/koyomiText.h"

#include <cmath>

#include "app/dayStep.h"
#include "koyomi/calendar.h"
#include "koyomi/holidays.h"
#include "koyomi/sky.h"
#include "sites/numParse.h"

namespace koyomi {

const char* const koyomiCsvHeader =
    "date,weekday,holiday,kyureki_month,kyureki_leap,kyureki_day,rokuyo,day_kanshi,sekki,sekki_time,zassetsu,tide,"
    "moon_distance_km\n";
const char* const sekkiHeader = "name,longitude,date,time\n";

namespace {

const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};

std::string dateText(long jdn)
{
    int y, m, d;
    civilDate(jdn, y, m, d);
    return sitefile::formatC("%04d-%02d-%02d", y, m, d);
}

std::string clockText(int hour, int minute)
{
    return sitefile::formatC("%02d:%02d", hour, minute);
}

// Everything a day shows, gathered from the year's lists.
struct DayFacts {
    std::string holiday, sekki, sekkiTime, zassetsu;
};

DayFacts factsOf(long jdn, const std::vector<Holiday>& holidays, const std::vector<CalendarDay>& days)
{
    DayFacts f;
    for (const Holiday& h : holidays)
        if (h.jdn == jdn)
            f.holiday = h.name;
    for (const CalendarDay& c : days) {
        if (c.jdn != jdn)
            continue;
        if (c.longitude >= 0 && c.longitude % 15 == 0) {
            f.sekki = c.name;
            f.sekkiTime = clockText(c.hour, c.minute);
        } else {
            f.zassetsu += (f.zassetsu.empty() ? "" : "・") + c.name;
        }
    }
    return f;
}

}  // namespace

std::string koyomiCsv(int year, int month)
{
    const std::vector<Holiday> holidays = yearHolidays(year);
    const std::vector<CalendarDay> days = yearCalendarDays(year);
    const long first = julianDayNumber(year, month ? month : 1, 1);
    const long end = month && month < 12 ? julianDayNumber(year, month + 1, 1) : julianDayNumber(year + 1, 1, 1);
    std::string out = koyomiCsvHeader;
    for (long jdn = first; jdn < end; ++jdn) {
        const DayFacts f = factsOf(jdn, holidays, days);
        const Kyureki k = kyureki(jdn);
        const double noon = double(jdn) - kJst;
        out += dateText(jdn) + ',' + kWeekdays[weekday(jdn)] + ',' + f.holiday + ',' + std::to_string(k.month) + ',' +
               (k.leap ? "1" : "0") + ',' + std::to_string(k.day) + ',' + rokuyo(k) + ',' +
               kanshiName(dayKanshi(jdn)) + ',' + f.sekki + ',' + f.sekkiTime + ',' + f.zassetsu + ',' +
               tideName(jdn) + ',' + std::to_string(std::lround(moonDistanceKm(noon))) + '\n';
    }
    return out;
}

std::string sekkiText(int year)
{
    std::string out = sekkiHeader;
    for (const CalendarDay& c : yearCalendarDays(year))
        out += c.name + ',' + (c.longitude >= 0 ? std::to_string(c.longitude) : "") + ',' + dateText(c.jdn) + ',' +
               (c.timed ? clockText(c.hour, c.minute) : "") + '\n';
    return out;
}

std::vector<std::string> koyomiLines(int year, int month, int day)
{
    if (year < kFirstYear || year > kLastYear)
        return {sitefile::formatC("こよみは %d〜%d 年のみ", static_cast<int>(kFirstYear), static_cast<int>(kLastYear)),
                "", "", ""};
    const long jdn = julianDayNumber(year, month, day);
    const DayFacts f = factsOf(jdn, yearHolidays(year), yearCalendarDays(year));
    const Kyureki k = kyureki(jdn);
    std::vector<std::string> lines;
    lines.push_back("旧暦 " + kyurekiText(k) + "  " + rokuyo(k) + "  日干支 " + kanshiName(dayKanshi(jdn)) +
                    "  年干支 " + kanshiName(yearKanshi(year)));
    const double distance = moonDistanceKm(double(jdn) - kJst);
    lines.push_back(sitefile::formatC("月の距離 %ld km  視直径 %.1f′ (12時)  %s", std::lround(distance),
                                      moonDiameterArcmin(distance), tideName(jdn)));
    std::string apsides;
    for (const Apsis& a : monthApsides(year, month)) {
        // JST minutes since the Julian day count's start: past 2^31, so 64 bits
        // also where long has 32 (WebAssembly).
        const long long when = std::llround((a.jdUt + kJst + 0.5) * 1440);
        const long date = static_cast<long>(when / 1440), minute = static_cast<long>(when % 1440);
        int y, m, d;
        civilDate(date, y, m, d);
        apsides += sitefile::formatC("%s%s %d日 %02ld:%02ld", apsides.empty() ? "今月 " : "  ",
                                     a.perigee ? "近地点" : "遠地点", d, minute / 60, minute % 60);
    }
    lines.push_back(apsides);
    std::string marks;
    const auto mark = [&](const std::string& text) { marks += (marks.empty() ? "" : "  ") + text; };
    if (!f.holiday.empty())
        mark(f.holiday);
    if (!f.sekki.empty())
        mark(f.sekki + " " + f.sekkiTime);
    if (!f.zassetsu.empty())
        mark(f.zassetsu);
    lines.push_back(marks);
    return lines;
}

}  // namespace koyomi
