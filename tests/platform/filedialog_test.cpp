// File dialogs as the user sees them: each file type's own description once,
// filtering by its patterns, and the folder last used for a kind of file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>

#include "platform/filedialog.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "tests/platform/qt_app.h"

namespace {

// The program's File Open filter, as its menu command gives it.
const char* const kOpenFilter =
    "Look Angle Files (*.ang)|*.ang|GEO Link Budget (*.glb;*.upd;)|*.glb;*.upd;|"
    "Bitmap Files (*.??" "?)|*.bmp;*.gif;*.pcx;*.tif;*.jpg|Non GEO Link Budget (*llb;*.leo)|*.llb;*.leo|"
    "All Files (*.*)|*.*|";

struct FilterCase {
    std::size_t index;
    const char* shown;      // the description as written, once
    const char* patterns;   // what the dialog filters with
};

class FileTypes : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FileTypes, ShowTheirOwnDescriptionOnce)
{
    platformtest::App();
    const FilterCase& c = GetParam();
    const auto filters = platform::DialogFilters(kOpenFilter);
    ASSERT_EQ(filters.size(), 5u);
    EXPECT_EQ(filters[c.index].description, c.shown);
    EXPECT_EQ(filters[c.index].patterns, c.patterns);

    // The dialog itself: its list of file types and what it filters with.
    platform::FileDialogData data;
    data.filter = kOpenFilter;
    data.filterIndex = int(c.index) + 1;
    QFileDialog dialog;
    platform::SetUpFileDialog(dialog, data, false);
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 5);
    EXPECT_EQ(types->itemText(int(c.index)).toStdString(), c.shown);
    EXPECT_EQ(types->currentIndex(), int(c.index));
    EXPECT_EQ(platform::ChosenFilterIndex(dialog, data.filter), int(c.index) + 1);
}

INSTANTIATE_TEST_SUITE_P(
    OpenFilter, FileTypes,
    ::testing::Values(FilterCase{0, "Look Angle Files (*.ang)", "*.ang"},
                      // The trailing ";" of the pattern list makes no empty pattern.
                      FilterCase{1, "GEO Link Budget (*.glb;*.upd;)", "*.glb *.upd"},
                      FilterCase{2, "Bitmap Files (*.??" "?)", "*.bmp *.gif *.pcx *.tif *.jpg"},
                      // The description keeps its own spelling; the patterns filter.
                      FilterCase{3, "Non GEO Link Budget (*llb;*.leo)", "*.llb *.leo"},
                      FilterCase{4, "All Files (*.*)", "*.*"}),
    [](const auto& info) { return "type" + std::to_string(info.index); });

// One dialog after another: its kind of file, the file the user picks, and
// the folder each dialog started in.
struct Step {
    const char* filter;
    int filterIndex;
    const char* defaultExt;
    bool save;
    const char* pick;           // relative to the test folder; "" cancels
    const char* expectedStart;  // relative to the test folder
};

