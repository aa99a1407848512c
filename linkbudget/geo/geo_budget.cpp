#include "linkbudget/geo/geo_budget.h"

#include "linkbudget/engine/carrier_rates.h"
#include "linkbudget/engine/path_fill.h"

#include "linkbudget/engine/input_text.h"
#include "propagation/coordinates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

using lbcalc::Bisect;
using lbcalc::CopyText;
using lbcalc::kPi;
using lbcalc::MapArgument;

// Smallest off-axis angle handed to the antenna envelopes: an adjacent
// satellite closer than the wanted one's pointing error would otherwise give
// an angle at or below zero, where the envelopes are undefined.
constexpr double kMinOffAxisAngle = 1e-3;

template <std::size_t N>
void WriteText(char (&dst)[N], const char* text)
{
    std::snprintf(dst, N, "%s", text);
}

}  // namespace

GeoLinkBudget::GeoLinkBudget(LinkAtmosphere& atmosphere, GeoLinkHost& host)
    : atm_(atmosphere), host_(host)
{
    SetGeoLinkRecordDefaults(record);
}

// ---------------------------------------------------------------------------
// Parsing

void GeoLinkBudget::ParseInputs()
{
    using namespace lbtext;
    GeoLinkInputRecord& r = record;
    TerminateGeoLinkTexts(r);
    GeoLinkInputs& p = in;
    SiteInputs& u = p.up;
    SiteInputs& d = p.dn;

    // Uplink
    CopyText(u.siteName, r.upSiteName, sizeof r.upSiteName);
    u.latitude = ParseLatLon(r.upLatitude);
    u.longitude = ParseLatLon(r.upLongitude);
    u.altitude = Number(r.upAltitude);
    u.frequency = Number(r.upFrequency);
    CopyText(u.polarization, r.upPolarization, sizeof r.upPolarization);
    u.availability = Number(r.upAvailability);
    u.diameter = Number(r.upDiameter);
    u.efficiency = Number(r.upEfficiency);
    u.couplingLoss = Number(r.upCouplingLoss);
    u.mispointing = Number(r.upMispointing);
    u.otherLosses = Number(r.upOtherLosses);
    u.csatAci = Number(r.upCsatAci);
    u.csatXpi = Number(r.upCsatXpi);
    p.hpaObo = Number(r.hpaObo);
    p.carriersPerHpa = Number(r.carriersPerHpa);
    p.hpaCim = Number(r.hpaCim);
    p.upc = Number(r.upc);
    p.hpaPower = Number(r.hpaPower);
    for (int i = 0; i < 4; ++i) u.asiDensity[i] = Number(r.upAsiDensity[i]);
    for (int i = 0; i < 4; ++i) u.asiLongitude[i] = ParseLatLon(r.upAsiLongitude[i]);
    u.csatAsiKnown = Number(r.upCsatAsi);
    u.asiInclude[0] = true;
    for (int i = 0; i < 3; ++i) u.asiInclude[i + 1] = r.upAsiInclude[i].On();
    u.asiKnownTotal = r.upAsiKnownTotal.On();

    // Downlink
    CopyText(d.siteName, r.dnSiteName, sizeof r.dnSiteName);
    d.latitude = ParseLatLon(r.dnLatitude);
    d.longitude = ParseLatLon(r.dnLongitude);
    d.altitude = Number(r.dnAltitude);
    d.frequency = Number(r.dnFrequency);
    CopyText(d.polarization, r.dnPolarization, sizeof r.dnPolarization);
    d.availability = Number(r.dnAvailability);
    d.diameter = Number(r.dnDiameter);
    d.efficiency = Number(r.dnEfficiency);
    d.couplingLoss = Number(r.dnCouplingLoss);
    d.mispointing = Number(r.dnMispointing);
    d.otherLosses = Number(r.dnOtherLosses);
    p.lnb = Number(r.lnbNoise);
    p.antennaNoise = Number(r.antennaNoise);
    d.csatAci = Number(r.dnCsatAci);
    d.csatXpi = Number(r.dnCsatXpi);
    for (int i = 0; i < 4; ++i) d.asiDensity[i] = Number(r.dnAsiDensity[i]);
    for (int i = 0; i < 4; ++i) d.asiLongitude[i] = ParseLatLon(r.dnAsiLongitude[i]);
    d.csatAsiKnown = Number(r.dnCsatAsi);
    d.asiInclude[0] = true;
    for (int i = 0; i < 3; ++i) d.asiInclude[i + 1] = r.dnAsiInclude[i].On();
    d.asiKnownTotal = r.dnAsiKnownTotal.On();

    // Rain
    if (r.upItuAuto.On()) u.rainSource = 0;
    if (r.upItuRate.On()) u.rainSource = 1;
    u.rainRate = Number(r.upRainRate);
    if (r.dnItuAuto.On()) d.rainSource = 0;
    if (r.dnItuRate.On()) d.rainSource = 1;
    d.rainRate = Number(r.dnRainRate);

    // Satellite
    CopyText(p.satName, r.satName, sizeof r.satName);
    p.satLongitude = ParseLatLon(r.satLongitude);
    p.gtRef = Number(r.gtRef);
    p.sfdRef = Number(r.sfdRef);
    p.gtReceive = Number(r.gtReceive);
    p.fca = Number(r.fca);
    p.alc = Number(r.alc);
    p.eirpSaturation = Number(r.eirpSaturation);
    p.eirpBeamPeak = Number(r.eirpBeamPeak);
    p.transponderBandwidth = Number(r.transponderBandwidth);
    p.transponderIbo = Number(r.transponderIbo);
    p.transponderObo = Number(r.transponderObo);
    p.cim = Number(r.cim);
    p.carriersPerTransponder = Number(r.carriersPerTransponder);

    // Carrier
    CopyText(p.serviceName, r.serviceName, sizeof r.serviceName);
    CopyText(p.coverage, r.coverage, sizeof r.coverage);
    lbcalc::ParseCarrierInputs(r, p);

    // A negative uplink loss is a site-diversity gain that helps only in rain.
    p.otherLossesEntered = u.otherLosses;
    if (u.otherLosses < 0.0) {
        p.diversityGain = std::fabs(u.otherLosses);
        u.otherLosses = 0.0;
    } else {
        p.diversityGain = 0.0;
    }

    p.antennaNoiseAuto = IsKeyword(r.antennaNoise, "auto");
    u.altitudeAuto = IsKeyword(r.upAltitude, "auto");
    d.altitudeAuto = IsKeyword(r.dnAltitude, "auto");
    p.oboAuto = IsKeyword(r.transponderObo, "auto");
    p.iboAuto = IsKeyword(r.transponderIbo, "auto");
    p.splitAvailability = IsKeyword(r.dnAvailability, "auto");
    if (p.splitAvailability) p.overallAvailability = u.availability;
    p.cimAuto = IsKeyword(r.cim, "auto");
    p.hpaMin = IsKeyword(r.hpaPower, "min");
    p.hpaMax = IsKeyword(r.hpaPower, "max");
    p.hpaMinEq = IsKeyword(r.hpaPower, "mineq");

    u.gainGiven = r.upEfficiency[0] == '+' || r.upEfficiency[0] == '-';
    d.gainGiven = r.dnEfficiency[0] == '+' || r.dnEfficiency[0] == '-';
    p.lnbIsTemperature = r.lnbNoise[0] == '+';

    p.transponderType = 1;
    if (r.twta.On()) p.transponderType = 0;
    if (r.ltwta.On()) p.transponderType = 1;
    if (r.sspa.On()) p.transponderType = 2;
    p.dualFade = r.dualFade.On();
    p.targetEbNo = r.targetEbNo.On();
    p.infoRateGiven = r.infoRate.On();
    u.clearSky = r.upClearSky.On();
    d.clearSky = r.dnClearSky.On();
    u.ciUnits = r.upCiUnits.On();
    d.ciUnits = r.dnCiUnits.On();
    u.depolarization = r.upDepolarization.On();
    p.xpiColocated = r.xpiColocated.On();
    d.depolarization = r.dnDepolarization.On();

    u.wavelength = Wavelength(u.frequency);
    d.wavelength = Wavelength(d.frequency);

    for (SiteInputs* s : {&u, &d}) {
        if (s->gainGiven) s->efficiency = lbcalc::EfficiencyFromGain(s->efficiency, s->diameter, s->wavelength);
    }

    // The Crane models are calculated as the ITU-R model with map rain rates.
    if (r.upCraneTc.On() || r.upCraneUsa.On()) {
        u.rainSource = 0;
        r.upItuAuto.Set(1);
    }
    if (r.dnCraneTc.On() || r.dnCraneUsa.On()) {
        d.rainSource = 0;
        r.dnItuAuto.Set(1);
    }
}

