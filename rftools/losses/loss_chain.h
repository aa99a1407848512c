// The atmospheric losses of one earth station's slant path to a geostationary
// satellite: gaseous absorption, tropospheric scintillation, cloud and rain
// attenuation and their combination, the same chain for the atmospheric-
// losses window and its three tables.  Every model is reached through the
// LinkAtmosphere seam, so that the figures are those the link budgets use for
// the same terms and a test can stand a known atmosphere in their place.
//
// Notation: p = 100 - A is the percentage of an average year for which a
// loss is exceeded, A the availability in percent.  The models clamp their
// own inputs (gas and cloud take A in 50..95 %, rain and XPD at most
// 99.99999 %), so the chain passes A as given.
#pragma once

#include <string_view>

#include "propagation/link_atmosphere.h"

namespace orbiscope::losses {

// One site's path as the loss models take it.
struct LossPath {
    double latitude = 0.0;        // degrees, north positive
    double longitude = 0.0;       // degrees, east positive
    double heightKm = 0.0;        // site altitude used
    double elevation = 0.0;       // degrees
    double tiltRad = 0.0;         // polarization tilt, radians (pi/4 circular)
    const char* polarization = "";  // "V", "H" or "C"
    double diameterM = 0.0;       // antenna diameter
    double efficiencyPct = 0.0;   // antenna efficiency
    int rainRateSource = 0;       // 0: R0.01 from the rain-rate map; 1: manualRainRate
    double manualRainRate = 0.0;  // R0.01, mm/h
};

// The losses exceeded for p at one frequency and availability, dB.
struct LossTerms {
    double gas = 0.0;
    double scintillation = 0.0;
    double cloud = 0.0;
    double rain = 0.0;
    double total = 0.0;
    LinkRainResult rainResult;    // the rain term with its R0.01 and model texts
};

// Gas, scintillation, rain, cloud and their ITU-R combination at a frequency
// (GHz) and an availability (%).
LossTerms AtmosLossChain(LinkAtmosphere& atm, const LossPath& path, double frequencyGHz, double availability);

// Rain cross-polarization discrimination not exceeded for p, dB; 0 when the
// path has no rain attenuation.
double LossXpd(LinkAtmosphere& atm, const LossPath& path, double frequencyGHz, double availability,
               double rainAttenuation);

// "Vertical", "Horizontal" or "Circular" for a polarization text starting
// with V, H or C; null for any other.
const char* PolarizationName(std::string_view polarization);

// ---- geometry ---------------------------------------------------------------

// Look angles from a site to a geostationary satellite (no magnetic terms).
struct SiteLook {
    double elevation = 0.0;     // degrees, with refraction
    double azimuth = 0.0;       // degrees true
    double slantRangeKm = 0.0;
};
SiteLook LookAtSatellite(double latitude, double longitude, double satelliteLongitude);

// ---- what the window adds to the chain ---------------------------------------

// Mean radiating temperature of the rain and cloud that raise the noise of a
// receiving station (ITU-R P.618 section 3).
inline constexpr double kMediumTemperatureK = 275.0;
// Hours of an average year and of an average month.
inline constexpr double kHoursPerYear = 8766.0;
inline constexpr double kHoursPerMonth = 730.5;

// Rise of the downlink noise temperature, dB, when rain and cloud attenuate the
// path by `attenuationDb` in front of a system of `systemNoiseK`.
double NoiseIncreaseDb(double attenuationDb, double systemNoiseK);

// Worst-month availability of ITU-R P.841 (p_w = (p / 0.3)^0.87).  Below about
// 40.30 % of an average year the conversion would pass 100 % unavailability:
// the result is then held at 0 % and `limited` says so.
struct WorstMonth {
    double availability = 0.0;  // %
    bool limited = false;
};
WorstMonth WorstMonthAvailability(double availability);
// The average-year availability below which WorstMonthAvailability is held at 0.
double WorstMonthFloorAvailability();

double YearlyDowntimeHours(double availability);
double WorstMonthDowntimeHours(double worstMonthAvailability);

}  // namespace orbiscope::losses
