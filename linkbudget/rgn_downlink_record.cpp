#include "linkbudget/rgn_downlink_record.h"

#include <cstring>

namespace {

template <std::size_t N>
void Put(char (&field)[N], const char* text)
{
    std::strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

using R = DownlinkInputRecord;

struct Stretch {
    std::size_t offset, size;
    std::uint16_t fromVersion;
};

constexpr Stretch kStretches[] = {
    {0, offsetof(R, lnbGain), 8005},
    {offsetof(R, lnbGain), 26, 8008},                  // LNB gain and load impedance
    {offsetof(R, csatAci), offsetof(R, craneTc) - offsetof(R, csatAci), 8005},
    {offsetof(R, craneTc), 4, 8006},
    {offsetof(R, clearSky), 2, 8009},
    {offsetof(R, ituRate), 15, 8005},
    {offsetof(R, depolarization), 2, 8010},
    {offsetof(R, satName), offsetof(R, implementationLoss) - offsetof(R, satName), 8005},
    {offsetof(R, implementationLoss), 13, 8007},
    {offsetof(R, systemMargin), offsetof(R, infoRate) - offsetof(R, systemMargin), 8005},
    {offsetof(R, infoRate), 85, 8007},
    {offsetof(R, csatIoUnits), 4, 8009},
};

}  // namespace

void SetDownlinkRecordDefaults(DownlinkInputRecord& r)
{
    std::memset(&r, 0, sizeof r);
    Put(r.altitude, "AUTO");
    Put(r.antennaNoise, "AUTO");
    r.ituAuto.Set(1);
    r.depolarization.Set(1);
    r.geo.Set(1);
    Put(r.spreadingGain, "0");
    Put(r.implementationLoss, "0");
    r.mapsk.Set(1);
    Put(r.modulationOrder, "4");
    r.targetEbNo.Set(1);
    r.infoRate.Set(1);
    Put(r.modcodText, "Manual");
    r.csatIoUnits.Set(1);
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

std::vector<unsigned char> EncodeDownlinkDocument(const DownlinkInputRecord& record)
{
    std::vector<unsigned char> bytes(2 + sizeof record);
    bytes[0] = static_cast<unsigned char>(kDownlinkDocumentVersion & 0xFF);
    bytes[1] = static_cast<unsigned char>(kDownlinkDocumentVersion >> 8);
    std::memcpy(bytes.data() + 2, &record, sizeof record);
    return bytes;
}

bool DecodeDownlinkDocument(const unsigned char* data, std::size_t size, DownlinkInputRecord& r)
{
    std::memset(&r, 0, sizeof r);
    if (size < 2) return false;
    const std::uint16_t version = std::uint16_t(data[0] | (data[1] << 8));
    if (version < 8005 || version > kDownlinkDocumentVersion) return false;

    Put(r.implementationLoss, "0");
    r.infoRate.Set(1);
    Put(r.modcodText, "Manual");
    Put(r.lnbGain, "55");
    Put(r.loadImpedance, "75");
    r.csatIoUnits.Set(1);
    r.depolarization.Set(1);

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
    TerminateDownlinkTexts(r);
    return true;
}
