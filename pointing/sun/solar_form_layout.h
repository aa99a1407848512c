// The layout shared by the solar-outage input form and the three batch
// forms: labelled text fields down the left, the option groups down the
// right, the buttons along the bottom.  Controls are created in transfer
// order (texts, then the radio buttons group by group), so the forms'
// records are their transfer buffers.
#pragma once

#include <span>
#include <vector>

#include "framework/forms/form_controls.h"
#include "platform/dialog.h"

namespace solarform {

struct TextField {
    int id;
    int limit;            // bytes, terminator included
    const char* label;
    const char* hint;
    bool fileName = false;  // holds a file's name, not text
};

struct RadioGroup {
    const char* caption;
    std::vector<std::pair<int, const char*>> buttons;  // id, text
};

struct PushButton {
    int id;
    const char* text;
};

std::vector<platform::ControlSpec> Controls(std::span<const TextField> texts, std::span<const RadioGroup> groups,
                                            std::span<const PushButton> buttons);

// Hint entries of a text-field table, for an entry class.
std::vector<HintEntry> Hints(std::span<const TextField> texts);

// The radio groups of the forms, in transfer order.
const RadioGroup& SeasonGroup();
const RadioGroup& BeamGroup();
const RadioGroup& ResolutionGroup();
const RadioGroup& TimeGroup();
const RadioGroup& FormatGroup();

enum ControlId : int {
    kSiteName = 200, kSatName = 201, kSiteLatitude = 202, kSiteLongitude = 203, kSatLongitude = 206,
    kFrequency = 208, kBatchFile = 237, kAperture = 14027, kZone = 17001, kYear = 17002,
    kEarly = 591, kLate = 592, kStandard = 17003, kWide = 17004, kMinute = 17005, kSecond = 17006,
    kGmt = 17007, kLocal = 17008, kVertical = 17009, kHorizontal = 17019, kHtml = 17020,
    kSite = 126, kSatellite = 127, kBrowse = 130, kClear = 120,
};

}  // namespace solarform
