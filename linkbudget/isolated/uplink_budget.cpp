#include "linkbudget/isolated/uplink_budget.h"

#include "linkbudget/engine/carrier_rates.h"

#include <cmath>
#include <cstdio>

RgnUplinkBudget::RgnUplinkBudget(LinkAtmosphere& atmosphere, GeoLinkHost& host)
    : atm_(atmosphere), host_(host)
{
    SetUplinkRecordDefaults(record);
}

// ---------------------------------------------------------------------------

void RgnUplinkBudget::ParseInputs()
{
    using lbtext::IsKeyword;
    using lbtext::Number;
    UplinkInputRecord& r = record;
    TerminateUplinkTexts(r);
    RgnUplinkInputs& p = in;
    isolated::ParseCommonInputs(r, p, geo);
    p.hpaCim = Number(r.hpaCim);
    p.hpaObo = Number(r.hpaObo);
    p.powerControl = Number(r.powerControl);
    p.hpaPower = Number(r.hpaPower);
    p.satGt = Number(r.satGt);
    p.hpaMin = IsKeyword(r.hpaPower, "min");
    p.xpiColocated = r.xpiColocated.On();
    // A negative loss is a site-diversity gain taken off the rain.
    p.otherLossesEntered = Number(r.otherLosses);
    if (p.otherLossesEntered < 0.0) {
        p.diversityGain = -p.otherLossesEntered;
        p.otherLosses = 0.0;
    } else {
        p.diversityGain = 0.0;
        p.otherLosses = p.otherLossesEntered;
    }
}

void RgnUplinkBudget::CalcDerived()
{
    if (in.clearSky) in.availability = 100.0;
    isolated::DeriveGeometry(atm_, in, geo);
    geo.antennaGain = isolated::AntennaGain(in, geo.wavelength);
    geo.polarizationTerm = host_.PolarizationTerm(in.latitude, geo.longitudeDifference, in.polarization);
    CalcUplinkPath(in.availability);
}

void RgnUplinkBudget::CalcUplinkPath(double p)
{
    UplinkPathLosses& rec = path;
    lbpath::FillPath(atm_, isolated::PathSiteOf(in, geo), in.diversityGain, p, rec, rain, in.availability);
    rec.clearSkyPathLoss =
        rec.clearSkyAtmospheric + geo.freeSpaceLoss + in.otherLosses + in.mispointing;
    rec.residualFade = rec.fade - in.powerControl;
    if (!(rec.residualFade > 0.0)) rec.residualFade = 0.0;
    rec.powerControlUsed = rec.fade - rec.residualFade;
}

// ---------------------------------------------------------------------------

IsolatedLinkResult RgnUplinkBudget::CalcColumn(double eirp, double fade, double rainDb) const
{
    IsolatedLinkResult c{};
    const double b = sol.noiseBandwidth;
    const double toDensity = in.ciUnits ? b : 0.0;
    c.eirp = eirp;
    c.flangeDensity = eirp - geo.antennaGain - b;
    c.cNo = eirp - path.clearSkyPathLoss - fade + in.satGt - kBoltzmannDb;
    c.cN = c.cNo - b;
    c.cAcio = in.csatAci + toDensity - fade;
    c.cXpio = in.csatXpi + toDensity - fade;
    if (in.xpiColocated) c.cXpio += fade;
    if (in.depolarization && path.xpd != 0.0 && rainDb != 0.0)
        c.cXpio = atm_.CombineCN2(c.cXpio, path.xpd + b);
    c.cAsio = in.csatAsi + toDensity - fade;
    c.cImo = in.hpaCim + toDensity;
    c.cAci = c.cAcio - b;
    c.cAsi = c.cAsio - b;
    c.cXpi = c.cXpio - b;
    c.cIm = c.cImo - b;
    c.cIo = atm_.CombineCN4(c.cAcio, c.cAsio, c.cXpio, c.cImo);
    c.cI = c.cIo - b;
    c.cNoIo = atm_.CombineCN2(c.cNo, c.cIo);
    c.cNI = c.cNoIo - b;
    c.pfd = eirp - geo.spreadingLoss - fade;
    c.ebNoIo = c.cNoIo - 10.0 * std::log10(sol.infoRateWithOverhead * 1e6);
    c.net = (in.targetEbNo ? c.ebNoIo : c.cNI) - in.systemMargin - in.implementationLoss;
    c.excessMargin = c.net - in.requiredTarget;
    return c;
}

