#include "framework/output/mywindow.h"

#include <QPainter>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/app/strings.h"
#include "framework/output/document_fields.h"
#include "framework/output/export.h"
#include "framework/output/print.h"
#include "framework/output/report.h"
#include "platform/mdi.h"
#include "platform/messagebox.h"
#include "platform/services.h"

using orbiscope::ClassifyReportLine;
using orbiscope::ReportLineKind;

TMyWindow::TMyWindow(QWidget* parent, const char* title, const char* fileName) : platform::Window(parent)
{
    if (title) Title = title;
    if (fileName) DocumentFileName = fileName;
    ReportText.reserve(16384);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    GetScroller().SetUnits(1, 1);

    // Document commands.
    auto hasLines = [this] { return LineCount > 0; };
    auto saveEnabled = [this] { return LineCount > 0 || !Changed; };
    SetHandler(orbiscope::CM_FILESAVE, [this] { Save(); });
    SetEnabler(orbiscope::CM_FILESAVE, saveEnabled);
    SetHandler(orbiscope::CM_FILESAVEAS, [this] { SaveAs(); });
    SetEnabler(orbiscope::CM_FILESAVEAS, saveEnabled);
    SetHandler(orbiscope::CM_SAVETABBED, [this] { orbiscope::SaveReportAsTabbedText(this, ReportText, LineCount); });
    SetEnabler(orbiscope::CM_SAVETABBED, hasLines);
    SetHandler(orbiscope::CM_SAVEHTML, [this] { orbiscope::SaveReportAsHtml(this, ReportText, LineCount); });
    SetEnabler(orbiscope::CM_SAVEHTML, hasLines);
    SetHandler(orbiscope::CM_EDITCOPY, [this] { CopyToClipboard(); });
    SetEnabler(orbiscope::CM_EDITCOPY, hasLines);
    SetHandler(orbiscope::CM_FILEPRINT, [this] { orbiscope::PrintDocumentWindow(*this); });
}

TMyWindow::~TMyWindow() = default;

TOrbiscope* TMyWindow::App() const { return TOrbiscope::Current(); }

void TMyWindow::AddLine(const char* text)
{
    ReportText += text;
    ReportText += '\n';
    ++LineCount;
}

void TMyWindow::ClearReport()
{
    ReportText.clear();
    LineCount = 0;
}

void TMyWindow::SetupWindow()
{
    const QFont body = platform::MakeFont(BodyFont);
    LineHeight = platform::LineHeightOf(body, viewport());
    AverageCharWidth = platform::AverageCharWidthOf(body, viewport());
    UpdateScroller(true);
}

void TMyWindow::UpdateScroller(bool scrollToTop)
{
    if (LineHeight <= 1) {
        const QFont body = platform::MakeFont(BodyFont);
        LineHeight = platform::LineHeightOf(body, viewport());
        AverageCharWidth = platform::AverageCharWidthOf(body, viewport());
    }
    auto& s = GetScroller();
    s.SetUnits(AverageCharWidth, LineHeight);
    s.SetRange(620 / std::max(1, AverageCharWidth), LineCount + 5);
    if (scrollToTop) s.ScrollTo(0, 0);
    Invalidate();
}

void TMyWindow::EvSize(int width, int height)
{
    if (width == 0 || height == 0 || isMinimized()) return;
    UpdateScroller(false);
}

void TMyWindow::EvSetFocus()
{
    // The window type of the window the user works in decides F12.
    if (TOrbiscope* app = App(); app && windowType_ != 0) app->PendingWindowType = windowType_;
}

QWidget* TMyWindow::CaptionHolder()
{
    QWidget* frame = parentWidget();
    while (frame && !frame->inherits("QMdiSubWindow")) frame = frame->parentWidget();
    return frame ? frame : this;
}

void TMyWindow::SetFileName(const char* name)
{
    DocumentFileName = name ? name : "";
    CaptionHolder()->setWindowTitle(name ? platform::ShownFileName(name)
                                         : QString::fromLatin1(orbiscope::StringText(orbiscope::kStrUntitled)));
}

void TMyWindow::SetDocTitle(const char* title) { CaptionHolder()->setWindowTitle(QString::fromLatin1(title ? title : "")); }

void TMyWindow::CloseWindow(int /*result*/)
{
    if (closeRequested_) return;
    closeRequested_ = true;
    // Dropped when the window is gone before the loop gets to it.
    QMetaObject::invokeMethod(this, [this] { CloseIfRequested(); }, Qt::QueuedConnection);
}

