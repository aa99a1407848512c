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

// The folder of this user's session files (the single-instance lock and
// socket), closed to every other user: XDG_RUNTIME_DIR when it is absolute
// and names a folder of the user's own that is already closed to others;
// else the program's own "orbiscope-UID" in the temporary folder (TMPDIR
// when absolute, else /tmp), made 0700 when missing, kept at 0700, and
// taken only when it is a folder, not a link, of the user's own.  A folder
// the program did not make is never changed.  Empty when neither can be
// had: another user may have taken the name in the shared folder.
std::filesystem::path UserRuntimeFolder();

}  // namespace platform
