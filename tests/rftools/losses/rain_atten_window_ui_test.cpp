// The atmospheric-losses window: New through the menu, round trips, the
// elevation checks, Cancel, and the picture for the docs over the real maps.
#include <QImage>
#include <cstring>
#include <fstream>
#include <iterator>

#include "framework/app/mdiclient.h"
#include "loss_ui_support.h"
#include "propagation/itu_maps.h"
#include "rftools/losses/loss_forms.h"
#include "rftools/losses/rain_atten_win.h"
#include "tests/picture_path.h"

namespace {

using namespace lossform;
using losstest::FillLondon;

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class RainAttenWindow : public losstest::LossFixture {
protected:
    void TearDown() override
    {
        windows.clear();
        LossFixture::TearDown();
    }
    TRainAttenWin& NewWindow(const char* fileName = nullptr)
    {
        windows.push_back(std::make_unique<TRainAttenWin>(nullptr, nullptr, fileName));
        windows.back()->SetupWindow();
        return *windows.back();
    }
    std::vector<std::unique_ptr<TRainAttenWin>> windows;
};

// File > New > Total Atmospheric Attenuation: the form opens on the new
// window; typed in and confirmed, the window shows its report.
TEST_F(RainAttenWindow, NewThroughTheMenu)
{
    int runs = 0;
    platform::SetDialogDriver(TRainForm::kResourceId, [&](platform::Dialog& d) {
        ++runs;
        const std::pair<int, const char*> texts[] = {
            {kSiteName, "London"}, {kSatName, "Astra 2E"},   {kSiteLatitude, "51.50N"}, {kSiteLongitude, "0.12W"},
            {kSatLongitude, "28.2E"}, {kFrequency, "11.7"},  {kPolarization, "V"},     {kAvailability, "99.9"},
            {kSystemNoise, "120"},  {kDiameter, "0.9"},     {kEfficiency, "70"},
        };
        for (const auto& [id, text] : texts) d.SetControlText(id, text);
        EXPECT_EQ(d.GetControlText(kSiteAltitude), "AUTO");
        EXPECT_EQ(d.GetCheck(kItuAuto), 1);
        return platform::IDOK;
    });
    app->app->Dispatch(6021);
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TRainAttenWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(FieldText(w->Record().diameter), "0.9");
    const std::vector<std::string> lines = losstest::Lines(w->Report());
    ASSERT_GT(lines.size(), 30u);
    EXPECT_EQ(lines[0], "Atmospheric Losses");
    EXPECT_EQ(lines[1], "Orbiscope Test Bench~");
    EXPECT_EQ(lines[2], "Tuesday 5 March 2024");
    EXPECT_TRUE(losstest::HasLine(w->Report(), "Site altitude\t0.250\tkm"));  // the terrain height
    EXPECT_EQ(w->TabStops, (std::vector<int>{300, 400}));
    EXPECT_EQ(child->windowTitle().toStdString().rfind("Rain Attenuation", 0), 0u);
    EXPECT_EQ(app->app->PendingWindowType, TRainAttenWin::kWindowType);
}

// Saved and reopened, the window has the same record and report; an ".att"
// document opens as the same type and is saved as ".atn".
TEST_F(RainAttenWindow, RoundTripAndAttFiles)
{
    TRainAttenWin& w = NewWindow();
    FillLondon(w.Record());
    w.Recalculate();
    for (const char* name : {"trip.atn", "trip.att"}) {
        const std::string path = (Dir() / name).string();
        ASSERT_TRUE(w.SaveFile(path.c_str()));
        TRainAttenWin& again = NewWindow(path.c_str());
        EXPECT_EQ(std::memcmp(&again.Record(), &w.Record(), sizeof(AtmosLossInputRecord)), 0) << name;
        EXPECT_EQ(again.Report(), w.Report()) << name;
        EXPECT_FALSE(again.Changed) << name;
        EXPECT_EQ(std::filesystem::path(again.FileName()).extension(), ".atn") << name;
    }
    EXPECT_EQ(orbiscope::FindWindowTypeByExtension(".att")->type, TRainAttenWin::kWindowType);
}

// A document whose values fail the checks opens the form instead.
TEST_F(RainAttenWindow, InvalidDocumentOpensTheForm)
{
    TRainAttenWin& w = NewWindow();
    FillLondon(w.Record());
    PutText(w.Record().systemNoise, "600");
    const std::string path = (Dir() / "bad.atn").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    int opened = 0;
    platform::SetDialogDriver(TRainForm::kResourceId, [&](platform::Dialog&) {
        ++opened;
        return platform::IDCANCEL;
    });
    TRainAttenWin& again = NewWindow(path.c_str());
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(again.Lines(), 0);
    EXPECT_TRUE(Messages().empty());  // checked silently
}

struct ElevationCase {
    const char* name;
    const char* satLongitude;
    std::vector<std::string> messages;
    bool newReport;
};

// London sees 69.0E at about 4.3 degrees and 72.0E at about 2.6.
TEST_F(RainAttenWindow, LowElevations)
{
    const ElevationCase cases[] = {
        {"warning, then the report", "69.0E",
         {"Elevation|Warning: Elevation < 5 degrees (some atmospheric model results may be invalid)"}, true},
        {"error, the old report stays", "72.0E",
         {"Elevation|ERROR: Elevation < 3 degrees (some atmospheric models are invalid)"}, false},
    };
    for (const ElevationCase& c : cases) {
        TRainAttenWin& w = NewWindow();
        FillLondon(w.Record());
        w.Recalculate();
        const std::string before = w.Report();
        PutText(w.Record().satLongitude, c.satLongitude);
        app->messages.calls.clear();
        w.Recalculate();
        EXPECT_EQ(Messages(), c.messages) << c.name;
        EXPECT_EQ(w.Report() != before, c.newReport) << c.name;
    }
}

// A cancelled edit, by the Cancel button or by Escape, keeps its typing for
// the next opening of the form only: the record, a recalculation, the report
// and the saved document keep the last OK's values, and the document is not
// marked changed.  OK then takes the typing and marks the document.
TEST_F(RainAttenWindow, CancelledTypingShowsAgainButIsNeverSaved)
{
    for (const int end : testsupport::kCancelEnds) {
        SCOPED_TRACE(testsupport::EndName(end));
        TRainAttenWin& w = NewWindow();
        FillLondon(w.Record());
        w.Recalculate();
        const std::string report = w.Report();
        testsupport::TypeThenEnd(TRainForm::kResourceId, kSystemNoise, "250", end);
        w.CmEditInputs();
        EXPECT_EQ(FieldText(w.Record().systemNoise), "120");
        EXPECT_EQ(w.Report(), report);
        EXPECT_FALSE(w.Changed);
        w.Recalculate();
        EXPECT_EQ(w.Report(), report);
        const std::string path = (Dir() / "cancelled.atn").string();
        ASSERT_TRUE(w.SaveFile(path.c_str()));
        EXPECT_EQ(ReadFile(path).substr(164, 4), std::string("120\0", 4));

        std::string shown;
        testsupport::ReadThenPress(TRainForm::kResourceId, kSystemNoise, shown, platform::IDOK);
        w.CmEditInputs();
        EXPECT_EQ(shown, "250");
        EXPECT_EQ(FieldText(w.Record().systemNoise), "250");
        EXPECT_NE(w.Report(), report);
        EXPECT_TRUE(w.Changed);
    }
}

// The window in the frame over the real maps, as a user sees it, drawn to
// "atmospheric-losses.png" in the build folder (docs/ holds a copy).
TEST_F(RainAttenWindow, Screenshot)
{
    struct Quiet final : ItuMapLoadObserver {
        void MapLoadFailed(const std::string&) override { ++failures; }
        int failures = 0;
    } observer;
    LoadItuMaps(startDir, observer);
    ASSERT_EQ(observer.failures, 0) << "the ITU-R maps are unpacked into the build folder";
    TRainAttenWin::SetAtmosphere(nullptr);
    auto& frame = *app->app->Frame();
    frame.resize(900, 860);
    app->app->Dispatch(6021);  // its form is cancelled
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TRainAttenWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    FillLondon(w->Record());
    w->Recalculate();
    // The figures of the reviewed report of the same path in the real-maps tests.
    for (const char* line : {"R0.01\tITU-R (26.485)\t(mm/h)", "Rain attenuation (0dB for p>5%)\t4.91\tdB",
                             "Total attenuation\t5.24\tdB", "Downlink degradation (DND)\t9.12\tdB"})
        EXPECT_TRUE(losstest::HasLine(w->Report(), line)) << line;
    child->move(0, 0);
    child->resize(820, 770);
    QCoreApplication::processEvents();
    const QImage img = frame.grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(QString::fromStdString(TestPicture("atmospheric-losses.png").string())));

    FreeItuMaps();
}

}  // namespace
