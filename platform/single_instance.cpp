#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/messagebox.h"
#include "platform/user_folders.h"

namespace platform {

namespace {

constexpr std::string_view kTaken = "taken";
constexpr std::string_view kRefused = "refused\t";
// Longest answer a later start reads, and longest reason it shows.
constexpr std::size_t kMaxAnswerBytes = 512;
constexpr std::size_t kMaxReasonBytes = 200;

// After a failed or deferred accept the listener stays readable: accepting
// pauses this long, so that a full descriptor table does not keep the
// program busy.
constexpr int kAcceptPauseMs = 200;
// Clients taken per wake-up; the rest get the next turn of the loop, after
// the lines already read have had theirs.
constexpr int kAcceptsPerWake = 4;
// Bytes read from one connection per turn of the loop.
constexpr std::size_t kReadPerTurn = 64 * 1024;
constexpr int kBacklog = 50;
// A later start looks for a first instance that is not listening yet this often.
constexpr int kConnectRetryMs = 20;
// A lock found another's at this many checks in a row has a new first
// instance behind it; once only, it may be a start that looked, or a
// cleaner's tool, for a moment.
constexpr int kChecksLockedOut = 2;

// A socket address for a path.  One too long for an address is reached
// through a descriptor of its folder, so that a runtime folder deep in the
// tree still works; the descriptor lives as long as the address.
class SocketAddress {
public:
    explicit SocketAddress(const std::filesystem::path& path)
    {
        address_.sun_family = AF_UNIX;
        const std::string& name = path.native();
        if (name.size() < sizeof address_.sun_path) {
            std::memcpy(address_.sun_path, name.data(), name.size());
            valid_ = true;
            return;
        }
        folder_ = ::open(path.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folder_ < 0) return;
        const int n = std::snprintf(address_.sun_path, sizeof address_.sun_path, "/proc/self/fd/%d/%s", folder_,
                                    path.filename().c_str());
        valid_ = n > 0 && std::size_t(n) < sizeof address_.sun_path;
    }
    ~SocketAddress()
    {
        if (folder_ >= 0) ::close(folder_);
    }
    SocketAddress(const SocketAddress&) = delete;
    SocketAddress& operator=(const SocketAddress&) = delete;

    bool Valid() const { return valid_; }
    const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(&address_); }
    socklen_t Size() const { return socklen_t(sizeof address_); }

private:
    sockaddr_un address_{};
    int folder_ = -1;
    bool valid_ = false;
};

bool PeerIsUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

// Whether `count` descriptors are free under the open-file limit as it is
// now (a user may lower it while the program runs).  Counted from the top
// of the table, where free ones are found first, and without taking any:
// a descriptor held only to count it could be the one another thread fails
// to get.
bool DescriptorsFree(int count)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return true;
    const rlim_t top = limit.rlim_cur == RLIM_INFINITY ? rlim_t(1) << 20 : limit.rlim_cur;
    int free = 0;
    for (rlim_t fd = top; fd-- > 0 && free < count;)
        if (::fcntl(int(fd), F_GETFD) < 0 && errno == EBADF) ++free;
    return free >= count;
}

void Answer(int fd, bool taken, std::string_view reason = {})
{
    // A sender that hung up at once, or that does not read its answers, is
    // not waited for.
    const std::string answer = HandOverAnswer(taken, reason);
    (void)!::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::clamp<long long>(left, 0, 1 << 30));
}

