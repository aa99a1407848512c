// The hand-over to the first instance.  Lines are read whole, answered at once
// (taken or refused, so that no sender is left believing what did not
// happen), handled once each, one at a time, from the program's own loop and
// never from inside an open box.  The socket is the user's alone, and the
// server listens on whatever its clients do, whoever removes its socket file
// and however few descriptors are left.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <thread>

#include "platform/messagebox.h"
#include "platform/single_instance.h"
#include "platform/socket_lines.h"
#include "tests/platform/file_support.h"
#include "tests/platform/qt_app.h"

namespace {

namespace fs = std::filesystem;
using platform::HandOver;
using platform::InstanceRole;
using platform::kMaxSocketLineBytes;
using platform::SingleInstance;

// ---- cutting the stream into lines -----------------------------------------------
struct LineCase {
    const char* name;
    std::vector<std::string> chunks;  // as they arrive
    bool hangUp;                      // the sender hangs up after the last chunk
    std::vector<std::string> lines;
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

TEST(SocketLines, AreReadWholeAndNeverSplit)
{
    const std::size_t L = kMaxSocketLineBytes;
    const LineCase cases[] = {
        {"one line", {"activate\n"}, false, {"activate"}},
        {"two lines in one read", {"a\nbc\n"}, false, {"a", "bc"}},
        {"a line across reads", {"DDE\tOrb", "iscope\tSystem\t[Open(x)]\n"}, false, {"DDE\tOrbiscope\tSystem\t[Open(x)]"}},
        {"unfinished line waits", {"activ"}, false, {}},
        {"last line completed by the hang-up", {"activate"}, true, {"activate"}},
        {"empty line", {"\n"}, false, {""}},
        {"carriage return kept", {"x\r\n"}, false, {"x\r"}},
        {"exactly the limit", {Repeat('a', L) + "\n"}, false, {Repeat('a', L)}},
        {"limit less one, last byte kept", {Repeat('a', L - 2) + "z\n"}, false, {Repeat('a', L - 2) + "z"}},
        {"limit reached at a read's end", {Repeat('a', L), "\nnext\n"}, false, {Repeat('a', L), "next"}},
        {"one over the limit is cut once", {Repeat('a', L) + "b\nnext\n"}, false, {Repeat('a', L), "next"}},
        {"long tail never a second command", {Repeat('a', L), Repeat('b', 3 * L), "DDE\tx\n", "ok\n"}, false,
         {Repeat('a', L), "ok"}},
        {"long line cut before the hang-up", {Repeat('a', 2 * L)}, true, {Repeat('a', L)}},
    };
    for (const LineCase& c : cases) {
        platform::LineAssembler assembler;
        std::vector<std::string> lines;
        for (const std::string& chunk : c.chunks) assembler.Feed(chunk, lines);
        if (c.hangUp) assembler.Finish(lines);
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

// ---- what a later start makes of an answer ------------------------------------------
TEST(HandOverAnswer, OnlyAWholeAnswerCounts)
{
    struct Case {
        std::string received;
        HandOver::Result result;
        std::string reason;
    };
    const Case cases[] = {
        {platform::HandOverAnswer(true), HandOver::Result::Taken, ""},
        {platform::HandOverAnswer(false, "it is busy"), HandOver::Result::Refused, "it is busy"},
        {"taken\nrefused\tx\n", HandOver::Result::Taken, ""},
        {"taken", HandOver::Result::NoAnswer, ""},  // cut off: the first may not have queued it
        {"", HandOver::Result::NoAnswer, ""},
        {"takenx\n", HandOver::Result::NoAnswer, ""},
        {"refused\n", HandOver::Result::NoAnswer, ""},
        {"refused\ta\x01\x7f" "b\xe9\n", HandOver::Result::Refused, "a??b\xe9"},
        {"refused\t" + Repeat('w', 5000) + "\n", HandOver::Result::Refused, Repeat('w', 200)},
    };
    for (const Case& c : cases) {
        const HandOver h = platform::ReadHandOverAnswer(c.received);
        EXPECT_EQ(h.result, c.result) << c.received;
        EXPECT_EQ(h.reason, c.reason) << c.received;
    }
}

// ---- the server ---------------------------------------------------------------
class FirstInstance : public ::testing::Test {
protected:
    struct Handled { QByteArray line; int loopLevel; bool userBoxOpen; int boxesOpen; };

    FirstInstance() : runtimeVariable("XDG_RUNTIME_DIR", runtime.Path().string()), first(kKey)
    {
        platformtest::App();
        EXPECT_EQ(first.Claim(), InstanceRole::First);
        EXPECT_EQ(SingleInstance(kKey).Claim(), InstanceRole::Later);  // the name is taken
        serverPath = QByteArray::fromStdString(first.ServerPath().string());
        // Each line is answered with a box, as the DDE server answers a
        // malformed conversation; the box keeps its loop running a while.
        first.SetMessageHandler([this](const QByteArray& line) {
            handled.push_back({line, QThread::currentThread()->loopLevel(), userBoxOpen, boxesOpen});
            ++handledCount;
            platform::MessageBox(nullptr, "DDEML Error Encountered in CallBack", "Orbiscope", platform::MB_OK);
        });
        platform::SetMessageBoxSink([this](const platform::MessageBoxCall& call) {
            ++boxesOpen;
            mostBoxesOpen = std::max(mostBoxesOpen, boxesOpen);
            if (call.text == "user") {
                userBoxOpen = true;
                platform::RunNestedBoxLoop([this] { return userBoxDone(); }, 20000);
                userBoxOpen = false;
            } else {
                QElapsedTimer open;
                open.start();
                platform::RunNestedBoxLoop([&open, this] { return open.elapsed() > socketBoxMs; }, 10000);
            }
            --boxesOpen;
            return platform::IDOK;
        });
    }
    ~FirstInstance() override { platform::SetMessageBoxSink({}); }

    // Connects, writes and hangs up at once, without waiting for the answer.
    void SendAndHangUp(const QByteArray& bytes)
    {
        QLocalSocket socket;
        socket.connectToServer(QString::fromLocal8Bit(serverPath));
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write(bytes);
        ASSERT_TRUE(socket.waitForBytesWritten(2000));
        socket.abort();
        senderGone = true;
        sinceGone.start();
    }

    static void RunLoopFor(int ms)
    {
        QElapsedTimer since;
        since.start();
        RunMainLoop([&] { return since.elapsed() > ms; });
    }
    // Runs the program's own loop (level 1) until `done` holds.
    static void RunMainLoop(const std::function<bool()>& done, int timeoutMs = 30000)
    {
        QEventLoop main;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &main, [&] {
            if (done()) main.quit();
        });
        poll.start(10);
        QTimer::singleShot(timeoutMs, &main, &QEventLoop::quit);
        main.exec();
    }
    // A later start's hand-over, made from a thread of its own while the
    // program's loop runs here.
    HandOver AskFromAnotherThread(const SingleInstance& server, const std::string& line)
    {
        HandOver answer;
        std::atomic<bool> done{false};
        std::thread sender([&] {
            answer = server.SendToPrimary(line);
            done = true;
        });
        RunMainLoop([&] { return done.load(); });
        sender.join();
        return answer;
    }

    // A client outside Qt.  A blocking one connects at once; one that is not
    // waits out a full backlog with the loop running, as the server accepts.
    bool Connect(int fd, const QByteArray& bytes)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, serverPath.constData(), std::size_t(serverPath.size()));
        int connected, tries = 0;
        while ((connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address)) != 0 && errno == EAGAIN &&
               ++tries < 500)
            RunLoopFor(10);
        return connected == 0 && ::send(fd, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
    void Hold(const QByteArray& bytes, int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0))
    {
        EXPECT_TRUE(Connect(fd, bytes)) << std::strerror(errno);
        held.push_back(fd);
    }
    // What the server has answered on a held connection so far.
    static std::string Answers(int fd)
    {
        std::string got;
        char buffer[4096];
        for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;) got.append(buffer, std::size_t(n));
        return got;
    }
    // Connections the server has closed, whether or not they hold answers unread.
    int ClosedByServer() const
    {
        return int(std::count_if(held.begin(), held.end(), [](int fd) {
            pollfd p{fd, POLLRDHUP, 0};
            return ::poll(&p, 1, 0) == 1 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
        }));
    }
    void RecordWithoutBox()
    {
        first.SetMessageHandler([this](const QByteArray& line) {
            handled.push_back({line, QThread::currentThread()->loopLevel(), userBoxOpen, boxesOpen});
            ++handledCount;
        });
    }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (const Handled& h : handled) lines.push_back(h.line.toStdString());
        return lines;
    }
    void TearDown() override
    {
        for (int fd : held) ::close(fd);
    }

    testfiles::TempFolder runtime;
    testfiles::ScopedVariable runtimeVariable;
    std::vector<int> held;
    // Named before any test takes the descriptors away: the name's folders
    // cannot be looked up then.
    QByteArray serverPath;
    const QString kKey = QStringLiteral("orbiscope-socket-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first;
    std::vector<Handled> handled;
    std::atomic<int> handledCount{0};
    bool userBoxOpen = false;
    std::function<bool()> userBoxDone = [this] { return senderGone && sinceGone.elapsed() > 300; };
    int boxesOpen = 0, mostBoxesOpen = 0;
    int socketBoxMs = 200;
    bool senderGone = false;
    QElapsedTimer sinceGone;
};

