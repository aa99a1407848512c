// Safe saves keep what the user set on the file, survive a file-size limit and
// clean up after a save that was killed; reads refuse what is not a file
// without waiting on it.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/services.h"
#include "tests/platform/file_support.h"

namespace fs = std::filesystem;
using testfiles::ReadText;
using testfiles::TempFolder;
using testfiles::WriteText;

namespace {

mode_t ModeOf(const fs::path& p)
{
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
}

// Restores the process's file-creation mask when the test ends.
struct ScopedUmask {
    explicit ScopedUmask(mode_t mask) : old(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old); }
    mode_t old;
};

std::vector<std::string> FilesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Saves 64 KiB under a limit of 1 KiB and exits with 42 when the save
// reported its failure.
[[noreturn]] void SaveUnderFileSizeLimit(const fs::path& doc)
{
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 1024;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const bool saved = platform::WriteFileAtomically(doc, std::string(64 * 1024, 'x'));
    std::_Exit(saved ? 1 : 42);
}

struct ModeCase {
    const char* name;
    mode_t umask;
    int oldMode;  // -1: no file before the save
    mode_t expected;
};

TEST(SafeSave, TheReplacementKeepsTheOldFilesPermissions)
{
    // A new file gets 0666 less the mask, as any program's new file does.
    const ModeCase cases[] = {
        {"private document stays private", 022, 0600, 0600},
        {"group-readable stays so", 022, 0640, 0640},
        {"world-readable stays so", 077, 0644, 0644},
        {"executable bits are kept", 022, 0750, 0750},
        {"new file under mask 022", 022, -1, 0644},
        {"new file under mask 077", 077, -1, 0600},
    };
    for (const ModeCase& c : cases) {
        TempFolder dir;
        ScopedUmask mask(c.umask);
        const fs::path doc = dir / "link.glb";
        if (c.oldMode >= 0) {
            WriteText(doc, "old");
            ::chmod(doc.c_str(), mode_t(c.oldMode));
        }
        ASSERT_TRUE(platform::WriteFileAtomically(doc, "new contents")) << c.name;
        EXPECT_EQ(ReadText(doc), "new contents") << c.name;
        EXPECT_EQ(ModeOf(doc), c.expected) << c.name << std::oct << " mode " << ModeOf(doc);
    }
}

struct LinkCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> links;  // link name -> what it points at
    const char* saved;    // the name the save is given
    const char* replaced; // the plain file that must hold the new contents
};

TEST(SafeSave, ASymbolicLinkIsFollowedAndKept)
{
    const LinkCase cases[] = {
        {"relative link", {{"doc.glb", "real.glb"}}, "doc.glb", "real.glb"},
        {"link into a sub-folder", {{"doc.glb", "sub/real.glb"}}, "doc.glb", "sub/real.glb"},
        {"chain of two links", {{"doc.glb", "middle.glb"}, {"middle.glb", "sub/real.glb"}}, "doc.glb", "sub/real.glb"},
        {"dangling link creates its target", {{"doc.glb", "sub/new.glb"}}, "doc.glb", "sub/new.glb"},
    };
    for (const LinkCase& c : cases) {
        TempFolder dir;
        fs::create_directory(dir / "sub");
        if (std::string(c.replaced) != "sub/new.glb") WriteText(dir / c.replaced, "old");
        for (const auto& [link, to] : c.links) fs::create_symlink(to, dir / link);
        ASSERT_TRUE(platform::WriteFileAtomically(dir / c.saved, "new")) << c.name;
        EXPECT_EQ(ReadText(dir / c.replaced), "new") << c.name;
        EXPECT_EQ(ReadText(dir / c.saved), "new") << c.name;
        for (const auto& [link, to] : c.links) EXPECT_TRUE(fs::is_symlink(dir / link)) << c.name << ": " << link;
        EXPECT_FALSE(fs::is_symlink(dir / c.replaced)) << c.name;
    }
}

TEST(SafeSave, ReplacesTheWholeFileAndLeavesNothingBesideIt)
{
    TempFolder dir;
    const fs::path target = dir / "orbisco.cfg";
    ASSERT_TRUE(platform::WriteFileAtomically(target, "first", 5));
    ASSERT_TRUE(platform::WriteFileAtomically(target, "second!", 7));
    EXPECT_FALSE(platform::WriteFileAtomically(dir / "missing" / "x", "y", 1));
    EXPECT_EQ(ReadText(target), "second!");
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"orbisco.cfg"});
}

TEST(SafeSave, AFileSizeLimitFailsTheSaveInsteadOfEndingTheProgram)
{
    TempFolder dir;
    const fs::path doc = dir / "budget.glb";
    WriteText(doc, "old copy");
    // In a child process: a limit of 1 KiB and a 64 KiB save.  Without the
    // signal ignored the child dies of SIGXFSZ; the expected exit code says
    // the save returned false.
    EXPECT_EXIT(SaveUnderFileSizeLimit(doc), ::testing::ExitedWithCode(42), "");
    EXPECT_EQ(ReadText(doc), "old copy");
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"budget.glb"});  // no temporary file left
}

