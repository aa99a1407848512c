#include "framework/databases/pickers.h"

#include <QMetaObject>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "framework/app/orbiscope.h"
#include "framework/app/setup_form.h"
#include "framework/forms/control_table.h"
#include "framework/databases/window_shared.h"
#include "platform/atomic_file.h"
#include "platform/messagebox.h"
#include "propagation/coordinates.h"

using namespace controls;
using platform::ControlSpec;

namespace {

constexpr HintEntry kTownListHints[] = {{TGetTownDlg::kList, 7188, "Select town/city from the list box"}};
constexpr HintEntry kCountryListHints[] = {
    {TGetCountryDlg::kList, 7182, "Select the country data filename from the list box"}};
constexpr HintEntry kSatListHints[] = {{TGetSatDlg::kList, 7187, "Select satellite from the list box"}};

std::string ProgramDir(TOrbiscope* app)
{
    if (!app) return {};
    app->SetProgramDir();
    return app->ProgramDir;
}

// A double click picks the line and confirms the dialog once its own
// notification is over.
void ConnectPickerList(TForm& dialog, int listId, int& current)
{
    databases::ConnectList(dialog, listId, [&current](int row) { current = row + 1; },
                           [&dialog, &current](int row) {
                               current = row + 1;
                               QMetaObject::invokeMethod(
                                   &dialog, [&dialog] { dialog.OnButton(platform::IDOK); }, Qt::QueuedConnection);
                           });
}

std::vector<ControlSpec> PickerTable(int listId, const char* note, int listWidth)
{
    return {
        List(listId, 10, 10, listWidth, 280),
        Label(note, 10, 296, listWidth),
        Button(platform::IDOK, "OK", listWidth + 20, 10),
        Button(platform::IDCANCEL, "Cancel", listWidth + 20, 46),
        Button(platform::IDHELP, "Help", listWidth + 20, 82),
    };
}

}  // namespace

TGetTownListBox::TGetTownListBox(TForm* parent, int id) : TMyListBox(parent, id) { SetHints(kTownListHints); }
TGetCountryListBox::TGetCountryListBox(TForm* parent, int id) : TMyListBox(parent, id)
{
    SetHints(kCountryListHints);
}
TGetSatListBox::TGetSatListBox(TForm* parent, int id) : TMyListBox(parent, id) { SetHints(kSatListHints); }

// ---- TGetCountryDlg -------------------------------------------------------------

std::vector<ControlSpec> TGetCountryDlg::ControlTable()
{
    return PickerTable(kList, "Last file selected is the default", 280);
}

TGetCountryDlg::TGetCountryDlg(QWidget* parent) : TForm(parent, kResourceId, "Country Selector", ControlTable())
{
    new TGetCountryListBox(this, kList);
    ConnectPickerList(*this, kList, Current);
    BindHelpButton(*this, kList);
}

void TGetCountryDlg::SetupWindow()
{
    TForm::SetupWindow();
    if (!ReadCountryList()) {
        CloseWindow(platform::IDCANCEL);
        return;
    }
    {
        databases::ListFill fill(*this, kList);
        for (const std::string& name : Names) ListAddFileName(kList, name);
    }
    if (SelectFirst >= 1 && SelectFirst <= int(Names.size())) {
        ListSetSelIndex(kList, SelectFirst - 1);
        Current = SelectFirst;
    }
}