TEST_F(FirstInstance, ALineSentWhileABoxIsOpenWaitsForItAndIsHandledOnce)
{
    bool userBoxClosed = false;
    // The user has a box open; meanwhile a sender writes two lines and hangs up.
    first.StartServing();
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [this] {
            SendAndHangUp("DDE\tbad\n");
            SendAndHangUp("DDE\tworse\n");
        });
        platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);
        userBoxClosed = true;
    });
    RunMainLoop([&] { return userBoxClosed && handled.size() >= 2 && sinceGone.elapsed() > 1000; });

    ASSERT_TRUE(userBoxClosed);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"DDE\tbad", "DDE\tworse"}));
    for (const Handled& h : handled) {
        EXPECT_FALSE(h.userBoxOpen) << h.line.constData();
        EXPECT_EQ(h.loopLevel, SingleInstance::kHandlingLoopLevel) << h.line.constData();
    }
}

// A later start whose file comes while a box raised by an earlier one is up:
// it is told its file was taken, and the file is handled once that box is
// answered, never under it.
TEST_F(FirstInstance, ALineThatArrivesWhileASocketBoxIsUpIsTakenAndHandledAfterIt)
{
    first.StartServing();
    socketBoxMs = 500;
    std::optional<std::thread> sender;
    HandOver second;
    std::atomic<bool> answered{false};
    QTimer::singleShot(0, [&] { SendAndHangUp("DDE\tfirst\n"); });
    RunMainLoop([&] {
        // The poll runs inside the first line's box, too.
        if (!sender && handled.size() == 1) sender.emplace([&] {
            second = first.SendToPrimary("DDE\tsecond");
            answered = true;
        });
        return answered && handled.size() == 2 && boxesOpen == 0;
    });
    ASSERT_TRUE(sender);
    sender->join();
    EXPECT_TRUE(second.Taken());
    EXPECT_EQ(Lines(), (std::vector<std::string>{"DDE\tfirst", "DDE\tsecond"}));
    for (const Handled& h : handled) EXPECT_EQ(h.boxesOpen, 0) << h.line.constData();
    EXPECT_EQ(mostBoxesOpen, 1);
}

