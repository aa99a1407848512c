// The solar-outage input record: the transfer buffer of its input dialog and
// the body of a ".sun" document, byte for byte (185 bytes, packed, radio
// states as little-endian 16-bit words).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pointing/sun/outage_search.h"

#pragma pack(push, 1)

// A radio button's state in a transfer record.
struct RadioWord {
    std::uint8_t bytes[2] = {0, 0};
    bool On() const { return bytes[0] != 0 || bytes[1] != 0; }
    void Set(bool on) { bytes[0] = on ? 1 : 0, bytes[1] = 0; }
};

struct SolarOutRecord {
    char siteName[41] = {};
    char satName[41] = {};
    char siteLatitude[13] = {};
    char siteLongitude[13] = {};
    char satLongitude[13] = {};
    char year[13] = {};
    char zone[13] = {};
    char aperture[13] = {};
    char frequency[13] = {};
    RadioWord standard, wide;    // "Beamwidth option"
    RadioWord minute, second;    // "Resolution"
    RadioWord gmt, local;        // "Time output" (documents from version 1947)
};

#pragma pack(pop)

static_assert(sizeof(SolarOutRecord) == 185, "the solar outage record is 185 bytes");

namespace orbiscope::sun {

inline constexpr std::uint16_t kSolarOutVersion = 1947;
inline constexpr std::uint16_t kOldestSolarOutVersion = 1945;

// A new window's record: empty texts, Standard, Nearest minute and Local.
void SetSolarOutDefaults(SolarOutRecord& r);

// A text field up to its terminator (or its whole width).
template <std::size_t N>
std::string_view FieldText(const char (&field)[N])
{
    std::size_t n = 0;
    while (n < N && field[n] != 0) ++n;
    return std::string_view(field, n);
}
template <std::size_t N>
void SetFieldText(char (&field)[N], std::string_view text)
{
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    for (std::size_t i = 0; i < N; ++i) field[i] = i < n ? text[i] : '\0';
}

// The parsed inputs of a record (numbers read as the C run-time reads them).
struct SolarOutInputs {
    double siteLatitude = 0, siteLongitude = 0, satLongitude = 0;
    int year = 0;
    double zone = 0, apertureM = 0, frequencyGHz = 0;
};
SolarOutInputs ParseSolarOutInputs(const SolarOutRecord& r);

// The search options of a record with the satellite's look angles.
OutageInputs SearchInputs(const SolarOutRecord& r, const SolarOutInputs& p, double satElevation, double satAzimuth);

}  // namespace orbiscope::sun
