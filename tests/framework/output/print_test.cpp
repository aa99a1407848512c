// Printing: the pagination of a report, the lines each printed page draws,
// the PDF a job writes, and the print preview's page navigation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <fstream>
#include <regex>

#include "framework/output/preview.h"
#include "framework/output/print.h"
#include "tests/framework/app/gui_support.h"

namespace {

using orbiscope::PaginateReport;
using orbiscope::ReportLineHeights;

std::vector<std::string_view> Views(const std::vector<std::string>& lines)
{
    return std::vector<std::string_view>(lines.begin(), lines.end());
}

std::vector<std::string> BodyReport(int count, const std::map<int, std::string>& special = {})
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        auto it = special.find(i);
        lines.push_back(it != special.end() ? it->second : "L" + std::to_string(i));
    }
    return lines;
}

// Heights title 20, heading 14, body 12 on a client area 300 high: top 60,
// bottom limit 300 - 60 - 14 = 226; line 0 leaves y at 80.
constexpr ReportLineHeights kHeights{20, 14, 12, 12};
constexpr int kBottom = 300;

TEST(Pagination, LinesFillPagesToTheBottomLimit)
{
    struct Case {
        const char* name;
        int lines;
        std::map<int, std::string> headings;  // by line index
        int bottom;
        std::vector<int> first, last;  // lines of each page
    };
    const Case cases[] = {
        // Page 1: 80 + 12 n reaches 226 at n = 13, so lines 0..13.  Page 2 from
        // y = 60: 60 + 12 m reaches 226 at m = 14, lines 14..27.  Page 3: 28..39.
        {"three pages", 40, {}, kBottom, {0, 14, 28}, {13, 27, 39}},
        {"ending at the limit leaves no empty page", 14, {}, kBottom, {0}, {13}},
        {"one line more", 15, {}, kBottom, {0, 14}, {13, 14}},
        // After 7 body lines y = 164; 164 + 5 x 14 = 234 reaches 226: the
        // heading moves.  After 6 body lines, 152 + 70 = 222 stays below.
        {"heading near the bottom starts the next page", 12, {{8, "UPLINK~"}}, kBottom, {0, 8}, {7, 11}},
        {"heading with room stays", 12, {{7, "UPLINK~"}}, kBottom, {0}, {11}},
        {"one page with a heading", 3, {{1, "Company~"}}, kBottom, {0}, {2}},
        {"no lines", 0, {}, kBottom, {}, {}},
        // A page too small for anything: one line a page, headings included,
        // and no endless loop on a heading that starts a page.
        {"page too small", 6, {{2, "H~"}, {3, "H~"}}, 10, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        const auto lines = BodyReport(c.lines, c.headings);
        const auto pages = PaginateReport(Views(lines), kHeights, c.bottom);
        EXPECT_EQ(pages.firstLine, c.first) << c.name;
        EXPECT_EQ(pages.lastLine, c.last) << c.name;
        EXPECT_EQ(pages.Count(), int(c.first.size())) << c.name;
    }
    // More than fifty pages: 14 lines on the first page and on each after it.
    const auto lines = BodyReport(14 + 14 * 59);
    const auto pages = PaginateReport(Views(lines), kHeights, kBottom);
    ASSERT_EQ(pages.Count(), 60);
    EXPECT_EQ(pages.firstLine[59], 14 + 14 * 58);
    EXPECT_EQ(pages.lastLine[59], 14 + 14 * 59 - 1);
}

TEST(Pagination, MulDivRoundsToTheNearest)
{
    EXPECT_EQ(orbiscope::MulDiv(9583, 96, 1200), 767);   // 766.64
    EXPECT_EQ(orbiscope::MulDiv(13699, 96, 1200), 1096); // 1095.92
    EXPECT_EQ(orbiscope::MulDiv(25, 1, 2), 13);          // halves away from zero
    EXPECT_EQ(orbiscope::MulDiv(-25, 1, 2), -13);
    EXPECT_EQ(orbiscope::MulDiv(5, 5, 0), -1);
}

// ---- pages as drawn -------------------------------------------------------------

// A paint device that records the text drawn on it, piece by piece.
class TextEngine : public QPaintEngine {
public:
    TextEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { texts.push_back(item.text().toStdString()); }
    Type type() const override { return QPaintEngine::User; }
    std::vector<std::string> texts;
};

class TextDevice : public QPaintDevice {
public:
    TextDevice(QSize size, int dpi) : size_(size), dpi_(dpi) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return size_.width() * 254 / dpi_ / 10;
        case PdmHeightMM: return size_.height() * 254 / dpi_ / 10;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return dpi_;
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }
    mutable TextEngine engine;

private:
    QSize size_;
    int dpi_;
};

