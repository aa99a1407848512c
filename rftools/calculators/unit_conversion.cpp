#include "rftools/calculators/unit_conversion.h"

#include <cmath>
#include <cstdio>

namespace rfcalc {

namespace {
constexpr double kSecondsPerDegree = 3600.0;
// Absorbs the representation error of a decimal degree value times 3600
// (0.02 x 3600 = 71.99999999999999) without ever rounding a true
// fraction of a second up.
constexpr double kSecondMargin = 1e-6;
}  // namespace

double DmsToDegrees(long degrees, long minutes, long seconds)
{
    return double(degrees) + double(minutes) * (1.0 / 60.0) + double(seconds) * (1.0 / kSecondsPerDegree);
}

Dms DegreesToDms(double degrees)
{
    const long long total = (long long)std::floor(degrees * kSecondsPerDegree + kSecondMargin);
    return Dms{total / 3600, total % 3600 / 60, total % 60};
}

std::string FormatDms(const Dms& angle)
{
    char text[80];
    std::snprintf(text, sizeof text, "%lld :%.2lld :%.2lld", angle.degrees, angle.minutes, angle.seconds);
    return text;
}

double WavelengthToFrequency(double wavelength_m) { return (kSpeedOfLight_m_s / wavelength_m) * 1e-9; }

double NoiseTemperatureToFigure(double temperature_K)
{
    return 10.0 * std::log10(temperature_K / kReferenceTemperatureK + 1.0);
}

double NoiseFigureToTemperature(double figure_dB)
{
    return (std::pow(10.0, figure_dB / 10.0) - 1.0) * kReferenceTemperatureK;
}

}  // namespace rfcalc
