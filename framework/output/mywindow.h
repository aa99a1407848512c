// TMyWindow: the base of every document window.  It owns the report text and
// draws, scrolls, copies and saves it, and offers the typed-field reader, the
// calculation-error display and the polarization tilt of the document files.
#pragma once

#include <QColor>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/forms/form.h"
#include "framework/output/docfile.h"
#include "platform/dc.h"
#include "platform/filedialog.h"
#include "platform/window.h"

class TOrbiscope;

class TMyWindow : public platform::Window {
public:
    // No parent and no title for document windows; fileName null for an
    // untitled window.
    TMyWindow(QWidget* parent, const char* title, const char* fileName);
    ~TMyWindow() override;

    // ---- report ----
    void AddLine(const char* text);
    void ClearReport();                       // line count and length 0
    const std::string& Report() const { return ReportText; }
    int Lines() const { return LineCount; }

    // ---- window ----
    void SetupWindow() override;
    void Paint(platform::DC& dc, bool erase, const QRect& rect) override;
    bool CanClose() override;
    // Whether the last CanClose was refused by the user (Cancel, Escape or the
    // question's close, or Save As cancelled) rather than by a save that
    // failed.
    bool CloseCalledOff() const { return closeCalledOff_; }
    // A window that refuses before it asks (a search still writing to it)
    // leaves the answer of an earlier close standing: a close check that
    // reads CloseCalledOff forgets that answer first.
    void ForgetCloseCalledOff() { closeCalledOff_ = false; }
    void EvSetFocus() override;
    void EvSize(int width, int height) override;
    virtual void UpdateScroller(bool scrollToTop);
    void SetFileName(const char* name);
    // The caption of the window's MDI child (a table's or graph's title);
    // the document's file name stays as it is.
    void SetDocTitle(const char* title);
    // Closes the window's MDI child without asking, even when something was
    // written: a table or graph builder whose form was cancelled.  The close
    // happens once the caller has returned (the builder is still running on
    // this window): the client closes it as soon as the builder returns, the
    // event loop otherwise.  `result` is not used.
    void CloseWindow(int result = 0);
    // Closes the window if CloseWindow asked for it and it is not closed yet;
    // returns whether it asked.
    bool CloseIfRequested();
    const std::string& FileName() const { return DocumentFileName; }
    bool HasFileName() const { return !DocumentFileName.empty(); }

    // ---- documents ----
    virtual void OpenDocument(bool convertExtension);
    virtual bool LoadFile(const char* fileName);
    virtual bool SaveFile(const char* fileName);
    bool Save();
    bool SaveAs();
    bool ReadField(void* destination, int kind, DocumentFile& file);
    bool ReadFieldUnchecked(void* destination, int kind, DocumentFile& file);
    void ShowCalcError();
    double PolarizationTerm(double latitude, double longitudeDifference, const char* polarization) const;
    // The edit command of a calculation window: `form` over the document's
    // record.  Cancel keeps what was typed in `kept` for the form's next run
    // only.  OK marks the document changed, the first one of a new window
    // too, and runs `calculate`; an OK whose calculation stops before its
    // report (false) is kept as Cancel keeps typing: the record stays the one
    // the report on screen was computed from, and the changed flag what it
    // was.  True when the OK reached its report.
    bool RunInputForm(TForm& form, CancelledTyping& kept, const std::function<bool()>& calculate);
    // The save protocol of a calculation window: version word and record in
    // one file, written through a temporary file; clears the changed flag.
    // A failure is said once, by the Save or Save As that called it.
    bool WriteDocument(const char* fileName, std::uint16_t version, const void* record, std::size_t size);

    // ---- the window type (set by the client) ----
    int WindowType() const { return windowType_; }
    void SetWindowType(int type) { windowType_ = type; }

    // Copies the report without its marks to the clipboard.
    void CopyToClipboard();

    // A batch's own report saved as tabbed text, the proposed name being the
    // document's with "-Results.tab" (framework/output/export.cpp).
    void SaveBatchResultsAsTabbedText(std::string_view report, std::int32_t lineCount);

    // Renders the whole client area into an image-backed painter.
    void RenderTo(QPainter& painter);

    // ---- state shared with the derived windows ----
    std::string ReportText;                 // grows as needed
    std::int32_t LineCount = 0;
    char LineBuffer[1024] = {};             // one line formatted before AddLine
    static constexpr const char* BlankLine = " ";
    platform::FontDesc TitleFont{20, 700, "Arial"};
    platform::FontDesc HeadingFont{14, 700, "Arial"};
    platform::FontDesc BodyFont{12, 400, "Arial"};
    platform::FontDesc FourthFont{12, 700, "Arial"};
    QColor TitleColour{127, 0, 0};
    QColor FirstHeadingColour{0, 127, 0};
    QColor HeadingColour{0, 0, 100};
    QColor BodyColour{0, 0, 0};
    std::vector<int> TabStops{0};           // positions in pixels from the tab origin
    int AverageCharWidth = 1;
    int LineHeight = 1;
    std::vector<int> PageFirstLine;         // filled by the printout, grows
    std::vector<int> PageLastLine;
    bool Changed = false;
    std::int32_t CalcErrorCode = 0;
    std::int32_t FieldReadLimit = 0;
    std::int32_t FieldReadTotal = 0;
    platform::FileDialogData FileData;      // filter and default extension of Save As
    std::string Title;

protected:
    TOrbiscope* App() const;
    // Called by a LoadFile that has said why it failed (a file refused for its
    // size), so that OpenDocument adds no second box to the user's one failure.
    void LoadFailureShown() { loadFailureShown_ = true; }
    std::string DocumentFileName;

private:
    // The MDI child frame holding this window, or the window itself.
    QWidget* CaptionHolder();

    int windowType_ = 0;
    bool closeRequested_ = false;
    bool closed_ = false;
    bool saveAsFirst_ = false;  // a converted name that would overwrite another file
    bool closeCalledOff_ = false;
    // The last Save or Save As ended at its file dialog.
    bool saveCancelled_ = false;
    bool loadFailureShown_ = false;
};

namespace orbiscope {
// The box of a string that names a file ("Cannot read file %s", "Unable to
// write file %s to disk."), the name shown as the file system names it.
void ShowFileMessage(QWidget* owner, int stringId, const std::string& fileName);
}  // namespace orbiscope
