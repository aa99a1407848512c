// The solar-outage batch forms: their records against the stored dialog
// values, a 50-site run through the progress dialog into tabbed text and
// HTML, and input files with faults.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>

#include "framework/app/registration.h"
#include "framework/databases/place_files.h"
#include "framework/forms/form.h"
#include "framework/output/progress.h"
#include "pointing/sun/batch_input.h"
#include "pointing/sun/solar_batch_forms.h"
#include "pointing/sun/solar_out_form.h"
#include "tests/pointing/pointing_ui_support.h"

namespace {

using namespace solarform;

struct LayoutCase { const char* name; int command; const TSolarBatchFormBase::Definition* definition; };

const LayoutCase kLayouts[] = {
    {"sites with one satellite", 6527, &TSolarBatchForm::kDefinition},
    {"visible satellites", 6529, &TSunAllSatsForm::kDefinition},
    {"satellites of a file", 6530, &TSunBatchForm::kDefinition},
};

// The forms' records are the stored dialog records: same size, Clear's
// options at the words the program seeds at start-up.
TEST(SolarBatchLayout, RecordsMatchTheStoredDialogValues)
{
    for (const auto& c : kLayouts) {
        const orbiscope::CalculatorInfo* info = orbiscope::FindCalculatorInfo(c.command);
        ASSERT_NE(info, nullptr) << c.name;
        const auto controls = TSolarBatchFormBase::ControlTable(*c.definition);
        EXPECT_EQ(platform::TransferSize(controls), static_cast<std::size_t>(info->bufferBytes)) << c.name;
        EXPECT_EQ(info->storedRecord, c.definition->storedRecord) << c.name;
        const int defaults[] = {kEarly, kStandard, kMinute, kLocal, kVertical};
        ASSERT_EQ(info->wordSeeds.size(), 5u) << c.name;
        for (std::size_t i = 0; i < 5; ++i)
            EXPECT_EQ(platform::TransferOffset(controls, defaults[i]), info->wordSeeds[i]) << c.name << " " << i;
    }
}

// 50 sites from 10N to 59N between 10W and 39E.
std::string FiftySites()
{
    std::string text;
    char line[128];
    for (int i = 0; i < 50; ++i) {
        const double lon = -10.0 + i;
        std::snprintf(line, sizeof line, "Site %02d,%.2fN,%.2f%c,%d,%.1f;\r\n", i + 1, 10.0 + i, std::fabs(lon),
                      lon < 0 ? 'W' : 'E', i % 4, 1.2 + 0.1 * (i % 13));
        text += line;
    }
    return text;
}

class SolarBatch : public pointingtest::SunWindows {
protected:
    // Runs the site-file batch on `input` with the given format option; the
    // result goes to `output` when a file is asked for.
    void RunSiteFile(const std::string& input, int formatOption, const std::string& output)
    {
        platform::SetDialogDriver(590, [&](platform::Dialog& d) {
            d.SetControlText(kBatchFile, input);
            d.SetControlText(kSatName, "Testsat 28.2E");
            d.SetControlText(kSatLongitude, "28.2E");
            d.SetControlText(kYear, "2025");
            d.SetControlText(kFrequency, frequency);
            for (int id : {kVertical, kHorizontal, kHtml}) d.SetCheck(id, id == formatOption ? 1 : 0);
            return platform::IDOK;
        });
        platform::QueueFileDialogAnswer({{output}});
        // Watch the progress dialog while the run pumps.
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* p = dynamic_cast<TProgressDialog*>(w);
                if (!p || !p->IsOpen()) continue;
                progressTexts.push_back(p->Text());
                if (cancelAt > 0 && progressTexts.size() >= static_cast<std::size_t>(cancelAt))
                    p->OnButton(platform::IDCANCEL);
            }
        });
        watcher.start(0);
        app->app->Dispatch(TSolarBatchForm::kCommand);
        watcher.stop();
    }
    std::vector<std::string> progressTexts;
    int cancelAt = 0;
    std::string frequency = "11.7";
};

