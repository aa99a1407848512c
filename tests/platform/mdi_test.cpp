// The frame's multiple-document behaviour a user expects: the Window menu
// lists the document windows, the keys go through all of them, and a new
// window opens large and cascaded.
#include <gtest/gtest.h>

#include <QMenu>
#include <QStyle>
#include <QTest>
#include <memory>

#include "platform/mdi.h"
#include "tests/platform/qt_app.h"

namespace {

class BlankWindow : public platform::Window {
public:
    void Paint(platform::DC&, bool, const QRect&) override {}
};

class TestClient : public platform::MdiClient {
public:
    std::vector<std::string> titles = {"Look Angles", "Rain Attenuation", "Downlink Budget", "Table", "Graph"};
    std::size_t made = 0;
    platform::MdiChild* InitChild() override
    {
        return new platform::MdiChild(this, titles[made++ % titles.size()], new BlankWindow);
    }
};

struct QtFirst {
    QtFirst() { platformtest::App(); }
};

struct Desk : QtFirst {
    platform::Application app;
    TestClient* client = new TestClient;
    std::unique_ptr<platform::MdiFrame> frame;
    Desk()
    {
        frame = std::make_unique<platform::MdiFrame>("Desk", client);
        app.SetFrame(frame.get());
        frame->BuildMenus({{"&Window", {{24361, "Cascade", "Display all open windows in cascade", {}}}, true}});
        frame->resize(900, 700);
        frame->show();
        frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }
    std::vector<platform::MdiChild*> Open(int n)
    {
        std::vector<platform::MdiChild*> out;
        for (int i = 0; i < n; ++i) out.push_back(client->CreateChild());
        return out;
    }
    std::vector<std::string> ListTexts()
    {
        frame->RefreshWindowList();
        std::vector<std::string> out;
        for (QAction* a : frame->WindowListActions())
            if (!a->isSeparator()) out.push_back((a->isChecked() ? "[x] " : "[ ] ") + a->text().toStdString());
        return out;
    }
};

TEST(WindowMenu, ListsTheWindowsNumberedWithTheActiveChecked)
{
    Desk d;
    EXPECT_TRUE(d.ListTexts().empty());
    const auto children = d.Open(3);
    EXPECT_EQ(d.ListTexts(), (std::vector<std::string>{"[ ] &1 Look Angles", "[ ] &2 Rain Attenuation",
                                                       "[x] &3 Downlink Budget"}));
    // The list comes after the menu's own items, behind a separator.
    QMenu* menu = d.frame->Menu("&Window");
    ASSERT_EQ(menu->actions().size(), 1 + 1 + 3);
    EXPECT_TRUE(menu->actions()[1]->isSeparator());

    d.frame->WindowListActions()[1]->trigger();
    EXPECT_EQ(d.client->ActiveChild(), children[0]);
    EXPECT_EQ(d.ListTexts()[0], "[x] &1 Look Angles");

    children[1]->CloseWithoutAsking();
    QCoreApplication::processEvents();
    EXPECT_EQ(d.ListTexts(), (std::vector<std::string>{"[x] &1 Look Angles", "[ ] &2 Downlink Budget"}));
}

TEST(WindowMenu, ChoosingAnIconRestoresIt)
{
    Desk d;
    const auto children = d.Open(2);
    children[0]->showMinimized();
    d.ListTexts();
    d.frame->WindowListActions()[1]->trigger();
    EXPECT_FALSE(children[0]->isMinimized());
    EXPECT_EQ(d.client->ActiveChild(), children[0]);
}

struct KeyCase {
    const char* keys;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::vector<int> visited;   // indices of the active window after each press, from the last opened
};

class WindowKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(WindowKeys, GoThroughEveryWindow)
{
    Desk d;
    const auto children = d.Open(4);
    std::vector<int> visited;
    for (std::size_t press = 0; press < GetParam().visited.size(); ++press) {
        QWidget* target = d.client->ActiveChild()->ClientWindow();
        QTest::keyClick(target, GetParam().key, GetParam().modifiers);
        const auto it = std::find(children.begin(), children.end(), d.client->ActiveChild());
        visited.push_back(int(it - children.begin()));
    }
    EXPECT_EQ(visited, GetParam().visited) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, WindowKeys,
    ::testing::Values(KeyCase{"Ctrl+F6", Qt::Key_F6, Qt::ControlModifier, {0, 1, 2, 3, 0}},
                      KeyCase{"Ctrl+Shift+F6", Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier, {2, 1, 0, 3}},
                      KeyCase{"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, {0, 1, 2, 3, 0}},
                      KeyCase{"Ctrl+Shift+Tab", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, {2, 1, 0}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(NewWindow, OpensOverMostOfTheClientAreaCascadedAndStartsAgainAtItsEdge)
{
    Desk d;
    const QSize area = d.client->viewport()->size();
    const int step = d.client->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    // A quarter of the height leaves room for this many steps.
    const int fitting = (area.height() - area.height() * 3 / 4) / step + 1;
    const auto children = d.Open(fitting + 1);
    for (int i = 0; i < fitting; ++i) {
        const QRect g = children[std::size_t(i)]->geometry();
        EXPECT_EQ(g.size(), QSize(area.width() * 3 / 4, area.height() * 3 / 4)) << i;
        EXPECT_EQ(g.topLeft(), QPoint(i * step, i * step)) << i;
    }
    EXPECT_EQ(children.back()->pos(), QPoint(0, 0));
}

TEST(NewWindow, OpensMaximizedAfterAMaximizedOne)
{
    Desk d;
    d.Open(1)[0]->showMaximized();
    EXPECT_TRUE(d.Open(1)[0]->isMaximized());
}

}  // namespace
