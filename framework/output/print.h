// Printouts of the output windows: `TApxPrintout` maps the printer page onto
// the window's own units and lets the window paint each page; `TMyWindowOut`
// adds the pagination of the report text.  Graph and image windows register
// printouts of their own for their window types.
#pragma once

#include <QRect>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/output/report.h"
#include "platform/printer.h"

class TMyWindow;
class TOrbiscope;
namespace platform {
class Window;
}

class TApxPrintout : public platform::Printout {
public:
    // scale: the printer page is mapped to the window's size (every printout
    // of the system scales).
    TApxPrintout(platform::Printer* printer, const char* title, platform::Window* window, bool scale);

    void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) override;
    // Sets the printer's page range to the one page of a graph or picture;
    // a printout that paginates sets its own range after calling this.
    void BeginPrinting() override;
    bool HasPage(int page) override;
    // Sets the application's printing state (Printing, PrintPage) and calls
    // the window's Paint on the page's context; the window's ClientRect is
    // then the page in the window's own units, and `band` that rectangle.
    void PrintPage(int page, QRect& band) override;

protected:
    // The client area a page shows, given the page in screen units: a
    // printout may enlarge it (keeping its shape) so that its window's
    // drawing fits on the page.
    virtual QRect FitPageClient(const QRect& pageClient) { return pageClient; }
    // Scales the window to the page: the window's client area becomes the
    // page in screen units (page size x screen resolution / printer
    // resolution) and the painter maps it onto the page.  Returns that area.
    QRect BeginPage();
    void EndPage();

    platform::Printer* printer_;
    platform::Window* window_;
    bool scale_;

private:
    bool mapped_ = false;
};

class TMyWindowOut : public TApxPrintout {
public:
    TMyWindowOut(platform::Printer* printer, const char* title, TMyWindow* window, bool scale);
    // Paginates the report into the window's page tables, then the base.
    void BeginPrinting() override;

private:
    TMyWindow* report_;
};

namespace orbiscope {

// Which report lines each page holds (pages counted from 1 at index 0).
struct ReportPages {
    std::vector<int> firstLine;
    std::vector<int> lastLine;
    int Count() const { return int(firstLine.size()); }
};

// Splits a report into pages of a client area `clientBottom` high: the top
// margin is 3 title heights; a line that reaches the bottom limit (client
// bottom - top - heading height) ends its page; a heading that would start
// within 5 heading heights of the limit goes to the next page.
ReportPages PaginateReport(const std::vector<std::string_view>& lines, const ReportLineHeights& heights,
                           int clientBottom);

// Integer multiply-divide, rounded to the nearest (the page-to-window scale).
int MulDiv(int a, int b, int c);

// The printout for a window: the one registered for its window type, else
// the report printout.
using PrintoutFactory =
    std::function<std::unique_ptr<TApxPrintout>(platform::Printer* printer, const char* title, TMyWindow* window, bool scale)>;
void RegisterPrintoutFactory(int windowType, PrintoutFactory factory);
void ClearPrintoutFactories();
std::unique_ptr<TApxPrintout> MakePrintout(platform::Printer* printer, const char* title, TMyWindow* window, bool scale);

// The application's printer, created when first needed.
platform::Printer& ApplicationPrinter();

// The Print command of an output window: the print dialog (or the PDF file
// name without a printer), then every page; a file that cannot be written
// is reported.
void PrintDocumentWindow(TMyWindow& window);

// Print Preview and Page Setup of the MDI client, registered as client commands.
void RegisterPrintCommands();

}  // namespace orbiscope
