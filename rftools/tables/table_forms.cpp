#include "rftools/tables/table_forms.h"

#include <algorithm>
#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/databases/pickers.h"
#include "framework/forms/control_table.h"

using platform::ControlSpec;
using namespace orbiscope::tables;

namespace {

constexpr const char* kLatitudeUnit = "\xB0N,\xB0S";
constexpr const char* kLongitudeUnit = "\xB0W,\xB0" "E";

// ---- layout: labelled edits down the left, the band boxes to their right,
// the buttons along the bottom.  Controls are made in transfer order: the
// edits, then the boxes.

struct TableEdit {
    int id;
    int limit;          // bytes, terminator included
    const char* label;
    int hintString;     // string-table id of the hint
    const char* hint;
};

struct FormButton {
    int id;
    const char* text;
};

constexpr int kMargin = 12;
constexpr int kRowPx = 28;
constexpr int kLabelWidthPx = 210;
constexpr int kEditX = kMargin + kLabelWidthPx + 6;
constexpr int kButtonWidthPx = 84;
constexpr int kButtonGapPx = 8;
constexpr int kBoxWidthPx = 130;
constexpr int kBoxRowPx = 22;

int EditWidth(int limit) { return limit > 13 ? 260 : 120; }

std::vector<ControlSpec> Layout(std::span<const TableEdit> edits, std::span<const FormButton> boxes,
                                std::span<const FormButton> buttons)
{
    std::vector<ControlSpec> c;
    int y = kMargin;
    int right = kMargin;
    for (const TableEdit& e : edits) {
        c.push_back(controls::Label(e.label, kMargin, y + 2, kLabelWidthPx));
        c.push_back(controls::Edit(e.id, e.limit, kEditX, y, EditWidth(e.limit)));
        right = std::max(right, kEditX + EditWidth(e.limit));
        y += kRowPx;
    }
    if (!boxes.empty()) {
        const int gx = right + 16;
        const int height = 26 + kBoxRowPx * int(boxes.size());
        c.push_back(controls::Group("Active bands", gx, kMargin - 6, kBoxWidthPx + 24, height));
        int by = kMargin + 14;
        for (const FormButton& b : boxes) {
            c.push_back(controls::Check(b.id, b.text, gx + 12, by, kBoxWidthPx));
            by += kBoxRowPx;
        }
        y = std::max(y, kMargin - 6 + height + 4);
    }
    int bx = kMargin;
    for (const FormButton& b : buttons) {
        c.push_back(controls::Button(b.id, b.text, bx, y + 10, kButtonWidthPx));
        bx += kButtonWidthPx + kButtonGapPx;
    }
    return c;
}

template <std::size_t N>
std::vector<HintEntry> HintsOf(const TableEdit (&edits)[N])
{
    std::vector<HintEntry> h;
    for (const TableEdit& e : edits) h.push_back({e.id, e.hintString, e.hint});
    return h;
}

template <class Entry, std::size_t N>
void MakeEntries(TForm* form, const TableEdit (&edits)[N])
{
    for (const TableEdit& e : edits) new Entry(form, e.id, e.limit);
}

constexpr FormButton kOkCancelHelpClear[] = {
    {platform::IDOK, "OK"}, {platform::IDCANCEL, "Cancel"}, {platform::IDHELP, "Help"}, {TTableForm::kClear, "Clear"}};

template <std::size_t N>
std::vector<FormButton> WithStandardButtons(const FormButton (&own)[N])
{
    std::vector<FormButton> b(std::begin(kOkCancelHelpClear), std::end(kOkCancelHelpClear));
    b.insert(b.end(), std::begin(own), std::end(own));
    return b;
}

struct Pickers {
    TTableForm::Picker site = [](TForm& f) { return databases::PickTown(&f); };
    TTableForm::Picker satellite = [](TForm& f) { return databases::PickSatellite(&f); };
};
Pickers& ThePickers()
{
    static Pickers p;
    return p;
}

// ---- the forms' fields ------------------------------------------------------------

constexpr FormButton kBandBoxes[kBandCount] = {
    {457, "&UHF band"}, {458, "&L band"}, {453, "&S band"}, {454, "&C band"}, {459, "&X band"},
    {455, "K&u band"},  {456, "K&a band"}, {460, "&Q/V band"}, {461, "Other"}};
constexpr std::size_t kKuBox = 5;

constexpr const char* kSiteNameHint = "Name of earth station location";
constexpr const char* kLatitudeHint = "Earth station latitude (0 to 90 degrees, suffix N or S)";
constexpr const char* kLongitudeHint = "Earth station longitude (0 to 180 degrees, suffix E or W)";
constexpr const char* kMinimumElevationHint = "Cut-off elevation (0 to 20 degrees above horizon)";
constexpr const char* kSlotHint = "Orbital slot of satellite (0 to 180 degrees, suffix E or W)";
constexpr const char* kFrequencyHint = "Frequency (1 to 100 GHz)";

const TableEdit kRecSiteEdits[] = {
    {TRecSiteForm::kSiteName, 41, "Site name", 7107, kSiteNameHint},
    {TRecSiteForm::kSiteLatitude, 13, "Site latitude \xB0", 7109, kLatitudeHint},
    {TRecSiteForm::kSiteLongitude, 13, "Site longitude \xB0", 7110, kLongitudeHint},
    {TRecSiteForm::kMinimumElevation, 13, "Minimum elevation \xB0", 7136, kMinimumElevationHint},
};
const TableFieldCheck kRecSiteChecks[] = {
    {TRecSiteForm::kSiteName, "Site name", FieldType::Text, 0, 0, ""},
    {TRecSiteForm::kSiteLatitude, "Site latitude", FieldType::Latitude, 0, 90, kLatitudeUnit},
    {TRecSiteForm::kSiteLongitude, "Site longitude", FieldType::Longitude, 0, 180, kLongitudeUnit},
    {TRecSiteForm::kMinimumElevation, "Minimum elevation", FieldType::Real, 0, 20, "degrees"},
};

const TableEdit kRecSite2Edits[] = {
    {TRecSiteForm2::kSite1Name, 41, "Site 1 name", 7107, kSiteNameHint},
    {TRecSiteForm2::kSite1Latitude, 13, "Site 1 latitude \xB0", 7109, kLatitudeHint},
    {TRecSiteForm2::kSite1Longitude, 13, "Site 1 longitude \xB0", 7110, kLongitudeHint},
    {TRecSiteForm2::kSite2Name, 41, "Site 2 name", 7107, kSiteNameHint},
    {TRecSiteForm2::kSite2Latitude, 13, "Site 2 latitude \xB0", 7109, kLatitudeHint},
    {TRecSiteForm2::kSite2Longitude, 13, "Site 2 longitude \xB0", 7110, kLongitudeHint},
    {TRecSiteForm2::kMinimumElevation, 13, "Minimum elevation \xB0", 7136, kMinimumElevationHint},
};
const TableFieldCheck kRecSite2Checks[] = {
    {TRecSiteForm2::kSite1Name, "Site 1 name", FieldType::Text, 0, 0, ""},
    {TRecSiteForm2::kSite1Latitude, "Site 1 latitude", FieldType::Latitude, 0, 90, kLatitudeUnit},
    {TRecSiteForm2::kSite1Longitude, "Site 1 longitude", FieldType::Longitude, 0, 180, kLongitudeUnit},
    {TRecSiteForm2::kSite2Name, "Site 2 name", FieldType::Text, 0, 0, ""},
    {TRecSiteForm2::kSite2Latitude, "Site 2 latitude", FieldType::Latitude, 0, 90, kLatitudeUnit},
    {TRecSiteForm2::kSite2Longitude, "Site 2 longitude", FieldType::Longitude, 0, 180, kLongitudeUnit},
    {TRecSiteForm2::kMinimumElevation, "Minimum elevation", FieldType::Real, 0, 10, "degrees"},
};

const TableEdit kSolarTransitEdits[] = {
    {TSolarTransitForm::kSiteName, 41, "Site name", 7107, kSiteNameHint},
    {TSolarTransitForm::kSiteLatitude, 13, "Site latitude \xB0", 7109, kLatitudeHint},
    {TSolarTransitForm::kSiteLongitude, 13, "Site longitude \xB0", 7110, kLongitudeHint},
    {TSolarTransitForm::kZone, 13, "Earth station time zone", 7204,
     "Enter international time zone (-12.0 to +12.0 hours)"},
    {TSolarTransitForm::kTargetLongitude, 13, "Satellite or site longitude \xB0", 7205,
     "Enter site or satellite longitude"},
    {TSolarTransitForm::kMonth, 13, "Month", 7206, "Month of interest (1 to 12)"},
    {TSolarTransitForm::kYear, 13, "Year", 7193, "Enter year of interest (eg. 2001)"},
};
const TableFieldCheck kSolarTransitChecks[] = {
    {TSolarTransitForm::kSiteName, "Site name", FieldType::Text, 0, 0, ""},
    {TSolarTransitForm::kSiteLatitude, "Site latitude", FieldType::Latitude, 0, 90, kLatitudeUnit},
    {TSolarTransitForm::kSiteLongitude, "Site longitude", FieldType::Longitude, 0, 180, kLongitudeUnit},
    {TSolarTransitForm::kZone, "International time zone", FieldType::Real, -12, 14, ""},
    {TSolarTransitForm::kTargetLongitude, "Site or Satellite longitude", FieldType::Longitude, 0, 180,
     kLongitudeUnit},
    {TSolarTransitForm::kMonth, "Month", FieldType::Integer, 1, 12, ""},
    {TSolarTransitForm::kYear, "Year", FieldType::Integer, 1980, 3000, ""},
};

const TableEdit kFreqEdits[] = {
    {TFreqForm::kFrequency, 13, "Operation frequency GHz", 7115, kFrequencyHint},
};
const TableFieldCheck kFreqChecks[] = {
    {TFreqForm::kFrequency, "Frequency", FieldType::Real, 0.0007, 55, "GHz"},
};

const TableEdit kAntSysSmallEdits[] = {
    {TAntSysSmallForm::kFrequency, 13, "Operation frequency GHz", 7115, kFrequencyHint},
    {TAntSysSmallForm::kSystemNoise, 13, "Total system noise K", 7192,
     "Total system noise of antenna and LNB (10 to 500K)"},
    {TAntSysSmallForm::kBandwidth, 13, "RF bandwidth MHz", 7212, "Enter full transponder bandwidth (typ. 24 to 72MHz)"},
};
const TableFieldCheck kAntSysSmallChecks[] = {
    {TAntSysSmallForm::kFrequency, "Frequency", FieldType::Real, 0.0007, 55, "GHz"},
    {TAntSysSmallForm::kSystemNoise, "Total system noise", FieldType::Real, 10, 500, "K"},
    {TAntSysSmallForm::kBandwidth, "RF bandwidth", FieldType::Real, 0.00001, 6000, "MHz"},
};

const TableEdit kBerEdits[] = {
    {TBerForm::kLog10Ber, 13, "Log (BER)", 0, "Logarithm of required Bit Error Rate (-0.1 to -20)"},
};
const TableFieldCheck kBerChecks[] = {
    {TBerForm::kLog10Ber, "Minimum log10(BER)", FieldType::Real, -15, -0.1, ""},
};

const TableEdit kSatPosEdits[] = {
    {TSatPosForm::kSatelliteLongitude, 13, "Longitude (degrees)", 0, kSlotHint},
    {TSatPosForm::kCant, 13, "Spot polarization cant \xB0", 0,
     "Spot beam cant ( 0 for C.P. or -90 to +90 degrees for L.P.)"},
};
const TableFieldCheck kSatPosChecks[] = {
    {TSatPosForm::kSatelliteLongitude, "Satellite longitude", FieldType::Longitude, 0, 180, "W,E"},
    {TSatPosForm::kCant, "Spot polarization cant", FieldType::Real, -90, 90, "\xB0"},
};

const TableEdit kDualTabEdits[] = {
    {TDualTabForm::kPrimaryName, 41, "Satellite name (primary)", 0, "Name of satellite"},
    {TDualTabForm::kSecondaryName, 41, "Satellite Name (secondary)", 0, "Name of satellite"},
    {TDualTabForm::kPrimaryLongitude, 13, "Primary satellite longitude\xB0", 0, kSlotHint},
    {TDualTabForm::kSecondaryLongitude, 13, "Secondary satellite longitude\xB0", 0, kSlotHint},
    {TDualTabForm::kAperture, 13, "Antenna aperture m", 0, "Aperture of earth station antenna (0.2 to 50 metres)"},
    {TDualTabForm::kFOverD, 13, "Antenna f/D ratio ", 0, "Enter f/D ratio of satellite antenna (0.25 to 1.0)"},
    {TDualTabForm::kBeamfactor, 13, "Beamfactor", 0, "Beamfactor of satellite antenna (0.5 to 1.5)"},
};
const TableFieldCheck kDualTabChecks[] = {
    {TDualTabForm::kPrimaryName, "Primary satellite name", FieldType::Text, 0, 0, ""},
    {TDualTabForm::kSecondaryName, "Secondary satellite name", FieldType::Text, 0, 0, ""},
    {TDualTabForm::kPrimaryLongitude, "Primary satellite longitude", FieldType::Longitude, 0, 180, kLongitudeUnit},
    {TDualTabForm::kSecondaryLongitude, "Secondary satellite longitude", FieldType::Longitude, 0, 180,
     kLongitudeUnit},
    {TDualTabForm::kAperture, "Antenna Aperture", FieldType::Real, 0.01, 50, "m"},
    {TDualTabForm::kFOverD, "f/D ratio", FieldType::Real, 0.25, 1.0, ""},
    {TDualTabForm::kBeamfactor, "Beamfactor", FieldType::Real, 0.5, 1.5, ""},
};

// Entry hint tables (they must outlive their controls).
template <const auto& Edits>
HintTable HintTableOf()
{
    static const std::vector<HintEntry> hints = HintsOf(Edits);
    return hints;
}

}  // namespace

