// The application object: start-up tables, shut-down order, date line, the
// map-failure path.
#include <gtest/gtest.h>

#include <QMenu>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "propagation/coordinates.h"

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <set>
#include <optional>
#include <thread>

#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "framework/app/menus.h"
#include "framework/app/strings.h"
#include "propagation/geo_notifier.h"
#include "tests/framework/app/gui_support.h"

using testsupport::AppFixture;
using testsupport::RecordingWindow;

namespace {

TEST(MainMenu, HasEveryCommandOnceWithItsHint)
{
    const std::vector<int> ids = orbiscope::MainMenuCommands();
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    for (int id : ids) EXPECT_STRNE(orbiscope::MenuHint(id), "") << id;
    // Hints keep their own spelling.
    EXPECT_STREQ(orbiscope::StringText(6315), "Plot modified polar mount declination values ");
    EXPECT_STREQ(orbiscope::StringText(6513), "Convert noise figure to  noise temperature");
    EXPECT_STREQ(orbiscope::StringText(24362), "Display all open widows tiled");
}

TEST(MainMenu, CalculatorBuffersMatchTheirStoredRecords)
{
    for (const auto& c : orbiscope::Calculators()) {
        EXPECT_EQ(c.bufferBytes, kFormValueRecordSizes[std::size_t(c.storedRecord - 1)]) << c.form;
        for (int off : c.wordSeeds) EXPECT_LE(off + 2, c.bufferBytes) << c.form;
    }
}

TEST(TOrbiscopeState, StoredDialogValuesStartWithTheDefaultButtonStates)
{
    testsupport::App();
    TOrbiscope app;
    const std::vector<std::pair<int, std::vector<int>>> seeds = {
        {16, {15}}, {17, {162}}, {24, {134}}, {27, {90}}, {28, {157}}, {31, {341, 345, 349, 355, 357}},
        {32, {104}}, {33, {119, 123, 127, 133, 135}}, {34, {380, 384, 388, 394, 396}}, {36, {65, 79}}, {38, {52}}};
    std::vector<std::uint8_t> expected(5980, 0);
    for (const auto& [record, offsets] : seeds)
        for (int off : offsets) expected[std::size_t(TOrbiscope::FormRecordOffset(record) + off)] = 1;
    EXPECT_EQ(std::vector<std::uint8_t>(app.FormValueTable.begin(), app.FormValueTable.end()), expected);
    EXPECT_EQ(TOrbiscope::FormRecordOffset(17), 1241);
    EXPECT_EQ(TOrbiscope::FormRecordOffset(33), 2994);
    for (std::uint8_t b : app.SetUpRecord) EXPECT_EQ(b, 0);
}

TEST(TOrbiscopeState, FormatDateFromTheUtcClock)
{
    testsupport::App();
    TOrbiscope app;
    struct DateCase { std::time_t when; bool withTime; const char* text; };
    const DateCase cases[] = {
        {1678179903, true, "Tuesday 7 March 2023 (GMT: 09:05:03)"},   // 2023-03-07 09:05:03 UTC
        {1678179903, false, "Tuesday 7 March 2023"},
        {0, true, "Thursday 1 January 1970 (GMT: 00:00:00)"},
        {951782400, true, "Tuesday 29 February 2000 (GMT: 00:00:00)"},
        {1767225599, true, "Wednesday 31 December 2025 (GMT: 23:59:59)"},
    };
    for (const DateCase& c : cases) {
        platform::SetClockOverride([t = c.when] { return t; });
        EXPECT_STREQ(app.FormatDate(c.withTime), c.text);
    }
    platform::SetClockOverride({});
}

TEST(TOrbiscopeFrame, TitleMenusToolbarAndAccelerators)
{
    AppFixture f;
    platform::MdiFrame* frame = f.app->Frame();
    EXPECT_EQ(frame->windowTitle().toStdString(), "Orbiscope Pro 1.0");
    QStringList menus;
    for (QAction* a : frame->menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus.join(','), "&File,&Edit,&Map,&Graph,&Table,&Calculate,&Options,&Window,&Help");
    QToolBar* bar = frame->findChild<QToolBar*>("Toolbar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->windowTitle(), "Toolbar");
    std::vector<int> buttons;
    for (QAction* a : bar->actions())
        if (!a->isSeparator()) buttons.push_back(a->data().toInt());
    EXPECT_EQ(buttons, (std::vector<int>{24332, 24333, 6121, 24323, 6510, 24337, 24340, 24361, 24362, 6710}));
    EXPECT_EQ(frame->Action(24323)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    EXPECT_EQ(frame->Action(6121)->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(frame->Action(6014)->statusTip().toStdString(), "Create a new GEO 'bent pipe' link budget");
    // Toolbar buttons follow the menu enablers.
    frame->UpdateCommandEnablers();
    EXPECT_FALSE(frame->Action(24333)->isEnabled());
    EXPECT_TRUE(frame->Action(24332)->isEnabled());
    f.app->Dispatch(6014);
    EXPECT_TRUE(frame->Action(24333)->isEnabled());
}

// The Calculate menu in its groups, as the frame draws it: the calculators,
// the expression evaluator on its own, the converters, the slant range on
// its own, the antenna and link calculators, the batch processes, and the
// scintillation estimate last.
TEST(TOrbiscopeFrame, CalculateMenuIsDrawnInItsGroups)
{
    AppFixture f;
    QMenu* calculate = nullptr;
    for (QAction* a : f.app->Frame()->menuBar()->actions())
        if (a->text() == "&Calculate") calculate = a->menu();
    ASSERT_NE(calculate, nullptr);
    std::vector<std::vector<int>> groups(1);
    for (QAction* a : calculate->actions()) {
        if (a->isSeparator()) groups.emplace_back();
        else groups.back().push_back(a->data().toInt());
    }
    const std::vector<std::vector<int>> expected = {
        {6531, 6523, 6534, 1314, 1315},
        {6510},
        {6511, 6526, 6514, 6513, 6515, 6516, 6517},
        {1317},
        {1316, 6519, 6521, 6520, 6528, 6522, 6512, 6535},
        {6527, 6529, 6530, 6532},
        {1313},
    };
    EXPECT_EQ(groups, expected);
}

// The names put in place (renamed onto) and removed in the watched folders,
// in the order it happened there.
class FolderEvents {
public:
    explicit FolderEvents(std::initializer_list<std::filesystem::path> folders)
    {
        for (const auto& folder : folders) EXPECT_GE(::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO | IN_DELETE), 0);
    }
    ~FolderEvents() { ::close(fd_); }
    FolderEvents(const FolderEvents&) = delete;
    FolderEvents& operator=(const FolderEvents&) = delete;

    std::vector<std::string> Read() const
    {
        std::vector<std::string> names;
        alignas(inotify_event) char buffer[16384];
        for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;)
            for (const char* p = buffer; p < buffer + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                if (e->len > 0) names.push_back(std::string((e->mask & IN_DELETE) ? "removed " : "put ") + e->name);
                p += sizeof(inotify_event) + e->len;
            }
        return names;
    }

private:
    int fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
};

// What shut-down writes, by the answer of the windows and the set-up option:
// the placement always, the dialog values only when the program ends and the
// option asks for them; an open help window goes with the program.  Every
// file is in place before the lock goes, so that a start that becomes the
// first instance then reads them as this one left them; a close called off
// keeps the lock.
TEST(TOrbiscopeFrame, ShutdownWritesWhatTheAnswerAllows)
{
    struct Case { bool windowAgrees, helpOpened; std::uint8_t saveOption; bool closes, writesValues, closesHelp; };
    const Case cases[] = {
        {true, true, 1, true, true, true},     {true, false, 1, true, true, false}, {true, true, 0, true, false, true},
        {false, true, 1, false, false, false}, {false, false, 0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.windowAgrees << c.helpOpened << int(c.saveOption));
        AppFixture f;
        const testsupport::TempDir runtime;
        const testfiles::ScopedVariable runtimeVariable("XDG_RUNTIME_DIR", runtime.Path().string());
        // A registry write killed before its rename left its temporary: the
        // first instance removes it, and nothing else.
        const std::filesystem::path leftover = f.dir / "registry" / "registry.ini.hWqZbA";
        const std::filesystem::path another = f.dir / "registry" / "notes.ini.hWqZbA";
        testfiles::WriteText(leftover, "[x]\n");
        testfiles::WriteText(another, "[x]\n");
        ASSERT_EQ(f.app->BecomeFirstInstance(), platform::InstanceRole::First);
        EXPECT_FALSE(std::filesystem::exists(leftover));
        EXPECT_TRUE(std::filesystem::exists(another));
        const std::string lock = f.app->Instance()->LockPath().filename().string();
        testsupport::HelpRecorder help;
        if (c.helpOpened) f.app->ShowHelp(550);
        EXPECT_EQ(f.app->HelpOpened, c.helpOpened);
        f.app->SetUpRecord[138] = c.saveOption;
        f.app->DefaultCountryFile = "uk.twn";
        f.app->Frame()->setGeometry(40, 50, 700, 500);
        f.app->Dispatch(6014);
        f.Active()->allowClose = c.windowAgrees;

        const FolderEvents events({f.dir.Path(), f.dir.Path() / "registry", runtime.Path()});
        f.app->Frame()->close();
        QCoreApplication::processEvents();
        EXPECT_EQ(f.app->Frame()->isVisible(), !c.closes);
        const auto placement = ReadPlacementFile(f.dir / "orbisco.ini");
        ASSERT_TRUE(placement.has_value());
        EXPECT_EQ(placement->right - placement->left, 700);
        EXPECT_EQ(placement->bottom - placement->top, 500);
        const auto values = f.dir / "orbisco.dat";
        EXPECT_EQ(std::filesystem::exists(values) ? std::filesystem::file_size(values) : 0u, c.writesValues ? 5980u : 0u);
        EXPECT_EQ(platform::Registry::ReadString("Software\\Orbiscope\\DefaultCountryFile", ""), "uk.twn");
        EXPECT_EQ(!help.topics.empty() && help.topics.back() == -1, c.closesHelp);
        std::vector<std::string> order, expected = {"put orbisco.ini"};
        for (const std::string& e : events.Read())
            if (e == "removed " + lock || (e.starts_with("put ") && !e.starts_with("put ."))) order.push_back(e);
        if (c.writesValues) expected.push_back("put orbisco.dat");
        expected.push_back("put registry.ini");
        if (c.closes) expected.push_back("removed " + lock);
        EXPECT_EQ(order, expected);
        if (RecordingWindow* w = f.Active()) w->allowClose = true;
    }
}

// A placement saved on one screen, restored on another: moved in over the
// edge it lies beyond, narrowed or shortened only where it is larger than the
// available area, the window system's decorations kept on it too.
TEST(RestoredPlacement, KeptOnTheAvailableArea)
{
    struct Case { const char* what; QRect window; QMargins frame; QRect available, expected; };
    const QRect small(0, 0, 1024, 768);
    const QMargins none, titled(1, 20, 1, 5);
    const Case cases[] = {
        {"fits: kept", {100, 100, 800, 600}, none, small, {100, 100, 800, 600}},
        {"closed at 700,300 of a wide screen: moved left and up", {700, 300, 900, 600}, none, small,
         {124, 168, 900, 600}},
        {"larger both ways and beyond: the whole area", {700, 300, 1400, 1000}, none, small, {0, 0, 1024, 768}},
        {"beyond the top left: moved in", {-300, -50, 800, 600}, none, small, {0, 0, 800, 600}},
        {"only too wide: narrowed, height and top kept", {-100, 100, 1200, 500}, none, small, {0, 100, 1024, 500}},
        {"exactly the area: kept", small, none, small, small},
        {"under a panel along the top: moved below it", {50, 0, 600, 400}, none, {0, 28, 1024, 740},
         {50, 28, 600, 400}},
        {"taller than below the panel: shortened to it", {50, 0, 600, 800}, none, {0, 28, 1024, 740},
         {50, 28, 600, 740}},
        {"a second screen's area at 1600: moved right and up", {1500, 900, 800, 600}, none, {1600, 0, 1280, 1024},
         {1600, 424, 800, 600}},
        {"decorated, larger both ways: title bar at the top", {100, 50, 1400, 900}, titled, small, {1, 20, 1022, 743}},
        {"decorated, beyond the lower right: borders moved in", {500, 300, 1000, 700}, titled, small,
         {23, 63, 1000, 700}},
        {"decorated, beyond the top left: frame at the corner", {-300, -200, 900, 640}, titled, small,
         {1, 20, 900, 640}},
    };
    for (const Case& c : cases) EXPECT_EQ(KeepOnScreen(c.window, c.frame, c.available), c.expected) << c.what;
}

TEST(TOrbiscopeStartup, AMissingMapIsReportedAndTheLoopEnds)
{
    testsupport::App();
    testsupport::TempDir empty;
    testsupport::MessageRecorder messages;
    platform::SetProgramDirectoryOverride(empty.Path());
    platform::Registry::SetFolder(empty.Path());
    TOrbiscopeMDIClient::ResetMapLoader();  // the real loader, over a folder without maps
    {
        TOrbiscope app;
        app.InitMainWindow();
        // One box per map, in load order, and nothing after them: the set-up
        // notices of a fresh folder do not follow the fatal message.
        ASSERT_EQ(messages.calls.size(), 30u);
        EXPECT_TRUE(app.StartFailed());
        for (std::size_t k = 0; k < 30; ++k) {
            const auto& m = messages.calls[k];
            EXPECT_EQ(m.caption, "File Load Error");
            EXPECT_EQ(m.Icon(), platform::MB_ICONSTOP);
            EXPECT_FALSE(m.hasOwner);
        }
        EXPECT_EQ(messages.calls[0].text, "TOPO.TXT failed checksum");
        EXPECT_EQ(messages.calls[29].text, "RHO_50.TXT failed checksum");
        // The quit is already posted: the loop ends at once, with a failure.
        // Bound to this test: it must not end a later test's loop.
        QObject bound;
        QTimer::singleShot(5000, &bound, [] { QCoreApplication::exit(7); });
        EXPECT_EQ(QCoreApplication::exec(), kExitStartFailed);
        EXPECT_EQ(messages.calls.size(), 30u);
    }
    platform::SetProgramDirectoryOverride({});
    platform::Registry::SetFolder({});
}

// A program folder, registry and runtime folder of a start's own, given
// back as they were when it goes.
struct StartUpFolder {
    StartUpFolder()
    {
        testsupport::App();
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder.Path().string()));
        platform::SetProgramDirectoryOverride(folder.Path());
        platform::Registry::SetFolder(folder.Path() / "registry");
    }
    ~StartUpFolder()
    {
        TOrbiscopeMDIClient::ResetMapLoader();
        platform::SetProgramDirectoryOverride({});
        platform::Registry::SetFolder({});
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }
    testsupport::TempDir folder;
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
};

