// The arithmetic of the isolated (regenerative) uplink budget: one earth
// station transmitting to a satellite receiver with nothing behind it.  No
// window code here: the window owns one of these, calls Recalculate and
// prints what it leaves behind.
#pragma once

#include "linkbudget/isolated/isolated_budget.h"
#include "linkbudget/isolated/uplink_record.h"

#include <cstdint>
#include <string>

// Propagation terms of the path at one availability (dB unless said).
struct UplinkPathLosses {
    double worstMonthUnavailability;  // 0: %, -1 outside its valid range
    double worstMonthAvailability;    // 1: %
    double annualDowntime;            // 2: hours
    double worstMonthDowntime;        // 3: hours
    double gas50;                     // 4
    double gasAtAvailability;         // 5
    double rain;                      // 6: less the site-diversity gain, never negative
    double xpd;                       // 7
    double cloud;                     // 8
    double scintillation50;           // 9
    double scintillationAtAvailability;  // 10
    double clearSkyAtmospheric;       // 11
    double totalAttenuation;          // 12
    double fade;                      // 13: above clear sky
    double clearSkyPathLoss;          // 14
    double residualFade;              // 15: beyond power control
    double powerControlUsed;          // 16
};
static_assert(sizeof(UplinkPathLosses) == 17 * 8);

// One weather column of the isolated link.
struct IsolatedLinkResult {
    double eirp;              // 0: dBW
    double flangeDensity;     // 1: dBW/Hz
    double cNo;               // 2: dB-Hz
    double cN;                // 3
    double cAcio, cXpio, cAsio, cImo;   // 4-7: dB-Hz
    double cAci, cAsi, cXpi, cIm;       // 8-11: dB
    double cIo;               // 12
    double cI;                // 13
    double cNoIo;             // 14
    double cNI;               // 15
    double pfd;               // 16: dBW/m2
    double ebNoIo;            // 17
    double net;               // 18
    double excessMargin;      // 19
};
static_assert(sizeof(IsolatedLinkResult) == 20 * 8);

struct RgnUplinkInputs : IsolatedInputs {
    double otherLossesEntered, diversityGain;   // a negative loss is a site-diversity gain
    double hpaCim, hpaObo, powerControl, hpaPower, satGt;
    bool hpaMin, xpiColocated;
};

class RgnUplinkBudget {
public:
    RgnUplinkBudget(LinkAtmosphere& atmosphere, GeoLinkHost& host);

    enum class Outcome { Completed, StoppedLowElevation };

    // The whole calculation from the record; the error code (first set wins)
    // is left for the window to show after its report.
    Outcome Recalculate();

    void ParseInputs();
    void CalcDerived();
    void CalcUplinkPath(double availability);
    void Solve();
    IsolatedLinkResult CalcColumn(double eirp, double fade, double rain) const;
    IsolatedLinkResult CalcColumnAuto(double fade, double rain, double requiredCNoIo) const;
    double FindUplinkAvailability();

    void SetError(std::int32_t code) { if (errorCode == 0) errorCode = code; }

    UplinkInputRecord record{};
    RgnUplinkInputs in{};
    RgnUplinkGeometry geo{};
    RgnUplinkRates sol{};
    LinkRainResult rain{};
    UplinkPathLosses path{};
    IsolatedLinkResult clear{}, rainy{};
    std::string suggestion;

    bool frozen = false;
    double frozenSymbolRate = 0.0;
    double frozenHpaPower = 0.0;
    std::int32_t errorCode = 0;

    IsolatedTexts texts{};

private:
    LinkAtmosphere& atm_;
    GeoLinkHost& host_;
};