// ---- TTableForm ------------------------------------------------------------------------

TTableForm::TTableForm(QWidget* parent, int resourceId, const char* caption, std::vector<ControlSpec> controls,
                       int storedRecord, void* record, std::size_t size, std::span<const TableFieldCheck> checks)
    : TForm(parent, resourceId, caption, std::move(controls)), storedRecord_(storedRecord), size_(size),
      checks_(checks)
{
    SetTransferBuffer(record, size);
    SetHandler(platform::IDHELP, [this, resourceId] { ShowHelp(resourceId); });
    SetHandler(kClear, [this] { CmClear(); });
}

void TTableForm::SetPickers(Picker site, Picker satellite)
{
    ThePickers() = Pickers{};
    if (site) ThePickers().site = std::move(site);
    if (satellite) ThePickers().satellite = std::move(satellite);
}

void TTableForm::SetupWindow()
{
    TOrbiscope* app = App();
    if (app && TransferBuffer()) {
        const auto stored = app->FormRecord(storedRecord_);
        std::memcpy(TransferBuffer(), stored.data(), std::min(stored.size(), size_));
    }
    TForm::SetupWindow();
}

bool TTableForm::CanClose()
{
    for (const TableFieldCheck& c : checks_)
        if (!CheckField(c.label, GetControlText(c.id), c.type, c.minimum, c.maximum, c.unit)) return false;
    if (!CheckMore()) return false;
    if (TOrbiscope* app = App()) {
        const std::vector<std::uint8_t> values = ReadControls();
        const auto stored = app->FormRecord(storedRecord_);
        std::memcpy(stored.data(), values.data(), std::min(stored.size(), values.size()));
    }
    return true;
}

