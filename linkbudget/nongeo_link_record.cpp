#include "linkbudget/nongeo_link_record.h"

#include <cstring>

#include "linkbudget/input_text.h"

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

template <std::size_t N>
void Copy(char (&to)[N], const char (&from)[N])
{
    std::memcpy(to, from, N);
    to[N - 1] = '\0';
}

}  // namespace

void SetNonGeoLinkRecordDefaults(NonGeoLinkInputRecord& r)
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

void TerminateNonGeoLinkTexts(NonGeoLinkInputRecord& r)
{
    Terminate(r.upSiteName); Terminate(r.upLatitude); Terminate(r.upLongitude);
    Terminate(r.upElevation); Terminate(r.upRange); Terminate(r.upLongitudeDiff);
    Terminate(r.upAltitude); Terminate(r.upFrequency); Terminate(r.upPolarization);
    Terminate(r.upAvailability); Terminate(r.upDiameter); Terminate(r.upEfficiency);
    Terminate(r.upCouplingLoss); Terminate(r.upMispointing); Terminate(r.upOtherLosses);
    Terminate(r.upCsatAci); Terminate(r.upCsatAsi); Terminate(r.upCsatXpi); Terminate(r.hpaObo);
    Terminate(r.carriersPerHpa); Terminate(r.hpaCim); Terminate(r.upc); Terminate(r.hpaPower);
    Terminate(r.dnSiteName); Terminate(r.dnLatitude); Terminate(r.dnLongitude);
    Terminate(r.dnElevation); Terminate(r.dnRange); Terminate(r.dnLongitudeDiff);
    Terminate(r.dnAltitude); Terminate(r.dnFrequency); Terminate(r.dnPolarization);
    Terminate(r.dnAvailability); Terminate(r.dnDiameter); Terminate(r.dnEfficiency);
    Terminate(r.dnCouplingLoss); Terminate(r.dnMispointing); Terminate(r.dnOtherLosses);
    Terminate(r.lnbNoise); Terminate(r.antennaNoise); Terminate(r.dnCsatAci);
    Terminate(r.dnCsatAsi); Terminate(r.dnCsatXpi);
    Terminate(r.upRainRate); Terminate(r.dnRainRate);
    Terminate(r.satName); Terminate(r.gtRef); Terminate(r.sfdRef);
    Terminate(r.gtReceive); Terminate(r.fca); Terminate(r.alc); Terminate(r.eirpSaturation);
    Terminate(r.eirpBeamPeak); Terminate(r.transponderBandwidth); Terminate(r.transponderIbo);
    Terminate(r.transponderObo); Terminate(r.cim); Terminate(r.carriersPerTransponder);
    Terminate(r.serviceName); Terminate(r.coverage); Terminate(r.requiredTarget); Terminate(r.rate);
    Terminate(r.overhead); Terminate(r.fecRate); Terminate(r.spreadingGain); Terminate(r.rollOff);
    Terminate(r.carrierSpacing); Terminate(r.allocationStep); Terminate(r.implementationLoss);
    Terminate(r.systemMargin); Terminate(r.modulationOrder); Terminate(r.modcodText);
}

