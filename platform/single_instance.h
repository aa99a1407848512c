// One running program per user: the first start holds a lock and serves a
// local socket; a later start hands its line to the first one (raise your
// window, open this file) and ends.
//
// Both lie in the user's own runtime folder, closed to other users, and each
// side checks who is at the other end: the server takes lines only from its
// own user, and a later start sends only to a socket of its own user.
//
// What a later start says and what the first instance does always agree.
// The first instance answers a line "taken" only while its own loop runs and
// its end has not begun, and handles it only once the sender has
// acknowledged that answer: a sender that gave up waiting (on a stopped or
// starved first instance, or one that failed before its loop) has closed its
// connection and said its file was not opened, so its line is dropped
// unhandled.  A refusal is answered at once.  Reading and handling are kept
// apart: a connection's bytes are only cut into lines (LineAssembler: a line
// too long is passed on once, cut, never split into two), and the
// acknowledged lines wait in a short queue, handled one at a time from the
// program's own event loop: never while a handler still runs, and never from
// inside a nested loop (an open message box or dialog), where the handler's
// own boxes would run the loop again.  So a box raised by one line is up
// alone, and the lines that came meanwhile follow it, one box at a time.
//
// Where a connection's line stands (LineState), and what moves it:
//
//   state       event                                      next        answer
//   None        a line while serving, not ending           Offered     "taken"
//   None        a line before serving, not ending          Unanswered  none yet
//   None        a line refused (see below)                 None        "refused<TAB>why"
//   Unanswered  serving starts                             Offered     "taken"
//   Unanswered  the end begins                             None        "refused<TAB>Orbiscope is closing"
//   Offered     "heard"                                    Queued      none
//   Queued      handled at its turn                        None        none
//   any but     another line                               same        "refused<TAB>why"
//     None
//   any         the sender hangs up                        gone        none; a Queued line is still handled
//   None        no line for the idle time, or room needed  gone        none
//   Offered     no "heard" in the idle time, or room
//               needed once no idle connection is left     gone        none
//   Queued      no line for the idle time                  gone        none; its line is still handled
//   any         Finish, whether the close then goes on or  gone        none; a Queued line is still handled
//               is called off; LetGo                                   (with the loop over: inside Finish)
//   any         the program ends (or its start fails)      gone        none
//
// A connection is closed only after it was shut for reading and read to its
// end, so a "heard" either arrives before and is honoured, or fails to be
// sent and its sender says its file was not opened.  A line is refused while
// the end is under way ("Orbiscope is closing"), from a connection whose
// line raised a box, from one with a line already in hand, and when too many
// wait: behind a box, a handler or a start-up not yet serving, kMaxWaitingLines;
// otherwise kMaxQueuedLines (its sender tries again until its deadline, and
// is taken once the queue has room).  A newcomer over the connection cap,
// when every connection held waits for its line, is closed unread.
//
// The end begins when the program is asked to close (before any question of
// its close check), when a Print line has printed, and, for a print start, as
// soon as it holds the lock: from then on nobody is told "taken", and a later
// start refused as closing tries again until its own deadline.  A close called
// off serves again.  Once the close check has agreed (Finish), every connection
// is read to its end and closed; lines told "taken" before the end began and
// still waiting call the end off: they are handled in the running program,
// which the user may close again.  Otherwise the server is finished, but it
// keeps listening (every sender refused as closing) and holds its lock while
// the program writes its last files; only then does it let both go (LetGo), so
// that a start that becomes the first instance finds those files as the old
// one left them.
//
// Exactly one instance serves: the lock holder.  It listens for as long as
// it holds the lock, whatever its clients do; once a second it looks whether
// a cleaner took its lock or socket file and makes them again.  It stops
// serving only when another instance truly serves in its place: one that
// answers on the socket's name, or holds the lock at two checks in a row.  A
// start looks whether the socket is served before it tries the lock, and
// hands over to a live server without taking the lock at all; a lock held
// for one check (a start that found nobody serving, a cleaner's tool) is no
// new first instance.  It accepts on its own descriptor, only while
// descriptors remain for the rest of the program, and holds a bounded number
// of connections.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

#include "platform/socket_lines.h"

class QSocketNotifier;
class QTimer;