// ---------------------------------------------------------------------------
// Derived values

void GeoLinkBudget::DeriveSite(SiteInputs& s, SiteDerived& g)
{
    const float lat = MapArgument(s.latitude);
    const float lon = MapArgument(s.longitude);
    g.altitude = s.altitudeAuto ? atm_.TopoHeight(lat, lon) : s.altitude;
    g.meanTemperature = atm_.MeanTemperature(lat, lon, MapArgument(g.altitude));
    g.freeSpaceLoss = 20.0 * std::log10(4.0 * kPi * g.slantRange * 1000.0 / s.wavelength);
    const double aperture = kPi * s.diameter;
    g.antennaGain = 10.0 * std::log10(aperture * aperture * s.efficiency /
                                      (100.0 * s.wavelength * s.wavelength));
    const double longitudeDifference =
        !geometryEntered ? LongitudeDifference(s.longitude, in.satLongitude)
                         : (&s == &in.up ? upEntered : dnEntered).longitudeDifference;
    g.polarizationTerm = host_.PolarizationTerm(s.latitude, longitudeDifference, s.polarization);
}

void GeoLinkBudget::CalcDerived()
{
    SiteInputs& u = in.up;
    SiteInputs& d = in.dn;
    if (in.splitAvailability) {
        overallAvailability = u.availability;
        const double each = TruncateToDecimals(std::sqrt(100.0 * overallAvailability), 4);
        u.availability = d.availability = each;
        if (u.clearSky && d.clearSky) {
            overallAvailability = u.availability = d.availability = 100.0;
            in.splitAvailability = false;
        } else if (u.clearSky) {
            u.availability = 100.0;
            d.availability = overallAvailability;
            in.splitAvailability = false;
        } else if (d.clearSky) {
            d.availability = 100.0;
            u.availability = overallAvailability;
            in.splitAvailability = false;
        }
    } else if (u.clearSky && d.clearSky) {
        overallAvailability = 100.0;
    } else if (u.clearSky) {
        overallAvailability = d.availability;
    } else if (d.clearSky) {
        overallAvailability = u.availability;
    } else {
        overallAvailability = 0.01 * u.availability * d.availability;
    }

    upPathCache_.clear();
    dnPathCache_.clear();
    DeriveSite(u, upSite);
    CalcUplinkPath(upPath, u.availability);
    DeriveSite(d, dnSite);
    CalcDownlinkPath(dnPath, d.availability);
}

// ---------------------------------------------------------------------------
// Path losses

