// The sun and the moon as the Japanese calendar needs them: the sun's
// apparent longitude and the instants it reaches a given value (the 24
// solar terms), the new moons, the moon's distance, its perigees and
// apogees, and the elongation the tide names are read from.
//
// Time scales: instants go in and out as Julian days. "Tt" marks Terrestrial
// Time, "Ut" UT1; the two differ by almanac::deltaT. Civil dates are Japan
// Standard Time (UT + 9 h) and are carried as Julian day numbers (the JDN of
// a date is the Julian day at its noon).
//
// Positions: the almanac's (almanac/ephemeris.h: the sun's apparent
// longitude of date, the elongation) and its phase solver
// (almanac/search.h); the moon's distance and apsides from eraMoon98
// directly. See docs/koyomi.md for the measured agreement.
#pragma once

#include <vector>

#include "date/calendar.h"

namespace koyomi {

inline constexpr double kJst = 9.0 / 24;  // Japan Standard Time less UT, days

// The sun's apparent geocentric ecliptic longitude, true equinox and
// ecliptic of date (nutation and aberration included), degrees in [0, 360).
double sunLongitude(double jdTt);

// The moon's geocentric ecliptic longitude less the sun's, degrees in
// [0, 360), the moon's place corrected for light time.
double elongation(double jdTt);

// The instant (UT) nearest jdUtEstimate (within about ten days) at which
// the sun's apparent longitude is the given number of degrees.
double sunReachesUt(double degrees, double jdUtEstimate);

// The instant (UT) of the geocentric conjunction in ecliptic longitude
// (new moon) nearest the estimate (within about ten days).
double newMoonUt(double jdUtEstimate);

// The first new moon (UT) whose JST date is after the JST date jdn.
double newMoonAfterDate(long jdn);

// The moon's centre-to-centre distance from the Earth in km at the instant.
double moonDistanceKm(double jdUt);

// The moon's geocentric apparent diameter in arcminutes at that distance
// (mean radius 1737.4 km, IAU WG on Cartographic Coordinates, 2015).
double moonDiameterArcmin(double distanceKm);

struct Apsis {
    bool perigee = false;  // false: apogee
    double jdUt = 0;
    double distanceKm = 0;
};

// The perigees and apogees whose JST date falls in the month, in time order.
std::vector<Apsis> monthApsides(int year, int month);

// TT of a UT instant, by almanac::deltaT.
double ttOf(double jdUt);

// Dates as Julian day numbers (date/calendar.h).
using civil::civilDate;
using civil::julianDayNumber;
using civil::weekday;
long jstDate(double jdUt);  // the JDN of the JST date holding the instant

}  // namespace koyomi
