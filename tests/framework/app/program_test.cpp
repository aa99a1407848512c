// The program itself, started as the user or the desktop starts it: a map
// that fails its checksum, a second start that reaches the first or says it cannot,
// the first instance's deeds agreeing with what later starts are told, and
// the open and print verbs of the document types.
#include <gtest/gtest.h>

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRect>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include <poll.h>
#include <csignal>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "framework/app/dde.h"
#include "framework/app/menus.h"
#include "propagation/itu_maps.h"
#include "tests/framework/app/gui_support.h"

namespace {

using testfiles::ReadText;

// A program directory of its own with the build's data maps, and the
// folders and message log of a user of its own.
class ProgramRun : public ::testing::Test {
protected:
    ProgramRun()
    {
        testsupport::App();
        program = QCoreApplication::applicationDirPath() + "/orbiscope";
        const std::filesystem::path build = QCoreApplication::applicationDirPath().toStdString();
        std::filesystem::create_directories(home.Path() / "program");
        for (const auto& e : std::filesystem::directory_iterator(build))
            if (e.path().extension() == ".TXT")
                std::filesystem::create_symlink(e.path(), home.Path() / "program" / e.path().filename());
        env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ORBISCOPE_HOME", Path("program"));
        env.insert("XDG_CONFIG_HOME", Path("config"));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.Path().string()));
        env.insert("XDG_DATA_HOME", Path("data"));  // where the document types are registered
        env.insert("XDG_CACHE_HOME", Path("cache"));  // where the maps' parsed copies are kept
        env.insert("ORBISCOPE_MESSAGE_LOG", Path("messages.log"));
        sharedMaps = testsupport::ShareParsedMaps(home.Path() / "cache");
    }
    // A start that parsed the maps itself would make what a test judges hang
    // on the speed of the build.
    void SetUp() override
    {
        if (QFile::exists(program)) {
            ASSERT_EQ(sharedMaps, kItuMapCount) << "the build made no parsed maps (map_copies)";
        }
    }
    QString Path(const char* name) const { return QString::fromStdString((home.Path() / name).string()); }
    // Starts a first instance and waits until it serves.  It listens as soon
    // as it holds its lock, but answers, and looks after its files, only once
    // its loop runs: seconds later where the maps load unoptimised, longer
    // than a later start waits on a busy machine.
    void StartFirst(QProcess& first) const
    {
        first.setProcessEnvironment(env);
        first.start(program, {});
        ASSERT_TRUE(first.waitForStarted(5000));
        const platform::SingleInstance start(QString::fromLatin1(orbiscope::kMainTitle), ServerPath().parent_path());
        ASSERT_TRUE(start.SendToPrimary("activate", 60000, 120000).Taken());
    }
    // The socket of a program started with this environment, whether or not
    // its folder is there yet.
    std::filesystem::path ServerPath() const
    {
        const std::filesystem::path name = testsupport::ServerPathIn(home.Path()).filename();
        if (env.contains("XDG_RUNTIME_DIR")) return home.Path() / name;
        return home.Path() / "tmpd" / ("orbiscope-" + std::to_string(::geteuid())) / name;
    }
    // A start of this test's, as the program's with this environment would
    // be; this process's environment is left alone, since starts are made
    // from threads while programs are started.
    std::unique_ptr<platform::SingleInstance> Start() const
    {
        return std::make_unique<platform::SingleInstance>(QString::fromLatin1(orbiscope::kMainTitle), home.Path());
    }
    // This test as the first instance: it holds the lock and listens, and
    // answers as it is told; -1 when it cannot.
    int ListenAsFirst(QLockFile& lock) const { return lock.tryLock(0) ? Listen() : -1; }
    // A listener at the socket's name; -1 when it cannot be made.
    int Listen() const
    {
        const std::filesystem::path socketPath = testsupport::ServerPathIn(home.Path());
        const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, socketPath.c_str(), socketPath.native().size());
        if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, 5) != 0) {
            ::close(listener);
            return -1;
        }
        return listener;
    }
    // The line of the next sender of the listener, once it comes (60 s at
    // most, or until `stop` is set); -1 when none does.  A start that only
    // looks whether anyone serves hangs up without a word: it is no sender.
    static int AcceptLine(int listener, std::string& line, const std::atomic<bool>* stop = nullptr)
    {
        pollfd ready{listener, POLLIN, 0};
        constexpr int kSliceMs = 50;
        for (int waited = 0; waited < 60000 && !(stop && *stop); waited += kSliceMs) {
            if (::poll(&ready, 1, kSliceMs) != 1) continue;
            const int fd = ::accept(listener, nullptr, nullptr);
            char buffer[512];
            for (ssize_t n; line.find('\n') == std::string::npos && (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
                line.append(buffer, std::size_t(n));
            if (!line.empty()) return fd;
            ::close(fd);
        }
        return -1;
    }
    // A later start's hand-over of an Open made from this test, which waits
    // as long as it is told.
    platform::HandOver HandOverOpen(const std::string& file, int answerMs, int connectMs = 5000) const
    {
        const std::string line = orbiscope::DdeMessage(orbiscope::kDdeService, orbiscope::kDdeTopic, "[Open(" + file + ")]");
        return Start()->SendToPrimary(line, connectMs, answerMs);
    }
    static std::string CannotRead(const std::string& file) { return "Cannot read file " + file; }
    std::string Log() const { return ReadText(home.Path() / "messages.log"); }
    // Generous: a first instance still loading its maps under a sanitizer on
    // a busy machine answers late, and the wait ends as soon as it does.
    bool WaitForLog(const std::string& line) const
    {
        for (int i = 0; i < 1200; ++i) {
            if (Log().find(line) != std::string::npos) return true;
            QThread::msleep(50);
        }
        return false;
    }
    // Runs the program to its end and gives its exit code (-1: it crashed or hung).
    int RunToEnd(const QStringList& arguments, int timeoutMs = 120000, std::function<void()> inChild = {}) const
    {
        QProcess run;
        run.setProcessEnvironment(env);
        if (inChild) run.setChildProcessModifier(inChild);
        run.start(program, arguments);
        if (!run.waitForFinished(timeoutMs) || run.exitStatus() != QProcess::NormalExit) return -1;
        return run.exitCode();
    }

    testsupport::TempDir home;
    QString program;
    QProcessEnvironment env;
    int sharedMaps = 0;
};

const std::string kUnsupportedLine =
    std::string(orbiscope::kMainTitle) + "\tNot a supported file type (or too many files selected)\n";

TEST_F(ProgramRun, AMapThatFailsItsChecksumEndsTheProgramWithAFailureStatus)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    // One map damaged by a single digit.
    const std::filesystem::path t50 = home.Path() / "program" / "T_50.TXT";
    std::string text = ReadText(t50);
    ASSERT_FALSE(text.empty());
    text[text.find_first_of("123456789")] ^= 1;
    std::filesystem::remove(t50);
    testfiles::WriteText(t50, text);

    EXPECT_EQ(RunToEnd({}), kExitStartFailed);
    // The map's message is the only one: no set-up notice after it.
    EXPECT_EQ(Log(), "File Load Error\tT_50.TXT failed checksum\n");
}

