#include "linkbudget/geo_link_record.h"

#include <cstring>

namespace {

template <std::size_t N>
void Put(char (&field)[N], const char* text)
{
    std::strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

template <std::size_t N>
void Terminate(char (&field)[N])
{
    field[N - 1] = '\0';
}

template <std::size_t K, std::size_t N>
void Terminate(char (&fields)[K][N])
{
    for (auto& f : fields) Terminate(f);
}

}  // namespace

void SetGeoLinkRecordDefaults(GeoLinkInputRecord& r)
{
    std::memset(&r, 0, sizeof r);
    Put(r.hpaPower, "MIN");
    Put(r.upAltitude, "AUTO");
    Put(r.carriersPerHpa, "1");
    Put(r.dnAltitude, "AUTO");
    Put(r.dnAvailability, "AUTO");
    Put(r.antennaNoise, "AUTO");
    Put(r.transponderObo, "AUTO");
    Put(r.cim, "AUTO");
    Put(r.carriersPerTransponder, "AUTO");
    Put(r.spreadingGain, "0");
    Put(r.implementationLoss, "0");
    Put(r.modulationOrder, "4");
    Put(r.modcodText, "Manual");
    r.ltwta.Set(1);
    r.mapsk.Set(1);
    r.targetEbNo.Set(1);
    r.infoRate.Set(1);
    r.upItuAuto.Set(1);
    r.dnItuAuto.Set(1);
    r.upDepolarization.Set(1);
    r.dnDepolarization.Set(1);
    r.xpiColocated.Set(1);
    r.upCsatIoUnits.Set(1);
    r.dnCsatIoUnits.Set(1);
}

void TerminateGeoLinkTexts(GeoLinkInputRecord& r)
{
    Terminate(r.upSiteName); Terminate(r.upLatitude); Terminate(r.upLongitude);
    Terminate(r.upAltitude); Terminate(r.upFrequency); Terminate(r.upPolarization);
    Terminate(r.upAvailability); Terminate(r.upDiameter); Terminate(r.upEfficiency);
    Terminate(r.upCouplingLoss); Terminate(r.upMispointing); Terminate(r.upOtherLosses);
    Terminate(r.upCsatAci); Terminate(r.upCsatXpi); Terminate(r.hpaObo);
    Terminate(r.carriersPerHpa); Terminate(r.hpaCim); Terminate(r.upc); Terminate(r.hpaPower);
    Terminate(r.upAsiDensity); Terminate(r.upAsiLongitude); Terminate(r.upCsatAsi);
    Terminate(r.dnSiteName); Terminate(r.dnLatitude); Terminate(r.dnLongitude);
    Terminate(r.dnAltitude); Terminate(r.dnFrequency); Terminate(r.dnPolarization);
    Terminate(r.dnAvailability); Terminate(r.dnDiameter); Terminate(r.dnEfficiency);
    Terminate(r.dnCouplingLoss); Terminate(r.dnMispointing); Terminate(r.dnOtherLosses);
    Terminate(r.lnbNoise); Terminate(r.antennaNoise); Terminate(r.dnCsatAci); Terminate(r.dnCsatXpi);
    Terminate(r.dnAsiDensity); Terminate(r.dnAsiLongitude); Terminate(r.dnCsatAsi);
    Terminate(r.upRainRate); Terminate(r.dnRainRate);
    Terminate(r.satName); Terminate(r.satLongitude); Terminate(r.gtRef); Terminate(r.sfdRef);
    Terminate(r.gtReceive); Terminate(r.fca); Terminate(r.alc); Terminate(r.eirpSaturation);
    Terminate(r.eirpBeamPeak); Terminate(r.transponderBandwidth); Terminate(r.transponderIbo);
    Terminate(r.transponderObo); Terminate(r.cim); Terminate(r.carriersPerTransponder);
    Terminate(r.serviceName); Terminate(r.coverage); Terminate(r.requiredTarget); Terminate(r.rate);
    Terminate(r.overhead); Terminate(r.fecRate); Terminate(r.spreadingGain); Terminate(r.rollOff);
    Terminate(r.carrierSpacing); Terminate(r.allocationStep); Terminate(r.implementationLoss);
    Terminate(r.systemMargin); Terminate(r.modulationOrder); Terminate(r.modcodText);
}
