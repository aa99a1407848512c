// The input records of the look-angles and dual-feed windows: the transfer
// buffers of their dialogs and the bodies of their documents.  Fixed-width
// Latin-1 texts, each ended within its width; packed, no padding.  Free of Qt.
#pragma once

#include <cstdint>

#include "framework/forms/record_fields.h"

#pragma pack(push, 1)

// One site and one geostationary satellite ("*.ang").
struct LookAngleInputRecord {
    char siteName[41];
    char satelliteName[41];
    char siteLatitude[13];         // "53.42N"
    char siteLongitude[13];        // "3.00W"
    char satelliteLongitude[13];   // "28.2E"
    char inclination[13];          // degrees
    char polarizationCant[13];     // degrees
    char offsetFocusAngle[13];     // degrees, 0 for a prime-focus dish
};

// One site, a primary and a secondary satellite, and the dish ("*.duo").
struct DualFeedInputRecord {
    char siteName[41];
    char primaryName[41];
    char secondaryName[41];
    char siteLatitude[13];
    char siteLongitude[13];
    char primaryLongitude[13];
    char secondaryLongitude[13];
    char aperture[13];             // metres
    char efficiency[13];           // percent, or a gain in dBi after a leading "+"
    char frequency[13];            // GHz
    char fOverD[13];
    char beamfactor[13];
};

#pragma pack(pop)

static_assert(sizeof(LookAngleInputRecord) == 160, "the look-angle record is 160 bytes");
static_assert(sizeof(DualFeedInputRecord) == 240, "the dual-feed record is 240 bytes");

// The record a new look-angles window starts from: empty texts, and "0" for
// the inclination, the cant and the offset angle.
LookAngleInputRecord NewLookAngleRecord();

// Ends every text of a record at its last byte.
void TerminateTexts(LookAngleInputRecord& r);
void TerminateTexts(DualFeedInputRecord& r);

// Documents: the version word, then the record whole.
inline constexpr std::uint16_t kLookAngleFileVersion = 1942;
inline constexpr std::uint16_t kDualFeedFileVersion = 1992;

// Reads a document of any version the program has written into `r`.  False
// for anything that is not a readable regular file, a version outside the
// known ones, or a file that ends before the last field; `r` is then not to
// be used, and the caller keeps its own record.  The texts come back ended
// within their widths.
bool ReadLookAngleDocument(const char* fileName, LookAngleInputRecord& r);
bool ReadDualFeedDocument(const char* fileName, DualFeedInputRecord& r);
