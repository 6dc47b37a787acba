#include "graph/altitude.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>

#include "almanac/deltaT.h"
#include "date/calendar.h"

namespace graph {

namespace {

constexpr double deg = ERFA_DD2R;
constexpr double riseRefraction = almanac::detail::riseRefraction / deg;  // degrees

// UT1 (days from J2000) of 0:00 local clock on a civil date.
double midnight(const almanac::Site& site, int year, int month, int day)
{
    return double(civil::julianDayNumber(year, month, day)) - 0.5 - ERFA_DJ00 - almanac::clockOffset(site, month) / 24;
}

// Saemundsson's refraction in arcminutes for a true altitude in degrees.
double saemundsson(double h)
{
    return 1.02 / std::tan((h + 10.3 / (h + 5.11)) * deg);
}

}  // namespace

double dateHours(const almanac::Site& site, int year, int month, int day)
{
    int y, m, d;
    civil::civilDate(civil::julianDayNumber(year, month, day) + 1, y, m, d);
    return 24 + almanac::clockOffset(site, month) - almanac::clockOffset(site, m);
}

double refraction(double h)
{
    static const double scale = riseRefraction * 60 / saemundsson(-riseRefraction);
    if (h <= -riseRefraction)
        return riseRefraction;
    return std::max(0.0, scale * saemundsson(h) / 60);
}

double sunUpperLimb(double altitude, double distance)
{
    const double limb = altitude + std::asin(almanac::detail::sunRadiusAu / distance) / deg;
    return limb + refraction(limb);
}

DaySky::DaySky(const almanac::Site& site, int year, int month, int day)
    : DaySky(site, midnight(site, year, month, day), dateHours(site, year, month, day))
{
}

DaySky::DaySky(const almanac::Site& site, double t0, double hours)
    : sky_(site, t0, almanac::detail::deltaTDays(t0 + 0.5)), hours_(hours), lat_(site.latitude * deg)
{
}

Place DaySky::place(double hours, bool moon) const
{
    double g[3];
    sky_.ofDate(ut(hours), moon, g);
    Place p;
    p.altitude = sky_.at(ut(hours), moon).altitude() / deg;
    p.distance = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
    p.rightAscension = std::atan2(g[1], g[0]);
    p.declination = std::asin(g[2] / p.distance);
    return p;
}

}  // namespace graph
