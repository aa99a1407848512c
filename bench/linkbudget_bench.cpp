// Time of one whole GEO budget recalculation over the real ITU-R maps.
#include "linkbudget/geo/geo_budget.h"
#include "propagation/itu_maps.h"
#include "tests/linkbudget/geo/real_budget_scenario.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

class Reporter final : public ItuMapLoadObserver {
public:
    void MapLoadFailed(const std::string& message) override
    {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
};

void LoadMapsOnce()
{
    static const bool loaded = [] {
        Reporter reporter;
        const char* home = std::getenv("ORBISCOPE_HOME");
        return LoadItuMaps(home != nullptr ? home : ".", reporter) == 0;
    }();
    if (!loaded) std::fprintf(stderr, "maps missing: run from the build folder\n");
}

void Recalculate(benchmark::State& state, const char* hpaPower)
{
    LoadMapsOnce();
    scenario::QuietHost host;
    GeoLinkBudget budget(ItuLinkAtmosphere(), host);
    for (auto _ : state) {
        scenario::FillLondonMadrid(budget.record, hpaPower);
        budget.Recalculate();
        benchmark::DoNotOptimize(budget.clearSky[kExcessMargin]);
    }
}

// Amplifier sized for the carrier: one split search.
void BM_RecalculateSplitSearch(benchmark::State& state) { Recalculate(state, "MIN"); }
// A given amplifier with carriers AUTO: every re-solve of the split search
// also runs the suggestion searches, the slowest road through the budget.
void BM_RecalculateWorstCase(benchmark::State& state) { Recalculate(state, "200"); }

BENCHMARK(BM_RecalculateSplitSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateWorstCase)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