bool TMyWindow::CloseIfRequested()
{
    if (!closeRequested_) return false;
    if (closed_) return true;
    closed_ = true;
    if (auto* child = dynamic_cast<platform::MdiChild*>(CaptionHolder())) child->CloseWithoutAsking();
    else close();
    return true;
}

void TMyWindow::Paint(platform::DC& dc, bool /*erase*/, const QRect& rect)
{
    TOrbiscope* app = App();
    if (LineCount == 0 || rect.left() > rect.right() || rect.top() > rect.bottom()) {
        if (app) app->ViewPainted = false;
        return;
    }
    if (app) app->ViewPainted = true;

    dc.Save();
    const QFont fonts[4] = {platform::MakeFont(TitleFont), platform::MakeFont(HeadingFont),
                            platform::MakeFont(BodyFont), platform::MakeFont(FourthFont)};
    QPaintDevice* device = dc.Painter().device();
    orbiscope::ReportLineHeights h;
    h.title = platform::LineHeightOf(fonts[0], device);
    h.heading = platform::LineHeightOf(fonts[1], device);
    h.body = platform::LineHeightOf(fonts[2], device);
    h.fourth = platform::LineHeightOf(fonts[3], device);

    const QRect client = ClientRect();
    const auto lines = orbiscope::SplitReportLines(ReportText, LineCount);
    int x = client.left() + h.body;
    int first = 0, last = int(lines.size()) - 1;
    int y = client.top() + h.title;
    long bottomLimit = 0;
    const bool printing = app && app->Printing;
    if (printing) {
        const int page = app->PrintPage;
        if (page >= 1 && page <= int(PageFirstLine.size()) && page <= int(PageLastLine.size())) {
            first = PageFirstLine[std::size_t(page - 1)];
            last = std::min(last, PageLastLine[std::size_t(page - 1)]);
        }
        x = y = 3 * (client.left() + h.body);
        bottomLimit = std::numeric_limits<long>::max();
    } else {
        const int scroll = GetScroller().YPos();
        bottomLimit = long(client.bottom() - client.top()) + long(scroll) * h.body;
        const orbiscope::PaintStart start = orbiscope::FirstPaintedLine(lines, h, client.top(), scroll);
        first = start.firstLine;
        y = start.y;
    }

    for (int i = first; i <= last && i >= 0 && y <= bottomLimit; ++i) {
        const auto style = ClassifyReportLine(i, lines[std::size_t(i)]);
        int advance = h.body;
        switch (style.kind) {
        case ReportLineKind::Title:
            dc.SelectFont(fonts[0]);
            dc.SetTextColor(TitleColour);
            advance = h.title;
            break;
        case ReportLineKind::FirstHeading:
        case ReportLineKind::Heading:
            dc.SelectFont(fonts[1]);
            dc.SetTextColor(style.kind == ReportLineKind::FirstHeading ? FirstHeadingColour : HeadingColour);
            advance = h.heading;
            break;
        case ReportLineKind::Fourth:
            dc.SelectFont(fonts[3]);
            dc.SetTextColor(BodyColour);
            advance = h.fourth;
            break;
        case ReportLineKind::Body:
            dc.SelectFont(fonts[2]);
            dc.SetTextColor(BodyColour);
            break;
        }
        dc.TabbedTextOut(x, y, style.text, TabStops, x);
        y += advance;
    }
    dc.Restore();
}

void TMyWindow::RenderTo(QPainter& painter)
{
    painter.fillRect(ClientRect(), Qt::white);
    painter.save();
    painter.translate(-GetScroller().XPos() * GetScroller().XUnit(), -GetScroller().YPos() * GetScroller().YUnit());
    PaintInto(painter, ClientRect());
    painter.restore();
}

