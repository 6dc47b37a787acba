// The precise almanac: rise, transit and set of the sun and the moon, the
// three twilights, the noon moon age and illuminated fraction, and the
// principal phases of the moon, for one civil date at one site.
//
// Positions, time scales, precession-nutation and the Earth's rotation come
// from ERFA; this unit adds the event search and a model of Delta T.
//
// Definitions:
//   sun rise/set      upper limb on the horizon: centre at -(35'08" + semi-
//                     diameter), sea-level observer;
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
// Local clock time is the site's offset plus one hour where the site keeps
// summer time, by the same rule as the classic engine (whole days, April to
// September north of the equator, October to March south of it).
//
// Input: a site (degrees, hours) and a civil date 1901-01-01 .. 2099-12-31.
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

// Hours ahead of UT of the site's local clock on a date of the given month.
double clockOffset(const Site& site, int month);

// TT - UT1 in seconds at the instant (Julian day, UT1): the polynomial
// expressions of Espenak and Meeus (2006), valid 1900..2150.
double deltaT(double jdUt);

// Everything for one civil date (local clock) at the site.
Day computeDay(const Site& site, int year, int month, int day);

// The principal phases whose local date (minutes rounded) falls in the
// month, in time order.
std::vector<PhaseEvent> monthPhases(const Site& site, int year, int month);

}  // namespace almanac
