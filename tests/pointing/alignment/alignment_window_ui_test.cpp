// The look-angles and dual-feed windows in the program: File > New with the
// town and satellite pickers, the report, saving and reopening documents of
// every version, refused files, field checks and the messages of a
// calculation that cannot be made.  The two windows are rendered to
// "look-angles.png" and "dual-feed.png" in the build folder (docs/ holds
// copies).
#include <gtest/gtest.h>

#include <QFocusEvent>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "alignment_fixtures.h"
#include "alignment_golden.h"
#include "framework/databases/pickers.h"
#include "framework/output/window_report.h"
#include "pointing/alignment/alignment_registration.h"
#include "pointing/alignment/alignment_reports.h"
#include "pointing/alignment/angle_form.h"
#include "pointing/alignment/angle_win.h"
#include "pointing/alignment/dual_form.h"
#include "pointing/alignment/dual_win.h"
#include "tests/framework/databases/db_support.h"
#include "tests/pointing/pointing_ui_support.h"
#include "tests/picture_path.h"

namespace {

using dbtest::Presses;
using dbtest::Satellite;
using dbtest::Town;

// Sunday 15 March 2026, 12:00 UTC, as in the engine's golden reports.
constexpr std::time_t kFixedClock = 1773576000;
constexpr int kNewLookAngles = 6010;
constexpr int kNewDualFeed = 6011;

std::string Field(const char* text, std::size_t width)
{
    std::string f(text);
    f.resize(width, '\0');
    return f;
}

// Madrid 40 25'N 3 42'W, London 51 31'N 0 08'W and three satellites in the
// place files of the program folder.
class AlignmentWindows : public pointingtest::WindowFixture {
protected:
    AlignmentWindows() : WindowFixture(kFixedClock, orbiscope::RegisterAlignmentWindows) {}
    void SetUp() override
    {
        WindowFixture::SetUp();
        dbtest::WriteBytes(Dir() / "Spain.twn", TownFileBytes({Town("Spain", 0, 0), Town("Madrid", 40.25f, -3.42f)}));
        dbtest::WriteBytes(Dir() / "United Kingdom.twn",
                           TownFileBytes({Town("United Kingdom", 0, 0), Town("London", 51.31f, -0.08f)}));
        dbtest::WriteBytes(Dir() / "satlist.geo",
                           SatelliteFileBytes({Satellite("", 0, ""), Satellite("Astra 2E", 28.2f, "Ku"),
                                               Satellite("Hispasat 30W", -30.0f, "Ku"),
                                               Satellite("Hotbird 13E", 13.0f, "Ku")}));
    }

    // The country selector picks `file`; the town list confirms its first town.
    void PickTownFrom(const char* file)
    {
        platform::SetDialogDriver(TGetCountryDlg::kResourceId, Presses({platform::IDOK}, [file](platform::Dialog& d, int) {
                                      for (int i = 0; i < d.ListCount(TGetCountryDlg::kList); ++i)
                                          if (d.ListString(TGetCountryDlg::kList, i) == file)
                                              d.ListSetSelIndex(TGetCountryDlg::kList, i);
                                  }));
        platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}));
    }
    // The satellite list confirms the satellites at these list lines, one per run.
    void PickSatellites(std::vector<int> lines)
    {
        auto next = std::make_shared<std::size_t>(0);
        platform::SetDialogDriver(TGetSatDlg::kResourceId, [lines, next](platform::Dialog& d) {
            d.ListSetSelIndex(TGetSatDlg::kList, lines[*next % lines.size()]);
            ++*next;
            return int(platform::IDOK);
        });
    }
    TAngleWin* NewMadridWindow()
    {
        PickTownFrom("Spain.twn");
        PickSatellites({1});   // Hispasat 30W
        platform::SetDialogDriver(TAngleForm::kResourceId,
                                  Presses({TAngleForm::kSiteButton, TAngleForm::kSatelliteButton, platform::IDOK},
                                          [](platform::Dialog& d, int step) {
                                              if (step != 2) return;
                                              d.SetControlText(TAngleForm::kInclination, "2.5");
                                              d.SetControlText(TAngleForm::kPolarizationCant, "5");
                                              d.SetControlText(TAngleForm::kOffsetFocusAngle, "22.3");
                                          }));
        app->app->Dispatch(kNewLookAngles);
        QCoreApplication::processEvents();
        return ActiveWindow<TAngleWin>();
    }
    // The active window in the frame as a user sees it, saved to `name`: a
    // painted report shows its text.
    void Screenshot(const char* name)
    {
        const double text = pointingtest::ShotTextShare(*app, {1000, 900}, {900, 820}, TestPicture(name));
        EXPECT_GT(text, pointingtest::kTextShareMin);
        EXPECT_LT(text, pointingtest::kTextShareMax);
    }
};

// ---- look angles ------------------------------------------------------------

