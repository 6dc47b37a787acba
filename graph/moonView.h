// The moon as it stands in the sky at one moment of the day: its lit part
// turned so that "up" in the picture is the observer's zenith.
//
// The moment is the moon's transit on the date, else its rise, else 12:00
// local clock. At that instant (geocentric places of date from DaySky):
//   illuminated fraction  k = (1 + cos i) / 2, i the phase angle between the
//                         directions from the moon to the sun and to the Earth
//                         (Meeus, Astronomical Algorithms, 2nd ed., eq. 48.1);
//   bright limb           position angle chi of the midpoint of the lit limb,
//                         from north through east (Meeus eq. 48.5);
//   parallactic angle     q (Meeus eq. 14.1), so that chi - q is the bright
//                         limb's angle from the zenith (Meeus ch. 48).
// South of the moon's declination the moon transits north of the zenith,
// q is near 180 degrees and the picture comes out upside down compared with
// a northern site: the lit side on the other hand.
//
// Geometry: the lit part is the half disc towards the bright limb bounded by
// the limb and the terminator, a half ellipse of semi-axes r and
// r |2k - 1|. Angles on the screen are counted from "up" towards the left
// (east when facing the moon with north up).
#pragma once

#include "almanac/almanac.h"
#include "graph/dayGraph.h"
#include "graph/plot.h"

namespace graph {

struct MoonView {
    Event moment = Event::transit;  // transit, or rise; set stands for 12:00
    double hours = 12;              // local clock hours of the moment
    double illuminated = 0;         // 0 .. 1
    double brightLimb = 0;          // chi, degrees 0 .. 360
    double parallactic = 0;         // q, degrees -180 .. 180
    double tilt = 0;                // chi - q, degrees 0 .. 360: the bright limb from the zenith
    Point centre;
    double radius = 0;
    Polyline lit;                   // closed outline of the lit part, pixels
    Label caption;                  // "南中 21:34" / "月の出 18:02" / "12:00", below the disc
};

constexpr int moonOutlinePoints = 48;  // points along each half of the outline

MoonView moonView(const almanac::Site& site, const almanac::Day& day, Point centre, double radius);

}  // namespace graph
