#include "platform/registry.h"

#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <memory>
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

struct Kept {
    std::string name;
    Registry::Changes changesFor;
};

// What this session found of the registry, and the changes it could not save.
struct SessionState {
    bool held = false;
    // A refusal was shown since the last save that went through: none is
    // shown again until another goes through.
    bool named = false;
    std::optional<Registry::Refusal> unshown;  // met while no notice was set
    std::function<void(const Registry::Refusal&)> notice;
    std::vector<Kept> kept;  // in the order they were made
};

SessionState& Session()
{
    static SessionState state;
    return state;
}

// A session counts as told only of what a notice showed: a refusal met
// before there is one waits for it.
void NameOnce(const Registry::Refusal& refusal)
{
    SessionState& state = Session();
    if (state.named || refusal.why == SettingsFile::Usable) return;
    if (!state.notice) {
        state.unshown = refusal;
        return;
    }
    state.named = true;
    state.notice(refusal);
}

// Takes the lock, waiting kLockWaitMs at most; once its holder did not let
// go within that, it is taken as held for the rest of the session, and no
// take waits on it again.  Nullopt once taken; else why not: the lock
// name's refusal, or the system's error where it made no lock (a full disk).
std::optional<Registry::Refusal> TakeLock(SettingsLock& lock)
{
    SessionState& state = Session();
    switch (lock.TakeWithin(std::chrono::milliseconds(state.held ? 0 : kLockWaitMs))) {
    case SettingsLock::Take::Taken: return std::nullopt;
    case SettingsLock::Take::Held:
        state.held = true;
        return Registry::Refusal{Registry::LockPath(), SettingsFile::Held, true};
    case SettingsLock::Take::Refused: return Registry::Refusal{Registry::LockPath(), lock.Refusal(), true};
    case SettingsLock::Take::Failed: break;
    }
    // No lock could be made (a full disk): what is not saved is the registry.
    return Registry::Refusal{Registry::FilePath(), SettingsFile::NotSaved, false, lock.Error()};
}

