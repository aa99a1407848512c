// Isolated uplink budget: a whole budget checked against figures worked out
// by hand from the textbook formulas and the edge cases of the calculation.
#include "linkbudget/isolated/uplink_budget.h"

#include "tests/linkbudget/engine/budget_fixtures.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

struct Bench {
    FixedAtmosphere atm;
    RecordingHost host;
    RgnUplinkBudget budget{atm, host};
    Bench()
    {
        atm.gas = 0.2;
        atm.scintillation = 0.3;
        atm.cloud = 0.4;
        atm.rain = 3.0;
        HandRecord(budget.record);
    }
};

constexpr double kTol = 1e-6;

TEST(RgnUplinkBudget, HandCalculatedBudget)
{
    Bench b;
    ASSERT_EQ(b.budget.Recalculate(), RgnUplinkBudget::Outcome::Completed);
    const RgnUplinkBudget& u = b.budget;
    EXPECT_EQ(u.errorCode, 0);
    EXPECT_NEAR(u.geo.freeSpaceLoss, 206.96601586778434, kTol);
    EXPECT_NEAR(u.geo.antennaGain, 48.71488144695745, kTol);
    EXPECT_NEAR(u.geo.spreadingLoss, 162.58777057255716, kTol);
    EXPECT_NEAR(u.sol.infoRateWithOverhead, 2.1, 1e-12);
    EXPECT_NEAR(u.sol.transmitRate, 2.8, 1e-12);
    EXPECT_NEAR(u.sol.symbolRate, 1.4, 1e-12);
    EXPECT_NEAR(u.sol.occupiedBandwidth, 1.89, 1e-12);
    EXPECT_NEAR(u.sol.allocatedBandwidth, 2.0, 1e-12);
    EXPECT_NEAR(u.sol.noiseBandwidth, 61.46128035678238, kTol);
    EXPECT_NEAR(u.path.fade, 3.4, 1e-12);
    EXPECT_NEAR(u.path.clearSkyPathLoss, 0.5 + 206.96601586778434 + 0.5, kTol);

    struct Want {
        const IsolatedLinkResult& col;
        double cNo, cIo, cNoIo, ebNoIo, excess, pfd;
    } wants[] = {
        {u.clear, 87.84818687917314, 83.97940008672037, 82.48622741135036, 19.26403446401116,
         13.26403446401116, -97.37288912559971},
        {u.rainy, 84.44818687917314, 81.95484166290102, 80.01468599495637, 16.79249304761717,
         10.792493047617171, -100.77288912559972},
    };
    for (const Want& w : wants) {
        EXPECT_NEAR(w.col.eirp, 65.21488144695745, kTol);
        EXPECT_NEAR(w.col.flangeDensity, -44.96128035678238, kTol);
        EXPECT_NEAR(w.col.cNo, w.cNo, kTol);
        EXPECT_NEAR(w.col.cIo, w.cIo, kTol);
        EXPECT_NEAR(w.col.cNoIo, w.cNoIo, kTol);
        EXPECT_NEAR(w.col.ebNoIo, w.ebNoIo, kTol);
        EXPECT_NEAR(w.col.excessMargin, w.excess, kTol);
        EXPECT_NEAR(w.col.pfd, w.pfd, kTol);
        EXPECT_NEAR(w.col.cImo, 90.0, 1e-12);   // intermodulation never fades
        EXPECT_NEAR(w.col.cXpio, 90.0, 1e-12);  // co-located cross-polar source
    }
    // 100 W at 3 dB back-off and 0.5 dB coupling: 20 dBW total, back to 100 W.
    EXPECT_NEAR(u.sol.totalHpaPower, 20.0, 1e-9);
    EXPECT_NEAR(u.sol.requiredHpaPower, 100.0, 1e-7);

    EXPECT_STREQ(u.texts.availability, "99.9000");
    EXPECT_STREQ(u.texts.annualDowntime, "8.766");
    EXPECT_STREQ(u.texts.worstAvailability, "99.6154");
    EXPECT_STREQ(u.texts.worstDowntime, "2.808");
    EXPECT_STREQ(u.texts.inputAvailability, "99.9000");
    // A fixed atmosphere closes the link at every availability tried.
    EXPECT_EQ(u.suggestion, "Suggested availability setting = 99.9999%");
}

