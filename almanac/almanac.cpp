// One day of the almanac and the month's phases, put together from the
// ephemeris (ephemeris.h), Delta T (deltaT.h) and the searches (search.h).
#include "almanac/almanac.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>

#include "almanac/deltaT.h"
#include "almanac/ephemeris.h"
#include "almanac/search.h"
#include "date/calendar.h"
#include "engine/summerTime.h"

namespace almanac {

namespace {

using detail::deltaTDays;
using detail::lunation;

using detail::riseRefraction;
using detail::sunRadiusAu;

// Modified Julian Day 0 as days from J2000.0.
constexpr double mjdZero = 2400000.5 - ERFA_DJ00;

// A clock offset the almanac takes: a number within two days of UT (beyond
// that the local date would lie more than a day from the UT date, which no
// clock does).
bool clockDefined(const Site& site)
{
    return std::isfinite(site.timeZone) && std::fabs(site.timeZone) <= 48;
}

// The clock's offset on the civil date numbered mjd (Modified Julian Day),
// summer time by the date's month.
double offsetOn(const Site& site, long mjd)
{
    int iy, im, id;
    double fd;
    if (eraJd2cal(2400000.5, double(mjd), &iy, &im, &id, &fd) != 0)
        return site.timeZone;  // outside ERFA's calendar: only for absurd dates, never asked for
    return clockOffset(site, im);
}

// The date numbered mjd: from its local midnight to the next date's.
detail::DayClock dateClock(const Site& site, long mjd)
{
    detail::DayClock c;
    c.offset = offsetOn(site, mjd);
    c.nextOffset = offsetOn(site, mjd + 1);
    c.t0 = double(mjd) + mjdZero - c.offset / 24;
    c.t1 = double(mjd + 1) + mjdZero - c.nextOffset / 24;
    return c;
}

// The local date holding the UT1 instant ut (days from J2000.0) and its
// clock; the date by standard time is at most a day from it.
long dateAt(const Site& site, double ut, detail::DayClock& clock)
{
    const long standard = static_cast<long>(std::floor(ut - mjdZero + site.timeZone / 24));
    for (long mjd = standard - 1; mjd <= standard + 1; ++mjd) {
        clock = dateClock(site, mjd);
        if (clock.t0 <= ut && ut < clock.t1)
            return mjd;
    }
    clock = dateClock(site, standard);  // unreachable: the dates tile the time line
    return standard;
}

// The civil date numbered mjd; false (the date left as it is) outside
// ERFA's calendar.
bool setDate(Day& d, long mjd)
{
    int y, m, dd;
    double fd;
    if (eraJd2cal(2400000.5, double(mjd), &y, &m, &dd, &fd) != 0)
        return false;
    d.year = y;
    d.month = m;
    d.day = dd;
    return true;
}

}  // namespace

double clockOffset(const Site& site, int month)
{
    return site.timeZone + (summerTimeApplies(site.summerTime, month, site.latitude) ? 1.0 : 0.0);
}

Day computeDay(const Site& site, int year, int month, int day)
{
    Day d;
    d.year = d.askedYear = year;
    d.month = d.askedMonth = month;
    d.day = d.askedDay = day;
    d.realDate = civil::exists(year, month, day);
    double djm0, djm;
    // Day 1 of the month: eraCal2jd refuses a month outside 1..12 and a year
    // before its calendar; a day past the month's end counts on from there.
    if (day < 1 || day > 31 || !clockDefined(site) || eraCal2jd(year, month, 1, &djm0, &djm) != 0) {
        d.computed = false;
        return d;
    }
    const long mjd = static_cast<long>(djm) + day - 1;
    if (!d.realDate && !setDate(d, mjd)) {
        d.computed = false;
        return d;
    }
    const detail::DayClock clock = dateClock(site, mjd);
    d.clockOffset = clock.offset;
    d.length = 24 + clock.offset - clock.nextOffset;
    const double t0 = clock.t0, dt = deltaTDays(t0 + 0.5);
    d.outsideEphemeris = !ephemeris::withinRange(t0 + 0.5 + dt);
    d.siteDefined = std::isfinite(site.latitude) && std::fabs(site.latitude) <= 90 && std::isfinite(site.longitude);

    if (d.siteDefined) {
        const detail::Sky sky(site, t0, dt);
        // Second crossings and transits in the hour a 25-hour day repeats.
        Crossing again[10];
        Transit againTransit[2];

        const detail::BodyDay sun(sky, false, clock);
        const double sunDistance = sky.at(t0 + 0.5, false).dist;  // for the semi-diameter
        sun.crossings(-(riseRefraction + std::asin(sunRadiusAu / sunDistance)), d.sunRise, d.sunSet, &again[0], &again[1]);
        sun.crossings(-6 * ERFA_DD2R, d.civilDawn, d.civilDusk, &again[2], &again[3]);
        sun.crossings(-12 * ERFA_DD2R, d.nauticalDawn, d.nauticalDusk, &again[4], &again[5]);
        sun.crossings(-18 * ERFA_DD2R, d.astronomicalDawn, d.astronomicalDusk, &again[6], &again[7]);
        d.sunTransit = sun.transit(&againTransit[0]);

        const detail::BodyDay moon(sky, true, clock);
        moon.crossings(-riseRefraction, d.moonRise, d.moonSet, &again[8], &again[9]);
        d.moonTransit = moon.transit(&againTransit[1]);

        static const Event kinds[10] = {Event::SunRise,   Event::SunSet,       Event::CivilDawn,        Event::CivilDusk,
                                        Event::NauticalDawn, Event::NauticalDusk, Event::AstronomicalDawn,
                                        Event::AstronomicalDusk, Event::MoonRise, Event::MoonSet};
        for (int i = 0; i < 10; ++i)
            if (again[i].occurs == Occurs::Yes)
                d.repeated.push_back({kinds[i], again[i].hours, again[i].azimuth, again[i].clockOffset});
        for (int i = 0; i < 2; ++i)
            if (againTransit[i].occurs)
                d.repeated.push_back({i ? Event::MoonTransit : Event::SunTransit, againTransit[i].hours,
                                      againTransit[i].altitude, againTransit[i].clockOffset});
        std::sort(d.repeated.begin(), d.repeated.end(),
                  [](const Repeat& a, const Repeat& b) { return a.hours < b.hours; });
    }

    // Age and illuminated fraction at 12:00 local clock (the clock changes
    // only at the day's end).
    const double noon = t0 + 0.5, noonTt = noon + dt;
    const double newTt = detail::previousNewMoon(noonTt);
    d.moonAge = noon - (newTt - deltaTDays(newTt));
    double m[3], s[3];
    ephemeris::moonAt(noonTt, m);
    ephemeris::sunAt(noonTt, s);
    double dot = 0, mm = 0, ms = 0;
    for (int i = 0; i < 3; ++i) {
        const double toSun = s[i] - m[i];
        dot += toSun * -m[i];
        mm += m[i] * m[i];
        ms += toSun * toSun;
    }
    d.moonIllumination = (1 + dot / std::sqrt(mm * ms)) / 2;
    return d;
}

std::vector<PhaseEvent> monthPhases(const Site& site, int year, int month)
{
    std::vector<PhaseEvent> out;
    double djm0, djm;
    if (!clockDefined(site) || eraCal2jd(year, month, 1, &djm0, &djm) != 0)
        return out;
    const long mjd0 = static_cast<long>(djm), mjd1 = mjd0 + civil::daysInMonth(year, month);
    // The month's span on the local clock, and a margin for the minute's
    // rounding and the step between TT and UT1.
    const double first = dateClock(site, mjd0).t0, last = dateClock(site, mjd1).t0;
    const double margin = 1.0 / 24;
    // Mean phases from the epoch, then quarter steps; a true phase is within
    // a day of the mean one (Meeus, ch. 49: the periodic terms of the new and
    // full moon sum to less than 0.6 day).
    const double epoch = detail::meanNewMoonEpoch;
    const long long k0 = static_cast<long long>(std::floor((first - 2 - epoch) / lunation));
    for (long long k = k0; epoch + double(k) * lunation < last + 2; ++k)
        for (int q = 0; q < 4; ++q) {
            const double estimate = epoch + (double(k) + q / 4.0) * lunation;
            if (estimate < first - 2 || estimate > last + 2)
                continue;
            const double tt = detail::solvePhase(estimate, q * ERFA_DPI / 2);
            const double ut = tt - deltaTDays(tt);
            if (ut < first - margin || ut > last + margin)
                continue;
            // Minutes rounded on the clock in force at the instant.
            detail::DayClock clock;
            dateAt(site, ut, clock);
            const double offset = clock.offsetAt(ut);
            const double minutes = std::round((ut - mjdZero) * 1440 + offset * 60);
            const double rounded = (minutes - offset * 60) / 1440 + mjdZero;
            const long mjd = dateAt(site, rounded, clock);
            if (mjd < mjd0 || mjd >= mjd1)
                continue;
            PhaseEvent e;
            e.phase = static_cast<Phase>(q);
            e.jdUt = ut + ERFA_DJ00;
            Day date;
            if (!setDate(date, mjd))
                continue;
            e.year = date.year;
            e.month = date.month;
            e.day = date.day;
            const long minuteOfDay = std::min(1439L, std::lround(clock.hours(rounded) * 60));
            e.hour = static_cast<int>(minuteOfDay / 60);
            e.minute = static_cast<int>(minuteOfDay % 60);
            e.clockOffset = clock.offsetAt(rounded);
            out.push_back(e);
        }
    return out;
}

}  // namespace almanac
