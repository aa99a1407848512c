// The output window: report layout, painting, scroller, document fields and
// files, calculation errors and the polarization tilt.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <set>

#include "framework/output/docfile.h"
#include "framework/output/report.h"
#include "tests/framework/app/gui_support.h"

using orbiscope::ClassifyReportLine;
using orbiscope::ReportLineKind;

namespace {

using testfiles::ReadText;
using testfiles::WriteText;

struct LineCase { int index; const char* line; ReportLineKind kind; const char* drawn; };

TEST(ReportLayout, LinesAreClassifiedByPositionAndMark)
{
    const LineCase cases[] = {
        {0, "GEO Link Budget", ReportLineKind::Title, "GEO Link Budget"},
        {0, "Title ending in mark~", ReportLineKind::Title, "Title ending in mark~"},
        {1, "Produced using Orbiscope Pro~", ReportLineKind::FirstHeading, "Produced using Orbiscope Pro"},
        {5, "UPLINK~", ReportLineKind::Heading, "UPLINK"},
        {7, "a\tb\tc#", ReportLineKind::Fourth, "a\tb\tc"},
        {3, " ", ReportLineKind::Body, " "},
        {4, "EIRP\t52.0\tdBW", ReportLineKind::Body, "EIRP\t52.0\tdBW"},
        {6, "~", ReportLineKind::Heading, ""},
        {8, "x~#", ReportLineKind::Fourth, "x~"},
    };
    for (const LineCase& c : cases) {
        const auto style = ClassifyReportLine(c.index, c.line);
        EXPECT_EQ(style.kind, c.kind) << c.line;
        EXPECT_EQ(style.text, c.drawn) << c.line;
    }
}

TEST(ReportLayout, ScrolledLinesAreSkippedByTheirOwnHeights)
{
    // Title 20, heading 14, body 12; scrolled 40 body lines: skip while
    // y < 40 x 12 - 20 = 460, starting at y = 20.
    std::vector<std::string> storage = {"T", "H~"};
    for (int i = 2; i < 100; ++i) storage.push_back(i % 10 == 0 ? "Head~" : "line");
    std::vector<std::string_view> lines(storage.begin(), storage.end());
    const orbiscope::ReportLineHeights h{20, 14, 12, 12};
    const auto start = orbiscope::FirstPaintedLine(lines, h, 0, 40);
    // Line 0 adds 20 (y 40), line 1 adds 14 (54), then 31 body lines of 12
    // and headings of 14 at 10, 20 and 30: 54 + 31 x 12 + 3 x 14 = 468 after
    // line 35.
    EXPECT_EQ(start.firstLine, 36);
    EXPECT_EQ(start.y, 468);
    EXPECT_EQ(orbiscope::FirstPaintedLine(lines, h, 0, 0).firstLine, 0);
}

class ReportWindow : public testsupport::RecordingWindow {
public:
    ReportWindow() : RecordingWindow(0, nullptr) {}
};

// Saves as a calculation window does: its record through WriteDocument.
class RecordWindow : public ReportWindow {
public:
    bool SaveFile(const char* name) override { return WriteDocument(name, 1, record, sizeof record); }
    const char record[5] = {'a', 'b', 0, 1, 0};
};

// The frame with one report window, as the user sees it: the title, the
// first heading and the other headings each reach the screen in their own
// colour, through the document window's own painting.
TEST(TMyWindowPaint, ReportColoursReachTheScreenThroughTheDocumentWindow)
{
    testsupport::AppFixture f;
    orbiscope::RegisterWindowFactory(10, [](const char*) {
        auto* w = new ReportWindow;
        for (const char* line : {"GEO Link Budget", "Produced using Orbiscope Pro~", "Tuesday 7 March 2023", " ",
                                 "UPLINK EARTH STATION~", "Elevation\t28.41\tdeg", "CLEAR SKY\tUplink\tDownlink#"})
            w->AddLine(line);
        return w;
    });
    f.app->Frame()->resize(900, 600);
    f.app->Dispatch(6014);
    ASSERT_NE(f.app->Client()->ActiveChild(), nullptr);
    f.app->Client()->ActiveChild()->setGeometry(10, 10, 620, 380);
    QCoreApplication::processEvents();
    auto colours = [](const QImage& img) {
        std::set<QRgb> seen;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) seen.insert(img.pixel(x, y) & 0xFFFFFF);
        return seen;
    };
    // The window drawn into an image of its own, as the pictures of the report are.
    auto rendered = [&f] {
        QImage img(f.Active()->viewport()->size(), QImage::Format_RGB32);
        QPainter painter(&img);
        f.Active()->RenderTo(painter);
        return img;
    };
    constexpr QRgb kTitle = 0x7F0000, kFirstHeading = 0x007F00, kHeading = 0x000064, kBody = 0x000000;
    const std::set<QRgb> onScreen = colours(f.app->Frame()->grab().toImage()), alone = colours(rendered());
    for (QRgb c : {kTitle, kFirstHeading, kHeading}) EXPECT_TRUE(onScreen.count(c)) << std::hex << c;
    for (QRgb c : {kTitle, kFirstHeading, kHeading, kBody}) EXPECT_TRUE(alone.count(c)) << std::hex << c;
    EXPECT_TRUE(f.app->ViewPainted);

