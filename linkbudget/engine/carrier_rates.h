// The carrier's rates and bandwidths, as every budget kind derives them from
// its inputs (the same-named fields of each kind's parsed inputs and
// solution).  Free of Qt.
#pragma once

#include "linkbudget/engine/input_text.h"

#include <cmath>
#include <cstdio>

namespace lbcalc {

// The carrier page of a record read into the same-named inputs.  A record
// with no button of the modulation group set (a damaged document) keeps the
// new window's choice instead of an undefined one.
template <class Inputs, class Record>
void ParseCarrierInputs(const Record& r, Inputs& p)
{
    using lbtext::Number;
    p.requiredTarget = Number(r.requiredTarget);
    p.rate = Number(r.rate);
    p.overhead = Number(r.overhead);
    p.fecRate = lbtext::FecRate(r.fecRate);
    p.spreadingGain = Number(r.spreadingGain);
    p.rollOff = Number(r.rollOff);
    p.carrierSpacing = Number(r.carrierSpacing);
    p.allocationStep = Number(r.allocationStep);
    p.implementationLoss = Number(r.implementationLoss);
    p.systemMargin = Number(r.systemMargin);
    p.modulation = 1;
    if (r.oneBitPerSymbol.On()) p.modulation = 0;
    if (r.mapsk.On()) p.modulation = 1;
    if (r.mqam.On()) p.modulation = 2;
    p.modulationOrder = Number(r.modulationOrder);
}

// The carrier's rates from its symbol rate (Mbaud), through the spreading
// gain, log2 M, the FEC rate and the overhead.
template <class Rates, class Inputs>
void RatesFromSymbolRate(Rates& s, const Inputs& in, double log2M, double spreading, double symbolRate)
{
    s.symbolRate = symbolRate;
    s.transmitRate = symbolRate / spreading * log2M;
    s.infoRateWithOverhead = s.transmitRate * in.fecRate;
    s.infoRate = s.infoRateWithOverhead / (0.01 * in.overhead + 1.0);
    s.overheadRate = s.infoRateWithOverhead - s.infoRate;
}

// The carrier's rates from the rate typed: an information rate or a symbol rate.
template <class Rates, class Inputs>
void RatesFromInputs(Rates& s, const Inputs& in, double log2M, double spreading)
{
    if (in.infoRateGiven) {
        s.infoRate = in.rate;
        s.overheadRate = 0.01 * in.overhead * in.rate;
        s.infoRateWithOverhead = in.rate + s.overheadRate;
        s.transmitRate = s.infoRateWithOverhead / in.fecRate;
        s.symbolRate = s.transmitRate / log2M * spreading;
    } else {
        RatesFromSymbolRate(s, in, log2M, spreading, in.rate);
    }
}

// The carrier's rates for a solution.  A frozen budget keeps the symbol rate
// of its last unfrozen solution and writes it into the record as the rate
// typed (so the dialog and the next run show it); an unfrozen one remembers
// its symbol rate for a later freeze.
template <class Rates, class Inputs, class Record>
void SolveRates(Rates& s, Inputs& in, Record& record, double log2M, double spreading, bool frozen,
                double& frozenSymbolRate)
{
    RatesFromInputs(s, in, log2M, spreading);
    if (!frozen) {
        frozenSymbolRate = s.symbolRate;
        return;
    }
    RatesFromSymbolRate(s, in, log2M, spreading, frozenSymbolRate);
    record.infoRate.Set(0);
    record.symbolRate.Set(1);
    in.infoRateGiven = false;
    std::snprintf(record.rate, sizeof record.rate, "%.4lf", frozenSymbolRate);
}

// Occupied, noise (dB-Hz) and allocated bandwidths (MHz) of the carrier: the
// allocation is the spacing times the symbol rate, rounded up to whole
// allocation steps when a step is given.
template <class Rates, class Inputs>
void CarrierBandwidths(Rates& s, const Inputs& in)
{
    s.occupiedBandwidth = in.rollOff * s.symbolRate;
    s.noiseBandwidth = 10.0 * std::log10(s.symbolRate * 1e6);
    const double minimum = in.carrierSpacing * s.symbolRate;
    if constexpr (requires { s.minimumAllocated; }) s.minimumAllocated = minimum;
    s.allocatedBandwidth = in.allocationStep == 0.0 ? minimum : std::ceil(minimum / in.allocationStep) * in.allocationStep;
}

// The C/(No+Io) in dB-Hz the carrier needs: the target (Eb/No over the
// information rate with overhead, or Es/No over the noise bandwidth) with the
// system margin and the implementation loss.
template <class Inputs>
double RequiredCNo(const Inputs& in, double infoRateWithOverheadMbps, double noiseBandwidthDbHz)
{
    return (in.targetEbNo ? 10.0 * std::log10(infoRateWithOverheadMbps * 1e6) + in.requiredTarget
                          : in.requiredTarget + noiseBandwidthDbHz) +
           in.systemMargin + in.implementationLoss;
}

}  // namespace lbcalc
