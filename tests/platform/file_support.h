// Files for the hostile-file tests: a temporary folder, whole-file text, a
// watchdog that frees a reader or writer stuck on a FIFO so that it fails
// the test instead of hanging it, and a run as a user without privileges.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testfiles {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orbiscope-files-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::string ReadText(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::filesystem::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary).write(text.data(), std::streamsize(text.size()));
}

// Sets or unsets an environment variable for the scope's length.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Runs `use`, which is handed a FIFO.  When it has not returned after a few
// seconds it is waiting: a reader for a writer, or a writer for a reader.
// The watchdog gives a reader a writer that closes at once, so that it sees
// an empty file, and a writer a reader that takes what it writes for as
// long as it writes, so that no write fails.  True when the watchdog had to
// do either.  It acts only while the name is a FIFO, and counts only what a
// FIFO's other end did: a name that is, or became, a regular file is a slow
// run, never a rescue.
inline bool WaitedOnFifo(const std::filesystem::path& fifo, const std::function<void()>& use)
{
    // Opened without waiting, and kept only when it is still a FIFO.
    const auto openFifo = [&fifo](int how) {
        const int fd = ::open(fifo.c_str(), how | O_NONBLOCK | O_CLOEXEC);
        struct stat st {};
        if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISFIFO(st.st_mode))) {
            ::close(fd);
            return -1;
        }
        return fd;
    };
    std::mutex m;
    std::condition_variable cv;
    bool done = false, rescued = false;
    std::thread watchdog([&] {
        std::unique_lock lock(m);
        if (cv.wait_for(lock, std::chrono::seconds(5), [&] { return done; })) return;
        int reader = -1;  // ours, while a writer holds the FIFO open
        while (!done) {
            lock.unlock();
            if (reader < 0) {
                // Opens only where a reader has the FIFO open.
                if (const int fd = openFifo(O_WRONLY); fd >= 0) {
                    ::close(fd);
                    rescued = true;
                }
                reader = openFifo(O_RDONLY);
            }
            if (reader >= 0) {
                char bytes[4096];
                ssize_t n;
                while ((n = ::read(reader, bytes, sizeof bytes)) > 0) rescued = true;
                // No data yet, but a writer holds it open; the end of the
                // file means that none does (any more).
                if (n < 0 && errno == EAGAIN) {
                    rescued = true;
                } else {
                    ::close(reader);
                    reader = -1;
                }
            }
            lock.lock();
            cv.wait_for(lock, std::chrono::milliseconds(100), [&] { return done; });
        }
        if (reader >= 0) ::close(reader);
    });
    use();
    {
        std::lock_guard lock(m);
        done = true;
    }
    cv.notify_all();
    watchdog.join();
    return rescued;
}

// The user and group an unprivileged run takes when the tests run as root
// (nobody and nogroup).
inline constexpr uid_t kUnprivilegedId = 65534;

inline bool RunningAsRoot() { return ::geteuid() == 0; }

// Gives the name, and everything in it, to the user an unprivileged run
// takes, links themselves and never what they name; nothing to do when the
// tests run as that user already.  Give only a folder made for the run
// below the test's own, which stays root's: root must never follow names
// in a folder another user may change.
inline void GiveToUnprivilegedUser(const std::filesystem::path& name)
{
    if (!RunningAsRoot()) return;
    std::error_code ec;
    ASSERT_EQ(::lchown(name.c_str(), kUnprivilegedId, kUnprivilegedId), 0) << name;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(name, ec))) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(name, ec)) {
            ASSERT_EQ(::lchown(entry.path().c_str(), kUnprivilegedId, kUnprivilegedId), 0) << entry.path();
        }
    }
}

// Runs `body` as a user without privileges, for root may read and write any
// file whatever its modes: in this process when it runs as such a user, and
// when the tests run as root (as CI runs them) in a child process that gives
// up root for kUnprivilegedId before it starts.  The child's failures fail
// the test; a child that has not ended within `limit` is killed and fails it,
// so that a hang fails its own row, long before the entry's timeout.
// `asRoot`, when given, runs first in the child as root (to mount in a
// mount namespace of its own, say); where the tests do not run as root, or
// it returns false, the body is not run and false is returned.
inline bool AsUnprivilegedUser(const std::function<void()>& body,
                               std::chrono::seconds limit = std::chrono::seconds(10),
                               const std::function<bool()>& asRoot = {})
{
    if (!RunningAsRoot()) {
        if (asRoot) return false;
        body();
        return true;
    }
    // The child's own failures, not those of the test before it.
    const auto failures = [] {
        const testing::TestResult& result = *testing::UnitTest::GetInstance()->current_test_info()->result();
        int n = 0;
        for (int i = 0; i < result.total_part_count(); ++i) n += result.GetTestPartResult(i).failed() ? 1 : 0;
        return n;
    };
    constexpr int kGaveUp = 3, kNotPrepared = 4;
    const int before = failures();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        ADD_FAILURE() << "fork failed";
        return false;
    }
    if (child == 0) {
        if (asRoot && !asRoot()) ::_exit(kNotPrepared);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 || ::setuid(kUnprivilegedId) != 0)
            ::_exit(kGaveUp);
        body();
        std::fflush(nullptr);
        ::_exit(failures() > before ? 1 : 0);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    pid_t ended;
    while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (ended == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        ADD_FAILURE() << "the unprivileged run did not end within " << limit.count() << " s";
        return true;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kNotPrepared) return false;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << (WIFEXITED(status) && WEXITSTATUS(status) == kGaveUp ? "the child could not give up root"
                                                                : "the unprivileged run failed, as told above");
    return true;
}

// In a child that runs as root: makes `folder` read-only for this process
// alone, through a mount namespace of its own (nothing outside it sees the
// mount, and it ends with the process).  False where the system allows no
// such namespace (a container without the right to mount).
inline bool MountReadOnlyHere(const std::filesystem::path& folder)
{
    return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace testfiles
