// GEO link-budget documents ("*.glb"): the version word 2013 and the whole
// input record.  The reader also takes every earlier version from 2000 and
// the older "*.upd" generation (130 to 139), field by field, with the values
// those versions lack.  Free of Qt.
#pragma once

#include <cstdint>

#include "framework/output/document_fields.h"
#include "linkbudget/geo/geo_record.h"

inline constexpr std::uint16_t kGeoFileVersion = 2013;

// Reads a whole document into a fresh record.  False for a file that cannot
// be opened, has a version no reader takes, or breaks off; the record then
// holds nothing of use.  A legacy C/IM that had to become "AUTO" leaves its
// notice (-514) in `notice`, else 0.
bool ReadGeoDocument(const char* fileName, GeoLinkInputRecord& record, std::int32_t& notice);

// The fields of versions 2000 to 2013, in file order.
bool ReadGeoFileV2000(DocumentFile& file, int version, GeoLinkInputRecord& record, std::int32_t& notice);
// The fields of versions 130 to 139, then what they lack.
bool ReadGeoFileV130(DocumentFile& file, int version, GeoLinkInputRecord& record);
// The values the 130-139 generation did not store.
void FixOldGeoFields(GeoLinkInputRecord& record);
