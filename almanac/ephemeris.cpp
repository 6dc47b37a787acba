#include "almanac/ephemeris.h"

#include <erfa.h>
#include <erfam.h>

#include <climits>
#include <cmath>

namespace almanac::ephemeris {

namespace {

// Earth/Moon mass ratio 81.300568, the inverse of the moon/earth mass ratio
// 1.23000371e-2 of the IAU 2009 System of Astronomical Constants (Luzum et
// al. 2011, Celest. Mech. Dyn. Astr. 110, 293; IERS Conventions 2010,
// table 1.1). The moon's share of the Earth-moon barycentre:
constexpr double moonMassShare = 1 / (1 + 81.300568);  // moon / (earth + moon)

// Positions are taken from ERFA on fixed grids of TT and interpolated with
// six-point Lagrange polynomials: the moon and the sun every day, the
// Earth-moon barycentre (smooth, so every eight days) under the sun's nodes.
// Against eraEpv00 evaluated at each instant the sun's direction differs by
// at most 0.004" (1901-2099); at fifteen days it was off by up to 0.15",
// which moves a solar term by up to 4 s though no rise or set. A
// node is a pure function of its index, so the cache only saves time: results
// never depend on what was computed before.

struct Node {
    long long k = LLONG_MIN;
    double p[3];  // position, au
    double v[3];  // moon: its geocentric velocity; barycentre: its barycentric velocity, au/day
};

constexpr double moonStep = 1.0;   // days
constexpr double baryStep = 8.0;   // days

template <int N>
struct NodeCache {
    Node slot[N];
};

// Caches of 512 days and 256 x 8 days: the Japanese calendar of a year asks
// for the sun and the moon over two years and more, back and forth.
thread_local NodeCache<512> moonCache;
thread_local NodeCache<256> baryCache;

// The moon's geocentric GCRS place, corrected for light time.
const Node& moonNode(long long k)
{
    Node& n = moonCache.slot[k & 511];
    if (n.k != k) {
        double pv[2][3];
        eraMoon98(ERFA_DJ00, k * moonStep, pv);
        const double tau = std::sqrt(pv[0][0] * pv[0][0] + pv[0][1] * pv[0][1] + pv[0][2] * pv[0][2]) * ERFA_AULT /
                           ERFA_DAYSEC;
        for (int i = 0; i < 3; ++i) {
            n.p[i] = pv[0][i] - pv[1][i] * tau;
            n.v[i] = pv[1][i];
        }
        n.k = k;
    }
    return n;
}

// The heliocentric place and the barycentric velocity of the Earth-moon
// barycentre: smooth, unlike the Earth's, which the moon swings monthly.
const Node& baryNode(long long k)
{
    Node& n = baryCache.slot[k & 255];
    if (n.k != k) {
        double pvh[2][3], pvb[2][3], moon[2][3];
        const double t = k * baryStep;
        // Its range warning is read once a day by withinRange.
        eraEpv00(ERFA_DJ00, t, pvh, pvb);
        eraMoon98(ERFA_DJ00, t, moon);
        for (int i = 0; i < 3; ++i) {
            n.p[i] = pvh[0][i] + moonMassShare * moon[0][i];
            n.v[i] = pvb[1][i] + moonMassShare * moon[1][i];
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

thread_local NodeCache<512> sunCache;

// The sun's apparent geocentric GCRS place (aberration included) on the
// moon's grid: the Earth is the barycentre less the moon's share (the
// moon's place there is the one seen, a light time of 1.3 s earlier: 16 m
// off for the Earth). The sun's own motion about the barycentre during the
// light time (about 6 km) is below 0.01" and left out.
const Node& sunNode(long long k)
{
    Node& n = sunCache.slot[k & 511];
    if (n.k != k) {
        const double tt = k * moonStep;
        const Node& moon = moonNode(k);
        double bary[3], vb[3], dir[3], v[3];
        interpolate(tt, baryStep, baryNode, bary, vb);
        double v2 = 0;
        for (int i = 0; i < 3; ++i) {
            dir[i] = -(bary[i] - moonMassShare * moon.p[i]);                 // Earth to sun
            v[i] = (vb[i] - moonMassShare * moon.v[i]) * ERFA_AULT / ERFA_DAYSEC;  // in units of c
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

// The longitude of a GCRS vector on the ecliptic and mean equinox of date,
// given the rotation there (eraEcm06).
double eclipticLongitude(double rm[3][3], double p[3])
{
    double q[3];
    eraRxp(rm, p, q);
    return std::atan2(q[1], q[0]);
}

}  // namespace

double sunLongitude(double tt)
{
    double s[3], rm[3][3], dpsi, deps;
    sunAt(tt, s);
    eraEcm06(ERFA_DJ00, tt, rm);
    eraNut00b(ERFA_DJ00, tt, &dpsi, &deps);
    // Nutation moves the equinox along the ecliptic of date by dpsi.
    return eraAnp(eclipticLongitude(rm, s) + dpsi);
}

double elongation(double tt)
{
    double m[3], s[3], rm[3][3];
    moonAt(tt, m);
    sunAt(tt, s);
    eraEcm06(ERFA_DJ00, tt, rm);
    return eraAnpm(eclipticLongitude(rm, m) - eclipticLongitude(rm, s));
}

bool withinRange(double tt)
{
    double pvh[2][3], pvb[2][3];
    return eraEpv00(ERFA_DJ00, tt, pvh, pvb) == 0;
}

void moonAt(double tt, double m[3])
{
    interpolate(tt, moonStep, moonNode, m, nullptr);
}

void sunAt(double tt, double s[3])
{
    interpolate(tt, moonStep, sunNode, s, nullptr);
}

}  // namespace almanac::ephemeris
