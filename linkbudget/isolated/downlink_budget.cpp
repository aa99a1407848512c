#include "linkbudget/isolated/downlink_budget.h"

#include "linkbudget/engine/input_text.h"
#include "linkbudget/engine/carrier_rates.h"
#include "propagation/coordinates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;

float MapArgument(double value)
{
    if (!std::isfinite(value)) return 0.0f;
    return static_cast<float>(std::clamp(value, -1e6, 1e6));
}

template <std::size_t N>
void CopyText(char (&dst)[N], const char* src, std::size_t srcSize)
{
    std::size_t n = 0;
    while (n < srcSize && n < N - 1 && src[n] != '\0') {
        dst[n] = src[n];
        ++n;
    }
    dst[n] = '\0';
}

}  // namespace

RgnDownlinkBudget::RgnDownlinkBudget(LinkAtmosphere& atmosphere, GeoLinkHost& host)
    : atm_(atmosphere), host_(host)
{
    SetDownlinkRecordDefaults(record);
}

void RgnDownlinkBudget::ParseInputs()
{
    using namespace lbtext;
    DownlinkInputRecord& r = record;
    TerminateDownlinkTexts(r);
    RgnDownlinkInputs& p = in;

    CopyText(p.siteName, r.siteName, sizeof r.siteName);
    CopyText(p.polarization, r.polarization, sizeof r.polarization);
    CopyText(p.satName, r.satName, sizeof r.satName);
    CopyText(p.serviceName, r.serviceName, sizeof r.serviceName);
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
    p.otherLosses = Number(r.otherLosses);
    p.lnb = Number(r.lnbNoise);
    p.antennaNoise = Number(r.antennaNoise);
    p.lnbGain = Number(r.lnbGain);
    p.loadImpedance = Number(r.loadImpedance);
    p.csatAci = Number(r.csatAci);
    p.csatAsi = Number(r.csatAsi);
    p.csatXpi = Number(r.csatXpi);
    p.cim = Number(r.cim);
    p.rainRate = Number(r.rainRate);
    p.eirp = Number(r.eirp);
    p.satBandwidth = Number(r.satBandwidth);
    p.range = Number(r.range);
    p.elevation = Number(r.elevation);
    p.longitudeDifference = Number(r.longitudeDifference);
    p.requiredTarget = Number(r.requiredTarget);
    p.rate = Number(r.rate);
    p.overhead = Number(r.overhead);
    p.fecRate = FecRate(r.fecRate);
    p.spreadingGain = Number(r.spreadingGain);
    p.rollOff = Number(r.rollOff);
    p.carrierSpacing = Number(r.carrierSpacing);
    p.allocationStep = Number(r.allocationStep);
    p.implementationLoss = Number(r.implementationLoss);
    p.systemMargin = Number(r.systemMargin);
    p.modulationOrder = Number(r.modulationOrder);

    p.rainSource = 0;
    if (r.ituRate.On()) p.rainSource = 1;
    if (r.ituAuto.On()) p.rainSource = 0;
    if (r.craneTc.On() || r.craneUsa.On()) {
        p.rainSource = 0;
        r.ituAuto.Set(1);
    }
    p.modulation = 1;
    if (r.oneBitPerSymbol.On()) p.modulation = 0;
    if (r.mapsk.On()) p.modulation = 1;
    if (r.mqam.On()) p.modulation = 2;

    p.antennaNoiseAuto = IsKeyword(r.antennaNoise, "auto");
    p.altitudeAuto = IsKeyword(r.altitude, "auto");
    p.gainGiven = r.efficiency[0] == '+' || r.efficiency[0] == '-';
    p.lnbIsTemperature = r.lnbNoise[0] == '+';
    p.targetEbNo = r.targetEbNo.On();
    p.geoMode = r.geo.On();
    p.infoRateGiven = r.infoRate.On();
    p.clearSky = r.clearSky.On();
    p.ciUnits = r.ciUnits.On();
    p.depolarization = r.depolarization.On();

    if (!p.geoMode && r.longitudeDifference[0] == '\0')
        std::snprintf(r.longitudeDifference, sizeof r.longitudeDifference, "0");

    geo.wavelength = Wavelength(p.frequency);
    if (p.gainGiven) {
        const double aperture = kPi * p.diameter;
        p.efficiency = 100.0 * std::pow(10.0, 0.1 * p.efficiency) * geo.wavelength *
                       geo.wavelength / (aperture * aperture);
    }
}

void RgnDownlinkBudget::AntennaGain()
{
    const double aperture = kPi * in.diameter;
    geo.antennaGain = 10.0 * std::log10(aperture * aperture * in.efficiency /
                                        (geo.wavelength * geo.wavelength * 100.0));
    geo.effectiveAperture =
        10.0 * std::log10(0.5 * in.diameter * 0.5 * in.diameter * kPi * in.efficiency * 0.01);
}

