// Message boxes and their log, the registry stand-in, recent files,
// file-dialog answers and tab stops.
#include <gtest/gtest.h>

#include <QLockFile>
#include <QSysInfo>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include <csignal>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/dc.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/settings_lock.h"
#include "tests/platform/file_support.h"
#include "tests/platform/qt_app.h"

namespace {

using TempDir = testfiles::TempFolder;
using testfiles::ReadText;

// A lock as a process of this machine that has gone leaves it: no process
// has the number pid_max.
std::string DeadProcessOfThisMachine()
{
    const std::string pidMax = ReadText("/proc/sys/kernel/pid_max");
    return pidMax.substr(0, pidMax.find('\n')) + "\norbiscope\n" + QSysInfo::machineHostName().toStdString() + "\n";
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

std::string Host()
{
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    return name;
}

std::string BootId() { return FirstLine(ReadText("/proc/sys/kernel/random/boot_id")); }

// The lines of a lock of this machine's, naming `pid` and this test's
// program, as a process started in the boot `boot` writes them.
std::string OwnLockLines(pid_t pid, const std::string& boot)
{
    std::string machine = FirstLine(ReadText("/etc/machine-id"));
    if (machine.empty()) machine = FirstLine(ReadText("/var/lib/dbus/machine-id"));
    return std::to_string(pid) + "\n" + std::filesystem::read_symlink("/proc/self/exe").filename().string() + "\n" +
           Host() + "\n" + machine + "\n" + boot + "\n";
}

TEST(MessageBoxes, SinkAnswersAndTheLogGetsOneLineEach)
{
    platformtest::App();
    TempDir dir;
    const std::string log = (dir.Path() / "messages.log").string();
    setenv("ORBISCOPE_MESSAGE_LOG", log.c_str(), 1);
    std::vector<platform::MessageBoxCall> calls;
    platform::SetMessageBoxSink([&calls](const platform::MessageBoxCall& c) {
        calls.push_back(c);
        return c.YesNo() ? platform::IDNO : platform::IDOK;
    });
    EXPECT_EQ(platform::MessageBox(nullptr, "TOPO.TXT failed checksum", "File Load Error", platform::MB_ICONSTOP),
              platform::IDOK);
    EXPECT_EQ(platform::MessageBox(nullptr, "File a may have been edited.\n\nSave?", "Orbiscope Pro 1.0",
                                   platform::MB_YESNO | platform::MB_ICONQUESTION),
              platform::IDNO);
    EXPECT_EQ(platform::MessageBox(nullptr, "Site latitude\r\nRange 0 to 90", "Range Error", platform::MB_ICONEXCLAMATION),
              platform::IDOK);
    // The program's words are Latin-1, a file's name the file system's UTF-8.
    const std::string name = "/home/ana/Téléchargements/Москва.sun";
    platform::MessageBox(nullptr, platform::FileMessage{"Cannot read file %s (\xB0)", name}, "Orbiscope Pro 1.0", 0);
    platform::SetMessageBoxSink({});
    // Offscreen with no sink nobody can answer: logged, first button; but no
    // one can mend what a Retry would try again.
    EXPECT_EQ(platform::MessageBox(nullptr, "x", "y", platform::MB_YESNO), platform::IDYES);
    EXPECT_EQ(platform::MessageBox(nullptr, "r", "y", platform::MB_RETRYCANCEL), platform::IDCANCEL);
    unsetenv("ORBISCOPE_MESSAGE_LOG");

    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].Icon(), platform::MB_ICONSTOP);
    EXPECT_FALSE(calls[0].hasOwner);
    EXPECT_TRUE(calls[1].YesNo());
    EXPECT_EQ(calls[2].shown, "Site latitude\nRange 0 to 90");
    EXPECT_EQ(calls[3].text, "Cannot read file " + name + " (\xB0)");
    EXPECT_EQ(calls[3].shown, QString::fromUtf8("Cannot read file " + name + " (°)"));
    EXPECT_EQ(ReadText(log),
              "File Load Error\tTOPO.TXT failed checksum\n"
              "Orbiscope Pro 1.0\tFile a may have been edited.\\n\\nSave?\n"
              "Range Error\tSite latitude\\nRange 0 to 90\n"
              "Orbiscope Pro 1.0\tCannot read file " + name + " (°)\n"
              "y\tx\n"
              "y\tr\n");
}

