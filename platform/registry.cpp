#include "platform/registry.h"

#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/services.h"

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
    std::function<void()> notice;
};

LockState& Lock()
{
    static LockState state;
    return state;
}

// Whether no one holds the settings class's lock, or its holder let it go
// within kLockWaitMs; once it did not, never again this session.  Taken and
// let go at once: the settings class takes it for its write, and waits on
// it as long as it likes, so it must be found free first.
bool LockLetGo()
{
    LockState& state = Lock();
    if (state.held) return false;
    struct stat st {};
    if (::lstat(Registry::LockPath().c_str(), &st) != 0) return true;
    QLockFile lock(QString::fromStdString(Registry::LockPath().string()));
    if (lock.tryLock(kLockWaitMs)) {
        lock.unlock();
        return true;
    }
    // A lock that may not be made at all is CheckSettingsFile's to judge.
    state.held = lock.error() == QLockFile::LockFailedError;
    return !state.held;
}

enum class Use { Read, Write };

// Null while the registry may not be used so.
std::unique_ptr<QSettings> OpenSettings(Use use)
{
    const SettingsFile file = CheckSettingsFile(Registry::FilePath());
    bool allowed = use == Use::Read ? SettingsReadable(file)
                                    : file == SettingsFile::Usable &&
                                          CheckSettingsFile(Registry::LockPath()) == SettingsFile::Usable;
    if (allowed && use == Use::Write) {
        const bool known = Lock().held;
        allowed = LockLetGo();
        if (!allowed && !known && Lock().notice) Lock().notice();
    }
    if (!allowed) return nullptr;
    return std::make_unique<QSettings>(QString::fromStdString(Registry::FilePath().string()),
                                       QSettings::IniFormat);
}
}  // namespace

void Registry::SetFolder(const std::filesystem::path& folder)
{
    RegistryFolder() = folder;
    Lock() = {};
}

void Registry::SetLockHeldNotice(std::function<void()> notice) { Lock().notice = std::move(notice); }

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

namespace {
// What the names themselves refuse, the lock not waited for.
std::vector<Registry::Refusal> NameRefusals()
{
    // The settings class opens the file by name and waiting, and reads what
    // holds its lock's name before each write, waiting for it to go: both
    // are looked at before every use.
    std::vector<Registry::Refusal> refused;
    const SettingsFile file = CheckSettingsFile(Registry::FilePath());
    if (file != SettingsFile::Usable) refused.push_back({Registry::FilePath(), file});
    // A folder the lock cannot be made in is the file's own, named once.
    const SettingsFile lock = CheckSettingsFile(Registry::LockPath());
    const bool folderOfBoth = lock == file && (lock == SettingsFile::FolderNotWritable ||
                                               lock == SettingsFile::FolderNotMakeable ||
                                               lock == SettingsFile::ReadOnlyFileSystem);
    if (lock != SettingsFile::Usable && !folderOfBoth) refused.push_back({Registry::LockPath(), lock, true});
    return refused;
}
}  // namespace

std::vector<Registry::Refusal> Registry::Refusals()
{
    std::vector<Refusal> refused = NameRefusals();
    // Only a registry that could be written waits for its lock.
    if (refused.empty() && !LockLetGo()) refused.push_back({LockPath(), SettingsFile::Held, true});
    return refused;
}

std::optional<std::string> Registry::ReadString(const std::string& key, const std::string& valueName)
{
    auto s = OpenSettings(Use::Read);
    if (!s) return std::nullopt;
    const QVariant v = s->value(ValueKey(key, valueName));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toLatin1().toStdString();
}

bool Registry::WriteString(const std::string& key, const std::string& valueName, const std::string& value)
{
    auto s = OpenSettings(Use::Write);
    if (!s) return false;
    std::error_code ec;
    std::filesystem::create_directories(FilePath().parent_path(), ec);
    s->setValue(ValueKey(key, valueName), QString::fromLatin1(value.data(), int(value.size())));
    s->sync();
    return s->status() == QSettings::NoError;
}

void Registry::RemoveLeftovers()
{
    // Another's write in progress is not waited for: the leftovers can wait.
    if (!NameRefusals().empty()) return;
    const std::filesystem::path file = FilePath();
    QLockFile lock(QString::fromStdString(LockPath().string()));
    if (!lock.tryLock(0)) return;
    // The names are looked at and removed within the folder as opened, so
    // that nothing is followed out of it.
    const int folder = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = folder >= 0 ? ::fdopendir(folder) : nullptr;
    if (!entries) {
        if (folder >= 0) ::close(folder);
        return;
    }
    // The settings class names its temporary after the file, with six
    // random ASCII letters (digits too, should it ever draw them).
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

bool Registry::DeleteValue(const std::string& key, const std::string& valueName)
{
    auto s = OpenSettings(Use::Write);
    if (!s) return false;
    s->remove(ValueKey(key, valueName));
    s->sync();
    return s->status() == QSettings::NoError;
}

bool Registry::DeleteKey(const std::string& key)
{
    auto s = OpenSettings(Use::Write);
    if (!s) return false;
    s->remove(GroupOf(key));
    s->sync();
    return s->status() == QSettings::NoError;
}

// ---- recent files ------------------------------------------------------------
RecentFiles::RecentFiles(std::string registryKey, int maxEntries, int maxTextLength)
    : key_(std::move(registryKey)), maxEntries_(maxEntries), maxTextLength_(maxTextLength)
{
}

void RecentFiles::Add(const std::string& fileName)
{
    if (fileName.empty()) return;
    std::erase(files_, fileName);
    files_.insert(files_.begin(), fileName);
    if (int(files_.size()) > maxEntries_) files_.resize(std::size_t(maxEntries_));
    Store();
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
    for (int i = 1; i <= maxEntries_; ++i) {
        auto v = Registry::ReadString(key_, "File" + std::to_string(i));
        if (v && !v->empty()) files_.push_back(*v);
    }
}

void RecentFiles::Store() const
{
    for (int i = 1; i <= maxEntries_; ++i) {
        const std::string name = "File" + std::to_string(i);
        if (i <= int(files_.size())) Registry::WriteString(key_, name, files_[std::size_t(i - 1)]);
        else Registry::DeleteValue(key_, name);
    }
}

}  // namespace platform
