#include "pointing/orbit/tle_win.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "framework/app/config_files.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/output/file_limit.h"
#include "framework/output/report_writer.h"
#include "framework/output/window_report.h"
#include "propagation/coordinates.h"
#include "propagation/itu_maps.h"
#include "platform/atomic_file.h"
#include "pointing/orbit/tle_file.h"

namespace {

// The report is built in one go; this is its first size.
constexpr std::size_t kReportReserve = 128000;
// Column widths of the table in average character widths: name, ID,
// inclination, latitude, longitude, altitude, azimuth, elevation, range.
constexpr int kColumnWidths[] = {26, 7, 7, 8, 8, 10, 8, 8, 8};
// A file larger than this is no element file (400,000 sets, where the largest
// constellations hold some thousands).
constexpr std::uint64_t kMaxFileBytes = 64u << 20;
constexpr int kMinRefreshSeconds = 1;
constexpr int kMaxRefreshSeconds = 60;

void SetText(char* field, std::size_t size, const std::string& text) {
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

template <std::size_t N>
std::string TextOf(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// The number at the start of a text, fraction dropped, held to the range.
std::int32_t WholeSeconds(const char* text, std::int32_t low, std::int32_t high) {
    const double value = std::strtod(text, nullptr);
    if (!std::isfinite(value)) return low;
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), double(low), double(high)));
}

LongitudeDisplay DisplayOf(const TleOptionRecord& o) {
    if (o.degreesEast == 1) return LongitudeDisplay::DegreesEast;
    if (o.degreesWest == 1) return LongitudeDisplay::DegreesWest;
    return LongitudeDisplay::Modulo180;
}

TleSortField SortOf(const TleOptionRecord& o) {
    const std::uint16_t states[] = {o.sortName, o.sortId, o.sortInclination, o.sortLatitude, o.sortLongitude,
                                    o.sortAltitude, o.sortAzimuth, o.sortElevation, o.sortRange};
    for (std::size_t i = 0; i < std::size(states); ++i) {
        if (states[i] == 1) return static_cast<TleSortField>(i);
    }
    return TleSortField::Id;
}

}  // namespace

TTleWin::TTleWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName), model_(std::make_unique<TSgp4Sdp4>()) {
    HeadingFont = {14, 700, "Courier New"};
    BodyFont = {12, 300, "Courier New"};
    Options.string = 1;
    Options.modulo180 = 1;
    Options.sortId = 1;
    // The observer starts at the set-up record's default site.
    if (TOrbiscope* app = App()) {
        SetUpRecord setup;
        setup.bytes = app->SetUpRecord;
        SetText(Options.siteName, sizeof Options.siteName, setup.SiteName());
        SetText(Options.latitude, sizeof Options.latitude, setup.Latitude());
        SetText(Options.longitude, sizeof Options.longitude, setup.Longitude());
    }
    SetText(Options.timeOffset, sizeof Options.timeOffset, "0");
    SetText(Options.refreshRate, sizeof Options.refreshRate, "1");

    SetHandler(kEditCommand, [this] { CmOptions(); });
    SetEnabler(kEditCommand, [] { return true; });
    // The file is only read.
    SetEnabler(orbiscope::CM_FILESAVE, [] { return false; });
    SetEnabler(orbiscope::CM_FILESAVEAS, [] { return false; });
}

TTleWin::~TTleWin() { timer_.Stop(); }

void TTleWin::SetupWindow() {
    TMyWindow::SetupWindow();
    TabStops.clear();
    int stop = 0;
    for (int width : kColumnWidths) {
        stop += width;
        TabStops.push_back(stop * AverageCharWidth);
    }
    FileData.filter = "TLE Files (*.tle)|*.tle";
    FileData.defaultExt = "tle";
    if (HasFileName()) OpenDocument(false);
    if (!timer_.Running()) {
        ReadSettings();
        UpdateTable();
    }
}

void TTleWin::EvSetFocus() {
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

bool TTleWin::LoadFile(const char* fileName) {
    std::vector<std::uint8_t> bytes;
    const platform::FileRead file = platform::ReadRegularFile(fileName, bytes, kMaxFileBytes);
    if (file == platform::FileRead::TooLarge) {
        orbiscope::ShowFileTooLarge(this, fileName, kMaxFileBytes, "an element-set file");
        LoadFailureShown();
    }
    if (file != platform::FileRead::Whole) return false;
    TleReadResult read = ReadTleText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!read.ok) return false;
    EntryCount = static_cast<std::int32_t>(read.entries.size());
    model_->SetEntries(std::move(read.entries));
    ReadSettings();
    UpdateTable();
    return true;
}

