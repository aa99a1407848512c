// The solar-outage input record: the transfer buffer of its input dialog and
// the body of a ".sun" document, byte for byte (185 bytes, packed, radio
// states as little-endian 16-bit words).
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/forms/record_fields.h"
#include "pointing/sun/outage_search.h"

#pragma pack(push, 1)

// Value-initialise it (SolarOutRecord r{}) for an empty record.
struct SolarOutRecord {
    Text41 siteName;
    Text41 satName;
    Text13 siteLatitude;
    Text13 siteLongitude;
    Text13 satLongitude;
    Text13 year;
    Text13 zone;       // hours east of Greenwich
    Text13 aperture;   // m
    Text13 frequency;  // GHz
    ButtonState standard, wide;  // "Beamwidth option"
    ButtonState minute, second;  // "Resolution"
    ButtonState gmt, local;      // "Time output" (documents from version 1947)
};

#pragma pack(pop)

static_assert(sizeof(SolarOutRecord) == 185, "the solar outage record is 185 bytes");

namespace orbiscope::sun {

inline constexpr std::uint16_t kSolarOutVersion = 1947;
inline constexpr std::uint16_t kOldestSolarOutVersion = 1945;

// A new window's record: empty texts, Standard, Nearest minute and Local.
void SetSolarOutDefaults(SolarOutRecord& r);

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
