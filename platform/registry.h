// Registry stand-in (an ini file in the format of Qt's settings class) and
// the recent-files list.
#pragma once

#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/atomic_file.h"

namespace platform {

// ---- registry ----------------------------------------------------------------
// Keys are written as the system names them ("Software\Orbiscope\MRU"); the
// default value of a key is the value name "" (stored as "(Default)").
// The file lives in the user's configuration folder (test mode respected)
// unless a folder is set.  The file is used only as CheckSettingsFile
// allows: while it may not be read every value reads as missing, and while
// it may not be written every write fails, so that a file gone wrong costs
// neither memory nor its bytes, a FIFO never stops the program and a device
// is never written through.  The lock beside it (SettingsLock) guards
// writes alone, and is judged by what is at its name when a write uses it:
// each write takes it once, reads the file, changes it and replaces it
// whole, so that it holds all of a write's changes or none, and two
// processes writing at once lose neither's.
//
// A write waits for the lock at most kLockWaitMs: a write holds it for
// milliseconds, and a leftover no one holds is removed at once, but one
// whose holder cannot be judged (another machine's Orbiscope sharing this
// home, while its lock is younger than SettingsLock::kLeftoverAge; a live
// process that shares the program's name) may not be let go.  A lock not
// let go within that is taken as held for the rest of the session: no
// write waits on it again, and a write saves only once it is gone.
//
// A change that is not saved (the file refused, the lock held, the system
// refusing the save, a file that would pass its limit) is kept for the
// session: the next write that saves makes it first, on the file as it is
// then, so that removing a held lock or making room on a full disk loses
// nothing of the session's.  A single value is the last save's: a kept
// change writes over what another session saved in it meanwhile.  A save
// never writes a file past kMaxSettingsFileBytes, which the program would
// then refuse to read.
inline constexpr int kLockWaitMs = 2000;

// A value's bytes.  The program's values are bytes, one a character
// (Latin-1), as the file system's names are; a text another program wrote
// in letters beyond Latin-1 reads as its UTF-8, `utf8` set.
struct RegistryValue {
    std::string bytes;
    bool utf8 = false;
};

// One change of a write.
struct RegistryChange {
    enum class Kind { Set, DeleteValue, DeleteKey };
    Kind kind;
    std::string key;
    std::string valueName;  // Set and DeleteValue
    std::string value;      // Set
    // Set: `value` is UTF-8 text, written as the text it spells, so that a
    // value read as RegistryValue::utf8 is written back in its own bytes.
    bool utf8 = false;
};

class Registry {
public:
    // Empty: the default.  A new folder is a new registry: what was found of
    // the lock is forgotten, the notice and the kept changes with it.
    static void SetFolder(const std::filesystem::path& folder);
    static std::filesystem::path FilePath();
    static std::filesystem::path LockPath();

    // A name that keeps the registry from being used in full, and why.
    struct Refusal {
        std::filesystem::path file;
        SettingsFile why;
        bool lock = false;  // the lock name, which only writes use
        int error = 0;      // the system's reason, for SettingsFile::NotSaved
    };
    // The file's refusal or, where the file is usable, the lock's; empty
    // while both are.  A lock that exists is judged as a write would judge
    // it, and waited for (kLockWaitMs at most), so that a held one is among
    // them, as SettingsFile::Held.  What it returns is taken as named.
    static std::vector<Refusal> Refusals();
    // Called when a write is refused for a name (the file or its lock), by
    // the system, or for the file's limit, so that no write is dropped
    // without a word: once, and again only when a refusal comes back after a
    // save has gone through since, never while Refusals() named something.
    // A refusal met before a notice is set (a write at start-up) is given to
    // the notice as it is set, unless Refusals() named something meanwhile
    // or a save went through: no session counts as told of what it was not
    // shown.
    static void SetWriteRefusedNotice(std::function<void(const Refusal&)> notice);

    // The value's bytes (RegistryValue).
    static std::optional<std::string> ReadString(const std::string& key, const std::string& valueName);
    // The changes in order, under one take of the lock: all saved, or none.
    // Kept unsaved, a later write of the same values replaces them.
    static bool Write(std::span<const RegistryChange> changes);
    // The registry as a write finds it on disk, under the lock, with what
    // this session kept unsaved made first.
    using Reader = std::function<std::optional<RegistryValue>(const std::string& key, const std::string& valueName)>;
    using Changes = std::function<std::vector<RegistryChange>(const Reader& onDisk)>;
    // Under one take of the lock: the changes `changesFor` makes of the
    // registry as it is on disk, so that what another process wrote since
    // this one read it is built on, never undone.  Kept unsaved under the
    // name `keptAs`, a later update kept so replaces it.
    static bool Update(const Changes& changesFor, const std::string& keptAs);
    // Whether an update kept under that name still waits to be saved.
    static bool Keeps(const std::string& keptAs);
    // The end's save: the changes, kept as Write keeps them, and all the
    // session kept.  Where the system refuses it (SettingsFile::NotSaved)
    // the refusal is returned, not given to the notice: the end names what
    // it loses in words of its own, and may call this again, with no
    // changes, to try once more.  Nullopt when all is saved, and when a
    // refusal for a name or the limit kept them (given to the notice, as a
    // write's: that was named when first met, with what it costs).
    static std::optional<Refusal> SaveAtEnd(std::span<const RegistryChange> changes);
    static bool WriteString(const std::string& key, const std::string& valueName, const std::string& value);
    static bool DeleteValue(const std::string& key, const std::string& valueName);
    static bool DeleteKey(const std::string& key);  // with all its sub-keys
    // Removes the temporary files of the registry file that an earlier
    // version's write, killed between making and renaming one, left beside
    // it ("registry.ini." and six letters or digits): regular files only,
    // links and folders of that name left alone.  Done under the lock, so
    // that no other program's write is caught half-way; skipped while
    // another holds it.  (A write of this version's leaves its own kind,
    // which the next write removes.)
    static void RemoveLeftovers();
};

// ---- recent files ------------------------------------------------------------
// A most-recently-used list kept in the registry under one key ("File1" is
// the newest).  A file added is put at the top of the list as it is on
// disk, so that another session's entries since this one read it are kept,
// and that list becomes this session's.  Files added while the list could
// not be saved go on top of it, in their order, with the next save.  The
// paths are kept whole, as the file system's bytes (an entry another
// program wrote as text beyond Latin-1 is that text's UTF-8, and is moved in
// its own bytes); their menu texts show them as the file system names them
// (ShownFileName), shortened to a maximum length in the middle, so that the
// file name stays in sight.
class RecentFiles {
public:
    RecentFiles(std::string registryKey, int maxEntries, int maxTextLength);

    void Add(const std::string& fileName);  // moves an existing entry to the top
    const std::vector<std::string>& Files() const { return files_; }
    QString MenuText(int index) const;   // the shortened text of entry index (0 = newest)
    void Load();

private:
    std::string key_;
    int maxEntries_;
    int maxTextLength_;
    std::vector<std::string> files_;
    std::vector<std::string> keptBack_;  // added, not yet saved: newest first
};

// The path in at most maxLength characters: the leading folders, "...", and
// the file name with its slash; a name too long for that keeps its end.
QString ShortenPath(const QString& path, std::size_t maxLength);

}  // namespace platform
