// The steps of SGP4 and SDP4 as free functions over the initialised terms;
// internal to the orbit model (sgp4sdp4.h is the interface).
#pragma once

#include "pointing/orbit/orbit_terms.h"
#include "pointing/orbit/orbit_types.h"

#include <cmath>

namespace orbit_detail {

// ke = sqrt(3600 mu / R^3): the rate constant in Earth radii^1.5 per minute.
inline const double kKe = std::sqrt(3600.0 * orbit_constants::kMuKm3PerS2 /
                                    (orbit_constants::kEarthRadiusKm * orbit_constants::kEarthRadiusKm *
                                     orbit_constants::kEarthRadiusKm));
// The report's two thirds and its half, as the report writes them.
inline constexpr double kTwoThirds = 0.66666667;
inline constexpr double kHalfTwoThirds = 0.333333335;
// Orbits of this period or longer are deep-space (SDP4), minutes.
inline constexpr double kDeepSpacePeriodMin = 225.0;

// The mean motion and semi-major axis recovered from the element set's
// (Kozai) mean motion.
struct RecoveredMotion {
    double meanMotion = 0;    // rad/min
    double semiMajorAxis = 0; // Earth radii
};
RecoveredMotion RecoverMeanMotion(double meanMotion, double eccentricity, double cosInclination);

// Near-earth quantities; the drag terms above second order only when
// `withHigherDrag` (SGP4) and the perigee allows them.
void InitialiseNearEarth(double xmo, double xnodeo, double omegao, double eo, double xincl, double xno,
                         double bstar, bool withHigherDrag, NearEarthTerms& out);
OrbitStatus StepSgp4(const NearEarthTerms& terms, double t, EciVector& position, EciVector& velocity);

// The values the initialisation hands to the deep-space routine.
struct DeepSpaceArgs {
    double eqsq = 0;    // eccentricity squared
    double siniq = 0;   // sine of the inclination
    double cosiq = 0;
    double rteqsq = 0;  // beta0 = sqrt(1 - e^2)
    double ao = 0;      // recovered semi-major axis
    double cosq2 = 0;   // cos^2 i
    double sinomo = 0;  // sine of the argument of perigee
    double cosomo = 0;
    double bsq = 0;     // beta0^2
    double xlldot = 0;  // secular rate of mean anomaly
    double omgdt = 0;   // of perigee
    double xnodot = 0;  // of the node
    double xnodp = 0;   // recovered mean motion
};
// thgr: Greenwich sidereal angle at epoch; daysSince1950: of the epoch.
void DeepSpaceInit(const NearEarthTerms& nearEarth, const DeepSpaceArgs& args, double thgr,
                   double daysSince1950, DeepSpaceTerms& out);
// Adds the lunar-solar secular rates to the epoch values passed in (mean
// anomaly, perigee, node, eccentricity, inclination) and integrates the
// resonance; false when the integration would take more steps than any real
// use needs.
bool DeepSpaceSecular(const DeepSpaceTerms& ds, ResonanceState& state, double t, double& xll,
                      double& omgasm, double& xnodes, double& em, double& xinc, double& xn);
void DeepSpacePeriodic(const DeepSpaceTerms& ds, double t, double& em, double& xinc, double& omgasm,
                       double& xnodes, double& xll);
OrbitStatus StepSdp4(const NearEarthTerms& terms, const DeepSpaceTerms& ds, ResonanceState& state,
                     double t, EciVector& position, EciVector& velocity);

// Long-period periodics, Kepler's equation and short-period periodics, shared
// by both models; xinc is the inclination the short-period terms start from.
OrbitStatus FinishState(const NearEarthTerms& terms, double a, double e, double xl, double omega,
                        double xnode, double xinc, EciVector& position, EciVector& velocity);

}  // namespace orbit_detail