// A test folder with a program folder, a home and document folders; the
// program's folder and the home are this folder's while it lives.
class FileDialogFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        platformtest::App();
        root = std::filesystem::temp_directory_path() /
               ("orbiscope-folders-" + std::to_string(QCoreApplication::applicationPid()));
        for (const char* sub : {"program", "home", "budgets", "maps", "exports", "registry"})
            std::filesystem::create_directories(root / sub);
        platform::Registry::SetFolder(root / "registry");
        platform::SetProgramDirectoryOverride(root / "program");
        if (const char* home = std::getenv("HOME")) oldHome = home;
        setenv("HOME", (root / "home").c_str(), 1);
    }
    void TearDown() override
    {
        if (oldHome.empty()) unsetenv("HOME");
        else setenv("HOME", oldHome.c_str(), 1);
        platform::SetProgramDirectoryOverride({});
        platform::SetProgramFolderKinds({});
        platform::Registry::SetFolder({});
        std::filesystem::remove_all(root);
    }
    platform::FileDialogData Data(const char* filter, int filterIndex, const char* defaultExt = "")
    {
        platform::FileDialogData data;
        data.filter = filter;
        data.filterIndex = filterIndex;
        data.defaultExt = defaultExt;
        data.initialDir = (root / "program").string();  // as the program's own dialogs ask
        return data;
    }
    // Runs each step's dialog and checks the folder it started in; the file
    // picked is then used (opened or saved), as the program does with it.
    void RunSteps(std::span<const Step> steps)
    {
        for (const Step& s : steps) {
            platform::FileDialogData data = Data(s.filter, s.filterIndex, s.defaultExt);
            platform::QueueFileDialogAnswer({*s.pick ? std::vector<std::string>{(root / s.pick).string()}
                                                     : std::vector<std::string>{}});
            const bool picked = s.save ? platform::RunFileSave(nullptr, "Save As", data)
                                       : platform::RunFileOpen(nullptr, "Open", data);
            if (picked) platform::RememberFolderOf(data, data.fileName);
            EXPECT_EQ(platform::LastFileDialogRequest().startFolder, (root / s.expectedStart).string())
                << s.pick << " / " << s.filterIndex;
        }
    }
    std::filesystem::path root;
    std::string oldHome;
};

TEST_F(FileDialogFolders, EachKindStartsWhereItOrAnyDocumentWasLastUsedAcrossRuns)
{
    const Step steps[] = {
        {kOpenFilter, 2, "", false, "budgets/london.glb", "home"},      // nothing used yet: home, not the program's
        {kOpenFilter, 2, "", false, "", "budgets"},                      // GEO budgets: where the last came from
        {kOpenFilter, 3, "", false, "maps/ku-beam.jpg", "budgets"},      // no bitmap yet: the last document's folder
        {"GEO Link Budget (*.glb)|*.glb|", 1, "glb", true, "budgets/madrid.glb", "budgets"},
        // A first save of a kind starts where the last document went, not at the root.
        {"Html Files (*.html)|*.html", 1, "html", true, "exports/madrid.html", "budgets"},
        {kOpenFilter, 3, "", false, "", "maps"},                         // bitmaps have their own folder now
        {"Tabbed Text (*.txt)|*.txt", 1, "txt", true, "", "exports"},
        // "All Files" starts where the last document was; the budget opened
        // there marks the budgets' folder.
        {kOpenFilter, 5, "", false, "exports/old.glb", "exports"},
        {kOpenFilter, 5, "", false, "", "exports"},
        {kOpenFilter, 2, "", false, "", "exports"},
    };
    RunSteps(steps);
    // The next run reads the same registry; a folder since removed is not
    // offered: the last document's folder is.
    std::filesystem::remove_all(root / "maps");
    EXPECT_EQ(platform::StartFolder(Data(kOpenFilter, 3)), (root / "exports").string());
    EXPECT_EQ(platform::StartFolder(Data(kOpenFilter, 1, "glb")), (root / "exports").string());
    std::filesystem::remove_all(root / "exports");
    EXPECT_EQ(platform::StartFolder(Data(kOpenFilter, 3)), (root / "home").string());
}

// Nothing used yet: a folder the caller names, unless it is the program's
// own (however written), else the home.
TEST_F(FileDialogFolders, FirstDialogStartsInTheNamedFolderOrHomeNeverTheProgramFolder)
{
    const struct {
        std::string initialDir;
        const char* expected;
    } kCases[] = {
        {"", "home"},
        {(root / "program").string(), "home"},
        {(root / "program").string() + "/", "home"},
        {(root / "budgets" / ".." / "program").string(), "home"},
        {(root / "budgets").string(), "budgets"},
        {(root / "gone").string(), "home"},
    };
    for (const auto& c : kCases) {
        platform::FileDialogData data = Data(kOpenFilter, 2);
        data.initialDir = c.initialDir;
        EXPECT_EQ(platform::StartFolder(data), (root / c.expected).string()) << c.initialDir;
    }
}