// The report's lines are the engine's golden; here the file of 50 sites is
// read, numbered and written as tabbed text (marks stripped) and as HTML.
TEST_F(SolarBatch, FiftySitesToTabbedTextAndHtml)
{
    const std::string input = WriteFile("sites.txt", FiftySites());
    const std::string output = (Dir() / "outages.tab").string();
    RunSiteFile(input, kVertical, output);
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    const auto lines = pointingtest::Lines(pointingtest::ReadFile(output));
    ASSERT_GT(lines.size(), 50u * 4);
    EXPECT_EQ(lines[0], "SOLAR OUTAGE RISK 2025");
    EXPECT_EQ(lines[2], "Early Season Group");
    int sites = 0, rows = 0;
    for (const auto& l : lines) {
        if (l.rfind("Site ", 0) == 0 && l.find(',') == std::string::npos) {
            EXPECT_EQ(l, "Site " + std::to_string(++sites));
        }
        if (l.size() > 4 && (l.rfind("Feb ", 0) == 0 || l.rfind("Mar ", 0) == 0 || l.rfind("Apr ", 0) == 0)) ++rows;
    }
    EXPECT_EQ(sites, 50);
    EXPECT_GT(rows, 50 * 4);  // about a week of outages a site
    // Site 42 of the file (51N 31E, zone 1, 1.4 m) in the item line of the grouped layout.
    const auto site42 = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("Site 42, 51.00N, 31.00E, EL=", 0) == 0;
    });
    ASSERT_NE(site42, lines.end());
    EXPECT_NE(site42->find(", TZ=1.00, D=1.40"), std::string::npos) << *site42;
    ASSERT_FALSE(progressTexts.empty());
    EXPECT_EQ(progressTexts.back().substr(0, 14), "Processing 50 ");

    // HTML: a table for the season heading, and per site one for its heading
    // and one for its columns.
    const std::string html = (Dir() / "outages.html").string();
    RunSiteFile(input, kHtml, html);
    const std::string page = pointingtest::ReadFile(html);
    std::size_t tables = 0;
    for (std::size_t at = page.find("<table"); at != std::string::npos; at = page.find("<table", at + 1)) ++tables;
    EXPECT_EQ(tables, 1u + 2u * 50u);
    EXPECT_NE(page.find("SOLAR OUTAGE RISK 2025"), std::string::npos);
}

// `grownTo`: the file made that long (a sparse end of zeros) after its text;
// "FILE" in a message stands for the file's name.
struct FaultCase {
    const char* name;
    std::string input;
    std::string frequency;
    std::vector<std::string> messages;
    std::uint64_t grownTo = 0;
};

