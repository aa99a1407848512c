// Rain attenuation, rain XPD and site diversity.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "propagation/atmosphere.h"
#include "propagation/rain.h"
#include "propagation_fixtures.h"

namespace {

constexpr double kPi = std::numbers::pi;

// k and alpha of ITU-R P.838-3 (its table of coefficients, horizontal and
// vertical polarization), read back through gamma = k R^alpha: R = 1 gives k,
// R = 10 gives k 10^alpha.  Elevation 0, tilt 0 is horizontal; tilt pi/2 is
// vertical.
TEST(RainCoefficients, P838TableValues)
{
    struct Case { double f, kH, alphaH, kV, alphaV; };
    const Case cases[] = {
        {10.0, 0.01217, 1.2571, 0.01129, 1.2156},
        {20.0, 0.09164, 1.0568, 0.09611, 0.9847},
        {30.0, 0.2403, 0.9485, 0.2291, 0.9129},
    };
    for (const Case& c : cases) {
        const double kH = RainCoefficientsP838(0.0, c.f, 0.0, 1.0);
        const double kV = RainCoefficientsP838(0.0, c.f, kPi / 2, 1.0);
        EXPECT_NEAR(kH, c.kH, 0.5e-4 * c.kH / 0.01) << c.f;
        EXPECT_NEAR(kV, c.kV, 0.5e-4 * c.kV / 0.01) << c.f;
        EXPECT_NEAR(std::log10(RainCoefficientsP838(0.0, c.f, 0.0, 10.0) / kH), c.alphaH, 1e-4);
        EXPECT_NEAR(std::log10(RainCoefficientsP838(0.0, c.f, kPi / 2, 10.0) / kV), c.alphaV, 1e-4);
    }
    EXPECT_DOUBLE_EQ(GaussianTerm(1.0, 2.0, 1.0, 3.0), 2.0);
    EXPECT_DOUBLE_EQ(GaussianTerm(4.0, 2.0, 1.0, 3.0), 2.0 * std::exp(-1.0));
}

// London, the ITU-R Study Group 3 test site: 51.5N 0.14W, station 0.0691 km,
// 14.25 GHz, elevation 31.07699124 degrees, horizontal polarization,
// R0.01 = 26.48052 mm/h, p = 0.01 %.  Derived by hand from the P.618-13
// equations with h0 = 2.0927327 km read from the P.839-4 grid:
//   hR = 2.4527327, Ls = (hR - hs) / sin(theta) = 4.6177479 km,
//   LG = 3.9549831, gamma_R = 1.5813084 dB/km, r0.01 = 0.8796047,
//   zeta = atan((hR - hs) / (LG r)) = 0.6007129 rad > theta = 0.5424 rad,
//   so LR = LG r / cos(theta) = 4.0617927 km (the comparison in degrees would
//   take 4.6177 km and give 7.65 dB), chi = 0, v0.01 = 1.0474876,
//   A0.01 = 6.7279573 dB; at p = 0.01 the exponent leaves A0.01.
TEST(RainAttenuation, LondonByHandFromP618)
{
    ASSERT_NEAR(IsothermHeightAt(51.5f, -0.14f), 2.0927327, 1e-6);
    const double a = RainAttenuationP618(51.5, -0.14, 0.0, 0.0691, 31.07699124, 14.25, 26.48052, 99.99);
    EXPECT_NEAR(a, 6.7279573, 2e-6);
}

// Kuala Lumpur: 3.133N 101.7E, 0.05 km, 30 GHz, elevation 20 degrees,
// circular polarization, R0.01 = 99.15 mm/h, p = 0.1 %.  Low latitude and
// low elevation bring in chi and beta.  By hand from P.618-13 with
// h0 = 4.5979748 km: hR = 4.9579748, Ls = dh / sin 20 = 14.349958 km,
// LG = 13.484550, k = 0.2346993, alpha = 0.9311149 (tau 45, theta 20 degrees),
// gamma_R = 16.954678 dB/km, r = 0.3605861, zeta = 0.7900687 rad > 0.3490659
// so LR = 5.1743959 km, chi = 32.867, v = 1.2180652 (exp(-20 / 33.867)),
// A0.01 = 106.861122 dB, beta = -0.005 (3.133 - 36) + 1.8 - 4.25 sin 20
// = 0.51075, exponent 0.655 + 0.033 ln 0.1 - 0.045 ln A0.01 - beta 0.9 sin 20
// = 0.21155, A0.1 = 65.651071 dB.
TEST(RainAttenuation, KualaLumpurWithTheLowLatitudeTerms)
{
    const double a = RainAttenuationP618(3.133, 101.7, kPi / 4, 0.05, 20.0, 30.0, 99.15, 99.9);
    EXPECT_NEAR(a, 65.651071, 1e-3);
}

TEST(RainAttenuation, EdgeCases)
{
    const auto at = [](double height, double availability, double rate = 30.0) {
        return RainAttenuationP618(40.0, -3.7, 0.0, height, 35.0, 12.0, rate, availability);
    };
    EXPECT_EQ(at(0.6, 94.9), 0.0);        // p = 5.1: no rain term
    EXPECT_GT(at(0.6, 95.0), 0.0);        // p = 5 computes
    EXPECT_EQ(at(0.6, 99.9, 0.0), 0.0);   // no rain rate
    EXPECT_EQ(at(0.6, 99.9, -3.0), 0.0);
    EXPECT_EQ(at(8.0, 99.9), 1e-12);      // station above the rain height
    EXPECT_GT(at(0.6, 99.99), at(0.6, 99.9));
    // The availability limit of 99.99999 % in the record routine.
    const auto full = RainAttenuation(40.0, -3.7, 0.0, 0.6, 35.0, 12.0, "H", 1, 30.0, 100.0);
    const auto limit = RainAttenuation(40.0, -3.7, 0.0, 0.6, 35.0, 12.0, "H", 1, 30.0, 99.99999);
    EXPECT_EQ(full.attenuation, limit.attenuation);
    EXPECT_TRUE(std::isfinite(full.attenuation));
    // Elevation 0 is taken as 1e-6 degrees: long but finite path.
    EXPECT_TRUE(std::isfinite(RainAttenuationP618(40.0, -3.7, 0.0, 0.6, 0.0, 12.0, 30.0, 99.9)));
    EXPECT_TRUE(std::isfinite(RainAttenuationP618(0.0, -3.7, 0.0, 0.6, 90.0, 12.0, 30.0, 99.9)));
}

class RainRecord : public ::testing::Test {
protected:
    void SetUp() override { proptest::UniformAtmosphere{}.Install(); }   // R0.01 = 42.5 everywhere
};

TEST_F(RainRecord, RainRateSources)
{
    const auto manual = RainAttenuation(40.0, -3.7, 0.0, 0.6, 35.0, 12.0, "V", 1, 30.0, 99.9);
    EXPECT_STREQ(manual.rainRateText, "30.000");
    EXPECT_STREQ(manual.modelName, "ITU-R");
    EXPECT_EQ(manual.attenuation, RainAttenuationP618(40.0, -3.7, 0.0, 0.6, 35.0, 12.0, 30.0, 99.9));

    for (int source : {2, 3}) {
        const auto same = RainAttenuation(40.0, -3.7, 0.0, 0.6, 35.0, 12.0, "V", source, 30.0, 99.9);
        EXPECT_EQ(same.attenuation, manual.attenuation) << source;
        EXPECT_STREQ(same.rainRateText, "30.000");
    }
    // The map's rate replaces the caller's.
    const auto map = RainAttenuation(40.0, -3.7, 0.0, 0.6, 35.0, 12.0, "V", 0, 30.0, 99.9);
    EXPECT_STREQ(map.rainRateText, "42.500");
    EXPECT_EQ(map.attenuation, RainAttenuationP618(40.0, -3.7, 0.0, 0.6, 35.0, 12.0, 42.5, 99.9));

    // An unknown source leaves an empty record, not stray bytes.
    for (int source : {-1, 4, 99}) {
        const auto none = RainAttenuation(40.0, -3.7, 0.0, 0.6, 35.0, 12.0, "V", source, 30.0, 99.9);
        EXPECT_EQ(none.attenuation, 0.0);
        EXPECT_STREQ(none.rainRateText, "");
        EXPECT_STREQ(none.modelName, "");
    }
    // A rate too wide for the 9-character field is still terminated.
    const auto wide = RainAttenuation(40.0, -3.7, 0.0, 0.6, 35.0, 12.0, "V", 1, 123456.0, 99.9);
    EXPECT_LT(std::strlen(wide.rainRateText), sizeof(wide.rainRateText));
    EXPECT_STREQ(wide.rainRateText, "1.23e+05");
}

// P.618-13 section 4.1 by hand: XPD = XPDrain - Cice, XPDrain = Cf - CA +
// Ctau + Ctheta + Csigma, Cice = XPDrain (0.3 + 0.1 log10 p) / 2, p as a float.
// London (see above), circular (tau = 45 degrees), p = 0.01 %: Cf = 26 log10
// 14.25 + 4.1 = 34.099186, V = 12.8 f^0.19 = 21.204830, CA = V log10 Ap =
// 17.555123, Ctau = 0, Ctheta = -40 log10 cos(31.077) = 2.691424, sigma = 10
// so Csigma = 0.53: XPDrain = 19.765487, XPD = 18.777213 dB.
// 6 GHz, horizontal, p = 1 %, Ap = 2 dB: Cf = 18.389075, V = 21.141654,
// CA = 6.364272, Ctau = 14.948500, Csigma = 0: XPD = 25.215018 dB.
// 20 GHz, tau 0, 30 degrees, Ap = 3 dB: Cf = 37.926780, CA = 22.6 log10 3 =
// 10.782940, Ctau = 14.948500, Ctheta = 2.498775, so 44.591114 before
// Csigma = 0.0053 sigma^2, sigma stepping on p rounded to three decimals:
// 15 degrees at 0.001 %, 10 at 0.01 %, 5 at 0.1 %, 0 above.
TEST(RainXpd, ByHandFromP618)
{
    constexpr double kTolHand = 1e-5;     // figures to six decimals
    constexpr double kTolSigma = 1e-9;    // figures to eleven decimals
    struct Case { const char* what; double f, tau, el, availability, ap; const char* pol; double xpd, tol; };
    const Case cases[] = {
        {"London", 14.25, kPi / 4, 31.07699124, 99.99, 6.727957, "C", 18.777213, kTolHand},
        {"6 GHz", 6.0, 0.0, 31.07699124, 99.0, 2.0, "H", 25.215018, kTolHand},
        {"sigma 15", 20.0, 0.0, 30.0, 99.999, 3.0, nullptr, 45.78361443235, kTolSigma},
        {"sigma 10", 20.0, 0.0, 30.0, 99.99, 3.0, nullptr, 42.86505877749, kTolSigma},
        {"sigma 5", 20.0, 0.0, 30.0, 99.9, 3.0, nullptr, 40.25125301714, kTolSigma},
        {"sigma 0", 20.0, 0.0, 30.0, 99.0, 3.0, nullptr, 37.90244730763, kTolSigma},
        {"Ap of 0", 12.0, 0.3, 30.0, 99.9, 0.0, nullptr, 0.0, 0.0},
        {"negative Ap", 12.0, 0.3, 30.0, 99.9, -1.0, nullptr, 0.0, 0.0},
        {"above 55 GHz", 55.1, 0.3, 30.0, 99.9, 3.0, nullptr, 0.0, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(RainXpd(c.f, 51.5, c.tau, c.el, c.availability, c.ap, c.pol), c.xpd, c.tol) << c.what;
    EXPECT_NE(RainXpd(55.0, 0.0, 0.3, 30.0, 99.9, 3.0, nullptr), 0.0);
    // Below 6 GHz: the 6 GHz value less 20 log10(f / 6), 3.52 dB more at 4 GHz.
    EXPECT_NEAR(RainXpd(4.0, 0.0, 0.3, 30.0, 99.9, 3.0, nullptr) - RainXpd(6.0, 0.0, 0.3, 30.0, 99.9, 3.0, nullptr),
                3.5218, 1e-4);
    // The latitude has no effect; availability 100 is taken as 99.99999.
    EXPECT_EQ(RainXpd(20.0, 10.0, 0.3, 30.0, 99.9, 3.0, nullptr), RainXpd(20.0, 60.0, 0.3, 30.0, 99.9, 3.0, nullptr));
    EXPECT_EQ(RainXpd(20.0, 10.0, 0.3, 30.0, 100.0, 3.0, nullptr), RainXpd(20.0, 10.0, 0.3, 30.0, 99.99999, 3.0, nullptr));
    // At the zenith the elevation term stays finite.
    EXPECT_TRUE(std::isfinite(RainXpd(20.0, 0.0, 0.3, 90.0, 99.9, 3.0, nullptr)));
}

// P.618-13 section 2.2.4.2 by hand: d = 10 km, A = 15 dB, 20 GHz, 30 degrees,
// baseline 90 degrees: a = 0.78 x 15 - 1.94 (1 - e^-1.65) = 10.132577,
// b = 0.59 (1 - e^-1.5) = 0.458353, G = a (1 - e^-4.58353) e^-0.5 x 1.18 x
// 1.18 = 8.469854 dB.
TEST(SiteDiversity, ByHandFromP618)
{
    EXPECT_NEAR(SiteDiversityGain(10.0, 15.0, 20.0, 30.0, 90.0), 8.469854, 1e-6);
    EXPECT_EQ(SiteDiversityGain(0.0, 15.0, 20.0, 30.0, 90.0), 0.0);   // one site, no gain
    EXPECT_LT(SiteDiversityGain(5.0, 15.0, 20.0, 30.0, 90.0), SiteDiversityGain(20.0, 15.0, 20.0, 30.0, 90.0));
}

}  // namespace
