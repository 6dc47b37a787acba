// The astronomy engine. Every routine is a plain transcription in double
// arithmetic: the order of the operations below is part of the result, so
// do not regroup sums or products.
#include "engine/prcCalc.h"
#include "engine/summerTime.h"

#include <cmath>

namespace {

// Days before each month of a leap year; index 1..12, closing entry 13.
const int daysBefore[14] = {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366};

const double obliquity = 0.4090928;       // ecliptic to equator (rad)
const double horizonSun = -0.014835;      // sine of the sun's centre altitude at rise/set
const double horizonMoon = 0.0061;        // same for the moon
const double halfTurn = 3.14159;          // folds the horizon hour angle
const double summerShift = 0.26179938774; // one hour as an angle
const double siderealToSolar = 0.99726215;
const double lunation = 29.530589;        // mean synodic month (days)

}  // namespace

TcCalc::TcCalc(const TcMainState& state) : cMain(state) { calcCleate(); }

// calcCleate: sets the three constants.
//  Returned (members): pi, twoPi = 2 pi, degPerRad = 180/pi.
void TcCalc::calcCleate()
{
    pi = 3.141592653589793;
    twoPi = pi * 2;
    degPerRad = 180 / pi;
}

// tjd: Julian day of a calendar date and time of day.
//  Given:  year (0 = 1 BC), month 1..12, day (may carry a fraction; 0 or
//          past the month's end counts on), hour, minute, second.
//  Returns the Julian day. Dates from 1582-10-05 on are Gregorian, earlier
//  ones Julian.
double TcCalc::tjd(int year, int month, double day, int hour, int minute, int second) const
{
    double y, m;
    if (month > 2) {
        y = year;
        m = month;
    } else {
        y = year - 1;
        m = month + 12;
    }
    double B = 0;
    if (static_cast<long long>(year) * 10000 + month * 100 + day >= 15821005) {
        const double A = std::floor(y * 0.01);
        B = 2 - A + std::floor(A * 0.25);
    }
    return std::floor(365.25 * y) + 1720994.5 + std::floor((m + 1) * 30.60001) + day + B
        + hour / 24.0 + minute / 1440.0 + second / 86400.0;
}

// toYMD: calendar date and weekday of a Julian day.
//  Given:    jd, Julian day.
//  Returned: year, month, day (day of month plus the fraction since 0 h).
//  Returns the weekday, 0 = Sunday. Every fourth year counts as a leap year,
//  so the date is exact from 1900-03-01 to 2100-02-28; the weekday always.
int TcCalc::toYMD(double jd, int& year, int& month, double& day) const
{
    const double d = jd - 2415385.5;  // days since 1901-01-01 0 h
    const int q = static_cast<int>(std::floor(d / 1461));
    const int r = static_cast<int>(std::floor(d - 1461.0 * q));
    int yy = r / 365;
    int dd = r % 365;
    if (yy == 4) {  // last day of the cycle's leap year
        dd = dd + 365;
        yy = 3;
    }
    if (yy != 3 && dd > 58)  // common year after February 28
        dd = dd + 1;
    year = 1901 + 4 * q + yy;
    month = 1;
    while (dd >= daysBefore[month + 1])
        ++month;
    dd = dd - daysBefore[month];
    day = (dd + 1) + (d - std::floor(d));
    const double a = d + 2;
    return static_cast<int>(a - 7 * std::floor(a / 7));
}

// pmod: reduces an angle into [0, 2 pi).
//  Given: angle (rad). Returns the angle less whole turns.
double TcCalc::pmod(double angle) const
{
    double r = std::fmod(angle + twoPi + twoPi, twoPi);
    if (r < 0)  // only for angles below -4 pi
        r = r + twoPi;
    return r;
}

// sid: Greenwich mean sidereal time.
//  Given: jd, Julian day (UT). Returns the sidereal time as an angle in
//  [0, 2 pi).
double TcCalc::sid(double jd) const
{
    const double a = jd - 2415020.0;
    const double b = std::floor(a - 0.5) + 0.5;  // preceding 0 h UT
    const double f = a - b;
    const double T = b / 36525;
    const double S0 = 0.276919398 + 100.0021359 * T + 0.00000107523 * (T * T);
    const double R = 1.002737909265 + 0.00000107523 * (0.00005475701574 * T + 7.495827e-10);
    const double S = S0 + f * R;
    return (S - std::floor(S)) * twoPi;
}

// dms: degrees, minutes and seconds of an angle, each floored.
//  Given:    angle (rad).
//  Returned: deg (carries the sign; lost when deg is 0), min, sec.
void TcCalc::dms(double angle, int& deg, int& min, int& sec) const
{
    int sign = 1;
    if (angle < 0) {
        angle = -angle;
        sign = -1;
    }
    double v = angle * 57.29577952;
    deg = static_cast<int>(std::floor(v));
    v = (v - deg) * 60;
    min = static_cast<int>(std::floor(v));
    sec = static_cast<int>(std::floor((v - min) * 60));
    deg = deg * sign;
}

