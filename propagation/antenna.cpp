#include "propagation/antenna.h"

#include <cmath>
#include <numbers>

#include "propagation/coordinates.h"

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;

// Off-axis angle by magnitude, beyond 180 degrees read as 180.
double FoldAngle(double phi)
{
    phi = std::fabs(phi);
    return phi > 180.0 ? 180.0 : phi;
}

// sqrt of a gain difference that a low maximum gain can make negative.
double RootOfExcess(double x)
{
    return x > 0.0 ? std::sqrt(x) : 0.0;
}

}  // namespace

double ReferencePatternA(double maxGain, double offAxisAngle, double frequency, double diameter)
{
    if (!(frequency > 0.0) || !(diameter > 0.0)) return maxGain;
    const double phi = FoldAngle(offAxisAngle);
    if (!(phi > 0.0)) return maxGain;

    const double lambda = Wavelength(frequency);
    const double r = diameter / lambda;
    const double g1 = 2.0 + 15.0 * std::log10(r);
    const double phiM = 20.0 * (lambda / diameter) * RootOfExcess(maxGain - g1);
    const double phiR = 15.85 * std::pow(r, -0.6);
    const double phiH = 100.0 * lambda / diameter;

    double gain;
    if (phi < phiM) {
        gain = maxGain - 0.0025 * (r * phi) * (r * phi);
    } else if (r < 100.0) {
        if (phi < phiH) gain = g1;
        else if (phi < 48.0) gain = 52.0 - 10.0 * std::log10(r) - 25.0 * std::log10(phi);
        else gain = 10.0 - 10.0 * std::log10(r);
    } else {
        if (phi < phiR) gain = g1;
        else if (phi < 48.0) gain = 32.0 - 25.0 * std::log10(phi);
        else gain = -10.0;
    }

    const double phiS = phiH >= 1.0 ? phiH : 1.0;
    if (phi > phiS && phi <= 20.0) gain = 29.0 - 25.0 * std::log10(phi);
    else if (phi > 20.0 && phi <= 26.3) gain = -3.5;
    return gain;
}

double ReferencePatternB(double maxGain, double offAxisAngle, double frequency, double diameter,
                         unsigned char copolar)
{
    if (!(frequency > 0.0) || !(diameter > 0.0)) return maxGain;
    const double phi = FoldAngle(offAxisAngle);
    const double lambda = Wavelength(frequency);
    const double ratio = lambda / diameter;

    const double phiR = 95.0 * ratio;
    double g1 = 29.0 - 25.0 * std::log10(phiR);
    if (g1 > maxGain) g1 = maxGain;
    const double phiM = ratio * std::sqrt(400.0 * (maxGain - g1));
    const double phi0 = 2.0 * ratio * std::sqrt(1200.0);
    const double phi1 = (phi0 / 2.0) * std::sqrt(10.1875);
    const double phiA = std::pow(10.0, 1.36);
    const double phiB = std::pow(10.0, 1.04);

    if (copolar != 0) {
        if (phi < phiM) return maxGain - 0.0025 * (phi / ratio) * (phi / ratio);
        if (phi < phiR) return g1;
        if (phi < phiA) return 29.0 - 25.0 * std::log10(phi);
        if (phi < 70.0) return -5.0;
        return 0.0;
    }
    if (phi < 0.25 * phi0) return maxGain - 25.0;
    if (phi < 0.44 * phi0) return maxGain - 25.0 + 8.0 * (phi - 0.25 * phi0) / (0.19 * phi0);
    if (phi < phi0) return maxGain - 17.0;
    if (phi < phi1) {
        const double k = 21.0 - 25.0 * std::log10(phi1) - (maxGain - 17.0);
        return maxGain - 17.0 + k * std::fabs((phi - phi0) / (phi1 - phi0));
    }
    if (phi < phiB) return 21.0 - 25.0 * std::log10(phi);
    if (phi < 70.0) return -5.0;
    return 0.0;
}

double OffAxisGain(double maxGain, double offAxisAngle, double frequency, double diameter,
                   unsigned char copolar, unsigned char selector)
{
    if (selector == 0) return ReferencePatternA(maxGain, offAxisAngle, frequency, diameter);
    return ReferencePatternB(maxGain, offAxisAngle, frequency, diameter, copolar);
}

double CircularAperturePattern(double angle, double diameter, double wavelength, int seriesLength)
{
    double u = std::numbers::pi * diameter * std::sin(angle * kDegToRad) / wavelength;
    if (u == 0.0) u = 1e-12;
    const int terms = seriesLength == 1 ? 16 : 5;
    const double u2 = u * u;
    double power = 1.0;        // u^(2k)
    double divisor = 1.0;      // 4^k k! (k+1)!
    double sum = 1.0;
    for (int k = 1; k <= terms; ++k) {
        power *= u2;
        divisor *= 4.0 * k * (k + 1);
        sum += (k % 2 == 1 ? -1.0 : 1.0) * (power / divisor);
    }
    if (!std::isfinite(sum)) return 0.0;
    return std::fabs(sum);
}

double LineSourcePattern(double angle, double diameter, double wavelength)
{
    const double u = std::numbers::pi * diameter * std::sin(angle * kDegToRad) / wavelength;
    if (u == 0.0) return 1.0;
    if (!std::isfinite(u)) return 0.0;
    return std::fabs(std::sin(u) / u);
}

double BeamAngleAtLevel(double level, double wavelength, double diameter, int pattern)
{
    const double target = DbToAmplitudeRatio(level);
    double reach = 1.22 * wavelength / diameter;
    if (!(reach <= 1.0)) reach = 1.0;
    if (!(reach >= 0.0)) reach = 0.0;
    double lo = 0.0;
    double hi = std::asin(reach) / kDegToRad;
    double step = 1.0;
    double mid = 0.0;
    while (step > 1e-4) {
        mid = (lo + hi) / 2.0;
        step /= 2.0;
        const double v = pattern == 1 ? LineSourcePattern(mid, diameter, wavelength)
                                      : CircularAperturePattern(mid, diameter, wavelength, 0);
        if (v >= target) lo = mid;
        else hi = mid;
    }
    return 2.0 * mid;
}

double DbToAmplitudeRatio(double level)
{
    return std::pow(10.0, 0.05 * level);
}
