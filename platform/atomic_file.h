// Whole-file writes that never leave a half-written target behind.
// Plain C++, so that the file formats of the calculation layer can use it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace platform {

// Writes `bytes` to `file` through a temporary file beside it, flushed to disk
// and renamed over the target, so a failed write keeps the previous copy.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes);

inline bool WriteFileAtomically(const std::filesystem::path& file, const void* data, std::size_t size)
{
    return WriteFileAtomically(file, std::string_view(static_cast<const char*>(data), size));
}

}  // namespace platform