// File > New with the pickers gives the golden report; saved, the document is
// version 1942 then the texts at 2, 43, 84, 97, 110, 123, 136 and 149, and
// reopens with the same report; a satellite below the horizon keeps it.
TEST_F(AlignmentWindows, NewLookAnglesSavedReopenedAndRecalculated)
{
    TAngleWin* w = NewMadridWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Report(), std::string(aligntest::kMadridReport));
    EXPECT_TRUE(w->Changed);
    EXPECT_TRUE(app->messages.calls.empty());
    Screenshot("look-angles.png");

    const std::string path = (Dir() / "madrid.ang").string();
    ASSERT_TRUE(w->SaveFile(path.c_str()));
    EXPECT_FALSE(w->Changed);
    const std::string expected = std::string("\x96\x07", 2) + Field("Madrid, Spain", 41) + Field("Hispasat 30W", 41) +
                                 Field("40.42N", 13) + Field("3.70W", 13) + Field("30.00W", 13) + Field("2.5", 13) +
                                 Field("5", 13) + Field("22.3", 13);
    EXPECT_EQ(pointingtest::ReadFile(path), expected);
    TAngleWin* reopened = Open<TAngleWin>(path);
    ASSERT_NE(reopened, nullptr);
    ASSERT_NE(reopened, w);
    EXPECT_EQ(reopened->Report(), std::string(aligntest::kMadridReport));
    EXPECT_FALSE(reopened->Changed);
    EXPECT_TRUE(reopened->SaveFile((Dir() / "again.ang").c_str()));
    EXPECT_EQ(pointingtest::ReadFile((Dir() / "again.ang").string()), expected);

    PutText(reopened->Record().satelliteLongitude, "120.0W");
    reopened->Recalculate();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Elevation|Satellite below horizon"});
    EXPECT_EQ(reopened->Report(), std::string(aligntest::kMadridReport));
}

TEST_F(AlignmentWindows, ADocumentThatFailsAFieldCheckOpensTheDialog)
{
    int runs = 0;
    platform::SetDialogDriver(TAngleForm::kResourceId, [&](platform::Dialog& d) {
        ++runs;
        EXPECT_EQ(d.GetControlText(TAngleForm::kSiteLatitude), "95.00N");
        return int(platform::IDCANCEL);
    });
    const std::string path = WriteFile("bad.ang", std::string("\x96\x07", 2) + Field("Pole", 41) + Field("Sat", 41) +
                                                      Field("95.00N", 13) + Field("3.70W", 13) + Field("30.0W", 13) +
                                                      Field("0", 13) + Field("0", 13) + Field("0", 13));
    TAngleWin* w = Open<TAngleWin>(path);
    ASSERT_NE(w, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(w->Lines(), 0);
    EXPECT_TRUE(app->messages.calls.empty());   // the check was silent
}

// Which files are refused is the readers' test; here the window says so.
TEST_F(AlignmentWindows, UnreadableDocumentsAreRefusedWithTheirMessage)
{
    const std::string shortFile = WriteFile("short.duo", std::string("\xc8\x07", 2) + Field("London", 41));
    const std::string newer = WriteFile("newer.ang", std::string("\x97\x07", 2) + std::string(160, '\0'));
    for (const std::string& path : {shortFile, newer}) {
        app->messages.calls.clear();
        app->app->Client()->OpenFile(path.c_str());
        QCoreApplication::processEvents();
        ASSERT_FALSE(app->messages.calls.empty());
        EXPECT_EQ(app->messages.calls.back().text, "Cannot read file " + path);
    }
}

// ---- dual feed --------------------------------------------------------------

// Focus on an entry as a click would give it.
void FocusEntry(platform::Dialog& d, int id)
{
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(d.Control(id), &in);
}

TEST_F(AlignmentWindows, NewDualFeedFillsEachSatelliteFromTheFieldLastFocused)
{
    PickTownFrom("United Kingdom.twn");
    PickSatellites({0, 2});   // Astra 2E, then Hotbird 13E
    using F = TDualForm;
    platform::SetDialogDriver(F::kResourceId,
                              Presses({F::kSiteButton, F::kSatelliteButton, F::kSatelliteButton, platform::IDOK},
                                      [](platform::Dialog& d, int step) {
                                          if (step == 1) FocusEntry(d, F::kPrimaryLongitude);
                                          if (step == 2) FocusEntry(d, F::kSecondaryName);
                                          if (step != 3) return;
                                          d.SetControlText(F::kAperture, "0.9");
                                          d.SetControlText(F::kEfficiency, "65");
                                          d.SetControlText(F::kFrequency, "11.7");
                                          d.SetControlText(F::kFOverD, "0.6");
                                          d.SetControlText(F::kBeamfactor, "0.9");
                                      }));
    app->app->Dispatch(kNewDualFeed);
    QCoreApplication::processEvents();
    TDualWin* w = ActiveWindow<TDualWin>();
    ASSERT_NE(w, nullptr);
    const DualFeedInputRecord& r = w->Record();
    EXPECT_STREQ(r.siteName, "London, United Kingdom");
    EXPECT_STREQ(r.siteLatitude, "51.52N");
    EXPECT_STREQ(r.siteLongitude, "0.13W");
    EXPECT_STREQ(r.primaryName, "Astra 2E");
    EXPECT_STREQ(r.primaryLongitude, "28.20E");
    EXPECT_STREQ(r.secondaryName, "Hotbird 13E");
    EXPECT_STREQ(r.secondaryLongitude, "13.00E");
    EXPECT_EQ(app->app->LastFocusedEntry, F::kSecondaryName);
    // The window shows the report of its record on the application's date.
    std::string expected;
    std::int32_t lines = 0;
    ReportWriter line(expected, lines);
    WriteDualFeedReport(line, {"Orbiscope Test Bench", "Sunday 15 March 2026"}, r,
                        ComputeDualFeed(ParseDualFeedRecord(r)));
    EXPECT_EQ(w->Report(), expected);
    EXPECT_NE(w->Report().find("Antenna squint gain loss\t1.80\tdB\n"), std::string::npos);
    Screenshot("dual-feed.png");
}

// A version-1990 document (an unused 13-byte field after the site
// longitude, offset 138 + 13) opens with the golden report and is saved in
// the current layout, version 1992; every version is the reader's test.
TEST_F(AlignmentWindows, DualFeedDocumentOpensAndSavesInTheCurrentLayout)
{
    const DualFeedInputRecord r = aligntest::SydneyDualRecord();
    const std::string body(reinterpret_cast<const char*>(&r), sizeof r);
    TDualWin* w = Open<TDualWin>(WriteFile("v1990.duo", std::string("\xc6\x07", 2) + body.substr(0, 149) +
                                                        Field("unused", 13) + body.substr(149)));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Report(), std::string(aligntest::kSydneyDualReport));
    const std::string saved = (Dir() / "saved.duo").string();
    ASSERT_TRUE(w->SaveFile(saved.c_str()));
    EXPECT_EQ(pointingtest::ReadFile(saved), std::string("\xc8\x07", 2) + body);
}