bool TGetCountryDlg::ReadCountryList()
{
    TOrbiscope* app = App();
    const std::filesystem::path dir = ProgramDir(app);
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec);
    if (ec) {
        platform::MessageBox(this, "Unable to open directory", "Country Selector", platform::MB_OK);
        return false;
    }
    Names.clear();
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::path& p = it->path();
        if (CompareNoCase(p.extension().string(), ".twn") != 0) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;   // a folder named "*.twn" holds no towns
        Names.push_back(p.filename().string());
    }
    if (ec) {
        platform::MessageBox(this, "Unable to close directory", "Country Selector", platform::MB_OK);
        return false;
    }
    // The listing order of a Linux directory means nothing to the user.
    std::sort(Names.begin(), Names.end(),
              [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    SelectFirst = 1;
    const std::string defaultFile = app ? app->DefaultCountryFile : std::string();
    for (std::size_t i = 0; i < Names.size(); ++i)
        if (!defaultFile.empty() && CompareNoCase(Names[i], defaultFile) == 0) SelectFirst = int(i) + 1;
    return true;
}

bool TGetCountryDlg::CanClose()
{
    TOrbiscope* app = App();
    if (app && !Names.empty() && Current >= 1 && Current <= int(Names.size()))
        app->SelectedCountryFile = Names[std::size_t(Current - 1)];
    ShowStatusHint(app, "");
    return true;
}

// ---- TGetTownDlg ----------------------------------------------------------------

std::vector<ControlSpec> TGetTownDlg::ControlTable()
{
    return PickerTable(kList, "Town coordinates shown in degrees.minutes", 300);
}

TGetTownDlg::TGetTownDlg(QWidget* parent) : TForm(parent, kResourceId, "Town Selector", ControlTable())
{
    new TGetTownListBox(this, kList);
    ConnectPickerList(*this, kList, Current);
    BindHelpButton(*this, kList);
}

void TGetTownDlg::SetupWindow()
{
    TForm::SetupWindow();
    ProgramDir(App());
    if (!ReadTownFile()) {
        CloseWindow(platform::IDCANCEL);
        return;
    }
    {
        databases::ListFill fill(*this, kList);
        for (int i = 1; i <= TownCount; ++i) ListAddString(kList, TownListLine(Records[std::size_t(i)]));
    }
    if (TownCount > 0) {
        ListSetSelIndex(kList, 0);
        Current = 1;
    }
}

bool TGetTownDlg::ReadTownFile()
{
    {
        TGetCountryDlg selector(this);
        if (selector.Execute() != platform::IDOK) return false;
    }
    TOrbiscope* app = App();
    if (!app || app->SelectedCountryFile.empty()) return false;
    const std::filesystem::path file = std::filesystem::path(ProgramDir(app)) / app->SelectedCountryFile;
    std::vector<TownRecord> read;
    if (!::ReadTownFile(file, kTownPickerRule, read)) return false;
    Records = std::move(read);
    TownCount = int(Records.size()) - 1;
    app->DefaultCountryFile = app->SelectedCountryFile.substr(0, 511);
    return true;
}

bool TGetTownDlg::CanClose()
{
    TOrbiscope* app = App();
    if (!app || TownCount <= 0) {
        // Nothing to pick: the asking dialog keeps its own fields.
        CloseWindow(platform::IDCANCEL);
        return false;
    }
    const TownRecord& town = Records[std::size_t(std::clamp(Current, 1, TownCount))];
    std::snprintf(app->PickedSiteName, sizeof app->PickedSiteName, "%s, %s", RecordText(town.name).c_str(),
                  RecordText(Records[0].name).c_str());
    FormatLatLon(DegMinToDegrees(town.latitude), 0, app->PickedSiteLatitude);
    FormatLatLon(DegMinToDegrees(town.longitude), 1, app->PickedSiteLongitude);
    std::snprintf(app->PickedSiteAltitude, sizeof app->PickedSiteAltitude, "AUTO");
    ShowStatusHint(app, "");
    return true;
}

// ---- TGetSatDlg -----------------------------------------------------------------

std::vector<ControlSpec> TGetSatDlg::ControlTable()
{
    return PickerTable(kList, "Satellite positions shown in degrees", 300);
}

TGetSatDlg::TGetSatDlg(QWidget* parent) : TForm(parent, kResourceId, "Satellite Selector", ControlTable())
{
    new TGetSatListBox(this, kList);
    ConnectPickerList(*this, kList, Current);
    BindHelpButton(*this, kList);
}

void TGetSatDlg::SetupWindow()
{
    TForm::SetupWindow();
    if (!ReadSatList()) {
        CloseWindow(platform::IDCANCEL);
        return;
    }
    {
        databases::ListFill fill(*this, kList);
        for (int i = 1; i <= SatelliteCount; ++i) ListAddString(kList, SatelliteListLine(Records[std::size_t(i)]));
    }
    if (SatelliteCount > 0) {
        ListSetSelIndex(kList, 0);
        Current = 1;
    }
}

bool TGetSatDlg::ReadSatList()
{
    const std::filesystem::path file = std::filesystem::path(ProgramDir(App())) / kSatelliteListFile;
    if (!platform::IsRegularFile(file)) {
        platform::MessageBox(this, kSatelliteListFile, "Unable to open file", platform::MB_ICONEXCLAMATION);
        return false;
    }
    std::vector<SatelliteRecord> read;
    if (!ReadSatelliteFile(file, kSatellitePickerRule, read)) return false;
    Records = std::move(read);
    SatelliteCount = int(Records.size()) - 1;
    return true;
}

bool TGetSatDlg::CanClose()
{
    TOrbiscope* app = App();
    if (!app || SatelliteCount <= 0) {
        CloseWindow(platform::IDCANCEL);
        return false;
    }
    const SatelliteRecord& s = Records[std::size_t(std::clamp(Current, 1, SatelliteCount))];
    std::snprintf(app->PickedSatName, sizeof app->PickedSatName, "%s", RecordText(s.name).c_str());
    FormatLatLon(s.longitude, 1, app->PickedSatLongitude);
    ShowStatusHint(app, "");
    return true;
}

namespace databases {

bool PickTown(QWidget* parent)
{
    TGetTownDlg picker(parent);
    return picker.Execute() == platform::IDOK;
}

bool PickSatellite(QWidget* parent)
{
    TGetSatDlg picker(parent);
    return picker.Execute() == platform::IDOK;
}

void RegisterPickers()
{
    TSetUpForm::SetSitePicker([](TForm& parent) { return PickTown(&parent); });
}

}  // namespace databases
