// Two pictures for docs/, drawn by the program itself into the build folder
// on every test run (scripts/update-docs.sh copies them into docs/): a
// budget's input dialog, and the frame with three document windows and the
// Window menu open over them.  Each test also checks what the picture shows.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>

#include "framework/app/menus.h"
#include "tests/desktop/desktop_support.h"
#include "tests/picture_path.h"

namespace {

// The test program lives in the build folder.
QString PicturePath(const char* name) { return QString::fromStdString(TestPicture(name).string()); }

// The share of dark (text and line) pixels in a part of a picture: a drawn
// dialog or list shows a few per cent, a blank or black one none or most.
double DarkShare(const QImage& picture, const QRect& area)
{
    long dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) dark += qGray(picture.pixel(x, y)) < 96;
    return double(dark) / (double(area.width()) * area.height());
}
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
    QSize dialogSize;
    QColor background;
    // Each push button where the dialog lays it, as the button draws itself.
    std::vector<std::pair<QRect, QImage>> buttons;
    platform::SetDialogInspector([&](platform::Dialog& d) {
        if (!picture.isNull()) return;
        d.show();
        QCoreApplication::processEvents();
        picture = d.grab().toImage().convertToFormat(QImage::Format_RGB32);
        dialogSize = d.size();
        background = d.palette().color(QPalette::Window);
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->isVisible())
                buttons.emplace_back(QRect(b->mapTo(&d, QPoint(0, 0)), b->size()),
                                     b->grab().toImage().convertToFormat(QImage::Format_RGB32));
        d.hide();
    });
    f.app->Dispatch(6014);  // File > New > Link Budget (GEO Bent Pipe)
    QCoreApplication::processEvents();
    ASSERT_FALSE(picture.isNull()) << "the GEO budget's input dialog opened";
    EXPECT_TRUE(picture.save(PicturePath("budget-dialog.png")));

    EXPECT_EQ(picture.size(), dialogSize);
    // The dialog's own face at its top left corner, the fields and labels
    // drawn over the rest.
    EXPECT_EQ(QColor(picture.pixel(0, 0)), background);
    const double text = DarkShare(picture, picture.rect());
    EXPECT_GT(text, 0.01);
    EXPECT_LT(text, 0.3);
    // OK, Cancel and Help at least, each drawn where it stands.
    ASSERT_GE(buttons.size(), 3u);
    for (const auto& [where, face] : buttons) {
        ASSERT_TRUE(picture.rect().contains(where));
        EXPECT_EQ(picture.copy(where), face) << where.x() << "," << where.y();
    }
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

    QImage picture = frame.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage underMenu = picture;
    const QRect menuArea(menu->pos() - frame.mapToGlobal(QPoint(0, 0)), menu->size());
    {
        QPainter painter(&picture);
        painter.drawPixmap(menuArea.topLeft(), menu->grab());
    }
    EXPECT_TRUE(picture.save(PicturePath("window-menu.png")));
    menu->hide();

    EXPECT_EQ(picture.size(), frame.size());
    // The menu hangs from its title in the menu bar (the frame's top left is
    // the menu bar's), inside the frame.
    EXPECT_EQ(menuArea.topLeft(), title.bottomLeft());
    EXPECT_TRUE(picture.rect().contains(menuArea));
    // The windows under the menu are drawn: each child's window, seen in the
    // frame's picture, carries text (its caption and its contents).
    for (const auto* child : children) {
        const QRect area(child->mapTo(&frame, QPoint(0, 0)), child->size());
        ASSERT_TRUE(picture.rect().contains(area)) << child->windowTitle().toStdString();
        const double text = DarkShare(underMenu, area);
        EXPECT_GT(text, 0.005) << child->windowTitle().toStdString();
        EXPECT_LT(text, 0.5) << child->windowTitle().toStdString();
    }
    // The active window, the town list, shows its report: the title line in
    // the reports' dark red (127, 0, 0), above the first heading's dark green
    // (0, 127, 0).
    const QRect active(children.back()->mapTo(&frame, QPoint(0, 0)), children.back()->size());
    const auto firstRowOf = [&](QRgb colour) {
        for (int y = active.top(); y <= active.bottom(); ++y)
            for (int x = active.left(); x <= active.right(); ++x)
                if (underMenu.pixel(x, y) == colour) return y - active.top();
        return -1;
    };
    const int titleRow = firstRowOf(qRgb(127, 0, 0));
    const int headingRow = firstRowOf(qRgb(0, 127, 0));
    EXPECT_GT(titleRow, 0);
    EXPECT_GT(headingRow, titleRow);

    // Choosing the first brings it to the front.
    frame.WindowListActions()[1]->trigger();
    EXPECT_EQ(f.app->Client()->ActiveChild(), children[0]);
}

}  // namespace
