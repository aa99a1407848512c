// The atmospheric-losses input record: the transfer buffer of its input form
// and the body of an ".atn" document, byte for byte (222 bytes, packed, radio
// states as little-endian 16-bit words), and the reader of every document
// version that the window opens.  Free of Qt.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/forms/record_fields.h"
#include "framework/output/docfile.h"

#pragma pack(push, 1)

// Value-initialise it (AtmosLossInputRecord r{}) for an empty record.
struct AtmosLossInputRecord {
    Text41 siteName;
    Text41 satName;
    Text13 siteLatitude;     // "53.42N"
    Text13 siteLongitude;    // "3.00W"
    Text13 siteAltitude;     // km, or "auto" in any letter case
    Text13 satLongitude;
    Text13 frequency;        // GHz
    Text2 polarization;      // "V", "H" or "C"
    Text13 availability;     // % of an average year
    Text13 systemNoise;      // clear-sky total system noise, K
    Text13 diameter;         // antenna diameter, m
    Text13 efficiency;       // antenna efficiency, %
    ButtonState ituAuto;     // "ITU-R (auto)": R0.01 from the rain-rate map
    ButtonState craneTc;     // "Crane T-C."
    ButtonState craneUsa;    // "Crane USA"
    ButtonState ituManual;   // "ITU-R (mm/h)": the typed R0.01
    Text13 manualRainRate;   // R0.01, mm/h
};

#pragma pack(pop)

static_assert(sizeof(AtmosLossInputRecord) == 222, "the atmospheric-losses record is 222 bytes");

namespace orbiscope::losses {

// Documents are written as version 4004; 4000 to 4004 and the two oldest
// versions 1812 and 1813 are read.
inline constexpr std::uint16_t kAtmosLossVersion = 4004;
inline constexpr std::uint16_t kFirstAtmosLossVersion = 4000;
inline constexpr std::uint16_t kOldAtmosLossVersion1 = 1812;
inline constexpr std::uint16_t kOldAtmosLossVersion2 = 1813;

// What documents older than 4004 did not store.
inline constexpr const char* kDefaultDiameter = "1.20";
inline constexpr const char* kDefaultEfficiency = "64";

// A new window's record: empty texts, the altitude "AUTO", "ITU-R (auto)".
void SetAtmosLossDefaults(AtmosLossInputRecord& r);

// True for "auto" in any letter case, and only for that.
bool IsAutoText(std::string_view text);

// The rain-rate source of a record: 0 the rain-rate map, 1 the typed rate.
// The two Crane models have no rates of their own: they are computed with the
// map rate and leave "ITU-R (auto)" set beside their own button.
int RainRateMode(AtmosLossInputRecord& r);

// Reads the record of a document after its version word: false for a version
// the window does not read, and for a file that ends early or holds more
// fields than the record (the file is then closed).  `r` is filled from a
// zeroed record with "ITU-R (auto)" set; texts are ended at their last byte.
bool ReadAtmosLossDocument(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& r);
// The same for versions 4000 to 4004 only, and for 1812 and 1813 only.
bool ReadAtmosLossFields(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& r);
bool ReadOldAtmosLossFields(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& r);

}  // namespace orbiscope::losses
