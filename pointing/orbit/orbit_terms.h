// The initialised form of one element set: the quantities the 1980 report's
// SGP4 and SDP4 compute once from the elements, and the state of the deep-space
// resonance integrator.  Internal to the orbit model.
//
// Notation follows the report: n0'' (xnodp) and a0'' (aodp) the recovered mean
// motion (rad/min) and semi-major axis (Earth radii); theta = cos i0; eta,
// xi (tsi), C1..C5, D2..D4 the drag coefficients; s and (q0 - s)^4 the density
// parameters; all times in minutes since epoch.
#pragma once

#include <cstdint>

namespace orbit_detail {

// Near-earth quantities, used by SGP4 and (without the higher drag terms) by
// SDP4.
struct NearEarthTerms {
    // Elements at epoch.
    double xmo = 0, xnodeo = 0, omegao = 0, eo = 0, xincl = 0, bstar = 0;
    // Recovered mean motion and semi-major axis.
    double xnodp = 0, aodp = 0;
    // Functions of the inclination and eccentricity.
    double cosio = 0, sinio = 0, x3thm1 = 0, x1mth2 = 0, x7thm1 = 0, betao = 0, betao2 = 0;
    double eta = 0;
    // Secular rates (rad/min) and drag coefficients.
    double xmdot = 0, omgdot = 0, xnodot = 0;
    double c1 = 0, c4 = 0, c5 = 0, d2 = 0, d3 = 0, d4 = 0;
    double omgcof = 0, xmcof = 0, xnodcf = 0;
    double t2cof = 0, t3cof = 0, t4cof = 0, t5cof = 0;
    double delmo = 0, sinmo = 0;
    // Long-period coefficients.
    double xlcof = 0, aycof = 0;
    // Perigee under 220 km: the truncated drag form.
    bool simple = false;
};

// Lunar-solar and resonance quantities of the deep-space routine.
struct DeepSpaceTerms {
    double thgr = 0;   // Greenwich sidereal angle at epoch, rad
    double xnq = 0;    // recovered mean motion
    double xqncl = 0;  // inclination at epoch
    double omegaq = 0;
    double siniq = 0, cosiq = 0;
    double zmos = 0, zmol = 0;  // solar and lunar mean anomalies at epoch
    // Secular rates of e, i, M, perigee, node.
    double sse = 0, ssi = 0, ssl = 0, ssg = 0, ssh = 0;
    // Solar periodic coefficients.
    double se2 = 0, si2 = 0, sl2 = 0, sgh2 = 0, sh2 = 0;
    double se3 = 0, si3 = 0, sl3 = 0, sgh3 = 0, sh3 = 0, sl4 = 0, sgh4 = 0;
    // Lunar periodic coefficients.
    double ee2 = 0, e3 = 0, xi2 = 0, xi3 = 0, xl2 = 0, xl3 = 0, xl4 = 0;
    double xgh2 = 0, xgh3 = 0, xgh4 = 0, xh2 = 0, xh3 = 0;
    // Resonance: none, one-day (synchronous) or half-day.
    bool resonant = false;
    bool synchronous = false;
    double del1 = 0, del2 = 0, del3 = 0;
    double d2201 = 0, d2211 = 0, d3210 = 0, d3222 = 0, d4410 = 0, d4422 = 0;
    double d5220 = 0, d5232 = 0, d5421 = 0, d5433 = 0;
    double xlamo = 0, xfact = 0, omgdt = 0;
};

// The resonance integrator: mean longitude and mean motion at atime, a whole
// number of 720-minute steps from epoch.  Its values depend only on the
// elements and atime, so keeping them between calls changes no result.
struct ResonanceState {
    double atime = 0;
    double xli = 0;
    double xni = 0;
};

}  // namespace orbit_detail
