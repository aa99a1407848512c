#include "rftools/losses/loss_forms.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "framework/app/orbiscope.h"
#include "framework/databases/pickers.h"
#include "framework/forms/control_table.h"
#include "framework/forms/field_check.h"
#include "framework/forms/scratch_record.h"

namespace lossform {

namespace {

// Sizes of the layout, pixels.
constexpr int kMargin = 12;
constexpr int kRowHeight = 28;
constexpr int kLabelWidth = 175;
constexpr int kEntryX = kMargin + kLabelWidth + 5;
constexpr int kNameWidth = 260;
constexpr int kValueWidth = 120;
constexpr int kGroupX = kEntryX + kNameWidth + 20;
constexpr int kGroupWidth = 190;
constexpr int kButtonWidth = 80;
constexpr int kButtonGap = 8;

const char* ButtonText(int id)
{
    switch (id) {
    case kSite: return "Site";
    case kSatellite: return "Satellite";
    case kClear: return "Clear";
    case platform::IDOK: return "OK";
    case platform::IDCANCEL: return "Cancel";
    case platform::IDHELP: return "Help";
    default: return "";
    }
}

struct Pickers {
    Picker site = [](TForm& f) { return databases::PickTown(&f); };
    Picker satellite = [](TForm& f) { return databases::PickSatellite(&f); };
};
Pickers& ThePickers()
{
    static Pickers p;
    return p;
}

// Each form's hint table, kept for as long as the program runs.
const std::vector<HintEntry>& HintsOf(const Layout& layout)
{
    static std::map<const Entry*, std::vector<HintEntry>> tables;
    std::vector<HintEntry>& hints = tables[layout.entries.data()];
    if (hints.empty())
        for (auto entries : {layout.entries, layout.modelEntries})
            for (const Entry& e : entries) hints.push_back({e.id, 0, e.hint});
    return hints;
}

}  // namespace

std::vector<platform::ControlSpec> Controls(const Layout& layout)
{
    using namespace controls;
    std::vector<platform::ControlSpec> c;
    int y = kMargin;
    for (const Entry& e : layout.entries) {
        c.push_back(Label(e.label, kMargin, y + 2, kLabelWidth));
        c.push_back(Edit(e.id, e.limit, kEntryX, y, e.limit > 13 ? kNameWidth : kValueWidth));
        y += kRowHeight;
    }
    int groupBottom = kMargin;
    if (!layout.rainModels.empty()) {
        const int rows = int(layout.rainModels.size() + 2 * layout.modelEntries.size());
        const int height = 28 + rows * 24;
        c.push_back(Group("Rain Model", kGroupX, kMargin, kGroupWidth, height));
        int ry = kMargin + 22;
        bool first = true;
        for (const Radio& r : layout.rainModels) {
            c.push_back(controls::Radio(r.id, r.text, kGroupX + 10, ry, kGroupWidth - 20, first));
            first = false;
            ry += 24;
        }
        for (const Entry& e : layout.modelEntries) {
            c.push_back(Label(e.label, kGroupX + 10, ry, kGroupWidth - 20));
            c.push_back(Edit(e.id, e.limit, kGroupX + 10, ry + 22, kValueWidth));
            ry += 48;
        }
        groupBottom = kMargin + height;
    }
    int x = kMargin;
    const int buttonsY = std::max(y, groupBottom) + 14;
    for (int id : layout.buttons) {
        c.push_back(Button(id, ButtonText(id), x, buttonsY, kButtonWidth));
        x += kButtonWidth + kButtonGap;
    }
    return c;
}

void MakeControls(TForm& form, const Layout& layout)
{
    const std::vector<HintEntry>& hints = HintsOf(layout);
    for (auto entries : {layout.entries, layout.modelEntries})
        for (const Entry& e : entries) new THintedEdit(&form, e.id, e.limit, hints);
    for (const Radio& r : layout.rainModels) new TRainModelRadioButton(&form, r.id);
}

void SetPickers(Picker site, Picker satellite)
{
    ThePickers() = Pickers{};
    if (site) ThePickers().site = std::move(site);
    if (satellite) ThePickers().satellite = std::move(satellite);
}

bool RunSitePicker(TForm& form) { return ThePickers().site && ThePickers().site(form); }
bool RunSatellitePicker(TForm& form) { return ThePickers().satellite && ThePickers().satellite(form); }

}  // namespace lossform

using namespace lossform;

