#include "rftools/graphs/graph_forms.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/forms/control_table.h"
#include "rftools/graphs/graph_curves.h"

using platform::ControlSpec;
using namespace graphs;

namespace {

constexpr int kText = 13;   // bytes of every number field
constexpr int kName = 41;   // bytes of a location or satellite name

// Two columns of labelled entries and the row of form buttons under them.
constexpr int kLabelX = 10, kLabelWidth = 190, kEntryX = 205, kEntryWidth = 120, kRowHeight = 30, kTopRow = 12;
int RowY(int row) { return kTopRow + row * kRowHeight; }

void AddEntryRow(std::vector<ControlSpec>& c, int row, const char* label, int id, int limit, int width = kEntryWidth)
{
    c.push_back(controls::Label(label, kLabelX, RowY(row) + 2, kLabelWidth));
    c.push_back(controls::Edit(id, limit, kEntryX, RowY(row), width));
}

void AddFormButtons(std::vector<ControlSpec>& c, int y, int clearId)
{
    c.push_back(controls::Button(platform::IDOK, "OK", 10, y));
    c.push_back(controls::Button(platform::IDCANCEL, "Cancel", 100, y));
    c.push_back(controls::Button(platform::IDHELP, "Help", 190, y));
    c.push_back(controls::Button(clearId, "Clear", 280, y));
}

// Hints of the entries: string id and its text.
constexpr HintEntry kFrequencyHint{208, 7115, "Frequency (1 to 100 GHz)"};
constexpr HintEntry kApertureHint{14027, 7116, "Aperture of earth station antenna (0.2 to 50 metres)"};
constexpr HintEntry kEfficiencyHint{14028, 7117,
                                    "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets"};
constexpr HintEntry kAxisLimitHint{691, 7336, "Set axis cut-off value"};
constexpr HintEntry kMaximumApertureHint{314, 7165, "AUTO or maximum antenna size limit (1m to 50m)"};

constexpr HintEntry kTemplateHints[] = {kFrequencyHint, kApertureHint, kEfficiencyHint, kAxisLimitHint};
constexpr HintEntry kBeamHints[] = {kFrequencyHint, kApertureHint};
constexpr HintEntry kAntGainHints[] = {kFrequencyHint, kEfficiencyHint, kMaximumApertureHint};
constexpr HintEntry kAntSysHints[] = {
    kFrequencyHint,
    {311, 7192, "Total system noise of antenna and LNB (10 to 500K)"},
    {14002, 7212, "Enter full transponder bandwidth (typ. 24 to 72MHz)"},
    {313, 7164, "Required C/N value (3 to 30dB)"},
    kMaximumApertureHint,
};
constexpr HintEntry kFocalHints[] = {kApertureHint, {8001, 7209, "Enter f/D ratio of the parabolic antenna"}};
constexpr HintEntry kSiteHints[] = {
    {200, 7107, "Name of earth station location"},
    {201, 7108, "Name of satellite"},
    {202, 7109, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
    {203, 7110, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
    {205, 7112, "Site altitude in km or use AUTO"},
    {206, 7113, "Orbital slot of satellite (0 to 180 degrees, suffix E or W)"},
    {215, 7122, "Electric field polarization (V=Vertical, H=Horizontal, or C=Circular)"},
    {4516, 7132, "'Average year' availability (95.0 to 99.999%)"},
    kAxisLimitHint,
    // The absorption limit has no string of its own.
    {690, 0, "Absorption (dB) at which the y axis ends"},
};
constexpr HintEntry kEbNoHints[] = {
    {4742, 7177, "Value of M for M-ary modulation scheme (Set M=2 for 1 bit/symbol schemes)"},
    {4739, 7178, "Select 1 bit/symbol modulation (MSK,GMSK,BPSK etc also set M=2}"},
    {4740, 7179, "Select M-ary PSK / APSK modulation (M=4,8,16,32 etc)"},
    {4741, 7180, "Select M-ary QAM modulation (M=8,16,64,256)"},
};

GraphPicker& SitePicker()
{
    static GraphPicker picker;
    return picker;
}
GraphPicker& SatellitePicker()
{
    static GraphPicker picker;
    return picker;
}

// A record field's offset and width.
#define GRAPH_FIELD(Record, field) offsetof(Record, field), sizeof(Record::field)

constexpr const char* kLatitudeUnit = "\xB0N,\xB0S";
constexpr const char* kLongitudeUnit = "\xB0W,\xB0" "E";

constexpr GraphFieldCheck kTemplateChecks[] = {
    {GRAPH_FIELD(TemplateRecord, diameter), "Antenna Diameter", FieldType::Real, 0.01, 50.0, "metres"},
    {GRAPH_FIELD(TemplateRecord, efficiency), "Antenna Efficiency", FieldType::Real, 10.0, 100.0, "%"},
    {GRAPH_FIELD(TemplateRecord, frequency), "Frequency", FieldType::Real, 0.0007, 55.0, "GHz"},
    {GRAPH_FIELD(TemplateRecord, angularLimit), "Angular X Limit", FieldType::Real, 1e-6, 26.3, "degrees"},
};
constexpr GraphFieldCheck kBeamChecks[] = {
    {GRAPH_FIELD(BeamRecord, frequency), "Frequency", FieldType::Real, 0.0007, 55.0, "GHz"},
    {GRAPH_FIELD(BeamRecord, aperture), "Antenna aperture", FieldType::Real, 0.01, 50.0, "metres"},
};
constexpr GraphFieldCheck kAntGainChecks[] = {
    {GRAPH_FIELD(AntGainRecord, frequency), "Frequency", FieldType::Real, 0.0007, 55.0, "GHz"},
    {GRAPH_FIELD(AntGainRecord, efficiency), "Antenna efficiency", FieldType::Real, 20.0, 100.0, "%"},
    {GRAPH_FIELD(AntGainRecord, maximumAperture), "Maximum aperture", FieldType::Real, 0.01, 50.0, "m"},
};
constexpr GraphFieldCheck kAntSysChecks[] = {
    {GRAPH_FIELD(AntSysRecord, frequency), "Frequency", FieldType::Real, 0.0007, 55.0, "GHz"},
    {GRAPH_FIELD(AntSysRecord, systemNoise), "Total system noise", FieldType::Real, 10.0, 500.0, "K"},
    {GRAPH_FIELD(AntSysRecord, bandwidth), "RF bandwidth", FieldType::Real, 1e-5, 6000.0, "MHz"},
    {GRAPH_FIELD(AntSysRecord, requiredCn), "Required C/N", FieldType::Real, 5.0, 30.0, "dB"},
    {GRAPH_FIELD(AntSysRecord, maximumAperture), "Maximum aperture", FieldType::Real, 0.01, 50.0, "metres", true},
};
constexpr GraphFieldCheck kFocalChecks[] = {
    {GRAPH_FIELD(FocalRecord, diameter), "Antenna diameter", FieldType::Real, 0.01, 50.0, "metres"},
    {GRAPH_FIELD(FocalRecord, fOverD), "f/D ratio", FieldType::Real, 0.1, 1.5, ""},
};
constexpr GraphFieldCheck kAttenChecks[] = {
    {GRAPH_FIELD(AttenRecord, location), "Location name", FieldType::Text, 0, 0, ""},
    {GRAPH_FIELD(AttenRecord, satellite), "Satellite name", FieldType::Text, 0, 0, ""},
    {GRAPH_FIELD(AttenRecord, siteLatitude), "Site latitude", FieldType::Latitude, 0.0, 90.0, kLatitudeUnit},
    {GRAPH_FIELD(AttenRecord, siteLongitude), "Site longitude", FieldType::Longitude, 0.0, 180.0, kLongitudeUnit},
    {GRAPH_FIELD(AttenRecord, siteAltitude), "Site altitude", FieldType::Real, -0.5, 25.0, "km", true},
    {GRAPH_FIELD(AttenRecord, satelliteLongitude), "Satellite longitude", FieldType::Longitude, 0.0, 180.0,
     kLongitudeUnit},
    {GRAPH_FIELD(AttenRecord, polarization), "Polarization method", FieldType::Polarization, 0, 0, ""},
    {GRAPH_FIELD(AttenRecord, availability), "Signal availability", FieldType::Real, 40.0, 99.99999, "% of average year"},
    {GRAPH_FIELD(AttenRecord, frequencyLimit), "Frequency axis limit", FieldType::Real, 0.0007, 55.0, "GHz"},
};
constexpr GraphFieldCheck kAbsorbChecks[] = {
    {GRAPH_FIELD(AbsorbRecord, location), "Site name", FieldType::Text, 0, 0, ""},
    {GRAPH_FIELD(AbsorbRecord, satellite), "Satellite name", FieldType::Text, 0, 0, ""},
    {GRAPH_FIELD(AbsorbRecord, siteLatitude), "Site latitude", FieldType::Latitude, 0.0, 90.0, kLatitudeUnit},
    {GRAPH_FIELD(AbsorbRecord, siteLongitude), "Site longitude", FieldType::Longitude, 0.0, 180.0, kLongitudeUnit},
    {GRAPH_FIELD(AbsorbRecord, satelliteLongitude), "Satellite longitude", FieldType::Longitude, 0.0, 180.0,
     kLongitudeUnit},
    {GRAPH_FIELD(AbsorbRecord, availability), "Availability", FieldType::Real, 40.0, 95.0, "%"},
    {GRAPH_FIELD(AbsorbRecord, frequencyLimit), "Frequency axis limit", FieldType::Real, 2.0, 100.0, "GHz"},
    {GRAPH_FIELD(AbsorbRecord, absorptionLimit), "Absorption axis limit", FieldType::Real, 0.01, 10000.0, "dB"},
};
constexpr GraphFieldCheck kEbNoChecks[] = {
    {GRAPH_FIELD(EbNoRecord, levels), "M-ary prefix (e.g. 8 for 8-PSK)", FieldType::Real, 2.0, 256.0, ""},
};

#undef GRAPH_FIELD

// Puts the picked site or satellite into a site form's fields.
template <class Record>
void PutPick(TForm& form, GraphPicker& picker, void (*put)(Record&, const TOrbiscope&))
{
    TOrbiscope* app = form.App();
    if (!app || !picker || !picker(form)) return;
    std::vector<std::uint8_t> v = form.ReadControls();
    v.resize(sizeof(Record));
    Record r;
    std::memcpy(&r, v.data(), sizeof r);
    put(r, *app);
    form.WriteControls(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(&r), sizeof r));
}

template <class Record>
void PutSatellite(Record& r, const TOrbiscope& app)
{
    PutText(r.satellite, app.PickedSatName);
    PutText(r.satelliteLongitude, app.PickedSatLongitude);
}

template <class Record>
void PutSite(Record& r, const TOrbiscope& app)
{
    PutText(r.location, app.PickedSiteName);
    PutText(r.siteLatitude, app.PickedSiteLatitude);
    PutText(r.siteLongitude, app.PickedSiteLongitude);
}

void PutAttenSite(AttenRecord& r, const TOrbiscope& app)
{
    PutSite(r, app);
    PutText(r.siteAltitude, app.PickedSiteAltitude);
}

}  // namespace

// ---- the shared form ----------------------------------------------------------------

TGraphForm::TGraphForm(QWidget* parent, int resourceId, const std::string& caption, std::vector<ControlSpec> controls,
                       int storedRecord, int helpContext, std::span<const GraphFieldCheck> checks)
    : TForm(parent, resourceId, caption, std::move(controls)),
      storedRecord_(storedRecord),
      checks_(checks)
{
    BindHelpButton(*this, helpContext);
    SetHandler(120, [this] { CmClear(); });
}

void TGraphForm::SetupWindow()
{
    TForm::SetupWindow();
    if (TOrbiscope* app = App()) {
        const auto stored = app->FormRecord(storedRecord_);
        if (!stored.empty()) WriteControls(stored);
    }
}

bool TGraphForm::CanClose()
{
    const std::vector<std::uint8_t> v = ReadControls();
    for (const GraphFieldCheck& c : checks_) {
        const std::string text = transfer::GetText(v, c.offset, c.width);
        if (c.autoSkips && IsAuto(text)) continue;
        if (!CheckField(c.label, text, c.type, c.minimum, c.maximum, c.unit)) return false;
    }
    if (!CheckMore(v)) return false;
    StoreInputs();
    return true;
}

void TGraphForm::StoreInputs()
{
    TOrbiscope* app = App();
    if (!app) return;
    const std::vector<std::uint8_t> v = ReadControls();
    const auto stored = app->FormRecord(storedRecord_);
    std::memcpy(stored.data(), v.data(), std::min(stored.size(), v.size()));
}

void TGraphForm::CmClear()
{
    std::vector<std::uint8_t> v(platform::TransferSize(Controls()), 0);
    ClearRadios(v);
    WriteControls(v);
}

// ---- antenna forms ------------------------------------------------------------------

TTemplateEntry::TTemplateEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kTemplateHints);
}

