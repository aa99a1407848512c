// Equatorial ionospheric scintillation on a low-GHz path: the peak-to-peak
// fluctuation, scintillation index S4 and one-way loss exceeded for p % of
// the average year.  Measured fits at 4 GHz for six sunspot-number ranges
// and two paths (satellites east at about 20 degrees elevation, west at
// about 30), scaled with frequency^-1.5.
#pragma once

#include <optional>

namespace rfcalc {

// In the order of the dialog's radio buttons.
enum class SunspotRange { R10to15, R12to26, R20to70, R44to110, R110to160, R153to165 };

// F(p) = a log10(p) + b + c log10((p + d)^2), the fluctuation in dB at
// 4 GHz exceeded for p %, up to the limit (%).
struct ScintillationFit {
    double limit;
    double a, b, c, d;
};

// The fit of a range and path.
const ScintillationFit& ScintillationFitOf(SunspotRange range, bool east);

// F(p) at 4 GHz in dB; 0 when p exceeds the fit's limit (no fluctuation that
// often).  p equal to the limit, as typed (100 - 98.3), is computed.
double ScintillationLoss(double p_percent, SunspotRange range, bool east);

struct Scintillation {
    double fluctuation_dB = 0.0;   // peak to peak, P
    double index = 0.0;            // S4 = (P / 27.5)^(1 / 1.26)
    double loss_dB = 0.0;          // P / sqrt 2
};

Scintillation ScintillationAt(double frequency_GHz, double availability_percent, SunspotRange range, bool east);

// The range whose radio button is on (the first, when a crafted record has
// several); none when no button is on.
std::optional<SunspotRange> SunspotRangeOf(const bool (&on)[6]);

}  // namespace rfcalc
