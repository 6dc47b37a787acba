#include "koyomi/sky.h"

#include <erfa.h>
#include <erfam.h>

#include <climits>
#include <cmath>

#include "almanac/almanac.h"

namespace koyomi {

namespace {

constexpr double kDegPerRad = 180 / ERFA_DPI;
constexpr double kLunation = 29.530588861;       // mean synodic month, days
constexpr double kTropicalYear = 365.242189;     // mean tropical year, days
constexpr double kMoonRadiusKm = 1737.4;         // IAU WGCCRE 2015, mean radius

double ut(double jdTt) { return jdTt - almanac::deltaT(jdTt) / ERFA_DAYSEC; }

// Longitude of a GCRS vector on the ecliptic and mean equinox of date.
double meanEclipticLongitude(double jdTt, double p[3])
{
    double rm[3][3], q[3];
    eraEcm06(ERFA_DJ00, jdTt - ERFA_DJ00, rm);
    eraRxp(rm, p, q);
    return std::atan2(q[1], q[0]);
}

// --- The Earth on a grid ------------------------------------------------
// eraEpv00 is costly (about 90 us), and a year of the calendar asks for the
// sun some thousands of times. The Earth-moon barycentre, which moves
// smoothly, is taken from it on a grid of TT (every kStep days from J2000)
// and interpolated with six-point Lagrange polynomials; the Earth is the
// barycentre less the moon's share (eraMoon98). Against the direct
// evaluation the sun's longitude differs by less than 0.02" (measured over
// 1901-2099). A node is a pure function of its index, so the cache never
// changes a result.

constexpr double kStep = 8.0;
constexpr double kMoonShare = 1 / (1 + 81.30056);  // moon / (Earth + moon), IAU 2009 mass ratio

struct BaryNode {
    long long k = LLONG_MIN;
    double f[6];  // heliocentric position (au), barycentric velocity (au/day)
};

const BaryNode& baryNode(long long k)
{
    thread_local BaryNode cache[256];
    BaryNode& n = cache[k & 255];
    if (n.k != k) {
        double pvh[2][3], pvb[2][3], moon[2][3];
        const double t = double(k) * kStep;
        eraEpv00(ERFA_DJ00, t, pvh, pvb);
        eraMoon98(ERFA_DJ00, t, moon);
        for (int i = 0; i < 3; ++i) {
            n.f[i] = pvh[0][i] + kMoonShare * moon[0][i];
            n.f[3 + i] = pvb[1][i] + kMoonShare * moon[1][i];
        }
        n.k = k;
    }
    return n;
}

// The Earth's heliocentric position and barycentric velocity at jdTt.
void earthAt(double jdTt, double f[6])
{
    const double x = (jdTt - ERFA_DJ00) / kStep;
    const long long k = static_cast<long long>(std::floor(x));
    const double u = x - double(k);
    for (int i = 0; i < 6; ++i)
        f[i] = 0;
    for (int j = 0; j < 6; ++j) {
        double w = 1;
        for (int m = 0; m < 6; ++m)
            if (m != j)
                w *= (u - (m - 2)) / (j - m);
        const BaryNode& n = baryNode(k - 2 + j);
        for (int i = 0; i < 6; ++i)
            f[i] += w * n.f[i];
    }
    double moon[2][3];
    eraMoon98(ERFA_DJ00, jdTt - ERFA_DJ00, moon);
    for (int i = 0; i < 3; ++i) {
        f[i] -= kMoonShare * moon[0][i];
        f[3 + i] -= kMoonShare * moon[1][i];
    }
}

// The sun's apparent GCRS direction (aberration included, au).
void sunApparent(double jdTt, double s[3])
{
    double f[6];
    earthAt(jdTt, f);
    // Earth to sun: the heliocentric Earth reversed. The sun's own motion
    // about the barycentre during the light time (about 6 km) is below
    // 0.01" and left out.
    double dir[3], v[3], r, v2 = 0;
    for (int i = 0; i < 3; ++i) {
        dir[i] = -f[i];
        v[i] = f[3 + i] * ERFA_AULT / ERFA_DAYSEC;  // in units of c
        v2 += v[i] * v[i];
    }
    eraPn(dir, &r, dir);
    eraAb(dir, v, r, std::sqrt(1 - v2), s);
}

// The moon's geocentric GCRS position (au) less its motion in the light time.
void moonPosition(double jdTt, double m[3], double* distanceAu = nullptr)
{
    double pv[2][3];
    eraMoon98(ERFA_DJ00, jdTt - ERFA_DJ00, pv);
    const double r = eraPm(pv[0]);
    const double tau = r * ERFA_AULT / ERFA_DAYSEC;
    for (int i = 0; i < 3; ++i)
        m[i] = pv[0][i] - pv[1][i] * tau;
    if (distanceAu)
        *distanceAu = r;
}

double wrap360(double degrees)
{
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360 : d;
}

double wrap180(double degrees)  // into [-180, 180)
{
    return wrap360(degrees + 180) - 180;
}

// The TT instant near estimate where f(t) (degrees) reaches target: secant
// steps, the first from the mean rate (degrees a day).
template <typename F>
double solve(F f, double target, double estimate, double rate)
{
    double t0 = estimate, f0 = wrap180(f(t0) - target);
    double t1 = t0 - f0 / rate;
    for (int i = 0; i < 12; ++i) {
        const double f1 = wrap180(f(t1) - target);
        if (f1 == f0)
            break;
        const double t2 = t1 - f1 * (t1 - t0) / (f1 - f0);
        t0 = t1;
        f0 = f1;
        t1 = t2;
        if (std::fabs(t1 - t0) < 1e-7)  // 9 ms
            break;
    }
    return t1;
}

}  // namespace

double sunLongitude(double jdTt)
{
    // Nutation IAU 2000B (eraNut00b): within 1 mas of IAU 2000A over
    // 1995-2050 and a few mas over the centuries, at a tenth of the cost.
    double s[3], dpsi, deps;
    sunApparent(jdTt, s);
    eraNut00b(ERFA_DJ00, jdTt - ERFA_DJ00, &dpsi, &deps);
    // Nutation moves the equinox along the ecliptic of date by dpsi.
    return wrap360((meanEclipticLongitude(jdTt, s) + dpsi) * kDegPerRad);
}

double elongation(double jdTt)
{
    // Nutation shifts both longitudes alike and cancels.
    double s[3], m[3];
    sunApparent(jdTt, s);
    moonPosition(jdTt, m);
    return wrap360((meanEclipticLongitude(jdTt, m) - meanEclipticLongitude(jdTt, s)) * kDegPerRad);
}

double sunReachesUt(double degrees, double jdUtEstimate)
{
    return ut(solve(sunLongitude, degrees, ttOf(jdUtEstimate), 360 / kTropicalYear));
}

double newMoonUt(double jdUtEstimate)
{
    return ut(solve(elongation, 0.0, ttOf(jdUtEstimate), 360 / kLunation - 360 / kTropicalYear));
}

double newMoonAfterDate(long jdn)
{
    // Mean new moon of 2000-01-06 18:14 UT (JD 2451550.26), then whole
    // lunations: the first mean new moon after the date, and the true one
    // near it, stepping on when the true one is not after the date.
    const double start = double(jdn) + 0.5 - kJst;  // 0h JST of the next date
    const double k = std::ceil((start - 2451550.26) / kLunation);
    double t = newMoonUt(2451550.26 + k * kLunation);
    while (jstDate(t) <= jdn)
        t = newMoonUt(t + kLunation);
    while (true) {
        const double before = newMoonUt(t - kLunation);
        if (jstDate(before) <= jdn)
            return t;
        t = before;
    }
}

double moonDistanceKm(double jdUt)
{
    double pv[2][3];
    eraMoon98(ERFA_DJ00, ttOf(jdUt) - ERFA_DJ00, pv);
    return eraPm(pv[0]) * ERFA_DAU / 1000;
}

double moonDiameterArcmin(double distanceKm)
{
    return 2 * std::asin(kMoonRadiusKm / distanceKm) * kDegPerRad * 60;
}

std::vector<Apsis> monthApsides(int year, int month)
{
    // The radial velocity changes sign at each apsis: scan it every six
    // hours over the month and bisect each change to 1 s.
    const auto radial = [](double jdUt) {
        double pv[2][3];
        eraMoon98(ERFA_DJ00, ttOf(jdUt) - ERFA_DJ00, pv);
        return eraPdp(pv[0], pv[1]);
    };
    const long first = julianDayNumber(year, month, 1);
    const long next = month == 12 ? julianDayNumber(year + 1, 1, 1) : julianDayNumber(year, month + 1, 1);
    std::vector<Apsis> out;
    const double step = 0.25;
    double a = double(first) - 0.5 - kJst - step, fa = radial(a);
    while (a < double(next) - 0.5 - kJst) {
        double b = a + step, fb = radial(b);
        if ((fa < 0) != (fb < 0)) {
            const bool perigee = fa < 0;
            double lo = a, hi = b;
            while (hi - lo > 1.0 / ERFA_DAYSEC) {
                const double mid = (lo + hi) / 2;
                ((radial(mid) < 0) == (fa < 0) ? lo : hi) = mid;
            }
            const double t = (lo + hi) / 2;
            const long d = jstDate(t);
            if (d >= first && d < next)
                out.push_back({perigee, t, moonDistanceKm(t)});
        }
        a = b;
        fa = fb;
    }
    return out;
}

double ttOf(double jdUt)
{
    return jdUt + almanac::deltaT(jdUt) / ERFA_DAYSEC;
}

long julianDayNumber(int year, int month, int day)
{
    double djm0, djm;
    eraCal2jd(year, month, day, &djm0, &djm);
    return static_cast<long>(djm0 + djm + 0.5);
}

void civilDate(long jdn, int& year, int& month, int& day)
{
    double fd;
    eraJd2cal(double(jdn), 0.0, &year, &month, &day, &fd);
}

long jstDate(double jdUt)
{
    return static_cast<long>(std::floor(jdUt + kJst + 0.5));
}

int weekday(long jdn)
{
    return static_cast<int>((jdn + 1) % 7);
}

}  // namespace koyomi
