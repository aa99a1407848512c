#include "rftools/calculators/antenna_geometry.h"

#include <cmath>
#include <numbers>

#include "propagation/antenna.h"
#include "propagation/coordinates.h"

namespace rfcalc {

namespace {
// BeamAngleAtLevel's pattern selector: the uniformly illuminated circular
// aperture.
constexpr int kCircularAperture = 0;
// Its first null lies at sin(theta) = 1.22 lambda / D.
constexpr double kFirstNullFactor = 1.22;
// CircularAperturePattern's short series (the one BeamAngleAtLevel uses).
constexpr int kShortSeries = 0;
}  // namespace

double FocalDistanceFromDepth(double diameter_m, double depth_m)
{
    const double radius = diameter_m / 2.0;
    return radius * radius / (4.0 * depth_m);
}

double FocalDistanceFromRatio(double ratio, double diameter_m) { return ratio * diameter_m; }

NominalBeamwidth NominalBeamwidthAt(double level_dB, double frequency_GHz, double diameter_m)
{
    const double lambda = Wavelength(frequency_GHz);
    NominalBeamwidth r;
    // Below 1.22 wavelengths the search stops at 90 degrees, where the main
    // lobe may still stand above the level.
    if (kFirstNullFactor * lambda / diameter_m > 1.0 &&
        CircularAperturePattern(90.0, diameter_m, lambda, kShortSeries) > DbToAmplitudeRatio(level_dB))
        return r;
    r.defined = true;
    r.width_deg = kNominalBeamwidthFactor * BeamAngleAtLevel(level_dB, lambda, diameter_m, kCircularAperture);
    return r;
}

double BoresightGain(double diameter_m, double efficiency_percent, double frequency_GHz)
{
    const double lambda = Wavelength(frequency_GHz);
    const double piD = std::numbers::pi * diameter_m;
    return 10.0 * std::log10(efficiency_percent * piD * piD / (100.0 * lambda * lambda));
}

AntennaGains AntennaGainsAt(double diameter_m, double efficiency_percent, double frequency_GHz,
                            double offAxis_deg, bool copolar, bool bo1213)
{
    AntennaGains r;
    r.boresight_dBi = BoresightGain(diameter_m, efficiency_percent, frequency_GHz);
    r.crossPolarUndefined = !copolar && !bo1213;
    r.offAxis_dBi = OffAxisGain(r.boresight_dBi, offAxis_deg, frequency_GHz, diameter_m, copolar ? 1 : 0,
                                bo1213 ? 1 : 0);
    return r;
}

}  // namespace rfcalc
