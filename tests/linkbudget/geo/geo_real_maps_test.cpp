// A budget over the real ITU-R maps, end to end.
#include "tests/linkbudget/engine/budget_fixtures.h"
#include "propagation/itu_maps.h"
#include "tests/linkbudget/geo/real_budget_scenario.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

class Quiet final : public ItuMapLoadObserver {
public:
    int failures = 0;
    void MapLoadFailed(const std::string&) override { ++failures; }
};

class RealMaps : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Quiet observer;
        LoadItuMaps(".", observer);
        loaded_ = observer.failures == 0;
    }
    static void TearDownTestSuite() { FreeItuMaps(); }
    static inline bool loaded_ = false;

    template <typename T>
    static int CountNonFinite(const T& block)
    {
        static_assert(sizeof(T) % sizeof(double) == 0);
        double values[sizeof(T) / sizeof(double)];
        std::memcpy(values, &block, sizeof values);
        int bad = 0;
        for (double v : values) bad += !std::isfinite(v);
        return bad;
    }
};

TEST_F(RealMaps, LondonToMadridInRain)
{
    ASSERT_TRUE(loaded_) << "the ITU-R maps are unpacked into the build folder";
    scenario::QuietHost host;
    for (const char* hpa : {"MIN", "mineq", "max", "200"}) {
        GeoLinkBudget b(ItuLinkAtmosphere(), host);
        scenario::FillLondonMadrid(b.record, hpa);
        ASSERT_EQ(b.Recalculate(), GeoLinkBudget::Outcome::Completed) << hpa;

        EXPECT_EQ(CountNonFinite(b.upSite), 0) << hpa;
        EXPECT_EQ(CountNonFinite(b.dnSite), 0) << hpa;
        EXPECT_EQ(CountNonFinite(b.upPath), 0) << hpa;
        EXPECT_EQ(CountNonFinite(b.dnPath), 0) << hpa;
        EXPECT_EQ(CountNonFinite(b.clearSky), 0) << hpa;
        EXPECT_EQ(CountNonFinite(b.rainUp), 0) << hpa;
        EXPECT_EQ(CountNonFinite(b.rainDown), 0) << hpa;
        for (double v : {b.sol.symbolRate, b.sol.eirpForSaturation, b.sol.upAsiTotal,
                         b.sol.dnAsiTotal, b.sol.requiredHpaPower, b.sol.efficiency,
                         b.sol.beamPeakDensity, b.sol.offAxisDensity[0], b.sol.offAxisDensity[1],
                         b.overallAvailability, b.in.up.availability, b.in.dn.availability})
            EXPECT_TRUE(std::isfinite(v)) << hpa;

        // Plausible figures for a Ku-band path from mid-latitude Europe.
        EXPECT_NEAR(b.upSite.elevation, 29.9, 1.0);
        EXPECT_NEAR(b.dnSite.elevation, 41.6, 1.0);
        EXPECT_NEAR(b.upSite.freeSpaceLoss, 207.2, 0.5);
        EXPECT_NEAR(b.dnSite.freeSpaceLoss, 205.1, 0.5);
        EXPECT_GT(b.upPath.gas50, 0.05);
        EXPECT_LT(b.upPath.gas50, 0.6);
        EXPECT_GT(b.upPath.rain, 0.5);
        EXPECT_LT(b.upPath.rain, 10.0);
        EXPECT_GT(b.dnPath.rain, 0.2);
        EXPECT_LT(b.dnPath.rain, 8.0);
        EXPECT_GT(b.dnPath.noiseIncrease, 0.0);
        EXPECT_GT(b.dnPath.clearSkyGt, 15.0);
        EXPECT_LT(b.dnPath.clearSkyGt, 22.0);
        EXPECT_NEAR(b.overallAvailability, 99.7, 0.01);
        EXPECT_GT(b.in.up.availability, 99.7);
        EXPECT_GT(b.in.dn.availability, 99.7);
        EXPECT_LE(b.in.up.availability, 100.0);
        EXPECT_LE(b.in.dn.availability, 100.0);
        // Only an amplifier sized for the carrier leaves no suggestion.
        EXPECT_EQ(b.suggestion.empty(), std::string(hpa) == "MIN") << hpa;
        EXPECT_EQ(b.errorCode, 0) << hpa;
    }
}

