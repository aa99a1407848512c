// Registry stand-in (an ini file through QSettings), profile structures,
// the recent-files list and the single-instance rule.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/socket_lines.h"

class QLockFile;
class QLocalSocket;
class QSocketNotifier;
class QTimer;

namespace platform {

// ---- registry ----------------------------------------------------------------
// Keys are written as the system names them ("Software\Orbiscope\MRU"); the
// default value of a key is the value name "" (stored as "(Default)").
// The file lives in the user's configuration folder (test mode respected)
// unless a folder is set.
class Registry {
public:
    static void SetFolder(const std::filesystem::path& folder);  // empty: the default
    static std::filesystem::path FilePath();

    static std::optional<std::string> ReadString(const std::string& key, const std::string& valueName);
    static bool WriteString(const std::string& key, const std::string& valueName, const std::string& value);
    static bool DeleteValue(const std::string& key, const std::string& valueName);
    static bool DeleteKey(const std::string& key);  // with all its sub-keys
};

// ---- recent files ------------------------------------------------------------
// A most-recently-used list kept in the registry under one key ("File1" is
// the newest).  The paths are kept whole; their menu texts are shortened to a
// maximum length in the middle, so that the file name stays in sight.
class RecentFiles {
public:
    RecentFiles(std::string registryKey, int maxEntries, int maxTextLength);

    void Add(const std::string& fileName);  // moves an existing entry to the top
    const std::vector<std::string>& Files() const { return files_; }
    std::string MenuText(int index) const;   // the shortened text of entry index (0 = newest)
    void Load();
    void Store() const;

private:
    std::string key_;
    int maxEntries_;
    int maxTextLength_;
    std::vector<std::string> files_;
};

// The path in at most maxLength characters: the leading folders, "...", and
// the file name with its slash; a name too long for that keeps its end.
std::string ShortenPath(const std::string& path, std::size_t maxLength);

// ---- single instance ---------------------------------------------------------
// A lock file named from a key, plus a local socket server owned by the lock
// holder.  A later start sends a message over the socket and is told to exit.
//
// Reading and handling are kept apart.  A connection's bytes are only cut
// into lines (LineAssembler: a line too long is passed on once, cut, never
// split into two); the connection is freed when its sender hangs up.  The
// lines wait in a queue and are handled one at a time from the program's own
// event loop: never while a handler still runs, and never from inside a
// nested loop (an open message box or dialog), where the handler's own boxes
// would run the loop again.  They wait until that loop has ended.
//
// The server listens for as long as the lock is held, whatever its clients
// do.  It accepts with its own descriptor rather than QLocalServer's, which
// closes the server and removes its socket file when one accept fails (no
// descriptor left): here a failed accept leaves the client waiting in the
// backlog and pauses accepting a moment.  Connections held open are bounded
// and closed when idle, and lines that arrive while a box raised by a socket
// line is up are refused, so that no client can pile up boxes.
class SingleInstance : public QObject {
public:
    explicit SingleInstance(const QString& key);
    ~SingleInstance() override;

    // True for the first instance (lock held, server listening).
    bool TryBecomePrimary();
    // From a second instance: sends the message to the first one.  A first
    // instance that has its lock but no socket yet is given the time too.
    bool SendToPrimary(const QByteArray& message, int timeoutMs = 2000);
    // Called in the first instance for each line received.
    void SetMessageHandler(std::function<void(const QByteArray&)> handler) { handler_ = std::move(handler); }
    // Lines are read and queued from the start, but handled only once this
    // has been called from the program's own loop.
    void StartServing();
    QString ServerName() const;
    // The socket file the name stands for.
    QString ServerPath() const;
    // How long a connection may go without a complete line before it is closed.
    void SetIdleTimeout(int ms) { idleMs_ = ms; }
    // The most connections held at once here: kMaxConnections, fewer under a
    // low open-file limit, so that the rest of the program keeps descriptors.
    std::size_t MaxConnections() const { return maxConnections_; }

    // The deepest event loop that may handle lines: the program's own loop
    // (level 1); a modal box or dialog runs one level deeper.
    static constexpr int kHandlingLoopLevel = 1;
    // The most lines one connection may have waiting to be handled.
    static constexpr std::size_t kMaxQueuedLines = 16;
    // The most connections ever held at once.
    static constexpr std::size_t kMaxConnections = 64;
    // The most lines waiting from all connections together.
    static constexpr std::size_t kMaxWaitingLines = kMaxConnections * kMaxQueuedLines;
    // A sender writes its line as soon as it is connected and hangs up.
    static constexpr int kIdleTimeoutMs = 5000;

private:
    void Listen();
    void Accept();
    void Adopt(int descriptor);
    void Read(QLocalSocket* socket, bool hungUp);
    void Close(QLocalSocket* socket);
    void ScheduleHandling(int delayMs);
    void HandleNext();
    bool SocketBoxUp() const;

    // A connection's lines, by a number of its own: they outlive the socket
    // of a sender that hangs up at once.
    struct Connection {
        LineAssembler lines;
        std::uint64_t id = 0;
        std::uint64_t lastLine = 0;  // accept order, renewed by each complete line
        QTimer* idle = nullptr;      // owned by the socket
    };
    struct Queue {
        std::size_t waiting = 0;   // lines in pending_
        bool answered = false;     // one of its lines raised a box: the rest are refused
        bool open = true;          // the socket is still there
    };
    struct Line {
        std::uint64_t connection;
        QByteArray text;
    };
    void Forget(std::uint64_t connection);

    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QByteArray path_;                  // the socket file, named once the lock is held
    int listener_ = -1;
    QSocketNotifier* acceptor_ = nullptr;
    std::function<void(const QByteArray&)> handler_;
    std::map<QLocalSocket*, Connection> connections_;
    std::map<std::uint64_t, Queue> queues_;
    std::uint64_t nextConnection_ = 1;
    std::uint64_t activity_ = 0;
    std::deque<Line> pending_;
    bool serving_ = false;
    bool handling_ = false;
    unsigned long boxesBeforeHandler_ = 0;
    bool scheduled_ = false;
    int idleMs_ = kIdleTimeoutMs;
    std::size_t maxConnections_ = kMaxConnections;
};

}  // namespace platform
