// The one door through which the link budgets (and the windows that show
// atmospheric losses the way the budgets compute them) reach the propagation
// models: the data maps, the ITU-R loss models, noise temperatures, antenna
// patterns, the transponder curves and the power sums.  A calculation that
// goes through it never calls those functions directly, so a test can put a
// zero or fixed atmosphere in their place and check a whole budget by hand.
#pragma once

// What the rain model returns for one link: the attenuation and the two texts
// that the report prints beside it.
struct LinkRainResult {
    double attenuation = 0.0;
    char rainRateText[10] = {};
    char modelName[25] = {};
};

class LinkAtmosphere {
public:
    virtual ~LinkAtmosphere() = default;

    // Data maps: heights in km, temperatures in K.
    virtual double TopoHeight(float latitude, float longitude) = 0;
    virtual double MeanTemperature(float latitude, float longitude, float heightKm) = 0;

    // Slant-path losses (dB); availability in percent.
    virtual double Gaseous(double latitude, double longitude, double frequencyGHz,
                           double elevation, double heightKm, double availability) = 0;
    virtual double Scintillation(double latitude, double longitude, double diameterM,
                                 double efficiencyPct, double elevation, double frequencyGHz,
                                 double availability, double heightKm) = 0;
    virtual double Cloud(double latitude, double longitude, double elevation,
                         double frequencyGHz, double availability, double heightKm) = 0;
    virtual LinkRainResult Rain(double latitude, double longitude, double tiltRad,
                                double heightKm, double elevation, double frequencyGHz,
                                const char* polarization, int rainRateSource,
                                double rainRate, double availability) = 0;
    virtual double RainXpd(double frequencyGHz, double latitude, double tiltRad,
                           double elevation, double availability, double rainAttenuation,
                           const char* polarization) = 0;
    virtual double Total(double gas, double rain, double cloud, double scintillation,
                         double availability) = 0;

    // Noise temperatures (K).
    virtual double AntennaNoise(double efficiencyPct, double surfaceTemp, double attenuation) = 0;
    virtual double SystemNoise(double receiverTemp, double feedLossDb, double antennaTemp,
                               double attenuation, double surfaceTemp) = 0;

    // Earth-station antenna envelope (dBi); selector 0 pattern A, other pattern B.
    virtual double OffAxisGain(double maxGain, double angleDeg, double frequencyGHz,
                               double diameterM, unsigned char patternBMode,
                               unsigned char selector) = 0;

    // Transponder amplifier curves; type 0 TWTA, 1 LTWTA, 2 SSPA.
    virtual double OutputBackoff(double inputBackoff, double carriers, int type) = 0;
    virtual double InputBackoffFor(double outputBackoff, double carriers, int type) = 0;
    virtual double CarrierToIm(double inputBackoff, int type, double frequencyGHz) = 0;

    // Power sums of carrier-to-noise ratios (dB) and the binary logarithm.
    virtual double CombineCN2(double a, double b) = 0;
    virtual double CombineCN4(double a, double b, double c, double d) = 0;
    virtual double Log2(double x) = 0;
};

// The propagation models themselves, over the ITU-R maps the program loaded.
LinkAtmosphere& ItuLinkAtmosphere();
