#include "app/phase.h"

#include <algorithm>
#include <cmath>

TcImage::TcImage(int w, int h, uint32_t fill)
    : width(std::max(w, 0)), height(std::max(h, 0)),
      pixels(static_cast<std::size_t>(width) * height, fill)
{
}

void TcImage::fillRect(int left, int top, int right, int bottom, uint32_t rgb)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width);
    bottom = std::min(bottom, height);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            setPixel(x, y, rgb);
}

void TcImage::lineTo(int x0, int x1, int y, uint32_t rgb)
{
    if (y < 0 || y >= height || x0 == x1)
        return;
    // Pixels from x0 up to, not including, x1.
    int lo = x0 < x1 ? x0 : x1 + 1;
    int hi = x0 < x1 ? x1 - 1 : x0;
    lo = std::max(lo, 0);
    hi = std::min(hi, width - 1);
    for (int x = lo; x <= hi; ++x)
        setPixel(x, y, rgb);
}

namespace phase {

int quarter(double age)
{
    // Formed in extended precision, as the constant is held.
    const long double q = std::floor(static_cast<long double>(age) * kReciprocalMonth * 4);
    // Only 0..3 name a quarter; everything else, NaN included, is the
    // catch-all case. Checking before the conversion keeps a huge age from
    // overflowing the int.
    if (q >= 0 && q < 4)
        return static_cast<int>(q);
    return -1;
}

double terminatorAngle(double age, double pi, double twoPi)
{
    // The product is formed in extended precision and then kept as a double,
    // the angle's own type; the comparison with pi is made on that double.
    double theta = static_cast<double>(static_cast<long double>(age) * kReciprocalMonth * twoPi);
    if (theta > pi)
        theta = theta - pi;
    return theta;
}

int terminatorHalf(int k, double c)
{
    const double half = std::sqrt(static_cast<double>(2704 - k * k)) * c;
    // |c| <= 0.97 for any real angle, so the value fits an int; an infinite
    // age makes the cosine NaN, which draws as a zero-length line.
    if (!(std::fabs(half) < 1e6))
        return 0;
    return static_cast<int>(half);  // truncation toward zero
}

}  // namespace phase

void funcPhase(TcImage& canvas, double age, double pi, double twoPi)
{
    int startX;
    int baseX;
    bool fill = false;
    int left = 0, top = 0, right = 0, bottom = 0;

    switch (phase::quarter(age)) {
    case 0:  // waxing crescent: left half dark, lines from the centre to the right
        startX = 74;
        baseX = 74;
        fill = true;
        left = 0, top = 0, right = 74, bottom = 150;
        break;
    case 1:  // waxing gibbous: lines from the left edge to left of the centre
        startX = 5;
        baseX = 74;
        break;
    case 2:  // waning gibbous: lines from the right edge to right of the centre
        startX = 135;
        baseX = 73;
        break;
    default:  // waning crescent, and any age outside the month
        startX = 73;
        baseX = 73;
        fill = true;
        left = 70, top = 0, right = 135, bottom = 150;
        break;
    }

    if (fill)
        canvas.fillRect(left, top, right, bottom, phase::kBlack);

    const double c = std::cos(phase::terminatorAngle(age, pi, twoPi)) * 0.97;

    // The terminator is half an ellipse, sampled every second row; each
    // sample covers two pixel rows above the centre and two below it.
    for (int k = 0; k <= 50; k += 2) {
        const int half = phase::terminatorHalf(k, c);
        for (int i = 0; i <= 1; ++i) {
            canvas.lineTo(startX, baseX + half, 67 - (k + i), phase::kBlack);
            canvas.lineTo(startX, baseX + half, 68 + (k + i), phase::kBlack);
        }
    }
}
