// Draws the full-moon picture of the main window: 151 x 136 pixels, 24-bit
// colour, a full moon on a black ground with the disc spanning x 20..126 and
// y 16..119. The disc is an orthographic view of a sphere; the dark plains,
// the bright craters with their rays and the mottling of the highlands are
// placed in lunar latitude and longitude and projected, so they foreshorten
// towards the limb as on a photograph. Everything is computed from fixed
// numbers and a fixed-seed generator, so every run writes the same picture.
//
//   mkmoon <output.png>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 151;
constexpr int kHeight = 136;
constexpr double kCentreX = 73.0;
constexpr double kCentreY = 67.5;
constexpr double kRadiusX = 53.5;  // disc covers pixel columns 20..126
constexpr double kRadiusY = 52.0;  // and rows 16..119
constexpr int kSubsamples = 4;     // per axis, for smooth edges
constexpr double kDeg = 3.14159265358979323846 / 180.0;

// ---------------------------------------------------------------------------
// Small deterministic helpers.

// xorshift64* generator: the same sequence on every platform.
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed ? seed : 0x9e3779b97f4a7c15ull) {}
    uint64_t next()
    {
        s_ ^= s_ >> 12;
        s_ ^= s_ << 25;
        s_ ^= s_ >> 27;
        return s_ * 0x2545f4914f6cdd1dull;
    }
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

private:
    uint64_t s_;
};

struct Vec3 {
    double x, y, z;
};

Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 normalised(Vec3 a)
{
    const double n = std::sqrt(dot(a, a));
    return n > 0 ? a * (1.0 / n) : a;
}

// Unit vector of a point at lunar latitude / longitude (degrees, east
// positive). x points to the right of the picture, y up, z at the viewer.
Vec3 surfacePoint(double latDeg, double lonDeg)
{
    const double lat = latDeg * kDeg, lon = lonDeg * kDeg;
    return {std::cos(lat) * std::sin(lon), std::sin(lat), std::cos(lat) * std::cos(lon)};
}

double angleBetween(Vec3 a, Vec3 b) { return std::acos(std::clamp(dot(a, b), -1.0, 1.0)); }

