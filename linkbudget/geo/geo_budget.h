// The arithmetic of the GEO bent-pipe link budget: parsing of the input
// record, look angles, path losses, the four weather cases, adjacent-satellite
// interference, the transponder operating point, the availability searches and
// the earth-station power.  No window code here: TUpLinkWin owns one of these,
// calls Recalculate and shows what it leaves behind.
#pragma once

#include "linkbudget/engine/budget_common.h"
#include "linkbudget/geo/geo_record.h"
#include "propagation/link_atmosphere.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

// Propagation terms of the transmitting earth station's path at one availability.
struct PathLossRecord {
    double worstMonthUnavailability;  // 1: p_w, -1 outside its valid range, 0 in clear sky
    double worstMonthAvailability;    // 2
    double annualDowntime;            // 3: hours
    double worstMonthDowntime;        // 4: hours
    double gas50;                     // 5
    double gasAtAvailability;         // 6
    double gas50Copy;                 // 7
    double rain;                      // 8: after site diversity, never negative
    double xpd;                       // 9
    double cloud;                     // 10
    double scintillation50;           // 11
    double scintillationAtAvailability;  // 12
    double scintillation50Copy;       // 13
    double clearSkyAtmospheric;       // 14
    double totalAttenuation;          // 15
    double fade;                      // 16
    double clearSkyPathLoss;          // 17
    double fadeBeyondUpc;             // 18
    double upcUsed;                   // 19
};
static_assert(sizeof(PathLossRecord) == 19 * 8);
// The numbers of the path records' fields are their places, from 1.
constexpr int PathFieldNumber(std::size_t offset) { return int(offset / sizeof(double)) + 1; }
static_assert(PathFieldNumber(offsetof(PathLossRecord, gas50Copy)) == 7 &&
              PathFieldNumber(offsetof(PathLossRecord, rain)) == 8 &&
              PathFieldNumber(offsetof(PathLossRecord, scintillation50Copy)) == 13 &&
              PathFieldNumber(offsetof(PathLossRecord, clearSkyPathLoss)) == 17 &&
              PathFieldNumber(offsetof(PathLossRecord, upcUsed)) == 19);

// Propagation and noise terms of the receiving earth station's path.
struct DownlinkPathLossRecord {
    double worstMonthUnavailability;  // 1
    double worstMonthAvailability;    // 2
    double annualDowntime;            // 3
    double worstMonthDowntime;        // 4
    double gas50;                     // 5
    double gas50Copy;                 // 6
    double gasAtAvailability;         // 7
    double rain;                      // 8
    double xpd;                       // 9
    double cloud;                     // 10
    double scintillation50;           // 11
    double scintillation50Copy;       // 12
    double scintillationAtAvailability;  // 13
    double clearSkyAtmospheric;       // 14
    double totalAttenuation;          // 15
    double fade;                      // 16
    double clearSkyPathLoss;          // 17
    double lnbTemperature;            // 18: K
    double clearSkySystemTemp;        // 19: K
    double clearSkyGt;                // 20: dB/K
    double rainSystemTemp;            // 21: K
    double rainGt;                    // 22: dB/K
    double noiseIncrease;             // 23
    double degradation;               // 24: fade + noise increase
    double degradationCopy;           // 25
};
static_assert(sizeof(DownlinkPathLossRecord) == 25 * 8);
static_assert(PathFieldNumber(offsetof(DownlinkPathLossRecord, gas50Copy)) == 6 &&
              PathFieldNumber(offsetof(DownlinkPathLossRecord, gasAtAvailability)) == 7 &&
              PathFieldNumber(offsetof(DownlinkPathLossRecord, scintillationAtAvailability)) == 13 &&
              PathFieldNumber(offsetof(DownlinkPathLossRecord, lnbTemperature)) == 18 &&
              PathFieldNumber(offsetof(DownlinkPathLossRecord, degradation)) == 24);

