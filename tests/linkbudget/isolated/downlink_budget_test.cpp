// Isolated downlink budget: a whole budget against figures worked out by hand
// (textbook noise and power sums of the fixed atmosphere), its searches and
// edge cases.
#include "linkbudget/isolated/downlink_budget.h"

#include "tests/linkbudget/engine/budget_fixtures.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Bench {
    FixedAtmosphere atm;
    RecordingHost host;
    RgnDownlinkBudget budget{atm, host};
    Bench()
    {
        atm.gas = 0.2;
        atm.scintillation = 0.3;
        atm.cloud = 0.4;
        atm.rain = 3.0;
        HandDownlink(budget.record);
    }
};

constexpr double kTol = 1e-6;

TEST(RgnDownlinkBudget, HandCalculatedBudget)
{
    Bench b;
    ASSERT_EQ(b.budget.Recalculate(), RgnDownlinkBudget::Outcome::Completed);
    const RgnDownlinkBudget& d = b.budget;
    EXPECT_EQ(d.errorCode, 0);
    EXPECT_NEAR(d.geo.antennaGain, 41.702966803657674, kTol);
    EXPECT_NEAR(d.geo.effectiveAperture, -1.3363426989572331, kTol);
    EXPECT_NEAR(d.geo.freeSpaceLoss, 205.6270800751721, kTol);
    EXPECT_NEAR(d.path.lnbTemperature, 75.0, 1e-12);
    EXPECT_NEAR(d.path.clearSkySystemTemp, 126.25185349464101, kTol);
    EXPECT_NEAR(d.path.rainSystemTemp, 258.90282024908987, kTol);
    EXPECT_NEAR(d.path.clearSkyGt, 20.490589176813174, kTol);
    EXPECT_NEAR(d.path.noiseIncrease, 3.1189901858065143, kTol);
    EXPECT_NEAR(d.path.degradation, 6.518990185806514, kTol);

    struct Want {
        const IsolatedDownlinkResult& col;
        double cNo, cNoIo, ebNoIo, excess, pfd, powerDbw, levelDbuV, flange;
    } wants[] = {
        {d.clear, 92.5628304016411, 82.35597127537059, 19.133778328031397, 13.133778328031397,
         -112.98777057255715, -59.524113271514395, 79.2264993624026, -176.28539362829682},
        {d.rainy, 86.04384021583459, 81.10954618342534, 17.887353236086142, 11.887353236086142,
         -119.50676075836367, -66.04310345732091, 72.70750917659609, -182.80438381410332},
    };
    for (const Want& w : wants) {
        EXPECT_NEAR(w.col.cNo, w.cNo, kTol);
        EXPECT_NEAR(w.col.cIo, 82.79115843322133, kTol);
        EXPECT_NEAR(w.col.cIm, 25.0, 1e-9);
        EXPECT_NEAR(w.col.cNoIo, w.cNoIo, kTol);
        EXPECT_NEAR(w.col.ebNoIo, w.ebNoIo, kTol);
        EXPECT_NEAR(w.col.excessMargin, w.excess, kTol);
        EXPECT_NEAR(w.col.pfd, w.pfd, kTol);
        EXPECT_NEAR(w.col.carrierPowerDbw, w.powerDbw, kTol);
        EXPECT_NEAR(w.col.carrierPowerDbm, w.powerDbw + 30.0, kTol);
        EXPECT_NEAR(w.col.carrierLevelDbuV, w.levelDbuV, kTol);
        EXPECT_NEAR(w.col.carrierLevelDbmV, w.levelDbuV - 60.0, kTol);
        EXPECT_NEAR(w.col.flangeDensity, w.flange, kTol);
        EXPECT_NEAR(w.col.satelliteDensity, 50.0 - 61.46128035678238, kTol);
    }
    EXPECT_STREQ(d.texts.availability, "99.9000");
    EXPECT_STREQ(d.texts.worstAvailability, "99.6154");
}

