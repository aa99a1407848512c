#include "platform/atomic_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

namespace fs = std::filesystem;

// More links than this in a chain is a loop.
constexpr int kMaxLinkHops = 40;

// A write past the process's file-size limit would raise SIGXFSZ, whose
// default ends the program without a word; ignored, the write fails with
// EFBIG and the save reports it.
void IgnoreFileSizeSignal()
{
    static const bool ignored = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
}

// The file a save to `file` replaces: links followed to their end, so the
// link stays a link.  A dangling link names the file to be created.
fs::path FinalTarget(const fs::path& file)
{
    fs::path target = file;
    std::error_code ec;
    for (int hop = 0; hop < kMaxLinkHops && fs::is_symlink(target, ec); ++hop) {
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

bool ProcessRuns(long pid)
{
    return pid > 0 && pid <= 0x7FFFFFFF && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// Removes ".NAME.tmp-PID-N" files beside the target whose writer has gone.
void RemoveOrphans(const fs::path& target)
{
    const std::string prefix[] = {TemporaryFilePrefix(target)};
    RemoveOrphanTemporaries(target.has_parent_path() ? target.parent_path() : fs::path("."), prefix);
}

std::function<void(const fs::path&)>& TemporaryFileHook()
{
    static std::function<void(const fs::path&)> hook;
    return hook;
}

AtomicWriteFault& InjectedFaults()
{
    static AtomicWriteFault fault;
    return fault;
}

// The error a test makes a step fail with; 0 for none.
int InjectedFault(AtomicWriteStep step, const fs::path& target)
{
    return InjectedFaults() ? InjectedFaults()(step, target) : 0;
}

// Creates a new temporary file beside the target, readable and writable as
// a new file of the user's would be (the mask applies).
int CreateTemporary(const fs::path& target, fs::path& temp)
{
    // The maps' copies are written from several threads at once.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target.parent_path() /
               (TemporaryFilePrefix(target) + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        if (TemporaryFileHook()) TemporaryFileHook()(temp);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        // A write that takes nothing and names no error has met the end of
        // the room there is.
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

void SetTemporaryFileHook(std::function<void(const std::filesystem::path&)> hook) { TemporaryFileHook() = std::move(hook); }

void SetAtomicWriteFault(AtomicWriteFault fault) { InjectedFaults() = std::move(fault); }

std::string TemporaryFilePrefix(const std::filesystem::path& target)
{
    // Appended in order: a literal put in front of a temporary string makes
    // GCC 12 at -O3 warn of an overlapping copy (-Wrestrict) that cannot occur.
    return std::string(".").append(target.filename().string()).append(".tmp-");
}

void RemoveOrphanTemporaries(const std::filesystem::path& folder, std::span<const std::string> prefixes)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (const std::string& prefix : prefixes) {
            if (name.compare(0, prefix.size(), prefix) != 0) continue;
            char* rest = nullptr;
            const long pid = std::strtol(name.c_str() + prefix.size(), &rest, 10);
            if (rest == name.c_str() + prefix.size() || (*rest != '-' && *rest != '\0')) continue;
            if (pid == long(::getpid()) || !ProcessRuns(pid)) {
                std::error_code ignored;
                fs::remove(it->path(), ignored);
            }
            break;
        }
    }
}

namespace {

enum class Kind { Document, OwnCopy };

bool WriteAtomically(const fs::path& file, std::initializer_list<std::string_view> pieces, Kind kind)
{
    IgnoreFileSizeSignal();
    // A document's link is the user's: its target is saved.  A link at the
    // name of one of the program's own copies is replaced like any file.
    const fs::path target = kind == Kind::Document ? FinalTarget(file) : file;
    struct stat old {};
    const bool exists = (kind == Kind::Document ? ::stat(target.c_str(), &old) : ::lstat(target.c_str(), &old)) == 0;
    if (exists && !S_ISLNK(old.st_mode)) {
        if (!S_ISREG(old.st_mode)) {
            errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
            return false;
        }
        if (::access(target.c_str(), W_OK) != 0) return false;
    }

    RemoveOrphans(target);
    fs::path temp;
    const int fd = CreateTemporary(target, temp);
    if (fd < 0) return false;
    // The first step that fails names the reason.
    int error = 0;
    const auto check = [&error](bool done) {
        if (!done && error == 0) error = errno != 0 ? errno : EIO;
    };
    if (exists && kind == Kind::Document) {
        check(::fchmod(fd, old.st_mode & 07777) == 0);
        // Keeps the group (and, for a privileged user, the owner); a user who
        // may not do so keeps a file of his own, as any editor would give him.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, uid_t(-1), old.st_gid);
    }
    if (error == 0) error = InjectedFault(AtomicWriteStep::Write, target);
    for (const std::string_view piece : pieces)
        if (error == 0) check(WriteAll(fd, piece));
    if (kind == Kind::Document && error == 0) check(::fsync(fd) == 0);
    // A file system that writes on close (NFS) may report a full disk only here.
    check(::close(fd) == 0);
    if (error == 0) error = InjectedFault(AtomicWriteStep::Rename, target);
    if (error == 0) check(::rename(temp.c_str(), target.c_str()) == 0);
    if (error != 0) {
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    if (kind == Kind::Document) SyncFolder(target.parent_path());
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes)
{
    return WriteAtomically(file, {bytes}, Kind::Document);
}

bool WriteOwnFileAtomically(const std::filesystem::path& file, std::initializer_list<std::string_view> pieces)
{
    return WriteAtomically(file, pieces, Kind::OwnCopy);
}

UniqueFile OpenRegularFile(const std::filesystem::path& file)
{
    // Non-blocking, so that opening a FIFO returns at once; the mode is put
    // back to blocking once the name proved to be a regular file.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) ::close(fd);
    return UniqueFile(f);
}

FileRead ReadRegularFile(const std::filesystem::path& file, std::vector<std::uint8_t>& bytes, std::uint64_t limit)
{
    bytes.clear();
    UniqueFile f = OpenRegularFile(file);
    if (!f) return FileRead::Unreadable;
    struct stat st {};
    if (::fstat(::fileno(f.get()), &st) != 0) return FileRead::Unreadable;
    if (static_cast<std::uint64_t>(st.st_size) > limit) return FileRead::TooLarge;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t chunk[1 << 16];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0;) {
        if (n > limit - bytes.size()) {
            bytes.clear();
            bytes.shrink_to_fit();
            return FileRead::TooLarge;
        }
        // The file reads past the size it had when opened: it is moved once
        // into room for the limit rather than grown step by step, so that it
        // is copied once and never held twice over.
        if (n > bytes.capacity() - bytes.size()) bytes.reserve(static_cast<std::size_t>(limit));
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    if (std::ferror(f.get()) != 0) {
        bytes.clear();
        return FileRead::Unreadable;
    }
    return FileRead::Whole;
}

namespace {

// This user may ask the system whether it may use a name: the modes alone do
// not tell (another user's file, access lists, a read-only file system).
bool MayAccess(const fs::path& name, int how) { return ::faccessat(AT_FDCWD, name.c_str(), how, AT_EACCESS) == 0; }

// How this user may make and replace files in the folder or, where it does
// not exist yet, in the nearest folder above it that exists, as the folders
// between would be made.
SettingsFile FolderUse(const fs::path& folder)
{
    fs::path at = folder.empty() ? fs::path(".") : folder;
    bool toBeMade = false;
    const auto refused = [&] { return toBeMade ? SettingsFile::FolderNotMakeable : SettingsFile::FolderNotWritable; };
    for (;;) {
        struct stat st {};
        if (::stat(at.c_str(), &st) == 0) {
            // A file where a folder would be made is no place to write.
            if (!S_ISDIR(st.st_mode)) return refused();
            if (MayAccess(at, W_OK | X_OK)) return SettingsFile::Usable;
            return errno == EROFS ? SettingsFile::ReadOnlyFileSystem : refused();
        }
        // So is a folder that may not be searched.
        if (errno != ENOENT) return refused();
        fs::path up = at.parent_path();
        if (up.empty()) up = ".";
        if (up == at) return refused();
        at = up;
        toBeMade = true;
    }
}

}  // namespace

SettingsFile CheckSettingsFile(const std::filesystem::path& file)
{
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0) return FolderUse(file.parent_path());
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return SettingsFile::NotRegular;
    if (static_cast<std::uint64_t>(st.st_size) > kMaxSettingsFileBytes) return SettingsFile::TooLarge;
    if (!MayAccess(file, R_OK)) return SettingsFile::NotReadable;
    if (!MayAccess(file, W_OK)) return errno == EROFS ? SettingsFile::ReadOnlyFileSystem : SettingsFile::NotWritable;
    // A link is followed: the file it names is replaced in its own folder.
    std::error_code ec;
    const fs::path real = fs::canonical(file, ec);
    return FolderUse(ec ? file.parent_path() : real.parent_path());
}

bool IsRegularFile(const std::filesystem::path& file)
{
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsNonRegularFile(const std::filesystem::path& file)
{
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

}  // namespace platform
