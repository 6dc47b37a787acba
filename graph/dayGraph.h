// The picture of one day at a site: the altitude of the sun and of the moon
// against the local clock, the horizon, the sky coloured by the sun's
// depression, rise, transit and set marked with the almanac's times, and the
// present moment when it falls on the date.
//
// x: hours after the date's local midnight, 0 .. DaySky::length() (23 or 25
//    hours where the clock's offset changes overnight), left to right.
// y: altitude, +90 degrees at the top to -20 degrees at the bottom.
//
// The sun's curve is the apparent altitude of its upper limb, the moon's the
// apparent altitude of its centre (refraction by graph::refraction), which is
// what the almanac's rises and sets are defined by: each curve meets the
// horizon at the table's times. Far from the horizon refraction is below a
// few arcminutes, so a peak stands at the table's transit altitude (plus the
// sun's semi-diameter, about 0.27 degrees).
#pragma once

#include <cmath>

#include "almanac/almanac.h"
#include "graph/plot.h"

namespace graph {

// How dark the sky is: the number of the sun's limits (rise/set altitude,
// -6, -12, -18 degrees) it stands above.
enum class SkyLevel { night, astronomical, nautical, civil, day };

// The sky over a stretch of the day; from/to in hours or in pixels.
struct SkyBand {
    double from = 0, to = 0;
    SkyLevel level = SkyLevel::night;
};

// The sky over the date [0, length] hours, from the almanac's day: adjacent
// stretches of one level are joined. Where the almanac finds only one of a
// pair of crossings the sun is on the other side of that limit at the
// date's other end.
std::vector<SkyBand> skyBands(const almanac::Day& day, double length);

enum class Body { sun, moon };
enum class Event { rise, transit, set };

struct Mark {
    Body body = Body::sun;
    Event event = Event::rise;
    Point at;     // on the horizon for a rise or set, on the curve's peak for a transit
    Label label;  // "HH:MM" as in the almanac's table; moved up or down off an earlier label
};

// The room a mark's label is given: a label stands at least this far from
// every other one across or along.
constexpr double labelWidth = 44, labelHeight = 16;

struct DayGraph {
    Rect plot;
    double length = 24;  // hours in the date
    double horizonY = 0;
    std::vector<SkyBand> bands;          // x in pixels
    std::vector<Polyline> sun, moon;     // the parts within the plot's altitudes
    std::vector<Mark> marks;
    std::vector<Tick> hours;             // x of every third hour, "0" .. "24"
    std::vector<Tick> altitudes;         // y of -18, 0, 30, 60, 90 degrees
    double startJdUt = 0;  // the date's local midnight, Julian day (UT)
    bool hasNow = false;
    double nowX = 0;
    std::string note;  // "沈まない（白夜）" / "昇らない（極夜）" on such a day, else ""
};

constexpr double lowestAltitude = -20, highestAltitude = 90;
constexpr double curveStepHours = 1.0 / 6;  // a point every ten minutes

// The picture's size in the details window (pixels at scale 1), and the plot
// inside a picture of any size: room on the left for the altitude scale,
// below for the hours, above for the labels of the highest marks.
constexpr double dayGraphWidth = 520, dayGraphHeight = 250;
Rect dayPlotArea(double width, double height);

// The day's picture in the rectangle. day is almanac::computeDay for the same
// site and date; nowJdUt is the present instant (Julian day, UT), NaN for
// none.
DayGraph dayGraph(const almanac::Site& site, const almanac::Day& day, const Rect& plot,
                  double nowJdUt = std::nan(""));

// Places the present instant (Julian day, UT; NaN for none) on a day's
// picture: hasNow when it falls within the date, nowX its x. Returns true
// when the line appeared, moved or went.
bool placeNow(DayGraph& g, double nowJdUt);

// The present instant as a Julian day from seconds since 1970-01-01 UTC.
double julianDayOfUnixTime(double seconds);

}  // namespace graph
