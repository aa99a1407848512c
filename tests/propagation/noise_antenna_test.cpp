// Noise temperatures and antenna patterns.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "propagation/antenna.h"
#include "propagation/noise.h"

namespace {

// Wavelength at 12 GHz, m.
constexpr double kLambda12 = 299792458.0 / 12e9;

TEST(NoiseTemperatures, ByHand)
{
    EXPECT_NEAR(SkyNoiseTemp(0.0, 290.0), 2.7, 1e-12);
    EXPECT_NEAR(SkyNoiseTemp(400.0, 290.0), 0.81 * 290 + 37.34, 1e-9);   // 272.24 K
    // 3 dB: t = 0.501187, 0.498813 x 272.24 + 2.7 t = 137.14999 K.
    EXPECT_NEAR(SkyNoiseTemp(3.0, 290.0), 137.14999, 1e-5);
    EXPECT_NEAR(AntennaNoiseTemp(65.0, 290.0, 0.0), 2.7 + 0.35 * 90, 1e-12);
    EXPECT_NEAR(SystemNoiseTemp(50.0, 0.0, 30.0, 0.0, 290.0), 82.7, 1e-12);   // Trx + Ta + 2.7
    // Feed loss 0.5 dB: l = 0.891251, 0.108749 x 290 + 50 + l x 32.7 = 110.68113 K.
    EXPECT_NEAR(SystemNoiseTemp(50.0, 0.5, 30.0, 0.0, 290.0), 110.68113, 1e-5);
}

// Pattern A at D / lambda = 200 (12 GHz, D = 4.99654 m), Gmax = 54 dBi:
// G1 = 2 + 15 log 200 = 36.515, phi_m = 0.1 sqrt(54 - G1) = 0.41815,
// phi_r = 15.85 x 200^-0.6 = 0.6629, phi_h = 0.5 so phi_s = 1.
TEST(PatternA, LargeAntenna)
{
    const double d = 200 * kLambda12;
    struct Case { double phi, gain; };
    const Case cases[] = {
        {0.0, 54.0},
        {0.2, 54.0 - 0.0025 * 40.0 * 40.0},        // main lobe: 50
        {0.5, 2 + 15 * std::log10(200.0)},          // G1
        {0.8, 32 - 25 * std::log10(0.8)},           // 34.42, below phi_s
        {1.0, 32.0},                                 // the envelope jumps just above 1 degree
        {1.0001, 29 - 25 * std::log10(1.0001)},
        {10.0, 4.0},
        {20.0, 29 - 25 * std::log10(20.0)},
        {20.0001, -3.5},
        {26.3, -3.5},
        {30.0, 32 - 25 * std::log10(30.0)},          // -4.93
        {47.99, 32 - 25 * std::log10(47.99)},
        {48.0, -10.0},
        {100.0, -10.0},
        {180.0, -10.0},
        {-10.0, 4.0},                                 // by magnitude
        {250.0, -10.0},                               // beyond 180 reads as 180
    };
    for (const Case& c : cases) EXPECT_NEAR(ReferencePatternA(54.0, c.phi, 12.0, d), c.gain, 1e-9) << c.phi;
    EXPECT_NEAR(ReferencePatternA(54.0, 30.0, 12.0, d), -4.92803, 1e-5);
}

// D / lambda = 40.028 (1 m at 12 GHz), Gmax = 40: G1 = 26.0354, phi_m = 1.86717,
// phi_h = 2.49827 = phi_s.
TEST(PatternA, SmallAntenna)
{
    struct Case { double phi, gain; };
    const Case cases[] = {
        {2.0, 26.035408},                              // G1
        {2.6, 29 - 25 * std::log10(2.6)},              // the step-4 envelope from phi_h
        {30.0, -0.9516368},                             // 52 - 10 log r - 25 log 30
        {60.0, -6.0236054},                             // 10 - 10 log r
    };
    for (const Case& c : cases) EXPECT_NEAR(ReferencePatternA(40.0, c.phi, 12.0, 1.0), c.gain, 1e-6) << c.phi;
    // A maximum gain below G1 leaves no main lobe; every angle still has a gain.
    for (double phi = 0.0; phi <= 180.0; phi += 0.25)
        EXPECT_TRUE(std::isfinite(ReferencePatternA(20.0, phi, 12.0, 1.0))) << phi;
    EXPECT_EQ(ReferencePatternA(20.0, 1.0, 12.0, 1.0), 2 + 15 * std::log10(1.0 / kLambda12));
}

// Pattern B (BO.1213) at 12 GHz, D = 0.6 m, Gmax = 35: lambda / D = 0.0416389,
// phi_r = 3.955595, G1 = 14.069705, phi_m = 3.809832, phi_0 = 2.884754,
// phi_1 = 4.603760, phi_a = 22.9087, phi_b = 10.9648.
TEST(PatternB, CoAndCrossPolar)
{
    struct Case { double phi; unsigned char copolar; double gain; };
    const Case cases[] = {
        {0.0, 1, 35.0},
        {2.0, 1, 29.232022},        // 35 - 0.0025 (2 D / lambda)^2
        {3.9, 1, 14.069705},        // G1
        {10.0, 1, 4.0},
        {30.0, 1, -5.0},
        {100.0, 1, 0.0},
        {0.5, 0, 10.0},             // Gmax - 25
        {0.8654263, 0, 12.105263},  // the ramp to Gmax - 17
        {2.0, 0, 18.0},
        {3.744257, 0, 11.211092},   // half way from phi_0 to phi_1
        {8.0, 0, -1.5772497},       // 21 - 25 log 8
        {20.0, 0, -5.0},
        {100.0, 0, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(ReferencePatternB(35.0, c.phi, 12.0, 0.6, c.copolar), c.gain, 1e-5) << c.phi << " " << int(c.copolar);
    // The cross-polar envelope is continuous at its joints.
    const double phi0 = 2.884754272121993, phi1 = 4.60375963092217;
    for (double joint : {0.25 * phi0, 0.44 * phi0, phi0, phi1})
        EXPECT_NEAR(ReferencePatternB(35.0, joint - 1e-9, 12.0, 0.6, 0), ReferencePatternB(35.0, joint, 12.0, 0.6, 0), 1e-6);
    // The selector picks the envelope; the co-polar flag matters only for B.
    EXPECT_EQ(OffAxisGain(35.0, 8.0, 12.0, 0.6, 0, 0), ReferencePatternA(35.0, 8.0, 12.0, 0.6));
    EXPECT_EQ(OffAxisGain(35.0, 8.0, 12.0, 0.6, 1, 0), ReferencePatternA(35.0, 8.0, 12.0, 0.6));
    EXPECT_EQ(OffAxisGain(35.0, 8.0, 12.0, 0.6, 0, 1), ReferencePatternB(35.0, 8.0, 12.0, 0.6, 0));
    EXPECT_EQ(OffAxisGain(35.0, 8.0, 12.0, 0.6, 1, 7), ReferencePatternB(35.0, 8.0, 12.0, 0.6, 1));
}

// |2 J1(u) / u| from tables of J1: J1(1) = 0.4400505857, J1(2) = 0.5767248078,
// J1(3) = 0.3390589585, J1(10) = 0.0434727462.  D = lambda = 1 m makes
// u = pi sin(theta).
TEST(AperturePatterns, CircularAgainstBesselTables)
{
    const auto theta = [](double u) { return std::asin(u / std::numbers::pi) * 180 / std::numbers::pi; };
    EXPECT_EQ(CircularAperturePattern(0.0, 1.0, 1.0, 0), 1.0);
    EXPECT_NEAR(CircularAperturePattern(theta(1.0), 1.0, 1.0, 0), 0.8801011714, 1e-9);
    EXPECT_NEAR(CircularAperturePattern(theta(2.0), 1.0, 1.0, 0), 0.5767248078, 1e-6);
    EXPECT_NEAR(CircularAperturePattern(theta(3.0), 1.0, 1.0, 0), 0.2260393057, 5e-5);   // short series
    EXPECT_NEAR(CircularAperturePattern(theta(3.0), 1.0, 1.0, 1), 0.2260393057, 1e-9);   // long series
    // At u = 10 the long series still holds.
    const double theta10 = std::asin(1 / std::numbers::pi) * 180 / std::numbers::pi;   // D = 10 lambda
    EXPECT_NEAR(CircularAperturePattern(theta10, 10.0, 1.0, 1), 0.0086945492, 1e-6);
    EXPECT_GT(std::fabs(CircularAperturePattern(theta(3.0), 1.0, 1.0, 0) - 0.2260393057), 1e-6);
}

TEST(AperturePatterns, LineSource)
{
    EXPECT_EQ(LineSourcePattern(0.0, 1.0, 1.0), 1.0);
    const double t = std::asin(0.5) * 180 / std::numbers::pi;   // u = pi / 2
    EXPECT_NEAR(LineSourcePattern(t, 1.0, 1.0), 2 / std::numbers::pi, 1e-12);
    EXPECT_NEAR(LineSourcePattern(90.0, 1.0, 1.0), 0.0, 1e-12);   // first null, u = pi
}

// Half-amplitude widths (-3 dB as 10^-0.15 in amplitude) of uniformly lit
// apertures, solved from the exact patterns for D = 100 lambda:
// circular 2 asin(1.6137412 / (100 pi)) = 0.5886248 degrees (58.86 lambda / D,
// the textbook 58.9 lambda / D of a uniformly illuminated dish), line source
// 2 asin(1.3893486 / (100 pi)) = 0.5067752 degrees (50.7 lambda / D).
TEST(BeamAngle, HalfPowerWidths)
{
    EXPECT_NEAR(BeamAngleAtLevel(-3.0, 1.0, 100.0, 0), 0.5886248, 1e-4);
    EXPECT_NEAR(BeamAngleAtLevel(-3.0, 1.0, 100.0, 1), 0.5067752, 1e-4);
    EXPECT_NEAR(DbToAmplitudeRatio(-6.0), 0.5011872336, 1e-9);
    // An aperture under 1.22 wavelengths searches up to 90 degrees, finitely.
    EXPECT_TRUE(std::isfinite(BeamAngleAtLevel(-3.0, 1.0, 0.5, 0)));
    EXPECT_TRUE(std::isfinite(BeamAngleAtLevel(-3.0, 1.0, 0.0, 0)));
    EXPECT_GT(BeamAngleAtLevel(-10.0, 1.0, 100.0, 0), BeamAngleAtLevel(-3.0, 1.0, 100.0, 0));
}

// Gains -30..100 dBi, angles 0..180 degrees (and beyond), frequencies 0 to
// 100 GHz, apertures 0.002..50 m, efficiencies 10..100 %: all finite.
TEST(AntennaSweep, OnlyFiniteNumbers)
{
    const double gains[] = {-30, 0, 10, 25, 40, 60, 100};
    const double angles[] = {0, 1e-6, 0.1, 0.5, 1, 2, 5, 9.9, 20, 26.3, 30, 48, 70, 100, 179.9, 180, 200, -5};
    const double freqs[] = {0, 0.0007, 0.1, 1, 4, 12, 20, 30, 55, 100};
    const double diameters[] = {0.002, 0.05, 0.3, 1, 2.4, 9, 50};
    for (double g : gains)
        for (double phi : angles)
            for (double f : freqs)
                for (double d : diameters)
                    for (unsigned char copolar : {0, 1})
                        for (unsigned char selector : {0, 1}) {
                            const double gain = OffAxisGain(g, phi, f, d, copolar, selector);
                            ASSERT_TRUE(std::isfinite(gain)) << g << " " << phi << " " << f << " " << d << " "
                                                             << int(copolar) << int(selector);
                        }
    for (double f : freqs)
        for (double d : diameters) {
            const double lambda = 299792458.0 / (f * 1e9);
            for (double theta = 0.0; theta <= 90.0; theta += 7.5) {
                ASSERT_TRUE(std::isfinite(CircularAperturePattern(theta, d, lambda, 0)));
                ASSERT_TRUE(std::isfinite(CircularAperturePattern(theta, d, lambda, 1)));
                ASSERT_TRUE(std::isfinite(LineSourcePattern(theta, d, lambda)));
            }
            for (double level : {-0.1, -3.0, -10.0, -40.0, 3.0})
                for (int pattern : {0, 1}) ASSERT_TRUE(std::isfinite(BeamAngleAtLevel(level, lambda, d, pattern)));
        }
    for (double a : {0.0, 0.1, 3.0, 30.0, 100.0, 1000.0})
        for (double ts : {200.0, 290.0, 330.0})
            for (double eta : {10.0, 65.0, 100.0}) {
                ASSERT_TRUE(std::isfinite(AntennaNoiseTemp(eta, ts, a)));
                ASSERT_TRUE(std::isfinite(SystemNoiseTemp(1.0, 3.0, AntennaNoiseTemp(eta, ts, 0), a, ts)));
            }
}

}  // namespace
