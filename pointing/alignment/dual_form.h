// TDualForm: the input dialog of the dual-feed window (dialog 8700, "Edit
// Dual Feed Parameters") over the window's 240-byte record.  The Satellite
// button fills the primary satellite's fields when a primary field had the
// focus last, the secondary's otherwise.
#pragma once

#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "pointing/alignment/alignment_records.h"

// Every edit of the dialog: its hint in the status bar, and its id as the
// application's last-focused entry.
class TDualEntry : public TMyEdit {
public:
    TDualEntry(TForm* parent, int id, int textLimit);
    void EvSetFocus() override;
};

class TDualForm : public TForm {
public:
    static constexpr int kResourceId = 8700;
    enum ControlId : int {
        kSiteName = 200, kPrimaryName = 201, kSecondaryName = 229, kSiteLatitude = 202, kSiteLongitude = 203,
        kPrimaryLongitude = 206, kSecondaryLongitude = 2863, kAperture = 14027, kEfficiency = 14028,
        kFrequency = 208, kFOverD = 8704, kBeamfactor = 8705,
        kSiteButton = 126, kSatelliteButton = 127,
    };

    TDualForm(QWidget* parent, DualFeedInputRecord& record);

    static std::vector<platform::ControlSpec> ControlTable();

    bool CanClose() override;
    bool ValidateFields(const DualFeedInputRecord& record);
    void CmSite();
    void CmSatellite();
};
