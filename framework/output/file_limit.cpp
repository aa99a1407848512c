#include "framework/output/file_limit.h"

#include <cstdio>

#include "platform/messagebox.h"

namespace orbiscope {

namespace {

// "This file is larger than N MB, more than KIND holds: " and what follows.
void ShowTooLarge(QWidget* owner, const std::string& fileName, std::uint64_t limitBytes, std::string_view kind,
                  std::string_view after)
{
    char format[512];
    std::snprintf(format, sizeof format, "%%s\r\nThis file is larger than %llu MB, more than %.*s holds: %.*s",
                  static_cast<unsigned long long>(limitBytes >> 20), static_cast<int>(kind.size()), kind.data(),
                  static_cast<int>(after.size()), after.data());
    platform::MessageBox(owner, platform::FileMessage{format, fileName}, "File Too Large",
                         platform::MB_ICONEXCLAMATION);
}

}  // namespace

void ShowFileTooLarge(QWidget* owner, const std::string& fileName, std::uint64_t limitBytes, std::string_view kind)
{
    ShowTooLarge(owner, fileName, limitBytes, kind, "it was not read.");
}

void ShowSettingsFileRefused(QWidget* owner, const std::string& fileName, platform::SettingsFile why,
                             std::string_view settings, bool lockName)
{
    using platform::SettingsFile;
    if (why == SettingsFile::Usable) return;
    // A lock name holds no settings: only their saving waits on it, and
    // removing it is all that mends it.
    const bool read = lockName || platform::SettingsReadable(why);
    const char* const todo = why == SettingsFile::FolderNotWritable ? "Make the folder yours to write in"
                             : lockName                             ? "Remove it"
                             : why == SettingsFile::TooLarge        ? "Remove the file, or shorten it,"
                             : why == SettingsFile::NotRegular      ? "Remove it, or put a regular file in its place,"
                                                                    : "Remove it, or make it yours to read and write,";
    char after[400];
    std::snprintf(after, sizeof after, "%sthis session's %.*s will not be saved. %s to have them saved.",
                  read ? "" : "the settings were not read, and ", static_cast<int>(settings.size()), settings.data(),
                  todo);
    if (why == SettingsFile::TooLarge) {
        ShowTooLarge(owner, fileName, platform::kMaxSettingsFileBytes, "a settings file", after);
        return;
    }
    const char* const what =
        why == SettingsFile::NotRegular  ? "This is not a regular file (it may be a FIFO, a device, a folder or a broken "
                                           "link)"
        : why == SettingsFile::NotReadable ? "You may not read this file (it may belong to another user)"
        : why == SettingsFile::NotWritable ? "You may not write this file (it may belong to another user)"
                                           : "You may not write in this file's folder (it may belong to another user)";
    const char* const caption = why == SettingsFile::NotRegular ? "Not A Regular File" : "Access Denied";
    platform::MessageBox(owner, platform::FileMessage{std::string("%s\r\n") + what + ": " + after, fileName}, caption,
                         platform::MB_ICONEXCLAMATION);
}

}  // namespace orbiscope
