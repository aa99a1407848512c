// The input forms of the Graph menu.  Each runs on a record of
// graph_records.h: its controls start from the application's stored record
// for the form (the values last accepted anywhere), OK checks the fields in
// order and stops at the first that fails, then stores the controls back
// into that stored record; Clear empties the fields; Help opens the form's
// topic.  `TTemplateForm` and `TBeamForm` also serve the off-axis gain and
// illumination tables.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "rftools/graphs/graph_records.h"

// One field check of a graph form, in the order the form checks them.
struct GraphFieldCheck {
    std::size_t offset;       // in the record
    std::size_t width;        // bytes, terminator included
    const char* label;
    FieldType type;
    double minimum;
    double maximum;
    const char* unit;
    bool autoSkips = false;   // "auto" (any case) passes without a check
};

class TGraphForm : public TForm {
public:
    // `storedRecord`: 1-based record of the stored dialog values.
    TGraphForm(QWidget* parent, int resourceId, const std::string& caption, std::vector<platform::ControlSpec> controls,
               int storedRecord, int helpContext, std::span<const GraphFieldCheck> checks);

    // The default set-up, then the stored record into the controls.
    void SetupWindow() override;
    // The field checks, the form's own checks, then the store.
    bool CanClose() override;
    // The dialog's values into the application's stored record.
    void StoreInputs();
    // Button 120: every field empty, every radio off, then ClearRadios.
    void CmClear();

protected:
    virtual bool CheckMore(const std::vector<std::uint8_t>& values) { (void)values; return true; }
    // The radio states a cleared form shows.
    virtual void ClearRadios(std::vector<std::uint8_t>& values) { (void)values; }

private:
    int storedRecord_;
    std::span<const GraphFieldCheck> checks_;
};

// ---- antenna forms ------------------------------------------------------------

class TTemplateEntry : public TMyEdit {
public:
    TTemplateEntry(TForm* parent, int id, int textLimit);
};

class TTemplateForm : public TGraphForm {
public:
    static constexpr int kResourceId = 8055;
    static constexpr int kStoredRecord = 38;
    enum ControlId : int {
        kDiameter = 14027, kEfficiency = 14028, kFrequency = 208, kAngularLimit = 691,
        kCoPolar = 2657, kCrossPolar = 2656, kBo1213 = 2658, kCombined = 2659, kClear = 120,
    };
    TTemplateForm(QWidget* parent, graphs::TemplateRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    // Clear selects co-polar and BO.1213.
    void ClearRadios(std::vector<std::uint8_t>& values) override;
};

class TBeamEntry : public TMyEdit {
public:
    TBeamEntry(TForm* parent, int id, int textLimit);
};

class TBeamForm : public TGraphForm {
public:
    static constexpr int kResourceId = 6581;
    static constexpr int kStoredRecord = 8;
    enum ControlId : int { kFrequency = 208, kAperture = 14027, kClear = 120 };
    TBeamForm(QWidget* parent, graphs::BeamRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
};

class TAntGainEntry : public TMyEdit {
public:
    TAntGainEntry(TForm* parent, int id, int textLimit);
};

class TAntGainForm : public TGraphForm {
public:
    static constexpr int kResourceId = 4028;
    static constexpr int kStoredRecord = 2;
    enum ControlId : int { kFrequency = 208, kEfficiency = 14028, kMaximumAperture = 314, kClear = 120 };
    TAntGainForm(QWidget* parent, graphs::AntGainRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
};

class TAntSysEntry : public TMyEdit {
public:
    TAntSysEntry(TForm* parent, int id, int textLimit);
};

class TAntSysForm : public TGraphForm {
public:
    static constexpr int kResourceId = 8377;
    static constexpr int kStoredRecord = 5;
    enum ControlId : int {
        kFrequency = 208, kSystemNoise = 311, kBandwidth = 14002, kRequiredCn = 313, kMaximumAperture = 314, kClear = 120,
    };
    TAntSysForm(QWidget* parent, graphs::AntSysRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
};

class TFocalfD2Entry : public TMyEdit {
public:
    TFocalfD2Entry(TForm* parent, int id, int textLimit);
};

class TFocalfD2Form : public TGraphForm {
public:
    static constexpr int kResourceId = 8020;
    static constexpr int kStoredRecord = 19;
    static constexpr int kHelpContext = 8000;
    enum ControlId : int { kDiameter = 14027, kFOverD = 8001, kClear = 120 };
    TFocalfD2Form(QWidget* parent, graphs::FocalRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
};

// ---- site forms ------------------------------------------------------------------

// The town and satellite pickers the Site and Satellite buttons run: true
// when the user picked one, which the picker leaves in the application's
// picked-site or picked-satellite fields.  Tests replace them.
using GraphPicker = std::function<bool(TForm& parent)>;
void SetGraphPickers(GraphPicker site, GraphPicker satellite);

class TAttenEntry : public TMyEdit {
public:
    TAttenEntry(TForm* parent, int id, int textLimit);
};

class TAttenForm : public TGraphForm {
public:
    static constexpr int kResourceId = 8491;
    static constexpr int kStoredRecord = 6;
    enum ControlId : int {
        kLocation = 200, kSatellite = 201, kSiteLatitude = 202, kSiteLongitude = 203, kSiteAltitude = 205,
        kSatelliteLongitude = 206, kPolarization = 215, kAvailability = 4516, kFrequencyLimit = 691,
        kItu = 14706, kCraneTc = 14709, kCraneUsa = 14713, kSiteButton = 126, kSatelliteButton = 127, kClear = 120,
    };
    TAttenForm(QWidget* parent, graphs::AttenRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
    void CmPickSite();
    void CmPickSatellite();
};

class TAbsorbEntry : public TMyEdit {
public:
    TAbsorbEntry(TForm* parent, int id, int textLimit);
};

class TAbsorbForm : public TGraphForm {
public:
    static constexpr int kResourceId = 7869;
    static constexpr int kStoredRecord = 1;
    enum ControlId : int {
        kLocation = 200, kSatellite = 201, kSiteLatitude = 202, kSiteLongitude = 203, kSatelliteLongitude = 206,
        kAvailability = 4516, kFrequencyLimit = 691, kAbsorptionLimit = 690, kSiteButton = 126,
        kSatelliteButton = 127, kClear = 120,
    };
    TAbsorbForm(QWidget* parent, graphs::AbsorbRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
    void CmPickSite();
    void CmPickSatellite();
};

// ---- modulation form ----------------------------------------------------------------

class TEbNoNoCodeEntry : public TMyEdit {
public:
    TEbNoNoCodeEntry(TForm* parent, int id, int textLimit);
};

class TEbNoNoCodeRadioButton : public TMyRadioButton {
public:
    TEbNoNoCodeRadioButton(TForm* parent, int id);
};

class TEbNoNoCodeForm : public TGraphForm {
public:
    static constexpr int kResourceId = 16510;
    static constexpr int kStoredRecord = 16;
    enum ControlId : int { kLevels = 4742, kOneBit = 4739, kPsk = 4740, kQam = 4741, kClear = 120 };
    TEbNoNoCodeForm(QWidget* parent, graphs::EbNoRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    // M must be a power of two, 2 for one bit a symbol, 8 at least for QAM.
    bool CheckMore(const std::vector<std::uint8_t>& values) override;
    // Clear selects M-PSK / M-APSK.
    void ClearRadios(std::vector<std::uint8_t>& values) override;
};
