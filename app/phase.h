// The moon phase painter: takes a canvas holding a copy of the full-moon
// picture (151 x 136, disc at x 20..126, y 16..119) and paints the unlit part
// black. Pure code, no windowing toolkit.
#pragma once

#include <cstdint>
#include <vector>

// A small RGB picture: width x height pixels, row by row from the top-left,
// each pixel 0x00RRGGBB (the top byte is ignored and kept 0).
struct TcImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    TcImage() = default;
    TcImage(int w, int h, uint32_t fill = 0);

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    void setPixel(int x, int y, uint32_t rgb) { pixels[static_cast<std::size_t>(y) * width + x] = rgb; }

    // Fills the rectangle [left, right) x [top, bottom), clipped to the picture.
    void fillRect(int left, int top, int right, int bottom, uint32_t rgb);

    // A one-pixel horizontal line on row y from x0 towards x1, x1 itself not
    // painted (so x0 == x1 paints nothing); either direction; clipped.
    void lineTo(int x0, int x1, int y, uint32_t rgb);
};

namespace phase {

// 1 / 29.530589, the reciprocal of the synodic month, kept as a long double
// so that the products below are formed in extended precision.
constexpr long double kReciprocalMonth = 0.033863191824585685L;

constexpr uint32_t kBlack = 0x000000;
constexpr int kPictureWidth = 151;
constexpr int kPictureHeight = 136;

// Quarter of the lunation for an age in days: 0 below 7.3826..., 1 below
// 14.7653..., 2 below 22.1479..., 3 up to the end of the month. Ages outside
// [0, 29.530589), and values that are not numbers, give -1 (the catch-all
// case of the painter).
int quarter(double age);

// Terminator angle in radians for an age in days: the fraction of the
// lunation times twoPi, brought back by pi when it passes pi.
double terminatorAngle(double age, double pi, double twoPi);

// Half-width in pixels of the terminator line on the rows drawn for k
// (0, 2, ..., 50 rows from the centre), for the factor c = cos(angle) * 0.97:
// sqrt(2704 - k*k) * c truncated toward zero. A value that is not a number
// gives 0.
int terminatorHalf(int k, double c);

}  // namespace phase

// Paints the dark part of the moon of the given age onto the canvas, which
// holds a copy of the full-moon picture. pi and twoPi are the main window's
// constants.
void funcPhase(TcImage& canvas, double age, double pi, double twoPi);
