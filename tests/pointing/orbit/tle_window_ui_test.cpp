// The satellite positions window: a ".tle" file opened through the client,
// timer ticks under a fixed clock, the options dialog, sorting, and the rows
// of sets that give no position.  The window with geo.tle is rendered to
// "tle-positions.png" in the build folder (docs/tle-positions.png is a copy).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRadioButton>
#include <QLineEdit>
#include <sstream>
#include <string>
#include <vector>

#include "framework/app/menus.h"
#include "pointing/orbit/loc_form.h"
#include "pointing/orbit/orbit_registration.h"
#include "pointing/orbit/tle_win.h"
#include "tests/pointing/pointing_ui_support.h"
#include "tests/picture_path.h"

namespace {

// Saturday 30 May 2026, 12:00:00 UTC: the real files' epochs are that day.
constexpr std::time_t kNoon20260530 = 1780142400;

std::vector<std::string> Lines(const TMyWindow& w) {
    std::vector<std::string> lines;
    std::istringstream in(w.Report());
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
    return fields;
}

// The table's rows: the lines after the column heading.
std::vector<std::vector<std::string>> Rows(const TMyWindow& w) {
    const std::vector<std::string> lines = Lines(w);
    std::vector<std::vector<std::string>> rows;
    bool inTable = false;
    for (const std::string& l : lines) {
        if (inTable) rows.push_back(Fields(l));
        if (l.rfind("Satellite\tID\t", 0) == 0) inTable = true;
    }
    return rows;
}

// Site London at 51.50N 0.13W; the real element files lie beside the
// program (orbit-data/).
class TleWindow : public pointingtest::WindowFixture {
protected:
    TleWindow() : WindowFixture(kNoon20260530, orbiscope::RegisterOrbitWindows) {}
    void EditSetUp(SetUpRecord& setup) override {
        setup.SetSiteName("London");
        setup.SetLatitude("51.50N");
        setup.SetLongitude("0.13W");
    }
    TTleWin* Open(const std::string& path) { return WindowFixture::Open<TTleWin>(path); }
    std::string DataFile(const char* name) const { return (startDir / "orbit-data" / name).string(); }
};

TEST_F(TleWindow, AFileOpensAsThePositionsTable) {
    TTleWin* w = Open(DataFile("geo.tle"));
    ASSERT_NE(w, nullptr);
    const std::vector<std::string> lines = Lines(*w);
    ASSERT_GT(lines.size(), 20u);
    EXPECT_EQ(lines[0], "NORAD TLE Satellite Positions (SGP4/SDP4 Model)");
    EXPECT_EQ(lines[1], "Orbiscope Test Bench~");
    EXPECT_NE(lines[2].find("(GMT: 12:00:00)"), std::string::npos) << lines[2];
    EXPECT_EQ(lines[4], "Site name\tLondon");
    EXPECT_EQ(lines[5], "Site latitude\t51.50N");
    EXPECT_EQ(lines[6], "Site longitude\t0.13W");
    EXPECT_EQ(lines[8], "Time offset\t0 sec.");
    EXPECT_EQ(lines[9], "Refresh rate\t1 sec.");
    EXPECT_EQ(lines[15], "Longitude W(-) or E(+) degrees");
    EXPECT_EQ(lines[17], "Satellite\tID\tInc\tLat\tLong\tAlt\tAZ\tEL\tRange~");
    const auto rows = Rows(*w);
    ASSERT_EQ(rows.size(), 574u);
    // Sorted by catalogue number; the default "String" format.
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_LE(std::stod(rows[i - 1][1]), std::stod(rows[i][1]));
    for (const auto& r : rows) {
        if (r[0] != "GOES 19") continue;
        EXPECT_EQ(r[4].back(), 'W');                   // 75.2 degrees west
        EXPECT_NEAR(std::stod(r[4]), 75.2, 0.1);
        EXPECT_NEAR(std::stod(r[5]), 35786.0, 30.0);   // altitude, km
    }
    EXPECT_TRUE(w->TimerRunning());
    EXPECT_EQ(app->app->PendingWindowType, 4);
    bool enabled = true;
    EXPECT_TRUE(w->QueryEnabler(orbiscope::CM_FILESAVE, enabled));
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(w->QueryEnabler(orbiscope::CM_FILESAVEAS, enabled));
    EXPECT_FALSE(enabled);
    const double text = pointingtest::ShotTextShare(*app, {1000, 720}, {900, 600}, TestPicture("tle-positions.png"));
    EXPECT_GT(text, pointingtest::kTextShareMin);
    EXPECT_LT(text, pointingtest::kTextShareMax);
}

std::string RowOf(const TMyWindow& w, const std::string& name) {
    for (const auto& r : Rows(w)) {
        if (r[0] == name) {
            std::string joined;
            for (const auto& f : r) joined += f + "\t";
            return joined;
        }
    }
    return "";
}

TEST_F(TleWindow, TimerTicksMoveTheTableOn) {
    TTleWin* w = Open(DataFile("stations.tle"));
    ASSERT_NE(w, nullptr);
    const std::string first = RowOf(*w, "ISS (ZARYA)");
    ASSERT_FALSE(first.empty());
    // The window's own timer: one refresh period (1 s) later.
    now += 60;
    QElapsedTimer waited;
    waited.start();
    while (Lines(*w)[2].find("(GMT: 12:01:00)") == std::string::npos && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_NE(Lines(*w)[2].find("(GMT: 12:01:00)"), std::string::npos);
    const std::string second = RowOf(*w, "ISS (ZARYA)");
    EXPECT_NE(second, first);  // the station moves 460 km a minute
    now += 60;
    w->EvTimer();
    EXPECT_NE(Lines(*w)[2].find("(GMT: 12:02:00)"), std::string::npos);
    EXPECT_NE(RowOf(*w, "ISS (ZARYA)"), second);
    EXPECT_TRUE(w->TimerRunning());
}

void ClickRadio(platform::Dialog& d, int id) { static_cast<QRadioButton*>(d.Control(id))->setChecked(true); }
void Type(platform::Dialog& d, int id, const char* text) {
    static_cast<QLineEdit*>(d.Control(id))->setText(QString::fromLatin1(text));
}

TEST_F(TleWindow, TheOptionsDialogSortsAndFormats) {
    TTleWin* w = Open(DataFile("weather.tle"));
    ASSERT_NE(w, nullptr);
    const auto byId = Rows(*w);
    platform::SetDialogDriver(TLocForm::kResourceId, [](platform::Dialog& d) {
        ClickRadio(d, TLocForm::kSortElevation);
        ClickRadio(d, TLocForm::kNumerical);
        ClickRadio(d, TLocForm::kDegreesWest);
        return platform::IDOK;
    });
    app->app->Dispatch(6121);  // F12: the active document's edit command, 6130
    const auto byElevation = Rows(*w);
    ASSERT_EQ(byElevation.size(), byId.size());
    EXPECT_NE(byElevation[0][0], byId[0][0]);
    for (std::size_t i = 1; i < byElevation.size(); ++i) {
        EXPECT_LE(std::stod(byElevation[i - 1][7]), std::stod(byElevation[i][7])) << i;
    }
    EXPECT_TRUE(Lines(*w)[15] == "Longitude degrees west");
    for (const auto& r : byElevation) {
        EXPECT_GE(std::stod(r[4]), 0.0);
        EXPECT_LE(std::stod(r[4]), 360.0);
        EXPECT_NE(r[3].back(), 'N');  // numbers, no hemisphere letters
    }

    platform::SetDialogDriver(TLocForm::kResourceId, [](platform::Dialog& d) {
        ClickRadio(d, TLocForm::kSortName);
        return platform::IDOK;
    });
    w->CmOptions();
    const auto byName = Rows(*w);
    for (std::size_t i = 1; i < byName.size(); ++i) {
        EXPECT_LE(QString::fromStdString(byName[i - 1][0]).compare(QString::fromStdString(byName[i][0]), Qt::CaseInsensitive), 0);
    }
}

TEST_F(TleWindow, TheDialogHoldsTheOffsetToOneDayAndCancelKeepsTheOptions) {
    TTleWin* w = Open(DataFile("stations.tle"));
    ASSERT_NE(w, nullptr);
    int attempts = 0;
    platform::SetDialogDriver(TLocForm::kResourceId, [&attempts](platform::Dialog& d) {
        ++attempts;
        if (attempts == 1) {
            Type(d, TLocForm::kTimeOffset, "200000");
            return platform::IDOK;  // refused: the dialog stays open
        }
        Type(d, TLocForm::kTimeOffset, "-3600");
        return platform::IDOK;
    });
    w->CmOptions();
    EXPECT_EQ(attempts, 2);
    ASSERT_FALSE(app->messages.calls.empty());
    EXPECT_EQ(app->messages.calls[0].caption, "Range Error");
    EXPECT_NE(app->messages.calls[0].text.find("Time Offset"), std::string::npos);
    EXPECT_EQ(w->TimeOffset, -3600);
    EXPECT_EQ(Lines(*w)[8], "Time offset\t-3600 sec.");

    // A cancelled edit, by the Cancel button or by Escape, changes nothing
    // the table shows; its typing comes back at the next opening only.
    for (const int end : testsupport::kCancelEnds) {
        SCOPED_TRACE(testsupport::EndName(end));
        platform::SetDialogDriver(TLocForm::kResourceId, [end](platform::Dialog& d) {
            Type(d, TLocForm::kSiteName, "Nowhere");
            Type(d, TLocForm::kLatitude, "95N");
            return testsupport::End(d, end);
        });
        w->CmOptions();
        w->EvTimer();
        EXPECT_EQ(Lines(*w)[4], "Site name\tLondon");
        EXPECT_EQ(Lines(*w)[5], "Site latitude\t51.50N");
        std::string shown;
        platform::SetDialogDriver(TLocForm::kResourceId, [&shown](platform::Dialog& d) {
            shown = d.GetControlText(TLocForm::kSiteName) + " " + d.GetControlText(TLocForm::kLatitude);
            Type(d, TLocForm::kSiteName, "London");
            Type(d, TLocForm::kLatitude, "51.50N");
            return int(platform::IDCANCEL);
        });
        w->CmOptions();
        EXPECT_EQ(shown, "Nowhere 95N");
    }
}

// A set whose checksum fails shows its catalogue number and the reason in
// its row; the sets after it are still shown (the reasons of each state are
// checked in the positions engine's tests).
TEST_F(TleWindow, ABadSetShowsItsMessageInItsRow) {
    const std::string l1 = "1 25544U 98067A   26150.51748228  .00011776  00000+0  21767-3 0  9998";
    const std::string l2 = "2 25544  51.6337  27.5746 0007245 114.7080 245.4664 15.49496548569014";
    const std::string text = "GOOD\n" + l1 + "\n" + l2 + "\nBAD SUM\n" + l1.substr(0, 68) + "0\n" + l2 +
                             "\nAFTER\n" + l1 + "\n" + l2 + "\n\n";
    TTleWin* w = Open(WriteFile("mixed.tle", text));
    ASSERT_NE(w, nullptr);
    EXPECT_NE(RowOf(*w, "BAD SUM").find("25544\tTLE file checksum error"), std::string::npos);
    EXPECT_EQ(Fields(RowOf(*w, "AFTER")).size(), 9u);
    EXPECT_EQ(Fields(RowOf(*w, "GOOD")).size(), 9u);
}

// One box each: a file that is no element file, and one past the element
// files' limit (its first set good, then a sparse end) refused for its size.
TEST_F(TleWindow, AFileThatIsNoElementFileIsRefused) {
    const std::string l1 = "1 25544U 98067A   26150.51748228  .00011776  00000+0  21767-3 0  9998";
    const std::string l2 = "2 25544  51.6337  27.5746 0007245 114.7080 245.4664 15.49496548569014";
    const struct {
        const char* what;
        std::string text;
        std::uintmax_t grownTo;
        const char* caption;
        std::string message;  // after the file's name
    } cases[] = {
        {"no element file", "NAME\n1 25544U short line\n", 0, orbiscope::kMainTitle, ""},
        {"past the limit", "GOOD\n" + l1 + "\n" + l2 + "\n", (std::uintmax_t{64} << 20) + 1, "File Too Large",
         "\r\nThis file is larger than 64 MB, more than an element-set file holds: it was not read."},
    };
    for (const auto& c : cases) {
        const std::string path = WriteFile("broken.tle", c.text);
        if (c.grownTo) std::filesystem::resize_file(path, c.grownTo);
        app->messages.calls.clear();
        app->app->Client()->OpenFile(path.c_str());
        QCoreApplication::processEvents();
        ASSERT_EQ(app->messages.calls.size(), 1u) << c.what;
        EXPECT_EQ(app->messages.calls[0].caption, c.caption) << c.what;
        EXPECT_EQ(app->messages.calls[0].text, (c.grownTo ? path : "Cannot read file " + path) + c.message) << c.what;
    }
}

}  // namespace