// The registry as it is on disk: empty when absent, nullopt when it may not
// be read (it changed kind, or grew past its limit, since it was checked, or
// the system failed the read: errno then says why).
std::optional<IniDocument> ReadRegistry()
{
    struct stat st {};
    if (::lstat(Registry::FilePath().c_str(), &st) != 0 && errno == ENOENT) return IniDocument{};
    std::vector<std::uint8_t> bytes;
    errno = 0;
    if (ReadRegularFile(Registry::FilePath(), bytes, kMaxSettingsFileBytes) != FileRead::Whole) return std::nullopt;
    return IniDocument::Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::optional<RegistryValue> ValueOf(const IniDocument& doc, const std::string& key, const std::string& valueName)
{
    const std::optional<QString> v = doc.Text(ValueKey(key, valueName));
    if (!v) return std::nullopt;
    const bool latin1 = std::all_of(v->begin(), v->end(), [](QChar c) { return c.unicode() <= 0xFF; });
    return latin1 ? RegistryValue{v->toLatin1().toStdString(), false} : RegistryValue{v->toUtf8().toStdString(), true};
}

void Apply(IniDocument& doc, const RegistryChange& c)
{
    switch (c.kind) {
    case RegistryChange::Kind::Set: {
        // A value that already reads so is left in the bytes it has: a text
        // another program wrote is not rewritten as the program's bytes.
        const std::optional<RegistryValue> now = ValueOf(doc, c.key, c.valueName);
        if (now && now->bytes == c.value) return;
        const qsizetype size = qsizetype(c.value.size());
        doc.SetText(ValueKey(c.key, c.valueName),
                    c.utf8 ? QString::fromUtf8(c.value.data(), size) : QString::fromLatin1(c.value.data(), size));
        return;
    }
    case RegistryChange::Kind::DeleteValue: doc.Remove(ValueKey(c.key, c.valueName)); return;
    case RegistryChange::Kind::DeleteKey: doc.Remove(GroupOf(c.key)); return;
    }
}

// Kept under its name, after what was kept before it; one of the same name
// made earlier is what this one replaces.
void Keep(const std::string& name, const Registry::Changes& changesFor)
{
    std::vector<Kept>& kept = Session().kept;
    std::erase_if(kept, [&name](const Kept& k) { return k.name == name; });
    kept.push_back({name, changesFor});
}

// Nothing the session kept is left unsaved.
void AllSaved(bool written)
{
    SessionState& state = Session();
    state.kept.clear();
    state.unshown.reset();
    if (written) state.named = false;
}

// Saves what the session kept; nullopt once nothing is left kept, else why
// not, not yet named.
std::optional<Registry::Refusal> SaveKept()
{
    using Refusal = Registry::Refusal;
    if (const SettingsFile file = CheckSettingsFile(Registry::FilePath()); file != SettingsFile::Usable)
        return Refusal{Registry::FilePath(), file};
    std::error_code ec;
    std::filesystem::create_directories(Registry::FilePath().parent_path(), ec);
    SettingsLock lock(Registry::LockPath());
    if (std::optional<Refusal> refusal = TakeLock(lock)) return refusal;
    // Read under the lock, so that what another process wrote meanwhile is
    // kept; a file that can no longer be read is not written over.
    std::optional<IniDocument> doc = ReadRegistry();
    if (!doc) {
        const int error = errno;
        const SettingsFile file = CheckSettingsFile(Registry::FilePath());
        return Refusal{Registry::FilePath(), file == SettingsFile::Usable ? SettingsFile::NotSaved : file, false,
                       error != 0 ? error : EIO};
    }
    const std::string before = doc->Serialize();
    const Registry::Reader onDisk = [&doc](const std::string& key, const std::string& valueName) {
        return ValueOf(*doc, key, valueName);
    };
    // In order, each on what those before it made.
    for (const Kept& k : Session().kept)
        for (const RegistryChange& c : k.changesFor(onDisk)) Apply(*doc, c);
    const std::string after = doc->Serialize();
    // Nothing changed: the file is left as it is, not written again.
    if (after == before && std::filesystem::exists(Registry::FilePath(), ec)) {
        AllSaved(false);
        return std::nullopt;
    }
    if (after.size() > kMaxSettingsFileBytes) return Refusal{Registry::FilePath(), SettingsFile::WouldBeTooLarge};
    if (!WriteFileAtomically(Registry::FilePath(), after)) {
        const int error = errno;
        return Refusal{Registry::FilePath(), SettingsFile::NotSaved, false, error};
    }
    AllSaved(true);
    return std::nullopt;
}

// Named by the values it sets or removes: a later write of the same values
// leaves nothing of this one's.
std::string KeptName(std::span<const RegistryChange> changes)
{
    std::string name = "write";
    for (const RegistryChange& c : changes)
        name += '\0' + std::to_string(int(c.kind)) + '\0' + c.key + '\0' + c.valueName;
    return name;
}

Registry::Changes Made(std::span<const RegistryChange> changes)
{
    return [made = std::vector<RegistryChange>(changes.begin(), changes.end())](const Registry::Reader&) {
        return made;
    };
}
}  // namespace

void Registry::SetFolder(const std::filesystem::path& folder)
{
    RegistryFolder() = folder;
    Session() = {};
}

void Registry::SetWriteRefusedNotice(std::function<void(const Refusal&)> notice)
{
    SessionState& state = Session();
    state.notice = std::move(notice);
    if (state.notice && state.unshown) NameOnce(*std::exchange(state.unshown, std::nullopt));
}

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
        // The system's failure is named by the write that meets it.
        if (const std::optional<Refusal> refusal = TakeLock(lock); refusal && refusal->why != SettingsFile::NotSaved)
            refused.push_back(*refusal);
    }
    // What they name covers what a write met before they were asked for.
    if (!refused.empty()) {
        Session().named = true;
        Session().unshown.reset();
    }
    return refused;
}

std::optional<std::string> Registry::ReadString(const std::string& key, const std::string& valueName)
{
    if (!SettingsReadable(CheckSettingsFile(FilePath()))) return std::nullopt;
    const std::optional<IniDocument> doc = ReadRegistry();
    if (!doc) return std::nullopt;
    std::optional<RegistryValue> value = ValueOf(*doc, key, valueName);
    if (!value) return std::nullopt;
    return std::move(value->bytes);
}

bool Registry::Write(std::span<const RegistryChange> changes) { return Update(Made(changes), KeptName(changes)); }

