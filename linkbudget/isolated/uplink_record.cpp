#include "linkbudget/isolated/uplink_record.h"
#include "linkbudget/isolated/isolated_record.h"

#include <cstring>

void SetUplinkRecordDefaults(UplinkInputRecord& r)
{
    SetIsolatedDefaults(r);
    r.xpiColocated.Set(1);
}

void TerminateUplinkTexts(UplinkInputRecord& r)
{
    char* base = reinterpret_cast<char*>(&r);
    // The last byte of every text field, by its offset and size.
    constexpr std::size_t kTextEnds[] = {
        offsetof(UplinkInputRecord, siteName) + 41, offsetof(UplinkInputRecord, latitude) + 13,
        offsetof(UplinkInputRecord, longitude) + 13, offsetof(UplinkInputRecord, altitude) + 13,
        offsetof(UplinkInputRecord, frequency) + 13, offsetof(UplinkInputRecord, polarization) + 2,
        offsetof(UplinkInputRecord, availability) + 13, offsetof(UplinkInputRecord, diameter) + 13,
        offsetof(UplinkInputRecord, efficiency) + 13, offsetof(UplinkInputRecord, couplingLoss) + 13,
        offsetof(UplinkInputRecord, mispointing) + 13, offsetof(UplinkInputRecord, otherLosses) + 13,
        offsetof(UplinkInputRecord, csatAci) + 13, offsetof(UplinkInputRecord, csatAsi) + 13,
        offsetof(UplinkInputRecord, csatXpi) + 13, offsetof(UplinkInputRecord, hpaCim) + 13,
        offsetof(UplinkInputRecord, hpaObo) + 13, offsetof(UplinkInputRecord, powerControl) + 13,
        offsetof(UplinkInputRecord, hpaPower) + 13, offsetof(UplinkInputRecord, rainRate) + 13,
        offsetof(UplinkInputRecord, satName) + 41, offsetof(UplinkInputRecord, serviceName) + 41,
        offsetof(UplinkInputRecord, satGt) + 13, offsetof(UplinkInputRecord, satBandwidth) + 13,
        offsetof(UplinkInputRecord, satLongitude) + 13, offsetof(UplinkInputRecord, range) + 13,
        offsetof(UplinkInputRecord, elevation) + 13,
        offsetof(UplinkInputRecord, longitudeDifference) + 13,
        offsetof(UplinkInputRecord, requiredTarget) + 13, offsetof(UplinkInputRecord, rate) + 13,
        offsetof(UplinkInputRecord, overhead) + 13, offsetof(UplinkInputRecord, fecRate) + 13,
        offsetof(UplinkInputRecord, spreadingGain) + 13, offsetof(UplinkInputRecord, rollOff) + 13,
        offsetof(UplinkInputRecord, carrierSpacing) + 13,
        offsetof(UplinkInputRecord, allocationStep) + 13,
        offsetof(UplinkInputRecord, implementationLoss) + 13,
        offsetof(UplinkInputRecord, systemMargin) + 13,
        offsetof(UplinkInputRecord, modulationOrder) + 13,
        offsetof(UplinkInputRecord, modcodText) + 81,
    };
    for (std::size_t end : kTextEnds) base[end - 1] = '\0';
}
