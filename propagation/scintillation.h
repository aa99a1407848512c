// Tropospheric scintillation fade exceeded for p = 100 - availability
// (ITU-R P.618-13 section 2.4.1), with the wet refractivity N_wet exceeded
// 50 % of the year from the built-in ITU-R P.453 grid.
//
// Antenna diameter in m, efficiency in %, elevation in degrees, frequency in
// GHz, availability in %, site height in km.  The Recommendation covers
// 4-20 GHz, elevations of 5 degrees and more, and p from 0.01 to 50 %.
#pragma once

// 0 for a site above 6 km, and wherever the model gives no value (g^2 or the
// time-percentage factor a(p) not above 0).  Availability of 99.99999 % or
// more is taken as 99.99999 %; elevation of 0 or less as 1e-6 rad.
double ScintillationFade(double latitude, double longitude, double diameter, double efficiency,
                         double elevation, double frequency, double availability,
                         double siteHeight);

namespace detail {
// The same from a given N_wet (N-units), without the map lookup.
double ScintillationFadeForWetRefractivity(double wetRefractivity, double diameter,
                                           double efficiency, double elevation,
                                           double frequency, double availability);
}  // namespace detail
