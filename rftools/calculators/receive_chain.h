// G/T of a receive chain: antenna, waveguide, LNA/LNB, six items inserted
// after it (cables, splitters, amplifiers) and the receiver, by the Friis
// cascade referred to the LNA/LNB input.  Gains and losses in dB,
// temperatures in K.
#pragma once

#include <array>
#include <string_view>

namespace rfcalc {

inline constexpr int kInsertionCount = 6;

// How a noise text gives its value: a noise figure in dB, a temperature in K
// when it starts with "+", or "auto" (any case) for a passive item whose
// temperature follows from its loss.
enum class NoiseKind { Figure, Temperature, Auto };
NoiseKind NoiseKindOf(std::string_view text);

struct NoiseEntry {
    NoiseKind kind = NoiseKind::Figure;
    double value = 0.0;   // dB or K by kind; not used for Auto
};

struct ReceiveChain {
    double antennaGain_dB = 0.0;
    double antennaNoise_K = 0.0;
    double waveguideLoss_dB = 0.0;   // positive
    double lnaGain_dB = 0.0;
    NoiseEntry lnaNoise;
    std::array<double, kInsertionCount> insertionGain_dB{};   // gain +, loss -
    std::array<NoiseEntry, kInsertionCount> insertionNoise{};
    NoiseEntry receiverNoise;
};

struct GainOverTemperature {
    // False when the chain's temperature is not above 0 K (a gain given the
    // "auto" noise of a passive item makes a negative temperature): no
    // logarithm exists and nothing below is set.
    bool defined = false;
    double systemTemperature_K = 0.0;
    double noiseFigure_dB = 0.0;
    double gOverT_dBK = 0.0;
};

// The noise temperature of one entry; an Auto entry takes (1 - g) 290 / g
// from the item's linear gain g.
double EntryTemperature(const NoiseEntry& entry, double linearGain);

GainOverTemperature ChainGainOverTemperature(const ReceiveChain& chain);

}  // namespace rfcalc
