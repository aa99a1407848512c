#include "framework/app/setup_form.h"

#include "framework/forms/control_table.h"

#include <QPointer>
#include <array>
#include <span>
#include <string_view>

#include "framework/app/config_files.h"
#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "framework/forms/form_controls.h"
#include "framework/output/file_limit.h"
#include "platform/messagebox.h"
#include "platform/registry.h"

using platform::ControlSpec;

namespace {

constexpr const char* kSetupFile = "orbisco.cfg";
constexpr const char* kFormValuesFile = "orbisco.dat";

// Hints of the set-up dialog's controls (they have no string ids of their own).
constexpr HintEntry kSetUpEntryHints[] = {
    {TSetUpForm::kCompany, 0, "Company name to appear on printouts"},
    {TSetUpForm::kSiteName, 0, "Name of earth station location"},
    {TSetUpForm::kLatitude, 0, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
    {TSetUpForm::kLongitude, 0, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
};
constexpr HintEntry kSetUpRadioButtonHints[] = {
    {TSetUpForm::kThisSession, 0, "Restricts persistence of Setup changes to current session"},
    {TSetUpForm::kAllSessions, 0, "Save set-up changes for next use"},
    {TSetUpForm::kRestoreDefaults, 0, "Restores the default Setup configuration"},
};
constexpr HintEntry kSetUpCheckBoxHints[] = {
    {TSetUpForm::kSaveEntries, 0, "Save, non-file based, form data when closing application"},
    {TSetUpForm::kRestrictTilt, 0, "Restricts linear polarization to H=0 or V=90 degrees (ie not calculated)"},
};

TSetUpForm::SitePicker& Picker()
{
    static TSetUpForm::SitePicker picker;
    return picker;
}

}  // namespace

std::vector<ControlSpec> TSetUpForm::ControlTable()
{
    using namespace controls;
    return {
        Label("Company name", 10, 12, 110),
        Edit(kCompany, int(kCompanySize), 125, 10, 375),
        Group("Setup Persistence", 10, 42, 490, 50),
        Radio(kThisSession, "This session only", 20, 62, 150, true),
        Radio(kAllSessions, "All sessions", 180, 62, 140),
        Radio(kRestoreDefaults, "Restore defaults", 330, 62, 160),
        Group("Default Observer Site for TLE Files", 10, 102, 490, 112),
        Label("Site Name", 20, 124, 100),
        Edit(kSiteName, int(kSiteNameSize), 125, 122, 290),
        Button(kSiteButton, "Site", 425, 120, 65),
        Label("Site Latitude", 20, 154, 100),
        Edit(kLatitude, int(kCoordinateSize), 125, 152, 110),
        Label("Site longitude", 20, 184, 100),
        Edit(kLongitude, int(kCoordinateSize), 125, 182, 110),
        Group("Options", 10, 224, 490, 74),
        Check(kSaveEntries, "Save supplementary dialog entries on exit", 20, 244, 470),
        Check(kRestrictTilt, "Restrict linear polarization tilt angle to H=0 or V=90 degrees", 20, 268,
               470),
        Button(platform::IDOK, "OK", 160, 310, 80),
        Button(platform::IDCANCEL, "Cancel", 250, 310, 80),
        Button(platform::IDHELP, "Help", 340, 310, 80),
    };
}

TSetUpForm::TSetUpForm(QWidget* parent) : TForm(parent, kResourceId, "Orbiscope Set Up Form", ControlTable())
{
    new THintedEdit(this, kCompany, int(kCompanySize), kSetUpEntryHints);
    for (int id : {kThisSession, kAllSessions, kRestoreDefaults}) new THintedRadioButton(this, id, kSetUpRadioButtonHints);
    new THintedEdit(this, kSiteName, int(kSiteNameSize), kSetUpEntryHints);
    new THintedEdit(this, kLatitude, int(kCoordinateSize), kSetUpEntryHints);
    new THintedEdit(this, kLongitude, int(kCoordinateSize), kSetUpEntryHints);
    for (int id : {kSaveEntries, kRestrictTilt}) new THintedCheckBox(this, id, kSetUpCheckBoxHints);

    SetHandler(kSiteButton, [this] { CmSite(); });
    SetHandler(platform::IDHELP, [this] { CmHelp(); });
}

bool TSetUpForm::CanClose()
{
    const std::vector<std::uint8_t> v = ReadControls();
    if (transfer::GetWord(v, kRestoreDefaultsAt) == 1) return true;
    return CheckField("Company name", transfer::GetText(v, kCompanyAt, kCompanySize), FieldType::Text, 0, 0, "") &&
           CheckField("Site name", transfer::GetText(v, kSiteNameAt, kSiteNameSize), FieldType::Text, 0, 0, "") &&
           CheckField("Site latitude", transfer::GetText(v, kLatitudeAt, kCoordinateSize), FieldType::Latitude, 0,
                      90, "\xB0N,\xB0S") &&
           CheckField("Site longitude", transfer::GetText(v, kLongitudeAt, kCoordinateSize), FieldType::Longitude, 0,
                      180, "\xB0W,\xB0" "E");
}

void TSetUpForm::CmSite()
{
    TOrbiscope* app = App();
    if (!app || !Picker() || !Picker()(*this)) return;
    std::vector<std::uint8_t> v = ReadControls();
    transfer::SetText(v, kSiteNameAt, kSiteNameSize, app->PickedSiteName);
    transfer::SetText(v, kLatitudeAt, kCoordinateSize, app->PickedSiteLatitude);
    transfer::SetText(v, kLongitudeAt, kCoordinateSize, app->PickedSiteLongitude);
    WriteControls(v);
}

void TSetUpForm::CmHelp() { ShowHelp(kResourceId); }

void TSetUpForm::SetSitePicker(SitePicker picker) { Picker() = std::move(picker); }

namespace setup {

bool ReadSetupFile(TOrbiscope& app)
{
    app.CurrentFileName.clear();
    app.SetProgramDir();
    SetUpRecord record;
    record.bytes = app.SetUpRecord;
    const bool whole = ::ReadSetupFile(app.ProgramDir + kSetupFile, record);
    // A text that fills its field ends at the field's last byte.
    for (std::size_t end : {SetUpRecord::kCompanyOffset + SetUpRecord::kCompanySize,
                            SetUpRecord::kSiteNameOffset + SetUpRecord::kSiteNameSize,
                            SetUpRecord::kLatitudeOffset + SetUpRecord::kLatitudeSize,
                            SetUpRecord::kLongitudeOffset + SetUpRecord::kLongitudeSize})
        record.bytes[end - 1] = 0;
    app.SetUpRecord = record.bytes;
    return whole;
}

void SetDefaultSetup(TOrbiscope& app)
{
    app.SetUpRecord = DefaultSetUpRecord().bytes;
    app.DefaultCountryFile.clear();
}

bool ReadFormValues(TOrbiscope& app)
{
    app.SetProgramDir();
    std::vector<std::span<std::uint8_t>> records;
    for (int r = 1; r <= kFormValueRecordCount; ++r) records.push_back(app.FormRecord(r));
    return ReadFormValuesFile(app.ProgramDir + kFormValuesFile, records) != FormValuesRead::Short;
}

void ReadConfiguration(TOrbiscope& app, QWidget* owner)
{
    app.RestorePlacement();
    using orbiscope::kRegistrySettings;
    for (const platform::Registry::Refusal& refused : platform::Registry::Refusals())
        orbiscope::ShowSettingsFileRefused(owner, refused.file.string(), refused.why, kRegistrySettings, refused.lock,
                                           refused.error);
    // A name that goes wrong later in the session (a lock left held, a FIFO
    // put at the lock's name) is named when a write finds it; what a write
    // met before now (the start's own), now.
    platform::Registry::SetWriteRefusedNotice([owner = QPointer<QWidget>(owner)](const platform::Registry::Refusal& r) {
        orbiscope::ShowSettingsFileRefused(owner, r.file.string(), r.why, kRegistrySettings, r.lock, r.error);
    });
    if (!ReadSetupFile(app)) {
        platform::MessageBox(owner, "Substituting defaults", "No setup file", platform::MB_ICONINFORMATION);
        SetDefaultSetup(app);
    }
    if (!ReadFormValues(app))
        platform::MessageBox(owner, "Error reading file - 'orbisco.dat'", orbiscope::kMainTitle,
                             platform::MB_ICONEXCLAMATION);
}

void CmSetup(TOrbiscope& app, QWidget* client)
{
    using F = TSetUpForm;
    SetUpRecord record;
    record.bytes = app.SetUpRecord;

    std::array<std::uint8_t, F::kTransferSize> buffer{};
    transfer::SetText(buffer, F::kCompanyAt, F::kCompanySize, record.Company());
    transfer::SetWord(buffer, F::kThisSessionAt, 1);
    transfer::SetText(buffer, F::kSiteNameAt, F::kSiteNameSize, record.SiteName());
    transfer::SetText(buffer, F::kLatitudeAt, F::kCoordinateSize, record.Latitude());
    transfer::SetText(buffer, F::kLongitudeAt, F::kCoordinateSize, record.Longitude());
    transfer::SetWord(buffer, F::kSaveEntriesAt, record.SaveDialogEntries());
    transfer::SetWord(buffer, F::kRestrictTiltAt, record.RestrictTilt());

    {
        TSetUpForm form(client);
        form.SetTransferBuffer(buffer.data(), buffer.size());
        form.Execute();  // Cancel leaves the buffer as filled, which changes nothing below
    }

    const bool thisSession = transfer::GetWord(buffer, F::kThisSessionAt) == 1;
    const bool allSessions = transfer::GetWord(buffer, F::kAllSessionsAt) == 1;
    const bool restore = transfer::GetWord(buffer, F::kRestoreDefaultsAt) == 1;
    if (thisSession || allSessions) {
        record.SetCompany(transfer::GetText(buffer, F::kCompanyAt, F::kCompanySize));
        record.SetSiteName(transfer::GetText(buffer, F::kSiteNameAt, F::kSiteNameSize));
        record.SetLatitude(transfer::GetText(buffer, F::kLatitudeAt, F::kCoordinateSize));
        record.SetLongitude(transfer::GetText(buffer, F::kLongitudeAt, F::kCoordinateSize));
        record.SetSaveDialogEntries(transfer::GetWord(buffer, F::kSaveEntriesAt));
        record.SetRestrictTilt(transfer::GetWord(buffer, F::kRestrictTiltAt));
        app.SetUpRecord = record.bytes;
    }
    if (restore) SetDefaultSetup(app);
    if (allSessions || restore) {
        app.SetProgramDir();
        record.bytes = app.SetUpRecord;
        if (!WriteSetupFile(app.ProgramDir + kSetupFile, record))
            platform::MessageBox(client, "Error writing file orbisco.cfg (check ob.exe write privileges)",
                                 "Unable to open file", platform::MB_ICONEXCLAMATION);
    }
}

void RegisterSetUpCommand()
{
    orbiscope::RegisterClientCommand(orbiscope::CM_SETUP, [](TOrbiscopeMDIClient& client) {
        if (TOrbiscope* app = TOrbiscope::Current()) CmSetup(*app, &client);
    });
}

}  // namespace setup
