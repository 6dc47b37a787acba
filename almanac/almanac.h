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
// September north of the equator, October to March south of it). A local
// date runs from its local midnight to the next local midnight, each read on
// the clock of its own date: the last day before summer time has 23 hours
// (its clock goes from 23:00 straight to 0:00 of the next date), the last
// day of summer time 25 (at 24:00 of the summer clock the clock goes back to
// 23:00, so the hour from 23:00 occurs twice). Every instant belongs to
// exactly one date, and every time is given on the clock in force at that
// instant (Crossing::clockOffset, Transit::clockOffset).
//
// Where two dates meet, an event within a second of their midnight is put on
// one side by the exact place at that midnight, the same for both dates.
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
    double clockOffset = 0.0;  // hours ahead of UT of the clock that hours is read on
};

// An upper culmination.
struct Transit {
    bool occurs = false;   // false on a day without one (the moon, about once a month)
    double hours = 0.0;    // local clock time
    double altitude = 0.0; // degrees, topocentric, no refraction
    double clockOffset = 0.0;  // hours ahead of UT of the clock that hours is read on
};

// The events of a day, for the second ones of a 25-hour day.
enum class Event {
    SunRise, SunSet, SunTransit, MoonRise, MoonSet, MoonTransit,
    CivilDawn, CivilDusk, NauticalDawn, NauticalDusk, AstronomicalDawn, AstronomicalDusk,
};

// A second event of a kind on one date: only in the hour that a 25-hour day
// repeats (the moon transits at 0:05 on the summer clock and again at 23:50
// on the clock gone back).
struct Repeat {
    Event event = Event::SunRise;
    double hours = 0.0;        // local clock time
    double angle = 0.0;        // azimuth of a crossing, altitude of a transit, degrees
    double clockOffset = 0.0;  // the clock hours is read on
};

struct Day {
    int year = 0, month = 0, day = 0;  // the date whose figures these are
    int askedYear = 0, askedMonth = 0, askedDay = 0;  // the date asked for
    double clockOffset = 0.0;  // hours ahead of UT at the day's start, summer time included
    double length = 24.0;      // hours from this local midnight to the next (23, 24 or 25)

    // What could be computed. A date past its month's end (31 February, as
    // the date dialog lets through) is not a date: realDate is false and
    // year/month/day name the day it counts on to (31 February 2001 is
    // 3 March 2001), whose figures follow. Nothing is computed (computed
    // false, every event "not on this date") for a month outside 1..12, a
    // day outside 1..31, a clock offset that is not a number or is more than
    // 48 hours from UT, or a date outside ERFA's calendar. A latitude beyond
    // the poles or a position that is not a number (siteDefined false)
    // leaves out rises, sets, transits and twilights, which need the site;
    // age and illuminated fraction remain. outsideEphemeris: the date lies
    // outside 1900-2100, where eraEpv00 warns that it loses accuracy.
    bool realDate = true;
    bool computed = true;
    bool siteDefined = true;
    bool outsideEphemeris = false;

    Crossing sunRise, sunSet;
    Transit sunTransit;
    Crossing moonRise, moonSet;
    Transit moonTransit;
    Crossing civilDawn, civilDusk;
    Crossing nauticalDawn, nauticalDusk;
    Crossing astronomicalDawn, astronomicalDusk;

    double moonAge = 0.0;           // days, at 12:00 local clock time
    double moonIllumination = 0.0;  // 0 .. 1, same instant

    std::vector<Repeat> repeated;   // second events of a 25-hour day, in time order
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
// The site's clock is taken as UT1 plus its offset: UTC, which clocks keep,
// stays within 0.9 s of UT1 (leap seconds), below every printed figure's
// step but the CSV's second.
// Model, by the decimal year y (sources and values in deltaT.cpp):
//   before 1950     Espenak and Meeus (2006), "Polynomial expressions for
//                   Delta T", NASA/TP-2006-214141 (Morrison and
//                   Stephenson's values fitted), 1900-1961 pieces;
//   1950-1955       the same, brought linearly onto the 1955 value;
//   1955-2026       the observed values (USNO from the IERS series and the
//                   Astronomical Almanac), 1 January of each year, linear
//                   between them: within 0.1 s of the monthly values;
//   2026-2050       Espenak and Meeus's 2005-2050 prediction, moved onto
//                   the 2026 value and let go linearly by 2050;
//   after 2050      Espenak and Meeus's 2050-2150 piece.
// No step where the pieces meet. After 2026 it is a prediction: the rate of
// the Earth's rotation cannot be foretold, so expect seconds of error within
// a few years and tens of seconds by 2099.
double deltaT(double jdUt);

// Everything for one civil date at the site.
//   Given:    site              latitude, longitude (degrees, WGS84, sea
//                               level), time zone, summer-time flag
//             year, month, day  civil date of the local clock, 1901..2099
//   Returned: (function value)  the day: every time in local clock hours
//                               of that date (0 <= hours < 24) with the
//                               clock it is read on; an event that falls
//                               on the neighbouring date is Occurs::No;
//                               moon age and illuminated fraction at 12:00
//                               local clock; what could not be computed is
//                               flagged (Day)
// Accuracy: as above (header).
Day computeDay(const Site& site, int year, int month, int day);

// The principal phases of the moon in one month.
//   Given:    site          time zone and summer-time flag (latitude for
//                           the summer's hemisphere)
//             year, month   the month of the local clock, 1901..2099
//   Returned: (function value) the phases whose local date (minutes
//                           rounded) falls in the month, in time order;
//                           each with its UT1 instant and local clock time
//                           (the clock in force at the instant); none for
//                           a month outside 1..12 or a clock offset that
//                           computeDay would not take
// Accuracy: 19 s worst in TT against PyEphem (header).
std::vector<PhaseEvent> monthPhases(const Site& site, int year, int month);

}  // namespace almanac
