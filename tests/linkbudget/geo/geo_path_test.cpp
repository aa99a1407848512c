// Path losses: worst-month conversion, downtimes, site diversity, power
// control and the receive noise in rain.
#include "tests/linkbudget/engine/budget_fixtures.h"

#include <gtest/gtest.h>

namespace {

class Path : public ::testing::Test {
protected:
    FixedAtmosphere atmosphere;
    RecordingHost host;
    GeoLinkBudget budget{atmosphere, host};
    GeoLinkInputRecord& r = budget.record;
    void SetUp() override
    {
        FillHandBudget(r);
        r.upClearSky.Set(0);
        r.upItuAuto.Set(1);
        r.dnClearSky.Set(0);
        r.dnItuAuto.Set(1);
    }
    void Run() { ASSERT_EQ(budget.Recalculate(), GeoLinkBudget::Outcome::Completed); }
};

// Worst month by ITU-R P.841: p = 0.3 p_w^1.15, so p_w = (p / 0.3)^(1 / 1.15).
TEST_F(Path, WorstMonthConversionAndDowntimes)
{
    const struct {
        const char* availability;
        double pw, worstAvailability, annualHours, worstHours;
        const char *avgText, *downText, *wmAvailText, *wmDownText;
    } rows[] = {
        // p = 0.1 %: p_w = 0.33333^0.87 = 0.38451 %, 8.766 h a year (0.1 x 87.66, which
        // binary arithmetic leaves a hair short of 8.766), 2.8088 h in the worst month.
        {"99.9", 0.38451, 99.61549, 8.766, 2.80883, "99.9000", "8.766", "99.6154", "2.808"},
        // p = 0.5 %: p_w = 1.66667^0.87 = 1.55958 %.
        {"99.5", 1.55958, 98.44042, 43.83, 11.39275, "99.5000", "43.830", "98.4404", "11.392"},
        // p = 1 %: p_w = 3.33333^0.87 = 2.85039 %.
        {"99", 2.85039, 97.14961, 87.66, 20.82211, "99.0000", "87.660", "97.1496", "20.822"},
        // p = 0.00001 %: p_w = 0.000127 % is below the relation's range.
        {"99.99999", -1.0, 99.999873, 0.0008766, 0.0, "99.9999", "0.000", "N/A", "N/A"},
    };
    for (const auto& row : rows) {
        SetText(r.upAvailability, row.availability);
        Run();
        const PathLossRecord& p = budget.upPath;
        EXPECT_NEAR(p.worstMonthUnavailability, row.pw, 1e-4) << row.availability;
        EXPECT_NEAR(p.worstMonthAvailability, row.worstAvailability, 1e-4) << row.availability;
        EXPECT_NEAR(p.annualDowntime, row.annualHours, 1e-9) << row.availability;
        EXPECT_NEAR(p.worstMonthDowntime, row.worstHours, 1e-4) << row.availability;
        if (row.avgText == nullptr) continue;
        EXPECT_STREQ(budget.texts.up.availability, row.avgText);
        EXPECT_STREQ(budget.texts.up.annualDowntime, row.downText);
        EXPECT_STREQ(budget.texts.up.worstAvailability, row.wmAvailText);
        EXPECT_STREQ(budget.texts.up.worstDowntime, row.wmDownText);
    }
}

TEST_F(Path, AvailabilityOfExactly100IsTakenAs99_99999)
{
    SetText(r.upAvailability, "100");
    Run();
    EXPECT_NEAR(budget.upPath.annualDowntime, 0.0008766, 1e-9);
    EXPECT_EQ(budget.upPath.worstMonthUnavailability, -1.0);
    for (const char* t : {budget.texts.up.availability, budget.texts.up.annualDowntime,
                          budget.texts.up.worstAvailability, budget.texts.up.worstDowntime})
        EXPECT_STREQ(t, "N/A");
}

TEST_F(Path, SiteDiversityAndPowerControl)
{
    const struct { const char* other; const char* upc; double rain, fade, beyond, used, clearLoss; } rows[] = {
        // Diversity gain 3 dB against 2 dB of rain: no rain left, no other loss in clear sky.
        {"-3", "0", 0.0, 0.0, 0.0, 0.0, 0.0},
        // 1 dB of diversity leaves 1 dB of rain; 5 dB of power control covers it.
        {"-1", "5", 1.0, 1.0, 0.0, 1.0, 0.0},
        // No diversity: 2 dB of rain, 0.5 dB of control, 1.5 dB beyond it.
        {"0.7", "0.5", 2.0, 2.0, 1.5, 0.5, 0.7},
    };
    atmosphere.rain = 2.0;
    for (const auto& row : rows) {
        SetText(r.upOtherLosses, row.other);
        SetText(r.upc, row.upc);
        Run();
        const PathLossRecord& p = budget.upPath;
        EXPECT_NEAR(p.rain, row.rain, 1e-12) << row.other;
        EXPECT_NEAR(p.fade, row.fade, 1e-12) << row.other;
        EXPECT_NEAR(p.fadeBeyondUpc, row.beyond, 1e-12) << row.other;
        EXPECT_NEAR(p.upcUsed, row.used, 1e-12) << row.other;
        EXPECT_NEAR(p.clearSkyPathLoss - budget.upSite.freeSpaceLoss, row.clearLoss, 1e-9)
            << row.other;
    }
}

TEST_F(Path, DownlinkRainRaisesTheNoise)
{
    atmosphere.rain = 3.0;
    atmosphere.meanTemperature = 290.0;
    Run();
    const DownlinkPathLossRecord& d = budget.dnPath;
    // 3 dB of absorption at 0.81 x 290 + 37.34 = 272.24 K adds
    // (1 - 10^-0.3) x 272.24 = 135.80 K to the 80 K of the clear sky.
    EXPECT_NEAR(d.clearSkySystemTemp, 80.0, 1e-9);
    EXPECT_NEAR(d.rainSystemTemp, 80.0 + 135.797, 0.01);
    EXPECT_NEAR(d.noiseIncrease, 10.0 * std::log10(215.797 / 80.0), 1e-3);
    EXPECT_NEAR(d.degradation, 3.0 + d.noiseIncrease, 1e-12);
    EXPECT_NEAR(d.rainGt, d.clearSkyGt - d.noiseIncrease, 1e-9);
}

TEST_F(Path, ClearSkyDownlinkHasNoDegradation)
{
    r.dnClearSky.Set(1);
    atmosphere.gas = 0.2;
    atmosphere.scintillation = 0.05;
    atmosphere.rain = 4.0;
    Run();
    const DownlinkPathLossRecord& d = budget.dnPath;
    EXPECT_EQ(d.fade, 0.0);
    EXPECT_EQ(d.noiseIncrease, 0.0);
    EXPECT_EQ(d.degradation, 0.0);
    EXPECT_EQ(d.clearSkyGt, d.rainGt);
    EXPECT_STREQ(budget.dnRain.modelName, "Clear sky");
    EXPECT_STREQ(budget.dnRain.rainRateText, "0");
    EXPECT_EQ(budget.in.dn.availability, 100.0);
}

TEST_F(Path, AutomaticAntennaNoiseIsWrittenBack)
{
    SetText(r.antennaNoise, "AUTO");
    atmosphere.gas = 0.3;
    Run();
    // Sky of 0.3 dB at 272.24 K plus 35 % spillover of 90 K.
    const double sky = (1.0 - std::pow(10.0, -0.03)) * 272.24;
    EXPECT_NEAR(budget.in.antennaNoise, sky + 31.5, 1e-9);
}

}  // namespace