TEST(RegistryStandIn, ValuesKeysAndDefaultValue)
{
    platformtest::App();
    TempDir dir;
    platform::Registry::SetFolder(dir.Path());
    const std::string key = "Software\\Orbiscope\\DefaultCountryFile";
    EXPECT_FALSE(platform::Registry::ReadString(key, "").has_value());
    EXPECT_TRUE(platform::Registry::WriteString(key, "", "uk.twn"));
    EXPECT_EQ(platform::Registry::ReadString(key, ""), "uk.twn");
    EXPECT_TRUE(platform::Registry::WriteString("Software\\Orbiscope\\MRU", "File1", "a.glb"));
    EXPECT_TRUE(platform::Registry::DeleteKey("Software\\Orbiscope\\MRU"));
    EXPECT_FALSE(platform::Registry::ReadString("Software\\Orbiscope\\MRU", "File1").has_value());
    EXPECT_EQ(platform::Registry::ReadString(key, ""), "uk.twn");
    EXPECT_EQ(platform::Registry::FilePath(), dir.Path() / "registry.ini");
    namespace fs = std::filesystem;
    const fs::path file = platform::Registry::FilePath(), lock = platform::Registry::LockPath();
    // A write that changes nothing leaves the file alone.
    const auto inode = [&] {
        struct stat st {};
        return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const auto before = inode();
    EXPECT_TRUE(platform::Registry::WriteString(key, "", "uk.twn"));
    EXPECT_EQ(inode(), before);
    // From the moment it is at its name, the lock says whose it is, as Qt's
    // lock file does: the process, its program, and this machine's host
    // name, machine identity and boot identity, each read here from the
    // system.  The temporaries of a lock's taker that has gone are removed
    // by the next take; a running one's are its own.
    const std::string pidMax = FirstLine(ReadText("/proc/sys/kernel/pid_max"));
    const fs::path goneTakers = dir.Path() / (platform::TemporaryFilePrefix(lock) + pidMax + "-1"),
                   runningTakers = dir.Path() / (platform::TemporaryFilePrefix(lock) + std::to_string(::getppid()) + "-1");
    testfiles::WriteText(goneTakers, "");
    testfiles::WriteText(runningTakers, "");
    std::string linesWhenPlaced;
    platform::SetLockPlacingHook([&](const fs::path& made) { linesWhenPlaced = ReadText(made); });
    EXPECT_TRUE(platform::Registry::WriteString(key, "", "fr.twn"));
    platform::SetLockPlacingHook({});
    EXPECT_EQ(linesWhenPlaced, OwnLockLines(::getpid(), BootId()));
    EXPECT_FALSE(fs::exists(goneTakers));
    EXPECT_TRUE(fs::exists(runningTakers));
    fs::remove(runningTakers);

    // A file past its limit is neither read nor written; a FIFO at the lock's
    // name, which only writes use, is refused at once and never waited on.
    // A lock is waited for a short while: a writer that lets go in time is
    // waited for, a holder that does not (another machine's, or a live
    // process of this program's name: here this test itself) makes every
    // write of the session fail at once, named once through the notice.  A
    // leftover no one holds (a gone process's of this machine, or any lock
    // dated an hour from the clock, either way) is removed at once; a lock
    // someone holds never is.  Where the file system gives no advisory
    // lock, the lock goes on by its lines and its age alone.  A save the
    // system refuses, or that would pass the file's limit, is named with
    // the system's reason and leaves the file as it was.
    const auto limit = platform::kMaxSettingsFileBytes;
    constexpr int kNever = -1;
    const auto old = [&] { fs::last_write_time(lock, fs::file_time_type::clock::now() - std::chrono::hours(1)); };
    const auto ahead = [&] { fs::last_write_time(lock, fs::file_time_type::clock::now() + std::chrono::hours(1)); };
    // This test's own lock, as a live process of this machine leaves it,
    // dated off the clock as a file server's clock may date it.
    const auto liveDated = [&](std::chrono::seconds off) {
        return [&, off] {
            testfiles::WriteText(lock, OwnLockLines(::getpid(), BootId()));
            fs::last_write_time(lock, fs::file_time_type::clock::now() + off);
        };
    };
    // Larger than the process may write (its file-size limit).
    const auto bulky = [&] { testfiles::WriteText(file, ReadText(file) + "[N]\nx=" + std::string(8192, 'x') + "\n"); };
    // A few bytes short of the limit, with the key the writes add.
    const auto nearLimit = [&] {
        const std::string head = "[Notes]\nfiller=";
        testfiles::WriteText(file, head + std::string(limit - 4 - head.size(), 'x') + "\n");
    };
    using Step = platform::AtomicWriteStep;
    int flocked = -1;
    const auto holdWithFlock = [&] {
        flocked = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(::flock(flocked, LOCK_EX | LOCK_NB), 0);
    };
    const std::string theirs = "4194301\norbiscope\nanother-host\n";
    bool swapped = false;
    // Another machine's lock put at the name between the judging of a
    // leftover and its removal.
    const auto swapAtRemoval = [&] {
        if (std::exchange(swapped, true)) return;
        fs::rename(lock, dir.Path() / "judged");
        testfiles::WriteText(lock, theirs);
    };
    using platform::SettingsFile;
    struct Case {
        const char* name;
        std::function<void()> make;
        std::optional<std::string> read;
        fs::file_type lockAfter = fs::file_type::not_found;
        int heldMs = 0;  // a holder of ours takes the lock first, and lets go after this long
        bool written = false;
        SettingsFile named = SettingsFile::Usable;  // what the notice names, once
        std::function<void()> atRemoval = {};
        int noAdvisoryLock = 0;  // the error every flock of the lock gives
        platform::AtomicWriteFault fault = {};
        int error = 0;  // the system's reason the notice names
        rlim_t fileSizeLimit = RLIM_INFINITY;  // for the writes
    };
    const Case cases[] = {
        {"the file past its limit", [&] { fs::resize_file(file, limit + 1); }, {}, fs::file_type::not_found, 0, false,
         SettingsFile::TooLarge},
        {"the lock name a FIFO", [&] { ASSERT_EQ(::mkfifo(lock.c_str(), 0600), 0); }, "uk.twn", fs::file_type::fifo, 0,
         false, SettingsFile::NotRegular},
        {"the lock name a broken link", [&] { fs::create_symlink(dir.Path() / "nowhere", lock); }, "uk.twn",
         fs::file_type::not_found, 0, false, SettingsFile::NotRegular},
        {"the lock another machine's, fresh", [&] { testfiles::WriteText(lock, theirs); }, "uk.twn",
         fs::file_type::regular, 0, false, SettingsFile::Held},
        {"the lock held by a live process of this name", [] {}, "uk.twn", fs::file_type::regular, kNever, false,
         SettingsFile::Held},
        {"the lock let go by a writer within the wait", [] {}, "uk.twn", fs::file_type::not_found, 300, true},
        // A crash while writing leaves the lock: removed at once, and no
        // other name beside it is opened for that.
        {"the lock left by this machine's process that has gone, a FIFO beside it",
         [&] {
             testfiles::WriteText(lock, DeadProcessOfThisMachine());
             ASSERT_EQ(::mkfifo((lock.string() + ".rmlock").c_str(), 0600), 0);
         },
         "uk.twn", fs::file_type::not_found, 0, true},
        {"the lock of this process before the machine last started",
         [&] { testfiles::WriteText(lock, OwnLockLines(::getpid(), "another-boot")); }, "uk.twn",
         fs::file_type::not_found, 0, true},
        {"the lock of a process whose number another program now has",
         [&] { testfiles::WriteText(lock, OwnLockLines(::getppid(), BootId())); }, "uk.twn",
         fs::file_type::not_found, 0, true},
        {"the lock empty and an hour old", [&] { testfiles::WriteText(lock, ""), old(); }, "uk.twn",
         fs::file_type::not_found, 0, true},
        {"the lock another machine's, an hour old", [&] { testfiles::WriteText(lock, theirs), old(); }, "uk.twn",
         fs::file_type::not_found, 0, true},
        {"the lock this machine's before its host was renamed, an hour old",
         [&] {
             std::string lines = OwnLockLines(::getpid(), BootId());
             testfiles::WriteText(lock, lines.replace(lines.find(Host()), Host().size(), "old-name")), old();
         },
         "uk.twn", fs::file_type::not_found, 0, true},
        {"the lock another machine's, an hour old, held",
         [&] { testfiles::WriteText(lock, theirs), old(), holdWithFlock(); }, "uk.twn", fs::file_type::regular, 0, false,
         SettingsFile::Held},
        // Only the advisory lock tells a live holder whose program may not be
        // known (another user's) from a gone one.
        {"the lock held, its lines a gone process's",
         [&] { testfiles::WriteText(lock, DeadProcessOfThisMachine()), holdWithFlock(); }, "uk.twn",
         fs::file_type::regular, 0, false, SettingsFile::Held},
        {"a gone process's lock, another machine's put in its place as it is removed",
         [&] { testfiles::WriteText(lock, DeadProcessOfThisMachine()); }, "uk.twn", fs::file_type::regular, 0, false,
         SettingsFile::Held, swapAtRemoval},
        {"the lock empty and an hour ahead", [&] { testfiles::WriteText(lock, ""), ahead(); }, "uk.twn",
         fs::file_type::not_found, 0, true},
        {"the lock another machine's, an hour ahead", [&] { testfiles::WriteText(lock, theirs), ahead(); }, "uk.twn",
         fs::file_type::not_found, 0, true},
        {"no advisory locks", [] {}, "uk.twn", fs::file_type::not_found, 0, true, SettingsFile::Usable, {}, ENOLCK},
        {"no advisory locks, the lock empty and an hour old", [&] { testfiles::WriteText(lock, ""), old(); }, "uk.twn",
         fs::file_type::not_found, 0, true, SettingsFile::Usable, {}, EOPNOTSUPP},
        {"no advisory locks, the lock another machine's, fresh", [&] { testfiles::WriteText(lock, theirs); },
         "uk.twn", fs::file_type::regular, 0, false, SettingsFile::Held, {}, ENOLCK},
        {"no advisory locks, a live process's lock 40 s ahead", liveDated(std::chrono::seconds(40)), "uk.twn",
         fs::file_type::regular, 0, false, SettingsFile::Held, {}, ENOLCK},
        {"no advisory locks, a live process's lock 40 s behind", liveDated(std::chrono::seconds(-40)), "uk.twn",
         fs::file_type::regular, 0, false, SettingsFile::Held, {}, ENOLCK},
        {"the disk full", [] {}, "uk.twn", fs::file_type::not_found, 0, false, SettingsFile::NotSaved, {}, 0,
         [](Step s, const fs::path&) { return s == Step::Write ? ENOSPC : 0; }, ENOSPC},
        {"the rename failing", [] {}, "uk.twn", fs::file_type::not_found, 0, false, SettingsFile::NotSaved, {}, 0,
         [](Step s, const fs::path&) { return s == Step::Rename ? EIO : 0; }, EIO},
        {"the file a few bytes short of its limit, the key not in it", nearLimit, {}, fs::file_type::not_found, 0,
         false, SettingsFile::WouldBeTooLarge},
        {"the file larger than the process may write", bulky, "uk.twn", fs::file_type::not_found, 0, false,
         SettingsFile::NotSaved, {}, 0, {}, EFBIG, 4096},
    };
    for (const Case& c : cases) {
        platform::Registry::SetFolder(dir.Path());
        std::vector<std::pair<SettingsFile, int>> named;
        platform::Registry::SetWriteRefusedNotice(
            [&named](const platform::Registry::Refusal& r) { named.push_back({r.why, r.error}); });
        ASSERT_TRUE(platform::Registry::WriteString(key, "", "uk.twn")) << c.name;
        swapped = false;
        c.make();
        platform::SetLeftoverRemovalHook(c.atRemoval);
        platform::SetAdvisoryLockError(c.noAdvisoryLock);
        platform::SetAtomicWriteFault(c.fault);
        QLockFile holder(QString::fromStdString(lock.string()));
        if (c.heldMs != 0) {
            ASSERT_TRUE(holder.tryLock(0)) << c.name;
        }
        // The holder's own work, which the writes below wait on.
        std::thread letGo([&] {
            if (c.heldMs <= 0) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(c.heldMs));
            holder.unlock();
        });
        const auto size = fs::file_size(file);
        std::optional<std::string> read;
        bool written = !c.written, again = !c.written;
        rlimit unlimited {}, limited {};
        ::getrlimit(RLIMIT_FSIZE, &unlimited);
        limited = {std::min(c.fileSizeLimit, unlimited.rlim_max), unlimited.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
        auto second = std::chrono::steady_clock::duration::max();
        const fs::path watched = c.lockAfter == fs::file_type::fifo ? lock
                                 : fs::exists(lock.string() + ".rmlock") ? fs::path(lock.string() + ".rmlock")
                                                                         : file;
        EXPECT_FALSE(testfiles::WaitedOnFifo(watched, [&] {
            read = platform::Registry::ReadString(key, "");
            written = platform::Registry::WriteString(key, "", "fr.twn");
            const auto start = std::chrono::steady_clock::now();
            again = platform::Registry::WriteString(key, "", "de.twn");
            second = std::chrono::steady_clock::now() - start;
        })) << c.name;
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        letGo.join();
        platform::SetLeftoverRemovalHook({});
        platform::SetAdvisoryLockError(0);
        platform::SetAtomicWriteFault({});
        EXPECT_EQ(read, c.read) << c.name;
        EXPECT_EQ(written, c.written) << c.name;
        EXPECT_EQ(again, c.written) << c.name;
        EXPECT_EQ(platform::Registry::ReadString(key, ""), c.read ? (c.written ? "de.twn" : "uk.twn") : c.read)
            << c.name;
        EXPECT_EQ(fs::file_size(file), size) << c.name;
        EXPECT_EQ(fs::status(lock).type(), c.lockAfter) << c.name;
        if (c.atRemoval) {
            EXPECT_EQ(ReadText(lock), theirs) << c.name;
        }
        using Named = std::vector<std::pair<SettingsFile, int>>;
        const Named expected = c.named == SettingsFile::Usable ? Named{} : Named{{c.named, c.error}};
        EXPECT_EQ(named, expected) << c.name;
        for (const auto& e : fs::directory_iterator(dir.Path()))
            EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << c.name << ": " << e.path();
        // Found held once, never waited on again.
        if (c.named == SettingsFile::Held) {
            EXPECT_LT(second, std::chrono::milliseconds(platform::kLockWaitMs / 2)) << c.name;
        }
        holder.unlock();
        if (flocked >= 0) ::close(std::exchange(flocked, -1));
        fs::remove(file);
        fs::remove(lock);
        fs::remove(lock.string() + ".rmlock");
        fs::remove(dir.Path() / "judged");
    }

    // A session counts as told only of what its notice showed: a refusal
    // met before the notice is set is named as it is set.  One is named
    // again only when it comes back after a save has gone through.
    platform::Registry::SetFolder(dir.Path());
    int failing = ENOSPC;
    platform::SetAtomicWriteFault([&failing](Step s, const fs::path&) { return s == Step::Write ? failing : 0; });
    std::vector<int> told;
    EXPECT_FALSE(platform::Registry::WriteString(key, "", "a"));
    platform::Registry::SetWriteRefusedNotice([&told](const platform::Registry::Refusal& r) { told.push_back(r.error); });
    for (const int fails : {EDQUOT, 0, EIO, EIO})
        EXPECT_EQ(platform::Registry::WriteString(key, "", std::to_string(failing = fails)), fails == 0);
    platform::SetAtomicWriteFault({});
    EXPECT_EQ(told, (std::vector<int>{ENOSPC, EIO}));
    platform::Registry::SetFolder({});
}

// The registry as the settings class of Qt writes and reads it: a file an
// earlier version wrote gives every value back, and each write here is, byte
// for byte, the file that class would have written.  Values it cannot have
// written (a list, a number, a comment) are kept through a write.
TEST(RegistryStandIn, FilesOfQtsSettingsClassAlike)
{
    platformtest::App();
    TempDir dir;
    namespace fs = std::filesystem;
    std::string everyByte;
    for (int c = 1; c < 256; ++c) everyByte += char(c);
    const std::string texts[] = {
        "", "uk.twn", " lead", "trail ", "a,b", "a;b", "a=b", "say \"x\"", "C:\\x", "tab\there\nline\r",
        "\x01" "1", "\x1f" "fz", "@at", "@@two", "@String(x)", "@ByteArray(x)", "@Invalid()", "\x7f",
        "/home/ana/T\xE9l\xE9" "chargements/\xC3\xA9t\xC3\xA9.glb", everyByte, std::string("a\0" "1b", 4), "end\t"};
    const std::string key = "Software\\Orbiscope\\MRU";
    const auto qtKey = [](const std::string& k, const char* name) {
        return QString::fromStdString(k).replace('\\', '/') + '/' + name;
    };
    for (const std::string& text : texts) {
        const QString shown = QString::fromLatin1(text.data(), qsizetype(text.size()));
        SCOPED_TRACE(shown.toStdString());
        platform::Registry::SetFolder(dir.Path() / "ours");
        ASSERT_TRUE(platform::Registry::WriteString(key, "File1", text));
        fs::remove_all(dir.Path() / "qt");
        {
            QSettings qt(QString::fromStdString((dir.Path() / "qt/registry.ini").string()), QSettings::IniFormat);
            qt.setValue(qtKey(key, "File1"), shown);
        }
        EXPECT_EQ(ReadText(dir.Path() / "ours/registry.ini"), ReadText(dir.Path() / "qt/registry.ini"));
        platform::Registry::SetFolder(dir.Path() / "qt");
        EXPECT_EQ(platform::Registry::ReadString(key, "File1"), text);
    }
    // Several keys, sections and removals.
    const std::vector<platform::RegistryChange> changes = {
        {platform::RegistryChange::Kind::Set, key, "File2", "b.glb"},
        {platform::RegistryChange::Kind::Set, "Software\\Orbiscope\\DefaultCountryFile", "", "uk.twn"},
        {platform::RegistryChange::Kind::Set, "Software\\Orbiscope\\Folders", "*last", "/x"},
        {platform::RegistryChange::Kind::Set, "Software\\Orbiscope\\Folders", "\xC3\xA9t\xC3\xA9 x", "/y"},
        {platform::RegistryChange::Kind::Set, "Software\\Orbiscope\\Folders", "100%41", "/z"},
        {platform::RegistryChange::Kind::Set, "General", "x", "g"},
        {platform::RegistryChange::Kind::DeleteValue, key, "File1", {}},
        {platform::RegistryChange::Kind::Set, "Other\\Sub", "k", "gone"},
        {platform::RegistryChange::Kind::DeleteKey, "Other", {}, {}},
    };
    platform::Registry::SetFolder(dir.Path() / "ours");
    ASSERT_TRUE(platform::Registry::Write(changes));
    {
        QSettings qt(QString::fromStdString((dir.Path() / "qt/registry.ini").string()), QSettings::IniFormat);
        for (const platform::RegistryChange& c : changes) {
            const QString k = qtKey(c.key, c.valueName.empty() ? "(Default)" : c.valueName.c_str());
            if (c.kind == platform::RegistryChange::Kind::Set) qt.setValue(k, QString::fromLatin1(c.value.c_str()));
            else qt.remove(c.kind == platform::RegistryChange::Kind::DeleteKey ? QString::fromStdString(c.key) : k);
        }
    }
    EXPECT_EQ(ReadText(dir.Path() / "ours/registry.ini"), ReadText(dir.Path() / "qt/registry.ini"));

    // A file the user or another program edited.
    testfiles::WriteText(dir.Path() / "ours/registry.ini",
                         "\xEF\xBB\xBF; a comment\r\n[Software]\r\nOrbiscope\\List=a, b\r\n"
                         "Orbiscope\\Number=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\r\n"
                         "Orbiscope\\Spread=\"one\r\ntwo\" ; said\r\n"
                         "[Software\\Orbiscope\\MRU]\r\nFile1 = \"x, y\"\r\n");
    const auto values = [&] {
        QSettings qt(QString::fromStdString((dir.Path() / "ours/registry.ini").string()), QSettings::IniFormat);
        std::map<QString, QVariant> all;
        for (const QString& k : qt.allKeys()) all[k] = qt.value(k);
        return all;
    };
    auto before = values();
    EXPECT_EQ(platform::Registry::ReadString(key, "File1"), "x, y");
    EXPECT_EQ(platform::Registry::ReadString("Software\\Orbiscope", "Spread"), "one\r\ntwo");
    ASSERT_TRUE(platform::Registry::WriteString(key, "File2", "c.glb"));
    before[QStringLiteral("Software/Orbiscope/MRU/File2")] = QStringLiteral("c.glb");
    EXPECT_EQ(values(), before);
    platform::Registry::SetFolder({});
}

// Two programs writing at once: each write takes the lock, reads what the
// other wrote, and adds its own.
TEST(RegistryStandIn, TwoWritersAtOnceLoseNothing)
{
    platformtest::App();
    TempDir dir;
    platform::Registry::SetFolder(dir.Path());
    constexpr int kEach = 25;
    std::fflush(nullptr);
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            bool all = true;
            for (int i = 0; i < kEach; ++i)
                all = platform::Registry::WriteString("Software\\W" + std::to_string(w), std::to_string(i), "v") && all;
            ::_exit(all ? 0 : 1);
        }
    }
    for (const pid_t writer : writers) {
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        pid_t ended = 0;
        while ((ended = ::waitpid(writer, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (ended == 0) ::kill(writer, SIGKILL), ::waitpid(writer, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed a write, or hung";
    }
    for (int w = 0; w < 2; ++w)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(platform::Registry::ReadString("Software\\W" + std::to_string(w), std::to_string(i)), "v");
    platform::Registry::SetFolder({});
}

// A registry write killed between linking its temporary file and renaming
// it over the registry leaves the temporary, "registry.ini." and six
// letters: removed at the next first start, and nothing else is, nor while
// another program writes the registry (it holds the settings' lock).
TEST(RegistryStandIn, LeftoversOfAKilledWriteAreRemoved)
{
    platformtest::App();
    TempDir dir;
    platform::Registry::SetFolder(dir.Path() / "registry");
    const std::string key = "Software\\Orbiscope\\DefaultCountryFile";
    ASSERT_TRUE(platform::Registry::WriteString(key, "", "uk.twn"));
    enum class Kind { File, LinkToFile, Folder };
    struct Case { const char* name; Kind kind; bool removed; };
    const Case cases[] = {
        {"registry.ini.hWqZbA", Kind::File, true},
        {"registry.ini.x0Y9kQ", Kind::File, true},
        {"registry.ini.hWqZb", Kind::File, false},
        {"registry.ini.hWqZbAA", Kind::File, false},
        {"registry.ini.hW-ZbA", Kind::File, false},
        {"other.ini.hWqZbA", Kind::File, false},
        {".registry.ini.hWqZbA", Kind::File, false},
        {"registry.ini.LiNkEd", Kind::LinkToFile, false},
        {"registry.ini.FoLdEr", Kind::Folder, false},
    };
    const std::filesystem::path folder = dir.Path() / "registry";
    testfiles::WriteText(dir.Path() / "mine.txt", "my own file");
    for (const Case& c : cases) {
        if (c.kind == Kind::File) testfiles::WriteText(folder / c.name, "[x]\n");
        if (c.kind == Kind::Folder) std::filesystem::create_directory(folder / c.name);
        if (c.kind == Kind::LinkToFile) std::filesystem::create_symlink(dir.Path() / "mine.txt", folder / c.name);
    }
    const auto left = [&](const Case& c) {
        return std::filesystem::exists(std::filesystem::symlink_status(folder / c.name));
    };
    {
        QLockFile writing(QString::fromStdString(platform::Registry::FilePath().string() + ".lock"));
        ASSERT_TRUE(writing.tryLock(0));
        platform::Registry::RemoveLeftovers();
        for (const Case& c : cases) EXPECT_TRUE(left(c)) << c.name << " removed while another program writes";
    }
    platform::Registry::RemoveLeftovers();
    for (const Case& c : cases) EXPECT_EQ(left(c), !c.removed) << c.name;
    EXPECT_EQ(ReadText(dir.Path() / "mine.txt"), "my own file");
    EXPECT_EQ(platform::Registry::ReadString(key, ""), "uk.twn");
    platform::Registry::SetFolder({});
}

TEST(RecentFilesList, SixEntriesNewestFirstReloaded)
{
    platformtest::App();
    TempDir dir;
    platform::Registry::SetFolder(dir.Path());
    platform::RecentFiles mru("Software\\Orbiscope\\MRU", 6, 30);
    for (const char* f : {"a", "b", "c", "d", "e", "f", "g"}) mru.Add(std::string("/data/") + f + ".glb");
    mru.Add("/data/c.glb");
    const std::vector<std::string> expected = {"/data/c.glb", "/data/g.glb", "/data/f.glb",
                                               "/data/e.glb", "/data/d.glb", "/data/b.glb"};
    EXPECT_EQ(mru.Files(), expected);
    EXPECT_EQ(mru.MenuText(6), "");
    platform::RecentFiles again("Software\\Orbiscope\\MRU", 6, 30);
    again.Load();
    EXPECT_EQ(again.Files(), mru.Files());
    // Another session adds a file meanwhile: this one's next file goes on
    // top of the list as it is on disk, which both keep.
    again.Add("/data/h.glb");
    mru.Add("/data/a.glb");
    const std::vector<std::string> merged = {"/data/a.glb", "/data/h.glb", "/data/c.glb",
                                             "/data/g.glb", "/data/f.glb", "/data/e.glb"};
    EXPECT_EQ(mru.Files(), merged);
    platform::RecentFiles onDisk("Software\\Orbiscope\\MRU", 6, 30);
    onDisk.Load();
    EXPECT_EQ(onDisk.Files(), merged);

    // Files added while the list could not be saved (a full disk here, a
    // held lock alike) are in the menu at once, and go on top of the list on
    // disk, in their order, with the next save that goes through: a plain
    // one, as the exit's, too.
    platform::SetAtomicWriteFault([](platform::AtomicWriteStep, const std::filesystem::path&) { return ENOSPC; });
    mru.Add("/data/k.glb");
    mru.Add("/data/m.glb");
    platform::SetAtomicWriteFault({});
    EXPECT_EQ(mru.Files().front(), "/data/m.glb");
    onDisk.Load();
    EXPECT_EQ(onDisk.Files(), merged);
    ASSERT_TRUE(platform::Registry::WriteString("Software\\Orbiscope\\DefaultCountryFile", "", "uk.twn"));
    onDisk.Load();
    const std::vector<std::string> kept = {"/data/m.glb", "/data/k.glb", "/data/a.glb",
                                           "/data/h.glb", "/data/c.glb", "/data/g.glb"};
    EXPECT_EQ(onDisk.Files(), kept);
    // A later change of the same name replaces the one kept: what is kept
    // does not grow, and only the last is made.
    std::vector<int> asked(2);
    platform::SetAtomicWriteFault([](platform::AtomicWriteStep, const std::filesystem::path&) { return ENOSPC; });
    for (const std::size_t i : {0u, 1u})
        platform::Registry::Update([&asked, i](const platform::Registry::Reader&) {
            ++asked[i];
            return std::vector<platform::RegistryChange>{{platform::RegistryChange::Kind::Set, "F", "x", "v"}};
        }, "folder x");
    platform::SetAtomicWriteFault({});
    ASSERT_TRUE(platform::Registry::WriteString("Software\\Orbiscope\\DefaultCountryFile", "", "fr.twn"));
    EXPECT_EQ(asked, (std::vector<int>{1, 2}));

    // An entry another program wrote as text beyond Latin-1 is the file
    // system's UTF-8 name, shown and opened so, and moves down in its own
    // bytes.
    const QString tokyo = QString::fromUtf8("/data/\u6771\u4EAC.glb");
    {
        QSettings qt(QString::fromStdString(platform::Registry::FilePath().string()), QSettings::IniFormat);
        qt.setValue(QStringLiteral("Software/Orbiscope/MRU/File1"), tokyo);
    }
    onDisk.Load();
    EXPECT_EQ(onDisk.Files().front(), tokyo.toStdString());
    EXPECT_EQ(onDisk.MenuText(0), tokyo);
    // Set to the bytes it reads as, the file is left as it is.
    const std::string written = ReadText(platform::Registry::FilePath());
    const auto writtenAt = std::filesystem::last_write_time(platform::Registry::FilePath());
    ASSERT_TRUE(platform::Registry::WriteString("Software\\Orbiscope\\MRU", "File1", tokyo.toStdString()));
    EXPECT_EQ(std::make_pair(ReadText(platform::Registry::FilePath()), writtenAt),
              std::make_pair(written, std::filesystem::last_write_time(platform::Registry::FilePath())));
    // Moved down by another file, and back to the top by opening it: in the
    // file as that class wrote it, the text's UTF-8, as it is (Qt's own
    // cache of the file is not asked: it may take a rewrite of the same size
    // within its clock's step for no change).
    mru.Add("/data/n.glb");
    EXPECT_EQ(mru.Files()[1], tokyo.toStdString());
    EXPECT_NE(ReadText(platform::Registry::FilePath()).find("MRU\\File2=" + tokyo.toStdString() + "\n"),
              std::string::npos);
    mru.Add(tokyo.toStdString());
    EXPECT_NE(ReadText(platform::Registry::FilePath()).find("MRU\\File1=" + tokyo.toStdString() + "\n"),
              std::string::npos);
    platform::Registry::SetFolder({});
}

// Another machine's lock appears while the list is saved (our own lock
// moved aside and theirs put at its name, as the list's file is written):
// the list is saved whole, theirs left, and the next list not at all.
TEST(RecentFilesList, SavedWholeOrNotAtAll)
{
    platformtest::App();
    TempDir dir;
    namespace fs = std::filesystem;
    platform::Registry::SetFolder(dir.Path());
    const std::string key = "Software\\Orbiscope\\MRU", theirs = "4194301\norbiscope\nanother-host\n";
    const fs::path lock = platform::Registry::LockPath();
    ASSERT_TRUE(platform::Registry::WriteString(key, "File1", "/data/old.glb"));
    int notices = 0;
    platform::Registry::SetWriteRefusedNotice([&notices](const platform::Registry::Refusal&) { ++notices; });
    platform::RecentFiles mru(key, 6, 30);
    mru.Load();
    platform::SetTemporaryFileHook([&](const fs::path&) {
        if (fs::exists(dir.Path() / "ours")) return;
        fs::rename(lock, dir.Path() / "ours");
        testfiles::WriteText(lock, theirs);
    });
    mru.Add("/data/new.glb");
    platform::SetTemporaryFileHook({});
    const auto onDisk = [&] {
        platform::RecentFiles again(key, 6, 30);
        again.Load();
        return again.Files();
    };
    const std::vector<std::string> whole = {"/data/new.glb", "/data/old.glb"};
    EXPECT_EQ(onDisk(), whole);
    EXPECT_EQ(ReadText(lock), theirs);
    EXPECT_EQ(notices, 0);
    mru.Add("/data/third.glb");
    EXPECT_EQ(onDisk(), whole);
    EXPECT_EQ(notices, 1);
    platform::Registry::SetFolder({});
}

TEST(RecentFilesList, MenuTextIsShortenedInTheMiddle)
{
    // Written out by hand: the file name whole with its slash, the folders
    // kept from the start as far as the 30 characters allow, "..." between.
    struct Case { const char* path; const char* shown; };
    const Case cases[] = {
        {"/home/ana/link.glb", "/home/ana/link.glb"},
        // 40 characters: 9 of the folders, "...", the 18 of "/london-madrid.glb".
        {"/home/ana/budgets/2026/london-madrid.glb", "/home/ana.../london-madrid.glb"},
        // 35: 21 of the folders, "...", the 6 of "/x.rup".
        {"/srv/projects/ground/stations/x.rup", "/srv/projects/ground/.../x.rup"},
        {"/a/very/long/folder/name/that/goes/on/budget.glb", "/a/very/long/fol.../budget.glb"},
        // A name too long for the width keeps its last 27 characters.
        {"/data/an-extremely-long-document-name-for-a-budget.glb", "...ument-name-for-a-budget.glb"},
        {"relative-name-of-thirty-one.glb", "...tive-name-of-thirty-one.glb"},
        // Characters, not the bytes of the file system's UTF-8: 30 fit whole;
        // 39 keep 21 of the folders; 45 keep the last 27 of the name.
        {"/home/ana/Документы/Москва.sun", "/home/ana/Документы/Москва.sun"},
        {"/home/ana/Téléchargements/budgets/x.glb", "/home/ana/Téléchargem.../x.glb"},
        {"/data/Документы/Отчёт-о-спутниковой-связи.glb", "...чёт-о-спутниковой-связи.glb"},
    };
    platformtest::App();
    TempDir dir;
    platform::Registry::SetFolder(dir.Path());
    for (const Case& c : cases) {
        platform::RecentFiles recent("Software\\Orbiscope\\MRU", 6, 30);
        recent.Add(c.path);
        EXPECT_EQ(recent.Files().front(), c.path);
        EXPECT_EQ(recent.MenuText(0), QString::fromUtf8(c.shown));
    }
    platform::Registry::SetFolder({});
}

TEST(FileDialogs, FilterPairsAndQueuedAnswers)
{
    platformtest::App();
    const auto pairs = platform::SplitFilter("Bitmap Files (*.??" "?)|*.bmp;*.gif;*.pcx;*.tif;*.jpg|");
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].second, "*.bmp;*.gif;*.pcx;*.tif;*.jpg");
    EXPECT_EQ(platform::SplitFilter("A|*.a|B|*.b").size(), 2u);

    platform::FileDialogData data;
    data.defaultExt = "tab";
    platform::QueueFileDialogAnswer({{"/tmp/out"}});
    ASSERT_TRUE(platform::RunFileSave(nullptr, "Save", data));
    EXPECT_EQ(data.fileName, "/tmp/out.tab");
    EXPECT_EQ(platform::LastFileDialogRequest().title, "Save");
    platform::QueueFileDialogAnswer({});
    EXPECT_FALSE(platform::RunFileOpen(nullptr, "Open", data));
    EXPECT_FALSE(platform::RunFileOpen(nullptr, "Open", data));  // nothing queued offscreen: cancel
}

TEST(TabbedText, PenMovesToTheNextStop)
{
    // Average character width 7 px.
    struct Case { int offset; std::vector<int> stops; int next; };
    const Case cases[] = {
        {0, {0}, 56},  // one stop of 0: every 8 average widths
        {55, {0}, 56},
        {56, {0}, 112},
        {10, {}, 56},
        {10, {100}, 100},  // one stop: a fixed spacing
        {130, {100}, 200},
        {10, {140, 210, 350}, 140},
        {139, {140, 210, 350}, 140},
        {140, {140, 210, 350}, 210},
        {400, {140, 210, 350}, 407},  // past the last stop: one average width
    };
    for (const Case& c : cases) EXPECT_EQ(platform::NextTabOffset(c.offset, c.stops, 7), c.next) << c.offset;
    EXPECT_EQ(platform::NextTabOffset(47, {0}, 6), 48);  // 8 widths of 6
}

}  // namespace
