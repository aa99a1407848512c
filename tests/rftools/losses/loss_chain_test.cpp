// The loss chain: which figure each model is given, and the window's own
// arithmetic (noise increase, worst month, downtimes) against hand values.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_atmosphere.h"
#include "rftools/losses/loss_chain.h"

namespace {

using namespace orbiscope::losses;

// R0.01 typed (source 1) as 42 mm/h.
constexpr LossPath kSample{51.5, -0.12, 0.08, 25.4, 0.7, "H", 1.2, 65.0, 1, 42.0};

struct ArgumentCase {
    const char* model;
    std::vector<double> expected;  // in the model's own argument order
};

// Each model's argument list, as the LinkAtmosphere seam declares it, for the
// sample path at 11.7 GHz and 99.95 %.
TEST(LossChain, EachModelGetsItsArgumentsInItsOrder)
{
    losstest::FakeAtmosphere atm;
    const LossTerms t = AtmosLossChain(atm, kSample, 11.7, 99.95);
    const ArgumentCase cases[] = {
        {"gas", {51.5, -0.12, 11.7, 25.4, 0.08, 99.95}},
        {"scint", {51.5, -0.12, 1.2, 65.0, 25.4, 11.7, 99.95, 0.08}},
        {"rain", {51.5, -0.12, 0.7, 0.08, 25.4, 11.7, 1.0, 42.0, 99.95}},
        {"cloud", {51.5, -0.12, 25.4, 11.7, 99.95, 0.08}},
        {"total", {0.31, 6.64, 0.53, 0.42, 99.95}},
    };
    for (const ArgumentCase& c : cases) {
        ASSERT_EQ(atm.Count(c.model), 1) << c.model;
        EXPECT_EQ(atm.Find(c.model)->args, c.expected) << c.model;
    }
    EXPECT_EQ(atm.Find("rain")->polarization, "H");
    // 0.31 + sqrt((6.64 + 0.53)^2 + 0.42^2) = 0.31 + 7.18229
    EXPECT_NEAR(t.total, 7.49229, 1e-5);
    EXPECT_STREQ(t.rainResult.rainRateText, "12.000");
    EXPECT_EQ(LossXpd(atm, kSample, 11.7, 99.95, 6.64), 27.75);
    EXPECT_EQ(atm.Find("xpd")->args, (std::vector<double>{11.7, 51.5, 0.7, 25.4, 99.95, 6.64}));
}

struct NoiseCase {
    const char* name;
    double attenuationDb, systemNoiseK, expectedDb;
};

// N = 10 log10((Tsys + 275 (1 - 10^(-A/10))) / Tsys), worked by hand.
const NoiseCase kNoise[] = {
    // 10^-0.3 = 0.501187; 275 x 0.498813 = 137.174; 237.174 / 100 -> 3.7507 dB
    {"3 dB over 100 K", 3.0, 100.0, 3.75066},
    // 10^-1 = 0.1; 275 x 0.9 = 247.5; 297.5 / 50 = 5.95 -> 7.7452 dB
    {"10 dB over 50 K", 10.0, 50.0, 7.74517},
    // 10^-0.05 = 0.891251; 275 x 0.108749 = 29.906; 529.906 / 500 -> 0.2523 dB
    {"0.5 dB over 500 K", 0.5, 500.0, 0.25229},
    {"no attenuation", 0.0, 120.0, 0.0},
    // the medium's whole temperature: 10 log10(375 / 100) = 5.7403 dB
    {"opaque path", 400.0, 100.0, 5.74031},
};

TEST(LossChain, NoiseIncreaseOfRainAndCloud)
{
    constexpr double kTolDb = 5e-5;
    for (const NoiseCase& c : kNoise)
        EXPECT_NEAR(NoiseIncreaseDb(c.attenuationDb, c.systemNoiseK), c.expectedDb, kTolDb) << c.name;
}

struct WorstMonthCase {
    const char* name;
    double availability;
    double worstMonth;      // %
    bool limited;
    double yearlyHours, monthHours;
};

// p_w = (p / 0.3)^0.87 (ITU-R P.841); downtimes (100 - A) x 87.66 h and
// p_w x 7.305 h.  Worked on a calculator.
const WorstMonthCase kWorstMonth[] = {
    // (0.01/0.3)^0.87 = exp(0.87 ln 0.033333) = exp(-2.959070) = 0.051869
    {"99.99 %", 99.99, 99.948131, false, 0.8766, 0.378900},
    // (1/0.3)^0.87 = exp(0.87 x 1.203973) = exp(1.047456) = 2.850391
    {"99 %", 99.0, 97.149609, false, 87.66, 20.822110},
    // (0.001/0.3)^0.87 = exp(0.87 x -5.703782) = exp(-4.962291) = 0.006997
    {"99.999 %", 99.999, 99.993003, false, 0.08766, 0.051112},
    // (50/0.3)^0.87 = exp(0.87 x 5.115996) = exp(4.450917) = 85.705445
    {"50 %", 50.0, 14.294555, false, 4383.0, 626.0783},
    // (60/0.3)^0.87 = 200^0.87 = 100.4375 > 100: held at 0, the whole month down
    {"40 %", 40.0, 0.0, true, 5259.6, 730.5},
};

TEST(LossChain, WorstMonthAndDowntimes)
{
    constexpr double kTolPct = 2e-4, kTolHours = 2e-3;
    for (const WorstMonthCase& c : kWorstMonth) {
        const WorstMonth w = WorstMonthAvailability(c.availability);
        EXPECT_NEAR(w.availability, c.worstMonth, kTolPct) << c.name;
        EXPECT_EQ(w.limited, c.limited) << c.name;
        EXPECT_NEAR(YearlyDowntimeHours(c.availability), c.yearlyHours, kTolHours) << c.name;
        EXPECT_NEAR(WorstMonthDowntimeHours(w.availability), c.monthHours, kTolHours) << c.name;
    }
}

// 100^(1/0.87) = 10^2.298851 = 198.9989; x 0.3 = 59.6997 -> 40.3003 %.
TEST(LossChain, WorstMonthFloor)
{
    EXPECT_NEAR(WorstMonthFloorAvailability(), 40.3003, 1e-3);
    EXPECT_TRUE(WorstMonthAvailability(40.30).limited);
    EXPECT_FALSE(WorstMonthAvailability(40.31).limited);
}

}  // namespace
