// Satellite files "*.geo" (and "satlist.geo"): the document window's and the
// pickers' rules, from memory and from disk, then sorted, listed and their
// bands read as the windows do.
#include <cmath>
#include <limits>

#include "fuzz/place_file_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::InputFileRemover remover{fuzzsupport::InputPath("input.geo")};
    static const fuzzsupport::PlaceFileKind<SatelliteRecord> kind{ParseSatelliteFile,   ReadSatelliteFile,
                                                                  SatelliteFileBytes,   kMaxSatellites + 1,
                                                                  kSatelliteWindowRule, kSatellitePickerRule};
    fuzzsupport::CheckPlaceFile(kind, data, size, remover.path, [](std::vector<SatelliteRecord>& satellites) {
        for (const SatelliteRecord& s : satellites) {
            FUZZ_CHECK(s.name[sizeof s.name - 1] == '\0' && s.bands[sizeof s.bands - 1] == '\0');
            (void)SatelliteListLine(s);
            bool ticked[kBandCount];
            BandsInText(RecordText(s.bands), ticked);
            FUZZ_CHECK(BandText(ticked).size() <= 2 * kBandCount + 2);
        }
        SortSatellites(satellites, 1, satellites.size() - 1);
        // West to east, a longitude that is no number after every other.
        const auto key = [](float v) { return std::isnan(v) ? std::numeric_limits<float>::infinity() : v; };
        for (std::size_t i = 2; i < satellites.size(); ++i)
            FUZZ_CHECK(key(satellites[i - 1].longitude) <= key(satellites[i].longitude));
    });
    return 0;
}