namespace {

// The propagation terms that both earth stations' paths share; their records
// order the fields differently but name them alike.  `diversityGain` is taken
// off the rain attenuation (the uplink's site diversity; 0 on the downlink).
template <class PathRecord>
void FillPathPropagation(LinkAtmosphere& atm, PathRecord& rec, SiteInputs& s, const SiteDerived& g,
                         LinkRainResult& rainResult, double diversityGain, double p)
{
    const lbpath::PathSite site{s.latitude,    s.longitude,          s.frequency,
                                s.diameter,    s.efficiency,         g.elevation,
                                g.altitude,    g.polarizationTerm,   s.rainRate,
                                s.polarization, s.rainSource,        s.clearSky};
    lbpath::FillPath(atm, site, diversityGain, p, rec, rainResult, s.availability);
    rec.gas50Copy = rec.gas50;
    rec.scintillation50Copy = rec.scintillation50;
    rec.clearSkyPathLoss =
        rec.clearSkyAtmospheric + g.freeSpaceLoss + s.otherLosses + s.mispointing;
}

}  // namespace

void GeoLinkBudget::ComputeUplinkPath(PathLossRecord& rec, double p)
{
    FillPathPropagation(atm_, rec, in.up, upSite, upRain, in.diversityGain, p);
    rec.fadeBeyondUpc = std::max(0.0, rec.fade - in.upc);
    rec.upcUsed = rec.fade - rec.fadeBeyondUpc;
}

void GeoLinkBudget::ComputeDownlinkPath(DownlinkPathLossRecord& rec, double p)
{
    SiteInputs& s = in.dn;
    const SiteDerived& g = dnSite;
    FillPathPropagation(atm_, rec, s, g, dnRain, 0.0, p);

    const lbpath::ReceiveSite receiver{in.lnb, in.lnbIsTemperature, s.couplingLoss, s.efficiency, g.antennaGain,
                                       g.meanTemperature};
    lbpath::FillReceiveNoise(atm_, receiver, p, in.antennaNoiseAuto, in.antennaNoise, rec);
}

namespace {

std::uint64_t KeyOf(double value)
{
    std::uint64_t key;
    std::memcpy(&key, &value, sizeof key);
    return key;
}

}  // namespace

void GeoLinkBudget::CalcUplinkPath(PathLossRecord& rec, double p)
{
    const std::uint64_t key = KeyOf(p);
    if (const auto hit = upPathCache_.find(key); hit != upPathCache_.end()) {
        rec = hit->second.record;
        upRain = hit->second.rain;
        if (in.up.clearSky) in.up.availability = 100.0;
        return;
    }
    ComputeUplinkPath(rec, p);
    upPathCache_.emplace(key, UplinkPathEntry{rec, upRain});
}

void GeoLinkBudget::CalcDownlinkPath(DownlinkPathLossRecord& rec, double p)
{
    const std::uint64_t key = KeyOf(p);
    if (const auto hit = dnPathCache_.find(key); hit != dnPathCache_.end()) {
        rec = hit->second.record;
        dnRain = hit->second.rain;
        in.antennaNoise = hit->second.antennaNoise;
        if (in.dn.clearSky) in.dn.availability = 100.0;
        return;
    }
    ComputeDownlinkPath(rec, p);
    dnPathCache_.emplace(key, DownlinkPathEntry{rec, dnRain, in.antennaNoise});
}

// ---------------------------------------------------------------------------
// Weather cases

void GeoLinkBudget::SetColumnUplink(LinkCaseResult& c, double eirp, double d1)
{
    const double upLoss = upPath.clearSkyPathLoss;
    const double cpt = in.carriersPerTransponder;
    if (cpt != 0.0) {
        // A fixed carrier count: the per-carrier EIRP does not depend on the fade.
        c[kInputBackoff] = 10.0 * std::log10(cpt) + in.transponderIbo + d1;
        c[kUplinkEirp] = sol.effectiveSfd - c[kInputBackoff] + upLoss + d1 - sol.gain1m2;
    } else {
        c[kUplinkEirp] = eirp;
    }
    c[kUpCNo] = c[kUplinkEirp] - upLoss - d1 + in.gtReceive - kBoltzmannDb;
    if (cpt == 0.0) c[kInputBackoff] = sol.satUpCNo - c[kUpCNo];
}

void GeoLinkBudget::CalcColumn(LinkCaseResult& c, double eirp, double d1, double d2, double d3,
                               double d4)
{
    SetColumnUplink(c, eirp, d1);
    CalcCarrierLink(c, d1, d2, d3, d4, 1);
}

GeoLinkBudget::RateTerms GeoLinkBudget::CurrentRateTerms() const
{
    return {10.0 * std::log10(sol.infoRateWithOverhead * 1e6),
            10.0 * std::log10(sol.infoRateWithOverhead / sol.symbolRate)};
}

double GeoLinkBudget::ColumnMargin(LinkCaseResult& c, const RateTerms& rates, double eirp,
                                   double d1, double d2, double d3, double d4)
{
    SetColumnUplink(c, eirp, d1);
    SetCarrierEntries(c, d1, d2, d3, d4);
    SetEndToEndRatio(c);
    c[kTotalEbNoIo] = c[kTotalCNoIo] - rates.bitRateDb;
    c[kTotalEsNoIo] = c[kTotalEbNoIo] + rates.bitsPerSymbolDb;
    SetMargins(c);
    return c[kExcessMargin];
}

