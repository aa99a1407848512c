// The solar-outage window: its report, its document bytes, the versions it
// opens and the inputs its form refuses.
#include <QImage>

#include "pointing/sun/solar_form_layout.h"
#include "pointing/sun/solar_out_form.h"
#include "pointing/sun/solar_out_win.h"
#include "tests/pointing/pointing_ui_support.h"
#include "tests/picture_path.h"

namespace {

using pointingtest::FillLondon;

class SolarOutWindow : public pointingtest::SunWindows {
protected:
    TSolarOutWin& NewWindow(const char* fileName = nullptr)
    {
        windows.push_back(std::make_unique<TSolarOutWin>(nullptr, nullptr, fileName));
        windows.back()->SetupWindow();
        return *windows.back();
    }
    void TearDown() override
    {
        windows.clear();
        pointingtest::SunWindows::TearDown();
    }
    std::vector<std::unique_ptr<TSolarOutWin>> windows;
};

// The whole report of a fixed site, satellite and year; the early rows are
// those the engine's golden season checks against an independent sky.
TEST_F(SolarOutWindow, GoldenReport)
{
    TSolarOutWin& w = NewWindow();
    FillLondon(w.Record());
    w.Recalculate();
    const std::vector<std::string> expected = {
        "Solar Outage Risk 2025", "Orbiscope Test Bench~", "Tuesday 5 March 2024", " ", " ",
        "Site name\tLondon", "Satellite name\tTestsat 28.2E", " ", "Notes~",
        "Local Standard Time (no daylight saving added).", "Add local daylight saving as appropriate.",
        "Valid for satellites in inclined orbits < 0.5 degrees.", " ", "Input Parameters\tValue\tUnits~",
        "Site latitude\t51.50N\tdegrees", "Site longitude\t0.12W\tdegrees", "Satellite longitude\t28.2E\tdegrees",
        "Year of interest\t2025\t-", "World time zone\t0\t-", "Antenna diameter\t1.2\tmetres",
        "Operation frequency\t11.7\tGHz", "Antenna beamwidth\tStandard\t-", " ", "Elevation\t25.40\tdegrees",
        "True azimuth\t145.45\tdegrees", " ", " ", "Early Season Group~", " ",
        "Begin Date\tBegin\tPeak\tEnd\tDepth\tClosest(deg)~", " ",
        "February 26\t10:06\t10:09\t10:12\tLow\t1.19", "February 27\t10:05\t10:09\t10:13\tMedium\t0.82",
        "February 28\t10:04\t10:09\t10:14\tHigh\t0.44", "March 1\t10:03\t10:09\t10:14\tHigh\t0.08",
        "March 2\t10:03\t10:08\t10:14\tHigh\t0.32", "March 3\t10:04\t10:08\t10:13\tMedium\t0.71",
        "March 4\t10:05\t10:08\t10:11\tLow\t1.09", " ", " ", "Late Season Group~", " ",
        "Begin Date\tBegin\tPeak\tEnd\tDepth\tClosest(deg)~", " ",
        "October 8\t09:42\t09:44\t09:45\tLow\t1.30", "October 9\t09:39\t09:43\t09:47\tLow\t0.92",
        "October 10\t09:38\t09:43\t09:48\tHigh\t0.55", "October 11\t09:37\t09:43\t09:48\tHigh\t0.17",
        "October 12\t09:37\t09:42\t09:48\tHigh\t0.22", "October 13\t09:37\t09:42\t09:47\tHigh\t0.58",
        "October 14\t09:38\t09:42\t09:46\tLow\t0.96", "October 15\t09:40\t09:42\t09:43\tLow\t1.32",
    };
    EXPECT_EQ(pointingtest::Lines(w.Report()), expected);
    EXPECT_EQ(w.EventCount, 15);
    const int c = w.AverageCharWidth;
    EXPECT_EQ(w.TabStops, (std::vector<int>{25 * c, 35 * c, 45 * c, 55 * c, 67 * c}));
    // A satellite below the horizon: the message, and the report stays.
    PutText(w.Record().satLongitude, "120.0W");
    app->messages.calls.clear();
    w.Recalculate();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Elevation|Satellite below horizon"}));
    EXPECT_EQ(pointingtest::Lines(w.Report()), expected);
}

struct FieldAt { const char* name; std::size_t offset; std::string bytes; };

// The document: version 1947, then the record's fields at their offsets.
TEST_F(SolarOutWindow, DocumentBytes)
{
    TSolarOutWin& w = NewWindow();
    FillLondon(w.Record());
    w.Record().second.Set(1);
    w.Record().minute.Set(0);
    const std::string path = (Dir() / "london.sun").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    const std::string file = pointingtest::ReadFile(path);
    ASSERT_EQ(file.size(), 187u);
    const FieldAt fields[] = {
        {"version 1947", 0, std::string("\x9b\x07", 2)},
        {"site name", 2, std::string("London\0", 7)},
        {"satellite name", 43, std::string("Testsat 28.2E\0", 14)},
        {"site latitude", 84, std::string("51.50N\0", 7)},
        {"site longitude", 97, std::string("0.12W\0", 6)},
        {"satellite longitude", 110, std::string("28.2E\0", 6)},
        {"year", 123, std::string("2025\0", 5)},
        {"zone", 136, std::string("0\0", 2)},
        {"aperture", 149, std::string("1.2\0", 4)},
        {"frequency", 162, std::string("11.7\0", 5)},
        {"Standard, Wide, minute, second, GMT, Local", 175, std::string("\1\0\0\0\0\0\1\0\0\0\1\0", 12)},
    };
    for (const auto& f : fields) EXPECT_EQ(file.substr(f.offset, f.bytes.size()), f.bytes) << f.name;
}

struct VersionCase {
    const char* name;
    std::uint16_t version;
    std::size_t words;  // radio words written after the texts
    bool opens;
    bool gmt, local;
};

const VersionCase kVersions[] = {
    {"1947 with GMT", 1947, 6, true, true, false},
    {"1946 gets Local", 1946, 4, true, false, true},
    {"1945 gets Local", 1945, 4, true, false, true},
    {"1944 refused", 1944, 6, false, false, false},
    {"1948 refused", 1948, 6, false, false, false},
    {"1947 cut short", 1947, 5, false, false, false},
};

TEST_F(SolarOutWindow, OpensItsVersions)
{
    SolarOutRecord r{};
    FillLondon(r);
    r.standard.Set(1);
    r.minute.Set(1);
    r.gmt.Set(1);
    for (const auto& c : kVersions) {
        std::string bytes(2, '\0');
        bytes[0] = char(c.version & 0xFF);
        bytes[1] = char(c.version >> 8);
        bytes.append(reinterpret_cast<const char*>(&r), 173 + 2 * c.words);
        const std::string path = WriteFile("doc.sun", bytes);
        TSolarOutWin& w = NewWindow();
        EXPECT_EQ(w.LoadFile(path.c_str()), c.opens) << c.name;
        if (!c.opens) continue;
        EXPECT_EQ(w.Record().gmt.On(), c.gmt) << c.name;
        EXPECT_EQ(w.Record().local.On(), c.local) << c.name;
        EXPECT_EQ(pointingtest::Lines(w.Report()).front(), "Solar Outage Risk 2025") << c.name;
    }
}

struct FormCase {
    const char* name;
    const char* zone;
    const char* year;
    const char* aperture;
    const char* frequency;
    bool accepted;
    const char* caption;  // of the refusal
    const char* text = nullptr;  // of the refusal, when it matters here
};

// Year 2100 and zone 14 pass, zone 14.5 does not; an aperture under 1.22
// wavelengths (0.2 m at 1.5 GHz needs 1.22 x 0.19986 = 0.2438 m) is refused,
// not searched.
const FormCase kForms[] = {
    {"zone 14, year 2100", "14", "2100", "1.2", "11.7", true, ""},
    {"zone 14.5", "14.5", "2025", "1.2", "11.7", false, "Range Error"},
    {"0.2 m at 1.5 GHz", "0", "2025", "0.2", "1.5", false, "Range Error"},   // its text: the batch test
    {"0.25 m at 1.5 GHz", "0", "2025", "0.25", "1.5", true, ""},
    // At 0.0007 GHz a wavelength is 428.3 m: 1.22 of them is 522.5 m, more
    // than the field's 50 m, so the frequency is what must change.  The
    // limit is 1.22 x 0.299792458 / 50 = 0.0073149 GHz.
    {"0.0007 GHz, any aperture", "0", "2025", "50", "0.0007", false, "Range Error",
     "Frequency\r\n0.0007 GHz is too low for any antenna aperture up to 50 m (the beam needs 1.22 wavelengths)"},
    {"0.0073 GHz, any aperture", "0", "2025", "1.2", "0.0073", false, "Range Error",
     "Frequency\r\n0.0073 GHz is too low for any antenna aperture up to 50 m (the beam needs 1.22 wavelengths)"},
    {"0.0074 GHz, 1.2 m", "0", "2025", "1.2", "0.0074", false, "Range Error",
     "Antenna aperture\r\nmust be at least 49.4252 m at 0.0074 GHz (1.22 wavelengths)"},
    {"0.0074 GHz, 50 m", "0", "2025", "50", "0.0074", true, ""},
};

TEST_F(SolarOutWindow, FormChecks)
{
    for (const auto& c : kForms) {
        SolarOutRecord r{};
        FillLondon(r);
        PutText(r.zone, c.zone);
        PutText(r.year, c.year);
        PutText(r.aperture, c.aperture);
        PutText(r.frequency, c.frequency);
        app->messages.calls.clear();
        TSolarOutForm form(nullptr, r);
        EXPECT_EQ(form.ValidateFields(r), c.accepted) << c.name;
        if (!c.accepted) {
            ASSERT_EQ(app->messages.calls.size(), 1u) << c.name;
            EXPECT_EQ(app->messages.calls[0].caption, c.caption) << c.name;
            if (c.text) {
                EXPECT_EQ(app->messages.calls[0].text, c.text) << c.name;
            }
        }
    }
}

// A document that fails its checks opens the form instead of calculating.
TEST_F(SolarOutWindow, InvalidDocumentOpensTheForm)
{
    SolarOutRecord r{};
    FillLondon(r);
    PutText(r.zone, "14.5");
    TSolarOutWin& w = NewWindow();
    w.Record() = r;
    const std::string path = (Dir() / "bad.sun").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    int opened = 0;
    platform::SetDialogDriver(TSolarOutForm::kResourceId, [&](platform::Dialog&) {
        ++opened;
        return platform::IDCANCEL;
    });
    TSolarOutWin& again = NewWindow();
    ASSERT_TRUE(again.LoadFile(path.c_str()));
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(again.Lines(), 0);
}

// A cancelled edit, by the Cancel button or by Escape, keeps its typing for
// the next opening of the form only: the record, a recalculation, the report
// and the saved document keep the last OK's values, and the document is not
// marked changed.  OK then takes the typing, recalculates and marks it.
TEST_F(SolarOutWindow, CancelledTypingShowsAgainButIsNeverSaved)
{
    for (const int end : testsupport::kCancelEnds) {
        SCOPED_TRACE(testsupport::EndName(end));
        TSolarOutWin& w = NewWindow();
        FillLondon(w.Record());
        w.Recalculate();
        const std::string report = w.Report();
        testsupport::TypeThenEnd(TSolarOutForm::kResourceId, solarform::kZone, "2", end);
        w.CmEditInputs();
        EXPECT_EQ(std::string(w.Record().zone), "0");
        EXPECT_EQ(w.Report(), report);
        EXPECT_FALSE(w.Changed);
        w.Recalculate();
        EXPECT_EQ(w.Report(), report);
        const std::string path = (Dir() / "cancelled.sun").string();
        ASSERT_TRUE(w.SaveFile(path.c_str()));
        TSolarOutWin& back = NewWindow();
        ASSERT_TRUE(back.LoadFile(path.c_str()));
        EXPECT_EQ(std::string(back.Record().zone), "0");

        std::string shown;
        testsupport::ReadThenPress(TSolarOutForm::kResourceId, solarform::kZone, shown, platform::IDOK);
        w.CmEditInputs();
        EXPECT_EQ(shown, "2");
        EXPECT_EQ(std::string(w.Record().zone), "2");
        EXPECT_NE(w.Report(), report);
        EXPECT_TRUE(w.Changed);
    }
}

// GMT output in zone +10: the Brisbane morning rows carry the GMT date; the
// first event at local 29 March 08:17 is 28 March 22:17 GMT.
TEST_F(SolarOutWindow, GmtRowsOfAnEasternZone)
{
    TSolarOutWin& w = NewWindow();
    SolarOutRecord& r = w.Record();
    FillLondon(r);
    PutText(r.siteName, "Brisbane");
    PutText(r.siteLatitude, "27.47S");
    PutText(r.siteLongitude, "153.03E");
    PutText(r.satLongitude, "160.0W");
    PutText(r.zone, "10");
    r.gmt.Set(1);
    r.local.Set(0);
    w.Recalculate();
    const auto lines = pointingtest::Lines(w.Report());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Greenwich Mean Time (GMT)."), lines.end());
    const auto heading = std::find(lines.begin(), lines.end(), "Early Season Group~");
    ASSERT_LT(heading + 4, lines.end());
    EXPECT_EQ(heading[4], "March 28\t22:17\t22:20\t22:24\tLow\t1.01");
}

// File > New > Solar Outage with its form cancelled, then the London record:
// the window in the frame as a user sees it ("solar-outage.png" in the build
// folder, docs/ holds a copy), and the form showing the window's record.
TEST_F(SolarOutWindow, NewWindowInTheFrameAndItsForm)
{
    app->app->Dispatch(6016);
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TSolarOutWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    FillLondon(w->Record());
    w->Recalculate();
    const double text = pointingtest::ShotTextShare(*app, {900, 700}, {820, 600}, TestPicture("solar-outage.png"));
    EXPECT_GT(text, pointingtest::kTextShareMin);
    EXPECT_LT(text, pointingtest::kTextShareMax);

    TSolarOutForm form(nullptr, w->Record());
    form.SetupWindow();
    form.show();
    QCoreApplication::processEvents();
    form.grab().toImage().save(QString::fromStdString(TestPicture("solar-outage-form.png").string()));
    EXPECT_EQ(form.GetControlText(200), "London");
    EXPECT_EQ(form.GetCheck(17008), 1);  // Local
}

}  // namespace
