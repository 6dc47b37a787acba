// TcCalc: the astronomy engine. Julian days and the calendar, low-precision
// places of the sun and the moon, rise and set times at a site, moon age.
//
// Angles are radians; instants are Julian days taken as universal time.
// Operations return one value and hand further values back through
// out-parameters; none checks its inputs.
//
// The only entry used by the rest of the program is mooncalc, which reads the
// current site from the main window's state at every call.
//
// Names here and in the windows keep the program's original conventions:
// classes Tc<role> with one instance c<role>, handlers func<action>, the
// engine's short astronomical operation names (tjd, toYMD, sMOON, tcalc, ...),
// the creation handler calcCleate, and flags held as int (helpAvailable,
// siteFileMissing). They are the names the program has always had; keep them.
#pragma once

#include "app/mainState.h"

// One day's result, in this order. Times are clock angles (0 = 0:00,
// pi = 12:00, 2 pi = 24:00) or the no-event value (any negative time means
// the event does not happen that day).
struct TcDayResult {
    double sunRise;
    double sunSet;
    double moonRise;
    double moonSet;
    double moonAge;   // days, 0 <= age < 29.530589
    double weekday;   // 0 = Sunday ... 6 = Saturday
};

class TcCalc {
public:
    static constexpr double noEvent = -0.001;

    // Binds the engine to the main window's state (read, never copied) and
    // runs calcCleate.
    explicit TcCalc(const TcMainState& cMain);

    // Sets pi, twoPi and degPerRad.
    void calcCleate();

    // Fills result for the civil date at the current site.
    void mooncalc(int year, int month, int day, TcDayResult& result) const;

    // Moon age in days at Julian day t.
    double moonage(double t) const;

    // Splits an angle into degrees (signed), minutes and seconds, each floored.
    void dms(double angle, int& deg, int& min, int& sec) const;

    // Ecliptic longitude lambda and latitude beta with obliquity eps to right
    // ascension alpha in [0, 2 pi) and declination delta.
    void ec_to_eq(double lambda, double beta, double eps, double& alpha, double& delta) const;

    // Julian day to calendar date; returns the weekday (0 = Sunday). day gets
    // the day of the month plus the fraction of the day since 0 h.
    int toYMD(double jd, int& year, int& month, double& day) const;

    // Geocentric coordinates of an observer at sea level on the Bessel
    // ellipsoid: returns rho cos phi' (km), rhoSin gets rho sin phi' (km).
    double obs(double phi, double& rhoSin) const;

    // Reduces an angle into [0, 2 pi).
    double pmod(double angle) const;

    // Greenwich mean sidereal time (radians) at Julian day jd.
    double sid(double jd) const;

    // Moon's ecliptic longitude (result), latitude and horizontal parallax.
    double sMOON(double jd, double& beta, double& parallax) const;

    // Sun's ecliptic longitude.
    double sun(double jd) const;

    // kind 0 = sun, otherwise moon. Returns the right ascension at instant t;
    // H gets the horizon hour angle at latitude phi (radians, 0 ... 3.14159)
    // or the no-event value.
    double tcalc(int kind, double t, double phi, double& H) const;

    // Calendar date and time of day to Julian day (Gregorian from
    // 1582-10-05 on, Julian before).
    double tjd(int year, int month, double day, int hour, int minute, int second) const;

    double pi = 0.0;
    double twoPi = 0.0;
    double degPerRad = 0.0;

private:
    // Zone angle of the current site for a month, summer-time shift included.
    double zoneAngle(int month, double phi) const;

    // Moon re-evaluated at clock estimate e: returns the change of right
    // ascension since noon, wrapped into [-pi, pi); H2 gets the horizon hour
    // angle there.
    double moonAt(double noon, double e, double phi, double alphaNoon, double& H2) const;

    // Moon rise and moon set of the day from the noon transit M and the noon
    // horizon hour angle H (H > 0).
    double moonRise(double noon, double M, double H, double phi, double alphaNoon) const;
    double moonSet(double noon, double M, double H, double phi, double alphaNoon) const;

    const TcMainState& cMain;
};