void RgnDownlinkBudget::CalcDerived()
{
    const float lat = MapArgument(in.latitude), lon = MapArgument(in.longitude);
    geo.altitude = in.altitudeAuto ? atm_.TopoHeight(lat, lon) : in.altitude;
    geo.surfaceTemperature = atm_.MeanTemperature(lat, lon, MapArgument(geo.altitude));
    if (in.geoMode) {
        geo.longitudeDifference = LongitudeDifference(in.longitude, in.satLongitude);
    } else {
        geo.range = in.range;
        geo.elevation = in.elevation;
        geo.longitudeDifference = in.longitudeDifference;
    }
    const double rangeM = geo.range * 1000.0;
    geo.freeSpaceLoss = 20.0 * std::log10(4.0 * kPi * rangeM / geo.wavelength);
    geo.spreadingLoss = std::fabs(10.0 * std::log10(1.0 / (4.0 * kPi * rangeM * rangeM)));
    AntennaGain();
    geo.polarizationTerm =
        host_.PolarizationTerm(in.latitude, geo.longitudeDifference, in.polarization);
    CalcDownlinkPath(in.availability);
}

void RgnDownlinkBudget::CalcDownlinkPath(double p)
{
    const rgn_detail::PathSite site{in.latitude, in.longitude, in.frequency, in.diameter,
                                    in.efficiency, geo.elevation, geo.altitude,
                                    geo.polarizationTerm, in.rainRate, in.polarization,
                                    in.rainSource, in.clearSky};
    DownlinkPathLosses& rec = path;
    rgn_detail::FillPath(atm_, site, 0.0, p, rec, rain, in.availability);
    if (p > 99.99999) p = 99.99999;
    rec.clearSkyPathLoss =
        rec.clearSkyAtmospheric + geo.freeSpaceLoss + in.otherLosses + in.mispointing;
    rec.lnbTemperature = in.lnbIsTemperature ? in.lnb : (std::pow(10.0, 0.1 * in.lnb) - 1.0) * 290.0;
    if (in.antennaNoiseAuto)
        in.antennaNoise = atm_.AntennaNoise(in.efficiency, geo.surfaceTemperature, rec.gas50);
    rec.clearSkySystemTemp = atm_.SystemNoise(rec.lnbTemperature, in.couplingLoss, in.antennaNoise,
                                              0.0, geo.surfaceTemperature);
    rec.clearSkyGt = geo.antennaGain - in.couplingLoss - 10.0 * std::log10(rec.clearSkySystemTemp);
    // Only absorption adds noise.  The clear-sky loss it is measured from
    // holds the 50 % scintillation, so without the floor a clear sky would
    // make the rain noise smaller than the clear-sky noise.
    const double absorptive =
        std::max(0.0, atm_.Total(rec.gasAtAvailability, rec.rain, rec.cloud, 0.0, p) -
                          rec.clearSkyAtmospheric);
    rec.rainSystemTemp = atm_.SystemNoise(rec.lnbTemperature, in.couplingLoss, in.antennaNoise,
                                          absorptive, geo.surfaceTemperature);
    rec.rainGt = geo.antennaGain - in.couplingLoss - 10.0 * std::log10(rec.rainSystemTemp);
    rec.noiseIncrease = 10.0 * std::log10(rec.rainSystemTemp / rec.clearSkySystemTemp);
    rec.degradation = rec.fade + rec.noiseIncrease;
    rec.degradationCopy = rec.degradation;
}

IsolatedDownlinkResult RgnDownlinkBudget::CalcColumn(double fade, double rainDb) const
{
    IsolatedDownlinkResult c{};
    const double b = sol.noiseBandwidth;
    const double toDensity = in.ciUnits ? b : 0.0;
    const double e = in.eirp;
    c.cNo = e - path.clearSkyPathLoss - fade + path.clearSkyGt - kBoltzmannDb;
    c.cN = c.cNo - b;
    c.pfd = e - geo.spreadingLoss - fade - in.mispointing - in.otherLosses;
    c.carrierPowerDbw = c.pfd + geo.effectiveAperture + in.lnbGain - in.couplingLoss;
    c.carrierPowerDbm = c.carrierPowerDbw + 30.0;
    c.carrierLevelDbuV =
        20.0 * std::log10(std::sqrt(std::pow(10.0, 0.1 * c.carrierPowerDbw) * in.loadImpedance) * 1e6);
    c.carrierLevelDbmV = c.carrierLevelDbuV - 60.0;
    c.cImo = in.cim + b;
    c.cIm = c.cImo - b;
    c.cAcio = in.csatAci + toDensity;
    c.cXpio = in.csatXpi + toDensity;
    if (in.depolarization && path.xpd != 0.0 && rainDb != 0.0)
        c.cXpio = atm_.CombineCN2(c.cXpio, path.xpd + b);
    c.cAsio = in.csatAsi + toDensity;
    c.cAci = c.cAcio - b;
    c.cAsi = c.cAsio - b;
    c.cXpi = c.cXpio - b;
    c.cIo = atm_.CombineCN4(c.cAcio, c.cAsio, c.cXpio, c.cImo);
    c.cI = c.cIo - b;
    c.cNoIo = atm_.CombineCN2(c.cNo, c.cIo);
    c.cNI = c.cNoIo - b;
    c.flangeDensity = e - path.clearSkyPathLoss - fade + geo.antennaGain - b;
    c.satelliteDensity = e - b;
    c.ebNoIo = c.cNoIo - 10.0 * std::log10(sol.infoRateWithOverhead * 1e6);
    c.net = (in.targetEbNo ? c.ebNoIo : c.cNI) - in.systemMargin - in.implementationLoss;
    c.excessMargin = c.net - in.requiredTarget;
    return c;
}

