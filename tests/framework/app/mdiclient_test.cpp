// The MDI client driven through its commands, with a recording window
// registered for every window type.
#include <gtest/gtest.h>

#include <QMenu>
#include <algorithm>
#include <string_view>

#include "tests/framework/app/gui_support.h"

using testsupport::AppFixture;
using testsupport::RecordingWindow;

namespace {

TEST(MdiClient, NewDocumentCreatesItsTypeAndPostsItsEditCommand)
{
    struct Case { int command, type; const char* title; int editCommand; };
    const Case cases[] = {{6010, 5, "Look Angles", 6110}, {6014, 10, "GEO Link Budget", 6114},
                          {6023, 16, "Link Budget (Non GEO)", 6126}, {6022, 15, "Uplink Budget", 5524}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        AppFixture f;
        ASSERT_TRUE(f.app->Dispatch(c.command));
        RecordingWindow* w = f.Active();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->WindowType(), c.type);
        EXPECT_EQ(f.app->PendingWindowType, c.type);
        EXPECT_EQ(f.app->Client()->ActiveChild()->windowTitle().toStdString(), c.title);
        EXPECT_TRUE(w->openedWith.empty());
        // Posted, not sent: the dialog opens once the window is up.
        EXPECT_TRUE(w->received.empty());
        QCoreApplication::processEvents();
        EXPECT_EQ(w->received, std::vector<int>{c.editCommand});
    }
}

TEST(MdiClient, NewWithoutRegisteredWindowOpensNothingAndSaysNothing)
{
    AppFixture f;
    orbiscope::ClearRegistrations();
    EXPECT_TRUE(f.app->Dispatch(6014));
    EXPECT_TRUE(f.app->Dispatch(6310));
    EXPECT_TRUE(f.app->Dispatch(6410));
    EXPECT_TRUE(f.app->Dispatch(6510));
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.app->Client()->Children().empty());
    EXPECT_TRUE(f.messages.calls.empty());
}

TEST(MdiClient, OpenPicksTheTypeByTheExtensionInAnyCase)
{
    struct Case { const char* name; int type, filterIndex; };  // type 0: refused
    const Case cases[] = {{"LINK.GLB", 10, 3}, {"old.upd", 10, 3},  {"a.Tle", 4, 13},       {"sats.geo", 8, 5},
                          {"x.dnd", 17, 10},   {"map.JPG", 1, 7},   {"link.glb.bak", 0, 0}, {"noextension", 0, 0},
                          {"dir.glb/file", 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture f;
        const std::string path = (f.dir.Path() / c.name).string();
        f.app->Client()->OpenFile(path.c_str());
        if (c.type == 0) {
            ASSERT_EQ(f.messages.Shown(),
                      (testsupport::Boxes{{orbiscope::kMainTitle, "Not a supported file type (or too many files selected)"}}));
            EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);
            EXPECT_TRUE(f.app->Client()->Children().empty());
            EXPECT_TRUE(f.app->Recent().Files().empty());
            EXPECT_EQ(f.app->CurrentFileName, path);
            continue;
        }
        RecordingWindow* w = f.Active();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->WindowType(), c.type);
        EXPECT_EQ(w->openedWith, path);
        EXPECT_EQ(f.app->FileData.filterIndex, c.filterIndex);
        EXPECT_EQ(f.app->Recent().Files(), std::vector<std::string>{path});
        QCoreApplication::processEvents();
        EXPECT_TRUE(w->received.empty());  // opening a file runs no dialog
    }
}

// The newest line of the File menu's recent files.
QAction* NewestRecentFile(const AppFixture& f)
{
    QAction* entry = nullptr;
    for (QAction* a : f.app->Frame()->Menu("&File")->actions())
        if (a->text().startsWith(QStringLiteral("&1 "))) entry = a;
    return entry;
}

