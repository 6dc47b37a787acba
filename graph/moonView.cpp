#include "graph/moonView.h"

#include <cmath>

#include "almanac/almanacLines.h"
#include "graph/altitude.h"

namespace graph {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double deg = pi / 180;

void vector(const Place& p, double v[3])
{
    v[0] = p.distance * std::cos(p.declination) * std::cos(p.rightAscension);
    v[1] = p.distance * std::cos(p.declination) * std::sin(p.rightAscension);
    v[2] = p.distance * std::sin(p.declination);
}

double wrap360(double a)
{
    return a - 360 * std::floor(a / 360);
}

}  // namespace

MoonView moonView(const almanac::Site& site, const almanac::Day& day, Point centre, double radius)
{
    const DaySky sky(site, day.year, day.month, day.day);
    MoonView v;
    v.centre = centre;
    v.radius = radius;
    if (day.moonTransit.occurs) {
        v.moment = Event::transit;
        v.hours = day.moonTransit.hours;
        v.caption.text = "南中 " + clockHM(v.hours);
    } else if (day.moonRise.occurs == almanac::Occurs::Yes) {
        v.moment = Event::rise;
        v.hours = day.moonRise.hours;
        v.caption.text = "月の出 " + clockHM(v.hours);
    } else {
        v.moment = Event::set;
        v.hours = 12;
        v.caption.text = clockHM(v.hours);
    }
    const Place sun = sky.sun(v.hours), moon = sky.moon(v.hours);

    double s[3], m[3];
    vector(sun, s);
    vector(moon, m);
    double dot = 0, ms = 0, mm = 0;
    for (int i = 0; i < 3; ++i) {
        dot += (s[i] - m[i]) * -m[i];
        ms += (s[i] - m[i]) * (s[i] - m[i]);
        mm += m[i] * m[i];
    }
    v.illuminated = (1 + dot / std::sqrt(ms * mm)) / 2;

    const double da = sun.rightAscension - moon.rightAscension;
    const double chi = std::atan2(std::cos(sun.declination) * std::sin(da),
                                  std::sin(sun.declination) * std::cos(moon.declination) -
                                      std::cos(sun.declination) * std::sin(moon.declination) * std::cos(da));
    const double h = sky.siderealTime(v.hours) - moon.rightAscension;
    const double q = std::atan2(std::sin(h), std::tan(sky.latitude()) * std::cos(moon.declination) -
                                                 std::sin(moon.declination) * std::cos(h));
    v.brightLimb = wrap360(chi / deg);
    v.parallactic = q / deg;
    v.tilt = wrap360((chi - q) / deg);

    // u towards the bright limb, w across it; the limb from -90 to +90
    // degrees about u, then the terminator back.
    const double z = v.tilt * deg;
    const Point u {-std::sin(z), -std::cos(z)}, w {-std::cos(z), std::sin(z)};
    const double e = 2 * v.illuminated - 1;
    const auto at = [&](double a, double b) {
        return Point {centre.x + radius * (a * u.x + b * w.x), centre.y + radius * (a * u.y + b * w.y)};
    };
    for (int i = 0; i <= moonOutlinePoints; ++i) {
        const double t = -pi / 2 + pi * i / moonOutlinePoints;
        v.lit.push_back(at(std::cos(t), std::sin(t)));
    }
    for (int i = moonOutlinePoints - 1; i >= 1; --i) {
        const double t = -pi / 2 + pi * i / moonOutlinePoints;
        v.lit.push_back(at(-e * std::cos(t), std::sin(t)));
    }
    v.caption.at = {centre.x, centre.y + radius + 4};
    v.caption.above = false;
    return v;
}

}  // namespace graph
