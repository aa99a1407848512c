// The transfer records of the graph forms, byte for byte as the dialogs fill
// them and as "orbisco.dat" stores them: fixed-width Latin-1 texts and
// 16-bit radio states, packed.  Free of Qt.
#pragma once

#include <cstddef>

#include "framework/forms/record_fields.h"

namespace graphs {

#pragma pack(push, 1)

// Antenna gain template (and the off-axis gain table).
struct TemplateRecord {
    Text13 diameter;         // m
    Text13 efficiency;       // %
    Text13 frequency;        // GHz
    Text13 angularLimit;     // degrees: end of the x axis, or of the table
    ButtonState coPolar;
    ButtonState crossPolar;  // BO.1213 only
    ButtonState bo1213;
    ButtonState combined;    // AP8/S.580
};

// Aperture beam patterns (and the illumination table).
struct BeamRecord {
    Text13 frequency;        // GHz
    Text13 aperture;         // m: diameter, or the side of a rectangular aperture
};

struct AntGainRecord {
    Text13 frequency;        // GHz
    Text13 efficiency;       // %
    Text13 maximumAperture;  // m
};

struct AntSysRecord {
    Text13 frequency;        // GHz
    Text13 systemNoise;      // K
    Text13 bandwidth;        // MHz
    Text13 requiredCn;       // dB, clear sky
    Text13 maximumAperture;  // m, or "auto"
};

struct FocalRecord {
    Text13 diameter;         // m
    Text13 fOverD;
};

struct AttenRecord {
    Text41 location;
    Text41 satellite;
    Text13 siteLatitude;     // "51.50N"
    Text13 siteLongitude;    // "0.14W"
    Text13 siteAltitude;     // km, or "auto"
    Text13 satelliteLongitude;
    Text2 polarization;      // V, H or C
    Text13 availability;     // %
    Text13 frequencyLimit;   // GHz
    ButtonState ituModel;
    ButtonState craneTc;
    ButtonState craneUsa;
};

struct AbsorbRecord {
    Text41 location;
    Text41 satellite;
    Text13 siteLatitude;
    Text13 siteLongitude;
    Text13 satelliteLongitude;
    Text13 availability;     // %
    Text13 frequencyLimit;   // GHz
    Text13 absorptionLimit;  // dB
};

struct EbNoRecord {
    Text13 levels;           // M
    ButtonState oneBit;
    ButtonState psk;         // M-PSK / M-APSK
    ButtonState qam;
};

#pragma pack(pop)

static_assert(sizeof(TemplateRecord) == 60 && offsetof(TemplateRecord, coPolar) == 52 &&
              offsetof(TemplateRecord, combined) == 58);
static_assert(sizeof(BeamRecord) == 26);
static_assert(sizeof(AntGainRecord) == 39);
static_assert(sizeof(AntSysRecord) == 65 && offsetof(AntSysRecord, maximumAperture) == 52);
static_assert(sizeof(FocalRecord) == 26);
static_assert(sizeof(AttenRecord) == 168 && offsetof(AttenRecord, polarization) == 134 &&
              offsetof(AttenRecord, availability) == 136 && offsetof(AttenRecord, ituModel) == 162);
static_assert(sizeof(AbsorbRecord) == 160 && offsetof(AbsorbRecord, absorptionLimit) == 147);
static_assert(sizeof(EbNoRecord) == 19 && offsetof(EbNoRecord, qam) == 17);

}  // namespace graphs
