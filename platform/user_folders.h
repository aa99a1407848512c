// Where a user's own files of a kind go, by the desktop's folder rules.
// Plain C++, so that the calculation libraries could use it too.
#pragma once

#include <filesystem>

namespace platform {

// The folder named by the environment variable `variable` when it is an
// absolute path; else `underHome` inside the user's home, when the home is
// absolute (HOME, else the password entry).  Empty when there is neither:
// a relative name would put the files wherever the program happens to run.
std::filesystem::path UserFolder(const char* variable, const std::filesystem::path& underHome);

}  // namespace platform
