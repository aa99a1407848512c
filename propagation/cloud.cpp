#include "propagation/cloud.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "propagation/atmosphere.h"

double detail::CloudSpecificCoefficient(double frequency)
{
    const double f = frequency;
    if (!(f > 0.0)) return 0.0;
    // Permittivity of liquid water at theta - 1 = 0.0958904 (T = 273.75 K).
    // theta - 1 is held as a float (0.09589040279...); the relaxation
    // frequency and the permittivity differences all come from that one value.
    constexpr double kThetaMinus1 = static_cast<float>(0.0958904);
    const double fp = 20.2 - 146.0 * kThetaMinus1 + 316.0 * kThetaMinus1 * kThetaMinus1;
    const double fs = 39.8 * fp;
    constexpr double kEps0MinusEps1 = 81.68983499397063;
    constexpr double kEps1MinusEps2 = 2.355643614637614;
    constexpr double kEps2 = 3.52;

    const double rp = 1.0 + (f / fp) * (f / fp);
    const double rs = 1.0 + (f / fs) * (f / fs);
    const double epsImag = f * kEps0MinusEps1 / (fp * rp) + f * kEps1MinusEps2 / (fs * rs);
    const double epsReal = kEps0MinusEps1 / rp + kEps1MinusEps2 / rs + kEps2;
    const double eta = (2.0 + epsReal) / epsImag;

    const double kl = 0.819 * f / (epsImag * (1.0 + eta * eta));
    const double correction = 0.1522 * std::exp(-(f + 23.9589) * (f + 23.9589) / 3299.1) +
                              11.51 * std::exp(-(f - 219.2096) * (f - 219.2096) / 2759500.0) -
                              10.4912;
    return kl * correction;
}

double CloudAttenuation(double latitude, double longitude, double elevation, double frequency,
                        double availability, double siteHeight)
{
    availability = std::clamp(availability, 50.0, 95.0);
    double elevationRad = elevation * std::numbers::pi / 180.0;
    if (!(elevationRad > 0.0)) elevationRad = 1e-6;

    const float lat = static_cast<float>(latitude);
    const float lon = static_cast<float>(longitude);
    if (!(siteHeight < IsothermHeightAt(lat, lon) + 0.36)) return 0.0;

    const double liquid = CloudLiquidAt(lat, lon, static_cast<float>(availability));
    return detail::CloudSpecificCoefficient(frequency) * liquid / std::sin(elevationRad);
}
