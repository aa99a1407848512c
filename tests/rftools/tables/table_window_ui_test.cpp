// The table window: every Table command opens its form and, on OK, shows
// its table; a cancelled form or an unreadable list closes the new window;
// a table is no document.
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <cstring>

#include "framework/app/menus.h"
#include "platform/command.h"
#include "rftools/graphs/graph_forms.h"
#include "tables_ui_support.h"
#include "tests/picture_path.h"

namespace {

using Texts = std::map<int, std::string>;

struct CommandCase {
    int command;
    int dialog;            // 0: the table has no form
    Texts texts;           // the form's fields
    bool countryFile;      // a country is chosen after the form
    const char* title;     // report line 0
    const char* caption;
};

const Texts kLondon = {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}};
Texts With(Texts a, const Texts& b)
{
    for (const auto& [id, text] : b) a[id] = text;
    return a;
}

const CommandCase kCommands[] = {
    {6410, 0, {}, false, "Noise Figures (290K)", "Noise Figures"},
    {6411, TSatPosForm::kResourceId, {{206, "28.2E"}, {207, "0"}}, true, "Look Angle Table: Testland",
     "28.2E Look Angles : Testland"},
    {6412, TRecSiteForm::kResourceId, With(kLondon, {{1380, "5"}}), false, "Satellites (Ku,Band) > 5 Degrees EL",
     "Visible Satellites (51.50N,0.12W)"},
    {6426, TRecSiteForm2::kResourceId,
     With(kLondon, {{232, "Madrid"}, {233, "40.42N"}, {234, "3.70W"}, {1380, "5"}}), false,
     "Satellites (Ku,Band) > 5 Degrees EL", "Satellites Visible (2 Sites)"},
    {6413, TDualTabForm::kResourceId,
     {{201, "Alpha"}, {229, "Beta"}, {206, "28.2E"}, {2863, "19.2E"}, {14027, "1.2"}, {8704, "0.6"}, {8705, "1.1"}},
     true, "Dual Feed Table: Testland", "Dual Feeds: Testland"},
    {6414, 0, {}, false, "Modified Polar Mount Settings", "Polar Mount Angles"},
    {6415, TSolarTransitForm::kResourceId,
     With(kLondon, {{17001, "0"}, {107, "0.12W"}, {105, "2"}, {106, "2024"}}), false,
     "Solar Transit Times (2/2024)", "Solar Transit Times (2/2024)"},
    {6417, TFreqForm::kResourceId, {{208, "12"}}, false, "-3dB Beamwidths 12.00 GHz", "Beamwidths -3dB (12.00 GHz)"},
    {6419, TFreqForm::kResourceId, {{208, "12"}}, false, "Antenna Gain at 12.00 GHz", "Gain (12.00 GHz)"},
    {6420, TBeamForm::kResourceId, {{208, "12"}, {14027, "1"}}, false, "Illumination & Beamwidth Data",
     "Illumination (1.00m,12.00GHz)"},
    {6421, TAntSysSmallForm::kResourceId, {{208, "12"}, {311, "150"}, {14002, "36"}}, false,
     "Antenna Apertures (m) at 12.00 GHz", "Ant. Size at 12.00 GHz"},
    {6422, TBerForm::kResourceId, {{4738, "-5"}}, false, "Comparison of Digital Modulation Schemes",
     "Digital Modulation (Log(BER) = -5)"},
    // The template's radios start as its stored record has them: co-polar, combined.
    {6428, TTemplateForm::kResourceId, {{14027, "1.2"}, {14028, "65"}, {208, "12"}, {691, "1"}}, false,
     "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8", "Off Axis Antenna Gain"},
};

const CommandCase& Command(int id)
{
    const auto has = [id](const CommandCase& c) { return c.command == id; };
    return *std::find_if(std::begin(kCommands), std::end(kCommands), has);
}

class TableWindow : public tablesui::TableFixture {};

TEST_F(TableWindow, EveryCommandShowsItsTable)
{
    for (const CommandCase& c : kCommands) {
        SCOPED_TRACE(c.command);
        if (c.dialog) Drive(c.dialog, [&c](platform::Dialog& d) { tablesui::SetTexts(d, c.texts); });
        if (c.countryFile) ChooseCountry("Testland.twn");
        TTableWin* w = RunTable(c.command);
        ASSERT_NE(w, nullptr);
        ASSERT_GT(w->Lines(), 3);
        EXPECT_EQ(tablestest::Lines(w->Report())[0], c.title);
        EXPECT_EQ(tablestest::Lines(w->Report())[1], "Orbiscope Test Bench~");
        EXPECT_EQ(Caption(), c.caption);
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
        Drive(c.dialog, {}, platform::IDCANCEL);
        EXPECT_EQ(RunTable(c.command), nullptr);
        EXPECT_EQ(OpenWindows(), 0u);
        platform::ClearDialogDrivers();
    }
    EXPECT_TRUE(Messages().empty());
}