// Paths longer than the menu's 30 characters and than the 260 of the old
// file-name buffers, which a Linux path may well be: the menu shows the
// name shortened in the middle, the entry reopens the whole path.
TEST(MdiClient, ALongPathReopensFromTheRecentFilesMenu)
{
    for (const std::size_t length : {31u, 261u}) {
        SCOPED_TRACE(length);
        AppFixture f;
        std::filesystem::path path = f.dir.Path();
        while (path.string().size() < length) path /= "budgets-for-the-summer-campaign";
        path /= "london-madrid.glb";
        f.app->Client()->OpenFile(path.c_str());
        for (auto* c : f.app->Client()->Children()) c->CloseWithoutAsking();
        QCoreApplication::processEvents();

        QAction* entry = NewestRecentFile(f);
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(entry->text().endsWith(QStringLiteral("/london-madrid.glb")));
        EXPECT_LE(entry->text().size(), 3 + 30);
        EXPECT_EQ(entry->statusTip().toStdString(), path.string());
        entry->trigger();
        ASSERT_NE(f.Active(), nullptr);
        EXPECT_EQ(f.Active()->openedWith, path.string());
    }
}

// A window that reads its document as the program's windows do: named after
// it once read, a file that is not there refused.
class ReadingWindow : public RecordingWindow {
public:
    explicit ReadingWindow(const char* name) : RecordingWindow(0, name) {}
    void SetupWindow() override
    {
        TMyWindow::SetupWindow();
        if (HasFileName()) OpenDocument(false);
    }
    bool LoadFile(const char* name) override { return std::filesystem::exists(name); }
};

// What a menu line reads on the screen: "&x" marks x, "&&" is one "&".
QString MenuShows(const QString& line)
{
    QString shown;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'&' && i + 1 < line.size()) ++i;
        shown += line[i];
    }
    return shown;
}

// Names as the file manager shows them (the file system's UTF-8, decoded):
// the window's title, its recent-files line and that line's hint, and the
// message of a file that cannot be read.  The line reopens the same bytes,
// and the registry keeps them as they were.
TEST(MdiClient, ANameIsShownAsTheFileManagerNamesIt)
{
    struct Case { const char* folder; const char* file; };
    const Case cases[] = {{"Téléchargements", "Île-de-France.sun"}, {"Документы", "Москва.sun"}, {"R&D", "plan & budget.sun"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        AppFixture f;
        orbiscope::RegisterWindowFactory(11, [](const char* name) { return new ReadingWindow(name); });
        const std::filesystem::path folder = f.dir.Path() / c.folder;
        std::filesystem::create_directory(folder);
        const std::string path = (folder / c.file).string();
        testfiles::WriteText(path, "outage");

        f.app->Client()->OpenFile(path.c_str());
        ASSERT_NE(f.Active(), nullptr);
        EXPECT_EQ(f.app->Client()->ActiveChild()->windowTitle(), QString::fromUtf8(path));
        for (auto* child : f.app->Client()->Children()) child->CloseWithoutAsking();
        QCoreApplication::processEvents();
        QAction* entry = NewestRecentFile(f);
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(MenuShows(entry->text()).endsWith(QString::fromUtf8(c.file).prepend(u'/')));
        EXPECT_EQ(entry->statusTip(), QString::fromUtf8(path));
        entry->trigger();
        ASSERT_NE(f.Active(), nullptr);
        EXPECT_EQ(f.Active()->FileName(), path);
        EXPECT_EQ(platform::Registry::ReadString("Software\\Orbiscope\\MRU", "File1"), path);

        const std::string absent = (folder / (std::string("absent ") + c.file)).string();
        f.app->Client()->OpenFile(absent.c_str());
        ASSERT_EQ(f.messages.calls.size(), 1u);
        EXPECT_EQ(f.messages.calls[0].shown, "Cannot read file " + QString::fromUtf8(absent));
        EXPECT_EQ(f.messages.calls[0].text, "Cannot read file " + absent);
    }
}

TEST(MdiClient, FileOpenWithSeveralFilesOpensEachInOrder)
{
    AppFixture f;
    const std::string a = (f.dir.Path() / "a.glb").string();
    const std::string b = (f.dir.Path() / "b.twn").string();
    const std::string c = (f.dir.Path() / "c.sun").string();
    platform::QueueFileDialogAnswer({{a, b, c}});
    f.app->Dispatch(orbiscope::CM_FILEOPEN);
    const auto children = f.app->Client()->Children();
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0]->windowTitle().toStdString(), "GEO Link Budget");
    EXPECT_EQ(children[1]->windowTitle().toStdString(), "Country Data");
    EXPECT_EQ(children[2]->windowTitle().toStdString(), "Solar Outage");
    EXPECT_EQ(f.app->Recent().Files(), (std::vector<std::string>{c, b, a}));
    EXPECT_EQ(f.app->FileData.filterIndex, 6);
}