bool TMyWindow::CanClose()
{
    closeCalledOff_ = false;
    if (!Changed) return true;
    const std::string name = HasFileName() ? DocumentFileName : orbiscope::StringText(orbiscope::kStrUntitled);
    const platform::FileMessage text{orbiscope::StringText(orbiscope::kStrMayHaveBeenEdited), name};
    const int answer = platform::MessageBox(this, text, orbiscope::kMainTitle,
                                            platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
    // Cancel, Escape and the question's close keep the window as it is, as a
    // failed or cancelled save does; the close is called off.
    if (answer == platform::IDCANCEL) {
        closeCalledOff_ = true;
        return false;
    }
    if (answer == platform::IDYES && !Save()) {
        closeCalledOff_ = saveCancelled_;
        return false;
    }
    return true;
}

bool TMyWindow::LoadFile(const char*) { return false; }
bool TMyWindow::SaveFile(const char*) { return false; }

bool TMyWindow::Save()
{
    saveCancelled_ = false;
    if (!HasFileName() || saveAsFirst_) return SaveAs();
    const std::string name = DocumentFileName;
    if (!SaveFile(name.c_str())) {
        orbiscope::ShowFileMessage(this, orbiscope::kStrUnableToWrite, name);
        return false;
    }
    return true;
}

bool TMyWindow::SaveAs()
{
    FileData.fileName = DocumentFileName;
    FileData.overwritePrompt = true;
    saveCancelled_ = !platform::RunFileSave(this, "Save As", FileData);
    if (saveCancelled_) return false;
    const std::string chosen = FileData.fileName;
    if (!SaveFile(chosen.c_str())) {
        orbiscope::ShowFileMessage(this, orbiscope::kStrUnableToWrite, chosen);
        return false;
    }
    saveAsFirst_ = false;
    SetFileName(chosen.c_str());
    platform::RememberFolderOf(FileData, chosen);
    if (TOrbiscope* app = App()) app->AddRecentFile(chosen);
    return true;
}

void TMyWindow::OpenDocument(bool convertExtension)
{
    const std::string opened = DocumentFileName;
    SetFileName(HasFileName() ? opened.c_str() : nullptr);
    // A FIFO, device or folder is refused before a reader could wait on it.
    loadFailureShown_ = false;
    if (HasFileName() && (platform::IsNonRegularFile(opened) || !LoadFile(opened.c_str()))) {
        if (!loadFailureShown_) orbiscope::ShowFileMessage(this, orbiscope::kStrCannotRead, opened);
        SetFileName(nullptr);
    }
    if (convertExtension && HasFileName() && !FileData.defaultExt.empty()) {
        std::filesystem::path p(DocumentFileName);
        p.replace_extension("." + FileData.defaultExt);
        const std::string converted = p.string();
        // A converted name that names another, existing file must not be
        // overwritten by a plain Save: the first Save asks for a name.
        std::error_code ec;
        saveAsFirst_ = converted != opened && std::filesystem::exists(p, ec);
        SetFileName(converted.c_str());
    }
}

bool TMyWindow::ReadField(void* destination, int kind, DocumentFile& file)
{
    return ReadCountedField(file, destination, kind, FieldReadTotal, FieldReadLimit);
}

bool TMyWindow::ReadFieldUnchecked(void* destination, int kind, DocumentFile& file)
{
    return ReadUncountedField(file, destination, kind);
}

void TMyWindow::ShowCalcError()
{
    if (const char* text = CalcErrorText(CalcErrorCode))
        platform::MessageBox(this, text, orbiscope::kMainTitle, platform::MB_ICONEXCLAMATION);
    CalcErrorCode = 0;
}

double TMyWindow::PolarizationTerm(double latitude, double longitudeDifference, const char* polarization) const
{
    const TOrbiscope* app = App();
    return PolarizationTilt(latitude, longitudeDifference, polarization, app && app->RestrictPolarization());
}

bool TMyWindow::RunInputForm(TForm& form, CancelledTyping& kept, const std::function<bool()>& calculate)
{
    form.KeepCancelledTyping(kept);
    if (form.Execute() != platform::IDOK) return false;
    const bool changedBefore = Changed;
    Changed = true;
    if (calculate()) return true;
    form.TakeBackConfirmedTyping();
    Changed = changedBefore;
    return false;
}

bool TMyWindow::WriteDocument(const char* fileName, std::uint16_t version, const void* record, std::size_t size)
{
    std::string bytes(2 + size, '\0');
    bytes[0] = char(version & 0xFF);
    bytes[1] = char(version >> 8);
    std::memcpy(bytes.data() + 2, record, size);
    if (!platform::WriteFileAtomically(fileName, bytes.data(), bytes.size())) return false;
    Changed = false;
    return true;
}

void orbiscope::ShowFileMessage(QWidget* owner, int stringId, const std::string& fileName)
{
    platform::MessageBox(owner, platform::FileMessage{StringText(stringId), fileName}, kMainTitle,
                         platform::MB_ICONEXCLAMATION);
}

void TMyWindow::CopyToClipboard() { platform::CopyTextToClipboard(orbiscope::ReportPlainText(ReportText, LineCount)); }
