#include "linkbudget/nongeo/nongeo_record.h"

#include <cstring>

#include "linkbudget/engine/input_text.h"

namespace {

template <std::size_t N>
void Copy(char (&to)[N], const char (&from)[N])
{
    std::memcpy(to, from, N);
    to[N - 1] = '\0';
}

}  // namespace

void SetNonGeoLinkRecordDefaults(NonGeoLinkInputRecord& r) { SetBentPipeDefaults(r); }

void TerminateNonGeoLinkTexts(NonGeoLinkInputRecord& r)
{
    TerminateText(r.upSiteName); TerminateText(r.upLatitude); TerminateText(r.upLongitude);
    TerminateText(r.upElevation); TerminateText(r.upRange); TerminateText(r.upLongitudeDiff);
    TerminateText(r.upAltitude); TerminateText(r.upFrequency); TerminateText(r.upPolarization);
    TerminateText(r.upAvailability); TerminateText(r.upDiameter); TerminateText(r.upEfficiency);
    TerminateText(r.upCouplingLoss); TerminateText(r.upMispointing); TerminateText(r.upOtherLosses);
    TerminateText(r.upCsatAci); TerminateText(r.upCsatAsi); TerminateText(r.upCsatXpi); TerminateText(r.hpaObo);
    TerminateText(r.carriersPerHpa); TerminateText(r.hpaCim); TerminateText(r.upc); TerminateText(r.hpaPower);
    TerminateText(r.dnSiteName); TerminateText(r.dnLatitude); TerminateText(r.dnLongitude);
    TerminateText(r.dnElevation); TerminateText(r.dnRange); TerminateText(r.dnLongitudeDiff);
    TerminateText(r.dnAltitude); TerminateText(r.dnFrequency); TerminateText(r.dnPolarization);
    TerminateText(r.dnAvailability); TerminateText(r.dnDiameter); TerminateText(r.dnEfficiency);
    TerminateText(r.dnCouplingLoss); TerminateText(r.dnMispointing); TerminateText(r.dnOtherLosses);
    TerminateText(r.lnbNoise); TerminateText(r.antennaNoise); TerminateText(r.dnCsatAci);
    TerminateText(r.dnCsatAsi); TerminateText(r.dnCsatXpi);
    TerminateText(r.upRainRate); TerminateText(r.dnRainRate);
    TerminateText(r.satName); TerminateText(r.gtRef); TerminateText(r.sfdRef);
    TerminateText(r.gtReceive); TerminateText(r.fca); TerminateText(r.alc); TerminateText(r.eirpSaturation);
    TerminateText(r.eirpBeamPeak); TerminateText(r.transponderBandwidth); TerminateText(r.transponderIbo);
    TerminateText(r.transponderObo); TerminateText(r.cim); TerminateText(r.carriersPerTransponder);
    TerminateText(r.serviceName); TerminateText(r.coverage); TerminateText(r.requiredTarget); TerminateText(r.rate);
    TerminateText(r.overhead); TerminateText(r.fecRate); TerminateText(r.spreadingGain); TerminateText(r.rollOff);
    TerminateText(r.carrierSpacing); TerminateText(r.allocationStep); TerminateText(r.implementationLoss);
    TerminateText(r.systemMargin); TerminateText(r.modulationOrder); TerminateText(r.modcodText);
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
    if (r.upLongitudeDiff[0] == '\0') PutText(r.upLongitudeDiff, "0");
    if (r.dnLongitudeDiff[0] == '\0') PutText(r.dnLongitudeDiff, "0");
}
