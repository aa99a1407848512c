// The hand-over to the first instance.  Lines are read whole and answered
// (taken or refused, so that no sender is left believing what did not
// happen); a line is handled only once its sender acknowledged "taken", once
// each, one at a time, from the program's own loop and never from inside an
// open box.  The socket is the user's alone; the lock holder alone serves it,
// whatever its clients do, whoever removes its files and however few
// descriptors are left.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
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
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <map>
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

// ---- the server ---------------------------------------------------------------
// Holds back the activations of a server's socket notifiers, as a turn of the
// loop that comes to the server's timers before its sockets does.
class SocketActivationsHeldBack : public QObject {
public:
    explicit SocketActivationsHeldBack(const QObject* server) : server_(server)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~SocketActivationsHeldBack() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return event->type() == QEvent::SockAct && watched->parent() == server_;
    }

private:
    const QObject* server_;
};

class FirstInstance : public ::testing::Test {
protected:
    struct Handled { QByteArray line; int loopLevel; bool userBoxOpen; int boxesOpen; };

    FirstInstance()
        : runtimeVariable("XDG_RUNTIME_DIR", runtime.Path().string()),
          temporaryVariable("TMPDIR", temporary.Path().string()),
          first(kKey)
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

    // A later start from the loop of this thread: it writes, and
    // acknowledges each "taken" as it reads it.
    void Send(const QByteArray& bytes)
    {
        Hold(bytes);
        sent = true;
        sinceSent.start();
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
    // A held connection reads its answers as they come and, unless told
    // otherwise, acknowledges each "taken" as a later start does.
    void Hold(const QByteArray& bytes, int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0),
              bool acknowledges = true)
    {
        EXPECT_TRUE(Connect(fd, bytes)) << std::strerror(errno);
        held.push_back(fd);
        Peer& peer = peers[fd];
        peer.acknowledges = acknowledges;
        peer.notifier = std::make_unique<QSocketNotifier>(qintptr(fd), QSocketNotifier::Read);
        QObject::connect(peer.notifier.get(), &QSocketNotifier::activated, [this, fd] { Receive(fd); });
    }
    void Receive(int fd)
    {
        Peer& peer = peers.at(fd);
        char buffer[4096];
        ssize_t n;
        while ((n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0) peer.received.append(buffer, std::size_t(n));
        if (n == 0) peer.notifier->setEnabled(false);  // closed by the server
        const QByteArray heard = QByteArray(platform::kHandOverAcknowledgement.data()) + "\n";
        for (std::size_t at = 0; peer.acknowledges && (at = peer.received.find("taken\n", at)) != std::string::npos; at += 6)
            if (at >= peer.acknowledgedUpTo) {
                (void)!::send(fd, heard.constData(), std::size_t(heard.size()), MSG_NOSIGNAL);
                peer.acknowledgedUpTo = at + 6;
            }
    }
    // What the server has answered on a held connection so far.
    std::string Answers(int fd)
    {
        Receive(fd);
        return peers.at(fd).received;
    }
    void CloseHeld()
    {
        for (int fd : held) {
            peers.erase(fd);
            ::close(fd);
        }
        held.clear();
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
    void TearDown() override { CloseHeld(); }

    struct Peer {
        std::unique_ptr<QSocketNotifier> notifier;
        std::string received;
        std::size_t acknowledgedUpTo = 0;
        bool acknowledges = true;
    };

    testfiles::TempFolder runtime;
    testfiles::ScopedVariable runtimeVariable;
    // The temporary folder too: a runtime folder opened to others is no
    // longer the user's own, and the server then looks up (and makes) the
    // program's fallback folder in the temporary folder at each check.
    testfiles::TempFolder temporary;
    testfiles::ScopedVariable temporaryVariable;
    std::vector<int> held;
    std::map<int, Peer> peers;
    // Named before any test takes the descriptors away: the name's folders
    // cannot be looked up then.
    QByteArray serverPath;
    const QString kKey = QStringLiteral("orbiscope-socket-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first;
    std::vector<Handled> handled;
    std::atomic<int> handledCount{0};
    bool userBoxOpen = false;
    std::function<bool()> userBoxDone = [this] { return sent && sinceSent.elapsed() > 300; };
    int boxesOpen = 0, mostBoxesOpen = 0;
    int socketBoxMs = 200;
    bool sent = false;
    QElapsedTimer sinceSent;
};

TEST_F(FirstInstance, ALineSentWhileABoxIsOpenWaitsForItAndIsHandledOnce)
{
    bool userBoxClosed = false;
    // The user has a box open; meanwhile two senders write a line each.
    first.StartServing();
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [this] {
            Send("DDE\tbad\n");
            Send("DDE\tworse\n");
        });
        platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);
        userBoxClosed = true;
    });
    RunMainLoop([&] { return userBoxClosed && handled.size() >= 2 && sinceSent.elapsed() > 1000; });

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
    QTimer::singleShot(0, [&] { Send("DDE\tfirst\n"); });
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
// nothing: the later start hears no answer and must not say all went well,
// and once the first runs again the line of the sender that gave up is
// never handled.  A sender that still waits is heard.
TEST_F(FirstInstance, ALaterStartHearsNoAnswerFromAFirstInstanceThatDoesNotRun)
{
    first.StartServing();
    RecordWithoutBox();
    HandOver answer;
    std::thread sender([&] { answer = first.SendToPrimary("DDE\tgave up", 2000, 300); });
    sender.join();  // this thread's loop does not run meanwhile
    EXPECT_EQ(answer.result, HandOver::Result::NoAnswer);
    EXPECT_TRUE(AskFromAnotherThread(first, "activate").Taken());
    RunMainLoop([&] { return !handled.empty(); });
    RunLoopFor(300);
    EXPECT_EQ(Lines(), std::vector<std::string>{"activate"});
}

