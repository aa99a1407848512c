// The input forms of the atmospheric losses: TRainForm over the window's
// document record, and the forms of the three loss tables (TRain2Form,
// TAvailForm, TAttenExtForm), which start from and keep the application's
// stored values.  All four lay their fields out alike: labelled entries down
// the left, the rain-model buttons on the right, the buttons along the bottom.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "rftools/losses/atmos_loss_record.h"
#include "rftools/losses/loss_tables.h"
#include "rftools/tables/table_forms.h"

namespace lossform {

enum ControlId : int {
    kSiteName = 200, kSatName = 201, kSiteLatitude = 202, kSiteLongitude = 203, kSiteAltitude = 205,
    kSatLongitude = 206, kFrequency = 208, kPolarization = 215, kAvailability = 4516, kSystemNoise = 311,
    kDiameter = 14027, kEfficiency = 14028, kElevationOverride = 5821, kRangeStart = 692, kRangeEnd = 691,
    kItuAuto = 14706, kCraneTc = 14709, kCraneUsa = 14713, kItuManual = 14710, kManualRate = 14712,
    kSite = 126, kSatellite = 127, kClear = 120,
};

// One labelled entry: its control id, text limit (terminator included),
// label and status-bar hint.
struct Entry {
    int id;
    int limit;
    const char* label;
    const char* hint;
};

struct Radio {
    int id;
    const char* text;
};

// A form's controls in transfer order: the entries before the rain models,
// the "Rain Model" group, the entries inside it below the buttons, then the
// push buttons.
struct Layout {
    std::span<const Entry> entries;
    std::span<const Radio> rainModels;
    std::span<const Entry> modelEntries;
    std::span<const int> buttons;
};
std::vector<platform::ControlSpec> Controls(const Layout& layout);

// Builds the entries (each showing its own hint) and the rain-model buttons
// of a form made from `layout`.
void MakeControls(TForm& form, const Layout& layout);

// The Site and Satellite pickers of every losses form (the town and
// satellite databases unless a test replaces them); true when something
// was picked.
using Picker = std::function<bool(TForm& parent)>;
void SetPickers(Picker site, Picker satellite);
bool RunSitePicker(TForm& form);
bool RunSatellitePicker(TForm& form);

inline constexpr const char* kLatitudeUnit = "\xB0N,\xB0S";
inline constexpr const char* kLongitudeUnit = "\xB0W,\xB0" "E";

}  // namespace lossform

// "Edit Atmospheric Attenuation Parameters" over the window's record.
class TRainForm : public TForm {
public:
    static constexpr int kResourceId = 5800;

    TRainForm(QWidget* parent, AtmosLossInputRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();

    bool CanClose() override;
    // Every field check in order; stops at the first failure (shown unless
    // the form is silent).
    bool ValidateFields(const AtmosLossInputRecord& r);
    void CmSite();
    void CmSatellite();

private:
    AtmosLossInputRecord& record_;
};

// The three table forms: the table window's form base (stored values shown
// at the start and kept after a valid OK, Clear, Help on the form's own
// page) with the losses forms' layout, checks, Site and Satellite.
class TLossTableForm : public TTableForm {
public:
    TLossTableForm(QWidget* parent, int resourceId, int storedRecord, const lossform::Layout& layout, void* record,
                   std::size_t size);
    // The checks of the form, on the controls' texts, in order.
    virtual bool ValidateFields() = 0;
    void CmSite();
    void CmSatellite();

protected:
    bool CheckMore() override { return ValidateFields(); }
    std::string Text(int id) const { return GetControlText(id); }
};

// The national table's form.
class TRain2Form : public TLossTableForm {
public:
    static constexpr int kResourceId = 5819;
    static constexpr int kStoredRecord = 37;
    TRain2Form(QWidget* parent, NationalLossInputRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
    bool ValidateFields() override;
};

// The availability table's form.
class TAvailForm : public TLossTableForm {
public:
    static constexpr int kResourceId = 5820;
    static constexpr int kStoredRecord = 7;
    TAvailForm(QWidget* parent, AvailLossInputRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
    bool ValidateFields() override;
};

// The frequency table's form.
class TAttenExtForm : public TLossTableForm {
public:
    static constexpr int kResourceId = 8492;
    static constexpr int kStoredRecord = 42;
    TAttenExtForm(QWidget* parent, FreqLossInputRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
    bool ValidateFields() override;
};
