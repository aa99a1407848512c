// What the isolated uplink and downlink budgets compute alike: the
// propagation terms of one earth station's path and the carrier's rates.
#pragma once

#include "propagation/link_atmosphere.h"
#include "linkbudget/engine/path_fill.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rgn_detail {

using lbpath::FillPath;
using lbpath::PathSite;

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

}  // namespace rgn_detail
