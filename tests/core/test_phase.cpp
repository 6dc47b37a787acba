#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "app/phase.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = kPi * 2;
constexpr uint32_t kLit = 0xc0b0a0;  // any colour that is not black

TcImage litCanvas() { return TcImage(151, 136, kLit); }

// The dark region of the phase picture, decided pixel by pixel from the
// drawing rules: which case the age falls in, which terminator sample a row
// belongs to, and whether the column lies on the painted side of that
// sample's line.
struct Expected {
    int start, base;
    bool rect;
    int rl, rt, rr, rb;  // right and bottom excluded
    double c;

    explicit Expected(double age)
    {
        const double f = age / 29.530589 * 4;
        if (f >= 0 && f < 1) {
            start = 74, base = 74, rect = true, rl = 0, rt = 0, rr = 74, rb = 150;
        } else if (f >= 1 && f < 2) {
            start = 5, base = 74, rect = false;
        } else if (f >= 2 && f < 3) {
            start = 135, base = 73, rect = false;
        } else {
            start = 73, base = 73, rect = true, rl = 70, rt = 0, rr = 135, rb = 150;
        }
        double theta = age / 29.530589 * kTwoPi;
        if (theta > kPi) theta -= kPi;
        c = std::cos(theta) * 0.97;
    }

    // The terminator sample that paints row y, or -1 when no line touches it.
    static int sampleOfRow(int y)
    {
        int d;
        if (y >= 16 && y <= 67) d = 67 - y;
        else if (y >= 68 && y <= 119) d = y - 68;
        else return -1;
        return d - d % 2;  // rows 2m and 2m+1 away from the centre share sample 2m
    }

    bool dark(int x, int y) const
    {
        if (rect && x >= rl && x < rr && y >= rt && y < rb) return true;
        const int k = sampleOfRow(y);
        if (k < 0) return false;
        const int end = base + static_cast<int>(std::trunc(std::sqrt(2704.0 - k * k) * c));
        if (start < end) return x >= start && x < end;
        if (start > end) return x > end && x <= start;
        return false;
    }
};

// Paints the age on a lit canvas and compares every pixel with Expected.
void expectMatchesRules(double age)
{
    SCOPED_TRACE("age " + std::to_string(age));
    TcImage canvas = litCanvas();
    funcPhase(canvas, age, kPi, kTwoPi);
    const Expected want(age);
    int wrong = 0;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const uint32_t expected = want.dark(x, y) ? 0u : kLit;
            if (canvas.pixel(x, y) != expected && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << canvas.pixel(x, y)
                              << ", expected " << expected;
        }
    EXPECT_EQ(wrong, 0);
}

// The run of dark pixels on one row, as "first..last" ranges.
std::string darkRuns(const TcImage& img, int y)
{
    std::string out;
    for (int x = 0; x < img.width; ++x) {
        if (img.pixel(x, y) != 0) continue;
        int end = x;
        while (end + 1 < img.width && img.pixel(end + 1, y) == 0) ++end;
        if (!out.empty()) out += ' ';
        out += std::to_string(x) + ".." + std::to_string(end);
        x = end;
    }
    return out;
}

bool rowUntouched(const TcImage& img, int y)
{
    for (int x = 0; x < img.width; ++x)
        if (img.pixel(x, y) != kLit) return false;
    return true;
}

}  // namespace

TEST(PhaseLine, LeavesTheEndPointUnpaintedInEitherDirection)
{
    TcImage img(10, 3, kLit);
    img.lineTo(2, 6, 1, 0);
    EXPECT_EQ(darkRuns(img, 1), "2..5");
    TcImage back(10, 3, kLit);
    back.lineTo(6, 2, 1, 0);
    EXPECT_EQ(darkRuns(back, 1), "3..6");
    EXPECT_TRUE(rowUntouched(back, 0));
    EXPECT_TRUE(rowUntouched(back, 2));
}

TEST(PhaseLine, StartEqualToEndPaintsNothing)
{
    TcImage img(10, 3, kLit);
    img.lineTo(4, 4, 1, 0);
    EXPECT_EQ(darkRuns(img, 1), "");
}

TEST(PhaseLine, IsClippedToThePicture)
{
    TcImage img(10, 3, kLit);
    img.lineTo(-5, 3, 0, 0);
    img.lineTo(20, 7, 1, 0);
    img.lineTo(0, 9, -1, 0);
    img.lineTo(0, 9, 3, 0);
    EXPECT_EQ(darkRuns(img, 0), "0..2");
    EXPECT_EQ(darkRuns(img, 1), "8..9");
    EXPECT_TRUE(rowUntouched(img, 2));

    TcImage rect(10, 4, kLit);
    rect.fillRect(7, -2, 40, 2, 0);  // right and bottom edges excluded
    EXPECT_EQ(darkRuns(rect, 0), "7..9");
    EXPECT_EQ(darkRuns(rect, 1), "7..9");
    EXPECT_TRUE(rowUntouched(rect, 2));
}