std::vector<ControlSpec> TTemplateForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> c;
    AddEntryRow(c, 0, "Antenna diameter metres", kDiameter, kText);
    AddEntryRow(c, 1, "Boresight efficiency %", kEfficiency, kText);
    AddEntryRow(c, 2, "Frequency GHz", kFrequency, kText);
    AddEntryRow(c, 3, "Angular X Limit \xB0", kAngularLimit, kText);
    c.push_back(Group("Pattern", 10, RowY(4), 315, 72));
    c.push_back(Radio(kCoPolar, "Co-polar pattern", 20, RowY(4) + 20, 290, true));
    c.push_back(Radio(kCrossPolar, "Cross-polar pattern (BO.1213 only)", 20, RowY(4) + 44, 290));
    c.push_back(Group("Template", 10, RowY(4) + 80, 315, 72));
    c.push_back(Radio(kBo1213, "BO.1213", 20, RowY(4) + 100, 290, true));
    c.push_back(Radio(kCombined, "Combined AP8/S.580", 20, RowY(4) + 124, 290));
    AddFormButtons(c, RowY(4) + 164, kClear);
    return c;
}

TTemplateForm::TTemplateForm(QWidget* parent, TemplateRecord& record)
    : TGraphForm(parent, kResourceId, "Antenna Gain Template", ControlTable(), kStoredRecord, kResourceId,
                 kTemplateChecks)
{
    for (int id : {kDiameter, kEfficiency, kFrequency, kAngularLimit}) new TTemplateEntry(this, id, kText);
    for (int id : {kCoPolar, kCrossPolar}) new TOffAxisRadioButton(this, id);
    for (int id : {kBo1213, kCombined}) new TTxRxRadioButton(this, id);
    SetTransferBuffer(&record, sizeof record);
}

