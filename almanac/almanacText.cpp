#include "almanac/almanacText.h"

#include <cmath>
#include <cstdio>

#include "date/calendar.h"
#include "table/monthRows.h"

namespace almanac {

const char* const csvHeader =
    "date,sunrise,sunrise_azimuth,sun_transit,sun_transit_altitude,sunset,sunset_azimuth,"
    "moonrise,moonrise_azimuth,moon_transit,moon_transit_altitude,moonset,moonset_azimuth,"
    "civil_dawn,civil_dusk,nautical_dawn,nautical_dusk,astronomical_dawn,astronomical_dusk,"
    "moon_age,moon_illumination";

long roundedClock(double hours, long perDay)
{
    const long n = std::lround(hours / 24 * double(perDay));
    return n < perDay ? n : perDay - 1;
}

std::string clockText(double hours, long perDay)
{
    const long n = roundedClock(hours, perDay);
    char buf[64];
    if (perDay == 86400)
        std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", n / 3600, n / 60 % 60, n % 60);
    else
        std::snprintf(buf, sizeof buf, "%02ld:%02ld", n / 60, n % 60);
    return buf;
}

double roundedTenths(double value, double wrap)
{
    double r = std::round(value * 10) / 10;
    if (wrap > 0 && r >= wrap)
        r -= wrap;
    return r == 0 ? 0.0 : r;  // never -0.0
}

namespace {

void appendTenths(std::string& out, double v, double wrap = 0)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", roundedTenths(v, wrap));
    out += buf;
}

void appendClock(std::string& out, double hours)
{
    out += clockText(hours, 86400);
}

// Time and azimuth cells of a crossing: "HH:MM:SS,az", "above,", "below,"
// or "," when it falls on another date.
void appendCrossing(std::string& out, const Crossing& c, bool withAzimuth)
{
    out += ',';
    switch (c.occurs) {
    case Occurs::Yes: appendClock(out, c.hours); break;
    case Occurs::AlwaysAbove: out += "above"; break;
    case Occurs::AlwaysBelow: out += "below"; break;
    case Occurs::No: break;
    }
    if (withAzimuth) {
        out += ',';
        if (c.occurs == Occurs::Yes)
            appendTenths(out, c.azimuth, 360);
    }
}

void appendTransit(std::string& out, const Transit& t)
{
    out += ',';
    if (t.occurs)
        appendClock(out, t.hours);
    out += ',';
    if (t.occurs)
        appendTenths(out, t.altitude);
}

}  // namespace

std::string preciseMonthText(const Site& site, int year, int month)
{
    std::vector<std::string> rows;
    for (int day = 1; day <= civil::daysInMonth(year, month); ++day) {
        const Day d = computeDay(site, year, month, day);
        int hours[4], minutes[4];
        const Crossing* events[4] = {&d.sunRise, &d.sunSet, &d.moonRise, &d.moonSet};
        for (int i = 0; i < 4; ++i) {
            const long m = events[i]->occurs == Occurs::Yes ? roundedClock(events[i]->hours, 1440) : -60;
            hours[i] = m >= 0 ? int(m / 60) : -1;
            minutes[i] = m >= 0 ? int(m % 60) : 0;
        }
        rows.push_back(monthRow(year, month, day, hours, minutes, d.moonAge));
    }
    return monthText(rows);
}

namespace {

// The cells of a row after its date.
void appendDayCells(std::string& out, const Day& d)
{
    appendCrossing(out, d.sunRise, true);
    appendTransit(out, d.sunTransit);
    appendCrossing(out, d.sunSet, true);
    appendCrossing(out, d.moonRise, true);
    appendTransit(out, d.moonTransit);
    appendCrossing(out, d.moonSet, true);
    for (const Crossing* c : {&d.civilDawn, &d.civilDusk, &d.nauticalDawn, &d.nauticalDusk, &d.astronomicalDawn,
                              &d.astronomicalDusk})
        appendCrossing(out, *c, false);
}

// The second events of a 25-hour day as a day of their own: the cells of
// the other events empty.
Day repeatedEvents(const Day& d)
{
    Day r;
    for (const Repeat& e : d.repeated) {
        const Crossing c{Occurs::Yes, e.hours, e.angle, e.clockOffset};
        const Transit t{true, e.hours, e.angle, e.clockOffset};
        switch (e.event) {
        case Event::SunRise: r.sunRise = c; break;
        case Event::SunSet: r.sunSet = c; break;
        case Event::SunTransit: r.sunTransit = t; break;
        case Event::MoonRise: r.moonRise = c; break;
        case Event::MoonSet: r.moonSet = c; break;
        case Event::MoonTransit: r.moonTransit = t; break;
        case Event::CivilDawn: r.civilDawn = c; break;
        case Event::CivilDusk: r.civilDusk = c; break;
        case Event::NauticalDawn: r.nauticalDawn = c; break;
        case Event::NauticalDusk: r.nauticalDusk = c; break;
        case Event::AstronomicalDawn: r.astronomicalDawn = c; break;
        case Event::AstronomicalDusk: r.astronomicalDusk = c; break;
        }
    }
    return r;
}

}  // namespace

std::string csvMonthText(const Site& site, int year, int month)
{
    std::string out = csvHeader;
    out += '\n';
    for (int day = 1; day <= civil::daysInMonth(year, month); ++day) {
        const Day d = computeDay(site, year, month, day);
        char date[64], buf[64];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
        out += date;
        appendDayCells(out, d);
        std::snprintf(buf, sizeof buf, ",%.2f,%.3f\n", d.moonAge, d.moonIllumination);
        out += buf;
        if (!d.repeated.empty()) {
            out += date;
            appendDayCells(out, repeatedEvents(d));
            out += ",,\n";
        }
    }
    return out;
}

std::string phasesText(const Site& site, int year, int month)
{
    static const char* const words[] = {"new", "first_quarter", "full", "last_quarter"};
    std::string out;
    for (const PhaseEvent& p : monthPhases(site, year, month)) {
        const long offset = std::lround(p.clockOffset * 60);
        const long a = offset < 0 ? -offset : offset;
        char buf[96];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d%c%02ld:%02ld %s\n", p.year, p.month, p.day, p.hour,
                      p.minute, offset < 0 ? '-' : '+', a / 60, a % 60, words[static_cast<int>(p.phase)]);
        out += buf;
    }
    return out;
}

}  // namespace almanac