void GeoLinkBudget::CalcColumnAuto(LinkCaseResult& c, double d1, double d2, double d3, double d4,
                                   double requiredCNo)
{
    const double upLoss = upPath.clearSkyPathLoss;
    Bisect(-40.0, sol.eirpForSaturation - in.transponderIbo, [&](double eirp) {
        c[kUplinkEirp] = eirp;
        c[kUpCNo] = eirp - upLoss - d1 + in.gtReceive - kBoltzmannDb;
        c[kInputBackoff] = sol.satUpCNo - c[kUpCNo];
        SetCarrierEntries(c, d1, d2, d3, d4);
        SetEndToEndRatio(c);
        return c[kTotalCNoIo] < requiredCNo;
    });
    // The column is left as at the last trial, whose entries are still in it.
    SetReportedTotals(c);
}

void GeoLinkBudget::CalcCarrierLink(LinkCaseResult& c, double d1, double d2, double d3, double d4,
                                    int mode)
{
    SetCarrierEntries(c, d1, d2, d3, d4);
    SetEndToEndRatio(c);
    SetReportedTotals(c);
    if (mode != 1) return;

    // The same figures in a noise bandwidth.
    const double nbw = sol.noiseBandwidth;
    for (int i = 0; i < 3; ++i) {
        c[kUpCN + i] = c[kUpCNo + i] - nbw;
        c[kHpaCIm + i] = c[kHpaCImo + i] - nbw;
        c[kUpCAci + i] = c[kUpCAcio + i] - nbw;
        c[kUpCXpi + i] = c[kUpCXpio + i] - nbw;
        c[kUpCAsi + i] = c[kUpCAsio + i] - nbw;
        c[kUpCNI + i] = c[kUpCNoIo + i] - nbw;
        c[kUpCI + i] = c[kUpCIo + i] - nbw;
    }
    c[kEirpDensityUp] = c[kUplinkEirp] - upSite.antennaGain - nbw;
    c[kReceiveDensity] =
        c[kSatelliteEirp] - dnPath.clearSkyPathLoss - d2 + dnSite.antennaGain - nbw;
    c[kSatEirpDensity] = c[kSatelliteEirp] - nbw;
    const RateTerms rates = CurrentRateTerms();
    for (int i = 0; i < 3; ++i) {
        c[kUpEbNoIo + i] = c[kUpCNoIo + i] - rates.bitRateDb;
        c[kUpEsNoIo + i] = c[kUpEbNoIo + i] + rates.bitsPerSymbolDb;
    }
    SetMargins(c);
}

void GeoLinkBudget::SetMargins(LinkCaseResult& c) const
{
    c[kNetTarget] = (in.targetEbNo ? c[kTotalEbNoIo] : c[kTotalEsNoIo]) - in.systemMargin -
                    in.implementationLoss;
    c[kExcessMargin] = c[kNetTarget] - in.requiredTarget;
}

void GeoLinkBudget::SetCarrierEntries(LinkCaseResult& c, double d1, double d2, double d3,
                                      double d4)
{
    const double nbw = sol.noiseBandwidth;
    const bool alcActs = d1 != 0.0 && in.alc != 0.0;
    c[kOutputBackoff] = c[kInputBackoff] - (in.transponderIbo - in.transponderObo);
    if (sol.transponderCarriers < 3.0) {
        if (in.oboAuto)
            c[kOutputBackoff] = atm_.OutputBackoff(c[kInputBackoff], sol.transponderCarriers,
                                                   in.transponderType);
        if (in.iboAuto)
            c[kInputBackoff] = atm_.InputBackoffFor(c[kOutputBackoff], sol.transponderCarriers,
                                                    in.transponderType);
    }
    if (alcActs) c[kOutputBackoff] -= std::min(d1, in.alc);

    c[kSatelliteEirp] = in.eirpSaturation - c[kOutputBackoff];
    c[kDownCNo] = c[kSatelliteEirp] - dnPath.clearSkyPathLoss - d2 + dnPath.clearSkyGt -
                  kBoltzmannDb;

    const SiteInputs& u = in.up;
    const SiteInputs& d = in.dn;
    // Uplink interference
    if (u.ciUnits) {
        c[kUpCAcio] = u.csatAci + nbw - d1;
        c[kUpCXpio] = u.csatXpi + nbw - d1;
        c[kHpaCImo] = in.hpaCim + nbw;
    } else {
        c[kUpCAcio] = u.csatAci - c[kInputBackoff];
        c[kUpCXpio] = u.csatXpi - c[kInputBackoff];
        c[kHpaCImo] = in.hpaCim - in.hpaObo - 10.0 * std::log10(in.carriersPerHpa);
    }
    c[kUpCAsio] = (u.ciUnits && u.asiKnownTotal) ? sol.upAsiTotal - d1
                                           : sol.upAsiTotal - c[kInputBackoff];
    // Downlink interference
    if (d.ciUnits) {
        c[kDownCAcio] = d.csatAci + nbw - d1;
        c[kDownCXpio] = d.csatXpi + nbw - d1;
        c[kDownCAsio] = d.asiKnownTotal ? sol.dnAsiTotal - d1 : sol.dnAsiTotal - c[kOutputBackoff];
    } else {
        c[kDownCAcio] = d.csatAci - c[kOutputBackoff];
        c[kDownCXpio] = d.csatXpi - c[kOutputBackoff];
        c[kDownCAsio] = sol.dnAsiTotal - c[kOutputBackoff];
    }
    if (in.xpiColocated) c[kUpCXpio] += d1;
    if (u.depolarization && upPath.xpd != 0.0 && d3 != 0.0)
        c[kUpCXpio] = atm_.CombineCN2(c[kUpCXpio], upPath.xpd + nbw);
    if (d.depolarization && dnPath.xpd != 0.0 && d4 != 0.0)
        c[kDownCXpio] = atm_.CombineCN2(c[kDownCXpio], dnPath.xpd + nbw);
    if (in.cimAuto)
        in.cim = atm_.CarrierToIm(in.transponderIbo, in.transponderType, d.frequency);
    c[kTransponderCImo] = in.cim + nbw;
}

