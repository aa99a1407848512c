// Dish geometry and gains against the textbook: the parabola's focus, the
// Airy pattern of a uniformly illuminated circular aperture, and the aperture
// gain eta (pi D / lambda)^2.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "rftools/calculators/antenna_geometry.h"
#include "rftools/calculators/result_text.h"

namespace {

using namespace rfcalc;

TEST(FocalDistance, ParabolaThroughTheRimAndFOverD)
{
    // y = x^2 / (4F) through (D/2, depth): F = (D/2)^2 / (4 depth).
    EXPECT_EQ(FormatFixed(FocalDistanceFromDepth(1.8, 0.3), 3), "0.675");    // 0.81 / 1.2
    EXPECT_EQ(FormatFixed(FocalDistanceFromDepth(2.4, 0.36), 3), "1.000");   // 1.44 / 1.44
    EXPECT_EQ(FormatFixed(FocalDistanceFromDepth(0.6, 0.05), 3), "0.450");   // 0.09 / 0.2
    EXPECT_EQ(FormatFixed(FocalDistanceFromRatio(0.35, 2.0), 3), "0.700");
    EXPECT_EQ(FormatFixed(FocalDistanceFromRatio(0.6, 1.2), 3), "0.720");
}

// The uniformly illuminated circular aperture's field 2 J1(u) / u falls to a
// level L at u_L (u = pi D sin(theta) / lambda); the full width is
// 2 asin(u_L lambda / (pi D)).  u_L solved on J1 to 12 digits (outside this
// code): -3 dB 1.613741, -6 dB 2.211785, -10 dB 2.731379, -20 dB 3.419739.
TEST(NominalBeamwidth, OnePointOneNineTimesTheAiryWidth)
{
    constexpr double kTolDeg = 2e-3;
    struct Case { const char* name; double level_dB, frequency_GHz, diameter_m; double uAtLevel; };
    const Case cases[] = {
        {"1m-12GHz-3dB", -3.0, 12.0, 1.0, 1.613741196},
        {"1.8m-4GHz-3dB", -3.0, 4.0, 1.8, 1.613741196},
        {"2.4m-12GHz-10dB", -10.0, 12.0, 2.4, 2.731378866},
        {"3m-1.5GHz-6dB", -6.0, 1.5, 3.0, 2.211785445},
        {"9m-6GHz-20dB", -20.0, 6.0, 9.0, 3.419739008},
        // 1.22 lambda / D = 1.83: beyond the first-null formula, but the
        // main lobe is down to -3 dB at 50.4 degrees.
        {"0.1m-2GHz-3dB", -3.0, 2.0, 0.1, 1.613741196},
    };
    for (const Case& c : cases) {
        const double lambda = 299792458.0 / (c.frequency_GHz * 1e9);
        const double airy_deg =
            2.0 * std::asin(c.uAtLevel * lambda / (std::numbers::pi * c.diameter_m)) * 180.0 / std::numbers::pi;
        const NominalBeamwidth r = NominalBeamwidthAt(c.level_dB, c.frequency_GHz, c.diameter_m);
        ASSERT_TRUE(r.defined) << c.name;
        EXPECT_NEAR(r.width_deg, 1.19 * airy_deg, kTolDeg * std::max(1.0, airy_deg)) << c.name;
    }
    // The rule of thumb 70 lambda / D at 1 m, 12 GHz: 1.749 degrees.
    EXPECT_EQ(FormatFixed(NominalBeamwidthAt(-3.0, 12.0, 1.0).width_deg, 2), "1.75");
}

// Below 1.22 wavelengths the pattern at 90 degrees is 2 J1(u90) / u90 with
// u90 = pi D / lambda; a level under it is never reached.
TEST(NominalBeamwidth, ApertureTooSmallForTheLevelHasNone)
{
    struct Case { const char* name; double level_dB, frequency_GHz, diameter_m; bool defined; };
    const Case cases[] = {
        {"0.1m-2GHz-6dB", -6.0, 2.0, 0.1, false},         // u90 = 2.096: -5.31 dB at 90 degrees
        {"0.1m-2GHz-5dB", -5.0, 2.0, 0.1, true},
        {"50m-700kHz-3dB", -3.0, 0.0007, 50.0, false},    // lambda 428 m: u90 = 0.367, -0.15 dB
        {"50m-700kHz-0.1dB", -0.1, 0.0007, 50.0, true},
        {"0.1m-55GHz-20dB", -20.0, 55.0, 0.1, true},      // 18 wavelengths: an ordinary dish
    };
    for (const Case& c : cases) {
        const NominalBeamwidth r = NominalBeamwidthAt(c.level_dB, c.frequency_GHz, c.diameter_m);
        EXPECT_EQ(r.defined, c.defined) << c.name;
        if (r.defined) {
            EXPECT_TRUE(std::isfinite(r.width_deg)) << c.name;
            EXPECT_LE(r.width_deg, 1.19 * 180.0) << c.name;
        }
    }
}

TEST(BoresightGain, ApertureGain)
{
    // G = eta (pi D / lambda)^2: 1 m at 12 GHz is 15812 (41.99 dBi) at 100 %.
    struct Case { double diameter_m, efficiency, frequency_GHz; const char* shown; };
    const Case cases[] = {
        {1.0, 100.0, 12.0, "41.99"},
        {1.0, 65.0, 12.0, "40.12"},   // 41.99 + 10 log10(0.65)
        {1.2, 65.0, 12.0, "41.70"},
        {2.4, 70.0, 4.0, "38.50"},    // (pi 2.4 / 0.0749481)^2 x 0.7 = 7084
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixed(BoresightGain(c.diameter_m, c.efficiency, c.frequency_GHz), 2), c.shown)
            << c.diameter_m << " m " << c.efficiency << " %";
}

}  // namespace
