// The arithmetic of the isolated downlink budget: a satellite carrier of a
// given EIRP received by one earth station through its LNB, in clear sky and
// in rain, with the availability and antenna size that just close the link.
#pragma once

#include "linkbudget/isolated/downlink_record.h"
#include "linkbudget/isolated/isolated_budget.h"

#include <cstdint>
#include <string>

struct DownlinkPathLosses {
    double worstMonthUnavailability;  // 0
    double worstMonthAvailability;    // 1
    double annualDowntime;            // 2
    double worstMonthDowntime;        // 3
    double gas50;                     // 4
    double gasAtAvailability;         // 5
    double rain;                      // 6
    double xpd;                       // 7
    double cloud;                     // 8
    double scintillation50;           // 9
    double scintillationAtAvailability;  // 10
    double clearSkyAtmospheric;       // 11
    double totalAttenuation;          // 12
    double fade;                      // 13
    double clearSkyPathLoss;          // 14
    double lnbTemperature;            // 15: K
    double clearSkySystemTemp;        // 16: K
    double clearSkyGt;                // 17: dB/K
    double rainSystemTemp;            // 18: K
    double rainGt;                    // 19: dB/K
    double noiseIncrease;             // 20
    double degradation;               // 21: fade + noise increase
    double degradationCopy;           // 22
};
static_assert(sizeof(DownlinkPathLosses) == 23 * 8);

struct IsolatedDownlinkResult {
    double cNo, cN;                   // 0, 1
    double carrierPowerDbw, carrierPowerDbm;   // 2, 3
    double carrierLevelDbuV, carrierLevelDbmV; // 4, 5
    double cImo, cIm;                 // 6, 7
    double cAcio, cXpio, cAsio;       // 8, 9, 10
    double cAci, cAsi, cXpi;          // 11, 12, 13
    double cIo, cI;                   // 14, 15
    double cNoIo, cNI;                // 16, 17
    double pfd;                       // 18: dBW/m2
    double flangeDensity;             // 19: dBW/Hz
    double satelliteDensity;          // 20: dBW/Hz
    double ebNoIo, net, excessMargin; // 21, 22, 23
};
static_assert(sizeof(IsolatedDownlinkResult) == 24 * 8);

struct RgnDownlinkInputs : IsolatedInputs {
    double lnb;            // noise figure dB, or its temperature K
    double antennaNoise, lnbGain, loadImpedance, cim, eirp;
    bool antennaNoiseAuto, lnbIsTemperature;
};

struct RgnDownlinkGeometry : RgnUplinkGeometry {
    double surfaceTemperature, effectiveAperture;
};

class RgnDownlinkBudget {
public:
    RgnDownlinkBudget(LinkAtmosphere& atmosphere, GeoLinkHost& host);

    enum class Outcome { Completed, StoppedLowElevation };
    Outcome Recalculate();

    void ParseInputs();
    void CalcDerived();
    void CalcDownlinkPath(double availability);
    void Solve();
    IsolatedDownlinkResult CalcColumn(double fade, double rain) const;
    double FindDownlinkAvailability();
    double FindAntennaSize();

    void SetError(std::int32_t code) { if (errorCode == 0) errorCode = code; }

    DownlinkInputRecord record{};
    RgnDownlinkInputs in{};
    RgnDownlinkGeometry geo{};
    RgnUplinkRates sol{};
    LinkRainResult rain{};
    DownlinkPathLosses path{};
    IsolatedDownlinkResult clear{}, rainy{};
    std::string suggestion;

    bool frozen = false;
    double frozenSymbolRate = 0.0;
    std::int32_t errorCode = 0;

    IsolatedTexts texts{};

private:
    void AntennaGain();

    LinkAtmosphere& atm_;
    GeoLinkHost& host_;
};
