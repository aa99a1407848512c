// The pictures of docs/, drawn by the program itself on every test run so
// that they show what it is now: a budget's input dialog, and the frame with
// three document windows and the Window menu open over them.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QPainter>

#include "framework/app/menus.h"
#include "tests/desktop/desktop_support.h"

namespace {

const QString kDocs = QStringLiteral(ORBISCOPE_DOCS_DIR);
// Saturday 14 March 2026, 10:30 UTC: the reports' date line stays the same.
constexpr std::time_t kPictureTime = 1773484200;

class Screenshot : public ::testing::Test {
protected:
    Screenshot() { platform::SetClockOverride([] { return kPictureTime; }); }
    ~Screenshot() override { platform::SetClockOverride({}); }
    desktoptest::ProgramFixture f;
};

TEST_F(Screenshot, BudgetDialog)
{
    QImage picture;
    platform::SetDialogInspector([&picture](platform::Dialog& d) {
        if (!picture.isNull()) return;
        d.show();
        QCoreApplication::processEvents();
        picture = d.grab().toImage();
        d.hide();
    });
    f.app->Dispatch(6014);  // File > New > Link Budget (GEO Bent Pipe)
    QCoreApplication::processEvents();
    ASSERT_FALSE(picture.isNull()) << "the GEO budget's input dialog opened";
    EXPECT_TRUE(picture.save(kDocs + QStringLiteral("/budget-dialog.png")));
}

TEST_F(Screenshot, WindowMenuWithThreeWindows)
{
    f.app->Dispatch(6014);  // a new GEO budget, its dialog cancelled
    QCoreApplication::processEvents();
    // By the names a command line in the program's folder gives, so that the
    // captions do not carry the test's temporary folder.
    for (const char* file : {"satlist.geo", "United Kingdom.twn"}) {
        f.app->SetProgramDir();
        f.app->Client()->OpenFile(file);
        QCoreApplication::processEvents();
    }
    const auto children = f.app->Client()->Children();
    ASSERT_EQ(children.size(), 3u);
    platform::MdiFrame& frame = *f.app->Frame();
    QMenu* menu = frame.Menu("&Window");
    ASSERT_NE(menu, nullptr);
    const QRect title = frame.menuBar()->actionGeometry(menu->menuAction());
    menu->popup(frame.menuBar()->mapToGlobal(title.bottomLeft()));
    QCoreApplication::processEvents();

    // Numbered in the order they were opened, the active one (the last) checked.
    std::vector<std::string> listed;
    for (QAction* a : frame.WindowListActions())
        if (!a->isSeparator()) listed.push_back((a->isChecked() ? "[x] " : "[ ] ") + a->text().toStdString());
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < children.size(); ++i)
        expected.push_back((i + 1 == children.size() ? "[x] &" : "[ ] &") + std::to_string(i + 1) + " " +
                           children[i]->windowTitle().toStdString());
    EXPECT_EQ(listed, expected);

    QImage picture = frame.grab().toImage();
    {
        QPainter painter(&picture);
        painter.drawPixmap(menu->pos() - frame.mapToGlobal(QPoint(0, 0)), menu->grab());
    }
    EXPECT_TRUE(picture.save(kDocs + QStringLiteral("/window-menu.png")));
    menu->hide();

    // Choosing the first brings it to the front.
    frame.WindowListActions()[1]->trigger();
    EXPECT_EQ(f.app->Client()->ActiveChild(), children[0]);
}

}  // namespace