double smoothstep(double e0, double e1, double v)
{
    const double t = std::clamp((v - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Value noise on an integer lattice in 3-D, hashed without any table.
double latticeValue(int x, int y, int z, uint32_t seed)
{
    uint32_t h = seed;
    h ^= static_cast<uint32_t>(x) * 0x8da6b343u;
    h ^= static_cast<uint32_t>(y) * 0xd8163841u;
    h ^= static_cast<uint32_t>(z) * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return static_cast<double>(h) / 4294967295.0 * 2.0 - 1.0;
}

double valueNoise(Vec3 p, uint32_t seed)
{
    const double fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    const double tx = fade(p.x - fx), ty = fade(p.y - fy), tz = fade(p.z - fz);
    auto lerp = [](double a, double b, double t) { return a + (b - a) * t; };
    double c[2][2][2];
    for (int dz = 0; dz < 2; ++dz)
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                c[dz][dy][dx] = latticeValue(ix + dx, iy + dy, iz + dz, seed);
    const double y0 = lerp(lerp(c[0][0][0], c[0][0][1], tx), lerp(c[0][1][0], c[0][1][1], tx), ty);
    const double y1 = lerp(lerp(c[1][0][0], c[1][0][1], tx), lerp(c[1][1][0], c[1][1][1], tx), ty);
    return lerp(y0, y1, tz);
}

// Fractal sum of value noise, roughly in [-1, 1].
double fbm(Vec3 p, int octaves, uint32_t seed)
{
    double sum = 0, amp = 0.5, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise(p, seed + static_cast<uint32_t>(o) * 101u);
        norm += amp;
        p = p * 2.03;
        amp *= 0.5;
    }
    return sum / norm;
}

// ---------------------------------------------------------------------------
// The surface.

// One round patch of a dark plain. Several patches make one plain.
struct Patch {
    double lat, lon, radius;  // degrees
    double depth;             // 1 = as dark as the darkest plains
    double tint;              // < 0 bluish, > 0 brownish
};

const Patch kPlains[] = {
    // Mare Imbrium, upper left, with Sinus Iridum and its link to the ocean.
    {33, -16, 16.5, 0.95, 0.4}, {38, -25, 9, 0.95, 0.4}, {27, -7, 9, 0.9, 0.4}, {44, -31, 4.5, 0.9, 0.3},
    {25, -33, 7, 0.85, 0.3}, {16, -40, 7, 0.8, 0.2},
    // Mare Serenitatis and, below it, Mare Tranquillitatis.
    {28, 17.5, 10.5, 0.85, 0.7}, {8, 30, 11, 1.0, -0.8}, {4, 23, 7, 0.95, -0.7}, {15, 35, 5.5, 0.95, -0.6},
    // Mare Crisium near the right limb.
    {17, 59, 8.5, 1.0, -0.3},
    // Mare Fecunditatis and Mare Nectaris, lower right.
    {-6, 51, 9, 0.8, -0.5}, {-13, 53, 6, 0.75, -0.5}, {0, 55, 5, 0.75, -0.5}, {-15, 35, 5.5, 0.85, -0.2},
    // Oceanus Procellarum on the left, with Mare Insularum and Mare Cognitum.
    {20, -55, 14, 0.9, 0.1}, {8, -50, 12, 0.85, 0.0}, {-2, -44, 10, 0.8, 0.0}, {30, -50, 10, 0.85, 0.2},
    {40, -46, 7, 0.8, 0.2}, {12, -63, 9, 0.9, 0.0}, {-8, -55, 8, 0.8, -0.1}, {25, -63, 8, 0.85, 0.1},
    {8, -26, 6.5, 0.75, 0.0}, {4, -34, 6, 0.75, 0.0}, {-10, -23, 6, 0.75, 0.0},
    // Mare Nubium and Mare Humorum, lower left.
    {-19, -14, 8, 0.65, 0.1}, {-25, -20, 6, 0.6, 0.1}, {-15, -8, 4, 0.55, 0.1}, {-24, -39, 6.5, 0.9, 0.2},
    // Mare Frigoris, the narrow strip in the far north.
    {56, -32, 4.5, 0.6, 0.2}, {57, -16, 4.5, 0.6, 0.2}, {56, 0, 4.5, 0.6, 0.2}, {55, 15, 4.5, 0.55, 0.2},
    {56, 30, 4, 0.5, 0.2},
    // Mare Vaporum, Sinus Medii and Sinus Aestuum near the centre.
    {13, 4, 4.5, 0.8, 0.3}, {2, 2, 3, 0.6, 0.1}, {11, -9, 4, 0.7, 0.1},
    // Marginis, Smythii and Australe at the right limb; the dark floors of
    // Grimaldi and Plato.
    {13, 86, 5, 0.7, -0.2}, {-2, 86, 5, 0.7, -0.2}, {-40, 88, 6, 0.5, 0.0}, {-5, -68, 3, 1.0, 0.3},
    {51.6, -9.4, 1.6, 1.0, 0.3},
};

// A young crater with a bright floor, a bright halo and a fan of rays.
struct RayedCrater {
    double lat, lon;
    double radius;    // degrees, the bright crater itself
    double halo;      // degrees, the bright nimbus around it
    int rays;         // number of rays
    double length;    // degrees, typical reach of a ray
    double strength;  // brightness of the rays
    uint64_t seed;
};

const RayedCrater kRayed[] = {
    {-43.3, -11.2, 1.4, 4.5, 16, 40, 0.30, 11},  // Tycho, the longest rays
    {9.6, -20.1, 1.5, 4.0, 24, 15, 0.30, 12},    // Copernicus
    {8.1, -38.0, 1.0, 2.5, 12, 7, 0.18, 13},     // Kepler
    {23.7, -47.4, 0.9, 2.0, 8, 5, 0.25, 14},     // Aristarchus, the brightest spot
    {16.1, 46.8, 0.8, 1.5, 6, 10, 0.16, 15},     // Proclus
    {-8.9, 61.1, 1.3, 2.0, 8, 6, 0.10, 16},      // Langrenus
    {-32.5, 54.2, 0.9, 2.0, 10, 9, 0.12, 17},    // Stevinus
    {73.4, -10.1, 1.0, 2.0, 8, 12, 0.12, 18},    // Anaxagoras
    {7.5, -77.0, 0.8, 1.5, 8, 12, 0.12, 19},     // Olbers A
    {16.3, 16.0, 0.7, 1.5, 5, 4, 0.12, 20},      // Menelaus
    {14.5, 9.1, 0.7, 1.5, 5, 4, 0.10, 21},       // Manilius
};

struct Ray {
    double bearing, width, length, weight;
};

struct CraterRays {
    Vec3 centre, east, north;
    RayedCrater crater;
    std::vector<Ray> rays;
};

// A small crater: a bright dot, a faint bright rim or a dark halo.
struct SmallCrater {
    Vec3 centre;
    double radius;  // radians
    double bright;  // positive brighter, negative darker
};

class Surface {
public:
    Surface()
    {
        Rng rng(20240611);
        for (const RayedCrater& c : kRayed) {
            CraterRays cr;
            cr.crater = c;
            cr.centre = surfacePoint(c.lat, c.lon);
            cr.east = normalised(cross({0, 1, 0}, cr.centre));
            cr.north = cross(cr.centre, cr.east);
            Rng r(c.seed);
            for (int i = 0; i < c.rays; ++i) {
                Ray ray;
                ray.bearing = (i + r.range(-0.35, 0.35)) * (2 * 3.14159265358979323846 / c.rays);
                ray.width = r.range(0.7, 1.6) * kDeg;
                ray.length = c.length * r.range(0.35, 1.3) * kDeg;
                ray.weight = r.range(0.45, 1.0);
                cr.rays.push_back(ray);
            }
            rayed_.push_back(cr);
        }
        // Small craters over the visible face, more of them in the highlands
        // (they are kept only where the plains are thin).
        for (int i = 0; i < 420; ++i) {
            const double u = rng.range(-1, 1), v = rng.range(-1, 1);
            if (u * u + v * v >= 0.97)
                continue;
            SmallCrater s;
            s.centre = {u, v, std::sqrt(1 - u * u - v * v)};
            s.radius = rng.range(0.3, 0.9) * kDeg;
            const double kind = rng.uniform();
            s.bright = kind < 0.2 ? -rng.range(0.04, 0.08) : rng.range(0.04, 0.16);
            if (plainDepth(s.centre) > 0.5 && s.bright > 0 && rng.uniform() < 0.75)
                continue;
            small_.push_back(s);
        }
    }

    // 0 on the highlands, about 1 inside the darkest plains; tint returns the
    // colour cast of the plain at that point.
    double plainDepth(Vec3 p, double* tint = nullptr) const
    {
        // Ragged shores: the distance to each patch centre is disturbed by
        // noise that is the same for all patches.
        const double wobble = fbm(p * 4.0, 4, 7) * 4.0 * kDeg + fbm(p * 14.0, 3, 9) * 1.3 * kDeg;
        double depth = 0, tintSum = 0, weightSum = 0;
        for (const Patch& m : kPlains) {
            const double d = angleBetween(p, surfacePoint(m.lat, m.lon)) + wobble;
            const double r = m.radius * kDeg;
            const double w = smoothstep(r + 3.0 * kDeg, r - 3.0 * kDeg, d) * m.depth;
            depth = std::max(depth, w);
            tintSum += w * m.tint;
            weightSum += w;
        }
        if (tint)
            *tint = weightSum > 0 ? tintSum / weightSum : 0;
        // The floors of the plains are not even either.
        return depth * (0.88 + 0.12 * fbm(p * 7.0, 3, 21));
    }

    // Extra brightness of the rays and halos at p.
    double rayBrightness(Vec3 p) const
    {
        double total = 0;
        for (const CraterRays& c : rayed_) {
            const double d = angleBetween(p, c.centre);
            const double halo = c.crater.halo * kDeg;
            total += 0.25 * std::exp(-(d * d) / (halo * halo)) * (c.crater.strength / 0.3 + 0.3);
            if (d < 1e-6)
                continue;
            const double bearing = std::atan2(dot(p, c.east), dot(p, c.north));
            for (const Ray& r : c.rays) {
                double db = std::remainder(bearing - r.bearing, 2 * 3.14159265358979323846);
                if (std::fabs(db) > 1.4)
                    continue;
                const double lateral = d * std::sin(std::fabs(db));
                const double width = r.width * (0.6 + d / r.length);
                const double along = std::exp(-d / r.length) * smoothstep(halo * 0.3, halo, d);
                const double streak = 0.75 + 0.25 * fbm(p * 40.0, 2, 31);
                total += c.crater.strength * r.weight * along * streak *
                         std::exp(-(lateral * lateral) / (width * width));
            }
        }
        return total;
    }

    // Brightness change of the crater bowls themselves and the small craters.
    double craterDetail(Vec3 p) const
    {
        double total = 0;
        for (const CraterRays& c : rayed_) {
            const double d = angleBetween(p, c.centre) / (c.crater.radius * kDeg);
            total += 0.35 * std::exp(-d * d * 1.5) - 0.12 * std::exp(-(d - 1.2) * (d - 1.2) * 6.0);
        }
        for (const SmallCrater& s : small_) {
            const double d = angleBetween(p, s.centre) / s.radius;
            if (d > 3)
                continue;
            // Seen from above under a high sun a small crater is little more
            // than a soft spot, brighter or darker than its surroundings.
            total += s.bright * std::exp(-d * d * 1.6);
        }
        return total;
    }

    // Linear brightness and a small colour cast (r, g, b factors) at p.
    void shade(Vec3 p, double& value, double rgb[3]) const
    {
        double tint = 0;
        const double plain = plainDepth(p, &tint);
        const double mottle = fbm(p * 9.0, 5, 3);
        const double highland = 0.74 + 0.08 * mottle + 0.05 * fbm(p * 30.0, 3, 5);
        const double dark = 0.28 + 0.04 * fbm(p * 6.0, 4, 13) + 0.03 * mottle;
        value = highland + (dark - highland) * plain;
        value += rayBrightness(p) * (0.7 + 0.6 * plain);  // rays stand out best on the plains
        value += craterDetail(p);
        value = std::clamp(value, 0.05, 1.15);

        // Highlands a touch warm, plains either bluish or brownish.
        const double t = tint * plain;
        rgb[0] = 1.0 + 0.015 + 0.035 * t;
        rgb[1] = 1.0 + 0.000 + 0.005 * t;
        rgb[2] = 1.0 - 0.040 - 0.050 * t;
    }

private:
    std::vector<CraterRays> rayed_;
    std::vector<SmallCrater> small_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkmoon <output.png>\n");
        return 2;
    }

    const Surface surface;
    QImage image(kWidth, kHeight, QImage::Format_RGB888);
    image.fill(Qt::black);
    Rng grain(777);

    for (int py = 0; py < kHeight; ++py) {
        for (int px = 0; px < kWidth; ++px) {
            double acc[3] = {0, 0, 0};
            int inside = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    const double x = px + (sx + 0.5) / kSubsamples - 0.5;
                    const double y = py + (sy + 0.5) / kSubsamples - 0.5;
                    const double u = (x - kCentreX) / kRadiusX;
                    const double v = -(y - kCentreY) / kRadiusY;
                    const double rr = u * u + v * v;
                    if (rr >= 1.0)
                        continue;
                    const double z = std::sqrt(1.0 - rr);
                    double value, rgb[3];
                    surface.shade({u, v, z}, value, rgb);
                    // A full moon darkens only a little towards the limb.
                    const double limb = 0.70 + 0.30 * std::pow(z, 0.45);
                    for (int c = 0; c < 3; ++c)
                        acc[c] += value * limb * rgb[c];
                    ++inside;
                }
            }
            if (inside == 0)
                continue;
            const double n = kSubsamples * kSubsamples;
            const double noise = grain.range(-2.5, 2.5);
            int out[3];
            for (int c = 0; c < 3; ++c) {
                // Display curve: lifts the shadows a little, as a photograph does.
                const double lin = acc[c] / n;
                const double v = 255.0 * std::pow(std::max(lin, 0.0), 1.0 / 1.25) + noise * inside / n;
                out[c] = std::clamp(static_cast<int>(std::lround(v)), 0, 255);
            }
            image.setPixel(px, py, qRgb(out[0], out[1], out[2]));
        }
    }

    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "mkmoon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
