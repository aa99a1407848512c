// The unit converters against hand values and the physical definitions.
#include <gtest/gtest.h>

#include "rftools/calculators/result_text.h"
#include "rftools/calculators/unit_conversion.h"

namespace {

using namespace rfcalc;

TEST(DmsToDegrees, SixtyMinutesAndThirtySixHundredSecondsADegree)
{
    struct Case {
        long d, m, s;
        const char* shown;  // "%.4lf"
    };
    const Case cases[] = {
        {10, 30, 0, "10.5000"},     // 10 + 30/60
        {0, 0, 59, "0.0164"},       // 59/3600 = 0.016389
        {359, 59, 59, "359.9997"},  // 360 - 1/3600
        {45, 0, 36, "45.0100"},     // 36 s = 0.01 degree
        {0, 0, 0, "0.0000"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatFixed(DmsToDegrees(c.d, c.m, c.s), 4), c.shown) << c.d;
}

TEST(DegreesToDms, WholeSecondsCutTowardZero)
{
    struct Case { double degrees; const char* shown; };
    const Case cases[] = {
        {1.5, "1 :30 :00"},
        {359.9999, "359 :59 :59"},  // 1295999.64 s: the seconds never reach 60
        {0.02, "0 :01 :12"},        // 72 s exactly, though 0.02 x 3600 is 71.99999999999999
        {0.0164, "0 :00 :59"},      // 59.04 s
        {10.51, "10 :30 :36"},      // 0.51 degree = 1836 s
        {360.0, "360 :00 :00"},
        {0.0, "0 :00 :00"},
        {12.999999999, "12 :59 :59"},  // 46799.9999964 s is not yet 46800
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDms(DegreesToDms(c.degrees)), c.shown) << c.degrees;
}

// Every angle of two decimals is a whole number of seconds (k/100 degree =
// 36 k s); none may lose one to the rounding of k/100.
TEST(DegreesToDms, NoTwoDecimalAngleLosesASecond)
{
    int lost = 0;
    for (int k = 0; k <= 36000; ++k) {
        const Dms dms = DegreesToDms(k / 100.0);
        const long long seconds = dms.degrees * 3600 + dms.minutes * 60 + dms.seconds;
        if (seconds != 36LL * k || dms.minutes > 59 || dms.seconds > 59) ++lost;
    }
    EXPECT_EQ(lost, 0);
}

TEST(WavelengthAndFrequency, LambdaTimesFrequencyIsTheSpeedOfLight)
{
    struct Case {
        double wavelength_m;
        const char* frequencyShown;  // GHz, "%.6lf"
    };
    const Case cases[] = {
        {0.3, "0.999308"},         // 0.299792458 / 0.3
        {0.299792458, "1.000000"},
        {0.025, "11.991698"},      // Ku band
        {0.002998, "99.997484"},   // the field's lower limit
        {300000.0, "0.000001"},    // 999.3 Hz
    };
    for (const Case& c : cases) EXPECT_EQ(FormatFixed(WavelengthToFrequency(c.wavelength_m), 6), c.frequencyShown);
}

TEST(NoiseConversions, ReferenceTemperatureIs290Kelvin)
{
    constexpr double kTolDb = 1e-6;
    constexpr double kTolK = 1e-5;
    struct Case { double temperature_K; double figure_dB; };
    // F = 10 log10(1 + T / 290): 290 K doubles the noise power (3.0103 dB).
    const Case cases[] = {
        {0.0, 0.0},
        {290.0, 3.010299956639812},
        {75.08836942, 1.0},   // 290 (10^0.1 - 1)
        {288.62607134, 3.0},  // 290 (10^0.3 - 1)
        {2610.0, 10.0},       // 290 x 9
        {1450.0, 7.781512503836436},   // 290 x 5: 10 log10(6)
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(NoiseTemperatureToFigure(c.temperature_K), c.figure_dB, kTolDb) << c.temperature_K;
        EXPECT_NEAR(NoiseFigureToTemperature(c.figure_dB), c.temperature_K, kTolK) << c.figure_dB;
    }
    EXPECT_EQ(FormatFixed(NoiseFigureToTemperature(3.0), 2), "288.63");
    EXPECT_EQ(FormatFixed(NoiseTemperatureToFigure(0.0), 2), "0.00");
}

}  // namespace
