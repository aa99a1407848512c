// The recent-files entries of the File menu: the path is kept whole so that
// the entry reopens it; the menu shows it shortened in the middle, so that
// the file name stays in sight.
#include <gtest/gtest.h>

#include <QMenu>

#include "tests/framework/app/gui_support.h"

using testsupport::AppFixture;
using testsupport::RecordingWindow;

namespace {

struct MenuTextCase {
    const char* path;
    const char* shown;   // at most 30 characters
};

class RecentMenuText : public ::testing::TestWithParam<MenuTextCase> {};

TEST_P(RecentMenuText, ShortensInTheMiddle)
{
    testsupport::App();
    testsupport::TempDir dir;
    platform::Registry::SetFolder(dir.Path());
    platform::RecentFiles recent("Software\\Orbiscope\\MRU", 6, 30);
    recent.Add(GetParam().path);
    EXPECT_EQ(recent.Files().front(), GetParam().path);
    EXPECT_EQ(recent.MenuText(0), GetParam().shown);
    platform::Registry::SetFolder({});
}

// Expected texts written out by hand: the file name whole with its slash, the
// folders kept from the start as far as the 30 characters allow, "..." between.
INSTANTIATE_TEST_SUITE_P(
    Paths, RecentMenuText,
    ::testing::Values(
        MenuTextCase{"/home/ana/link.glb", "/home/ana/link.glb"},
        // 40 characters: 9 of the folders, "...", the 18 of "/london-madrid.glb".
        MenuTextCase{"/home/ana/budgets/2026/london-madrid.glb", "/home/ana.../london-madrid.glb"},
        // 35: 21 of the folders, "...", the 6 of "/x.rup".
        MenuTextCase{"/srv/projects/ground/stations/x.rup", "/srv/projects/ground/.../x.rup"},
        // A name too long for the width keeps its last 27 characters.
        MenuTextCase{"/data/an-extremely-long-document-name-for-a-budget.glb", "...ument-name-for-a-budget.glb"},
        MenuTextCase{"relative-name-of-thirty-one.glb", "...tive-name-of-thirty-one.glb"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

class RecentReopen : public ::testing::TestWithParam<std::size_t> {};

// Paths longer than the menu's 30 characters and than the 260 of the old
// file-name buffers, which a Linux path may well be.
TEST_P(RecentReopen, LongPathReopensFromTheMenu)
{
    AppFixture f;
    std::filesystem::path path = f.dir.Path();
    while (path.string().size() < GetParam()) path /= "budgets-for-the-summer-campaign";
    path /= "london-madrid.glb";
    f.app->Client()->OpenFile(path.c_str());
    for (auto* c : f.app->Client()->Children()) c->CloseWithoutAsking();
    QCoreApplication::processEvents();

    QMenu* file = f.app->Frame()->Menu("&File");
    QAction* entry = nullptr;
    for (QAction* a : file->actions())
        if (a->text().startsWith(QStringLiteral("&1 "))) entry = a;
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->text().endsWith(QStringLiteral("/london-madrid.glb")));
    EXPECT_LE(entry->text().size(), 3 + 30);
    EXPECT_EQ(entry->statusTip().toStdString(), path.string());
    entry->trigger();
    RecordingWindow* w = f.Active();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->openedWith, path.string());
}

INSTANTIATE_TEST_SUITE_P(Lengths, RecentReopen, ::testing::Values(31u, 261u));

}  // namespace
