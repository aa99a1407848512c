// Non-GEO link-budget documents: the version word 9012 and the whole input
// record ("*.llb"); the reader also takes every version from 9000 and the
// older "*.leo" generation (7001, 7002), field by field, with the values those
// versions lack.  Free of Qt.
#pragma once

#include <cstdint>

#include "framework/output/document_fields.h"
#include "linkbudget/nongeo/nongeo_record.h"

inline constexpr std::uint16_t kNonGeoFileVersion = 9012;

// Reads the fields of versions 9000 to 9012 in file order.
bool ReadNonGeoFileV9000(DocumentFile& file, int version, NonGeoLinkInputRecord& r, std::int32_t& notice);
// Reads the fields of versions 7001 and 7002, then fills what they lack.
bool ReadNonGeoFileV7001(DocumentFile& file, int version, NonGeoLinkInputRecord& r);
// The values the 7001/7002 generation did not store.
void FixOldNonGeoFields(NonGeoLinkInputRecord& r);

// Reads a whole document into a fresh record.  False for a file that cannot
// be opened, has a version no reader takes, or breaks off; `r` then holds
// nothing of use and the caller keeps its own record.  A legacy C/IM that had
// to become "AUTO" leaves its notice (-514) in `notice`, else 0.
bool ReadNonGeoDocument(const char* fileName, NonGeoLinkInputRecord& r, std::int32_t& notice);