void TTableForm::CmClear()
{
    std::vector<std::uint8_t> values(size_, 0);
    ClearButtons(values);
    WriteControls(values);
}

void TTableForm::PickSite(int nameId, int latitudeId, int longitudeId, int alsoLongitudeId)
{
    TOrbiscope* app = App();
    if (!app || !ThePickers().site || !ThePickers().site(*this)) return;
    SetControlText(nameId, app->PickedSiteName);
    SetControlText(latitudeId, app->PickedSiteLatitude);
    SetControlText(longitudeId, app->PickedSiteLongitude);
    if (alsoLongitudeId) SetControlText(alsoLongitudeId, app->PickedSiteLongitude);
}

void TTableForm::PickSatellite(int nameId, int longitudeId)
{
    TOrbiscope* app = App();
    if (!app || !ThePickers().satellite || !ThePickers().satellite(*this)) return;
    if (nameId) SetControlText(nameId, app->PickedSatName);
    SetControlText(longitudeId, app->PickedSatLongitude);
}

// ---- visible satellites ------------------------------------------------------------------

TRecSiteEntry::TRecSiteEntry(TForm* parent, int id, int textLimit)
    : THintedEdit(parent, id, textLimit, HintTableOf<kRecSiteEdits>())
{
}
TRecSiteEntry2::TRecSiteEntry2(TForm* parent, int id, int textLimit)
    : THintedEdit(parent, id, textLimit, HintTableOf<kRecSite2Edits>())
{
}

