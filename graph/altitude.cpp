#include "graph/altitude.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>

namespace graph {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double deg = pi / 180;
constexpr double riseRefraction = (35 + 8.0 / 60) / 60;  // degrees, 35'08"

// UT1 (days from J2000) of 0:00 local clock on a civil date.
double midnight(const almanac::Site& site, int year, int month, int day)
{
    double djm0, djm;
    eraCal2jd(year, month, day, &djm0, &djm);
    return (djm0 - ERFA_DJ00) + djm - almanac::clockOffset(site, month) / 24;
}

// Saemundsson's refraction in arcminutes for a true altitude in degrees.
double saemundsson(double h)
{
    return 1.02 / std::tan((h + 10.3 / (h + 5.11)) * deg);
}

}  // namespace

double dateHours(const almanac::Site& site, int year, int month, int day)
{
    double djm0, djm, f;
    int y, m, d;
    eraCal2jd(year, month, day, &djm0, &djm);
    eraJd2cal(djm0, djm + 1, &y, &m, &d, &f);
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
    const double limb = altitude + std::asin(696000e3 / ERFA_DAU / distance) / deg;
    return limb + refraction(limb);
}

DaySky::DaySky(const almanac::Site& site, int year, int month, int day)
{
    t0_ = midnight(site, year, month, day);
    hours_ = dateHours(site, year, month, day);
    dt_ = almanac::deltaT(t0_ + 0.5 + ERFA_DJ00) / ERFA_DAYSEC;
    eraPnm00b(ERFA_DJ00, t0_ + 0.5 + dt_, rnpb_);
    lat_ = site.latitude * deg;
    lst0_ = eraGst00b(ERFA_DJ00, t0_) + std::remainder(site.longitude, 360.0) * deg;
    double xyz[3];
    eraGd2gc(ERFA_WGS84, 0, lat_, 0, xyz);
    rhoCos_ = xyz[0] / ERFA_DAU;
    rhoSin_ = xyz[2] / ERFA_DAU;
    for (int k = 0; k < 6; ++k)
        sunAt((k - 1) * sunNodes_.step, sunNodes_.p[k]);
    for (int k = 0; k < 17; ++k)
        moonAt((k - 1) * moonNodes_.step, moonNodes_.p[k]);
}

// The sun: the Earth's heliocentric place reversed, with the annual
// aberration of the Earth's barycentric velocity.
void DaySky::sunAt(double hours, double p[3]) const
{
    double pvh[2][3], pvb[2][3], dir[3], v[3], v2 = 0, r = 0;
    eraEpv00(ERFA_DJ00, ut(hours) + dt_, pvh, pvb);
    for (int i = 0; i < 3; ++i) {
        dir[i] = -pvh[0][i];
        v[i] = pvb[1][i] * ERFA_AULT / ERFA_DAYSEC;
        v2 += v[i] * v[i];
        r += dir[i] * dir[i];
    }
    r = std::sqrt(r);
    for (double& c : dir)
        c /= r;
    eraAb(dir, v, r, std::sqrt(1 - v2), p);
    for (int i = 0; i < 3; ++i)
        p[i] *= r;
}

// The moon, where it was when its light left it.
void DaySky::moonAt(double hours, double p[3]) const
{
    double pv[2][3];
    eraMoon98(ERFA_DJ00, ut(hours) + dt_, pv);
    const double tau =
        std::sqrt(pv[0][0] * pv[0][0] + pv[0][1] * pv[0][1] + pv[0][2] * pv[0][2]) * ERFA_AULT / ERFA_DAYSEC;
    for (int i = 0; i < 3; ++i)
        p[i] = pv[0][i] - pv[1][i] * tau;
}

template <int count>
void DaySky::interpolate(const Nodes<count>& nodes, double hours, double p[3])
{
    // Nodes k-1 .. k+2 around the interval [k, k+1) that holds the instant.
    const double x = hours / nodes.step + 1;
    const int k = std::clamp(static_cast<int>(std::floor(x)), 1, count - 3);
    const double u = x - k;
    double w[4];
    for (int j = 0; j < 4; ++j) {
        double num = 1, den = 1;
        for (int m = 0; m < 4; ++m)
            if (m != j) {
                num *= u - (m - 1);
                den *= j - m;
            }
        w[j] = num / den;
    }
    for (int i = 0; i < 3; ++i)
        p[i] = w[0] * nodes.p[k - 1][i] + w[1] * nodes.p[k][i] + w[2] * nodes.p[k + 1][i] + w[3] * nodes.p[k + 2][i];
}

double DaySky::siderealTime(double hours) const
{
    return lst0_ + 6.300388098984891 * hours / 24;  // 2 pi x 1.00273781191135448 per day
}

Place DaySky::place(double hours, const double gcrs[3]) const
{
    double g[3];
    for (int i = 0; i < 3; ++i)
        g[i] = rnpb_[i][0] * gcrs[0] + rnpb_[i][1] * gcrs[1] + rnpb_[i][2] * gcrs[2];
    const double theta = siderealTime(hours), c = std::cos(theta), s = std::sin(theta);
    const double d0 = g[0] - rhoCos_ * c, d1 = g[1] - rhoCos_ * s, d2 = g[2] - rhoSin_;
    const double meridian = c * d0 + s * d1;
    const double up = std::cos(lat_) * meridian + std::sin(lat_) * d2;
    Place p;
    p.altitude = std::asin(up / std::sqrt(d0 * d0 + d1 * d1 + d2 * d2)) / deg;
    p.distance = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
    p.rightAscension = std::atan2(g[1], g[0]);
    p.declination = std::asin(g[2] / p.distance);
    return p;
}

Place DaySky::sun(double hours) const
{
    double p[3];
    interpolate(sunNodes_, hours, p);
    return place(hours, p);
}

Place DaySky::moon(double hours) const
{
    double p[3];
    interpolate(moonNodes_, hours, p);
    return place(hours, p);
}

}  // namespace graph