const FaultCase kFaults[] = {
    {"latitude 91N on line 4 (the second record runs over lines 2 and 3)",
     "A,10.00N,1.00E,0,1.2;\r\nB,20.00N,\r\n2.00E,0,1.2;\nC,91N,3.00E,0,1.2;\n",
     "11.7",
     {"Range Error|Text file: Site latitude\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S", "Batch File Error|Line: 4"}},
    {"latitude 91N on line 3 of a file whose lines end in CR alone",
     "A,10.00N,1.00E,0,1.2;\rB,20.00N,2.00E,0,1.2;\rC,91N,3.00E,0,1.2;\r",
     "11.7",
     {"Range Error|Text file: Site latitude\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S", "Batch File Error|Line: 3"}},
    {"a missing antenna size on line 2",
     "A,10.00N,1.00E,0,1.2;\nB,20.00N,2.00E,0;\n",
     "11.7",
     {"Empty Field Error|Text file: Antenna size", "Batch File Error|Line: 2"}},
    {"an empty latitude on line 1",
     "A,,1.00E,0,1.2;",
     "11.7",
     {"Empty Field Error|Text file: Site latitude", "Batch File Error|Line: 1"}},
    {"a 0.2 m dish at 11.7 GHz", "A,10.00N,1.00E,0,0.2;", "11.7", {}},
    {"a 0.2 m dish at 1.5 GHz on line 2 (1.22 x 0.19986 m = 0.2438 m needed)",
     "A,10.00N,1.00E,0,1.2;\nB,10.00N,1.00E,0,0.2;",
     "1.5",
     {"Range Error|Antenna aperture\r\nmust be at least 0.2438 m at 1.5 GHz (1.22 wavelengths)",
      "Batch File Error|Line: 2"}},
    {"an empty file", "", "11.7", {"Batch File Error|Line: 0"}},
    {"a name Latin-1 cannot hold on line 2",
     "A,10.00N,1.00E,0,1.2;\n\xe6\x9d\xb1\xe4\xba\xac,35.68N,139.69E,9,1.2;",
     "11.7",
     {"Invalid Character Error|Text file: Site name\r\nThis field takes Western European (Latin-1) letters only",
      "Batch File Error|Line: 2"}},
    {"a byte-order mark before a Latin-1 name on line 2, as where two files were joined",
     "A,10.00N,1.00E,0,1.2;\n\xef\xbb\xbfK\xf6ln,50.94N,6.96E,1,1.2;",
     "11.7",
     {"Invalid Character Error|Text file: Site name\r\nThis field holds a byte-order mark, an invisible character "
      "that editors do not show (left where two files were joined): remove it",
      "Batch File Error|Line: 2"}},
    {"a byte-order mark pasted inside a name on line 2: no files were joined there",
     "A,10.00N,1.00E,0,1.2;\nK\xc3\xb6\xef\xbb\xbfln,50.94N,6.96E,1,1.2;",
     "11.7",
     {"Invalid Character Error|Text file: Site name\r\nThis field holds a byte-order mark, an invisible character "
      "that editors do not show: remove it",
      "Batch File Error|Line: 2"}},
    {"a Latin-1 0xFF letter on line 1, latitude 91N on line 2",
     "L'Ha\xff-les-Roses,48.78N,2.35E,1,1.2;\nB,91N,3.00E,0,1.2;",
     "11.7",
     {"Range Error|Text file: Site latitude\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S", "Batch File Error|Line: 2"}},
    {"a file past the batch files' limit, its first record wrong: refused for its size",
     "B,91N,3.00E,0,1.2;",
     "11.7",
     {"File Too Large|FILE\r\nThis file is larger than 16 MB, more than a batch input file holds: it was not read."},
     orbiscope::sun::kMaxBatchFileBytes + 1},
};

TEST_F(SolarBatch, FaultyInputIsReportedWithItsLine)
{
    for (const auto& c : kFaults) {
        app->messages.calls.clear();
        const std::string input = WriteFile("faulty.txt", c.input);
        if (c.grownTo) std::filesystem::resize_file(input, c.grownTo);
        const std::string output = (Dir() / "faulty.tab").string();
        std::filesystem::remove(output);
        frequency = c.frequency;
        RunSiteFile(input, kVertical, output);
        std::vector<std::string> expected = c.messages;
        for (std::string& m : expected)
            if (const auto at = m.find("FILE"); at != std::string::npos) m.replace(at, 4, input);
        EXPECT_EQ(Messages(), expected) << c.name;
        EXPECT_EQ(std::filesystem::exists(output), c.messages.empty()) << c.name;
        platform::ClearFileDialogAnswers();
    }
}

// Names written in UTF-8, as editors save them, reach the report in the
// program's Latin-1.
TEST_F(SolarBatch, SitesOfAUtf8FileKeepTheirLetters)
{
    const std::string input =
        WriteFile("utf8.txt", "Z\xc3\xbcrich,47.38N,8.55E,1,1.2;\nS\xc3\xa3o Paulo,23.55S,46.63W,-3,1.2;\n");
    const std::string output = (Dir() / "utf8.tab").string();
    RunSiteFile(input, kVertical, output);
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    const auto lines = pointingtest::Lines(pointingtest::ReadFile(output));
    for (const std::string item : {"Z\xfcrich, 47.38N, 8.55E, EL=", "S\xe3o Paulo, 23.55S, 46.63W, EL="}) {
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(item, 0) == 0; }),
                  1)
            << item;
    }
}

