// A whole clear-sky budget against a calculation by hand from textbook
// formulas, with the atmosphere set to zero.
#include "tests/linkbudget/engine/budget_fixtures.h"

#include <gtest/gtest.h>

namespace {

// Hand calculation (spherical earth R = 6378.14 km, geostationary radius
// r = 42164.57 km, c = 299792458 m/s, k = -228.5993213 dBW/K/Hz):
//  wavelengths      up 14 GHz: 0.021413747 m    down 12 GHz: 0.024982705 m
//  central angle    cos psi = cos(lat) cos(dlon): up cos40 cos10, down cos50 cos10
//  slant range      d = sqrt(R^2 + r^2 - 2 R r cos psi): up 37586.756 km, down 38445.447 km
//  free-space loss  20 log10(4 pi d / lambda): up 206.8710 dB, down 205.7283 dB
//  antenna gain     10 log10(0.65 (pi D / lambda)^2): up 2.4 m 49.0625 dBi, down 1.2 m 41.7030 dBi
//  gain of 1 m^2    10 log10(4 pi / lambda_up^2) = 44.3782 dB/m^2
//  EIRP for saturation = SFD + 10 log10(4 pi d_up^2) = -90 + 162.4928 = 72.4928 dBW
//  uplink C/No at saturation = SFD - G1m2 + G/T - k = -90 - 44.3782 + 0 + 228.5993 = 94.2211 dB-Hz
//  one carrier at input back-off 6 dB: C/No up 88.2211 dB-Hz, EIRP per carrier 66.4928 dBW
//  receive noise    T = T_LNB 50 K + T_antenna 30 K (no feed loss, no atmosphere) = 80 K
//  receive G/T      41.7030 - 10 log10(80) = 22.6721 dB/K
//  output back-off 6 - (6 - 3) = 3 dB: satellite EIRP 47 dBW
//  downlink C/No    47 - 205.7283 + 22.6721 + 228.5993 = 92.5431 dB-Hz
//  total C/No       -10 log10(10^-8.82211 + 10^-9.25431) = 86.8550 dB-Hz
//  rates            Rb 10 Mbps, FEC 3/4 -> 13.3333 Mbps, QPSK -> Rs 6.6667 Mbaud
//  noise bandwidth  10 log10(6.6667e6) = 68.2391 dB-Hz
//  Eb/No            86.8550 - 70 = 16.8550 dB; Es/No = + 10 log10(1.5) = 18.6159 dB
//  excess margin    16.8550 - 4.5 = 12.3550 dB
//  HPA power        66.4928 - 49.0625 + 1 (coupling) + 3 (HPA back-off) = 21.4303 dBW = 139.0046 W
//  transponder power share 10^4.7 / 10^(0.1 (50 - 3)) = 100 %; power-equivalent bandwidth 36 MHz

constexpr double kTol = 0.01;

class HandBudget : public ::testing::Test {
protected:
    FixedAtmosphere atmosphere;
    RecordingHost host;
    GeoLinkBudget budget{atmosphere, host};
    void SetUp() override
    {
        FillHandBudget(budget.record);
        ASSERT_EQ(budget.Recalculate(), GeoLinkBudget::Outcome::Completed);
    }
};

TEST_F(HandBudget, GeometryAndAntennas)
{
    const struct { const char* name; double got, want; } rows[] = {
        {"uplink slant range km", budget.upSite.slantRange, 37586.756},
        {"downlink slant range km", budget.dnSite.slantRange, 38445.447},
        {"uplink free-space loss", budget.upSite.freeSpaceLoss, 206.8710},
        {"downlink free-space loss", budget.dnSite.freeSpaceLoss, 205.7283},
        {"uplink gain", budget.upSite.antennaGain, 49.0625},
        {"downlink gain", budget.dnSite.antennaGain, 41.7030},
        {"gain of 1 m2", budget.sol.gain1m2, 44.3782},
        {"downlink G/T", budget.dnPath.clearSkyGt, 22.6721},
        {"downlink system noise K", budget.dnPath.clearSkySystemTemp, 80.0},
    };
    for (const auto& r : rows) EXPECT_NEAR(r.got, r.want, kTol) << r.name;
    // Refraction lifts the free-space elevations (42.58 and 31.90 degrees) a little.
    EXPECT_NEAR(budget.upSite.elevation, 42.59, 0.02);
    EXPECT_NEAR(budget.dnSite.elevation, 31.91, 0.02);
}

TEST_F(HandBudget, CarrierToNoiseAndMargin)
{
    const LinkCaseResult& cs = budget.clearSky;
    const struct { const char* name; double got, want; } rows[] = {
        {"EIRP for saturation", budget.sol.eirpForSaturation, 72.4928},
        {"uplink C/No at saturation", budget.sol.satUpCNo, 94.2211},
        {"uplink EIRP per carrier", cs[kUplinkEirp], 66.4928},
        {"uplink C/No", cs[kUpCNo], 88.2211},
        {"satellite EIRP", cs[kSatelliteEirp], 47.0},
        {"downlink C/No", cs[kDownCNo], 92.5431},
        {"total C/No", cs[kTotalCNo], 86.8550},
        {"total C/(No+Io)", cs[kTotalCNoIo], 86.8550},
        {"symbol rate", budget.sol.symbolRate, 6.6667},
        {"noise bandwidth", budget.sol.noiseBandwidth, 68.2391},
        {"required C/No", budget.sol.requiredCNo, 74.5},
        {"Eb/No", cs[kTotalEbNoIo], 16.8550},
        {"Es/No", cs[kTotalEsNoIo], 18.6159},
        {"excess margin", cs[kExcessMargin], 12.3550},
        {"power share %", cs[kPowerShare], 100.0},
        {"power-equivalent bandwidth", budget.sol.powerEquivalentBandwidth, 36.0},
    };
    for (const auto& r : rows) EXPECT_NEAR(r.got, r.want, kTol) << r.name;
}

TEST_F(HandBudget, EarthStationPowerAndTexts)
{
    EXPECT_NEAR(budget.sol.totalHpaPower, 21.4303, kTol);
    EXPECT_NEAR(10.0 * std::log10(budget.sol.requiredHpaPower), 21.4303, kTol);
    EXPECT_NEAR(budget.sol.requiredHpaPower, 139.0046, 139.0046 * 0.0024);  // 0.01 dB
    EXPECT_EQ(budget.errorCode, 0);
    // Both links in clear sky: every availability text reads "N/A".
    for (const char* t : {budget.texts.overallTarget, budget.texts.up.availability,
                          budget.texts.down.annualDowntime, budget.texts.up.worstAvailability,
                          budget.texts.down.worstDowntime})
        EXPECT_STREQ(t, "N/A");
    // Clear sky in every column: the rain columns equal the clear-sky one.
    EXPECT_NEAR(budget.rainUp[kExcessMargin], budget.clearSky[kExcessMargin], 1e-9);
    EXPECT_NEAR(budget.rainDown[kExcessMargin], budget.clearSky[kExcessMargin], 1e-9);
}

}  // namespace
