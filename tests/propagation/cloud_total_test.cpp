// Cloud attenuation, scintillation, total attenuation and the power sums.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "propagation/atmosphere.h"
#include "propagation/cloud.h"
#include "propagation/scintillation.h"
#include "propagation/total_attenuation.h"
#include "propagation_fixtures.h"

namespace {

using namespace detail;   // the tables and grids behind the models

constexpr double kDeg = std::numbers::pi / 180.0;

// K_L of ITU-R P.840-9 (double-Debye permittivity at 273.75 K times the
// Gaussian correction) by hand to the last digit.  theta - 1 is one float,
// 0.09589040279388428, for the relaxation frequency as for the permittivities
// (eps0 - eps1 = 81.68983499397063 and eps1 - eps2 = 2.355643614637614 come
// from it): fp = 20.2 - 146 t + 316 t^2 = 9.10561150605248 GHz, fs = 39.8 fp.
// With the decimal 0.0958904 instead, fp would be 9.1056117446 and K_L
// 2.5e-8 lower.
//   14.25 GHz: eps'' = 37.15752060008144, eps' = 29.55620598952452,
//     eta = 0.8492548878370361, 0.819 f / (eps'' (1 + eta^2)) =
//     0.18247869096948846, x 0.9426834219432241 = 0.17201963683483748;
//   29 GHz: eps'' = 23.535020977204315, eps' = 13.191526293395295,
//     eta = 0.6454859890760067, 0.7123674729563332 x 0.9339222858148997
//     = 0.6652958586835624.
TEST(Cloud, SpecificCoefficientByHand)
{
    EXPECT_NEAR(CloudSpecificCoefficient(14.25), 0.17201963683483748, 1e-14);
    EXPECT_NEAR(CloudSpecificCoefficient(29.0), 0.6652958586835624, 1e-14);
    EXPECT_EQ(CloudSpecificCoefficient(0.0), 0.0);
    EXPECT_GT(CloudSpecificCoefficient(0.0007), 0.0);
}

class CloudWithUniformMaps : public ::testing::Test {
protected:
    void SetUp() override { proptest::UniformAtmosphere{}.Install(); }   // L_5 = 1.0, L_50 = 0.2
};

TEST_F(CloudWithUniformMaps, ClampsAndRainHeight)
{
    const auto cloud = [](double availability, double height = 0.0, double elevation = 30.0) {
        return CloudAttenuation(10.0, 20.0, elevation, 20.0, availability, height);
    };
    const double kl = CloudSpecificCoefficient(20.0);
    EXPECT_NEAR(cloud(95.0), kl * 1.0 / std::sin(30 * kDeg), 1e-6);
    EXPECT_NEAR(cloud(50.0), kl * 0.2 / std::sin(30 * kDeg), 1e-6);
    EXPECT_EQ(cloud(99.9), cloud(95.0));
    EXPECT_EQ(cloud(30.0), cloud(50.0));
    // At and above h0 + 0.36 km there is no cloud below the station.
    const double top = IsothermHeightAt(10.0f, 20.0f) + 0.36;
    EXPECT_EQ(cloud(95.0, top), 0.0);
    EXPECT_EQ(cloud(95.0, 7.0), 0.0);
    EXPECT_GT(cloud(95.0, top - 0.01), 0.0);
    // Elevation 0 is taken as 1e-6 rad.
    EXPECT_NEAR(cloud(95.0, 0.0, 0.0), kl / std::sin(1e-6), 1e-6 * kl / std::sin(1e-6));
}

// ITU-R P.618-13 section 2.4.1 by hand, London: N_wet = 50.389256 (P.453
// grid), D = 1 m, eta = 65 %, 14.25 GHz, elevation 31.07699124, p = 1 %:
// sigma_ref = 8.6389256e-3, L = 1936.8463 m, x = 0.00583436, g^2 = 0.941541,
// sigma = 0.0873106, a(1) = 3.0, fade = 0.2619319 dB (the Study Group 3
// example gives 0.26193).
TEST(Scintillation, LondonByHandFromP618)
{
    EXPECT_NEAR(ScintillationFadeForWetRefractivity(50.389256, 1.0, 65.0, 31.07699124, 14.25, 99.0), 0.2619319, 1e-6);
    EXPECT_NEAR(WetRefractivityAt(51.5f, -0.14f), 50.389256, 1e-5);
    EXPECT_NEAR(ScintillationFade(51.5, -0.14, 1.0, 65.0, 31.07699124, 14.25, 99.0, 0.0691), 0.2619319, 2e-6);
}

TEST(Scintillation, EdgeCases)
{
    const auto fade = [](double availability, double height = 0.0) {
        return ScintillationFade(51.5, -0.14, 1.2, 60.0, 30.0, 12.0, availability, height);
    };
    // a(50) = -0.061 (log 50)^3 + 0.072 (log 50)^2 - 1.71 log 50 + 3 = 0.0034406
    const double sigma = fade(99.0) / 3.0;
    EXPECT_NEAR(fade(50.0), 0.0034406299 * sigma, 1e-9);
    EXPECT_GT(fade(50.0), 0.0);
    EXPECT_EQ(fade(40.0), 0.0);            // a(60) < 0: no fade
    EXPECT_EQ(fade(99.0, 6.5), 0.0);       // above 6 km
    EXPECT_GT(fade(99.0, 6.0), 0.0);       // 6 km itself is computed
    EXPECT_EQ(fade(100.0), fade(99.99999));
    EXPECT_TRUE(std::isfinite(ScintillationFade(51.5, -0.14, 1.2, 60.0, 0.0, 12.0, 99.0, 0.0)));
    // A large aperture averages the fade out: g^2 reaches 0.
    EXPECT_EQ(ScintillationFade(51.5, -0.14, 50.0, 100.0, 30.0, 55.0, 99.0, 0.0), 0.0);
}

// Gas 0.2, rain 5, cloud 0.3, scintillation 0.4 dB: from p = 5 % on,
// 0.2 + sqrt(5.3^2 + 0.4^2) = 5.515072906367; above it the plain sum 0.7 dB.
TEST(TotalAttenuation, BothBranches)
{
    EXPECT_NEAR(TotalAttenuation(0.2, 5.0, 0.3, 0.4, 99.0), 5.515072906367, 1e-12);
    EXPECT_NEAR(TotalAttenuation(0.2, 5.0, 0.3, 0.4, 95.0), 5.515072906367, 1e-12);
    EXPECT_NEAR(TotalAttenuation(0.2, 5.0, 0.3, 0.4, 94.0), 0.7, 1e-12);
}

TEST(PowerSums, ValuesAndFloor)
{
    struct Case { double result, expected; };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {CombineCN2(10, 10), 10 - 10 * std::log10(2.0)},   // 6.99
        {CombineCN3(10, 10, 10), 10 - 10 * std::log10(3.0)},
        {CombineCN4(20, 30, 30, 30), 18.8606},
        {CombineCN2(inf, inf), 120.0},                      // sum 0: floor 1e-12
        {CombineCN4(nan, 10, 10, 10), 120.0},               // not a number: floor
    };
    for (const Case& c : cases) EXPECT_NEAR(c.result, c.expected, 1e-4);
    EXPECT_TRUE(std::isfinite(CombineCN2(-4000.0, 10.0)));   // overflowing sum stays finite
    EXPECT_LT(CombineCN2(-4000.0, 10.0), -300.0);
}

}  // namespace
