#include "framework/databases/country_win.h"

#include <QListWidget>
#include <algorithm>
#include <cstdio>

#include "framework/app/config_files.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "framework/forms/control_table.h"
#include "framework/databases/window_shared.h"
#include "propagation/coordinates.h"
#include "platform/messagebox.h"
#include "platform/services.h"

using namespace controls;
using platform::ControlKind;
using platform::ControlSpec;

namespace {

constexpr HintEntry kCityEntryHints[] = {
    {TCityForm::kName, 7107, "Name of earth station location"},
    {TCityForm::kLatitude, 7109, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
    {TCityForm::kLongitude, 7110, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
};
constexpr HintEntry kNameEntryHints[] = {{TNameForm::kName, 7107, "Name of earth station location"}};
constexpr HintEntry kCityListHints[] = {{TSelCityWin::kList, 7188, "Select town/city from the list box"}};

}  // namespace

// ---- TCountryWin ---------------------------------------------------------------

TCountryWin::TCountryWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName), Records(kMaxTowns + 1)
{
    databases::UseDatabaseFonts(*this);
    SetHandler(kEditCommand, [this] { CmEdit(); });
    SetEnabler(kEditCommand, [] { return true; });
    databases::DisableReportOutput(*this);
}

TCountryWin::~TCountryWin() = default;

void TCountryWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = "Country Files (*.twn)|*.twn";
    FileData.defaultExt = "twn";
    FileData.overwritePrompt = true;
    OpenDocument(false);
}

bool TCountryWin::LoadFile(const char* fileName)
{
    if (!fileName) return false;
    std::vector<TownRecord> read;
    if (!ReadTownFile(fileName, kCountryWindowRule, read)) return false;
    std::copy(read.begin(), read.end(), Records.begin());
    Version = kCountryFileVersion;
    Changed = false;
    TownCount = std::int32_t(read.size() - 1);
    ListTowns();
    return true;
}

bool TCountryWin::SaveFile(const char* fileName)
{
    if (!fileName) return false;
    if (TownCount < 0 || std::size_t(TownCount) > kMaxTowns) return false;
    const std::vector<TownRecord> records(Records.begin(), Records.begin() + TownCount + 1);
    if (!WriteTownFile(fileName, records)) return false;  // Save or Save As says so
    Changed = false;
    return true;
}

void TCountryWin::ListTowns()
{
    platform::WaitCursor wait;
    ClearReport();
    std::snprintf(LineBuffer, sizeof LineBuffer, "Towns & Cities: %s", CountryName().c_str());
    AddLine(LineBuffer);
    databases::AddCompanyHeading(*this);
    AddLine(BlankLine);
    databases::SetTabStops(*this, {20, 30, 50, 60});
    AddLine("Town or City\tLat(d.m)\tLong(d.m)\tLat(d)\tLong(d)~");
    AddLine(BlankLine);
    for (std::int32_t i = 1; i <= TownCount; ++i) {
        const TownRecord& t = Records[std::size_t(i)];
        char lat[16], lon[16], latDeg[16], lonDeg[16];
        FormatLatLon(t.latitude, 0, lat);
        FormatLatLon(t.longitude, 1, lon);
        FormatLatLon(DegMinToDegrees(t.latitude), 0, latDeg);
        FormatLatLon(DegMinToDegrees(t.longitude), 1, lonDeg);
        std::snprintf(LineBuffer, sizeof LineBuffer, "%-s\t%6s\t%7s\t%6s\t%7s", RecordText(t.name).c_str(), lat, lon,
                      latDeg, lonDeg);
        AddLine(LineBuffer);
    }
    UpdateScroller(true);
    ReportText.shrink_to_fit();
}

void TCountryWin::CmEdit()
{
    TSelCityWin editor(*this);
    editor.Execute();
}

// ---- controls --------------------------------------------------------------------

TCityListBox::TCityListBox(TForm* parent, int id) : TMyListBox(parent, id) { SetHints(kCityListHints); }
TCityEntry::TCityEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kCityEntryHints);
}
TNameEntry::TNameEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kNameEntryHints);
}

// ---- TCityForm -------------------------------------------------------------------

std::vector<ControlSpec> TCityForm::ControlTable()
{
    return {
        Label("Town/City", 10, 14, 90),
        Edit(kName, int(kNameSize), 105, 12, 190),
        Label("Latitude", 10, 46, 90),
        Edit(kLatitude, int(kCoordinateSize), 105, 44, 110),
        Label("degrees.minutes", 225, 46, 120),
        Label("Longitude", 10, 78, 90),
        Edit(kLongitude, int(kCoordinateSize), 105, 76, 110),
        Label("degrees.minutes", 225, 78, 120),
        Button(platform::IDOK, "OK", 10, 116),
        Button(platform::IDCANCEL, "Cancel", 96, 116),
        Button(kClear, "Clear", 182, 116),
        Button(platform::IDHELP, "&Help", 268, 116),
    };
}