void TTemplateForm::ClearRadios(std::vector<std::uint8_t>& v)
{
    transfer::SetWord(v, offsetof(TemplateRecord, coPolar), 1);
    transfer::SetWord(v, offsetof(TemplateRecord, bo1213), 1);
}

TBeamEntry::TBeamEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit) { SetHints(kBeamHints); }

std::vector<ControlSpec> TBeamForm::ControlTable()
{
    std::vector<ControlSpec> c;
    AddEntryRow(c, 0, "Frequency GHz", kFrequency, kText);
    AddEntryRow(c, 1, "Aperture size (m)", kAperture, kText);
    AddFormButtons(c, RowY(2) + 8, kClear);
    return c;
}

TBeamForm::TBeamForm(QWidget* parent, BeamRecord& record)
    : TGraphForm(parent, kResourceId, "Antenna Beamwidth Input Data", ControlTable(), kStoredRecord, kResourceId,
                 kBeamChecks)
{
    for (int id : {kFrequency, kAperture}) new TBeamEntry(this, id, kText);
    SetTransferBuffer(&record, sizeof record);
}

TAntGainEntry::TAntGainEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kAntGainHints);
}

std::vector<ControlSpec> TAntGainForm::ControlTable()
{
    std::vector<ControlSpec> c;
    AddEntryRow(c, 0, "Operation frequency GHz", kFrequency, kText);
    AddEntryRow(c, 1, "Antenna efficiency %", kEfficiency, kText);
    AddEntryRow(c, 2, "Aperture X axis limit m", kMaximumAperture, kText);
    AddFormButtons(c, RowY(3) + 8, kClear);
    return c;
}