// A fresh program folder shows "No setup file" before the main loop runs.
// Lines that reach the single-instance socket meanwhile (a malformed one, an
// Open and a Print, each from its own sender) wait for the main loop,
// unanswered: no box over the start-up box, no window before the frame is
// shown, and the Print does not end anything early.  Once the loop runs they
// are taken and handled.
TEST(TOrbiscopeStartup, SocketLinesWaitForTheMainLoop)
{
    const StartUpFolder start;
    const testsupport::TempDir& folder = start.folder;
    TOrbiscopeMDIClient::SetMapLoader({});
    bool startUpBoxOpen = false;
    int windowsDuringStartUpBox = 0, windows = 0;
    orbiscope::ClearRegistrations();
    for (const auto& t : orbiscope::WindowTypes())
        orbiscope::RegisterWindowFactory(t.type, [&](const char* name) {
            ++windows;
            if (startUpBoxOpen) ++windowsDuringStartUpBox;
            return new testsupport::RecordingWindow(0, name);
        });
    {
        TOrbiscope app;
        ASSERT_EQ(app.BecomeFirstInstance(), platform::InstanceRole::First);
        struct Box { std::string caption, text; bool duringStartUpBox; };
        std::vector<Box> boxes;
        std::vector<std::thread> senders;
        std::atomic<int> taken{0}, answered{0};
        int answeredInBox = -1;
        std::size_t readInBox = 0;
        const std::string document = (folder.Path() / "site.ang").string();
        testfiles::WriteText(folder.Path() / "site.ang", "");
        platform::SetMessageBoxSink([&](const platform::MessageBoxCall& call) {
            boxes.push_back({call.caption, call.text, startUpBoxOpen});
            if (call.caption != "No setup file") return platform::IDOK;
            startUpBoxOpen = true;
            // Later starts, each its own sender, while the box is up a while,
            // its loop running as a real box's does.
            for (const std::string& line : {std::string("DDE\tmalformed"), "DDE\tOrbiscope\tSystem\t[Open(" + document + ")]",
                                           "DDE\tOrbiscope\tSystem\t[Print(" + document + ")]"})
                senders.emplace_back([&, line] {
                    taken += platform::SingleInstance(QString::fromLatin1(orbiscope::kMainTitle)).SendToPrimary(line).Taken();
                    ++answered;
                });
            // Up until the server has read the three lines, and a while
            // after, in which none of them may be answered.
            QElapsedTimer read;
            platform::RunNestedBoxLoop([&] {
                if (!read.isValid() && app.Instance()->WaitingLines() == 3) read.start();
                return read.isValid() && read.elapsed() > 300;
            }, 60000);
            readInBox = app.Instance()->WaitingLines();
            answeredInBox = answered;
            startUpBoxOpen = false;
            return platform::IDOK;
        });
        app.InitMainWindow();
        EXPECT_FALSE(app.StartFailed());
        EXPECT_EQ(windowsDuringStartUpBox, 0);
        ASSERT_EQ(readInBox, 3u) << "the lines never reached the server while the start-up box was up";
        EXPECT_EQ(answeredInBox, 0) << "a later start was answered before the main loop ran";
        for (const Box& b : boxes) EXPECT_FALSE(b.duringStartUpBox) << b.caption << ": " << b.text;

        app.Frame()->show();
        app.StartServingSocket();
        // The main loop: the three lines are taken and handled now, once each.
        // It runs until all three are answered, none waits any more and what
        // they do is done (the malformed line's box, the Open's and the
        // Print's windows), and then through what they posted (the Print's
        // close), which is queued ahead of the loop's end.  A line handled
        // twice would have waited in the queue with the others, and shows in
        // the counts below.
        const auto count = [&](const std::string& text) {
            return std::count_if(boxes.begin(), boxes.end(), [&](const Box& b) { return b.text == text; });
        };
        QEventLoop main;
        QElapsedTimer running;
        running.start();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &main, [&] {
            const bool handled = answered == 3 && app.Instance()->WaitingLines() == 0 &&
                                 count("DDEML Error Encountered in CallBack") >= 1 && windows >= 2;
            if (!handled && running.elapsed() <= 30000) return;
            poll.stop();
            QMetaObject::invokeMethod(&main, &QEventLoop::quit, Qt::QueuedConnection);
        });
        poll.start(20);
        main.exec();
        for (std::thread& sender : senders) sender.join();
        EXPECT_EQ(taken, 3);
        EXPECT_EQ(count("Substituting defaults"), 1);
        EXPECT_EQ(count("DDEML Error Encountered in CallBack"), 1);
        EXPECT_EQ(windows, 2) << "the Open and the Print line each open their document once";
        platform::SetMessageBoxSink({});
        for (auto* c : app.Client()->Children()) c->CloseWithoutAsking();
        QCoreApplication::processEvents();
    }
    orbiscope::ClearRegistrations();
}

