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
// Models: the almanac's own (almanac/search.h, almanac::detail::Sky, on the
// positions of almanac/ephemeris.h), so that a curve meets the table's
// events: the frame of date at the day's middle, sidereal time from local
// midnight at the Earth's rate, the WGS84 ellipsoid at sea level, Delta T
// for the day. Altitudes are the almanac's at the same instant.
#pragma once

#include "almanac/almanac.h"
#include "almanac/search.h"

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
    double ut(double hours) const { return sky_.t0 + hours / 24; }
    // Local apparent sidereal time, radians.
    double siderealTime(double hours) const { return sky_.siderealTime(ut(hours)); }
    double latitude() const { return lat_; }  // radians, geodetic

    Place sun(double hours) const { return place(hours, false); }
    Place moon(double hours) const { return place(hours, true); }

private:
    DaySky(const almanac::Site& site, double t0, double hours);
    Place place(double hours, bool moon) const;

    almanac::detail::Sky sky_;
    double hours_ = 24, lat_ = 0;
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
