// Time to build the two largest tables from the shipped data: the national
// look angles over the largest country file and the visible satellites over
// "satlist.geo", with the ITU-R maps loaded as in the program (the
// refraction reads the terrain height).  Run from the build folder, or with
// ORBISCOPE_HOME naming the program folder.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "framework/databases/place_files.h"
#include "propagation/itu_maps.h"
#include "rftools/tables/national_tables.h"
#include "rftools/tables/visible_satellites.h"

namespace {

namespace fs = std::filesystem;
using namespace orbiscope::tables;

class Reporter final : public ItuMapLoadObserver {
public:
    void MapLoadFailed(const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
};

fs::path Home()
{
    const char* home = std::getenv("ORBISCOPE_HOME");
    return home ? fs::path(home) : fs::current_path();
}

void LoadMapsOnce()
{
    static const bool loaded = [] {
        Reporter reporter;
        return LoadItuMaps(Home().string(), reporter) == 0;
    }();
    if (!loaded) std::fprintf(stderr, "maps missing: run from the build folder\n");
}

// The country file with the most towns (the first by name among equals).
std::vector<TownRecord> LargestCountry(std::string& name)
{
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(Home()))
        if (e.path().extension() == ".twn") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::vector<TownRecord> largest;
    for (const fs::path& f : files) {
        std::vector<TownRecord> towns;
        if (ReadTownFile(f, kTownPickerRule, towns) && towns.size() > largest.size()) {
            largest = std::move(towns);
            name = f.filename().string();
        }
    }
    return largest;
}

void BM_NationalLookAngles(benchmark::State& state)
{
    LoadMapsOnce();
    std::string name;
    const std::vector<TownRecord> towns = LargestCountry(name);
    if (towns.size() < 2) {
        state.SkipWithError("no country file: run from the build folder");
        return;
    }
    SatPosRecord r{};
    PutText(r.satelliteLongitude, "28.2E");
    PutText(r.polarizationCant, "0");
    for (auto _ : state) benchmark::DoNotOptimize(NationalLookAngles(r, towns, {}));
    state.SetLabel(name + ", " + std::to_string(towns.size() - 1) + " towns");
}

void BM_VisibleSatellites(benchmark::State& state)
{
    LoadMapsOnce();
    std::vector<SatelliteRecord> satellites;
    if (!ReadSatelliteFile(Home() / kSatelliteListFile, kSatellitePickerRule, satellites)) {
        state.SkipWithError("no satlist.geo: run from the build folder");
        return;
    }
    RecSiteRecord r{};
    PutText(r.siteName, "London");
    PutText(r.siteLatitude, "51.50N");
    PutText(r.siteLongitude, "0.12W");
    PutText(r.minimumElevation, "0");
    for (ButtonState& b : r.bands) b.Set(1);
    for (auto _ : state) benchmark::DoNotOptimize(VisibleSatellites(r, satellites, {}));
    state.SetLabel(std::to_string(satellites.size() - 1) + " satellites");
}

void BM_VisibleSatellites2Sites(benchmark::State& state)
{
    LoadMapsOnce();
    std::vector<SatelliteRecord> satellites;
    if (!ReadSatelliteFile(Home() / kSatelliteListFile, kSatellitePickerRule, satellites)) {
        state.SkipWithError("no satlist.geo: run from the build folder");
        return;
    }
    RecSite2Record r{};
    PutText(r.site1Name, "London");
    PutText(r.site1Latitude, "51.50N");
    PutText(r.site1Longitude, "0.12W");
    PutText(r.site2Name, "Madrid");
    PutText(r.site2Latitude, "40.42N");
    PutText(r.site2Longitude, "3.70W");
    PutText(r.minimumElevation, "0");
    for (ButtonState& b : r.bands) b.Set(1);
    for (auto _ : state) benchmark::DoNotOptimize(VisibleSatellites2Sites(r, satellites, {}));
    state.SetLabel(std::to_string(satellites.size() - 1) + " satellites");
}

BENCHMARK(BM_NationalLookAngles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisibleSatellites)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisibleSatellites2Sites)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
