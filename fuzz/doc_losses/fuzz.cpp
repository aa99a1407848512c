// Atmospheric-losses documents "*.atn" and "*.att" (one layout), every
// version the window reads: read, checked and calculated by a fresh window,
// as opening one does, over the ITU-R maps of the build folder, so that the
// map lookups see every site a document can hold.  Whatever the document,
// the window's numbers are numbers (the program never runs without its maps,
// so the check waits for all of them).
#include <cmath>

#include "fuzz/window_support.h"
#include "propagation/itu_maps.h"
#include "rftools/losses/rain_atten_win.h"

namespace {

bool LoadMaps()
{
    struct Failures final : ItuMapLoadObserver {
        void MapLoadFailed(const std::string& message) override
        {
            std::fprintf(stderr, "ITU-R map not loaded: %s\n", message.c_str());
        }
    } failures;
    return LoadItuMaps(ORBISCOPE_FUZZ_MAPS, failures) == 0;
}

void CheckNumbers(TRainAttenWin& window)
{
    const orbiscope::losses::AtmosLossResults& r = window.Results();
    for (double v : {r.look.elevation, r.look.azimuth, r.look.slantRangeKm, r.altitudeKm, r.losses.gas,
                     r.losses.scintillation, r.losses.cloud, r.losses.rain, r.losses.total, r.noiseIncrease,
                     r.degradation, r.worstMonth.availability, r.yearlyDowntime, r.worstMonthDowntime, r.xpd})
        FUZZ_CHECK(std::isfinite(v));
}

// Loaded before the first input, outside its time limit.
bool mapsLoaded = false;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    mapsLoaded = LoadMaps();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto& harness = fuzzsupport::WindowHarness::Get();
    if (mapsLoaded) harness.Load<TRainAttenWin>(data, size, "input.atn", CheckNumbers);
    else harness.Load<TRainAttenWin>(data, size, "input.atn");
    return 0;
}