// A first instance that does not run its loop (hung, or stopped) takes
// nothing: the later start hears no answer and must not say all went well.
TEST_F(FirstInstance, ALaterStartHearsNoAnswerFromAFirstInstanceThatDoesNotRun)
{
    HandOver answer;
    std::thread sender([&] { answer = first.SendToPrimary("activate", 2000, 300); });
    sender.join();  // this thread's loop does not run meanwhile
    EXPECT_EQ(answer.result, HandOver::Result::NoAnswer);
}

TEST_F(FirstInstance, ALineTooLongIsHandledOnceCutAndTheNextOneWhole)
{
    first.StartServing();
    RecordWithoutBox();
    const QByteArray longLine = QByteArray("DDE\tOrbiscope\tSystem\t[Open(") + QByteArray(6000, 'x') + ")]";
    // The long line's tail must not become a second command; the next line,
    // once the long one has been handled, comes whole.
    Hold(longLine + "\n");
    RunMainLoop([&] { return !handled.empty(); });
    ASSERT_EQ(::send(held[0], "activate\n", 9, MSG_NOSIGNAL), 9);
    RunMainLoop([&] { return handled.size() >= 2; });
    RunLoopFor(100);
    EXPECT_EQ(Lines(), (std::vector<std::string>{longLine.left(qsizetype(kMaxSocketLineBytes)).toStdString(), "activate"}));
    EXPECT_EQ(Answers(held[0]), "taken\ntaken\n");
}