TAntGainForm::TAntGainForm(QWidget* parent, AntGainRecord& record)
    : TGraphForm(parent, kResourceId, "Antenna Gain Input Data", ControlTable(), kStoredRecord, kResourceId,
                 kAntGainChecks)
{
    for (int id : {kFrequency, kEfficiency, kMaximumAperture}) new TAntGainEntry(this, id, kText);
    SetTransferBuffer(&record, sizeof record);
}

TAntSysEntry::TAntSysEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kAntSysHints);
}

std::vector<ControlSpec> TAntSysForm::ControlTable()
{
    std::vector<ControlSpec> c;
    AddEntryRow(c, 0, "Operation frequency GHz", kFrequency, kText);
    AddEntryRow(c, 1, "Total system noise K", kSystemNoise, kText);
    AddEntryRow(c, 2, "RF bandwidth MHz", kBandwidth, kText);
    AddEntryRow(c, 3, "Required C/N (clear sky) dB", kRequiredCn, kText);
    AddEntryRow(c, 4, "Maximum antenna size (m)", kMaximumAperture, kText);
    AddFormButtons(c, RowY(5) + 8, kClear);
    return c;
}

TAntSysForm::TAntSysForm(QWidget* parent, AntSysRecord& record)
    : TGraphForm(parent, kResourceId, "Antenna System Data Input", ControlTable(), kStoredRecord, kResourceId,
                 kAntSysChecks)
{
    for (int id : {kFrequency, kSystemNoise, kBandwidth, kRequiredCn, kMaximumAperture}) new TAntSysEntry(this, id, kText);
    SetTransferBuffer(&record, sizeof record);
}

