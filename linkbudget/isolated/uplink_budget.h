// The arithmetic of the isolated (regenerative) uplink budget: one earth
// station transmitting to a satellite receiver with nothing behind it.  No
// window code here: the window owns one of these, calls Recalculate and
// prints what it leaves behind.
#pragma once

#include "linkbudget/geo/geo_budget.h"
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

struct RgnUplinkInputs {
    char siteName[41], polarization[2], satName[41], serviceName[41];
    double latitude, longitude, altitude, frequency, availability, diameter, efficiency;
    double couplingLoss, mispointing, otherLosses, otherLossesEntered, diversityGain;
    double csatAci, csatAsi, csatXpi, hpaCim, hpaObo, powerControl, hpaPower, rainRate;
    double satGt, satBandwidth, satLongitude, range, elevation, longitudeDifference;
    double requiredTarget, rate, overhead, fecRate, spreadingGain, rollOff, carrierSpacing;
    double allocationStep, implementationLoss, systemMargin, modulationOrder;
    std::int32_t modulation;   // 0 one bit/symbol, 1 M-(A)PSK, 2 M-QAM
    std::int32_t rainSource;   // 0 map, 1 typed rate
    bool altitudeAuto, gainGiven, targetEbNo, geoMode, hpaMin, infoRateGiven, clearSky;
    bool ciUnits, depolarization, xpiColocated;
};

struct RgnUplinkGeometry {
    double altitude, range, elevation, azimuth, compassBearing, declination, polarizationOffset;
    double longitudeDifference, wavelength;
    double freeSpaceLoss, spreadingLoss, antennaGain, polarizationTerm;
};

struct RgnUplinkRates {
    double overheadRate, infoRateWithOverhead, transmitRate, symbolRate, infoRate;
    double occupiedBandwidth, allocatedBandwidth, noiseBandwidth, requiredCNoIo;
    double hpaPerCarrier, totalHpaPower, requiredHpaPower;
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

    struct ResultTexts {
        char availability[40], annualDowntime[40], worstAvailability[40], worstDowntime[40];
        char inputAvailability[40];
    } texts{};

private:
    void FillResultTexts();

    LinkAtmosphere& atm_;
    GeoLinkHost& host_;
};

namespace rgn_detail {
// The four result texts of an isolated budget and the input-section copy.
void FillResultTexts(RgnUplinkBudget::ResultTexts& texts, double availability,
                     double annualDowntime, double worstMonthUnavailability,
                     double worstMonthAvailability, double worstMonthDowntime);
}  // namespace rgn_detail