// The program's end: once it begins (the close is asked; a box of the close
// check is up), a new line is refused at once with the reason, and so is one
// still in the backlog when the close check agrees.  Lines told "taken"
// before then and acknowledged, up to the last read, call the end off: the
// server keeps its lock and socket, and they are handled in the running
// program, not inside the close.  A sender that had not acknowledged by then
// is closed, and its "heard" can no longer be sent.  Called off, the server
// takes lines again; with nothing waiting, the end goes through, and the
// lock and socket go only when the server is told to let them go.
TEST_F(FirstInstance, OnceTheEndBeginsNothingIsTakenAndWhatWasTakenCallsItOff)
{
    first.StartServing();
    RecordWithoutBox();
    bool finished = true;
    std::size_t handledInClose = 0;
    QTimer::singleShot(0, [&] {
        // Told "taken", all three wait behind a box of the user's.
        Hold("DDE\tacknowledged\n");
        for (const char* line : {"DDE\tacknowledged last\n", "DDE\tnever acknowledged\n"})
            Hold(line, ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0), false);
        userBoxDone = [&] { return std::all_of(held.begin(), held.end(), [&](int fd) { return Answers(fd) == "taken\n"; }); };
        platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);
        first.BeginEnding();
        Hold("DDE\tduring the close\n");
        userBoxDone = [&] { return !Answers(held[3]).empty(); };
        platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);  // "save?"
        ASSERT_EQ(::send(held[1], "heard\n", 6, MSG_NOSIGNAL), 6);
        Hold("DDE\tin the backlog\n");  // not yet accepted: the loop does not run
        finished = first.Finish();
        handledInClose = handled.size();
        first.CancelEnding();
    });
    RunMainLoop([&] { return handled.size() == 2; });
    EXPECT_FALSE(finished);
    EXPECT_EQ(handledInClose, 0u);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"DDE\tacknowledged", "DDE\tacknowledged last"}));
    for (const int k : {3, 4}) EXPECT_EQ(Answers(held[std::size_t(k)]), platform::HandOverAnswer(false, SingleInstance::kRefusedClosing));
    EXPECT_EQ(ClosedByServer(), 5);
    EXPECT_EQ(::send(held[2], "heard\n", 6, MSG_NOSIGNAL), -1) << "an acknowledgement after the end was sent";
    EXPECT_TRUE(fs::exists(first.LockPath()) && QFile::exists(QString::fromLocal8Bit(serverPath)));

    EXPECT_TRUE(AskFromAnotherThread(first, "activate").Taken());
    RunMainLoop([&] { return handled.size() == 3; });
    EXPECT_TRUE(first.Finish());
    // Finished, it keeps its lock and socket while the program writes its
    // last files: a start meanwhile is a later one, refused as closing.
    EXPECT_EQ(SingleInstance(kKey).Claim(), InstanceRole::Later);
    Hold("DDE\tas the last files are written\n");
    first.LetGo();
    EXPECT_EQ(Answers(held.back()), platform::HandOverAnswer(false, SingleInstance::kRefusedClosing));
    EXPECT_FALSE(fs::exists(first.LockPath()) || QFile::exists(QString::fromLocal8Bit(serverPath)));
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
// serving to start, unanswered, since the start may yet fail; they are
// answered and handled then, in the main loop.
TEST_F(FirstInstance, LinesWaitForServingEvenInsideABoxShownBeforeTheMainLoop)
{
    QTimer::singleShot(50, [this] { Send("DDE\tbad\n"); });
    platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);  // at level 1, no main loop yet
    EXPECT_TRUE(handled.empty()) << "handled inside the start-up box at level " << handled.front().loopLevel;
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(Answers(held[0]), "") << "told before the main loop runs";

    first.StartServing();
    RunMainLoop([&] { return !handled.empty() && sinceSent.elapsed() > 500; });
    EXPECT_EQ(Answers(held[0]), "taken\n");
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_FALSE(handled[0].userBoxOpen);
    EXPECT_EQ(handled[0].loopLevel, SingleInstance::kHandlingLoopLevel);
}

