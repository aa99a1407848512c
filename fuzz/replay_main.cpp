// Replays fuzz inputs through a target's LLVMFuzzerTestOneInput: every
// regular file under the folders (or files) given on the command line.
// A crash or sanitizer report fails the test; a clean run prints the count.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

static void Replay(const fs::path& file, int& count)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A copy of exactly the file's size, so that a read one byte past it is caught.
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(data.data(), data.size());
    ++count;
}

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path root(argv[i]);
        std::error_code ec;
        if (fs::is_regular_file(root, ec)) {
            Replay(root, count);
            continue;
        }
        if (!fs::is_directory(root, ec))
            continue;
        std::vector<fs::path> files;
        for (const auto& e : fs::recursive_directory_iterator(root, ec))
            if (e.is_regular_file())
                files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const auto& f : files)
            Replay(f, count);
    }
    std::printf("replayed %d inputs\n", count);
    return 0;
}
