// Delta T = TT - UT1 for the almanac's units, in days.
//
// The model and its contract are those of almanac::deltaT (almanac.h):
// observed yearly values from 1955 to 2026 between Espenak and Meeus's
// (2006) polynomials. This form takes and returns
// days so that the event search and the phase solver can move between the
// two time scales with one call.
#pragma once

namespace almanac::detail {

// TT - UT1 at an instant.
//   Given:    ut      UT1, days from J2000.0 (JD 2451545.0). A TT instant
//                     may stand in for it: Delta T changes by a few
//                     seconds a year at most, so the minute or two between
//                     the scales does not show in the result.
//   Returned: (function value) TT - UT1, days
double deltaTDays(double ut);

}  // namespace almanac::detail
