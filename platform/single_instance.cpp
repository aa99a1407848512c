#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <poll.h>
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
// program busy.  A socket that could not be made at all is tried again after
// the longer pause.
constexpr int kAcceptPauseMs = 200;
constexpr int kListenRetryMs = 1000;
// Clients taken per wake-up; the rest get the next turn of the loop, after
// the lines already read have had theirs.
constexpr int kAcceptsPerWake = 4;
// Bytes read from one connection per turn of the loop.
constexpr std::size_t kReadPerTurn = 64 * 1024;
constexpr int kBacklog = 50;
// A later start looks for a first instance that is not listening yet this often.
constexpr int kConnectRetryMs = 20;

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
    return ReadHandOverAnswer(received);
}

}  // namespace

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

SingleInstance::SingleInstance(const QString& key) : key_(key), folder_(UserRuntimeFolder())
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
    // destroyed object.
    while (!connections_.empty()) Drop(connections_.begin()->first);
    StopListening();
}

std::filesystem::path SingleInstance::LockPath() const
{
    return path_.empty() ? path_ : std::filesystem::path(path_.native() + ".lock");
}

InstanceRole SingleInstance::Claim()
{
    if (path_.empty()) return InstanceRole::Alone;
    lock_ = std::make_unique<QLockFile>(QFile::decodeName(LockPath().c_str()));
    lock_->setStaleLockTime(0);
    bool locked = lock_->tryLock(0);
    // A lock that names no holder was left by a start that died while
    // writing it (power lost, a file-size limit): it holds nobody, once it
    // is old enough not to be one that another start is writing right now.
    if (!locked && lock_->error() == QLockFile::LockFailedError && !lock_->getLockInfo(nullptr, nullptr, nullptr)) {
        struct stat st {};
        constexpr time_t kWritingSeconds = 5;
        if (::stat(LockPath().c_str(), &st) == 0 && st.st_mtime + kWritingSeconds < ::time(nullptr) &&
            lock_->removeStaleLockFile())
            locked = lock_->tryLock(0);
    }
    if (!locked) {
        // Held by another instance is the only reason to hand over; a lock
        // that cannot be written (a full or read-only folder) holds nobody.
        const bool held = lock_->error() == QLockFile::LockFailedError;
        lock_.reset();
        return held ? InstanceRole::Later : InstanceRole::Alone;
    }
    checker_ = new QTimer(this);
    QObject::connect(checker_, &QTimer::timeout, this, [this] { CheckSocketFile(); });
    checker_->start(kCheckSocketMs);
    Listen();
    return InstanceRole::First;
}

void SingleInstance::Listen()
{
    // The folder is looked up again: a fallback folder that a cleaner
    // removed is made again.
    if (UserRuntimeFolder() != folder_) return;  // tried again on the next check
    const SocketAddress address(path_);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // Only the lock holder gets here: it clears a socket left by a crashed
    // first instance, or by its own attempt that failed half-way.
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
        QObject::connect(acceptor_, &QSocketNotifier::activated, this, [this] { Accept(); });
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
    // Removed only while it is still this server's own: the lock is held,
    // but a name someone else put there is theirs.
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0 && st.st_dev == socketDevice_ && st.st_ino == socketInode_)
        ::unlink(path_.c_str());
    ::close(listener_);
    listener_ = -1;
}

void SingleInstance::CheckSocketFile()
{
    // A temporary-folder cleaner or a user's rm took the socket file (or
    // the socket could not be made yet): listen again under the name.
    struct stat st {};
    if (listener_ >= 0 && ::lstat(path_.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_dev == socketDevice_ &&
        st.st_ino == socketInode_)
        return;
    StopListening();
    Listen();
}

std::size_t SingleInstance::MaxConnections() const
{
    // Clients never take more than a quarter of the descriptors.
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kMaxConnections;
    return std::clamp<std::size_t>(std::size_t(limit.rlim_cur / 4), 1, kMaxConnections);
}

void SingleInstance::Accept()
{
    for (int k = 0; k < kAcceptsPerWake; ++k) {
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
    // Full: the connection longest without a line makes room.  A sender
    // writes as soon as it is connected, so a new one is never the idlest.
    if (connections_.size() >= MaxConnections()) {
        const auto idlest = std::min_element(connections_.begin(), connections_.end(), [](const auto& a, const auto& b) {
            return a.second.lastLine < b.second.lastLine;
        });
        Close(idlest->first);
    }
    const std::uint64_t id = nextConnection_++;
    Connection& c = connections_[id];
    c.fd = descriptor;
    c.lastLine = ++activity_;
    c.reader = new QSocketNotifier(qintptr(descriptor), QSocketNotifier::Read, this);
    QObject::connect(c.reader, &QSocketNotifier::activated, this, [this, id] { Read(id, false); });
    c.idle = new QTimer(this);
    c.idle->setSingleShot(true);
    QObject::connect(c.idle, &QTimer::timeout, this, [this, id] { Close(id); });
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
    if (!lines.empty()) {
        it->second.lastLine = ++activity_;
        it->second.idle->start(idleMs_);
    }
    // Each line is answered before the connection can go, so a sender that
    // waits for its answer gets it.
    for (std::string& line : lines) Take(id, std::move(line));
    if (hungUp) Drop(id);
    return !hungUp;
}

void SingleInstance::Take(std::uint64_t id, std::string&& line)
{
    Connection& c = connections_.at(id);
    // Lines wait unbounded but for memory's sake while they can be handled
    // at the loop's next turn; behind a box or dialog only a few do, since
    // each may raise a box of its own once that one is answered.
    const bool blocked = handling_ || QThread::currentThread()->loopLevel() > kHandlingLoopLevel;
    std::string_view refusal;
    if (c.boxed) refusal = kRefusedAnswered;
    else if (c.waiting) refusal = kRefusedOneAtATime;
    else if (pending_.size() >= (blocked ? kMaxWaitingLines : kMaxQueuedLines)) refusal = kRefusedBusy;
    if (!refusal.empty()) {
        Answer(c.fd, false, refusal);
        return;
    }
    pending_.push_back(Line{id, QByteArray(line.data(), qsizetype(line.size()))});
    c.waiting = true;
    Answer(c.fd, true);
    ScheduleHandling(0);
}

void SingleInstance::Close(std::uint64_t id)
{
    // What the sender wrote before it is closed still counts: the lines it
    // completed are read from the socket and answered; only a line left
    // unfinished is dropped.
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

void SingleInstance::StartServing()
{
    serving_ = true;
    if (!pending_.empty()) ScheduleHandling(0);
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
        const Line line = pending_.front();
        pending_.pop_front();
        const unsigned long boxesBefore = MessageBoxesAsked();
        handling_ = true;
        if (handler_) handler_(line.text);
        if (!alive) return;
        handling_ = false;
        if (const auto it = connections_.find(line.connection); it != connections_.end()) {
            it->second.waiting = false;
            if (MessageBoxesAsked() != boxesBefore) it->second.boxed = true;
        }
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
