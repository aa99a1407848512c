// SDP4 and its deep-space routine (Spacetrack Report No. 3, sections 7 and 8):
// lunar-solar secular and periodic terms, and the geopotential resonance of
// one-day (synchronous) and half-day orbits integrated from epoch.
//
// Notation of the report: z* the lunar or solar orbit seen from the satellite's
// plane (zcosg, zsing perigee, zcosi, zsini inclination, zcosh, zsinh node),
// cc the perturbation coefficient, zn the mean motion, ze the eccentricity of
// the perturbing body; ss* the secular rates; d2201..d5433 and del1..del3 the
// resonance coefficients; xli, xni the integrated mean longitude and motion.
#include "pointing/orbit/orbit_model.h"

#include "pointing/orbit/sgp4sdp4.h"

#include <cmath>

namespace orbit_detail {
namespace {

using namespace orbit_constants;

// The sun.
constexpr double kZns = 1.19459e-5;     // mean motion, rad/min
constexpr double kC1ss = 2.9864797e-6;  // perturbation coefficient
constexpr double kZes = 0.01675;        // eccentricity
constexpr double kZcosis = 0.91744867;  // inclination
constexpr double kZsinis = 0.39785416;
constexpr double kZcosgs = 0.1945905;   // argument of perigee
constexpr double kZsings = -0.98088458;
// The moon.
constexpr double kZnl = 1.5835218e-4;
constexpr double kC1l = 4.7968065e-7;
constexpr double kZel = 0.05490;
// Below 3 degrees of inclination the node rate of a pass is left out.
constexpr double kNoNodeRateInclination = 0.052359877;
// Below 0.2 rad the periodics go through the Lyddane form.
constexpr double kLyddaneInclination = 0.2;
// Earth rotation, rad/min.
constexpr double kThdt = 4.3752691e-3;
// Resonance bands of the recovered mean motion, rad/min.
constexpr double kSynchronousLow = 0.0034906585;
constexpr double kSynchronousHigh = 0.0052359877;
constexpr double kHalfDayLow = 8.26e-3;
constexpr double kHalfDayHigh = 9.24e-3;
constexpr double kHalfDayMinEccentricity = 0.5;
// Half-day resonance: root coefficients and phase angles.
constexpr double kRoot22 = 1.7891679e-6;
constexpr double kRoot32 = 3.7393792e-7;
constexpr double kRoot44 = 7.3636953e-9;
constexpr double kRoot52 = 1.1428639e-7;
constexpr double kRoot54 = 2.1765803e-9;
constexpr double kG22 = 5.7686396;
constexpr double kG32 = 0.95240898;
constexpr double kG44 = 1.8014998;
constexpr double kG52 = 1.0508330;
constexpr double kG54 = 4.4108898;
// Synchronous resonance.
constexpr double kQ22 = 1.7891679e-6;
constexpr double kQ31 = 2.1460748e-6;
constexpr double kQ33 = 2.2123015e-7;
constexpr double kFasx2 = 0.13130908;
constexpr double kFasx4 = 2.8843198;
constexpr double kFasx6 = 0.37448087;
// Integrator: fixed steps of 720 minutes; step^2 / 2.
constexpr double kStep = 720.0;
constexpr double kStep2 = 259200.0;
// More steps than 270 years of 720 minutes: the time cannot be meant.
constexpr double kMaxResonanceSteps = 200000.0;

// The lunar orbit on a day (days since 1900 January 0.5).
struct LunarOrbit {
    double zcosil, zsinil, zcoshl, zsinhl, zcosgl, zsingl, zmol, zmos;
};

LunarOrbit LunarOrbitOn(double day) {
    LunarOrbit m{};
    const double xnodce = 4.5236020 - 9.2422029e-4 * day;
    const double stem = std::sin(xnodce);
    const double ctem = std::cos(xnodce);
    m.zcosil = 0.91375164 - 0.03568096 * ctem;
    m.zsinil = std::sqrt(1.0 - m.zcosil * m.zcosil);
    m.zsinhl = 0.089683511 * stem / m.zsinil;
    m.zcoshl = std::sqrt(1.0 - m.zsinhl * m.zsinhl);
    const double c = 4.7199672 + 0.22997150 * day;
    const double gam = 5.8351514 + 0.0019443680 * day;
    m.zmol = TSgp4Sdp4::FMod2p(c - gam);
    double zx = 0.39785416 * stem / m.zsinil;
    const double zy = m.zcoshl * ctem + 0.91744867 * m.zsinhl * stem;
    zx = TSgp4Sdp4::ArcTan2(zx, zy);
    zx = gam + zx - xnodce;
    m.zcosgl = std::cos(zx);
    m.zsingl = std::sin(zx);
    m.zmos = TSgp4Sdp4::FMod2p(6.2565837 + 0.017201977 * day);
    return m;
}

// One perturbing body as the pass sees it.
struct Body {
    double zcosg, zsing, zcosi, zsini, zcosh, zsinh, cc, zn, ze;
};

// What one pass (sun or moon) contributes.
struct PassTerms {
    double se, si, sl, sgh, sh;
    double e2, e3, i2, i3, l2, l3, l4, gh2, gh3, gh4, h2, h3;
};

PassTerms LunarSolarPass(const Body& b, const DeepSpaceArgs& a, double eq, double xqncl) {
    const double a1 = b.zcosg * b.zcosh + b.zsing * b.zcosi * b.zsinh;
    const double a3 = -b.zsing * b.zcosh + b.zcosg * b.zcosi * b.zsinh;
    const double a7 = -b.zcosg * b.zsinh + b.zsing * b.zcosi * b.zcosh;
    const double a8 = b.zsing * b.zsini;
    const double a9 = b.zsing * b.zsinh + b.zcosg * b.zcosi * b.zcosh;
    const double a10 = b.zcosg * b.zsini;
    const double a2 = a.cosiq * a7 + a.siniq * a8;
    const double a4 = a.cosiq * a9 + a.siniq * a10;
    const double a5 = -a.siniq * a7 + a.cosiq * a8;
    const double a6 = -a.siniq * a9 + a.cosiq * a10;
    const double x1 = a1 * a.cosomo + a2 * a.sinomo;
    const double x2 = a3 * a.cosomo + a4 * a.sinomo;
    const double x3 = -a1 * a.sinomo + a2 * a.cosomo;
    const double x4 = -a3 * a.sinomo + a4 * a.cosomo;
    const double x5 = a5 * a.sinomo;
    const double x6 = a6 * a.sinomo;
    const double x7 = a5 * a.cosomo;
    const double x8 = a6 * a.cosomo;
    const double z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
    const double z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
    const double z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
    double z1 = 3.0 * (a1 * a1 + a2 * a2) + z31 * a.eqsq;
    double z2 = 6.0 * (a1 * a3 + a2 * a4) + z32 * a.eqsq;
    double z3 = 3.0 * (a3 * a3 + a4 * a4) + z33 * a.eqsq;
    const double z11 = -6.0 * a1 * a5 + a.eqsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
    const double z12 = -6.0 * (a1 * a6 + a3 * a5) + a.eqsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
    const double z13 = -6.0 * a3 * a6 + a.eqsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
    const double z21 = 6.0 * a2 * a5 + a.eqsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
    const double z22 = 6.0 * (a4 * a5 + a2 * a6) + a.eqsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
    const double z23 = 6.0 * a4 * a6 + a.eqsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
    z1 = z1 + z1 + a.bsq * z31;
    z2 = z2 + z2 + a.bsq * z32;
    z3 = z3 + z3 + a.bsq * z33;
    const double s3 = b.cc / a.xnodp;
    const double s2 = -0.5 * s3 / a.rteqsq;
    const double s4 = s3 * a.rteqsq;
    const double s1 = -15.0 * eq * s4;
    const double s5 = x1 * x3 + x2 * x4;
    const double s6 = x2 * x3 + x1 * x4;
    const double s7 = x2 * x4 - x1 * x3;

    PassTerms p{};
    p.se = s1 * b.zn * s5;
    p.si = s2 * b.zn * (z11 + z13);
    p.sl = -b.zn * s3 * (z1 + z3 - 14.0 - 6.0 * a.eqsq);
    p.sgh = s4 * b.zn * (z31 + z33 - 6.0);
    p.sh = xqncl < kNoNodeRateInclination ? 0.0 : -b.zn * s2 * (z21 + z23);
    p.e2 = 2.0 * s1 * s6;
    p.e3 = 2.0 * s1 * s7;
    p.i2 = 2.0 * s2 * z12;
    p.i3 = 2.0 * s2 * (z13 - z11);
    p.l2 = -2.0 * s3 * z2;
    p.l3 = -2.0 * s3 * (z3 - z1);
    p.l4 = -2.0 * s3 * (-21.0 - 9.0 * a.eqsq) * b.ze;
    p.gh2 = 2.0 * s4 * z32;
    p.gh3 = 2.0 * s4 * (z33 - z31);
    p.gh4 = -18.0 * s4 * b.ze;
    p.h2 = -2.0 * s2 * z22;
    p.h3 = -2.0 * s2 * (z23 - z21);
    return p;
}

void HalfDayResonance(const NearEarthTerms& ne, const DeepSpaceArgs& a, double thgr, DeepSpaceTerms& d) {
    const double eq = ne.eo;
    const double eqsq = a.eqsq;
    const double eoc = eq * eqsq;
    const double g201 = -0.306 - (eq - 0.64) * 0.440;
    double g211, g310, g322, g410, g422, g520, g533, g521, g532;
    if (eq <= 0.65) {
        g211 = 3.616 - 13.247 * eq + 16.290 * eqsq;
        g310 = -19.302 + 117.390 * eq - 228.419 * eqsq + 156.591 * eoc;
        g322 = -18.9068 + 109.7927 * eq - 214.6334 * eqsq + 146.5816 * eoc;
        g410 = -41.122 + 242.694 * eq - 471.094 * eqsq + 313.953 * eoc;
        g422 = -146.407 + 841.880 * eq - 1629.014 * eqsq + 1083.435 * eoc;
        g520 = -532.114 + 3017.977 * eq - 5740.0 * eqsq + 3708.276 * eoc;
    } else {
        g211 = -72.099 + 331.819 * eq - 508.738 * eqsq + 266.724 * eoc;
        g310 = -346.844 + 1582.851 * eq - 2415.925 * eqsq + 1246.113 * eoc;
        g322 = -342.585 + 1554.908 * eq - 2366.899 * eqsq + 1215.972 * eoc;
        g410 = -1052.797 + 4758.686 * eq - 7193.992 * eqsq + 3651.957 * eoc;
        g422 = -3581.69 + 16178.11 * eq - 24462.77 * eqsq + 12422.52 * eoc;
        g520 = eq > 0.715 ? -5149.66 + 29936.92 * eq - 54087.36 * eqsq + 31324.56 * eoc
                          : 1464.74 - 4664.75 * eq + 3763.64 * eqsq;
    }
    if (eq < 0.7) {
        g533 = -919.2277 + 4988.61 * eq - 9064.77 * eqsq + 5542.21 * eoc;
        g521 = -822.71072 + 4568.6173 * eq - 8491.4146 * eqsq + 5337.524 * eoc;
        g532 = -853.666 + 4690.25 * eq - 8624.77 * eqsq + 5341.4 * eoc;
    } else {
        g533 = -37995.78 + 161616.52 * eq - 229838.2 * eqsq + 109377.94 * eoc;
        g521 = -51752.104 + 218913.95 * eq - 309468.16 * eqsq + 146349.42 * eoc;
        g532 = -40023.88 + 170470.89 * eq - 242699.48 * eqsq + 115605.82 * eoc;
    }
    const double siniq = a.siniq;
    const double cosiq = a.cosiq;
    const double cosq2 = a.cosq2;
    const double sini2 = siniq * siniq;
    const double f220 = 0.75 * (1.0 + 2.0 * cosiq + cosq2);
    const double f221 = 1.5 * sini2;
    const double f321 = 1.875 * siniq * (1.0 - 2.0 * cosiq - 3.0 * cosq2);
    const double f322 = -1.875 * siniq * (1.0 + 2.0 * cosiq - 3.0 * cosq2);
    const double f441 = 35.0 * sini2 * f220;
    const double f442 = 39.3750 * sini2 * sini2;
    const double f522 = 9.84375 * siniq * (sini2 * (1.0 - 2.0 * cosiq - 5.0 * cosq2) +
                                          0.33333333 * (-2.0 + 4.0 * cosiq + 6.0 * cosq2));
    const double f523 = siniq * (4.92187512 * sini2 * (-2.0 - 4.0 * cosiq + 10.0 * cosq2) +
                                 6.56250012 * (1.0 + 2.0 * cosiq - 3.0 * cosq2));
    const double f542 = 29.53125 * siniq * (2.0 - 8.0 * cosiq + cosq2 * (-12.0 + 8.0 * cosiq + 10.0 * cosq2));
    const double f543 = 29.53125 * siniq * (-2.0 - 8.0 * cosiq + cosq2 * (12.0 + 8.0 * cosiq - 10.0 * cosq2));
    const double aqnv = 1.0 / a.ao;
    const double xno2 = d.xnq * d.xnq;
    const double ainv2 = aqnv * aqnv;
    double temp1 = 3.0 * xno2 * ainv2;
    double temp = temp1 * kRoot22;
    d.d2201 = temp * f220 * g201;
    d.d2211 = temp * f221 * g211;
    temp1 = temp1 * aqnv;
    temp = temp1 * kRoot32;
    d.d3210 = temp * f321 * g310;
    d.d3222 = temp * f322 * g322;
    temp1 = temp1 * aqnv;
    temp = 2.0 * temp1 * kRoot44;
    d.d4410 = temp * f441 * g410;
    d.d4422 = temp * f442 * g422;
    temp1 = temp1 * aqnv;
    temp = temp1 * kRoot52;
    d.d5220 = temp * f522 * g520;
    d.d5232 = temp * f523 * g532;
    temp = 2.0 * temp1 * kRoot54;
    d.d5421 = temp * f542 * g521;
    d.d5433 = temp * f543 * g533;
    d.xlamo = ne.xmo + ne.xnodeo + ne.xnodeo - thgr - thgr;
    double bfact = a.xlldot + a.xnodot + a.xnodot - kThdt - kThdt;
    bfact = bfact + d.ssl + d.ssh + d.ssh;
    d.xfact = bfact - d.xnq;
}

void SynchronousResonance(const NearEarthTerms& ne, const DeepSpaceArgs& a, double thgr, DeepSpaceTerms& d) {
    const double aqnv = 1.0 / a.ao;
    const double g200 = 1.0 + a.eqsq * (-2.5 + 0.8125 * a.eqsq);
    const double g310 = 1.0 + 2.0 * a.eqsq;
    const double g300 = 1.0 + a.eqsq * (-6.0 + 6.60937 * a.eqsq);
    const double f220 = 0.75 * (1.0 + a.cosiq) * (1.0 + a.cosiq);
    const double f311 = 0.9375 * a.siniq * a.siniq * (1.0 + 3.0 * a.cosiq) - 0.75 * (1.0 + a.cosiq);
    double f330 = 1.0 + a.cosiq;
    f330 = 1.875 * f330 * f330 * f330;
    double del1 = 3.0 * d.xnq * d.xnq * aqnv * aqnv;
    d.del2 = 2.0 * del1 * f220 * g200 * kQ22;
    d.del3 = 3.0 * del1 * f330 * g300 * kQ33 * aqnv;
    d.del1 = del1 * f311 * g310 * kQ31 * aqnv;
    d.xlamo = ne.xmo + ne.xnodeo + ne.omegao - thgr;
    const double xpidot = a.omgdt + a.xnodot;
    double bfact = a.xlldot + xpidot - kThdt;
    bfact = bfact + d.ssl + d.ssg + d.ssh;
    d.xfact = bfact - d.xnq;
}

// Rates of the integrated mean motion (xndot) and of that rate (xnddt) at
// the integrator's state; xldot the rate of the mean longitude.
struct ResonanceRates {
    double xndot, xnddt, xldot;
};

ResonanceRates RatesAt(const DeepSpaceTerms& d, const ResonanceState& s) {
    ResonanceRates r{};
    if (d.synchronous) {
        r.xndot = d.del1 * std::sin(s.xli - kFasx2) + d.del2 * std::sin(2.0 * (s.xli - kFasx4)) +
                  d.del3 * std::sin(3.0 * (s.xli - kFasx6));
        r.xnddt = d.del1 * std::cos(s.xli - kFasx2) + 2.0 * d.del2 * std::cos(2.0 * (s.xli - kFasx4)) +
                  3.0 * d.del3 * std::cos(3.0 * (s.xli - kFasx6));
    } else {
        const double xomi = d.omegaq + d.omgdt * s.atime;
        const double x2omi = xomi + xomi;
        const double x2li = s.xli + s.xli;
        r.xndot = d.d2201 * std::sin(x2omi + s.xli - kG22) + d.d2211 * std::sin(s.xli - kG22) +
                  d.d3210 * std::sin(xomi + s.xli - kG32) + d.d3222 * std::sin(-xomi + s.xli - kG32) +
                  d.d4410 * std::sin(x2omi + x2li - kG44) + d.d4422 * std::sin(x2li - kG44) +
                  d.d5220 * std::sin(xomi + s.xli - kG52) + d.d5232 * std::sin(-xomi + s.xli - kG52) +
                  d.d5421 * std::sin(xomi + x2li - kG54) + d.d5433 * std::sin(-xomi + x2li - kG54);
        r.xnddt = d.d2201 * std::cos(x2omi + s.xli - kG22) + d.d2211 * std::cos(s.xli - kG22) +
                  d.d3210 * std::cos(xomi + s.xli - kG32) + d.d3222 * std::cos(-xomi + s.xli - kG32) +
                  d.d5220 * std::cos(xomi + s.xli - kG52) + d.d5232 * std::cos(-xomi + s.xli - kG52) +
                  2.0 * (d.d4410 * std::cos(x2omi + x2li - kG44) + d.d4422 * std::cos(x2li - kG44) +
                         d.d5421 * std::cos(xomi + x2li - kG54) + d.d5433 * std::cos(-xomi + x2li - kG54));
    }
    r.xldot = s.xni + d.xfact;
    r.xnddt = r.xnddt * r.xldot;
    return r;
}

}  // namespace

void DeepSpaceInit(const NearEarthTerms& ne, const DeepSpaceArgs& a, double thgr, double daysSince1950,
                   DeepSpaceTerms& d) {
    d = DeepSpaceTerms{};
    d.thgr = thgr;
    d.xnq = a.xnodp;
    d.xqncl = ne.xincl;
    d.omegaq = ne.omegao;
    d.omgdt = a.omgdt;
    d.siniq = a.siniq;
    d.cosiq = a.cosiq;
    const double sinq = std::sin(ne.xnodeo);
    const double cosq = std::cos(ne.xnodeo);

    // Days since 1900 January 0.5.
    const double day = daysSince1950 + 18261.5;
    const LunarOrbit moon = LunarOrbitOn(day);
    d.zmol = moon.zmol;
    d.zmos = moon.zmos;

    const Body sun{kZcosgs, kZsings, kZcosis, kZsinis, cosq, sinq, kC1ss, kZns, kZes};
    const PassTerms s = LunarSolarPass(sun, a, ne.eo, ne.xincl);
    d.sse = s.se;
    d.ssi = s.si;
    d.ssl = s.sl;
    d.ssh = s.sh / a.siniq;
    d.ssg = s.sgh - a.cosiq * d.ssh;
    d.se2 = s.e2;
    d.si2 = s.i2;
    d.sl2 = s.l2;
    d.sgh2 = s.gh2;
    d.sh2 = s.h2;
    d.se3 = s.e3;
    d.si3 = s.i3;
    d.sl3 = s.l3;
    d.sgh3 = s.gh3;
    d.sh3 = s.h3;
    d.sl4 = s.l4;
    d.sgh4 = s.gh4;

    const Body lunar{moon.zcosgl, moon.zsingl, moon.zcosil, moon.zsinil,
                     moon.zcoshl * cosq + moon.zsinhl * sinq, sinq * moon.zcoshl - cosq * moon.zsinhl,
                     kC1l, kZnl, kZel};
    const PassTerms l = LunarSolarPass(lunar, a, ne.eo, ne.xincl);
    d.sse = d.sse + l.se;
    d.ssi = d.ssi + l.si;
    d.ssl = d.ssl + l.sl;
    d.ssg = d.ssg + l.sgh - a.cosiq / a.siniq * l.sh;
    d.ssh = d.ssh + l.sh / a.siniq;
    d.ee2 = l.e2;
    d.e3 = l.e3;
    d.xi2 = l.i2;
    d.xi3 = l.i3;
    d.xl2 = l.l2;
    d.xl3 = l.l3;
    d.xl4 = l.l4;
    d.xgh2 = l.gh2;
    d.xgh3 = l.gh3;
    d.xgh4 = l.gh4;
    d.xh2 = l.h2;
    d.xh3 = l.h3;

    if (d.xnq < kSynchronousHigh && d.xnq > kSynchronousLow) {
        d.resonant = true;
        d.synchronous = true;
        SynchronousResonance(ne, a, thgr, d);
    } else if (d.xnq >= kHalfDayLow && d.xnq <= kHalfDayHigh && ne.eo >= kHalfDayMinEccentricity) {
        d.resonant = true;
        HalfDayResonance(ne, a, thgr, d);
    }
}

bool DeepSpaceSecular(const DeepSpaceTerms& d, ResonanceState& s, double t, double& xll, double& omgasm,
                      double& xnodes, double& em, double& xinc, double& xn) {
    xll = xll + d.ssl * t;
    omgasm = omgasm + d.ssg * t;
    xnodes = xnodes + d.ssh * t;
    em = em + d.sse * t;
    // An inclination driven through zero goes on negative: the Lyddane form
    // below works with sin i sin node and sin i cos node, which pass through
    // zero smoothly.  Turning it positive (node + pi, perigee - pi) would
    // leave the periodic terms, worked out for the unturned orbit, with the
    // wrong sign, and the satellite would jump by tens of km.
    xinc = xinc + d.ssi * t;
    if (!d.resonant) return true;
    if (!(std::fabs(t) / kStep < kMaxResonanceSteps)) return false;

    // Restart from epoch unless t lies beyond the integrator's time on the
    // same side of epoch.
    const bool restart = s.atime == 0.0 || (t >= 0.0 && s.atime < 0.0) || (t < 0.0 && s.atime >= 0.0) ||
                         std::fabs(t) < std::fabs(s.atime);
    if (restart) {
        s.atime = 0.0;
        s.xni = d.xnq;
        s.xli = d.xlamo;
    }
    const double delt = t > 0.0 ? kStep : -kStep;
    for (double steps = 0; std::fabs(t - s.atime) >= kStep; ++steps) {
        if (steps > kMaxResonanceSteps) return false;
        const ResonanceRates r = RatesAt(d, s);
        s.xli = s.xli + r.xldot * delt + r.xndot * kStep2;
        s.xni = s.xni + r.xndot * delt + r.xnddt * kStep2;
        s.atime = s.atime + delt;
    }
    const double ft = t - s.atime;
    const ResonanceRates r = RatesAt(d, s);
    xn = s.xni + r.xndot * ft + r.xnddt * ft * ft * 0.5;
    const double xl = s.xli + r.xldot * ft + r.xndot * ft * ft * 0.5;
    const double temp = -xnodes + d.thgr + t * kThdt;
    xll = d.synchronous ? xl - omgasm + temp : xl + temp + temp;
    return true;
}

void DeepSpacePeriodic(const DeepSpaceTerms& d, double t, double& em, double& xinc, double& omgasm,
                       double& xnodes, double& xll) {
    const double sinis = std::sin(xinc);
    const double cosis = std::cos(xinc);

    // Solar terms.
    double zm = d.zmos + kZns * t;
    double zf = zm + 2.0 * kZes * std::sin(zm);
    double sinzf = std::sin(zf);
    double f2 = 0.5 * sinzf * sinzf - 0.25;
    double f3 = -0.5 * sinzf * std::cos(zf);
    const double ses = d.se2 * f2 + d.se3 * f3;
    const double sis = d.si2 * f2 + d.si3 * f3;
    const double sls = d.sl2 * f2 + d.sl3 * f3 + d.sl4 * sinzf;
    const double sghs = d.sgh2 * f2 + d.sgh3 * f3 + d.sgh4 * sinzf;
    const double shs = d.sh2 * f2 + d.sh3 * f3;
    // Lunar terms.
    zm = d.zmol + kZnl * t;
    zf = zm + 2.0 * kZel * std::sin(zm);
    sinzf = std::sin(zf);
    f2 = 0.5 * sinzf * sinzf - 0.25;
    f3 = -0.5 * sinzf * std::cos(zf);
    const double sel = d.ee2 * f2 + d.e3 * f3;
    const double sil = d.xi2 * f2 + d.xi3 * f3;
    const double sll = d.xl2 * f2 + d.xl3 * f3 + d.xl4 * sinzf;
    const double sghl = d.xgh2 * f2 + d.xgh3 * f3 + d.xgh4 * sinzf;
    const double shl = d.xh2 * f2 + d.xh3 * f3;
    const double pe = ses + sel;
    const double pinc = sis + sil;
    const double pl = sls + sll;
    double pgh = sghs + sghl;
    double ph = shs + shl;

    xinc = xinc + pinc;
    em = em + pe;
    if (d.xqncl >= kLyddaneInclination) {
        ph = ph / d.siniq;
        pgh = pgh - d.cosiq * ph;
        omgasm = omgasm + pgh;
        xnodes = xnodes + ph;
        xll = xll + pl;
        return;
    }
    // Lyddane's form: through sin i sin node and sin i cos node, which stay
    // smooth where the node itself is ill-defined.
    const double sinok = std::sin(xnodes);
    const double cosok = std::cos(xnodes);
    double alfdp = sinis * sinok;
    double betdp = sinis * cosok;
    const double dalf = ph * cosok + pinc * cosis * sinok;
    const double dbet = -ph * sinok + pinc * cosis * cosok;
    alfdp = alfdp + dalf;
    betdp = betdp + dbet;
    double xls = xll + omgasm + cosis * xnodes;
    const double dls = pl + pgh - pinc * xnodes * sinis;
    xls = xls + dls;
    const double xnoh = xnodes;
    xnodes = TSgp4Sdp4::ArcTan2(alfdp, betdp);
    // Keep the new node next to the old one, so that the perigee taken from
    // the mean longitude below does not jump by a multiple of cos i x 2 pi.
    const double turns = std::round((xnoh - xnodes) / kTwoPi);
    if (std::isfinite(turns)) xnodes = xnodes + turns * kTwoPi;
    xll = xll + pl;
    omgasm = xls - xll - std::cos(xinc) * xnodes;
}

OrbitStatus StepSdp4(const NearEarthTerms& n, const DeepSpaceTerms& d, ResonanceState& state, double t,
                     EciVector& position, EciVector& velocity) {
    // Secular gravity, then the deep-space secular terms, then drag.
    double xmdf = n.xmo + n.xmdot * t;
    double omgadf = n.omegao + n.omgdot * t;
    const double xnoddf = n.xnodeo + n.xnodot * t;
    const double tsq = t * t;
    double xnode = xnoddf + n.xnodcf * tsq;
    const double tempa = 1.0 - n.c1 * t;
    const double tempe = n.bstar * n.c4 * t;
    const double templ = n.t2cof * tsq;
    double xn = n.xnodp;
    double em = n.eo;
    double xinc = n.xincl;
    if (!DeepSpaceSecular(d, state, t, xmdf, omgadf, xnode, em, xinc, xn)) return OrbitStatus::BadElements;
    if (!(xn > 0.0) || !(tempa > 0.0)) {
        return std::isnan(xn) || std::isnan(tempa) ? OrbitStatus::BadElements : OrbitStatus::Decayed;
    }
    const double a = std::pow(kKe / xn, kTwoThirds) * tempa * tempa;
    double e = em - tempe;
    double xmam = xmdf + n.xnodp * templ;
    DeepSpacePeriodic(d, t, e, xinc, omgadf, xnode, xmam);
    const double xl = xmam + omgadf + xnode;
    return FinishState(n, a, e, xl, omgadf, xnode, xinc, position, velocity);
}

}  // namespace orbit_detail
