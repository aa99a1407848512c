// The ".ang" and ".duo" documents and the records behind them.
//
// Older look-angle files (1939 to 1941) kept a 13-byte field after the site
// longitude that is no longer used and had no offset-focus angle; the oldest
// (1939) had no inclination either.  Older dual-feed files (1990) kept the
// same unused field after the site longitude.
#include <cstring>

#include "framework/output/document_fields.h"
#include "pointing/alignment/alignment_records.h"

namespace {

// Versions the readers take.
constexpr std::uint16_t kOldestLookAngleVersion = 1939;
constexpr std::uint16_t kLookAngleVersionWithInclination = 1940;
constexpr std::uint16_t kOldestDualFeedVersion = 1990;
constexpr std::uint16_t kDualFeedVersionWithoutSkip = 1991;

// The value an old file gets for the angles it did not store.
constexpr const char* kMissingAngle = "0.00";

// The unused field of the older layouts.
constexpr std::size_t kObsoleteFieldBytes = 13;

template <class Record>
Record ZeroRecord()
{
    Record r;
    std::memset(&r, 0, sizeof r);
    return r;
}

bool ReadLookAngleFields(DocumentFile& file, std::uint16_t version, LookAngleInputRecord& r)
{
    DocumentFieldReader in(file, sizeof r);
    if (!in.Texts(r.siteName, r.satelliteName, r.siteLatitude, r.siteLongitude)) return false;
    if (version == kLookAngleFileVersion)
        return in.Texts(r.satelliteLongitude, r.inclination, r.polarizationCant, r.offsetFocusAngle);
    if (!in.Skip(kObsoleteFieldBytes) || !in.Text(r.satelliteLongitude)) return false;
    PutText(r.offsetFocusAngle, kMissingAngle);
    if (version < kLookAngleVersionWithInclination) {
        PutText(r.inclination, kMissingAngle);
        return in.Text(r.polarizationCant);
    }
    return in.Texts(r.inclination, r.polarizationCant);
}

bool ReadDualFeedFields(DocumentFile& file, std::uint16_t version, DualFeedInputRecord& r)
{
    DocumentFieldReader in(file, sizeof r);
    if (!in.Texts(r.siteName, r.primaryName, r.secondaryName, r.siteLatitude, r.siteLongitude)) return false;
    if (version < kDualFeedVersionWithoutSkip && !in.Skip(kObsoleteFieldBytes)) return false;
    return in.Texts(r.primaryLongitude, r.secondaryLongitude, r.aperture, r.efficiency, r.frequency, r.fOverD,
                    r.beamfactor);
}

}  // namespace

LookAngleInputRecord NewLookAngleRecord()
{
    auto r = ZeroRecord<LookAngleInputRecord>();
    PutText(r.inclination, "0");
    PutText(r.polarizationCant, "0");
    PutText(r.offsetFocusAngle, "0");
    return r;
}

void TerminateTexts(LookAngleInputRecord& r)
{
    TerminateText(r.siteName);
    TerminateText(r.satelliteName);
    TerminateText(r.siteLatitude);
    TerminateText(r.siteLongitude);
    TerminateText(r.satelliteLongitude);
    TerminateText(r.inclination);
    TerminateText(r.polarizationCant);
    TerminateText(r.offsetFocusAngle);
}

void TerminateTexts(DualFeedInputRecord& r)
{
    TerminateText(r.siteName);
    TerminateText(r.primaryName);
    TerminateText(r.secondaryName);
    TerminateText(r.siteLatitude);
    TerminateText(r.siteLongitude);
    TerminateText(r.primaryLongitude);
    TerminateText(r.secondaryLongitude);
    TerminateText(r.aperture);
    TerminateText(r.efficiency);
    TerminateText(r.frequency);
    TerminateText(r.fOverD);
    TerminateText(r.beamfactor);
}

bool ReadLookAngleDocument(const char* fileName, LookAngleInputRecord& r)
{
    r = ZeroRecord<LookAngleInputRecord>();
    DocumentFile file(fileName ? fileName : "");
    std::uint16_t version = 0;
    if (!file.IsOpen() || !file.ReadVersion(version)) return false;
    if (version < kOldestLookAngleVersion || version > kLookAngleFileVersion) return false;
    if (!ReadLookAngleFields(file, version, r)) return false;
    TerminateTexts(r);
    return true;
}

bool ReadDualFeedDocument(const char* fileName, DualFeedInputRecord& r)
{
    r = ZeroRecord<DualFeedInputRecord>();
    DocumentFile file(fileName ? fileName : "");
    std::uint16_t version = 0;
    if (!file.IsOpen() || !file.ReadVersion(version)) return false;
    if (version < kOldestDualFeedVersion || version > kDualFeedFileVersion) return false;
    if (!ReadDualFeedFields(file, version, r)) return false;
    TerminateTexts(r);
    return true;
}