IsolatedLinkResult RgnUplinkBudget::CalcColumnAuto(double fade, double rainDb,
                                                   double requiredCNoIo) const
{
    IsolatedLinkResult c{};
    lbcalc::Bisect(
        -40.0, 100.0,
        [&](double eirp) {
            c = CalcColumn(eirp, fade, rainDb);
            return c.cNoIo < requiredCNoIo;
        },
        5e-5);
    return c;
}

void RgnUplinkBudget::Solve()
{
    RgnUplinkRates& s = sol;
    SetError(isolated::SolveCarrier(s, in, record, atm_.Log2(in.modulationOrder), frozen, frozenSymbolRate));
    if (frozen) {
        in.hpaPower = frozenHpaPower;
        in.hpaMin = false;
        std::snprintf(record.hpaPower, sizeof record.hpaPower, "%.4lf", frozenHpaPower);
    }
    s.requiredCNoIo = lbcalc::RequiredCNo(in, s.infoRateWithOverhead, s.noiseBandwidth);

    rainy = CalcColumnAuto(path.residualFade, path.rain, s.requiredCNoIo);
    double eirp = rainy.eirp;
    if (!in.hpaMin) {
        // No power at all is taken as a vanishing one, so that the budget
        // still shows what is missing instead of minus infinity.
        const double watts = in.hpaPower > 0.0 ? in.hpaPower : 1e-12;
        eirp = 10.0 * std::log10(watts) + geo.antennaGain - in.couplingLoss - in.hpaObo -
               in.powerControl;
    }
    clear = CalcColumn(eirp, 0.0, 0.0);
    rainy = CalcColumn(eirp, path.residualFade, path.rain);
    if (rainy.excessMargin < -0.01) SetError(kErrNegativeMargin);

    s.hpaPerCarrier = clear.eirp - geo.antennaGain;
    s.totalHpaPower = s.hpaPerCarrier + in.couplingLoss + in.hpaObo + in.powerControl;
    s.requiredHpaPower = std::pow(10.0, 0.1 * s.totalHpaPower);
    if (!frozen) frozenHpaPower = s.requiredHpaPower;
}

double RgnUplinkBudget::FindUplinkAvailability()
{
    const UplinkPathLosses saved = path;
    const LinkRainResult savedRain = rain;
    const double savedAvailability = in.availability;
    const double eirp = clear.eirp;
    const double found = lbcalc::Bisect(
        40.0, 99.99999,
        [&](double p) {
            CalcUplinkPath(p);
            return CalcColumn(eirp, path.residualFade, path.rain).excessMargin > 0.0;
        },
        1e-5);
    path = saved;
    rain = savedRain;
    in.availability = savedAvailability;
    return TruncateToDecimals(found, 4);
}

RgnUplinkBudget::Outcome RgnUplinkBudget::Recalculate()
{
    errorCode = 0;
    ParseInputs();
    isolated::LookAngles(in, geo);
    if (!host_.CheckLowElevation(geo.elevation)) return Outcome::StoppedLowElevation;
    CalcDerived();
    Solve();
    if (!in.hpaMin) {
        char text[64];
        std::snprintf(text, sizeof text, "Suggested availability setting = %.4lf%%",
                      FindUplinkAvailability());
        suggestion = text;
    }
    isolated::FillTexts(texts, in.availability, path);
    return Outcome::Completed;
}