// Before the program's own loop runs, a box (the start-up's "No setup file")
// runs its loop at the level the main loop later has: lines wait for the
// serving to start, and are handled then, in the main loop.
TEST_F(FirstInstance, LinesWaitForServingEvenInsideABoxShownBeforeTheMainLoop)
{
    QTimer::singleShot(50, [this] { SendAndHangUp("DDE\tbad\n"); });
    platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);  // at level 1, no main loop yet
    EXPECT_TRUE(handled.empty()) << "handled inside the start-up box at level " << handled.front().loopLevel;

    first.StartServing();
    RunMainLoop([&] { return !handled.empty() && sinceGone.elapsed() > 500; });
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_FALSE(handled[0].userBoxOpen);
    EXPECT_EQ(handled[0].loopLevel, SingleInstance::kHandlingLoopLevel);
}

// Lines wait, but only so many: one from a connection at a time, and so many
// in all.  Every line is answered, the refused ones with the reason.
TEST_F(FirstInstance, WaitingLinesAreBoundedAndEverySenderIsTold)
{
    const std::string busy = platform::HandOverAnswer(false, SingleInstance::kRefusedBusy);
    const std::string oneAtATime = platform::HandOverAnswer(false, SingleInstance::kRefusedOneAtATime);
    const std::string taken = platform::HandOverAnswer(true);
    struct Case {
        const char* name;
        std::vector<QByteArray> senders;  // what each connection writes at once
        std::vector<std::string> answers;
        std::size_t handled;
    };
    const std::size_t most = SingleInstance::kMaxWaitingLines;
    std::vector<QByteArray> many;
    for (std::size_t k = 0; k < most + 3; ++k) many.push_back("activate " + QByteArray::number(qsizetype(k)) + "\n");
    std::vector<std::string> manyAnswers(most, taken);
    manyAnswers.insert(manyAnswers.end(), 3, busy);
    const Case cases[] = {
        {"one connection, three lines at once", {"activate a\nactivate b\nactivate c\n"}, {taken + oneAtATime + oneAtATime}, 1},
        {"more senders than lines may wait", many, manyAnswers, most},
    };
    RecordWithoutBox();
    first.StartServing();
    for (const Case& c : cases) {
        handled.clear();
        // Nothing is handled until the user's box closes.
        bool sent = false, userBoxClosed = false;
        userBoxDone = [&sent] { return sent; };
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(50, [&] {
                for (const QByteArray& bytes : c.senders) Hold(bytes);
                RunLoopFor(300);
                sent = true;
            });
            platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);
            userBoxClosed = true;
        });
        RunMainLoop([&] { return userBoxClosed && handled.size() >= c.handled; });
        RunLoopFor(200);
        std::vector<std::string> answers;
        for (int fd : held) answers.push_back(Answers(fd));
        EXPECT_EQ(answers, c.answers) << c.name;
        ASSERT_EQ(handled.size(), c.handled) << c.name;
        for (std::size_t k = 0; k < handled.size() && c.senders.size() > 1; ++k)
            EXPECT_EQ(handled[k].line, "activate " + QByteArray::number(qsizetype(k))) << c.name;
        for (int fd : held) ::close(fd);
        held.clear();
    }
}

