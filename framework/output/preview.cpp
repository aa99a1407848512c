#include "framework/output/preview.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QStyle>
#include <QToolBar>
#include <cstdio>

#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/output/mywindow.h"
#include "framework/output/print.h"
#include "platform/mdi.h"

namespace orbiscope {

void PreviewNavigator::SetRange(int minPage, int maxPage)
{
    min_ = minPage;
    max_ = std::max(minPage, maxPage);
    first_ = last_ = min_;
}

void PreviewNavigator::Previous()
{
    if (first_ > min_) {
        --first_;
        --last_;
    }
}

void PreviewNavigator::Next()
{
    if (last_ < max_) {
        ++first_;
        ++last_;
    }
}

void PreviewNavigator::TwoPages()
{
    if (first_ < max_) last_ = first_ + 1;
    else if (first_ > min_) last_ = first_--;
}

std::string PreviewNavigator::Text() const
{
    char text[32];
    if (first_ != last_) std::snprintf(text, sizeof text, "Page %d - %d", first_, last_);
    else std::snprintf(text, sizeof text, "Page %d", first_);
    return text;
}

}  // namespace orbiscope

namespace {
QIcon Glyph(QStyle::StandardPixmap p) { return QApplication::style()->standardIcon(p); }
}  // namespace

TApxPreviewWin::TApxPreviewWin(QWidget* parent, platform::Printer& printer, TMyWindow* window, const char* title)
    : QMainWindow(parent), printer_(printer), window_(window)
{
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    // The caption is the main window's title.
    QString caption = QString::fromLatin1(orbiscope::kMainTitle);
    if (auto* app = platform::Application::Current(); app && app->Frame()) caption = app->Frame()->windowTitle();
    setWindowTitle(caption.left(255));

    auto* bar = new QToolBar(this);
    bar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, bar);
    auto add = [this, bar](int id, const QIcon& icon, const char* tip) {
        QAction* a = bar->addAction(icon, QString::fromLatin1(tip));
        a->setToolTip(QString::fromLatin1(tip));
        QObject::connect(a, &QAction::triggered, this, [this, id] { Command(id); });
        actions_[id] = a;
    };
    auto gap = [bar](int width) {
        auto* spacer = new QWidget(bar);
        spacer->setFixedWidth(width);
        bar->addWidget(spacer);
    };
    add(orbiscope::CM_PREVIOUS, Glyph(QStyle::SP_ArrowBack), "Previous page");
    add(orbiscope::CM_NEXT, Glyph(QStyle::SP_ArrowForward), "Next page");
    gap(6);
    add(orbiscope::CM_ONEPAGE, Glyph(QStyle::SP_FileIcon), "One page");
    add(orbiscope::CM_TWOPAGE, Glyph(QStyle::SP_FileDialogDetailedView), "Two pages");
    gap(12);
    gadget_ = new QLabel(bar);
    gadget_->setMinimumWidth(gadget_->fontMetrics().averageCharWidth() * 10);
    bar->addWidget(gadget_);
    gap(20);
    add(orbiscope::CM_DONE, Glyph(QStyle::SP_DialogCloseButton), "Done");

    SetHandler(orbiscope::CM_PREVIOUS, [this] { pages_.Previous(); });
    SetEnabler(orbiscope::CM_PREVIOUS, [this] { return pages_.PreviousEnabled(); });
    SetHandler(orbiscope::CM_NEXT, [this] { pages_.Next(); });
    SetEnabler(orbiscope::CM_NEXT, [this] { return pages_.NextEnabled(); });
    SetHandler(orbiscope::CM_ONEPAGE, [this] { pages_.OnePage(); });
    SetHandler(orbiscope::CM_TWOPAGE, [this] { pages_.TwoPages(); });
    SetEnabler(orbiscope::CM_TWOPAGE, [this] { return !landscape_; });
    SetHandler(orbiscope::CM_DONE, [this] { close(); });

    // The printout lives as long as the preview; it paginates once.
    printout_ = orbiscope::MakePrintout(&printer_, title, window, true);
    printer_.BeginPrinting(*printout_);
    pages_.SetRange(printer_.Setup().minPage, printer_.Setup().maxPage);
    const QSize page = printer_.PageSize();
    landscape_ = page.width() > page.height();

    view_ = new QPrintPreviewWidget(&printer_.Device(), this);
    view_->setViewMode(QPrintPreviewWidget::AllPagesView);
    view_->setZoomMode(QPrintPreviewWidget::FitInView);
    QObject::connect(view_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) { PaintRequested(p); });
    setCentralWidget(view_);
    resize(700, 800);
    Refresh();
}

TApxPreviewWin::~TApxPreviewWin() = default;

void TApxPreviewWin::PaintRequested(QPrinter* device)
{
    // The window may have closed while its preview stayed open.
    if (!window_ || !printout_) return;
    printer_.PaintPages(*device, *printout_, pages_.First(), pages_.Last());
}

bool TApxPreviewWin::CommandEnabled(int id) const
{
    bool enabled = HasHandler(id);
    QueryEnabler(id, enabled);
    return enabled;
}

void TApxPreviewWin::Command(int id)
{
    if (!CommandEnabled(id)) return;
    const bool closing = id == orbiscope::CM_DONE;
    HandleCommand(id);
    if (!closing) Refresh();
}

std::string TApxPreviewWin::GadgetText() const { return gadget_->text().toStdString(); }

void TApxPreviewWin::Refresh()
{
    for (auto& [id, action] : actions_) action->setEnabled(CommandEnabled(id));
    gadget_->setText(QString::fromStdString(pages_.Text()));
    view_->updatePreview();
}