// Budgets beside the databases that ship in the program's folder.
const char* const kDatabaseFilter = "GEO Link Budget (*.glb)|*.glb|Country Files (*.twn)|*.twn|"
                                    "Satellite File (*.geo)|*.geo|All Files (*.*)|*.*|";

// A database kind starts where the program ships it until a folder is used
// for that kind; opening one leaves the documents' folder as it was.
TEST_F(FileDialogFolders, DatabasesStartInTheProgramFolderUntilTheirKindIsKeptElsewhere)
{
    platform::SetProgramFolderKinds({"twn", "geo"});
    const Step steps[] = {
        {kDatabaseFilter, 3, "", false, "program/satlist.geo", "program"},
        {kDatabaseFilter, 1, "", false, "", "home"},  // a budget: not where the databases are
        {kDatabaseFilter, 2, "twn", true, "maps/mine.twn", "program"},
        {kDatabaseFilter, 2, "", false, "", "maps"},
        {kDatabaseFilter, 3, "", false, "", "program"},
    };
    RunSteps(steps);
}

// Choosing another file type in the dialog goes where that kind starts,
// unless the user has gone to a folder of their own.
TEST_F(FileDialogFolders, ChoosingAFileTypeGoesWhereThatKindStarts)
{
    platform::SetProgramFolderKinds({"twn", "geo"});
    QFileDialog dialog;
    platform::SetUpFileDialog(dialog, Data(kDatabaseFilter, 1), false);
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    const struct {
        const char* goTo;  // a folder the user goes to first, or none
        int type;          // 0-based
        const char* expected;
    } kSteps[] = {{nullptr, 1, "program"}, {nullptr, 0, "home"}, {"budgets", 2, "budgets"}};
    for (const auto& s : kSteps) {
        if (s.goTo) dialog.setDirectory(QString::fromStdString((root / s.goTo).string()));
        types->setCurrentIndex(s.type);
        emit types->activated(s.type);
        emit types->textActivated(types->itemText(s.type));
        EXPECT_EQ(dialog.directory().absolutePath().toStdString(), (root / s.expected).string()) << s.type;
    }
}

// The details view sizes its Size and Type columns to their text: a file of
// 162 bytes shows "162 bytes" whole.
TEST_F(FileDialogFolders, SizeAndTypeColumnsFitTheirText)
{
    std::ofstream(root / "budgets" / "london.glb", std::ios::binary) << std::string(162, 'x');
    platform::FileDialogData data = Data(kOpenFilter, 2);
    data.initialDir = (root / "budgets").string();
    QFileDialog dialog;
    platform::SetUpFileDialog(dialog, data, false);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.resize(500, 300);
    dialog.show();
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(view, nullptr);
    for (int column : {1, 2}) EXPECT_EQ(view->header()->sectionResizeMode(column), QHeaderView::ResizeToContents);
    // The folder is read in the background: wait for the row.
    QDeadlineTimer deadline(5000);
    QModelIndex row;
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        const QModelIndex top = view->rootIndex();
        for (int r = 0; r < view->model()->rowCount(top); ++r)
            if (view->model()->index(r, 0, top).data().toString() == "london.glb") row = view->model()->index(r, 0, top);
        if (row.isValid()) break;
    }
    ASSERT_TRUE(row.isValid());
    QCoreApplication::processEvents();
    const QFontMetrics metrics(view->font());
    for (int column : {1, 2}) {
        const QString text = row.sibling(row.row(), column).data().toString();
        ASSERT_FALSE(text.isEmpty()) << column;
        EXPECT_GE(view->header()->sectionSize(column), metrics.horizontalAdvance(text)) << text.toStdString();
    }
    dialog.hide();
}

}  // namespace
