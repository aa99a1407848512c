// Test doubles for the budget engine: an atmosphere whose losses are set by
// the test (zero by default) with textbook noise and power-sum formulas, and
// a host that records the elevation messages instead of showing them.
#pragma once

#include "linkbudget/geo/geo_budget.h"
#include "linkbudget/nongeo/nongeo_record.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

class FixedAtmosphere : public LinkAtmosphere {
public:
    // Losses the test sets; each is returned whatever the availability,
    // except rain and cloud, which fall to zero at 50 %.
    double gas = 0.0, scintillation = 0.0, cloud = 0.0, rain = 0.0, xpd = 0.0;
    double topoHeight = 0.0, meanTemperature = 290.0;
    // Rain attenuation as a function of availability, when set.
    double (*rainAt)(double availability) = nullptr;
    int rainCalls = 0;

    double TopoHeight(float, float) override { return topoHeight; }
    double MeanTemperature(float, float, float) override { return meanTemperature; }
    double Gaseous(double, double, double, double, double, double) override { return gas; }
    double Scintillation(double, double, double, double, double, double, double, double) override
    {
        return scintillation;
    }
    double Cloud(double, double, double, double, double availability, double) override
    {
        return availability > 50.0 ? cloud : 0.0;
    }
    LinkRainResult Rain(double, double, double, double, double, double, const char*, int,
                        double rate, double availability) override
    {
        ++rainCalls;
        LinkRainResult r;
        r.attenuation = rainAt != nullptr ? rainAt(availability) : rain;
        std::snprintf(r.rainRateText, sizeof r.rainRateText, "%.3lf", rate);
        std::snprintf(r.modelName, sizeof r.modelName, "ITU-R");
        return r;
    }
    double RainXpd(double, double, double, double, double, double attenuation, const char*) override
    {
        return attenuation == 0.0 ? 0.0 : xpd;
    }
    // Losses in series, the way a textbook adds them.
    double Total(double g, double r, double c, double s, double) override { return g + r + c + s; }
    // Sky noise of an absorbing layer at 0.81 Ts + 37.34 K over a cold sky of 0 K.
    double Sky(double a, double ts) { return (1.0 - std::pow(10.0, -a / 10.0)) * (0.81 * ts + 37.34); }
    double AntennaNoise(double eff, double ts, double a) override
    {
        return Sky(a, ts) + (1.0 - 0.01 * eff) * 90.0;
    }
    double SystemNoise(double trx, double lf, double ta, double a, double ts) override
    {
        const double l = std::pow(10.0, -lf / 10.0);
        return (1.0 - l) * 290.0 + trx + l * (ta + Sky(a, ts));
    }
    // A plain envelope: 29 - 25 log10(angle) outside the main lobe.
    double OffAxisGain(double gmax, double angle, double, double, unsigned char, unsigned char) override
    {
        const double side = 29.0 - 25.0 * std::log10(angle);
        const double lobe = gmax - 12.0 * angle * angle;
        return std::max(std::min(gmax, std::max(lobe, side)), -10.0);
    }
    double OutputBackoff(double ibo, double carriers, int) override
    {
        return carriers < 2.0 ? 0.5 * ibo : 0.5 * ibo + 1.0;
    }
    double InputBackoffFor(double obo, double carriers, int) override
    {
        return carriers < 2.0 ? 2.0 * obo : 2.0 * (obo - 1.0);
    }
    double CarrierToIm(double ibo, int, double) override { return 10.0 + ibo; }
    double CombineCN2(double a, double b) override
    {
        double s = std::pow(10.0, -a / 10.0) + std::pow(10.0, -b / 10.0);
        return -10.0 * std::log10(s > 0.0 ? s : 1e-12);
    }
    double CombineCN4(double a, double b, double c, double d) override
    {
        double s = std::pow(10.0, -a / 10.0) + std::pow(10.0, -b / 10.0) +
                   std::pow(10.0, -c / 10.0) + std::pow(10.0, -d / 10.0);
        return -10.0 * std::log10(s > 0.0 ? s : 1e-12);
    }
    double Log2(double x) override { return std::log(x) / std::log(2.0); }
};

class RecordingHost : public GeoLinkHost {
public:
    std::vector<double> checkedElevations;
    std::vector<std::string> messages;
    double PolarizationTerm(double, double, const char* pol) override
    {
        return pol[0] == 'C' ? 0.7853981633974483 : pol[0] == 'V' ? 1.5707963267948966 : 0.0;
    }
    bool CheckLowElevation(double elevation) override
    {
        checkedElevations.push_back(elevation);
        if (elevation < 3.0) {
            messages.push_back("ERROR: Elevation < 3 degrees (some atmospheric models are invalid)");
            return false;
        }
        if (elevation < 5.0)
            messages.push_back(
                "Warning: Elevation < 5 degrees (some atmospheric model results may be invalid)");
        return true;
    }
};

template <std::size_t N>
inline void SetText(char (&field)[N], const char* text)
{
    std::snprintf(field, N, "%s", text);
}

