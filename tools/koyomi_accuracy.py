#!/usr/bin/python3
"""Compares the sun's apparent longitude of the calendar engine with PyEphem's.

PyEphem (Debian's python3-ephem) gives the sun's apparent geocentric right
ascension and declination of date (nutation and aberration included); they
are turned into ecliptic longitude of date. Both sides are taken at the same
Terrestrial Time: PyEphem's dates are UT, so its own Delta T converts them,
which removes the two sides' different Delta T models.

  koyomi_accuracy.py DUMP [--check]   the worst difference over a 1901-2099
                                      sample; with --check exit 1 when it
                                      exceeds 1 arcsecond (the CTest)
"""

import math
import subprocess
import sys

import ephem

DJD = 2415020.0  # PyEphem's dates count days from this Julian day
LIMIT = 1.0      # arcseconds


def sample():
    # Every 29.1 days from 1901-01-01 to 2099-12-31: about 2500 instants
    # spread over the year and the phases of the moon.
    t, end = 2415385.5, 2488069.5
    while t < end:
        yield t
        t += 29.1


def reference(jd_tt):
    ut = ephem.Date(jd_tt - DJD)
    for _ in range(2):
        ut = ephem.Date(jd_tt - DJD - ephem.delta_t(ut) / 86400)
    sun = ephem.Sun()
    sun.compute(ut, epoch=ut)
    ecl = ephem.Ecliptic(ephem.Equatorial(sun.g_ra, sun.g_dec, epoch=ut), epoch=ut)
    return math.degrees(ecl.lon)


def main():
    dump = sys.argv[1]
    times = list(sample())
    out = subprocess.run([dump], input="".join("%.9f\n" % t for t in times),
                         check=True, capture_output=True, text=True).stdout.split()
    worst, at = 0.0, None
    for t, ours in zip(times, map(float, out)):
        d = (ours - reference(t) + 180) % 360 - 180
        if abs(d) * 3600 > worst:
            worst, at = abs(d) * 3600, t
    print("sun's apparent longitude, %d instants 1901-2099: worst difference %.3f\" (JD %.1f TT)"
          % (len(times), worst, at))
    if "--check" in sys.argv and worst > LIMIT:
        print("more than %g\"" % LIMIT)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
