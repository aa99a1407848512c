#include "linkbudget/isolated/downlink_budget.h"

#include "linkbudget/engine/carrier_rates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

RgnDownlinkBudget::RgnDownlinkBudget(LinkAtmosphere& atmosphere, GeoLinkHost& host)
    : atm_(atmosphere), host_(host)
{
    SetDownlinkRecordDefaults(record);
}

void RgnDownlinkBudget::ParseInputs()
{
    using lbtext::IsKeyword;
    using lbtext::Number;
    DownlinkInputRecord& r = record;
    TerminateDownlinkTexts(r);
    RgnDownlinkInputs& p = in;
    isolated::ParseCommonInputs(r, p, geo);
    p.otherLosses = Number(r.otherLosses);
    p.lnb = Number(r.lnbNoise);
    p.antennaNoise = Number(r.antennaNoise);
    p.lnbGain = Number(r.lnbGain);
    p.loadImpedance = Number(r.loadImpedance);
    p.cim = Number(r.cim);
    p.eirp = Number(r.eirp);
    p.antennaNoiseAuto = IsKeyword(r.antennaNoise, "auto");
    p.lnbIsTemperature = r.lnbNoise[0] == '+';
}

void RgnDownlinkBudget::AntennaGain()
{
    geo.antennaGain = isolated::AntennaGain(in, geo.wavelength);
    geo.effectiveAperture =
        10.0 * std::log10(0.5 * in.diameter * 0.5 * in.diameter * lbcalc::kPi * in.efficiency * 0.01);
}

void RgnDownlinkBudget::CalcDerived()
{
    isolated::DeriveGeometry(atm_, in, geo);
    geo.surfaceTemperature = atm_.MeanTemperature(lbcalc::MapArgument(in.latitude), lbcalc::MapArgument(in.longitude),
                                                  lbcalc::MapArgument(geo.altitude));
    AntennaGain();
    geo.polarizationTerm = host_.PolarizationTerm(in.latitude, geo.longitudeDifference, in.polarization);
    CalcDownlinkPath(in.availability);
}

void RgnDownlinkBudget::CalcDownlinkPath(double p)
{
    DownlinkPathLosses& rec = path;
    lbpath::FillPath(atm_, isolated::PathSiteOf(in, geo), 0.0, p, rec, rain, in.availability);
    if (p > 99.99999) p = 99.99999;
    rec.clearSkyPathLoss = rec.clearSkyAtmospheric + geo.freeSpaceLoss + in.otherLosses + in.mispointing;
    const lbpath::ReceiveSite receiver{in.lnb, in.lnbIsTemperature, in.couplingLoss, in.efficiency, geo.antennaGain,
                                       geo.surfaceTemperature};
    lbpath::FillReceiveNoise(atm_, receiver, p, in.antennaNoiseAuto, in.antennaNoise, rec);
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
    SetError(isolated::SolveCarrier(sol, in, record, atm_.Log2(in.modulationOrder), frozen, frozenSymbolRate));
    clear = CalcColumn(0.0, 0.0);
    rainy = CalcColumn(path.degradationCopy, path.rain);
    if (rainy.excessMargin < -0.01) SetError(kErrNegativeMargin);
}

double RgnDownlinkBudget::FindDownlinkAvailability()
{
    const DownlinkPathLosses saved = path;
    const LinkRainResult savedRain = rain;
    const double savedAvailability = in.availability, savedNoise = in.antennaNoise;
    const double found = lbcalc::Bisect(
        40.0, 99.99999,
        [&](double p) {
            CalcDownlinkPath(p);
            return CalcColumn(path.degradationCopy, path.rain).excessMargin > 0.0;
        },
        5e-5);
    path = saved;
    rain = savedRain;
    in.availability = savedAvailability;
    in.antennaNoise = savedNoise;
    return TruncateToDecimals(found, 4);
}

double RgnDownlinkBudget::FindAntennaSize()
{
    const DownlinkPathLosses saved = path;
    const LinkRainResult savedRain = rain;
    const double savedD = in.diameter, savedGain = geo.antennaGain;
    const double savedAperture = geo.effectiveAperture, savedNoise = in.antennaNoise;
    // The smallest dish that still closes the link in rain.
    const double d = lbcalc::Bisect(
        0.002, 50.0,
        [&](double diameter) {
            in.diameter = diameter;
            AntennaGain();
            CalcDownlinkPath(in.availability);
            return !(CalcColumn(path.degradationCopy, path.rain).excessMargin > 0.0);
        },
        5e-5);
    path = saved;
    rain = savedRain;
    in.diameter = savedD;
    geo.antennaGain = savedGain;
    geo.effectiveAperture = savedAperture;
    in.antennaNoise = savedNoise;
    return RoundToDecimalsInt(d, 3);
}

RgnDownlinkBudget::Outcome RgnDownlinkBudget::Recalculate()
{
    errorCode = 0;
    ParseInputs();
    isolated::LookAngles(in, geo);
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
    isolated::FillTexts(texts, in.availability, path);
    return Outcome::Completed;
}
