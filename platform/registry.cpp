#include "platform/registry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QSettings>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/messagebox.h"
#include "platform/services.h"

namespace platform {

// ---- registry ----------------------------------------------------------------
namespace {
std::filesystem::path& RegistryFolder()
{
    static std::filesystem::path folder;
    return folder;
}

QString GroupOf(const std::string& key)
{
    QString k = QString::fromStdString(key);
    k.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return k;
}

QString ValueKey(const std::string& key, const std::string& valueName)
{
    return GroupOf(key) + QLatin1Char('/') +
           (valueName.empty() ? QStringLiteral("(Default)") : QString::fromStdString(valueName));
}

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QString::fromStdString(Registry::FilePath().string()),
                                       QSettings::IniFormat);
}
}  // namespace

void Registry::SetFolder(const std::filesystem::path& folder) { RegistryFolder() = folder; }

std::filesystem::path Registry::FilePath()
{
    std::filesystem::path folder = RegistryFolder();
    if (folder.empty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
        folder /= "Orbiscope";
    }
    return folder / "registry.ini";
}

std::optional<std::string> Registry::ReadString(const std::string& key, const std::string& valueName)
{
    auto s = OpenSettings();
    const QVariant v = s->value(ValueKey(key, valueName));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toLatin1().toStdString();
}

bool Registry::WriteString(const std::string& key, const std::string& valueName, const std::string& value)
{
    std::error_code ec;
    std::filesystem::create_directories(FilePath().parent_path(), ec);
    auto s = OpenSettings();
    s->setValue(ValueKey(key, valueName), QString::fromLatin1(value.data(), int(value.size())));
    s->sync();
    return s->status() == QSettings::NoError;
}

bool Registry::DeleteValue(const std::string& key, const std::string& valueName)
{
    auto s = OpenSettings();
    s->remove(ValueKey(key, valueName));
    s->sync();
    return s->status() == QSettings::NoError;
}

bool Registry::DeleteKey(const std::string& key)
{
    auto s = OpenSettings();
    s->remove(GroupOf(key));
    s->sync();
    return s->status() == QSettings::NoError;
}

// ---- recent files ------------------------------------------------------------
RecentFiles::RecentFiles(std::string registryKey, int maxEntries, int maxTextLength)
    : key_(std::move(registryKey)), maxEntries_(maxEntries), maxTextLength_(maxTextLength)
{
}

void RecentFiles::Add(const std::string& fileName)
{
    if (fileName.empty()) return;
    std::erase(files_, fileName);
    files_.insert(files_.begin(), fileName);
    if (int(files_.size()) > maxEntries_) files_.resize(std::size_t(maxEntries_));
    Store();
}

std::string RecentFiles::MenuText(int index) const
{
    if (index < 0 || index >= int(files_.size())) return {};
    return ShortenPath(files_[std::size_t(index)], std::size_t(std::max(0, maxTextLength_)));
}

std::string ShortenPath(const std::string& path, std::size_t maxLength)
{
    static constexpr std::string_view kEllipsis = "...";
    if (path.size() <= maxLength) return path;
    if (maxLength <= kEllipsis.size()) return path.substr(path.size() - maxLength);
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash);
    const std::size_t room = maxLength - kEllipsis.size();
    if (name.size() >= room || slash == std::string::npos) return std::string(kEllipsis) + path.substr(path.size() - room);
    return path.substr(0, room - name.size()) + std::string(kEllipsis) + name;
}

void RecentFiles::Load()
{
    files_.clear();
    for (int i = 1; i <= maxEntries_; ++i) {
        auto v = Registry::ReadString(key_, "File" + std::to_string(i));
        if (v && !v->empty()) files_.push_back(*v);
    }
}

void RecentFiles::Store() const
{
    for (int i = 1; i <= maxEntries_; ++i) {
        const std::string name = "File" + std::to_string(i);
        if (i <= int(files_.size())) Registry::WriteString(key_, name, files_[std::size_t(i - 1)]);
        else Registry::DeleteValue(key_, name);
    }
}

// ---- single instance ---------------------------------------------------------
namespace {
// Where the lock lives: the user's session folder.
QString LockFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir;
}