TFocalfD2Entry::TFocalfD2Entry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kFocalHints);
}

std::vector<ControlSpec> TFocalfD2Form::ControlTable()
{
    std::vector<ControlSpec> c;
    AddEntryRow(c, 0, "Antenna diameter m", kDiameter, kText);
    AddEntryRow(c, 1, "f/D ratio", kFOverD, kText);
    AddFormButtons(c, RowY(2) + 8, kClear);
    return c;
}

TFocalfD2Form::TFocalfD2Form(QWidget* parent, FocalRecord& record)
    : TGraphForm(parent, kResourceId, "Focal Distance Form", ControlTable(), kStoredRecord, kHelpContext, kFocalChecks)
{
    for (int id : {kDiameter, kFOverD}) new TFocalfD2Entry(this, id, kText);
    SetTransferBuffer(&record, sizeof record);
}

// ---- site forms ------------------------------------------------------------------------

void SetGraphPickers(GraphPicker site, GraphPicker satellite)
{
    SitePicker() = std::move(site);
    SatellitePicker() = std::move(satellite);
}

namespace {

// Location and satellite names with their buttons, then the coordinates.
void AddSiteRows(std::vector<ControlSpec>& c, int siteButton, int satelliteButton)
{
    AddEntryRow(c, 0, "Location", 200, kName, 300);
    c.push_back(controls::Button(siteButton, "Site", 515, RowY(0) - 2, 80));
    AddEntryRow(c, 1, "Satellite ", 201, kName, 300);
    c.push_back(controls::Button(satelliteButton, "Satellite", 515, RowY(1) - 2, 80));
    AddEntryRow(c, 2, "Site latitude \xB0", 202, kText);
    AddEntryRow(c, 3, "Site longitude \xB0", 203, kText);
}

}  // namespace

TAttenEntry::TAttenEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit) { SetHints(kSiteHints); }

std::vector<ControlSpec> TAttenForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> c;
    AddSiteRows(c, kSiteButton, kSatelliteButton);
    AddEntryRow(c, 4, "Site altitude km", kSiteAltitude, kText);
    AddEntryRow(c, 5, "Satellite longitude \xB0", kSatelliteLongitude, kText);
    AddEntryRow(c, 6, "Polarization V,H, or C", kPolarization, 2, 40);
    AddEntryRow(c, 7, "Availability %", kAvailability, kText);
    AddEntryRow(c, 8, "Frequency range limit GHz", kFrequencyLimit, kText);
    c.push_back(Group("Rain model", 340, RowY(2), 255, 100));
    c.push_back(Radio(kItu, "ITU-R.", 350, RowY(2) + 20, 230, true));
    c.push_back(Radio(kCraneTc, "Crane T-C.", 350, RowY(2) + 44, 230));
    c.push_back(Radio(kCraneUsa, "Crane USA.", 350, RowY(2) + 68, 230));
    AddFormButtons(c, RowY(9) + 8, kClear);
    return c;
}

TAttenForm::TAttenForm(QWidget* parent, AttenRecord& record)
    : TGraphForm(parent, kResourceId, "Edit Rain Attenuation Parameters", ControlTable(), kStoredRecord, kResourceId,
                 kAttenChecks)
{
    new TAttenEntry(this, kLocation, kName);
    new TAttenEntry(this, kSatellite, kName);
    for (int id : {kSiteLatitude, kSiteLongitude, kSiteAltitude, kSatelliteLongitude, kAvailability, kFrequencyLimit})
        new TAttenEntry(this, id, kText);
    new TAttenEntry(this, kPolarization, 2);
    for (int id : {kItu, kCraneTc, kCraneUsa}) new TRainModelRadioButton(this, id);
    SetTransferBuffer(&record, sizeof record);
    SetHandler(kSiteButton, [this] { CmPickSite(); });
    SetHandler(kSatelliteButton, [this] { CmPickSatellite(); });
}

