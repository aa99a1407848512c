#include "pointing/orbit/loc_form.h"

#include <cstddef>

#include "framework/app/orbiscope.h"
#include "framework/forms/control_table.h"

using platform::ControlSpec;

namespace {

constexpr HintEntry kLocEntryHints[] = {
    {TLocForm::kSiteName, 7107, "Name of earth station location"},
    {TLocForm::kLatitude, 7109, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
    {TLocForm::kLongitude, 7110, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
    {TLocForm::kTimeOffset, 7420, "Enter a time offset in seconds (+- 86400), default is 0"},
    {TLocForm::kRefreshRate, 7421, "Enter the TLE refresh rate in seconds."},
};

TLocForm::SitePicker& Picker() {
    static TLocForm::SitePicker picker;
    return picker;
}

constexpr std::size_t kSiteNameAt = offsetof(TleOptionRecord, siteName);
constexpr std::size_t kLatitudeAt = offsetof(TleOptionRecord, latitude);
constexpr std::size_t kLongitudeAt = offsetof(TleOptionRecord, longitude);
constexpr std::size_t kTimeOffsetAt = offsetof(TleOptionRecord, timeOffset);
constexpr std::size_t kRefreshRateAt = offsetof(TleOptionRecord, refreshRate);
constexpr std::size_t kNameSize = sizeof(TleOptionRecord::siteName);
constexpr std::size_t kTextSize = sizeof(TleOptionRecord::latitude);

}  // namespace

TLocEntry::TLocEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit) {
    SetHints(kLocEntryHints);
}

std::vector<ControlSpec> TLocForm::ControlTable() {
    using namespace controls;
    return {
        Label("Site name", 10, 12, 120),
        Edit(kSiteName, int(kNameSize), 135, 10, 280),
        Button(kSiteButton, "Site", 425, 8, 65),
        Label("Site latitude \xB0", 10, 42, 120),
        Edit(kLatitude, int(kTextSize), 135, 40, 110),
        Label("Site longitude \xB0", 10, 72, 120),
        Edit(kLongitude, int(kTextSize), 135, 70, 110),
        Label("Time offset (sec)", 10, 102, 120),
        Edit(kTimeOffset, int(kTextSize), 135, 100, 110),
        Label("Refresh rate (sec)", 10, 132, 120),
        Edit(kRefreshRate, int(kTextSize), 135, 130, 110),
        Group("Lat/Long Format", 10, 166, 235, 74),
        Radio(kNumerical, "Numerical", 20, 186, 200, true),
        Radio(kString, "String", 20, 210, 200),
        Group("Longitude Display", 255, 166, 235, 98),
        Radio(kModulo180, "Modulo 180", 265, 186, 200, true),
        Radio(kDegreesEast, "Degrees east", 265, 210, 200),
        Radio(kDegreesWest, "Degrees west", 265, 234, 200),
        Group("Sort Field", 10, 274, 480, 98),
        Radio(kSortName, "Satellite name", 20, 294, 150, true),
        Radio(kSortId, "Satellite ID", 20, 318, 150),
        Radio(kSortInclination, "Inclination", 20, 342, 150),
        Radio(kSortLatitude, "Latitude", 180, 294, 140),
        Radio(kSortLongitude, "Longitude", 180, 318, 140),
        Radio(kSortAltitude, "Altitude", 180, 342, 140),
        Radio(kSortAzimuth, "Azimuth", 330, 294, 150),
        Radio(kSortElevation, "Elevation", 330, 318, 150),
        Radio(kSortRange, "Range", 330, 342, 150),
        Button(platform::IDOK, "OK", 160, 386, 80),
        Button(platform::IDCANCEL, "Cancel", 250, 386, 80),
        Button(platform::IDHELP, "Help", 340, 386, 80),
    };
}

TLocForm::TLocForm(QWidget* parent, TleOptionRecord& record)
    : TForm(parent, kResourceId, "Edit Observer Location / Set Decode Format", ControlTable()) {
    new TLocEntry(this, kSiteName, int(kNameSize));
    new TLocEntry(this, kLatitude, int(kTextSize));
    new TLocEntry(this, kLongitude, int(kTextSize));
    new TLocEntry(this, kTimeOffset, int(kTextSize));
    new TLocEntry(this, kRefreshRate, int(kTextSize));
    for (int id : {kNumerical, kString}) new TOutputStringRadioButton(this, id);
    for (int id : {kModulo180, kDegreesEast, kDegreesWest}) new TLongFormatRadioButton(this, id);
    for (int id = kSortName; id <= kSortRange; ++id) new TSortRadioButton(this, id);
    SetTransferBuffer(&record, sizeof record);
    SetHandler(kSiteButton, [this] { CmPickTown(); });
    SetHandler(platform::IDHELP, [this] { CmHelp(); });
}

bool TLocForm::CanClose() {
    const std::vector<std::uint8_t> v = ReadControls();
    return CheckField("Site name", transfer::GetText(v, kSiteNameAt, kNameSize), FieldType::Text, 0, 0, "") &&
           CheckField("Site latitude", transfer::GetText(v, kLatitudeAt, kTextSize), FieldType::Latitude, 0, 90,
                      "\xB0N,\xB0S") &&
           CheckField("Site longitude", transfer::GetText(v, kLongitudeAt, kTextSize), FieldType::Longitude, 0, 180,
                      "\xB0W,\xB0" "E") &&
           CheckField("Time Offset", transfer::GetText(v, kTimeOffsetAt, kTextSize), FieldType::Real,
                      -kMaxTimeOffsetSeconds, kMaxTimeOffsetSeconds, "sec.") &&
           CheckField("Refresh rate", transfer::GetText(v, kRefreshRateAt, kTextSize), FieldType::Real, 1, 60,
                      "sec.");
}

void TLocForm::CmPickTown() {
    TOrbiscope* app = App();
    if (!app || !Picker() || !Picker()(*this)) return;
    std::vector<std::uint8_t> v = ReadControls();
    transfer::SetText(v, kSiteNameAt, kNameSize, app->PickedSiteName);
    transfer::SetText(v, kLatitudeAt, kTextSize, app->PickedSiteLatitude);
    transfer::SetText(v, kLongitudeAt, kTextSize, app->PickedSiteLongitude);
    WriteControls(v);
}

void TLocForm::CmHelp() { ShowHelp(kResourceId); }

void TLocForm::SetSitePicker(SitePicker picker) { Picker() = std::move(picker); }
