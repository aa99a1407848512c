// The table window: every Table command opens its form and, on OK, shows
// its table; a cancelled form or an unreadable list closes the new window;
// a table is no document.
#include <QImage>

#include "framework/app/menus.h"
#include "platform/command.h"
#include "rftools/graphs/graph_forms.h"
#include "tables_ui_support.h"

namespace {

using tablesui::Fill;

struct CommandCase {
    int command;
    int dialog;            // 0: the table has no form
    Fill fill;
    bool countryFile;      // a country is chosen after the form
    const char* title;     // report line 0
    const char* caption;
};

void FillTemplate(platform::Dialog& d)
{
    tablesui::SetTexts(d, {{14027, "1.2"}, {14028, "65"}, {208, "12"}, {691, "1"}});
    d.SetCheck(2657, 1);
    d.SetCheck(2659, 1);
}

const CommandCase kCommands[] = {
    {6410, 0, {}, false, "Noise Figures (290K)", "Noise Figures"},
    {6411, TSatPosForm::kResourceId,
     [](platform::Dialog& d) { tablesui::SetTexts(d, {{206, "28.2E"}, {207, "0"}}); }, true,
     "Look Angle Table: Testland", "28.2E Look Angles : Testland"},
    {6412, TRecSiteForm::kResourceId,
     [](platform::Dialog& d) {
         tablesui::SetTexts(d, {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {1380, "5"}});
     },
     false, "Satellites (Ku,Band) > 5 Degrees EL", "Visible Satellites (51.50N,0.12W)"},
    {6426, TRecSiteForm2::kResourceId,
     [](platform::Dialog& d) {
         tablesui::SetTexts(d, {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {232, "Madrid"},
                                                {233, "40.42N"}, {234, "3.70W"}, {1380, "5"}});
     },
     false, "Satellites (Ku,Band) > 5 Degrees EL", "Satellites Visible (2 Sites)"},
    {6413, TDualTabForm::kResourceId,
     [](platform::Dialog& d) {
         tablesui::SetTexts(d, {{201, "Alpha"}, {229, "Beta"}, {206, "28.2E"}, {2863, "19.2E"}, {14027, "1.2"},
                                {8704, "0.6"}, {8705, "1.1"}});
     },
     true, "Dual Feed Table: Testland", "Dual Feeds: Testland"},
    {6414, 0, {}, false, "Modified Polar Mount Settings", "Polar Mount Angles"},
    {6415, TSolarTransitForm::kResourceId,
     [](platform::Dialog& d) {
         tablesui::SetTexts(d, {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {17001, "0"},
                                                {107, "0.12W"}, {105, "2"}, {106, "2024"}});
     },
     false, "Solar Transit Times (2/2024)", "Solar Transit Times (2/2024)"},
    {6417, TFreqForm::kResourceId, [](platform::Dialog& d) { tablesui::SetTexts(d, {{208, "12"}}); }, false,
     "-3dB Beamwidths 12.00 GHz", "Beamwidths -3dB (12.00 GHz)"},
    {6419, TFreqForm::kResourceId, [](platform::Dialog& d) { tablesui::SetTexts(d, {{208, "12"}}); }, false,
     "Antenna Gain at 12.00 GHz", "Gain (12.00 GHz)"},
    {6420, TBeamForm::kResourceId, [](platform::Dialog& d) { tablesui::SetTexts(d, {{208, "12"}, {14027, "1"}}); },
     false, "Illumination & Beamwidth Data", "Illumination (1.00m,12.00GHz)"},
    {6421, TAntSysSmallForm::kResourceId,
     [](platform::Dialog& d) { tablesui::SetTexts(d, {{208, "12"}, {311, "150"}, {14002, "36"}}); },
     false, "Antenna Apertures (m) at 12.00 GHz", "Ant. Size at 12.00 GHz"},
    {6422, TBerForm::kResourceId, [](platform::Dialog& d) { tablesui::SetTexts(d, {{4738, "-5"}}); },
     false, "Comparison of Digital Modulation Schemes", "Digital Modulation (Log(BER) = -5)"},
    {6428, TTemplateForm::kResourceId, FillTemplate, false,
     "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8", "Off Axis Antenna Gain"},
};

const CommandCase& Command(int id)
{
    return *std::find_if(std::begin(kCommands), std::end(kCommands), [id](const CommandCase& c) { return c.command == id; });
}

class TableWindow : public tablesui::TableFixture {};

TEST_F(TableWindow, EveryCommandShowsItsTable)
{
    for (const CommandCase& c : kCommands) {
        SCOPED_TRACE(c.command);
        if (c.dialog) Drive(c.dialog, c.fill);
        if (c.countryFile) ChooseCountry("Testland.twn");
        TTableWin* w = Run(c.command);
        ASSERT_NE(w, nullptr);
        ASSERT_GT(w->Lines(), 3);
        EXPECT_EQ(tablestest::Lines(w->Report())[0], c.title);
        EXPECT_EQ(tablestest::Lines(w->Report())[1], "Orbiscope Test Bench~");
        EXPECT_EQ(Caption(*w), c.caption);
        EXPECT_FALSE(w->TabStops.empty());
        EXPECT_EQ(app->app->PendingWindowType, TTableWin::kWindowType);
        EXPECT_TRUE(Messages().empty());
        platform::ClearDialogDrivers();
    }
    EXPECT_EQ(OpenWindows(), std::size(kCommands)) << "every command makes a new window";
}

TEST_F(TableWindow, CancelledFormLeavesNoWindowAndAsksNothing)
{
    for (const CommandCase& c : kCommands) {
        if (!c.dialog) continue;
        SCOPED_TRACE(c.command);
        Drive(c.dialog, c.fill, platform::IDCANCEL);
        EXPECT_EQ(Run(c.command), nullptr);
        EXPECT_EQ(OpenWindows(), 0u);
        platform::ClearDialogDrivers();
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TableWindow, CancelledCountryChoiceLeavesNoWindow)
{
    Drive(TSatPosForm::kResourceId, Command(6411).fill);
    Drive(TGetCountryDlg::kResourceId, {}, platform::IDCANCEL);
    EXPECT_EQ(Run(6411), nullptr);
    EXPECT_EQ(OpenWindows(), 0u);
    EXPECT_TRUE(Messages().empty());
}

struct ListFailure {
    const char* name;
    int command;
    const char* file;        // written over the list with these bytes
    std::string bytes;
    bool remove;
    std::string message;     // caption|text
};

TEST_F(TableWindow, UnreadableListsAreSaidAndCloseTheWindow)
{
    const std::string satlist = SatelliteFileBytes(SatList());
    const std::string wrongVersion = std::string("\xca\x07", 2) + satlist.substr(2);  // 1994
    const ListFailure kFailures[] = {
        {"satlist.geo missing", 6412, "satlist.geo", "", true, "Unable to open file|satlist.geo"},
        {"satlist.geo of another version", 6412, "satlist.geo", wrongVersion, false,
         std::string(orbiscope::kMainTitle) + "|Cannot read file satlist.geo"},
        {"satlist.geo short of its count", 6426, "satlist.geo", satlist.substr(0, satlist.size() - 1), false,
         std::string(orbiscope::kMainTitle) + "|Cannot read file satlist.geo"},
        {"country file short of its count", 6411, "Testland.twn", TownFileBytes(Testland()).substr(0, 40), false,
         std::string(orbiscope::kMainTitle) + "|Cannot read file Testland.twn"},
    };
    for (const ListFailure& f : kFailures) {
        SCOPED_TRACE(f.name);
        WriteFile("satlist.geo", satlist);
        WriteFile("Testland.twn", TownFileBytes(Testland()));
        if (f.remove) std::filesystem::remove(app->dir / f.file);
        else WriteFile(f.file, f.bytes);
        const CommandCase& c = Command(f.command);
        Drive(c.dialog, c.fill);
        if (c.countryFile) ChooseCountry("Testland.twn");
        app->messages.calls.clear();
        EXPECT_EQ(Run(f.command), nullptr);
        EXPECT_EQ(OpenWindows(), 0u);
        EXPECT_EQ(Messages(), std::vector<std::string>{f.message});
        platform::ClearDialogDrivers();
    }
}

TEST_F(TableWindow, NoSatelliteFoundClosesTheWindow)
{
    Drive(TRecSiteForm::kResourceId, [](platform::Dialog& d) {
        tablesui::SetTexts(d, {{200, "Sydney"}, {202, "33.87S"}, {203, "151.21E"}, {1380, "5"}});
    });
    EXPECT_EQ(Run(6412), nullptr);
    EXPECT_EQ(OpenWindows(), 0u);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Visible Satellites|None found"});
}

TEST_F(TableWindow, SatelliteBelowTheHorizonClosesTheTransitTable)
{
    Drive(TSolarTransitForm::kResourceId, [](platform::Dialog& d) {
        tablesui::SetTexts(d, {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {17001, "0"}, {107, "150.0W"}, {105, "3"},
                       {106, "2024"}});
    });
    EXPECT_EQ(Run(6415), nullptr);
    EXPECT_EQ(OpenWindows(), 0u);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Elevation|Satellite below horizon"});
}

// An aperture under 1.22 wavelengths has no beam to tabulate.
TEST_F(TableWindow, IlluminationRefusesAnApertureWithoutABeam)
{
    Drive(TBeamForm::kResourceId, [](platform::Dialog& d) { tablesui::SetTexts(d, {{208, "0.1"}, {14027, "3"}}); });
    EXPECT_EQ(Run(6420), nullptr);
    EXPECT_EQ(OpenWindows(), 0u);
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Range Error|Antenna aperture\r\nmust be at least 3.6575 m at 0.1 GHz (1.22 wavelengths)"});
}

// Cross-polar asked of the combined template: said, then the co-polar table.
TEST_F(TableWindow, OffAxisCrossPolarOfTheCombinedTemplate)
{
    Drive(TTemplateForm::kResourceId, [](platform::Dialog& d) {
        FillTemplate(d);
        d.SetCheck(2656, 1);
    });
    TTableWin* w = Run(6428);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Cross-polar Option Invalid|Only co-polar is defined in AP8/S.580"});
    EXPECT_EQ(tablestest::Lines(w->Report())[0], "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8");
}

TEST_F(TableWindow, TableIsNoDocument)
{
    TTableWin* w = Run(6414);
    ASSERT_NE(w, nullptr);
    for (int id : {orbiscope::CM_FILESAVE, orbiscope::CM_FILESAVEAS})
        EXPECT_FALSE(platform::CommandEnabledOn({w}, id)) << id;
    for (int id : {orbiscope::CM_SAVETABBED, orbiscope::CM_SAVEHTML, orbiscope::CM_EDITCOPY})
        EXPECT_TRUE(platform::CommandEnabledOn({w}, id)) << id;
    EXPECT_EQ(w->HeadingFont.face, "Courier New");
    EXPECT_EQ(w->BodyFont.height, 12);
    EXPECT_EQ(w->HeadingFont.weight, 700);
    EXPECT_EQ(w->BodyFont.weight, 300);
}

// The tab stops are the table's column widths in the body font's average
// character widths, or the absolute stop in pixels.
TEST_F(TableWindow, TabStopsInTheWindowsUnits)
{
    TTableWin* w = Run(6414);
    ASSERT_NE(w, nullptr);
    const int c = w->AverageCharWidth;
    ASSERT_GT(c, 1);
    EXPECT_EQ(w->TabStops, (std::vector<int>{12 * c, 24 * c, 36 * c, 48 * c, 60 * c, 72 * c}));
    Drive(TSolarTransitForm::kResourceId, Command(6415).fill);
    TTableWin* transit = Run(6415);
    ASSERT_NE(transit, nullptr);
    EXPECT_EQ(transit->TabStops, std::vector<int>{300});
}

// The window in the frame, as a user sees it: "table.png" in the build
// folder (docs/table.png is a copy).
TEST_F(TableWindow, Screenshot)
{
    auto& frame = *app->app->Frame();
    frame.resize(900, 700);
    Drive(TRecSiteForm::kResourceId, Command(6412).fill);
    TTableWin* w = Run(6412);
    ASSERT_NE(w, nullptr);
    QWidget* child = app->app->Client()->ActiveDocumentChild();
    child->move(0, 0);
    child->resize(820, 600);
    QCoreApplication::processEvents();
    const QImage img = frame.grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(QString::fromStdString((startDir / "table.png").string())));
}

}  // namespace
