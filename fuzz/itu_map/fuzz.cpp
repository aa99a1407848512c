// The ITU-R map loader on small grids of both kinds (float values and 16-bit
// heights) and both token lengths: any text, any length, any bytes.
#include "fuzz/fuzz_support.h"
#include "propagation/itu_maps.h"

namespace {

constexpr ItuMapFormat kFormats[] = {
    {"FLOAT.TXT", 3, 5, 16, false, 0, 0},
    {"HEIGHTS.TXT", 4, 3, 12, true, 0, 0},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::InputFileRemover remover{fuzzsupport::InputPath("map.txt")};
    if (!fuzzsupport::WriteInput(remover.path, data, size)) return 0;
    for (ItuMapFormat format : kFormats) {
        // Accept exactly this text, so the path that keeps the grid is taken too.
        format.checksum = MapTextChecksum({reinterpret_cast<const char*>(data), size});
        ItuMapGrid grid;
        const bool loaded = LoadMapFile(remover.path, format, grid);
        const std::size_t cells = std::size_t(format.rows) * std::size_t(format.columns);
        FUZZ_CHECK(grid.rows == format.rows && grid.columns == format.columns);
        FUZZ_CHECK((format.integerElements ? grid.heights.size() : grid.values.size()) == cells);
        (void)loaded;
    }
    return 0;
}
