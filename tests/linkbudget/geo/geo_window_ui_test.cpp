// The GEO link-budget window: a new window's inputs, its registration and
// file filter, the window type it records, and the recalculation's stops,
// warnings and error messages.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/output/docfile.h"
#include "linkbudget/registration.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

using lbtest::HasLine;

class UpLinkWindow : public lbtest::WindowFixture {};

template <std::size_t N>
std::string Str(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

TEST_F(UpLinkWindow, NewWindowDefaults)
{
    TUpLinkWin& w = NewWindow();
    const GeoLinkInputRecord& r = w.Record();
    const struct { const char* name; std::string got; const char* want; } texts[] = {
        {"HPA power W", Str(r.hpaPower), "MIN"},
        {"uplink altitude", Str(r.upAltitude), "AUTO"},
        {"carriers per HPA", Str(r.carriersPerHpa), "1"},
        {"downlink altitude", Str(r.dnAltitude), "AUTO"},
        {"downlink availability", Str(r.dnAvailability), "AUTO"},
        {"antenna noise", Str(r.antennaNoise), "AUTO"},
        {"transponder OBO", Str(r.transponderObo), "AUTO"},
        {"C/IM", Str(r.cim), "AUTO"},
        {"carriers per transponder", Str(r.carriersPerTransponder), "AUTO"},
        {"spreading gain", Str(r.spreadingGain), "0"},
        {"implementation loss", Str(r.implementationLoss), "0"},
        {"M", Str(r.modulationOrder), "4"},
        {"modcod", Str(r.modcodText), "Manual"},
        {"transponder IBO", Str(r.transponderIbo), ""},
        {"uplink site", Str(r.upSiteName), ""},
        {"FEC", Str(r.fecRate), ""},
    };
    for (const auto& t : texts) EXPECT_EQ(t.got, t.want) << t.name;
    const struct { const char* name; const ButtonState& state; int want; } states[] = {
        {"LTWTA", r.ltwta, 1}, {"TWTA", r.twta, 0}, {"SSPA", r.sspa, 0},
        {"M-(A)PSK", r.mapsk, 1}, {"1 bit/symbol", r.oneBitPerSymbol, 0}, {"M-QAM", r.mqam, 0},
        {"Eb/No", r.targetEbNo, 1}, {"Es/No", r.targetEsNo, 0},
        {"Info rate", r.infoRate, 1}, {"Symbol rate", r.symbolRate, 0},
        {"ITU-R (auto) up", r.upItuAuto, 1}, {"ITU-R (auto) down", r.dnItuAuto, 1},
        {"Clear sky up", r.upClearSky, 0}, {"dual fade", r.dualFade, 0},
        {"depolarization up", r.upDepolarization, 1}, {"depolarization down", r.dnDepolarization, 1},
        {"XPI co-located", r.xpiColocated, 1},
        {"Csat/Io up", r.upCsatIoUnits, 1}, {"C/I up", r.upCiUnits, 0},
        {"Csat/Io down", r.dnCsatIoUnits, 1}, {"C/I down", r.dnCiUnits, 0},
    };
    for (const auto& s : states) EXPECT_EQ(s.state.Value(), s.want) << s.name;
    EXPECT_EQ(w.TabStops, (std::vector<int>{280, 350, 420, 490}));
    EXPECT_EQ(w.DialogPage, 0);
    EXPECT_FALSE(w.Budget().frozen);
    EXPECT_FALSE(w.UpInterferenceCI);
    EXPECT_FALSE(w.DnInterferenceCI);
    EXPECT_TRUE(w.Budget().suggestion.empty());
    EXPECT_EQ(w.Lines(), 0);
    EXPECT_FALSE(w.Changed);
}

TEST_F(UpLinkWindow, FileFilterAndWindowType)
{
    TUpLinkWin& w = NewWindow();
    w.SetupWindow();
    EXPECT_EQ(w.FileData.filter, "GEO Link Budget (*.glb)|*.glb");
    EXPECT_EQ(w.FileData.defaultExt, "glb");
    EXPECT_TRUE(w.FileData.overwritePrompt);
    app->app->PendingWindowType = 0;
    w.EvSetFocus();
    EXPECT_EQ(app->app->PendingWindowType, 10);
    bool enabled = false;
    ASSERT_TRUE(w.QueryEnabler(TUpLinkWin::kEditCommand, enabled));
    EXPECT_TRUE(enabled);
}

// File > New > GEO link budget makes a TUpLinkWin and opens its dialog,
// which (nobody answering) is cancelled: an empty window stays.
TEST_F(UpLinkWindow, RegisteredAsTheGeoWindow)
{
    orbiscope::RegisterLinkBudgetSubsystem();
    const auto* factory = orbiscope::FindWindowFactory(10);
    ASSERT_NE(factory, nullptr);
    app->app->Dispatch(6014);
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TUpLinkWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Lines(), 0);
    EXPECT_FALSE(w->Changed);
}

struct ElevationCase {
    const char* satellite;
    bool reportReplaced;
    std::vector<std::string> messages;
};

// 40N 0E looking at 78E sees the satellite about half a degree up; at 73E
// about 4.4 degrees.  Below 3 degrees the previous report stays.
TEST_F(UpLinkWindow, LowElevationStopsOrWarns)
{
    const ElevationCase cases[] = {
        {"78.00E", false, {"ERROR: Elevation < 3 degrees (some atmospheric models are invalid)"}},
        // Both sites warn, the uplink first; after an uplink stop the downlink is not looked at.
        {"73.00E", true,
         {"Warning: Elevation < 5 degrees (some atmospheric model results may be invalid)",
          "Warning: Elevation < 5 degrees (some atmospheric model results may be invalid)"}},
        {"10.00E", true, {}},
    };
    for (const ElevationCase& c : cases) {
        TUpLinkWin& w = HandWindow();
        const std::string before = w.Report();
        app->messages.calls.clear();
        SetText(w.Record().satLongitude, c.satellite);
        SetText(w.Record().dnLatitude, "40.00N");
        SetText(w.Record().dnLongitude, "0.00E");
        w.Recalculate();
        EXPECT_EQ(Messages(), c.messages) << c.satellite;
        EXPECT_EQ(w.Report() != before, c.reportReplaced) << c.satellite;
        for (const auto& call : app->messages.calls) EXPECT_EQ(call.caption, "Elevation");
    }
}

// An error code of the budget is shown once, after the new report is built.
TEST_F(UpLinkWindow, CalculationErrorAfterTheReport)
{
    TUpLinkWin& w = NewWindow();
    FillHandBudget(w.Record());
    SetText(w.Record().requiredTarget, "30");
    w.Recalculate();
    EXPECT_EQ(Messages(), (std::vector<std::string>{CalcErrorText(-501)}));
    EXPECT_TRUE(HasLine(w, "Excess margin\t-13.15\t-13.15\t-13.15\tdB#"));
    EXPECT_EQ(w.CalcErrorCode, 0);
}

}  // namespace
