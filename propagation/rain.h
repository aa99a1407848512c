// Rain attenuation (ITU-R P.618-13 section 2.2.1.1 with the specific
// attenuation of ITU-R P.838-3), rain cross-polarization discrimination
// (P.618-13 section 4.1) and site-diversity gain (P.618-13 section 2.2.4.2).
//
// Angles in degrees except the polarization tilt tau, which is in radians
// (the angle of the polarization plane to the horizontal; pi/4 for circular).
// Frequencies in GHz, heights and distances in km, availability in %; the
// exceedance percentage p = 100 - availability is a 32-bit float.
// Valid ranges of the Recommendations: 1-55 GHz, p 0.001-5 %; outside them the
// routines still return finite numbers (0 above 5 %, 1e-12 above the rain
// height), never an error.
#pragma once

// The rain term printed by the budgets and the atmospheric-losses window.
struct RainAttenuationResult {
    double attenuation = 0.0;      // dB exceeded for p
    char rainRateText[10] = {};    // R0.01 used, "%.3f" in mm/h, zero-terminated
    char modelName[25] = {};       // "ITU-R"
};

// Where R0.01 comes from: 0 the rain-rate map "R001.TXT"; 1, 2 and 3 the
// caller's value.  Any other value gives an empty record (0 dB, empty texts).
inline constexpr int kRainRateFromMap = 0;
inline constexpr int kRainRateManual = 1;

// Availability above 99.99999 % is taken as 99.99999 %.  `polarization` is the
// caller's polarization text; it is not read.
RainAttenuationResult RainAttenuation(double latitude, double longitude, double tau,
                                      double siteHeight, double elevation, double frequency,
                                      const char* polarization, int rainRateSource,
                                      double rainRate001, double availability);

// Attenuation exceeded for p (dB) with a given R0.01 (mm/h).  0 when R0.01 is
// 0 or less or p is above 5 %; 1e-12 when the site is at or above the rain
// height h0 + 0.36 km.
double RainAttenuationP618(double latitude, double longitude, double tau, double siteHeight,
                           double elevation, double frequency, double rainRate001,
                           double availability);

// Specific attenuation gamma_R = k R^alpha (dB/km) for a path elevation in
// radians, with the P.838-3 coefficients.
double RainCoefficientsP838(double elevationRad, double frequency, double tau, double rainRate);

// a exp(-((x - b) / c)^2)
double GaussianTerm(double x, double a, double b, double c);

// XPD not exceeded for p (dB), from the rain attenuation Ap exceeded for the
// same p.  0 above 55 GHz or when Ap is 0 or less.  Below 6 GHz the 6 GHz
// value is scaled by -20 log10(f / 6).  `latitude` and `polarization` have no
// effect.
double RainXpd(double frequency, double latitude, double tau, double elevation,
               double availability, double rainAttenuation, const char* polarization);

// Gain of a two-site diversity pair (dB): separation d (km), single-site
// attenuation A (dB), frequency (GHz), elevation and baseline angle psi (deg).
double SiteDiversityGain(double separation, double attenuation, double frequency,
                         double elevation, double baselineAngle);