// Lines wait, but only so many: one from a connection at a time, and so many
// in all, behind a box shown before the main loop runs too, or behind a
// start-up that pumps events itself.  Every line is answered, the refused
// ones with the reason.
TEST_F(FirstInstance, WaitingLinesAreBoundedAndEverySenderIsTold)
{
    const std::string busy = platform::HandOverAnswer(false, SingleInstance::kRefusedBusy);
    const std::string oneAtATime = platform::HandOverAnswer(false, SingleInstance::kRefusedOneAtATime);
    const std::string taken = platform::HandOverAnswer(true);
    // Where the lines come: behind a box of the main loop's, or before the
    // main loop runs, behind a box or while start-up pumps events.
    enum class When { InLoop, BeforeLoopBox, BeforeLoopPumped };
    struct Case {
        const char* name;
        std::vector<QByteArray> senders;  // what each connection writes at once
        std::vector<std::string> answers;
        std::size_t handled;
        When when = When::InLoop;
    };
    const std::size_t most = SingleInstance::kMaxWaitingLines;
    std::vector<QByteArray> many;
    for (std::size_t k = 0; k < most + 3; ++k) many.push_back("activate " + QByteArray::number(qsizetype(k)) + "\n");
    std::vector<std::string> manyAnswers(most, taken);
    manyAnswers.insert(manyAnswers.end(), 3, busy);
    const Case cases[] = {
        {"start-up pumping events, more senders than lines may wait", many, manyAnswers, most, When::BeforeLoopPumped},
        {"before the main loop, more senders than lines may wait", many, manyAnswers, most, When::BeforeLoopBox},
        {"one connection, three lines at once", {"activate a\nactivate b\nactivate c\n"}, {taken + oneAtATime + oneAtATime}, 1},
        {"more senders than lines may wait", many, manyAnswers, most},
    };
    RecordWithoutBox();
    for (const Case& c : cases) {
        handled.clear();
        if (c.when == When::InLoop) first.StartServing();
        // Nothing is handled until the user's box closes.
        bool holding = false, userBoxClosed = false;
        QElapsedTimer heldFor;
        std::size_t refusedInBox = 0, takenInBox = 0;
        userBoxDone = [&] { return holding && heldFor.elapsed() > 300; };
        const auto userBox = [&] {
            QTimer::singleShot(50, [&] {
                for (const QByteArray& bytes : c.senders) Hold(bytes);
                holding = true;
                heldFor.start();
            });
            if (c.when == When::BeforeLoopPumped) {
                while (!userBoxDone()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            } else {
                platform::MessageBox(nullptr, "user", "Orbiscope", platform::MB_OK);
            }
            for (int fd : held) {
                const std::string answer = Answers(fd);
                refusedInBox += answer.find("refused") != std::string::npos;
                takenInBox += answer.find("taken") != std::string::npos;
            }
            userBoxClosed = true;
        };
        if (c.when != When::InLoop) {
            // Shown by the start-up: its loop is the first one, at the level
            // the main loop later has.
            userBox();
            // Refused at once; the rest wait, untold, for the loop.
            EXPECT_EQ(refusedInBox, c.senders.size() - c.handled) << c.name;
            EXPECT_EQ(takenInBox, 0u) << c.name;
            if (c.when == When::BeforeLoopPumped) {
                // Its senders give up: the next case starts before serving too.
                CloseHeld();
                RunMainLoop([&] { return first.WaitingLines() == 0; });
                continue;
            }
            first.StartServing();
        } else {
            QTimer::singleShot(0, userBox);
            RunMainLoop([&] { return userBoxClosed; });
        }
        RunMainLoop([&] { return handled.size() >= c.handled; });
        RunLoopFor(200);
        std::vector<std::string> answers;
        for (int fd : held) answers.push_back(Answers(fd));
        EXPECT_EQ(answers, c.answers) << c.name;
        ASSERT_EQ(handled.size(), c.handled) << c.name;
        for (std::size_t k = 0; k < handled.size() && c.senders.size() > 1; ++k)
            EXPECT_EQ(handled[k].line, "activate " + QByteArray::number(qsizetype(k))) << c.name;
        CloseHeld();
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
        Send("DDE\ta1\nDDE\ta2\nDDE\ta3\n");
        Send("DDE\tb1\nDDE\tb2\n");
        Hold("DDE\tc1\n");
    });
    RunMainLoop([&] { return boxes == 3; });
    ASSERT_EQ(held.size(), 3u);
    ::send(held[2], "DDE\tc2\n", 7, MSG_NOSIGNAL);  // after its box
    RunLoopFor(500);
    EXPECT_EQ(boxes, 3);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"DDE\ta1", "DDE\tb1", "DDE\tc1"}));
    EXPECT_EQ(Answers(held[2]), "taken\n" + platform::HandOverAnswer(false, SingleInstance::kRefusedAnswered));
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
        QTimer::singleShot(0, [&] { Send("after\n"); });
        RunMainLoop([&] { return handled.size() >= 2; });
        EXPECT_EQ(Lines(), (std::vector<std::string>{"waited", "after"})) << left << " descriptors left";
        ::close(base);
        // The server's ends go too before the next round counts descriptors.
        CloseHeld();
        RunLoopFor(300);
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
        bool acknowledge = true;
    };
    const int cap = int(first.MaxConnections());
    const Case cases[] = {
        {"over the limit", cap + 6, "", 60000, 6},
        {"over the limit after a line each", cap + 3, "activate\n", 60000, 3},
        {"over the limit, none acknowledging \"taken\"", cap + 3, "activate\nactivate\n", 60000, 3, false},
        {"idle", 3, "", 300, 3},
        {"an unfinished line is idle too", 2, "DDE\tOrbisc", 300, 2},
        {"\"taken\" not acknowledged in time", 2, "activate\n", 300, 2, false},
    };
    first.StartServing();
    RecordWithoutBox();
    for (const Case& c : cases) {
        handled.clear();
        first.SetIdleTimeout(c.idleMs);
        const std::size_t lines = c.bytes.endsWith('\n') && c.acknowledge ? std::size_t(c.clients) : 0u;
        // As many as may be held, each heard to the end; then the rest.
        const int room = std::min(c.clients, cap);
        const auto hold = [&] { Hold(c.bytes, ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0), c.acknowledge); };
        for (int k = 0; k < room; ++k) hold();
        RunMainLoop([&] { return handled.size() >= std::min(lines, std::size_t(room)); }, 10000);
        RunLoopFor(200);
        for (int k = room; k < c.clients; ++k) hold();
        RunLoopFor(1000);
        EXPECT_EQ(ClosedByServer(), c.closed) << c.name;
        EXPECT_EQ(handled.size(), lines) << c.name;
        QTimer::singleShot(0, [&] { Send("after\n"); });
        RunMainLoop([&] { return handled.size() > lines || sinceSent.elapsed() > 2000; });
        ASSERT_EQ(handled.size(), lines + 1) << c.name;
        EXPECT_EQ(handled.back().line, "after") << c.name;
        CloseHeld();
        RunLoopFor(200);
    }
}

