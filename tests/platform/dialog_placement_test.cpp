// Where a dialog opens and how its static texts show at the font it has here.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QTest>
#include <memory>

#include "platform/dialog.h"
#include "platform/mdi.h"
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
