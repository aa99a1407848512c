// SGP4 (Spacetrack Report No. 3, section 6) and the steps SDP4 shares with it.
//
// Notation of the report: xmo, xnodeo, omegao, eo, xincl the elements at epoch;
// xnodp, aodp the recovered mean motion and semi-major axis; theta2 = cos^2 i0;
// s4 and qoms24 the density parameters s and (q0 - s)^4; eta, tsi (xi) and
// C1..C5, D2..D4 the drag coefficients; t minutes since epoch.
#include "pointing/orbit/orbit_model.h"

#include "pointing/orbit/sgp4sdp4.h"

#include <cmath>

namespace orbit_detail {
namespace {

using namespace orbit_constants;

// Density parameter s = 1 + 78 km / R and (q0 - s)^4 = ((120 - 78) km / R)^4.
constexpr double kS = 1.0 + 78.0 / kEarthRadiusKm;
constexpr double kQoms2t = 1.880279e-9;
// Perigee heights that change the density parameters, km.
constexpr double kLowPerigeeKm = 156.0;
constexpr double kVeryLowPerigeeKm = 98.0;
constexpr double kVeryLowS4Km = 20.0;
// Perigee radius under which the truncated drag form is used (220 km).
constexpr double kSimpleDragPerigeeEr = 1.0344929;
// -J3 / (J2/2).
constexpr double kA3ovk2 = -kJ3 / kHalfJ2;
// Kepler's equation.
constexpr double kKeplerTolerance = 1e-6;
constexpr int kKeplerIterations = 11;

struct DensityParameters {
    double s4;
    double qoms24;
};

DensityParameters DensityFor(double aodp, double eo) {
    const double perigeeKm = (aodp * (1.0 - eo) - 1.0) * kEarthRadiusKm;
    if (perigeeKm >= kLowPerigeeKm) return {kS, kQoms2t};
    const double s4Km = perigeeKm <= kVeryLowPerigeeKm ? kVeryLowS4Km : perigeeKm - 78.0;
    const double q = (120.0 - s4Km) / kEarthRadiusKm;
    return {s4Km / kEarthRadiusKm + 1.0, q * q * q * q};
}

void HigherDragTerms(double s4, double tsi, NearEarthTerms& n) {
    const double c1sq = n.c1 * n.c1;
    n.d2 = 4.0 * n.aodp * tsi * c1sq;
    const double temp = n.d2 * tsi * n.c1 / 3.0;
    n.d3 = (17.0 * n.aodp + s4) * temp;
    n.d4 = 0.5 * temp * n.aodp * tsi * (221.0 * n.aodp + 31.0 * s4) * n.c1;
    n.t3cof = n.d2 + 2.0 * c1sq;
    n.t4cof = 0.25 * (3.0 * n.d3 + n.c1 * (12.0 * n.d2 + 10.0 * c1sq));
    n.t5cof = 0.2 * (3.0 * n.d4 + 12.0 * n.c1 * n.d3 + 6.0 * n.d2 * n.d2 + 15.0 * c1sq * (2.0 * n.d2 + c1sq));
}

}  // namespace

RecoveredMotion RecoverMeanMotion(double meanMotion, double eccentricity, double cosInclination) {
    const double a1 = std::pow(kKe / meanMotion, kTwoThirds);
    const double betao2 = 1.0 - eccentricity * eccentricity;
    const double temp = 1.5 * kHalfJ2 * (3.0 * cosInclination * cosInclination - 1.0) / (betao2 * std::sqrt(betao2));
    const double del1 = temp / (a1 * a1);
    const double ao = a1 * (1.0 - del1 * (kHalfTwoThirds + del1 * (1.0 + 134.0 / 81.0 * del1)));
    const double delo = temp / (ao * ao);
    return {meanMotion / (1.0 + delo), ao / (1.0 - delo)};
}

void InitialiseNearEarth(double xmo, double xnodeo, double omegao, double eo, double xincl, double xno,
                         double bstar, bool withHigherDrag, NearEarthTerms& n) {
    n = NearEarthTerms{};
    n.xmo = xmo;
    n.xnodeo = xnodeo;
    n.omegao = omegao;
    n.eo = eo;
    n.xincl = xincl;
    n.bstar = bstar;

    n.cosio = std::cos(xincl);
    n.sinio = std::sin(xincl);
    const double theta2 = n.cosio * n.cosio;
    n.x3thm1 = 3.0 * theta2 - 1.0;
    n.betao2 = 1.0 - eo * eo;
    n.betao = std::sqrt(n.betao2);
    const RecoveredMotion recovered = RecoverMeanMotion(xno, eo, n.cosio);
    n.xnodp = recovered.meanMotion;
    n.aodp = recovered.semiMajorAxis;
    n.simple = n.aodp * (1.0 - eo) < kSimpleDragPerigeeEr;

    const DensityParameters density = DensityFor(n.aodp, eo);
    const double pinvsq = 1.0 / (n.aodp * n.aodp * n.betao2 * n.betao2);
    const double tsi = 1.0 / (n.aodp - density.s4);
    n.eta = n.aodp * eo * tsi;
    const double etasq = n.eta * n.eta;
    const double eeta = eo * n.eta;
    const double psisq = std::fabs(1.0 - etasq);
    const double tsi2 = tsi * tsi;
    const double coef = density.qoms24 * tsi2 * tsi2;
    const double coef1 = coef / std::pow(psisq, 3.5);
    const double c2 = coef1 * n.xnodp *
                      (n.aodp * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
                       0.75 * kHalfJ2 * tsi / psisq * n.x3thm1 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
    n.c1 = bstar * c2;
    // A circular orbit has no perigee: the terms that move mean anomaly and
    // perigee against each other (divided by e in the report) vanish.
    const bool circular = eo == 0.0;
    const double c3 = circular ? 0.0 : coef * tsi * kA3ovk2 * n.xnodp * n.sinio / eo;
    n.x1mth2 = 1.0 - theta2;
    n.c4 = 2.0 * n.xnodp * coef1 * n.aodp * n.betao2 *
           (n.eta * (2.0 + 0.5 * etasq) + eo * (0.5 + 2.0 * etasq) -
            2.0 * kHalfJ2 * tsi / (n.aodp * psisq) *
                (-3.0 * n.x3thm1 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
                 0.75 * n.x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq)) * std::cos(2.0 * omegao)));
    n.c5 = 2.0 * coef1 * n.aodp * n.betao2 * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);

    const double theta4 = theta2 * theta2;
    const double temp1 = 3.0 * kHalfJ2 * pinvsq * n.xnodp;
    const double temp2 = temp1 * kHalfJ2 * pinvsq;
    const double temp3 = 1.25 * kMinus3_8J4 * pinvsq * pinvsq * n.xnodp;
    n.xmdot = n.xnodp + 0.5 * temp1 * n.betao * n.x3thm1 +
              0.0625 * temp2 * n.betao * (13.0 - 78.0 * theta2 + 137.0 * theta4);
    const double x1m5th = 1.0 - 5.0 * theta2;
    n.omgdot = -0.5 * temp1 * x1m5th + 0.0625 * temp2 * (7.0 - 114.0 * theta2 + 395.0 * theta4) +
               temp3 * (3.0 - 36.0 * theta2 + 49.0 * theta4);
    const double xhdot1 = -temp1 * n.cosio;
    n.xnodot = xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * theta2) + 2.0 * temp3 * (3.0 - 7.0 * theta2)) * n.cosio;
    n.omgcof = bstar * c3 * std::cos(omegao);
    n.xmcof = circular ? 0.0 : -kTwoThirds * coef * bstar / eeta;
    n.xnodcf = 3.5 * n.betao2 * xhdot1 * n.c1;
    n.t2cof = 1.5 * n.c1;
    n.xlcof = 0.125 * kA3ovk2 * n.sinio * (3.0 + 5.0 * n.cosio) / (1.0 + n.cosio);
    n.aycof = 0.25 * kA3ovk2 * n.sinio;
    const double delmoRoot = 1.0 + n.eta * std::cos(xmo);
    n.delmo = delmoRoot * delmoRoot * delmoRoot;
    n.sinmo = std::sin(xmo);
    n.x7thm1 = 7.0 * theta2 - 1.0;
    if (withHigherDrag && !n.simple) HigherDragTerms(density.s4, tsi, n);
}

