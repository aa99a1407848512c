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
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include "framework/databases/satellite_win.h"
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
    // Where the help window's text shows a passage asked for, in its
    // viewport, and how often the page holds that passage.
    QRect passage, view;
    int passages = 0;
    bool atEnd = false;  // the view shows the end of the page
};

// Every place the document shows `text`, as rectangles in the browser's
// viewport.
std::vector<QRect> PlacesOf(QTextBrowser& help, const QString& text)
{
    std::vector<QRect> places;
    for (QTextCursor c = help.document()->find(text); !c.isNull(); c = help.document()->find(text, c)) {
        QTextCursor start(c);
        start.setPosition(c.selectionStart());
        places.push_back(help.cursorRect(start));
    }
    return places;
}

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
        return AskHelp([this, command] { app->app->Dispatch(command); }, dialog, ask, picture);
    }

    // The same for a form that `open` shows; where the help shows
    // `passage`, when one is named, is kept too.
    Seen AskHelp(const std::function<void()>& open, int dialog, const std::function<void(platform::Dialog&)>& ask,
                 const char* picture, const char* passage = nullptr)
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
                if (passage) {
                    const std::vector<QRect> places = PlacesOf(*help, QString::fromUtf8(passage));
                    seen.passages = int(places.size());
                    if (!places.empty()) seen.passage = places.front();
                    seen.view = help->viewport()->rect();
                    seen.atEnd = help->verticalScrollBar()->value() == help->verticalScrollBar()->maximum();
                }
            }
            seen.form = d.frameGeometry();
            platform::HelpViewer::CloseAll();
            d.hide();
            return platform::IDCANCEL;
        });
        open();
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

// F1 in a field far down a page opens the help window at the field's entry,
// whether the page marks its entries as table rows (the budgets' pages, some
// with more than a hundred rows) or otherwise.  Each passage is text of the
// field's own entry, which the page holds once.
struct DeepFieldCase {
    const char* what;
    int command;  // 0: the form is shown on its own
    int dialog, field;
    const char* passage;
};

const DeepFieldCase kDeepFields[] = {
    {"GEO budget: Symbol rate Mbaud, its last entry", 6014, 14030, 4750, "The rate entry is the symbol rate."},
    {"GEO budget: LTWTA", 6014, 14030, 14066, "A linearized travelling-wave tube amplifier."},
    {"NON-GEO budget: System margin dB", 6023, 5600, 15169, "Margin kept for uncertainty"},
    {"isolated uplink: Non GEO", 6022, 5520, 5609, "The satellite is not geostationary"},
    {"isolated downlink: GEO", 6028, 5522, 5608, "The satellite is geostationary"},
    {"satellite editor: Other band", 0, 450, 461, "The satellite carries transponders of another band."},
    {"expression evaluator: Radians", 6510, 800, 803, "Angles are in radians."},
    {"GEO batch: Hide cmd.exe window", 6808, 6800, 6814, "the processor runs with no terminal"},
    {"set-up: Restrict linear polarization tilt angle", 6610, 30, 45, "Rain calculations take a horizontal wave"},
};

TEST_F(FormHelp, F1DeepInALongPageShowsTheFieldsEntry)
{
    for (const DeepFieldCase& c : kDeepFields) {
        const auto open = [this, &c] {
            if (c.command) {
                app->app->Dispatch(c.command);
                return;
            }
            TGeoForm form(app->app->Frame(), "Satellite");
            form.Execute();
        };
        const Seen seen =
            AskHelp(open, c.dialog, [&c](platform::Dialog& d) { PressF1(d, c.field); }, nullptr, c.passage);
        EXPECT_EQ(seen.anchor, std::to_string(c.field)) << c.what;
        ASSERT_EQ(seen.passages, 1) << c.what;
        EXPECT_TRUE(seen.view.contains(seen.passage)) << c.what << ": the entry is out of view";
        // It opens there: the entry heads the view, unless the page ends
        // before the entry could reach the top.
        EXPECT_TRUE(seen.passage.top() < seen.view.height() / 4 || seen.atEnd)
            << c.what << ": the entry stands at y " << seen.passage.top() << " of a view " << seen.view.height()
            << " high, the page going on below";
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
