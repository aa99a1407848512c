#include "platform/printer.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>

#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/services.h"

namespace platform {

namespace {
std::string& PdfOverride()
{
    static std::string file;
    return file;
}

std::function<void()>& PageSetupSink()
{
    static std::function<void()> sink;
    return sink;
}

bool HasRealPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

// The printout's pages from `first` on, each on a page of its own.
bool RunPages(QPrinter& device, Printout& printout, int first, int last)
{
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QSize page = device.pageLayout().paintRectPixels(device.resolution()).size();
    printout.SetPrintParams(&device, &painter, page);
    printout.BeginDocument(first, last);
    bool firstPage = true;
    for (int p = first; p <= last && printout.HasPage(p); ++p) {
        if (!firstPage && !device.newPage()) break;
        firstPage = false;
        QRect band(QPoint(0, 0), page);
        painter.save();
        printout.PrintPage(p, band);
        painter.restore();
    }
    printout.EndDocument();
    return painter.end();
}
}  // namespace

Printer::Printer() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    if (!HasRealPrinter()) printer_->setOutputFormat(QPrinter::PdfFormat);
}

Printer::~Printer() = default;

QSize Printer::PageSize() const { return printer_->pageLayout().paintRectPixels(printer_->resolution()).size(); }

void Printer::SetPrintToPdfFile(const std::string& fileName) { PdfOverride() = fileName; }
const std::string& Printer::PrintToPdfFile() { return PdfOverride(); }
void Printer::SetPageSetupSink(std::function<void()> sink) { PageSetupSink() = std::move(sink); }

PrintResult Printer::Print(QWidget* parent, Printout& printout, bool prompt)
{
    QPrinter& device = *printer_;
    // The pages the printout offers are known only once it has begun
    // printing; the dialog offers no page range.
    int minPage = 1, maxPage = 1, fromPage = 1, toPage = 1;
    printout.GetDialogInfo(minPage, maxPage, fromPage, toPage);

    const QPrinter::OutputFormat format = device.outputFormat();
    const QString previousFile = device.outputFileName();
    FileDialogData pdf;  // the file the user names for this job, when there is no printer
    if (!PdfOverride().empty()) {
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setOutputFileName(QString::fromStdString(PdfOverride()));
    } else if (!HasRealPrinter()) {
        // No printer: the job becomes a PDF file.
        pdf.filter = "PDF Files (*.pdf)|*.pdf";
        pdf.defaultExt = "pdf";
        pdf.overwritePrompt = true;
        if (!RunFileSave(parent, "Print To PDF File", pdf)) return PrintResult::Cancelled;
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setOutputFileName(QString::fromStdString(pdf.fileName));
    } else if (prompt) {
        if (NoUserPresent()) return PrintResult::Cancelled;
        QPrintDialog dialog(&device, parent);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        if (dialog.exec() != QDialog::Accepted) return PrintResult::Cancelled;
    }
    lastPdf_ = device.outputFormat() == QPrinter::PdfFormat ? device.outputFileName().toStdString() : std::string();
    device.setDocName(ShownFileName(printout.Title()));

    BeginPrinting(printout);
    const bool ok = RunPages(device, printout, std::max(1, setup_.minPage), setup_.maxPage);
    printout.EndPrinting();
    if (ok && !pdf.fileName.empty()) RememberFolderOf(pdf, pdf.fileName);

    device.setOutputFormat(format);
    device.setOutputFileName(previousFile);
    return ok ? PrintResult::Printed : PrintResult::Failed;
}

void Printer::BeginPrinting(Printout& printout)
{
    // Measuring happens on the page device before the first page.
    printout.SetPrintParams(printer_.get(), nullptr, PageSize());
    printout.BeginPrinting();
}

void Printer::PaintPages(QPrinter& device, Printout& printout, int from, int to)
{
    RunPages(device, printout, from, to);
}

void Printer::PageSetup(QWidget* parent)
{
    if (PageSetupSink()) {
        PageSetupSink()();
        return;
    }
    if (NoUserPresent()) return;
    QPageSetupDialog dialog(printer_.get(), parent);
    dialog.exec();
}

}  // namespace platform