void GeoLinkBudget::SetEndToEndRatio(LinkCaseResult& c)
{
    c[kUpCIo] = atm_.CombineCN4(c[kUpCAcio], c[kUpCAsio], c[kUpCXpio], c[kHpaCImo]);
    c[kDownCIo] = atm_.CombineCN4(c[kDownCAcio], c[kDownCAsio], c[kDownCXpio], c[kTransponderCImo]);
    c[kUpCNoIo] = atm_.CombineCN2(c[kUpCNo], c[kUpCIo]);
    c[kDownCNoIo] = atm_.CombineCN2(c[kDownCNo], c[kDownCIo]);
    c[kTotalCNoIo] = atm_.CombineCN2(c[kUpCNoIo], c[kDownCNoIo]);
}

void GeoLinkBudget::SetReportedTotals(LinkCaseResult& c)
{
    c[kPowerShare] = std::pow(10.0, 0.1 * c[kSatelliteEirp]) /
                     std::pow(10.0, 0.1 * (in.eirpSaturation - in.transponderObo)) * 100.0;
    c[kCarriersByPower] = 100.0 / c[kPowerShare];
    c[kTotalCImo] = atm_.CombineCN2(c[kHpaCImo], c[kTransponderCImo]);
    c[kTotalCAcio] = atm_.CombineCN2(c[kUpCAcio], c[kDownCAcio]);
    c[kTotalCXpio] = atm_.CombineCN2(c[kUpCXpio], c[kDownCXpio]);
    c[kTotalCAsio] = atm_.CombineCN2(c[kUpCAsio], c[kDownCAsio]);
    c[kTotalCIo] = atm_.CombineCN4(c[kTotalCAcio], c[kTotalCAsio], c[kTotalCXpio], c[kTotalCImo]);
    c[kTotalCNo] = atm_.CombineCN2(c[kUpCNo], c[kDownCNo]);
}

// ---------------------------------------------------------------------------
// Adjacent-satellite interference

double GeoLinkBudget::UplinkAsiTotal()
{
    double t[4];
    for (int i = 0; i < 4; ++i)
        t[i] = in.up.asiInclude[i] ? sol.eirpForSaturation - in.up.asiDensity[i] : 1000.0;
    return RoundToDecimals(atm_.CombineCN4(t[0], t[1], t[2], t[3]), 2);
}

double GeoLinkBudget::MispointingAngle(const SiteInputs& s, double gain, unsigned char selector)
{
    return Bisect(0.0, 80.0, [&](double angle) {
        return atm_.OffAxisGain(gain, angle, s.frequency, s.diameter, 1, selector) > gain - s.mispointing;
    });
}

double GeoLinkBudget::OffAxisTowardSatellite(double longitude, bool* computed)
{
    const SiteInputs& s = in.up;
    const double delta = MispointingAngle(s, upSite.antennaGain, 0);
    double decl, range, elev, az, magAz, pol;
    GeoLookAngles(s.latitude, s.longitude, longitude, 0.0, &decl, &range, &elev, &az, &magAz,
                  &pol);
    *computed = elev > 0.0;
    if (!*computed) {
        SetError(kErrAdjacentBelowHorizon);
        return 0.0;
    }
    const double theta = std::max(
        kMinOffAxisAngle,
        GreatCircleAngle(upSite.azimuth, az, upSite.elevation, elev) - delta - 0.111);
    return sol.flangePower +
           atm_.OffAxisGain(upSite.antennaGain, theta, s.frequency, s.diameter, 1, 0) -
           sol.noiseBandwidth;
}

double GeoLinkBudget::DownlinkAsiTotal()
{
    const SiteInputs& s = in.dn;
    const double gain = dnSite.antennaGain;
    const double delta = MispointingAngle(s, gain, 1);
    // Look directions of the adjacent satellites do not change between passes.
    double az[4] = {}, elev[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (!s.asiInclude[i]) continue;
        double decl, range, magAz, pol;
        GeoLookAngles(s.latitude, s.longitude, s.asiLongitude[i], 0.0, &decl, &range, &elev[i],
                      &az[i], &magAz, &pol);
    }
    double worst = 500.0;
    const double offsets[3] = {-delta, 0.0, delta};
    for (double o : offsets) {
        const double wantedGain = o == 0.0 ? gain : gain - s.mispointing;
        double t[4];
        bool belowHorizon = false;
        for (int i = 0; i < 4; ++i) {
            t[i] = 1000.0;
            if (!s.asiInclude[i]) continue;
            if (!(elev[i] > 0.0)) {
                belowHorizon = true;
                continue;
            }
            const double offset =
                LongitudeDifference(in.satLongitude, s.asiLongitude[i]) > 180.0 ? -o : o;
            const double theta = std::max(
                kMinOffAxisAngle,
                GreatCircleAngle(dnSite.azimuth, az[i], dnSite.elevation, elev[i]) + offset -
                    0.111);
            t[i] = (in.eirpSaturation + wantedGain) -
                   (s.asiDensity[i] + atm_.OffAxisGain(gain, theta, s.frequency, s.diameter, 1, 1));
        }
        if (belowHorizon) {
            SetError(kErrAdjacentBelowHorizon);
            return 97.0;
        }
        worst = std::min(worst, atm_.CombineCN4(t[0], t[1], t[2], t[3]));
    }
    return RoundToDecimals(worst, 2);
}

// ---------------------------------------------------------------------------
// Availability searches

