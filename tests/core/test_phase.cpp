// The moon phase painter: lines, quarters and the dark part of the picture.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

#include "app/phase.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = kPi * 2;
constexpr uint32_t kLit = 0xc0b0a0;  // any colour that is not black
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TcImage painted(double age)
{
    TcImage img(151, 136, kLit);
    funcPhase(img, age, kPi, kTwoPi);
    return img;
}

// The runs of black pixels on one row, as "first..last" ranges; a pixel that
// is neither black nor the lit colour shows as "?".
std::string darkRuns(const TcImage& img, int y)
{
    std::string out;
    for (int x = 0; x < img.width; ++x) {
        if (img.pixel(x, y) != 0) {
            if (img.pixel(x, y) != kLit)
                return "?";
            continue;
        }
        int end = x;
        while (end + 1 < img.width && img.pixel(end + 1, y) == 0)
            ++end;
        out += (out.empty() ? "" : " ") + std::to_string(x) + ".." + std::to_string(end);
        x = end;
    }
    return out;
}

}  // namespace

TEST(PhaseLine, LeavesTheEndPointUnpaintedAndIsClipped)
{
    TcImage img(10, 4, kLit);
    img.lineTo(2, 6, 0, 0);   // rightwards: 2..5
    img.lineTo(6, 2, 1, 0);   // leftwards: 3..6
    img.lineTo(4, 4, 2, 0);   // start = end: nothing
    img.lineTo(-5, 3, 3, 0);  // clipped at both sides
    img.lineTo(20, 7, 3, 0);
    img.lineTo(0, 9, 4, 0);   // a row outside the picture
    EXPECT_EQ(darkRuns(img, 0) + "|" + darkRuns(img, 1) + "|" + darkRuns(img, 2) + "|" + darkRuns(img, 3),
              "2..5|3..6||0..2 8..9");
}

TEST(PhaseQuarter, SplitsTheMonthAtTheQuarterAges)
{
    // The quarter ages rounded to four places: 7.3826 and 22.1479 lie just
    // below a boundary, 14.7653 just above one. The stored reciprocal lies a
    // little below 1 / 29.530589, so the exact boundary ages themselves still
    // count to the quarter before. Anything outside the month, not a number
    // included, is the catch-all case -1.
    const std::pair<double, int> cases[] = {
        {0.0, 0},       {7.3826, 0},   {7.3827, 1},        {14.7652, 1},       {14.7653, 2},
        {22.1479, 2},   {22.1480, 3},  {29.5305, 3},       {29.530589 / 4, 0}, {29.530589 / 2, 1},
        {29.530589, 3}, {-0.001, -1},  {29.5306, -1},      {1e300, -1},        {-1e300, -1},
        {kNaN, -1},     {kInf, -1},
    };
    for (const auto& [age, q] : cases)
        EXPECT_EQ(phase::quarter(age), q) << age;
}

TEST(PhasePicture, DarkensTheUnlitPartRowByRow)
{
    // Rows 15 and 120 lie just outside the disc; 16/17 and 118/119 share the
    // outermost terminator sample, 18 and 117 take the next; 67 and 68 are
    // the middle rows.
    const int rows[] = {15, 16, 17, 18, 67, 68, 117, 118, 119, 120};
    const std::pair<double, const char*> cases[] = {
        // age 0: everything dark but a rim on the right (124 stays lit)
        {0.0, "0..73|0..86|0..86|0..92|0..123|0..123|0..92|0..86|0..86|0..73"},
        {3.0, "0..73|0..84|0..84|0..88|0..113|0..113|0..88|0..84|0..84|0..73"},
        {7.3826, "0..73|0..73|0..73|0..73|0..73|0..73|0..73|0..73|0..73|0..73"},  // left half dark
        {11.0, "|5..64|5..64|5..60|5..38|5..38|5..60|5..64|5..64|"},  // half-widths truncated toward 0
        // full: from 135 leftwards to 73 + 50 = 123, a thin dark rim on the right
        {14.7653, "|87..135|87..135|93..135|124..135|124..135|93..135|87..135|87..135|"},
        {18.0, "|84..135|84..135|88..135|112..135|112..135|88..135|84..135|84..135|"},
        {22.1479, "|74..135|74..135|74..135|74..135|74..135|74..135|74..135|74..135|"},  // right half dark
        {26.0, "70..134|64..134|64..134|60..134|38..134|38..134|60..134|64..134|64..134|70..134"},
        // end of the month: a rim on the left
        {29.53, "70..134|61..134|61..134|55..134|24..134|24..134|55..134|61..134|61..134|70..134"},
        // beyond the month: the catch-all case
        {35.0, "70..134|69..134|69..134|67..134|55..134|55..134|67..134|69..134|69..134|70..134"},
    };
    for (const auto& [age, expected] : cases) {
        const TcImage img = painted(age);
        std::string got;
        for (int y : rows)
            got += (y == rows[0] ? "" : "|") + darkRuns(img, y);
        EXPECT_EQ(got, expected) << "age " << age;
        // The gibbous cases leave every row outside the disc untouched.
        if (age > 7.4 && age < 22.2)
            for (int y = 0; y < img.height; ++y)
                if (y < 16 || y > 119) {
                    EXPECT_EQ(darkRuns(img, y), "") << "age " << age << " row " << y;
                }
    }
}

TEST(PhasePicture, ValuesNoDayResultHoldsStillDrawInsideThePicture)
{
    // The catch-all rectangle is painted and nothing is written outside;
    // without a real angle the terminator lines have no length.
    for (double age : {1e300, kInf, kNaN}) {
        const TcImage img = painted(age);
        EXPECT_EQ(darkRuns(img, 0), "70..134") << age;
        if (!(age < kInf)) {
            EXPECT_EQ(darkRuns(img, 67), "70..134") << age;
        }
        EXPECT_EQ(img.pixels.size(), 151u * 136u);
    }
    TcImage small(60, 40, kLit);
    funcPhase(small, 0.0, kPi, kTwoPi);
    EXPECT_EQ(darkRuns(small, 20), "0..59");
    EXPECT_EQ(small.pixels.size(), 60u * 40u);
}
