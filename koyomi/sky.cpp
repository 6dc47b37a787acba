#include "koyomi/sky.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "almanac/almanac.h"
#include "almanac/ephemeris.h"
#include "almanac/search.h"

namespace koyomi {

using almanac::detail::lunation;

namespace {

constexpr double kDegPerRad = 180 / ERFA_DPI;
constexpr double kMoonRadiusKm = 1737.4;  // IAU WGCCRE 2015, mean radius

double ut(double jdTt) { return jdTt - almanac::deltaT(jdTt) / ERFA_DAYSEC; }

}  // namespace

double sunLongitude(double jdTt)
{
    return almanac::ephemeris::sunLongitude(jdTt - ERFA_DJ00) * kDegPerRad;
}

double elongation(double jdTt)
{
    return eraAnp(almanac::ephemeris::elongation(jdTt - ERFA_DJ00)) * kDegPerRad;
}

double sunReachesUt(double degrees, double jdUtEstimate)
{
    const double tt = almanac::detail::solveAngle(almanac::ephemeris::sunLongitude, degrees / kDegPerRad,
                                                  ttOf(jdUtEstimate) - ERFA_DJ00,
                                                  ERFA_D2PI / almanac::detail::tropicalYear);
    return ut(tt + ERFA_DJ00);
}

double newMoonUt(double jdUtEstimate)
{
    return ut(almanac::detail::solvePhase(ttOf(jdUtEstimate) - ERFA_DJ00, 0) + ERFA_DJ00);
}

double newMoonAfterDate(long jdn)
{
    // The mean new moons (almanac/search.h): the first after the date, and
    // the true one near it, stepping on when the true one is not after the
    // date.
    const double start = double(jdn) + 0.5 - kJst;  // 0h JST of the next date
    const double epoch = ERFA_DJ00 + almanac::detail::meanNewMoonEpoch;
    const double k = std::ceil((start - epoch) / lunation);
    double t = newMoonUt(epoch + k * lunation);
    while (jstDate(t) <= jdn)
        t = newMoonUt(t + lunation);
    while (true) {
        const double before = newMoonUt(t - lunation);
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

long jstDate(double jdUt)
{
    return static_cast<long>(std::floor(jdUt + kJst + 0.5));
}

}  // namespace koyomi
