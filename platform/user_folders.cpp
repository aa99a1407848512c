#include "platform/user_folders.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
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

// Whether the folder is the user's own and closed to others.  Only looked
// at: a folder the program did not make is never changed (a team folder, or
// the temporary folder itself, would lose what others need of it).  In the
// shared temporary folder a link is never taken, whoever's folder it points
// to.
bool IsPrivateFolder(const std::filesystem::path& folder, bool linkAllowed)
{
    struct stat st {};
    if ((linkAllowed ? ::stat(folder.c_str(), &st) : ::lstat(folder.c_str(), &st)) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

}  // namespace

std::filesystem::path UserFolder(const char* variable, const std::filesystem::path& underHome)
{
    if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / underHome;
}

std::filesystem::path UserRuntimeFolder()
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/' &&
        IsPrivateFolder(runtime, true))
        return runtime;
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path folder =
        std::filesystem::path(tmp && tmp[0] == '/' ? tmp : "/tmp") / ("orbiscope-" + std::to_string(::geteuid()));
    // The program's own: its mode is set whole when it is made, since the
    // mask could take the user's own rights too, and kept at 0700 after.
    if (::mkdir(folder.c_str(), 0700) == 0) ::chmod(folder.c_str(), 0700);
    struct stat st {};
    if (::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 07777) != 0700)
        ::chmod(folder.c_str(), 0700);
    return IsPrivateFolder(folder, false) ? folder : std::filesystem::path();
}

}  // namespace platform