TEST_F(ProgramRun, ASecondStartThatCannotReachTheFirstSaysSoAndFails)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    // A first instance that holds the lock but does not listen (hung, or
    // still starting): this test process.
    QLockFile lock(QString::fromStdString(testsupport::ServerPathIn(home.Path()).string() + ".lock"));
    ASSERT_TRUE(lock.tryLock(0));
    // A name that cannot travel in an execute text (a line break, its end
    // mark, more than its buffer holds) is not the first one's silence.
    const std::string longest = Path("").toStdString() + std::string(251 - Path("").size() - 4, 'n') + ".glb";
    const std::string tooLong = longest.substr(0, longest.size() - 4) + "n.glb";
    const std::string caption = std::string(orbiscope::kMainTitle) + "\t";
    const std::string unreachable = caption + "Orbiscope is already running but does not answer";
    const std::string cannot = " cannot be handed to the running Orbiscope.\n";
    struct Case {
        QStringList arguments;
        std::string log;
        // The lock goes once the start has found it held: finding no socket
        // to reach, the start claims it again and becomes the first instance.
        bool letGo = false;
    };
    const Case cases[] = {
        {{}, unreachable + ".\n"},
        {{"-ddeopen", Path("x.glb")}, unreachable + "; " + Path("x.glb").toStdString() + " was not opened.\n"},
        {{"-ddeopen", QString::fromStdString(longest)}, unreachable + "; " + longest + " was not opened.\n"},
        {{"-ddeopen", Path("x\ny.glb")},
         caption + Path("x").toStdString() + "\\ny.glb was not opened: a name with a line break" + cannot},
        {{"-ddeopen", QString::fromStdString(tooLong)},
         caption + tooLong + " was not opened: a name longer than 251 bytes" + cannot},
        {{"-ddeopen", Path("a)]b.glb")},
         caption + Path("a)]b.glb").toStdString() + " was not opened: a name holding \")]\"" + cannot},
        // Last: the lock is gone after it.
        {{"-ddeprint", Path("gone.glb")},
         "No setup file\tSubstituting defaults\n" + caption + CannotRead(Path("gone.glb").toStdString()) + "\n", true},
    };
    for (const Case& c : cases) {
        std::ofstream(home.Path() / "messages.log", std::ios::trunc).close();
        // The start's try of the lock opens and closes the lock file.
        const int tried = ::inotify_init1(IN_CLOEXEC);
        ::inotify_add_watch(tried, lock.fileName().toLocal8Bit().constData(), IN_CLOSE_WRITE);
        std::thread letGo([&] {
            pollfd p{tried, POLLIN, 0};
            if (c.letGo && ::poll(&p, 1, 60000) == 1) lock.unlock();
        });
        EXPECT_EQ(RunToEnd(c.arguments, 60000), c.letGo ? 0 : kExitStartFailed) << c.arguments.join(' ').toStdString();
        letGo.join();
        ::close(tried);
        EXPECT_EQ(Log(), c.log);
    }
}