void TTleWin::ReadSettings() {
    std::memcpy(SiteName, Options.siteName, sizeof SiteName);
    SiteName[sizeof SiteName - 1] = '\0';
    SiteLatitude = ParseLatLon(TextOf(Options.latitude));
    SiteLongitude = ParseLatLon(TextOf(Options.longitude));
    SiteAltitude = TopoHeightAt(static_cast<float>(SiteLatitude), static_cast<float>(SiteLongitude));
    const auto maxOffset = static_cast<std::int32_t>(TLocForm::kMaxTimeOffsetSeconds);
    TimeOffset = WholeSeconds(TextOf(Options.timeOffset).c_str(), -maxOffset, maxOffset);
    RefreshRate = WholeSeconds(TextOf(Options.refreshRate).c_str(), kMinRefreshSeconds, kMaxRefreshSeconds);
}

void TTleWin::ComputePositions(std::int32_t timeOffset) {
    UtcDateTime now;
    TSgp4Sdp4::CurrentUtc(now, timeOffset, platform::NowUtc());
    const double jd = TSgp4Sdp4::JulianDateOfTime(now);
    ComputeSatPositions(*model_, jd, TleSite{SiteLatitude, SiteLongitude, SiteAltitude}, DisplayOf(Options),
                        positions_);
    SortSatPositions(positions_, SortOf(Options));
}

void TTleWin::UpdateTable() {
    timer_.Stop();
    ComputePositions(TimeOffset);
    WriteTable();
    UpdateScroller(false);
    timer_.Start(kTimerId, std::chrono::milliseconds(RefreshRate * 1000), [this](int) { EvTimer(); });
}

void TTleWin::WriteTable() {
    ClearReport();
    ReportText.reserve(std::max(kReportReserve, positions_.size() * 96 + 2048));
    ReportWriter line = WindowReportWriter(*this);
    ReportHeading heading = ReportHeadingOf(App());
    if (TOrbiscope* app = App()) heading.date = app->FormatDate(true);
    WriteReportHeading(line, "NORAD TLE Satellite Positions (SGP4/SDP4 Model)", heading);
    line.Blank();
    line("Site name\t%s", TextOf(Options.siteName).c_str());
    line("Site latitude\t%s", TextOf(Options.latitude).c_str());
    line("Site longitude\t%s", TextOf(Options.longitude).c_str());
    line("Site altitude\t%.2lf km", SiteAltitude);
    line("Time offset\t%ld sec.", static_cast<long>(TimeOffset));
    line("Refresh rate\t%d sec.", RefreshRate);
    line.Blank();
    line("Notes~");
    line("Range, Altitude (km)");
    line("Inc,Lat,Long,AZ,EL (degrees)");
    line("Latitude S(-) or N(+) degrees");
    switch (DisplayOf(Options)) {
        case LongitudeDisplay::Modulo180: line("Longitude W(-) or E(+) degrees"); break;
        case LongitudeDisplay::DegreesWest: line("Longitude degrees west"); break;
        case LongitudeDisplay::DegreesEast: line("Longitude degrees east"); break;
    }
    line.Blank();
    line("%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s~", "Satellite", "ID", "Inc", "Lat", "Long", "Alt", "AZ", "EL", "Range");
    for (const TleSatPosition& row : positions_) WriteRow(row);
}

void TTleWin::WriteRow(const TleSatPosition& row) {
    ReportWriter line = WindowReportWriter(*this);
    if (row.state != TleRowState::Ok) {
        line("%s\t%.0f\t%s", row.name, double(row.catalogue), TleRowMessage(row.state));
        return;
    }
    if (Options.numerical == 1) {
        line("%s\t%.0f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f", row.name, double(row.catalogue),
             double(row.inclination), double(row.latitude), double(row.longitude), double(row.altitude),
             double(row.azimuth), double(row.elevation), double(row.range));
        return;
    }
    char latitude[16];
    char longitude[16];
    FormatLatLon(row.latitude, 0, latitude);
    FormatLatLon(DisplayOf(Options) == LongitudeDisplay::DegreesWest ? -row.longitude : row.longitude, 1, longitude);
    line("%s\t%.0f\t%.2f\t%s\t%s\t%.2f\t%.2f\t%.2f\t%.2f", row.name, double(row.catalogue), double(row.inclination),
         latitude, longitude, double(row.altitude), double(row.azimuth), double(row.elevation), double(row.range));
}

void TTleWin::CmOptions() {
    TLocForm form(this, Options);
    form.KeepCancelledTyping(KeptTyping);
    if (form.Execute() != platform::IDOK) return;
    ReadSettings();
    Invalidate();
    UpdateTable();
}

void TTleWin::EvTimer() { UpdateTable(); }
