// Country files "*.twn": the document window's and the pickers' rules, from
// memory and from disk, then sorted and listed as the windows do.
#include <cstring>
#include <span>
#include <vector>

#include "framework/databases/place_files.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::InputFileRemover remover{fuzzsupport::InputPath("input.twn")};
    const std::span<const std::uint8_t> bytes(data, size);
    for (const PlaceFileRule& rule : {kCountryWindowRule, kTownPickerRule}) {
        std::vector<TownRecord> parsed;
        const bool ok = ParseTownFile(bytes, rule, parsed);
        if (!ok) continue;
        FUZZ_CHECK(!parsed.empty() && 4 + parsed.size() * sizeof(TownRecord) <= size);
        for (const TownRecord& t : parsed) {
            FUZZ_CHECK(t.name[sizeof t.name - 1] == '\0');
            (void)TownListLine(t);
        }
        SortTowns(parsed, 1, parsed.size() - 1);
        // What the writer makes of the table reads back as the same table.
        if (parsed.size() <= kMaxTowns + 1) {
            const std::string again = TownFileBytes(parsed);
            std::vector<TownRecord> reread;
            FUZZ_CHECK(ParseTownFile({reinterpret_cast<const std::uint8_t*>(again.data()), again.size()},
                                     kTownPickerRule, reread));
            FUZZ_CHECK(reread.size() == parsed.size() &&
                       std::memcmp(reread.data(), parsed.data(), parsed.size() * sizeof(TownRecord)) == 0);
        }
    }
    if (!fuzzsupport::WriteInput(remover.path, data, size)) return 0;
    std::vector<TownRecord> fromMemory, fromDisk;
    const bool parsed = ParseTownFile(bytes, kTownPickerRule, fromMemory);
    FUZZ_CHECK(ReadTownFile(remover.path, kTownPickerRule, fromDisk) == parsed);
    FUZZ_CHECK(fromDisk.size() == fromMemory.size());
    return 0;
}
