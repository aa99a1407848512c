// Shared by the town and satellite file targets: both rules of a file kind,
// from memory and from disk, and the writer's bytes read back.
#pragma once

#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "framework/databases/place_files.h"
#include "fuzz/fuzz_support.h"

namespace fuzzsupport {

template <class Record>
struct PlaceFileKind {
    bool (*parse)(std::span<const std::uint8_t>, const PlaceFileRule&, std::vector<Record>&);
    bool (*read)(const std::filesystem::path&, const PlaceFileRule&, std::vector<Record>&);
    std::string (*bytes)(const std::vector<Record>&);
    std::size_t maxRecords;  // the most the writer takes, record 0 included
    PlaceFileRule windowRule;
    PlaceFileRule pickerRule;
};

// Each table a rule accepts lies inside the input, goes through `use` (the
// windows' sorting and listing, with the caller's checks), and reads back the
// same from what the writer makes of it; the reader from disk agrees with the
// reader from memory.
template <class Record, class Use>
void CheckPlaceFile(const PlaceFileKind<Record>& kind, const std::uint8_t* data, std::size_t size,
                    const std::filesystem::path& file, Use use)
{
    const std::span<const std::uint8_t> input(data, size);
    for (const PlaceFileRule& rule : {kind.windowRule, kind.pickerRule}) {
        std::vector<Record> parsed;
        if (!kind.parse(input, rule, parsed)) continue;
        FUZZ_CHECK(!parsed.empty() && kPlaceFileHeadBytes + parsed.size() * sizeof(Record) <= size);
        use(parsed);
        if (parsed.size() > kind.maxRecords) continue;
        const std::string again = kind.bytes(parsed);
        std::vector<Record> reread;
        FUZZ_CHECK(kind.parse({reinterpret_cast<const std::uint8_t*>(again.data()), again.size()}, kind.pickerRule, reread));
        FUZZ_CHECK(reread.size() == parsed.size() &&
                   std::memcmp(reread.data(), parsed.data(), parsed.size() * sizeof(Record)) == 0);
    }
    if (!WriteInput(file, data, size)) return;
    std::vector<Record> fromMemory, fromDisk;
    const bool parsed = kind.parse(input, kind.pickerRule, fromMemory);
    FUZZ_CHECK(kind.read(file, kind.pickerRule, fromDisk) == parsed);
    FUZZ_CHECK(fromDisk.size() == fromMemory.size());
}

}  // namespace fuzzsupport