void TAttenForm::CmPickSite() { PutPick<AttenRecord>(*this, SitePicker(), PutAttenSite); }
void TAttenForm::CmPickSatellite() { PutPick<AttenRecord>(*this, SatellitePicker(), PutSatellite<AttenRecord>); }

TAbsorbEntry::TAbsorbEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit) { SetHints(kSiteHints); }

std::vector<ControlSpec> TAbsorbForm::ControlTable()
{
    std::vector<ControlSpec> c;
    AddSiteRows(c, kSiteButton, kSatelliteButton);
    AddEntryRow(c, 4, "Satellite longitude \xB0", kSatelliteLongitude, kText);
    AddEntryRow(c, 5, "Availability %", kAvailability, kText);
    AddEntryRow(c, 6, "Frequency axis limit GHz", kFrequencyLimit, kText);
    AddEntryRow(c, 7, "Absorption axis limit dB", kAbsorptionLimit, kText);
    AddFormButtons(c, RowY(8) + 8, kClear);
    return c;
}

TAbsorbForm::TAbsorbForm(QWidget* parent, AbsorbRecord& record)
    : TGraphForm(parent, kResourceId, "Atmospheric Absorption Parameters", ControlTable(), kStoredRecord, kResourceId,
                 kAbsorbChecks)
{
    new TAbsorbEntry(this, kLocation, kName);
    new TAbsorbEntry(this, kSatellite, kName);
    for (int id : {kSiteLatitude, kSiteLongitude, kSatelliteLongitude, kAvailability, kFrequencyLimit, kAbsorptionLimit})
        new TAbsorbEntry(this, id, kText);
    SetTransferBuffer(&record, sizeof record);
    SetHandler(kSiteButton, [this] { CmPickSite(); });
    SetHandler(kSatelliteButton, [this] { CmPickSatellite(); });
}

void TAbsorbForm::CmPickSite() { PutPick<AbsorbRecord>(*this, SitePicker(), PutSite<AbsorbRecord>); }
void TAbsorbForm::CmPickSatellite() { PutPick<AbsorbRecord>(*this, SatellitePicker(), PutSatellite<AbsorbRecord>); }

// ---- modulation form -------------------------------------------------------------------

TEbNoNoCodeEntry::TEbNoNoCodeEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kEbNoHints);
}

TEbNoNoCodeRadioButton::TEbNoNoCodeRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id)
{
    SetHints(kEbNoHints);
}

std::vector<ControlSpec> TEbNoNoCodeForm::ControlTable()
{
    using namespace controls;
    std::vector<ControlSpec> c;
    c.push_back(Label("M=", 10, RowY(0) + 2, 40));
    c.push_back(Edit(kLevels, kText, 55, RowY(0), 100));
    c.push_back(Group("Modulation", 10, RowY(1), 315, 96));
    c.push_back(Radio(kOneBit, "1 bit/symbol", 20, RowY(1) + 20, 290, true));
    c.push_back(Radio(kPsk, "M-PSK / M-APSK", 20, RowY(1) + 44, 290));
    c.push_back(Radio(kQam, "M-QAM", 20, RowY(1) + 68, 290));
    AddFormButtons(c, RowY(1) + 108, kClear);
    return c;
}

TEbNoNoCodeForm::TEbNoNoCodeForm(QWidget* parent, EbNoRecord& record)
    : TGraphForm(parent, kResourceId, "Edit Modulation Parameters", ControlTable(), kStoredRecord, kResourceId,
                 kEbNoChecks)
{
    new TEbNoNoCodeEntry(this, kLevels, kText);
    for (int id : {kOneBit, kPsk, kQam}) new TEbNoNoCodeRadioButton(this, id);
    SetTransferBuffer(&record, sizeof record);
}

bool TEbNoNoCodeForm::CheckMore(const std::vector<std::uint8_t>& v)
{
    return CheckMary(transfer::GetText(v, offsetof(EbNoRecord, levels), kText),
                     transfer::GetWord(v, offsetof(EbNoRecord, oneBit)) != 0,
                     transfer::GetWord(v, offsetof(EbNoRecord, qam)) != 0);
}

void TEbNoNoCodeForm::ClearRadios(std::vector<std::uint8_t>& v) { transfer::SetWord(v, offsetof(EbNoRecord, psk), 1); }