// One weather case of the bent pipe: 59 fields numbered from 1 (LinkCaseField).
struct LinkCaseResult {
    double values[59];
    double& operator[](int field) { return values[field - 1]; }
    double operator[](int field) const { return values[field - 1]; }
};
static_assert(sizeof(LinkCaseResult) == 59 * 8);

// The fields of LinkCaseResult by the numbers the budget's equations give
// them.  Each kind of ratio comes as three consecutive fields, uplink,
// downlink and total (end to end); "o" marks a density in dB-Hz, the same
// ratio without it is in dB (the density less the noise bandwidth).
enum LinkCaseField : int {
    kInputBackoff = 1,      // per carrier, with the uplink fade beyond power control, dB
    kOutputBackoff = 2,     // per carrier, dB
    kUpCNo = 3, kDownCNo = 4, kTotalCNo = 5,                  // thermal C/No
    kUpCN = 6, kDownCN = 7, kTotalCN = 8,                     // thermal C/N
    kHpaCImo = 9, kTransponderCImo = 10, kTotalCImo = 11,     // intermodulation: earth-station HPA, transponder
    kHpaCIm = 12, kTransponderCIm = 13, kTotalCIm = 14,
    kUpCAcio = 15, kDownCAcio = 16, kTotalCAcio = 17,         // adjacent-channel interference
    kUpCXpio = 18, kDownCXpio = 19, kTotalCXpio = 20,         // cross-polar interference
    kUpCAsio = 21, kDownCAsio = 22, kTotalCAsio = 23,         // adjacent-satellite interference
    kUpCAci = 24, kDownCAci = 25, kTotalCAci = 26,
    kUpCXpi = 27, kDownCXpi = 28, kTotalCXpi = 29,
    kUpCAsi = 30, kDownCAsi = 31, kTotalCAsi = 32,
    kUpCIo = 33, kDownCIo = 34, kTotalCIo = 35,               // all interference
    kUpCNoIo = 36, kDownCNoIo = 37, kTotalCNoIo = 38,         // C/(No+Io)
    kUpCNI = 39, kDownCNI = 40, kTotalCNI = 41,               // C/(N+I)
    kUpCI = 42, kDownCI = 43, kTotalCI = 44,
    kUplinkEirp = 45,       // transmit EIRP per carrier, dBW
    kSatelliteEirp = 46,    // satellite EIRP per carrier, dBW
    kEirpDensityUp = 47,    // flange transmit EIRP density, dBW/Hz
    kReceiveDensity = 48,   // flange receive density, dBW/Hz
    kSatEirpDensity = 49,   // satellite EIRP density, dBW/Hz
    kPowerShare = 50,       // percentage of the transponder power the carrier uses
    kCarriersByPower = 51,  // carriers per transponder the power allows
    kUpEbNoIo = 52, kDownEbNoIo = 53, kTotalEbNoIo = 54,      // Eb/(No+Io)
    kUpEsNoIo = 55, kDownEsNoIo = 56, kTotalEsNoIo = 57,      // Es/(No+Io)
    kNetTarget = 58,        // Eb/(No+Io) or Es/(No+Io) after margin and implementation loss
    kExcessMargin = 59,
};

// Numbers parsed from one earth station's fields.
struct SiteInputs {
    char siteName[41];
    char polarization[2];
    double latitude, longitude, altitude, frequency, wavelength, availability;
    double diameter, efficiency, couplingLoss, mispointing, otherLosses;
    double csatAci, csatXpi;
    double asiDensity[4], asiLongitude[4];
    bool asiInclude[4];               // Sat1 always counts
    bool asiKnownTotal;
    double csatAsiKnown;
    double rainRate;
    std::int32_t rainSource;          // 0 map, 1 typed rate
    bool gainGiven, altitudeAuto, clearSky, ciUnits, depolarization;
};

