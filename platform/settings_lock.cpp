#include "platform/settings_lock.h"

#include <QSysInfo>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

namespace fs = std::filesystem;

// A lock is a few short lines; anything longer is not one to read.
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

const std::string& OwnLines()
{
    const Machine& m = ThisMachine();
    static const std::string lines = std::to_string(::getpid()) + "\n" + ProgramNameOf(::getpid()) + "\n" + m.host +
                                     "\n" + m.id + "\n" + m.boot + "\n";
    return lines;
}

// Whom a lock's lines name.
enum class Holder {
    Gone,     // a process of this machine that ran before the machine last started, no longer runs, or whose
              // number now belongs to another program
    Running,  // a live process of this machine running the program they name
    Unknown,  // another machine's process, which cannot be judged from here, or none
};

Holder HolderOf(std::string_view bytes)
{
    std::string_view lines[5];
    for (std::string_view& line : lines) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) break;
        line = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
    }
    const auto [pidLine, program, host, machine, boot] = lines;
    if (pidLine.empty() || pidLine.size() > 10 || !std::all_of(pidLine.begin(), pidLine.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return Holder::Unknown;
    const long pid = std::stol(std::string(pidLine));
    const Machine& own = ThisMachine();
    if (pid <= 0 || (!host.empty() && host != own.host)) return Holder::Unknown;
    if (!machine.empty() && !own.id.empty() && machine != own.id) return Holder::Unknown;
    if (!machine.empty() && !boot.empty() && boot != own.boot) return Holder::Gone;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) return Holder::Gone;
    const std::string running = ProgramNameOf(pid);
    if (running != program.substr(program.find_last_of('/') + 1)) return Holder::Gone;
    // Another user's process, whose program may not be known.
    return running.empty() ? Holder::Unknown : Holder::Running;
}

// Either way: a lock dated ahead of `now` (another machine's, whose clock
// runs ahead; a clock set back) is as old as one dated behind it.
bool AgedPast(const struct stat& st, std::time_t now, std::chrono::seconds age)
{
    const long long dated = st.st_mtim.tv_sec;
    return std::llabs(static_cast<long long>(now) - dated) > age.count();
}

std::function<void()>& LeftoverRemovalHook()
{
    static std::function<void()> hook;
    return hook;
}

std::function<void(const fs::path&)>& LockPlacingHook()
{
    static std::function<void(const fs::path&)> hook;
    return hook;
}

int& AdvisoryLockError()
{
    static int error = 0;
    return error;
}

enum class Advisory {
    Taken,
    Held,  // by another, or not to be had for another reason
    None,  // the file system gives none: an NFS home without its lock service
};

Advisory TakeAdvisory(int fd)
{
    int error = AdvisoryLockError();
    if (error == 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) error = errno;
    if (error == 0) return Advisory::Taken;
    if (error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL) return Advisory::None;
    errno = error;
    return Advisory::Held;
}

// Removes a leftover, only while no one holds it: every holder keeps an
// advisory lock on its file, where the file system gives one.  Where it
// gives none only the lines tell a holder that runs: its lock is never a
// leftover, however old it looks (a file server's clock may differ from
// this machine's by any amount).  The name must still be the file judged,
// so that a lock another remover has put in its place meanwhile is left
// alone.
bool RemoveIfFree(const fs::path& name, int fd, Holder holder)
{
    switch (TakeAdvisory(fd)) {
    case Advisory::Held: return false;
    case Advisory::None:
        if (holder == Holder::Running) return false;
        break;
    case Advisory::Taken: break;
    }
    if (LeftoverRemovalHook()) LeftoverRemovalHook()();
    struct stat judged {}, now {};
    return ::fstat(fd, &judged) == 0 && ::lstat(name.c_str(), &now) == 0 && judged.st_dev == now.st_dev &&
           judged.st_ino == now.st_ino && ::unlink(name.c_str()) == 0;
}

struct Judged {
    enum Kind { Gone, Live, Refused } kind;
    SettingsFile why = SettingsFile::Usable;
};

Judged JudgeOpen(const fs::path& name, int fd, std::time_t now)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return {Judged::Refused, SettingsFile::NotRegular};
    char bytes[kMaxLockBytes];
    const ssize_t n = ::pread(fd, bytes, sizeof bytes, 0);
    const bool readable = n >= 0 && std::size_t(n) < sizeof bytes;
    const Holder holder = readable ? HolderOf(std::string_view(bytes, std::size_t(n))) : Holder::Unknown;
    const bool leftover = holder == Holder::Gone || AgedPast(st, now, SettingsLock::kLeftoverAge);
    return {leftover && RemoveIfFree(name, fd, holder) ? Judged::Gone : Judged::Live};
}

// What is at the name now, its age measured against `now`.  A name that
// is no regular file is never opened: a FIFO would stop the opener, a
// device could act.
Judged Judge(const fs::path& name, std::time_t now)
{
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0)
        return errno == ENOENT ? Judged{Judged::Gone} : Judged{Judged::Refused, SettingsFile::NotRegular};
    if (S_ISLNK(st.st_mode) && ::stat(name.c_str(), &st) != 0) {
        // Broken, unless it went meanwhile.
        const bool went = ::lstat(name.c_str(), &st) != 0 && errno == ENOENT;
        return went ? Judged{Judged::Gone} : Judged{Judged::Refused, SettingsFile::NotRegular};
    }
    if (!S_ISREG(st.st_mode)) return {Judged::Refused, SettingsFile::NotRegular};
    const int fd = ::open(name.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        const Judged judged = JudgeOpen(name, fd, now);
        ::close(fd);
        return judged;
    }
    if (errno == ENOENT) return {Judged::Gone};
    const int writeError = errno;
    const int readOnly = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (readOnly >= 0) {
        ::close(readOnly);
        return {Judged::Refused,
                writeError == EROFS ? SettingsFile::ReadOnlyFileSystem : SettingsFile::NotWritable};
    }
    if (errno == ENOENT) return {Judged::Gone};
    return {Judged::Refused, errno == EACCES || errno == EPERM ? SettingsFile::NotReadable : SettingsFile::NotRegular};
}

