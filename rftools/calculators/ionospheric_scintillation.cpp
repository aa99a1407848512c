#include "rftools/calculators/ionospheric_scintillation.h"

#include <cmath>

#include "rftools/calculators/result_text.h"

namespace rfcalc {

namespace {

// Rows: sunspot ranges from the highest down, east then west.  Fits of
// equatorial measurements, March 1975 to June 1980.
constexpr ScintillationFit ScintillationFitTable[12] = {
    {5.0, -4.23721358, 366.182551, -74.4361398, 265.165942},      // 153-165 East
    {3.1, -1.93321126, 943.546281, -209.545923, 173.399047},      // 153-165 West
    {2.8, -2.44878502, 476.071108, -120.835626, 88.8700298},      // 110-160 East
    {1.7, -2.3285614, 579.788593, -137.820334, 122.90481},        // 110-160 West
    {2.4, -1.29130658, 574.28041, -136.884645, 121.608763},       // 44-110 East
    {1.1, -0.867045453, 321.302478, -85.0324845, 75.4591644},     // 44-110 West
    {2.0, -1.06497397, 1.31632502, -1.42993088, 0.180878927},     // 20-70 East
    {0.3, -1.34001419, 149.414546, -69.2225846, 11.8383739},      // 20-70 West
    {0.6, -0.101465891, 315.655063, -96.013049, 43.3581533},      // 12-26 East
    {0.6, -1.70559664, -128.194575, 37.5120175, 50.6511505},      // 12-26 West
    {0.11, 1.02194574, -3.57521606, -2.83441171, 0.0454338253},   // 10-15 East
    {0.04, 0.022785222, 32.1130101, -58.1698217, 1.8466089},      // 10-15 West
};

constexpr int kHighestRange = int(SunspotRange::R153to165);
// The fits are measured at 4 GHz; the fluctuation scales with f^-1.5.
constexpr double kFitFrequency_GHz = 4.0;
constexpr double kFrequencyExponent = -1.5;
// S4 = (P / 27.5)^(1 / 1.26), P the peak-to-peak fluctuation in dB.
constexpr double kIndexScale_dB = 27.5;
constexpr double kIndexExponent = 1.26;

}  // namespace

const ScintillationFit& ScintillationFitOf(SunspotRange range, bool east)
{
    const int row = (kHighestRange - int(range)) * 2 + (east ? 0 : 1);
    return ScintillationFitTable[row];
}

double ScintillationLoss(double p_percent, SunspotRange range, bool east)
{
    const ScintillationFit& fit = ScintillationFitOf(range, east);
    if (Exceeds(p_percent, fit.limit)) return 0.0;
    const double shifted = p_percent + fit.d;
    return fit.a * std::log10(p_percent) + fit.b + fit.c * std::log10(shifted * shifted);
}

Scintillation ScintillationAt(double frequency_GHz, double availability_percent, SunspotRange range, bool east)
{
    const double p = 100.0 - availability_percent;
    Scintillation r;
    r.fluctuation_dB = ScintillationLoss(p, range, east) *
                       std::pow(frequency_GHz / kFitFrequency_GHz, kFrequencyExponent);
    r.index = std::pow(r.fluctuation_dB / kIndexScale_dB, 1.0 / kIndexExponent);
    r.loss_dB = r.fluctuation_dB / std::sqrt(2.0);
    return r;
}

std::optional<SunspotRange> SunspotRangeOf(const bool (&on)[6])
{
    for (int i = 0; i <= kHighestRange; ++i)
        if (on[i]) return SunspotRange(i);
    return std::nullopt;
}

}  // namespace rfcalc
