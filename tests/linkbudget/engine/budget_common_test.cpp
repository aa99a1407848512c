// What every budget's arithmetic shares, against figures worked out by hand:
// the bisection, the carrier's rates and bandwidths and a confirmed modcod
// row in a record.  (A frozen budget's rates are tested with each budget.)
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
