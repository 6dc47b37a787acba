// The sky of one local date at a site: where the sun and the moon stand at
// any instant of the date, for the pictures of the day.
//
// Input:  a site and a civil date (local clock, summer time by
//         almanac::clockOffset); instants as hours after the date's local
//         midnight, 0 <= hours <= length().
// Output: topocentric altitudes (degrees, no refraction, the centre of the
//         body), right ascension and declination of date (geocentric,
//         radians), local apparent sidereal time (radians), distance (au).
//
// Models, as in the almanac so that a curve meets the table's events:
// the moon from eraMoon98 corrected for light time, the sun from eraEpv00
// with annual aberration (eraAb), the frame of date from eraPnm00b at the
// day's middle, sidereal time from eraGst00b at local midnight advanced at
// the Earth's rate, the WGS84 ellipsoid at sea level (eraGd2gc), Delta T by
// almanac::deltaT. The geocentric places are taken from ERFA, the moon's
// every two hours and the sun's every eight, from a step before the date to
// two after it, and interpolated by four-point Lagrange polynomials, which is
// off by less than 0.1" for both bodies; the topocentric view is computed at
// each instant. Altitudes agree
// with the almanac's to an arcsecond.
#pragma once

#include "almanac/almanac.h"

namespace graph {

// Hours from a date's local midnight to the next date's: 24, or 23 and 25
// where the clock's offset (almanac::clockOffset) changes between the dates.
double dateHours(const almanac::Site& site, int year, int month, int day);

// One body at one instant.
struct Place {
    double altitude = 0.0;        // degrees, topocentric, no refraction
    double rightAscension = 0.0;  // radians, geocentric, true equator and equinox of date
    double declination = 0.0;     // radians, same frame
    double distance = 0.0;        // au, geocentric
};

class DaySky {
public:
    DaySky(const almanac::Site& site, int year, int month, int day);

    // dateHours of the date.
    double length() const { return hours_; }
    // UT1 of an instant, days from J2000.0.
    double ut(double hours) const { return t0_ + hours / 24; }
    // Local apparent sidereal time, radians.
    double siderealTime(double hours) const;
    double latitude() const { return lat_; }  // radians, geodetic

    Place sun(double hours) const;
    Place moon(double hours) const;

private:
    Place place(double hours, const double gcrs[3]) const;
    // GCRS places (au) at (k - 1) * step hours, k = 0 .. count - 1.
    template <int count>
    struct Nodes {
        double step;
        double p[count][3];
    };
    template <int count>
    static void interpolate(const Nodes<count>& nodes, double hours, double p[3]);
    void sunAt(double hours, double p[3]) const;
    void moonAt(double hours, double p[3]) const;

    Nodes<17> moonNodes_ {2, {}};  // -2 .. 30 hours
    Nodes<6> sunNodes_ {8, {}};    // -8 .. 32 hours

    double t0_ = 0, dt_ = 0, hours_ = 24;
    double rnpb_[3][3] = {};
    double lst0_ = 0, lat_ = 0, rhoCos_ = 0, rhoSin_ = 0;
};

// Refraction (degrees) to add to a true altitude h (degrees): Saemundsson's
// formula (Meeus, Astronomical Algorithms, 2nd ed., eq. 16.4), scaled so that
// it gives the almanac's 35'08" at the altitude -35'08" where a body rises, and
// held at that value below it.
double refraction(double h);

// The apparent altitude (degrees) of the sun's upper limb, from the true
// altitude of its centre (degrees) and its distance (au; radius 696 000 km as
// in the almanac).
double sunUpperLimb(double altitude, double distance);

}  // namespace graph
