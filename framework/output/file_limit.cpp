#include "framework/output/file_limit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/messagebox.h"
#include "platform/registry.h"

namespace orbiscope {

namespace {

// "This file is larger than N MB, more than KIND holds: " (or "would be",
// for a save) and what follows.
void ShowTooLarge(QWidget* owner, const std::string& fileName, std::uint64_t limitBytes, std::string_view kind,
                  std::string_view after, std::string_view is)
{
    char format[512];
    std::snprintf(format, sizeof format, "%%s\r\nThis file %.*s larger than %llu MB, more than %.*s holds: %.*s",
                  static_cast<int>(is.size()), is.data(), static_cast<unsigned long long>(limitBytes >> 20),
                  static_cast<int>(kind.size()), kind.data(), static_cast<int>(after.size()), after.data());
    platform::MessageBox(owner, platform::FileMessage{format, fileName}, "File Too Large",
                         platform::MB_ICONEXCLAMATION);
}

// What the system said when it refused a save, in its own words, never
// translated: the program's text is Latin-1.
std::string SystemRefusal(int systemError)
{
    const char* const reason = ::strerrordesc_np(systemError != 0 ? systemError : EIO);
    return "The system did not save this file (" + std::string(reason ? reason : "unknown error") + ")";
}

}  // namespace

void ShowFileTooLarge(QWidget* owner, const std::string& fileName, std::uint64_t limitBytes, std::string_view kind)
{
    ShowTooLarge(owner, fileName, limitBytes, kind, "it was not read.", "is");
}

void ShowSettingsFileRefused(QWidget* owner, const std::string& fileName, platform::SettingsFile why,
                             std::string_view settings, bool lockName, int systemError)
{
    using platform::SettingsFile;
    // A lock name holds no settings: only their saving waits on it, and
    // removing it is all that mends it, once nothing else uses it.
    const bool read = lockName || platform::SettingsReadable(why);
    const std::string lost = "this session's " + std::string(settings);
    std::string wrong, todo, after;
    switch (why) {
    case SettingsFile::Usable:
        return;
    case SettingsFile::NotRegular:
        wrong = "This is not a regular file (it may be a FIFO, a device, a folder or a broken link)";
        todo = "Remove it, or put a regular file in its place,";
        break;
    case SettingsFile::TooLarge:
        todo = "Remove the file, or shorten it,";
        break;
    case SettingsFile::WouldBeTooLarge:
        todo = "Shorten it";
        break;
    case SettingsFile::NotReadable:
    case SettingsFile::NotWritable: {
        // Removing the file loses every setting in it: the remedy that keeps
        // it comes first.  A file the user may read but not write, another
        // user's, the user can make their own alone, keeping it whole.
        struct stat st {};
        const bool known = ::stat(fileName.c_str(), &st) == 0, yours = known && st.st_uid == ::geteuid();
        const bool mayRead = why == SettingsFile::NotWritable;
        wrong = std::string("You may not ") + (mayRead ? "write" : "read") + " this file (" +
                (yours   ? "its permissions do not let you"
                 : known ? "it belongs to another user"
                         : "it may belong to another user") +
                ")";
        if (yours) todo = mayRead ? "Make it writable for you" : "Make it readable and writable for you";
        else if (mayRead)
            todo = "Make it yours, keeping every setting in it (copy it, remove it, and rename the copy to its "
                   "name),";
        else todo = "Make it yours to read and write";
        if (yours || !mayRead) todo += ", or remove it and lose every setting in it,";
        break;
    }
    case SettingsFile::FolderNotWritable:
        wrong = "You may not write in this file's folder (it may belong to another user)";
        todo = "Make the folder yours to write in";
        break;
    case SettingsFile::FolderNotMakeable:
        wrong = "This file's folder does not exist, and you may not make it (a folder above it may belong to "
                "another user)";
        todo = "Make the nearest folder above it that exists yours to write in";
        break;
    case SettingsFile::ReadOnlyFileSystem:
        wrong = "This file's file system is mounted read-only";
        todo = "Mount its file system for writing";
        break;
    case SettingsFile::Held:
        wrong = "This lock was not let go within " + std::to_string(platform::kLockWaitMs / 1000) +
                " seconds: it is held by another program, or Orbiscope on another machine sharing this home";
        todo = "Remove it, once no other Orbiscope uses this home,";
        break;
    case SettingsFile::NotSaved:
        wrong = SystemRefusal(systemError);
        after = lost + " are not saved yet. Make room on its disk, or mend what the system names: the next change "
                       "then saves them.";
        break;
    }
    const bool mendedByRemoving =
        lockName && why != SettingsFile::FolderNotWritable && why != SettingsFile::FolderNotMakeable &&
        why != SettingsFile::ReadOnlyFileSystem && why != SettingsFile::Held && why != SettingsFile::NotSaved;
    if (mendedByRemoving) todo = "Remove it";
    if (after.empty())
        after = std::string(read ? "" : "the settings were not read, and ") + lost + " will not be saved. " + todo +
                " to have them saved.";
    if (why == SettingsFile::TooLarge || why == SettingsFile::WouldBeTooLarge) {
        ShowTooLarge(owner, fileName, platform::kMaxSettingsFileBytes, "a settings file", after,
                     why == SettingsFile::TooLarge ? "is" : "would be");
        return;
    }
    const char* const caption = why == SettingsFile::NotRegular ? "Not A Regular File"
                                : why == SettingsFile::Held     ? "Settings Locked"
                                : why == SettingsFile::NotSaved ? "Settings Not Saved"
                                                                : "Access Denied";
    platform::MessageBox(owner, platform::FileMessage{"%s\r\n" + wrong + ": " + after, fileName}, caption,
                         platform::MB_ICONEXCLAMATION);
}

bool AskToRetrySettingsAtEnd(QWidget* owner, const std::string& fileName, std::string_view settings,
                              int systemError)
{
    const std::string text = "%s\r\n" + SystemRefusal(systemError) + ": this session's " + std::string(settings) +
                             " are lost if Orbiscope ends now. Make room on its disk, or mend what the system "
                             "names, then choose Retry to save them, or Cancel to end without them.";
    return platform::MessageBox(owner, platform::FileMessage{text, fileName}, "Settings Not Saved",
                                platform::MB_RETRYCANCEL | platform::MB_ICONEXCLAMATION) == platform::IDRETRY;
}

}  // namespace orbiscope
