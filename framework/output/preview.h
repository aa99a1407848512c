// The print preview: a frame with a control bar and one or two pages of the
// window's printout, drawn on a QPrintPreviewWidget.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <string>

#include "platform/command.h"
#include "platform/printer.h"

class QAction;
class QLabel;
class QPrintPreviewWidget;
class TApxPrintout;
class TMyWindow;

namespace orbiscope {

// Control bar of the preview.
enum PreviewCommand {
    CM_PREVIOUS = 24500,
    CM_NEXT = 24501,
    CM_ONEPAGE = 24502,
    CM_TWOPAGE = 24503,
    IDG_PAGE = 24504,
    CM_DONE = 24505,
};

// Which pages the preview shows and what its buttons may do.
class PreviewNavigator {
public:
    void SetRange(int minPage, int maxPage);
    int First() const { return first_; }
    int Last() const { return last_; }
    int MinPage() const { return min_; }
    int MaxPage() const { return max_; }

    bool PreviousEnabled() const { return first_ != 1; }
    bool NextEnabled() const { return last_ < max_; }
    void Previous();
    void Next();
    void OnePage() { last_ = first_; }
    // The page after the first beside it; at the last page the pair is the
    // last two pages, so that no page beyond the report is shown.
    void TwoPages();
    // "Page %d" or "Page %d - %d".
    std::string Text() const;

private:
    int first_ = 1, last_ = 1, min_ = 1, max_ = 1;
};

}  // namespace orbiscope

class TApxPreviewWin : public QMainWindow, public platform::CommandTarget {
public:
    // Paginates the window's printout (the one registered for its window
    // type, else the report printout) and shows its first page.
    TApxPreviewWin(QWidget* parent, platform::Printer& printer, TMyWindow* window, const char* title);
    ~TApxPreviewWin() override;

    const orbiscope::PreviewNavigator& Pages() const { return pages_; }
    // Runs a control-bar command and refreshes the bar.
    void Command(int id);
    bool CommandEnabled(int id) const;
    std::string GadgetText() const;
    QPrintPreviewWidget* PreviewWidget() const { return view_; }

private:
    void Refresh();
    void PaintRequested(QPrinter* device);

    platform::Printer& printer_;
    QPointer<TMyWindow> window_;
    std::unique_ptr<TApxPrintout> printout_;
    orbiscope::PreviewNavigator pages_;
    QPrintPreviewWidget* view_ = nullptr;
    QLabel* gadget_ = nullptr;
    std::map<int, QAction*> actions_;
    bool landscape_ = false;
};
