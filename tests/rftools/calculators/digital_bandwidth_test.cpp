// The bandwidth calculator against hand-worked carriers: symbol rate
// Rs = R (1 + overhead) / (FEC log2 M) x spreading, occupied (1 + roll-off) Rs,
// allocated spacing x Rs up to the next step.
#include <gtest/gtest.h>

#include "rftools/calculators/digital_bandwidth.h"
#include "rftools/calculators/result_text.h"

namespace {

using namespace rfcalc;

struct CarrierCase {
    const char* name;
    BandwidthInputs in;
    const char* rate;       // each "%.4lf"
    const char* symbolRate;
    const char* occupied;
    const char* allocated;
};

BandwidthInputs Carrier(BandwidthInput input, double value, double fec, double m, double step)
{
    BandwidthInputs in;
    in.input = input;
    in.informationRate_Mbps = in.symbolRate_Mbaud = in.occupied_MHz = value;
    in.codeRate = fec;
    in.m = m;
    in.rollOffPlusOne = 1.2;
    in.spacingFactor = 1.4;
    in.step_MHz = step;
    return in;
}

TEST(DigitalBandwidth, HandWorkedCarriers)
{
    using enum BandwidthInput;
    BandwidthInputs overhead = Carrier(InformationRate, 2.048, 0.5, 4, 0.025);
    overhead.overhead_percent = 6.25;    // 2.176 Mbit/s gross -> Rs 2.176
    BandwidthInputs spread = Carrier(InformationRate, 0.0096, 0.5, 2, 0.0);
    spread.spreadingGain_dB = 20.0;      // x 100: Rs = 0.0096 / 0.5 x 100 = 1.92
    BandwidthInputs eightPsk = Carrier(InformationRate, 36.0, 0.75, 8, 0.1);
    eightPsk.spacingFactor = 1.35;       // Rs 16, 1.35 x 16 = 21.6 = 216 steps
    const CarrierCase cases[] = {
        {"qpsk-half", Carrier(InformationRate, 1.0, 0.5, 4, 0.1), "1.0000", "1.0000", "1.2000", "1.4000"},
        {"no-step", Carrier(InformationRate, 1.0, 0.5, 4, 0.0), "1.0000", "1.0000", "1.2000", "1.4000"},
        {"one-MHz-step", Carrier(InformationRate, 1.0, 0.5, 4, 1.0), "1.0000", "1.0000", "1.2000", "2.0000"},
        {"symbol-rate-in", Carrier(SymbolRate, 1.0, 0.5, 4, 0.1), "1.0000", "1.0000", "1.2000", "1.4000"},
        {"occupied-in", Carrier(OccupiedBandwidth, 1.2, 0.5, 4, 0.1), "1.0000", "1.0000", "1.2000", "1.4000"},
        {"overhead", overhead, "2.0480", "2.1760", "2.6112", "3.0500"},    // 1.4 x 2.176 = 3.0464
        {"spread", spread, "0.0096", "1.9200", "2.3040", "2.6880"},
        {"8psk-3/4", eightPsk, "36.0000", "16.0000", "19.2000", "21.6000"},
    };
    for (const CarrierCase& c : cases) {
        const BandwidthResult r = DigitalBandwidth(c.in);
        EXPECT_EQ(FormatFixed(r.informationRate_Mbps, 4), c.rate) << c.name;
        EXPECT_EQ(FormatFixed(r.symbolRate_Mbaud, 4), c.symbolRate) << c.name;
        EXPECT_EQ(FormatFixed(r.occupied_MHz, 4), c.occupied) << c.name;
        EXPECT_EQ(FormatFixed(r.allocated_MHz, 4), c.allocated) << c.name;
    }
}

// A spaced bandwidth that is a whole number of steps stays on its step,
// although the quotient of the decimal inputs comes out a hair above it.
TEST(AllocatedBandwidth, WholeMultiplesAreNotRaisedAStep)
{
    struct Case { double spacing, symbolRate, step; const char* allocated; };
    const Case cases[] = {
        {1.35, 6.0, 0.1, "8.1000"},     // 8.100000000000001 / 0.1 = 81.00000000000001
        {1.1, 0.1, 0.01, "0.1100"},     // 0.11000000000000001 / 0.01 = 11.000000000000002
        {1.4, 1.0, 0.1, "1.4000"},
        {1.4, 1.0001, 0.1, "1.5000"},   // 1.40014 is past 1.4: the next step
        {1.2, 36.0, 0.5, "43.5000"},    // 43.2 -> 87 steps of 0.5
        {1.3, 2.5, 0.0, "3.2500"},      // no step: as is
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixed(AllocatedBandwidth(c.spacing, c.symbolRate, c.step), 4), c.allocated)
            << c.spacing << " x " << c.symbolRate << " / " << c.step;
}

TEST(ChosenBandwidthInput, SymbolRateFirstThenOccupiedElseInformationRate)
{
    using enum BandwidthInput;
    EXPECT_EQ(ChosenBandwidthInput(false, false), InformationRate);  // no button on: a record never stored
    EXPECT_EQ(ChosenBandwidthInput(true, false), SymbolRate);
    EXPECT_EQ(ChosenBandwidthInput(false, true), OccupiedBandwidth);
    EXPECT_EQ(ChosenBandwidthInput(true, true), SymbolRate);
}

}  // namespace