TEST(PhaseQuarter, SplitsTheMonthAtTheQuarterAges)
{
    // The quarter ages rounded to four places: 7.3826 and 22.1479 lie just
    // below a boundary, 14.7653 just above one.
    EXPECT_EQ(phase::quarter(0.0), 0);
    EXPECT_EQ(phase::quarter(7.3826), 0);
    EXPECT_EQ(phase::quarter(7.3827), 1);
    EXPECT_EQ(phase::quarter(14.7652), 1);
    EXPECT_EQ(phase::quarter(14.7653), 2);
    EXPECT_EQ(phase::quarter(22.1479), 2);
    EXPECT_EQ(phase::quarter(22.1480), 3);
    EXPECT_EQ(phase::quarter(29.5305), 3);
    // The stored reciprocal lies a little below 1 / 29.530589, so the exact
    // boundary ages themselves still count to the quarter before (the month
    // length itself to the last quarter, which paints like the catch-all).
    EXPECT_EQ(phase::quarter(29.530589 / 4), 0);
    EXPECT_EQ(phase::quarter(29.530589 / 2), 1);
    EXPECT_EQ(phase::quarter(29.530589), 3);
}

TEST(PhaseQuarter, AgesOutsideTheMonthFallIntoTheCatchAllCase)
{
    EXPECT_EQ(phase::quarter(-0.001), -1);
    EXPECT_EQ(phase::quarter(29.5306), -1);
    EXPECT_EQ(phase::quarter(1e300), -1);
    EXPECT_EQ(phase::quarter(-1e300), -1);
    EXPECT_EQ(phase::quarter(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(phase::quarter(std::numeric_limits<double>::infinity()), -1);
}

TEST(PhasePicture, MatchesTheRulesPixelByPixel)
{
    for (double age : {0.0, 3.0, 7.3826, 7.3827, 11.0, 14.7652, 14.7653, 18.0, 22.1479, 22.148, 26.0, 29.53})
        expectMatchesRules(age);
}

TEST(PhasePicture, AgeZeroLeavesOnlyARimOnTheRight)
{
    TcImage img = litCanvas();
    funcPhase(img, 0.0, kPi, kTwoPi);
    // Middle rows: half-width 50, line from 74 to 124 with 124 left lit.
    EXPECT_EQ(darkRuns(img, 67), "0..123");
    EXPECT_EQ(darkRuns(img, 68), "0..123");
    // Outermost samples (k = 50): half-width trunc(sqrt(204) * 0.97) = 13.
    EXPECT_EQ(darkRuns(img, 16), "0..86");
    EXPECT_EQ(darkRuns(img, 119), "0..86");
    // Above and below the disc only the left-half rectangle is dark.
    EXPECT_EQ(darkRuns(img, 15), "0..73");
    EXPECT_EQ(darkRuns(img, 135), "0..73");
}

TEST(PhasePicture, QuarterAgesDarkenOneHalf)
{
    TcImage first = litCanvas();
    funcPhase(first, 7.3826, kPi, kTwoPi);  // left half dark, right half lit
    for (int y : {0, 16, 40, 67, 68, 100, 119, 135})
        EXPECT_EQ(darkRuns(first, y), "0..73") << "row " << y;

    TcImage last = litCanvas();
    funcPhase(last, 22.1479, kPi, kTwoPi);  // right half dark
    for (int y : {16, 40, 67, 68, 100, 119})
        EXPECT_EQ(darkRuns(last, y), "74..135") << "row " << y;
}

TEST(PhasePicture, FullMoonKeepsAThinDarkRimOnTheRight)
{
    TcImage img = litCanvas();
    funcPhase(img, 14.7653, kPi, kTwoPi);
    // Lines from 135 leftwards to 73 + 50 = 123, which stays lit.
    EXPECT_EQ(darkRuns(img, 67), "124..135");
    EXPECT_EQ(darkRuns(img, 16), "87..135");
}

TEST(PhasePicture, EndOfTheMonthLeavesARimOnTheLeft)
{
    TcImage img = litCanvas();
    funcPhase(img, 29.53, kPi, kTwoPi);
    // Rectangle 70..134 and lines from 73 leftwards to 73 - 50 = 23.
    EXPECT_EQ(darkRuns(img, 67), "24..134");
    EXPECT_EQ(darkRuns(img, 0), "70..134");
}

TEST(PhasePicture, GibbousPhasesLeaveRowsOutsideTheDiscUntouched)
{
    for (double age : {7.3827, 11.0, 14.7653, 18.0, 22.1479}) {
        TcImage img = litCanvas();
        funcPhase(img, age, kPi, kTwoPi);
        for (int y = 0; y < img.height; ++y) {
            if (y < 16 || y > 119) {
                EXPECT_TRUE(rowUntouched(img, y)) << "age " << age << " row " << y;
            }
        }
    }
}

TEST(PhasePicture, AgesOutsideTheMonthStillDraw)
{
    for (double age : {-1.0, 29.530589, 35.0})
        expectMatchesRules(age);

    // Values no day result holds: the catch-all rectangle is still painted
    // and nothing is written outside the picture.
    for (double age : {1e300, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        TcImage img = litCanvas();
        funcPhase(img, age, kPi, kTwoPi);
        EXPECT_EQ(darkRuns(img, 0), "70..134") << "age " << age;
        EXPECT_EQ(img.pixels.size(), 151u * 136u);
    }
}

TEST(PhasePicture, WorksOnAPictureSmallerThanTheMoon)
{
    // Everything is clipped: no write falls outside a small canvas.
    TcImage img(60, 40, kLit);
    funcPhase(img, 0.0, kPi, kTwoPi);
    EXPECT_EQ(darkRuns(img, 20), "0..59");
    EXPECT_EQ(img.pixels.size(), 60u * 40u);
}