OrbitStatus StepSgp4(const NearEarthTerms& n, double t, EciVector& position, EciVector& velocity) {
    // Secular gravity and atmospheric drag.
    const double xmdf = n.xmo + n.xmdot * t;
    const double omgadf = n.omegao + n.omgdot * t;
    const double xnoddf = n.xnodeo + n.xnodot * t;
    double omega = omgadf;
    double xmp = xmdf;
    const double tsq = t * t;
    const double xnode = xnoddf + n.xnodcf * tsq;
    double tempa = 1.0 - n.c1 * t;
    double tempe = n.bstar * n.c4 * t;
    double templ = n.t2cof * tsq;
    if (!n.simple) {
        const double delomg = n.omgcof * t;
        const double root = 1.0 + n.eta * std::cos(xmdf);
        const double delm = n.xmcof * (root * root * root - n.delmo);
        const double temp = delomg + delm;
        xmp = xmdf + temp;
        omega = omgadf - temp;
        const double tcube = tsq * t;
        const double tfour = t * tcube;
        tempa = tempa - n.d2 * tsq - n.d3 * tcube - n.d4 * tfour;
        tempe = tempe + n.bstar * n.c5 * (std::sin(xmp) - n.sinmo);
        templ = templ + n.t3cof * tcube + tfour * (n.t4cof + t * n.t5cof);
    }
    if (!(tempa > 0.0)) return std::isnan(tempa) ? OrbitStatus::BadElements : OrbitStatus::Decayed;
    const double a = n.aodp * tempa * tempa;
    const double e = n.eo - tempe;
    const double xl = xmp + omega + xnode + n.xnodp * templ;
    return FinishState(n, a, e, xl, omega, xnode, n.xincl, position, velocity);
}

