// Help asked from a form, as a user asks it, on a 1600 x 900 screen with
// the frame maximised: F1 in a field opens the page of the form the field is
// on, at the field's entry (control ids repeat from form to form); the help
// stands beside the form, narrowed to the room there when the form is large,
// never over its fields or buttons.  The pictures of the first two F1 cases
// and of the GEO budget's help show what the user sees.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>

#include "tests/desktop/desktop_support.h"
#include "tests/picture_path.h"

namespace {

// The screen of a desk's monitor: the offscreen platform's own 800 x 600
// leaves no room beside a form.
class WideScreen : public ::testing::Environment {
public:
    void SetUp() override
    {
        testsupport::RequestedScreen() = QSize(1600, 900);
        testsupport::App();
    }
};
const ::testing::Environment* const kWideScreen = ::testing::AddGlobalTestEnvironment(new WideScreen);

QTextBrowser* HelpWindow()
{
    for (QWidget* w : QApplication::allWidgets())
        if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->windowTitle() == "Orbiscope Help" && b->isVisible())
            return b;
    return nullptr;
}

// The screen as the user sees it: the frame, the form and the help, each
// drawn where it stands.
void SaveScreen(const std::vector<QWidget*>& windows, const std::string& name)
{
    QImage screen(QGuiApplication::primaryScreen()->size(), QImage::Format_RGB32);
    screen.fill(Qt::darkCyan);
    QPainter painter(&screen);
    for (QWidget* w : windows) painter.drawPixmap(w->geometry().topLeft(), w->grab());
    painter.end();
    screen.save(QString::fromStdString(TestPicture(name).string()));
}

// What a form shows when help is asked from it.
struct Seen {
    std::string page, anchor;
    QRect form, help;          // frames on the screen
    bool coversAButton = false;
};

class FormHelp : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::primaryScreen()->size() != QSize(1600, 900))
            GTEST_SKIP() << "placed for a 1600 x 900 screen, which the offscreen platform gives";
        app = std::make_unique<desktoptest::ProgramFixture>();
        // The help the build ships, and the real help window.
        const std::filesystem::path build = QCoreApplication::applicationDirPath().toStdString();
        std::filesystem::create_directory_symlink(build / "help", app->dir.Path() / "help");
        platform::HelpViewer::SetSink({});
        app->app->Frame()->showMaximized();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        platform::HelpViewer::CloseAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        app.reset();
    }

    // Runs `command`; when its form `dialog` is up, shown modally as the
    // program shows it, `ask` asks for help, and what shows is kept (and
    // drawn into `picture` when one is named).
    Seen AskHelp(int command, int dialog, const std::function<void(platform::Dialog&)>& ask, const char* picture)
    {
        Seen seen;
        platform::SetDialogDriver(dialog, [&](platform::Dialog& d) {
            d.setWindowModality(Qt::ApplicationModal);
            d.show();
            QCoreApplication::processEvents();
            ask(d);
            QCoreApplication::processEvents();
            if (QTextBrowser* help = HelpWindow()) {
                seen.page = std::filesystem::path(help->source().toLocalFile().toStdString()).filename().string();
                seen.anchor = help->source().fragment().toStdString();
                seen.help = help->frameGeometry();
                for (const QPushButton* b : d.findChildren<QPushButton*>())
                    if (b->window() == &d && b->isVisible() && QRect(b->mapToGlobal(QPoint(0, 0)), b->size()).intersects(seen.help))
                        seen.coversAButton = true;
                if (picture) SaveScreen({app->app->Frame(), &d, help}, picture);
            }
            seen.form = d.frameGeometry();
            platform::HelpViewer::CloseAll();
            d.hide();
            return platform::IDCANCEL;
        });
        app->app->Dispatch(command);
        QCoreApplication::processEvents();
        platform::ClearDialogDrivers();
        return seen;
    }

    std::unique_ptr<desktoptest::ProgramFixture> app;
};

void PressF1(platform::Dialog& d, int field)
{
    d.FocusControl(field);  // the page that holds it, on a tabbed form
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(d.Control(field), &f1);
}

struct FieldCase {
    const char* what;
    int command, dialog, field;
    const char* page;
    const char* anchor;
    const char* picture;
};

// The first two are the fields whose F1 opened another form's page (the
// atmospheric attenuation's, the dual feed table's): ids 200 and 8705 are
// fields of several forms.
const FieldCase kFields[] = {
    {"Table > Satellites > Horizon (2 Sites): Site 1 name", 6426, 236, 200, "236.html", "200",
     "f1-horizon-two-sites.png"},
    {"File > New > Dual Feed: Beamfactor", 6011, 8700, 8705, "8700.html", "8705", "f1-dual-feed-beamfactor.png"},
    {"Table > Dual Feed Spacing: Beamfactor", 6413, 8706, 8705, "8706.html", "8705", nullptr},
    {"Table > Satellites > Horizon (1 Site): Site latitude", 6412, 718, 202, "718.html", "202", nullptr},
    {"Options > Setup: Site latitude", 6610, 30, 202, "30.html", "202", nullptr},
    {"Graph > Plot Antenna Parabola: f/D ratio (the focal distance's page)", 6317, 8020, 8001, "8000.html", "8001",
     nullptr},
    {"Calculate > Expression Evaluator: Expression", 6510, 800, 801, "800.html", "801", nullptr},
    {"File > New > Link Budget (GEO Bent Pipe): Site altitude", 6014, 14030, 14103, "14030.html", "14103", nullptr},
};

TEST_F(FormHelp, F1InAFieldOpensItsOwnFormsPageAtTheField)
{
    for (const FieldCase& c : kFields) {
        const Seen seen = AskHelp(c.command, c.dialog, [&c](platform::Dialog& d) { PressF1(d, c.field); }, c.picture);
        EXPECT_EQ(seen.page, c.page) << c.what;
        EXPECT_EQ(seen.anchor, c.anchor) << c.what;
        EXPECT_FALSE(seen.coversAButton) << c.what;
    }
}

// A GEO budget's form, Help: the 810 x 452 form leaves some 395 px on each
// side of a 1600 px screen; the help stands there, narrowed, clear of the
// whole form.
TEST_F(FormHelp, HelpStandsBesideALargeFormNarrowed)
{
    const Seen seen = AskHelp(6014, 14030,
                              [](platform::Dialog& d) { d.OnButton(platform::IDHELP); }, "help-beside-geo-budget.png");
    ASSERT_EQ(seen.page, "14030.html");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LT(seen.form.left() - screen.left(), 640) << "a side that holds the whole help";
    EXPECT_LT(screen.right() - seen.form.right(), 640) << "a side that holds the whole help";
    EXPECT_FALSE(seen.help.intersects(seen.form)) << "the help stands over the form";
    EXPECT_TRUE(screen.contains(seen.help));
    EXPECT_GE(seen.help.width(), 320) << "narrowed past reading";
    EXPECT_LT(seen.help.width(), 640);
}

}  // namespace
