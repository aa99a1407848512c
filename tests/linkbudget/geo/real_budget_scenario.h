// A Ku-band budget over real maps: London up, a transponder at 10E, Madrid
// down, ITU-R rain on both links, the overall availability split between the
// links by the search.  Shared by the end-to-end test and the benchmark.
#pragma once

#include "linkbudget/geo/geo_budget.h"

#include <cstdio>

namespace scenario {

template <std::size_t N>
inline void Put(char (&field)[N], const char* text)
{
    std::snprintf(field, N, "%s", text);
}

// hpaPower "MIN" sizes the amplifier for the carrier; a number in watts with
// carriers AUTO makes every re-solve of the split search run the suggestion
// searches as well, the slowest road through the budget.
inline void FillLondonMadrid(GeoLinkInputRecord& r, const char* hpaPower = "MIN")
{
    SetGeoLinkRecordDefaults(r);
    Put(r.upSiteName, "London");
    Put(r.upLatitude, "51.51N");
    Put(r.upLongitude, "0.13W");
    Put(r.upFrequency, "14.25");
    Put(r.upPolarization, "V");
    Put(r.upAvailability, "99.7");
    Put(r.upDiameter, "2.4");
    Put(r.upEfficiency, "65");
    Put(r.upCouplingLoss, "0.5");
    Put(r.upMispointing, "0.3");
    Put(r.upOtherLosses, "0.2");
    Put(r.upCsatAci, "100");
    Put(r.upCsatXpi, "95");
    Put(r.hpaObo, "3");
    Put(r.hpaCim, "100");
    Put(r.upc, "3");
    Put(r.hpaPower, hpaPower);
    Put(r.upAsiDensity[0], "-48");
    Put(r.upAsiDensity[1], "-48");
    Put(r.upAsiLongitude[0], "7.0E");
    Put(r.upAsiLongitude[1], "13.0E");
    r.upAsiInclude[0].Set(1);
    Put(r.dnSiteName, "Madrid");
    Put(r.dnLatitude, "40.42N");
    Put(r.dnLongitude, "3.70W");
    Put(r.dnFrequency, "11.7");
    Put(r.dnPolarization, "H");
    Put(r.dnDiameter, "1.2");
    Put(r.dnEfficiency, "65");
    Put(r.dnCouplingLoss, "0.2");
    Put(r.dnMispointing, "0.3");
    Put(r.dnOtherLosses, "0");
    Put(r.lnbNoise, "0.8");
    Put(r.dnCsatAci, "100");
    Put(r.dnCsatXpi, "95");
    Put(r.dnAsiDensity[0], "-25");
    Put(r.dnAsiDensity[1], "-25");
    Put(r.dnAsiLongitude[0], "7.0E");
    Put(r.dnAsiLongitude[1], "13.0E");
    r.dnAsiInclude[0].Set(1);
    Put(r.satName, "Ku 10E");
    Put(r.satLongitude, "10.0E");
    Put(r.gtRef, "3");
    Put(r.sfdRef, "-88");
    Put(r.gtReceive, "3");
    Put(r.fca, "0");
    Put(r.alc, "0");
    Put(r.eirpSaturation, "51");
    Put(r.eirpBeamPeak, "52");
    Put(r.transponderBandwidth, "36");
    Put(r.transponderIbo, "6");
    Put(r.serviceName, "Contribution");
    Put(r.coverage, "Europe");
    Put(r.requiredTarget, "4.5");
    Put(r.rate, "5");
    Put(r.overhead, "0");
    Put(r.fecRate, "3/4");
    Put(r.rollOff, "1.35");
    Put(r.carrierSpacing, "1.4");
    Put(r.allocationStep, "0");
    Put(r.implementationLoss, "0.5");
    Put(r.systemMargin, "1");
}

// The elevation messages go nowhere; the tilt follows the letter.
class QuietHost final : public GeoLinkHost {
public:
    double PolarizationTerm(double, double, const char* pol) override
    {
        return pol[0] == 'C' ? 0.7853981633974483 : pol[0] == 'V' ? 1.5707963267948966 : 0.0;
    }
    bool CheckLowElevation(double elevation) override { return elevation >= 3.0; }
};

}  // namespace scenario
