#include "almanac/almanacLines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "almanac/almanacText.h"
#include "app/dispLines.h"

namespace {

// "HH:MM" or a word, with no leading blanks.
std::string trimmed(const std::string& s)
{
    const std::size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first);
}

// One decimal, never "-0.0"; with a wrap (360 for an azimuth) a value that
// rounds up to the wrap shows as 0.0.
std::string degrees(const char* what, double value, double wrap = 0)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%6.1f°", what, almanac::roundedTenths(value, wrap));
    return buf;
}

// "UT+9:00", "UT-3:30": hours ahead of UT, rounded to the minute.
std::string offsetText(double hours)
{
    const long minutes = std::lround(std::fabs(hours) * 60);
    char buf[32];
    std::snprintf(buf, sizeof buf, "UT%c%ld:%02ld", hours < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return buf;
}

std::string placeText(const almanac::Site& site, double clockOffset)
{
    // Longitudes above 180 degrees are west of Greenwich.
    const double east = site.longitude > 180 ? site.longitude - 360 : site.longitude;
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s%6.2f°  %s%7.2f°  ", site.latitude < 0 ? "南緯" : "北緯",
                  std::fabs(site.latitude), east < 0 ? "西経" : "東経", std::fabs(east));
    std::string text = buf + offsetText(site.timeZone);
    if (clockOffset != site.timeZone)
        text += "  夏時間 " + offsetText(clockOffset);
    return text;
}

AlmanacRow crossingRow(const char* label, const almanac::Crossing& c, CrossingKind kind, double classicTime,
                       double twoPi)
{
    const std::string angle = c.occurs == almanac::Occurs::Yes ? degrees("方位", c.azimuth, 360) : std::string();
    return {label, crossingTime(c, kind), angle, trimmed(timeField(classicTime, twoPi))};
}

AlmanacRow transitRow(const char* label, const almanac::Transit& t)
{
    if (!t.occurs)
        return {label, "なし", "", ""};
    return {label, clockHM(t.hours), degrees("高度", t.altitude), ""};
}

const char* phaseName(almanac::Phase p)
{
    switch (p) {
    case almanac::Phase::NewMoon: return "新月";
    case almanac::Phase::FirstQuarter: return "上弦";
    case almanac::Phase::FullMoon: return "満月";
    case almanac::Phase::LastQuarter: return "下弦";
    }
    return "";
}

}  // namespace

almanac::Site almanacSite(const TcMainState& cMain)
{
    almanac::Site site;
    site.latitude = cMain.siteLatitude;
    site.longitude = cMain.siteLongitude;
    site.timeZone = cMain.siteTimeZone;
    site.summerTime = cMain.siteSummerTime;
    return site;
}

std::string clockHM(double hours)
{
    if (!(hours >= 0 && hours < 24))
        return "--:--";
    return almanac::clockText(hours, 1440);
}

std::string crossingTime(const almanac::Crossing& c, CrossingKind kind)
{
    // Sun: polar day and polar night. Moon: up or down all day. Twilight:
    // the sun never goes below that depression (the night never gets that
    // dark), or never comes up to it.
    static const char* const kAbove[] = {"沈まない（白夜）", "沈まない", "暗くならない"};
    static const char* const kBelow[] = {"昇らない（極夜）", "昇らない", "明るくならない"};
    switch (c.occurs) {
    case almanac::Occurs::Yes: return clockHM(c.hours);
    case almanac::Occurs::No: return "なし";
    case almanac::Occurs::AlwaysAbove: return kAbove[static_cast<int>(kind)];
    case almanac::Occurs::AlwaysBelow: return kBelow[static_cast<int>(kind)];
    }
    return "なし";
}

std::string sunAllDayNote(const almanac::Day& day)
{
    for (const almanac::Crossing* c : {&day.sunRise, &day.sunSet}) {
        if (c->occurs == almanac::Occurs::AlwaysAbove)
            return "白夜：太陽は一日中沈みません。";
        if (c->occurs == almanac::Occurs::AlwaysBelow)
            return "極夜：太陽は一日中昇りません。";
    }
    return {};
}

AlmanacSheet almanacSheet(const almanac::Site& site, const almanac::Day& day,
                          const std::vector<almanac::PhaseEvent>& phases, const TcDayResult& classic, double twoPi)
{
    AlmanacSheet sheet;
    sheet.date = trimmed(dateLine(day.year, day.month, day.day, classic.weekday));
    while (!sheet.date.empty() && sheet.date.back() == ' ')
        sheet.date.pop_back();
    sheet.place = placeText(site, day.clockOffset);

    const std::string classicAge = ageLine(classic.moonAge);
    char age[32], lit[32];
    std::snprintf(age, sizeof age, "%.2f", day.moonAge);
    std::snprintf(lit, sizeof lit, "輝面比 %5.3f", day.moonIllumination);
    sheet.events = {
        crossingRow("日の出", day.sunRise, CrossingKind::sun, classic.sunRise, twoPi),
        transitRow("太陽の南中", day.sunTransit),
        crossingRow("日の入り", day.sunSet, CrossingKind::sun, classic.sunSet, twoPi),
        crossingRow("月の出", day.moonRise, CrossingKind::moon, classic.moonRise, twoPi),
        transitRow("月の南中", day.moonTransit),
        crossingRow("月の入り", day.moonSet, CrossingKind::moon, classic.moonSet, twoPi),
        {"正午月齢", age, lit, trimmed(classicAge.substr(classicAge.find(' ') + 1))},
    };
    sheet.twilights = {
        {"常用薄明", crossingTime(day.civilDawn, CrossingKind::twilight),
         crossingTime(day.civilDusk, CrossingKind::twilight)},
        {"航海薄明", crossingTime(day.nauticalDawn, CrossingKind::twilight),
         crossingTime(day.nauticalDusk, CrossingKind::twilight)},
        {"天文薄明", crossingTime(day.astronomicalDawn, CrossingKind::twilight),
         crossingTime(day.astronomicalDusk, CrossingKind::twilight)},
    };
    for (const almanac::PhaseEvent& p : phases) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%s %2d日 %02d:%02d", phaseName(p.phase), p.day, p.hour, p.minute);
        sheet.phases.push_back(buf);
    }
    return sheet;
}