// Each line here raises an error box; a connection gets one box at most and
// its later lines are refused, whichever connection they share the queue with.
TEST_F(FirstInstance, AtMostOneErrorBoxPerConnection)
{
    first.StartServing();
    int boxes = 0;
    platform::SetMessageBoxSink([&](const platform::MessageBoxCall&) {
        ++boxes;
        return platform::IDOK;
    });
    QTimer::singleShot(0, [&] {
        SendAndHangUp("DDE\ta1\nDDE\ta2\nDDE\ta3\n");
        SendAndHangUp("DDE\tb1\nDDE\tb2\n");
        Hold("DDE\tc1\n");
    });
    RunMainLoop([&] { return boxes == 3; });
    ::send(held[0], "DDE\tc2\n", 7, MSG_NOSIGNAL);  // after its box
    RunLoopFor(500);
    EXPECT_EQ(boxes, 3);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"DDE\ta1", "DDE\tb1", "DDE\tc1"}));
    EXPECT_EQ(Answers(held[0]), "taken\n" + platform::HandOverAnswer(false, SingleInstance::kRefusedAnswered));
}

// With no descriptor to spare, the server does not accept: the client waits
// in the backlog (it is served once descriptors are free again), and the
// descriptors the rest of the program needs stay free.  The server keeps
// listening and keeps its socket file.
TEST_F(FirstInstance, AcceptsOnlyWhileDescriptorsRemainToSpare)
{
    first.StartServing();
    RecordWithoutBox();
    for (const int left : {0, SingleInstance::kSpareDescriptors}) {
        handled.clear();
        const int waiting = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int base = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        rlimit old{};
        ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
        rlimit low = old;
        low.rlim_cur = std::min<rlim_t>(old.rlim_cur, 512);
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
        std::vector<int> fillers;
        for (int fd; (fd = ::dup(base)) >= 0;) fillers.push_back(fd);
        for (int k = 0; k < left; ++k) {
            ::close(fillers.back());
            fillers.pop_back();
        }
        Hold("waited\n", waiting);
        RunLoopFor(500);
        const std::size_t handledMeanwhile = handled.size();
        for (int fd : fillers) ::close(fd);
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &old), 0);

        EXPECT_EQ(handledMeanwhile, 0u) << left << " descriptors left";
        EXPECT_TRUE(QFile::exists(QString::fromLocal8Bit(serverPath)));
        QTimer::singleShot(0, [&] { SendAndHangUp("after\n"); });
        RunMainLoop([&] { return handled.size() >= 2; });
        EXPECT_EQ(Lines(), (std::vector<std::string>{"waited", "after"})) << left << " descriptors left";
        ::close(base);
    }
}

// Connections held open are bounded: over the limit the one idle longest
// goes, and one without a complete line for a while goes too.  A sender that
// comes later is always heard.
TEST_F(FirstInstance, HeldConnectionsAreBoundedAndIdleOnesClosed)
{
    struct Case {
        const char* name;
        int clients;
        QByteArray bytes;  // what each writes before it idles
        int idleMs;
        int closed;  // by the server, within a second
    };
    const int cap = int(first.MaxConnections());
    const Case cases[] = {
        {"over the limit", cap + 6, "", 60000, 6},
        {"over the limit after a line each", cap + 3, "activate\n", 60000, 3},
        {"idle", 3, "", 300, 3},
        {"an unfinished line is idle too", 2, "DDE\tOrbisc", 300, 2},
    };
    first.StartServing();
    RecordWithoutBox();
    for (const Case& c : cases) {
        handled.clear();
        first.SetIdleTimeout(c.idleMs);
        for (int k = 0; k < c.clients; ++k) Hold(c.bytes);
        RunLoopFor(1000);
        EXPECT_EQ(ClosedByServer(), c.closed) << c.name;
        const std::size_t lines = c.bytes.endsWith('\n') ? std::size_t(c.clients) : 0u;
        EXPECT_EQ(handled.size(), lines) << c.name;
        QTimer::singleShot(0, [&] { SendAndHangUp("after\n"); });
        RunMainLoop([&] { return handled.size() > lines || sinceGone.elapsed() > 2000; });
        ASSERT_EQ(handled.size(), lines + 1) << c.name;
        EXPECT_EQ(handled.back().line, "after") << c.name;
        for (int fd : held) ::close(fd);
        held.clear();
        RunLoopFor(200);
    }
}