    // An empty report paints nothing of its own and says so.
    f.Active()->ClearReport();
    EXPECT_EQ(colours(rendered()), std::set<QRgb>{0xFFFFFF});
    EXPECT_FALSE(f.app->ViewPainted);
}

TEST(TMyWindowPaint, ScrollRangeIsLinesPlusFive)
{
    testsupport::AppFixture f;
    ReportWindow w;
    w.AddLine("Only the title");
    w.SetupWindow();
    EXPECT_EQ(w.GetScroller().YRange(), 6);
    EXPECT_EQ(w.GetScroller().XRange(), 620 / w.AverageCharWidth);
    EXPECT_EQ(w.GetScroller().YUnit(), w.LineHeight);
    for (int i = 0; i < 99; ++i) w.AddLine("x");
    w.UpdateScroller(false);
    EXPECT_EQ(w.GetScroller().YRange(), 105);
    const std::string big(100000, 'y');  // the buffer grows past any fixed capacity
    w.AddLine(big.c_str());
    EXPECT_EQ(w.Lines(), 101);
}

TEST(TMyWindowReport, CopyDropsTheMarks)
{
    testsupport::AppFixture f;
    ReportWindow w;
    w.AddLine("Title~");
    w.AddLine("Head~");
    w.AddLine("a\tb#");
    w.AddLine(" ");
    w.CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Title~\nHead\na\tb\n \n");
}

TEST(DocumentFields, TheWindowCountsCheckedReadsOnly)
{
    testsupport::AppFixture f;
    WriteText(f.dir / "doc.bin", std::string("\x01\x00", 2) + std::string(41 + 81, 'B'));
    ReportWindow w;
    w.FieldReadLimit = 41;
    DocumentFile file(f.dir / "doc.bin");
    std::uint16_t v = 0;
    ASSERT_TRUE(file.ReadVersion(v));
    EXPECT_EQ(v, 1);
    char buf[81];
    EXPECT_TRUE(w.ReadField(buf, 1, file));
    EXPECT_TRUE(w.ReadFieldUnchecked(buf, 7, file));  // not counted against the limit
    EXPECT_EQ(w.FieldReadTotal, 41);
    EXPECT_FALSE(w.ReadFieldUnchecked(buf, 3, file));  // end of file
    EXPECT_TRUE(file.Closed());
    DocumentFile again(f.dir / "doc.bin");
    EXPECT_FALSE(w.ReadField(buf, 2, again));  // past the limit of 41
    EXPECT_TRUE(again.Closed());
}

