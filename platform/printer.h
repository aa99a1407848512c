// Printer, printout and the print loop, on QPrinter.  Without a printer the
// job becomes a PDF file; tests send every job to a PDF file of their choice.
#pragma once

#include <QPrinter>
#include <QRect>
#include <QSize>
#include <functional>
#include <memory>
#include <string>

class QPainter;
class QWidget;

namespace platform {

// The page numbers of a job, in the manner of the original print set-up:
// the first and last page to print, and the range the printout offers.
struct PrinterSetup {
    int firstPage = 1;
    int lastPage = 1;
    int minPage = 1;
    int maxPage = 1;
};

// One print job or one preview: the printing loop asks it for pages.  Its
// title names the job (in the print queue, as a PDF file's title): the
// document's file name as the file system's bytes, shown as the file system
// names it (a title of plain ASCII reads the same).
class Printout {
public:
    explicit Printout(std::string title) : title_(std::move(title)) {}
    virtual ~Printout() = default;
    Printout(const Printout&) = delete;
    Printout& operator=(const Printout&) = delete;

    // The page device, the painter on it (null while the job is measured,
    // before the first page) and the page size in device units.
    virtual void SetPrintParams(QPaintDevice* device, QPainter* painter, QSize pageSize)
    {
        device_ = device;
        painter_ = painter;
        pageSize_ = pageSize;
    }
    virtual void GetDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage)
    {
        minPage = maxPage = selFromPage = selToPage = 1;
    }
    virtual void BeginPrinting() {}
    virtual void BeginDocument(int startPage, int endPage) { (void)startPage, (void)endPage; }
    virtual bool HasPage(int page) { return page == 1; }
    // `band` is the page rectangle in device units.
    virtual void PrintPage(int page, QRect& band) = 0;
    virtual void EndDocument() {}
    virtual void EndPrinting() {}

    const std::string& Title() const { return title_; }
    QPaintDevice* Device() const { return device_; }
    QPainter* DC() const { return painter_; }
    QSize PageSize() const { return pageSize_; }

private:
    std::string title_;
    QPaintDevice* device_ = nullptr;
    QPainter* painter_ = nullptr;
    QSize pageSize_;
};

enum class PrintResult { Printed, Cancelled, Failed };

class Printer {
public:
    Printer();
    ~Printer();

    QPrinter& Device() { return *printer_; }
    PrinterSetup& Setup() { return setup_; }
    // The printable area of a page in device units.
    QSize PageSize() const;

    // Runs one job: the print dialog (or, without a printer, a file-save
    // dialog for the PDF file), then every page the printout has.  Failed:
    // the job could not be started or finished (an unwritable PDF file).
    PrintResult Print(QWidget* parent, Printout& printout, bool prompt = true);
    // The file the last job went to, when it went to a PDF file.
    const std::string& LastPdfFile() const { return lastPdf_; }

    // Measures the printout on this printer (its BeginPrinting), so that the
    // set-up holds its page range; then paints pages [from, to] on `device`
    // (the preview's pages).
    void BeginPrinting(Printout& printout);
    void PaintPages(QPrinter& device, Printout& printout, int from, int to);

    // The page set-up dialog.
    void PageSetup(QWidget* parent);

    // Test seam: when set, every job goes to this PDF file without a dialog.
    static void SetPrintToPdfFile(const std::string& fileName);  // empty clears
    static const std::string& PrintToPdfFile();
    // Test seam: when set, the page set-up dialog is not shown; the sink is
    // called in its place.
    static void SetPageSetupSink(std::function<void()> sink);  // empty clears

private:
    std::unique_ptr<QPrinter> printer_;
    PrinterSetup setup_;
    std::string lastPdf_;
};

}  // namespace platform