// A table that cannot be built says why, when there is something to say,
// and leaves no window.
struct Refusal {
    const char* name;
    int command;
    Texts texts;            // over the command's own
    std::function<void()> damage;  // to the files
    std::string message;    // caption|text; empty: nothing said
};

TEST_F(TableWindow, TablesThatCannotBeBuiltCloseTheirWindow)
{
    const std::string satlist = SatelliteFileBytes(SatList());
    const std::string cannotRead = std::string(orbiscope::kMainTitle) + "|Cannot read file ";
    const Refusal kRefusals[] = {
        {"country choice cancelled", 6411, {}, {}, ""},
        {"satlist.geo missing", 6412, {}, [this] { std::filesystem::remove(app->dir / "satlist.geo"); },
         "Unable to open file|satlist.geo"},
        {"satlist.geo of another version", 6412, {},
         [&] { WriteFile("satlist.geo", std::string("\xca\x07", 2) + satlist.substr(2)); },
         cannotRead + "satlist.geo"},
        {"satlist.geo short of its count", 6426, {},
         [&] { WriteFile("satlist.geo", satlist.substr(0, satlist.size() - 1)); },
         cannotRead + "satlist.geo"},
        {"country file short of its count", 6413, {},
         [this] { WriteFile("Testland.twn", TownFileBytes(Testland()).substr(0, 40)); },
         cannotRead + "Testland.twn"},
        {"no satellite seen from Sydney", 6412, {{202, "33.87S"}, {203, "151.21E"}}, {},
         "Visible Satellites|None found"},
        {"satellite below the horizon", 6415, {{107, "150.0W"}}, {}, "Elevation|Satellite below horizon"},
        {"an aperture without a beam: under 1.22 wavelengths", 6420, {{208, "0.1"}, {14027, "3"}}, {},
         "Range Error|Antenna aperture\r\nmust be at least 3.6575 m at 0.1 GHz (1.22 wavelengths)"},
        // 1.22 x 0.299792458 / 0.0007 = 522.5 m, past the form's 50 m; 0.0074 GHz
        // needs 49.43 m, which the form allows.
        {"a frequency no aperture of the form resolves", 6420, {{208, "0.0007"}, {14027, "50"}}, {},
         "Range Error|Frequency\r\n0.0007 GHz is too low for any antenna aperture up to 50 m (the beam needs 1.22 "
         "wavelengths)"},
        {"the lowest frequency some aperture resolves", 6420, {{208, "0.0074"}, {14027, "40"}}, {},
         "Range Error|Antenna aperture\r\nmust be at least 49.4252 m at 0.0074 GHz (1.22 wavelengths)"},
    };
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.name);
        WriteFile("satlist.geo", satlist);
        WriteFile("Testland.twn", TownFileBytes(Testland()));
        if (r.damage) r.damage();
        const CommandCase& c = Command(r.command);
        const Texts texts = With(c.texts, r.texts);
        Drive(c.dialog, [&texts](platform::Dialog& d) { tablesui::SetTexts(d, texts); });
        if (c.countryFile) {
            if (r.message.empty()) Drive(TGetCountryDlg::kResourceId, {}, platform::IDCANCEL);
            else ChooseCountry("Testland.twn");
        }
        app->messages.calls.clear();
        EXPECT_EQ(RunTable(r.command), nullptr);
        EXPECT_EQ(OpenWindows(), 0u);
        EXPECT_EQ(Messages(), r.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.message});
        platform::ClearDialogDrivers();
    }
}