// A connection to the user's own socket at `path`, or -1 while there is
// none to be had (not there yet, its backlog full, or not the user's).
int ConnectToOwnSocket(const std::filesystem::path& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::geteuid()) return -1;
    const SocketAddress address(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    if (!address.Valid() || ::connect(fd, address.Get(), address.Size()) != 0 || !PeerIsUser(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether a live server listens at `path`.  A name nobody answers on (a
// socket left by an instance that ended, or none at all) may be taken; one
// that cannot be tried counts as served, so that a live server's name is
// never taken on a guess.
bool SocketServed(const std::filesystem::path& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) return false;
    const SocketAddress address(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || !address.Valid()) {
        if (fd >= 0) ::close(fd);
        return true;
    }
    // Connected, or its backlog full: someone listens.
    const bool served = ::connect(fd, address.Get(), address.Size()) == 0 || errno == EAGAIN;
    ::close(fd);
    return served;
}

// Whether the descriptor becomes ready for `events` before the deadline.
bool ReadyBy(int fd, short events, Clock::time_point deadline)
{
    pollfd p{fd, events, 0};
    return ::poll(&p, 1, MillisecondsLeft(deadline)) > 0;
}

HandOver Exchange(int fd, std::string_view message, Clock::time_point deadline)
{
    while (!message.empty()) {
        const ssize_t n = ::send(fd, message.data(), message.size(), MSG_NOSIGNAL);
        if (n > 0) {
            message.remove_prefix(std::size_t(n));
            continue;
        }
        if (n < 0 && (errno == EINTR || (errno == EAGAIN && ReadyBy(fd, POLLOUT, deadline)))) continue;
        return {HandOver::Result::NoAnswer, {}};
    }
    std::string received;
    char buffer[256];
    while (received.find('\n') == std::string::npos && received.size() < kMaxAnswerBytes) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            received.append(buffer, std::size_t(n));
            continue;
        }
        if (n < 0 && (errno == EINTR || (errno == EAGAIN && ReadyBy(fd, POLLIN, deadline)))) continue;
        break;  // hung up, or no answer in time
    }
    const HandOver answer = ReadHandOverAnswer(received);
    if (answer.Taken()) {
        // The first instance handles the line only on this word.  Sent whole,
        // it lies in the first instance's socket, which reads it before it
        // could ever close the connection; not sent, the line is dropped.
        const std::string heard = std::string(kHandOverAcknowledgement) + "\n";
        if (::send(fd, heard.data(), heard.size(), MSG_NOSIGNAL | MSG_DONTWAIT) != ssize_t(heard.size()))
            return {HandOver::Result::NoAnswer, {}};
    }
    return answer;
}

}  // namespace

RetryWaits::RetryWaits(Draw draw) : draw_(std::move(draw))
{
    // Random, so that starts refused together do not all come back at the
    // same moment, and a flood of them comes back ever more thinly while the
    // first instance is busy.
    if (!draw_)
        draw_ = [random = std::minstd_rand(std::random_device{}())](int lowest, int highest) mutable {
            return std::uniform_int_distribution<int>(lowest, highest)(random);
        };
}

int RetryWaits::Next()
{
    const int span = span_;
    span_ = std::min(span_ + span_ / 2, SingleInstance::kMostRetryMs);
    return draw_(span - span / 2, span);
}

std::optional<HandOver> HandOverWithinDeadline(const HandOverTry& send, const std::function<InstanceRole()>& claim)
{
    using Result = HandOver::Result;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(SingleInstance::kConnectTimeoutMs + SingleInstance::kAnswerTimeoutMs);
    HandOver answer = send(SingleInstance::kConnectTimeoutMs, SingleInstance::kAnswerTimeoutMs);
    RetryWaits waits;
    // Once refused as closing or busy, the program may end between two tries
    // and another start become the first instance: nothing to reach, or
    // silence, is then no last word.
    bool tryingAgain = false;
    for (;;) {
        if (answer.Taken()) return answer;
        const bool refused = answer.result == Result::Refused;
        const bool busy = refused && answer.reason == SingleInstance::kRefusedBusy;
        const bool closing = refused && answer.reason == SingleInstance::kRefusedClosing;
        // Any other refusal is final; so is silence, unless the program
        // refused this start before: it may be gone by now.
        if (refused ? !(busy || closing) : (!tryingAgain && answer.result == Result::NoAnswer)) break;
        tryingAgain = tryingAgain || refused;
        if (MillisecondsLeft(deadline) == 0) break;
        if (tryingAgain)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(waits.Next(), MillisecondsLeft(deadline))));
        // Nothing to reach, silence, or a program on its way out: the lock
        // may be free now.  A busy one runs on.
        if (!busy) {
            if (claim() != InstanceRole::Later) return std::nullopt;
            if (!tryingAgain) break;
        }
        // The last word is the last try's: one too short to hear a refusal
        // would call a closing or busy program silent.
        const int left = MillisecondsLeft(deadline), connectMs = std::min(SingleInstance::kRetryConnectMs, left / 2);
        if (left < SingleInstance::kRetryMs) break;
        answer = send(connectMs, left - connectMs);
    }
    return answer;
}

