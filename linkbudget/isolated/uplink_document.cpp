#include "linkbudget/isolated/uplink_document.h"

#include <cstdio>
#include <cstring>

#include "linkbudget/engine/budget_documents.h"

namespace {

// The stretches of the record in each version.
constexpr lbdoc::DocumentStretch kStretches[] = {
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
    return lbdoc::EncodeDocument(kUplinkDocumentVersion, &record, sizeof record);
}

bool DecodeUplinkDocument(const unsigned char* data, std::size_t size, UplinkInputRecord& r)
{
    std::memset(&r, 0, sizeof r);
    std::uint16_t version = 0;
    if (!lbdoc::DocumentVersion(data, size, version)) return false;
    if (version < 7005 || version > kUplinkDocumentVersion) return false;

    // What an older document lacks takes the value the program then behaved as.
    PutText(r.implementationLoss, "0");
    r.infoRate.Set(1);
    PutText(r.modcodText, "Manual");
    r.csatIoUnits.Set(1);
    r.depolarization.Set(1);
    r.xpiColocated.Set(1);

    if (!lbdoc::ReadStretches(data, size, version, kStretches, &r)) {
        std::memset(&r, 0, sizeof r);
        return false;
    }
    TerminateUplinkTexts(r);
    return true;
}

bool ReadUplinkDocument(const char* fileName, UplinkInputRecord& record)
{
    std::vector<unsigned char> bytes;
    return lbdoc::ReadDocumentBytes(fileName, bytes) && DecodeUplinkDocument(bytes.data(), bytes.size(), record);
}