// A long report with headings, fourth-font lines and tab columns.
class LongReport : public testsupport::RecordingWindow {
public:
    explicit LongReport(int lines) : RecordingWindow(0, nullptr)
    {
        AddLine("Long Report");
        AddLine("Produced using Orbiscope Pro~");
        for (int i = 2; i < lines; ++i) {
            const std::string n = std::to_string(i);
            if (i % 25 == 0) AddLine(("SECTION" + n + "~").c_str());
            else if (i % 7 == 0) AddLine(("F" + n + "\tG" + n + "#").c_str());
            else AddLine(("L" + n + "\tV" + n).c_str());
        }
    }
};

// The pieces of text lines [first, last] draw, marks dropped, tabs split.
std::vector<std::string> ExpectedPieces(const TMyWindow& w, int first, int last)
{
    std::vector<std::string> pieces;
    const auto lines = orbiscope::SplitReportLines(w.ReportText, w.LineCount);
    for (int i = first; i <= last; ++i) {
        const std::string_view text = orbiscope::ClassifyReportLine(i, lines[std::size_t(i)]).text;
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t tab = text.find('\t', start);
            const std::string_view piece = text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
            if (!piece.empty()) pieces.emplace_back(piece);
            if (tab == std::string_view::npos) break;
            start = tab + 1;
        }
    }
    return pieces;
}

int PdfPageCount(const std::filesystem::path& pdf)
{
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::regex page("/Type\\s*/Page(?![s])");
    return int(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), page), std::sregex_iterator()));
}

TEST(PrintReport, EachPageDrawsItsOwnLinesWhateverTheScrollPosition)
{
    testsupport::AppFixture f;
    LongReport w(300);
    w.resize(600, 400);
    w.show();
    QCoreApplication::processEvents();
    w.GetScroller().ScrollTo(0, 40);

    platform::Printer& printer = orbiscope::ApplicationPrinter();
    TMyWindowOut printout(&printer, "Long Report", &w, true);
    const QSize page = printer.PageSize();
    TextDevice device(page, printer.Device().resolution());
    printout.SetPrintParams(&device, nullptr, page);
    printout.BeginPrinting();
    const int pages = printer.Setup().maxPage;
    EXPECT_EQ(printer.Setup().minPage, 1);
    ASSERT_GE(pages, 2);
    ASSERT_EQ(int(w.PageFirstLine.size()), pages);
    EXPECT_EQ(w.PageFirstLine[0], 0);
    EXPECT_EQ(w.PageLastLine[std::size_t(pages - 1)], w.LineCount - 1);
    for (int p = 1; p < pages; ++p) EXPECT_EQ(w.PageFirstLine[std::size_t(p)], w.PageLastLine[std::size_t(p - 1)] + 1);
    EXPECT_TRUE(printout.HasPage(pages));
    EXPECT_FALSE(printout.HasPage(pages + 1));
    EXPECT_FALSE(printout.HasPage(0));

    QPainter painter(&device);
    printout.SetPrintParams(&device, &painter, page);
    for (int p = 1; p <= pages; ++p) {
        device.engine.texts.clear();
        QRect band(QPoint(0, 0), page);
        printout.PrintPage(p, band);
        EXPECT_EQ(device.engine.texts, ExpectedPieces(w, w.PageFirstLine[std::size_t(p - 1)], w.PageLastLine[std::size_t(p - 1)]))
            << "page " << p;
        EXPECT_EQ(band, QRect(QPoint(0, 0), page));
    }
    painter.end();
    EXPECT_FALSE(f.app->Printing);
    EXPECT_EQ(w.GetScroller().YPos(), 40);
    EXPECT_EQ(w.ClientRect(), w.viewport()->rect());  // the screen window is untouched
}

