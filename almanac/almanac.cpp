#include "almanac/almanac.h"

#include <erfa.h>
#include <erfam.h>

#include <climits>
#include <cmath>

#include "engine/summerTime.h"

namespace almanac {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2 * pi;
constexpr double deg = pi / 180;
constexpr double refraction = (35 + 8.0 / 60) / 60 * deg;  // 35'08"
constexpr double sunRadiusAu = 696000e3 / ERFA_DAU;         // 959.63" at 1 au
constexpr double lunation = 29.530588861;                   // mean synodic month, days
constexpr double moonMassShare = 1 / (1 + 81.300568);       // moon / (earth + moon)

// Days from J2000.0 (JD 2451545.0) are the time argument everywhere below;
// "ut" marks UT1, "tt" Terrestrial Time.

double wrapPi(double a)  // into [-pi, pi)
{
    return a - twoPi * std::floor((a + pi) / twoPi);
}

// --- Ephemeris nodes -------------------------------------------------------
// Positions are taken from ERFA on fixed grids of TT and interpolated with
// six-point Lagrange polynomials: the moon and the sun every day, the
// Earth-moon barycentre (smooth, so every fifteen days) under the sun's nodes.
// Halving the steps (0.5 and 10 days) changes no time by more than 0.1 s. A
// node is a pure function of its index, so the cache only saves time: results
// never depend on what was computed before.

struct Node {
    long long k = LLONG_MIN;
    double p[3];  // position, au
    double v[3];  // moon: unused; barycentre: the Earth's barycentric velocity, au/day
};

constexpr double moonStep = 1.0;
constexpr double baryStep = 15.0;

template <int N>
struct NodeCache {
    Node slot[N];
};

thread_local NodeCache<128> moonCache;
thread_local NodeCache<32> baryCache;

// The moon's geocentric GCRS place, corrected for light time.
const Node& moonNode(long long k)
{
    Node& n = moonCache.slot[k & 127];
    if (n.k != k) {
        double pv[2][3];
        eraMoon98(ERFA_DJ00, k * moonStep, pv);
        const double tau = std::sqrt(pv[0][0] * pv[0][0] + pv[0][1] * pv[0][1] + pv[0][2] * pv[0][2]) * ERFA_AULT /
                           ERFA_DAYSEC;
        for (int i = 0; i < 3; ++i)
            n.p[i] = pv[0][i] - pv[1][i] * tau;
        n.k = k;
    }
    return n;
}

// The heliocentric place of the Earth-moon barycentre and the Earth's
// barycentric velocity.
const Node& baryNode(long long k)
{
    Node& n = baryCache.slot[k & 31];
    if (n.k != k) {
        double pvh[2][3], pvb[2][3], moon[2][3];
        const double t = k * baryStep;
        eraEpv00(ERFA_DJ00, t, pvh, pvb);
        eraMoon98(ERFA_DJ00, t, moon);
        for (int i = 0; i < 3; ++i) {
            n.p[i] = pvh[0][i] + moonMassShare * moon[0][i];
            n.v[i] = pvb[1][i];
        }
        n.k = k;
    }
    return n;
}

// Six-point Lagrange interpolation at tt on a grid of the given step:
// nodes k-2 .. k+3 around the interval [k, k+1) that holds tt.
template <typename NodeAt>
void interpolate(double tt, double step, NodeAt nodeAt, double p[3], double* v)
{
    const double x = tt / step;
    const long long k = static_cast<long long>(std::floor(x));
    const double u = x - static_cast<double>(k);
    double w[6];
    for (int j = 0; j < 6; ++j) {
        double num = 1, den = 1;
        for (int m = 0; m < 6; ++m)
            if (m != j) {
                num *= u - (m - 2);
                den *= j - m;
            }
        w[j] = num / den;
    }
    p[0] = p[1] = p[2] = 0;
    if (v)
        v[0] = v[1] = v[2] = 0;
    for (int j = 0; j < 6; ++j) {
        const Node& n = nodeAt(k - 2 + j);
        for (int i = 0; i < 3; ++i) {
            p[i] += w[j] * n.p[i];
            if (v)
                v[i] += w[j] * n.v[i];
        }
    }
}

// The moon's apparent geocentric GCRS position (au) at tt.
void moonAt(double tt, double m[3])
{
    interpolate(tt, moonStep, moonNode, m, nullptr);
}

thread_local NodeCache<128> sunCache;

// The sun's apparent geocentric GCRS place (aberration included) on the
// moon's grid: the Earth is the barycentre less the moon's share.
const Node& sunNode(long long k)
{
    Node& n = sunCache.slot[k & 127];
    if (n.k != k) {
        const double tt = k * moonStep;
        const double* moon = moonNode(k).p;
        double bary[3], vb[3], dir[3], v[3];
        interpolate(tt, baryStep, baryNode, bary, vb);
        double v2 = 0;
        for (int i = 0; i < 3; ++i) {
            dir[i] = -(bary[i] - moonMassShare * moon[i]);  // Earth to sun
            v[i] = vb[i] * ERFA_AULT / ERFA_DAYSEC;          // in units of c
            v2 += v[i] * v[i];
        }
        const double r = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2]);
        for (double& c : dir)
            c /= r;
        eraAb(dir, v, r, std::sqrt(1 - v2), n.p);
        for (double& c : n.p)
            c *= r;
        n.k = k;
    }
    return n;
}