TEST_F(AlignmentWindows, SquintBeyondTenBeamwidthsIsRefused)
{
    TDualWin w(nullptr, nullptr, nullptr);
    w.Record() = aligntest::SydneyDualRecord();
    PutText(w.Record().efficiency, "65");
    w.Recalculate();
    ASSERT_GT(w.Lines(), 0);
    const std::string before = w.Report();
    // 9.6 m at 12.5 GHz: 0.175 degree beams, 6.83 degrees is 39 of them
    PutText(w.Record().aperture, "9.6");
    app->messages.calls.clear();
    w.Recalculate();
    ASSERT_EQ(app->messages.calls.size(), 1u);
    EXPECT_EQ(app->messages.calls[0].caption, "Excessive Scan Angle");
    EXPECT_EQ(app->messages.calls[0].text, "Beamwidths scanned > 10");
    EXPECT_EQ(w.Report(), before);
}

// The first failing field is reported with its label, range and unit.
TEST_F(AlignmentWindows, FieldChecksOfBothDialogs)
{
    const struct { bool dual; int control; const char* text; const char* caption; const char* message; } cases[] = {
        {false, TAngleForm::kSiteName, "", "Empty Field Error", "Site name"},
        {false, TAngleForm::kSiteLatitude, "91.00N", "Range Error", "Site latitude\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S"},
        {false, TAngleForm::kInclination, "20.5", "Range Error", "Inclination\r\nRange -20.000000 to 20.000000 \xB0"},
        {false, TAngleForm::kOffsetFocusAngle, "-90.5", "Range Error",
         "Offset Focus Angle\r\nRange -90.000000 to 90.000000 \xB0"},
        {true, TDualForm::kSecondaryName, "", "Empty Field Error", "Secondary satellite name"},
        {true, TDualForm::kEfficiency, "5", "Range Error", "Antenna efficiency\r\nRange 10.000000 to 100.000000 %"},
        {true, TDualForm::kFrequency, "56", "Range Error", "Frequency\r\nRange 0.000700 to 55.000000 GHz"},
        {true, TDualForm::kFOverD, "0.2", "Range Error", "f/D ratio\r\nRange 0.250000 to 1.000000 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        LookAngleInputRecord angle = aligntest::MadridRecord();
        DualFeedInputRecord dual = aligntest::SydneyDualRecord();   // "+38.5" passes as a number in range
        std::unique_ptr<TForm> form;
        if (c.dual)
            form = std::make_unique<TDualForm>(nullptr, dual);
        else
            form = std::make_unique<TAngleForm>(nullptr, angle);
        form->SetupWindow();
        app->messages.calls.clear();
        EXPECT_TRUE(form->CanClose());
        form->SetControlText(c.control, c.text);
        EXPECT_FALSE(form->CanClose());
        ASSERT_EQ(app->messages.calls.size(), 1u);
        EXPECT_EQ(app->messages.calls[0].caption, c.caption);
        EXPECT_EQ(app->messages.calls[0].text, c.message);
    }
}

}  // namespace
