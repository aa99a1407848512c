// The digital bandwidth calculator: information rate, symbol rate, occupied
// and allocated bandwidth of one digital carrier, one of the first three
// given.  Rates in Mbit/s and Mbaud, bandwidths and the allocation step in MHz.
#pragma once

namespace rfcalc {

enum class BandwidthInput { InformationRate, SymbolRate, OccupiedBandwidth };

// The quantity the "i/p" buttons make the input: the symbol rate first, then
// the occupied bandwidth, else the information rate (also when no button is
// on, as in a record never stored).
BandwidthInput ChosenBandwidthInput(bool symbolRateOn, bool occupiedOn);

struct BandwidthInputs {
    BandwidthInput input = BandwidthInput::InformationRate;
    double informationRate_Mbps = 0.0;
    double overhead_percent = 0.0;
    double codeRate = 0.0;            // FEC, 0.001..1
    double spreadingGain_dB = 0.0;
    double rollOffPlusOne = 0.0;      // occupied bandwidth / symbol rate
    double spacingFactor = 0.0;       // allocated bandwidth / symbol rate before the step
    double step_MHz = 0.0;            // 0: no rounding
    double symbolRate_Mbaud = 0.0;
    double occupied_MHz = 0.0;
    double m = 0.0;                   // points of the constellation
};

struct BandwidthResult {
    double informationRate_Mbps = 0.0;
    double symbolRate_Mbaud = 0.0;
    double occupied_MHz = 0.0;
    double allocated_MHz = 0.0;
};

BandwidthResult DigitalBandwidth(const BandwidthInputs& in);

// spacing x symbol rate raised to the next whole multiple of the step (as is
// when the step is 0).  A product that is a whole multiple up to the rounding
// of its decimal inputs (8.1 / 0.1 = 81.00000000000001) stays where it is.
double AllocatedBandwidth(double spacingFactor, double symbolRate_Mbaud, double step_MHz);

// FEC code rate of a modcod: its spectral efficiency (bit/s/Hz) over the bits
// per symbol.
double ModcodCodeRate(double efficiency, double log2M);

}  // namespace rfcalc
