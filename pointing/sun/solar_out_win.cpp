#include "pointing/sun/solar_out_win.h"

#include <cstdio>

#include "framework/output/document_fields.h"
#include "framework/output/window_report.h"
#include "framework/app/orbiscope.h"
#include "framework/forms/form_controls.h"
#include "platform/command.h"
#include "platform/services.h"
#include "pointing/sun/solar_out_form.h"
#include "pointing/sun/solar_batch.h"
#include "pointing/sun/sun.h"
#include "pointing/sun/ui_pump.h"
#include "propagation/coordinates.h"

namespace {

using namespace orbiscope::sun;

constexpr int kTabWidthsInChars[] = {25, 10, 10, 10, 12};

// The window's rows: the full month name, the day, the event columns; each
// event repaints the window and shows the running count.
class WindowRows : public OutageSink {
public:
    WindowRows(TSolarOutWin& window, UiPump& pump) : window_(window), pump_(pump) {}

    void Event(const OutageEvent& e) override
    {
        const std::string row = std::string(kMonthNames[(e.month + 11) % 12]) + " " + std::to_string(e.day) +
                                FormatEventColumns(e);
        window_.AddLine(row.c_str());
        ++window_.EventCount;
        char status[64];
        std::snprintf(status, sizeof status, "Solar outage events found : %d", window_.EventCount);
        ShowStatusHint(TOrbiscope::Current(), status);
        window_.UpdateScroller(false);
        pump_.Now();
    }
    void NoOutages() override { window_.AddLine("No solar outages found"); }
    bool Step() override
    {
        pump_.Tick();
        return true;
    }

private:
    TSolarOutWin& window_;
    UiPump& pump_;
};

}  // namespace

TSolarOutWin::TSolarOutWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName)
{
    SetSolarOutDefaults(record_);
    BodyFont.face = "Courier New";
    SetHandler(kEditCommand, [this] { CmEditInputs(); });
    SetEnabler(kEditCommand, [] { return true; });
}

void TSolarOutWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = "Outage Files (*.sun)|*.sun";
    FileData.defaultExt = "sun";
    FileData.overwritePrompt = true;
    if (HasFileName()) OpenDocument(true);
}

void TSolarOutWin::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

bool TSolarOutWin::CanClose() { return !searching_ && TMyWindow::CanClose(); }

void TSolarOutWin::CmEditInputs()
{
    if (searching_) return;  // the report is being written
    TSolarOutForm form(this, record_);
    RunInputForm(form, KeptTyping, [this] { return Recalculate(); });
}

void TSolarOutWin::ParseInputs() { inputs_ = ParseSolarOutInputs(record_); }

bool TSolarOutWin::Recalculate()
{
    ParseInputs();
    const LookAngles look = SatelliteLookAngles(inputs_.siteLatitude, inputs_.siteLongitude, inputs_.satLongitude);
    SatElevation = look.elevation;
    SatAzimuth = look.azimuth;
    if (!CheckBelowHorizon(SatElevation)) return false;
    BuildReport();
    return true;
}

void TSolarOutWin::SearchGroup(const char* heading, SeasonGroup group)
{
    ReportWriter line = WindowReportWriter(*this);
    line.Blank();
    line.Blank();
    line.Append(heading);
    line.Blank();
    line("%-s\t%s\t%s\t%s\t%s\t%s~", "Begin Date", "Begin", "Peak", "End", "Depth", "Closest(deg)");
    line.Blank();
    TSun sun(inputs_.siteLatitude, inputs_.siteLongitude);
    UiPump pump;
    WindowRows rows(*this, pump);
    FindOutages(sun, SearchInputs(record_, inputs_, SatElevation, SatAzimuth), group, rows);
    ShowStatusHint(App(), "");
}