// A list that gives no bands, as the shipped one: both horizon tables list
// its satellites with "Ku band" alone ticked, each showing "?"; the
// one-site table is drawn into the build folder's pictures.
TEST_F(TableWindow, HorizonTablesListSatellitesOfUnknownBand)
{
    using tablestest::Satellite;
    WriteFile("satlist.geo", SatelliteFileBytes({Satellite("Unknown bands", 0, "?"), Satellite("Arc 28.2E", 28.2f, "?"),
                                                 Satellite("Arc 7.0E", 7.0f, "?"),
                                                 Satellite("Arc 27.5W", -27.5f, "?")}));
    auto& frame = *app->app->Frame();
    frame.resize(900, 700);
    for (int command : {6426, 6412}) {
        SCOPED_TRACE(command);
        const CommandCase& c = Command(command);
        Drive(c.dialog, [&c](platform::Dialog& d) { tablesui::SetTexts(d, c.texts); });
        TTableWin* w = RunTable(command);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(tablestest::Lines(w->Report())[0], "Satellites (Ku,Band) > 5 Degrees EL") << "Ku alone ticked";
        int rows = 0;
        for (const std::string& line : tablestest::Lines(w->Report()))
            if (line.rfind("Arc ", 0) == 0) {
                EXPECT_EQ(line.substr(line.rfind('\t')), "\t?") << line;
                ++rows;
            }
        EXPECT_EQ(rows, 3);
        platform::ClearDialogDrivers();
    }
    auto* child = app->app->Client()->ActiveDocumentChild();
    child->move(0, 0);
    child->resize(820, 600);
    // Down to the listed satellites.
    if (auto* table = dynamic_cast<TTableWin*>(child->Document())) table->GetScroller().ScrollTo(0, 22);
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.grab().toImage().save(QString::fromStdString(TestPicture("horizon_unknown_band.png").string())));
}

// Where each cell of a report line starts and ends on the screen, laid out
// as the window draws it: headings ("~") in the heading font, rows in the
// body font, each tab to the next stop.
struct Cell {
    int left, right;
};
std::vector<Cell> CellsOf(const TTableWin& w, std::string line)
{
    const bool heading = !line.empty() && line.back() == '~';
    if (heading) line.pop_back();
    const QFontMetrics fm(platform::MakeFont(heading ? w.HeadingFont : w.BodyFont));
    std::vector<Cell> cells;
    int pen = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        const std::string piece = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        cells.push_back({pen, pen + fm.horizontalAdvance(QString::fromLatin1(piece.c_str()))});
        pen = cells.back().right;
        if (tab == std::string::npos) break;
        pen = platform::NextTabOffset(pen, w.TabStops, w.AverageCharWidth);
        start = tab + 1;
    }
    return cells;
}

