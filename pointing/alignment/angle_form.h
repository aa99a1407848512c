// TAngleForm: the input dialog of the look-angles window (dialog 55, "Edit
// Look Angle Parameters") over the window's 160-byte record, with the town
// and satellite pickers.
#pragma once

#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "pointing/alignment/alignment_records.h"

// Every edit of the dialog: its hint in the status bar.
class TAngleEntry : public TMyEdit {
public:
    TAngleEntry(TForm* parent, int id, int textLimit);
};

class TAngleForm : public TForm {
public:
    static constexpr int kResourceId = 55;
    enum ControlId : int {
        kSiteName = 200, kSatelliteName = 201, kSiteLatitude = 202, kSiteLongitude = 203,
        kSatelliteLongitude = 206, kInclination = 230, kPolarizationCant = 207, kOffsetFocusAngle = 231,
        kSiteButton = 126, kSatelliteButton = 127,
    };

    TAngleForm(QWidget* parent, LookAngleInputRecord& record);

    static std::vector<platform::ControlSpec> ControlTable();

    bool CanClose() override;
    // Every field in record order, stopping at the first that fails.
    bool ValidateFields(const LookAngleInputRecord& record);
    // Button 126: the picked town's name, latitude and longitude.
    void CmSite();
    // Button 127: the picked satellite's name and longitude.
    void CmSatellite();
};
