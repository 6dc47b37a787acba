// The event search and the phase solver of the almanac.
//
// Time arguments: "ut" is UT1 and "tt" Terrestrial Time, both in days from
// J2000.0 (JD 2451545.0); "hours" are local clock time of the day searched.
// Angles are radians unless a name or comment says degrees.
//
// Accuracy: the roots are solved far below the printed precision (crossings
// and transits to about a millisecond, phases to 1e-8 day); what limits the
// results is the ephemeris (ephemeris.h) and Delta T (almanac.h). Measured
// figures for the whole almanac are in almanac.h.
#pragma once

#include "almanac/almanac.h"

namespace almanac::detail {

// Mean synodic month, days: Meeus, "Astronomical Algorithms" (2nd ed.),
// ch. 49, eq. 49.1 (from Chapront-Touzé and Chapront's ELP-2000/82).
constexpr double lunation = 29.530588861;

// Epoch of the mean new moons of eq. 49.1, JDE 2451550.09766 (2000-01-06),
// as TT days from J2000.0.
constexpr double meanNewMoonEpoch = 5.09766;

// The instant at which the moon's apparent ecliptic longitude of date less
// the sun's reaches target, nearest the estimate.
//   Given:    estimate  TT, days from J2000.0; within a few days of the root
//             target    elongation, radians (0 new, pi/2 first quarter,
//                       pi full, 3 pi/2 last quarter)
//   Returned: (function value) TT, days from J2000.0, solved to 1e-8 day
double solvePhase(double estimate, double target);

// The last new moon (geocentric conjunction in ecliptic longitude) at or
// before tt.
//   Given:    tt      TT, days from J2000.0
//   Returned: (function value) TT, days from J2000.0, solved to 1e-8 day
// The new moons on either side are cached per thread for the days that
// follow; where the solver started moves the result by less than 1e-8 day,
// which shows in no printed figure.
double previousNewMoon(double tt);

// The site's view on one day: the frame of date is fixed at the day's
// middle, the sidereal time runs at the Earth's mean rate from the day's
// start, the positions are those of ephemeris.h.
struct Sky {
    double rnpb[3][3];      // GCRS to true equator and equinox of date
    double dt;              // TT - UT1, days
    double t0;              // UT1 of the day's start, days from J2000.0
    double lst0;            // local apparent sidereal time there, radians
    double cosLat, sinLat;  // geodetic latitude
    double rhoCos, rhoSin;  // the site from the Earth's axis and equator, au

    //   Given:    site    latitude and longitude (WGS84, sea level)
    //             t0      UT1 of 0:00 local clock, days from J2000.0
    //             dt      TT - UT1 for the day, days
    Sky(const Site& site, double t0, double dt);

    // Topocentric components of the body (au): up, towards east and north,
    // and towards the meridian in the equator's plane.
    struct Topo {
        double up, east, north, meridian, dist;
        double altitude() const;  // radians, no refraction
        double azimuth() const;   // degrees from north through east, 0 <= a < 360
    };

    //   Given:    ut      UT1, days from J2000.0
    //             moon    true for the moon, false for the sun
    //   Returned: (function value) the body's topocentric place
    Topo at(double ut, bool moon) const;
};

constexpr int samples = 48;  // per day: every half hour

// The day of one body: samples every half hour of the local day of the sine
// of the altitude and of the sine of the hour angle (east of the meridian
// negative), from which the crossings of any altitude and the transit are
// found. Crossings two to a half hour (near the body's highest or lowest
// altitude) are found by a search of the extreme.
struct BodyDay {
    const Sky& sky;
    bool moon;
    double t0;  // UT1 of 0:00 local clock, days from J2000.0
    double up[samples + 1];
    double west[samples + 1];
    bool south[samples + 1];  // on the meridian's side of the upper transit

    BodyDay(const Sky& s, bool isMoon, double start);

    double time(int i) const { return t0 + double(i) / samples; }

    // Local clock hours of a UT1 instant on the day, 0 <= hours < 24.
    double clock(double t) const;

    // The first rise and the first set of the day through altitude h0.
    //   Given:    h0      altitude, radians (refraction and semi-diameter
    //                     are the caller's)
    //   Returned: rise, set  Occurs::Yes with clock hours and azimuth
    //                     (degrees) at the crossing; Occurs::No if the
    //                     crossing is not on this date; AlwaysAbove /
    //                     AlwaysBelow (both) if neither happens on the day.
    void crossings(double h0, Crossing& rise, Crossing& set) const;

    // The first upper culmination of the day: the hour angle passing zero
    // from east to west, with the topocentric altitude (degrees, no
    // refraction) there; occurs false on a day without one.
    Transit transit() const;
};

}  // namespace almanac::detail