TEST(MdiClient, FileOpenCancelledRestoresTheCurrentName)
{
    AppFixture f;
    f.app->CurrentFileName = "before.glb";
    f.app->Dispatch(orbiscope::CM_FILEOPEN);  // no answer queued: cancelled
    EXPECT_EQ(f.app->CurrentFileName, "before.glb");
    EXPECT_TRUE(f.app->Client()->Children().empty());
}

// A dialog types in no name but the document's own: not the name the Map
// menu's picture, the last open or a refused file left behind.
TEST(MdiClient, FileDialogsShowNoNameButTheDocumentsOwn)
{
    AppFixture f;
    const std::string budget = (f.dir.Path() / "london.glb").string();
    const struct {
        int before;        // a command run first, 0: none
        const char* open;  // a file opened first, or none
        int dialog;        // the command whose dialog is looked at
        std::string name;
    } kSteps[] = {
        {6209, nullptr, orbiscope::CM_FILEOPEN, ""},       {0, "sets/amateur.tle", orbiscope::CM_FILEOPEN, ""},
        {0, "notes.bak", orbiscope::CM_FILEOPEN, ""},      {0, "london.glb", orbiscope::CM_FILESAVEAS, budget},
        {6014, nullptr, orbiscope::CM_FILESAVEAS, ""},     {6209, nullptr, 6218, ""},
    };
    for (const auto& s : kSteps) {
        if (s.before) f.app->Dispatch(s.before);
        if (s.open) f.app->Client()->OpenFile((f.dir.Path() / s.open).c_str());
        f.app->Dispatch(s.dialog);
        EXPECT_EQ(platform::LastFileDialogRequest().data.fileName, s.name) << s.dialog << " after " << s.before;
    }
}

// The first File > Open of a country or satellite file lists the files the
// program ships in its folder.
TEST(MdiClient, FirstOpenOfADatabaseStartsInTheProgramFolder)
{
    for (const int filterIndex : {4, 5}) {
        AppFixture f;
        f.app->FileData.filterIndex = filterIndex;
        f.app->Dispatch(orbiscope::CM_FILEOPEN);
        EXPECT_EQ(platform::LastFileDialogRequest().startFolder, f.dir.Path().string()) << filterIndex;
    }
}

// A window that reads its file unless the name says "broken" and writes
// one unless the name says "readonly".
class FileWindow : public RecordingWindow {
public:
    using RecordingWindow::RecordingWindow;
    void SetupWindow() override
    {
        RecordingWindow::SetupWindow();
        OpenDocument(false);
    }
    bool LoadFile(const char* name) override { return !std::string_view(name).ends_with("broken.glb"); }
    bool SaveFile(const char* name) override { return std::string_view(name).find("readonly") == std::string_view::npos; }
};