bool TBandForm::CheckMore()
{
    const std::vector<std::uint8_t> values = ReadControls();
    for (std::size_t i = 0; i < kBandCount; ++i)
        if (transfer::GetWord(values, BandsOffset() + 2 * i) != 0) return true;
    platform::MessageBox(this, "No active band selected", "Check Box Error", platform::MB_ICONEXCLAMATION);
    return false;
}

void TBandForm::ClearButtons(std::vector<std::uint8_t>& values)
{
    transfer::SetWord(values, BandsOffset() + 2 * kKuBox, 1);
}

std::vector<ControlSpec> TRecSiteForm::ControlTable()
{
    return Layout(kRecSiteEdits, kBandBoxes, WithStandardButtons<1>({{TTableForm::kSite, "Site"}}));
}

TRecSiteForm::TRecSiteForm(QWidget* parent, RecSiteRecord& record)
    : TBandForm(parent, kResourceId, "Search For Satellites > Horizon", ControlTable(), kStoredRecord, &record,
                sizeof record, kRecSiteChecks)
{
    MakeEntries<TRecSiteEntry>(this, kRecSiteEdits);
    for (const FormButton& b : kBandBoxes) new TBandCheckBox(this, b.id);
    SetHandler(kSite, [this] { PickSite(kSiteName, kSiteLatitude, kSiteLongitude); });
}