// A later start ends well only when the first instance took its file; a
// refusal or no answer is said, with the file and the first one's reason:
// the reason its last try met, so that one refused as closing whose next try
// meets a first instance that does not answer says so.  One refused because
// too many files wait tries again until its deadline, and goes on when a
// try meets nothing to reach or a hang-up (the program ended meanwhile, and
// another start may be the first instance now).
TEST_F(ProgramRun, ALaterStartEndsWellOnlyWhenItsFileWasTaken)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    // The first instance is this test: it answers each try as told.
    const std::string lockPath = testsupport::ServerPathIn(home.Path()).string() + ".lock";
    QLockFile lock(QString::fromStdString(lockPath));
    int listener = ListenAsFirst(lock);
    ASSERT_GE(listener, 0);

    const std::string caption = std::string(orbiscope::kMainTitle) + "\t";
    const std::string file = Path("plan.sun").toStdString();
    const std::string closing = platform::HandOverAnswer(false, platform::SingleInstance::kRefusedClosing);
    const std::string busy = "refused\tit has too many files waiting to be opened\n";
    const std::string silent = caption + "Orbiscope is already running but does not answer; " + file + " was not opened.\n";
    // Not answers but deeds: the first instance hangs up without a word; or
    // it is nowhere to be reached until the start has tried the lock, and
    // then listens again (not a try of the start's).
    const std::string hangsUp = "(hangs up)", nothingToReach = "(nothing to reach)";
    struct Case {
        std::vector<std::string> answers;  // one a try; the last one to every try after it
        int status;
        std::string log;
        // Refused as busy, or as closing and then met by silence, the start
        // tries again while it has time: at least this many tries, else
        // exactly one an answer.
        std::size_t leastTries = 0;
    };
    const Case cases[] = {
        {{"taken\n"}, 0, ""},
        {{busy}, kExitStartFailed,
         caption + "Orbiscope is already running; " + file +
             " was not opened: it has too many files waiting to be opened.\n",
         2},
        {{busy, "taken\n"}, 0, ""},
        {{""}, kExitStartFailed, silent},
        {{closing, ""}, kExitStartFailed, silent, 2},
        {{busy, nothingToReach, "taken\n"}, 0, ""},
        {{busy, hangsUp, "taken\n"}, 0, ""},
    };
    for (const Case& c : cases) {
        std::ofstream(home.Path() / "messages.log", std::ios::trunc).close();
        std::string heard, afterAnswer;
        std::size_t tries = 0;
        std::atomic<bool> ended{false};
        std::thread first([&] {
            for (std::size_t k = 0;; ++k) {
                const std::string& answer = c.answers[std::min(k, c.answers.size() - 1)];
                if (answer == nothingToReach) {
                    // The start's try of the lock opens and closes the lock file.
                    const int tried = ::inotify_init1(IN_CLOEXEC);
                    ::inotify_add_watch(tried, lockPath.c_str(), IN_CLOSE_WRITE);
                    ::close(listener);
                    std::filesystem::remove(testsupport::ServerPathIn(home.Path()));
                    pollfd p{tried, POLLIN, 0};
                    bool claimed = false;
                    for (int waited = 0; !claimed && !ended && waited < 60000; waited += 50)
                        claimed = ::poll(&p, 1, 50) == 1;
                    ::close(tried);
                    listener = Listen();
                    if (!claimed || listener < 0) return;
                    continue;
                }
                std::string line;
                const int fd = AcceptLine(listener, line, &ended);
                if (fd < 0) return;
                ++tries;
                heard += line;
                if (answer == hangsUp) {
                    ::close(fd);
                    continue;
                }
                (void)!::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
                // What the later start says once it has the answer, until it
                // hangs up.
                char buffer[512];
                pollfd more{fd, POLLIN, 0};
                for (ssize_t n; ::poll(&more, 1, 60000) == 1 && (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
                    afterAnswer.append(buffer, std::size_t(n));
                ::close(fd);
            }
        });
        const std::string what = c.answers.front() + " ...";
        EXPECT_EQ(RunToEnd({"-ddeopen", QString::fromStdString(file)}, 60000), c.status) << what;
        ended = true;
        first.join();
        if (c.leastTries) EXPECT_GE(tries, c.leastTries) << what;
        else EXPECT_EQ(tries, c.answers.size() - std::size_t(std::ranges::count(c.answers, nothingToReach))) << what;
        std::string sent;
        for (std::size_t k = 0; k < tries; ++k) sent += "DDE\tOrbiscope\tSystem\t[Open(" + file + ")]\n";
        EXPECT_EQ(heard, sent) << what;
        // "taken" is acknowledged, since the first instance handles the line
        // only then; nothing else is.
        EXPECT_EQ(afterAnswer, c.status == 0 ? std::string(platform::kHandOverAcknowledgement) + "\n" : "") << what;
        EXPECT_EQ(Log(), c.log) << what;
    }
    ::close(listener);
}

// A later start that stops waiting says its file was not opened, and the
// first instance, stopped meanwhile, never opens it once it runs again; a
// later start that waits for it is heard.
TEST_F(ProgramRun, AFileWhoseSenderGaveUpIsNeverOpened)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    QProcess first;
    StartFirst(first);
    const std::string gaveUp = Path("gave-up.glb").toStdString(), waited = Path("waited.glb").toStdString();
    ::kill(pid_t(first.processId()), SIGSTOP);
    const platform::HandOver stopped = HandOverOpen(gaveUp, 500);
    ::kill(pid_t(first.processId()), SIGCONT);
    EXPECT_EQ(stopped.result, platform::HandOver::Result::NoAnswer);
    EXPECT_TRUE(HandOverOpen(waited, platform::SingleInstance::kAnswerTimeoutMs).Taken());
    EXPECT_TRUE(WaitForLog(CannotRead(waited))) << Log();
    QThread::msleep(500);
    EXPECT_EQ(Log().find(gaveUp), std::string::npos) << Log();
    first.kill();
    first.waitForFinished(5000);
}

