// The attenuation chain of one earth station's path (gas, rain, cloud,
// scintillation, total) at one site with the real ITU-R maps loaded, as a
// link budget evaluates it for every weather case.  Run from the program
// directory (the build folder), where the maps are.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>

#include "propagation/cloud.h"
#include "propagation/gas.h"
#include "propagation/itu_maps.h"
#include "propagation/rain.h"
#include "propagation/scintillation.h"
#include "propagation/total_attenuation.h"

namespace {

bool MapsLoaded()
{
    static const bool loaded = [] {
        struct Report : ItuMapLoadObserver {
            void MapLoadFailed(const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
        } report;
        return LoadItuMaps(std::filesystem::current_path(), report) == 0;
    }();
    return loaded;
}

struct Site { double latitude, longitude, height, elevation, frequency, availability; };
constexpr Site kLondonKu{51.5, -0.14, 0.0691, 24.0, 11.7, 99.9};

double Chain(const Site& s)
{
    const double gas = GaseousAttenuation(s.latitude, s.longitude, s.frequency, s.elevation, s.height, s.availability);
    const double rain = RainAttenuation(s.latitude, s.longitude, std::numbers::pi / 4, s.height, s.elevation,
                                        s.frequency, "C", 0, 0.0, s.availability).attenuation;
    const double cloud = CloudAttenuation(s.latitude, s.longitude, s.elevation, s.frequency, s.availability, s.height);
    const double scint = ScintillationFade(s.latitude, s.longitude, 1.2, 65.0, s.elevation, s.frequency,
                                           s.availability, s.height);
    return TotalAttenuation(gas, rain, cloud, scint, s.availability);
}

void BM_AttenuationChain(benchmark::State& state)
{
    if (!MapsLoaded()) {
        state.SkipWithError("ITU-R maps missing from the program directory");
        return;
    }
    Site site = kLondonKu;
    for (auto _ : state) {
        benchmark::DoNotOptimize(site);
        benchmark::DoNotOptimize(Chain(site));
    }
}
BENCHMARK(BM_AttenuationChain)->Unit(benchmark::kMicrosecond);

// Two sites in turn, as a national table walks from one site to the next:
// what the gas model keeps of one site's mean temperature never serves the
// next call.
void BM_AttenuationChainSiteToSite(benchmark::State& state)
{
    if (!MapsLoaded()) {
        state.SkipWithError("ITU-R maps missing from the program directory");
        return;
    }
    const Site sites[2] = {kLondonKu, {3.14, 101.69, 0.056, 76.0, 12.2, 99.9}};
    int next = 0;
    for (auto _ : state) {
        Site site = sites[next];
        next ^= 1;
        benchmark::DoNotOptimize(site);
        benchmark::DoNotOptimize(Chain(site));
    }
}
BENCHMARK(BM_AttenuationChainSiteToSite)->Unit(benchmark::kMicrosecond);

// Each term alone, to see where the time goes.
void BM_Gaseous(benchmark::State& state)
{
    if (!MapsLoaded()) { state.SkipWithError("maps missing"); return; }
    Site s = kLondonKu;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(GaseousAttenuation(s.latitude, s.longitude, s.frequency, s.elevation, s.height, s.availability));
    }
}
BENCHMARK(BM_Gaseous)->Unit(benchmark::kMicrosecond);

void BM_Rain(benchmark::State& state)
{
    if (!MapsLoaded()) { state.SkipWithError("maps missing"); return; }
    Site s = kLondonKu;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(RainAttenuation(s.latitude, s.longitude, 0.0, s.height, s.elevation, s.frequency,
                                                 "H", 0, 0.0, s.availability));
    }
}
BENCHMARK(BM_Rain)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