// A connection closed to make room, or as idle, loses nothing it had sent
// whole: what the system holds for it is read and answered before it goes.
TEST_F(FirstInstance, AConnectionClosedKeepsTheLineItHadWritten)
{
    first.StartServing();
    RecordWithoutBox();
    const int cap = int(first.MaxConnections());
    for (const bool evicted : {true, false}) {
        handled.clear();
        // Idle long enough that a slow loop does not close it before it writes.
        first.SetIdleTimeout(evicted ? 60000 : 1500);
        for (int k = 0; k < (evicted ? cap : 1); ++k) Hold("");
        RunLoopFor(100);
        ASSERT_EQ(ClosedByServer(), 0);
        // The oldest writes a whole line; before the loop looks at it, one
        // more client comes (or its idle time runs out).
        ASSERT_EQ(::send(held[0], "oldest\n", 7, MSG_NOSIGNAL), 7);
        if (evicted) Hold("");
        else QThread::msleep(1600);
        RunLoopFor(500);
        EXPECT_EQ(Lines(), std::vector<std::string>{"oldest"}) << (evicted ? "evicted" : "idle");
        EXPECT_EQ(Answers(held[0]), "taken\n") << (evicted ? "evicted" : "idle");
        for (int fd : held) ::close(fd);
        held.clear();
        RunLoopFor(100);
    }
}

// Senders that each write one line raising a box, as fast as they can: the
// boxes come one at a time, every sender is told, exactly the lines taken are
// handled, and once the last sender has its answer no more boxes follow than
// lines may wait.
TEST_F(FirstInstance, AFloodOfSendersGetsBoxesOneAtATimeAndEveryOneIsTold)
{
    first.StartServing();
    socketBoxMs = 20;
    constexpr int kSenders = 300;
    std::atomic<int> taken{0}, refused{0}, handledAtLastAnswer{-1};
    std::thread flood([&] {
        for (int k = 0; k < kSenders; ++k) {
            const HandOver h = first.SendToPrimary("DDE\tbad");
            (h.Taken() ? taken : refused) += 1;
            EXPECT_TRUE(h.Taken() || h.reason == SingleInstance::kRefusedBusy) << h.reason;
        }
        handledAtLastAnswer = handledCount.load();
    });
    RunMainLoop([&] { return handledAtLastAnswer >= 0 && int(handled.size()) == taken && boxesOpen == 0; }, 120000);
    flood.join();
    EXPECT_EQ(taken + refused, kSenders);
    EXPECT_EQ(int(handled.size()), taken.load());
    EXPECT_EQ(mostBoxesOpen, 1);
    EXPECT_LE(int(handled.size()) - handledAtLastAnswer, int(SingleInstance::kMaxWaitingLines));
}

