#include "platform/mdi.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

namespace platform {

namespace {
// A new child covers three quarters of the client area each way, as the
// system's default size for a document window does, and never less than this.
constexpr int kChildShareNumerator = 3;
constexpr int kChildShareDenominator = 4;
constexpr int kMinChildWidthPx = 200;
constexpr int kMinChildHeightPx = 150;
// Numbered menu lines with a mnemonic digit.
constexpr int kNumberedMenuLines = 9;
}  // namespace

// ---- MDI child ---------------------------------------------------------------
MdiChild::MdiChild(MdiClient* client, const std::string& title, Window* clientWindow)
    : QMdiSubWindow(nullptr), clientWindow_(clientWindow)
{
    (void)client;
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(clientWindow);
    setWindowTitle(QString::fromLatin1(title.c_str()));
}

bool MdiChild::CloseAsking()
{
    agreed_ = false;
    return close();
}

void MdiChild::CloseWithoutAsking()
{
    agreed_ = true;
    close();
}

void MdiChild::closeEvent(QCloseEvent* event)
{
    if (!agreed_ && clientWindow_ && !clientWindow_->CanClose()) {
        event->ignore();
        return;
    }
    agreed_ = false;
    QMdiSubWindow::closeEvent(event);
}

// ---- MDI client --------------------------------------------------------------
MdiClient::MdiClient(QWidget* parent) : QMdiArea(parent)
{
    setActivationOrder(QMdiArea::CreationOrder);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SetHandler(24361, [this] { cascadeSubWindows(); });
    SetHandler(24362, [this] { TileVertically(); });
    SetHandler(24363, [this] { TileHorizontally(); });
    SetHandler(24364, [this] { ArrangeIcons(); });
    SetHandler(24365, [this] { CloseChildren(); });
    for (int id : {24361, 24362, 24363, 24364, 24365})
        SetEnabler(id, [this] { return !Children().empty(); });
}

MdiChild* MdiClient::CreateChild()
{
    MdiChild* active = ActiveChild();
    const bool maximized = active && active->isMaximized();
    MdiChild* child = InitChild();
    if (!child) return nullptr;
    const QRect place = NewChildGeometry();
    addSubWindow(child);
    if (maximized) {
        child->showMaximized();
    } else {
        child->setGeometry(place);
        child->show();
    }
    setActiveSubWindow(child);
    if (child->ClientWindow()) child->ClientWindow()->setFocus();
    return child;
}

QRect MdiClient::NewChildGeometry() const
{
    const QRect area = viewport()->rect();
    const QSize size(std::max(kMinChildWidthPx, area.width() * kChildShareNumerator / kChildShareDenominator),
                     std::max(kMinChildHeightPx, area.height() * kChildShareNumerator / kChildShareDenominator));
    QPoint origin(0, 0);
    const std::vector<MdiChild*> open = Children();
    if (!open.empty()) {
        const MdiChild* last = open.back();
        if (!last->isMinimized() && !last->isMaximized()) {
            const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, last);
            origin = last->pos() + QPoint(step, step);
        }
    }
    // A cascade that would run off the client area starts again at its corner.
    if (origin.x() + size.width() > area.width() || origin.y() + size.height() > area.height()) origin = QPoint(0, 0);
    return QRect(origin, size);
}

void MdiClient::ActivateNext()
{
    if (subWindowList().size() > 1) activateNextSubWindow();
}

void MdiClient::ActivatePrevious()
{
    if (subWindowList().size() > 1) activatePreviousSubWindow();
}

void MdiClient::Activate(MdiChild* child)
{
    if (!child) return;
    if (child->isMinimized()) child->showNormal();
    setActiveSubWindow(child);
    if (child->ClientWindow()) child->ClientWindow()->setFocus();
}

MdiChild* MdiClient::ActiveChild() const
{
    // The current sub-window survives the frame losing the focus.
    return dynamic_cast<MdiChild*>(currentSubWindow());
}

std::vector<MdiChild*> MdiClient::Children() const
{
    std::vector<MdiChild*> out;
    for (QMdiSubWindow* w : subWindowList(QMdiArea::CreationOrder))
        if (auto* c = dynamic_cast<MdiChild*>(w)) out.push_back(c);
    return out;
}

bool MdiClient::CanCloseChildren(MdiChild** refused)
{
    for (MdiChild* c : Children()) {
        if (!c->ClientWindow() || c->ClientWindow()->CanClose()) continue;
        if (refused) *refused = c;
        return false;
    }
    return true;
}

bool MdiClient::CloseChildren(MdiChild** refused)
{
    if (!CanCloseChildren(refused)) return false;
    for (MdiChild* c : Children()) c->CloseWithoutAsking();
    return true;
}