// A connection about to be closed to make room, or as idle, is read first:
// one that has sent a whole line is not idle, and its line is answered and
// handled.
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
        // more client comes (or its idle time runs out, and the loop's turn
        // comes to the timer before the socket).
        ASSERT_EQ(::send(held[0], "oldest\n", 7, MSG_NOSIGNAL), 7);
        if (evicted) {
            Hold("");
        } else {
            QThread::msleep(1600);
            const SocketActivationsHeldBack heldBack(&first);
            RunLoopFor(200);
        }
        RunLoopFor(500);
        EXPECT_EQ(Lines(), std::vector<std::string>{"oldest"}) << (evicted ? "evicted" : "idle");
        EXPECT_EQ(Answers(held[0]), "taken\n") << (evicted ? "evicted" : "idle");
        CloseHeld();
        RunLoopFor(100);
    }
}

// The cap on connections is a quarter of the open-file limit as it is at
// each accept: lowered while connections are held, the idle ones beyond it
// are closed, not just one.
TEST_F(FirstInstance, TheConnectionCapHoldsWhenTheOpenFileLimitIsLowered)
{
    first.StartServing();
    RecordWithoutBox();
    first.SetIdleTimeout(60000);
    constexpr int kHeld = 40;
    for (int k = 0; k < kHeld; ++k) Hold("");
    RunLoopFor(300);
    ASSERT_EQ(ClosedByServer(), 0);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    // A limit with room below it for the spare descriptors and one more
    // connection, and a cap well below the connections held.
    rlimit low = old;
    low.rlim_cur = 0;
    for (int free = 0; free < SingleInstance::kSpareDescriptors + 8; ++low.rlim_cur)
        free += ::fcntl(int(low.rlim_cur), F_GETFD) < 0 && errno == EBADF;
    ASSERT_LT(low.rlim_cur / 4, rlim_t(kHeld)) << "too many descriptors in use to lower the cap here";
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    const int cap = int(first.MaxConnections());
    Hold("newest\n");
    RunMainLoop([&] { return !handled.empty(); }, 5000);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &old), 0);
    EXPECT_EQ(Lines(), std::vector<std::string>{"newest"});
    // Closed down to the cap, less the newcomer's place.
    EXPECT_EQ(ClosedByServer(), kHeld + 1 - cap);
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
    fs::permissions(deep, fs::perms::owner_all);
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
        const timeval wait{60, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        (void)!::send(fd, "DDE\tfrom another user\n", 22, MSG_NOSIGNAL);
        // Closed unanswered (0), answered (4), or never dealt with (5); a
        // connection closed with its line unread is reset.
        char answer[64];
        const ssize_t n = ::recv(fd, answer, sizeof answer, 0);
        ::_exit(n > 0 ? 4 : (n == 0 || errno == ECONNRESET) ? 0 : 5);
    }
    // The server's loop runs for as long as the other user's process takes,
    // however late it comes under load.
    int status = 0;
    pid_t ended = 0;
    RunMainLoop([&] { return (ended = ::waitpid(child, &status, WNOHANG)) != 0; }, 90000);
    if (ended == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        FAIL() << "the other user's process did not end";
    }
    ASSERT_EQ(ended, child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the other user was answered, could not connect, or was never dealt with: " << status;
    EXPECT_TRUE(handled.empty());

    // The user's own socket file, handed to another user: nothing is sent to it.
    ASSERT_EQ(::chown(serverPath.constData(), 65534, 65534), 0);
    const HandOver answer = AskFromAnotherThread(first, "activate");
    EXPECT_EQ(answer.result, HandOver::Result::Unreachable);
    RunLoopFor(100);
    EXPECT_TRUE(handled.empty());
}

