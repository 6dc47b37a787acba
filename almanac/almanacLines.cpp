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
    // Longitudes above 180 degrees are west of Greenwich; whole turns count
    // for nothing.
    const double east = std::remainder(site.longitude, 360.0);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s%6.2f°  %s%7.2f°  ", site.latitude < 0 ? "南緯" : "北緯",
                  std::fabs(site.latitude), east < 0 ? "西経" : "東経", std::fabs(east));
    std::string text = buf + offsetText(site.timeZone);
    if (clockOffset != site.timeZone)
        text += "  夏時間 " + offsetText(clockOffset);
    return text;
}

// "HH:MM", marked when it is read on the clock gone back at the end of a
// 25-hour day.
std::string clockOn(const almanac::Day& day, double hours, double clockOffset)
{
    std::string text = clockHM(hours);
    if (day.length > 24 && clockOffset < day.clockOffset)
        text += "（標準時）";
    return text;
}

// The time cell with the second events of the kind that day.
std::string withRepeats(std::string text, const almanac::Day& day, almanac::Event event)
{
    for (const almanac::Repeat& r : day.repeated)
        if (r.event == event)
            text += " / " + clockOn(day, r.hours, r.clockOffset);
    return text;
}

AlmanacRow crossingRow(const char* label, const almanac::Day& day, const almanac::Crossing& c, almanac::Event event,
                       CrossingKind kind, double classicTime, double twoPi)
{
    const std::string classicText = trimmed(timeField(classicTime, twoPi));
    if (!day.computed || !day.siteDefined)
        return {label, "--:--", "", classicText};
    const bool yes = c.occurs == almanac::Occurs::Yes;
    const std::string angle = yes ? degrees("方位", c.azimuth, 360) : std::string();
    const std::string time = yes ? clockOn(day, c.hours, c.clockOffset) : crossingTime(c, kind);
    return {label, withRepeats(time, day, event), angle, classicText};
}

AlmanacRow transitRow(const char* label, const almanac::Day& day, const almanac::Transit& t, almanac::Event event)
{
    if (!day.computed || !day.siteDefined)
        return {label, "--:--", "", ""};
    if (!t.occurs)
        return {label, withRepeats("なし", day, event), "", ""};
    return {label, withRepeats(clockOn(day, t.hours, t.clockOffset), day, event), degrees("高度", t.altitude), ""};
}

// What the day's figures are not, and the day's odd clock.
std::vector<std::string> dayNotes(const almanac::Day& day)
{
    std::vector<std::string> notes;
    char buf[160];
    if (!day.realDate) {
        if (day.computed)
            std::snprintf(buf, sizeof buf, "%d年%d月%d日は暦にない日です。%d月%d日の値を示します。", day.askedYear,
                          day.askedMonth, day.askedDay, day.month, day.day);
        else
            std::snprintf(buf, sizeof buf, "%d年%d月%d日は暦にない日です。", day.askedYear, day.askedMonth,
                          day.askedDay);
        notes.push_back(buf);
    }
    if (!day.computed) {
        notes.push_back("この日付または観測地の時差では計算できません。");
        return notes;
    }
    if (!day.siteDefined)
        notes.push_back("観測地の緯度・経度が範囲外のため、出入り・南中・薄明は計算できません。");
    if (day.outsideEphemeris)
        notes.push_back("1900〜2100年の外のため、精度は保証されません。");
    if (day.length > 24)
        notes.push_back("夏時刻の終わる日（25時間）: 23時台が二度あり、二度目は標準時です。");
    else if (day.length < 24)
        notes.push_back("夏時刻の始まる日（23時間）: 23時台はありません。");
    return notes;
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
    // The real date whose figures these are (for 31 February, the day it
    // counts on to; the main window counts the same way).
    sheet.date = trimmed(dateLine(day.year, day.month, day.day, classic.weekday));
    while (!sheet.date.empty() && sheet.date.back() == ' ')
        sheet.date.pop_back();
    sheet.place = placeText(site, day.clockOffset);

    const std::string classicAge = ageLine(classic.moonAge);
    char age[32], lit[32];
    if (day.computed) {
        std::snprintf(age, sizeof age, "%.2f", day.moonAge);
        std::snprintf(lit, sizeof lit, "輝面比 %5.3f", day.moonIllumination);
    } else {
        std::snprintf(age, sizeof age, "--");
        lit[0] = '\0';
    }
    using almanac::Event;
    sheet.events = {
        crossingRow("日の出", day, day.sunRise, Event::SunRise, CrossingKind::sun, classic.sunRise, twoPi),
        transitRow("太陽の南中", day, day.sunTransit, Event::SunTransit),
        crossingRow("日の入り", day, day.sunSet, Event::SunSet, CrossingKind::sun, classic.sunSet, twoPi),
        crossingRow("月の出", day, day.moonRise, Event::MoonRise, CrossingKind::moon, classic.moonRise, twoPi),
        transitRow("月の南中", day, day.moonTransit, Event::MoonTransit),
        crossingRow("月の入り", day, day.moonSet, Event::MoonSet, CrossingKind::moon, classic.moonSet, twoPi),
        {"正午月齢", age, lit, trimmed(classicAge.substr(classicAge.find(' ') + 1))},
    };
    const auto twilight = [&](const almanac::Crossing& c, Event event) {
        if (!day.computed || !day.siteDefined)
            return std::string("--:--");
        const std::string time = c.occurs == almanac::Occurs::Yes ? clockOn(day, c.hours, c.clockOffset)
                                                                   : crossingTime(c, CrossingKind::twilight);
        return withRepeats(time, day, event);
    };
    sheet.twilights = {
        {"常用薄明", twilight(day.civilDawn, Event::CivilDawn), twilight(day.civilDusk, Event::CivilDusk)},
        {"航海薄明", twilight(day.nauticalDawn, Event::NauticalDawn), twilight(day.nauticalDusk, Event::NauticalDusk)},
        {"天文薄明", twilight(day.astronomicalDawn, Event::AstronomicalDawn),
         twilight(day.astronomicalDusk, Event::AstronomicalDusk)},
    };
    sheet.notes = dayNotes(day);
    for (const almanac::PhaseEvent& p : phases) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%s %2d日 %02d:%02d", phaseName(p.phase), p.day, p.hour, p.minute);
        std::string text = buf;
        // the clock gone back: the hour of a 25-hour day that comes twice
        if (p.clockOffset < almanac::clockOffset(site, p.month))
            text += "（標準時）";
        sheet.phases.push_back(text);
    }
    return sheet;
}