namespace {

using FT = FieldType;

constexpr const char* kSiteHint = "Name of earth station location";
constexpr const char* kSatHint = "Name of satellite";
constexpr const char* kLatitudeHint = "Earth station latitude (0 to 90 degrees, suffix N or S)";
constexpr const char* kLongitudeHint = "Earth station longitude (0 to 180 degrees, suffix E or W)";
constexpr const char* kAltitudeHint = "Site altitude in km or use AUTO";
constexpr const char* kSatLongitudeHint = "Orbital slot of satellite (0 to 180 degrees, suffix E or W)";
constexpr const char* kFrequencyHint = "Frequency (1 to 100 GHz)";
constexpr const char* kPolarizationHint = "Electric field polarization (V=Vertical, H=Horizontal, or C=Circular)";
constexpr const char* kAvailabilityHint = "'Average year' availability (95.0 to 99.999%)";
constexpr const char* kDiameterHint = "Aperture of earth station antenna (0.2 to 50 metres)";
constexpr const char* kEfficiencyHint =
    "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets";

constexpr Entry kRainEntries[] = {
    {kSiteName, 41, "Site name", kSiteHint},
    {kSatName, 41, "Satellite name", kSatHint},
    {kSiteLatitude, 13, "Site latitude \xB0", kLatitudeHint},
    {kSiteLongitude, 13, "Site longitude \xB0", kLongitudeHint},
    {kSiteAltitude, 13, "Site altitude km", kAltitudeHint},
    {kSatLongitude, 13, "Satellite longitude \xB0", kSatLongitudeHint},
    {kFrequency, 13, "Frequency GHz", kFrequencyHint},
    {kPolarization, 2, "Polarization  V, H, or C", kPolarizationHint},
    {kAvailability, 13, "Availability %", kAvailabilityHint},
    {kSystemNoise, 13, "System noise (clear) K", "Total system noise of antenna and LNB (10 to 500K)"},
    {kDiameter, 13, "Antenna diameter m", kDiameterHint},
    {kEfficiency, 13, "Antenna efficiency %", kEfficiencyHint},
};
constexpr Radio kRainModels[] = {
    {kItuAuto, "ITU-R (auto)"}, {kCraneTc, "Crane T-C."}, {kCraneUsa, "Crane USA"}, {kItuManual, "ITU-R (mm/h)"},
};
constexpr Entry kManualRateEntry[] = {{kManualRate, 13, "R0.01 mm/h", "ITU-R manual rain rate value (mm/hr)"}};
constexpr int kRainButtons[] = {kSite, kSatellite, platform::IDOK, platform::IDCANCEL, platform::IDHELP};
constexpr Layout kRainLayout{kRainEntries, kRainModels, kManualRateEntry, kRainButtons};

constexpr Entry kNationalEntries[] = {
    {kSatName, 41, "Satellite name", kSatHint},
    {kSatLongitude, 13, "Satellite longitude \xB0", kSatLongitudeHint},
    {kFrequency, 13, "Frequency GHz", kFrequencyHint},
    {kPolarization, 2, "Polarization  V, H, or C", kPolarizationHint},
    {kDiameter, 13, "Antenna diameter m", kDiameterHint},
    {kEfficiency, 13, "Antenna efficiency %", kEfficiencyHint},
    {kAvailability, 13, "Availability %", kAvailabilityHint},
};
constexpr int kNationalButtons[] = {kSatellite, kClear, platform::IDOK, platform::IDCANCEL, platform::IDHELP};
constexpr Layout kNationalLayout{kNationalEntries, {}, {}, kNationalButtons};

constexpr Radio kTableRainModels[] = {{kItuAuto, "ITU-R."}, {kCraneTc, "Crane T-C."}, {kCraneUsa, "Crane USA."}};
constexpr int kSiteTableButtons[] = {kSite,          kSatellite,       kClear, platform::IDOK,
                                     platform::IDCANCEL, platform::IDHELP};

constexpr Entry kAvailEntries[] = {
    {kSiteName, 41, "Site name", kSiteHint},
    {kSatName, 41, "Satellite name", kSatHint},
    {kSiteLatitude, 13, "Site latitude \xB0", kLatitudeHint},
    {kSiteLongitude, 13, "Site longitude \xB0", kLongitudeHint},
    {kSiteAltitude, 13, "Site altitude km", kAltitudeHint},
    {kSatLongitude, 13, "Satellite longitude \xB0", kSatLongitudeHint},
    {kFrequency, 13, "Frequency GHz", kFrequencyHint},
    {kElevationOverride, 13, "Elevation overrride \xB0", "AUTO unless working with inclined orbits"},
    {kPolarization, 2, "Polarization  V, H, or C", kPolarizationHint},
    {kDiameter, 13, "Antenna diameter m", kDiameterHint},
    {kEfficiency, 13, "Antenna efficiency %", kEfficiencyHint},
};
constexpr Layout kAvailLayout{kAvailEntries, kTableRainModels, {}, kSiteTableButtons};

constexpr Entry kFreqEntries[] = {
    {kSiteName, 41, "Location", kSiteHint},
    {kSatName, 41, "Satellite ", kSatHint},
    {kSiteLatitude, 13, "Site latitude \xB0", kLatitudeHint},
    {kSiteLongitude, 13, "Site longitude \xB0", kLongitudeHint},
    {kSiteAltitude, 13, "Site altitude km", kAltitudeHint},
    {kSatLongitude, 13, "Satellite longitude \xB0", kSatLongitudeHint},
    {kPolarization, 2, "Polarization V,H, or C", kPolarizationHint},
    {kDiameter, 13, "Antenna diameter m", kDiameterHint},
    {kEfficiency, 13, "Antenna efficiency %", kEfficiencyHint},
    {kAvailability, 13, "Availability %", kAvailabilityHint},
    {kRangeStart, 13, "Frequency range start GHz", "Set start range value"},
    {kRangeEnd, 13, "Frequency range end GHz", "Set end range value"},
};
constexpr Layout kFreqLayout{kFreqEntries, kTableRainModels, {}, kSiteTableButtons};

// The picked site or satellite into the form's entries that show it.
void PutPickedSite(TForm& form, bool withAltitude)
{
    const TOrbiscope* app = form.App();
    form.SetControlText(kSiteName, FieldText(app->PickedSiteName));
    form.SetControlText(kSiteLatitude, FieldText(app->PickedSiteLatitude));
    form.SetControlText(kSiteLongitude, FieldText(app->PickedSiteLongitude));
    if (withAltitude) form.SetControlText(kSiteAltitude, FieldText(app->PickedSiteAltitude));
}

void PutPickedSatellite(TForm& form)
{
    const TOrbiscope* app = form.App();
    form.SetControlText(kSatName, FieldText(app->PickedSatName));
    form.SetControlText(kSatLongitude, FieldText(app->PickedSatLongitude));
}

// The checks that open the site forms, up to the satellite longitude.
bool CheckSiteFields(TForm& f, std::string_view siteLabel, std::string_view site, std::string_view sat,
                     std::string_view latitude, std::string_view longitude, std::string_view altitude,
                     double minAltitudeKm, double maxAltitudeKm, std::string_view satLongitude)
{
    return f.CheckField(siteLabel, site, FT::Text, 0, 0, "") &&
           f.CheckField("Satellite name", sat, FT::Text, 0, 0, "") &&
           f.CheckField("Site latitude", latitude, FT::Latitude, 0, 90, kLatitudeUnit) &&
           f.CheckField("Site longitude", longitude, FT::Longitude, 0, 180, kLongitudeUnit) &&
           (orbiscope::losses::IsAutoText(altitude) ||
            f.CheckField("Site altitude", altitude, FT::Real, minAltitudeKm, maxAltitudeKm, "km")) &&
           f.CheckField("Satellite longitude", satLongitude, FT::Longitude, 0, 180, kLongitudeUnit);
}

bool CheckAntenna(TForm& f, std::string_view diameter, std::string_view efficiency)
{
    return f.CheckField("Antenna aperture", diameter, FT::Real, 0.002, 50, "m") &&
           f.CheckField("Antenna efficiency", efficiency, FT::Real, 10, 100, "%");
}

bool CheckAvailability(TForm& f, std::string_view availability)
{
    return f.CheckField("Signal availability", availability, FT::Real, 40, 99.99999, "% of average year");
}

bool CheckFrequency(TForm& f, std::string_view frequency)
{
    return f.CheckField("Frequency", frequency, FT::Real, 0.0007, 55, "GHz");
}

}  // namespace

