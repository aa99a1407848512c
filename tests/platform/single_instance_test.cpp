// The first instance's socket: lines are read whole, handled once each, one
// at a time, from the program's own loop and never from inside an open box,
// and a sender that hangs up at any moment leaves nothing dangling.  The
// server listens on whatever its clients do: idle or too many connections,
// no descriptors left, a flood of lines that each raise a box.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/messagebox.h"
#include "platform/registry.h"
#include "platform/socket_lines.h"
#include "tests/platform/qt_app.h"

namespace {

using platform::kMaxSocketLineBytes;

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

// ---- the server ---------------------------------------------------------------
class FirstInstance : public ::testing::Test {
protected:
    struct Handled { QByteArray line; int loopLevel; bool userBoxOpen; };

    FirstInstance() : first(kKey)
    {
        platformtest::App();
        EXPECT_TRUE(first.TryBecomePrimary());
        EXPECT_FALSE(platform::SingleInstance(kKey).TryBecomePrimary());  // the name is taken
        serverPath = first.ServerPath().toLocal8Bit();
        // Each line is answered with a box, as the DDE server answers a
        // malformed conversation; the box keeps its loop running a while.
        first.SetMessageHandler([this](const QByteArray& line) {
            handled.push_back({line, QThread::currentThread()->loopLevel(), userBoxOpen});
            platform::MessageBox(nullptr, "DDEML Error Encountered in CallBack", "Orbiscope", platform::MB_OK);
        });
        platform::SetMessageBoxSink([this](const platform::MessageBoxCall& call) {
            if (call.text == "user") {
                userBoxOpen = true;
                platform::RunNestedBoxLoop([this] { return senderGone && sinceGone.elapsed() > 300; }, 10000);
                userBoxOpen = false;
            } else {
                QElapsedTimer open;
                open.start();
                platform::RunNestedBoxLoop([&open] { return open.elapsed() > 200; }, 10000);
            }
            return platform::IDOK;
        });
    }
    ~FirstInstance() override { platform::SetMessageBoxSink({}); }

    // Connects, writes and hangs up at once, as a second start does.
    void SendAndHangUp(const QByteArray& bytes)
    {
        QLocalSocket socket;
        socket.connectToServer(first.ServerName());
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
    static void RunMainLoop(const std::function<bool()>& done)
    {
        QEventLoop main;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &main, [&] {
            if (done()) main.quit();
        });
        poll.start(10);
        QTimer::singleShot(15000, &main, &QEventLoop::quit);
        main.exec();
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
    int ClosedByServer() const
    {
        char c;
        return int(std::count_if(held.begin(), held.end(), [&c](int fd) {
            const ssize_t got = ::recv(fd, &c, 1, MSG_DONTWAIT | MSG_PEEK);
            return got == 0 || (got < 0 && errno != EAGAIN);
        }));
    }
    void RecordWithoutBox()
    {
        first.SetMessageHandler([this](const QByteArray& line) { handled.push_back({line, 0, userBoxOpen}); });
    }
    void TearDown() override
    {
        for (int fd : held) ::close(fd);
    }

    std::vector<int> held;
    // Named before any test takes the descriptors away: the name's folders
    // cannot be looked up then.
    QByteArray serverPath;
    const QString kKey = QStringLiteral("orbiscope-socket-test-%1").arg(QCoreApplication::applicationPid());
    platform::SingleInstance first;
    std::vector<Handled> handled;
    bool userBoxOpen = false;
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
    ASSERT_EQ(handled.size(), 2u);
    EXPECT_EQ(handled[0].line, "DDE\tbad");
    EXPECT_EQ(handled[1].line, "DDE\tworse");
    for (const Handled& h : handled) {
        EXPECT_FALSE(h.userBoxOpen) << h.line.constData();
        EXPECT_EQ(h.loopLevel, platform::SingleInstance::kHandlingLoopLevel) << h.line.constData();
    }
}

TEST_F(FirstInstance, ALineTooLongIsHandledOnceCutAndTheNextOneWhole)
{
    first.StartServing();
    // Each line is answered by the handler without a box here: the long
    // line's tail must not become a second command either way.
    first.SetMessageHandler([this](const QByteArray& line) {
        handled.push_back({line, QThread::currentThread()->loopLevel(), userBoxOpen});
    });
    const QByteArray longLine = QByteArray("DDE\tOrbiscope\tSystem\t[Open(") + QByteArray(6000, 'x') + ")]\n";
    QTimer::singleShot(0, [&] { SendAndHangUp(longLine + "activate\n"); });
    RunMainLoop([&] { return handled.size() >= 2 && sinceGone.elapsed() > 500; });
    ASSERT_EQ(handled.size(), 2u);
    EXPECT_EQ(handled[0].line, longLine.left(qsizetype(kMaxSocketLineBytes)));
    EXPECT_EQ(handled[1].line, "activate");
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
    EXPECT_EQ(handled[0].loopLevel, platform::SingleInstance::kHandlingLoopLevel);
}

// Lines wait for a box the user has open, but only so many: so many from one
// connection, and so many from all connections together.  The rest are refused.
TEST_F(FirstInstance, WaitingLinesAreBoundedPerConnectionAndInAll)
{
    struct Case {
        const char* name;
        int senders;
        int linesEach;
        std::size_t handled;
    };
    using platform::SingleInstance;
    const Case cases[] = {
        {"one connection", 1, 5000, SingleInstance::kMaxQueuedLines},
        {"many connections", int(SingleInstance::kMaxConnections) + 16, int(SingleInstance::kMaxQueuedLines),
         SingleInstance::kMaxWaitingLines},
    };
    RecordWithoutBox();
    first.StartServing();
    for (const Case& c : cases) {
        handled.clear();
        senderGone = false;
        std::vector<QByteArray> sent;
        for (int s = 0; s < c.senders; ++s) {
            QByteArray flood;
            for (int k = 0; k < c.linesEach; ++k) flood += "activate " + QByteArray::number(s * c.linesEach + k) + "\n";
            sent.push_back(flood);
        }
        // One sender at a time, each from the loop, so that none waits on a
        // full backlog.
        std::function<void(std::size_t)> send = [&](std::size_t s) {
            if (s == sent.size()) return;
            SendAndHangUp(sent[s]);
            QTimer::singleShot(0, [&send, s] { send(s + 1); });
        };
        // Nothing is handled until the box closes, so everything sent queues.
        bool userBoxClosed = false;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(50, [&] { send(0); });
            platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);
            userBoxClosed = true;
        });
        RunMainLoop([&] { return userBoxClosed && sinceGone.elapsed() > 1000; });
        ASSERT_EQ(handled.size(), c.handled) << c.name;
        for (std::size_t k = 0; k < handled.size(); ++k)
            EXPECT_EQ(handled[k].line, "activate " + QByteArray::number(qsizetype(k))) << c.name;
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
    });
    RunMainLoop([&] { return sinceGone.elapsed() > 1000; });
    EXPECT_EQ(boxes, 2);
    ASSERT_EQ(handled.size(), 2u);
    EXPECT_EQ(handled[0].line, "DDE\ta1");
    EXPECT_EQ(handled[1].line, "DDE\tb1");
}

