// Country files "*.twn": the document window's and the pickers' rules, from
// memory and from disk, then sorted and listed as the windows do.
#include "fuzz/place_file_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::InputFileRemover remover{fuzzsupport::InputPath("input.twn")};
    static const fuzzsupport::PlaceFileKind<TownRecord> kind{
        ParseTownFile, ReadTownFile, TownFileBytes, kMaxTowns + 1, kCountryWindowRule, kTownPickerRule};
    fuzzsupport::CheckPlaceFile(kind, data, size, remover.path, [](std::vector<TownRecord>& towns) {
        for (const TownRecord& t : towns) {
            FUZZ_CHECK(t.name[sizeof t.name - 1] == '\0');
            (void)TownListLine(t);
        }
        SortTowns(towns, 1, towns.size() - 1);
    });
    return 0;
}
