#include "pointing/alignment/dual_form.h"

#include "framework/app/orbiscope.h"
#include "framework/databases/pickers.h"
#include "framework/forms/scratch_record.h"
#include "pointing/alignment/alignment_form_support.h"

using platform::ControlSpec;

namespace {

using F = TDualForm;

constexpr const char* kSatelliteHint = "Name of satellite";
constexpr const char* kSlotHint = "Orbital slot of satellite (0 to 180 degrees, suffix E or W)";

constexpr HintEntry kDualEntryHints[] = {
    {F::kSiteName, 0, "Name of earth station location"},
    {F::kPrimaryName, 0, kSatelliteHint},
    {F::kSecondaryName, 0, kSatelliteHint},
    {F::kSiteLatitude, 0, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
    {F::kSiteLongitude, 0, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
    {F::kPrimaryLongitude, 0, kSlotHint},
    {F::kSecondaryLongitude, 0, kSlotHint},
    {F::kFrequency, 0, "Frequency (1 to 100 GHz)"},
    {F::kAperture, 0, "Aperture of earth station antenna (0.2 to 50 metres)"},
    {F::kEfficiency, 0, "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets"},
    {F::kFOverD, 0, "Enter f/D ratio of satellite antenna (0.25 to 1.0)"},
    {F::kBeamfactor, 0, "Beamfactor of satellite antenna (0.5 to 1.5)"},
};

const alignform::EntrySpec kEntries[] = {
    {F::kSiteName, 41, "Site name"},
    {F::kPrimaryName, 41, "Satellite name (primary)"},
    {F::kSecondaryName, 41, "Satellite name (secondary)"},
    {F::kSiteLatitude, 13, "Site latitude \xB0"},
    {F::kSiteLongitude, 13, "Site longitude \xB0"},
    {F::kPrimaryLongitude, 13, "Primary sat. longitude\xB0"},
    {F::kSecondaryLongitude, 13, "Secondary sat. longitude \xB0"},
    {F::kAperture, 13, "Antenna aperture m"},
    {F::kEfficiency, 13, "Ant. boresight  efficiency %"},
    {F::kFrequency, 13, "Frequency GHz"},
    {F::kFOverD, 13, "Antenna f/D ratio "},
    {F::kBeamfactor, 13, "Beamfactor"},
};

DualFeedInputRecord Scratch(const TForm& form) { return ReadScratch<DualFeedInputRecord>(form, TerminateTexts); }

}  // namespace

TDualEntry::TDualEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kDualEntryHints);
}

void TDualEntry::EvSetFocus()
{
    TMyEdit::EvSetFocus();
    if (App()) App()->LastFocusedEntry = Id();
}

std::vector<ControlSpec> TDualForm::ControlTable()
{
    return alignform::EntryTable(kEntries,
                                 {{kSiteButton, "Site", kSiteName}, {kSatelliteButton, "Satellite", kPrimaryName}});
}

TDualForm::TDualForm(QWidget* parent, DualFeedInputRecord& record)
    : TForm(parent, kResourceId, "Edit Dual Feed Parameters", ControlTable())
{
    for (const alignform::EntrySpec& e : kEntries) new TDualEntry(this, e.id, e.bytes);
    SetTransferBuffer(&record, sizeof record);
    SetHandler(kSiteButton, [this] { CmSite(); });
    SetHandler(kSatelliteButton, [this] { CmSatellite(); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
}

bool TDualForm::CanClose() { return ValidateFields(Scratch(*this)); }

bool TDualForm::ValidateFields(const DualFeedInputRecord& record)
{
    DualFeedInputRecord r = record;
    TerminateTexts(r);
    using FT = FieldType;
    using namespace alignform;
    return CheckField("Site name", FieldView(r.siteName), FT::Text, 0, 0, "") &&
           CheckField("Primary satellite name", FieldView(r.primaryName), FT::Text, 0, 0, "") &&
           CheckField("Secondary satellite name", FieldView(r.secondaryName), FT::Text, 0, 0, "") &&
           CheckField("Site latitude", FieldView(r.siteLatitude), FT::Latitude, 0, 90, kLatitudeUnit) &&
           CheckField("Site longitude", FieldView(r.siteLongitude), FT::Longitude, 0, 180, kLongitudeUnit) &&
           CheckField("Primary satellite longitude", FieldView(r.primaryLongitude), FT::Longitude, 0, 180,
                      kLongitudeUnit) &&
           CheckField("Secondary satellite longitude", FieldView(r.secondaryLongitude), FT::Longitude, 0, 180,
                      kLongitudeUnit) &&
           CheckField("Antenna aperture", FieldView(r.aperture), FT::Real, 0.01, 50, "m") &&
           CheckField("Antenna efficiency", FieldView(r.efficiency), FT::Real, 10, 100, "%") &&
           CheckField("Frequency", FieldView(r.frequency), FT::Real, 0.0007, 55, "GHz") &&
           CheckField("f/D ratio", FieldView(r.fOverD), FT::Real, 0.25, 1.0, "") &&
           CheckField("Beamfactor", FieldView(r.beamfactor), FT::Real, 0.5, 1.5, "");
}

void TDualForm::CmSite() { alignform::PickSiteInto<DualFeedInputRecord>(*this, TerminateTexts); }

void TDualForm::CmSatellite()
{
    TOrbiscope* app = App();
    if (!app) return;
    // The focus moves to the button when it is pressed: the entry that had
    // it before says which satellite the user means.
    const int focused = app->LastFocusedEntry;
    if (!databases::PickSatellite(this)) return;
    DualFeedInputRecord r = Scratch(*this);
    const bool primary = focused == kPrimaryName || focused == kPrimaryLongitude;
    PutText(primary ? r.primaryName : r.secondaryName, app->PickedSatName);
    PutText(primary ? r.primaryLongitude : r.secondaryLongitude, app->PickedSatLongitude);
    WriteScratch(*this, r);
}
