#include "rftools/tables/table_win.h"

#include <filesystem>

#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/app/strings.h"
#include "framework/databases/pickers.h"
#include "framework/output/window_report.h"
#include "platform/messagebox.h"

using orbiscope::tables::TableTabs;
using orbiscope::tables::TableText;

namespace {

// The table fonts: headings and rows in a monospaced face, so that columns
// line up.
const platform::FontDesc kTableHeadingFont{14, 700, "Courier New"};
const platform::FontDesc kTableBodyFont{12, 300, "Courier New"};

std::filesystem::path InProgramDirectory(TOrbiscope* app, const std::string& name)
{
    if (app) app->SetProgramDir();
    return std::filesystem::path(app ? app->ProgramDir : std::string()) / name;
}

// A list file that is there but is no list: said, not swallowed.
void ReportUnreadable(TTableWin* window, const std::string& name)
{
    orbiscope::ShowFileMessage(window, orbiscope::kStrCannotRead, name);
}

bool IsRegularFile(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

TTableWin::TTableWin(QWidget* parent, const char* title, const char* fileName) : TMyWindow(parent, title, fileName)
{
    HeadingFont = kTableHeadingFont;
    BodyFont = kTableBodyFont;
    // A table is built once and is no document: nothing to save.
    for (int id : {orbiscope::CM_FILESAVE, orbiscope::CM_FILESAVEAS}) {
        SetHandler(id, [] {});
        SetEnabler(id, [] { return false; });
    }
}

TTableWin::~TTableWin() = default;

void TTableWin::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

bool TTableWin::LoadCountryFile()
{
    TOrbiscope* app = App();
    if (!app) return false;
    app->SetProgramDir();
    {
        TGetCountryDlg chooser(this);
        if (chooser.Execute() != platform::IDOK || app->SelectedCountryFile.empty()) return false;
    }
    const std::string name = app->SelectedCountryFile;
    const std::filesystem::path file = InProgramDirectory(app, name);
    std::vector<TownRecord> read;
    if (!IsRegularFile(file) || !ReadTownFile(file, kTownPickerRule, read)) {
        ReportUnreadable(this, name);
        return false;
    }
    Towns = std::move(read);
    RecordCount = std::int32_t(Towns.size()) - 1;
    app->CurrentCountryFile = name;
    return true;
}

bool TTableWin::LoadSatList()
{
    const std::filesystem::path file = InProgramDirectory(App(), kSatelliteListFile);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        platform::MessageBox(this, kSatelliteListFile, "Unable to open file", platform::MB_ICONEXCLAMATION);
        return false;
    }
    std::vector<SatelliteRecord> read;
    if (!IsRegularFile(file) || !ReadSatelliteFile(file, kSatellitePickerRule, read)) {
        ReportUnreadable(this, kSatelliteListFile);
        return false;
    }
    Satellites = std::move(read);
    RecordCount = std::int32_t(Satellites.size()) - 1;
    return true;
}

ReportHeading TTableWin::Heading() const { return ReportHeadingOf(App()); }

void TTableWin::EnsureFontMetrics()
{
    if (AverageCharWidth > 1) return;
    const QFont body = platform::MakeFont(BodyFont);
    AverageCharWidth = platform::AverageCharWidthOf(body, viewport());
    LineHeight = platform::LineHeightOf(body, viewport());
}

void TTableWin::ShowTable(TableText table)
{
    EnsureFontMetrics();
    ReportText = std::move(table.text);
    LineCount = table.lineCount;
    const int unit = table.tabs.unit == TableTabs::Unit::Pixels ? 1 : AverageCharWidth;
    TabStops.clear();
    for (int p : table.tabs.positions) TabStops.push_back(p * unit);
    SetDocTitle(table.caption.c_str());
    UpdateScroller(true);
    ReportText.shrink_to_fit();
}