// A cleaner of old temporary files removes the running instance's lock, or
// its whole fallback folder: a plain start then finds the running one and
// hands over to it, rather than become a second first instance, and a file
// handed over later opens there.
TEST_F(ProgramRun, ALaterStartFindsTheRunningOneWhateverACleanerRemoved)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    for (const bool wholeFolder : {false, true}) {
        SCOPED_TRACE(wholeFolder ? "the fallback folder removed" : "the lock removed");
        if (wholeFolder) {
            env.remove("XDG_RUNTIME_DIR");
            env.insert("TMPDIR", Path("tmpd"));
            std::filesystem::create_directories(home.Path() / "tmpd");
        }
        std::ofstream(home.Path() / "messages.log", std::ios::trunc).close();
        QProcess first;
        StartFirst(first);
        const std::filesystem::path socket = ServerPath(), folder = socket.parent_path();
        const std::filesystem::path lock = socket.string() + ".lock";
        ASSERT_TRUE(std::filesystem::exists(lock));
        if (wholeFolder) {
            std::filesystem::remove_all(folder);
            // The running one makes its folder, lock and socket again.
            for (int i = 0; i < 200 && !(std::filesystem::exists(lock) && std::filesystem::exists(socket)); ++i)
                QThread::msleep(50);
        } else {
            // Stopped, the running one cannot make its lock again before a
            // start has looked: that start finds it by its socket.
            ::kill(pid_t(first.processId()), SIGSTOP);
            std::filesystem::remove(lock);
            EXPECT_EQ(Start()->Claim(), platform::InstanceRole::Later);
            ::kill(pid_t(first.processId()), SIGCONT);
            // The program's own start, whichever it finds now.
        }
        EXPECT_EQ(RunToEnd({}, 30000), 0) << "a plain start did not end: it became a second first instance";
        const std::string handed = Path(wholeFolder ? "handed-2.glb" : "handed-1.glb").toStdString();
        EXPECT_EQ(RunToEnd({"-ddeopen", QString::fromStdString(handed)}, 30000), 0);
        EXPECT_TRUE(WaitForLog(CannotRead(handed))) << Log();
        EXPECT_EQ(first.state(), QProcess::Running);
        for (int i = 0; i < 200 && !std::filesystem::exists(lock); ++i) QThread::msleep(50);
        EXPECT_TRUE(std::filesystem::exists(lock)) << "the lock was not made again";
        first.kill();
        first.waitForFinished(5000);
    }
}

