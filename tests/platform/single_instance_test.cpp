// The first instance's socket: lines are read whole, handled once each, one
// at a time, from the program's own loop and never from inside an open box,
// and a sender that hangs up at any moment leaves nothing dangling.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

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

// One connection may have only so many lines waiting; the rest are refused.
TEST_F(FirstInstance, AConnectionsQueueIsBounded)
{
    first.SetMessageHandler([this](const QByteArray& line) { handled.push_back({line, 0, userBoxOpen}); });
    QByteArray flood;
    for (int k = 0; k < 5000; ++k) flood += "activate " + QByteArray::number(k) + "\n";
    QTimer::singleShot(50, [&] { SendAndHangUp(flood); });
    // Nothing is handled until the box closes, so everything sent queues.
    platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);
    first.StartServing();
    RunMainLoop([&] { return sinceGone.elapsed() > 1000; });
    ASSERT_EQ(handled.size(), platform::SingleInstance::kMaxQueuedLines);
    for (std::size_t k = 0; k < handled.size(); ++k) EXPECT_EQ(handled[k].line, "activate " + QByteArray::number(qsizetype(k)));
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

}  // namespace
