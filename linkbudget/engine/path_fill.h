// The propagation terms of one earth station's path at an availability, as
// every budget computes them: gases and scintillation at 50 % and at the
// availability, cloud, rain (less any site-diversity gain), XPD, the total
// attenuation and the fade, with the worst-month figures of ITU-R P.841; and
// for a receiving station its noise and the downlink degradation.
#pragma once

#include "propagation/link_atmosphere.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lbpath {

struct PathSite {
    double latitude, longitude, frequency, diameter, efficiency, elevation, altitude;
    double polarizationTerm, rainRate;
    const char* polarization;
    int rainSource;
    bool clearSky;
};

// The shared values of a path record (every budget's records name them
// alike) at availability p; the rain less `diversityGain`, never below 0.  A
// clear sky sets `availability` to 100.
template <class PathRecord>
void FillPath(LinkAtmosphere& atm, const PathSite& s, double diversityGain, double p,
              PathRecord& rec, LinkRainResult& rain, double& availability)
{
    rec = PathRecord{};
    const double lat = s.latitude, lon = s.longitude, f = s.frequency;
    const double elev = s.elevation, h = s.altitude;
    rec.gas50 = atm.Gaseous(lat, lon, f, elev, h, 50.0);
    rec.scintillation50 = atm.Scintillation(lat, lon, s.diameter, s.efficiency, elev, f, 50.0, h);
    if (s.clearSky) {
        rec.worstMonthAvailability = 100.0;
        availability = 100.0;
        rec.gasAtAvailability = rec.gas50;
        rec.scintillationAtAvailability = rec.scintillation50;
        rain = LinkRainResult{};
        std::snprintf(rain.rainRateText, sizeof rain.rainRateText, "0");
        std::snprintf(rain.modelName, sizeof rain.modelName, "Clear sky");
    } else {
        if (p > 99.99999) p = 99.99999;
        rec.worstMonthUnavailability = std::pow((100.0 - p) * 3.3333333333333335, 0.87);
        rec.worstMonthAvailability = 100.0 - rec.worstMonthUnavailability;
        rec.annualDowntime = (100.0 - p) * 8766.0 * 0.01;
        if (rec.worstMonthUnavailability > 0.00019 && rec.worstMonthUnavailability < 7.8)
            rec.worstMonthDowntime = 0.01 * rec.worstMonthUnavailability * 730.5;
        else
            rec.worstMonthUnavailability = -1.0;
        rec.gasAtAvailability = atm.Gaseous(lat, lon, f, elev, h, p);
        rec.scintillationAtAvailability =
            atm.Scintillation(lat, lon, s.diameter, s.efficiency, elev, f, p, h);
        rec.cloud = atm.Cloud(lat, lon, elev, f, p, h);
        rain = atm.Rain(lat, lon, s.polarizationTerm, h, elev, f, s.polarization, s.rainSource,
                        s.rainRate, p);
        rec.rain = std::max(0.0, rain.attenuation - diversityGain);
    }
    rec.xpd = atm.RainXpd(f, lat, s.polarizationTerm, elev, p, rec.rain, s.polarization);
    rec.clearSkyAtmospheric = rec.gas50 + rec.scintillation50;
    rec.totalAttenuation =
        atm.Total(rec.gasAtAvailability, rec.rain, rec.cloud, rec.scintillationAtAvailability, p);
    rec.fade = rec.totalAttenuation - rec.clearSkyAtmospheric;
}

// What the receiving station's noise needs besides its path record.
struct ReceiveSite {
    double lnb;                  // LNB noise figure dB, or its temperature K
    bool lnbIsTemperature;
    double couplingLossDb, efficiencyPct, antennaGainDbi, surfaceTempK;
};

// The noise terms of a receiving station's path record whose propagation
// terms are filled, at availability p: LNB and system noise temperatures,
// G/T in clear sky and in rain, the noise increase and the downlink
// degradation.  An antenna noise of AUTO (`antennaNoiseAuto`) is computed
// into `antennaNoise` from the gas at 50 %.
template <class PathRecord>
void FillReceiveNoise(LinkAtmosphere& atm, const ReceiveSite& s, double p, bool antennaNoiseAuto,
                      double& antennaNoise, PathRecord& rec)
{
    rec.lnbTemperature = s.lnbIsTemperature ? s.lnb : 290.0 * (std::pow(10.0, 0.1 * s.lnb) - 1.0);
    if (antennaNoiseAuto) antennaNoise = atm.AntennaNoise(s.efficiencyPct, s.surfaceTempK, rec.gas50);
    rec.clearSkySystemTemp = atm.SystemNoise(rec.lnbTemperature, s.couplingLossDb, antennaNoise, 0.0, s.surfaceTempK);
    rec.clearSkyGt = s.antennaGainDbi - s.couplingLossDb - 10.0 * std::log10(rec.clearSkySystemTemp);
    // Only absorption adds noise: scintillation is left out of the total, and
    // the clear-sky loss it is compared with holds the 50 % scintillation, so
    // in a clear sky the difference would fall below zero and make the rain
    // noise smaller than the clear-sky noise.
    const double absorptive =
        std::max(0.0, atm.Total(rec.gasAtAvailability, rec.rain, rec.cloud, 0.0, p) - rec.clearSkyAtmospheric);
    rec.rainSystemTemp = atm.SystemNoise(rec.lnbTemperature, s.couplingLossDb, antennaNoise, absorptive, s.surfaceTempK);
    rec.rainGt = s.antennaGainDbi - s.couplingLossDb - 10.0 * std::log10(rec.rainSystemTemp);
    rec.noiseIncrease = 10.0 * std::log10(rec.rainSystemTemp / rec.clearSkySystemTemp);
    rec.degradation = rec.fade + rec.noiseIncrease;
    rec.degradationCopy = rec.degradation;
}

}  // namespace lbpath