// No descriptor left for an accept: the server keeps listening (a client
// waiting meanwhile is served once descriptors are free again) and keeps its
// socket file.
TEST_F(FirstInstance, ListensOnWhenAnAcceptFindsNoDescriptorLeft)
{
    first.StartServing();
    RecordWithoutBox();
    const int waiting = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int base = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit low = old;
    low.rlim_cur = std::min<rlim_t>(old.rlim_cur, 512);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> fillers;
    for (int fd; (fd = ::dup(base)) >= 0;) fillers.push_back(fd);
    Hold("waited\n", waiting);
    RunLoopFor(500);
    for (int fd : fillers) ::close(fd);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &old), 0);

    EXPECT_TRUE(QFile::exists(QString::fromLocal8Bit(serverPath)));
    QTimer::singleShot(0, [&] { SendAndHangUp("after\n"); });
    RunMainLoop([&] { return handled.size() >= 2; });
    ASSERT_EQ(handled.size(), 2u);
    EXPECT_EQ(handled[0].line, "waited");
    EXPECT_EQ(handled[1].line, "after");
    ::close(base);
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

// Senders that each write one line raising a box, as fast as they can: the
// boxes come one at a time, what arrives while one is up is refused, and a
// line after the last box is handled as usual.
TEST_F(FirstInstance, AFloodOfSendersGetsAFewBoxesOneAtATime)
{
    first.StartServing();
    int open = 0, mostOpen = 0;
    platform::SetMessageBoxSink([&](const platform::MessageBoxCall&) {
        mostOpen = std::max(mostOpen, ++open);
        QElapsedTimer up;
        up.start();
        platform::RunNestedBoxLoop([&] { return up.elapsed() > 20; }, 10000);
        --open;
        return platform::IDOK;
    });
    constexpr int kSenders = 1000;
    std::atomic<int> sent{0};
    std::thread flood([&] {
        for (int k = 0; k < kSenders; ++k) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sent += Connect(fd, "DDE\tbad\n");
            ::close(fd);
        }
    });
    QElapsedTimer quiet;
    std::size_t seen = 0;
    RunMainLoop([&] {
        if (handled.size() != seen || open > 0 || !quiet.isValid()) quiet.start();
        seen = handled.size();
        return sent == kSenders && quiet.elapsed() > 500;
    });
    flood.join();
    EXPECT_EQ(mostOpen, 1);
    ASSERT_GE(handled.size(), 1u);
    EXPECT_LE(handled.size(), 32u) << "of " << kSenders;
    QTimer::singleShot(0, [&] { SendAndHangUp("DDE\tafter\n"); });
    RunMainLoop([&] { return handled.back().line == "DDE\tafter" || sinceGone.elapsed() > 2000; });
    EXPECT_EQ(handled.back().line, "DDE\tafter");
}

}  // namespace
