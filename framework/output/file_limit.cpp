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
                             std::string_view settings)
{
    char after[320];
    const bool tooLarge = why == platform::SettingsFile::TooLarge;
    std::snprintf(after, sizeof after,
                  "the settings were not read, and this session's %.*s will not be saved. %s, to have them saved.",
                  static_cast<int>(settings.size()), settings.data(),
                  tooLarge ? "Remove the file, or shorten it" : "Remove it, or put a regular file in its place");
    if (tooLarge) {
        ShowTooLarge(owner, fileName, platform::kMaxSettingsFileBytes, "a settings file", after);
        return;
    }
    const std::string format = std::string("%s\r\nThis is not a regular file (it may be a FIFO, a device, a folder or "
                                           "a broken link): ") + after;
    platform::MessageBox(owner, platform::FileMessage{format, fileName}, "Not A Regular File",
                         platform::MB_ICONEXCLAMATION);
}

}  // namespace orbiscope
