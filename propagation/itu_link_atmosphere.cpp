// The propagation library behind the budgets' atmosphere seam.
#include "propagation/link_atmosphere.h"

#include "propagation/antenna.h"
#include "propagation/atmosphere.h"
#include "propagation/ber.h"
#include "propagation/cloud.h"
#include "propagation/gas.h"
#include "propagation/itu_maps.h"
#include "propagation/noise.h"
#include "propagation/rain.h"
#include "propagation/scintillation.h"
#include "propagation/total_attenuation.h"
#include "propagation/transponder.h"

#include <algorithm>
#include <cstring>

namespace {

TransponderType AmplifierOf(int type)
{
    // Only the three amplifier kinds have curves.
    return static_cast<TransponderType>(std::clamp(type, 0, 2));
}

class ItuAtmosphere final : public LinkAtmosphere {
public:
    double TopoHeight(float latitude, float longitude) override
    {
        return TopoHeightAt(latitude, longitude);
    }
    double MeanTemperature(float latitude, float longitude, float heightKm) override
    {
        return MeanTemperatureAt(latitude, longitude, heightKm);
    }
    double Gaseous(double latitude, double longitude, double frequency, double elevation,
                   double height, double availability) override
    {
        return GaseousAttenuation(latitude, longitude, frequency, elevation, height, availability);
    }
    double Scintillation(double latitude, double longitude, double diameter, double efficiency,
                         double elevation, double frequency, double availability,
                         double height) override
    {
        return ScintillationFade(latitude, longitude, diameter, efficiency, elevation, frequency,
                                 availability, height);
    }
    double Cloud(double latitude, double longitude, double elevation, double frequency,
                 double availability, double height) override
    {
        return CloudAttenuation(latitude, longitude, elevation, frequency, availability, height);
    }
    LinkRainResult Rain(double latitude, double longitude, double tilt, double height,
                        double elevation, double frequency, const char* polarization, int source,
                        double rate, double availability) override
    {
        const RainAttenuationResult r =
            RainAttenuation(latitude, longitude, tilt, height, elevation, frequency, polarization,
                            source, rate, availability);
        LinkRainResult out;
        out.attenuation = r.attenuation;
        static_assert(sizeof out.rainRateText == sizeof r.rainRateText);
        static_assert(sizeof out.modelName == sizeof r.modelName);
        std::memcpy(out.rainRateText, r.rainRateText, sizeof out.rainRateText);
        std::memcpy(out.modelName, r.modelName, sizeof out.modelName);
        out.rainRateText[sizeof out.rainRateText - 1] = '\0';
        out.modelName[sizeof out.modelName - 1] = '\0';
        return out;
    }
    double RainXpd(double frequency, double latitude, double tilt, double elevation,
                   double availability, double attenuation, const char* polarization) override
    {
        return ::RainXpd(frequency, latitude, tilt, elevation, availability, attenuation,
                         polarization);
    }
    double Total(double gas, double rain, double cloud, double scintillation,
                 double availability) override
    {
        return TotalAttenuation(gas, rain, cloud, scintillation, availability);
    }
    double AntennaNoise(double efficiency, double surfaceTemp, double attenuation) override
    {
        return AntennaNoiseTemp(efficiency, surfaceTemp, attenuation);
    }
    double SystemNoise(double receiverTemp, double feedLoss, double antennaTemp,
                       double attenuation, double surfaceTemp) override
    {
        return SystemNoiseTemp(receiverTemp, feedLoss, antennaTemp, attenuation, surfaceTemp);
    }
    double OffAxisGain(double maxGain, double angle, double frequency, double diameter,
                       unsigned char mode, unsigned char selector) override
    {
        return ::OffAxisGain(maxGain, angle, frequency, diameter, mode, selector);
    }
    double OutputBackoff(double inputBackoff, double carriers, int type) override
    {
        return TransponderOutputBackoff(inputBackoff, carriers, AmplifierOf(type));
    }
    double InputBackoffFor(double outputBackoff, double carriers, int type) override
    {
        return InputBackoffForOutputBackoff(outputBackoff, carriers, AmplifierOf(type));
    }
    double CarrierToIm(double inputBackoff, int type, double frequency) override
    {
        return TransponderCarrierToIm(inputBackoff, AmplifierOf(type), frequency);
    }
    double CombineCN2(double a, double b) override { return ::CombineCN2(a, b); }
    double CombineCN4(double a, double b, double c, double d) override
    {
        return ::CombineCN4(a, b, c, d);
    }
    double Log2(double x) override { return ::Log2(x); }
};

}  // namespace

LinkAtmosphere& ItuLinkAtmosphere()
{
    static ItuAtmosphere atmosphere;
    return atmosphere;
}
