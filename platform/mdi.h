// MDI frame, client and child windows on QMainWindow / QMdiArea, and the
// application object that routes commands between them.
#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <map>
#include <string>
#include <vector>

#include "platform/command.h"
#include "platform/window.h"

class QAction;
class QMenu;
class QToolBar;
class QKeyEvent;

namespace platform {

class MdiClient;
class MdiFrame;

// One menu item: a command (id > 0), a separator (id 0 and no text) or a
// submenu (children).  The hint is shown in the status bar while selected.
struct MenuItemDef {
    int id = 0;
    std::string text;
    std::string hint;
    std::vector<MenuItemDef> children;
};
struct MenuDef {
    std::string title;
    std::vector<MenuItemDef> items;
    bool listsWindows = false;  // the Window menu: the open children follow its items
};

// ---- MDI child ---------------------------------------------------------------
class MdiChild : public QMdiSubWindow, public CommandTarget {
public:
    MdiChild(MdiClient* client, const std::string& title, Window* clientWindow);

    Window* ClientWindow() const { return clientWindow_; }
    // Closes after asking the document window (unless it already agreed).
    bool CloseAsking();
    void CloseWithoutAsking();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<Window> clientWindow_;
    bool agreed_ = false;
};

// ---- MDI client --------------------------------------------------------------
class MdiClient : public QMdiArea, public CommandTarget {
public:
    explicit MdiClient(QWidget* parent = nullptr);

    // Builds the child for the next CreateChild; null when nothing is to be made.
    virtual MdiChild* InitChild() { return nullptr; }
    // Creates, shows and activates the child that InitChild builds: maximized
    // when the active child is maximized, else over most of the client area,
    // cascaded one title bar down and right from the child opened before.
    MdiChild* CreateChild();
    // Where a new child that is not maximized goes.
    QRect NewChildGeometry() const;

    MdiChild* ActiveChild() const;
    std::vector<MdiChild*> Children() const;

    // The class library's close of all children: when every child agrees, all
    // are destroyed; otherwise none, and `refused` (when given) is the child
    // that said no.  Returns whether all closed.
    bool CloseChildren(MdiChild** refused = nullptr);
    // Every child asked in turn, until one refuses (the application's close
    // check); that one is given in `refused` when asked for.
    bool CanCloseChildren(MdiChild** refused = nullptr);

    void TileVertically();
    void TileHorizontally();
    void ArrangeIcons();
    // Activates the next or previous child in the order they were opened,
    // round from the last to the first.
    void ActivateNext();
    void ActivatePrevious();
    // Shows and activates a child, restoring it when it is an icon.
    void Activate(MdiChild* child);
};

// ---- MDI frame ---------------------------------------------------------------
// A menu line that lists something by its number ("&1 text"): the first nine
// numbers are the line's mnemonic, and an ampersand of the text is shown,
// not taken for one.
QString NumberedMenuLine(int number, QString text);

class MdiFrame : public QMainWindow, public CommandTarget {
public:
    MdiFrame(const std::string& title, MdiClient* client);
    ~MdiFrame() override;

    MdiClient* Client() const { return client_; }

    void BuildMenus(const std::vector<MenuDef>& menus);
    // The menu (by title) that lists the open children after its own items:
    // numbered, the active one checked; choosing one activates it.
    void SetWindowMenu(const std::string& title);
    // Brings the list up to date (the menu does it each time it opens).
    void RefreshWindowList();
    const std::vector<QAction*>& WindowListActions() const { return windowList_; }
    // Buttons reuse the menu actions (id 0 = separator).
    QToolBar* AddToolBar(const std::string& title, const std::vector<int>& ids);
    void SetAccelerator(int id, const QKeySequence& keys);
    QAction* Action(int id) const;
    QMenu* Menu(const std::string& title) const;
    const std::map<int, QAction*>& Actions() const { return actions_; }

    // Re-evaluates the enablers of every menu and toolbar command.
    void UpdateCommandEnablers();
    void SetStatusText(const std::string& text);
    std::string StatusText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void AddItems(QMenu* menu, const std::vector<MenuItemDef>& items);

    void AddWindowKeys();

    MdiClient* client_;
    QMenu* windowMenu_ = nullptr;
    std::vector<QAction*> windowList_;  // the separator first
    std::map<int, QAction*> actions_;
    std::map<std::string, QMenu*> menus_;
    QTimer enablerTimer_;
};

// ---- application -------------------------------------------------------------
// The system's application object derives from this: it owns the frame and
// is the last target of the routing chain.
class Application : public QObject, public CommandTarget {
public:
    Application();
    ~Application() override;

    static Application* Current();

    MdiFrame* Frame() const { return frame_; }
    void SetFrame(MdiFrame* frame) { frame_ = frame; }

    // The routing chain: active document window, its child, the client, the
    // frame, the application.
    CommandChain Chain() const;
    // A command from a menu, toolbar or accelerator: routed now.
    bool Dispatch(int id);
    // A command posted to the main window: routed from the event loop.
    void PostToMainWindow(int id);
    bool IsEnabled(int id) const;

    // The close check of the frame.
    virtual bool CanClose();
    // Files dropped on the frame, in the order of the drop.
    virtual void DropFiles(const std::vector<std::string>& files) { (void)files; }
    // Key pre-filter; true consumes the key.
    virtual bool ProcessAppMsg(QKeyEvent* event) { (void)event; return false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<MdiFrame> frame_;
};

}  // namespace platform
