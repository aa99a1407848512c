// Isolated uplink documents ("*.rup"): the version word 7010 and the whole
// input record; versions 7005 to 7009 hold fewer stretches of the record.
// Free of Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "linkbudget/isolated/uplink_record.h"

inline constexpr std::uint16_t kUplinkDocumentVersion = 7010;

// Bytes of a document of the current version holding the record.
std::vector<unsigned char> EncodeUplinkDocument(const UplinkInputRecord& record);

// Reads a document of version 7005 to 7010 into the record (zeroed first,
// fields an older version lacks take their defaults).  False for another
// version or a file too short for its version; the record is then zeroed.
bool DecodeUplinkDocument(const unsigned char* data, std::size_t size, UplinkInputRecord& record);

// Reads the file and decodes it; false when it cannot be read or decoded.
bool ReadUplinkDocument(const char* fileName, UplinkInputRecord& record);
