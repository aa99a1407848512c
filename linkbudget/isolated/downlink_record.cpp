#include "linkbudget/isolated/downlink_record.h"
#include "linkbudget/isolated/isolated_record.h"

#include <cstring>

namespace {

using R = DownlinkInputRecord;

}  // namespace

void SetDownlinkRecordDefaults(DownlinkInputRecord& r)
{
    SetIsolatedDefaults(r);
    PutText(r.antennaNoise, "AUTO");
}

void TerminateDownlinkTexts(DownlinkInputRecord& r)
{
    char* base = reinterpret_cast<char*>(&r);
    constexpr std::size_t kTextEnds[] = {
        offsetof(R, siteName) + 41, offsetof(R, latitude) + 13, offsetof(R, longitude) + 13,
        offsetof(R, altitude) + 13, offsetof(R, frequency) + 13, offsetof(R, polarization) + 2,
        offsetof(R, availability) + 13, offsetof(R, diameter) + 13, offsetof(R, efficiency) + 13,
        offsetof(R, couplingLoss) + 13, offsetof(R, mispointing) + 13, offsetof(R, otherLosses) + 13,
        offsetof(R, lnbNoise) + 13, offsetof(R, antennaNoise) + 13, offsetof(R, lnbGain) + 13,
        offsetof(R, loadImpedance) + 13, offsetof(R, csatAci) + 13, offsetof(R, csatAsi) + 13,
        offsetof(R, csatXpi) + 13, offsetof(R, cim) + 13, offsetof(R, rainRate) + 13,
        offsetof(R, satName) + 41, offsetof(R, serviceName) + 41, offsetof(R, eirp) + 13,
        offsetof(R, satBandwidth) + 13, offsetof(R, satLongitude) + 13, offsetof(R, range) + 13,
        offsetof(R, elevation) + 13, offsetof(R, longitudeDifference) + 13,
        offsetof(R, requiredTarget) + 13, offsetof(R, rate) + 13, offsetof(R, overhead) + 13,
        offsetof(R, fecRate) + 13, offsetof(R, spreadingGain) + 13, offsetof(R, rollOff) + 13,
        offsetof(R, carrierSpacing) + 13, offsetof(R, allocationStep) + 13,
        offsetof(R, implementationLoss) + 13, offsetof(R, systemMargin) + 13,
        offsetof(R, modulationOrder) + 13, offsetof(R, modcodText) + 81,
    };
    for (std::size_t end : kTextEnds) base[end - 1] = '\0';
}