// The file's 600 sites are all run: the count of a batch is no format limit.
// No site's aperture (at most 50 m) spans 1.22 wavelengths of 0.0007 GHz
// (522.5 m): the form refuses the frequency, and stays open, before the
// file is read.
TEST_F(SolarBatch, FrequencyTooLowForAnyAperture)
{
    const std::string output = (Dir() / "low.tab").string();
    frequency = "0.0007";
    RunSiteFile(WriteFile("one.txt", "A,10.00N,1.00E,0,1.2;"), kVertical, output);
    const auto messages = Messages();
    ASSERT_FALSE(messages.empty());
    for (const std::string& m : messages)  // once for each OK the script presses
        EXPECT_EQ(m, "Range Error|Frequency\r\n0.0007 GHz is too low for any antenna aperture up to 50 m (the beam "
                     "needs 1.22 wavelengths)");
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(SolarBatch, MoreThanFiveHundredSites)
{
    std::string text;
    for (int i = 1; i <= 600; ++i) text += "Pacific " + std::to_string(i) + ",10.00N,150.00E,10,1.2;\n";
    const std::string output = (Dir() / "many.tab").string();
    RunSiteFile(WriteFile("many.txt", text), kVertical, output);
    const auto lines = pointingtest::Lines(pointingtest::ReadFile(output));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Satellite below horizon"), 600);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Site 600"), 1);
}

TEST_F(SolarBatch, ClosingTheProgressDialogWritesNoFile)
{
    const std::string input = WriteFile("sites.txt", FiftySites());
    const std::string output = (Dir() / "stopped.tab").string();
    cancelAt = 2;
    RunSiteFile(input, kVertical, output);
    EXPECT_FALSE(progressTexts.empty());
    EXPECT_FALSE(std::filesystem::exists(output));
}

// The user stops a run on the progress window itself, with the batch form
// up and modal as OK leaves it: a click on Cancel, or Escape.  The input
// goes through the window system's path, where a modal window blocks what
// is not in front of it.  The run stops, nothing is written, and the report
// keeps the sites done until then.
struct StopCase { const char* name; bool escape; };
const StopCase kStops[] = {{"click on Cancel", false}, {"Escape", true}};

TEST_F(SolarBatch, UserStopsTheRunOnTheProgressWindow)
{
    const std::string input = WriteFile("sites.txt", FiftySites());
    for (const StopCase& c : kStops) {
        SCOPED_TRACE(c.name);
        const std::string output = (Dir() / "stopped.tab").string();
        std::vector<std::uint8_t> buffer(platform::TransferSize(TSolarBatchFormBase::ControlTable(
                                             TSolarBatchForm::kDefinition)),
                                         0);
        TSolarBatchForm form(app->app->Frame(), buffer.data(), buffer.size());
        platform::SetDialogDriver(590, [&](platform::Dialog& d) {
            d.SetControlText(kBatchFile, input);
            d.SetControlText(kSatName, "Testsat 28.2E");
            d.SetControlText(kSatLongitude, "28.2E");
            d.SetControlText(kYear, "2025");
            d.SetControlText(kFrequency, "11.7");
            d.SetCheck(kVertical, 1);
            d.setWindowModality(Qt::ApplicationModal);  // as its modal run shows it
            d.show();
            return platform::IDOK;
        });
        platform::QueueFileDialogAnswer({{output}});
        bool sent = false, progressChildOfForm = false, progressModal = false;
        int lastShown = 0;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* p = dynamic_cast<TProgressDialog*>(w);
                if (!p || !p->IsOpen() || !p->isVisible()) continue;
                std::sscanf(p->Text().c_str(), "Processing %d", &lastShown);
                if (sent || lastShown < 2) continue;
                sent = true;
                progressChildOfForm = p->parentWidget() == &form;
                progressModal = QGuiApplication::modalWindow() == p->windowHandle();
                QWindow* window = p->windowHandle();
                ASSERT_NE(window, nullptr);
                if (c.escape) {
                    QTest::keyClick(window, Qt::Key_Escape);
                } else {
                    auto* cancel = p->Control(platform::IDCANCEL);
                    ASSERT_NE(cancel, nullptr);
                    QTest::mouseClick(window, Qt::LeftButton, {}, cancel->mapTo(p, cancel->rect().center()));
                }
            }
        });
        user.start(0);
        form.Execute();
        user.stop();
        form.hide();

        EXPECT_TRUE(sent);
        EXPECT_TRUE(progressChildOfForm);
        EXPECT_TRUE(progressModal);
        EXPECT_LT(lastShown, 10);
        EXPECT_FALSE(std::filesystem::exists(output));
        const auto lines = pointingtest::Lines(form.Report().text);
        auto has = [&](const std::string& l) { return std::find(lines.begin(), lines.end(), l) != lines.end(); };
        EXPECT_TRUE(has("Site 1~"));
        EXPECT_TRUE(has("Site 2~"));
        EXPECT_FALSE(has("Site 50~"));
        platform::ClearDialogDrivers();
        platform::ClearFileDialogAnswers();
    }
}

