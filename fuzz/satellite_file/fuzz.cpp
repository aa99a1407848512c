// Satellite files "*.geo" (and "satlist.geo"): the document window's and the
// pickers' rules, from memory and from disk, then sorted, listed and their
// bands read as the windows do.
#include <cmath>
#include <cstring>
#include <limits>
#include <span>
#include <vector>

#include "framework/databases/place_files.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::InputFileRemover remover{fuzzsupport::InputPath("input.geo")};
    const std::span<const std::uint8_t> bytes(data, size);
    for (const PlaceFileRule& rule : {kSatelliteWindowRule, kSatellitePickerRule}) {
        std::vector<SatelliteRecord> parsed;
        if (!ParseSatelliteFile(bytes, rule, parsed)) continue;
        FUZZ_CHECK(!parsed.empty() && 4 + parsed.size() * sizeof(SatelliteRecord) <= size);
        for (const SatelliteRecord& s : parsed) {
            FUZZ_CHECK(s.name[sizeof s.name - 1] == '\0' && s.bands[sizeof s.bands - 1] == '\0');
            (void)SatelliteListLine(s);
            bool ticked[kBandCount];
            BandsInText(RecordText(s.bands), ticked);
            FUZZ_CHECK(BandText(ticked).size() <= 2 * kBandCount + 2);
        }
        SortSatellites(parsed, 1, parsed.size() - 1);
        // West to east, a longitude that is no number after every other.
        const auto key = [](float v) { return std::isnan(v) ? std::numeric_limits<float>::infinity() : v; };
        for (std::size_t i = 2; i < parsed.size(); ++i)
            FUZZ_CHECK(key(parsed[i - 1].longitude) <= key(parsed[i].longitude));
        if (parsed.size() <= kMaxSatellites + 1) {
            const std::string again = SatelliteFileBytes(parsed);
            std::vector<SatelliteRecord> reread;
            FUZZ_CHECK(ParseSatelliteFile({reinterpret_cast<const std::uint8_t*>(again.data()), again.size()},
                                          kSatellitePickerRule, reread));
            FUZZ_CHECK(reread.size() == parsed.size() &&
                       std::memcmp(reread.data(), parsed.data(), parsed.size() * sizeof(SatelliteRecord)) == 0);
        }
    }
    if (!fuzzsupport::WriteInput(remover.path, data, size)) return 0;
    std::vector<SatelliteRecord> fromMemory, fromDisk;
    const bool parsed = ParseSatelliteFile(bytes, kSatellitePickerRule, fromMemory);
    FUZZ_CHECK(ReadSatelliteFile(remover.path, kSatellitePickerRule, fromDisk) == parsed);
    FUZZ_CHECK(fromDisk.size() == fromMemory.size());
    return 0;
}