std::size_t TRecSiteForm::BandsOffset() const { return offsetof(RecSiteRecord, bands); }

std::vector<ControlSpec> TRecSiteForm2::ControlTable()
{
    return Layout(kRecSite2Edits, kBandBoxes,
                  WithStandardButtons<2>({{TTableForm::kSite, "Site 1"}, {TRecSiteForm2::kSite2, "Site 2"}}));
}

TRecSiteForm2::TRecSiteForm2(QWidget* parent, RecSite2Record& record)
    : TBandForm(parent, kResourceId, "Search for Common Satellites  > Horizon", ControlTable(), kStoredRecord,
                &record, sizeof record, kRecSite2Checks)
{
    MakeEntries<TRecSiteEntry2>(this, kRecSite2Edits);
    for (const FormButton& b : kBandBoxes) new TBandCheckBox(this, b.id);
    SetHandler(kSite, [this] { PickSite(kSite1Name, kSite1Latitude, kSite1Longitude); });
    SetHandler(kSite2, [this] { PickSite(kSite2Name, kSite2Latitude, kSite2Longitude); });
}

std::size_t TRecSiteForm2::BandsOffset() const { return offsetof(RecSite2Record, bands); }

// ---- solar transit -----------------------------------------------------------------------

TSolarTransitEntry::TSolarTransitEntry(TForm* parent, int id, int textLimit)
    : THintedEdit(parent, id, textLimit, HintTableOf<kSolarTransitEdits>())
{
}

std::vector<ControlSpec> TSolarTransitForm::ControlTable()
{
    return Layout(kSolarTransitEdits, {},
                  WithStandardButtons<2>({{TTableForm::kSite, "Site"}, {TTableForm::kSatellite, "Satellite"}}));
}

TSolarTransitForm::TSolarTransitForm(QWidget* parent, SolarTransitRecord& record)
    : TTableForm(parent, kResourceId, "Edit Solar Event Tabulation Form", ControlTable(), kStoredRecord, &record,
                 sizeof record, kSolarTransitChecks)
{
    MakeEntries<TSolarTransitEntry>(this, kSolarTransitEdits);
    // A picked site is its own target: a transit table.
    SetHandler(kSite, [this] { PickSite(kSiteName, kSiteLatitude, kSiteLongitude, kTargetLongitude); });
    SetHandler(kSatellite, [this] { PickSatellite(0, kTargetLongitude); });
}

// ---- antenna, EIRP and modulation ----------------------------------------------------------

