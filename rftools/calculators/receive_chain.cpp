#include "rftools/calculators/receive_chain.h"

#include <cctype>
#include <cmath>

#include "rftools/calculators/unit_conversion.h"

namespace rfcalc {

namespace {

double Linear(double dB) { return std::pow(10.0, 0.1 * dB); }

bool EqualsIgnoringCase(std::string_view text, std::string_view word)
{
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    return true;
}

}  // namespace

NoiseKind NoiseKindOf(std::string_view text)
{
    if (!text.empty() && text.front() == '+') return NoiseKind::Temperature;
    if (EqualsIgnoringCase(text, "auto")) return NoiseKind::Auto;
    return NoiseKind::Figure;
}

double EntryTemperature(const NoiseEntry& entry, double linearGain)
{
    switch (entry.kind) {
    case NoiseKind::Temperature: return entry.value;
    case NoiseKind::Auto: return (1.0 - linearGain) * kReferenceTemperatureK / linearGain;
    case NoiseKind::Figure: break;
    }
    return NoiseFigureToTemperature(entry.value);
}

GainOverTemperature ChainGainOverTemperature(const ReceiveChain& chain)
{
    const double antennaGain = Linear(chain.antennaGain_dB);
    const double waveguide = Linear(-chain.waveguideLoss_dB);
    const double lnaGain = Linear(chain.lnaGain_dB);

    // Each later stage counts divided by the gain in front of it.
    double t = EntryTemperature(chain.lnaNoise, lnaGain) + (1.0 - waveguide) * kReferenceTemperatureK +
               waveguide * chain.antennaNoise_K;
    double gainBefore = lnaGain;
    for (int i = 0; i < kInsertionCount; ++i) {
        const double g = Linear(chain.insertionGain_dB[std::size_t(i)]);
        t += EntryTemperature(chain.insertionNoise[std::size_t(i)], g) / gainBefore;
        gainBefore *= g;
    }
    t += EntryTemperature(chain.receiverNoise, 1.0) / gainBefore;

    GainOverTemperature r;
    if (!(t > 0.0) || !std::isfinite(t)) return r;
    r.defined = true;
    r.systemTemperature_K = t;
    r.noiseFigure_dB = NoiseTemperatureToFigure(t);
    r.gOverT_dBK = 10.0 * std::log10(antennaGain * waveguide / t);
    return r;
}

}  // namespace rfcalc