// sun: the sun's ecliptic longitude.
//  Given: jd, Julian day (taken as the series' time). Returns the longitude
//  in [0, 2 pi).
double TcCalc::sun(double jd) const
{
    const double t = (jd - 2442412.5) / 365.25;  // years since 1975 January 0.0
    double L = 4.870093441 + 6.28331923 * t;
    L = L + 0.03343876314 * std::sin(6.222639835 + 6.283028228 * t);
    L = L + 0.0003490658504 * std::sin(6.162059457 + 12.566039 * t);
    return pmod(L);
}

// sMOON: the moon's ecliptic place.
//  Given:    jd, Julian day.
//  Returned: beta, ecliptic latitude (rad); parallax, horizontal parallax (rad).
//  Returns the ecliptic longitude in [0, 2 pi).
double TcCalc::sMOON(double jd, double& beta, double& parallax) const
{
    const double t = (jd - 2442412.5) / 365.25;
    double L = 2.179486885 + 83.9970910752 * t;
    L = L + 0.1097585 * std::sin(5.915182634 + 83.2869129374 * t);
    L = L + 0.02223549467 * std::sin(1.87183071617 - 72.140629469 * t);
    L = L + 0.01148950246 * std::sin(0.90177671791 + 155.427542406 * t);

    beta = 0.08950397 * std::sin(4.12300874527 + 84.3346620127 * t);
    beta = beta + 0.004897394 * std::sin(3.75973591476 + 167.621560987 * t);
    beta = beta + 0.00484677 * std::sin(1.34941876446 + 1.04774907523 * t);

    parallax = 0.01659284519;
    parallax = parallax + 0.00090408055 * std::cos(5.9152699 + 83.2869199 * t);
    parallax = parallax + 0.00016580627 * std::cos(5.01258561171 - 72.1405666371 * t);
    parallax = parallax + 0.00013613568 * std::cos(0.90233522327 + 155.427504009 * t);
    return pmod(L);
}

// ec_to_eq: ecliptic to equatorial coordinates.
//  Given:    lambda, beta, ecliptic longitude and latitude; eps, obliquity (rad).
//  Returned: alpha, right ascension in [0, 2 pi); delta, declination.
void TcCalc::ec_to_eq(double lambda, double beta, double eps, double& alpha, double& delta) const
{
    // Each sine and cosine is taken once; the products keep their order.
    const double cb = std::cos(beta), sb = std::sin(beta);
    const double ce = std::cos(eps), se = std::sin(eps);
    const double sl = std::sin(lambda);
    double X = cb * std::cos(lambda);
    double Y = ce * sl * cb - se * sb;
    const double Z = se * sl * cb + ce * sb;
    delta = std::atan(Z / std::sqrt(1 - Z * Z));
    const double cd = std::cos(delta);
    X = X / cd;
    Y = Y / cd;
    alpha = std::atan(Y / X);
    if (X < 0)
        alpha = alpha + pi;
    if (alpha < 0)
        alpha = alpha + twoPi;
}

// obs: geocentric place of an observer at sea level on the Bessel ellipsoid.
//  Given:    phi, geodetic latitude (rad).
//  Returned: rhoSin, rho sin phi' (km, north positive).
//  Returns rho cos phi' (km), the distance from the Earth's axis.
double TcCalc::obs(double phi, double& rhoSin) const
{
    const double s = std::sin(phi);
    const double N = 6377.39715 / std::sqrt(1 - 0.0066743722 * (s * s));
    rhoSin = N * 0.9933256278 * s;
    return N * std::cos(phi);
}

// tcalc: right ascension and horizon hour angle of the sun or the moon.
//  Given:    kind, 0 = sun, other = moon; t, Julian day; phi, latitude (rad).
//  Returned: H, hour angle of rise/set in 0 .. 3.14159, or noEvent when the
//            body does not cross the horizon.
//  Returns the right ascension (rad).
double TcCalc::tcalc(int kind, double t, double phi, double& H) const
{
    double lambda, beta, parallax;
    if (kind == 0) {
        lambda = sun(t);
        beta = 0;
    } else {
        lambda = sMOON(t, beta, parallax);
    }
    double alpha, delta;
    ec_to_eq(lambda, beta, obliquity, alpha, delta);
    const double s0 = kind == 0 ? horizonSun : horizonMoon;
    const double c = (s0 - std::sin(phi) * std::sin(delta)) / (std::cos(phi) * std::cos(delta));
    if (std::fabs(c) > 1) {
        H = noEvent;
    } else {
        H = std::atan(std::fabs(std::sqrt(1 - c * c) / c));
        if (c < 0)
            H = halfTurn - H;
    }
    return alpha;
}

// zoneAngle: the site's time-zone offset as an angle, plus one hour in the
// local summer (April-September north of the equator, October-March south)
// when the site keeps summer time (flag exactly 1).
double TcCalc::zoneAngle(int month, double phi) const
{
    double Z = (1.0 / 24) * cMain.siteTimeZone * twoPi;
    if (summerTimeApplies(cMain.siteSummerTime, month, phi))
        Z = Z + summerShift;
    return Z;
}

