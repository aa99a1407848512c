// The isolated downlink budget's input record: the transfer buffer of its
// input dialog and the body of a "*.rdn" document, byte for byte.
#pragma once

#include "linkbudget/geo/geo_record.h"

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct DownlinkInputRecord {
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
    Text13 lnbNoise;           // noise figure dB, or "+" and a temperature K
    Text13 antennaNoise;       // K or "auto"
    Text13 lnbGain;
    Text13 loadImpedance;
    Text13 csatAci;
    Text13 csatAsi;
    Text13 csatXpi;
    Text13 cim;                // always dB
    ButtonState ituAuto;
    ButtonState craneTc;
    ButtonState craneUsa;
    ButtonState clearSky;
    ButtonState ituRate;
    Text13 rainRate;
    ButtonState depolarization;
    Text41 satName;
    Text41 serviceName;
    Text13 eirp;
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
    Text13 rollOff;
    Text13 carrierSpacing;
    Text13 allocationStep;
    Text13 implementationLoss;
    Text13 systemMargin;
    ButtonState oneBitPerSymbol;
    ButtonState mapsk;
    ButtonState mqam;
    Text13 modulationOrder;
    ButtonState targetEbNo;
    ButtonState targetEsNo;
    ButtonState infoRate;
    ButtonState symbolRate;
    Text81 modcodText;
    ButtonState csatIoUnits;
    ButtonState ciUnits;
};

#pragma pack(pop)

static_assert(sizeof(DownlinkInputRecord) == 708, "the isolated downlink record is 708 bytes");
static_assert(alignof(DownlinkInputRecord) == 1);

void SetDownlinkRecordDefaults(DownlinkInputRecord& record);
void TerminateDownlinkTexts(DownlinkInputRecord& record);
