#include "linkbudget/rgn_uplink_record.h"

#include <cstring>

namespace {

// A stretch of the record that lies in the file from one version on.  The
// file holds the stretches of its version in record order, back to back.
struct Stretch {
    std::size_t offset, size;
    std::uint16_t fromVersion;
};

constexpr Stretch kStretches[] = {
    {offsetof(UplinkInputRecord, siteName), offsetof(UplinkInputRecord, craneTc), 7005},
    {offsetof(UplinkInputRecord, craneTc), 4, 7006},                 // both Crane states
    {offsetof(UplinkInputRecord, clearSky), 2, 7008},
    {offsetof(UplinkInputRecord, ituRate), 15, 7005},                // state and rate text
    {offsetof(UplinkInputRecord, depolarization), 2, 7009},
    {offsetof(UplinkInputRecord, xpiColocated), 2, 7010},
    {offsetof(UplinkInputRecord, satName),
     offsetof(UplinkInputRecord, implementationLoss) - offsetof(UplinkInputRecord, satName), 7005},
    {offsetof(UplinkInputRecord, implementationLoss), 13, 7007},
    {offsetof(UplinkInputRecord, systemMargin),
     offsetof(UplinkInputRecord, infoRate) - offsetof(UplinkInputRecord, systemMargin), 7005},
    {offsetof(UplinkInputRecord, infoRate), 85, 7007},               // rate states and modcod
    {offsetof(UplinkInputRecord, csatIoUnits), 4, 7008},             // interference units
};

}  // namespace

void SetUplinkRecordDefaults(UplinkInputRecord& r)
{
    std::memset(&r, 0, sizeof r);
    PutText(r.altitude, "AUTO");
    r.ituAuto.Set(1);
    r.depolarization.Set(1);
    r.xpiColocated.Set(1);
    r.geo.Set(1);
    PutText(r.spreadingGain, "0");
    PutText(r.implementationLoss, "0");
    r.mapsk.Set(1);
    PutText(r.modulationOrder, "4");
    r.targetEbNo.Set(1);
    r.infoRate.Set(1);
    PutText(r.modcodText, "Manual");
    r.csatIoUnits.Set(1);
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

std::vector<unsigned char> EncodeUplinkDocument(const UplinkInputRecord& record)
{
    std::vector<unsigned char> bytes(2 + sizeof record);
    bytes[0] = static_cast<unsigned char>(kUplinkDocumentVersion & 0xFF);
    bytes[1] = static_cast<unsigned char>(kUplinkDocumentVersion >> 8);
    std::memcpy(bytes.data() + 2, &record, sizeof record);
    return bytes;
}

bool DecodeUplinkDocument(const unsigned char* data, std::size_t size, UplinkInputRecord& r)
{
    std::memset(&r, 0, sizeof r);
    if (size < 2) return false;
    const std::uint16_t version = std::uint16_t(data[0] | (data[1] << 8));
    if (version < 7005 || version > kUplinkDocumentVersion) return false;

    // What an older document lacks takes the value the program then behaved as.
    PutText(r.implementationLoss, "0");
    r.infoRate.Set(1);
    PutText(r.modcodText, "Manual");
    r.csatIoUnits.Set(1);
    r.depolarization.Set(1);
    r.xpiColocated.Set(1);

    unsigned char* base = reinterpret_cast<unsigned char*>(&r);
    std::size_t at = 2;
    for (const Stretch& s : kStretches) {
        if (version < s.fromVersion) continue;
        if (s.size > size - at) {
            std::memset(&r, 0, sizeof r);
            return false;
        }
        std::memcpy(base + s.offset, data + at, s.size);
        at += s.size;
    }
    TerminateUplinkTexts(r);
    return true;
}
