// Registry stand-in (an ini file through QSettings), profile structures,
// the recent-files list and the single-instance rule.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLockFile;
class QLocalServer;

namespace platform {

// ---- registry ----------------------------------------------------------------
// Keys are written as the system names them ("Software\Orbiscope\MRU"); the
// default value of a key is the value name "" (stored as "(Default)").
// The file lives in the user's configuration folder (test mode respected)
// unless a folder is set.
class Registry {
public:
    static void SetFolder(const std::filesystem::path& folder);  // empty: the default
    static std::filesystem::path FilePath();

    static std::optional<std::string> ReadString(const std::string& key, const std::string& valueName);
    static bool WriteString(const std::string& key, const std::string& valueName, const std::string& value);
    static bool DeleteValue(const std::string& key, const std::string& valueName);
    static bool DeleteKey(const std::string& key);  // with all its sub-keys
};

// ---- profile structures ------------------------------------------------------
// A block of bytes in an ini file, written as two hex digits a byte followed by
// a one-byte checksum (the sum of the bytes) in hex.  The file is rewritten
// through a temporary file.
bool WritePrivateProfileStruct(const std::string& section, const std::string& key,
                               const void* data, std::size_t size, const std::filesystem::path& file);
// True only when the key exists, holds exactly `size` bytes and its checksum agrees.
bool GetPrivateProfileStruct(const std::string& section, const std::string& key,
                             void* data, std::size_t size, const std::filesystem::path& file);

// The 44-byte window placement block: length, flags, show command, minimized
// and maximized positions and the normal rectangle, all 32-bit little-endian.
struct WindowPlacement {
    std::uint32_t length = 44;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 1;
    std::int32_t minX = -1, minY = -1;
    std::int32_t maxX = -1, maxY = -1;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    static constexpr std::size_t kBytes = 44;
    void ToBytes(std::uint8_t out[kBytes]) const;
    static WindowPlacement FromBytes(const std::uint8_t in[kBytes]);
};

// ---- recent files ------------------------------------------------------------
// A most-recently-used list kept in the registry under one key ("File1" is
// the newest).  Menu texts are cut to a maximum length.
class RecentFiles {
public:
    RecentFiles(std::string registryKey, int maxEntries, int maxTextLength);

    void Add(const std::string& fileName);  // moves an existing entry to the top
    const std::vector<std::string>& Files() const { return files_; }
    std::string MenuText(int index) const;   // the cut text of entry index (0 = newest)
    void Load();
    void Store() const;

private:
    std::string key_;
    int maxEntries_;
    int maxTextLength_;
    std::vector<std::string> files_;
};

// ---- single instance ---------------------------------------------------------
// A lock file named from a key, plus a local socket server owned by the lock
// holder.  A later start sends a message over the socket and is told to exit.
class SingleInstance : public QObject {
public:
    explicit SingleInstance(const QString& key);
    ~SingleInstance() override;

    // True for the first instance (lock held, server listening).
    bool TryBecomePrimary();
    // From a second instance: sends the message to the first one.
    bool SendToPrimary(const QByteArray& message, int timeoutMs = 2000);
    // Called in the first instance for each line received.
    void SetMessageHandler(std::function<void(const QByteArray&)> handler) { handler_ = std::move(handler); }
    QString ServerName() const;

private:
    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<void(const QByteArray&)> handler_;
};

}  // namespace platform