// A folder is kept for the kind of the file that opened or was saved, and
// only then: not for the file type the dialog showed, nor for a file
// refused, unreadable or not written.  Each step's dialog starts where the
// steps before it leave it.
TEST(MdiClient, FoldersFollowTheFilesThatOpenedOrWereSaved)
{
    AppFixture f;
    for (const auto& t : orbiscope::WindowTypes()) {
        const int edit = t.editCommand;
        orbiscope::RegisterWindowFactory(t.type, [edit](const char* name) { return new FileWindow(edit, name); });
    }
    for (const char* sub : {"orbit-data", "pictures", "budgets", "exports"})
        std::filesystem::create_directories(f.dir.Path() / sub);
    constexpr int kCountryFiles = 4, kGeoBudgets = 3, kBitmaps = 7, kElementSets = 13;
    const struct {
        int newDocument;    // 0: File > Open with the file type below; else Save As of that new document
        int filterIndex;    // Open: the file type chosen
        const char* saveAs; // Save As: the document's own file type, by extension
        const char* pick;   // "" cancels
        const char* start;  // where the dialog starts; "" the program's folder
    } kSteps[] = {
        // The country files' type shown, an element file typed in: it opens.
        {0, kCountryFiles, "", "orbit-data/stations.tle", ""},
        {0, kElementSets, "", "", "orbit-data"},
        {0, kCountryFiles, "", "", ""},
        {6017, 0, "twn", "", ""},
        // A file of no type the program opens is refused.
        {0, kBitmaps, "", "pictures/picture99.dib", "orbit-data"},
        {6014, 0, "glb", "", "orbit-data"},
        {0, kBitmaps, "", "", "orbit-data"},
        // A budget that cannot be read.
        {0, kGeoBudgets, "", "budgets/broken.glb", "orbit-data"},
        {0, kGeoBudgets, "", "", "orbit-data"},
        // A budget not written, then one written.
        {6014, 0, "glb", "exports/readonly/london.glb", "orbit-data"},
        {6014, 0, "glb", "exports/london.glb", "orbit-data"},
        {0, kGeoBudgets, "", "", "exports"},
        {0, kCountryFiles, "", "", ""},
        // A picture: its file type lists several extensions.
        {0, kBitmaps, "", "pictures/ku-beam.jpg", "exports"},
        {0, kBitmaps, "", "", "pictures"},
    };
    for (const auto& s : kSteps) {
        platform::QueueFileDialogAnswer(
            {*s.pick ? std::vector<std::string>{(f.dir.Path() / s.pick).string()} : std::vector<std::string>{}});
        if (s.newDocument) {
            f.app->Dispatch(s.newDocument);
            RecordingWindow* w = f.Active();
            ASSERT_NE(w, nullptr);
            w->FileData.defaultExt = s.saveAs;
            w->FileData.filter = std::string("Document (*.") + s.saveAs + ")|*." + s.saveAs + "|";
            f.app->Dispatch(orbiscope::CM_FILESAVEAS);
        } else {
            f.app->FileData.filterIndex = s.filterIndex;
            f.app->Dispatch(orbiscope::CM_FILEOPEN);
        }
        EXPECT_EQ(platform::LastFileDialogRequest().startFolder, (*s.start ? f.dir.Path() / s.start : f.dir.Path()).string())
            << (s.newDocument ? "Save As " : "Open ") << s.filterIndex << s.saveAs << " then " << s.pick;
    }
}

TEST(MdiClient, EditActiveDocumentFollowsTheWindowInFocus)
{
    AppFixture f;
    EXPECT_FALSE(f.app->IsEnabled(orbiscope::CM_EDITACTIVE));
    f.app->Dispatch(6010);  // look angles
    QCoreApplication::processEvents();
    RecordingWindow* angles = f.Active();
    f.app->Dispatch(6417);  // a table: nothing registered builds it, but the window exists
    QCoreApplication::processEvents();
    EXPECT_EQ(f.app->PendingWindowType, 2);
    EXPECT_FALSE(f.app->IsEnabled(orbiscope::CM_EDITACTIVE));

    // Back to the look-angle window: it records its own type when activated.
    f.app->Client()->setActiveSubWindow(f.app->Client()->Children()[0]);
    EXPECT_EQ(f.app->PendingWindowType, 5);
    EXPECT_TRUE(f.app->IsEnabled(orbiscope::CM_EDITACTIVE));
    angles->received.clear();
    f.app->Dispatch(orbiscope::CM_EDITACTIVE);
    EXPECT_EQ(angles->received, std::vector<int>{6110});  // sent: at once
}