namespace platform {

// What a start is, once it has tried the lock.
enum class InstanceRole {
    First,  // holds the lock and serves the socket
    Later,  // another instance of the user holds the lock: hand over to it
    Alone,  // no lock can be made (no folder of the user's own, a full or
            // read-only one): the program runs without the hand-over
};

// A later start's word that it heard "taken": only then is its line handled.
inline constexpr std::string_view kHandOverAcknowledgement = "heard";

// What a later start learns of the line it handed over.
struct HandOver {
    enum class Result { Taken, Refused, NoAnswer, Unreachable };
    Result result = Result::Unreachable;
    std::string reason;  // with a refusal: the first instance's words
    bool Taken() const { return result == Result::Taken; }
};

// The first instance's answer to a line, and a later start's reading of the
// answer it received (anything but a whole answer is no answer).
std::string HandOverAnswer(bool taken, std::string_view reason = {});
HandOver ReadHandOverAnswer(std::string_view received);

// One try of a later start: connecting may take up to connectMs, the answer
// answerMs more (SingleInstance::SendToPrimary with its line).
using HandOverTry = std::function<HandOver(int connectMs, int answerMs)>;
// A later start's whole hand-over, no longer than one try given the full
// times.  A first instance that is closing may call its close off, or end
// and leave its lock free; one with too many files waiting works its queue
// down: either refusal is tried again after a short wait, which grows a
// little with each try and is drawn at random within its span, so that many
// starts refused together come back spread out.  `claim` tries the lock
// after a refusal as closing, after finding nobody to reach, and after
// silence that follows a refusal as closing or busy (the program may have
// ended meanwhile, and a new first instance not yet answer); a start that
// gets it (any role but Later) hands over nothing: nullopt.  One that does
// not goes on trying while it has time, once it has been refused so.
// Otherwise the answer is the last try's: taken, or why not.  A try is not
// started with less than SingleInstance::kRetryMs left, and keeps half of
// what is left for its answer.
std::optional<HandOver> HandOverWithinDeadline(const HandOverTry& send, const std::function<InstanceRole()>& claim);

class SingleInstance : public QObject {
public:
    explicit SingleInstance(const QString& key);
    // With its runtime folder given rather than looked up: a start made beside
    // a program that was given its folder (a test's), whatever this process's
    // environment says.
    SingleInstance(const QString& key, std::filesystem::path folder);
    // A server that has served must be finished first (Finish, LetGo).
    ~SingleInstance() override;

    // Tries the lock, without waiting; the first instance listens at once.  A
    // start that finds another instance serving the socket hands over to it,
    // whatever became of that one's lock file, and leaves the lock alone.
    InstanceRole Claim();
    // From a later start: hands `line` to the first instance, waits for its
    // answer and acknowledges "taken".  Connecting may take up to connectMs (a
    // first instance that has just taken its lock may not listen yet); the
    // answer may take up to answerMs more (a first instance still starting
    // answers once its loop runs).  A sender that stops waiting closes its
    // connection, and its line is never handled.  Plain system calls: it may
    // run on any thread.
    HandOver SendToPrimary(std::string_view line, int connectMs = kConnectTimeoutMs,
                           int answerMs = kAnswerTimeoutMs) const;
    // Called in the first instance for each line taken.
    void SetMessageHandler(std::function<void(const QByteArray&)> handler) { handler_ = std::move(handler); }
    // Lines are read from the start and refusals answered, but "taken" is
    // said, and lines handled, only once this has been called from the
    // program's own loop.  A start that ends before it closes every waiting
    // connection unanswered.
    void StartServing();
    // The program's end has begun: nobody is told "taken" any more, and the
    // lines not yet answered, and every line that comes, are refused with
    // kRefusedClosing.  A line already told "taken" is still handled once
    // acknowledged.
    void BeginEnding();
    // The close was called off: lines are taken again.
    void CancelEnding();
    // The close check has agreed: the server refuses the senders that came
    // meanwhile, reads every connection to its end and closes it.  Lines told
    // "taken" that wait then call the end off (false): the server serves on
    // once CancelEnding is called, and they are handled.  Otherwise (true) it
    // is finished: it handles nothing more and refuses every sender as
    // closing, yet it listens and holds its lock until LetGo.  With the loop
    // already ended (loopHasEnded), nothing can be called off: waiting lines
    // are handled here, before it returns true.
    bool Finish(bool loopHasEnded = false);
    // The program's last files are in place: the senders still in the
    // backlog are refused, every connection is closed, and the server stops
    // listening and then lets its lock go.  Nothing is served after it.
    void LetGo();
    // Lines read and not yet handled or refused: waiting for the loop, for
    // their acknowledgement or for their turn.
    std::size_t WaitingLines() const;
    // The socket file and the lock; empty when the user has no runtime folder.
    const std::filesystem::path& ServerPath() const { return path_; }
    std::filesystem::path LockPath() const;
    // How long a connection may go without a complete line before it is closed.
    void SetIdleTimeout(int ms) { idleMs_ = ms; }
    // Looks whether the lock and socket files are still this first
    // instance's own, and makes them again; every kCheckFilesMs from its
    // loop, or at a moment of a test's choosing.  Nothing in any other start.
    void CheckFiles();
    // The most connections held at once now: kMaxConnections, fewer under a
    // low open-file limit, so that the rest of the program keeps descriptors.
    std::size_t MaxConnections() const;

