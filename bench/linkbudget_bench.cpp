// Time of whole budget recalculations over the real ITU-R maps (the GEO
// bent pipe and the two isolated budgets), and of writing a bent-pipe report.
#include "framework/output/report_writer.h"
#include "linkbudget/geo/geo_budget.h"
#include "linkbudget/geo/geo_report.h"
#include "linkbudget/isolated/downlink_budget.h"
#include "linkbudget/isolated/uplink_budget.h"
#include "propagation/itu_maps.h"
#include "tests/linkbudget/geo/real_budget_scenario.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"

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

// The isolated budgets with ITU-R rain from the maps: the uplink's
// availability search and the downlink's availability and antenna searches.
template <class Budget, class Fill>
void RecalculateIsolated(benchmark::State& state, Fill fill)
{
    LoadMapsOnce();
    scenario::QuietHost host;
    Budget budget(ItuLinkAtmosphere(), host);
    for (auto _ : state) {
        fill(budget.record);
        budget.Recalculate();
        benchmark::DoNotOptimize(budget.rainy.excessMargin);
    }
}
void BM_RecalculateIsolatedUplink(benchmark::State& state)
{
    RecalculateIsolated<RgnUplinkBudget>(state, HandRecord);
}
void BM_RecalculateIsolatedDownlink(benchmark::State& state)
{
    RecalculateIsolated<RgnDownlinkBudget>(state, HandDownlink);
}

// The whole report of the London-Madrid budget, about 200 lines.
void BM_WriteBentPipeReport(benchmark::State& state)
{
    LoadMapsOnce();
    scenario::QuietHost host;
    GeoLinkBudget budget(ItuLinkAtmosphere(), host);
    scenario::FillLondonMadrid(budget.record, "MIN");
    budget.Recalculate();
    const ReportHeading heading{"Bench", "Tuesday 5 March 2024"};
    for (auto _ : state) {
        std::string text;
        std::int32_t lines = 0;
        ReportWriter line(text, lines);
        WriteBentPipeReport(line, heading, budget, nullptr);
        benchmark::DoNotOptimize(text.data());
    }
}

BENCHMARK(BM_RecalculateSplitSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateWorstCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateIsolatedUplink)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateIsolatedDownlink)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBentPipeReport)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