OrbitStatus FinishState(const NearEarthTerms& n, double a, double e, double xl, double omega, double xnode,
                        double xinc, EciVector& position, EciVector& velocity) {
    if (!(std::fabs(e) < 1.0)) return std::isnan(e) ? OrbitStatus::BadElements : OrbitStatus::Decayed;
    const double beta2 = 1.0 - e * e;
    const double xn = kKe / (a * std::sqrt(a));

    // Long-period periodics.
    const double axn = e * std::cos(omega);
    double temp = 1.0 / (a * beta2);
    const double xll = temp * n.xlcof * axn;
    const double aynl = temp * n.aycof;
    const double xlt = xl + xll;
    const double ayn = e * std::sin(omega) + aynl;

    // Kepler's equation for E + omega; the sines and cosines kept are those of
    // the last estimate the correction was computed from.
    const double capu = TSgp4Sdp4::FMod2p(xlt - xnode);
    double temp2 = capu;
    double sinepw = 0, cosepw = 0, temp3 = 0, temp4 = 0, temp5 = 0, temp6 = 0;
    for (int i = 0; i < kKeplerIterations; ++i) {
        sinepw = std::sin(temp2);
        cosepw = std::cos(temp2);
        temp3 = axn * sinepw;
        temp4 = ayn * cosepw;
        temp5 = axn * cosepw;
        temp6 = ayn * sinepw;
        const double epw = (capu - temp4 + temp3 - temp2) / (1.0 - temp5 - temp6) + temp2;
        if (std::fabs(epw - temp2) <= kKeplerTolerance) break;
        temp2 = epw;
    }

    // Short-period preliminary quantities.
    const double ecose = temp5 + temp6;
    const double esine = temp3 - temp4;
    const double elsq = axn * axn + ayn * ayn;
    temp = 1.0 - elsq;
    const double pl = a * temp;
    if (!(pl > 0.0)) return std::isnan(pl) ? OrbitStatus::BadElements : OrbitStatus::Decayed;
    const double r = a * (1.0 - ecose);
    double temp1 = 1.0 / r;
    const double rdot = kKe * std::sqrt(a) * esine * temp1;
    const double rfdot = kKe * std::sqrt(pl) * temp1;
    temp2 = a * temp1;
    const double betal = std::sqrt(temp);
    temp3 = 1.0 / (1.0 + betal);
    const double cosu = temp2 * (cosepw - axn + ayn * esine * temp3);
    const double sinu = temp2 * (sinepw - ayn - axn * esine * temp3);
    const double u = TSgp4Sdp4::ArcTan2(sinu, cosu);
    const double sin2u = 2.0 * sinu * cosu;
    const double cos2u = 2.0 * cosu * cosu - 1.0;
    temp = 1.0 / pl;
    temp1 = kHalfJ2 * temp;
    temp2 = temp1 * temp;

    // Short-period periodics.
    const double rk = r * (1.0 - 1.5 * temp2 * betal * n.x3thm1) + 0.5 * temp1 * n.x1mth2 * cos2u;
    const double uk = u - 0.25 * temp2 * n.x7thm1 * sin2u;
    const double xnodek = xnode + 1.5 * temp2 * n.cosio * sin2u;
    const double xinck = xinc + 1.5 * temp2 * n.cosio * n.sinio * cos2u;
    const double rdotk = rdot - xn * temp1 * n.x1mth2 * sin2u;
    const double rfdotk = rfdot + xn * temp1 * (n.x1mth2 * cos2u + 1.5 * n.x3thm1);

    // Orientation vectors, position and velocity.
    const double sinuk = std::sin(uk);
    const double cosuk = std::cos(uk);
    const double sinik = std::sin(xinck);
    const double cosik = std::cos(xinck);
    const double sinnok = std::sin(xnodek);
    const double cosnok = std::cos(xnodek);
    const double xmx = -sinnok * cosik;
    const double xmy = cosnok * cosik;
    const double ux = xmx * sinuk + cosnok * cosuk;
    const double uy = xmy * sinuk + sinnok * cosuk;
    const double uz = sinik * sinuk;
    const double vx = xmx * cosuk - cosnok * sinuk;
    const double vy = xmy * cosuk - sinnok * sinuk;
    const double vz = sinik * cosuk;
    position = {rk * ux, rk * uy, rk * uz, 0.0};
    velocity = {rdotk * ux + rfdotk * vx, rdotk * uy + rfdotk * vy, rdotk * uz + rfdotk * vz, 0.0};

    const bool finite = std::isfinite(position.x + position.y + position.z + velocity.x + velocity.y + velocity.z);
    if (!finite) return OrbitStatus::BadElements;
    // Under the Earth's surface: the satellite has come down.
    if (rk < 1.0) return OrbitStatus::Decayed;
    return OrbitStatus::Ok;
}

}  // namespace orbit_detail
