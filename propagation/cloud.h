// Cloud attenuation of a slant path (ITU-R P.840-9: liquid-water specific
// attenuation coefficient K_L by the double-Debye model at 273.75 K with the
// Gaussian correction, times the columnar cloud liquid water L exceeded for p,
// over the sine of the elevation).
//
// Angles in degrees, frequency in GHz, site height in km, availability in %.
#pragma once

// Availability clamped to 50..95 %; elevation of 0 or less taken as 1e-6 rad.
// 0 when the site is at or above the rain height h0 + 0.36 km.
double CloudAttenuation(double latitude, double longitude, double elevation, double frequency,
                        double availability, double siteHeight);

namespace detail {
// K_L in (dB/km)/(g/m3), the factor that multiplies L(p) / sin(elevation).
double CloudSpecificCoefficient(double frequency);
}  // namespace detail