// The sun's apparent geocentric GCRS position (au) at tt.
void sunAt(double tt, double s[3])
{
    interpolate(tt, moonStep, sunNode, s, nullptr);
}

// --- Moon phases -----------------------------------------------------------

// Moon minus sun in apparent ecliptic longitude of date at tt, radians,
// less target, wrapped into [-pi, pi). Nutation moves both alike and is left
// out.
double elongation(double tt, double target)
{
    double m[3], s[3], ecm[3][3], me[3], se[3];
    moonAt(tt, m);
    sunAt(tt, s);
    eraEcm06(ERFA_DJ00, tt, ecm);
    eraRxp(ecm, m, me);
    eraRxp(ecm, s, se);
    return wrapPi(std::atan2(me[1], me[0]) - std::atan2(se[1], se[0]) - target);
}

// The instant (tt) nearest the estimate at which the elongation reaches
// target: secant steps from the mean rate.
double solvePhase(double estimate, double target)
{
    double t0 = estimate;
    double f0 = elongation(t0, target);
    double t1 = t0 - f0 / (twoPi / lunation);
    for (int i = 0; i < 20; ++i) {
        const double f1 = elongation(t1, target);
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

// New moons (tt) on either side of tt: prev <= tt < next, cached for the
// days that follow. Each is solved to 1e-8 day, so where the search started
// does not show in any printed figure.
struct NewMoons {
    double prev = 1, next = 0;
};
thread_local NewMoons newMoons;

double previousNewMoon(double tt)
{
    NewMoons& c = newMoons;
    if (!(c.prev <= tt && tt < c.next)) {
        double e = elongation(tt, 0);
        if (e < 0)
            e += twoPi;
        double prev = solvePhase(tt - e / (twoPi / lunation), 0);
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

// The site's view on one day: the frame of date is fixed at the day's middle,
// the sidereal time runs at the Earth's rate from the day's start, positions
// are interpolated.
struct Sky {
    double rnpb[3][3];      // GCRS to true equator and equinox of date
    double dt;              // TT - UT1, days
    double t0;              // UT1 of the day's start
    double lst0;            // local apparent sidereal time there, radians
    double cosLat, sinLat;  // geodetic latitude
    double rhoCos, rhoSin;  // the site from the Earth's axis and equator, au

    // Topocentric components of the body (au): up, towards east and north,
    // and towards the meridian in the equator's plane.
    struct Topo {
        double up, east, north, meridian, dist;
        double altitude() const { return std::asin(up / dist); }
        double azimuth() const  // degrees from north through east
        {
            const double a = std::atan2(east, north) / deg;
            return a < 0 ? a + 360 : a;
        }
    };

    Topo at(double ut, bool moon) const
    {
        double p[3];
        const double tt = ut + dt;
        if (moon)
            moonAt(tt, p);
        else
            sunAt(tt, p);
        double g[3];
        for (int i = 0; i < 3; ++i)
            g[i] = rnpb[i][0] * p[0] + rnpb[i][1] * p[1] + rnpb[i][2] * p[2];
        const double theta = lst0 + 6.300388098984891 * (ut - t0);  // 2 pi x 1.00273781191135448
        const double c = std::cos(theta), s = std::sin(theta);
        const double d0 = g[0] - rhoCos * c, d1 = g[1] - rhoCos * s, d2 = g[2] - rhoSin;
        Topo r;
        r.east = -s * d0 + c * d1;
        r.meridian = c * d0 + s * d1;
        r.north = -sinLat * r.meridian + cosLat * d2;
        r.up = cosLat * r.meridian + sinLat * d2;
        r.dist = std::sqrt(d0 * d0 + d1 * d1 + d2 * d2);
        return r;
    }
};

constexpr int samples = 48;  // every half hour

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

// The day of one body: samples every half hour of the local day of the sine
// of the altitude and of the sine of the hour angle (east of the meridian
// negative), from which the crossings of any altitude and the transit are
// found.
struct BodyDay {
    const Sky& sky;
    bool moon;
    double t0;  // ut of 0:00 local clock
    double up[samples + 1];
    double west[samples + 1];
    bool south[samples + 1];  // on the meridian's side of the upper transit

    BodyDay(const Sky& s, bool isMoon, double start) : sky(s), moon(isMoon), t0(start)
    {
        for (int i = 0; i <= samples; ++i) {
            const Sky::Topo p = sky.at(time(i), moon);
            up[i] = p.up / p.dist;
            west[i] = -p.east / p.dist;
            south[i] = p.meridian > 0;
        }
    }

    double time(int i) const { return t0 + double(i) / samples; }

    double clock(double t) const { return std::fmin((t - t0) * 24, std::nextafter(24.0, 0.0)); }

    // The first rise and the first set through altitude h0 on the day.
    void crossings(double h0, Crossing& rise, Crossing& set) const
    {
        rise = Crossing{};
        set = Crossing{};
        const double s0 = std::sin(h0);
        bool seenRise = false, seenSet = false;
        auto f = [&](double t) {
            const Sky::Topo p = sky.at(t, moon);
            return p.up / p.dist - s0;
        };
        auto record = [&](double a, double b, double fa, double fb) {
            const bool rising = fa < 0;
            if (rising ? seenRise : seenSet)
                return;
            const double t = findRoot(f, a, b, fa, fb);
            if (t < t0 || t >= t0 + 1)
                return;
            Crossing& c = rising ? rise : set;
            (rising ? seenRise : seenSet) = true;
            c.occurs = Occurs::Yes;
            c.hours = clock(t);
            c.azimuth = sky.at(t, moon).azimuth();
        };
        for (int i = 0; i < samples; ++i) {
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

    // The first upper culmination on the day: the hour angle passing zero
    // from east to west.
    Transit transit() const
    {
        Transit tr;
        auto f = [&](double t) {
            const Sky::Topo p = sky.at(t, moon);
            return -p.east / p.dist;
        };
        for (int i = 0; i < samples; ++i) {
            if (west[i] < 0 && west[i + 1] >= 0 && south[i] && south[i + 1]) {
                const double t = findRoot(f, time(i), time(i + 1), west[i], west[i + 1]);
                if (t < t0 || t >= t0 + 1)
                    continue;
                tr.occurs = true;
                tr.hours = clock(t);
                tr.altitude = sky.at(t, moon).altitude() / deg;
                return tr;
            }
        }
        return tr;
    }
};

// UT1 (days from J2000) of 0:00 local clock on a civil date.
double dayStart(int year, int month, int day, double offsetHours)
{
    double djm0, djm;
    eraCal2jd(year, month, day, &djm0, &djm);
    return (djm0 - ERFA_DJ00) + djm - offsetHours / 24;
}

}  // namespace

double deltaT(double jdUt)
{
    // Espenak, F. and Meeus, J. (2006), "Polynomial expressions for Delta T",
    // NASA Five Millennium Canon of Solar Eclipses (NASA/TP-2006-214141),
    // the pieces from 1900 to 2150. y is the decimal year.
    const double y = 2000 + (jdUt - 2451544.5) / 365.2425;
    if (y < 1920) {
        const double t = y - 1900;
        return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - 0.000197 * t)));
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + t * (0.84493 + t * (-0.076100 + 0.0020936 * t));
    }
    if (y < 1961) {
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 1986) {
        const double t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
    }
    if (y < 2005) {
        const double t = y - 2000;
        return 63.86 + t * (0.3345 + t * (-0.060374 + t * (0.0017275 + t * (0.000651814 + 0.00002373599 * t))));
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

double clockOffset(const Site& site, int month)
{
    return site.timeZone + (summerTimeApplies(site.summerTime, month, site.latitude) ? 1.0 : 0.0);
}

Day computeDay(const Site& site, int year, int month, int day)
{
    Day d;
    d.year = year;
    d.month = month;
    d.day = day;
    d.clockOffset = clockOffset(site, month);
    const double t0 = dayStart(year, month, day, d.clockOffset);

    Sky sky;
    sky.dt = deltaT(t0 + 0.5 + ERFA_DJ00) / ERFA_DAYSEC;
    eraPnm00b(ERFA_DJ00, t0 + 0.5 + sky.dt, sky.rnpb);
    sky.t0 = t0;
    const double lat = site.latitude * deg, lon = std::remainder(site.longitude, 360.0) * deg;
    sky.lst0 = eraGst00b(ERFA_DJ00, t0) + lon;
    sky.cosLat = std::cos(lat);
    sky.sinLat = std::sin(lat);
    double xyz[3];
    eraGd2gc(ERFA_WGS84, 0, lat, 0, xyz);
    sky.rhoCos = xyz[0] / ERFA_DAU;
    sky.rhoSin = xyz[2] / ERFA_DAU;

    const BodyDay sun(sky, false, t0);
    const double sunDistance = sky.at(t0 + 0.5, false).dist;  // for the semi-diameter
    sun.crossings(-(refraction + std::asin(sunRadiusAu / sunDistance)), d.sunRise, d.sunSet);
    sun.crossings(-6 * deg, d.civilDawn, d.civilDusk);
    sun.crossings(-12 * deg, d.nauticalDawn, d.nauticalDusk);
    sun.crossings(-18 * deg, d.astronomicalDawn, d.astronomicalDusk);
    d.sunTransit = sun.transit();

    const BodyDay moon(sky, true, t0);
    moon.crossings(-refraction, d.moonRise, d.moonSet);
    d.moonTransit = moon.transit();

    // Age and illuminated fraction at 12:00 local clock.
    const double noon = t0 + 0.5, noonTt = noon + sky.dt;
    const double newTt = previousNewMoon(noonTt);
    d.moonAge = noon - (newTt - deltaT(newTt + ERFA_DJ00) / ERFA_DAYSEC);
    double m[3], s[3];
    moonAt(noonTt, m);
    sunAt(noonTt, s);
    double dot = 0, mm = 0, ms = 0;
    for (int i = 0; i < 3; ++i) {
        const double toSun = s[i] - m[i];
        dot += toSun * -m[i];
        mm += m[i] * m[i];
        ms += toSun * toSun;
    }
    d.moonIllumination = (1 + dot / std::sqrt(mm * ms)) / 2;
    return d;
}

std::vector<PhaseEvent> monthPhases(const Site& site, int year, int month)
{
    std::vector<PhaseEvent> out;
    const int nextYear = month == 12 ? year + 1 : year, nextMonth = month == 12 ? 1 : month + 1;
    const double first = dayStart(year, month, 1, 14) - 1, last = dayStart(nextYear, nextMonth, 1, -14) + 1;
    // Mean new moon of 2000-01-06 (TT, days from J2000), then quarter steps.
    const double epoch = 5.09766;
    const long long k0 = static_cast<long long>(std::floor((first - epoch) / lunation));
    for (long long k = k0; epoch + double(k) * lunation < last + 1; ++k)
        for (int q = 0; q < 4; ++q) {
            const double estimate = epoch + (double(k) + q / 4.0) * lunation;
            if (estimate < first - 1 || estimate > last + 1)
                continue;
            const double tt = solvePhase(estimate, q * pi / 2);
            const double ut = tt - deltaT(tt + ERFA_DJ00) / ERFA_DAYSEC;
            if (ut < first || ut > last)
                continue;
            // The local date by standard time picks the month, and so the
            // summer-time rule, of the offset.
            int iy, im, id;
            double fd;
            eraJd2cal(ERFA_DJ00, ut + site.timeZone / 24, &iy, &im, &id, &fd);
            const double offset = clockOffset(site, im);
            const long long minutes = std::llround((ut + offset / 24 + ERFA_DJ00 - 2400000.5) * 1440);
            const long long mjd = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
            eraJd2cal(2400000.5, double(mjd), &iy, &im, &id, &fd);
            if (iy != year || im != month)
                continue;
            PhaseEvent e;
            e.phase = static_cast<Phase>(q);
            e.jdUt = ut + ERFA_DJ00;
            e.year = iy;
            e.month = im;
            e.day = id;
            const long long minuteOfDay = minutes - mjd * 1440;
            e.hour = static_cast<int>(minuteOfDay / 60);
            e.minute = static_cast<int>(minuteOfDay % 60);
            e.clockOffset = offset;
            out.push_back(e);
        }
    return out;
}

}  // namespace almanac