void RgnDownlinkBudget::Solve()
{
    RgnUplinkRates& s = sol;
    const double m = atm_.Log2(in.modulationOrder);
    const double spreading = std::pow(10.0, 0.1 * in.spreadingGain);
    rgn_detail::RatesFromInputs(s, in, m, spreading);
    if (frozen) {
        rgn_detail::RatesFromSymbolRate(s, in, m, spreading, frozenSymbolRate);
        record.infoRate.Set(0);
        record.symbolRate.Set(1);
        in.infoRateGiven = false;
        std::snprintf(record.rate, sizeof record.rate, "%.4lf", frozenSymbolRate);
    } else {
        frozenSymbolRate = s.symbolRate;
    }
    s.occupiedBandwidth = in.rollOff * s.symbolRate;
    s.noiseBandwidth = 10.0 * std::log10(s.symbolRate * 1e6);
    s.allocatedBandwidth = in.carrierSpacing * s.symbolRate;
    if (in.allocationStep != 0.0)
        s.allocatedBandwidth = std::ceil(s.allocatedBandwidth / in.allocationStep) * in.allocationStep;
    if (s.occupiedBandwidth > in.satBandwidth) SetError(kErrBandwidthOverspill);

    clear = CalcColumn(0.0, 0.0);
    rainy = CalcColumn(path.degradationCopy, path.rain);
    if (rainy.excessMargin < -0.01) SetError(kErrNegativeMargin);
}

double RgnDownlinkBudget::FindDownlinkAvailability()
{
    const DownlinkPathLosses saved = path;
    const LinkRainResult savedRain = rain;
    const double savedAvailability = in.availability, savedNoise = in.antennaNoise;
    double lower = 40.0, upper = 99.99999, step = 50.0, mid = lower;
    while (step > 5e-5) {
        mid = 0.5 * (upper + lower);
        step *= 0.5;
        CalcDownlinkPath(mid);
        if (CalcColumn(path.degradationCopy, path.rain).excessMargin > 0.0)
            lower = mid;
        else
            upper = mid;
    }
    path = saved;
    rain = savedRain;
    in.availability = savedAvailability;
    in.antennaNoise = savedNoise;
    return TruncateToDecimals(mid, 4);
}

double RgnDownlinkBudget::FindAntennaSize()
{
    const DownlinkPathLosses saved = path;
    const LinkRainResult savedRain = rain;
    const double savedD = in.diameter, savedGain = geo.antennaGain;
    const double savedAperture = geo.effectiveAperture, savedNoise = in.antennaNoise;
    double small = 0.002, large = 50.0, step = 50.0, d = small;
    while (step > 5e-5) {
        d = 0.5 * (small + large);
        step *= 0.5;
        in.diameter = d;
        AntennaGain();
        CalcDownlinkPath(in.availability);
        if (CalcColumn(path.degradationCopy, path.rain).excessMargin > 0.0)
            large = d;
        else
            small = d;
    }
    path = saved;
    rain = savedRain;
    in.diameter = savedD;
    geo.antennaGain = savedGain;
    geo.effectiveAperture = savedAperture;
    in.antennaNoise = savedNoise;
    return RoundToDecimalsInt(d, 3);
}

void RgnDownlinkBudget::FillResultTexts()
{
    rgn_detail::FillResultTexts(texts, in.availability, path.annualDowntime,
                                path.worstMonthUnavailability, path.worstMonthAvailability,
                                path.worstMonthDowntime);
}

RgnDownlinkBudget::Outcome RgnDownlinkBudget::Recalculate()
{
    errorCode = 0;
    ParseInputs();
    if (in.geoMode) {
        double magneticAzimuth = 0.0;
        GeoLookAngles(in.latitude, in.longitude, in.satLongitude, 0.0, &geo.declination,
                      &geo.range, &geo.elevation, &geo.azimuth, &magneticAzimuth,
                      &geo.polarizationOffset);
        geo.compassBearing = magneticAzimuth;
    } else {
        geo.elevation = in.elevation;
    }
    if (!host_.CheckLowElevation(geo.elevation)) return Outcome::StoppedLowElevation;
    CalcDerived();
    Solve();
    const double availability = FindDownlinkAvailability();
    const double size = FindAntennaSize();
    char text[96];
    std::snprintf(text, sizeof text,
                  "Suggested availability setting = %.4lf%% or antenna size = %.2lfm",
                  availability, size);
    suggestion = text;
    FillResultTexts();
    return Outcome::Completed;
}
