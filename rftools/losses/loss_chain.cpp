#include "rftools/losses/loss_chain.h"

#include <cmath>

#include "propagation/coordinates.h"

namespace orbiscope::losses {

namespace {

// ITU-R P.841: p_w = (p / 0.3)^(1 / 1.15), written as the window has always
// written it.
constexpr double kWorstMonthFactor = 10.0 / 3.0;
constexpr double kWorstMonthExponent = 0.87;

}  // namespace

LossTerms AtmosLossChain(LinkAtmosphere& atm, const LossPath& path, double frequencyGHz, double availability)
{
    const double lat = path.latitude, lon = path.longitude, el = path.elevation, h = path.heightKm;
    const double f = frequencyGHz, a = availability;
    LossTerms t;
    t.gas = atm.Gaseous(lat, lon, f, el, h, a);
    t.scintillation = atm.Scintillation(lat, lon, path.diameterM, path.efficiencyPct, el, f, a, h);
    t.rainResult = atm.Rain(lat, lon, path.tiltRad, h, el, f, path.polarization, path.rainRateSource,
                            path.manualRainRate, a);
    t.rain = t.rainResult.attenuation;
    t.cloud = atm.Cloud(lat, lon, el, f, a, h);
    t.total = atm.Total(t.gas, t.rain, t.cloud, t.scintillation, a);
    return t;
}

double LossXpd(LinkAtmosphere& atm, const LossPath& path, double frequencyGHz, double availability,
               double rainAttenuation)
{
    return atm.RainXpd(frequencyGHz, path.latitude, path.tiltRad, path.elevation, availability, rainAttenuation,
                       path.polarization);
}

const char* PolarizationName(std::string_view polarization)
{
    switch (polarization.empty() ? '\0' : polarization.front()) {
    case 'V': return "Vertical";
    case 'H': return "Horizontal";
    case 'C': return "Circular";
    default: return nullptr;
    }
}

SiteLook LookAtSatellite(double latitude, double longitude, double satelliteLongitude)
{
    SiteLook look;
    GeoLookAngles(latitude, longitude, satelliteLongitude, 0.0, nullptr, &look.slantRangeKm, &look.elevation,
                  &look.azimuth, nullptr, nullptr);
    return look;
}

double NoiseIncreaseDb(double attenuationDb, double systemNoiseK)
{
    const double x = std::pow(10.0, 0.1 * attenuationDb);
    return 10.0 * std::log10(((x - 1.0) * kMediumTemperatureK / x + systemNoiseK) / systemNoiseK);
}

WorstMonth WorstMonthAvailability(double availability)
{
    const double unavailable = std::pow((100.0 - availability) * kWorstMonthFactor, kWorstMonthExponent);
    if (unavailable > 100.0) return {0.0, true};
    return {100.0 - unavailable, false};
}

double WorstMonthFloorAvailability()
{
    return 100.0 - std::pow(100.0, 1.0 / kWorstMonthExponent) / kWorstMonthFactor;
}

double YearlyDowntimeHours(double availability) { return (100.0 - availability) * kHoursPerYear * 0.01; }

double WorstMonthDowntimeHours(double worstMonthAvailability)
{
    return (100.0 - worstMonthAvailability) * 0.01 * kHoursPerMonth;
}

}  // namespace orbiscope::losses
