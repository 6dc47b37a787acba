#include "almanac/search.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "almanac/deltaT.h"
#include "almanac/ephemeris.h"

namespace almanac::detail {

namespace {

using ephemeris::moonAt;
using ephemeris::sunAt;

// The rate of Greenwich sidereal time on UT1, radians per day: 2 pi times
// the ratio of mean sidereal to universal time at J2000, 1.002737909350795
// (Aoki et al. 1982, A&A 105, 359, the IAU 1982 definition of UT1). The
// slow drift of the rate and of the equation of the equinoxes within one
// day is left out.
constexpr double siderealRate = ERFA_D2PI * 1.002737909350795;


// New moons (tt) on either side of tt: prev <= tt < next, cached for the
// days that follow. Each is solved to 1e-8 day, so where the search started
// does not show in any printed figure.
struct NewMoons {
    double prev = 1, next = 0;
};
thread_local NewMoons newMoons;

// Brackets [a, b] of f's root (f(a), f(b) of opposite signs) narrowed by the
// Illinois method to about a millisecond.
template <typename F>
double findRoot(F f, double a, double b, double fa, double fb)
{
    int side = 0;
    for (int i = 0; i < 60 && b - a > 1e-8; ++i) {
        const double c = (a * fb - b * fa) / (fb - fa);
        const double fc = f(c);
        if (fc == 0)
            return c;
        if ((fc < 0) == (fa < 0)) {
            a = c;
            fa = fc;
            if (side == -1)
                fb /= 2;
            side = -1;
        } else {
            b = c;
            fb = fc;
            if (side == 1)
                fa /= 2;
            side = 1;
        }
    }
    return (a * fb - b * fa) / (fb - fa);
}

}  // namespace

// --- Moon phases -----------------------------------------------------------

double solvePhase(double estimate, double target)
{
    return solveAngle(ephemeris::elongation, target, estimate, ERFA_D2PI / lunation);
}

double previousNewMoon(double tt)
{
    NewMoons& c = newMoons;
    if (!(c.prev <= tt && tt < c.next)) {
        double e = ephemeris::elongation(tt);
        if (e < 0)
            e += ERFA_D2PI;
        double prev = solvePhase(tt - e / (ERFA_D2PI / lunation), 0);
        if (prev > tt)
            prev = solvePhase(prev - lunation, 0);
        double next = solvePhase(prev + lunation, 0);
        while (next <= tt) {
            prev = next;
            next = solvePhase(prev + lunation, 0);
        }
        c.prev = prev;
        c.next = next;
    }
    return c.prev;
}

// --- The horizon -----------------------------------------------------------

Sky::Sky(const Site& site, double start, double ttMinusUt) : dt(ttMinusUt), t0(start)
{
    eraPnm00b(ERFA_DJ00, t0 + 0.5 + dt, rnpb);
    const double lat = site.latitude * ERFA_DD2R, lon = std::remainder(site.longitude, 360.0) * ERFA_DD2R;
    longitude = lon;
    lst0 = eraGst00b(ERFA_DJ00, t0) + lon;
    cosLat = std::cos(lat);
    sinLat = std::sin(lat);
    // Status 0 for WGS84 and a latitude within the poles, which the caller
    // (computeDay) has checked; anything else leaves the site at the centre.
    double xyz[3] = {0, 0, 0};
    if (eraGd2gc(ERFA_WGS84, 0, lat, 0, xyz) != 0)
        xyz[0] = xyz[1] = xyz[2] = 0;
    rhoCos = xyz[0] / ERFA_DAU;
    rhoSin = xyz[2] / ERFA_DAU;
}

double Sky::Topo::altitude() const
{
    return std::asin(up / dist);
}

double Sky::Topo::azimuth() const
{
    const double a = std::atan2(east, north) / ERFA_DD2R;
    return a < 0 ? a + 360 : a;
}

namespace {

// The body's geocentric place in the frame rnpb at tt.
void geocentric(const double rnpb[3][3], double tt, bool moon, double g[3])
{
    double p[3];
    if (moon)
        moonAt(tt, p);
    else
        sunAt(tt, p);
    for (int i = 0; i < 3; ++i)
        g[i] = rnpb[i][0] * p[0] + rnpb[i][1] * p[1] + rnpb[i][2] * p[2];
}

Sky::Topo topocentric(const Sky& sky, const double rnpb[3][3], double tt, double theta, bool moon)
{
    double g[3];
    geocentric(rnpb, tt, moon, g);
    const double rhoCos = sky.rhoCos, rhoSin = sky.rhoSin, cosLat = sky.cosLat, sinLat = sky.sinLat;
    const double c = std::cos(theta), s = std::sin(theta);
    const double d0 = g[0] - rhoCos * c, d1 = g[1] - rhoCos * s, d2 = g[2] - rhoSin;
    Sky::Topo r;
    r.east = -s * d0 + c * d1;
    r.meridian = c * d0 + s * d1;
    r.north = -sinLat * r.meridian + cosLat * d2;
    r.up = cosLat * r.meridian + sinLat * d2;
    r.dist = std::sqrt(d0 * d0 + d1 * d1 + d2 * d2);
    return r;
}

}  // namespace

double Sky::siderealTime(double ut) const
{
    return lst0 + siderealRate * (ut - t0);
}

Sky::Topo Sky::at(double ut, bool moon) const
{
    return topocentric(*this, rnpb, ut + dt, siderealTime(ut), moon);
}

void Sky::ofDate(double ut, bool moon, double g[3]) const
{
    geocentric(rnpb, ut + dt, moon, g);
}

Sky::Topo Sky::exact(double ut, bool moon) const
{
    const double tt = ut + deltaTDays(ut);
    double m[3][3];
    eraPnm00b(ERFA_DJ00, tt, m);
    return topocentric(*this, m, tt, eraGst00b(ERFA_DJ00, ut) + longitude, moon);
}

// --- The crossings and the transit -----------------------------------------

double DayClock::offsetAt(double t) const
{
    return t >= t0 + 1 && t1 > t0 + 1 ? nextOffset : offset;
}

double DayClock::hours(double t) const
{
    const double h = (t - t0) * 24 - (offset - offsetAt(t));
    return std::fmax(0.0, std::fmin(h, std::nextafter(24.0, 0.0)));
}

BodyDay::BodyDay(const Sky& s, bool isMoon, const DayClock& date) : sky(s), moon(isMoon), day(date)
{
    const double span = std::ceil((day.t1 - day.t0) * samples - 1e-6);
    n = span < 1 ? 1 : span > maxSamples ? maxSamples : static_cast<int>(span);
    for (int i = 0; i <= n; ++i) {
        const Sky::Topo p = sky.at(time(i), moon);
        up[i] = p.up / p.dist;
        west[i] = -p.east / p.dist;
        south[i] = p.meridian > 0;
    }
}

template <typename G>
bool BodyDay::onDate(double t, bool increasing, G g) const
{
    constexpr double second = 1.0 / 86400;
    // An event before the boundary b has g past zero there.
    const auto before = [&](double b) {
        const double v = g(sky.exact(b, moon));
        return increasing ? v > 0 : v < 0;
    };
    const bool afterStart = std::fabs(t - day.t0) < second ? !before(day.t0) : t >= day.t0;
    const bool beforeEnd = std::fabs(t - day.t1) < second ? before(day.t1) : t < day.t1;
    return afterStart && beforeEnd;
}

void BodyDay::crossings(double h0, Crossing& rise, Crossing& set, Crossing* rise2, Crossing* set2) const
{
    rise = Crossing{};
    set = Crossing{};
    const double s0 = std::sin(h0);
    bool seenRise = false, seenSet = false;
    auto f = [&](double t) {
        const Sky::Topo p = sky.at(t, moon);
        return p.up / p.dist - s0;
    };
    const double repeatFrom = day.t0 + 1;  // the old clock's 24:00
    auto record = [&](double a, double b, double fa, double fb) {
        const bool rising = fa < 0;
        bool& seen = rising ? seenRise : seenSet;
        Crossing* second = rising ? rise2 : set2;
        if (seen && (!second || second->occurs == Occurs::Yes || b < repeatFrom || day.t1 <= repeatFrom))
            return;
        const double t = findRoot(f, a, b, fa, fb);
        if (!onDate(t, rising, [&](const Sky::Topo& p) { return p.up / p.dist - s0; }))
            return;
        if (seen && t < repeatFrom)
            return;
        Crossing& c = seen ? *second : rising ? rise : set;
        seen = true;
        c.occurs = Occurs::Yes;
        c.hours = day.hours(t);
        c.clockOffset = day.offsetAt(t);
        c.azimuth = sky.at(t, moon).azimuth();
    };
    for (int i = 0; i < n; ++i) {
        const double fa = up[i] - s0, fb = up[i + 1] - s0;
        if ((fa < 0) != (fb < 0)) {
            record(time(i), time(i + 1), fa, fb);
            continue;
        }
        // Two crossings inside one half hour: only near an extreme of the
        // altitude. Look when the parabola through three samples says the
        // extreme may pass h0.
        if (i == 0)
            continue;
        const double fp = up[i - 1] - s0;
        if ((fp < 0) != (fa < 0))
            continue;
        const double a2 = (fp + fb) / 2 - fa, a1 = (fb - fp) / 2;
        if (a2 == 0)
            continue;
        const double xm = -a1 / (2 * a2);
        const double vm = fa - a1 * a1 / (4 * a2);
        if (std::fabs(xm) > 1 || ((vm < 0) == (fa < 0) && std::fabs(vm) > 2e-4))
            continue;
        // Golden-section search of the extreme on the true curve.
        const double sign = a2 < 0 ? 1 : -1;  // maximise sign * f
        double lo = time(i - 1), hi = time(i + 1);
        const double g = 0.6180339887498949;
        double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
        double f1 = sign * f(x1), f2 = sign * f(x2);
        for (int k = 0; k < 40 && hi - lo > 1e-7; ++k) {
            if (f1 > f2) {
                hi = x2; x2 = x1; f2 = f1; x1 = hi - g * (hi - lo); f1 = sign * f(x1);
            } else {
                lo = x1; x1 = x2; f1 = f2; x2 = lo + g * (hi - lo); f2 = sign * f(x2);
            }
        }
        const double te = (lo + hi) / 2, fe = f(te);
        if ((fe < 0) == (fa < 0))
            continue;
        if ((fp < 0) != (fe < 0))
            record(time(i - 1), te, fp, fe);
        if ((fe < 0) != (fb < 0))
            record(te, time(i + 1), fe, fb);
        ++i;  // the next interval lies inside the one just searched
    }
    if (!seenRise && !seenSet) {
        const Occurs all = up[0] - s0 >= 0 ? Occurs::AlwaysAbove : Occurs::AlwaysBelow;
        rise.occurs = set.occurs = all;
    }
}

Transit BodyDay::transit(Transit* second) const
{
    Transit tr;
    const double repeatFrom = day.t0 + 1;
    auto f = [&](double t) {
        const Sky::Topo p = sky.at(t, moon);
        return -p.east / p.dist;
    };
    for (int i = 0; i < n; ++i) {
        if (west[i] < 0 && west[i + 1] >= 0 && south[i] && south[i + 1]) {
            if (tr.occurs && (!second || time(i + 1) < repeatFrom || day.t1 <= repeatFrom))
                continue;
            const double t = findRoot(f, time(i), time(i + 1), west[i], west[i + 1]);
            if (!onDate(t, true, [](const Sky::Topo& p) { return -p.east / p.dist; }))
                continue;
            if (tr.occurs && t < repeatFrom)
                continue;
            Transit& out = tr.occurs ? *second : tr;
            out.occurs = true;
            out.hours = day.hours(t);
            out.clockOffset = day.offsetAt(t);
            out.altitude = sky.at(t, moon).altitude() / ERFA_DD2R;
            if (&out == second)
                return tr;
        }
    }
    return tr;
}

}  // namespace almanac::detail