// A socket file that someone removes is made again within a few seconds;
// the later start that comes next is heard.  A name that another live
// server took meanwhile is left to it for as long as it answers there.
TEST_F(FirstInstance, ASocketFileRemovedIsMadeAgain)
{
    first.StartServing();
    RecordWithoutBox();
    for (const bool takenByAnother : {false, true}) {
        SCOPED_TRACE(takenByAnother ? "another server answers on the name" : "the name left free");
        handled.clear();
        ASSERT_EQ(::unlink(serverPath.constData()), 0);
        const auto inode = [&] {
            struct stat st {};
            return ::lstat(serverPath.constData(), &st) == 0 ? st.st_ino : 0;
        };
        ino_t taken = 0;
        if (takenByAnother) {
            const int other = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            sockaddr_un address{AF_UNIX, {}};
            std::memcpy(address.sun_path, serverPath.constData(), std::size_t(serverPath.size()));
            ASSERT_EQ(::bind(other, reinterpret_cast<sockaddr*>(&address), sizeof address) | ::listen(other, 8), 0);
            taken = inode();
            // At its next check the running instance looks whether anyone
            // answers on the name: someone does, and it is left to them.
            RunMainLoop([&] {
                const int look = ::accept4(other, nullptr, nullptr, SOCK_CLOEXEC);
                return look >= 0 && ::close(look) == 0;
            });
            EXPECT_EQ(inode(), taken) << "a name a live server answers on was taken from it";
            ::close(other);  // its file stays, and nobody answers there now
        }
        RunMainLoop([&] { return inode() != 0 && inode() != taken; }, 5000);
        EXPECT_TRUE(AskFromAnotherThread(first, "activate").Taken());
        RunMainLoop([&] { return !handled.empty(); }, 2000);
        EXPECT_EQ(Lines(), std::vector<std::string>{"activate"});
    }
}

