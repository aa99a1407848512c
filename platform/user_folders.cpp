#include "platform/user_folders.h"

#include <cstdlib>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace {

std::filesystem::path HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return home;
    // A start without HOME (a service, a cron job) still has a home of its own.
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

}  // namespace

std::filesystem::path UserFolder(const char* variable, const std::filesystem::path& underHome)
{
    if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / underHome;
}

}  // namespace platform
