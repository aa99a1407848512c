// Where a dialog opens, where a window opened from a modal form stands, and
// how its static texts show at the font it has here.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QTest>
#include <memory>
#include <optional>

#include "platform/dialog.h"
#include "platform/mdi.h"
#include "platform/services.h"
#include "tests/platform/qt_app.h"

namespace {

using platform::ControlKind;
using platform::ControlSpec;

std::vector<ControlSpec> SmallTable()
{
    return {{ControlKind::Static, 10, "Country", 10, 10, 80, 20},
            {ControlKind::PushButton, platform::IDOK, "OK", 10, 40, 80, 26}};
}

enum class Owner { VisibleParent, HiddenParentOfVisibleWindow, NoParentWithMainWindow, NoParentNoMainWindow };

struct PlacementCase { const char* what; Owner owner; };

class Placement : public ::testing::TestWithParam<PlacementCase> {};

// The main window sits away from the screen's corner so that a dialog placed
// there cannot pass for one centred on it.
TEST_P(Placement, OpensCentredOnWhatTheUserSees)
{
    platformtest::App();
    const QRect frameRect(220, 160, 700, 500);
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    std::unique_ptr<QMainWindow> main;
    std::unique_ptr<platform::Application> app;
    std::unique_ptr<platform::Dialog> hidden;
    std::unique_ptr<platform::Dialog> dialog;
    QPoint expected = screen->availableGeometry().center();
    if (GetParam().owner != Owner::NoParentNoMainWindow) {
        main = std::make_unique<QMainWindow>();
        main->setGeometry(frameRect);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        expected = main->frameGeometry().center();
    }
    switch (GetParam().owner) {
    case Owner::VisibleParent: dialog = std::make_unique<platform::Dialog>(main.get(), 1, "D", SmallTable()); break;
    case Owner::HiddenParentOfVisibleWindow:
        // A picker opened from the set-up of a dialog that is not shown yet.
        hidden = std::make_unique<platform::Dialog>(main.get(), 2, "Outer", SmallTable());
        dialog = std::make_unique<platform::Dialog>(hidden.get(), 1, "D", SmallTable());
        break;
    case Owner::NoParentWithMainWindow: {
        app = std::make_unique<platform::Application>();
        auto* frame = new platform::MdiFrame("Frame", new platform::MdiClient);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->setGeometry(frameRect);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        app->SetFrame(frame);
        expected = frame->frameGeometry().center();
        main.reset();
        dialog = std::make_unique<platform::Dialog>(nullptr, 1, "D", SmallTable());
        break;
    }
    case Owner::NoParentNoMainWindow: dialog = std::make_unique<platform::Dialog>(nullptr, 1, "D", SmallTable()); break;
    }
    dialog->show();
    QCoreApplication::processEvents();
    const QPoint centre = dialog->frameGeometry().center();
    EXPECT_LE((centre - expected).manhattanLength(), 2) << GetParam().what << ": at " << centre.x() << "," << centre.y();
    dialog->hide();
    if (app && app->Frame()) delete app->Frame();
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, Placement,
    ::testing::Values(PlacementCase{"on its visible parent", Owner::VisibleParent},
                      PlacementCase{"on the window behind a parent not shown yet", Owner::HiddenParentOfVisibleWindow},
                      PlacementCase{"on the main window when it has no parent", Owner::NoParentWithMainWindow},
                      PlacementCase{"on the screen with no window to go by", Owner::NoParentNoMainWindow}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

// A 640 x 480 help beside a 400 x 300 form whose OK, Cancel and Help stand
// along its bottom, 75 x 25 each, from 150 px in.
struct BesideCase {
    const char* what;
    QRect screen, form;
    std::optional<QRect> last;
    QRect expected;
};

class BesideForm : public ::testing::TestWithParam<BesideCase> {};

TEST_P(BesideForm, StandsClearOfTheButtons)
{
    const BesideCase& c = GetParam();
    std::vector<QRect> buttons;
    for (int x : {150, 235, 320}) buttons.emplace_back(c.form.left() + x, c.form.bottom() - 34, 75, 25);
    const QRect place = platform::PlaceBesideForm(c.form, buttons, c.screen, QSize(640, 480), c.last);
    EXPECT_EQ(place, c.expected) << c.what << ": " << place.x() << "," << place.y() << " " << place.width() << "x"
                                 << place.height();
}

const QRect kWide(0, 0, 1920, 1080);

INSTANTIATE_TEST_SUITE_P(
    Dialog, BesideForm,
    ::testing::Values(
        BesideCase{"form at the left edge: on its right", kWide, {0, 300, 400, 300}, {}, {400, 300, 640, 480}},
        BesideCase{"form at the right edge: on its left", kWide, {1520, 300, 400, 300}, {}, {880, 300, 640, 480}},
        BesideCase{"centred: on its right", kWide, {760, 390, 400, 300}, {}, {1160, 390, 640, 480}},
        BesideCase{"low at the right edge: raised to stay on the screen", kWide, {1520, 780, 400, 300}, {},
                   {880, 600, 640, 480}},
        BesideCase{"no room on either side: below", {0, 0, 1024, 1080}, {300, 0, 400, 300}, {}, {300, 300, 640, 480}},
        // Too small for beside: above the buttons, as tall as the room there.
        BesideCase{"screen too small: over the form, not its buttons", {0, 0, 800, 600}, {200, 150, 400, 300}, {},
                   {160, 0, 640, 415}},
        BesideCase{"where it was moved, clear of the buttons: kept", kWide, {760, 390, 400, 300},
                   QRect(700, 0, 640, 480), {700, 0, 640, 480}},
        BesideCase{"where it was moved, over a button: beside again", kWide, {760, 390, 400, 300},
                   QRect(760, 500, 640, 480), {1160, 390, 640, 480}},
        // A budget dialog of 810 x 452 centred on a 1600-wide screen leaves
        // 395 on each side: the help stands beside it, narrowed, not over
        // its pages.
        BesideCase{"large form, room on both sides: beside it, narrowed", {0, 0, 1600, 900}, {395, 224, 810, 452}, {},
                   {1205, 224, 395, 480}},
        BesideCase{"large form, more room on its left: there, narrowed", {0, 0, 1600, 900}, {500, 224, 810, 452}, {},
                   {0, 224, 500, 480}},
        // 145 and 245 wide beside it, 224 high above and below: none reads.
        BesideCase{"no side leaves a readable window: over the form, not its buttons", {0, 0, 1200, 900},
                   {245, 224, 810, 452}, {}, {395, 161, 640, 480}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

struct StaticCase {
    const char* what;
    std::vector<ControlSpec> table;   // the static under test has id 10
    bool wraps;
    int expectedWidth;                // -1: the text's own width
};

class StaticText : public ::testing::TestWithParam<StaticCase> {};

TEST_P(StaticText, ShowsWhole)
{
    platformtest::App();
    const StaticCase& c = GetParam();
    platform::Dialog dialog(nullptr, 3, "Statics", c.table);
    auto* label = qobject_cast<QLabel*>(dialog.Control(10));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->wordWrap(), c.wraps) << c.what;
    if (c.wraps) {
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << c.what;
        return;
    }
    const int expected = c.expectedWidth < 0 ? label->sizeHint().width() : c.expectedWidth;
    EXPECT_EQ(label->width(), expected) << c.what;
}

// The note of the modulation-and-coding picker: 170 x 40 pixels, two lines.
const char* const kNote = "* denotes optional S2 modcods (S2-X)";
const char* const kLong = "Slant range and Doppler shift at the sub-satellite point";

INSTANTIATE_TEST_SUITE_P(
    Dialog, StaticText,
    ::testing::Values(
        StaticCase{"a two-line static wraps its words", {{ControlKind::Static, 10, kNote, 10, 10, 170, 40}}, true, 0},
        StaticCase{"a one-line static takes the free room on its right",
                   {{ControlKind::Static, 10, kLong, 10, 10, 60, 20}, {ControlKind::Static, 0, "", 10, 40, 600, 20}},
                   false, -1},
        // The edit starts at 150: the static ends the 4-pixel gap before it.
        StaticCase{"a one-line static stops short of the control beside it",
                   {{ControlKind::Static, 10, kLong, 10, 10, 60, 20}, {ControlKind::Edit, 11, "", 150, 8, 200, 22, 13}},
                   false, 150 - 4 - 10},
        StaticCase{"a static that fits keeps its width", {{ControlKind::Static, 10, "Sat1", 10, 10, 60, 20}}, false, 60}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

}  // namespace