// The two tables whose columns ran together: every column of a row starts
// at the stop its heading starts at, and no cell touches the next (the
// tables' own column widths leave some cells only a few pixels).  Drawn
// into the build folder's pictures.
TEST_F(TableWindow, WideTablesKeepTheirColumnsApart)
{
    auto& frame = *app->app->Frame();
    frame.resize(900, 760);
    const struct {
        int command;
        const char* heading;      // the column heading line the rows sit under
        const char* picture;
    } kTables[] = {
        {6420, "Illumination\t-3dB Beamwidth\tSide Lobe Amp.\tFirst Null~", "table_illumination.png"},
        {6421, "EIRP(dBW)\t6dB\t9dB\t12dB\t15dB\t18dB\t21dB~", "table_eirp_aperture.png"},
    };
    for (const auto& t : kTables) {
        SCOPED_TRACE(t.command);
        const CommandCase& c = Command(t.command);
        Drive(c.dialog, [&c](platform::Dialog& d) { tablesui::SetTexts(d, c.texts); });
        TTableWin* w = RunTable(t.command);
        ASSERT_NE(w, nullptr);
        platform::ClearDialogDrivers();
        constexpr int kApart = 3;  // pixels
        std::vector<Cell> columns;
        for (const std::string& line : tablestest::Lines(w->Report())) {
            if (line.find('\t') == std::string::npos) continue;
            const std::vector<Cell> cells = CellsOf(*w, line);
            for (std::size_t i = 1; i < cells.size(); ++i)
                EXPECT_GE(cells[i].left - cells[i - 1].right, kApart) << line << " | cell " << i;
            if (line == t.heading || line == "Circular Apertures\tRectangular Apertures~") {
                columns = cells;
                continue;
            }
            if (columns.empty()) continue;
            ASSERT_EQ(cells.size(), columns.size()) << line;
            for (std::size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(cells[i].left, columns[i].left) << line;
        }
        QWidget* child = app->app->Client()->ActiveDocumentChild();
        child->move(0, 0);
        child->resize(860, 700);
        QCoreApplication::processEvents();
        EXPECT_TRUE(frame.grab().toImage().save(QString::fromStdString(TestPicture(t.picture).string())));
    }
}

// The tables' faces are of fixed pitch whatever stands in for "Courier New",
// and n characters of the body face fit n units of the tab stops.
TEST_F(TableWindow, ColumnsAreMeasuredInTheirOwnFace)
{
    TTableWin* w = RunTable(6414);
    ASSERT_NE(w, nullptr);
    for (const auto* font : {&w->HeadingFont, &w->BodyFont}) {
        const QFontMetricsF m(platform::MakeFont(*font));
        const QString family = QFontInfo(platform::MakeFont(*font)).family();
        for (QChar c : QStringLiteral("iW .1-mC"))
            EXPECT_DOUBLE_EQ(m.horizontalAdvance(c), m.horizontalAdvance(QChar('0'))) << family.toStdString() << " '" << c.toLatin1() << "'";
    }
    const QFontMetricsF body(platform::MakeFont(w->BodyFont));
    for (const char* cell : {"-10dB  = 12.49 degrees", "Circular Apertures", "13.61", "Cosine squared"}) {
        const int n = int(std::strlen(cell));
        EXPECT_LE(body.horizontalAdvance(QString::fromLatin1(cell)), double(n * w->AverageCharWidth)) << cell;
    }
}

// Cross-polar asked of the combined template: said, then the co-polar table.
TEST_F(TableWindow, OffAxisCrossPolarOfTheCombinedTemplate)
{
    Drive(TTemplateForm::kResourceId, [](platform::Dialog& d) {
        tablesui::SetTexts(d, Command(6428).texts);
        d.SetCheck(2656, 1);
    });
    TTableWin* w = RunTable(6428);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Cross-polar Option Invalid|Only co-polar is defined in AP8/S.580"});
    EXPECT_EQ(tablestest::Lines(w->Report())[0], "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8");
}

// Nothing to save; the columns in a monospaced face, the tab stops the
// table's column widths in the body font's average character widths, or the
// absolute stop in pixels.
TEST_F(TableWindow, TableIsNoDocument)
{
    TTableWin* w = RunTable(6414);
    ASSERT_NE(w, nullptr);
    for (int id : {orbiscope::CM_FILESAVE, orbiscope::CM_FILESAVEAS})
        EXPECT_FALSE(platform::CommandEnabledOn({w}, id)) << id;
    for (int id : {orbiscope::CM_SAVETABBED, orbiscope::CM_SAVEHTML, orbiscope::CM_EDITCOPY})
        EXPECT_TRUE(platform::CommandEnabledOn({w}, id)) << id;
    EXPECT_EQ(w->HeadingFont.face + "/" + w->BodyFont.face, "Courier New/Courier New");
    EXPECT_EQ(std::vector<int>({w->HeadingFont.height, w->HeadingFont.weight, w->BodyFont.height, w->BodyFont.weight}),
              std::vector<int>({14, 700, 12, 300}));
    const int c = w->AverageCharWidth;
    ASSERT_GT(c, 1);
    EXPECT_EQ(w->TabStops, (std::vector<int>{12 * c, 24 * c, 36 * c, 48 * c, 60 * c, 72 * c}));
    Drive(TSolarTransitForm::kResourceId, [](platform::Dialog& d) { tablesui::SetTexts(d, Command(6415).texts); });
    TTableWin* transit = RunTable(6415);
    ASSERT_NE(transit, nullptr);
    EXPECT_EQ(transit->TabStops, std::vector<int>{300});
}

// The window in the frame, as a user sees it: "table.png" in the build
// folder (docs/table.png is a copy), drawn with the report's styles.
TEST_F(TableWindow, Screenshot)
{
    auto& frame = *app->app->Frame();
    frame.resize(900, 700);
    Drive(TRecSiteForm::kResourceId, [](platform::Dialog& d) { tablesui::SetTexts(d, Command(6412).texts); });
    TTableWin* w = RunTable(6412);
    ASSERT_NE(w, nullptr);
    QWidget* child = app->app->Client()->ActiveDocumentChild();
    child->move(0, 0);
    child->resize(820, 600);
    QCoreApplication::processEvents();
    const QImage img = frame.grab().toImage();
    ASSERT_FALSE(img.isNull());
    img.save(QString::fromStdString(TestPicture("table.png").string()));
    // The table is drawn with the report's heading styles: the company line
    // and the section headings in their colours.
    const auto has = [&img](QRgb colour) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
        return false;
    };
    EXPECT_TRUE(has(qRgb(0, 127, 0)));
    EXPECT_TRUE(has(qRgb(0, 0, 100)));
}

}  // namespace
