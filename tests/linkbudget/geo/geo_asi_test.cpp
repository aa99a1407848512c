// Adjacent-satellite interference on both links.
#include "tests/linkbudget/engine/budget_fixtures.h"

#include <gtest/gtest.h>

namespace {

class Asi : public ::testing::Test {
protected:
    FixedAtmosphere atmosphere;
    RecordingHost host;
    GeoLinkBudget budget{atmosphere, host};
    GeoLinkInputRecord& r = budget.record;
    void SetUp() override
    {
        FillHandBudget(r);
        r.upAsiKnownTotal.Set(0);
        r.dnAsiKnownTotal.Set(0);
        SetText(r.upAsiDensity[0], "-60");
        SetText(r.upAsiLongitude[0], "13.0E");
        SetText(r.dnAsiDensity[0], "-60");
        SetText(r.dnAsiLongitude[0], "13.0E");
    }
    void Run() { ASSERT_EQ(budget.Recalculate(), GeoLinkBudget::Outcome::Completed); }
};

TEST_F(Asi, UplinkTotalIsTheSaturationEirpOverTheInterferers)
{
    const struct { const char* d1; const char* d2; bool include2; double total; } rows[] = {
        // EIRP for saturation 72.4928 dBW; one interferer 30 dB below it.
        {"42.4928", "0", false, 30.00},
        // Two equal interferers: 3.01 dB worse.
        {"42.4928", "42.4928", true, 26.99},
        // The second one is not included: its entry does not count.
        {"42.4928", "70", false, 30.00},
    };
    for (const auto& row : rows) {
        SetText(r.upAsiDensity[0], row.d1);
        SetText(r.upAsiDensity[1], row.d2);
        SetText(r.upAsiLongitude[1], "7.0E");
        r.upAsiInclude[0].Set(row.include2);
        Run();
        EXPECT_NEAR(budget.sol.upAsiTotal, row.total, 1e-9) << row.d1 << ' ' << row.d2;
    }
}

TEST_F(Asi, DownlinkTotalTakesTheWorstPointing)
{
    SetText(r.dnMispointing, "0");
    Run();
    const double aligned = budget.sol.dnAsiTotal;
    EXPECT_EQ(budget.errorCode, 0);
    SetText(r.dnMispointing, "0.5");
    Run();
    // Mispointing toward the neighbour lowers the wanted gain and raises the unwanted.
    EXPECT_LT(budget.sol.dnAsiTotal, aligned);
    // Rounded to 2 decimals.
    EXPECT_NEAR(budget.sol.dnAsiTotal * 100.0, std::round(budget.sol.dnAsiTotal * 100.0), 1e-6);
}

TEST_F(Asi, DownlinkSatelliteBelowTheHorizonSpoilsTheWholeTotal)
{
    // Sat1 at 13E is in view of 50N 20E; Sat3 at 150W is not.  Whatever the
    // visible ones give, the total is the fixed 97.00 and the code is set.
    SetText(r.dnAsiDensity[2], "-60");
    SetText(r.dnAsiLongitude[2], "150.0W");
    r.dnAsiInclude[1].Set(1);
    Run();
    EXPECT_EQ(budget.sol.dnAsiTotal, 97.0);
    EXPECT_EQ(budget.errorCode, kErrAdjacentBelowHorizon);
    // Not included, it does not count.
    r.dnAsiInclude[1].Set(0);
    Run();
    EXPECT_NE(budget.sol.dnAsiTotal, 97.0);
    EXPECT_EQ(budget.errorCode, 0);
}

TEST_F(Asi, OffAxisDensityTowardEachIncludedSatellite)
{
    for (int i = 1; i < 4; ++i) SetText(r.upAsiDensity[i], "-60");
    SetText(r.upAsiLongitude[1], "7.0E");    // Sat2, not included
    SetText(r.upAsiLongitude[2], "150.0W");  // Sat3, below the horizon of 40N 0E
    SetText(r.upAsiLongitude[3], "10.0E");   // Sat4, in the wanted satellite's own slot
    r.upAsiInclude[1].Set(1);
    r.upAsiInclude[2].Set(1);
    Run();
    const GeoLinkSolution& s = budget.sol;
    EXPECT_TRUE(s.offAxisComputed[0]);
    EXPECT_FALSE(s.offAxisComputed[1]);
    EXPECT_FALSE(s.offAxisComputed[2]);
    EXPECT_TRUE(s.offAxisComputed[3]);  // angle kept above zero
    EXPECT_TRUE(std::isfinite(s.offAxisDensity[3]));
    EXPECT_EQ(budget.errorCode, kErrAdjacentBelowHorizon);
    // Sat1 is 3 degrees away: far less than the main-beam EIRP density.
    const double mainBeam = budget.clearSky[kEirpDensityUp] + budget.upSite.antennaGain;
    EXPECT_LT(s.offAxisDensity[0], mainBeam - 20.0);
    EXPECT_NEAR(s.offAxisDensity[3], mainBeam, 0.01);
    // With the known total in use nothing is computed.
    r.upAsiKnownTotal.Set(1);
    Run();
    for (bool computed : s.offAxisComputed) EXPECT_FALSE(computed);
}

}  // namespace
