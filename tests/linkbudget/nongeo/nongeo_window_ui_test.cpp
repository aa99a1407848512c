// The non-GEO link-budget window: a new window's inputs, its registration,
// file filter and window type, the stops and messages of its recalculation,
// and its documents as the window writes and reads them.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include <QImage>
#include <QPixmap>

#include "framework/app/registration.h"
#include "linkbudget/nongeo/nongeo_form.h"
#include "propagation/itu_maps.h"
#include "linkbudget/registration.h"
#include "tests/linkbudget/nongeo/nongeo_support.h"

namespace {

using lbtest::HasLine;

class LeoWindow : public lbtest::LeoWindowFixture {};

template <std::size_t N>
std::string Str(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

TEST_F(LeoWindow, NewWindowDefaults)
{
    TLeoLinkWin& w = NewLeoWindow();
    const NonGeoLinkInputRecord& r = w.Record();
    const struct { const char* name; std::string got; const char* want; } texts[] = {
        {"HPA power W", Str(r.hpaPower), "MIN"},
        {"uplink altitude", Str(r.upAltitude), "AUTO"},
        {"carriers per HPA", Str(r.carriersPerHpa), "1"},
        {"downlink availability", Str(r.dnAvailability), "AUTO"},
        {"transponder OBO", Str(r.transponderObo), "AUTO"},
        {"spreading gain", Str(r.spreadingGain), "0"},
        {"M", Str(r.modulationOrder), "4"},
        {"modcod", Str(r.modcodText), "Manual"},
        {"uplink elevation", Str(r.upElevation), ""},
    };
    for (const auto& t : texts) EXPECT_EQ(t.got, t.want) << t.name;
    const struct { const char* name; const ButtonState& state; int want; } states[] = {
        {"LTWTA", r.ltwta, 1}, {"M-(A)PSK", r.mapsk, 1}, {"Eb/No", r.targetEbNo, 1}, {"Info rate", r.infoRate, 1},
        {"ITU-R (auto) up", r.upItuAuto, 1}, {"ITU-R (auto) down", r.dnItuAuto, 1},
        {"depolarization up", r.upDepolarization, 1}, {"depolarization down", r.dnDepolarization, 1},
        {"XPI co-located", r.xpiColocated, 1}, {"Csat/Io up", r.upCsatIoUnits, 1},
        {"Csat/Io down", r.dnCsatIoUnits, 1}, {"C/I up", r.upCiUnits, 0},
    };
    for (const auto& s : states) EXPECT_EQ(s.state.Value(), s.want) << s.name;
    EXPECT_EQ(w.TabStops, (std::vector<int>{280, 350, 420, 490}));
    EXPECT_EQ(w.DialogPage, 0);
    EXPECT_FALSE(w.Budget().frozen);
    EXPECT_EQ(w.Lines(), 0);
    EXPECT_FALSE(w.Changed);
}

TEST_F(LeoWindow, FileFilterWindowTypeAndRegistration)
{
    TLeoLinkWin& w = NewLeoWindow();
    w.SetupWindow();
    EXPECT_EQ(w.FileData.filter, "Non GEO Link Budget (*.llb)|*.llb");
    EXPECT_EQ(w.FileData.defaultExt, "llb");
    EXPECT_TRUE(w.FileData.overwritePrompt);
    app->app->PendingWindowType = 0;
    w.EvSetFocus();
    EXPECT_EQ(app->app->PendingWindowType, 16);

    orbiscope::RegisterLinkBudgetSubsystem();
    const auto* factory = orbiscope::FindWindowFactory(16);
    ASSERT_NE(factory, nullptr);
    std::unique_ptr<TMyWindow> made((*factory)(nullptr));
    EXPECT_NE(dynamic_cast<TLeoLinkWin*>(made.get()), nullptr);
}

// File > New > non-GEO link budget makes a TLeoLinkWin and opens its
// dialog, which (nobody answering) is cancelled: an empty window stays.
TEST_F(LeoWindow, FileNewMakesTheNonGeoWindow)
{
    orbiscope::RegisterLinkBudgetSubsystem();
    app->app->Dispatch(6023);
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TLeoLinkWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Lines(), 0);
    EXPECT_FALSE(w->Changed);
    bool enabled = false;
    ASSERT_TRUE(w->QueryEnabler(TLeoLinkWin::kEditCommand, enabled));
    EXPECT_TRUE(enabled);
}

// An entered elevation below 3 degrees on either link stops the budget with
// one message and leaves the earlier report in place.
TEST_F(LeoWindow, LowElevationStops)
{
    const struct { const char* up; const char* down; } cases[] = {{"2", "40"}, {"30", "2"}};
    for (const auto& c : cases) {
        TLeoLinkWin& w = LeoHandWindow();
        const std::string before = w.Report();
        app->messages.calls.clear();
        SetText(w.Record().upElevation, c.up);
        SetText(w.Record().dnElevation, c.down);
        w.Recalculate();
        EXPECT_EQ(Messages(),
                  (std::vector<std::string>{"ERROR: Elevation < 3 degrees (some atmospheric models are invalid)"}))
            << c.up << " " << c.down;
        EXPECT_EQ(w.Report(), before);
    }
}

// The budget's error code is shown once, after the new report: a required
// Eb/No of 30 dB is 11.78 dB beyond the hand budget's 18.22 dB.
TEST_F(LeoWindow, CalculationErrorAfterTheReport)
{
    TLeoLinkWin& w = LeoHandWindow([](NonGeoLinkInputRecord& r) { SetText(r.requiredTarget, "30"); });
    EXPECT_EQ(Messages(), (std::vector<std::string>{CalcErrorText(-501)}));
    EXPECT_TRUE(HasLine(w, "Excess margin\t-11.78\t-11.78\t-11.78\tdB#"));
    EXPECT_EQ(w.CalcErrorCode, 0);
}

// A frozen budget keeps its symbol rate (6.6667 Mbaud for 10 Mbps at 3/4
// with QPSK) and HPA power, and the window's record shows them.
TEST_F(LeoWindow, FrozenRateAndPowerReachTheRecord)
{
    TLeoLinkWin& w = LeoHandWindow();
    w.Budget().frozen = true;
    SetText(w.Record().rate, "20");
    w.Recalculate();
    EXPECT_EQ(Str(w.Record().rate), "6.6667");
    EXPECT_EQ(Str(w.Record().hpaPower), "0.2214");
    EXPECT_EQ(w.Record().symbolRate.Value(), 1);
    EXPECT_EQ(w.Record().infoRate.Value(), 0);
    EXPECT_TRUE(HasLine(w, "Symbol rate\t6.6667\t\t\tMbaud"));
    EXPECT_TRUE(HasLine(w, "Excess margin\t13.72\t13.72\t13.72\tdB#"));
}

std::vector<unsigned char> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The document is the version word 9012 and the 1178-byte record; it reads
// back into a new window, which recalculates it to the same report.  A file
// that breaks off leaves the inputs as they were.
TEST_F(LeoWindow, DocumentRoundTrip)
{
    TLeoLinkWin& w = LeoHandWindow();
    w.Changed = true;
    const std::string path = (app->dir / "hand.llb").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    EXPECT_FALSE(w.Changed);
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 1180u);
    EXPECT_EQ(bytes[0], 0x34);  // 9012 = 0x2334, little-endian
    EXPECT_EQ(bytes[1], 0x23);
    EXPECT_EQ(std::memcmp(bytes.data() + 2, &w.Record(), 1178), 0);
    // The uplink elevation follows the site name (41) and two 13-byte texts.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 2 + 67), "30");

