// The lock a writer of the registry holds while it reads, changes and
// replaces the file, so that two processes writing at once lose neither's
// change.  It is a file beside the registry, made only when absent, holding
// the holder's process number, program name, host name, machine and boot
// identities, one a line, as Qt's lock file writes them, so that a program
// of an earlier version that shares the home judges it as its own.
//
// Only the lock's own name is ever opened, never waited on: a lock this
// host's dead process left (any crash while writing leaves one) is removed
// at once, while one whose holder cannot be judged (another machine's, a
// live process) is waited for only as long as the taker allows.
#pragma once

#include <chrono>
#include <filesystem>

namespace platform {

class SettingsLock {
public:
    enum class Take {
        Taken,
        Held,    // another holds it, and did not let go within the wait
        Failed,  // it cannot be made: not a file, a folder we may not write in, a full disk
    };

    explicit SettingsLock(std::filesystem::path name);
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    Take TakeWithin(std::chrono::milliseconds wait);
    void LetGo();

private:
    std::filesystem::path name_;
    int fd_ = -1;
};

}  // namespace platform
