#include "platform/registry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QSettings>
#include <QStandardPaths>
#include <cstring>

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
SingleInstance::SingleInstance(const QString& key) : key_(key) {}

SingleInstance::~SingleInstance()
{
    // The connections die with the server; none may call back into a half
    // destroyed object.
    for (const auto& entry : connections_) QObject::disconnect(entry.first, nullptr, this, nullptr);
    connections_.clear();
    if (server_) server_->close();
    delete server_;
    server_ = nullptr;
}

namespace {
// Where the lock lives: the user's session folder.
QString LockFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir;
}
}  // namespace

QString SingleInstance::ServerName() const
{
    // Socket names must be short and plain.  The user's home keeps users
    // apart; the lock's folder ties the socket to its lock, so that only
    // the lock holder of the same session is reached.
    const QByteArray h =
        QCryptographicHash::hash((key_ + QDir::homePath() + LockFolder()).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("orbiscope-") + QString::fromLatin1(h.toHex().left(16));
}

bool SingleInstance::TryBecomePrimary()
{
    lock_ = std::make_unique<QLockFile>(LockFolder() + QLatin1Char('/') + ServerName() + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(100)) {
        lock_.reset();
        return false;
    }
    // Only the lock holder may clear a socket left by a crashed first instance.
    QLocalServer::removeServer(ServerName());
    server_ = new QLocalServer(this);
    QObject::connect(server_, &QLocalServer::newConnection, this, [this] { Accept(); });
    server_->listen(ServerName());
    return true;
}

void SingleInstance::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        const std::uint64_t id = nextConnection_++;
        connections_.emplace(socket, Connection{LineAssembler(), id});
        queues_.emplace(id, Queue{});
        QObject::connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket, false); });
        QObject::connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Read(socket, true); });
        // A sender writes its line and hangs up at once: what it wrote may
        // already be waiting, and must still be read when it has gone.
        Read(socket, socket->state() == QLocalSocket::UnconnectedState);
    }
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
        connections_.erase(it);
        socket->deleteLater();
    }
    Queue& queue = queues_[id];
    bool queued = false;
    for (const std::string& line : lines) {
        // A connection that got its box, or already has its fill waiting,
        // is refused what it sends on.
        if (queue.answered || queue.waiting >= kMaxQueuedLines) continue;
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
        const unsigned long boxesBefore = MessageBoxesAsked();
        QPointer<SingleInstance> alive(this);
        handling_ = true;
        if (handler_) handler_(line.text);
        if (!alive) return;
        handling_ = false;
        if (MessageBoxesAsked() != boxesBefore) queues_[line.connection].answered = true;
    }
    --queues_[line.connection].waiting;
    Forget(line.connection);
    if (!pending_.empty()) ScheduleHandling(0);
}

bool SingleInstance::SendToPrimary(const QByteArray& message, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(message + '\n');
    const bool ok = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return ok;
}

}  // namespace platform
