// Gaseous attenuation of a slant path exceeded for p = 100 - availability,
// by the statistical method of ITU-R P.676-13 Annex 2: the specific oxygen
// attenuation computed line by line (Annex 1 Table 1 and the dry continuum)
// from the annual mean surface conditions, times the oxygen equivalent height
// for the conditions at p (the Annex 2 oxygen coefficients), plus the water-vapour
// attenuation K_V(means) x V(p) (the Annex 2 water-vapour coefficients), both over the
// sine of the elevation.
//
// Frequencies in GHz (the tables cover 1-350 GHz; below 1 GHz the 1 GHz
// coefficients and from 350 GHz the 350 GHz coefficients are used), elevation
// in degrees (radians where named), heights in km, temperatures in K,
// pressures in hPa, densities in g/m3, water-vapour content in kg/m2.
// A path whose elevation has no positive sine is taken at 1e-6 rad, so a
// grazing path stays finite.
#pragma once

// Site height is clamped to 0..10 km and availability to 50..95 %.
double GaseousAttenuation(double latitude, double longitude, double frequency,
                          double elevation, double siteHeight, double availability);

// Oxygen part (dB): gamma_o from the means, equivalent height from the p values.
double OxygenSlantAttenuation(double frequency, double elevationRad, double temperatureP,
                              double pressureP, double densityP, double temperatureMean,
                              double pressureMean, double densityMean);

// Water-vapour part (dB) from the total water-vapour content V_p.
double WaterVapourSlantAttenuation(double frequency, double elevationRad, double contentP,
                                   double temperatureMean, double pressureMean,
                                   double densityMean);

// The built-in coefficient tables, for checks: row counts and one row.
namespace detail {
inline constexpr int kOxygenLineRows = 44;
inline constexpr int kOxygenHeightRows = 700;
inline constexpr int kWaterVapourRows = 700;   // 699 published rows and a row of zeros
const double* OxygenLineRow(int row);          // f_i, a1..a6
const double* OxygenHeightRow(int row);        // f, a0, b0, c0, d0
const double* WaterVapourRow(int row);         // f, aV, bV, cV, dV
}  // namespace detail