// A print start ends once it has printed, and takes no file from the
// moment it holds its lock: more later starts than may wait, all at once
// while its start-up box is up, are each refused as closing there and then,
// none as busy.
TEST(TOrbiscopeStartup, APrintStartRefusesEveryLineFromItsLock)
{
    const StartUpFolder start;
    TOrbiscopeMDIClient::SetMapLoader({});
    std::vector<platform::HandOver> answers(platform::SingleInstance::kMaxWaitingLines + 4);
    std::vector<std::thread> senders;
    std::atomic<std::size_t> answered{0};
    {
        TOrbiscope app;
        ASSERT_EQ(app.BecomeFirstInstance(true), platform::InstanceRole::First);
        platform::SetMessageBoxSink([&](const platform::MessageBoxCall& call) {
            if (call.caption != "No setup file") return platform::IDOK;
            for (std::size_t k = 0; k < answers.size(); ++k)
                senders.emplace_back([&, k] {
                    answers[k] = platform::SingleInstance(QString::fromLatin1(orbiscope::kMainTitle)).SendToPrimary("activate");
                    ++answered;
                });
            // Up until every line is answered or waits.
            platform::RunNestedBoxLoop([&] { return answered + app.Instance()->WaitingLines() == answers.size(); }, 60000);
            return platform::IDOK;
        });
        app.InitMainWindow();
        platform::SetMessageBoxSink({});
    }
    for (std::thread& sender : senders) sender.join();
    ASSERT_EQ(senders.size(), answers.size());
    for (const platform::HandOver& answer : answers)
        EXPECT_EQ(answer.reason, platform::SingleInstance::kRefusedClosing) << int(answer.result);
}

