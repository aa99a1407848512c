#include "pointing/sun/solar_out_form.h"

#include <cstdio>
#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/databases/pickers.h"
#include "framework/forms/field_check.h"
#include "framework/forms/scratch_record.h"
#include "pointing/sun/solar_form_layout.h"

namespace {

using namespace solarform;

constexpr const char* kLatitudeUnit = "\xB0N,\xB0S";
constexpr const char* kLongitudeUnit = "\xB0W,\xB0" "E";

const TextField kTexts[] = {
    {kSiteName, 41, "Site name", "Name of earth station location"},
    {kSatName, 41, "Satellite name", "Name of satellite"},
    {kSiteLatitude, 13, "Site latitude \xB0", "Site latitude in degrees with N or S (e.g. 51.50N)"},
    {kSiteLongitude, 13, "Site longitude \xB0", "Site longitude in degrees with E or W (e.g. 0.12W)"},
    {kSatLongitude, 13, "Satellite longitude \xB0", "Satellite longitude in degrees with E or W (e.g. 28.2E)"},
    {kYear, 13, "Year of interest", "Year of interest (1980 to 2100)"},
    {kZone, 13, "Time zone (hours)", "International time zone: hours east of Greenwich (-12 to 14)"},
    {kAperture, 13, "Antenna aperture m", "Antenna diameter in metres"},
    {kFrequency, 13, "Frequency GHz", "Operating frequency in GHz"},
};
std::vector<RadioGroup> Groups() { return {BeamGroup(), ResolutionGroup(), TimeGroup()}; }
const PushButton kButtons[] = {{kSite, "Site"}, {kSatellite, "Satellite"}, {platform::IDOK, "OK"},
                               {platform::IDCANCEL, "Cancel"}, {platform::IDHELP, "Help"}};

HintTable EntryHints()
{
    static const std::vector<HintEntry> hints = Hints(kTexts);
    return hints;
}

struct Pickers {
    TSolarOutForm::Picker site = [](TForm& f) { return databases::PickTown(&f); };
    TSolarOutForm::Picker satellite = [](TForm& f) { return databases::PickSatellite(&f); };
};
Pickers& ThePickers()
{
    static Pickers p;
    return p;
}

template <std::size_t N>
std::string Text(const char (&field)[N])
{
    return FieldText(field);
}

}  // namespace

namespace orbiscope::sun {

bool CheckFrequencyAllowsAperture(TForm& form, double frequencyGHz, std::string_view frequencyText)
{
    return CheckApertureForFrequency(form, kLargestApertureM, frequencyGHz, frequencyText);
}

bool CheckApertureForFrequency(TForm& form, double apertureM, double frequencyGHz, std::string_view frequencyText)
{
    const std::string text = ApertureRangeMessage(apertureM, frequencyGHz, frequencyText, kLargestApertureM);
    if (text.empty()) return true;
    form.ReportFieldError(text.c_str(), "Range Error");
    return false;
}

bool RunSitePicker(TForm& form) { return ThePickers().site && ThePickers().site(form); }
bool RunSatellitePicker(TForm& form) { return ThePickers().satellite && ThePickers().satellite(form); }

}  // namespace orbiscope::sun

TSolarOutEntry::TSolarOutEntry(TForm* parent, int id, int textLimit) : THintedEdit(parent, id, textLimit, EntryHints())
{
}

std::vector<platform::ControlSpec> TSolarOutForm::ControlTable()
{
    return solarform::Controls(kTexts, Groups(), kButtons);
}

TSolarOutForm::TSolarOutForm(QWidget* parent, SolarOutRecord& record)
    : TForm(parent, kResourceId, "Edit Solar Outage Parameters", ControlTable()), record_(record)
{
    SetTransferBuffer(&record_, sizeof record_);
    for (const TextField& t : kTexts) new TSolarOutEntry(this, t.id, t.limit);
    for (int id : {kStandard, kWide}) new TOutageBeamRadioButton(this, id);
    for (int id : {kMinute, kSecond}) new TOutageResRadioButton(this, id);
    for (int id : {kGmt, kLocal}) new TOutputTimeRadioButton(this, id);
    SetHandler(kSite, [this] { CmSite(); });
    SetHandler(kSatellite, [this] { CmSatellite(); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
}

void TSolarOutForm::SetPickers(Picker site, Picker satellite)
{
    ThePickers() = Pickers{};
    if (site) ThePickers().site = std::move(site);
    if (satellite) ThePickers().satellite = std::move(satellite);
}

SolarOutRecord TSolarOutForm::Scratch() const { return ReadScratch<SolarOutRecord>(*this); }

void TSolarOutForm::PutScratch(const SolarOutRecord& r) { WriteScratch(*this, r); }

bool TSolarOutForm::CanClose() { return ValidateFields(Scratch()); }

bool TSolarOutForm::ValidateFields(const SolarOutRecord& r)
{
    using FT = FieldType;
    if (!CheckField("Site name", Text(r.siteName), FT::Text, 0, 0, "") ||
        !CheckField("Satellite name", Text(r.satName), FT::Text, 0, 0, "") ||
        !CheckField("Site latitude", Text(r.siteLatitude), FT::Latitude, 0, 90, kLatitudeUnit) ||
        !CheckField("Site longitude", Text(r.siteLongitude), FT::Longitude, 0, 180, kLongitudeUnit) ||
        !CheckField("Satellite longitude", Text(r.satLongitude), FT::Longitude, 0, 180, kLongitudeUnit) ||
        !CheckField("Year of interest", Text(r.year), FT::Real, 1980, 2100, "") ||
        !CheckField("International time zone", Text(r.zone), FT::Real, -12, 14, "") ||
        !CheckField("Antenna aperture", Text(r.aperture), FT::Real, 0.01, orbiscope::sun::kLargestApertureM, "m") ||
        !CheckField("Frequency", Text(r.frequency), FT::Real, 0.0007, 55, "GHz"))
        return false;
    const orbiscope::sun::SolarOutInputs p = orbiscope::sun::ParseSolarOutInputs(r);
    return orbiscope::sun::CheckApertureForFrequency(*this, p.apertureM, p.frequencyGHz, Text(r.frequency));
}

void TSolarOutForm::CmSite()
{
    TOrbiscope* app = App();
    if (!app || !orbiscope::sun::RunSitePicker(*this)) return;
    SolarOutRecord r = Scratch();
    PutText(r.siteName, app->PickedSiteName);
    PutText(r.siteLatitude, app->PickedSiteLatitude);
    PutText(r.siteLongitude, app->PickedSiteLongitude);
    PutScratch(r);
}

void TSolarOutForm::CmSatellite()
{
    TOrbiscope* app = App();
    if (!app || !orbiscope::sun::RunSatellitePicker(*this)) return;
    SolarOutRecord r = Scratch();
    PutText(r.satName, app->PickedSatName);
    PutText(r.satLongitude, app->PickedSatLongitude);
    PutScratch(r);
}