// A first start opens its own file by its name, whatever an execute text
// could carry: a name longer than its buffer, or one holding its end mark
// beside a file named as the part before it.
TEST_F(ProgramRun, AFirstStartOpensItsOwnFileWhateverItsName)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    testfiles::WriteText(home.Path() / "x", "not this one");
    const std::string names[] = {Path("").toStdString() + std::string(300, 'l') + ".glb", Path("x)]y.glb").toStdString()};
    for (const std::string& name : names) {
        std::ofstream(home.Path() / "messages.log", std::ios::trunc).close();
        EXPECT_EQ(RunToEnd({"-ddeprint", QString::fromStdString(name)}), 0) << name;
        EXPECT_NE(Log().find(CannotRead(name)), std::string::npos) << Log();
        for (const char* other : {"Invalid Execute Command", "Not a supported file type"})
            EXPECT_EQ(Log().find(other), std::string::npos) << Log();
    }
}

// Under a file-size limit of nothing the lock cannot be written: the
// program starts on its own rather than die at its first write.
TEST_F(ProgramRun, AStartUnderAFileSizeLimitRunsOnItsOwn)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    env.insert("ORBISCOPE_EXIT_WHEN_SHOWN", "1");
    EXPECT_EQ(RunToEnd({}, 120000, [] {
                  const rlimit none{0, RLIM_INFINITY};
                  ::setrlimit(RLIMIT_FSIZE, &none);
              }),
              0);
}

// A frame last closed at 700,300 of a wide screen, larger than a 1024 x 768
// screen, opens wholly on it, the window system's frame included: what the
// program saves as it ends is where it stood.  This platform draws a frame
// of 2 pixels around a window.
TEST_F(ProgramRun, APlacementFromAWideScreenOpensWhollyOnASmallOne)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    const std::filesystem::path screen = home.Path() / "screen.json";
    std::ofstream(screen) << R"({"screens": [{"name": "Small", "x": 0, "y": 0, "width": 1024, "height": 768, )"
                             R"("logicalDpi": 96, "dpr": 1}]})";
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + QString::fromStdString(screen.string()));
    env.insert("ORBISCOPE_EXIT_WHEN_SHOWN", "1");
    const std::filesystem::path ini = home.Path() / "program" / "orbisco.ini";
    WindowPlacement wide;
    wide.left = 700;
    wide.top = 300;
    wide.right = 700 + 1100;
    wide.bottom = 300 + 850;
    ASSERT_TRUE(WritePlacementFile(ini, wide));
    EXPECT_EQ(RunToEnd({}), 0);
    const std::optional<WindowPlacement> shown = ReadPlacementFile(ini);
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(QRect(QPoint(shown->left, shown->top), QPoint(shown->right - 1, shown->bottom - 1)),
              QRect(0, 0, 1024, 768).marginsRemoved(QMargins(2, 2, 2, 2)));
}

