// Carrier solution, weather cases, error codes and result texts.
#include "tests/linkbudget/engine/budget_fixtures.h"

#include <gtest/gtest.h>

namespace {

class Solve : public ::testing::Test {
protected:
    FixedAtmosphere atmosphere;
    RecordingHost host;
    GeoLinkBudget budget{atmosphere, host};
    GeoLinkInputRecord& r = budget.record;
    void SetUp() override { FillHandBudget(r); }
    void Run() { ASSERT_EQ(budget.Recalculate(), GeoLinkBudget::Outcome::Completed); }
    void RainOnUplink(double db)
    {
        r.upClearSky.Set(0);
        r.upItuAuto.Set(1);
        atmosphere.rain = db;
    }
};

TEST_F(Solve, RatesAndBandwidths)
{
    const struct {
        bool info; const char *rate, *overhead, *fec, *m, *spreading, *spacing, *step;
        double rb, transmit, rs, nbw, allocated;
    } rows[] = {
        // 10 Mbps at rate 1/2 on QPSK: 20 Mbps, 10 Mbaud, 70 dB-Hz; 1.4 x 10 MHz.
        {true, "10", "0", "0.5", "4", "0", "1.4", "0", 10, 20, 10, 70, 14},
        // 10 Mbps + 10 % overhead, rate 3/4, 8PSK, 3 dB spreading:
        // 11 / 0.75 = 14.6667 Mbps, / 3 x 10^0.3 = 9.754616 Mbaud.
        {true, "10", "10", "3/4", "8", "3", "1", "0", 11, 14.666667, 9.754616, 69.892102, 9.754616},
        // 10 Mbaud given, step 1 MHz over a minimum of 13.5 MHz: 14 MHz.
        {false, "10", "0", "0.5", "4", "0", "1.35", "1", 10, 20, 10, 70, 14},
        // 2 Mbaud of 16QAM at rate 2/3 with 5 % overhead: Rb 5.3333, information 5.0794 Mbps.
        {false, "2", "5", "2/3", "16", "0", "1.2", "0.5", 5.333333, 8, 2, 63.010300, 2.5},
    };
    for (const auto& row : rows) {
        r.infoRate.Set(row.info);
        r.symbolRate.Set(!row.info);
        SetText(r.rate, row.rate);
        SetText(r.overhead, row.overhead);
        SetText(r.fecRate, row.fec);
        SetText(r.modulationOrder, row.m);
        SetText(r.spreadingGain, row.spreading);
        SetText(r.carrierSpacing, row.spacing);
        SetText(r.allocationStep, row.step);
        Run();
        const GeoLinkSolution& s = budget.sol;
        EXPECT_NEAR(s.infoRateWithOverhead, row.rb, 1e-5) << row.rate << ' ' << row.fec;
        EXPECT_NEAR(s.transmitRate, row.transmit, 1e-5) << row.rate << ' ' << row.fec;
        EXPECT_NEAR(s.symbolRate, row.rs, 1e-5) << row.rate << ' ' << row.fec;
        EXPECT_NEAR(s.noiseBandwidth, row.nbw, 1e-5) << row.rate << ' ' << row.fec;
        EXPECT_NEAR(s.allocatedBandwidth, row.allocated, 1e-5) << row.rate << ' ' << row.fec;
    }
    EXPECT_NEAR(budget.sol.infoRate, 5.333333 / 1.05, 1e-5);
}

TEST_F(Solve, ErrorCodesFirstOneWins)
{
    const struct {
        const char* what; const char* carriers; const char* target; const char* hpa;
        bool adjacentBelowHorizon; std::int32_t code;
    } rows[] = {
        {"nothing wrong", "1", "4.5", "MIN", false, 0},
        // 36 MHz over 9 MHz per carrier leaves room for 4.
        {"five carriers", "5", "4.5", "MIN", false, kErrTooManyCarriers},
        {"margin", "1", "40", "MIN", false, kErrNegativeMargin},
        {"five carriers and margin", "5", "40", "MIN", false, kErrTooManyCarriers},
        {"adjacent satellite before carriers", "5", "40", "MIN", true, kErrAdjacentBelowHorizon},
        // A megawatt drives the transponder far beyond saturation.
        {"overdrive", "AUTO", "4.5", "1000000", false, kErrTransponderOverused},
    };
    for (const auto& row : rows) {
        FillHandBudget(r);
        r.symbolRate.Set(1);
        r.infoRate.Set(0);
        SetText(r.rate, "9");
        SetText(r.carrierSpacing, "1");
        SetText(r.carriersPerTransponder, row.carriers);
        SetText(r.requiredTarget, row.target);
        SetText(r.hpaPower, row.hpa);
        if (row.adjacentBelowHorizon) {
            r.dnAsiKnownTotal.Set(0);
            SetText(r.dnAsiDensity[0], "-60");
            SetText(r.dnAsiLongitude[0], "150.0W");
        }
        Run();
        EXPECT_EQ(budget.errorCode, row.code) << row.what;
        if (row.adjacentBelowHorizon) {
            EXPECT_EQ(budget.sol.dnAsiTotal, 97.0);
        }
    }
}

TEST_F(Solve, FrozenWindowKeepsSymbolRateAndPower)
{
    budget.frozen = true;
    budget.frozenSymbolRate = 5.0;
    budget.frozenHpaPower = 123.456;
    Run();
    EXPECT_STREQ(r.rate, "5.0000");
    EXPECT_TRUE(r.symbolRate.On());
    EXPECT_FALSE(r.infoRate.On());
    EXPECT_STREQ(r.hpaPower, "123.4560");
    EXPECT_EQ(budget.sol.symbolRate, 5.0);
    EXPECT_EQ(budget.frozenHpaPower, 123.456);
    // Unfrozen, the solution hands its own figures to a later freeze.
    budget.frozen = false;
    SetText(r.rate, "10");
    r.infoRate.Set(1);
    r.symbolRate.Set(0);
    Run();
    EXPECT_NEAR(budget.frozenSymbolRate, 6.666667, 1e-6);
    EXPECT_NEAR(budget.frozenHpaPower, 139.0046, 0.35);
}

TEST_F(Solve, HpaPowerOfZeroIsAPicowatt)
{
    SetText(r.carriersPerTransponder, "AUTO");
    SetText(r.hpaPower, "0");
    SetText(r.upc, "1.5");
    Run();
    // 10 log10(1e-12) + 49.0625 dBi - 1 dB coupling - 3 dB back-off - 1.5 dB control.
    EXPECT_NEAR(budget.clearSky[kUplinkEirp], -120.0 + 49.0625 - 1.0 - 3.0 - 1.5, 1e-3);
}

TEST_F(Solve, LevelControlTakesBackUplinkFade)
{
    // 5 dB of uplink rain beyond power control: the input back-off of the rain
    // column grows by 5 dB and the output back-off with it, less what the
    // level control restores (at most its range).
    const struct { const char* alc; double fall; } rows[] = {
        {"0", 0.0}, {"3", 3.0}, {"10", 5.0},
    };
    for (const auto& row : rows) {
        RainOnUplink(5.0);
        SetText(r.alc, row.alc);
        Run();
        EXPECT_NEAR(budget.rainUp[kInputBackoff] - budget.clearSky[kInputBackoff], 5.0, 1e-9);
        EXPECT_NEAR(budget.rainUp[kOutputBackoff] - budget.clearSky[kOutputBackoff], 5.0 - row.fall,
                    1e-9)
            << row.alc;
        // The EIRP per carrier of a fixed carrier count does not depend on the fade.
        EXPECT_NEAR(budget.rainUp[kUplinkEirp], budget.clearSky[kUplinkEirp], 1e-9);
        EXPECT_NEAR(budget.rainUp[kUpCNo], budget.clearSky[kUpCNo] - 5.0, 1e-9);
    }
}

TEST_F(Solve, RainColumnsFollowTheirFades)
{
    // 2 dB of rain on each link; the downlink also loses G/T to the rain's noise.
    r.upClearSky.Set(0);
    r.upItuAuto.Set(1);
    r.dnClearSky.Set(0);
    r.dnItuAuto.Set(1);
    atmosphere.rain = 2.0;
    Run();
    const double d1 = budget.upPath.fadeBeyondUpc, d2 = budget.dnPath.degradation;
    EXPECT_NEAR(d1, 2.0, 1e-12);
    // 2 dB of absorption at 272.24 K adds (1 - 10^-0.2) x 272.24 = 100.47 K to 80 K.
    EXPECT_NEAR(d2, 2.0 + 10.0 * std::log10(180.47 / 80.0), 1e-3);
    EXPECT_NEAR(budget.rainUp[kUpCNo], budget.clearSky[kUpCNo] - d1, 1e-9);
    EXPECT_NEAR(budget.rainUp[kDownCNo], budget.clearSky[kDownCNo] - d1, 1e-9);
    EXPECT_NEAR(budget.rainDown[kDownCNo], budget.clearSky[kDownCNo] - d2, 1e-9);
    EXPECT_NEAR(budget.rainDown[kUpCNo], budget.clearSky[kUpCNo], 1e-9);
    EXPECT_NEAR(budget.rainUp[kUplinkEirp], budget.clearSky[kUplinkEirp], 1e-9);
    EXPECT_NEAR(budget.rainDown[kUplinkEirp], budget.clearSky[kUplinkEirp], 1e-9);
}

TEST_F(Solve, TwoCarriersWithBothBackoffsGivenKeepTheLinearOffset)
{
    SetText(r.carriersPerTransponder, "2");
    SetText(r.transponderIbo, "8");
    SetText(r.transponderObo, "4.5");
    Run();
    const double ibo = 10.0 * std::log10(2.0) + 8.0;
    EXPECT_NEAR(budget.clearSky[kInputBackoff], ibo, 1e-9);
    EXPECT_NEAR(budget.clearSky[kOutputBackoff], ibo - 3.5, 1e-9);
}

TEST_F(Solve, InterferenceUnits)
{
    // Saturation densities, one carrier at an input back-off of 10 dB: 90 dB-Hz
    // at saturation is 80 dB-Hz for the carrier.
    SetText(r.transponderIbo, "10");
    SetText(r.upCsatAci, "90");
    Run();
    EXPECT_NEAR(budget.clearSky[kUpCAcio], 80.0, 1e-9);
    // The same entry as a C/I of 20 dB is 20 dB above the noise bandwidth.
    r.upCsatIoUnits.Set(0);
    r.upCiUnits.Set(1);
    SetText(r.upCsatAci, "20");
    Run();
    EXPECT_NEAR(budget.clearSky[kUpCAcio], 20.0 + budget.sol.noiseBandwidth, 1e-9);
    EXPECT_NEAR(budget.clearSky[kUpCAci], 20.0, 1e-9);
}

TEST_F(Solve, LimitedByTies)
{
    Run();
    const struct { double powerShare, bandwidthShare; const char* limit; } rows[] = {
        {45.678, 45.67, "Bandwidth"},  // cut to 45.67: a tie
        {45.681, 45.67, "Power"},
        {45.67, 45.67, "Bandwidth"},
        {12.0, 25.93, "Bandwidth"},
        {100.0, 25.93, "Power"},
        {1e12, 25.93, "Power"},        // far beyond saturation, no overflow
    };
    for (const auto& row : rows) {
        budget.clearSky[kPowerShare] = row.powerShare;
        budget.sol.bandwidthUsedPct = row.bandwidthShare;
        EXPECT_STREQ(budget.LimitedBy(), row.limit) << row.powerShare;
    }
}

TEST_F(Solve, ElevationChecks)
{
    const struct { const char* upLon; bool completes; std::size_t messages, checks; } rows[] = {
        {"0.00E", true, 0, 2},
        {"67.50W", true, 1, 2},   // about 4 degrees: warning, full budget
        {"69.50W", false, 1, 1},  // about 2 degrees: stop; the downlink is not checked
    };
    for (const auto& row : rows) {
        RecordingHost h;
        GeoLinkBudget b{atmosphere, h};
        FillHandBudget(b.record);
        SetText(b.record.upLatitude, "0.00N");
        SetText(b.record.upLongitude, row.upLon);
        std::memcpy(b.texts.overallTarget, "previous", 9);
        const auto outcome = b.Recalculate();
        EXPECT_EQ(outcome == GeoLinkBudget::Outcome::Completed, row.completes) << row.upLon;
        EXPECT_EQ(h.messages.size(), row.messages) << row.upLon;
        EXPECT_EQ(h.checkedElevations.size(), row.checks) << row.upLon;
        if (!row.completes) {
            EXPECT_STREQ(b.texts.overallTarget, "previous");
        }
    }
}

}  // namespace
