// The non-GEO bent-pipe budget's input record: the transfer buffer of its
// input dialog and the body of a "*.llb" document, byte for byte.  Each
// earth station types the satellite's elevation, range and longitude
// difference, and each link's adjacent-satellite interference is one typed
// figure.
#pragma once

#include <cstdint>

#include "linkbudget/geo/geo_record.h"

#pragma pack(push, 1)

struct NonGeoLinkInputRecord {
    // Page "Uplink"
    Text41 upSiteName;
    Text13 upLatitude;
    Text13 upLongitude;
    Text13 upElevation;        // "Sat. elevation °"
    Text13 upRange;            // "Sat. range km"
    Text13 upLongitudeDiff;    // "Site/Sat long. diff. °"
    Text13 upAltitude;
    Text13 upFrequency;
    Text2 upPolarization;
    Text13 upAvailability;
    Text13 upDiameter;
    Text13 upEfficiency;
    Text13 upCouplingLoss;
    Text13 upMispointing;
    Text13 upOtherLosses;
    Text13 upCsatAci;
    Text13 upCsatAsi;
    Text13 upCsatXpi;
    Text13 hpaObo;
    Text13 carriersPerHpa;
    Text13 hpaCim;
    Text13 upc;
    Text13 hpaPower;
    // Page "Downlink"
    Text41 dnSiteName;
    Text13 dnLatitude;
    Text13 dnLongitude;
    Text13 dnElevation;
    Text13 dnRange;
    Text13 dnLongitudeDiff;
    Text13 dnAltitude;
    Text13 dnFrequency;
    Text2 dnPolarization;
    Text13 dnAvailability;
    Text13 dnDiameter;
    Text13 dnEfficiency;
    Text13 dnCouplingLoss;
    Text13 dnMispointing;
    Text13 dnOtherLosses;
    Text13 lnbNoise;
    Text13 antennaNoise;
    Text13 dnCsatAci;
    Text13 dnCsatAsi;
    Text13 dnCsatXpi;
    // Page "Rain Models"
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
    // Page "Carriers and Modulation"
    Text41 serviceName;
    Text41 coverage;
    Text13 requiredTarget;
    Text13 rate;
    Text13 overhead;
    Text13 fecRate;
    Text13 spreadingGain;
    Text13 rollOff;
    Text13 carrierSpacing;
    Text13 allocationStep;
    Text13 implementationLoss;
    Text13 systemMargin;
    ButtonState oneBitPerSymbol;
    ButtonState mapsk;
    ButtonState mqam;
    Text13 modulationOrder;
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

static_assert(sizeof(NonGeoLinkInputRecord) == 1178, "the non-GEO budget record is 1178 bytes");
static_assert(alignof(NonGeoLinkInputRecord) == 1);

// Zero-fills the record and writes the values a new non-GEO window starts with.
void SetNonGeoLinkRecordDefaults(NonGeoLinkInputRecord& record);

// Forces a terminating zero into the last byte of every text field.
void TerminateNonGeoLinkTexts(NonGeoLinkInputRecord& record);

// The geometry each earth station types in place of a satellite longitude.
struct NonGeoGeometry {
    double elevation = 0.0;           // degrees
    double range = 0.0;               // km
    double longitudeDifference = 0.0; // degrees
};

// The GEO record that carries the same budget: every same-named field
// copied, no satellite longitude and no interferers, and each link's typed
// C/ASI taken as a known total, which the GEO budget treats exactly as the
// non-GEO one treats its typed figure.
void NonGeoToGeoRecord(const NonGeoLinkInputRecord& from, GeoLinkInputRecord& to);

// Parses the two links' typed geometry.  An empty longitude difference is
// written back into the record as "0", the value it parses to.
void ParseNonGeoGeometry(NonGeoLinkInputRecord& record, NonGeoGeometry& up, NonGeoGeometry& down);
