#include "propagation/noise.h"

#include <cmath>

double SkyNoiseTemp(double attenuation, double surfaceTemperature)
{
    const double t = std::pow(10.0, -attenuation / 10.0);
    return (1.0 - t) * (0.81 * surfaceTemperature + 37.34) + 2.7 * t;
}

double AntennaNoiseTemp(double efficiency, double surfaceTemperature, double attenuation)
{
    return SkyNoiseTemp(attenuation, surfaceTemperature) + (1.0 - 0.01 * efficiency) * 90.0;
}

double SystemNoiseTemp(double receiverTemperature, double feedLoss, double antennaTemperature,
                       double attenuation, double surfaceTemperature)
{
    const double l = std::pow(10.0, -feedLoss / 10.0);
    return (1.0 - l) * 290.0 + receiverTemperature +
           l * (antennaTemperature + SkyNoiseTemp(attenuation, surfaceTemperature));
}