void NonGeoToGeoRecord(const NonGeoLinkInputRecord& f, GeoLinkInputRecord& t)
{
    std::memset(&t, 0, sizeof t);
    Copy(t.upSiteName, f.upSiteName); Copy(t.upLatitude, f.upLatitude); Copy(t.upLongitude, f.upLongitude);
    Copy(t.upAltitude, f.upAltitude); Copy(t.upFrequency, f.upFrequency);
    Copy(t.upPolarization, f.upPolarization); Copy(t.upAvailability, f.upAvailability);
    Copy(t.upDiameter, f.upDiameter); Copy(t.upEfficiency, f.upEfficiency);
    Copy(t.upCouplingLoss, f.upCouplingLoss); Copy(t.upMispointing, f.upMispointing);
    Copy(t.upOtherLosses, f.upOtherLosses); Copy(t.upCsatAci, f.upCsatAci); Copy(t.upCsatXpi, f.upCsatXpi);
    Copy(t.hpaObo, f.hpaObo); Copy(t.carriersPerHpa, f.carriersPerHpa); Copy(t.hpaCim, f.hpaCim);
    Copy(t.upc, f.upc); Copy(t.hpaPower, f.hpaPower);
    t.upAsiKnownTotal.Set(1);
    Copy(t.upCsatAsi, f.upCsatAsi);

    Copy(t.dnSiteName, f.dnSiteName); Copy(t.dnLatitude, f.dnLatitude); Copy(t.dnLongitude, f.dnLongitude);
    Copy(t.dnAltitude, f.dnAltitude); Copy(t.dnFrequency, f.dnFrequency);
    Copy(t.dnPolarization, f.dnPolarization); Copy(t.dnAvailability, f.dnAvailability);
    Copy(t.dnDiameter, f.dnDiameter); Copy(t.dnEfficiency, f.dnEfficiency);
    Copy(t.dnCouplingLoss, f.dnCouplingLoss); Copy(t.dnMispointing, f.dnMispointing);
    Copy(t.dnOtherLosses, f.dnOtherLosses); Copy(t.lnbNoise, f.lnbNoise); Copy(t.antennaNoise, f.antennaNoise);
    Copy(t.dnCsatAci, f.dnCsatAci); Copy(t.dnCsatXpi, f.dnCsatXpi);
    t.dnAsiKnownTotal.Set(1);
    Copy(t.dnCsatAsi, f.dnCsatAsi);

    t.dualFade = f.dualFade;
    t.upItuAuto = f.upItuAuto; t.upCraneTc = f.upCraneTc; t.upCraneUsa = f.upCraneUsa;
    t.upClearSky = f.upClearSky; t.upItuRate = f.upItuRate; Copy(t.upRainRate, f.upRainRate);
    t.upDepolarization = f.upDepolarization; t.xpiColocated = f.xpiColocated;
    t.dnItuAuto = f.dnItuAuto; t.dnCraneTc = f.dnCraneTc; t.dnCraneUsa = f.dnCraneUsa;
    t.dnClearSky = f.dnClearSky; t.dnItuRate = f.dnItuRate; Copy(t.dnRainRate, f.dnRainRate);
    t.dnDepolarization = f.dnDepolarization;

    Copy(t.satName, f.satName); Copy(t.gtRef, f.gtRef); Copy(t.sfdRef, f.sfdRef);
    Copy(t.gtReceive, f.gtReceive); Copy(t.fca, f.fca); Copy(t.alc, f.alc);
    Copy(t.eirpSaturation, f.eirpSaturation); Copy(t.eirpBeamPeak, f.eirpBeamPeak);
    Copy(t.transponderBandwidth, f.transponderBandwidth); Copy(t.transponderIbo, f.transponderIbo);
    Copy(t.transponderObo, f.transponderObo); Copy(t.cim, f.cim);
    Copy(t.carriersPerTransponder, f.carriersPerTransponder);

    Copy(t.serviceName, f.serviceName); Copy(t.coverage, f.coverage);
    Copy(t.requiredTarget, f.requiredTarget); Copy(t.rate, f.rate); Copy(t.overhead, f.overhead);
    Copy(t.fecRate, f.fecRate); Copy(t.spreadingGain, f.spreadingGain); Copy(t.rollOff, f.rollOff);
    Copy(t.carrierSpacing, f.carrierSpacing); Copy(t.allocationStep, f.allocationStep);
    Copy(t.implementationLoss, f.implementationLoss); Copy(t.systemMargin, f.systemMargin);
    t.oneBitPerSymbol = f.oneBitPerSymbol; t.mapsk = f.mapsk; t.mqam = f.mqam;
    Copy(t.modulationOrder, f.modulationOrder);
    t.twta = f.twta; t.ltwta = f.ltwta; t.sspa = f.sspa;
    t.targetEbNo = f.targetEbNo; t.targetEsNo = f.targetEsNo;
    t.infoRate = f.infoRate; t.symbolRate = f.symbolRate;
    Copy(t.modcodText, f.modcodText);
    t.upCsatIoUnits = f.upCsatIoUnits; t.upCiUnits = f.upCiUnits;
    t.dnCsatIoUnits = f.dnCsatIoUnits; t.dnCiUnits = f.dnCiUnits;
}

void ParseNonGeoGeometry(NonGeoLinkInputRecord& r, NonGeoGeometry& up, NonGeoGeometry& down)
{
    TerminateNonGeoLinkTexts(r);
    up.elevation = lbtext::Number(r.upElevation);
    up.range = lbtext::Number(r.upRange);
    up.longitudeDifference = lbtext::Number(r.upLongitudeDiff);
    down.elevation = lbtext::Number(r.dnElevation);
    down.range = lbtext::Number(r.dnRange);
    down.longitudeDifference = lbtext::Number(r.dnLongitudeDiff);
    if (r.upLongitudeDiff[0] == '\0') Put(r.upLongitudeDiff, "0");
    if (r.dnLongitudeDiff[0] == '\0') Put(r.dnLongitudeDiff, "0");
}
