#include "platform/registry.h"

#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ini_document.h"
#include "platform/services.h"
#include "platform/settings_lock.h"

namespace platform {

// ---- registry ----------------------------------------------------------------
namespace {
std::filesystem::path& RegistryFolder()
{
    static std::filesystem::path folder;
    return folder;
}

QString GroupOf(const std::string& key)
{
    QString k = QString::fromStdString(key);
    k.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return k;
}

QString ValueKey(const std::string& key, const std::string& valueName)
{
    return GroupOf(key) + QLatin1Char('/') +
           (valueName.empty() ? QStringLiteral("(Default)") : QString::fromStdString(valueName));
}

struct LockState {
    bool held = false;
    bool named = false;  // a refusal was named: none is named again
    std::function<void(const Registry::Refusal&)> notice;
};

LockState& Lock()
{
    static LockState state;
    return state;
}

void NameOnce(const Registry::Refusal& refusal)
{
    LockState& state = Lock();
    if (state.named || refusal.why == SettingsFile::Usable) return;
    state.named = true;
    if (state.notice) state.notice(refusal);
}

// Takes the lock, waiting kLockWaitMs at most; once its holder did not let
// go within that, it is taken as held for the rest of the session, and no
// take waits on it again.  Nullopt once taken; else why not, or Usable
// where the system failed (a full disk), which no name mends.
std::optional<Registry::Refusal> TakeLock(SettingsLock& lock)
{
    LockState& state = Lock();
    switch (lock.TakeWithin(std::chrono::milliseconds(state.held ? 0 : kLockWaitMs))) {
    case SettingsLock::Take::Taken: return std::nullopt;
    case SettingsLock::Take::Held:
        state.held = true;
        return Registry::Refusal{Registry::LockPath(), SettingsFile::Held, true};
    case SettingsLock::Take::Refused: return Registry::Refusal{Registry::LockPath(), lock.Refusal(), true};
    case SettingsLock::Take::Failed: break;
    }
    return Registry::Refusal{Registry::LockPath(), SettingsFile::Usable, true};
}

// The registry as it is on disk: empty when absent, nullopt when it may not
// be read (it changed kind, or grew past its limit, since it was checked).
std::optional<IniDocument> ReadRegistry()
{
    struct stat st {};
    if (::lstat(Registry::FilePath().c_str(), &st) != 0 && errno == ENOENT) return IniDocument{};
    std::vector<std::uint8_t> bytes;
    if (ReadRegularFile(Registry::FilePath(), bytes, kMaxSettingsFileBytes) != FileRead::Whole) return std::nullopt;
    return IniDocument::Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::optional<std::string> TextOf(const IniDocument& doc, const std::string& key, const std::string& valueName)
{
    const std::optional<QString> v = doc.Text(ValueKey(key, valueName));
    if (!v) return std::nullopt;
    return v->toLatin1().toStdString();
}
}  // namespace

void Registry::SetFolder(const std::filesystem::path& folder)
{
    RegistryFolder() = folder;
    Lock() = {};
}

void Registry::SetWriteRefusedNotice(std::function<void(const Refusal&)> notice) { Lock().notice = std::move(notice); }

std::filesystem::path Registry::FilePath()
{
    std::filesystem::path folder = RegistryFolder();
    if (folder.empty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
        folder /= "Orbiscope";
    }
    return folder / "registry.ini";
}

std::filesystem::path Registry::LockPath()
{
    std::filesystem::path lock = FilePath();
    lock += ".lock";
    return lock;
}

std::vector<Registry::Refusal> Registry::Refusals()
{
    std::vector<Refusal> refused;
    if (const SettingsFile file = CheckSettingsFile(FilePath()); file != SettingsFile::Usable)
        refused.push_back({FilePath(), file});
    // The lock matters only to a registry that could be written.  One that
    // goes meanwhile is simply made, and let go.
    struct stat st {};
    if (refused.empty() && ::lstat(LockPath().c_str(), &st) == 0) {
        SettingsLock lock(LockPath());
        if (const std::optional<Refusal> refusal = TakeLock(lock); refusal && refusal->why != SettingsFile::Usable)
            refused.push_back(*refusal);
    }
    if (!refused.empty()) Lock().named = true;
    return refused;
}

std::optional<std::string> Registry::ReadString(const std::string& key, const std::string& valueName)
{
    if (!SettingsReadable(CheckSettingsFile(FilePath()))) return std::nullopt;
    const std::optional<IniDocument> doc = ReadRegistry();
    if (!doc) return std::nullopt;
    return TextOf(*doc, key, valueName);
}

bool Registry::Write(std::span<const RegistryChange> changes)
{
    return Update([changes](const Reader&) { return std::vector<RegistryChange>(changes.begin(), changes.end()); });
}

bool Registry::Update(const std::function<std::vector<RegistryChange>(const Reader& onDisk)>& changesFor)
{
    if (const SettingsFile file = CheckSettingsFile(FilePath()); file != SettingsFile::Usable) {
        NameOnce({FilePath(), file});
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(FilePath().parent_path(), ec);
    SettingsLock lock(LockPath());
    if (const std::optional<Refusal> refusal = TakeLock(lock)) {
        NameOnce(*refusal);
        return false;
    }
    // Read under the lock, so that what another process wrote meanwhile is
    // kept; a file that can no longer be read is not written over.
    std::optional<IniDocument> doc = ReadRegistry();
    if (!doc) {
        NameOnce({FilePath(), CheckSettingsFile(FilePath())});
        return false;
    }
    const std::string before = doc->Serialize();
    const Reader onDisk = [&doc](const std::string& key, const std::string& valueName) {
        return TextOf(*doc, key, valueName);
    };
    for (const RegistryChange& c : changesFor(onDisk)) {
        switch (c.kind) {
        case RegistryChange::Kind::Set:
            doc->SetText(ValueKey(c.key, c.valueName), QString::fromLatin1(c.value.data(), qsizetype(c.value.size())));
            break;
        case RegistryChange::Kind::DeleteValue: doc->Remove(ValueKey(c.key, c.valueName)); break;
        case RegistryChange::Kind::DeleteKey: doc->Remove(GroupOf(c.key)); break;
        }
    }
    const std::string after = doc->Serialize();
    // Nothing changed: the file is left as it is, not written again.
    if (after == before && std::filesystem::exists(FilePath(), ec)) return true;
    return WriteFileAtomically(FilePath(), after);
}

bool Registry::WriteString(const std::string& key, const std::string& valueName, const std::string& value)
{
    const RegistryChange change{RegistryChange::Kind::Set, key, valueName, value};
    return Write({&change, 1});
}

bool Registry::DeleteValue(const std::string& key, const std::string& valueName)
{
    const RegistryChange change{RegistryChange::Kind::DeleteValue, key, valueName, {}};
    return Write({&change, 1});
}

bool Registry::DeleteKey(const std::string& key)
{
    const RegistryChange change{RegistryChange::Kind::DeleteKey, key, {}, {}};
    return Write({&change, 1});
}

void Registry::RemoveLeftovers()
{
    // Another's write in progress is not waited for: the leftovers can wait.
    if (CheckSettingsFile(FilePath()) != SettingsFile::Usable) return;
    const std::filesystem::path file = FilePath();
    SettingsLock lock(LockPath());
    if (lock.TakeWithin(std::chrono::milliseconds(0)) != SettingsLock::Take::Taken) return;
    // The names are looked at and removed within the folder as opened, so
    // that nothing is followed out of it.
    const int folder = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = folder >= 0 ? ::fdopendir(folder) : nullptr;
    if (!entries) {
        if (folder >= 0) ::close(folder);
        return;
    }
    // An earlier version wrote through a temporary named after the file,
    // with six random ASCII letters (digits too, should it ever draw them).
    const std::string prefix = file.filename().string() + ".";
    constexpr std::size_t kRandomLetters = 6;
    const auto isRandomLetter = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    const auto isLeftover = [&](std::string_view name) {
        return name.size() == prefix.size() + kRandomLetters && name.starts_with(prefix) &&
               std::all_of(name.begin() + std::ptrdiff_t(prefix.size()), name.end(), isRandomLetter);
    };
    while (const dirent* e = ::readdir(entries)) {
        struct stat st {};
        if (isLeftover(e->d_name) && ::fstatat(folder, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(folder, e->d_name, 0);
    }
    ::closedir(entries);
}

// ---- recent files ------------------------------------------------------------
RecentFiles::RecentFiles(std::string registryKey, int maxEntries, int maxTextLength)
    : key_(std::move(registryKey)), maxEntries_(maxEntries), maxTextLength_(maxTextLength)
{
}

namespace {
std::vector<std::string> ListIn(const Registry::Reader& read, const std::string& key, int maxEntries)
{
    std::vector<std::string> files;
    for (int i = 1; i <= maxEntries; ++i)
        if (std::optional<std::string> v = read(key, "File" + std::to_string(i)); v && !v->empty())
            files.push_back(std::move(*v));
    return files;
}

void PutOnTop(std::vector<std::string>& files, const std::string& fileName, int maxEntries)
{
    std::erase(files, fileName);
    files.insert(files.begin(), fileName);
    if (int(files.size()) > maxEntries) files.resize(std::size_t(maxEntries));
}

// The whole list in one write: an entry moved down is never lost to a
// write that stops half-way through it.
std::vector<RegistryChange> ListChanges(const std::vector<std::string>& files, const std::string& key, int maxEntries)
{
    std::vector<RegistryChange> changes;
    for (int i = 1; i <= maxEntries; ++i) {
        std::string name = "File" + std::to_string(i);
        if (i <= int(files.size()))
            changes.push_back({RegistryChange::Kind::Set, key, std::move(name), files[std::size_t(i - 1)]});
        else changes.push_back({RegistryChange::Kind::DeleteValue, key, std::move(name), {}});
    }
    return changes;
}
}  // namespace

void RecentFiles::Add(const std::string& fileName)
{
    if (fileName.empty()) return;
    std::vector<std::string> onDisk;
    const bool saved = Registry::Update([&](const Registry::Reader& read) {
        onDisk = ListIn(read, key_, maxEntries_);
        PutOnTop(onDisk, fileName, maxEntries_);
        return ListChanges(onDisk, key_, maxEntries_);
    });
    if (saved) files_ = std::move(onDisk);
    else PutOnTop(files_, fileName, maxEntries_);
}

QString RecentFiles::MenuText(int index) const
{
    if (index < 0 || index >= int(files_.size())) return {};
    return ShortenPath(ShownFileName(files_[std::size_t(index)]), std::size_t(std::max(0, maxTextLength_)));
}

QString ShortenPath(const QString& shown, std::size_t maxLength)
{
    // Counted and cut in characters, so that no character is split.
    static constexpr std::u32string_view kEllipsis = U"...";
    const std::u32string path = shown.toStdU32String();
    if (path.size() <= maxLength) return shown;
    if (maxLength <= kEllipsis.size()) return QString::fromStdU32String(path.substr(path.size() - maxLength));
    const std::size_t slash = path.find_last_of(U'/');
    const std::u32string name = slash == std::u32string::npos ? path : path.substr(slash);
    const std::size_t room = maxLength - kEllipsis.size();
    if (name.size() >= room || slash == std::u32string::npos)
        return QString::fromStdU32String(std::u32string(kEllipsis) + path.substr(path.size() - room));
    return QString::fromStdU32String(path.substr(0, room - name.size()) + std::u32string(kEllipsis) + name);
}

void RecentFiles::Load() { files_ = ListIn(&Registry::ReadString, key_, maxEntries_); }

}  // namespace platform
