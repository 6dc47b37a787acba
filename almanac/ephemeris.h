// Apparent geocentric places of the sun and the moon, interpolated from
// positions on fixed grids of TT.
//
// Time argument: tt = TT in days from J2000.0 (JD 2451545.0 TT).
// Frame: GCRS, astronomical units; longitudes on the ecliptic of date.
//
// Sources (ERFA): the moon from eraMoon98 (Meeus's abridged ELP-2000/82
// series, light-time term left out), the Earth from eraEpv00 (a simplified
// VSOP2000), annual aberration from eraAb.
//
// Accuracy, as ERFA states it: eraMoon98 against ELP/MPP02 over 1950-2100,
// 2.9" RMS and 18.3" worst in direction, 6.1 km RMS and 31.7 km worst in
// distance; eraEpv00 against JPL DE405 over 1900-2100, heliocentric position
// 3.7 km RMS and 11.2 km worst. ERFA gives no figure for eraMoon98 outside
// 1950-2100; what was measured for the whole almanac against PyEphem from
// 1901 to 2097 is quoted in almanac.h. The six-point
// interpolation adds nothing that shows: halving the moon's step (0.5 day)
// changes no event time by more than 0.1 s, and the sun's direction stays
// within 0.004" of eraEpv00 evaluated at the instant (every 1.37 days over
// 1901-2099).
//
// Validity: made for the almanac's dates, 1901-2099; nothing stops a call
// outside, where eraEpv00 warns (withinRange says so).
//
// The grids are cached per thread. A node is a pure function of its index,
// so a result never depends on what was computed before.
#pragma once

namespace almanac::ephemeris {

// The moon's apparent geocentric GCRS position at tt, corrected for light
// time.
//   Given:    tt      TT, days from J2000.0
//   Returned: m       position, au
void moonAt(double tt, double m[3]);

// The sun's apparent geocentric GCRS position at tt: light time from the
// Earth's orbit and annual aberration included.
//   Given:    tt      TT, days from J2000.0
//   Returned: s       position, au
void sunAt(double tt, double s[3]);

// The sun's apparent geocentric ecliptic longitude, true equinox and
// ecliptic of date: sunAt on the ecliptic and mean equinox of date (IAU 2006
// precession, eraEcm06) moved along the ecliptic by the nutation in
// longitude (IAU 2000B, eraNut00b: within 1 mas of IAU 2000A over
// 1995-2050, a few mas over the centuries, at a tenth of the cost).
//   Given:    tt      TT, days from J2000.0
//   Returned: (function value) longitude, radians, 0 <= l < 2 pi
double sunLongitude(double tt);

// The moon's apparent ecliptic longitude of date less the sun's (moonAt,
// sunAt on the ecliptic and mean equinox of date, eraEcm06; nutation moves
// both alike and is left out).
//   Given:    tt      TT, days from J2000.0
//   Returned: (function value) elongation, radians, -pi < e <= pi (eraAnpm)
double elongation(double tt);

// False where eraEpv00 warns that tt lies outside its 1900-2100 (status 1).
//   Given:    tt      TT, days from J2000.0
bool withinRange(double tt);

}  // namespace almanac::ephemeris