namespace {

// The availability (bisected between 40 and 99.99999 %) at which one link
// just closes; the link's path, rain result and availability are left as
// they were.
template <class Path, class Closes>
double SearchLinkAvailability(Path& path, LinkRainResult& rain, double& availability, Closes closes)
{
    const Path kept = path;
    const LinkRainResult keptRain = rain;
    const double keptAvailability = availability;
    const double trial = Bisect(40.0, 99.99999, closes);
    path = kept;
    rain = keptRain;
    availability = keptAvailability;
    return TruncateToDecimals(trial, 4);
}

}  // namespace

double GeoLinkBudget::FindUplinkAvailability(double eirp)
{
    LinkCaseResult scratch{};
    const RateTerms rates = CurrentRateTerms();
    return SearchLinkAvailability(upPath, upRain, in.up.availability, [&](double p) {
        CalcUplinkPath(upPath, p);
        return ColumnMargin(scratch, rates, eirp, upPath.fadeBeyondUpc, 0.0, upPath.rain, 0.0) > 0.0;
    });
}

double GeoLinkBudget::FindDownlinkAvailability(double eirp)
{
    LinkCaseResult scratch{};
    const RateTerms rates = CurrentRateTerms();
    return SearchLinkAvailability(dnPath, dnRain, in.dn.availability, [&](double p) {
        CalcDownlinkPath(dnPath, p);
        return ColumnMargin(scratch, rates, eirp, 0.0, dnPath.degradation, 0.0, dnPath.rain) > 0.0;
    });
}

double GeoLinkBudget::FindJointAvailability(double eirp)
{
    const PathLossRecord keptUp = upPath;
    const DownlinkPathLossRecord keptDn = dnPath;
    const LinkRainResult keptUpRain = upRain, keptDnRain = dnRain;
    const double keptUpAvail = in.up.availability, keptDnAvail = in.dn.availability;
    LinkCaseResult scratch{};
    const RateTerms rates = CurrentRateTerms();
    const double trial = Bisect(40.0, 99.99999, [&](double p) {
        CalcUplinkPath(upPath, p);
        CalcDownlinkPath(dnPath, p);
        // Joint fades close at a margin of exactly zero, single ones above it.
        return ColumnMargin(scratch, rates, eirp, upPath.fadeBeyondUpc, dnPath.degradation,
                            upPath.rain, dnPath.rain) >= 0.0;
    });
    upPath = keptUp;
    dnPath = keptDn;
    upRain = keptUpRain;
    dnRain = keptDnRain;
    in.up.availability = keptUpAvail;
    in.dn.availability = keptDnAvail;
    return TruncateToDecimals(trial, 4);
}

void GeoLinkBudget::SuggestAvailability(double eirp)
{
    double value;
    if (splitSearchSuggestion_.held && splitSearchSuggestion_.eirpKey == KeyOf(eirp)) {
        value = splitSearchSuggestion_.value;
    } else if (in.dualFade) {
        const double joint = FindJointAvailability(eirp);
        value = 0.01 * joint * joint;
    } else {
        const double up = FindUplinkAvailability(eirp);
        const double dn = FindDownlinkAvailability(eirp);
        value = 0.01 * up * dn;
    }
    if (splitSearchSuggestion_.active)
        splitSearchSuggestion_ = {true, true, KeyOf(eirp), value};
    char text[96];
    std::snprintf(text, sizeof text, "Suggested overall availability setting = %.4lf%%", value);
    suggestion = text;
}

double GeoLinkBudget::SearchAvailability(double eirp)
{
    SiteInputs& u = in.up;
    SiteInputs& d = in.dn;
    splitSearchSuggestion_ = {true, false, 0, 0.0};
    if (in.dualFade) {
        const double joint = FindJointAvailability(eirp);
        u.availability = d.availability = joint;
        // The joint search hands back the paths of the starting split; left so,
        // the report would print the downtimes, rain and margins of one
        // availability beside another.  Like the split search below, the paths
        // and columns end at the availability found.
        CalcUplinkPath(upPath, joint);
        CalcDownlinkPath(dnPath, joint);
        SolveAutoBackoff(eirp);
    } else {
        // The other link takes what is left of the overall target; it can never
        // need more than the whole of it, so a link that cannot reach the
        // target leaves the other at 100 % instead of an impossible figure.
        auto rest = [this](double trial) { return std::min(100.0, 100.0 * overallAvailability / trial); };
        auto innerSearch = [&](bool overUplink, double level) {
            Bisect(40.0, 99.99999, [&](double trial) {
                if (overUplink) {
                    u.availability = trial;
                    d.availability = rest(trial);
                } else {
                    d.availability = trial;
                    u.availability = rest(trial);
                }
                CalcUplinkPath(upPath, u.availability);
                CalcDownlinkPath(dnPath, d.availability);
                CalcColumnAuto(rainUp, upPath.fadeBeyondUpc, 0.0, upPath.rain, 0.0, sol.requiredCNo);
                CalcColumnAuto(rainDown, 0.0, dnPath.degradation, 0.0, dnPath.rain, sol.requiredCNo);
                SolveAutoBackoff(std::max(rainUp[kUplinkEirp], rainDown[kUplinkEirp]));
                const double margin = overUplink ? rainUp[kExcessMargin] : rainDown[kExcessMargin];
                return margin >= level;
            });
        };
        double lower = 0.0, upper = eirp, step = 50.0;
        while (step >= outerSearchTolerance) {
            step *= 0.5;
            const double level = 0.5 * (lower + upper);
            const double mu = rainUp[kExcessMargin];
            const double md = rainDown[kExcessMargin];
            if (mu > md) {
                if (mu > level) innerSearch(true, level);
            } else if (md > level) {
                innerSearch(false, level);
            }
            if (std::min(rainUp[kExcessMargin], rainDown[kExcessMargin]) < level)
                upper = level;
            else
                lower = level;
        }
    }
    splitSearchSuggestion_ = {};
    overallAvailability = 0.01 * d.availability * u.availability;
    return eirp;
}

