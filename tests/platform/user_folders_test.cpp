// The user's folders come from absolute names only: a relative variable or
// home would put files wherever the program was started.  The runtime folder
// is the user's alone: never a link, a file or another user's folder in the
// shared temporary folder, and never one open to others; a folder the
// program did not make is only looked at, never changed.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/user_folders.h"
#include "tests/platform/file_support.h"

namespace {

namespace fs = std::filesystem;
using testfiles::ScopedVariable;

TEST(UserFolders, OnlyAbsoluteNamesCount)
{
    // A user id without a password entry (containers often run so) has no
    // home but HOME.
    const passwd* entry = ::getpwuid(::getuid());
    const std::string passwordCache =
        entry && entry->pw_dir && entry->pw_dir[0] == '/' ? std::string(entry->pw_dir) + "/.cache" : "";
    struct Case {
        std::optional<std::string> variable, home;
        std::string folder;
    };
    const Case cases[] = {
        {"/x/cache", "/h", "/x/cache"},
        {"cache", "/h", "/h/.cache"},
        {"", "/h", "/h/.cache"},
        {std::nullopt, std::nullopt, passwordCache},
        {"relative", "also/relative", passwordCache},
        {std::nullopt, "", passwordCache},
    };
    for (const Case& c : cases) {
        ScopedVariable variable("XDG_CACHE_HOME", c.variable), home("HOME", c.home);
        EXPECT_EQ(platform::UserFolder("XDG_CACHE_HOME", ".cache"), c.folder)
            << c.variable.value_or("(unset)") << " " << c.home.value_or("(unset)");
    }
}

TEST(UserFolders, TheRuntimeFolderIsTheUsersAlone)
{
    const std::string own = "orbiscope-" + std::to_string(::geteuid());
    const bool root = ::geteuid() == 0;
    struct Case {
        const char* name;
        std::optional<std::string> runtime;   // XDG_RUNTIME_DIR, under the test's folder unless absolute
        std::function<void(const fs::path&)> lay;
        std::optional<std::string> folder;    // under the test's folder; nullopt: none
        bool needsRoot = false;
        mode_t runtimeMode = 0;               // the runtime folder's mode, which stays as it is
    };
    const auto runtimeOfMode = [](mode_t mode) {
        return [mode](const fs::path& t) {
            fs::create_directory(t / "run");
            ::chmod((t / "run").c_str(), mode);
        };
    };
    const Case cases[] = {
        {"the runtime folder", "run", runtimeOfMode(0700), "run", false, 0700},
        {"a runtime folder open to others is passed over", "run", runtimeOfMode(0755), own, false, 0755},
        {"a team folder is passed over", "run", runtimeOfMode(02775), own, false, 02775},
        {"a shared temporary folder is passed over", "run", runtimeOfMode(01777), own, false, 01777},
        {"no runtime folder: one of the user's own is made", std::nullopt, {}, own},
        {"a relative runtime folder does not count", "relative", {}, own},
        {"a file is no runtime folder", "file", [](const fs::path& t) { testfiles::WriteText(t / "file", "x"); }, own},
        {"made whole under a mask that takes the user's own rights", std::nullopt, [](const fs::path&) { ::umask(0777); },
         own},
        {"one of the user's own that others may enter is closed", std::nullopt,
         [own](const fs::path& t) {
             fs::create_directory(t / own);
             ::chmod((t / own).c_str(), 0777);
         },
         own},
        {"a link at the name is never taken", std::nullopt,
         [own](const fs::path& t) {
             fs::create_directory(t / "elsewhere");
             fs::create_directory_symlink(t / "elsewhere", t / own);
         },
         std::nullopt},
        {"a file at the name", std::nullopt, [own](const fs::path& t) { testfiles::WriteText(t / own, "x"); }, std::nullopt},
        {"another user's runtime folder and name", "run",
         [own](const fs::path& t) {
             fs::create_directory(t / "run");
             fs::create_directory(t / own);
             (void)!::chown((t / "run").c_str(), 65534, 65534);
             (void)!::chown((t / own).c_str(), 65534, 65534);
         },
         std::nullopt, true},
    };
    for (const Case& c : cases) {
        if (c.needsRoot && !root) continue;
        testfiles::TempFolder t;
        const mode_t mask = ::umask(022);
        if (c.lay) c.lay(t.Path());
        std::optional<std::string> runtime = c.runtime;
        if (runtime && *runtime != "relative") runtime = (t.Path() / *runtime).string();
        ScopedVariable variable("XDG_RUNTIME_DIR", runtime), tmp("TMPDIR", t.Path().string());
        const fs::path folder = platform::UserRuntimeFolder();
        ::umask(mask);
        EXPECT_EQ(folder, c.folder ? t.Path() / *c.folder : fs::path()) << c.name;
        struct stat st {};
        if (c.runtimeMode != 0) {
            ASSERT_EQ(::stat((t.Path() / "run").c_str(), &st), 0) << c.name;
            EXPECT_EQ(st.st_mode & 07777, c.runtimeMode) << c.name;
        }
        if (c.folder) {
            ASSERT_EQ(::lstat(folder.c_str(), &st), 0) << c.name;
            EXPECT_TRUE(S_ISDIR(st.st_mode)) << c.name;
            EXPECT_EQ(st.st_mode & 0777, 0700u) << c.name;
        }
    }
}

}  // namespace