std::string HandOverAnswer(bool taken, std::string_view reason)
{
    std::string answer(taken ? kTaken : kRefused);
    if (!taken) answer += reason;
    answer += '\n';
    return answer;
}

HandOver ReadHandOverAnswer(std::string_view received)
{
    const std::size_t end = received.find('\n');
    if (end == std::string_view::npos) return {HandOver::Result::NoAnswer, {}};
    const std::string_view line = received.substr(0, end);
    if (line == kTaken) return {HandOver::Result::Taken, {}};
    if (line.substr(0, kRefused.size()) != kRefused) return {HandOver::Result::NoAnswer, {}};
    // The words go into a message box: printable characters only, and not
    // a book of them.
    std::string reason;
    for (const char c : line.substr(kRefused.size(), kMaxReasonBytes))
        reason += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
    return {HandOver::Result::Refused, reason};
}

SingleInstance::SingleInstance(const QString& key) : SingleInstance(key, UserRuntimeFolder()) {}

SingleInstance::SingleInstance(const QString& key, std::filesystem::path folder) : key_(key), folder_(std::move(folder))
{
    if (folder_.empty()) return;
    // The home keeps apart the instances of one user with several homes
    // (and the tests' own instances).
    const QByteArray h =
        QCryptographicHash::hash((key_ + QDir::homePath()).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    path_ = folder_ / ("orbiscope-" + h.toStdString());
}

SingleInstance::~SingleInstance()
{
    // The connections die with the server; none may call back into a half
    // destroyed object.  A sender whose line was not taken hears no answer,
    // and says its file was not opened; one whose "heard" comes now finds
    // the connection shut.  A server that served must have been through
    // Finish: a "heard" read here would queue a line that nobody handles.
    finished_ = true;
    while (!connections_.empty()) ShutAndClose(connections_.begin()->first);
    StopListening();
    ReleaseLock();
}

std::filesystem::path SingleInstance::LockPath() const
{
    return path_.empty() ? path_ : std::filesystem::path(path_.native() + ".lock");
}

SingleInstance::LockResult SingleInstance::TakeLock()
{
    // Held with flock on a descriptor kept open: the kernel lets it go when
    // its holder ends, however it ends, and the file it pins cannot come back
    // under the name as another one while it is held.
    const std::filesystem::path path = LockPath();
    constexpr int kTries = 3;
    for (int k = 0; k < kTries; ++k) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) return LockResult::CannotBeMade;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            ::close(fd);
            return held ? LockResult::HeldByAnother : LockResult::CannotBeMade;
        }
        // A holder that ended between this open and this lock removed the
        // file it held: the name is tried again.
        struct stat held {}, named {};
        if (::fstat(fd, &held) != 0 || ::lstat(path.c_str(), &named) != 0 || held.st_dev != named.st_dev ||
            held.st_ino != named.st_ino) {
            ::close(fd);
            continue;
        }
        // The lock names its holder; one that cannot even say that (a full
        // folder, a file-size limit) cannot be made here.
        const std::string holder = std::to_string(::getpid()) + "\n";
        if (!S_ISREG(held.st_mode) || ::ftruncate(fd, 0) != 0 ||
            ::pwrite(fd, holder.data(), holder.size(), 0) != ssize_t(holder.size())) {
            ::unlink(path.c_str());
            ::close(fd);
            return LockResult::CannotBeMade;
        }
        lock_ = fd;
        return LockResult::Held;
    }
    return LockResult::HeldByAnother;  // others are taking it right now
}

