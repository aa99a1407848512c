#include "platform/registry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <cstring>
#include <map>
#include <sstream>

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

std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QString::fromStdString(Registry::FilePath().string()),
                                       QSettings::IniFormat);
}
}  // namespace

void Registry::SetFolder(const std::filesystem::path& folder) { RegistryFolder() = folder; }

std::filesystem::path Registry::FilePath()
{
    std::filesystem::path folder = RegistryFolder();
    if (folder.empty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
        folder /= "Orbiscope";
    }
    return folder / "registry.ini";
}

std::optional<std::string> Registry::ReadString(const std::string& key, const std::string& valueName)
{
    auto s = OpenSettings();
    const QVariant v = s->value(ValueKey(key, valueName));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toLatin1().toStdString();
}

bool Registry::WriteString(const std::string& key, const std::string& valueName, const std::string& value)
{
    std::error_code ec;
    std::filesystem::create_directories(FilePath().parent_path(), ec);
    auto s = OpenSettings();
    s->setValue(ValueKey(key, valueName), QString::fromLatin1(value.data(), int(value.size())));
    s->sync();
    return s->status() == QSettings::NoError;
}

bool Registry::DeleteValue(const std::string& key, const std::string& valueName)
{
    auto s = OpenSettings();
    s->remove(ValueKey(key, valueName));
    s->sync();
    return s->status() == QSettings::NoError;
}

bool Registry::DeleteKey(const std::string& key)
{
    auto s = OpenSettings();
    s->remove(GroupOf(key));
    s->sync();
    return s->status() == QSettings::NoError;
}

// ---- profile structures ------------------------------------------------------
namespace {
// A tiny ini model that keeps the lines it does not touch.
struct IniLines {
    std::vector<std::string> lines;

    static std::string Trim(const std::string& s)
    {
        const auto b = s.find_first_not_of(" \t\r");
        if (b == std::string::npos) return {};
        const auto e = s.find_last_not_of(" \t\r");
        return s.substr(b, e - b + 1);
    }

    // Index of the key's line within the section, or npos; `sectionEnd` gets
    // the line after the section's last line (npos when no section).
    std::size_t Find(const std::string& section, const std::string& key, std::size_t& sectionEnd) const
    {
        sectionEnd = std::string::npos;
        bool inSection = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string t = Trim(lines[i]);
            if (!t.empty() && t.front() == '[') {
                if (inSection) { sectionEnd = i; return std::string::npos; }
                inSection = t == "[" + section + "]";
                if (inSection) sectionEnd = lines.size();
                continue;
            }
            if (inSection) {
                const auto eq = t.find('=');
                if (eq != std::string::npos && Trim(t.substr(0, eq)) == key) return i;
            }
        }
        return std::string::npos;
    }
};

bool LoadIni(const std::filesystem::path& file, IniLines& ini)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(file, bytes)) return false;
    std::string text(bytes.begin(), bytes.end());
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ini.lines.push_back(line);
    }
    return true;
}
}  // namespace

bool WritePrivateProfileStruct(const std::string& section, const std::string& key,
                               const void* data, std::size_t size, const std::filesystem::path& file)
{
    static const char* hex = "0123456789ABCDEF";
    std::string value;
    unsigned sum = 0;
    const auto* p = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        value += hex[p[i] >> 4];
        value += hex[p[i] & 15];
        sum += p[i];
    }
    value += hex[(sum >> 4) & 15];
    value += hex[sum & 15];

    IniLines ini;
    LoadIni(file, ini);  // a missing file starts empty
    std::size_t sectionEnd = 0;
    const std::size_t at = ini.Find(section, key, sectionEnd);
    const std::string line = key + "=" + value;
    if (at != std::string::npos) ini.lines[at] = line;
    else if (sectionEnd != std::string::npos) ini.lines.insert(ini.lines.begin() + std::ptrdiff_t(sectionEnd), line);
    else {
        ini.lines.push_back("[" + section + "]");
        ini.lines.push_back(line);
    }
    std::string out;
    for (const auto& l : ini.lines) out += l + "\n";
    return WriteFileAtomically(file, out.data(), out.size());
}

