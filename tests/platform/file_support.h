// Files for the hostile-file tests: a temporary folder, whole-file text, and
// a watchdog that frees a reader stuck on a FIFO so that it fails the test
// instead of hanging it.
#pragma once

#include <chrono>
#include <condition_variable>
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

// Runs `read`, which is handed a FIFO.  When it has not returned after a few
// seconds it is waiting for a writer: the watchdog opens the FIFO's other end
// and closes it, so the reader sees an empty file and returns.  True when the
// watchdog had to do so.
inline bool ReaderWaited(const std::filesystem::path& fifo, const std::function<void()>& read)
{
    std::mutex m;
    std::condition_variable cv;
    bool done = false, rescued = false;
    std::thread watchdog([&] {
        std::unique_lock lock(m);
        if (cv.wait_for(lock, std::chrono::seconds(5), [&] { return done; })) return;
        while (!done) {
            lock.unlock();
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
                rescued = true;
            }
            lock.lock();
            cv.wait_for(lock, std::chrono::milliseconds(100), [&] { return done; });
        }
    });
    read();
    {
        std::lock_guard lock(m);
        done = true;
    }
    cv.notify_all();
    watchdog.join();
    return rescued;
}

}  // namespace testfiles
