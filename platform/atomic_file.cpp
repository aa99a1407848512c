#include "platform/atomic_file.h"

#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include <unistd.h>

namespace platform {

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes)
{
    std::filesystem::path temp = file;
    temp += ".tmp" + std::to_string(::getpid());
    {
        std::unique_ptr<std::FILE, FileCloser> f(std::fopen(temp.c_str(), "wb"));
        if (!f) return false;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
        const bool flushed = std::fflush(f.get()) == 0 && ::fsync(::fileno(f.get())) == 0;
        const bool closed = std::fclose(f.release()) == 0;
        if (!written || !flushed || !closed) {
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace platform