// moonAt: the moon re-evaluated at clock estimate e of the day whose local
// noon is the instant `noon`.
//  Returned: H2, horizon hour angle there (or noEvent).
//  Returns the change of right ascension since noon, wrapped into [-pi, pi).
double TcCalc::moonAt(double noon, double e, double phi, double alphaNoon, double& H2) const
{
    const double alpha = tcalc(1, noon - 0.5 + e / twoPi, phi, H2);
    return pmod(alpha - alphaNoon + pi) - pi;
}

// moonRise: clock angle of moon rise, or noEvent.
//  Given: noon instant, noon transit M, noon horizon hour angle H (> 0),
//  latitude phi, noon right ascension. The rise before the transit is tried
//  first, then the one a turn later; each is refined once and scaled from
//  sidereal to clock measure about noon.
double TcCalc::moonRise(double noon, double M, double H, double phi, double alphaNoon) const
{
    double rise = noEvent;
    double H2;
    double e = M - H;
    if (e > -0.3) {
        const double dA = moonAt(noon, e, phi, alphaNoon, H2);
        rise = pi - (pi - (M + dA - H2)) * siderealToSolar;
        if (!(H2 >= 0 && rise > 0))
            rise = noEvent;
    }
    if (rise < 0) {
        e = M + twoPi - H;
        if (e < 6.6) {
            const double dA = moonAt(noon, e, phi, alphaNoon, H2);
            rise = pi + (M + dA - H2 + pi) * siderealToSolar;
            if (!(H2 >= 0 && rise <= 6.2832))
                rise = noEvent;
        }
    }
    return rise;
}

// moonSet: clock angle of moon set, or noEvent. Same arguments as moonRise;
// the set after the transit one turn before M is tried first, then the set
// after M.
double TcCalc::moonSet(double noon, double M, double H, double phi, double alphaNoon) const
{
    double set = noEvent;
    double H2;
    double e = M + H - twoPi;
    if (e > -0.3) {
        const double dA = moonAt(noon, e, phi, alphaNoon, H2);
        set = pi - (pi - (M + dA + H2 - twoPi)) * siderealToSolar;
        if (!(H2 >= 0 && set > 0))
            set = noEvent;
    }
    if (set < 0) {
        e = M + H;
        if (e < 6.6) {
            const double dA = moonAt(noon, e, phi, alphaNoon, H2);
            set = pi + (M + dA + H2 - pi) * siderealToSolar;
            if (!(H2 >= 0 && set <= 6.2832))
                set = noEvent;
        }
    }
    return set;
}

// mooncalc: the day result of a civil date at the current site.
//  Given:    year, month (1..12), day. The site is read from the main
//            window's state at this call.
//  Returned: result, sun and moon rise/set as clock angles (or noEvent),
//            moon age at local noon, weekday.
void TcCalc::mooncalc(int year, int month, int day, TcDayResult& result) const
{
    const double L = cMain.siteLongitude / degPerRad;
    const double phi = cMain.siteLatitude / degPerRad;
    const double Z = zoneAngle(month, phi);

    const double jd0 = tjd(year, month, day, 0, 0, 0);
    int y, m;
    double d;
    const int weekday = toYMD(jd0, y, m, d);

    const double theta0 = pmod(((jd0 - 2451545.0 + 0.5) - Z / twoPi) * 628.331961 * (1.0 / 36525) + 1.753364748);
    const double noon = jd0 - Z / twoPi + 0.5;

    double H;
    const double alphaSun = tcalc(0, noon, phi, H);
    if (H >= 0) {
        result.sunRise = pmod(alphaSun - L - theta0 + Z - H);
        result.sunSet = pmod(alphaSun - L - theta0 + Z + H);
    } else {
        result.sunRise = noEvent;
        result.sunSet = noEvent;
    }

    const double alphaMoon = tcalc(1, noon, phi, H);
    const double M = pmod(alphaMoon - L - theta0 + Z);  // clock angle of the transit
    result.moonRise = noEvent;
    result.moonSet = noEvent;
    if (H > 0) {
        result.moonRise = moonRise(noon, M, H, phi, alphaMoon);
        result.moonSet = moonSet(noon, M, H, phi, alphaMoon);
    }

    result.moonAge = moonage(noon);
    result.weekday = weekday;
}

// moonage: days since the last mean new moon, with one periodic correction.
//  Given: t, Julian day. Returns the age in [0, 29.530589).
double TcCalc::moonage(double t) const
{
    const double x = t;
    const double y = x + 30 * std::sin((x + 1800) * (1 / 3232.606) * twoPi);
    const double p = 0.4 * std::sin((1 / 411.5848152) * y * twoPi + 1.3);
    const double q = 1 + 0.4 * std::sin((x + 950) * (1 / 3232.606) * twoPi);
    const double z = x + p / q + 510988.117;
    double age = z - std::floor(z * (1 / lunation)) * lunation;
    // Next to a new moon the rounded quotient can land on the wrong side of
    // a whole number, leaving a hair below 0 or a full lunation. (Not seen for
    // the years 1901-2099, but it happens at other instants.)
    if (age < 0)
        age = age + lunation;
    if (age >= lunation)
        age = age - lunation;
    return age;
}