// A print start prints and ends with 0, and tells no later start "taken"
// (it will open nothing): the later starts that hand over files all the
// while are refused as closing.  A start ended at its first paint ends,
// or calls its end off for files it was told to take that still wait as it
// closes (its close check has run, and it takes files again): either way
// each file told "taken" is opened.
TEST_F(ProgramRun, PrintStartsTheProgramWhichEndsWithZero)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    const std::filesystem::path placement = home.Path() / "program" / "orbisco.ini";
    for (const bool print : {true, false}) {
        SCOPED_TRACE(print ? "a print start" : "ended at its first paint");
        std::ofstream(home.Path() / "messages.log", std::ios::trunc).close();
        std::filesystem::remove(placement);
        if (!print) env.insert("ORBISCOPE_EXIT_WHEN_SHOWN", "1");
        std::atomic<bool> ended{false};
        std::vector<std::pair<std::string, platform::HandOver>> handed;
        // Until the start has been judged, however long it takes to answer:
        // a print start refuses them only once its loop runs.
        std::thread later([&] {
            for (int k = 0; !ended; ++k) {
                const std::string file = Path(("later-" + std::to_string(k) + ".glb").c_str()).toStdString();
                handed.emplace_back(file, HandOverOpen(file, platform::SingleInstance::kAnswerTimeoutMs, 100));
            }
        });
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(program, print ? QStringList{"-ddeprint", Path("notes.bak")} : QStringList{});
        // A slow start (an unoptimised build) paints only after seconds: a
        // start ended at its first paint has had its chance once its close
        // check wrote the placement.
        for (int waited = 0; waited < 120000 && !print && run.state() != QProcess::NotRunning &&
                             !std::filesystem::exists(placement);
             waited += 100)
            run.waitForFinished(100);
        // It ends, however long its last writes take (an instrumented build
        // writes its counts as it goes), or it called its end off and
        // serves again: it is watched until one or the other is seen.
        platform::HandOver afterwards;
        for (const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(120);
             run.state() != QProcess::NotRunning && !afterwards.Taken() && std::chrono::steady_clock::now() < stop;) {
            if (!print) afterwards = HandOverOpen(Path("afterwards.glb").toStdString(), 5000);
            run.waitForFinished(100);
        }
        const bool endedItself = run.state() == QProcess::NotRunning;
        ended = true;
        later.join();
        int closing = 0;
        for (const auto& [file, answer] : handed) {
            closing += answer.reason == platform::SingleInstance::kRefusedClosing;
            if (print) {
                EXPECT_FALSE(answer.Taken()) << file << " was taken by a print start";
                EXPECT_TRUE(answer.result != platform::HandOver::Result::Refused ||
                            answer.reason == platform::SingleInstance::kRefusedClosing) << file << ": " << answer.reason;
            } else if (answer.Taken()) {
                EXPECT_TRUE(WaitForLog(CannotRead(file))) << file << " was taken, never opened";
            }
        }
        if (print) {
            EXPECT_TRUE(endedItself);
            EXPECT_GT(closing, 0) << "no later start reached the print start";
            EXPECT_NE(Log().find(kUnsupportedLine), std::string::npos) << Log();
        }
        if (endedItself) {
            EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(run.exitCode(), 0);
        } else {
            EXPECT_TRUE(std::filesystem::exists(placement)) << "its close check never ran";
            EXPECT_TRUE(afterwards.Taken()) << "neither ended nor called its close off";
        }
        run.kill();
        run.waitForFinished(5000);
    }
    // The types were registered at the start, in the data folder given.
    EXPECT_TRUE(std::filesystem::exists(home.Path() / "data/applications/orbiscope.desktop"));
    EXPECT_TRUE(std::filesystem::exists(home.Path() / "data/mime/packages/Orbiscope.Doc.9.xml"));
}

