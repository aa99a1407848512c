// Isolated downlink documents ("*.rdn", and the older "*.dlb" and "*.dnd"):
// the version word 8010 and the whole input record; versions 8005 to 8009
// hold fewer stretches of the record, and two older layouts (3000 to 3002,
// 1951 to 1960) are read field by field.  Free of Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "linkbudget/isolated/downlink_record.h"

inline constexpr std::uint16_t kDownlinkDocumentVersion = 8010;

// Bytes of a document of the current version holding the record.
std::vector<unsigned char> EncodeDownlinkDocument(const DownlinkInputRecord& record);

// Reads a document of version 8005 to 8010 (fields an older version lacks
// take their defaults), or of the two older layouts, 3000 to 3002 and 1951 to
// 1960.  False for any other version or a file too short for its version;
// the record is then zeroed.
bool DecodeDownlinkDocument(const unsigned char* data, std::size_t size, DownlinkInputRecord& record);

// Reads the file and decodes it; false when it cannot be read or decoded.
bool ReadDownlinkDocument(const char* fileName, DownlinkInputRecord& record);
