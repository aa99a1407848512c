#include "pointing/alignment/angle_form.h"

#include "framework/app/orbiscope.h"
#include "framework/databases/pickers.h"
#include "framework/forms/control_table.h"
#include "framework/forms/scratch_record.h"
#include "pointing/alignment/alignment_form_support.h"

using platform::ControlSpec;

namespace {

using F = TAngleForm;

constexpr HintEntry kAngleEntryHints[] = {
    {F::kSiteName, 0, "Name of earth station location"},
    {F::kSatelliteName, 0, "Name of satellite"},
    {F::kSiteLatitude, 0, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
    {F::kSiteLongitude, 0, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
    {F::kSatelliteLongitude, 0, "Orbital slot of satellite (0 to 180 degrees, suffix E or W)"},
    {F::kPolarizationCant, 0, "Spot beam cant ( 0 for C.P. or -90 to +90 degrees for L.P.)"},
    {F::kInclination, 0, "Orbital inclination (0 degrees if not known)"},
    {F::kOffsetFocusAngle, 0, "Antenna offset focus angle (prime focus = 0)"},
};

// The edits in record order: id, text bytes, label.
const alignform::EntrySpec kEntries[] = {
    {F::kSiteName, 41, "Site name"},
    {F::kSatelliteName, 41, "Satellite name"},
    {F::kSiteLatitude, 13, "Site latitude \xB0"},
    {F::kSiteLongitude, 13, "Site longitude \xB0"},
    {F::kSatelliteLongitude, 13, "Satellite longitude \xB0"},
    {F::kInclination, 13, "Inclination \xB0"},
    {F::kPolarizationCant, 13, "Spot polarization cant \xB0"},
    {F::kOffsetFocusAngle, 13, "Offset focus angle \xB0"},
};

LookAngleInputRecord Scratch(const TForm& form) { return ReadScratch<LookAngleInputRecord>(form, TerminateTexts); }

}  // namespace

TAngleEntry::TAngleEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kAngleEntryHints);
}

std::vector<ControlSpec> TAngleForm::ControlTable()
{
    return alignform::EntryTable(kEntries, {{kSiteButton, "Site", kSiteName}, {kSatelliteButton, "Satellite", kSatelliteName}});
}

TAngleForm::TAngleForm(QWidget* parent, LookAngleInputRecord& record)
    : TForm(parent, kResourceId, "Edit Look Angle Parameters", ControlTable())
{
    for (const alignform::EntrySpec& e : kEntries) new TAngleEntry(this, e.id, e.bytes);
    SetTransferBuffer(&record, sizeof record);
    SetHandler(kSiteButton, [this] { CmSite(); });
    SetHandler(kSatelliteButton, [this] { CmSatellite(); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
}

bool TAngleForm::CanClose() { return ValidateFields(Scratch(*this)); }

bool TAngleForm::ValidateFields(const LookAngleInputRecord& record)
{
    LookAngleInputRecord r = record;
    TerminateTexts(r);
    using FT = FieldType;
    using namespace alignform;
    return CheckField("Site name", FieldView(r.siteName), FT::Text, 0, 0, "") &&
           CheckField("Satellite name", FieldView(r.satelliteName), FT::Text, 0, 0, "") &&
           CheckField("Site latitude", FieldView(r.siteLatitude), FT::Latitude, 0, 90, kLatitudeUnit) &&
           CheckField("Site longitude", FieldView(r.siteLongitude), FT::Longitude, 0, 180, kLongitudeUnit) &&
           CheckField("Satellite longitude", FieldView(r.satelliteLongitude), FT::Longitude, 0, 180,
                      kLongitudeUnit) &&
           CheckField("Inclination", FieldView(r.inclination), FT::Real, -20, 20, kDegreeUnit) &&
           CheckField("Polarization cant", FieldView(r.polarizationCant), FT::Real, -90, 90, kDegreeUnit) &&
           CheckField("Offset Focus Angle", FieldView(r.offsetFocusAngle), FT::Real, -90, 90, kDegreeUnit);
}

void TAngleForm::CmSite() { alignform::PickSiteInto<LookAngleInputRecord>(*this, TerminateTexts); }

void TAngleForm::CmSatellite()
{
    TOrbiscope* app = App();
    if (!app || !databases::PickSatellite(this)) return;
    LookAngleInputRecord r = Scratch(*this);
    PutText(r.satelliteName, app->PickedSatName);
    PutText(r.satelliteLongitude, app->PickedSatLongitude);
    WriteScratch(*this, r);
}
