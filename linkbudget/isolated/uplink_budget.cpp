#include "linkbudget/isolated/uplink_budget.h"

#include "linkbudget/engine/input_text.h"
#include "linkbudget/engine/carrier_rates.h"
#include "propagation/coordinates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Map arguments are 32-bit floats; a value a float cannot hold (a damaged
// record) would make the conversion undefined, so it is brought into range.
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

template <std::size_t N>
void WriteText(char (&dst)[N], const char* text)
{
    std::snprintf(dst, N, "%s", text);
}

template <std::size_t N>
void WriteTruncated(char (&dst)[N], double value, int decimals)
{
    char text[20];
    FormatTruncated(text, value, decimals);
    WriteText(dst, text);
}

}  // namespace

RgnUplinkBudget::RgnUplinkBudget(LinkAtmosphere& atmosphere, GeoLinkHost& host)
    : atm_(atmosphere), host_(host)
{
    SetUplinkRecordDefaults(record);
}

// ---------------------------------------------------------------------------

void RgnUplinkBudget::ParseInputs()
{
    using namespace lbtext;
    UplinkInputRecord& r = record;
    TerminateUplinkTexts(r);
    RgnUplinkInputs& p = in;

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
    p.otherLossesEntered = Number(r.otherLosses);
    p.csatAci = Number(r.csatAci);
    p.csatAsi = Number(r.csatAsi);
    p.csatXpi = Number(r.csatXpi);
    p.hpaCim = Number(r.hpaCim);
    p.hpaObo = Number(r.hpaObo);
    p.powerControl = Number(r.powerControl);
    p.hpaPower = Number(r.hpaPower);
    p.rainRate = Number(r.rainRate);
    p.satGt = Number(r.satGt);
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
    // The Crane models are calculated as the ITU-R model with map rain rates.
    if (r.craneTc.On() || r.craneUsa.On()) {
        p.rainSource = 0;
        r.ituAuto.Set(1);
    }

    p.modulation = 1;
    if (r.oneBitPerSymbol.On()) p.modulation = 0;
    if (r.mapsk.On()) p.modulation = 1;
    if (r.mqam.On()) p.modulation = 2;

    // A negative loss is a site-diversity gain taken off the rain.
    if (p.otherLossesEntered < 0.0) {
        p.diversityGain = -p.otherLossesEntered;
        p.otherLosses = 0.0;
    } else {
        p.diversityGain = 0.0;
        p.otherLosses = p.otherLossesEntered;
    }

    p.hpaMin = IsKeyword(r.hpaPower, "min");
    p.altitudeAuto = IsKeyword(r.altitude, "auto");
    p.gainGiven = r.efficiency[0] == '+' || r.efficiency[0] == '-';
    p.targetEbNo = r.targetEbNo.On();
    p.geoMode = r.geo.On();
    p.infoRateGiven = r.infoRate.On();
    p.clearSky = r.clearSky.On();
    p.ciUnits = r.ciUnits.On();
    p.depolarization = r.depolarization.On();
    p.xpiColocated = r.xpiColocated.On();

    if (!p.geoMode && r.longitudeDifference[0] == '\0') WriteText(r.longitudeDifference, "0");

    geo.wavelength = Wavelength(p.frequency);
    if (p.gainGiven) {
        const double aperture = kPi * p.diameter;
        p.efficiency = 100.0 * std::pow(10.0, 0.1 * p.efficiency) * geo.wavelength *
                       geo.wavelength / (aperture * aperture);
    }
}

void RgnUplinkBudget::CalcDerived()
{
    if (in.clearSky) in.availability = 100.0;
    geo.altitude = in.altitudeAuto
                       ? atm_.TopoHeight(MapArgument(in.latitude), MapArgument(in.longitude))
                       : in.altitude;
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
    const double aperture = kPi * in.diameter;
    geo.antennaGain = 10.0 * std::log10(aperture * aperture * in.efficiency /
                                        (geo.wavelength * geo.wavelength * 100.0));
    geo.polarizationTerm =
        host_.PolarizationTerm(in.latitude, geo.longitudeDifference, in.polarization);
    CalcUplinkPath(in.availability);
}

