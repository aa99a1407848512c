// File dialogs as the user sees them: each file type's own description once,
// filtering by its patterns, and the folder last used for a kind of file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <filesystem>

#include "platform/filedialog.h"
#include "platform/registry.h"
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
    const char* expectedStart;  // relative to the test folder; "" = the program's folder
};

TEST(FileDialogFolders, EachKindStartsWhereItWasLastUsedAcrossRuns)
{
    platformtest::App();
    const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                       ("orbiscope-folders-" + std::to_string(QCoreApplication::applicationPid()));
    for (const char* sub : {"program", "budgets", "maps", "exports", "registry"})
        std::filesystem::create_directories(root / sub);
    platform::Registry::SetFolder(root / "registry");
    const Step steps[] = {
        {kOpenFilter, 2, "", false, "budgets/london.glb", ""},        // nothing used yet
        {kOpenFilter, 2, "", false, "", "budgets"},                    // GEO budgets: where the last came from
        {kOpenFilter, 3, "", false, "maps/ku-beam.jpg", ""},           // bitmaps have their own folder
        {"GEO Link Budget (*.glb)|*.glb|", 1, "glb", true, "budgets/madrid.glb", "budgets"},
        {"Html Files (*.html)|*.html", 1, "html", true, "exports/madrid.html", ""},
        {kOpenFilter, 3, "", false, "", "maps"},
        // Whatever was chosen last under "All Files" is that kind's folder;
        // the budget chosen there also marks the budgets' folder.
        {kOpenFilter, 5, "", false, "exports/old.glb", ""},
        {kOpenFilter, 5, "", false, "", "exports"},
        {kOpenFilter, 2, "", false, "", "exports"},
    };
    for (const Step& s : steps) {
        platform::FileDialogData data;
        data.filter = s.filter;
        data.filterIndex = s.filterIndex;
        data.defaultExt = s.defaultExt;
        data.initialDir = (root / "program").string();
        platform::QueueFileDialogAnswer({*s.pick ? std::vector<std::string>{(root / s.pick).string()}
                                                 : std::vector<std::string>{}});
        if (s.save) platform::RunFileSave(nullptr, "Save As", data);
        else platform::RunFileOpen(nullptr, "Open", data);
        const std::filesystem::path expected = root / (*s.expectedStart ? s.expectedStart : "program");
        EXPECT_EQ(platform::LastFileDialogRequest().startFolder, expected.string()) << s.pick << " / " << s.filterIndex;
    }
    // The next run reads the same registry; a folder since removed is not offered.
    std::filesystem::remove_all(root / "maps");
    platform::FileDialogData data;
    data.filter = kOpenFilter;
    data.filterIndex = 3;
    data.initialDir = (root / "program").string();
    EXPECT_EQ(platform::StartFolder(data), (root / "program").string());
    data.filterIndex = 1;
    data.defaultExt = "glb";
    EXPECT_EQ(platform::StartFolder(data), (root / "exports").string());

    platform::Registry::SetFolder({});
    std::filesystem::remove_all(root);
}

}  // namespace
