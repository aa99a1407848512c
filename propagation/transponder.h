// Transponder amplifier curves: output back-off and carrier-to-intermodulation
// ratio as polynomial fits in the input back-off x (dB) for three kinds of
// amplifier.  x is limited to at most 20 dB (no lower limit).
#pragma once

#include <cstdint>

enum TransponderType : std::int32_t {
    TransponderTwta = 0,    // travelling-wave tube amplifier, "TWTA"
    TransponderLtwta = 1,   // linearised TWTA, "LTWTA"
    TransponderSspa = 2,    // solid-state power amplifier, "SSPA"
};

// The amplifier name the budgets print ("TWTA", "LTWTA", "SSPA"; "" for an
// unknown type).
namespace detail {
const char* TransponderTypeName(TransponderType type);
}  // namespace detail

// Output back-off (dB) at input back-off x.  carriers is the transponder
// bandwidth over the carrier's allocated bandwidth; its whole part selects the
// single-carrier (1), two-carrier (2) or many-carrier (anything else) curve.
// An unknown type gives 0.
double TransponderOutputBackoff(double inputBackoff, double carriers, TransponderType type);

// Input back-off (dB, 0..20) at which the curve reaches the required output
// back-off, by bisection (19 halvings).
double InputBackoffForOutputBackoff(double outputBackoff, double carriers, TransponderType type);

// C/IM (dB) at input back-off x; the LTWTA curve depends on the band
// (below 9 GHz, 9 to below 15 GHz, 15 GHz and above).  An unknown type gives 0.
double TransponderCarrierToIm(double inputBackoff, TransponderType type, double frequency);
