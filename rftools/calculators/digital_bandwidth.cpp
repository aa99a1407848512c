#include "rftools/calculators/digital_bandwidth.h"

#include <algorithm>
#include <cmath>

#include "propagation/ber.h"

namespace rfcalc {

namespace {
// RateBandwidth's directions.
constexpr unsigned char kToInformationRate = 0;
constexpr unsigned char kToSymbolRate = 1;
// Relative slack of a quotient of decimal inputs: far above their rounding
// error (1e-16), far below the 1e-4 MHz the result shows.
constexpr double kQuotientSlack = 1e-9;
}  // namespace

BandwidthInput ChosenBandwidthInput(bool symbolRateOn, bool occupiedOn)
{
    if (symbolRateOn) return BandwidthInput::SymbolRate;
    if (occupiedOn) return BandwidthInput::OccupiedBandwidth;
    return BandwidthInput::InformationRate;
}

double AllocatedBandwidth(double spacingFactor, double symbolRate_Mbaud, double step_MHz)
{
    const double spaced = spacingFactor * symbolRate_Mbaud;
    if (step_MHz == 0.0) return spaced;
    const double steps = spaced / step_MHz;
    return std::ceil(steps - kQuotientSlack * std::max(1.0, std::fabs(steps))) * step_MHz;
}

BandwidthResult DigitalBandwidth(const BandwidthInputs& in)
{
    BandwidthResult r;
    auto toRate = [&in](double symbolRate) {
        return RateBandwidth(kToInformationRate, symbolRate, in.overhead_percent, in.spreadingGain_dB, in.codeRate,
                             in.m);
    };
    switch (in.input) {
    case BandwidthInput::SymbolRate:
        r.symbolRate_Mbaud = in.symbolRate_Mbaud;
        r.informationRate_Mbps = toRate(r.symbolRate_Mbaud);
        break;
    case BandwidthInput::OccupiedBandwidth:
        r.symbolRate_Mbaud = in.occupied_MHz / in.rollOffPlusOne;
        r.informationRate_Mbps = toRate(r.symbolRate_Mbaud);
        break;
    case BandwidthInput::InformationRate:
        r.informationRate_Mbps = in.informationRate_Mbps;
        r.symbolRate_Mbaud = RateBandwidth(kToSymbolRate, in.informationRate_Mbps, in.overhead_percent,
                                           in.spreadingGain_dB, in.codeRate, in.m);
        break;
    }
    r.occupied_MHz = in.rollOffPlusOne * r.symbolRate_Mbaud;
    r.allocated_MHz = AllocatedBandwidth(in.spacingFactor, r.symbolRate_Mbaud, in.step_MHz);
    return r;
}

double ModcodCodeRate(double efficiency, double log2M) { return efficiency / log2M; }

}  // namespace rfcalc