// A stored record never used (all zero) opens with Clear's options.
TEST_F(SolarBatch, AllZeroStoredRecordOpensWithDefaults)
{
    auto stored = app->app->FormRecord(TSunBatchForm::kDefinition.storedRecord);
    std::fill(stored.begin(), stored.end(), std::uint8_t{0});
    std::vector<std::uint8_t> buffer(stored.size(), 0);
    TSunBatchForm form(nullptr, buffer.data(), buffer.size());
    form.SetupWindow();
    for (int id : {kEarly, kStandard, kMinute, kLocal, kVertical}) EXPECT_EQ(form.GetCheck(id), 1) << id;
    for (int id : {kLate, kWide, kSecond, kGmt, kHorizontal, kHtml}) EXPECT_EQ(form.GetCheck(id), 0) << id;
}

// The all-satellites batch over a satellite list: the site's visible
// satellites only, horizontal rows, the values stored back.
TEST_F(SolarBatch, VisibleSatellitesOfTheList)
{
    std::vector<SatelliteRecord> list(4);
    SetRecordText(list[1].name, sizeof list[1].name, "East 28.2");
    list[1].longitude = 28.2f;
    SetRecordText(list[2].name, sizeof list[2].name, "Far West");
    list[2].longitude = -120.0f;
    SetRecordText(list[3].name, sizeof list[3].name, "West 5");
    list[3].longitude = -5.0f;
    ASSERT_TRUE(WriteSatelliteFile(Dir() / "satlist.geo", list));
    platform::SetDialogDriver(594, [](platform::Dialog& d) {
        d.SetControlText(kSiteName, "Chilbolton, UK");
        d.SetControlText(kSiteLatitude, "51.14N");
        d.SetControlText(kSiteLongitude, "1.44W");
        d.SetControlText(kYear, "2025");
        d.SetControlText(kZone, "0");
        d.SetControlText(kAperture, "2.4");
        d.SetControlText(kFrequency, "12.5");
        d.SetCheck(kVertical, 0);
        d.SetCheck(kHorizontal, 1);
        return platform::IDOK;
    });
    const std::string output = (Dir() / "visible.tab").string();
    platform::QueueFileDialogAnswer({{output}});
    app->app->Dispatch(TSunAllSatsForm::kCommand);
    const auto lines = pointingtest::Lines(pointingtest::ReadFile(output));
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(lines[3], "Local Standard Time (no daylight saving)");
    for (std::size_t i = 7; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("Chilbolton. UK\t51.14N\t1.44W\t0\t2.4\t ", 0), 0u) << lines[i];
        EXPECT_EQ(lines[i].find("Far West"), std::string::npos);
    }
    const auto stored = app->app->FormRecord(TSunAllSatsForm::kDefinition.storedRecord);
    EXPECT_EQ(transfer::GetText(stored, 0, 41), "Chilbolton, UK");
}

}  // namespace