// One instance serves, whoever removes its files.  With its lock file gone
// the running instance still serves, so a new start hands over to it, and the
// lock is made again.  With the lock and the socket gone a new start becomes
// first: the running one finds the lock another's and stops serving,
// leaving the name to the new one for good; once that one ends, the running
// one serves again.
TEST_F(FirstInstance, OneInstanceServesWhateverIsRemoved)
{
    first.StartServing();
    RecordWithoutBox();
    const fs::path lock = first.LockPath();
    ASSERT_EQ(::unlink(lock.c_str()), 0);
    EXPECT_EQ(SingleInstance(kKey).Claim(), InstanceRole::Later) << "the lock alone removed";
    RunMainLoop([&] { return fs::exists(lock); }, 5000);
    EXPECT_EQ(SingleInstance(kKey).Claim(), InstanceRole::Later) << "the lock made again";

    ASSERT_EQ(::unlink(lock.c_str()), 0);
    ASSERT_EQ(::unlink(serverPath.constData()), 0);
    {
        SingleInstance second(kKey);
        ASSERT_EQ(second.Claim(), InstanceRole::First) << "the lock and the socket removed";
        std::vector<QByteArray> secondLines;
        second.SetMessageHandler([&](const QByteArray& line) { secondLines.push_back(line); });
        second.StartServing();
        struct stat st {};
        ASSERT_EQ(::lstat(serverPath.constData(), &st), 0);
        const ino_t served = st.st_ino;
        // Both look at their files meanwhile; the name never changes hands.
        int changes = 0;
        QElapsedTimer watch;
        watch.start();
        RunMainLoop([&] {
            changes += ::lstat(serverPath.constData(), &st) != 0 || st.st_ino != served;
            return watch.elapsed() > 3 * SingleInstance::kCheckFilesMs;
        });
        EXPECT_EQ(changes, 0);
        EXPECT_TRUE(AskFromAnotherThread(second, "activate").Taken());
        RunMainLoop([&] { return !secondLines.empty(); }, 5000);
        EXPECT_EQ(secondLines, std::vector<QByteArray>{"activate"});
        EXPECT_TRUE(handled.empty()) << "the instance that lost its lock served";
    }
    RunMainLoop([&] { return fs::exists(lock) && QFile::exists(QString::fromLocal8Bit(serverPath)); }, 5000);
    EXPECT_TRUE(AskFromAnotherThread(first, "activate").Taken());
    RunMainLoop([&] { return !handled.empty(); }, 5000);
    EXPECT_EQ(Lines(), std::vector<std::string>{"activate"});
}

