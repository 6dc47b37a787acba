// Places of the sun and the moon, equatorial conversion, observer place and
// moon age.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/prcCalc.h"

namespace {

struct EnginePositions : ::testing::Test {
    TcMainState state;
    TcCalc calc{state};
};

TEST_F(EnginePositions, SunAndMoonAtJ2000AndAtTheSeriesEpoch)
{
    double beta, parallax, alpha, delta;

    EXPECT_NEAR(calc.sun(2451545.0), 4.8934785, 1e-7);
    calc.ec_to_eq(4.8934785, 0, 0.4090928, alpha, delta);
    EXPECT_NEAR(alpha, 4.9093641, 1e-7);
    EXPECT_NEAR(delta, -0.4020142, 1e-7);

    const double lambda = calc.sMOON(2451545.0, beta, parallax);
    EXPECT_NEAR(lambda, 3.9003537, 1e-7);
    EXPECT_NEAR(beta, 0.0889144, 1e-7);
    EXPECT_NEAR(parallax, 0.0158463, 1e-7);
    calc.ec_to_eq(lambda, beta, 0.4090928, alpha, delta);
    EXPECT_NEAR(alpha, 3.8846585, 1e-7);
    EXPECT_NEAR(delta, -0.1923120, 1e-7);

    EXPECT_NEAR(calc.sun(2442412.5), 4.8680279, 1e-7);
    EXPECT_NEAR(calc.sMOON(2442412.5, beta, parallax), 2.1702493, 1e-7);
    EXPECT_NEAR(beta, -0.0725130, 1e-7);
    EXPECT_NEAR(parallax, 0.0175698, 1e-7);
}

TEST_F(EnginePositions, LongitudesFarBeforeTheEpochAreStillReduced)
{
    // In 1968 both unreduced series lie below -4 pi.
    double beta, parallax;
    EXPECT_NEAR(calc.sun(2440000.5), 1.0975525, 1e-7);
    EXPECT_NEAR(calc.sMOON(2440000.5, beta, parallax), 0.4735603, 1e-7);
}

TEST_F(EnginePositions, RightAscensionLandsInItsQuadrant)
{
    const double eps = 0.4090928;
    double alpha, delta;
    calc.ec_to_eq(calc.pi / 2, 0, eps, alpha, delta);
    EXPECT_NEAR(alpha, calc.pi / 2, 1e-12);
    EXPECT_NEAR(delta, eps, 1e-12);
    calc.ec_to_eq(0, 0, eps, alpha, delta);
    EXPECT_EQ(alpha, 0.0);
    EXPECT_EQ(delta, 0.0);
    calc.ec_to_eq(3.4906585, 0, eps, alpha, delta);  // 200 deg: the +pi step
    EXPECT_NEAR(alpha, 3.4638857, 1e-7);
    calc.ec_to_eq(5.2359878, 0, eps, alpha, delta);  // 300 deg: the +2 pi step
    EXPECT_NEAR(alpha, 5.2740579, 1e-7);

    // All round the ecliptic, against the two-argument arc tangent.
    for (double lambda = 0.05; lambda < calc.twoPi; lambda += 0.1) {
        calc.ec_to_eq(lambda, 0.08, eps, alpha, delta);
        const double x = std::cos(0.08) * std::cos(lambda);
        const double y = std::cos(eps) * std::sin(lambda) * std::cos(0.08) - std::sin(eps) * std::sin(0.08);
        double expected = std::atan2(y, x);
        if (expected < 0)
            expected += calc.twoPi;
        EXPECT_NEAR(alpha, expected, 1e-12) << lambda;
        EXPECT_NEAR(std::sin(delta),
                    std::sin(eps) * std::sin(lambda) * std::cos(0.08) + std::cos(eps) * std::sin(0.08), 1e-12)
            << lambda;
    }
}

TEST_F(EnginePositions, ObserverOnTheBesselEllipsoid)
{
    double rhoSin;
    EXPECT_DOUBLE_EQ(calc.obs(0, rhoSin), 6377.39715);
    EXPECT_EQ(rhoSin, 0.0);
    EXPECT_NEAR(calc.obs(35 / calc.degPerRad, rhoSin), 5229.8029, 1e-4);
    EXPECT_NEAR(rhoSin, 3637.5062, 1e-4);
}

TEST_F(EnginePositions, MoonAgeValues)
{
    EXPECT_NEAR(calc.moonage(2451550.625), 0.3394, 1e-4);  // 2000-01-07, local noon at +9 h
    EXPECT_NEAR(calc.moonage(2451545.0), 24.2999, 1e-4);
    // Right at a computed new moon far before the present the plain remainder
    // comes out a hair above a whole lunation; the age must still wrap to 0.
    const double age = calc.moonage(-477766.54435964045);
    EXPECT_GE(age, 0.0);
    EXPECT_LT(age, 29.530589);
}

TEST_F(EnginePositions, MoonAgeGrowsADayADayAndWrapsAtNewMoon)
{
    int wraps = 0;
    double previous = calc.moonage(2451544.5 - 1);
    for (int i = 0; i < 366 * 3; ++i) {
        const double age = calc.moonage(2451544.5 + i);
        ASSERT_TRUE(age >= 0 && age < 29.530589) << i;
        const double step = age - previous;
        if (step < 0) {
            ++wraps;
            EXPECT_GT(previous, 28.4) << i;  // from just under a lunation ...
            EXPECT_LT(age, 1.1) << i;        // ... to just above 0
        } else {
            EXPECT_NEAR(step, 1.0, 0.05) << i;
        }
        previous = age;
    }
    EXPECT_NEAR(wraps, 366 * 3 / 29.530589, 1.0);
}

}  // namespace