TEST(RgnUplinkBudget, MinimumHpaSizesForRain)
{
    Bench b;
    SetText(b.budget.record.hpaPower, "Min");
    b.budget.suggestion = "kept";
    b.budget.Recalculate();
    const RgnUplinkBudget& u = b.budget;
    EXPECT_NEAR(u.sol.requiredCNoIo, 69.2221929473392, kTol);
    EXPECT_NEAR(u.rainy.cNoIo, 69.2221929473392, 1e-3);
    EXPECT_NEAR(u.rainy.excessMargin, 0.0, 1e-3);
    EXPECT_EQ(u.errorCode, 0);
    EXPECT_EQ(u.suggestion, "kept");
}

TEST(RgnUplinkBudget, EdgeCases)
{
    struct Case {
        const char* name;
        void (*edit)(UplinkInputRecord&);
        void (*check)(const RgnUplinkBudget&);
    } cases[] = {
        {"clear sky",
         [](UplinkInputRecord& r) { r.clearSky.Set(1); },
         [](const RgnUplinkBudget& u) {
             EXPECT_EQ(u.in.availability, 100.0);
             EXPECT_EQ(u.path.rain, 0.0);
             EXPECT_EQ(u.path.cloud, 0.0);
             EXPECT_STREQ(u.rain.modelName, "Clear sky");
             EXPECT_STREQ(u.rain.rainRateText, "0");
             EXPECT_STREQ(u.texts.availability, "N/A");
             EXPECT_STREQ(u.texts.worstDowntime, "N/A");
             EXPECT_NEAR(u.rainy.cNo, u.clear.cNo, 1e-12);
         }},
        {"negative other losses are site diversity",
         [](UplinkInputRecord& r) { SetText(r.otherLosses, "-1.25"); },
         [](const RgnUplinkBudget& u) {
             EXPECT_NEAR(u.path.rain, 1.75, 1e-12);
             EXPECT_EQ(u.in.otherLosses, 0.0);
             EXPECT_EQ(u.in.otherLossesEntered, -1.25);
             EXPECT_NEAR(u.path.clearSkyPathLoss, 0.5 + u.geo.freeSpaceLoss + 0.3, 1e-9);
         }},
        {"diversity gain larger than the rain",
         [](UplinkInputRecord& r) { SetText(r.otherLosses, "-5"); },
         [](const RgnUplinkBudget& u) { EXPECT_EQ(u.path.rain, 0.0); }},
        {"availability above the limit and worst month out of range",
         [](UplinkInputRecord& r) { SetText(r.availability, "99.999999"); },
         [](const RgnUplinkBudget& u) {
             EXPECT_NEAR(u.path.annualDowntime, 1e-5 * 87.66, 1e-9);
             EXPECT_EQ(u.path.worstMonthUnavailability, -1.0);
             EXPECT_STREQ(u.texts.worstAvailability, "N/A");
             EXPECT_STREQ(u.texts.worstDowntime, "N/A");
         }},
        {"gain in dBi",
         [](UplinkInputRecord& r) { SetText(r.efficiency, "+45"); },
         [](const RgnUplinkBudget& u) { EXPECT_NEAR(u.geo.antennaGain, 45.0, 1e-9); }},
        {"C/I units raised by the noise bandwidth, intermodulation unfaded",
         [](UplinkInputRecord& r) {
             r.csatIoUnits.Set(0);
             r.ciUnits.Set(1);
             SetText(r.csatAci, "20");
             SetText(r.hpaCim, "25");
         },
         [](const RgnUplinkBudget& u) {
             EXPECT_NEAR(u.rainy.cAcio, 20.0 + 61.46128035678238 - 3.4, 1e-9);
             EXPECT_NEAR(u.rainy.cImo, 25.0 + 61.46128035678238, 1e-9);
             EXPECT_NEAR(u.rainy.cIm, 25.0, 1e-9);
         }},
        {"cross-polar source elsewhere fades and depolarization combines",
         [](UplinkInputRecord& r) { r.xpiColocated.Set(0); },
         [](const RgnUplinkBudget& u) {
             // XPD 30 dB in rain: 86.6 dB-Hz and 30 + B combined.
             const double a = 86.6, x = 30.0 + 61.46128035678238;
             const double want =
                 -10.0 * std::log10(std::pow(10.0, -a / 10.0) + std::pow(10.0, -x / 10.0));
             EXPECT_NEAR(u.rainy.cXpio, want, 1e-9);
             EXPECT_NEAR(u.clear.cXpio, 90.0, 1e-12);
         }},
        {"non-GEO empty longitude difference stored as 0",
         [](UplinkInputRecord& r) { r.longitudeDifference[0] = '\0'; },
         [](const RgnUplinkBudget& u) { EXPECT_STREQ(u.record.longitudeDifference, "0"); }},
        {"allocation step 0 leaves the bandwidth unrounded",
         [](UplinkInputRecord& r) { SetText(r.allocationStep, "0"); },
         [](const RgnUplinkBudget& u) { EXPECT_NEAR(u.sol.allocatedBandwidth, 1.96, 1e-12); }},
        {"carrier wider than the satellite bandwidth",
         [](UplinkInputRecord& r) { SetText(r.satBandwidth, "1.8"); },
         [](const RgnUplinkBudget& u) { EXPECT_EQ(u.errorCode, kErrBandwidthOverspill); }},
        {"too little power to close in rain",
         [](UplinkInputRecord& r) { SetText(r.hpaPower, "0.001"); },
         [](const RgnUplinkBudget& u) { EXPECT_EQ(u.errorCode, kErrNegativeMargin); }},
        {"no power at all still gives finite figures",
         [](UplinkInputRecord& r) { SetText(r.hpaPower, "0"); },
         [](const RgnUplinkBudget& u) { EXPECT_TRUE(std::isfinite(u.clear.eirp)); }},
        {"Crane model computed with map rates",
         [](UplinkInputRecord& r) {
             r.ituAuto.Set(0);
             r.craneTc.Set(1);
         },
         [](const RgnUplinkBudget& u) {
             EXPECT_EQ(u.in.rainSource, 0);
             EXPECT_TRUE(u.record.ituAuto.On());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        b.atm.xpd = 30.0;
        c.edit(b.budget.record);
        ASSERT_EQ(b.budget.Recalculate(), RgnUplinkBudget::Outcome::Completed);
        c.check(b.budget);
    }
}

TEST(RgnUplinkBudget, LowElevationStopsBeforeAnyResult)
{
    Bench b;
    SetText(b.budget.record.elevation, "2.5");
    EXPECT_EQ(b.budget.Recalculate(), RgnUplinkBudget::Outcome::StoppedLowElevation);
    EXPECT_EQ(b.budget.clear.eirp, 0.0);
    EXPECT_EQ(b.atm.rainCalls, 0);
}

TEST(RgnUplinkBudget, FreezeKeepsSymbolRateAndPower)
{
    Bench b;
    b.budget.Recalculate();
    b.budget.frozen = true;
    SetText(b.budget.record.rate, "8");
    SetText(b.budget.record.hpaPower, "5");
    b.budget.Recalculate();
    EXPECT_NEAR(b.budget.sol.symbolRate, 1.4, 1e-12);
    EXPECT_STREQ(b.budget.record.rate, "1.4000");
    EXPECT_STREQ(b.budget.record.hpaPower, "100.0000");
    EXPECT_TRUE(b.budget.record.symbolRate.On());
    EXPECT_FALSE(b.budget.record.infoRate.On());
}

}  // namespace