// After a failed accept (no descriptor or memory left) the listener stays
// readable: accepting pauses this long, so that a full descriptor table does
// not keep the program busy.  A socket that could not be made at all is
// tried again after the longer pause.
constexpr int kAcceptPauseMs = 200;
constexpr int kListenRetryMs = 1000;
// Clients taken per wake-up; the rest get the next turn of the loop, after
// the lines already read have had theirs.
constexpr int kAcceptsPerWake = 4;
// The backlog QLocalServer uses.
constexpr int kBacklog = 50;
}  // namespace

SingleInstance::SingleInstance(const QString& key) : key_(key) {}

SingleInstance::~SingleInstance()
{
    // The connections die with the server; none may call back into a half
    // destroyed object.
    for (const auto& entry : connections_) {
        entry.second.idle->stop();
        QObject::disconnect(entry.first, nullptr, this, nullptr);
    }
    connections_.clear();
    delete acceptor_;
    acceptor_ = nullptr;
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(path_.constData());  // ours: the lock is still held
    }
}

QString SingleInstance::ServerName() const
{
    // Socket names must be short and plain.  The user's home keeps users
    // apart; the lock's folder ties the socket to its lock, so that only
    // the lock holder of the same session is reached.
    const QByteArray h =
        QCryptographicHash::hash((key_ + QDir::homePath() + LockFolder()).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("orbiscope-") + QString::fromLatin1(h.toHex().left(16));
}

// Where QLocalSocket looks for a plain name.
QString SingleInstance::ServerPath() const { return QDir::tempPath() + QLatin1Char('/') + ServerName(); }

bool SingleInstance::TryBecomePrimary()
{
    lock_ = std::make_unique<QLockFile>(LockFolder() + QLatin1Char('/') + ServerName() + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(100)) {
        lock_.reset();
        return false;
    }
    // Named once: with no descriptor left, even the name's folders could not
    // be looked up again.
    path_ = QFile::encodeName(ServerPath());
    // Clients never take more than a quarter of the descriptors.
    if (rlimit limit{}; ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        maxConnections_ = std::clamp<std::size_t>(std::size_t(limit.rlim_cur / 4), 1, kMaxConnections);
    Listen();
    return true;
}

void SingleInstance::Listen()
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (std::size_t(path_.size()) >= sizeof address.sun_path) return;  // can never be bound
    std::memcpy(address.sun_path, path_.constData(), std::size_t(path_.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // Only the lock holder gets here: it clears a socket left by a crashed
    // first instance, or by its own attempt that failed half-way.
    ::unlink(path_.constData());
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::listen(fd, kBacklog) == 0) {
        listener_ = fd;
        acceptor_ = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
        QObject::connect(acceptor_, &QSocketNotifier::activated, this, [this] { Accept(); });
        return;
    }
    if (fd >= 0) ::close(fd);
    QTimer::singleShot(kListenRetryMs, this, [this] { Listen(); });
}

void SingleInstance::Accept()
{
    for (int k = 0; k < kAcceptsPerWake; ++k) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            Adopt(fd);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return;
        // The client stays in the backlog until there is room.
        acceptor_->setEnabled(false);
        QTimer::singleShot(kAcceptPauseMs, this, [this] { acceptor_->setEnabled(true); });
        return;
    }
}

void SingleInstance::Adopt(int descriptor)
{
    auto* socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(descriptor, QLocalSocket::ConnectedState, QIODevice::ReadWrite)) {
        ::close(descriptor);
        delete socket;
        return;
    }
    // Full: the connection longest without a line makes room.  A sender
    // writes as soon as it is connected, so a new one is never the idlest.
    if (connections_.size() >= maxConnections_) {
        const auto idlest = std::min_element(connections_.begin(), connections_.end(), [](const auto& a, const auto& b) {
            return a.second.lastLine < b.second.lastLine;
        });
        Close(idlest->first);
    }
    const std::uint64_t id = nextConnection_++;
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    QObject::connect(idle, &QTimer::timeout, this, [this, socket] { Close(socket); });
    idle->start(idleMs_);
    connections_.emplace(socket, Connection{LineAssembler(), id, ++activity_, idle});
    queues_.emplace(id, Queue{});
    QObject::connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket, false); });
    QObject::connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Read(socket, true); });
    // A sender writes its line and hangs up at once: what it wrote may
    // already be waiting, and must still be read when it has gone.
    Read(socket, socket->state() == QLocalSocket::UnconnectedState);
}

