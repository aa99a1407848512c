#include "framework/databases/satellite_win.h"

#include <algorithm>
#include <cstdio>

#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "framework/forms/control_table.h"
#include "framework/databases/window_shared.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "propagation/coordinates.h"

using namespace controls;
using platform::ControlSpec;

namespace {

constexpr HintEntry kGeoEntryHints[] = {
    {TGeoForm::kName, 7107, "Name of earth station location"},
    {TGeoForm::kLongitude, 7109, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
};
constexpr HintEntry kGeoListHints[] = {{TSelGeoWin::kList, 7187, "Select satellite from the list box"}};

const char* const kBandLabels[kBandCount] = {"&UHF band", "&L band",  "&S band",   "&C band", "&X band",
                                             "K&u band",  "K&a band", "&Q/V band", "Other"};

}  // namespace

// ---- TSatelliteWin -------------------------------------------------------------

TSatelliteWin::TSatelliteWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName), Records(kMaxSatellites + 1)
{
    databases::UseDatabaseFonts(*this);
    SetHandler(kEditCommand, [this] { CmEdit(); });
    SetEnabler(kEditCommand, [] { return true; });
    databases::DisableReportOutput(*this);
}

TSatelliteWin::~TSatelliteWin() = default;

void TSatelliteWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    SetRecordText(Records[0].name, "Satellite List");
    FileData.filter = "Satellite File (*.geo)|*.geo";
    FileData.defaultExt = "geo";
    FileData.overwritePrompt = true;
    OpenDocument(false);
}

bool TSatelliteWin::LoadFile(const char* fileName)
{
    if (!fileName) return false;
    std::vector<SatelliteRecord> read;
    if (!ReadSatelliteFile(fileName, kSatelliteWindowRule, read)) return false;
    std::copy(read.begin(), read.end(), Records.begin());
    Version = kSatelliteFileVersion;
    Changed = false;
    SatelliteCount = std::int32_t(read.size() - 1);
    ListSatellites();
    return true;
}

bool TSatelliteWin::SaveFile(const char* fileName)
{
    if (!fileName) return false;
    if (SatelliteCount < 0 || std::size_t(SatelliteCount) > kMaxSatellites) return false;
    const std::vector<SatelliteRecord> records(Records.begin(), Records.begin() + SatelliteCount + 1);
    if (!WriteSatelliteFile(fileName, records)) return false;  // Save or Save As says so
    Changed = false;
    return true;
}

void TSatelliteWin::ListSatellites()
{
    ClearReport();
    AddLine(ListTitle().c_str());
    databases::AddCompanyHeading(*this);
    AddLine(BlankLine);
    databases::SetTabStops(*this, {25, 35});
    AddLine("Satellite\tLong.\tBands~");
    AddLine(BlankLine);
    for (std::int32_t i = 1; i <= SatelliteCount; ++i) {
        const SatelliteRecord& s = Records[std::size_t(i)];
        char lon[16];
        FormatLatLon(s.longitude, 1, lon);
        std::snprintf(LineBuffer, sizeof LineBuffer, "%-18s\t%7s\t%-18s", RecordText(s.name).c_str(), lon,
                      RecordText(s.bands).c_str());
        AddLine(LineBuffer);
    }
    UpdateScroller(true);
    ReportText.shrink_to_fit();
}

void TSatelliteWin::CmEdit()
{
    TSelGeoWin editor(*this);
    editor.Execute();
}

// ---- controls --------------------------------------------------------------------

TGeoListBox::TGeoListBox(TForm* parent, int id) : TMyListBox(parent, id) { SetHints(kGeoListHints); }
TGeoEntry::TGeoEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit)
{
    SetHints(kGeoEntryHints);
}

// ---- TGeoForm --------------------------------------------------------------------

std::vector<ControlSpec> TGeoForm::ControlTable()
{
    std::vector<ControlSpec> c = {
        Label("Satellite", 10, 14, 80),
        Edit(kName, int(kNameSize), 95, 12, 190),
        Label("Longitude", 10, 46, 80),
        Edit(kLongitude, int(kLongitudeSize), 95, 44, 110),
        Label("degrees", 215, 46, 70),
        Group("Active Bands", 10, 78, 290, 150),
    };
    // Transfer order is the band table's: UHF, L, S, C, X, Ku, Ka, Q/V, other.
    for (std::size_t i = 0; i < kBandCount; ++i) {
        const int column = int(i % 2), row = int(i / 2);
        c.push_back(Check(kBandBoxes[i], kBandLabels[i], 20 + column * 140, 98 + row * 25, 130));
    }
    c.push_back(Button(platform::IDOK, "OK", 10, 240));
    c.push_back(Button(platform::IDCANCEL, "Cancel", 96, 240));
    c.push_back(Button(kClear, "Clear", 182, 240));
    c.push_back(Button(platform::IDHELP, "Help", 268, 240));
    return c;
}