    TLeoLinkWin& back = NewLeoWindow();
    ASSERT_TRUE(back.LoadFile(path.c_str()));
    EXPECT_EQ(std::memcmp(&back.Record(), &w.Record(), 1178), 0);
    EXPECT_EQ(back.Report(), w.Report());

    const std::string cut = (app->dir / "cut.llb").string();
    {
        std::ofstream out(cut, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), 600);
    }
    TLeoLinkWin& fresh = NewLeoWindow();
    const NonGeoLinkInputRecord before = fresh.Record();
    EXPECT_FALSE(fresh.LoadFile(cut.c_str()));
    EXPECT_EQ(std::memcmp(&before, &fresh.Record(), sizeof before), 0);
    EXPECT_EQ(fresh.Lines(), 0);
}

class QuietMaps final : public ItuMapLoadObserver {
public:
    int failures = 0;
    void MapLoadFailed(const std::string&) override { ++failures; }
};

// The window in the frame with the hand budget in rain over the real ITU-R
// maps, rendered to "leo-budget.png" in the build folder, and the dialog's
// pages to "leo-dialog-N.png".
TEST_F(LeoWindow, ScreenshotWithARealBudgetAndTheDialog)
{
    QuietMaps observer;
    LoadItuMaps(startDir.string(), observer);
    ASSERT_EQ(observer.failures, 0) << "the ITU-R maps are unpacked into the build folder";
    TLeoLinkWin::SetAtmosphere(nullptr);
    orbiscope::RegisterLinkBudgetSubsystem();

    auto& frame = *app->app->Frame();
    frame.resize(1000, 720);
    app->app->Dispatch(6023);
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TLeoLinkWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    lbtest::FillNamedLeoHandBudget(w->Record());
    for (ButtonState* b : {&w->Record().upClearSky, &w->Record().dnClearSky}) b->Set(0);
    for (ButtonState* b : {&w->Record().upItuAuto, &w->Record().dnItuAuto}) b->Set(1);
    w->Recalculate();
    ASSERT_GT(w->Lines(), 100);
    EXPECT_FALSE(HasLine(*w, "Availability (average year)\tN/A\tN/A\t\t%"));
    child->move(0, 0);
    child->resize(900, 600);
    QCoreApplication::processEvents();
    const QImage img = frame.grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(QString::fromStdString((startDir / "leo-budget.png").string())));

    TLeoLinkForm form(nullptr, *w);
    form.SetupWindow();
    form.show();
    for (int page = 0; page < TLeoLinkForm::kPageCount; ++page) {
        form.SelectPage(page);
        form.EnableFields(page);
        QCoreApplication::processEvents();
        EXPECT_TRUE(form.grab().toImage().save(
            QString::fromStdString((startDir / ("leo-dialog-" + std::to_string(page) + ".png")).string())));
    }
    EXPECT_FALSE(form.Control(TLeoLinkForm::kUpSiteName)->isVisible());
    form.SelectPage(0);
    form.EnableFields(0);
    EXPECT_TRUE(form.Control(TLeoLinkForm::kUpElevation)->isVisible());
    EXPECT_FALSE(form.Control(TLeoLinkForm::kDnElevation)->isVisible());
}

}  // namespace