TCityForm::TCityForm(QWidget* parent, const std::string& caption)
    : TForm(parent, kResourceId, caption, ControlTable())
{
    new TCityEntry(this, kName, int(kNameSize));
    new TCityEntry(this, kLatitude, int(kCoordinateSize));
    new TCityEntry(this, kLongitude, int(kCoordinateSize));
    SetHandler(kClear, [this] { CmClear(); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
}

bool TCityForm::CanClose()
{
    const std::vector<std::uint8_t> v = ReadControls();
    return CheckField("Town/City name", transfer::GetText(v, kNameAt, kNameSize), FieldType::Text, 0, 0, "") &&
           CheckField("Town/City latitude (min<60)", transfer::GetText(v, kLatitudeAt, kCoordinateSize),
                      FieldType::LatitudeDMM, 0, 90, "\xB0N,\xB0S") &&
           CheckField("Town/City longitude (min<60)", transfer::GetText(v, kLongitudeAt, kCoordinateSize),
                      FieldType::LongitudeDMM, 0, 180, "\xB0W,\xB0" "E");
}

void TCityForm::CmClear()
{
    if (std::uint8_t* buffer = TransferBuffer()) std::fill(buffer, buffer + kTransferSize, std::uint8_t{0});
    const std::vector<std::uint8_t> zero(kTransferSize, 0);
    WriteControls(zero);
}

// ---- TNameForm -------------------------------------------------------------------

std::vector<ControlSpec> TNameForm::ControlTable()
{
    return {
        Label("Country", 10, 14, 70),
        Edit(kName, int(kTransferSize), 85, 12, 190),
        Button(platform::IDOK, "OK", 10, 50),
        Button(platform::IDCANCEL, "Cancel", 100, 50),
        Button(platform::IDHELP, "Help", 190, 50),
    };
}

TNameForm::TNameForm(QWidget* parent) : TForm(parent, kResourceId, "Edit Country Name", ControlTable())
{
    new TNameEntry(this, kName, int(kTransferSize));
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
}

bool TNameForm::CanClose()
{
    const std::vector<std::uint8_t> v = ReadControls();
    return CheckField("Country name", transfer::GetText(v, 0, kTransferSize), FieldType::Text, 0, 0, "");
}

// ---- TSelCityWin -----------------------------------------------------------------

std::vector<ControlSpec> TSelCityWin::ControlTable()
{
    return {
        Label("Select Record", 10, 8, 200),
        List(kList, 10, 30, 300, 260),
        Label("Town coordinates shown in degrees.minutes", 10, 296, 300),
        Button(kEditCountryName, "&Edit Country Name", 325, 30, 150),
        Button(kModify, "Modify", 325, 66, 150),
        Button(kDelete, "Delete", 325, 102, 150),
        Button(kAdd, "Add", 325, 138, 150),
        Button(kDone, "Done", 325, 174, 150),
        Button(platform::IDHELP, "Help", 325, 210, 150),
    };
}

TSelCityWin::TSelCityWin(TCountryWin& window)
    : TForm(&window, kResourceId, "Edit Town / City Data", ControlTable()), window_(window)
{
    new TCityListBox(this, kList);
    databases::ConnectList(*this, kList, [this](int row) { Current = row + 1; },
                           [this](int row) {
                               Current = row + 1;
                               CmModify();
                           });
    SetHandler(kAdd, [this] { CmAdd(); });
    SetHandler(kModify, [this] { CmModify(); });
    SetHandler(kDelete, [this] { CmDelete(); });
    SetHandler(kEditCountryName, [this] { CmEditCountryName(); });
    SetHandler(kDone, [this] { CmDone(); });
    BindHelpButton(*this, kList);
}

void TSelCityWin::SetupWindow()
{
    TForm::SetupWindow();
    FillList();
    SelectLine(0);
}

void TSelCityWin::FillList()
{
    databases::ListFill fill(*this, kList);
    for (std::int32_t i = 1; i <= window_.TownCount; ++i) ListAddString(kList, TownListLine(window_.Records[std::size_t(i)]));
}

void TSelCityWin::SelectLine(int line)
{
    if (line < 0 || line >= ListCount(kList)) return;
    ListSetSelIndex(kList, line);
    Current = line + 1;
}

TownRecord TSelCityWin::RecordFromForm() const
{
    using F = TCityForm;
    const std::span<const std::uint8_t> v(CityBuffer, F::kTransferSize);
    TownRecord r;
    SetRecordText(r.name, transfer::GetText(v, F::kNameAt, F::kNameSize));
    r.latitude = float(ParseLatLon(transfer::GetText(v, F::kLatitudeAt, F::kCoordinateSize)));
    r.longitude = float(ParseLatLon(transfer::GetText(v, F::kLongitudeAt, F::kCoordinateSize)));
    return r;
}

void TSelCityWin::Changed()
{
    window_.ListTowns();
    window_.Changed = true;
    window_.Invalidate();
}

void TSelCityWin::CmAdd()
{
    if (window_.TownCount >= std::int32_t(kMaxTowns)) {
        platform::MessageBox(this, "Too many records", "Add Record", platform::MB_ICONEXCLAMATION);
        return;
    }
    std::fill(std::begin(CityBuffer), std::end(CityBuffer), std::uint8_t{0});
    {
        TCityForm form(this, "Add Town/City Record");
        form.SetTransferBuffer(CityBuffer, sizeof CityBuffer);
        if (form.Execute() != platform::IDOK) return;
    }
    update();
    Town = RecordFromForm();
    const std::string name = RecordText(Town.name);
    for (std::int32_t i = 1; i <= window_.TownCount; ++i) {
        if (RecordText(window_.Records[std::size_t(i)].name) == name) {
            platform::MessageBox(this, name, "Duplicate Town/City", platform::MB_ICONINFORMATION);
            break;
        }
    }
    ++window_.TownCount;
    window_.Records[std::size_t(window_.TownCount)] = Town;
    SortTowns(window_.Records, 1, std::size_t(window_.TownCount));
    FillList();
    SelectLine(databases::LineOf(window_.Records, window_.TownCount, Town));
    Changed();
}

void TSelCityWin::CmModify()
{
    if (window_.TownCount <= 0) {
        platform::MessageBox(this, "No record to modify", "Modify Record", platform::MB_ICONEXCLAMATION);
        return;
    }
    using F = TCityForm;
    Current = std::clamp(Current, 1, int(window_.TownCount));
    const TownRecord& old = window_.Records[std::size_t(Current)];
    char lat[16], lon[16];
    FormatLatLon(old.latitude, 0, lat);
    FormatLatLon(old.longitude, 1, lon);
    std::fill(std::begin(CityBuffer), std::end(CityBuffer), std::uint8_t{0});
    transfer::SetText(CityBuffer, F::kNameAt, F::kNameSize, RecordText(old.name));
    transfer::SetText(CityBuffer, F::kLatitudeAt, F::kCoordinateSize, lat);
    transfer::SetText(CityBuffer, F::kLongitudeAt, F::kCoordinateSize, lon);
    {
        TCityForm form(this, "Modify Town/City Record");
        form.SetTransferBuffer(CityBuffer, sizeof CityBuffer);
        if (form.Execute() != platform::IDOK) return;
    }
    update();
    Town = RecordFromForm();
    window_.Records[std::size_t(Current)] = Town;
    SortTowns(window_.Records, 1, std::size_t(window_.TownCount));
    FillList();
    SelectLine(databases::LineOf(window_.Records, window_.TownCount, Town));
    Changed();
}

void TSelCityWin::CmDelete()
{
    if (window_.TownCount <= 0) {
        platform::MessageBox(this, "No record to delete", "Delete Record", platform::MB_ICONEXCLAMATION);
        return;
    }
    Current = std::clamp(Current, 1, int(window_.TownCount));
    auto& r = window_.Records;
    std::copy(r.begin() + Current + 1, r.begin() + window_.TownCount + 1, r.begin() + Current);
    r[std::size_t(window_.TownCount)] = TownRecord{};
    --window_.TownCount;
    FillList();
    if (Current > window_.TownCount) Current = std::max(1, int(window_.TownCount));
    SelectLine(Current - 1);
    Changed();
}

void TSelCityWin::CmEditCountryName()
{
    transfer::SetText(NameBuffer, 0, TNameForm::kTransferSize, window_.CountryName());
    {
        TNameForm form(this);
        form.SetTransferBuffer(NameBuffer, sizeof NameBuffer);
        if (form.Execute() != platform::IDOK) return;
    }
    update();
    SetRecordText(window_.Records[0].name, transfer::GetText(NameBuffer, 0, TNameForm::kTransferSize));
    Changed();
}

void TSelCityWin::CmDone() { CloseWindow(kDone); }

namespace databases {

void RegisterCountryWindow()
{
    orbiscope::RegisterWindowFactory(TCountryWin::kWindowType,
                                     [](const char* name) { return new TCountryWin(nullptr, nullptr, name); });
}

}  // namespace databases