bool GetPrivateProfileStruct(const std::string& section, const std::string& key,
                             void* data, std::size_t size, const std::filesystem::path& file)
{
    IniLines ini;
    if (!LoadIni(file, ini)) return false;
    std::size_t sectionEnd = 0;
    const std::size_t at = ini.Find(section, key, sectionEnd);
    if (at == std::string::npos) return false;
    const std::string line = IniLines::Trim(ini.lines[at]);
    const std::string value = IniLines::Trim(line.substr(line.find('=') + 1));
    if (value.size() != 2 * size + 2) return false;
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::vector<std::uint8_t> bytes(size + 1);
    for (std::size_t i = 0; i <= size; ++i) {
        const int hi = nibble(value[2 * i]), lo = nibble(value[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = std::uint8_t(hi * 16 + lo);
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < size; ++i) sum += bytes[i];
    if ((sum & 0xFF) != bytes[size]) return false;
    std::memcpy(data, bytes.data(), size);
    return true;
}

namespace {
void PutU32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
std::uint32_t GetU32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
}  // namespace

void WindowPlacement::ToBytes(std::uint8_t out[kBytes]) const
{
    const std::uint32_t v[11] = {length, flags, showCmd, std::uint32_t(minX), std::uint32_t(minY),
                                 std::uint32_t(maxX), std::uint32_t(maxY), std::uint32_t(left),
                                 std::uint32_t(top), std::uint32_t(right), std::uint32_t(bottom)};
    for (int i = 0; i < 11; ++i) PutU32(out + 4 * i, v[i]);
}

WindowPlacement WindowPlacement::FromBytes(const std::uint8_t in[kBytes])
{
    WindowPlacement w;
    w.length = GetU32(in);
    w.flags = GetU32(in + 4);
    w.showCmd = GetU32(in + 8);
    w.minX = std::int32_t(GetU32(in + 12));
    w.minY = std::int32_t(GetU32(in + 16));
    w.maxX = std::int32_t(GetU32(in + 20));
    w.maxY = std::int32_t(GetU32(in + 24));
    w.left = std::int32_t(GetU32(in + 28));
    w.top = std::int32_t(GetU32(in + 32));
    w.right = std::int32_t(GetU32(in + 36));
    w.bottom = std::int32_t(GetU32(in + 40));
    return w;
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

std::string RecentFiles::MenuText(int index) const
{
    if (index < 0 || index >= int(files_.size())) return {};
    const std::string& f = files_[std::size_t(index)];
    return int(f.size()) > maxTextLength_ ? f.substr(0, std::size_t(maxTextLength_)) : f;
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

// ---- single instance ---------------------------------------------------------
SingleInstance::SingleInstance(const QString& key) : key_(key) {}

SingleInstance::~SingleInstance()
{
    if (server_) server_->close();
}

QString SingleInstance::ServerName() const
{
    // Socket names must be short and plain; the user's name keeps users apart.
    const QByteArray h = QCryptographicHash::hash((key_ + QDir::homePath()).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("orbiscope-") + QString::fromLatin1(h.toHex().left(16));
}

bool SingleInstance::TryBecomePrimary()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    lock_ = std::make_unique<QLockFile>(dir + QLatin1Char('/') + ServerName() + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(100)) {
        lock_.reset();
        return false;
    }
    // Only the lock holder may clear a socket left by a crashed first instance.
    QLocalServer::removeServer(ServerName());
    server_ = new QLocalServer(this);
    QObject::connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    QByteArray line = socket->readLine(4096);
                    line.chop(1);
                    if (handler_) handler_(line);
                }
                if (socket->bytesAvailable() > 4096) socket->abort();  // a line too long is dropped
            });
        }
    });
    server_->listen(ServerName());
    return true;
}

bool SingleInstance::SendToPrimary(const QByteArray& message, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(message + '\n');
    const bool ok = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return ok;
}

}  // namespace platform