void RgnUplinkBudget::CalcUplinkPath(double p)
{
    const rgn_detail::PathSite site{in.latitude, in.longitude, in.frequency, in.diameter,
                                    in.efficiency, geo.elevation, geo.altitude,
                                    geo.polarizationTerm, in.rainRate, in.polarization,
                                    in.rainSource, in.clearSky};
    UplinkPathLosses& rec = path;
    rgn_detail::FillPath(atm_, site, in.diversityGain, p, rec, rain, in.availability);
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
    double lower = -40.0, upper = 100.0, step = 50.0;
    IsolatedLinkResult c{};
    while (step > 5e-5) {
        const double eirp = 0.5 * (upper + lower);
        step *= 0.5;
        c = CalcColumn(eirp, fade, rainDb);
        if (c.cNoIo < requiredCNoIo)
            lower = eirp;
        else
            upper = eirp;
    }
    return c;
}

void RgnUplinkBudget::Solve()
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
        in.hpaPower = frozenHpaPower;
        in.hpaMin = false;
        std::snprintf(record.hpaPower, sizeof record.hpaPower, "%.4lf", frozenHpaPower);
    } else {
        frozenSymbolRate = s.symbolRate;
    }

    s.occupiedBandwidth = in.rollOff * s.symbolRate;
    s.noiseBandwidth = 10.0 * std::log10(s.symbolRate * 1e6);
    s.allocatedBandwidth = in.carrierSpacing * s.symbolRate;
    if (in.allocationStep != 0.0)
        s.allocatedBandwidth = std::ceil(s.allocatedBandwidth / in.allocationStep) * in.allocationStep;
    if (s.occupiedBandwidth > in.satBandwidth) SetError(kErrBandwidthOverspill);

    s.requiredCNoIo = (in.targetEbNo ? in.requiredTarget + 10.0 * std::log10(s.infoRateWithOverhead * 1e6)
                                     : in.requiredTarget + s.noiseBandwidth) +
                      in.systemMargin + in.implementationLoss;

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
    double lower = 40.0, upper = 99.99999, step = 50.0, mid = lower;
    while (step > 1e-5) {
        mid = 0.5 * (upper + lower);
        step *= 0.5;
        CalcUplinkPath(mid);
        if (CalcColumn(eirp, path.residualFade, path.rain).excessMargin > 0.0)
            lower = mid;
        else
            upper = mid;
    }
    path = saved;
    rain = savedRain;
    in.availability = savedAvailability;
    return TruncateToDecimals(mid, 4);
}

void rgn_detail::FillResultTexts(RgnUplinkBudget::ResultTexts& t, double availability,
                                 double annualDowntime, double worstMonthUnavailability,
                                 double worstMonthAvailability, double worstMonthDowntime)
{
    if (availability == 100.0) {
        WriteText(t.availability, "N/A");
        WriteText(t.annualDowntime, "N/A");
        WriteText(t.worstAvailability, "N/A");
        WriteText(t.worstDowntime, "N/A");
    } else {
        WriteTruncated(t.availability, availability, 4);
        WriteTruncated(t.annualDowntime, annualDowntime, 3);
        if (worstMonthUnavailability > 0.0) {
            WriteTruncated(t.worstAvailability, worstMonthAvailability, 4);
            WriteTruncated(t.worstDowntime, worstMonthDowntime, 3);
        } else {
            WriteText(t.worstAvailability, "N/A");
            WriteText(t.worstDowntime, "N/A");
        }
    }
    WriteText(t.inputAvailability, t.availability);
}

void RgnUplinkBudget::FillResultTexts()
{
    rgn_detail::FillResultTexts(texts, in.availability, path.annualDowntime,
                                path.worstMonthUnavailability, path.worstMonthAvailability,
                                path.worstMonthDowntime);
}

RgnUplinkBudget::Outcome RgnUplinkBudget::Recalculate()
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
    if (!in.hpaMin) {
        char text[64];
        std::snprintf(text, sizeof text, "Suggested availability setting = %.4lf%%",
                      FindUplinkAvailability());
        suggestion = text;
    }
    FillResultTexts();
    return Outcome::Completed;
}
