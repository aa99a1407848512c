// G/T of receive chains worked by hand with the Friis cascade:
// Tsys = T_lna + (1 - Lw) 290 + Lw Ta + T1 / G_lna + ... + T_rx / (G_lna g1 .. g6).
#include <gtest/gtest.h>

#include "rftools/calculators/receive_chain.h"
#include "rftools/calculators/result_text.h"

namespace {

using namespace rfcalc;

NoiseEntry Figure(double dB) { return {NoiseKind::Figure, dB}; }
NoiseEntry Kelvin(double k) { return {NoiseKind::Temperature, k}; }
NoiseEntry Auto() { return {NoiseKind::Auto, 0.0}; }

// Antenna 50 dBi at 30 K, LNA 60 dB at 50 K, six 0 dB "auto" insertions,
// receiver 10 dB (2610 K, over 1e6: 0.00261 K).
ReceiveChain Reference(double waveguideLoss_dB)
{
    ReceiveChain c;
    c.antennaGain_dB = 50.0;
    c.antennaNoise_K = 30.0;
    c.waveguideLoss_dB = waveguideLoss_dB;
    c.lnaGain_dB = 60.0;
    c.lnaNoise = Kelvin(50.0);
    c.insertionNoise.fill(Auto());
    c.receiverNoise = Figure(10.0);
    return c;
}

TEST(ChainGainOverTemperature, HandWorkedChains)
{
    struct Case {
        const char* name;
        ReceiveChain chain;
        const char* tsys;   // each "%.3lf"
        const char* nf;
        const char* gt;
    };
    // Waveguide 0.5 dB: Lw = 0.891251; 290 (1 - Lw) = 31.537, Lw 30 = 26.738,
    // Tsys = 50 + 31.537 + 26.738 + 0.003 = 108.277; G/T = 50 - 0.5 - 20.3454.
    ReceiveChain cable = Reference(0.0);
    cable.insertionGain_dB[0] = -3.0;   // "auto": 290 (1 - g) / g = 288.6 K, over 1e6
    ReceiveChain lnaFigure = Reference(0.0);
    lnaFigure.lnaNoise = Figure(0.6);   // 290 (10^0.06 - 1) = 42.964 K
    ReceiveChain amplifier = Reference(0.0);
    amplifier.lnaGain_dB = 10.0;        // 10 x
    amplifier.insertionGain_dB[0] = -10.0;
    amplifier.insertionNoise[0] = Kelvin(2610.0);   // 10 dB cable at 290 K: 2610 / 10 = 261
    amplifier.insertionGain_dB[1] = 20.0;
    amplifier.insertionNoise[1] = Figure(3.0);      // 288.626 / (10 x 0.1) = 288.626
    // receiver 2610 / (10 x 0.1 x 100 x 1 ...) = 26.1;  50 + 30 + 261 + 288.626 + 26.1
    const Case cases[] = {
        {"no-waveguide", Reference(0.0), "80.003", "1.058", "30.969"},
        {"half-dB-waveguide", Reference(0.5), "108.277", "1.378", "29.155"},
        {"lossy-cable-auto", cable, "80.005", "1.058", "30.969"},   // +0.000289 K
        {"lna-as-figure", lnaFigure, "72.967", "0.975", "31.369"},
        {"amplifier-in-chain", amplifier, "655.726", "5.134", "21.833"},
    };
    for (const Case& c : cases) {
        const GainOverTemperature r = ChainGainOverTemperature(c.chain);
        ASSERT_TRUE(r.defined) << c.name;
        EXPECT_EQ(FormatFixed(r.systemTemperature_K, 3), c.tsys) << c.name;
        EXPECT_EQ(FormatFixed(r.noiseFigure_dB, 3), c.nf) << c.name;
        EXPECT_EQ(FormatFixed(r.gOverT_dBK, 3), c.gt) << c.name;
    }
}

// "auto" on an item with gain gives it a negative temperature; when that
// sinks the whole chain to 0 K or below, no logarithm exists.
TEST(ChainGainOverTemperature, ChainAtOrBelowZeroKelvinHasNoResult)
{
    ReceiveChain c = Reference(0.0);
    c.lnaGain_dB = 0.0;
    c.insertionGain_dB[0] = 10.0;   // auto: 290 (1 - 10) / 10 = -261 K; 50 + 30 - 261 < 0
    c.receiverNoise = Figure(0.0);
    EXPECT_FALSE(ChainGainOverTemperature(c).defined);

    c.insertionGain_dB[0] = 0.0;
    c.lnaNoise = Kelvin(0.0);
    c.antennaNoise_K = 0.0;
    c.receiverNoise = Kelvin(0.0);  // every stage noiseless: exactly 0 K
    EXPECT_FALSE(ChainGainOverTemperature(c).defined);
}

TEST(NoiseKindOf, PlusMeansKelvinAutoInAnyCase)
{
    struct Case { const char* text; NoiseKind kind; };
    const Case cases[] = {
        {"+50", NoiseKind::Temperature}, {"+0", NoiseKind::Temperature}, {"auto", NoiseKind::Auto},
        {"AUTO", NoiseKind::Auto},       {"Auto", NoiseKind::Auto},       {"aUtO", NoiseKind::Auto},
        {"0.6", NoiseKind::Figure},      {"", NoiseKind::Figure},         {"autos", NoiseKind::Figure},
        {" auto", NoiseKind::Figure},    {"50+", NoiseKind::Figure},
    };
    for (const Case& c : cases) EXPECT_EQ(NoiseKindOf(c.text), c.kind) << '"' << c.text << '"';
}

}  // namespace