void MdiClient::TileVertically()
{
    const auto children = Children();
    if (children.empty()) return;
    const int w = std::max(1, viewport()->width() / int(children.size()));
    int x = 0;
    for (MdiChild* c : children) {
        if (c->isMinimized()) continue;
        c->showNormal();
        c->setGeometry(x, 0, w, viewport()->height());
        x += w;
    }
}

void MdiClient::TileHorizontally()
{
    const auto children = Children();
    if (children.empty()) return;
    const int h = std::max(1, viewport()->height() / int(children.size()));
    int y = 0;
    for (MdiChild* c : children) {
        if (c->isMinimized()) continue;
        c->showNormal();
        c->setGeometry(0, y, viewport()->width(), h);
        y += h;
    }
}

void MdiClient::ArrangeIcons()
{
    int x = 0;
    for (MdiChild* c : Children()) {
        if (!c->isMinimized()) continue;
        c->move(x, viewport()->height() - c->height());
        x += c->width();
    }
}

// ---- MDI frame ---------------------------------------------------------------
QString NumberedMenuLine(int number, QString text)
{
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return (number <= kNumberedMenuLines ? QStringLiteral("&%1 ") : QStringLiteral("%1 ")).arg(number) + text;
}

MdiFrame::MdiFrame(const std::string& title, MdiClient* client) : client_(client)
{
    setWindowTitle(QString::fromLatin1(title.c_str()));
    setCentralWidget(client);
    setAcceptDrops(true);
    statusBar()->setSizeGripEnabled(true);
    QObject::connect(client, &QMdiArea::subWindowActivated, this, [this] { UpdateCommandEnablers(); });
    AddWindowKeys();
    // The toolbar follows the enablers while the program idles.
    enablerTimer_.setInterval(300);
    QObject::connect(&enablerTimer_, &QTimer::timeout, this, [this] { UpdateCommandEnablers(); });
    enablerTimer_.start();
}

MdiFrame::~MdiFrame()
{
    // The client outlives this part of the frame: its children, hidden as the
    // frame goes, must not reach for menus already gone.
    QObject::disconnect(client_, nullptr, this, nullptr);
    enablerTimer_.stop();
}

void MdiFrame::AddItems(QMenu* menu, const std::vector<MenuItemDef>& items)
{
    for (const MenuItemDef& item : items) {
        if (!item.children.empty()) {
            QMenu* sub = menu->addMenu(QString::fromLatin1(item.text.c_str()));
            AddItems(sub, item.children);
            continue;
        }
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        QString text = QString::fromLatin1(item.text.c_str());
        QString shortcutText;
        if (const int tab = text.indexOf(QLatin1Char('\t')); tab >= 0) {
            shortcutText = text.mid(tab + 1);
            text = text.left(tab);
        }
        auto* action = new QAction(text, this);
        action->setStatusTip(QString::fromLatin1(item.hint.c_str()));
        action->setData(item.id);
        if (!shortcutText.isEmpty()) action->setShortcutVisibleInContextMenu(true);
        const int id = item.id;
        QObject::connect(action, &QAction::triggered, this, [id] {
            if (Application* app = Application::Current()) app->Dispatch(id);
        });
        menu->addAction(action);
        actions_[id] = action;
    }
}

void MdiFrame::BuildMenus(const std::vector<MenuDef>& menus)
{
    for (const MenuDef& m : menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(m.title.c_str()));
        menus_[m.title] = menu;
        AddItems(menu, m.items);
        QObject::connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandEnablers(); });
        if (m.listsWindows) SetWindowMenu(m.title);
    }
}

// The keys of a multiple-document program: Ctrl+F6 and Ctrl+Tab go to the
// next document window, with Shift to the previous, through all of them.
void MdiFrame::AddWindowKeys()
{
    const struct {
        QKeySequence keys;
        bool next;
    } bindings[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_F6), true},
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), true},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), false},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), false},
        {QKeySequence(Qt::CTRL | Qt::Key_Backtab), false},
    };
    for (const auto& b : bindings) {
        auto* action = new QAction(this);
        action->setShortcut(b.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        const bool next = b.next;
        QObject::connect(action, &QAction::triggered, this, [this, next] {
            if (next) client_->ActivateNext();
            else client_->ActivatePrevious();
        });
        addAction(action);
    }
}

void MdiFrame::SetWindowMenu(const std::string& title)
{
    windowMenu_ = Menu(title);
    if (windowMenu_) QObject::connect(windowMenu_, &QMenu::aboutToShow, this, [this] { RefreshWindowList(); });
}

