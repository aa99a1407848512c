// What every budget's arithmetic shares, against figures worked out by hand:
// the bisection, the carrier's rates and bandwidths with and without a
// freeze, the availability texts and a confirmed modcod row in a record.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "linkbudget/engine/budget_common.h"
#include "linkbudget/engine/carrier_rates.h"
#include "linkbudget/engine/modcod_fields.h"
#include "linkbudget/isolated/uplink_record.h"

namespace {

constexpr double kTol = 1e-9;

TEST(BudgetBisection, NineteenTrialsToTheLastOne)
{
    // sqrt(2) = 1.4142135623..., found within the last step of 50 / 2^19.
    int trials = 0;
    const double root = lbcalc::Bisect(0.0, 2.0, [&](double x) {
        ++trials;
        return x * x < 2.0;
    });
    EXPECT_EQ(trials, 19);
    EXPECT_NEAR(root, 1.4142135623730951, 2.0 / (1 << 19));
    // A finer tolerance takes more trials: 50 / 2^n <= 1e-5 from n = 23.
    trials = 0;
    lbcalc::Bisect(0.0, 2.0, [&](double) { return ++trials, true; }, 1e-5);
    EXPECT_EQ(trials, 23);
}

struct Carrier {
    bool infoRateGiven = true;
    double rate = 10.0, overhead = 5.0, fecRate = 0.75;
    double rollOff = 1.35, carrierSpacing = 1.4, allocationStep = 0.5;
    bool targetEbNo = true;
    double requiredTarget = 4.5, systemMargin = 1.0, implementationLoss = 0.5;
};
struct Rates {
    double overheadRate, infoRateWithOverhead, transmitRate, symbolRate, infoRate;
    double occupiedBandwidth, allocatedBandwidth, noiseBandwidth, minimumAllocated;
};

// 10 Mbit/s with 5 % overhead at rate 3/4 on QPSK (2 bits a symbol), no
// spreading: 10.5 Mbit/s, 14 Mbit/s coded, 7 Mbaud; 9.45 MHz occupied at
// 1 + roll-off 1.35; 9.8 MHz at spacing 1.4, rounded up to 20 steps of
// 0.5 MHz; noise bandwidth 10 log10(7e6) = 68.4510 dB-Hz; C/No needed
// 10 log10(10.5e6) + 4.5 + 1 + 0.5 = 76.2119 dB-Hz.
TEST(CarrierRates, InformationRateThroughToTheRequiredCNo)
{
    Carrier in;
    Rates s{};
    lbcalc::RatesFromInputs(s, in, 2.0, 1.0);
    lbcalc::CarrierBandwidths(s, in);
    EXPECT_NEAR(s.infoRateWithOverhead, 10.5, kTol);
    EXPECT_NEAR(s.overheadRate, 0.5, kTol);
    EXPECT_NEAR(s.transmitRate, 14.0, kTol);
    EXPECT_NEAR(s.symbolRate, 7.0, kTol);
    EXPECT_NEAR(s.occupiedBandwidth, 9.45, kTol);
    EXPECT_NEAR(s.minimumAllocated, 9.8, kTol);
    EXPECT_NEAR(s.allocatedBandwidth, 10.0, kTol);
    EXPECT_NEAR(s.noiseBandwidth, 68.45098040014257, kTol);
    EXPECT_NEAR(lbcalc::RequiredCNo(in, s.infoRateWithOverhead, s.noiseBandwidth), 76.21189299069938, kTol);
    // An Es/No target counts over the noise bandwidth: 4.5 + 68.4510 + 1.5.
    in.targetEbNo = false;
    EXPECT_NEAR(lbcalc::RequiredCNo(in, s.infoRateWithOverhead, s.noiseBandwidth), 74.45098040014257, kTol);
}

TEST(CarrierRates, AFrozenBudgetKeepsItsSymbolRateAndSaysSoInTheRecord)
{
    Carrier in;
    UplinkInputRecord record;
    SetUplinkRecordDefaults(record);
    Rates s{};
    double frozenSymbolRate = 0.0;
    lbcalc::SolveRates(s, in, record, 2.0, 1.0, false, frozenSymbolRate);
    EXPECT_NEAR(frozenSymbolRate, 7.0, kTol);  // remembered while not frozen
    EXPECT_TRUE(record.infoRate.On());

    in.rate = 20.0;  // the user doubles the rate, then the budget is frozen
    lbcalc::SolveRates(s, in, record, 2.0, 1.0, true, frozenSymbolRate);
    EXPECT_NEAR(s.symbolRate, 7.0, kTol);
    EXPECT_NEAR(s.infoRate, 10.0, kTol);
    EXPECT_FALSE(in.infoRateGiven);
    EXPECT_FALSE(record.infoRate.On());
    EXPECT_TRUE(record.symbolRate.On());
    EXPECT_EQ(FieldText(record.rate), "7.0000");
}

struct TextCase {
    const char* name;
    double availability, worstMonthUnavailability, worstMonthAvailability, annualDowntime, worstMonthDowntime;
    const char *availabilityText, *annualText, *worstText, *worstDowntimeText;
};

// 99.9 %: p_w = (3.3333 x 0.1)^0.87 = 0.384507 %, worst month 99.615493 %
// and 0.01 x 0.384507 x 730.5 = 2.808825 h; a year 0.1 % x 8766 h = 8.766 h
// (binary arithmetic leaves it a hair short, which is still 8.766).
const TextCase kTexts[] = {
    {"99.9 %", 99.9, 0.38450722824313915, 99.61549277175686, (100.0 - 99.9) * 8766.0 * 0.01, 2.808825302316132,
     "99.9000", "8.766", "99.6154", "2.808"},
    {"worst month out of range", 99.99999, -1.0, 0.0, 0.0008766, 0.0, "99.9999", "0.000", "N/A", "N/A"},
    {"clear sky", 100.0, 0.0, 100.0, 0.0, 0.0, "N/A", "N/A", "N/A", "N/A"},
};

TEST(AvailabilityTexts, CutToTheirDecimals)
{
    for (const TextCase& c : kTexts) {
        SCOPED_TRACE(c.name);
        AvailabilityTexts t{};
        FillAvailabilityTexts(t, c.availability, c.worstMonthUnavailability, c.worstMonthAvailability,
                              c.annualDowntime, c.worstMonthDowntime);
        EXPECT_STREQ(t.availability, c.availabilityText);
        EXPECT_STREQ(t.annualDowntime, c.annualText);
        EXPECT_STREQ(t.worstAvailability, c.worstText);
        EXPECT_STREQ(t.worstDowntime, c.worstDowntimeText);
    }
}

// DVB-S row 0 (QPSK 1/2): efficiency 188/204 x 1/2 x 2 = 0.92157, so the FEC
// field gets 0.92157 / 2 = 0.4608 and the target the Eb/No 4.14 - 10 log10
// 0.92157 = 4.49 dB; a DVB-S2 row of type 0 is one bit a symbol with an Es/No
// target.
TEST(ModcodFields, AConfirmedRowInTheRecord)
{
    UplinkInputRecord r;
    SetUplinkRecordDefaults(r);
    ModcodSelection dvbs;
    ASSERT_TRUE(modcod::Confirm(dvbs, modcod::kDvbs, 0));
    ApplyModcod(r, dvbs, modcod::kDvbs);
    EXPECT_EQ(FieldText(r.fecRate), "0.4608");
    EXPECT_EQ(FieldText(r.requiredTarget), "4.49");
    EXPECT_EQ(FieldText(r.modulationOrder), "4");
    EXPECT_EQ(FieldText(r.modcodText), "DVBS 4-PSK (1/2)");
    EXPECT_TRUE(r.targetEbNo.On() && !r.targetEsNo.On());
    EXPECT_TRUE(r.mapsk.On() && !r.mqam.On() && !r.oneBitPerSymbol.On());

    ModcodSelection bpsk;
    bpsk.type = 0, bpsk.m = 2, bpsk.log2M = 1.0, bpsk.efficiency = 0.2, bpsk.esNo = -9.6;
    PutText(bpsk.text, "DVBS2,short frame,BPSK-S (1/5) *,no pilots");
    ApplyModcod(r, bpsk, modcod::kDvbs2);
    EXPECT_EQ(FieldText(r.fecRate), "0.2000");
    EXPECT_EQ(FieldText(r.requiredTarget), "-9.60");
    EXPECT_TRUE(r.oneBitPerSymbol.On() && !r.mapsk.On() && !r.mqam.On());
    EXPECT_TRUE(r.targetEsNo.On() && !r.targetEbNo.On());
}

}  // namespace