// A start that fails (a map fails its checksum, told in a box whose loop
// runs a while) takes no file: a later start that hands one over meanwhile
// is not told "taken", and hears no answer once the failed start ends.
TEST(TOrbiscopeStartup, AStartThatFailsTakesNoFile)
{
    const StartUpFolder start;
    TOrbiscopeMDIClient::ResetMapLoader();  // the real loader, over a folder without maps
    std::optional<std::thread> sender;
    platform::HandOver answer;
    std::atomic<bool> answered{false};
    bool answeredInBox = false, readInBox = false;
    {
        TOrbiscope app;
        ASSERT_EQ(app.BecomeFirstInstance(), platform::InstanceRole::First);
        platform::SetMessageBoxSink([&](const platform::MessageBoxCall&) {
            if (sender) return platform::IDOK;
            sender.emplace([&] {
                const std::string open = "DDE\tOrbiscope\tSystem\t[Open(" + (start.folder.Path() / "plan.sun").string() + ")]";
                answer = platform::SingleInstance(QString::fromLatin1(orbiscope::kMainTitle)).SendToPrimary(open);
                answered = true;
            });
            // Up until the server has read the line (or its sender was
            // answered, which it must not be).
            platform::RunNestedBoxLoop([&] { return answered || app.Instance()->WaitingLines() == 1; }, 60000);
            readInBox = app.Instance()->WaitingLines() == 1;
            answeredInBox = answered;
            return platform::IDOK;
        });
        app.InitMainWindow();
        EXPECT_TRUE(app.StartFailed());
        platform::SetMessageBoxSink({});
    }
    ASSERT_TRUE(sender);
    sender->join();
    EXPECT_FALSE(answeredInBox) << "answered while the failure's box was up";
    EXPECT_TRUE(readInBox) << "the line never reached the server while the failure's box was up";
    EXPECT_FALSE(answer.Taken());
}

