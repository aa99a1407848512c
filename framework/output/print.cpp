#include "framework/output/print.h"

#include <QPainter>
#include <map>

#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "framework/app/strings.h"
#include "framework/output/mywindow.h"
#include "framework/output/preview.h"
#include "platform/dc.h"

namespace {

std::map<int, orbiscope::PrintoutFactory>& Factories()
{
    static std::map<int, orbiscope::PrintoutFactory> factories;
    return factories;
}

std::string DocumentTitle(const TMyWindow& window)
{
    if (window.HasFileName()) return window.FileName();
    return window.Title.empty() ? std::string(orbiscope::StringText(orbiscope::kStrUntitled)) : window.Title;
}

}  // namespace

// ---- TApxPrintout ---------------------------------------------------------------

TApxPrintout::TApxPrintout(platform::Printer* printer, const char* title, platform::Window* window, bool scale)
    : platform::Printout(title ? title : ""), printer_(printer), window_(window), scale_(scale)
{
}

void TApxPrintout::GetDialogInfo(int& minPage, int& /*maxPage*/, int& selFromPage, int& /*selToPage*/)
{
    // The print dialog offers no page range.
    minPage = 0;
    selFromPage = 0;
}

void TApxPrintout::BeginPrinting()
{
    // One page unless the printout paginates: the printer keeps the range
    // of its last job, which a graph or picture must not inherit.
    platform::PrinterSetup& s = printer_->Setup();
    s.minPage = s.firstPage = 1;
    s.maxPage = s.lastPage = 1;
}

bool TApxPrintout::HasPage(int page)
{
    const platform::PrinterSetup& s = printer_->Setup();
    return s.minPage <= page && page <= s.maxPage;
}

QRect TApxPrintout::BeginPage()
{
    const QSize page = PageSize();
    QPaintDevice* device = Device();
    QRect client(QPoint(0, 0), page);
    if (scale_ && device && window_) {
        const int screenX = window_->logicalDpiX(), screenY = window_->logicalDpiY();
        const int printerX = device->logicalDpiX(), printerY = device->logicalDpiY();
        client = QRect(0, 0, orbiscope::MulDiv(page.width(), screenX, printerX),
                       orbiscope::MulDiv(page.height(), screenY, printerY));
        client = FitPageClient(client);
        if (QPainter* painter = DC()) {
            platform::DC(*painter).SetMapping(client, QRect(QPoint(0, 0), page));
            mapped_ = true;
        }
    }
    // The window paints a client area the size of the page; nothing on the
    // screen changes.
    if (window_) window_->SetPrintClientRect(client);
    return client;
}

void TApxPrintout::EndPage()
{
    if (window_) window_->SetPrintClientRect(QRect());
    if (mapped_) {
        if (QPainter* painter = DC()) platform::DC(*painter).ResetMapping();
        mapped_ = false;
    }
}

void TApxPrintout::PrintPage(int page, QRect& band)
{
    BeginPage();
    QPainter* painter = DC();
    const QRect deviceBand = band;
    if (mapped_ && painter) band = painter->combinedTransform().inverted().mapRect(band);

    platform::PrinterSetup& s = printer_->Setup();
    const int first = s.firstPage, last = s.lastPage;
    s.firstPage = s.lastPage = page;
    TOrbiscope* app = TOrbiscope::Current();
    const int oldPage = app ? app->PrintPage : 0;
    if (app) {
        app->PrintPage = page;
        app->Printing = true;
    }
    if (painter && window_) {
        platform::DC dc(*painter);
        window_->Paint(dc, false, band);
    }
    if (app) {
        app->Printing = false;
        app->PrintPage = oldPage;
    }
    s.firstPage = first;
    s.lastPage = last;
    band = deviceBand;
    EndPage();
}

// ---- TMyWindowOut -----------------------------------------------------------------

TMyWindowOut::TMyWindowOut(platform::Printer* printer, const char* title, TMyWindow* window, bool scale)
    : TApxPrintout(printer, title, window, scale), report_(window)
{
}