// A lock made whole under a name of the taker's own, then put at the lock's
// name.
class Candidate {
public:
    explicit Candidate(const fs::path& lock) : lock_(lock) {}
    ~Candidate() { Drop(); }
    Candidate(const Candidate&) = delete;
    Candidate& operator=(const Candidate&) = delete;

    // 0 once the lock is at its name; otherwise what kept it from there:
    // EEXIST where something is, EAGAIN where the taker's own file went.
    int Place()
    {
        if (!linked_) return PlaceDirectly();
        if (fd_ < 0 && !Make()) return errno;
        if (LockPlacingHook()) LockPlacingHook()(temp_);
        if (::link(temp_.c_str(), lock_.c_str()) == 0) {
            ::unlink(temp_.c_str());
            temp_.clear();
            return 0;
        }
        const int error = errno;
        if (error == ENOENT) {  // taken away, as another machine's orphan
            Drop();
            return EAGAIN;
        }
        if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS) {  // a file system without links
            Drop();
            linked_ = false;
            return PlaceDirectly();
        }
        return error;
    }

    int Release() { return std::exchange(fd_, -1); }

    // The time on the lock's own file system, whose clock dates the lock
    // (a file server's, on a network home): the taker's own file beside it,
    // dated now.  This machine's clock where there is none.
    std::time_t FileSystemNow() const
    {
        struct stat st {};
        if (fd_ >= 0 && !temp_.empty() && ::futimens(fd_, nullptr) == 0 && ::fstat(fd_, &st) == 0)
            return st.st_mtim.tv_sec;
        return std::time(nullptr);
    }

private:
    bool Make()
    {
        static std::atomic<unsigned> counter{0};
        const fs::path folder = lock_.has_parent_path() ? lock_.parent_path() : fs::path(".");
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            const std::string own = std::to_string(::getpid()) + "-" + std::to_string(++counter);
            temp_ = folder / (TemporaryFilePrefix(lock_) + own);
            fd_ = ::open(temp_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
            if (fd_ < 0 && errno != EEXIST) break;
        }
        if (fd_ < 0) {
            temp_.clear();
            return false;
        }
        // Held before anyone can find it.
        if (TakeAdvisory(fd_) != Advisory::Held && WriteAll(fd_, OwnLines())) return true;
        const int error = errno;
        Drop();
        errno = error;
        return false;
    }

    // Where no link can be made the lock is made at its name, empty for a
    // moment: a crash then leaves it so, a leftover once it is old.
    int PlaceDirectly()
    {
        const int fd = ::open(lock_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0) return errno;
        if (TakeAdvisory(fd) != Advisory::Held && WriteAll(fd, OwnLines())) {
            fd_ = fd;
            if (LockPlacingHook()) LockPlacingHook()(lock_);
            return 0;
        }
        const int error = errno;
        ::unlink(lock_.c_str());
        ::close(fd);
        return error;
    }

    void Drop()
    {
        if (!temp_.empty()) ::unlink(temp_.c_str());
        temp_.clear();
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    const fs::path& lock_;
    fs::path temp_;
    int fd_ = -1;
    bool linked_ = true;
};

// Why no lock could be made: the folder's refusal, or none where the system
// failed (a full disk).
SettingsFile FolderRefusal(int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return SettingsFile::FolderNotWritable;
    case EROFS: return SettingsFile::ReadOnlyFileSystem;
    case ENOENT:
    case ENOTDIR: return SettingsFile::FolderNotMakeable;
    default: return SettingsFile::Usable;
    }
}

}  // namespace

void SetLeftoverRemovalHook(std::function<void()> hook) { LeftoverRemovalHook() = std::move(hook); }
void SetLockPlacingHook(std::function<void(const std::filesystem::path&)> hook)
{
    LockPlacingHook() = std::move(hook);
}
void SetAdvisoryLockError(int error) { AdvisoryLockError() = error; }

SettingsLock::SettingsLock(std::filesystem::path name) : name_(std::move(name)) {}

SettingsLock::~SettingsLock() { LetGo(); }

SettingsLock::Take SettingsLock::TakeWithin(std::chrono::milliseconds wait)
{
    if (fd_ >= 0) return Take::Taken;
    refusal_ = SettingsFile::Usable;
    error_ = 0;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    const std::string ownKind[] = {TemporaryFilePrefix(name_)};
    RemoveOrphanTemporaries(name_.has_parent_path() ? name_.parent_path() : fs::path("."), ownKind);
    Candidate lock(name_);
    auto pause = std::chrono::milliseconds(1);
    int gone = 0;
    for (;;) {
        const int placed = lock.Place();
        if (placed == 0) {
            fd_ = lock.Release();
            return Take::Taken;
        }
        if (placed != EEXIST && placed != EAGAIN) {
            error_ = placed;
            refusal_ = FolderRefusal(placed);
            return refusal_ == SettingsFile::Usable ? Take::Failed : Take::Refused;
        }
        if (placed == EEXIST) {
            const Judged judged = Judge(name_, lock.FileSystemNow());
            if (judged.kind == Judged::Refused) {
                refusal_ = judged.why;
                return Take::Refused;
            }
            // Gone: put again at once, but not for ever by whatever keeps
            // leaving leftovers.
            if (judged.kind == Judged::Gone && ++gone <= 8) continue;
        }
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
