// Link-level quantities: noise powers that add, densities, the ITU-R P.841
// availability conversions and the antenna noise of a site.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "propagation/itu_maps.h"
#include "rftools/calculators/link_level.h"
#include "rftools/calculators/result_text.h"
#include "tests/propagation/propagation_fixtures.h"

namespace {

using namespace rfcalc;

TEST(DegradationAndCim, WorkedCaseAndRoundTrips)
{
    // Es/No 10 dB allows N/C = 0.1; 1 dB of degradation leaves 10^-1.1 = 0.07943
    // for the noise, so IM/C = 0.1 - 0.07943 = 0.02057: C/IM = 16.87 dB.
    EXPECT_EQ(FormatFixed(DegradationToCim(10.0, 1.0), 2), "16.87");
    EXPECT_EQ(FormatFixed(CimToDegradation(10.0, 16.87).value(), 2), "1.00");
    // 3 dB of degradation: half the allowed noise is intermodulation, C/IM = E + 3.
    EXPECT_NEAR(DegradationToCim(12.0, 10.0 * std::log10(2.0)), 12.0 + 10.0 * std::log10(2.0), 1e-12);

    constexpr double kTolDb = 1e-9;
    struct Case { double esNo, degradation; };
    const Case cases[] = {{-10.0, 0.01}, {0.0, 0.5}, {6.5, 2.0}, {20.0, 10.0}, {100.0, 0.2}};
    for (const Case& c : cases) {
        const double cim = DegradationToCim(c.esNo, c.degradation);
        EXPECT_GT(cim, c.esNo) << c.esNo;
        EXPECT_NEAR(CimToDegradation(c.esNo, cim).value(), c.degradation, kTolDb) << c.esNo;
    }
    // Intermodulation as strong as the whole allowed noise leaves none for the
    // thermal noise: no degradation exists.
    EXPECT_FALSE(CimToDegradation(10.0, 10.0).has_value());
    EXPECT_FALSE(CimToDegradation(10.0, 9.0).has_value());
    EXPECT_FALSE(CimToDegradation(100.0, 1.0).has_value());
    EXPECT_TRUE(CimToDegradation(10.0, 10.01).has_value());
}

TEST(PowerRatioSum, NoisePowersAdd)
{
    constexpr double kTolDb = 1e-9;
    struct Case { std::vector<double> ratios; double total; };
    const Case cases[] = {
        {{20.0, 20.0}, 20.0 - 10.0 * std::log10(2.0)},          // 16.99
        {{20.0, 20.0, 20.0}, 20.0 - 10.0 * std::log10(3.0)},    // 15.23
        {{10.0, 20.0}, -10.0 * std::log10(0.1 + 0.01)},         // 9.586
        {{15.0, 15.0, 15.0, 15.0, 15.0}, 15.0 - 10.0 * std::log10(5.0)},
        {{-3.0, 30.0}, -10.0 * std::log10(std::pow(10.0, 0.3) + 0.001)},
    };
    for (const Case& c : cases) EXPECT_NEAR(PowerRatioSum(c.ratios), c.total, kTolDb) << c.ratios.size();
}

TEST(FlangePowerDensity, WattsOverHertz)
{
    struct Case {
        double power_W, bandwidth_MHz;
        const char* wattsPerHz;   // "%.8lf", "%.2lf", "%.2lf"
        const char* dBWPerHz;
        const char* dBWPer4kHz;
    };
    const Case cases[] = {
        {100.0, 36.0, "0.00000278", "-55.56", "-19.54"},   // 2.778e-6 W/Hz; + 36.02 dB for 4 kHz
        {1.0, 1.0, "0.00000100", "-60.00", "-23.98"},
        {2000.0, 0.00001, "200.00000000", "23.01", "59.03"},   // 2 kW in 10 Hz
    };
    for (const Case& c : cases) {
        const FlangeDensity d = FlangePowerDensity(c.power_W, c.bandwidth_MHz);
        EXPECT_EQ(FormatFixed(d.wattsPerHz, 8), c.wattsPerHz) << c.power_W;
        EXPECT_EQ(FormatFixed(d.dBWPerHz, 2), c.dBWPerHz) << c.power_W;
        EXPECT_EQ(FormatFixed(d.dBWPer4kHz, 2), c.dBWPer4kHz) << c.power_W;
    }
}

// "%.4lf", or "" where the conversion does not hold (shown "Invalid").
std::string Shown(const std::optional<double>& v) { return v ? FormatFixed(*v, 4) : ""; }

TEST(AverageYearFromWorstMonth, WorkedCasesAndOpenRanges)
{
    struct Case { const char* name; double worstMonth; const char* global; const char* tropical; const char* dry; };
    const Case cases[] = {
        {"99.9", 99.9, "99.9788", "99.9802", "99.9856"},
        {"95", 95.0, "98.0904", "97.9960", "98.8476"},
        {"90", 90.0, "", "", "97.4953"},
        // u = 7.8 and 0.00019 are the ends of the global range, open: as typed
        // (100 - 92.2 = 7.799999999999997) they must still fall outside.
        {"u-at-7.8", 92.2, "", "", "98.1037"},
        {"u-inside-7.8", 92.21, "96.8203", "", "98.1065"},
        {"u-at-0.00019", 99.99981, "", "", ""},
        {"u-at-0.00077", 99.99923, "99.9999", "", ""},
        {"u-at-11.91", 88.09, "", "", ""},
        {"40", 40.0, "", "", ""},
    };
    for (const Case& c : cases) {
        const AverageYearAvailability a = AverageYearFromWorstMonth(c.worstMonth);
        EXPECT_EQ(Shown(a.globalPlanning), c.global) << c.name;
        EXPECT_EQ(Shown(a.tropicalTemperate), c.tropical) << c.name;
        EXPECT_EQ(Shown(a.dryPolarDesert), c.dry) << c.name;
    }
}

// ITU-R P.841's global row is the inverse of p_w = 2.85 p^0.87: the 0.3 u^1.15
// of the calculator agrees with it to 0.5 % of the unavailability.
TEST(AverageYearFromWorstMonth, GlobalRowInvertsTheWorstMonthRelation)
{
    for (double u : {0.001, 0.01, 0.1, 1.0, 5.0}) {
        const double p = 100.0 - AverageYearFromWorstMonth(100.0 - u).globalPlanning.value();
        EXPECT_NEAR(2.85 * std::pow(p, 0.87) / u, 1.0, 5e-3) << u;
    }
}

class AntennaNoiseTest : public ::testing::Test {
protected:
    void SetUp() override { proptest::UniformAtmosphere{}.Install(); }
    void TearDown() override { FreeItuMaps(); }
};

TEST_F(AntennaNoiseTest, SpillOverAddsNinetyKelvinTimesTheLostEfficiency)
{
    // London to 28.2E at 12 GHz: cos g = cos 51.5 cos 28.3 = 0.5481, free-space
    // elevation atan((cos g - 0.15127) / sin g) = 25.38 degrees, plus refraction.
    const AntennaNoiseEstimate full = EstimateAntennaNoise(51.5, -0.1, 28.2, 100.0, 12.0);
    const AntennaNoiseEstimate half = EstimateAntennaNoise(51.5, -0.1, 28.2, 50.0, 12.0);
    ASSERT_TRUE(full.visible);
    EXPECT_NEAR(full.elevation_deg, 25.38 + 0.03, 0.03);
    EXPECT_NEAR(half.noise_K - full.noise_K, 45.0, 1e-9);
    // Clear sky at Ku band: a fraction of a dB of gas at ~270 K mean radiating
    // temperature plus the 2.7 K background.
    EXPECT_GT(full.noise_K, 3.0);
    EXPECT_LT(full.noise_K, 30.0);
    // More air at lower elevation: more sky noise.
    const AntennaNoiseEstimate low = EstimateAntennaNoise(51.5, -0.1, 60.0, 100.0, 12.0);
    ASSERT_TRUE(low.visible);
    EXPECT_LT(low.elevation_deg, full.elevation_deg);
    EXPECT_GT(low.noise_K, full.noise_K);
}

TEST_F(AntennaNoiseTest, SatelliteBeyondTheHorizonHasNone)
{
    struct Case { double latitude, longitude, satellite; bool visible; };
    const Case cases[] = {
        {51.5, -0.1, -100.1, false},   // 100 degrees of longitude away
        {0.0, 0.0, 100.0, false},
        {0.0, 0.0, 75.0, true},        // within 81.3 degrees at the equator
        {-33.9, 151.2, 156.0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EstimateAntennaNoise(c.latitude, c.longitude, c.satellite, 60.0, 4.0).visible, c.visible)
            << c.latitude << ", " << c.longitude << " -> " << c.satellite;
}

}  // namespace
