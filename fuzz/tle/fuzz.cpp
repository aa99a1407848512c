// Any bytes as a ".tle" file: read, then every set converted, propagated to
// its epoch, a day on and far away, placed over the Earth and sorted, as a
// refresh of the positions window does.
#include "pointing/orbit/positions.h"
#include "pointing/orbit/tle_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TleReadResult read = ReadTleText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read.ok) return 0;
    TSgp4Sdp4 model;
    model.SetEntries(read.entries);
    const TleSite site{51.5, -0.13, 0.02};
    std::vector<TleSatPosition> rows;
    double epoch = 2461191.0;
    if (model.ConvertTleEntry(0, false)) epoch = model.EpochJulianDate();
    for (double jd : {epoch, epoch + 1.0, epoch - 3650.0, 2461191.0}) {
        ComputeSatPositions(model, jd, site, LongitudeDisplay::DegreesWest, rows);
        SortSatPositions(rows, TleSortField::Elevation);
        SortSatPositions(rows, TleSortField::Name);
    }
    return 0;
}