// Runs events until `done` holds, for at most a minute: not in a nested loop,
// which a timer left over by another test could end.
void PumpUntil(const std::function<bool()>& done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// While the close check asks whether to save a changed document, a later
// start that hands over a file is told at once that it was not opened, and it
// never opens, whether the user lets the program end (No) or calls the end
// off (Cancel, or Yes then Cancel in Save As); once called off, files are
// taken again.
// A file told "taken" just before the close, its sender's "heard" read only
// as the close check agrees, calls the end off: it opens in the running
// program, never inside the close.
// More later starts than may wait behind a box, all refused as closing, come
// back together when the close is called off: those refused because too many
// files wait try again, and every file opens once.
TEST(TOrbiscopeStartup, NoFileIsTakenWhileTheCloseAsks)
{
    const struct Case {
        int answer;
        bool heardLate;
        std::vector<std::string> opened;
        // Later starts, each trying again until its deadline, that hand
        // their files over while the question is up: "later-K.ang", opened
        // before "after.ang" in any order.
        std::size_t laterStarts = 0;
    } cases[] = {
        {platform::IDNO, false, {"changed.ang"}},
        {platform::IDYES, false, {"changed.ang", "after.ang"}},
        {platform::IDCANCEL, false, {"changed.ang", "after.ang"}},
        {platform::IDNO, true, {"changed.ang", "waiting.ang", "after.ang"}},
        {platform::IDCANCEL, false, {"changed.ang", "after.ang"}, 2 * platform::SingleInstance::kMaxWaitingLines},
    };
    for (const Case& c : cases) {
        const StartUpFolder start;
        TOrbiscopeMDIClient::SetMapLoader({});
        std::vector<std::string> opened;
        // Senders refused as closing, then answered otherwise once the close
        // was called off, and refused as busy.
        std::atomic<std::size_t> refusedClosing{0}, answeredSinceCallOff{0}, refusedBusy{0}, laterEnded{0};
        std::atomic<bool> callingOff{false};
        bool holding = false;
        orbiscope::ClearRegistrations();
        for (const auto& t : orbiscope::WindowTypes())
            orbiscope::RegisterWindowFactory(t.type, [&](const char* name) {
                opened.emplace_back(std::filesystem::path(name).filename());
                // The first of the later files takes as long as a box would
                // stand: until every later start has had its answer since the
                // call-off, so that the queue is full and the rest refused.
                if (opened.back().starts_with("later-") && !std::exchange(holding, true))
                    PumpUntil([&] { return answeredSinceCallOff == c.laterStarts; });
                return new testsupport::RecordingWindow(0, name);
            });
        const auto line = [&](const char* name) {
            testfiles::WriteText(start.folder.Path() / name, "");
            const std::string execute = "[Open(" + (start.folder.Path() / name).string() + ")]";
            return orbiscope::DdeMessage(orbiscope::kDdeService, orbiscope::kDdeTopic, execute);
        };
        const auto handOver = [&](const char* name) {
            platform::HandOver result;
            std::atomic<bool> done{false};
            std::thread sender([&] {
                result = platform::SingleInstance(QString::fromLatin1(orbiscope::kMainTitle)).SendToPrimary(line(name));
                done = true;
            });
            PumpUntil([&] { return done.load(); });
            sender.join();
            return result;
        };
        testsupport::MessageRecorder messages;
        TOrbiscope app;
        ASSERT_EQ(app.BecomeFirstInstance(), platform::InstanceRole::First);
        app.InitMainWindow();
        app.StartServingSocket();
        ASSERT_TRUE(handOver("changed.ang").Taken());
        PumpUntil([&] { return !app.Client()->Children().empty(); });
        dynamic_cast<TOrbiscopeMDIChild*>(app.Client()->Children().at(0))->Document()->Changed = true;
        // A sender told "taken" that acknowledges only while the question is up.
        const int late = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (c.heardLate) {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const std::string path = app.Instance()->ServerPath().string();
            std::memcpy(address.sun_path, path.c_str(), path.size());
            ASSERT_EQ(::connect(late, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            const std::string text = line("waiting.ang") + "\n";
            ASSERT_EQ(::send(late, text.data(), text.size(), MSG_NOSIGNAL), ssize_t(text.size()));
            char answer[16] = {};
            PumpUntil([&] { return ::recv(late, answer, sizeof answer, MSG_DONTWAIT) > 0; });
            ASSERT_STREQ(answer, "taken\n");
        }
        std::vector<std::string> laterFiles, laterLines;
        for (std::size_t k = 0; k < c.laterStarts; ++k) {
            laterFiles.push_back("later-" + std::to_string(k) + ".ang");
            laterLines.push_back(line(laterFiles.back().c_str()));
        }
        std::vector<std::optional<platform::HandOver>> laterAnswers(c.laterStarts);
        std::vector<std::thread> laterStarts;
        const auto startLater = [&](std::size_t k) {
            bool closing = false, since = false, busy = false;
            const auto send = [&, k](int connectMs, int answerMs) {
                const platform::HandOver answer = platform::SingleInstance(QString::fromLatin1(orbiscope::kMainTitle))
                                                      .SendToPrimary(laterLines[k], connectMs, answerMs);
                const bool refusedAsClosing = answer.reason == platform::SingleInstance::kRefusedClosing;
                if (refusedAsClosing && !std::exchange(closing, true)) ++refusedClosing;
                if (callingOff && !refusedAsClosing && !std::exchange(since, true)) ++answeredSinceCallOff;
                const bool refusedAsBusy = answer.reason == platform::SingleInstance::kRefusedBusy;
                if (refusedAsBusy && !std::exchange(busy, true)) ++refusedBusy;
                return answer;
            };
            laterAnswers[k] = platform::HandOverWithinDeadline(send, [] { return platform::InstanceRole::Later; });
            ++laterEnded;
        };
        platform::HandOver during;
        platform::SetMessageBoxSink([&](const platform::MessageBoxCall& call) {
            if (!call.YesNo()) return platform::IDOK;
            during = handOver("during.ang");
            for (std::size_t k = 0; k < c.laterStarts; ++k) laterStarts.emplace_back(startLater, k);
            PumpUntil([&] { return refusedClosing == c.laterStarts; });
            if (c.heardLate) {
                EXPECT_EQ(::send(late, "heard\n", 6, MSG_NOSIGNAL), 6);
            }
            callingOff = c.answer == platform::IDCANCEL;
            return c.answer;
        });
        const bool calledOff = c.opened.size() > 1;
        EXPECT_EQ(app.Frame()->close(), !calledOff) << "the close was not called off";
        ::close(late);
        EXPECT_EQ(during.reason, platform::SingleInstance::kRefusedClosing);
        EXPECT_EQ(opened, std::vector<std::string>{"changed.ang"}) << "a file opened inside the close";
        PumpUntil([&] { return laterEnded == c.laterStarts; });
        for (std::thread& t : laterStarts) t.join();
        for (std::size_t k = 0; k < c.laterStarts; ++k)
            EXPECT_TRUE(laterAnswers[k] && laterAnswers[k]->Taken())
                << laterFiles[k] << ": " << (laterAnswers[k] ? laterAnswers[k]->reason : "became the first");
        if (c.laterStarts > 0) {
            EXPECT_GT(refusedBusy.load(), 0u) << "the queue never filled";
        }
        if (calledOff) {
            EXPECT_TRUE(handOver("after.ang").Taken());
        }
        std::vector<std::string> expected = c.opened;
        if (calledOff) expected.insert(expected.end() - 1, laterFiles.begin(), laterFiles.end());
        PumpUntil([&] { return opened.size() >= expected.size(); });
        if (opened.size() > 2) std::sort(opened.begin() + 1, opened.end() - 1);
        if (expected.size() > 2) std::sort(expected.begin() + 1, expected.end() - 1);
        EXPECT_EQ(opened, expected);
        platform::SetMessageBoxSink({});
        for (auto* child : app.Client()->Children()) child->CloseWithoutAsking();
    }
    orbiscope::ClearRegistrations();
}

TEST(TOrbiscopeState, CalculationNoticesBecomeMessageBoxes)
{
    testsupport::App();
    testsupport::MessageRecorder messages;
    messages.yesNoAnswer = platform::IDYES;
    {
        TOrbiscope app;
        EXPECT_EQ(ShowNotice({"pow: DOMAIN error", "pow: DOMAIN error", NoticeIcon::Stop, NoticeButtons::Ok}), NoticeAnswer::Ok);
        EXPECT_EQ(ShowNotice({"Elevation", "Continue?", NoticeIcon::Question, NoticeButtons::YesNo}), NoticeAnswer::Yes);
    }
    ASSERT_EQ(messages.calls.size(), 2u);
    EXPECT_EQ(messages.calls[0].Icon(), platform::MB_ICONSTOP);
    EXPECT_FALSE(messages.calls[0].hasOwner);
    EXPECT_TRUE(messages.calls[1].YesNo());
    // Gone with the application: the default answer again, no box.
    EXPECT_EQ(ShowNotice({"Elevation", "Continue?", NoticeIcon::Question, NoticeButtons::YesNo}), NoticeAnswer::No);
    EXPECT_EQ(messages.calls.size(), 2u);
}

TEST(TOrbiscopeFrame, ClientFocusClearsTheStatusText)
{
    AppFixture f;
    f.app->Frame()->SetStatusText("Some hint");
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(f.app->Client(), &focus);
    EXPECT_EQ(f.app->Frame()->StatusText(), "");
}

}  // namespace

// The declination of the look angles is taken on the application's date, so
// the clock that fixes the report date fixes it too.
TEST(TOrbiscopeClock, MagneticDeclinationFollowsTheApplicationClock)
{
    testsupport::AppFixture f;
    const std::time_t early = 1735689600;   // 2025-01-01 00:00 UTC
    const std::time_t late = 1861920000;    // 2029-01-01 00:00 UTC
    platform::SetClockOverride([&] { return early; });
    const double atEarly = MagneticDeclinationNow(-36.0, -137.0);
    platform::SetClockOverride([&] { return late; });
    const double atLate = MagneticDeclinationNow(-36.0, -137.0);
    platform::SetClockOverride({});
    // The WMM2025 test values give 20.28 degrees east here in mid-2025; the
    // field drifts by a few hundredths of a degree a year.
    EXPECT_NEAR(atEarly, 20.3, 0.1);
    EXPECT_GT(std::fabs(atLate - atEarly), 0.01);
    EXPECT_LT(std::fabs(atLate - atEarly), 1.0);
}