bool SingleInstance::HoldsLock() const
{
    struct stat held {}, named {};
    return lock_ >= 0 && ::fstat(lock_, &held) == 0 && ::lstat(LockPath().c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void SingleInstance::ReleaseLock()
{
    if (lock_ < 0) return;
    // Removed while it is still this instance's own, and before it is let
    // go: a start that opened it meanwhile finds the name gone once it has
    // the lock, and tries again.  Another instance's lock is left alone.
    if (HoldsLock()) ::unlink(LockPath().c_str());
    ::close(lock_);
    lock_ = -1;
}

InstanceRole SingleInstance::Claim()
{
    if (path_.empty()) return InstanceRole::Alone;
    // A live server is handed over to, and its lock is left alone, whatever
    // became of its file: a start that took it even to look would be, at
    // that moment, what the server's check of its files finds holding it.
    if (SocketServed(path_)) return InstanceRole::Later;
    switch (TakeLock()) {
    case LockResult::HeldByAnother: return InstanceRole::Later;
    // A full or read-only folder holds nobody: the program runs without the
    // hand-over.
    case LockResult::CannotBeMade: return InstanceRole::Alone;
    case LockResult::Held: break;
    }
    // A first instance whose lock file a cleaner removed may have begun to
    // serve again since the look: it is the one running, and it makes its
    // lock again.
    if (SocketServed(path_)) {
        ReleaseLock();
        return InstanceRole::Later;
    }
    checker_ = new QTimer(this);
    QObject::connect(checker_, &QTimer::timeout, this, [this] { CheckFiles(); });
    checker_->start(kCheckFilesMs);
    Listen();
    return InstanceRole::First;
}

void SingleInstance::CheckFiles()
{
    // A cleaner of old temporary files may have taken the lock, the socket
    // or the fallback folder whole; the folder is made again as it is looked
    // up, and each file after it.
    if (!checker_) return;  // no first instance, or one that has let go
    if (UserRuntimeFolder() != folder_) return;  // tried again on the next check
    if (!HoldsLock()) {
        ReleaseLock();
        lockedOut_ = TakeLock() == LockResult::HeldByAnother ? lockedOut_ + 1 : 0;
        if (lockedOut_ >= kChecksLockedOut) {
            // Another start became first meanwhile: it serves, and this one,
            // which runs on, no longer does.
            StopListening();
            return;
        }
    }
    // The listening socket pins its file, so a file with the same numbers
    // under the name is still this server's own.
    struct stat st {};
    if (listener_ >= 0 && ::lstat(path_.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_dev == socketDevice_ &&
        st.st_ino == socketInode_)
        return;
    StopListening();
    // A name left free while another holds the lock is that one's to take.
    if (lockedOut_ == 0) Listen();
}

void SingleInstance::Listen()
{
    // Only the lock holder gets here (or a program that no lock can be made
    // for).  A socket that another instance still serves is left to it: that
    // one stops serving once it finds the lock another's at checks in a row,
    // and the name is taken at a later check.  A name nobody answers on was
    // left by an instance that ended, or by this one's attempt that failed
    // half-way.
    if (UserRuntimeFolder() != folder_ || SocketServed(path_)) return;
    const SocketAddress address(path_);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    ::unlink(path_.c_str());
    struct stat st {};
    // Made in a folder only the user may enter, then closed to all but the
    // user whatever the mask, before anyone can connect.
    if (fd >= 0 && address.Valid() && ::bind(fd, address.Get(), address.Size()) == 0 &&
        ::chmod(path_.c_str(), 0600) == 0 && ::lstat(path_.c_str(), &st) == 0 && ::listen(fd, kBacklog) == 0) {
        listener_ = fd;
        socketDevice_ = st.st_dev;
        socketInode_ = st.st_ino;
        acceptor_ = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
        QObject::connect(acceptor_, &QSocketNotifier::activated, this, [this] { Accept(kAcceptsPerWake); });
        return;
    }
    if (fd >= 0) ::close(fd);
    ::unlink(path_.c_str());
}

void SingleInstance::StopListening()
{
    if (listener_ < 0) return;
    delete acceptor_;
    acceptor_ = nullptr;
    // Removed only while it is still this server's own: a name someone else
    // put there is theirs.
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0 && st.st_dev == socketDevice_ && st.st_ino == socketInode_)
        ::unlink(path_.c_str());
    ::close(listener_);
    listener_ = -1;
}

std::size_t SingleInstance::MaxConnections() const
{
    // Clients never take more than a quarter of the descriptors.
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kMaxConnections;
    return std::clamp<std::size_t>(std::size_t(limit.rlim_cur / 4), 1, kMaxConnections);
}

void SingleInstance::Accept(int most)
{
    for (int k = 0; k < most; ++k) {
        // The connection's own descriptor comes out of the spare ones.
        if (!DescriptorsFree(kSpareDescriptors + 1)) return PauseAccepting();
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            // Another user's line is never read, whatever the socket's mode.
            if (PeerIsUser(fd)) Adopt(fd);
            else ::close(fd);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return PauseAccepting();
        return;
    }
}

void SingleInstance::PauseAccepting()
{
    // The clients left wait in the backlog until there is room.
    acceptor_->setEnabled(false);
    QPointer<QSocketNotifier> acceptor(acceptor_);
    QTimer::singleShot(kAcceptPauseMs, this, [acceptor] {
        if (acceptor) acceptor->setEnabled(true);
    });
}

void SingleInstance::Adopt(int descriptor)
{
    // Full (and the open-file limit may have been lowered since the last
    // one): idle connections make room, the one longest without a line
    // first; then those longest silent since they were told "taken", which
    // a later start acknowledges at once.  A sender writes as soon as it is
    // connected, so a new one is never the idlest; one whose line waits for
    // the loop or its turn is not idle at all.
    std::vector<std::uint64_t> kept;
    while (connections_.size() >= MaxConnections()) {
        auto idlest = connections_.end();
        const auto rank = [](const Connection& c) {
            return c.state == LineState::None ? std::pair{0, c.lastLine} : std::pair{1, c.offered};
        };
        for (auto it = connections_.begin(); it != connections_.end(); ++it)
            if ((it->second.state == LineState::None || it->second.state == LineState::Offered) &&
                std::find(kept.begin(), kept.end(), it->first) == kept.end() &&
                (idlest == connections_.end() || rank(it->second) < rank(idlest->second)))
                idlest = it;
        if (idlest == connections_.end()) break;
        const std::uint64_t id = idlest->first;
        if (!CloseStalled(id)) kept.push_back(id);
    }
    if (connections_.size() >= MaxConnections()) {
        // Every sender held waits for its line: this one hears no answer.
        ::close(descriptor);
        return;
    }
    const std::uint64_t id = nextConnection_++;
    Connection& c = connections_[id];
    c.fd = descriptor;
    c.lastLine = ++activity_;
    c.reader = new QSocketNotifier(qintptr(descriptor), QSocketNotifier::Read, this);
    QObject::connect(c.reader, &QSocketNotifier::activated, this, [this, id] { Read(id, false); });
    c.idle = new QTimer(this);
    c.idle->setSingleShot(true);
    QObject::connect(c.idle, &QTimer::timeout, this, [this, id] { CloseStalled(id); });
    c.idle->start(idleMs_);
    // A sender writes its line as soon as it is connected: it may already
    // be waiting.
    Read(id, false);
}

bool SingleInstance::Read(std::uint64_t id, bool drain)
{
    auto it = connections_.find(id);
    if (it == connections_.end()) return false;
    std::vector<std::string> lines;
    bool hungUp = false;
    char buffer[16384];
    for (std::size_t read = 0; drain || read < kReadPerTurn;) {
        const ssize_t n = ::recv(it->second.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            it->second.lines.Feed(std::string_view(buffer, std::size_t(n)), lines);
            read += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        hungUp = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    if (hungUp) it->second.lines.Finish(lines);
    if (!lines.empty()) it->second.lastLine = ++activity_;
    for (std::string& line : lines) Take(id, std::move(line));
    // A sender that hung up no longer waits: a line of it not yet
    // acknowledged goes with the connection.
    if (hungUp) Drop(id);
    return !hungUp;
}

void SingleInstance::Take(std::uint64_t id, std::string&& line)
{
    Connection& c = connections_.at(id);
    if (c.state == LineState::Offered && line == kHandOverAcknowledgement) {
        // Its sender heard "taken" and ends well: the line is handled,
        // whatever becomes of the connection now.
        c.state = LineState::Queued;
        c.idle->start(idleMs_);
        pending_.push_back(Line{id, std::exchange(c.line, {})});
        ScheduleHandling(0);
        return;
    }
    // Read for the last time before it is closed: the sender of anything
    // else hears no answer.
    if (c.closing) return;
    // Lines wait unbounded but for memory's sake while they can be handled
    // soon; behind a box or dialog only a few do, since each may raise a box
    // of its own once that one is answered.
    std::string_view refusal;
    if (ending_) refusal = kRefusedClosing;
    else if (c.boxed) refusal = kRefusedAnswered;
    else if (c.state != LineState::None) refusal = kRefusedOneAtATime;
    else if (WaitingLines() >= (Blocked() ? kMaxWaitingLines : kMaxQueuedLines)) refusal = kRefusedBusy;
    if (!refusal.empty()) {
        // A sender that talks is not idle; but one told "taken" has only so
        // long to acknowledge it, whatever else it sends.
        if (c.state != LineState::Offered) c.idle->start(idleMs_);
        Answer(c.fd, false, refusal);
        return;
    }
    c.line = QByteArray(line.data(), qsizetype(line.size()));
    c.state = LineState::Unanswered;
    if (serving_) Offer(c);
    else c.idle->stop();  // its sender waits for the loop, or gives up and hangs up
}

void SingleInstance::Offer(Connection& c)
{
    c.state = LineState::Offered;
    c.offered = ++activity_;
    c.idle->start(idleMs_);
    Answer(c.fd, true);
}

bool SingleInstance::CloseStalled(std::uint64_t id)
{
    // What the sender wrote before it is closed still counts: a line it
    // completed, or its acknowledgement of "taken", makes it no stalled
    // connection.
    const LineState before = connections_.at(id).state;
    if (!Read(id, false)) return true;
    if (connections_.at(id).state != before) return false;
    ShutAndClose(id);
    return true;
}

void SingleInstance::ShutAndClose(std::uint64_t id)
{
    // From here on the system refuses what the sender writes, so the rest is
    // read to its end; only an acknowledgement of a "taken" already said
    // counts now, and its line is queued.
    Connection& c = connections_.at(id);
    ::shutdown(c.fd, SHUT_RD);
    c.closing = true;
    if (Read(id, true)) Drop(id);
}

void SingleInstance::Drop(std::uint64_t id)
{
    const auto it = connections_.find(id);
    if (it == connections_.end()) return;
    // Called from the connection's own notifier and timer: they go once
    // their signal has returned.
    it->second.reader->setEnabled(false);
    QObject::disconnect(it->second.reader, nullptr, this, nullptr);
    it->second.reader->deleteLater();
    it->second.idle->stop();
    QObject::disconnect(it->second.idle, nullptr, this, nullptr);
    it->second.idle->deleteLater();
    ::close(it->second.fd);
    connections_.erase(it);
}

bool SingleInstance::Blocked() const
{
    // Before the program's own loop runs, start-up may show a box or pump
    // events of its own: whatever it does, lines wait behind it.
    return !serving_ || handling_ || QThread::currentThread()->loopLevel() > kHandlingLoopLevel;
}

std::size_t SingleInstance::WaitingLines() const
{
    std::size_t n = pending_.size();
    for (const auto& entry : connections_)
        n += entry.second.state == LineState::Unanswered || entry.second.state == LineState::Offered;
    return n;
}

void SingleInstance::StartServing()
{
    if (finished_) return;
    serving_ = true;
    // The senders of lines read before the loop ran hear "taken" now; one
    // that stopped waiting has hung up, and never acknowledges it.  A print
    // start has begun its end by now, and refused them.
    for (auto& entry : connections_)
        if (entry.second.state == LineState::Unanswered) Offer(entry.second);
    if (!pending_.empty()) ScheduleHandling(0);
}

void SingleInstance::BeginEnding()
{
    if (ending_) return;
    ending_ = true;
    for (auto& [id, c] : connections_) {
        if (c.state != LineState::Unanswered) continue;
        c.state = LineState::None;
        c.line.clear();
        c.idle->start(idleMs_);
        Answer(c.fd, false, kRefusedClosing);
    }
}

void SingleInstance::CancelEnding()
{
    if (finished_) return;
    ending_ = false;
    if (serving_ && !pending_.empty()) ScheduleHandling(0);
}

bool SingleInstance::Finish(bool loopHasEnded)
{
    if (finished_) return true;
    BeginEnding();
    // The senders that came since the loop last looked are refused as
    // closing, as they would have been had it read them; the last reads then
    // queue a line whose "heard" came before the shut.
    if (listener_ >= 0) Accept(kBacklog);
    while (!connections_.empty()) ShutAndClose(connections_.begin()->first);
    // Lines told "taken" before the end began would be handled into a program
    // that is going: the end is called off for them, and the server serves on.
    if (!pending_.empty() && !loopHasEnded) return false;
    finished_ = true;
    // With the loop over nothing can be called off: what was taken is
    // handled before the program goes.  A handler that runs now handles the
    // rest itself when it returns.
    QPointer<SingleInstance> alive(this);
    while (alive && !pending_.empty() && !handling_) HandleFirst();
    return true;
}

void SingleInstance::LetGo()
{
    if (lock_ < 0 && listener_ < 0) return;
    finished_ = true;
    BeginEnding();
    delete checker_;
    checker_ = nullptr;
    if (listener_ >= 0) {
        // No new sender gets in (its connect is refused, and it tries again);
        // the ones that came while the program wrote its last files are
        // refused as closing.
        ::shutdown(listener_, SHUT_RD);
        Accept(std::numeric_limits<int>::max());
    }
    while (!connections_.empty()) ShutAndClose(connections_.begin()->first);
    // A start from now on may become the first instance itself.
    StopListening();
    ReleaseLock();
}

void SingleInstance::ScheduleHandling(int delayMs)
{
    if (scheduled_) return;
    scheduled_ = true;
    QTimer::singleShot(delayMs, this, [this] {
        scheduled_ = false;
        HandleNext();
    });
}

void SingleInstance::HandleNext()
{
    // Not before the program's own loop runs (StartServing), and never while
    // the running handler waits in a box of its own: it goes on when that
    // is answered.
    if (!serving_ || handling_) return;
    QPointer<SingleInstance> alive(this);
    while (!pending_.empty()) {
        // A modal loop is open: try again shortly, until it has ended.
        constexpr int kRetryWhileModalMs = 50;
        if (QThread::currentThread()->loopLevel() > kHandlingLoopLevel) {
            ScheduleHandling(kRetryWhileModalMs);
            return;
        }
        HandleFirst();
        if (!alive) return;
    }
}

void SingleInstance::HandleFirst()
{
    const Line line = pending_.front();
    pending_.pop_front();
    QPointer<SingleInstance> alive(this);
    const unsigned long boxesBefore = MessageBoxesAsked();
    handling_ = true;
    if (handler_) handler_(line.text);
    if (!alive) return;
    handling_ = false;
    if (const auto it = connections_.find(line.connection); it != connections_.end()) {
        it->second.state = LineState::None;
        if (MessageBoxesAsked() != boxesBefore) it->second.boxed = true;
    }
}

HandOver SingleInstance::SendToPrimary(std::string_view line, int connectMs, int answerMs) const
{
    if (path_.empty()) return {};
    const Clock::time_point connectBy = Clock::now() + std::chrono::milliseconds(connectMs);
    std::string message(line);
    message += '\n';
    for (;;) {
        if (const int fd = ConnectToOwnSocket(path_); fd >= 0) {
            const HandOver answer = Exchange(fd, message, Clock::now() + std::chrono::milliseconds(answerMs));
            ::close(fd);
            return answer;
        }
        const int left = MillisecondsLeft(connectBy);
        if (left == 0) return {};
        ::usleep(useconds_t(std::min(left, kConnectRetryMs)) * 1000);
    }
}

}  // namespace platform
