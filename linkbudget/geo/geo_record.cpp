#include "linkbudget/geo/geo_record.h"

#include <cstring>

void SetGeoLinkRecordDefaults(GeoLinkInputRecord& r) { SetBentPipeDefaults(r); }

void TerminateGeoLinkTexts(GeoLinkInputRecord& r)
{
    TerminateText(r.upSiteName); TerminateText(r.upLatitude); TerminateText(r.upLongitude);
    TerminateText(r.upAltitude); TerminateText(r.upFrequency); TerminateText(r.upPolarization);
    TerminateText(r.upAvailability); TerminateText(r.upDiameter); TerminateText(r.upEfficiency);
    TerminateText(r.upCouplingLoss); TerminateText(r.upMispointing); TerminateText(r.upOtherLosses);
    TerminateText(r.upCsatAci); TerminateText(r.upCsatXpi); TerminateText(r.hpaObo);
    TerminateText(r.carriersPerHpa); TerminateText(r.hpaCim); TerminateText(r.upc); TerminateText(r.hpaPower);
    TerminateText(r.upAsiDensity); TerminateText(r.upAsiLongitude); TerminateText(r.upCsatAsi);
    TerminateText(r.dnSiteName); TerminateText(r.dnLatitude); TerminateText(r.dnLongitude);
    TerminateText(r.dnAltitude); TerminateText(r.dnFrequency); TerminateText(r.dnPolarization);
    TerminateText(r.dnAvailability); TerminateText(r.dnDiameter); TerminateText(r.dnEfficiency);
    TerminateText(r.dnCouplingLoss); TerminateText(r.dnMispointing); TerminateText(r.dnOtherLosses);
    TerminateText(r.lnbNoise); TerminateText(r.antennaNoise); TerminateText(r.dnCsatAci); TerminateText(r.dnCsatXpi);
    TerminateText(r.dnAsiDensity); TerminateText(r.dnAsiLongitude); TerminateText(r.dnCsatAsi);
    TerminateText(r.upRainRate); TerminateText(r.dnRainRate);
    TerminateText(r.satName); TerminateText(r.satLongitude); TerminateText(r.gtRef); TerminateText(r.sfdRef);
    TerminateText(r.gtReceive); TerminateText(r.fca); TerminateText(r.alc); TerminateText(r.eirpSaturation);
    TerminateText(r.eirpBeamPeak); TerminateText(r.transponderBandwidth); TerminateText(r.transponderIbo);
    TerminateText(r.transponderObo); TerminateText(r.cim); TerminateText(r.carriersPerTransponder);
    TerminateText(r.serviceName); TerminateText(r.coverage); TerminateText(r.requiredTarget); TerminateText(r.rate);
    TerminateText(r.overhead); TerminateText(r.fecRate); TerminateText(r.spreadingGain); TerminateText(r.rollOff);
    TerminateText(r.carrierSpacing); TerminateText(r.allocationStep); TerminateText(r.implementationLoss);
    TerminateText(r.systemMargin); TerminateText(r.modulationOrder); TerminateText(r.modcodText);
}