TEST(PrintReport, PrintCommandWritesEveryPageToPdf)
{
    testsupport::AppFixture f;
    LongReport w(300);
    const auto pdf = f.dir / "report.pdf";
    platform::Printer::SetPrintToPdfFile(pdf.string());
    w.HandleCommand(24337);
    platform::Printer::SetPrintToPdfFile({});
    const int pages = int(w.PageFirstLine.size());
    EXPECT_GE(pages, 2);
    EXPECT_EQ(PdfPageCount(pdf), pages);
    EXPECT_TRUE(f.messages.calls.empty());

    // Without a printer the job asks for a PDF file name; an unwritable one
    // is reported.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        const auto asked = f.dir / "asked.pdf";
        platform::QueueFileDialogAnswer({{asked.string()}});
        w.HandleCommand(24337);
        EXPECT_EQ(platform::LastFileDialogRequest().data.defaultExt, "pdf");
        EXPECT_EQ(PdfPageCount(asked), pages);

        const std::string bad = (f.dir / "none" / "x.pdf").string();
        platform::QueueFileDialogAnswer({{bad}});
        w.HandleCommand(24337);
        EXPECT_EQ(f.messages.Shown(), (testsupport::Boxes{{orbiscope::kMainTitle, "Unable to write file " + bad + " to disk."}}));
    }
}

// The job (a PDF's title) is named after the document as the file manager
// names it.
TEST(PrintReport, TheJobIsNamedAfterTheDocumentAsTheFileManagerNamesIt)
{
    testsupport::AppFixture f;
    LongReport w(3);
    const std::string name = (f.dir / "Téléchargements" / "Москва.sun").string();
    w.SetFileName(name.c_str());
    platform::Printer::SetPrintToPdfFile((f.dir / "report.pdf").string());
    w.HandleCommand(24337);
    platform::Printer::SetPrintToPdfFile({});
    EXPECT_EQ(orbiscope::ApplicationPrinter().Device().docName(), QString::fromUtf8(name));
}

class FakeGraphPrintout : public TApxPrintout {
public:
    using TApxPrintout::TApxPrintout;
};

TEST(PrintReport, PrintoutChosenByWindowType)
{
    testsupport::AppFixture f;
    testsupport::RecordingWindow graph(0, nullptr), table(0, nullptr);
    graph.SetWindowType(3);
    table.SetWindowType(2);
    orbiscope::RegisterPrintoutFactory(3, [](platform::Printer* p, const char* t, TMyWindow* w, bool s) {
        return std::make_unique<FakeGraphPrintout>(p, t, w, s);
    });
    platform::Printer& printer = orbiscope::ApplicationPrinter();
    EXPECT_NE(dynamic_cast<FakeGraphPrintout*>(orbiscope::MakePrintout(&printer, "g", &graph, true).get()), nullptr);
    EXPECT_NE(dynamic_cast<TMyWindowOut*>(orbiscope::MakePrintout(&printer, "t", &table, true).get()), nullptr);
    orbiscope::ClearPrintoutFactories();
    EXPECT_NE(dynamic_cast<TMyWindowOut*>(orbiscope::MakePrintout(&printer, "g", &graph, true).get()), nullptr);
}

// ---- preview ----------------------------------------------------------------------

TEST(PreviewNavigation, ButtonsFollowTheShownPages)
{
    orbiscope::PreviewNavigator n;
    n.SetRange(1, 1);
    n.TwoPages();  // nothing after the only page
    EXPECT_EQ(n.Text(), "Page 1");
    EXPECT_FALSE(n.PreviousEnabled());
    EXPECT_FALSE(n.NextEnabled());

    // Three pages, one command at a time: N next, P previous, 1 one page, 2 two pages.
    struct Step { char command; const char* text; bool previous, next; };
    const Step steps[] = {
        {'N', "Page 2", true, true},      {'2', "Page 2 - 3", true, false}, {'N', "Page 2 - 3", true, false},
        {'P', "Page 1 - 2", false, true}, {'P', "Page 1 - 2", false, true}, {'1', "Page 1", false, true},
        {'N', "Page 2", true, true},      {'N', "Page 3", true, false},
        {'2', "Page 2 - 3", true, false},  // at the last page the pair is the last two pages
    };
    n.SetRange(1, 3);
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        switch (s.command) {
        case 'N': n.Next(); break;
        case 'P': n.Previous(); break;
        case '1': n.OnePage(); break;
        default: n.TwoPages();
        }
        EXPECT_EQ(n.Text(), s.text) << "step " << i;
        EXPECT_EQ(n.PreviousEnabled(), s.previous) << "step " << i;
        EXPECT_EQ(n.NextEnabled(), s.next) << "step " << i;
    }
}

