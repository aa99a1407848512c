// The lock a writer of the registry holds while it reads, changes and
// replaces the file, so that two processes writing at once lose neither's
// change.  It is a file beside the registry holding the holder's process
// number, program name, host name, machine and boot identities, one a line,
// as Qt's lock file writes them, so that a program of an earlier version
// that shares the home judges it as its own.  Its holder keeps an advisory
// lock (flock) on it, which the system lets go of when the holder ends, a
// crash included.  Where the file system gives no advisory lock (an NFS
// home whose lock service is down), the lock goes on by its lines alone.
//
// A lock never exists without its lines: they are written to a temporary
// file of the taker's own beside it (".NAME.tmp-PID-N"), which is then
// linked to the lock's name, a link that fails where anything is.  So no
// one ever judges a lock being made.  On a file system without hard links
// the lock is made at its name instead, and is empty for a moment: a crash
// then leaves it empty, a leftover once it is old.
//
// A lock found at the name is judged by what its file is when it is used:
// - a leftover, removed at once, is one no one holds (its advisory lock is
//   free, or cannot be had) that either a process of this machine left
//   that has gone (it ran before the machine last started, no longer runs,
//   or its number now belongs to another program), or whose time lies more
//   than kLeftoverAge from the file system's clock, either way (a clock set
//   back, another machine's running ahead), whatever its lines say or lack:
//   empty, garbage, another machine's, a host since renamed.  No write
//   holds the lock for more than milliseconds.  The file system's clock is
//   read off the taker's own file beside the lock, dated as it is judged,
//   so that a file server's clock that differs from this machine's ages no
//   lock.  Where the file system gives no advisory lock, a lock whose lines
//   name a live process of this machine running the program they name is
//   never a leftover, whatever its age.  A lock is removed only while its
//   advisory lock is taken (where there is one) and the name is still the
//   file judged.  Without advisory locks nothing makes the look and the
//   removal one step: two takers that find the same leftover at the same
//   instant may both take the lock, once, the one's removal meeting the
//   other's new lock;
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
    int Error() const { return error_; }  // the system's reason, once Failed
    void LetGo();

private:
    std::filesystem::path name_;
    int fd_ = -1;
    SettingsFile refusal_ = SettingsFile::Usable;
    int error_ = 0;
};

// Test seam: called once a leftover's advisory lock is taken, before the
// name is looked at again and removed.  Empty: nothing is called.
void SetLeftoverRemovalHook(std::function<void()> hook);
// Test seam: called with the file that is to be the lock, its lines
// written, just before it is linked to the lock's name (where no link can
// be made, the lock's name itself, once its lines are written there).
void SetLockPlacingHook(std::function<void(const std::filesystem::path&)> hook);
// Test seam: every advisory lock the settings lock asks for fails with this
// error (ENOLCK: no lock service); 0, the system is asked.
void SetAdvisoryLockError(int error);

}  // namespace platform