struct GeoLinkInputs {
    SiteInputs up, dn;
    // uplink only
    double hpaObo, carriersPerHpa, hpaCim, upc, hpaPower, diversityGain, otherLossesEntered;
    // downlink only
    double lnb, antennaNoise;
    // satellite
    char satName[41];
    double satLongitude, gtRef, sfdRef, gtReceive, fca, alc, eirpSaturation, eirpBeamPeak;
    double transponderBandwidth, transponderIbo, transponderObo, cim, carriersPerTransponder;
    // carrier
    char serviceName[41], coverage[41];
    double requiredTarget, rate, overhead, fecRate, spreadingGain, rollOff, carrierSpacing;
    double allocationStep, implementationLoss, systemMargin, modulationOrder;
    std::int32_t modulation;          // 0 one bit/symbol, 1 M-(A)PSK, 2 M-QAM
    std::int32_t transponderType;     // 0 TWTA, 1 LTWTA, 2 SSPA
    double overallAvailability;
    bool lnbIsTemperature, oboAuto, iboAuto, cimAuto, dualFade, antennaNoiseAuto;
    bool targetEbNo, infoRateGiven, hpaMin, hpaMinEq, hpaMax, splitAvailability, xpiColocated;
};

// Look angles and derived values of one earth station.
struct SiteDerived {
    double slantRange, elevation, azimuth, declination, compassBearing, polarizationOffset;
    double altitude, meanTemperature, freeSpaceLoss, antennaGain, polarizationTerm;
};

struct GeoLinkSolution {
    double overheadRate, infoRateWithOverhead, transmitRate, symbolRate, infoRate;
    double occupiedBandwidth, minimumAllocated, allocatedBandwidth, noiseBandwidth;
    double requiredCNo;
    // Carriers the bandwidth allows; with carriers AUTO, those the power
    // allows (maxCarriers) and the smaller of the two, the count the
    // transponder takes (transponderCarriers); else the count given.
    double bandwidthCarriers, maxCarriers, transponderCarriers, bandwidthUsedPct;
    double effectiveSfd, gain1m2, satUpCNo, satDownCNo, satTotalCNo, eirpForSaturation;
    double hpaCarriersDb, upAsiTotal, dnAsiTotal;
    double flangePower, totalHpaPower, requiredHpaPower, powerEquivalentBandwidth, efficiency;
    double beamPeakEirp, beamPeakDensity;
    double offAxisDensity[4];
    bool offAxisComputed[4];           // false when not asked or the satellite is below the horizon
};

class GeoLinkBudget {
public:
    GeoLinkBudget(LinkAtmosphere& atmosphere, GeoLinkHost& host);

    enum class Outcome { Completed, StoppedLowElevation };

    // The whole budget from the record.  The error code is left in errorCode
    // (the first one set wins) for the window to show after its report.
    Outcome Recalculate();

    // The steps, in the order Recalculate runs them.
    void ParseInputs();
    void CalcDerived();
    void CalcUplinkPath(PathLossRecord& out, double availability);
    void CalcDownlinkPath(DownlinkPathLossRecord& out, double availability);
    void Solve();
    void SolveAutoBackoff(double eirp);
    void CalcColumn(LinkCaseResult& out, double eirp, double d1, double d2, double d3, double d4);
    void CalcColumnAuto(LinkCaseResult& out, double d1, double d2, double d3, double d4,
                        double requiredCNo);
    void CalcCarrierLink(LinkCaseResult& io, double d1, double d2, double d3, double d4, int mode);
    double UplinkAsiTotal();
    double DownlinkAsiTotal();
    double OffAxisTowardSatellite(double longitude, bool* computed);
    double FindUplinkAvailability(double eirp);
    double FindDownlinkAvailability(double eirp);
    double FindJointAvailability(double eirp);
    void SuggestAvailability(double eirp);
    double SearchAvailability(double eirp);

    // What limits the number of carriers: "Power" when the clear-sky share of
    // the transponder power, cut to 2 decimals, is above the share of its
    // bandwidth, else "Bandwidth".
    const char* LimitedBy() const;