TEST(DocumentFiles, SaveWritesVersionAndRecordAndKeepsTheOldFileOnFailure)
{
    testsupport::AppFixture f;
    ReportWindow w;
    w.Changed = true;
    const char record[5] = {'a', 'b', 0, 1, 0};
    const std::string path = (f.dir / "x.glb").string();
    ASSERT_TRUE(w.WriteDocument(path.c_str(), 0x1234, record, sizeof record));
    EXPECT_EQ(ReadText(path), std::string("\x34\x12" "ab\x00\x01\x00", 7));
    EXPECT_FALSE(w.Changed);

    // A save that fails is said once, naming the file; the document stays
    // changed and keeps its name.
    const std::string bad = (f.dir / "no-such-folder" / "y.glb").string();
    struct Case { const char* how; const char* chosen; };  // chosen: the Save As answer, null for a plain Save
    const Case cases[] = {{"Save", nullptr}, {"Save As", "z.glb"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        RecordWindow saving;
        saving.SetFileName(bad.c_str());
        saving.Changed = true;
        f.messages.calls.clear();
        const std::string target = c.chosen ? (f.dir / "no-such-folder" / c.chosen).string() : bad;
        if (c.chosen) platform::QueueFileDialogAnswer({{target}});
        EXPECT_FALSE(c.chosen ? saving.SaveAs() : saving.Save());
        EXPECT_EQ(f.messages.Shown(),
                  (testsupport::Boxes{{orbiscope::kMainTitle, "Unable to write file " + target + " to disk."}}));
        EXPECT_TRUE(saving.Changed);
        EXPECT_EQ(saving.FileName(), bad);
    }
}

class ConvertingWindow : public testsupport::RecordingWindow {
public:
    ConvertingWindow(const char* name, bool loads) : RecordingWindow(0, name), loads_(loads) { FileData.defaultExt = "glb"; }
    bool LoadFile(const char*) override { return loads_; }
    bool SaveFile(const char* name) override
    {
        saved.push_back(name);
        return true;
    }
    std::vector<std::string> saved;

private:
    bool loads_;
};

TEST(DocumentFiles, OpenDocumentConvertsTheExtension)
{
    testsupport::AppFixture f;
    struct Case { const char* name; const char* converted; };
    const Case cases[] = {{"/data/site/old.upd", "/data/site/old.glb"},
                          {"/data/site/LINK.GLB", "/data/site/LINK.glb"},
                          {"/data/v1.2/budget.glb", "/data/v1.2/budget.glb"}};
    for (const Case& c : cases) {
        ConvertingWindow w(c.name, true);
        w.OpenDocument(true);
        EXPECT_EQ(w.FileName(), c.converted);
    }
    ConvertingWindow unreadable("/data/none.upd", false);
    unreadable.OpenDocument(true);
    EXPECT_FALSE(unreadable.HasFileName());
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].text, "Cannot read file /data/none.upd");
}

TEST(DocumentFiles, ConvertedNameOfAnotherFileIsNotOverwrittenByPlainSave)
{
    testsupport::AppFixture f;
    WriteText(f.dir / "x.glb", "other document");
    const std::string upd = (f.dir / "x.upd").string();
    ConvertingWindow w(upd.c_str(), true);
    w.OpenDocument(true);
    platform::QueueFileDialogAnswer({{(f.dir / "y.glb").string()}});
    EXPECT_TRUE(w.Save());
    EXPECT_EQ(w.saved, std::vector<std::string>{(f.dir / "y.glb").string()});
    EXPECT_EQ(platform::LastFileDialogRequest().save, true);
}