void MdiFrame::RefreshWindowList()
{
    if (!windowMenu_) return;
    for (QAction* a : windowList_) {
        windowMenu_->removeAction(a);
        delete a;
    }
    windowList_.clear();
    const std::vector<MdiChild*> children = client_->Children();
    if (children.empty()) return;
    windowList_.push_back(windowMenu_->addSeparator());
    MdiChild* active = client_->ActiveChild();
    for (std::size_t i = 0; i < children.size(); ++i) {
        MdiChild* child = children[i];
        QAction* a = windowMenu_->addAction(NumberedMenuLine(int(i) + 1, child->windowTitle()));
        a->setCheckable(true);
        a->setChecked(child == active);
        QPointer<MdiChild> target(child);
        QObject::connect(a, &QAction::triggered, this, [this, target] {
            if (target) client_->Activate(target);
        });
        windowList_.push_back(a);
    }
}

QToolBar* MdiFrame::AddToolBar(const std::string& title, const std::vector<int>& ids)
{
    QToolBar* bar = addToolBar(QString::fromLatin1(title.c_str()));
    bar->setObjectName(QString::fromLatin1(title.c_str()));
    bar->setMovable(true);
    bar->setFloatable(true);
    for (int id : ids) {
        if (id == 0) {
            bar->addSeparator();
        } else if (QAction* a = Action(id)) {
            // The button tells what it does in the words of its menu hint.
            if (!a->statusTip().isEmpty()) a->setToolTip(a->statusTip());
            bar->addAction(a);
        }
    }
    return bar;
}

void MdiFrame::SetAccelerator(int id, const QKeySequence& keys)
{
    if (QAction* a = Action(id)) {
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
    }
}

QAction* MdiFrame::Action(int id) const
{
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* MdiFrame::Menu(const std::string& title) const
{
    auto it = menus_.find(title);
    return it == menus_.end() ? nullptr : it->second;
}

void MdiFrame::UpdateCommandEnablers()
{
    Application* app = Application::Current();
    if (!app) return;
    const CommandChain chain = app->Chain();
    for (auto& [id, action] : actions_) action->setEnabled(CommandEnabledOn(chain, id));
}

void MdiFrame::SetStatusText(const std::string& text)
{
    statusBar()->showMessage(QString::fromLatin1(text.c_str()));
}

std::string MdiFrame::StatusText() const { return statusBar()->currentMessage().toLatin1().toStdString(); }

void MdiFrame::closeEvent(QCloseEvent* event)
{
    Application* app = Application::Current();
    if (app && !app->CanClose()) {
        event->ignore();
        return;
    }
    // Children were asked already; they go without a second question.
    for (MdiChild* c : client_->Children()) c->CloseWithoutAsking();
    event->accept();
}

void MdiFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MdiFrame::dropEvent(QDropEvent* event)
{
    std::vector<std::string> files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    if (Application* app = Application::Current()) app->DropFiles(files);
}

// ---- application -------------------------------------------------------------
namespace {
Application*& CurrentApp()
{
    static Application* app = nullptr;
    return app;
}
}  // namespace

Application::Application()
{
    CurrentApp() = this;
    if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
}

Application::~Application()
{
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    if (CurrentApp() == this) CurrentApp() = nullptr;
}

Application* Application::Current() { return CurrentApp(); }

CommandChain Application::Chain() const
{
    CommandChain chain;
    if (frame_) {
        MdiClient* client = frame_->Client();
        if (MdiChild* child = client ? client->ActiveChild() : nullptr) {
            if (Window* w = child->ClientWindow()) chain.push_back(w);
            chain.push_back(child);
        }
        if (client) chain.push_back(client);
        chain.push_back(frame_.data());
    }
    chain.push_back(const_cast<Application*>(this));
    return chain;
}

bool Application::Dispatch(int id)
{
    const bool handled = RouteCommand(Chain(), id);
    if (frame_) frame_->UpdateCommandEnablers();
    return handled;
}

void Application::PostToMainWindow(int id)
{
    QPointer<Application> self(this);
    QMetaObject::invokeMethod(
        this, [self, id] { if (self) self->Dispatch(id); }, Qt::QueuedConnection);
}

bool Application::IsEnabled(int id) const { return CommandEnabledOn(Chain(), id); }

bool Application::CanClose()
{
    return !frame_ || !frame_->Client() || frame_->Client()->CanCloseChildren();
}

bool Application::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        // Each key is seen once: at the widget that receives it.
        if (watched->isWidgetType() && event->type() == QEvent::KeyPress &&
            ProcessAppMsg(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace platform
