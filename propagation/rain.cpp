#include "propagation/rain.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <numbers>

#include "propagation/atmosphere.h"
#include "propagation/coordinates.h"
#include "propagation/itu_maps.h"

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kMaxAvailability = 99.99999;   // p never below 1e-5 %

// ITU-R P.838-3 regression coefficients: a_j, b_j, c_j of each Gaussian term.
struct Gauss { double a, b, c; };
constexpr Gauss kKH[4] = {{-5.33980, -0.10008, 1.13098}, {-0.35351, 1.26970, 0.45400},
                          {-0.23789, 0.86036, 0.15354}, {-0.94158, 0.64552, 0.16817}};
constexpr Gauss kKV[4] = {{-3.80595, 0.56934, 0.81061}, {-3.44965, -0.22911, 0.51059},
                          {-0.39902, 0.73042, 0.11899}, {0.50167, 1.07319, 0.27195}};
constexpr Gauss kAlphaH[5] = {{-0.14318, 1.82442, -0.55187}, {0.29591, 0.77564, 0.19822},
                              {0.32177, 0.63773, 0.13164}, {-5.37610, -0.96230, 1.47828},
                              {16.1721, -3.29980, 3.43990}};
constexpr Gauss kAlphaV[5] = {{-0.07771, 2.33840, -0.76284}, {0.56727, 0.95545, 0.54039},
                              {-0.20238, 1.14520, 0.26809}, {-48.2991, 0.791669, 0.116226},
                              {48.5833, 0.791459, 0.116479}};

template <int N>
double GaussianSum(const Gauss (&terms)[N], double x)
{
    double sum = 0.0;
    for (const Gauss& g : terms) sum += GaussianTerm(x, g.a, g.b, g.c);
    return sum;
}

// p = 100 - availability held as a 32-bit float.
double ExceedancePercent(double availability)
{
    return static_cast<float>(100.0 - availability);
}

// 1 - 0.484 (1 + cos 4 tau): never below 0.032.
double TiltFactor(double tau)
{
    return 1.0 - 0.484 * (1.0 + std::cos(4.0 * tau));
}

void CopyText(char* out, std::size_t size, const char* text)
{
    std::strncpy(out, text, size - 1);
    out[size - 1] = '\0';
}

}  // namespace

double GaussianTerm(double x, double a, double b, double c)
{
    const double t = (x - b) / c;
    return a * std::exp(-(t * t));
}

double RainCoefficientsP838(double elevationRad, double frequency, double tau, double rainRate)
{
    if (!(frequency > 0.0) || !(rainRate > 0.0)) return 0.0;
    const double x = std::log10(frequency);
    const double kH = std::pow(10.0, GaussianSum(kKH, x) + (-0.18961 * x + 0.71147));
    const double kV = std::pow(10.0, GaussianSum(kKV, x) + (-0.16398 * x + 0.63297));
    const double alphaH = GaussianSum(kAlphaH, x) + (0.67849 * x + -1.95537);
    const double alphaV = GaussianSum(kAlphaV, x) + (-0.053739 * x + 0.83433);

    const double cosEl = std::cos(elevationRad);
    const double weight = cosEl * cosEl * std::cos(2.0 * tau);
    const double k = (kH + kV + (kH - kV) * weight) / 2.0;
    const double alpha = (kH * alphaH + kV * alphaV + (kH * alphaH - kV * alphaV) * weight) / (2.0 * k);
    return k * std::pow(rainRate, alpha);
}

double RainAttenuationP618(double latitude, double longitude, double tau, double siteHeight,
                           double elevation, double frequency, double rainRate001,
                           double availability)
{
    double p = ExceedancePercent(availability);
    if (!(rainRate001 > 0.0) || p > 5.0) return 0.0;
    if (!(frequency > 0.0)) return 0.0;
    if (!(p > 0.0)) p = ExceedancePercent(kMaxAvailability);   // availability of 100 % or more

    if (latitude == 0.0) latitude = 1e-6;
    if (!(elevation > 0.0)) elevation = 1e-6;   // 0 exactly in the model; below it too
    if (elevation > 90.0) elevation = 90.0;
    const double thetaDeg = elevation;
    const double theta = thetaDeg * kDegToRad;
    const double sinTheta = std::sin(theta);
    const double cosTheta = std::cos(theta);

    // Rain height and the slant path below it.
    const double rainHeight =
        IsothermHeightAt(static_cast<float>(latitude), static_cast<float>(longitude)) + 0.36;
    const double dh = rainHeight - siteHeight;
    if (!(dh > 0.0)) return 1e-12;

    double slant;
    if (thetaDeg < 5.0)
        slant = 2.0 * dh / (std::sqrt(sinTheta * sinTheta + 2.0 * dh / 8500.0) + sinTheta);
    else
        slant = dh / sinTheta;
    const double horizontal = slant * cosTheta;

    const double gammaR = RainCoefficientsP838(theta, frequency, tau, rainRate001);

    // Horizontal reduction, then the adjusted path length.  zeta is compared
    // with the elevation in radians.
    const double r001 = 1.0 / (1.0 + 0.78 * std::sqrt(horizontal * gammaR / frequency) -
                               0.38 * (1.0 - std::exp(-2.0 * horizontal)));
    const double zeta = std::atan(dh / (horizontal * r001));
    const double pathLength = zeta > theta ? horizontal * r001 / cosTheta : dh / sinTheta;

    const double absLat = std::fabs(latitude);
    const double chi = absLat < 36.0 ? 36.0 - absLat : 0.0;
    const double v001 =
        1.0 / (1.0 + std::sqrt(sinTheta) *
                         (31.0 * (1.0 - std::exp(-thetaDeg / (1.0 + chi))) *
                              std::sqrt(pathLength * gammaR) / (frequency * frequency) -
                          0.45));
    const double a001 = gammaR * pathLength * v001;
    if (!(a001 > 0.0)) return 0.0;

    double beta = 0.0;
    if (p < 1.0 && absLat < 36.0) {
        beta = -0.005 * (absLat - 36.0);
        if (thetaDeg < 25.0) beta += 1.8 - 4.25 * sinTheta;
    }
    const double exponent = 0.655 + 0.033 * std::log(p) - 0.045 * std::log(a001) -
                            beta * (1.0 - p) * sinTheta;
    return a001 * std::pow(100.0 * p, -exponent);
}

