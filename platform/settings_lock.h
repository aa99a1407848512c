// The lock a writer of the registry holds while it reads, changes and
// replaces the file, so that two processes writing at once lose neither's
// change.  It is a file beside the registry holding the holder's process
// number, program name, host name, machine and boot identities, one a line,
// as Qt's lock file writes them, so that a program of an earlier version
// that shares the home judges it as its own.  Its holder keeps an advisory
// lock (flock) on it, which the system lets go of when the holder ends, a
// crash included.
//
// A lock never exists without its lines: they are written to a temporary
// file of the taker's own beside it (".NAME.tmp-PID-N"), which is then
// linked to the lock's name, a link that fails where anything is.  So no
// one ever judges a lock being made.
//
// A lock found at the name is judged by what its file is when it is used:
// - a leftover, removed at once, is one no one holds (its advisory lock is
//   free) that either a process of this machine left that has gone (it ran
//   before the machine last started, no longer runs, or its number now
//   belongs to another program), or that is older than kLeftoverAge,
//   whatever its lines say or lack: empty, garbage, another machine's, a
//   host since renamed.  No write holds the lock for more than
//   milliseconds.  It is removed only while its advisory lock is taken and
//   the name is still the file judged;
// - any other (a fresh lock of another machine, a live process of the same
//   name) is waited for only as long as the taker allows;
// - a name that is no lock this user may read and write (a FIFO, a folder,
//   a socket, a device, a broken link, another user's file) is refused,
//   never opened when it is not a regular file.
// A lock that goes between two looks is gone, and taken at once.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>

#include "platform/atomic_file.h"

namespace platform {

class SettingsLock {
public:
    enum class Take {
        Taken,
        Held,     // another holds it, and did not let go within the wait
        Refused,  // the name is no lock this user may use: Refusal() says why
        Failed,   // the system made none: a full disk, say
    };

    // Far above any write's hold of the lock, and above the clock differences
    // of machines that share a home.
    static constexpr std::chrono::seconds kLeftoverAge{30};

    explicit SettingsLock(std::filesystem::path name);
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    Take TakeWithin(std::chrono::milliseconds wait);
    SettingsFile Refusal() const { return refusal_; }
    void LetGo();

private:
    std::filesystem::path name_;
    int fd_ = -1;
    SettingsFile refusal_ = SettingsFile::Usable;
};

// Test seam: called once a leftover's advisory lock is taken, before the
// name is looked at again and removed.  Empty: nothing is called.
void SetLeftoverRemovalHook(std::function<void()> hook);

}  // namespace platform
