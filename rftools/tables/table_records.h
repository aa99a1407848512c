// The transfer records of the table forms: each is its form's transfer
// buffer in the table window and its record among the stored dialog values,
// byte for byte (packed; texts zero-terminated within their width, button
// states 16-bit little-endian at any offset).  Free of Qt.
#pragma once

#include <cstddef>

#include "framework/databases/place_files.h"
#include "framework/forms/record_fields.h"

namespace orbiscope::tables {

#pragma pack(push, 1)

// "Search For Satellites > Horizon" (dialog 718).
struct RecSiteRecord {
    Text41 siteName;
    Text13 siteLatitude;
    Text13 siteLongitude;
    Text13 minimumElevation;  // degrees
    ButtonState bands[kBandCount];  // the band check boxes, in the order of kBandCodes
};

// "Search for Common Satellites  > Horizon" (dialog 236).
struct RecSite2Record {
    Text41 site1Name;
    Text13 site1Latitude;
    Text13 site1Longitude;
    Text41 site2Name;
    Text13 site2Latitude;
    Text13 site2Longitude;
    Text13 minimumElevation;  // degrees
    ButtonState bands[kBandCount];  // the band check boxes, in the order of kBandCodes
};

// "Edit Solar Event Tabulation Form" (dialog 900).
struct SolarTransitRecord {
    Text41 siteName;
    Text13 siteLatitude;
    Text13 siteLongitude;
    Text13 zone;              // hours east of Greenwich
    Text13 targetLongitude;   // the site's own longitude, or a satellite's
    Text13 month;
    Text13 year;
};

// "Operation Frequency Input" (dialog 9235).
struct FreqRecord {
    Text13 frequency;         // GHz
};

// "Antenna System Input Data" (dialog 320).
struct AntSysSmallRecord {
    Text13 frequency;         // GHz
    Text13 systemNoise;       // K
    Text13 bandwidth;         // MHz
};

// "Edit Bit Error Rate / Bit Error Probability" (dialog 16520).
struct BerRecord {
    Text13 log10Ber;
};

// "Satellite Position" (dialog 3883).
struct SatPosRecord {
    Text13 satelliteLongitude;
    Text13 polarizationCant;  // degrees
};

// "Create Dual Feed Spacing Table" (dialog 8706).
struct DualTabRecord {
    Text41 primaryName;
    Text41 secondaryName;
    Text13 primaryLongitude;
    Text13 secondaryLongitude;
    Text13 aperture;          // m
    Text13 fOverD;
    Text13 beamfactor;
};

#pragma pack(pop)

static_assert(sizeof(RecSiteRecord) == 98 && offsetof(RecSiteRecord, bands) == 80);
static_assert(sizeof(RecSite2Record) == 165 && offsetof(RecSite2Record, bands) == 147);
static_assert(sizeof(SolarTransitRecord) == 119 && offsetof(SolarTransitRecord, year) == 106);
static_assert(sizeof(FreqRecord) == 13);
static_assert(sizeof(AntSysSmallRecord) == 39);
static_assert(sizeof(BerRecord) == 13);
static_assert(sizeof(SatPosRecord) == 26);
static_assert(sizeof(DualTabRecord) == 147 && offsetof(DualTabRecord, beamfactor) == 134);

}  // namespace orbiscope::tables
