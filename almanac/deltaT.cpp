#include "almanac/deltaT.h"

#include <erfam.h>

#include <cmath>

#include "almanac/almanac.h"

namespace almanac {

namespace {

// TT - UT1 at 0h UT on 1 January of each year from 1955 to 2026, seconds.
// 1955-1973: USNO, historic_deltat.data (the values of the Astronomical
// Almanac, section K); 1974-2026: USNO, deltat.data (monthly values of
// TT - UT1 derived from the IERS Earth orientation series), the January
// value of each year.
constexpr int firstObserved = 1955;
constexpr double observed[] = {
    31.07,   31.349,  31.677,  32.166,  32.671,  33.150,  33.584,  33.992,  34.466,  35.030,   // 1955
    35.738,  36.546,  37.429,  38.291,  39.204,  40.182,  41.170,  42.227,  43.373,  44.4841,  // 1965
    45.4761, 46.4567, 47.5214, 48.5344, 49.5861, 50.5387, 51.3808, 52.1668, 52.9565, 53.7882,  // 1975
    54.3427, 54.8713, 55.3222, 55.8197, 56.3000, 56.8553, 57.5653, 58.3092, 59.1218, 59.9845,  // 1985
    60.7853, 61.6287, 62.2950, 62.9659, 63.4673, 63.8285, 64.0908, 64.2998, 64.4734, 64.5736,  // 1995
    64.6876, 64.8452, 65.1464, 65.4573, 65.7768, 66.0699, 66.3246, 66.6030, 66.9069, 67.2810,  // 2005
    67.6439, 68.1024, 68.5927, 68.9676, 69.2202, 69.3612, 69.3594, 69.2945, 69.2039, 69.1752,  // 2015
    69.1377, 69.1099,                                                                          // 2025
};
constexpr int years = sizeof observed / sizeof observed[0];
constexpr int lastObserved = firstObserved + years - 1;

// Espenak, F. and Meeus, J. (2006), "Polynomial expressions for Delta T",
// NASA Five Millennium Canon of Solar Eclipses (NASA/TP-2006-214141): the
// pieces 1900-1961 (from Morrison and Stephenson's observations) and the
// predictions 2005-2050 and 2050-2150. y is the decimal year.
double espenakMeeus(double y)
{
    if (y < 1920) {
        const double t = y - 1900;
        return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - 0.000197 * t)));
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + t * (0.84493 + t * (-0.076100 + 0.0020936 * t));
    }
    if (y < 2005) {  // the 1941-1961 piece; used up to 1955 only
        const double t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
    }
    if (y < 2050) {
        const double t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

double observedAt(int year)
{
    return observed[year - firstObserved];
}

}  // namespace

double deltaT(double jdUt)
{
    const double y = 2000 + (jdUt - 2451544.5) / 365.2425;
    if (y < firstObserved) {
        // The model, brought onto the first observed value over the five
        // years before it, so that the two join without a step.
        const double model = espenakMeeus(y);
        if (y < firstObserved - 5)
            return model;
        return model + (observedAt(firstObserved) - espenakMeeus(firstObserved)) * (y - (firstObserved - 5)) / 5;
    }
    if (y < lastObserved) {
        // Linear between the yearly values.
        const int year = static_cast<int>(std::floor(y));
        const double f = y - year;
        return observedAt(year) + (observedAt(year + 1) - observedAt(year)) * f;
    }
    // Espenak and Meeus's prediction, moved onto the last observed value
    // there and let go again by 2050, where their 2050-2150 piece takes over
    // (the way they join that piece to the long-term parabola at 2150).
    const double model = espenakMeeus(y);
    if (y >= 2050)
        return model;
    return model + (observedAt(lastObserved) - espenakMeeus(lastObserved)) * (2050 - y) / (2050 - lastObserved);
}

namespace detail {

double deltaTDays(double ut)
{
    return deltaT(ut + ERFA_DJ00) / ERFA_DAYSEC;
}

}  // namespace detail

}  // namespace almanac