TEST_F(RealMaps, TypedGainBelowThePatternFloorStaysFinite)
{
    ASSERT_TRUE(loaded_);
    scenario::QuietHost host;
    GeoLinkBudget b(ItuLinkAtmosphere(), host);
    scenario::FillLondonMadrid(b.record);
    // A few dBi on a 1.2 m dish: the envelopes' first side lobe lies above the
    // maximum gain, and an adjacent satellite sits in the wanted slot.
    scenario::Put(b.record.dnEfficiency, "+5");
    scenario::Put(b.record.upEfficiency, "-3");
    scenario::Put(b.record.dnAsiLongitude[1], "10.0E");
    scenario::Put(b.record.upAsiLongitude[1], "10.0E");
    ASSERT_EQ(b.Recalculate(), GeoLinkBudget::Outcome::Completed);
    EXPECT_TRUE(std::isfinite(b.sol.dnAsiTotal));
    EXPECT_TRUE(std::isfinite(b.sol.upAsiTotal));
    EXPECT_TRUE(std::isfinite(b.sol.offAxisDensity[0]));
    EXPECT_TRUE(std::isfinite(b.sol.offAxisDensity[1]));
    EXPECT_EQ(CountNonFinite(b.clearSky), 0);
}

// The clear-sky budget worked by hand (in budget_fixtures.h) through the
// propagation library itself.  Only the clear-sky gas and scintillation of
// each path come from the maps; every other figure is the hand calculation:
//  free-space loss  up 206.87104, down 205.72831 dB; gains 49.06250 / 41.70297 dBi
//  receive noise    50 K LNB + 30 K antenna + 2.7 K cosmic background = 82.7 K
//  receive G/T      41.70297 - 10 log10(82.7) = 22.52791 dB/K
//  EIRP for saturation  -90 + 206.87104 - 44.37825 = 72.49280 dBW + A_up
//  C/No up at IBO 6     94.22108 - 6 = 88.22108 dB-Hz
//  C/No down at OBO 3   47 - 205.72831 + 22.52791 + 228.59932 = 92.39893 dB-Hz - A_dn
//  HPA power        72.49280 - 6 - 49.06250 + 1 + 3 = 21.43029 dBW + A_up
TEST_F(RealMaps, HandBudgetThroughThePropagationLibrary)
{
    ASSERT_TRUE(loaded_);
    RecordingHost host;
    GeoLinkBudget b(ItuLinkAtmosphere(), host);
    FillHandBudget(b.record);
    ASSERT_EQ(b.Recalculate(), GeoLinkBudget::Outcome::Completed);
    const double aUp = b.upPath.clearSkyAtmospheric, aDn = b.dnPath.clearSkyAtmospheric;
    EXPECT_GT(aUp, 0.0);
    EXPECT_LT(aUp, 1.0);
    EXPECT_GT(aDn, 0.0);
    EXPECT_LT(aDn, 1.0);
    const double up = 88.22108, down = 92.39893 - aDn;
    const double total =
        -10.0 * std::log10(std::pow(10.0, -up / 10.0) + std::pow(10.0, -down / 10.0));
    const struct { const char* name; double got, want; } rows[] = {
        {"uplink free-space loss", b.upSite.freeSpaceLoss, 206.87104},
        {"downlink free-space loss", b.dnSite.freeSpaceLoss, 205.72831},
        {"uplink gain", b.upSite.antennaGain, 49.06250},
        {"downlink gain", b.dnSite.antennaGain, 41.70297},
        {"system noise K", b.dnPath.clearSkySystemTemp, 82.7},
        {"rain system noise K", b.dnPath.rainSystemTemp, 82.7},
        {"G/T", b.dnPath.clearSkyGt, 22.52791},
        {"EIRP for saturation", b.sol.eirpForSaturation, 72.49280 + aUp},
        {"EIRP per carrier", b.clearSky[kUplinkEirp], 66.49280 + aUp},
        {"uplink C/No", b.clearSky[kUpCNo], up},
        {"downlink C/No", b.clearSky[kDownCNo], down},
        {"total C/No", b.clearSky[kTotalCNo], total},
        {"excess margin", b.clearSky[kExcessMargin], total - 70.0 - 4.5},
        {"HPA power dBW", b.sol.totalHpaPower, 21.43029 + aUp},
    };
    for (const auto& r : rows) EXPECT_NEAR(r.got, r.want, 1e-4) << r.name;
    EXPECT_NEAR(b.upSite.elevation, 42.59, 0.03);
    EXPECT_NEAR(b.dnSite.elevation, 31.91, 0.03);
    EXPECT_EQ(b.errorCode, 0);
}

TEST(PowerSums, FourTermsAt1000DoNotDominate)
{
    // -10 log10(4 x 10^-100) = 1000 - 6.02 dB.
    EXPECT_NEAR(ItuLinkAtmosphere().CombineCN4(1000, 1000, 1000, 1000), 993.98, 0.005);
    EXPECT_NEAR(ItuLinkAtmosphere().CombineCN2(10, 10), 6.99, 0.005);
}

}  // namespace
