// Text files the program reads whole (batch input files, element sets, its
// settings) are read up to a limit far above any real file of their kind, so
// that one picked by mistake (a disk image, a log still being written) is
// refused at once instead of taking the program's memory and the user's
// unsaved documents with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"

class QWidget;

namespace orbiscope {

// "File Too Large": the file's name, the limit in megabytes and what kind of
// file it was taken for ("a batch input file").
void ShowFileTooLarge(QWidget* owner, const std::string& fileName, std::uint64_t limitBytes, std::string_view kind);

// A settings file of the program's own, or the lock name beside one
// (`lockName`), that may not be used in full (platform::CheckSettingsFile),
// or whose save failed: its name, why (the system's `systemError`, for a
// save it refused), what the session loses by it (`settings`: "window size
// and place") and what to do.  Nothing is shown for a usable one.
void ShowSettingsFileRefused(QWidget* owner, const std::string& fileName, platform::SettingsFile why,
                             std::string_view settings, bool lockName = false, int systemError = 0);

// What the registry's settings are, as the boxes above name them.
inline constexpr std::string_view kRegistrySettings = "recent files, file folders and default country file";

// "Settings Not Saved" as the program ends: the system refused the save of
// the file (`systemError` its reason) with `settings` still unsaved, which
// ending now loses.  True when the user chose Retry, having made room; false
// for Cancel, which ends without them, and where no one can answer.
bool AskToRetrySettingsAtEnd(QWidget* owner, const std::string& fileName, std::string_view settings,
                             int systemError);

}  // namespace orbiscope