    // The deepest event loop that may handle lines: the program's own loop
    // (level 1); a modal box or dialog runs one level deeper.
    static constexpr int kHandlingLoopLevel = 1;
    // The most lines that wait to be handled behind a box or dialog, from all
    // connections together (answered or not, and before the main loop runs
    // too): the longest chain of boxes that lines sent while one box is up
    // can make.  A connection has one line waiting at a time.
    static constexpr std::size_t kMaxWaitingLines = 16;
    // The most lines waiting at all (a burst of later starts while nothing
    // blocks them, or while start-up is busy).
    static constexpr std::size_t kMaxQueuedLines = 1024;
    // The most connections ever held at once.
    static constexpr std::size_t kMaxConnections = 64;
    // Descriptors left free for the rest of the program: while fewer remain,
    // no connection is accepted (its sender waits in the backlog).
    static constexpr int kSpareDescriptors = 16;
    // A sender writes its line as soon as it is connected, and acknowledges
    // "taken" as soon as it reads it.
    static constexpr int kIdleTimeoutMs = 5000;
    static constexpr int kConnectTimeoutMs = 2000;
    static constexpr int kAnswerTimeoutMs = 10000;
    // How often the first instance looks whether its lock and socket files
    // are still its own.
    static constexpr int kCheckFilesMs = 1000;
    // A later start refused as closing or busy waits kRetryMs before its
    // first try again, each later wait half as long again as the one before,
    // up to kMostRetryMs; each wait is drawn from its upper half.  A try
    // again connects within kRetryConnectMs.
    static constexpr int kRetryMs = 100;
    static constexpr int kMostRetryMs = 1000;
    static constexpr int kRetryConnectMs = 200;

    // The first instance's words when it refuses a line.
    static constexpr std::string_view kRefusedBusy = "it has too many files waiting to be opened";
    static constexpr std::string_view kRefusedOneAtATime = "a connection sends one line at a time";
    static constexpr std::string_view kRefusedAnswered = "this connection has had its message";
    static constexpr std::string_view kRefusedClosing = "Orbiscope is closing";

private:
    // Where a connection's line stands: the table at the top of this file.
    enum class LineState {
        None,        // no line in hand: idle once its idle time is out
        Unanswered,  // read before the loop runs: "taken" is said once it does
        Offered,     // answered "taken": handled once the sender acknowledges
        Queued,      // acknowledged, waiting its turn to be handled
    };
    struct Connection {
        int fd = -1;
        QSocketNotifier* reader = nullptr;
        QTimer* idle = nullptr;
        LineAssembler lines;
        std::uint64_t lastLine = 0;  // activity order, renewed by each complete line
        std::uint64_t offered = 0;   // activity order when it was told "taken"
        LineState state = LineState::None;
        QByteArray line;             // the line in hand, until it is queued
        bool boxed = false;          // a line of it raised a box
        bool closing = false;        // read one last time: only an acknowledgement counts
    };
    struct Line {
        std::uint64_t connection;
        QByteArray text;
    };
    enum class LockResult { Held, HeldByAnother, CannotBeMade };

    LockResult TakeLock();
    bool HoldsLock() const;
    void ReleaseLock();
    void Listen();
    void StopListening();
    // Takes in up to `most` senders waiting in the backlog.
    void Accept(int most);
    void PauseAccepting();
    void Adopt(int descriptor);
    // Reads what the connection has sent (all of it when `drain`, else a
    // turn's worth); false when it hung up and is gone.
    bool Read(std::uint64_t id, bool drain);
    void Take(std::uint64_t id, std::string&& line);
    void Offer(Connection& c);
    // Closes a connection that had no complete line for a while, or did not
    // acknowledge "taken" in that time, unless reading it shows it had moved
    // on after all (false: kept).
    bool CloseStalled(std::uint64_t id);
    // Shuts the connection for reading, reads it to its end and closes it.
    void ShutAndClose(std::uint64_t id);
    void Drop(std::uint64_t id);
    bool Blocked() const;
    void ScheduleHandling(int delayMs);
    void HandleNext();
    // Takes the first waiting line off the queue and handles it.
    void HandleFirst();

    QString key_;
    std::filesystem::path folder_;
    std::filesystem::path path_;
    int lock_ = -1;  // the lock file, held with flock while open
    int listener_ = -1;
    dev_t socketDevice_ = 0;
    ino_t socketInode_ = 0;
    QSocketNotifier* acceptor_ = nullptr;
    QTimer* checker_ = nullptr;
    // Checks in a row that found the lock another's since this one lost it.
    int lockedOut_ = 0;
    std::function<void(const QByteArray&)> handler_;
    std::map<std::uint64_t, Connection> connections_;
    std::uint64_t nextConnection_ = 1;
    std::uint64_t activity_ = 0;
    std::deque<Line> pending_;  // acknowledged lines, in the order they were
    bool serving_ = false;
    bool ending_ = false;
    bool finished_ = false;
    bool handling_ = false;
    bool scheduled_ = false;
    int idleMs_ = kIdleTimeoutMs;
};

// The waits between a later start's tries, in milliseconds: each drawn from
// the upper half of its span, the first span SingleInstance::kRetryMs and
// each later one half as long again, up to kMostRetryMs.
class RetryWaits {
public:
    // A whole number from lowest to highest, both included.
    using Draw = std::function<int(int lowest, int highest)>;
    // Drawn at random unless `draw` is given.
    explicit RetryWaits(Draw draw = {});
    int Next();

private:
    int span_ = SingleInstance::kRetryMs;
    Draw draw_;
};

}  // namespace platform
