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
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [this] { SendAndHangUp("DDE\tbad\nDDE\tworse\n"); });
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
    const QByteArray longLine = QByteArray("DDE\tOrbiscope\tSystem\t[Open(") + QByteArray(6000, 'x') + ")]\n";
    QTimer::singleShot(0, [&] { SendAndHangUp(longLine + "activate\n"); });
    RunMainLoop([&] { return handled.size() >= 2 && sinceGone.elapsed() > 500; });
    ASSERT_EQ(handled.size(), 2u);
    EXPECT_EQ(handled[0].line, longLine.left(qsizetype(kMaxSocketLineBytes)));
    EXPECT_EQ(handled[1].line, "activate");
}

}  // namespace