bool Registry::Update(const Changes& changesFor, const std::string& keptAs)
{
    Keep(keptAs, changesFor);
    const std::optional<Refusal> refused = SaveKept();
    if (refused) NameOnce(*refused);
    return !refused;
}

std::optional<Registry::Refusal> Registry::SaveAtEnd(std::span<const RegistryChange> changes)
{
    if (!changes.empty()) Keep(KeptName(changes), Made(changes));
    std::optional<Refusal> refused = SaveKept();
    if (!refused || refused->why == SettingsFile::NotSaved) return refused;
    NameOnce(*refused);
    return std::nullopt;
}

bool Registry::Keeps(const std::string& keptAs)
{
    const std::vector<Kept>& kept = Session().kept;
    return std::any_of(kept.begin(), kept.end(), [&keptAs](const Kept& k) { return k.name == keptAs; });
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
std::vector<RegistryValue> ListIn(const Registry::Reader& read, const std::string& key, int maxEntries)
{
    std::vector<RegistryValue> files;
    for (int i = 1; i <= maxEntries; ++i)
        if (std::optional<RegistryValue> v = read(key, "File" + std::to_string(i)); v && !v->bytes.empty())
            files.push_back(std::move(*v));
    return files;
}

const std::string& BytesOf(const std::string& file) { return file; }
const std::string& BytesOf(const RegistryValue& file) { return file.bytes; }

// An entry already on the list moves up as it is, its value as it was read.
template <typename File>
void PutOnTop(std::vector<File>& files, const std::string& fileName, int maxEntries)
{
    const auto same = [&fileName](const File& f) { return BytesOf(f) == fileName; };
    const auto found = std::find_if(files.begin(), files.end(), same);
    if (found != files.end()) std::rotate(files.begin(), found, found + 1);
    else files.insert(files.begin(), File{fileName});
    // A list another program wrote may name a file twice.
    files.erase(std::remove_if(files.begin() + 1, files.end(), same), files.end());
    if (int(files.size()) > maxEntries) files.resize(std::size_t(maxEntries));
}

// The whole list in one write: an entry moved down is never lost to a
// write that stops half-way through it.
std::vector<RegistryChange> ListChanges(const std::vector<RegistryValue>& files, const std::string& key,
                                        int maxEntries)
{
    std::vector<RegistryChange> changes;
    for (int i = 1; i <= maxEntries; ++i) {
        std::string name = "File" + std::to_string(i);
        if (i <= int(files.size())) {
            const RegistryValue& f = files[std::size_t(i - 1)];
            changes.push_back({RegistryChange::Kind::Set, key, std::move(name), f.bytes, f.utf8});
        } else {
            changes.push_back({RegistryChange::Kind::DeleteValue, key, std::move(name), {}});
        }
    }
    return changes;
}
}  // namespace

void RecentFiles::Add(const std::string& fileName)
{
    if (fileName.empty()) return;
    // Files added while the list could not be saved go on top of the list
    // as the save that goes through finds it, in the order they came, this
    // one above them.
    const std::string keptAs = "recent files " + key_;
    if (!Registry::Keeps(keptAs)) keptBack_.clear();
    PutOnTop(keptBack_, fileName, maxEntries_);
    auto merged = std::make_shared<std::vector<RegistryValue>>();
    const bool saved = Registry::Update(
        [key = key_, maxEntries = maxEntries_, top = keptBack_, merged](const Registry::Reader& read) {
            *merged = ListIn(read, key, maxEntries);
            for (auto file = top.rbegin(); file != top.rend(); ++file) PutOnTop(*merged, *file, maxEntries);
            return ListChanges(*merged, key, maxEntries);
        },
        keptAs);
    if (!saved) {
        PutOnTop(files_, fileName, maxEntries_);
        return;
    }
    keptBack_.clear();
    files_.clear();
    for (RegistryValue& f : *merged) files_.push_back(std::move(f.bytes));
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

void RecentFiles::Load()
{
    files_.clear();
    for (int i = 1; i <= maxEntries_; ++i)
        if (std::optional<std::string> f = Registry::ReadString(key_, "File" + std::to_string(i)); f && !f->empty())
            files_.push_back(std::move(*f));
}

}  // namespace platform