// A window that refuses Close All closes nothing.  When the user called the
// close off at its question (Cancel, or Yes then Cancel in Save As), that is
// the answer to the whole command; any other refusal (a save that failed)
// has the active window asked on its own.
TEST(MdiClient, CloseAllWithARefusingWindowClosesNoneThenAsksTheActiveOneUnlessCancelled)
{
    struct Case {
        const char* name;
        bool refusesItself;    // refuses without asking
        // Of the changed window; null: untitled, or not changed.
        const char* fileName;
        int answer;            // at the save question
        int questions;         // save questions asked in all
        bool activeAskedAlone;
        bool cancelledBefore = false;  // an earlier Close All was called off at its question
    };
    const Case cases[] = {
        {"refuses by itself", true, nullptr, platform::IDYES, 0, true},
        {"its save fails", false, "plan.glb", platform::IDYES, 1, true},
        {"Cancel at the question", false, "plan.glb", platform::IDCANCEL, 1, false},
        {"Yes, then Cancel in Save As", false, "", platform::IDYES, 1, false},
        {"an earlier Cancel, then refuses by itself", true, "plan.glb", platform::IDCANCEL, 1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture f;
        f.app->Dispatch(6014);
        RecordingWindow* refusing = f.Active();
        refusing->allowClose = !c.refusesItself || c.cancelledBefore;
        if (c.fileName) {
            refusing->Changed = true;
            if (*c.fileName) refusing->SetFileName((f.dir.Path() / c.fileName).string().c_str());
        }
        f.messages.yesNoAnswer = c.answer;
        f.app->Dispatch(6010);
        f.app->Dispatch(6011);
        QCoreApplication::processEvents();
        ASSERT_EQ(f.app->Client()->Children().size(), 3u);
        if (c.cancelledBefore) {
            f.app->Dispatch(orbiscope::CM_CLOSEALLDOCS);
            QCoreApplication::processEvents();
            ASSERT_EQ(f.app->Client()->Children().size(), 3u);
            // Now busy, as a window a search writes to: it refuses without asking.
            refusing->allowClose = !c.refusesItself;
        }

        f.app->Dispatch(orbiscope::CM_CLOSEALLDOCS);
        QCoreApplication::processEvents();
        const auto questions = std::count_if(f.messages.calls.begin(), f.messages.calls.end(),
                                             [](const platform::MessageBoxCall& m) { return m.Cancellable(); });
        EXPECT_EQ(questions, c.questions);
        // Only the active one (Dual Feed) went, on its own question; or none.
        auto left = f.app->Client()->Children();
        ASSERT_EQ(left.size(), c.activeAskedAlone ? 2u : 3u);
        EXPECT_EQ(left[0]->ClientWindow(), refusing);
        EXPECT_EQ(refusing->Changed, c.fileName != nullptr);

        refusing->allowClose = true;
        refusing->Changed = false;
        f.app->Dispatch(orbiscope::CM_CLOSEALLDOCS);
        QCoreApplication::processEvents();
        EXPECT_TRUE(f.app->Client()->Children().empty());
        EXPECT_FALSE(f.app->IsEnabled(orbiscope::CM_CLOSEALLDOCS));
        EXPECT_FALSE(f.app->IsEnabled(orbiscope::CM_FILECLOSE));
    }
}

TEST(MdiClient, CalculatorGetsAZeroFilledSeededBufferOfItsRecordSize)
{
    AppFixture f;
    std::vector<std::uint8_t> seen;
    orbiscope::RegisterCalculator(6531, [&](TOrbiscopeMDIClient&, std::uint8_t* b, std::size_t n) { seen.assign(b, b + n); });
    f.app->Dispatch(6531);
    ASSERT_EQ(seen.size(), 275u);
    std::vector<std::uint8_t> expected(275, 0);
    expected[39] = '0';
    expected[171] = 1;
    expected[188] = 1;
    EXPECT_EQ(seen, expected);
}

TEST(MdiClient, GraphAndTableBuildersGetTheirWindowAndArgument)
{
    AppFixture f;
    std::vector<std::pair<int, int>> calls;
    for (int id : {6311, 6312, 6319, 6417})
        orbiscope::RegisterWindowBuilder(id, [&calls](TMyWindow& w, int arg) { calls.emplace_back(w.WindowType(), arg); });
    orbiscope::RegisterWindowBuilder(6220, [&calls](TMyWindow& w, int arg) { calls.emplace_back(w.WindowType(), arg); });
    for (int id : {6311, 6312, 6319, 6417, 6220}) f.app->Dispatch(id);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{3, 0}, {3, 1}, {3, 6319}, {2, 6417}, {1, 88}}));
}