bool SingleInstance::SocketBoxUp() const
{
    // The running handler raised a box, which may still be up.
    return handling_ && MessageBoxesAsked() != boxesBeforeHandler_;
}

void SingleInstance::Read(QLocalSocket* socket, bool hungUp)
{
    const auto it = connections_.find(socket);
    if (it == connections_.end()) return;  // already finished
    const std::uint64_t id = it->second.id;
    std::vector<std::string> lines;
    const QByteArray bytes = socket->readAll();
    it->second.lines.Feed(std::string_view(bytes.constData(), std::size_t(bytes.size())), lines);
    if (hungUp) {
        it->second.lines.Finish(lines);
        it->second.idle->stop();
        connections_.erase(it);
        socket->deleteLater();
    } else if (!lines.empty()) {
        it->second.lastLine = ++activity_;
        it->second.idle->start(idleMs_);
    }
    Queue& queue = queues_[id];
    // While a socket line's box is up, what arrives is refused: shown after
    // it, one box would follow another for as long as clients send.
    const bool refused = SocketBoxUp();
    bool queued = false;
    for (const std::string& line : lines) {
        // A connection that got its box, or already has its fill waiting,
        // is refused what it sends on.
        if (refused || queue.answered || queue.waiting >= kMaxQueuedLines || pending_.size() >= kMaxWaitingLines)
            continue;
        pending_.push_back(Line{id, QByteArray(line.data(), qsizetype(line.size()))});
        ++queue.waiting;
        queued = true;
    }
    if (hungUp) {
        queue.open = false;
        Forget(id);
    }
    if (queued) ScheduleHandling(0);
}

void SingleInstance::Close(QLocalSocket* socket)
{
    // What came whole still counts; a line left unfinished is dropped.
    Read(socket, false);
    const auto it = connections_.find(socket);
    if (it == connections_.end()) return;
    const std::uint64_t id = it->second.id;
    it->second.idle->stop();
    connections_.erase(it);
    QObject::disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    socket->deleteLater();
    queues_[id].open = false;
    Forget(id);
}

void SingleInstance::Forget(std::uint64_t connection)
{
    const auto it = queues_.find(connection);
    if (it != queues_.end() && !it->second.open && it->second.waiting == 0) queues_.erase(it);
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
    // the running handler waits in a box of its own: it schedules the next.
    if (!serving_ || handling_ || pending_.empty()) return;
    // A modal loop is open: try again shortly, until it has ended.
    constexpr int kRetryWhileModalMs = 50;
    if (QThread::currentThread()->loopLevel() > kHandlingLoopLevel) {
        ScheduleHandling(kRetryWhileModalMs);
        return;
    }
    const Line line = pending_.front();
    pending_.pop_front();
    // The line counts as waiting until it has been handled, so that its
    // connection's entry stays while the handler runs.
    if (!queues_[line.connection].answered) {
        boxesBeforeHandler_ = MessageBoxesAsked();
        QPointer<SingleInstance> alive(this);
        handling_ = true;
        if (handler_) handler_(line.text);
        if (!alive) return;
        handling_ = false;
        if (MessageBoxesAsked() != boxesBeforeHandler_) queues_[line.connection].answered = true;
    }
    --queues_[line.connection].waiting;
    Forget(line.connection);
    if (!pending_.empty()) ScheduleHandling(0);
}

bool SingleInstance::SendToPrimary(const QByteArray& message, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    QLocalSocket socket;
    // A first instance that has just taken its lock may not listen yet.
    constexpr int kRetryMs = 50;
    for (;;) {
        socket.connectToServer(ServerName());
        if (socket.waitForConnected(int(std::max<qint64>(0, timeoutMs - waited.elapsed())))) break;
        if (waited.elapsed() >= timeoutMs) return false;
        socket.abort();
        QThread::msleep(kRetryMs);
    }
    socket.write(message + '\n');
    const bool ok = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return ok;
}

}  // namespace platform
