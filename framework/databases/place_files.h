// The town and satellite databases on disk: country files "*.twn" and
// satellite files "*.geo" (among them "satlist.geo", the satellite pickers'
// list).  Plain C++, no Qt.
//
// Country file, little-endian, read and written whole:
//   0  u16  version 1066
//   2  u16  n, the number of towns (0 to 1999)
//   4  (n + 1) x 28-byte TownRecord; record 0 names the country
// Satellite file:
//   0  u16  version 1993
//   2  u16  n, the number of satellites (0 to 999)
//   4  (n + 1) x 44-byte SatelliteRecord; record 0 titles the list
//
// Every file is untrusted: a count is checked against the file's real size
// before a record is read, and a text that fills its field is cut at the
// field's last byte, so nothing reads past a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// 28 bytes: name (zero-terminated), latitude and longitude in D.MM (whole
// degrees, minutes as the first two decimals), north and east positive.
struct TownRecord {
    char name[20] = {};
    float latitude = 0.0f;
    float longitude = 0.0f;
};
static_assert(sizeof(TownRecord) == 28, "the town record is 28 bytes on disk");

// 44 bytes: name, orbital longitude in decimal degrees east, the active bands
// as comma-separated codes ("C,Ku").
struct SatelliteRecord {
    char name[20] = {};
    float longitude = 0.0f;
    char bands[20] = {};
};
static_assert(sizeof(SatelliteRecord) == 44, "the satellite record is 44 bytes on disk");

inline constexpr std::uint16_t kCountryFileVersion = 1066;
inline constexpr std::uint16_t kSatelliteFileVersion = 1993;
inline constexpr std::size_t kMaxTowns = 1999;
inline constexpr std::size_t kMaxSatellites = 999;
inline constexpr std::size_t kPlaceFileHeadBytes = 4;
inline constexpr const char* kSatelliteListFile = "satlist.geo";

// How a reader judges the head of a file.
struct PlaceFileRule {
    std::uint16_t version = 0;
    bool laterVersions = false;   // a version above `version` is accepted too
    std::size_t maxCount = 0;     // larger counts are refused; 0: any count the file holds
};

// The document windows open only their own version with the format's count
// limit; the pickers take any later version (towns) and any count that the
// file really holds.
inline constexpr PlaceFileRule kCountryWindowRule{kCountryFileVersion, false, kMaxTowns};
inline constexpr PlaceFileRule kTownPickerRule{kCountryFileVersion, true, 0};
inline constexpr PlaceFileRule kSatelliteWindowRule{kSatelliteFileVersion, false, kMaxSatellites};
inline constexpr PlaceFileRule kSatellitePickerRule{kSatelliteFileVersion, false, 0};

// Records 0 to n of a file image; false for a wrong version, a count the
// rule refuses, or a file shorter than its head and n + 1 records.  Bytes
// after the last record are ignored.  On failure `records` is left as it was.
bool ParseTownFile(std::span<const std::uint8_t> bytes, const PlaceFileRule& rule, std::vector<TownRecord>& records);
bool ParseSatelliteFile(std::span<const std::uint8_t> bytes, const PlaceFileRule& rule,
                        std::vector<SatelliteRecord>& records);

// Reads a file as above; only the head and the records are read, however
// long the file is.  False also when the file cannot be opened.
bool ReadTownFile(const std::filesystem::path& file, const PlaceFileRule& rule, std::vector<TownRecord>& records);
bool ReadSatelliteFile(const std::filesystem::path& file, const PlaceFileRule& rule,
                       std::vector<SatelliteRecord>& records);

// The bytes of a file holding records 0 to n (n = size - 1, which must fit
// 16 bits; an empty table is written as record 0 alone).
std::string TownFileBytes(const std::vector<TownRecord>& records);
std::string SatelliteFileBytes(const std::vector<SatelliteRecord>& records);

// Writes through a temporary file beside the target; false when the file
// cannot be written or the table holds more records than the format allows.
bool WriteTownFile(const std::filesystem::path& file, const std::vector<TownRecord>& records);
bool WriteSatelliteFile(const std::filesystem::path& file, const std::vector<SatelliteRecord>& records);

// Fixed-width texts: SetRecordText cuts the text to the field less one byte
// and zero-fills the rest; RecordText stops at the first zero or at the
// field's last byte.
template <std::size_t N>
std::string RecordText(const char (&field)[N])
{
    std::size_t n = 0;
    while (n < N - 1 && field[n] != '\0') ++n;
    return std::string(field, n);
}
void SetRecordText(char* field, std::size_t size, std::string_view text);
template <std::size_t N>
void SetRecordText(char (&field)[N], std::string_view text)
{
    SetRecordText(field, N, text);
}

// The run-time library's case-blind comparison: letters compared as upper
// case, bytes as unsigned.  Negative, 0 or positive.
int CompareNoCase(std::string_view a, std::string_view b);
// Whether `text` begins with `prefix`, without regard to case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Sorts records first to last of the table (the towns by name, case-blind;
// the satellites by longitude, west to east, with a longitude that is no
// number after every other).
void SortTowns(std::vector<TownRecord>& records, std::size_t first, std::size_t last);
void SortSatellites(std::vector<SatelliteRecord>& records, std::size_t first, std::size_t last);

// ---- satellite bands ---------------------------------------------------------
// The band codes in the order of the satellite form's check boxes.
inline constexpr std::size_t kBandCount = 9;
extern const char* const kBandCodes[kBandCount];   // "P" "L" "S" "C" "X" "Ku" "Ka" "Q/V" "?"

// The codes of the ticked bands in table order, each followed by a comma,
// with the last comma removed ("C,Ku").
std::string BandText(const bool (&ticked)[kBandCount]);
// Which boxes a band text ticks: each code found anywhere in the text.
void BandsInText(std::string_view text, bool (&ticked)[kBandCount]);
// The longest band text the record holds.
inline constexpr std::size_t kMaxBandText = sizeof(SatelliteRecord::bands) - 1;

// ---- list and report lines ---------------------------------------------------
// "Leeds (53.48N,1.33W)": a town as held (D.MM).
std::string TownListLine(const TownRecord& town);
// "Alpha 1 (19.20E)".
std::string SatelliteListLine(const SatelliteRecord& satellite);
