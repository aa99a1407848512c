// Parabolic earth-station antennas: focal distance from the dish depth or
// the f/D ratio, nominal beamwidth at a relative level, and boresight and
// off-axis gain from a reference template.  Lengths in m, frequency in GHz,
// angles in degrees, gains in dBi.
#pragma once

namespace rfcalc {

// (D / 2)^2 / (4 depth): the focus of the parabola through the rim.
double FocalDistanceFromDepth(double diameter_m, double depth_m);
// (f/D) D.
double FocalDistanceFromRatio(double ratio, double diameter_m);

// The factor the nominal beamwidth applies to the width of the uniformly
// illuminated aperture, whose beam is narrower than a tapered dish's.
inline constexpr double kNominalBeamwidthFactor = 1.19;

struct NominalBeamwidth {
    // False when the aperture is so small for the wavelength (below 1.22
    // wavelengths) that its pattern has not fallen to the level even at 90
    // degrees off boresight: no beamwidth exists at that level.
    bool defined = false;
    double width_deg = 0.0;
};

// 1.19 times the full width at `level_dB` (negative) of the uniformly
// illuminated circular aperture.
NominalBeamwidth NominalBeamwidthAt(double level_dB, double frequency_GHz, double diameter_m);

// 10 log10(eta (pi D)^2 / (100 lambda^2)), eta in percent.
double BoresightGain(double diameter_m, double efficiency_percent, double frequency_GHz);

struct AntennaGains {
    double boresight_dBi = 0.0;
    double offAxis_dBi = 0.0;
    // Cross-polar asked of the AP8/S.580 template, which has none: the user
    // is told, and the co-polar envelope is given.
    bool crossPolarUndefined = false;
};

// bo1213: the BO.1213 template (co-polar or cross-polar by `copolar`);
// otherwise the combined AP8/S.580 co-polar template.
AntennaGains AntennaGainsAt(double diameter_m, double efficiency_percent, double frequency_GHz,
                            double offAxis_deg, bool copolar, bool bo1213);

}  // namespace rfcalc
