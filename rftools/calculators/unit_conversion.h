// The one-way converters of the Calculate menu: degrees and D:M:S, wavelength
// and frequency, noise temperature and noise figure.
#pragma once

#include <string>

namespace rfcalc {

// The noise conversions' reference temperature (IEEE noise-figure
// definition), K.
inline constexpr double kReferenceTemperatureK = 290.0;
// Speed of light in vacuum (SI, exact), m/s.
inline constexpr double kSpeedOfLight_m_s = 299792458.0;

// degrees + minutes / 60 + seconds / 3600.
double DmsToDegrees(long degrees, long minutes, long seconds);

struct Dms {
    long long degrees = 0;
    long long minutes = 0;
    long long seconds = 0;
};

// Whole degrees, minutes and seconds of a non-negative angle, the seconds cut
// toward zero.  The angle is counted in whole seconds first (with a margin of
// 1e-6 s for the decimal input), so 0.02 degrees is 0:01:12, not 0:01:11, and
// the seconds never reach 60: 359.9999 degrees is 359:59:59.
Dms DegreesToDms(double degrees);
// "%d :%.2d :%.2d" ("1 :30 :00").
std::string FormatDms(const Dms& angle);

// Frequency in GHz of a free-space wavelength in metres.
double WavelengthToFrequency(double wavelength_m);

// 10 log10(T / 290 + 1) dB of a noise temperature T in K.
double NoiseTemperatureToFigure(double temperature_K);
// (10^(F / 10) - 1) 290 K of a noise figure F in dB.
double NoiseFigureToTemperature(double figure_dB);

}  // namespace rfcalc