// ---------------------------------------------------------------------------
// Operating point and carrier solution

void GeoLinkBudget::SolveAutoBackoff(double eirp)
{
    if (in.carriersPerTransponder == 0.0 && !in.hpaMin && !in.hpaMinEq) {
        if (in.hpaPower == 0.0) in.hpaPower = 1e-12;
        if (in.hpaMax)
            eirp = sol.eirpForSaturation - in.transponderIbo;
        else
            eirp = 10.0 * std::log10(in.hpaPower) + upSite.antennaGain - in.up.couplingLoss -
                   in.hpaObo - sol.hpaCarriersDb - in.upc;
        if (in.splitAvailability) SuggestAvailability(eirp);
    }
    CalcColumn(clearSky, eirp, 0.0, 0.0, 0.0, 0.0);
    if (in.dualFade) {
        CalcColumn(rainBoth, eirp, upPath.fadeBeyondUpc, dnPath.degradation, upPath.rain,
                   dnPath.rain);
    } else {
        CalcColumn(rainUp, eirp, upPath.fadeBeyondUpc, 0.0, upPath.rain, 0.0);
        CalcColumn(rainDown, eirp, 0.0, dnPath.degradation, 0.0, dnPath.rain);
    }
}

void GeoLinkBudget::Solve()
{
    GeoLinkSolution& s = sol;
    const double log2m = atm_.Log2(in.modulationOrder);
    const double spreading = std::pow(10.0, 0.1 * in.spreadingGain);
    lbcalc::SolveRates(s, in, record, log2m, spreading, frozen, frozenSymbolRate);
    if (frozen) {
        in.hpaPower = frozenHpaPower;
        std::snprintf(record.hpaPower, sizeof record.hpaPower, "%.4lf", frozenHpaPower);
    }
    lbcalc::CarrierBandwidths(s, in);
    s.requiredCNo = lbcalc::RequiredCNo(in, s.infoRateWithOverhead, s.noiseBandwidth);

    s.bandwidthCarriers = in.transponderBandwidth / s.allocatedBandwidth;
    s.maxCarriers = s.transponderCarriers = s.bandwidthCarriers;
    s.bandwidthUsedPct = s.allocatedBandwidth / in.transponderBandwidth * 100.0;

    s.effectiveSfd = in.sfdRef - (in.gtReceive - in.gtRef) + in.fca;
    s.gain1m2 = 10.0 * std::log10(4.0 * kPi / (in.up.wavelength * in.up.wavelength));
    s.satUpCNo = s.effectiveSfd - s.gain1m2 + in.gtReceive - kBoltzmannDb;
    s.satDownCNo =
        in.eirpSaturation - dnPath.clearSkyPathLoss + dnPath.clearSkyGt - kBoltzmannDb;
    s.satTotalCNo = atm_.CombineCN2(s.satUpCNo, s.satDownCNo);
    s.hpaCarriersDb = 10.0 * std::log10(in.carriersPerHpa);
    s.eirpForSaturation = s.effectiveSfd + upPath.clearSkyPathLoss - s.gain1m2;

    if (in.up.asiKnownTotal)
        s.upAsiTotal = in.up.ciUnits ? in.up.csatAsiKnown + s.noiseBandwidth : in.up.csatAsiKnown;
    else
        s.upAsiTotal = UplinkAsiTotal();
    if (in.dn.asiKnownTotal)
        s.dnAsiTotal = in.dn.ciUnits ? in.dn.csatAsiKnown + s.noiseBandwidth : in.dn.csatAsiKnown;
    else
        s.dnAsiTotal = DownlinkAsiTotal();

    const double cpt = in.carriersPerTransponder;
    auto workingEirp = [&] {
        if (in.dualFade) return rainBoth[kUplinkEirp];
        return rainUp[kUplinkEirp] >= rainDown[kUplinkEirp] ? rainUp[kUplinkEirp]
                                                            : rainDown[kUplinkEirp];
    };
    auto autoBackoffs = [&](double carriers) {
        if (in.oboAuto)
            in.transponderObo = atm_.OutputBackoff(in.transponderIbo, carriers, in.transponderType);
        if (in.iboAuto)
            in.transponderIbo =
                atm_.InputBackoffFor(in.transponderObo, carriers, in.transponderType);
    };
    if (cpt != 0.0) {
        autoBackoffs(cpt);
        if (cpt > s.bandwidthCarriers) SetError(kErrTooManyCarriers);
        CalcColumn(clearSky, 0.0, 0.0, 0.0, 0.0, 0.0);
        if (in.dualFade) {
            CalcColumn(rainBoth, 0.0, upPath.fadeBeyondUpc, dnPath.degradation, upPath.rain,
                       dnPath.rain);
        } else {
            CalcColumn(rainUp, 0.0, upPath.fadeBeyondUpc, 0.0, upPath.rain, 0.0);
            CalcColumn(rainDown, 0.0, 0.0, dnPath.degradation, 0.0, dnPath.rain);
        }
        const double working = workingEirp();
        SolveAutoBackoff(working);
        if (in.splitAvailability) SuggestAvailability(SearchAvailability(working));
        s.transponderCarriers = cpt;
    } else {
        autoBackoffs(s.bandwidthCarriers);
        CalcColumnAuto(clearSky, 0.0, 0.0, 0.0, 0.0, s.requiredCNo);
        if (in.dualFade) {
            CalcColumnAuto(rainBoth, upPath.fadeBeyondUpc, dnPath.degradation, upPath.rain,
                           dnPath.rain, s.requiredCNo);
        } else {
            CalcColumnAuto(rainUp, upPath.fadeBeyondUpc, 0.0, upPath.rain, 0.0, s.requiredCNo);
            CalcColumnAuto(rainDown, 0.0, dnPath.degradation, 0.0, dnPath.rain, s.requiredCNo);
        }
        const double working = workingEirp();
        SolveAutoBackoff(working);
        if (in.splitAvailability) SearchAvailability(working);
        s.maxCarriers = s.transponderCarriers = clearSky[kCarriersByPower];
        if (!(s.bandwidthCarriers > s.transponderCarriers)) {
            s.transponderCarriers = s.bandwidthCarriers;
            if (in.hpaMinEq) {
                const double equalShare = s.effectiveSfd - in.transponderIbo -
                                          10.0 * std::log10(s.bandwidthCarriers) +
                                          upPath.clearSkyPathLoss - s.gain1m2;
                SolveAutoBackoff(equalShare);
                if (in.splitAvailability) SuggestAvailability(equalShare);
            }
        }
    }

    if (s.transponderCarriers < 0.999) SetError(kErrTransponderOverused);
    if (s.eirpForSaturation + 0.001 - in.transponderIbo < clearSky[kUplinkEirp])
        SetError(kErrOversaturation);
    if (in.dualFade) {
        if (rainBoth[kExcessMargin] < -0.01) SetError(kErrNegativeMargin);
    } else if (rainUp[kExcessMargin] < -0.01 || rainDown[kExcessMargin] < -0.01) {
        SetError(kErrNegativeMargin);
    }

    s.flangePower = clearSky[kUplinkEirp] - upSite.antennaGain;
    s.totalHpaPower = clearSky[kUplinkEirp] + in.upc - upSite.antennaGain + in.up.couplingLoss +
                      in.hpaObo + s.hpaCarriersDb;
    s.requiredHpaPower = std::pow(10.0, 0.1 * s.totalHpaPower);
    if (!frozen) frozenHpaPower = s.requiredHpaPower;

    s.powerEquivalentBandwidth = 0.01 * clearSky[kPowerShare] * in.transponderBandwidth;
    s.efficiency = s.infoRateWithOverhead /
                   (s.powerEquivalentBandwidth > s.allocatedBandwidth ? s.powerEquivalentBandwidth
                                                                      : s.allocatedBandwidth);

    for (int i = 0; i < 4; ++i) {
        s.offAxisComputed[i] = false;
        s.offAxisDensity[i] = 0.0;
    }
    if (!in.up.asiKnownTotal) {
        for (int i = 0; i < 4; ++i)
            if (in.up.asiInclude[i])
                s.offAxisDensity[i] =
                    OffAxisTowardSatellite(in.up.asiLongitude[i], &s.offAxisComputed[i]);
    }

    if (in.eirpBeamPeak != 0.0) {
        s.beamPeakEirp = 10.0 * std::log10(std::pow(10.0, 0.1 * (in.eirpBeamPeak - in.transponderObo)) *
                                           0.01 * clearSky[kPowerShare]);
        s.beamPeakDensity = s.beamPeakEirp - s.noiseBandwidth;
    } else {
        s.beamPeakEirp = s.beamPeakDensity = 0.0;
    }
}

