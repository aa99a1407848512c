// The loss tables over the real ITU-R maps: the frequency table from 1 to 350
// GHz and the national table over the largest country file shipped, each
// built whole as the table window builds it.  "per_evaluation" is the time of
// one loss-chain evaluation (one row), the table's time over its rows.  Run
// from the program directory (the build folder), where the maps and the
// country files are.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/databases/place_files.h"
#include "framework/output/docfile.h"
#include "propagation/coordinates.h"
#include "propagation/itu_maps.h"
#include "rftools/losses/loss_tables.h"

namespace {

using namespace orbiscope::losses;

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

// The country file with the most towns in the program directory.
const std::vector<TownRecord>& LargestCountry()
{
    static const std::vector<TownRecord> towns = [] {
        std::vector<TownRecord> best;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::current_path())) {
            if (entry.path().extension() != ".twn") continue;
            std::vector<TownRecord> records;
            if (ReadTownFile(entry.path(), kCountryWindowRule, records) && records.size() > best.size())
                best = std::move(records);
        }
        return best;
    }();
    return towns;
}

void PerEvaluation(benchmark::State& state, std::size_t evaluations)
{
    state.counters["evaluations"] = double(evaluations);
    state.counters["per_evaluation"] = benchmark::Counter(
        double(evaluations), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Kuala Lumpur to 91.5E at 99.9 %: rain at every frequency.
void BM_FrequencyTable1To350GHz(benchmark::State& state)
{
    if (!MapsLoaded()) {
        state.SkipWithError("ITU-R maps missing from the program directory");
        return;
    }
    FreqLossInputRecord r{};
    PutText(r.siteName, "Kuala Lumpur");
    PutText(r.availability, "99.9");
    LossTableInputs in;
    in.latitude = 3.14;
    in.longitude = 101.69;
    in.altitudeKm = TopoHeightAt(3.14f, 101.69f);
    in.satLongitude = 91.5;
    in.availability = 99.9;
    in.diameterM = 1.2;
    in.efficiencyPct = 65.0;
    in.tiltRad = 0.7853981633974483;
    in.polarization[0] = 'C';
    const SiteLook look = LookAtSatellite(in.latitude, in.longitude, in.satLongitude);
    const std::vector<double> sweep = FrequencySweep(1.0, 350.0);
    const ReportHeading heading{"Orbiscope", "Tuesday 5 March 2024"};
    for (auto _ : state) {
        std::string text;
        std::int32_t lines = 0;
        ReportWriter writer(text, lines);
        WriteFrequencyLossTable(writer, heading, r, in, look, sweep, ItuLinkAtmosphere());
        benchmark::DoNotOptimize(text.data());
    }
    PerEvaluation(state, sweep.size());
}
BENCHMARK(BM_FrequencyTable1To350GHz)->Unit(benchmark::kMillisecond);

// Every town of the largest country file to 28.2E at 11.7 GHz, 99.9 %.
void BM_NationalTableLargestCountry(benchmark::State& state)
{
    if (!MapsLoaded()) {
        state.SkipWithError("ITU-R maps missing from the program directory");
        return;
    }
    const std::vector<TownRecord>& towns = LargestCountry();
    if (towns.size() < 2) {
        state.SkipWithError("no country file in the program directory");
        return;
    }
    NationalLossInputRecord r{};
    PutText(r.satLongitude, "28.2E");
    PutText(r.frequency, "11.7");
    PutText(r.polarization, "V");
    PutText(r.availability, "99.9");
    LossTableInputs in;
    in.satLongitude = 28.2;
    in.frequencyGHz = 11.7;
    in.availability = 99.9;
    in.diameterM = 0.9;
    in.efficiencyPct = 65.0;
    in.polarization[0] = 'V';
    const ReportHeading heading{"Orbiscope", "Tuesday 5 March 2024"};
    for (auto _ : state) {
        std::string text;
        std::int32_t lines = 0;
        ReportWriter writer(text, lines);
        benchmark::DoNotOptimize(WriteNationalLossTable(writer, heading, r, in, towns, ItuLinkAtmosphere(), false));
        benchmark::DoNotOptimize(text.data());
    }
    state.SetLabel(std::string(towns[0].name, strnlen(towns[0].name, sizeof towns[0].name)));
    PerEvaluation(state, towns.size() - 1);
}
BENCHMARK(BM_NationalTableLargestCountry)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
