// The GEO bent-pipe budget's input record: the transfer buffer of its input
// dialog and the body of a "*.glb" document, byte for byte.  Numbers stay
// text here; GeoLinkBudget::ParseInputs turns them into values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "framework/forms/record_fields.h"

#pragma pack(push, 1)

struct GeoLinkInputRecord {
    // Page "Uplink"
    Text41 upSiteName;
    Text13 upLatitude;
    Text13 upLongitude;
    Text13 upAltitude;
    Text13 upFrequency;
    Text2 upPolarization;
    Text13 upAvailability;
    Text13 upDiameter;
    Text13 upEfficiency;       // "Ant. eff,gain  %,dBi"
    Text13 upCouplingLoss;
    Text13 upMispointing;
    Text13 upOtherLosses;
    Text13 upCsatAci;
    Text13 upCsatXpi;
    Text13 hpaObo;             // "ES HPA OBO dB"
    Text13 carriersPerHpa;     // "No of carriers / HPA"
    Text13 hpaCim;             // "HPA C/IMo dB-Hz"
    Text13 upc;                // "UPC dB"
    Text13 hpaPower;           // "HPA power W"
    // Page "ASI (up)"
    Text13 upAsiDensity[4];
    Text13 upAsiLongitude[4];
    ButtonState upAsiInclude[3];   // Sat2, Sat3, Sat4
    ButtonState upAsiKnownTotal;   // "Use known total value below (option)"
    Text13 upCsatAsi;
    // Page "Downlink"
    Text41 dnSiteName;
    Text13 dnLatitude;
    Text13 dnLongitude;
    Text13 dnAltitude;
    Text13 dnFrequency;
    Text2 dnPolarization;
    Text13 dnAvailability;
    Text13 dnDiameter;
    Text13 dnEfficiency;
    Text13 dnCouplingLoss;
    Text13 dnMispointing;
    Text13 dnOtherLosses;
    Text13 lnbNoise;           // "LNB noise fig,temp dB,K"
    Text13 antennaNoise;       // "Antenna noise temp. K"
    Text13 dnCsatAci;
    Text13 dnCsatXpi;
    // Page "ASI (down)"
    Text13 dnAsiDensity[4];
    Text13 dnAsiLongitude[4];
    ButtonState dnAsiInclude[3];
    ButtonState dnAsiKnownTotal;
    Text13 dnCsatAsi;
    // Page "Rain Model"
    ButtonState dualFade;
    ButtonState upItuAuto;
    ButtonState upCraneTc;
    ButtonState upCraneUsa;
    ButtonState upClearSky;
    ButtonState upItuRate;
    Text13 upRainRate;
    ButtonState upDepolarization;
    ButtonState xpiColocated;
    ButtonState dnItuAuto;
    ButtonState dnCraneTc;
    ButtonState dnCraneUsa;
    ButtonState dnClearSky;
    ButtonState dnItuRate;
    Text13 dnRainRate;
    ButtonState dnDepolarization;
    // Page "Satellite"
    Text41 satName;
    Text13 satLongitude;
    Text13 gtRef;
    Text13 sfdRef;
    Text13 gtReceive;
    Text13 fca;
    Text13 alc;
    Text13 eirpSaturation;
    Text13 eirpBeamPeak;
    Text13 transponderBandwidth;
    Text13 transponderIbo;
    Text13 transponderObo;
    Text13 cim;
    Text13 carriersPerTransponder;
    // Page "Carriers"
    Text41 serviceName;
    Text41 coverage;
    Text13 requiredTarget;
    Text13 rate;
    Text13 overhead;
    Text13 fecRate;
    Text13 spreadingGain;
    Text13 rollOff;            // "(1 + Roll off factor)"
    Text13 carrierSpacing;
    Text13 allocationStep;
    Text13 implementationLoss;
    Text13 systemMargin;
    ButtonState oneBitPerSymbol;
    ButtonState mapsk;
    ButtonState mqam;
    Text13 modulationOrder;    // "M="
    ButtonState twta;
    ButtonState ltwta;
    ButtonState sspa;
    ButtonState targetEbNo;
    ButtonState targetEsNo;
    ButtonState infoRate;
    ButtonState symbolRate;
    Text81 modcodText;
    ButtonState upCsatIoUnits;
    ButtonState upCiUnits;
    ButtonState dnCsatIoUnits;
    ButtonState dnCiUnits;
};

#pragma pack(pop)

static_assert(sizeof(GeoLinkInputRecord) == 1337, "the GEO budget record is 1337 bytes");
static_assert(alignof(GeoLinkInputRecord) == 1);

// Zero-fills the record and writes the values a new budget window starts with.
void SetGeoLinkRecordDefaults(GeoLinkInputRecord& record);

// The same defaults in any bent-pipe record (GEO or non-GEO), whose fields
// are named alike.
template <class Record>
void SetBentPipeDefaults(Record& r)
{
    std::memset(&r, 0, sizeof r);
    PutText(r.hpaPower, "MIN");
    PutText(r.upAltitude, "AUTO");
    PutText(r.carriersPerHpa, "1");
    PutText(r.dnAltitude, "AUTO");
    PutText(r.dnAvailability, "AUTO");
    PutText(r.antennaNoise, "AUTO");
    PutText(r.transponderObo, "AUTO");
    PutText(r.cim, "AUTO");
    PutText(r.carriersPerTransponder, "AUTO");
    PutText(r.spreadingGain, "0");
    PutText(r.implementationLoss, "0");
    PutText(r.modulationOrder, "4");
    PutText(r.modcodText, "Manual");
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

// Forces a terminating zero into the last byte of every text field, so that a
// damaged document or a full edit control can never make a reader run past it.
void TerminateGeoLinkTexts(GeoLinkInputRecord& record);