const char* GeoLinkBudget::LimitedBy() const
{
    return TruncateToDecimals(clearSky[kPowerShare], 2) > sol.bandwidthUsedPct ? "Power"
                                                                              : "Bandwidth";
}

// ---------------------------------------------------------------------------
// Driver

void GeoLinkBudget::FillResultTexts()
{
    ResultTexts& t = texts;
    if (overallAvailability == 100.0)
        WriteText(t.overallTarget, "N/A");
    else
        FormatTruncated(t.overallTarget, overallAvailability, 4);

    FillAvailabilityTexts(t.up, in.up.availability, upPath.worstMonthUnavailability, upPath.worstMonthAvailability,
                          upPath.annualDowntime, upPath.worstMonthDowntime);
    FillAvailabilityTexts(t.down, in.dn.availability, dnPath.worstMonthUnavailability,
                          dnPath.worstMonthAvailability, dnPath.annualDowntime, dnPath.worstMonthDowntime);

    if (in.splitAvailability && in.hpaPower != 0.0) {
        WriteText(t.inputAvailabilityUp, "AUTO");
        WriteText(t.inputAvailabilityDown, "AUTO");
    } else if (in.splitAvailability) {
        WriteText(t.inputAvailabilityUp, t.overallTarget);
        WriteText(t.inputAvailabilityDown, "AUTO");
    } else {
        WriteText(t.inputAvailabilityUp, t.up.availability);
        WriteText(t.inputAvailabilityDown, t.down.availability);
    }
}

GeoLinkBudget::Outcome GeoLinkBudget::Recalculate()
{
    errorCode = 0;
    ParseInputs();
    for (auto [site, derived] : {std::pair{&in.up, &upSite}, std::pair{&in.dn, &dnSite}}) {
        if (geometryEntered) {
            const EnteredGeometry& g = site == &in.up ? upEntered : dnEntered;
            *derived = SiteDerived{};
            derived->elevation = g.elevation;
            derived->slantRange = g.range;
            continue;
        }
        GeoLookAngles(site->latitude, site->longitude, in.satLongitude, 0.0, &derived->declination,
                      &derived->slantRange, &derived->elevation, &derived->azimuth,
                      &derived->compassBearing, &derived->polarizationOffset);
    }
    if (!host_.CheckLowElevation(upSite.elevation)) return Outcome::StoppedLowElevation;
    if (!host_.CheckLowElevation(dnSite.elevation)) return Outcome::StoppedLowElevation;
    CalcDerived();
    Solve();
    FillResultTexts();
    return Outcome::Completed;
}
