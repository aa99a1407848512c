// A parsed copy of a map as the cache folder may hold it: any header, any
// sizes it declares, any data after it.  Whatever the copy holds, the load
// gives a whole grid of the map's shape (from the copy, or from the text
// when the copy does not stand for it).
#include "fuzz/fuzz_support.h"
#include "fuzz/itu_map_copy/map_copy_case.h"

namespace {

namespace fs = std::filesystem;

struct Folder {
    fs::path root = fuzzsupport::InputPath("map-copy");
    fs::path text = root / "MAP.TXT";
    fs::path cache = root / "cache";
    Folder()
    {
        fs::create_directories(cache);
        fuzzsupport::WriteInput(text, reinterpret_cast<const std::uint8_t*>(fuzzmapcopy::kText.data()),
                                fuzzmapcopy::kText.size());
    }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Folder folder;
    for (const bool heights : {false, true}) {
        if (!fuzzsupport::WriteInput(folder.cache / "MAP.TXT.grid", data, size)) return 0;
        const ItuMapFormat format = fuzzmapcopy::Format(heights);
        ItuMapGrid grid;
        FUZZ_CHECK(LoadMapFileCached(folder.text, format, grid, folder.cache));
        FUZZ_CHECK(grid.rows == 2 && grid.columns == 3);
        FUZZ_CHECK((heights ? grid.heights.size() : grid.values.size()) == 6);
        FUZZ_CHECK((heights ? grid.values.size() : grid.heights.size()) == 0);
    }
    return 0;
}
