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

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "almanac/almanac.h"

namespace almanac::detail {

// Mean synodic month, days: Meeus, "Astronomical Algorithms" (2nd ed.),
// ch. 49, eq. 49.1 (from Chapront-Touzé and Chapront's ELP-2000/82).
constexpr double lunation = 29.530588861;

// Epoch of the mean new moons of eq. 49.1, JDE 2451550.09766 (2000-01-06),
// as TT days from J2000.0.
constexpr double meanNewMoonEpoch = 5.09766;

// Mean tropical year, days: Meeus, "Astronomical Algorithms" (2nd ed.),
// ch. 27 (365.242189 at J2000). Only the first step of a search uses it.
constexpr double tropicalYear = 365.242189;

// Refraction at the horizon for rise and set, 35'08", radians: the national
// almanac's convention (the Astronomical Almanac uses 34').
constexpr double riseRefraction = (35 + 8.0 / 60) / 60 * ERFA_DD2R;

// The sun's radius in au: 696,000 km, the customary solar radius (IAU,
// Astronomical Almanac); it subtends 959.6" at 1 au, against the
// Astronomical Almanac's semi-diameter at unit distance of 959.63" (Auwers;
// also Meeus, "Astronomical Algorithms").
constexpr double sunRadiusAu = 696000e3 / ERFA_DAU;

// The instant near estimate at which an angle that grows steadily with time
// reaches target: secant steps, the first from the mean rate.
//   Given:    f         the angle at a time, radians (any turn)
//             target    radians
//             estimate  a time within a few days of the root (the caller's
//                       scale; f's argument)
//             rate      f's mean rate, radians a day
//   Returned: (function value) the time, solved to 1e-8 day (1 ms)
template <typename F>
double solveAngle(F f, double target, double estimate, double rate)
{
    const auto offset = [&](double t) { return eraAnpm(f(t) - target); };
    double t0 = estimate;
    double f0 = offset(t0);
    double t1 = t0 - f0 / rate;
    for (int i = 0; i < 20; ++i) {
        const double f1 = offset(t1);
        if (f1 == f0)
            break;
        const double t2 = t1 - f1 * (t1 - t0) / (f1 - f0);
        t0 = t1;
        f0 = f1;
        t1 = t2;
        if (std::fabs(t1 - t0) < 1e-8)
            break;
    }
    return t1;
}

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

    // The same place with the frame, the sidereal time and Delta T taken at
    // ut itself rather than from the day: the same for every day that asks,
    // so that two neighbouring dates agree on which side of their common
    // midnight an event falls.
    Topo exact(double ut, bool moon) const;

    // The body's geocentric place on the true equator and equinox of date
    // (the day's frame), au.
    //   Given:    ut      UT1, days from J2000.0
    //   Returned: g       position, au
    void ofDate(double ut, bool moon, double g[3]) const;

    // Local apparent sidereal time at ut on the day's clock (see above),
    // radians (not normalised).
    double siderealTime(double ut) const;

    double longitude;  // east, radians
};

// One local date: its span in UT1 and its clocks. The date runs from its
// local midnight to the next date's local midnight, each on the clock of its
// own date (23, 24 or 25 hours where summer time begins or ends).
struct DayClock {
    double t0;          // UT1 of the date's local midnight, days from J2000.0
    double t1;          // UT1 of the next date's local midnight
    double offset;      // hours the date's clock is ahead of UT1
    double nextOffset;  // hours the next date's clock is ahead of UT1

    // The clock in force at t (t0 <= t < t1): the date's own until it
    // reaches 24:00, the next date's after that (on a 25-hour day the last
    // hour is read on the next date's clock, so its hours repeat).
    //   Returned: (function value) hours ahead of UT1
    double offsetAt(double t) const;
    // Local clock hours of t on that clock, 0 <= hours < 24.
    double hours(double t) const;
};

constexpr int samples = 48;     // per day: every half hour
constexpr int maxSamples = 96;  // a date longer than two days is not sampled further

// The day of one body: samples every half hour of the local day of the sine
// of the altitude and of the sine of the hour angle (east of the meridian
// negative), from which the crossings of any altitude and the transit are
// found. Crossings two to a half hour (near the body's highest or lowest
// altitude) are found by a search of the extreme.
struct BodyDay {
    const Sky& sky;
    bool moon;
    DayClock day;
    int n;  // intervals sampled: the last ends at day.t1
    double up[maxSamples + 1];
    double west[maxSamples + 1];
    bool south[maxSamples + 1];  // on the meridian's side of the upper transit

    BodyDay(const Sky& s, bool isMoon, const DayClock& date);

    double time(int i) const { return i < n ? day.t0 + double(i) / samples : day.t1; }

    // The first rise and the first set of the day through altitude h0, and
    // with rise2/set2 a second one in the hour that a 25-hour day repeats.
    //   Given:    h0      altitude, radians (refraction and semi-diameter
    //                     are the caller's)
    //   Returned: rise, set  Occurs::Yes with clock hours, the clock's
    //                     offset and azimuth (degrees) at the crossing;
    //                     Occurs::No if the
    //                     crossing is not on this date; AlwaysAbove /
    //                     AlwaysBelow (both) if neither happens on the day.
    //             rise2, set2  (optional) Occurs::Yes for a second crossing
    //                     after the clock has gone back
    void crossings(double h0, Crossing& rise, Crossing& set, Crossing* rise2 = nullptr,
                   Crossing* set2 = nullptr) const;

    // The first upper culmination of the day: the hour angle passing zero
    // from east to west, with the topocentric altitude (degrees, no
    // refraction) there; occurs false on a day without one. second: one
    // after the clock has gone back on a 25-hour day.
    Transit transit(Transit* second = nullptr) const;

    // Whether an event found at t lies on this date: t0 <= t < t1, decided
    // within a second of either midnight by the exact place (Sky::exact)
    // of g, the quantity that crosses zero (increasing: from below).
    template <typename G>
    bool onDate(double t, bool increasing, G g) const;
};

}  // namespace almanac::detail
