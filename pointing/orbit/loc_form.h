// TLocForm: the options dialog of the satellite positions window (dialog
// 13330): the observer site, the time offset, the refresh rate and the
// display and sort options, over the window's 121-byte option record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"

// The transfer record, in control order: five texts, then fourteen 16-bit
// radio states (1 = selected).
#pragma pack(push, 1)
struct TleOptionRecord {
    char siteName[41];
    char latitude[13];      // "53.42N"
    char longitude[13];     // "3.00W"
    char timeOffset[13];    // seconds
    char refreshRate[13];   // seconds
    std::uint16_t numerical, string;                          // lat/long format
    std::uint16_t modulo180, degreesEast, degreesWest;        // longitude display
    std::uint16_t sortName, sortId, sortInclination, sortLatitude, sortLongitude, sortAltitude, sortAzimuth,
        sortElevation, sortRange;                             // sort field
};
#pragma pack(pop)
static_assert(sizeof(TleOptionRecord) == 121, "the option record is 121 bytes");

// Every edit of the dialog: its hint in the status bar.
class TLocEntry : public TMyEdit {
public:
    TLocEntry(TForm* parent, int id, int textLimit);
};

class TLocForm : public TForm {
public:
    static constexpr int kResourceId = 13330;
    enum ControlId : int {
        kSiteName = 200, kLatitude = 202, kLongitude = 203, kTimeOffset = 13336, kRefreshRate = 13337,
        kNumerical = 13331, kString = 13332, kModulo180 = 13333, kDegreesEast = 13334, kDegreesWest = 13335,
        kSortName = 13338, kSortId, kSortInclination, kSortLatitude, kSortLongitude, kSortAltitude, kSortAzimuth,
        kSortElevation, kSortRange,
        kSiteButton = 126,
    };
    // The time offset the dialog accepts, s: one day either way, as its hint
    // says and as far as the positions follow it.
    static constexpr double kMaxTimeOffsetSeconds = 86400.0;

    TLocForm(QWidget* parent, TleOptionRecord& record);

    static std::vector<platform::ControlSpec> ControlTable();

    // Checks site name, latitude, longitude, time offset and refresh rate in
    // that order, stopping at the first that fails.
    bool CanClose() override;
    // Button 126: the town picker fills the three site fields.
    void CmPickTown();
    // Button 9: help topic 13330.
    void CmHelp();

    // The town picker the Site button runs: true when the user picked a town,
    // which the picker leaves in the application's picked-site fields.
    using SitePicker = std::function<bool(TForm& parent)>;
    static void SetSitePicker(SitePicker picker);
};
