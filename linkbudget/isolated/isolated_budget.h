// What the isolated uplink and downlink budgets compute alike: the inputs of
// their records' same-named fields, the station's geometry (looked up for a
// geostationary satellite, typed for any other), the path site of the
// propagation models, and the result texts.  Free of Qt.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "linkbudget/engine/budget_common.h"
#include "linkbudget/engine/carrier_rates.h"
#include "linkbudget/engine/input_text.h"
#include "linkbudget/engine/path_fill.h"
#include "propagation/coordinates.h"
#include "propagation/link_atmosphere.h"

// The parsed fields both isolated records hold.
struct IsolatedInputs {
    char siteName[41], polarization[2], satName[41], serviceName[41];
    double latitude, longitude, altitude, frequency, availability, diameter, efficiency;
    double couplingLoss, mispointing, otherLosses;
    double csatAci, csatAsi, csatXpi, rainRate;
    double satBandwidth, satLongitude, range, elevation, longitudeDifference;
    double requiredTarget, rate, overhead, fecRate, spreadingGain, rollOff, carrierSpacing;
    double allocationStep, implementationLoss, systemMargin, modulationOrder;
    std::int32_t modulation;   // 0 one bit/symbol, 1 M-(A)PSK, 2 M-QAM
    std::int32_t rainSource;   // 0 map, 1 typed rate
    bool altitudeAuto, gainGiven, targetEbNo, geoMode, infoRateGiven, clearSky, ciUnits, depolarization;
};

// The earth station's geometry and the link's losses and gain.
struct RgnUplinkGeometry {
    double altitude, range, elevation, azimuth, compassBearing, declination, polarizationOffset;
    double longitudeDifference, wavelength;
    double freeSpaceLoss, spreadingLoss, antennaGain, polarizationTerm;
};

// The carrier's rates and bandwidths (the uplink also sizes its amplifier).
struct RgnUplinkRates {
    double overheadRate, infoRateWithOverhead, transmitRate, symbolRate, infoRate;
    double occupiedBandwidth, allocatedBandwidth, noiseBandwidth, requiredCNoIo;
    double hpaPerCarrier, totalHpaPower, requiredHpaPower;
};

// The link's availability texts and the copy the input section prints.
struct IsolatedTexts : AvailabilityTexts {
    char inputAvailability[20];
};

namespace isolated {

// Parses the fields both records hold (all but the other path losses, which
// each budget reads its own way), fills the wavelength and turns a gain
// typed with its sign into an efficiency.  The Crane rain models select the
// ITU-R model with map rain rates, as the record then says; a non-GEO
// satellite's empty longitude difference is written back as "0".
template <class Record>
void ParseCommonInputs(Record& r, IsolatedInputs& p, RgnUplinkGeometry& geo)
{
    using namespace lbtext;
    lbcalc::CopyText(p.siteName, r.siteName, sizeof r.siteName);
    lbcalc::CopyText(p.polarization, r.polarization, sizeof r.polarization);
    lbcalc::CopyText(p.satName, r.satName, sizeof r.satName);
    lbcalc::CopyText(p.serviceName, r.serviceName, sizeof r.serviceName);
    p.latitude = ParseLatLon(r.latitude);
    p.longitude = ParseLatLon(r.longitude);
    p.satLongitude = ParseLatLon(r.satLongitude);
    p.altitude = Number(r.altitude);
    p.frequency = Number(r.frequency);
    p.availability = Number(r.availability);
    p.diameter = Number(r.diameter);
    p.efficiency = Number(r.efficiency);
    p.couplingLoss = Number(r.couplingLoss);
    p.mispointing = Number(r.mispointing);
    p.csatAci = Number(r.csatAci);
    p.csatAsi = Number(r.csatAsi);
    p.csatXpi = Number(r.csatXpi);
    p.rainRate = Number(r.rainRate);
    p.satBandwidth = Number(r.satBandwidth);
    p.range = Number(r.range);
    p.elevation = Number(r.elevation);
    p.longitudeDifference = Number(r.longitudeDifference);
    lbcalc::ParseCarrierInputs(r, p);

    p.rainSource = 0;
    if (r.ituRate.On()) p.rainSource = 1;
    if (r.ituAuto.On()) p.rainSource = 0;
    if (r.craneTc.On() || r.craneUsa.On()) {
        p.rainSource = 0;
        r.ituAuto.Set(1);
    }

    p.altitudeAuto = IsKeyword(r.altitude, "auto");
    p.gainGiven = r.efficiency[0] == '+' || r.efficiency[0] == '-';
    p.targetEbNo = r.targetEbNo.On();
    p.geoMode = r.geo.On();
    p.infoRateGiven = r.infoRate.On();
    p.clearSky = r.clearSky.On();
    p.ciUnits = r.ciUnits.On();
    p.depolarization = r.depolarization.On();

    if (!p.geoMode && r.longitudeDifference[0] == '\0')
        std::snprintf(r.longitudeDifference, sizeof r.longitudeDifference, "0");

    geo.wavelength = Wavelength(p.frequency);
    if (p.gainGiven) p.efficiency = lbcalc::EfficiencyFromGain(p.efficiency, p.diameter, geo.wavelength);
}

// Look angles to a geostationary satellite, or the typed elevation of any other.
void LookAngles(const IsolatedInputs& in, RgnUplinkGeometry& geo);

// The station's altitude (AUTO from the topography map), its range,
// elevation and longitude difference, the free-space loss and the spreading
// loss.
void DeriveGeometry(LinkAtmosphere& atm, const IsolatedInputs& in, RgnUplinkGeometry& geo);

// Gain in dBi of the station's antenna.
double AntennaGain(const IsolatedInputs& in, double wavelengthM);

// The station as the propagation models see it.
lbpath::PathSite PathSiteOf(const IsolatedInputs& in, const RgnUplinkGeometry& geo);

// The carrier's rates (frozen or not) and bandwidths; a carrier wider than
// the satellite's bandwidth is an error.  Returns that error code or 0.
template <class Inputs, class Record>
std::int32_t SolveCarrier(RgnUplinkRates& s, Inputs& in, Record& record, double log2M, bool frozen,
                          double& frozenSymbolRate)
{
    const double spreading = std::pow(10.0, 0.1 * in.spreadingGain);
    lbcalc::SolveRates(s, in, record, log2M, spreading, frozen, frozenSymbolRate);
    lbcalc::CarrierBandwidths(s, in);
    return s.occupiedBandwidth > in.satBandwidth ? kErrBandwidthOverspill : 0;
}

// The texts of the link at its availability, from its path record.
template <class PathRecord>
void FillTexts(IsolatedTexts& t, double availability, const PathRecord& p)
{
    FillAvailabilityTexts(t, availability, p.worstMonthUnavailability, p.worstMonthAvailability, p.annualDowntime,
                          p.worstMonthDowntime);
    std::snprintf(t.inputAvailability, sizeof t.inputAvailability, "%s", t.availability);
}

}  // namespace isolated
