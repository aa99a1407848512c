// Quantities met in link budgets: non-linear degradation and C/IM, power
// ratio sums, flange power density, worst-month to average-year
// availability, and the antenna noise of an earth station.
#pragma once

#include <optional>
#include <span>

namespace rfcalc {

// C/IM (dB) equivalent to a degradation D (dB) of a required Es/No E (dB):
// the noise-to-signal ratio the degradation gives up,
// -10 log10(10^(-E/10) - 10^(-(E + D)/10)).
double DegradationToCim(double esNo_dB, double degradation_dB);

// The degradation (dB) that a C/IM R (dB) causes at a required Es/No E:
// -10 log10(10^(-E/10) - 10^(-R/10)) - E.  None when R does not exceed E
// (the intermodulation alone is as strong as the allowed noise).
std::optional<double> CimToDegradation(double esNo_dB, double cim_dB);

// The ratios (dB) combined as their noise powers add (CombineCN2 in turn,
// from the first); the first alone when there is one.
double PowerRatioSum(std::span<const double> ratios_dB);

struct FlangeDensity {
    double wattsPerHz = 0.0;
    double dBWPerHz = 0.0;
    double dBWPer4kHz = 0.0;
};
// Power (W) spread over a bandwidth (MHz).
FlangeDensity FlangePowerDensity(double power_W, double bandwidth_MHz);

// Average-year availability (%) from the worst-month availability, by the
// three ITU-R P.841 conversions 100 - k u^e (u = 100 - worst month); each is
// none outside the open range of u it holds for.
struct AverageYearAvailability {
    std::optional<double> globalPlanning;
    std::optional<double> tropicalTemperate;   // tropical, sub-tropical and temperate
    std::optional<double> dryPolarDesert;      // dry temperate, polar and desert
};
AverageYearAvailability AverageYearFromWorstMonth(double worstMonth_percent);

struct AntennaNoiseEstimate {
    bool visible = false;        // false: the satellite is below the horizon
    double elevation_deg = 0.0;
    double noise_K = 0.0;
};

// Antenna noise of a site looking at a geostationary satellite: sky noise
// through the gaseous attenuation exceeded 50 % of the time at the site's
// mean surface temperature, plus the ground seen by the spill-over
// ((1 - 0.01 efficiency) x 90 K).  Latitude north and longitudes east
// positive, degrees; efficiency %; frequency GHz.
AntennaNoiseEstimate EstimateAntennaNoise(double latitude, double longitude, double satelliteLongitude,
                                          double efficiency_percent, double frequency_GHz);

}  // namespace rfcalc