// A clear-sky Ku-band budget whose every figure can be checked by hand: a
// 2.4 m uplink at 40N 0E, a 1.2 m downlink at 50N 20E, a satellite at 10E,
// one carrier with both back-offs given and every interference entry at
// 300 dB-Hz so that only thermal noise counts.
inline void FillHandBudget(GeoLinkInputRecord& r)
{
    SetGeoLinkRecordDefaults(r);
    SetText(r.upLatitude, "40.00N");
    SetText(r.upLongitude, "0.00E");
    SetText(r.upAltitude, "0.1");
    SetText(r.upFrequency, "14");
    SetText(r.upPolarization, "V");
    SetText(r.upAvailability, "99.9");
    SetText(r.upDiameter, "2.4");
    SetText(r.upEfficiency, "65");
    SetText(r.upCouplingLoss, "1");
    SetText(r.upMispointing, "0");
    SetText(r.upOtherLosses, "0");
    SetText(r.upCsatAci, "300");
    SetText(r.upCsatXpi, "300");
    SetText(r.hpaObo, "3");
    SetText(r.carriersPerHpa, "1");
    SetText(r.hpaCim, "300");
    SetText(r.upc, "0");
    SetText(r.hpaPower, "MIN");
    r.upAsiKnownTotal.Set(1);
    SetText(r.upCsatAsi, "300");
    SetText(r.dnLatitude, "50.00N");
    SetText(r.dnLongitude, "20.00E");
    SetText(r.dnAltitude, "0.1");
    SetText(r.dnFrequency, "12");
    SetText(r.dnPolarization, "H");
    SetText(r.dnAvailability, "99.9");
    SetText(r.dnDiameter, "1.2");
    SetText(r.dnEfficiency, "65");
    SetText(r.dnCouplingLoss, "0");
    SetText(r.dnMispointing, "0");
    SetText(r.dnOtherLosses, "0");
    SetText(r.lnbNoise, "+50");
    SetText(r.antennaNoise, "30");
    SetText(r.dnCsatAci, "300");
    SetText(r.dnCsatXpi, "300");
    r.dnAsiKnownTotal.Set(1);
    SetText(r.dnCsatAsi, "300");
    r.upItuAuto.Set(0);
    r.upClearSky.Set(1);
    r.dnItuAuto.Set(0);
    r.dnClearSky.Set(1);
    SetText(r.satLongitude, "10.00E");
    SetText(r.gtRef, "0");
    SetText(r.sfdRef, "-90");
    SetText(r.gtReceive, "0");
    SetText(r.fca, "0");
    SetText(r.alc, "0");
    SetText(r.eirpSaturation, "50");
    SetText(r.transponderBandwidth, "36");
    SetText(r.transponderIbo, "6");
    SetText(r.transponderObo, "3");
    SetText(r.cim, "300");
    SetText(r.carriersPerTransponder, "1");
    SetText(r.requiredTarget, "4.5");
    SetText(r.rate, "10");
    SetText(r.overhead, "0");
    SetText(r.fecRate, "3/4");
    SetText(r.spreadingGain, "0");
    SetText(r.rollOff, "1.35");
    SetText(r.carrierSpacing, "1.4");
    SetText(r.allocationStep, "0");
    SetText(r.implementationLoss, "0");
    SetText(r.systemMargin, "0");
    SetText(r.modulationOrder, "4");
}

#define ORBISCOPE_COMMON_TEXTS(X)                                                                           \
    X(upSiteName) X(upLatitude) X(upLongitude) X(upAltitude) X(upFrequency) X(upPolarization)                \
    X(upAvailability) X(upDiameter) X(upEfficiency) X(upCouplingLoss) X(upMispointing) X(upOtherLosses)      \
    X(upCsatAci) X(upCsatAsi) X(upCsatXpi) X(hpaObo) X(carriersPerHpa) X(hpaCim) X(upc) X(hpaPower)         \
    X(dnSiteName) X(dnLatitude) X(dnLongitude) X(dnAltitude) X(dnFrequency) X(dnPolarization)                \
    X(dnAvailability) X(dnDiameter) X(dnEfficiency) X(dnCouplingLoss) X(dnMispointing) X(dnOtherLosses)      \
    X(lnbNoise) X(antennaNoise) X(dnCsatAci) X(dnCsatAsi) X(dnCsatXpi) X(dualFade) X(upItuAuto)              \
    X(upCraneTc) X(upCraneUsa) X(upClearSky) X(upItuRate) X(upRainRate) X(upDepolarization) X(xpiColocated)  \
    X(dnItuAuto) X(dnCraneTc) X(dnCraneUsa) X(dnClearSky) X(dnItuRate) X(dnRainRate) X(dnDepolarization)     \
    X(satName) X(gtRef) X(sfdRef) X(gtReceive) X(fca) X(alc) X(eirpSaturation) X(eirpBeamPeak)               \
    X(transponderBandwidth) X(transponderIbo) X(transponderObo) X(cim) X(carriersPerTransponder)             \
    X(serviceName) X(coverage) X(requiredTarget) X(rate) X(overhead) X(fecRate) X(spreadingGain) X(rollOff)  \
    X(carrierSpacing) X(allocationStep) X(implementationLoss) X(systemMargin) X(oneBitPerSymbol) X(mapsk)    \
    X(mqam) X(modulationOrder) X(twta) X(ltwta) X(sspa) X(targetEbNo) X(targetEsNo) X(infoRate)              \
    X(symbolRate) X(modcodText) X(upCsatIoUnits) X(upCiUnits) X(dnCsatIoUnits) X(dnCiUnits)

// The non-GEO record of a GEO one: every field of the same name (a GEO
// budget whose interference totals are known).
inline NonGeoLinkInputRecord NonGeoFromGeo(const GeoLinkInputRecord& g)
{
    NonGeoLinkInputRecord n;
    SetNonGeoLinkRecordDefaults(n);
#define COPY(f) static_assert(sizeof n.f == sizeof g.f); std::memcpy(&n.f, &g.f, sizeof n.f);
    ORBISCOPE_COMMON_TEXTS(COPY)
#undef COPY
    return n;
}
