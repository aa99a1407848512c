// Whole-file writes that never leave a half-written target behind, and reads
// that never wait on something that is not a file.  Plain C++, so that the
// file formats of the calculation layer can use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Writes `bytes` to `file` through a temporary file beside it, flushed to disk
// and renamed over the target, so a failed write keeps the previous copy.
// What the user set on the file stays: a symbolic link is followed (its
// target is replaced, the link kept) and the replacement takes the old file's
// permissions.  A target that is not a regular file, or that we may not
// write, is refused.  The temporary file is named ".NAME.tmp-PID-N"; those
// left by a process that no longer runs (a save killed part-way) are removed
// by the next save beside the same target.  A file-size limit makes the write
// fail instead of ending the program.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

inline bool WriteFileAtomically(const std::filesystem::path& file, const void* data, std::size_t size)
{
    return WriteFileAtomically(file, std::string_view(static_cast<const char*>(data), size));
}

// A file the program keeps for itself (a copy it can always make again) is
// written the same way, its pieces one after the other, with two
// differences: it is not flushed to disk (a copy left damaged by a crash
// fails its own checks), and a symbolic link at its name is replaced, never
// followed, so that nothing outside the program's folder is written.
bool WriteOwnFileAtomically(const std::filesystem::path& file, std::initializer_list<std::string_view> pieces);

// The prefix of the temporary files of a save to `target` (".NAME.tmp-").
std::string TemporaryFilePrefix(const std::filesystem::path& target);

// Test seam: called with the name of each temporary file just before it is
// made, once the orphans beside the target are gone, so that a test can put
// there what a write may meet.  Empty: nothing is called.
void SetTemporaryFileHook(std::function<void(const std::filesystem::path&)> hook);

// Removes from `folder` the temporary files whose names start with one of
// `prefixes` followed by the process number of a writer that no longer runs
// ("PREFIXPID" or "PREFIXPID-N").
void RemoveOrphanTemporaries(const std::filesystem::path& folder, std::span<const std::string> prefixes);

struct FileCloser {
    void operator()(std::FILE* f) const
    {
        if (f) std::fclose(f);
    }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens an existing regular file for binary reading.  Null when the name is
// missing or names anything else (a folder, a FIFO, a device): that is
// decided without waiting, so a FIFO with no writer never blocks the caller.
UniqueFile OpenRegularFile(const std::filesystem::path& file);

// How a bounded read of a file ended.
enum class FileRead { Whole, Unreadable, TooLarge };

// Reads a whole regular file (as OpenRegularFile opens it) of at most
// `limit` bytes.  A file found larger is refused before anything is read;
// one that grows while it is read is read up to the limit and refused as
// soon as it passes it.  Either way a file picked by mistake (a disk image,
// a log still being written) costs at most the limit and a 64 KB buffer:
// `bytes` then ends empty.
FileRead ReadRegularFile(const std::filesystem::path& file, std::vector<std::uint8_t>& bytes, std::uint64_t limit);

// The files the program keeps its own settings in hold a few lines each.
inline constexpr std::uint64_t kMaxSettingsFileBytes = 1u << 20;

enum class SettingsFile { Usable, TooLarge, NotRegular };

// Whether a name the program keeps settings under (a settings file, or the
// lock name beside one) may be read and written: it is absent (or cannot be
// looked at, and so cannot be opened), or a regular file of at most
// kMaxSettingsFileBytes once links are followed.  Anything else (a FIFO,
// which would stop its reader for good, a device, which a write would go
// through or replace, a folder, a socket, a dangling link) is NotRegular.
// Asked without opening it, for opening a device can act on it.
SettingsFile CheckSettingsFile(const std::filesystem::path& file);

// Whether the name is a regular file (links followed), asked without opening it.
bool IsRegularFile(const std::filesystem::path& file);
// Whether the name exists and is something else: a folder, FIFO, device or socket.
bool IsNonRegularFile(const std::filesystem::path& file);

}  // namespace platform