// ---- the socket's place and owner -------------------------------------------------
// Made 0600 in the user's runtime folder whatever the mask; one whose folder
// lies deeper than a socket address reaches is still made and reached.
TEST_F(FirstInstance, TheSocketIsTheUsersAloneWhereverItsFolderLies)
{
    EXPECT_EQ(first.ServerPath().parent_path(), runtime.Path());
    std::string deep = runtime.Path().string();
    while (deep.size() < 150) deep += "/deeper-folder";
    fs::create_directories(deep);
    for (const auto& [folder, mask] : {std::pair{runtime.Path().string(), mode_t(0)}, std::pair{deep, mode_t(022)}}) {
        testfiles::ScopedVariable variable("XDG_RUNTIME_DIR", folder);
        const mode_t old = ::umask(mask);
        SingleInstance other(kKey + QString::number(mask));
        const InstanceRole role = other.Claim();
        ::umask(old);
        ASSERT_EQ(role, InstanceRole::First) << folder;
        struct stat st {};
        ASSERT_EQ(::lstat(other.ServerPath().c_str(), &st), 0) << folder;
        EXPECT_TRUE(S_ISSOCK(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0600u) << "mask " << mask;
        std::vector<QByteArray> lines;
        other.SetMessageHandler([&](const QByteArray& line) { lines.push_back(line); });
        other.StartServing();
        EXPECT_TRUE(AskFromAnotherThread(other, "activate").Taken()) << folder;
        RunMainLoop([&] { return !lines.empty(); });
        EXPECT_EQ(lines, std::vector<QByteArray>{"activate"}) << folder;
    }
}

// Another user never gets a line in, even where the socket is open to all,
// and a later start never sends to a socket that is not its user's own.
TEST_F(FirstInstance, NoLineCrossesToOrFromAnotherUser)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs a second user";
    first.StartServing();
    RecordWithoutBox();
    ASSERT_EQ(::chmod(runtime.Path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(serverPath.constData(), 0777), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // Another user's line, sent and left for the server to read.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, serverPath.constData(), std::size_t(serverPath.size()));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) ::_exit(3);
        const timeval wait{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        (void)!::send(fd, "DDE\tfrom another user\n", 22, MSG_NOSIGNAL);
        char answer[64];
        ::_exit(::recv(fd, answer, sizeof answer, 0) > 0 ? 4 : 0);
    }
    RunLoopFor(500);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other user was answered or could not connect: " << status;
    EXPECT_TRUE(handled.empty());

    // The user's own socket file, handed to another user: nothing is sent to it.
    ASSERT_EQ(::chown(serverPath.constData(), 65534, 65534), 0);
    const HandOver answer = AskFromAnotherThread(first, "activate");
    EXPECT_EQ(answer.result, HandOver::Result::Unreachable);
    RunLoopFor(100);
    EXPECT_TRUE(handled.empty());
}

// A socket file that someone removes is made again within a few seconds;
// the later start that comes next is heard.
TEST_F(FirstInstance, ASocketFileRemovedIsMadeAgain)
{
    first.StartServing();
    RecordWithoutBox();
    ASSERT_EQ(::unlink(serverPath.constData()), 0);
    RunMainLoop([&] { return QFile::exists(QString::fromLocal8Bit(serverPath)); }, 5000);
    EXPECT_TRUE(AskFromAnotherThread(first, "activate").Taken());
    RunMainLoop([&] { return !handled.empty(); }, 2000);
    EXPECT_EQ(Lines(), std::vector<std::string>{"activate"});
}

// A lock that cannot be made (the folder full, read-only, or a file-size
// limit) holds no other instance: the start is on its own.  So is a start
// with no folder of the user's own.
TEST(SingleInstanceLock, ALockThatCannotBeMadeIsNoOtherInstance)
{
    platformtest::App();
    testfiles::TempFolder t;
    testfiles::ScopedVariable runtime("XDG_RUNTIME_DIR", t.Path().string());
    const QString key = QStringLiteral("orbiscope-lock-test-%1").arg(QCoreApplication::applicationPid());
    {
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit none = old;
        none.rlim_cur = 0;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &none), 0);
        const InstanceRole role = SingleInstance(key).Claim();
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        EXPECT_EQ(role, InstanceRole::Alone) << "a file-size limit";
    }
    {
        testfiles::ScopedVariable noRuntime("XDG_RUNTIME_DIR", std::nullopt), tmp("TMPDIR", t.Path().string());
        testfiles::WriteText(t.Path() / ("orbiscope-" + std::to_string(::geteuid())), "taken");
        EXPECT_EQ(SingleInstance(key).Claim(), InstanceRole::Alone) << "no folder of the user's own";
    }
    // A lock that names no holder: one being written just now holds, one
    // left long ago by a start that died writing it does not.
    const fs::path lock = SingleInstance(key).LockPath();
    testfiles::WriteText(lock, "");
    EXPECT_EQ(SingleInstance(key).Claim(), InstanceRole::Later) << "a lock being written";
    const timeval longAgo[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
    ASSERT_EQ(::utimes(lock.c_str(), longAgo), 0);
    SingleInstance holder(key);
    ASSERT_EQ(holder.Claim(), InstanceRole::First) << "a lock left empty";
    EXPECT_EQ(SingleInstance(key).Claim(), InstanceRole::Later);
}

}  // namespace