// ---- TRainForm ------------------------------------------------------------------

std::vector<platform::ControlSpec> TRainForm::ControlTable() { return lossform::Controls(kRainLayout); }

TRainForm::TRainForm(QWidget* parent, AtmosLossInputRecord& record)
    : TForm(parent, kResourceId, "Edit Atmospheric Attenuation Parameters", ControlTable()), record_(record)
{
    SetTransferBuffer(&record_, sizeof record_);
    MakeControls(*this, kRainLayout);
    SetHandler(kSite, [this] { CmSite(); });
    SetHandler(kSatellite, [this] { CmSatellite(); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
}

bool TRainForm::CanClose() { return ValidateFields(ReadScratch<AtmosLossInputRecord>(*this)); }

bool TRainForm::ValidateFields(const AtmosLossInputRecord& r)
{
    const auto text = [](const auto& field) { return FieldView(field); };
    return CheckSiteFields(*this, "Site name", text(r.siteName), text(r.satName), text(r.siteLatitude),
                           text(r.siteLongitude), text(r.siteAltitude), 0.0, 5.0, text(r.satLongitude)) &&
           CheckFrequency(*this, text(r.frequency)) &&
           CheckField("Polarization", text(r.polarization), FT::Polarization, 0, 0, "") &&
           CheckAvailability(*this, text(r.availability)) &&
           CheckField("Total system noise", text(r.systemNoise), FT::Real, 10, 500, "K") &&
           CheckAntenna(*this, text(r.diameter), text(r.efficiency)) &&
           (!r.ituManual.On() ||
            CheckField("Manual rain attenuation value", text(r.manualRainRate), FT::Real, 0, 200, "mm/hr"));
}

void TRainForm::CmSite()
{
    if (App() && RunSitePicker(*this)) PutPickedSite(*this, true);
}

void TRainForm::CmSatellite()
{
    if (App() && RunSatellitePicker(*this)) PutPickedSatellite(*this);
}

// ---- the table forms -----------------------------------------------------------

TLossTableForm::TLossTableForm(QWidget* parent, int resourceId, int storedRecord, const Layout& layout, void* record,
                               std::size_t size)
    : TTableForm(parent, resourceId, "Edit Rain Attenuation Parameters", lossform::Controls(layout), storedRecord,
                 record, size, {})
{
    MakeControls(*this, layout);
    SetHandler(kSite, [this] { CmSite(); });
    SetHandler(kSatellite, [this] { CmSatellite(); });
}

void TLossTableForm::CmSite()
{
    if (App() && RunSitePicker(*this)) PutPickedSite(*this, true);
}

void TLossTableForm::CmSatellite()
{
    if (App() && RunSatellitePicker(*this)) PutPickedSatellite(*this);
}

TRain2Form::TRain2Form(QWidget* parent, NationalLossInputRecord& record)
    : TLossTableForm(parent, kResourceId, kStoredRecord, kNationalLayout, &record, sizeof record)
{
}

std::vector<platform::ControlSpec> TRain2Form::ControlTable() { return lossform::Controls(kNationalLayout); }

bool TRain2Form::ValidateFields()
{
    return CheckField("Satellite name", Text(kSatName), FT::Text, 0, 0, "") &&
           CheckField("Satellite longitude", Text(kSatLongitude), FT::Longitude, 0, 180, kLongitudeUnit) &&
           CheckFrequency(*this, Text(kFrequency)) &&
           CheckField("Polarization", Text(kPolarization), FT::Polarization, 0, 0, "") &&
           CheckAntenna(*this, Text(kDiameter), Text(kEfficiency)) && CheckAvailability(*this, Text(kAvailability));
}

TAvailForm::TAvailForm(QWidget* parent, AvailLossInputRecord& record)
    : TLossTableForm(parent, kResourceId, kStoredRecord, kAvailLayout, &record, sizeof record)
{
}

std::vector<platform::ControlSpec> TAvailForm::ControlTable() { return lossform::Controls(kAvailLayout); }

bool TAvailForm::ValidateFields()
{
    const std::string override = Text(kElevationOverride);
    return CheckSiteFields(*this, "Site name", Text(kSiteName), Text(kSatName), Text(kSiteLatitude),
                           Text(kSiteLongitude), Text(kSiteAltitude), -0.5, 25.0, Text(kSatLongitude)) &&
           CheckFrequency(*this, Text(kFrequency)) &&
           (orbiscope::losses::IsAutoText(override) ||
            CheckField("Elevation override", override, FT::Real, 4, 90, "degrees")) &&
           CheckField("Polarization", Text(kPolarization), FT::Polarization, 0, 0, "") &&
           CheckAntenna(*this, Text(kDiameter), Text(kEfficiency));
}

// Its help is its own page, as every table form's (the topic one below would
// be the rain graph's).
TAttenExtForm::TAttenExtForm(QWidget* parent, FreqLossInputRecord& record)
    : TLossTableForm(parent, kResourceId, kStoredRecord, kFreqLayout, &record, sizeof record)
{
}

std::vector<platform::ControlSpec> TAttenExtForm::ControlTable() { return lossform::Controls(kFreqLayout); }

bool TAttenExtForm::ValidateFields()
{
    const std::string start = Text(kRangeStart);
    return CheckSiteFields(*this, "Location name", Text(kSiteName), Text(kSatName), Text(kSiteLatitude),
                           Text(kSiteLongitude), Text(kSiteAltitude), -0.5, 25.0, Text(kSatLongitude)) &&
           CheckField("Polarization method", Text(kPolarization), FT::Polarization, 0, 0, "") &&
           CheckAntenna(*this, Text(kDiameter), Text(kEfficiency)) && CheckAvailability(*this, Text(kAvailability)) &&
           CheckField("Frequency axis start", start, FT::Real, 0, 54, "GHz") &&
           CheckField("Frequency axis end", Text(kRangeEnd), FT::Real, LeadingNumber(start), 55, "GHz");
}