TEST(MdiClient, TimeZoneMapOpensTheFileOfTheProgramDirectory)
{
    AppFixture f;
    f.app->Dispatch(6209);
    RecordingWindow* w = f.Active();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->WindowType(), 1);
    EXPECT_EQ(w->openedWith, "TIMEZONE.GIF");
    EXPECT_TRUE(f.app->Recent().Files().empty());
}

TEST(MdiClient, CtrlF3PostsTheHtmlExportToTheActiveWindow)
{
    AppFixture f;
    f.app->Dispatch(6014);
    RecordingWindow* w = f.Active();
    std::vector<int> got;
    w->SetHandler(orbiscope::CM_SAVEHTML, [&got] { got.push_back(6020); });
    w->SetHandler(orbiscope::CM_EXPORTDISA, [&got] { got.push_back(6027); });
    for (auto [key, mods] : {std::pair{Qt::Key_F3, Qt::ControlModifier}, std::pair{Qt::Key_F2, Qt::ControlModifier},
                             std::pair{Qt::Key_F3, Qt::NoModifier}}) {
        QKeyEvent press(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(w, &press);
    }
    EXPECT_TRUE(got.empty());  // posted
    QCoreApplication::processEvents();
    EXPECT_EQ(got, (std::vector<int>{6020, 6027}));
}

TEST(MdiClient, DroppedFilesOpenInTheOrderOfTheDrop)
{
    AppFixture f;
    f.app->DropFiles({(f.dir.Path() / "one.twn").string(), (f.dir.Path() / "two.bak").string(),
                      (f.dir.Path() / "three.geo").string()});
    const auto children = f.app->Client()->Children();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0]->windowTitle().toStdString(), "Country Data");
    EXPECT_EQ(children[1]->windowTitle().toStdString(), "Satellite Data");
    EXPECT_EQ(f.messages.calls.size(), 1u);
}

}  // namespace

TEST(MdiClient, FileOpenOffersEveryDocumentTypeFromTheProgramDirectory)
{
    AppFixture f;
    const auto entries = platform::SplitFilter(f.app->FileData.filter);
    ASSERT_EQ(entries.size(), 13u);
    EXPECT_EQ(entries[0].first, "Look Angle Files (*.ang)");
    EXPECT_EQ(entries[2].second, "*.glb;*.upd;");
    EXPECT_EQ(entries[6].second, "*.bmp;*.gif;*.pcx;*.tif;*.jpg");
    EXPECT_EQ(entries[12].first, "All Files (*.*)");
    EXPECT_TRUE(f.app->FileData.multiSelect);
    EXPECT_TRUE(f.app->FileData.overwritePrompt);
    EXPECT_EQ(f.app->FileData.initialDir, f.app->ProgramDir);
    EXPECT_TRUE(f.app->CurrentFileName.empty());
}
