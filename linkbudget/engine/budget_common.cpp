#include "linkbudget/engine/budget_common.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/output/report_format.h"
#include "propagation/coordinates.h"

void FormatTruncated(char (&out)[20], double value, int decimals)
{
    // Cut toward zero, except that a value lying only rounding error short of
    // a digit boundary is that boundary: 100 - 99.9 is 0.0999999999999943 in
    // binary, and an availability of 99.9 % has 8.766 hours of downtime a
    // year, not 8.765; an overall target of 99.5 % split into 99.917799 and
    // 100 x 99.5 / 99.917799 multiplies back to 99.49999999999999.  The
    // tolerance, 1e-12 of the value, is thousands of times the rounding error
    // of these few operations and far below the last printed digit.
    const double scale = decimals == 3 ? 1e3 : 1e4;
    const double scaled = value * scale;
    const double nearest = std::round(scaled);
    const double cut = std::fabs(scaled - nearest) <= 1e-12 * std::max(1.0, std::fabs(scaled))
                           ? nearest / scale
                           : TruncateToDecimals(value, decimals == 3 ? 3 : 4);
    ReportFormatInto(out, sizeof out, decimals == 3 ? "%.3lf" : "%.4lf", cut);
}

void FillAvailabilityTexts(AvailabilityTexts& t, double availability, double worstMonthUnavailability,
                           double worstMonthAvailability, double annualDowntime, double worstMonthDowntime)
{
    const auto na = [](char (&text)[20]) { std::snprintf(text, sizeof text, "N/A"); };
    if (availability == 100.0) {
        na(t.availability);
        na(t.annualDowntime);
        na(t.worstAvailability);
        na(t.worstDowntime);
        return;
    }
    FormatTruncated(t.availability, availability, 4);
    FormatTruncated(t.annualDowntime, annualDowntime, 3);
    if (worstMonthUnavailability > 0.0) {
        FormatTruncated(t.worstAvailability, worstMonthAvailability, 4);
        FormatTruncated(t.worstDowntime, worstMonthDowntime, 3);
    } else {
        na(t.worstAvailability);
        na(t.worstDowntime);
    }
}

namespace lbcalc {

float MapArgument(double value)
{
    if (!std::isfinite(value)) return 0.0f;
    return static_cast<float>(std::clamp(value, -1e6, 1e6));
}

double EfficiencyFromGain(double gainDbi, double diameterM, double wavelengthM)
{
    const double aperture = kPi * diameterM;
    return 100.0 * std::pow(10.0, 0.1 * gainDbi) * wavelengthM * wavelengthM / (aperture * aperture);
}

}  // namespace lbcalc
