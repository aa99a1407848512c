// Loading the thirty ITU-R maps against reading the same bytes plainly.
// Run from the program directory (the build folder), where the maps are.
#include "propagation/itu_maps.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class Quiet : public ItuMapLoadObserver {
public:
    void MapLoadFailed(const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
};

long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

void BM_LoadItuMaps(benchmark::State& state)
{
    Quiet quiet;
    // Memory is measured on the first load of the process, before freed
    // grids linger in the allocator.
    static const double residentGrowth = [&] {
        const long before = ResidentKiB();
        LoadItuMaps(std::filesystem::current_path(), quiet);
        const long after = ResidentKiB();
        FreeItuMaps();
        return static_cast<double>(after - before) * 1024.0;
    }();
    double gridBytes = 0;
    for (auto _ : state) {
        if (LoadItuMaps(std::filesystem::current_path(), quiet) != 0) state.SkipWithError("a map failed to load");
        gridBytes = 0;
        for (int k = 0; k < kItuMapCount; ++k) {
            const ItuMapGrid* g = ItuMapGridOf(static_cast<ItuMap>(k));
            if (g) gridBytes += static_cast<double>(g->values.size() * sizeof(float) + g->heights.size() * sizeof(std::int16_t));
        }
        state.PauseTiming();
        FreeItuMaps();
        state.ResumeTiming();
    }
    state.counters["grid_MB"] = gridBytes / 1e6;
    state.counters["rss_growth_MB"] = residentGrowth / 1e6;
}
BENCHMARK(BM_LoadItuMaps)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Through the parsed copies in a cache folder, as the program loads them
// after its first start (the copies are made before timing starts).
void BM_LoadItuMapsCached(benchmark::State& state)
{
    Quiet quiet;
    char pattern[] = "/tmp/orbiscope-map-cache-XXXXXX";
    const std::filesystem::path cache = mkdtemp(pattern);
    if (LoadItuMaps(std::filesystem::current_path(), quiet, cache) != 0) state.SkipWithError("a map failed to load");
    FreeItuMaps();
    for (auto _ : state) {
        if (LoadItuMaps(std::filesystem::current_path(), quiet, cache) != 0) state.SkipWithError("a map failed to load");
        state.PauseTiming();
        FreeItuMaps();
        state.ResumeTiming();
    }
    std::filesystem::remove_all(cache);
}
BENCHMARK(BM_LoadItuMapsCached)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The same files read whole into memory, one after another, no parsing.
void BM_ReadMapsPlain(benchmark::State& state)
{
    std::vector<char> buffer;
    double bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (int k = 0; k < kItuMapCount; ++k) {
            const char* name = ItuMapFormatOf(static_cast<ItuMap>(k)).fileName;
            std::FILE* f = std::fopen(name, "rb");
            if (!f) {
                state.SkipWithError("a map is missing");
                break;
            }
            std::fseek(f, 0, SEEK_END);
            buffer.resize(static_cast<std::size_t>(std::ftell(f)));
            std::fseek(f, 0, SEEK_SET);
            bytes += static_cast<double>(std::fread(buffer.data(), 1, buffer.size(), f));
            std::fclose(f);
            benchmark::DoNotOptimize(buffer.data());
        }
    }
    state.counters["text_MB"] = bytes / 1e6;
}
BENCHMARK(BM_ReadMapsPlain)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
