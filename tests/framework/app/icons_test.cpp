// The program's own pictures: each document window shows its type's icon,
// never the generic one, each toolbar button its own, with its menu hint as
// tooltip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>
#include <QToolBar>
#include <map>

#include "framework/app/icons.h"
#include "tests/framework/app/gui_support.h"

using testsupport::AppFixture;

namespace {

constexpr int kSmallIconPx = 16;

QImage Picture(const QIcon& icon) { return icon.pixmap(kSmallIconPx, kSmallIconPx).toImage(); }

// Enough of the picture is drawn for it to be seen at caption size.
bool Drawn(const QImage& image)
{
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128) ++opaque;
    return opaque >= kSmallIconPx * kSmallIconPx / 8;
}

TEST(Icons, EachWindowShowsItsTypesOwnIcon)
{
    AppFixture f;
    const QImage generic = Picture(QApplication::style()->standardIcon(QStyle::SP_FileIcon));
    std::map<int, QImage> seen;  // by window type
    for (const auto& t : orbiscope::WindowTypes()) {
        f.app->PendingWindowType = t.type;
        f.app->Client()->OpenFromFile = false;
        platform::MdiChild* child = f.app->Client()->CreateChild();
        ASSERT_NE(child, nullptr) << t.type;
        const QImage shown = Picture(child->windowIcon());
        EXPECT_TRUE(Drawn(shown)) << t.className;
        EXPECT_EQ(shown, Picture(orbiscope::IconResource(t.icon))) << t.className;
        EXPECT_NE(shown, generic) << t.className;
        for (const auto& [type, other] : seen) EXPECT_NE(shown, other) << t.className << " looks like type " << type;
        seen[t.type] = shown;
    }
}

TEST(Icons, ToolbarButtonsHaveTheirOwnPictureAndTheMenuHint)
{
    AppFixture f;
    auto* bar = f.app->Frame()->findChild<QToolBar*>(QStringLiteral("Toolbar"));
    ASSERT_NE(bar, nullptr);
    std::map<int, QImage> seen;  // by command
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) continue;
        const int id = a->data().toInt();
        const QImage shown = Picture(a->icon());
        EXPECT_TRUE(Drawn(shown)) << id;
        EXPECT_EQ(shown, Picture(orbiscope::ToolbarBitmap(id))) << id;
        for (const auto& [command, other] : seen) EXPECT_NE(shown, other) << id << " looks like " << command;
        seen[id] = shown;
        EXPECT_EQ(a->toolTip().toStdString(), orbiscope::MenuHint(id)) << id;
    }
}

}  // namespace
