// The GEO window's two exports (File > "Export Input To Compatible Batch
// File Format" and "Export Output to DISA Template Format", also Ctrl+F2):
// offered once the budget is calculated, written as "label<TAB>value" lines
// where the user chooses.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <fstream>
#include <set>
#include <sstream>

#include "framework/app/registration.h"
#include "linkbudget/geo/geo_form.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

using F = TUpLinkForm;

std::vector<std::string> FileLines(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class GeoExport : public lbtest::WindowFixture {
protected:
    bool Enabled(TUpLinkWin& w, int command)
    {
        bool enabled = false;
        return w.QueryEnabler(command, enabled) && enabled;
    }
    // Runs an export into `name` in the test folder; its lines.
    std::vector<std::string> Export(TUpLinkWin& w, int command, const char* name)
    {
        const std::filesystem::path path = app->dir.Path() / name;
        platform::QueueFileDialogAnswer({{path.string()}});
        w.HandleCommand(command);
        return FileLines(path);
    }
};

// Not before a calculation.  One that stops at a low elevation leaves the
// report on screen, and the exports stay those of its inputs and results.
TEST_F(GeoExport, OfferedOnlyForACalculatedBudget)
{
    TUpLinkWin& w = NewWindow();
    lbtest::FillNamedHandBudget(w.Record());
    for (int command : {TUpLinkWin::kExportInputsCommand, TUpLinkWin::kExportResultsCommand})
        EXPECT_FALSE(Enabled(w, command)) << command;
    w.Recalculate();
    for (int command : {TUpLinkWin::kExportInputsCommand, TUpLinkWin::kExportResultsCommand})
        EXPECT_TRUE(Enabled(w, command)) << command;
    const std::string inputs = w.InputExportText();
    const std::string results = w.ResultExportText();
    // 40N 0E to a satellite at 78E: about half a degree up.
    SetText(w.Record().satLongitude, "78.00E");
    w.Recalculate();
    for (int command : {TUpLinkWin::kExportInputsCommand, TUpLinkWin::kExportResultsCommand})
        EXPECT_TRUE(Enabled(w, command)) << command;
    EXPECT_EQ(w.InputExportText(), inputs);
    EXPECT_EQ(w.ResultExportText(), results);
}

// One line per field in record order, named as the dialog shows it; a
// cancelled edit's typing is not part of the calculated inputs.
TEST_F(GeoExport, InputsAreTheCalculatedRecordFieldByField)
{
    TUpLinkWin& w = HandWindow();
    platform::SetDialogDriver(F::kResourceId, [](platform::Dialog& d) {
        d.SetControlText(F::kUpFrequency, "99");
        return int(platform::IDCANCEL);
    });
    w.CmEditInputs();
    const std::vector<std::string> lines = Export(w, TUpLinkWin::kExportInputsCommand, "inputs.txt");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Uplink: Site name\tValencia");
    EXPECT_EQ(lines.back(), "Downlink: Interference units: C/I (dB)\t0");
    for (const char* line : {
             "Uplink: Site latitude \xB0\t40.00N", "Uplink: Frequency GHz\t14", "ASI (up): Sat2\t0",
             "ASI (up): Sat3 satellite longitude \xB0\t", "Rain Model: Uplink Rain Model: Clear sky\t1",
             "Satellite: Transponder Type: LTWTA\t1", "Carriers: Required Target (dB)\t4.5",
             "Carriers: Required Target (dB): Eb/No\t1", "Carriers: Modulation: M=\t4", "Carriers: Modcod\tManual",
         })
        EXPECT_TRUE(Contains(lines, line)) << line;
    std::set<std::string> labels;
    for (const std::string& l : lines) EXPECT_TRUE(labels.insert(l.substr(0, l.find('\t'))).second) << l;
    EXPECT_EQ(labels.size(), F::Layout().TransferControls().size());
}

// The save dialog proposes the document's name with "-input.txt" or
// "-results.txt"; a file that cannot be written is reported by name.
TEST_F(GeoExport, ProposedNamesAndAFailedWrite)
{
    const std::filesystem::path document = app->dir.Path() / "London-Madrid.glb";
    TUpLinkWin& source = HandWindow();
    ASSERT_TRUE(source.SaveFile(document.c_str()));
    windows.push_back(std::make_unique<TUpLinkWin>(nullptr, nullptr, document.c_str()));
    TUpLinkWin& w = *windows.back();
    w.SetupWindow();
    ASSERT_TRUE(w.Calculated());
    const struct { int command; const char* title; const char* proposal; } cases[] = {
        {TUpLinkWin::kExportInputsCommand, "Export Input To Compatible Batch File Format", "London-Madrid-input.txt"},
        {TUpLinkWin::kExportResultsCommand, "Export Output to DISA Template Format", "London-Madrid-results.txt"},
    };
    for (const auto& c : cases) {
        app->messages.calls.clear();
        const std::string target = (app->dir.Path() / "no such folder" / "out.txt").string();
        platform::QueueFileDialogAnswer({{target}});
        w.HandleCommand(c.command);
        const platform::FileDialogRequest& asked = platform::LastFileDialogRequest();
        EXPECT_EQ(asked.title, c.title);
        EXPECT_TRUE(asked.save);
        EXPECT_EQ(std::filesystem::path(asked.data.fileName), app->dir.Path() / c.proposal);
        EXPECT_EQ(Messages(), (std::vector<std::string>{"Unable to write file " + target + " to disk."}));
    }
}

// Ctrl+F2 anywhere in the program exports the active GEO budget's results.
TEST_F(GeoExport, ControlF2ReachesTheActiveGeoWindow)
{
    orbiscope::RegisterWindowFactory(TUpLinkWin::kWindowType,
                                     [](const char* name) { return new TUpLinkWin(nullptr, nullptr, name); });
    platform::SetDialogDriver(F::kResourceId, [](platform::Dialog& d) {
        auto& f = static_cast<F&>(d);
        GeoLinkInputRecord r;
        lbtest::FillNamedHandBudget(r);
        f.PutScratch(r);
        return int(platform::IDOK);
    });
    app->app->Dispatch(6014);  // File > New > Link Budget (GEO Bent Pipe)
    QCoreApplication::processEvents();
    EXPECT_TRUE(app->app->IsEnabled(TUpLinkWin::kExportInputsCommand));
    EXPECT_TRUE(app->app->IsEnabled(TUpLinkWin::kExportResultsCommand));
    const std::filesystem::path path = app->dir.Path() / "by-key.txt";
    platform::QueueFileDialogAnswer({{path.string()}});
    QKeyEvent key(QEvent::KeyPress, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_TRUE(app->app->ProcessAppMsg(&key));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Contains(FileLines(path), "Totals per Carrier (End-to-End): Excess margin (Clear)\t12.35"));
}

}  // namespace