// A start that finds the socket served hands over and leaves the lock alone.
// A lock held for a moment as the running instance checks its files (by a
// start that found nobody serving, or a cleaner's tool) is no new first
// instance: the running one serves on and makes its lock again at its next
// check.  Only a holder found at two checks in a row has taken its place.
TEST_F(FirstInstance, ALockHeldForAMomentNeverTakesTheServingOnesPlace)
{
    first.StartServing();
    const fs::path lock = first.LockPath();
    // Whether a later start connects now.  The loop does not run in between,
    // so no check of the running instance's own comes between two steps.
    const auto listening = [&] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{AF_UNIX, {}};
        std::memcpy(address.sun_path, serverPath.constData(), std::size_t(serverPath.size()));
        const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return connected;
    };
    for (const int checksWhileHeld : {1, 2}) {
        SCOPED_TRACE(std::to_string(checksWhileHeld) + " checks while the lock was held");
        // A cleaner removed the lock file; a tool that held the name left it free.
        ASSERT_EQ(::unlink(lock.c_str()), 0);
        testfiles::WriteText(lock, "");
        EXPECT_EQ(SingleInstance(kKey).Claim(), InstanceRole::Later);
        EXPECT_TRUE(fs::exists(lock) && testfiles::ReadText(lock).empty()) << "a start took the lock to look";
        const int held = ::open(lock.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
        for (int k = 0; k < checksWhileHeld; ++k) first.CheckFiles();
        EXPECT_EQ(listening(), checksWhileHeld < 2);
        ::close(held);
        first.CheckFiles();
        EXPECT_TRUE(listening()) << "not serving again once the lock was free";
        EXPECT_EQ(testfiles::ReadText(lock), std::to_string(::getpid()) + "\n") << "the lock was not made again";
    }
    RecordWithoutBox();
    EXPECT_TRUE(AskFromAnotherThread(first, "activate").Taken());
    RunMainLoop([&] { return !handled.empty(); }, 5000);
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
    // A lock holds while its holder lives, whatever the file says: one held
    // by a start that has not yet named itself holds; one left empty by a
    // start that died writing it does not, however new.
    const fs::path lock = SingleInstance(key).LockPath();
    testfiles::WriteText(lock, "");
    {
        const int writing = ::open(lock.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_EQ(::flock(writing, LOCK_EX | LOCK_NB), 0);
        EXPECT_EQ(SingleInstance(key).Claim(), InstanceRole::Later) << "a lock being written";
        ::close(writing);
    }
    SingleInstance holder(key);
    ASSERT_EQ(holder.Claim(), InstanceRole::First) << "a lock left empty";
    EXPECT_EQ(SingleInstance(key).Claim(), InstanceRole::Later);
}

}  // namespace