TEST(RgnDownlinkBudget, SuggestedAntennaJustClosesTheLink)
{
    Bench b;
    b.budget.Recalculate();
    const std::string s = b.budget.suggestion;
    ASSERT_EQ(s.rfind("Suggested availability setting = 99.9999% or antenna size = ", 0), 0u) << s;
    const double size = std::stod(s.substr(s.find("size = ") + 7));
    EXPECT_GT(size, 0.05);
    EXPECT_LT(size, 1.2);
    EXPECT_EQ(b.budget.in.diameter, 1.2);  // the search leaves the inputs as they were

    // The search's own figure, to the millimetre, leaves a margin of about 0.
    const double exact = b.budget.FindAntennaSize();
    EXPECT_NEAR(exact, size, 0.005);
    Bench at;
    char text[13];
    std::snprintf(text, sizeof text, "%.3f", exact);
    SetText(at.budget.record.diameter, text);
    at.budget.Recalculate();
    EXPECT_NEAR(at.budget.rainy.excessMargin, 0.0, 0.03);
}

TEST(RgnDownlinkBudget, EdgeCases)
{
    struct Case {
        const char* name;
        void (*edit)(DownlinkInputRecord&);
        void (*check)(const RgnDownlinkBudget&);
    } cases[] = {
        {"noise figure converted to a temperature",
         [](DownlinkInputRecord& r) { SetText(r.lnbNoise, "0.8"); },
         [](const RgnDownlinkBudget& d) {
             EXPECT_NEAR(d.path.lnbTemperature, (std::pow(10.0, 0.08) - 1.0) * 290.0, 1e-9);
         }},
        {"clear sky: no rain, no noise rise, N/A texts, search at its top",
         [](DownlinkInputRecord& r) { r.clearSky.Set(1); },
         [](const RgnDownlinkBudget& d) {
             EXPECT_EQ(d.in.availability, 100.0);
             EXPECT_EQ(d.path.rain, 0.0);
             EXPECT_EQ(d.path.noiseIncrease, 0.0);
             EXPECT_STREQ(d.texts.availability, "N/A");
             EXPECT_EQ(d.suggestion.rfind("Suggested availability setting = 99.9999%", 0), 0u);
         }},
        {"clear sky that does not close ends the search at 40",
         [](DownlinkInputRecord& r) {
             r.clearSky.Set(1);
             SetText(r.eirp, "-40");
         },
         [](const RgnDownlinkBudget& d) {
             EXPECT_EQ(d.suggestion,
                       "Suggested availability setting = 40.0000% or antenna size = 50.00m");
             EXPECT_EQ(d.errorCode, kErrNegativeMargin);
         }},
        {"antenna noise computed",
         [](DownlinkInputRecord& r) { SetText(r.antennaNoise, "Auto"); },
         [](const RgnDownlinkBudget& d) {
             // 35 % spill-over at 90 K plus sky noise through the 0.2 dB of gas.
             const double sky = (1.0 - std::pow(10.0, -0.02)) * (0.81 * 290.0 + 37.34);
             EXPECT_NEAR(d.in.antennaNoise, sky + 0.35 * 90.0, 1e-9);
         }},
        {"link that closes with the smallest dish",
         [](DownlinkInputRecord& r) { SetText(r.eirp, "90"); },
         [](const RgnDownlinkBudget& d) {
             EXPECT_NE(d.suggestion.find("antenna size = 0.00m"), std::string::npos) << d.suggestion;
         }},
        {"C/I units raised by the noise bandwidth",
         [](DownlinkInputRecord& r) {
             r.csatIoUnits.Set(0);
             r.ciUnits.Set(1);
             SetText(r.csatAci, "20");
         },
         [](const RgnDownlinkBudget& d) {
             EXPECT_NEAR(d.rainy.cAcio, 20.0 + 61.46128035678238, 1e-9);
         }},
        {"negative other losses used as entered",
         [](DownlinkInputRecord& r) { SetText(r.otherLosses, "-1"); },
         [](const RgnDownlinkBudget& d) {
             EXPECT_EQ(d.in.otherLosses, -1.0);
             EXPECT_NEAR(d.path.rain, 3.0, 1e-12);
         }},
        {"carrier wider than the satellite bandwidth",
         [](DownlinkInputRecord& r) { SetText(r.satBandwidth, "1"); },
         [](const RgnDownlinkBudget& d) { EXPECT_EQ(d.errorCode, kErrBandwidthOverspill); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        c.edit(b.budget.record);
        ASSERT_EQ(b.budget.Recalculate(), RgnDownlinkBudget::Outcome::Completed);
        c.check(b.budget);
    }
}

}  // namespace