void TMyWindowOut::BeginPrinting()
{
    TApxPrintout::BeginPrinting();
    const QRect client = BeginPage();
    QPaintDevice* device = Device() ? Device() : static_cast<QPaintDevice*>(&printer_->Device());
    orbiscope::ReportLineHeights h;
    h.title = platform::LineHeightOf(platform::MakeFont(report_->TitleFont), device);
    h.heading = platform::LineHeightOf(platform::MakeFont(report_->HeadingFont), device);
    h.body = platform::LineHeightOf(platform::MakeFont(report_->BodyFont), device);
    h.fourth = platform::LineHeightOf(platform::MakeFont(report_->FourthFont), device);

    const auto lines = orbiscope::SplitReportLines(report_->ReportText, report_->LineCount);
    const orbiscope::ReportPages pages = orbiscope::PaginateReport(lines, h, client.top() + client.height());
    report_->PageFirstLine = pages.firstLine;
    report_->PageLastLine = pages.lastLine;
    platform::PrinterSetup& s = printer_->Setup();
    s.minPage = 1;
    s.maxPage = std::max(1, pages.Count());
    EndPage();
}

namespace orbiscope {

int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    const long long p = static_cast<long long>(a) * b;
    long long q = p / c;
    const long long r = p % c;
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -(long long)c : c)) q += ((p < 0) != (c < 0)) ? -1 : 1;
    return int(q);
}

ReportPages PaginateReport(const std::vector<std::string_view>& lines, const ReportLineHeights& h, int clientBottom)
{
    ReportPages pages;
    const int top = 3 * h.title;
    const int bottomLimit = clientBottom - top - h.heading;
    int page = 1, y = top;
    auto slot = [&pages](int p) {
        if (int(pages.firstLine.size()) < p) {
            pages.firstLine.resize(std::size_t(p), 0);
            pages.lastLine.resize(std::size_t(p), 0);
        }
    };
    const int count = int(lines.size());
    for (int i = 0; i < count; ++i) {
        slot(page);
        const bool pageStart = y == top;
        if (pageStart) pages.firstLine[std::size_t(page - 1)] = i;
        pages.lastLine[std::size_t(page - 1)] = i;
        const std::string_view line = lines[std::size_t(i)];
        if (i == 0) {
            y += h.title;
        } else if (!line.empty() && line.back() == '~') {
            // A heading close to the bottom starts the next page.  One that
            // already starts a page stays there, or a page too small for it
            // would never end.
            if (y + 5 * h.heading >= bottomLimit && !pageStart) {
                pages.lastLine[std::size_t(page - 1)] = i - 1;
                ++page;
                y = top;
                --i;  // the heading again, as the first line of the new page
                continue;
            }
            y += h.heading;
        } else {
            y += h.body;
        }
        if (y >= bottomLimit) {
            y = top;
            if (i + 1 < count) ++page;
        }
    }
    return pages;
}

void RegisterPrintoutFactory(int windowType, PrintoutFactory factory) { Factories()[windowType] = std::move(factory); }
void ClearPrintoutFactories() { Factories().clear(); }

std::unique_ptr<TApxPrintout> MakePrintout(platform::Printer* printer, const char* title, TMyWindow* window, bool scale)
{
    if (auto it = Factories().find(window->WindowType()); it != Factories().end() && it->second)
        if (auto printout = it->second(printer, title, window, scale)) return printout;
    return std::make_unique<TMyWindowOut>(printer, title, window, scale);
}

platform::Printer& ApplicationPrinter()
{
    TOrbiscope* app = TOrbiscope::Current();
    if (!app) {
        static platform::Printer standalone;
        return standalone;
    }
    if (!app->Printer) app->Printer = std::make_unique<platform::Printer>();
    return *app->Printer;
}

void PrintDocumentWindow(TMyWindow& window)
{
    platform::Printer& printer = ApplicationPrinter();
    const std::string title = DocumentTitle(window);
    auto printout = MakePrintout(&printer, title.c_str(), &window, true);
    if (printer.Print(&window, *printout) == platform::PrintResult::Failed)
        ShowFileMessage(&window, kStrUnableToWrite, printer.LastPdfFile());
}

void RegisterPrintCommands()
{
    RegisterClientCommand(CM_FILEPRINTPREVIEW, [](TOrbiscopeMDIClient& client) {
        TOrbiscopeMDIChild* child = client.ActiveDocumentChild();
        TMyWindow* window = child ? child->Document() : nullptr;
        if (!window) return;
        const std::string title = DocumentTitle(*window);
        TOrbiscope* app = TOrbiscope::Current();
        QWidget* parent = app && app->Frame() ? static_cast<QWidget*>(app->Frame()) : &client;
        auto* preview = new TApxPreviewWin(parent, ApplicationPrinter(), window, title.c_str());
        preview->show();
    });
    RegisterClientCommand(CM_FILEPRINTERSETUP, [](TOrbiscopeMDIClient& client) {
        ApplicationPrinter().PageSetup(&client);
    });
}

}  // namespace orbiscope
