// The precise almanac: rise, transit and set of the sun and the moon, the
// three twilights, the noon moon age and illuminated fraction, and the
// principal phases of the moon, for one civil date at one site.
//
// Positions, time scales, precession-nutation and the Earth's rotation come
// from ERFA. The units: ephemeris.h (the sun's and the moon's places),
// deltaT.h (TT - UT1), search.h (crossings, transits, phases) and
// almanac.cpp (one day, the month's phases, the clock offset).
//
// Definitions:
//   sun rise/set      upper limb on the horizon: centre at -(35'08" + semi-
//                     diameter), sea-level observer; 35'08" is the national
//                     almanac's refraction for rise and set (the
//                     Astronomical Almanac uses 34'), the semi-diameter
//                     that of a radius of 696,000 km (sources in
//                     almanac.cpp);
//   moon rise/set     topocentric centre at -35'08" (parallax included);
//   transit           centre on the local meridian (upper culmination), with
//                     its topocentric altitude, no refraction;
//   twilight          sun's centre at -6, -12, -18 degrees, no refraction;
//   azimuth           topocentric, degrees from north through east, at the
//                     rise or set instant;
//   moon age          days since the previous geocentric conjunction in
//                     ecliptic longitude, at 12:00 local clock time, with
//                     the geocentric illuminated fraction at the same instant.
//
// Time scales: dates and hours in the results are local clock time; jdUt is
// UT1; TT enters only inside (positions), through deltaT.
//
// Local clock time is the site's offset plus one hour where the site keeps
// summer time, by the same rule as the classic engine (whole days, April to
// September north of the equator, October to March south of it).
//
// Validity: civil dates 1901-01-01 .. 2099-12-31. ERFA states its lunar
// theory (eraMoon98) against ELP/MPP02 for 1950-2100 only (2.9" RMS, 18.3"
// worst); the Earth's (eraEpv00) for 1900-2100.
//
// Accuracy, measured against PyEphem with the same definitions
// (tools/almanac_accuracy.py, docs/accuracy.md): 7,610 days, 50 months from
// 1901 to 2097 at Tokyo, Sapporo, Naha, Cape Town and Tromso (69.65 N), so
// outside eraMoon98's stated range as well. Worst differences: sun rise, set
// and twilights 0.16 s up to 60 degrees of latitude and 0.53 s beyond; moon
// rise and set 2.3 s and 8.3 s; transits 1.5 s; transit altitude 0.0034
// degree; azimuth 0.027 degree; phases 19 s (in TT); age 0.00022 day;
// illuminated fraction 0.00017. Phases and ages were compared in TT, so the
// two sides' Delta T models do not enter them. Grazing events (the body's
// extreme altitude within 0.1 degree of the event's) were left out of those
// figures, at most 10 of a kind.
//
// Input: a site (degrees, hours) and a civil date.
// Output: plain values; nothing here reads files or the program's state.
#pragma once

#include <vector>

namespace almanac {

struct Site {
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive (values above 180 are west)
    double timeZone = 0.0;   // hours that local standard time is ahead of UT
    int summerTime = 0;      // 1 = the site keeps summer time
};

// What happened to one crossing on the day.
enum class Occurs {
    Yes,          // the crossing happens on this local date: hours/azimuth valid
    No,           // not on this date (it falls on the neighbouring date)
    AlwaysAbove,  // the body stays above the crossing altitude all day
    AlwaysBelow,  // the body stays below the crossing altitude all day
};

// A rise, set, dawn or dusk.
struct Crossing {
    Occurs occurs = Occurs::No;
    double hours = 0.0;    // local clock time, 0 <= hours < 24
    double azimuth = 0.0;  // degrees, 0 = north, 90 = east
};

// An upper culmination.
struct Transit {
    bool occurs = false;   // false on a day without one (the moon, about once a month)
    double hours = 0.0;    // local clock time
    double altitude = 0.0; // degrees, topocentric, no refraction
};

struct Day {
    int year = 0, month = 0, day = 0;
    double clockOffset = 0.0;  // hours ahead of UT that day, summer time included

    Crossing sunRise, sunSet;
    Transit sunTransit;
    Crossing moonRise, moonSet;
    Transit moonTransit;
    Crossing civilDawn, civilDusk;
    Crossing nauticalDawn, nauticalDusk;
    Crossing astronomicalDawn, astronomicalDusk;

    double moonAge = 0.0;           // days, at 12:00 local clock time
    double moonIllumination = 0.0;  // 0 .. 1, same instant
};

enum class Phase { NewMoon, FirstQuarter, FullMoon, LastQuarter };

struct PhaseEvent {
    Phase phase = Phase::NewMoon;
    double jdUt = 0.0;             // instant, Julian day (UT1)
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;  // local clock, minutes rounded
    double clockOffset = 0.0;      // hours ahead of UT at that instant, summer time included
};

// The site's local clock on a date of the month.
//   Given:    site    time zone (hours ahead of UT) and summer-time flag;
//                     the latitude picks the hemisphere's summer
//             month   1..12
//   Returned: (function value) hours the local clock is ahead of UT1,
//                     summer time included
double clockOffset(const Site& site, int month);

// Delta T = TT - UT1.
//   Given:    jdUt    UT1 as a Julian day
//   Returned: (function value) TT - UT1, seconds
// Model: Espenak, F. and Meeus, J. (2006), "Polynomial expressions for
// Delta T", NASA Five Millennium Canon of Solar Eclipses (NASA/TP-2006-
// 214141), the pieces from 1900 to 2150; valid 1900..2150, a continued
// polynomial outside. It differs from PyEphem's model by at most 23 s up to
// 2099; after the last observed values (about 2005) it is a prediction.
double deltaT(double jdUt);

// Everything for one civil date at the site.
//   Given:    site              latitude, longitude (degrees, WGS84, sea
//                               level), time zone, summer-time flag
//             year, month, day  civil date of the local clock, 1901..2099
//   Returned: (function value)  the day: every time in local clock hours
//                               of that date (0 <= hours < 24); an event
//                               that falls on the neighbouring date is
//                               Occurs::No; moon age and illuminated
//                               fraction at 12:00 local clock
// Accuracy: as above (header).
Day computeDay(const Site& site, int year, int month, int day);

// The principal phases of the moon in one month.
//   Given:    site          time zone and summer-time flag (latitude for
//                           the summer's hemisphere)
//             year, month   the month of the local clock, 1901..2099
//   Returned: (function value) the phases whose local date (minutes
//                           rounded) falls in the month, in time order;
//                           each with its UT1 instant and local clock time
// Accuracy: 19 s worst in TT against PyEphem (header).
std::vector<PhaseEvent> monthPhases(const Site& site, int year, int month);

}  // namespace almanac
