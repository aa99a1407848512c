// The isolated (regenerative) uplink budget's input record: the transfer
// buffer of its input dialog and the body of a "*.rup" document, byte for
// byte.  Numbers stay text here; RgnUplinkBudget::ParseInputs reads them.
#pragma once

#include "linkbudget/geo/geo_record.h"

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct UplinkInputRecord {
    Text41 siteName;
    Text13 latitude;
    Text13 longitude;
    Text13 altitude;           // km or "auto"
    Text13 frequency;
    Text2 polarization;
    Text13 availability;
    Text13 diameter;
    Text13 efficiency;         // "Ant. eff,gain  %,dBi"
    Text13 couplingLoss;
    Text13 mispointing;
    Text13 otherLosses;
    Text13 csatAci;
    Text13 csatAsi;
    Text13 csatXpi;
    Text13 hpaCim;
    Text13 hpaObo;
    Text13 powerControl;
    Text13 hpaPower;           // W or "min"
    ButtonState ituAuto;
    ButtonState craneTc;
    ButtonState craneUsa;
    ButtonState clearSky;
    ButtonState ituRate;
    Text13 rainRate;
    ButtonState depolarization;
    ButtonState xpiColocated;
    Text41 satName;
    Text41 serviceName;
    Text13 satGt;
    Text13 satBandwidth;
    Text13 satLongitude;
    Text13 range;
    Text13 elevation;
    Text13 longitudeDifference;
    ButtonState geo;
    ButtonState nonGeo;
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
    ButtonState targetEbNo;
    ButtonState targetEsNo;
    ButtonState infoRate;
    ButtonState symbolRate;
    Text81 modcodText;
    ButtonState csatIoUnits;
    ButtonState ciUnits;
};

#pragma pack(pop)

static_assert(sizeof(UplinkInputRecord) == 697, "the isolated uplink record is 697 bytes");
static_assert(alignof(UplinkInputRecord) == 1);

// Zero-fills the record and writes the values a new window starts with.
void SetUplinkRecordDefaults(UplinkInputRecord& record);

// Forces a terminating zero into the last byte of every text field.
void TerminateUplinkTexts(UplinkInputRecord& record);