    void SetError(std::int32_t code) { if (errorCode == 0) errorCode = code; }

    GeoLinkInputRecord record;
    GeoLinkInputs in{};
    SiteDerived upSite{}, dnSite{};
    double overallAvailability = 0.0;
    PathLossRecord upPath{};
    DownlinkPathLossRecord dnPath{};
    LinkRainResult upRain{}, dnRain{};
    LinkCaseResult clearSky{}, rainUp{}, rainDown{}, rainBoth{};
    GeoLinkSolution sol{};
    std::string suggestion;

    // Freeze state, kept from one solution to the next.
    bool frozen = false;
    double frozenSymbolRate = 0.0;
    double frozenHpaPower = 0.0;

    std::int32_t errorCode = 0;

    // A satellite that is not geostationary: each earth station's elevation,
    // range and longitude difference are typed instead of computed from a
    // satellite longitude, and the split search stops its outer bisection
    // at a coarser step.
    struct EnteredGeometry {
        double elevation = 0.0, range = 0.0, longitudeDifference = 0.0;
    };
    bool geometryEntered = false;
    EnteredGeometry upEntered{}, dnEntered{};
    double outerSearchTolerance = 0.001;

    // Result texts of the report.
    struct ResultTexts {
        char inputAvailabilityUp[20], inputAvailabilityDown[20], overallTarget[20];
        AvailabilityTexts up, down;
    } texts{};

private:
    // A path evaluated once in a recalculation is not evaluated again: the
    // availability searches come back to the same trial availabilities
    // thousands of times, and the path is a pure function of them.
    struct UplinkPathEntry {
        PathLossRecord record;
        LinkRainResult rain;
    };
    struct DownlinkPathEntry {
        DownlinkPathLossRecord record;
        LinkRainResult rain;
        double antennaNoise;
    };
    std::unordered_map<std::uint64_t, UplinkPathEntry> upPathCache_;
    std::unordered_map<std::uint64_t, DownlinkPathEntry> dnPathCache_;
    void ComputeUplinkPath(PathLossRecord& out, double availability);
    void ComputeDownlinkPath(DownlinkPathLossRecord& out, double availability);

    // A column is worked out in stages because the searches need only its
    // end-to-end ratio or margin at each trial; the totals the report alone
    // shows are each a power sum, and skipping them nearly halves a trial.
    struct RateTerms {
        double bitRateDb, bitsPerSymbolDb;
    };
    RateTerms CurrentRateTerms() const;
    void SetColumnUplink(LinkCaseResult& c, double eirp, double d1);
    void SetCarrierEntries(LinkCaseResult& c, double d1, double d2, double d3, double d4);
    void SetEndToEndRatio(LinkCaseResult& c);
    void SetReportedTotals(LinkCaseResult& c);
    void SetMargins(LinkCaseResult& c) const;
    // The excess margin of a column; only the fields it rests on are filled.
    double ColumnMargin(LinkCaseResult& c, const RateTerms& rates, double eirp, double d1,
                        double d2, double d3, double d4);

    // Every trial of the split search re-solves the columns, and with a given
    // amplifier each re-solve asks for the suggestion again at the same EIRP.
    // The suggestion's own searches read only what the split search leaves
    // alone (the paths they need they compute per trial, and the clear-sky
    // terms of the other path do not depend on its availability), so within
    // one split search it is worked out once per EIRP.
    struct HeldSuggestion {
        bool active = false, held = false;
        std::uint64_t eirpKey = 0;
        double value = 0.0;
    } splitSearchSuggestion_;

    double MispointingAngle(const SiteInputs& site, double gain, unsigned char selector);
    void DeriveSite(SiteInputs& site, SiteDerived& derived);
    void FillResultTexts();

    LinkAtmosphere& atm_;
    GeoLinkHost& host_;
};