void TSolarOutWin::BuildReport()
{
    platform::WaitCursor wait;
    searching_ = true;
    ClearReport();
    EventCount = 0;
    const SolarOutRecord& r = record_;
    const std::string year = FieldText(r.year);
    ReportWriter line = WindowReportWriter(*this);
    WriteReportHeading(line, ("Solar Outage Risk " + year).c_str(), ReportHeadingOf(App()));
    line.Blank();
    line.Blank();
    line("Site name\t%s", FieldText(r.siteName).c_str());
    line("Satellite name\t%s", FieldText(r.satName).c_str());
    line.Blank();
    line.Append("Notes~");
    if (r.gmt.On()) {
        line.Append("Greenwich Mean Time (GMT).");
    } else {
        line.Append("Local Standard Time (no daylight saving added).");
        line.Append("Add local daylight saving as appropriate.");
    }
    line.Append("Valid for satellites in inclined orbits < 0.5 degrees.");
    line.Blank();
    line.Append("Input Parameters\tValue\tUnits~");
    line("Site latitude\t%s\tdegrees", FieldText(r.siteLatitude).c_str());
    line("Site longitude\t%s\tdegrees", FieldText(r.siteLongitude).c_str());
    line("Satellite longitude\t%s\tdegrees", FieldText(r.satLongitude).c_str());
    line("Year of interest\t%s\t-", year.c_str());
    line("World time zone\t%s\t-", FieldText(r.zone).c_str());
    line("Antenna diameter\t%s\tmetres", FieldText(r.aperture).c_str());
    line("Operation frequency\t%s\tGHz", FieldText(r.frequency).c_str());
    line.Append(r.standard.On() ? "Antenna beamwidth\tStandard\t-" : "Antenna beamwidth\tWide\t-");
    line.Blank();
    line("Elevation\t%.2lf\tdegrees", SatElevation);
    line("True azimuth\t%.2lf\tdegrees", SatAzimuth);
    TabStops.clear();
    int stop = 0;
    for (int w : kTabWidthsInChars) TabStops.push_back(stop += w * AverageCharWidth);
    SearchGroup("Early Season Group~", kEarlySeason);
    SearchGroup("Late Season Group~", kLateSeason);
    ReportText.shrink_to_fit();
    searching_ = false;
    UpdateScroller(true);
}

bool TSolarOutWin::SaveFile(const char* fileName)
{
    return WriteDocument(fileName, kSolarOutVersion, &record_, sizeof record_);
}

bool TSolarOutWin::LoadFile(const char* fileName)
{
    DocumentFile file(fileName);
    std::uint16_t version = 0;
    if (!file.IsOpen() || !file.ReadVersion(version)) return false;
    if (version < kOldestSolarOutVersion || version > kSolarOutVersion) return false;
    // Read into a fresh record: a document that breaks off leaves the
    // window's inputs as they were.
    SolarOutRecord r{};
    DocumentFieldReader read(file, sizeof r);
    if (!read.Texts(r.siteName, r.satName, r.siteLatitude, r.siteLongitude, r.satLongitude, r.year, r.zone,
                    r.aperture, r.frequency) ||
        !read.State(r.standard) || !read.State(r.wide) || !read.State(r.minute) || !read.State(r.second))
        return false;
    if (version == kSolarOutVersion) {
        if (!read.State(r.gmt) || !read.State(r.local)) return false;
    } else {
        r.local.Set(1);
    }
    file.Close();
    for (char* t : {r.siteName, r.satName}) t[sizeof(Text41) - 1] = '\0';
    for (char* t : {r.siteLatitude, r.siteLongitude, r.satLongitude, r.year, r.zone, r.aperture, r.frequency})
        t[sizeof(Text13) - 1] = '\0';
    record_ = r;
    KeptTyping.clear();
    bool valid = false;
    {
        TSolarOutForm form(this, record_);
        form.SetSilent(true);
        valid = form.ValidateFields(record_);
    }
    if (valid) Recalculate();
    else platform::PostCommand(this, kEditCommand);
    return true;
}
