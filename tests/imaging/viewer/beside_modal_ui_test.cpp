// Help and the reference map opened while a modal form is up: each is a
// window of its own, child of the form, not modal itself and not blocked by
// the form, so clicks and keys reach it; when the form closes the help stays
// shown on its own and the map goes back into the frame.  A plain window
// shown beside the form is the control: the form blocks it.  Neither covers
// the form's buttons, wherever the form stands; the map shows one title bar
// ("ref-map-beside-form.png" draws the screen).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

#include "framework/app/mdiclient.h"
#include "imaging/viewer/bitmap_win.h"
#include "imaging/viewer/viewer_registration.h"
#include "platform/command.h"
#include "tests/framework/app/gui_support.h"
#include "tests/picture_path.h"
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

// The form's buttons that a window's frame covers, by their texts.
std::string ButtonsCovered(const QWidget& form, const QWidget& window)
{
    std::string covered;
    for (const QPushButton* b : form.findChildren<QPushButton*>())
        if (b->window() == &form && QRect(b->mapToGlobal(QPoint(0, 0)), b->size()).intersects(window.frameGeometry()))
            covered += b->text().toStdString() + " ";
    return covered;
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
        int x = 40;
        for (const char* text : {"OK", "Cancel", "Help"}) {
            (new QPushButton(text, form))->setGeometry(x, 165, 75, 25);
            x += 85;
        }
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

// The help opened anew from a form at each place.  The offscreen screen has
// no room beside these forms for a 640 x 480 help: it stands over the form,
// clear of the buttons.
TEST_F(BesideModalForm, HelpCoversNoButtonOfTheFormWhereverItStands)
{
    const QRect screen = form->screen()->availableGeometry();
    const struct { const char* what; double across, down; QSize size; } places[] = {
        {"at the left edge", 0, 0.5, {300, 200}}, {"at the right edge", 1, 0.5, {300, 200}},
        {"centred", 0.5, 0.5, {300, 200}},         {"as big as the screen", 0, 0, screen.size() - QSize(4, 4)},
    };
    for (const auto& place : places) {
        form->resize(place.size);
        form->move(screen.left() + int(place.across * (screen.width() - form->frameGeometry().width())),
                   screen.top() + int(place.down * (screen.height() - form->frameGeometry().height())));
        for (QPushButton* b : form->findChildren<QPushButton*>()) b->move(b->x(), form->height() - 35);
        platform::HelpViewer::CloseAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_TRUE(platform::HelpViewer::ShowContext(4500));
        QCoreApplication::processEvents();
        ASSERT_NE(HelpWindow(), nullptr);
        EXPECT_EQ(ButtonsCovered(*form, *HelpWindow()), "") << place.what;
    }
}

TEST_F(BesideModalForm, TheReferenceMapStandsBesideTheFormThenReturnsToTheFrame)
{
    form->move(form->screen()->availableGeometry().topLeft());
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
    EXPECT_EQ(ButtonsCovered(*form, *lent), "");
    // The window's own title bar names the map; the child draws no second one.
    const QPoint inside = sub->widget()->mapTo(lent, QPoint(0, 0));
    EXPECT_EQ(std::make_pair(inside.x(), inside.y()), std::make_pair(0, 0));
    QImage screen(form->screen()->size(), QImage::Format_RGB32);
    screen.fill(Qt::darkCyan);
    QPainter painter(&screen);
    for (QWidget* w : {static_cast<QWidget*>(form), lent}) painter.drawPixmap(w->geometry().topLeft(), w->grab());
    painter.end();
    screen.save(QString::fromStdString(TestPicture("ref-map-beside-form.png").string()));

    form->hide();
    QCoreApplication::processEvents();
    ASSERT_EQ(client->subWindowList().size(), before + 1);
    ASSERT_TRUE(sub);
    EXPECT_EQ(client->subWindowList().back(), sub.data());
    EXPECT_EQ(map->window(), app->app->Frame());
    EXPECT_TRUE(sub->isVisible());
    EXPECT_GT(sub->widget()->mapTo(sub, QPoint(0, 0)).y(), 0) << "back in the frame with its title bar";
    EXPECT_EQ(client->ActiveDocumentChild() ? client->ActiveDocumentChild()->Document() : nullptr, map);
}

}  // namespace