TEST(DocumentFiles, ChangedWindowAsksBeforeClosing)
{
    testsupport::AppFixture f;
    ConvertingWindow w("/tmp/a.glb", true);
    EXPECT_TRUE(w.CanClose());
    EXPECT_TRUE(f.messages.calls.empty());
    w.Changed = true;
    f.messages.yesNoAnswer = platform::IDNO;
    EXPECT_TRUE(w.CanClose());
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].text, "File /tmp/a.glb may have been edited.\n\nDo you want to save any changes?");
    EXPECT_TRUE(f.messages.calls[0].YesNo());
    EXPECT_TRUE(f.messages.calls[0].Cancellable());
    // Cancel (Escape, the question's close) keeps it as it is, changed.
    f.messages.yesNoAnswer = platform::IDCANCEL;
    EXPECT_FALSE(w.CanClose());
    EXPECT_TRUE(w.Changed);
    EXPECT_TRUE(w.saved.empty());
    f.messages.yesNoAnswer = platform::IDYES;
    EXPECT_TRUE(w.CanClose());  // saved under its name, then closes
    EXPECT_EQ(w.saved, std::vector<std::string>{"/tmp/a.glb"});
    ConvertingWindow untitled(nullptr, true);
    untitled.Changed = true;
    EXPECT_FALSE(untitled.CanClose());  // Save As cancelled: stays open
}

TEST(CalcErrors, CodesWithTextAreShownOthersOnlyCleared)
{
    testsupport::AppFixture f;
    struct Case {
        int code;
        const char* text;  // null: nothing shown
    };
    const Case cases[] = {{-500, "ERROR: Antenna elevation below 5 degrees"},
                          {-506, "Legacy File: Transponder bandwidth is needed, 36MHz has been assumed"},
                          {-514, "Legacy File: C/IM(down) input value changed to AUTO"},
                          {-503, nullptr}, {-507, nullptr}, {-511, nullptr}, {0, nullptr}, {-515, nullptr}};
    for (const Case& c : cases) {
        f.messages.calls.clear();
        ReportWindow w;
        w.CalcErrorCode = c.code;
        w.ShowCalcError();
        EXPECT_EQ(w.CalcErrorCode, 0);
        if (c.text) {
            ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{orbiscope::kMainTitle, c.text}})) << c.code;
            EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);
        } else {
            EXPECT_TRUE(f.messages.calls.empty()) << c.code;
        }
    }
}

TEST(PolarizationTilt, HandValues)
{
    constexpr double pi = 3.14159265358979323846;
    // Hand values to seven digits; exact ones to the last bits of a double;
    // the equator, taken as latitude 1e-6 degrees, to five digits.
    constexpr double kHand = 1e-6, kExact = 1e-15, kEquator = 1e-5;
    // Latitude 45, 90 degrees off: beta = 90 deg, q = 1/6.610794055947345,
    // tilt = atan(sqrt(1 + q^2)) = atan(1.0113763) = 0.7910541 rad.
    // Circular polarization is always half a quarter turn; the restrict
    // option gives H 0 and V a quarter turn.
    struct Case { double latitude, offset; const char* polarization; bool restrict; double tilt, tolerance; };
    const Case cases[] = {
        {45, 90, "H", false, 0.7910541, kHand}, {45, -90, "V", false, 0.7910541 + pi / 2, kHand},
        {45, 0, "H", false, 0.0, kExact},       {0, 10, "H", false, pi / 2, kEquator},
        {12, 30, "C", false, pi / 4, kExact},   {12, 30, "C", true, pi / 4, kExact},
        {12, 30, "H", true, 0.0, kExact},       {12, 30, "V", true, pi / 2, kExact},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(PolarizationTilt(c.latitude, c.offset, c.polarization, c.restrict), c.tilt, c.tolerance)
            << c.latitude << " " << c.offset << " " << c.polarization << " " << c.restrict;
    EXPECT_TRUE(std::isfinite(PolarizationTilt(90, 10, "H", false)));
}

TEST(PolarizationTilt, WindowReadsTheRestrictOption)
{
    testsupport::AppFixture f;
    ReportWindow w;
    EXPECT_NEAR(w.PolarizationTerm(45, 90, "H"), 0.7910541, 1e-6);
    f.app->SetUpRecord[140] = 1;
    EXPECT_DOUBLE_EQ(w.PolarizationTerm(45, 90, "H"), 0.0);
}

}  // namespace
