#include "propagation/scintillation.h"

#include <cmath>
#include <numbers>

#include "propagation/atmosphere.h"

double detail::ScintillationFadeForWetRefractivity(double wetRefractivity, double diameter,
                                                   double efficiency, double elevation,
                                                   double frequency, double availability)
{
    if (availability >= 99.99999) availability = 99.99999;
    const double p = static_cast<float>(100.0 - availability);
    if (!(p > 0.0) || !(frequency > 0.0)) return 0.0;
    double theta = elevation * std::numbers::pi / 180.0;
    if (!(theta > 0.0)) theta = 1e-6;
    const double sinTheta = std::sin(theta);

    const double sigmaRef = 3.6e-3 + 1e-4 * wetRefractivity;
    const double pathLength = 2000.0 / (std::sqrt(sinTheta * sinTheta + 2.35e-4) + sinTheta);
    const double effectiveDiameter = std::sqrt(0.01 * std::fmax(efficiency, 0.0)) * diameter;

    const double x = 1.22 * effectiveDiameter * effectiveDiameter * frequency / pathLength;
    const double g2 = 3.86 * std::pow(x * x + 1.0, 11.0 / 12.0) *
                          std::sin(11.0 / 6.0 * std::atan(1.0 / x)) -
                      7.08 * std::pow(x, 5.0 / 6.0);
    if (!(g2 > 0.0)) return 0.0;

    const double sigma = sigmaRef * std::pow(frequency, 7.0 / 12.0) * std::sqrt(g2) /
                         std::pow(sinTheta, 1.2);
    const double lp = std::log10(p);
    const double a = -0.061 * lp * lp * lp + 0.072 * lp * lp - 1.71 * lp + 3.0;
    const double fade = a * sigma;
    return fade > 0.0 ? fade : 0.0;
}

double ScintillationFade(double latitude, double longitude, double diameter, double efficiency,
                         double elevation, double frequency, double availability,
                         double siteHeight)
{
    if (siteHeight > 6.0) return 0.0;
    const double wet = WetRefractivityAt(static_cast<float>(latitude), static_cast<float>(longitude));
    return detail::ScintillationFadeForWetRefractivity(wet, diameter, efficiency, elevation, frequency,
                                               availability);
}