TEST(PreviewWindow, OnePageOffersNeitherPreviousNorNext)
{
    testsupport::AppFixture f;
    LongReport w(5);
    auto* preview = new TApxPreviewWin(f.app->Frame(), orbiscope::ApplicationPrinter(), &w, "Short");
    QPointer<TApxPreviewWin> alive(preview);
    EXPECT_EQ(preview->windowTitle().toStdString(), orbiscope::kMainTitle);
    EXPECT_EQ(preview->Pages().MaxPage(), 1);
    EXPECT_FALSE(preview->CommandEnabled(orbiscope::CM_PREVIOUS));
    EXPECT_FALSE(preview->CommandEnabled(orbiscope::CM_NEXT));
    EXPECT_TRUE(preview->CommandEnabled(orbiscope::CM_TWOPAGE));  // a portrait page
    EXPECT_EQ(preview->GadgetText(), "Page 1");
    preview->Command(orbiscope::CM_DONE);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());

    // A landscape page offers no second page beside it.
    LongReport longer(300);
    platform::Printer& printer = orbiscope::ApplicationPrinter();
    printer.Device().setPageOrientation(QPageLayout::Landscape);
    TApxPreviewWin landscape(nullptr, printer, &longer, "Long");
    EXPECT_FALSE(landscape.CommandEnabled(orbiscope::CM_TWOPAGE));
    landscape.Command(orbiscope::CM_TWOPAGE);
    EXPECT_EQ(landscape.GadgetText(), "Page 1");
    printer.Device().setPageOrientation(QPageLayout::Portrait);
}

TEST(PreviewWindow, TwoPagesSideBySide)
{
    testsupport::AppFixture f;
    LongReport w(300);
    auto* preview = new TApxPreviewWin(f.app->Frame(), orbiscope::ApplicationPrinter(), &w, "Long");
    preview->resize(900, 700);
    preview->show();
    QCoreApplication::processEvents();
    const int pages = preview->Pages().MaxPage();
    ASSERT_GE(pages, 3);
    EXPECT_EQ(preview->PreviewWidget()->pageCount(), 1);
    preview->Command(orbiscope::CM_NEXT);
    EXPECT_EQ(preview->GadgetText(), "Page 2");
    preview->Command(orbiscope::CM_TWOPAGE);
    EXPECT_EQ(preview->GadgetText(), "Page 2 - 3");
    EXPECT_EQ(preview->PreviewWidget()->pageCount(), 2);
    preview->Command(orbiscope::CM_PREVIOUS);
    EXPECT_EQ(preview->GadgetText(), "Page 1 - 2");
    EXPECT_FALSE(preview->CommandEnabled(orbiscope::CM_PREVIOUS));
    preview->Command(orbiscope::CM_ONEPAGE);
    EXPECT_EQ(preview->GadgetText(), "Page 1");
    EXPECT_EQ(preview->PreviewWidget()->pageCount(), 1);
    preview->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(PreviewWindow, ClientCommandPreviewsTheActiveDocument)
{
    testsupport::AppFixture f;
    orbiscope::RegisterPrintCommands();
    orbiscope::RegisterWindowFactory(10, [](const char*) { return new LongReport(60); });
    f.app->Dispatch(6014);
    ASSERT_NE(f.app->Client()->ActiveChild(), nullptr);
    f.app->Dispatch(24340);
    TApxPreviewWin* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = dynamic_cast<TApxPreviewWin*>(w); p && p->isVisible()) found = p;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GadgetText(), "Page 1");
    found->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