// Two later starts refused at once as the program closes try again: once it
// has gone, the first to find its lock free becomes the first instance and
// opens its own file, and the other hands its file over to it.  Each file
// opens once, and the one that handed over ends with 0.  How soon the new
// first instance serves is the build's own: one that is not serving by the
// end of the other's whole wait (an instrumented build on a busy machine)
// leaves the other to say so, and then the other's file is never opened.
TEST_F(ProgramRun, LaterStartsRefusedAsClosingTryAgainAndOneBecomesTheFirst)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    QLockFile lock(QString::fromStdString(testsupport::ServerPathIn(home.Path()).string() + ".lock"));
    const int listener = ListenAsFirst(lock);
    ASSERT_GE(listener, 0);
    const std::string files[] = {Path("one.glb").toStdString(), Path("two.glb").toStdString()};
    const auto launched = std::chrono::steady_clock::now();
    QProcess starts[2];
    for (int k = 0; k < 2; ++k) {
        starts[k].setProcessEnvironment(env);
        starts[k].start(program, {"-ddeopen", QString::fromStdString(files[k])});
    }
    // Both are refused, then the program goes.  One refused may try again
    // before the other has tried at all: each try is refused until both were.
    const std::string closing = platform::HandOverAnswer(false, platform::SingleInstance::kRefusedClosing);
    std::set<std::string> refused;
    while (refused.size() < 2) {
        std::string line;
        const int fd = AcceptLine(listener, line);
        ASSERT_GE(fd, 0) << refused.size() << " of the starts tried";
        EXPECT_EQ(::send(fd, closing.data(), closing.size(), MSG_NOSIGNAL), ssize_t(closing.size()));
        ::close(fd);
        for (const std::string& file : files)
            if (line.find("[Open(" + file + ")]") != std::string::npos) refused.insert(file);
    }
    ::close(listener);
    std::filesystem::remove(testsupport::ServerPathIn(home.Path()));
    lock.unlock();
    // One runs on as the first instance; the other ends once its file was
    // taken, or once its wait has run out.
    const auto running = [&] { return (starts[0].state() != QProcess::NotRunning) + (starts[1].state() != QProcess::NotRunning); };
    const auto stop = launched + std::chrono::seconds(120);
    while (running() == 2 && std::chrono::steady_clock::now() < stop)
        for (QProcess& start : starts) start.waitForFinished(50);
    const auto endSeen = std::chrono::steady_clock::now();
    ASSERT_EQ(running(), 1) << "both ended, or neither handed over";
    const int ended = starts[0].state() == QProcess::NotRunning ? 0 : 1, first = 1 - ended;
    EXPECT_TRUE(WaitForLog(CannotRead(files[first]))) << Log();
    EXPECT_EQ(starts[ended].exitStatus(), QProcess::NormalExit);
    if (starts[ended].exitCode() == 0) {
        EXPECT_TRUE(WaitForLog(CannotRead(files[ended]))) << Log();
    } else {
        const std::string log = Log();
        const std::string gaveUp =
            "Orbiscope is already running but does not answer; " + files[ended] + " was not opened.";
        EXPECT_EQ(starts[ended].exitCode(), kExitStartFailed);
        EXPECT_NE(log.find(gaveUp), std::string::npos) << log;
        // Silence is its last word only after its whole wait, and only when
        // the new first instance did not serve before it: that one opens
        // its own file just before it serves.
        EXPECT_GE(endSeen - launched, std::chrono::milliseconds(platform::SingleInstance::kConnectTimeoutMs +
                                                                 platform::SingleInstance::kAnswerTimeoutMs))
            << "it gave up before its whole wait was over";
        EXPECT_LT(log.find(gaveUp), log.find(CannotRead(files[first])))
            << "it gave up on a first instance that served: " << log;
        EXPECT_EQ(log.find(CannotRead(files[ended])), std::string::npos)
            << "a file said not opened was opened: " << log;
    }
    for (const std::string& file : files) {
        const std::string log = Log(), opened = CannotRead(file);
        EXPECT_EQ(log.find(opened), log.rfind(opened)) << file << " opened twice";
    }
    starts[first].kill();
    starts[first].waitForFinished(5000);
}

TEST_F(ProgramRun, SecondStartsReachTheFirstWhichRunsOnAndOnlyOpens)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    QProcess first;
    StartFirst(first);

    // A plain start raises the first; either verb becomes "[Open(...)]" there,
    // which reports the unsupported type and runs on.
    for (const char* verb : {"", "-ddeopen", "-ddeprint"}) {
        const std::string name = std::string(verb) + ".bak";
        EXPECT_EQ(RunToEnd(*verb ? QStringList{verb, Path(name.c_str())} : QStringList{}, 60000), 0) << verb;
        if (*verb) {
            EXPECT_TRUE(WaitForLog(kUnsupportedLine)) << Log();
            std::ofstream(home.Path() / "messages.log", std::ios::trunc).close();
        }
        QThread::msleep(300);
        EXPECT_EQ(first.state(), QProcess::Running) << verb;
    }
    first.kill();
    first.waitForFinished(5000);
}

}  // namespace
