// Help and the reference map opened while a modal form is up: each is a
// window of its own, child of the form, not modal itself and not blocked by
// the form, so clicks and keys reach it; when the form closes the help stays
// shown on its own and the map goes back into the frame.  A plain window
// shown beside the form is the control: the form blocks it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMdiSubWindow>
#include <QTest>
#include <QTextBrowser>

#include "framework/app/mdiclient.h"
#include "imaging/viewer/bitmap_win.h"
#include "imaging/viewer/viewer_registration.h"
#include "platform/command.h"
#include "tests/framework/app/gui_support.h"
#include "tests/platform/file_support.h"

namespace {

// Counts the presses and key presses that reach a window or its children.
class InputCounter : public QObject {
public:
    explicit InputCounter(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~InputCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && window_ && (w == window_ || window_->isAncestorOf(w))) {
            if (event->type() == QEvent::MouseButtonPress) ++presses;
            if (event->type() == QEvent::KeyPress) ++keys;
        }
        return false;
    }
    int presses = 0, keys = 0;

private:
    QPointer<QWidget> window_;
};

// Clicks the middle of a window and types a key into it, through the window
// system's queue, where a modal form blocks what it does not own.
std::pair<int, int> ClicksAndKeysThatArrive(QWidget* window)
{
    InputCounter counter(window);
    window->activateWindow();
    QCoreApplication::processEvents();
    QWindow* handle = window->windowHandle();
    if (!handle) return {0, 0};
    QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(handle->width() / 2, handle->height() / 2));
    QTest::keyClick(handle, Qt::Key_Down);
    QCoreApplication::processEvents();
    return {counter.presses, counter.keys};
}

class BesideModalForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        buildDir = std::filesystem::current_path();
        app = std::make_unique<testsupport::AppFixture>();
        orbiscope::RegisterImagingWindows();
        platform::HelpViewer::SetSink({});
        const std::filesystem::path help = app->dir.Path() / "help";
        std::filesystem::create_directories(help);
        testfiles::WriteText(help / "index.html", "<html><body>contents</body></html>");
        testfiles::WriteText(help / "4500.html", "<html><body><p>A form's page, long enough to scroll.</p></body></html>");
        form = new QDialog(app->app->Frame());
        form->setWindowTitle("A modal form");
        form->resize(300, 200);
        form->setWindowModality(Qt::ApplicationModal);
        form->show();
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::activeModalWidget(), form);
    }
    void TearDown() override
    {
        platform::HelpViewer::CloseAll();
        delete form;
        QCoreApplication::processEvents();
        app.reset();
        orbiscope::ClearPrintoutFactories();
        std::filesystem::current_path(buildDir);
    }
    QTextBrowser* HelpWindow() const
    {
        for (QWidget* w : QApplication::allWidgets())
            if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->windowTitle() == "Orbiscope Help") return b;
        return nullptr;
    }

    std::filesystem::path buildDir;
    std::unique_ptr<testsupport::AppFixture> app;
    QDialog* form = nullptr;
};

TEST_F(BesideModalForm, ABlockedWindowIsTheControl)
{
    QWidget plain;
    plain.resize(200, 100);
    plain.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(ClicksAndKeysThatArrive(&plain), std::make_pair(0, 0)) << "the form blocks a window it does not own";
}

TEST_F(BesideModalForm, HelpIsAChildOfTheFormInFrontAndTakesInput)
{
    ASSERT_TRUE(platform::HelpViewer::ShowContext(4500));
    QTextBrowser* help = HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->parentWidget(), form);
    EXPECT_TRUE(help->isWindow());
    EXPECT_EQ(help->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_EQ(help->windowModality(), Qt::NonModal);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), form) << "the form stays modal";
    const auto [presses, keys] = ClicksAndKeysThatArrive(help);
    EXPECT_GE(presses, 1);
    EXPECT_GE(keys, 1);

    // Asked again while the form is up: the same window, still the form's.
    ASSERT_TRUE(platform::HelpViewer::ShowContents());
    EXPECT_EQ(HelpWindow(), help);
    EXPECT_EQ(help->parentWidget(), form);

    // The form closes: the help stays shown, a window of its own.
    form->hide();
    QCoreApplication::processEvents();
    ASSERT_EQ(HelpWindow(), help);
    EXPECT_EQ(help->parentWidget(), nullptr);
    EXPECT_TRUE(help->isWindow());
    EXPECT_TRUE(help->isVisible());
    delete form;
    form = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(HelpWindow(), help) << "deleting the form leaves the help";
}

TEST_F(BesideModalForm, TheReferenceMapStandsBesideTheFormThenReturnsToTheFrame)
{
    auto* client = app->app->Client();
    const std::size_t before = client->subWindowList().size();
    platform::RouteCommand({client}, 6222);
    QCoreApplication::processEvents();
    TBitmapWin* map = nullptr;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* b = dynamic_cast<TBitmapWin*>(w)) map = b;
    ASSERT_NE(map, nullptr);
    QWidget* lent = map->window();
    ASSERT_NE(lent, app->app->Frame());
    EXPECT_EQ(lent->parentWidget(), form);
    EXPECT_EQ(lent->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_EQ(lent->windowModality(), Qt::NonModal);
    EXPECT_EQ(lent->windowTitle().toStdString(), "L-band Ionospheric Scintillation Fading");
    EXPECT_TRUE(lent->isVisible());
    EXPECT_TRUE(map->isVisible());
    EXPECT_TRUE(map->isEnabled());
    EXPECT_EQ(client->subWindowList().size(), before) << "not in the blocked frame while the form is up";
    const auto [presses, keys] = ClicksAndKeysThatArrive(lent);
    EXPECT_GE(presses, 1);
    EXPECT_GE(keys, 1);
    QPointer<QMdiSubWindow> sub;
    for (QWidget* w = map; w && !sub; w = w->parentWidget()) sub = qobject_cast<QMdiSubWindow*>(w);
    ASSERT_TRUE(sub);

    form->hide();
    QCoreApplication::processEvents();
    ASSERT_EQ(client->subWindowList().size(), before + 1);
    ASSERT_TRUE(sub);
    EXPECT_EQ(client->subWindowList().back(), sub.data());
    EXPECT_EQ(map->window(), app->app->Frame());
    EXPECT_TRUE(sub->isVisible());
    EXPECT_EQ(client->ActiveDocumentChild() ? client->ActiveDocumentChild()->Document() : nullptr, map);
}

}  // namespace
