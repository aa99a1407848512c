#include "platform/settings_lock.h"

#include <QByteArray>
#include <QString>
#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"

namespace platform {

namespace {

// A lock is a few short lines; anything longer is not one to judge.
constexpr std::size_t kMaxLockBytes = 4096;

// The file name of the program a process runs, as Qt's lock file names it;
// empty when it may not be known (another user's process, or none).
std::string ProgramNameOf(long pid)
{
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    char buffer[4096];
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
    if (n <= 0 || std::size_t(n) >= sizeof buffer) return {};
    std::string path(buffer, std::size_t(n));
    // A program replaced while it runs, as a new build replaces it.
    static constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
    return path.substr(path.find_last_of('/') + 1);
}

// This machine as a lock names it, read once: a lock is judged again and
// again while it is waited for.
struct Machine {
    std::string host, id, boot;
};

const Machine& ThisMachine()
{
    static const Machine machine{QSysInfo::machineHostName().toStdString(), QSysInfo::machineUniqueId().toStdString(),
                                 QSysInfo::bootUniqueId().toStdString()};
    return machine;
}

const std::string& OwnContents()
{
    const Machine& m = ThisMachine();
    static const std::string contents = std::to_string(::getpid()) + "\n" + ProgramNameOf(::getpid()) + "\n" +
                                        m.host + "\n" + m.id + "\n" + m.boot + "\n";
    return contents;
}

enum class Judged { Gone, Live, Stale, NotALock };

// What holds the name, from its lines alone.  A lock is only judged stale
// when its holder was of this machine and is gone: it ran before the
// machine last started, no longer runs, or the number now belongs to
// another program.  A lock of another machine cannot be judged here.
Judged JudgeLines(std::string_view bytes)
{
    std::string lines[5];
    for (std::string& line : lines) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) break;
        line = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
    }
    const std::string& pidLine = lines[0];
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (pidLine.empty() || pidLine.size() > 10 || !std::all_of(pidLine.begin(), pidLine.end(), isDigit))
        return Judged::Live;  // being written, or not ours to read: waited for
    const long pid = std::stol(pidLine);
    const std::string& program = lines[1];
    const std::string& host = lines[2];
    const std::string& machine = lines[3];
    const std::string& boot = lines[4];
    const Machine& own = ThisMachine();
    if (pid <= 0 || (!host.empty() && host != own.host)) return Judged::Live;
    if (!machine.empty() && !own.id.empty() && machine != own.id) return Judged::Live;
    if (!machine.empty() && !boot.empty() && boot != own.boot) return Judged::Stale;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) return Judged::Stale;
    return ProgramNameOf(pid) == program.substr(program.find_last_of('/') + 1) ? Judged::Live : Judged::Stale;
}

// Removes a stale lock, only while no one holds it: every holder keeps an
// advisory lock on its file, which a crash lets go of.  The name must still
// be the file judged, so that a lock another remover has put in its place
// meanwhile is left alone.
bool RemoveIfFree(const std::filesystem::path& name, int fd)
{
    struct stat opened {}, now {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
    return ::fstat(fd, &opened) == 0 && ::lstat(name.c_str(), &now) == 0 && opened.st_dev == now.st_dev &&
           opened.st_ino == now.st_ino && ::unlink(name.c_str()) == 0;
}

Judged JudgeAndRemoveStale(const std::filesystem::path& name)
{
    // Opened without waiting: whatever holds the name, it never stops us.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? Judged::Gone : Judged::NotALock;
    struct stat st {};
    Judged judged = Judged::NotALock;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        char bytes[kMaxLockBytes];
        const ssize_t n = ::read(fd, bytes, sizeof bytes);
        judged = n < 0 || std::size_t(n) == sizeof bytes ? Judged::Live
                                                         : JudgeLines(std::string_view(bytes, std::size_t(n)));
        if (judged == Judged::Stale) judged = RemoveIfFree(name, fd) ? Judged::Gone : Judged::Live;
    }
    ::close(fd);
    return judged;
}

}  // namespace

SettingsLock::SettingsLock(std::filesystem::path name) : name_(std::move(name)) {}

SettingsLock::~SettingsLock() { LetGo(); }

SettingsLock::Take SettingsLock::TakeWithin(std::chrono::milliseconds wait)
{
    if (fd_ >= 0) return Take::Taken;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(1);
    int removed = 0;
    for (;;) {
        // Made only where nothing is, a link included.
        const int fd = ::open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // Held before it says whose it is, so that no one judges it stale
            // in between.
            ::flock(fd, LOCK_EX | LOCK_NB);
            if (!WriteAll(fd, OwnContents())) {
                ::unlink(name_.c_str());
                ::close(fd);
                return Take::Failed;
            }
            fd_ = fd;
            return Take::Taken;
        }
        if (errno != EEXIST) return Take::Failed;
        const Judged judged = JudgeAndRemoveStale(name_);
        if (judged == Judged::NotALock) return Take::Failed;
        // Gone: made again at once, but not for ever by whatever keeps
        // leaving stale locks.
        if (judged == Judged::Gone && ++removed <= 8) continue;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return Take::Held;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

void SettingsLock::LetGo()
{
    if (fd_ < 0) return;
    // Removed only while it is still ours.
    struct stat held {}, now {};
    if (::fstat(fd_, &held) == 0 && ::lstat(name_.c_str(), &now) == 0 && held.st_dev == now.st_dev &&
        held.st_ino == now.st_ino)
        ::unlink(name_.c_str());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace platform
