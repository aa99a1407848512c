// Shared by the fuzz entry points: readers that take a file name get the
// input as a file of this process's own, rewritten for every input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace fuzzsupport {

// A folder of this process's own, in memory when the system offers it (the
// fuzzers write one file per input), removed with all it holds when the
// process ends: nothing is written beside another program's files.
inline const std::filesystem::path& InputFolder()
{
    struct Folder {
        std::filesystem::path path;
        bool made = false;
        Folder()
        {
            std::error_code ec;
            const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                                   ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path();
            std::string pattern = (base / "orbiscope-fuzz-XXXXXX").string();
            made = ::mkdtemp(pattern.data()) != nullptr;
            // None made: the inputs cannot be written, and each case is skipped.
            path = made ? std::filesystem::path(pattern) : base / "orbiscope-fuzz-unmade";
        }
        ~Folder()
        {
            std::error_code ec;
            if (made) std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

// The path of this process's input file with the given name ("input.glb").
inline std::filesystem::path InputPath(const char* name) { return InputFolder() / name; }

// Writes the input to `path`; false when it could not be written.
inline bool WriteInput(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written;
}

// Removes the input file when the fuzzer ends.
struct InputFileRemover {
    std::filesystem::path path;
    ~InputFileRemover()
    {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

// A failed property: report it the way a sanitizer would, so that libFuzzer
// keeps the input.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            __builtin_trap();                                                              \
        }                                                                                  \
    } while (0)

}  // namespace fuzzsupport
