#include "linkbudget/isolated/uplink_document.h"

#include <cstdio>
#include <cstring>

#include "linkbudget/engine/budget_documents.h"

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

bool ReadUplinkDocument(const char* fileName, UplinkInputRecord& record)
{
    std::vector<unsigned char> bytes;
    return lbdoc::ReadDocumentBytes(fileName, bytes) && DecodeUplinkDocument(bytes.data(), bytes.size(), record);
}
