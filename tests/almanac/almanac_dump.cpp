// Prints the precise engine's figures for a month at full precision, for the
// comparison with PyEphem (tools/almanac_accuracy.py).
//
//   almanac_dump LAT LON TZ SUMMER YEAR MONTH
//
// Per day: "D y m d offset length" then for sunRise sunSet moonRise moonSet
// civilDawn civilDusk nauticalDawn nauticalDusk astronomicalDawn
// astronomicalDusk a field "o,hours,azimuth,clock" (o = y/n/a/b, clock the
// offset the hours are read on), for the two transits "o,hours,alt,clock",
// then age, illumination and Delta T at noon. Per phase: "P q jdUt deltaT
// local-date-time".
#include <erfa.h>

#include <cstdio>
#include <cstdlib>

#include "almanac/almanac.h"
#include "table/monthRows.h"

namespace {

void put(const almanac::Crossing& c)
{
    const char o = "ynab"[static_cast<int>(c.occurs)];
    std::printf(" %c,%.7f,%.5f,%.4f", o, c.hours, c.azimuth, c.clockOffset);
}

void put(const almanac::Transit& t)
{
    std::printf(" %c,%.7f,%.5f,%.4f", t.occurs ? 'y' : 'n', t.hours, t.altitude, t.clockOffset);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fputs("usage: almanac_dump LAT LON TZ SUMMER YEAR MONTH\n", stderr);
        return 2;
    }
    almanac::Site site;
    site.latitude = std::atof(argv[1]);
    site.longitude = std::atof(argv[2]);
    site.timeZone = std::atof(argv[3]);
    site.summerTime = std::atoi(argv[4]);
    const int year = std::atoi(argv[5]), month = std::atoi(argv[6]);
    for (int day = 1; day <= monthLength(year, month); ++day) {
        const almanac::Day d = almanac::computeDay(site, year, month, day);
        std::printf("D %d %d %d %.3f %.3f", year, month, day, d.clockOffset, d.length);
        for (const almanac::Crossing* c : {&d.sunRise, &d.sunSet, &d.moonRise, &d.moonSet, &d.civilDawn, &d.civilDusk,
                                           &d.nauticalDawn, &d.nauticalDusk, &d.astronomicalDawn, &d.astronomicalDusk})
            put(*c);
        put(d.sunTransit);
        put(d.moonTransit);
        double djm0, djm;
        eraCal2jd(year, month, day, &djm0, &djm);
        const double noon = djm0 + djm + 0.5 - d.clockOffset / 24;
        std::printf(" %.6f %.6f %.3f\n", d.moonAge, d.moonIllumination, almanac::deltaT(noon));
    }
    for (const almanac::PhaseEvent& p : almanac::monthPhases(site, year, month))
        std::printf("P %d %.8f %.3f %04d-%02d-%02dT%02d:%02d\n", static_cast<int>(p.phase), p.jdUt,
                    almanac::deltaT(p.jdUt), p.year, p.month, p.day, p.hour, p.minute);
    return 0;
}
