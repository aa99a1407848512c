#include "rftools/calculators/link_level.h"

#include <cmath>

#include "propagation/atmosphere.h"
#include "propagation/coordinates.h"
#include "propagation/gas.h"
#include "propagation/itu_maps.h"
#include "propagation/noise.h"
#include "propagation/total_attenuation.h"
#include "rftools/calculators/result_text.h"

namespace rfcalc {

namespace {

double FromDb(double dB) { return std::pow(10.0, 0.1 * dB); }

// One row of the conversion: average-year u_y = k u^e for lower < u < upper.
struct WorstMonthConversion {
    double k;
    double exponent;
    double lower;
    double upper;
};
// ITU-R P.841: the inverse of p_w = Q1 p^(1 - beta) with (Q1, beta) =
// (2.85, 0.13), (2.82, 0.15) and (4.48, 0.11), rounded.
constexpr WorstMonthConversion kGlobalPlanning{0.3, 1.15, 0.00019, 7.8};
constexpr WorstMonthConversion kTropicalTemperate{0.3, 1.18, 0.00077, 7.17};
constexpr WorstMonthConversion kDryPolarDesert{0.19, 1.12, 0.0015, 11.91};

std::optional<double> AverageYear(const WorstMonthConversion& c, double u)
{
    if (!Exceeds(u, c.lower) || !FallsShortOf(u, c.upper)) return std::nullopt;
    return 100.0 - c.k * std::pow(u, c.exponent);
}

// The antenna-noise estimate takes the atmosphere of a median year.
constexpr double kMedianAvailability_percent = 50.0;

}  // namespace

double DegradationToCim(double esNo_dB, double degradation_dB)
{
    return -10.0 * std::log10(FromDb(-esNo_dB) - FromDb(-(esNo_dB + degradation_dB)));
}

std::optional<double> CimToDegradation(double esNo_dB, double cim_dB)
{
    const double remaining = FromDb(-esNo_dB) - FromDb(-cim_dB);
    if (!(remaining > 0.0)) return std::nullopt;
    return -10.0 * std::log10(remaining) - esNo_dB;
}

double PowerRatioSum(std::span<const double> ratios_dB)
{
    if (ratios_dB.empty()) return 0.0;
    double total = ratios_dB.front();
    for (double r : ratios_dB.subspan(1)) total = CombineCN2(total, r);
    return total;
}

FlangeDensity FlangePowerDensity(double power_W, double bandwidth_MHz)
{
    FlangeDensity r;
    r.wattsPerHz = power_W / (bandwidth_MHz * 1e6);
    r.dBWPerHz = 10.0 * std::log10(r.wattsPerHz);
    r.dBWPer4kHz = 10.0 * std::log10(4000.0) + r.dBWPerHz;
    return r;
}

AverageYearAvailability AverageYearFromWorstMonth(double worstMonth_percent)
{
    const double u = 100.0 - worstMonth_percent;
    return {AverageYear(kGlobalPlanning, u), AverageYear(kTropicalTemperate, u), AverageYear(kDryPolarDesert, u)};
}

AntennaNoiseEstimate EstimateAntennaNoise(double latitude, double longitude, double satelliteLongitude,
                                          double efficiency_percent, double frequency_GHz)
{
    AntennaNoiseEstimate r;
    GeoLookAngles(latitude, longitude, satelliteLongitude, 0.0, nullptr, nullptr, &r.elevation_deg, nullptr,
                  nullptr, nullptr);
    if (r.elevation_deg < 0.0) return r;
    r.visible = true;
    const auto lat = float(latitude);
    const auto lon = float(longitude);
    const double height_km = TopoHeightAt(lat, lon);
    const double surface_K = MeanTemperatureAt(lat, lon, float(height_km));
    const double gas_dB = GaseousAttenuation(latitude, longitude, frequency_GHz, r.elevation_deg, height_km,
                                             kMedianAvailability_percent);
    r.noise_K = AntennaNoiseTemp(efficiency_percent, surface_K, gas_dB);
    return r;
}

}  // namespace rfcalc
