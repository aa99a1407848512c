// Non-GEO link-budget documents: the version word 9012 and the whole input
// record ("*.llb"); the reader also takes every version from 9000 and the
// older "*.leo" generation (7001, 7002).  The readers fill a record through
// the window's typed-field reader, so the window's read limit guards them.
#pragma once

#include <cstdint>

#include "framework/output/mywindow.h"
#include "linkbudget/nongeo_link_record.h"

inline constexpr std::uint16_t kNonGeoFileVersion = 9012;

// Reads the fields of versions 9000 to 9012 in file order.
bool ReadNonGeoFileV9000(TMyWindow& window, DocumentFile& file, int version, NonGeoLinkInputRecord& r);
// Reads the fields of versions 7001 and 7002, then fills what they lack.
bool ReadNonGeoFileV7001(TMyWindow& window, DocumentFile& file, int version, NonGeoLinkInputRecord& r);
// The values the 7001/7002 generation did not store.
void FixOldNonGeoFields(NonGeoLinkInputRecord& r);

// Reads a whole document into a fresh record.  False for a file that cannot
// be opened, has a version no reader takes, or breaks off; `r` then holds
// nothing of use and the caller keeps its own record.  A legacy C/IM that had
// to become "AUTO" leaves -514 in the window's CalcErrorCode.
bool ReadNonGeoDocument(TMyWindow& window, const char* fileName, NonGeoLinkInputRecord& r);

// Writes the version word and the record (1180 bytes).
bool WriteNonGeoDocument(TMyWindow& window, const char* fileName, const NonGeoLinkInputRecord& r);