TFreqEntry::TFreqEntry(TForm* parent, int id, int textLimit)
    : THintedEdit(parent, id, textLimit, HintTableOf<kFreqEdits>())
{
}

std::vector<ControlSpec> TFreqForm::ControlTable() { return Layout(kFreqEdits, {}, kOkCancelHelpClear); }

TFreqForm::TFreqForm(QWidget* parent, FreqRecord& record)
    : TTableForm(parent, kResourceId, "Operation Frequency Input", ControlTable(), kStoredRecord, &record,
                 sizeof record, kFreqChecks)
{
    MakeEntries<TFreqEntry>(this, kFreqEdits);
}

TAntSysSmallEntry::TAntSysSmallEntry(TForm* parent, int id, int textLimit)
    : THintedEdit(parent, id, textLimit, HintTableOf<kAntSysSmallEdits>())
{
}

std::vector<ControlSpec> TAntSysSmallForm::ControlTable()
{
    return Layout(kAntSysSmallEdits, {}, kOkCancelHelpClear);
}

TAntSysSmallForm::TAntSysSmallForm(QWidget* parent, AntSysSmallRecord& record)
    : TTableForm(parent, kResourceId, "Antenna System Input Data", ControlTable(), kStoredRecord, &record,
                 sizeof record, kAntSysSmallChecks)
{
    MakeEntries<TAntSysSmallEntry>(this, kAntSysSmallEdits);
}

TBerEntry::TBerEntry(TForm* parent, int id, int textLimit)
    : THintedEdit(parent, id, textLimit, HintTableOf<kBerEdits>())
{
}

std::vector<ControlSpec> TBerForm::ControlTable() { return Layout(kBerEdits, {}, kOkCancelHelpClear); }

TBerForm::TBerForm(QWidget* parent, BerRecord& record)
    : TTableForm(parent, kResourceId, "Edit Bit Error Rate / Bit Error Probability", ControlTable(), kStoredRecord,
                 &record, sizeof record, kBerChecks)
{
    MakeEntries<TBerEntry>(this, kBerEdits);
}

// ---- national tables -------------------------------------------------------------------------

TSatPosEntry::TSatPosEntry(TForm* parent, int id, int textLimit)
    : THintedEdit(parent, id, textLimit, HintTableOf<kSatPosEdits>())
{
}

std::vector<ControlSpec> TSatPosForm::ControlTable()
{
    return Layout(kSatPosEdits, {}, WithStandardButtons<1>({{TTableForm::kSatellite, "Satellite"}}));
}

TSatPosForm::TSatPosForm(QWidget* parent, SatPosRecord& record)
    : TTableForm(parent, kResourceId, "Satellite Position", ControlTable(), kStoredRecord, &record, sizeof record,
                 kSatPosChecks)
{
    MakeEntries<TSatPosEntry>(this, kSatPosEdits);
    SetHandler(kSatellite, [this] { PickSatellite(0, kSatelliteLongitude); });
}

TDualTabEntry::TDualTabEntry(TForm* parent, int id, int textLimit)
    : THintedEdit(parent, id, textLimit, HintTableOf<kDualTabEdits>())
{
}

void TDualTabEntry::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->LastFocusedEntry = Id();
    THintedEdit::EvSetFocus();
}

std::vector<ControlSpec> TDualTabForm::ControlTable()
{
    return Layout(kDualTabEdits, {}, WithStandardButtons<1>({{TTableForm::kSatellite, "Satellite"}}));
}

TDualTabForm::TDualTabForm(QWidget* parent, DualTabRecord& record)
    : TTableForm(parent, kResourceId, "Create Dual Feed Spacing Table", ControlTable(), kStoredRecord, &record,
                 sizeof record, kDualTabChecks)
{
    MakeEntries<TDualTabEntry>(this, kDualTabEdits);
    SetHandler(kSatellite, [this] { CmSatellite(); });
}

void TDualTabForm::CmSatellite()
{
    const TOrbiscope* app = App();
    const int last = app ? app->LastFocusedEntry : 0;
    if (last == kPrimaryName || last == kPrimaryLongitude) PickSatellite(kPrimaryName, kPrimaryLongitude);
    else PickSatellite(kSecondaryName, kSecondaryLongitude);
}
