// TSolarOutForm: "Edit Solar Outage Parameters" (dialog 17000) over the
// solar-outage window's record.
#pragma once

#include <functional>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "pointing/sun/solar_out_record.h"

class TSolarOutEntry : public THintedEdit {
public:
    TSolarOutEntry(TForm* parent, int id, int textLimit);
};

class TSolarOutForm : public TForm {
public:
    static constexpr int kResourceId = 17000;

    TSolarOutForm(QWidget* parent, SolarOutRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();

    bool CanClose() override;
    // Every field check in order; stops at the first failure (shown unless
    // the form is silent).  An aperture too small for its frequency fails too.
    bool ValidateFields(const SolarOutRecord& record);

    void CmSite();
    void CmSatellite();

    SolarOutRecord Scratch() const;
    void PutScratch(const SolarOutRecord& r);

    // The pickers the Site and Satellite buttons run (the town and satellite
    // databases unless replaced); true when something was picked.
    using Picker = std::function<bool(TForm& parent)>;
    static void SetPickers(Picker site, Picker satellite);

private:
    SolarOutRecord& record_;
};

namespace orbiscope::sun {
// The largest antenna aperture any solar-outage field or batch file allows, m.
inline constexpr double kLargestApertureM = 50.0;
// The check behind ValidateFields' last step, shared with the batch forms:
// false, with a "Range Error" message through the form, when the aperture
// is below 1.22 wavelengths at the frequency.  When even the largest
// aperture allowed is too small, the message blames the frequency instead.
bool CheckApertureForFrequency(TForm& form, double apertureM, double frequencyGHz, std::string_view frequencyText);
// The frequency part alone (for the site-file batch, whose apertures come
// with the sites): false, with the message, when no aperture allowed spans
// 1.22 wavelengths.
bool CheckFrequencyAllowsAperture(TForm& form, double frequencyGHz, std::string_view frequencyText);
// The Site and Satellite pickers of every solar-outage form.
bool RunSitePicker(TForm& form);
bool RunSatellitePicker(TForm& form);
}  // namespace orbiscope::sun