RainAttenuationResult RainAttenuation(double latitude, double longitude, double tau,
                                      double siteHeight, double elevation, double frequency,
                                      const char* /*polarization*/, int rainRateSource,
                                      double rainRate001, double availability)
{
    RainAttenuationResult result;
    if (rainRateSource < 0 || rainRateSource > 3) return result;
    if (availability > kMaxAvailability) availability = kMaxAvailability;

    double rate = rainRate001;
    if (rainRateSource == kRainRateFromMap)
        rate = RainRate001At(static_cast<float>(latitude), static_cast<float>(longitude));

    // "%.3f" in the C locale; a value too wide for the field falls back to
    // three significant digits.
    char* const begin = result.rainRateText;
    char* const end = begin + sizeof(result.rainRateText) - 1;
    auto written = std::to_chars(begin, end, rate, std::chars_format::fixed, 3);
    if (written.ec != std::errc{})
        written = std::to_chars(begin, end, rate, std::chars_format::general, 3);
    if (written.ec == std::errc{}) *written.ptr = '\0';
    else result.rainRateText[0] = '\0';

    CopyText(result.modelName, sizeof(result.modelName), "ITU-R");
    result.attenuation = RainAttenuationP618(latitude, longitude, tau, siteHeight, elevation,
                                             frequency, rate, availability);
    return result;
}

double RainXpd(double frequency, double /*latitude*/, double tau, double elevation,
               double availability, double rainAttenuation, const char* /*polarization*/)
{
    if (frequency > 55.0 || !(rainAttenuation > 0.0) || !(frequency > 0.0)) return 0.0;
    if (availability >= kMaxAvailability) availability = kMaxAvailability;
    double p = ExceedancePercent(availability);
    if (!(p > 0.0)) p = ExceedancePercent(kMaxAvailability);

    const double f = frequency < 6.0 ? 6.0 : frequency;
    double cf, v;
    if (f < 9.0) {
        cf = 60.0 * std::log10(f) - 28.3;
        v = 30.8 * std::pow(f, -0.21);
    } else if (f < 20.0) {
        cf = 26.0 * std::log10(f) + 4.1;
        v = 12.8 * std::pow(f, 0.19);
    } else if (f < 36.0) {
        cf = 26.0 * std::log10(f) + 4.1;
        v = 22.6;
    } else if (f < 40.0) {
        cf = 35.9 * std::log10(f) - 11.3;
        v = 22.6;
    } else {
        cf = 35.9 * std::log10(f) - 11.3;
        v = 13.0 * std::pow(f, 0.15);
    }
    const double ca = v * std::log10(rainAttenuation);
    const double cTau = -10.0 * std::log10(TiltFactor(tau));

    // Elevations of 90 degrees and more are held just below the zenith.
    double cosEl = std::cos(elevation * kDegToRad);
    if (!(cosEl > 1e-12)) cosEl = 1e-12;
    const double cTheta = -40.0 * std::log10(cosEl);

    const double p3 = RoundToDecimals(p, 3);
    double sigma = 0.0;
    if (p3 <= 0.001) sigma = 15.0;
    else if (p3 <= 0.01) sigma = 10.0;
    else if (p3 <= 0.1) sigma = 5.0;
    const double cSigma = 0.0053 * sigma * sigma;

    const double xpdRain = cf - ca + cTau + cTheta + cSigma;
    const double cIce = xpdRain * (0.3 + 0.1 * std::log10(p)) / 2.0;
    double xpd = xpdRain - cIce;
    if (frequency < 6.0) {
        const double s = std::sqrt(TiltFactor(tau));
        xpd -= 20.0 * std::log10(frequency * s / (6.0 * s));
    }
    return xpd;
}

double SiteDiversityGain(double separation, double attenuation, double frequency,
                         double elevation, double baselineAngle)
{
    const double a = 0.78 * attenuation - 1.94 * (1.0 - std::exp(-0.11 * attenuation));
    const double b = 0.59 * (1.0 - std::exp(-0.1 * attenuation));
    return a * (1.0 - std::exp(-b * separation)) * std::exp(-0.025 * frequency) *
           (1.0 + 0.006 * elevation) * (1.0 + 0.002 * baselineAngle);
}