TEST(SafeSave, TemporaryFilesOfAKilledSaveAreRemovedByTheNextSave)
{
    TempFolder dir;
    const fs::path doc = dir / "budget.glb";
    WriteText(doc, "old copy");
    // pid_max is at most 2^22, so this writer cannot be running; the parent
    // of the test process runs, so its file stays.
    const std::string dead = platform::TemporaryFilePrefix(doc) + "999999999-1";
    const std::string alive = platform::TemporaryFilePrefix(doc) + std::to_string(::getppid()) + "-3";
    const std::string otherDocument = platform::TemporaryFilePrefix(dir / "other.glb") + "999999999-1";
    for (const std::string& name : {dead, alive, otherDocument}) WriteText(dir / name.c_str(), std::string(4096, 'x'));

    ASSERT_TRUE(platform::WriteFileAtomically(doc, "new"));
    std::vector<std::string> expected = {alive, otherDocument, "budget.glb"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(dir.Path()), expected);
}

TEST(SafeSave, WhatIsNotARegularFileIsRefusedAndKept)
{
    TempFolder dir;
    fs::create_directory(dir / "folder.glb");
    ASSERT_EQ(::mkfifo((dir / "pipe.glb").c_str(), 0644), 0);
    EXPECT_FALSE(platform::WriteFileAtomically(dir / "folder.glb", "x"));
    EXPECT_FALSE(platform::WriteFileAtomically(dir / "pipe.glb", "x"));
    EXPECT_TRUE(fs::is_directory(dir / "folder.glb"));
    EXPECT_TRUE(fs::is_fifo(dir / "pipe.glb"));
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"folder.glb", "pipe.glb"}));
}

TEST(SafeSave, AReadOnlyDocumentIsNotReplaced)
{
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write any file";
    TempFolder dir;
    const fs::path doc = dir / "budget.glb";
    WriteText(doc, "keep me");
    ::chmod(doc.c_str(), 0444);
    EXPECT_FALSE(platform::WriteFileAtomically(doc, "new"));
    EXPECT_EQ(ReadText(doc), "keep me");
}

TEST(RegularFileReads, AFifoIsRefusedWithoutWaitingForAWriter)
{
    TempFolder dir;
    const fs::path fifo = dir / "pipe.glb";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(dir / "folder.glb");
    WriteText(dir / "plain.glb", "abc");

    bool opened = true;
    EXPECT_FALSE(testfiles::WaitedOnFifo(fifo, [&] { opened = platform::OpenRegularFile(fifo) != nullptr; }));
    EXPECT_FALSE(opened);
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(testfiles::WaitedOnFifo(
        fifo, [&] { opened = platform::ReadRegularFile(fifo, bytes, 1024) != platform::FileRead::Unreadable; }));
    EXPECT_FALSE(opened);

    EXPECT_EQ(platform::OpenRegularFile(dir / "folder.glb"), nullptr);
    EXPECT_EQ(platform::OpenRegularFile(dir / "missing.glb"), nullptr);
    EXPECT_EQ(platform::OpenRegularFile("/dev/null"), nullptr);
    // A file is read whole up to its limit, and refused past it, however its
    // size was told: the system tells a size of 0 for what /proc holds, as a
    // file that grows while it is read outgrows the size it had.  The room
    // taken for such a file is the limit at most, never more than it may hold.
    using platform::FileRead;
    struct Bounded { const char* what; fs::path name; std::uint64_t limit; FileRead read; std::string text; };
    for (const Bounded& b : {Bounded{"at its limit", dir / "plain.glb", 3, FileRead::Whole, "abc"},
                             Bounded{"one byte past it", dir / "plain.glb", 2, FileRead::TooLarge, ""},
                             Bounded{"larger than its size said", "/proc/self/status", 64, FileRead::TooLarge, ""},
                             Bounded{"larger than its size said, within its limit", "/proc/self/cmdline", 1 << 16,
                                     FileRead::Whole, ReadText("/proc/self/cmdline")},
                             Bounded{"missing", dir / "missing.glb", 3, FileRead::Unreadable, ""}}) {
        bytes = std::vector<std::uint8_t>(1, 'x');  // its own room, not the last row's
        EXPECT_EQ(platform::ReadRegularFile(b.name, bytes, b.limit), b.read) << b.what;
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), b.text) << b.what;
        EXPECT_LE(bytes.capacity(), b.limit) << b.what;
    }
    // What a settings file may be: a dangling link is none of them.
    fs::create_symlink(dir / "missing.glb", dir / "dangling.ini");
    WriteText(dir / "large.ini", "");
    fs::resize_file(dir / "large.ini", platform::kMaxSettingsFileBytes + 1);
    using platform::SettingsFile;
    struct Kind { fs::path name; bool regular; bool nonRegular; SettingsFile settings; };
    for (const Kind& k : {Kind{fifo, false, true, SettingsFile::NotRegular},
                          Kind{dir / "folder.glb", false, true, SettingsFile::NotRegular},
                          Kind{"/dev/null", false, true, SettingsFile::NotRegular},
                          Kind{dir / "dangling.ini", false, false, SettingsFile::NotRegular},
                          Kind{dir / "plain.glb", true, false, SettingsFile::Usable},
                          Kind{dir / "large.ini", true, false, SettingsFile::TooLarge},
                          Kind{dir / "missing.glb", false, false, SettingsFile::Usable}}) {
        EXPECT_EQ(platform::IsRegularFile(k.name), k.regular) << k.name;
        EXPECT_EQ(platform::IsNonRegularFile(k.name), k.nonRegular) << k.name;
        EXPECT_EQ(platform::CheckSettingsFile(k.name), k.settings) << k.name;
    }
}

}  // namespace
