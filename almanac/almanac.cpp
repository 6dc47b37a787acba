// One day of the almanac and the month's phases, put together from the
// ephemeris (ephemeris.h), Delta T (deltaT.h) and the searches (search.h).
#include "almanac/almanac.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "almanac/deltaT.h"
#include "almanac/ephemeris.h"
#include "almanac/search.h"
#include "engine/summerTime.h"

namespace almanac {

namespace {

using detail::deltaTDays;
using detail::lunation;

// Refraction at the horizon for rise and set, 35'08": the national
// almanac's convention (the Astronomical Almanac uses 34').
constexpr double refraction = (35 + 8.0 / 60) / 60 * ERFA_DD2R;

// The sun's radius in au: 696,000 km, the customary solar radius (IAU,
// Astronomical Almanac); it subtends 959.6" at 1 au, against the
// Astronomical Almanac's semi-diameter at unit distance of 959.63" (Auwers;
// also Meeus, "Astronomical Algorithms").
constexpr double sunRadiusAu = 696000e3 / ERFA_DAU;

// UT1 (days from J2000) of 0:00 local clock on a civil date.
double dayStart(int year, int month, int day, double offsetHours)
{
    double djm0, djm;
    eraCal2jd(year, month, day, &djm0, &djm);
    return (djm0 - ERFA_DJ00) + djm - offsetHours / 24;
}

}  // namespace

double clockOffset(const Site& site, int month)
{
    return site.timeZone + (summerTimeApplies(site.summerTime, month, site.latitude) ? 1.0 : 0.0);
}

Day computeDay(const Site& site, int year, int month, int day)
{
    Day d;
    d.year = year;
    d.month = month;
    d.day = day;
    d.clockOffset = clockOffset(site, month);
    const double t0 = dayStart(year, month, day, d.clockOffset);

    const detail::Sky sky(site, t0, deltaTDays(t0 + 0.5));

    const detail::BodyDay sun(sky, false, t0);
    const double sunDistance = sky.at(t0 + 0.5, false).dist;  // for the semi-diameter
    sun.crossings(-(refraction + std::asin(sunRadiusAu / sunDistance)), d.sunRise, d.sunSet);
    sun.crossings(-6 * ERFA_DD2R, d.civilDawn, d.civilDusk);
    sun.crossings(-12 * ERFA_DD2R, d.nauticalDawn, d.nauticalDusk);
    sun.crossings(-18 * ERFA_DD2R, d.astronomicalDawn, d.astronomicalDusk);
    d.sunTransit = sun.transit();

    const detail::BodyDay moon(sky, true, t0);
    moon.crossings(-refraction, d.moonRise, d.moonSet);
    d.moonTransit = moon.transit();

    // Age and illuminated fraction at 12:00 local clock.
    const double noon = t0 + 0.5, noonTt = noon + sky.dt;
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
    const int nextYear = month == 12 ? year + 1 : year, nextMonth = month == 12 ? 1 : month + 1;
    const double first = dayStart(year, month, 1, 14) - 1, last = dayStart(nextYear, nextMonth, 1, -14) + 1;
    // Mean new moons from the epoch, then quarter steps.
    const double epoch = detail::meanNewMoonEpoch;
    const long long k0 = static_cast<long long>(std::floor((first - epoch) / lunation));
    for (long long k = k0; epoch + double(k) * lunation < last + 1; ++k)
        for (int q = 0; q < 4; ++q) {
            const double estimate = epoch + (double(k) + q / 4.0) * lunation;
            if (estimate < first - 1 || estimate > last + 1)
                continue;
            const double tt = detail::solvePhase(estimate, q * ERFA_DPI / 2);
            const double ut = tt - deltaTDays(tt);
            if (ut < first || ut > last)
                continue;
            // The local date by standard time picks the month, and so the
            // summer-time rule, of the offset.
            int iy, im, id;
            double fd;
            eraJd2cal(ERFA_DJ00, ut + site.timeZone / 24, &iy, &im, &id, &fd);
            const double offset = clockOffset(site, im);
            const long long minutes = std::llround((ut + offset / 24 + ERFA_DJ00 - 2400000.5) * 1440);
            const long long mjd = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
            eraJd2cal(2400000.5, double(mjd), &iy, &im, &id, &fd);
            if (iy != year || im != month)
                continue;
            PhaseEvent e;
            e.phase = static_cast<Phase>(q);
            e.jdUt = ut + ERFA_DJ00;
            e.year = iy;
            e.month = im;
            e.day = id;
            const long long minuteOfDay = minutes - mjd * 1440;
            e.hour = static_cast<int>(minuteOfDay / 60);
            e.minute = static_cast<int>(minuteOfDay % 60);
            e.clockOffset = offset;
            out.push_back(e);
        }
    return out;
}

}  // namespace almanac