TGeoForm::TGeoForm(QWidget* parent, const std::string& caption) : TForm(parent, kResourceId, caption, ControlTable())
{
    new TGeoEntry(this, kName, int(kNameSize));
    new TGeoEntry(this, kLongitude, int(kLongitudeSize));
    for (int id : kBandBoxes) new TMyCheckBox(this, id);
    SetHandler(kClear, [this] { CmClear(); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
}

bool TGeoForm::CanClose()
{
    const std::vector<std::uint8_t> v = ReadControls();
    if (!CheckField("Satellite name", transfer::GetText(v, kNameAt, kNameSize), FieldType::Text, 0, 0, "") ||
        !CheckField("Satellite longitude", transfer::GetText(v, kLongitudeAt, kLongitudeSize), FieldType::Longitude,
                    0, 180, "\xB0W,\xB0" "E"))
        return false;
    bool ticked[kBandCount] = {};
    bool any = false;
    for (std::size_t i = 0; i < kBandCount; ++i) {
        ticked[i] = transfer::GetWord(v, kBandsAt + 2 * i) != 0;
        any = any || ticked[i];
    }
    if (!any) {
        ReportFieldError("No Active Band selected", "Check Box Error");
        return false;
    }
    // Every band at once makes a text longer than the record holds.
    if (BandText(ticked).size() > kMaxBandText) {
        ReportFieldError("Too many bands selected: clear one of them", "Check Box Error");
        return false;
    }
    return true;
}

void TGeoForm::CmClear()
{
    if (std::uint8_t* buffer = TransferBuffer()) std::fill(buffer, buffer + kTransferSize, std::uint8_t{0});
    const std::vector<std::uint8_t> zero(kTransferSize, 0);
    WriteControls(zero);
}

// ---- TSelGeoWin ------------------------------------------------------------------

std::vector<ControlSpec> TSelGeoWin::ControlTable()
{
    return {
        Label("Select Record", 10, 8, 200),
        List(kList, 10, 30, 300, 260),
        Label("Satellite Longitude Shown in Degrees", 10, 296, 300),
        Button(kModify, "Modify", 325, 30, 120),
        Button(kDelete, "Delete", 325, 66, 120),
        Button(kAdd, "Add", 325, 102, 120),
        Button(kDone, "Done", 325, 138, 120),
        Button(platform::IDHELP, "Help", 325, 174, 120),
    };
}

TSelGeoWin::TSelGeoWin(TSatelliteWin& window)
    : TForm(&window, kResourceId, "Edit Satellite Data", ControlTable()), window_(window)
{
    new TGeoListBox(this, kList);
    databases::ConnectList(*this, kList, [this](int row) { Current = row + 1; },
                           [this](int row) {
                               Current = row + 1;
                               CmModify();
                           });
    SetHandler(kAdd, [this] { CmAdd(); });
    SetHandler(kModify, [this] { CmModify(); });
    SetHandler(kDelete, [this] { CmDelete(); });
    SetHandler(kDone, [this] { CmDone(); });
    BindHelpButton(*this, kList);
}

void TSelGeoWin::SetupWindow()
{
    TForm::SetupWindow();
    FillList();
    SelectLine(0);
}

void TSelGeoWin::FillList()
{
    databases::ListFill fill(*this, kList);
    for (std::int32_t i = 1; i <= window_.SatelliteCount; ++i)
        ListAddString(kList, SatelliteListLine(window_.Records[std::size_t(i)]));
}

void TSelGeoWin::SelectLine(int line)
{
    if (line < 0 || line >= ListCount(kList)) return;
    ListSetSelIndex(kList, line);
    Current = line + 1;
}

SatelliteRecord TSelGeoWin::RecordFromForm() const
{
    using F = TGeoForm;
    const std::span<const std::uint8_t> v(GeoBuffer, F::kTransferSize);
    SatelliteRecord r;
    SetRecordText(r.name, transfer::GetText(v, F::kNameAt, F::kNameSize));
    r.longitude = float(ParseLatLon(transfer::GetText(v, F::kLongitudeAt, F::kLongitudeSize)));
    bool ticked[kBandCount] = {};
    for (std::size_t i = 0; i < kBandCount; ++i) ticked[i] = transfer::GetWord(v, F::kBandsAt + 2 * i) != 0;
    SetRecordText(r.bands, BandText(ticked));
    return r;
}

void TSelGeoWin::Changed()
{
    window_.ListSatellites();
    window_.Changed = true;
    window_.Invalidate();
}

void TSelGeoWin::CmAdd()
{
    if (window_.SatelliteCount >= std::int32_t(kMaxSatellites)) {
        platform::MessageBox(this, "Too many records", "Add Record", platform::MB_ICONEXCLAMATION);
        return;
    }
    std::fill(std::begin(GeoBuffer), std::end(GeoBuffer), std::uint8_t{0});
    {
        TGeoForm form(this, "Add Satellite Record");
        form.SetTransferBuffer(GeoBuffer, sizeof GeoBuffer);
        if (form.Execute() != platform::IDOK) return;
    }
    update();
    Satellite = RecordFromForm();
    ++window_.SatelliteCount;
    window_.Records[std::size_t(window_.SatelliteCount)] = Satellite;
    SortSatellites(window_.Records, 1, std::size_t(window_.SatelliteCount));
    FillList();
    SelectLine(databases::LineOf(window_.Records, window_.SatelliteCount, Satellite));
    Changed();
}

void TSelGeoWin::CmModify()
{
    if (window_.SatelliteCount <= 0) {
        platform::MessageBox(this, "No record to modify", "Modify Record", platform::MB_ICONEXCLAMATION);
        return;
    }
    using F = TGeoForm;
    Current = std::clamp(Current, 1, int(window_.SatelliteCount));
    const SatelliteRecord& old = window_.Records[std::size_t(Current)];
    char lon[16];
    FormatLatLon(old.longitude, 1, lon);
    std::fill(std::begin(GeoBuffer), std::end(GeoBuffer), std::uint8_t{0});
    transfer::SetText(GeoBuffer, F::kNameAt, F::kNameSize, RecordText(old.name));
    transfer::SetText(GeoBuffer, F::kLongitudeAt, F::kLongitudeSize, lon);
    bool ticked[kBandCount] = {};
    BandsInText(RecordText(old.bands), ticked);
    for (std::size_t i = 0; i < kBandCount; ++i) transfer::SetWord(GeoBuffer, F::kBandsAt + 2 * i, ticked[i] ? 1 : 0);
    {
        TGeoForm form(this, "Modify Satellite Record");
        form.SetTransferBuffer(GeoBuffer, sizeof GeoBuffer);
        if (form.Execute() != platform::IDOK) return;
    }
    update();
    Satellite = RecordFromForm();
    window_.Records[std::size_t(Current)] = Satellite;
    SortSatellites(window_.Records, 1, std::size_t(window_.SatelliteCount));
    FillList();
    SelectLine(databases::LineOf(window_.Records, window_.SatelliteCount, Satellite));
    Changed();
}

void TSelGeoWin::CmDelete()
{
    if (window_.SatelliteCount <= 0) {
        platform::MessageBox(this, "No record to delete", "Delete Record", platform::MB_ICONEXCLAMATION);
        return;
    }
    Current = std::clamp(Current, 1, int(window_.SatelliteCount));
    auto& r = window_.Records;
    std::copy(r.begin() + Current + 1, r.begin() + window_.SatelliteCount + 1, r.begin() + Current);
    r[std::size_t(window_.SatelliteCount)] = SatelliteRecord{};
    --window_.SatelliteCount;
    FillList();
    if (Current > window_.SatelliteCount) Current = std::max(1, int(window_.SatelliteCount));
    SelectLine(Current - 1);
    Changed();
}

void TSelGeoWin::CmDone() { CloseWindow(kDone); }

namespace databases {

void RegisterSatelliteWindow()
{
    orbiscope::RegisterWindowFactory(TSatelliteWin::kWindowType,
                                     [](const char* name) { return new TSatelliteWin(nullptr, nullptr, name); });
}

}  // namespace databases
