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
// fail instead of ending the program.  False, with errno the system's reason
// (a full disk, a quota, an I/O error), when the target was not replaced.
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

// Writes all of `bytes` to the open file, through short and interrupted
// writes; false, with errno why, when the file takes no more (a full disk, a
// size limit).
bool WriteAll(int fd, std::string_view bytes);

// The prefix of the temporary files of a save to `target` (".NAME.tmp-").
std::string TemporaryFilePrefix(const std::filesystem::path& target);

// Test seam: called with the name of each temporary file just before it is
// made, once the orphans beside the target are gone, so that a test can put
// there what a write may meet.  Empty: nothing is called.
void SetTemporaryFileHook(std::function<void(const std::filesystem::path&)> hook);

// Test seam: asked, with the target, before the temporary's bytes are
// written and before it is renamed over the target; an error it gives fails
// that step as the system would (ENOSPC, EIO).  Empty, or 0: nothing fails.
enum class AtomicWriteStep { Write, Rename };
using AtomicWriteFault = std::function<int(AtomicWriteStep, const std::filesystem::path& target)>;
void SetAtomicWriteFault(AtomicWriteFault fault);

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
// soon as it passes it: `bytes` then ends empty.  A file picked by mistake
// (a disk image, a log still being written) is never held past the limit.
// The read costs the file's bytes and a 64 KB buffer, except that a file
// that reads past the size it had when opened is moved once into room for
// the limit: for that moment it costs that size and the limit together.
FileRead ReadRegularFile(const std::filesystem::path& file, std::vector<std::uint8_t>& bytes, std::uint64_t limit);

// The files the program keeps its own settings in hold a few lines each.
inline constexpr std::uint64_t kMaxSettingsFileBytes = 1u << 20;

// How a name the program keeps settings under (a settings file, or the lock
// name beside one) may be used.  Such a file is read, then replaced by a
// file written beside it: it must be a regular file this user may read and
// write, in a folder the user may write in.
enum class SettingsFile {
    Usable,              // so, or absent in a folder where the user may make it
    NotWritable,         // may be read, not written: another user's, say
    FolderNotWritable,   // the file may be used, but nothing can be saved in its folder
    FolderNotMakeable,   // absent, as its folder is, and the folder above may not be written in
    ReadOnlyFileSystem,  // may be read, but lies on a file system mounted read-only
    NotReadable,         // a regular file the user may not read
    TooLarge,            // past kMaxSettingsFileBytes
    NotRegular,          // a FIFO, a device, a folder, a socket, a dangling link
    Held,                // a lock another holds past the wait for it (never from CheckSettingsFile)
    // What a save meets, never CheckSettingsFile:
    NotSaved,         // the system refused the save (a full disk, a quota, an I/O error)
    WouldBeTooLarge,  // the save would take the file past kMaxSettingsFileBytes
};

// Whether the settings under a name of that kind are still read (only
// saving them is refused).
inline bool SettingsReadable(SettingsFile kind)
{
    return kind != SettingsFile::NotReadable && kind != SettingsFile::TooLarge && kind != SettingsFile::NotRegular;
}

// How the name may be used, links followed.  Asked without opening it, for
// opening a FIFO stops the reader for good and opening a device can act on
// it; this user's rights are asked of the system (so that a lock no one may
// read is never waited on) rather than read off the modes.  An absent name
// is judged by the nearest folder above it that exists, as the folders
// between would be made.
SettingsFile CheckSettingsFile(const std::filesystem::path& file);

// Whether the name is a regular file (links followed), asked without opening it.
bool IsRegularFile(const std::filesystem::path& file);
// Whether the name exists and is something else: a folder, FIFO, device or socket.
bool IsNonRegularFile(const std::filesystem::path& file);

}  // namespace platform
