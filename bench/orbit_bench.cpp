// The orbit model's step and the numbers of one positions-window refresh.
//
// Element sets come from orbit-data/ beside the program (laid there by the
// build from the shared data): the station (near-earth, drag), GOES 19
// (geostationary, synchronous resonance), ARKTIKA-M 1 (12-hour, eccentricity
// 0.73, half-day resonance) and the 10,395-set constellation file.
#include "pointing/orbit/positions.h"
#include "pointing/orbit/tle_file.h"
#include "pointing/orbit/tle_win.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <clocale>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::filesystem::path ProgramFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

std::string FileText(const char* file) {
    std::ifstream in(ProgramFolder() / "orbit-data" / file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<TleEntry> Sets(const char* file) { return ReadTleText(FileText(file)).entries; }

std::vector<TleEntry> OneSet(const char* file, const char* name) {
    for (const TleEntry& e : Sets(file)) {
        if (std::strcmp(e.name, name) == 0) return {e};
    }
    return {};
}

// One step: Propagate to an instant a minute after the last, over ten days
// from epoch, as successive refreshes of the window do.
void PropagateStep(benchmark::State& state, const char* file, const char* name) {
    TSgp4Sdp4 model;
    model.SetEntries(OneSet(file, name));
    if (model.EntryCount() != 1 || !model.ConvertTleEntry(0, true)) {
        state.SkipWithError("element set not found in orbit-data/");
        return;
    }
    const double epoch = model.EpochJulianDate();
    double t_min = 0;
    EciVector r, v;
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.Propagate(epoch + t_min / 1440.0, r, v));
        benchmark::DoNotOptimize(r);
        t_min = t_min < 14400.0 ? t_min + 1.0 : 0.0;
    }
}

void BM_PropagateNearEarth(benchmark::State& state) { PropagateStep(state, "stations.tle", "ISS (ZARYA)"); }
void BM_PropagateGeostationary(benchmark::State& state) { PropagateStep(state, "geo.tle", "GOES 19"); }
void BM_PropagateTwelveHour(benchmark::State& state) { PropagateStep(state, "weather.tle", "ARKTIKA-M 1"); }
BENCHMARK(BM_PropagateNearEarth);
BENCHMARK(BM_PropagateGeostationary);
BENCHMARK(BM_PropagateTwelveHour);

// Reading the constellation file (10,395 sets) as opening it does: the
// file as published (plain ASCII), then the same with one name holding a
// Latin-1 letter, which makes that line Latin-1.
void ReadConstellation(benchmark::State& state, std::string text) {
    if (text.empty()) {
        state.SkipWithError("orbit-data/starlink.tle not found");
        return;
    }
    for (auto _ : state) {
        TleReadResult read = ReadTleText(text);
        benchmark::DoNotOptimize(read.entries.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
void BM_ReadConstellationAscii(benchmark::State& state) { ReadConstellation(state, FileText("starlink.tle")); }
void BM_ReadConstellationLatin1(benchmark::State& state) {
    std::string text = FileText("starlink.tle");
    if (!text.empty()) text[0] = '\xC9';
    ReadConstellation(state, text);
}
BENCHMARK(BM_ReadConstellationAscii)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadConstellationLatin1)->Unit(benchmark::kMillisecond);

const TleSite kSite{51.5, -0.13, 0.02};

// A timer refresh of the positions window over the constellation file: every
// set propagated, placed and looked at, then sorted (the window's default
// sort, by catalogue number), a second later each time.
void BM_PositionsRefreshNumbers(benchmark::State& state) {
    TSgp4Sdp4 model;
    model.SetEntries(Sets("starlink.tle"));
    if (model.EntryCount() == 0) {
        state.SkipWithError("orbit-data/starlink.tle not found");
        return;
    }
    std::vector<TleSatPosition> rows;
    double jd = 2461191.0;
    ComputeSatPositions(model, jd, kSite, LongitudeDisplay::Modulo180, rows);  // the load's own refresh
    for (auto _ : state) {
        jd += 1.0 / 86400.0;
        ComputeSatPositions(model, jd, kSite, LongitudeDisplay::Modulo180, rows);
        SortSatPositions(rows, TleSortField::Id);
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["sets"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_PositionsRefreshNumbers)->Unit(benchmark::kMillisecond);

// The first refresh after opening the file, which also converts and
// initialises every set.
void BM_PositionsFirstRefresh(benchmark::State& state) {
    const std::vector<TleEntry> sets = Sets("starlink.tle");
    std::vector<TleSatPosition> rows;
    for (auto _ : state) {
        TSgp4Sdp4 model;
        model.SetEntries(sets);
        ComputeSatPositions(model, 2461191.0, kSite, LongitudeDisplay::Modulo180, rows);
        SortSatPositions(rows, TleSortField::Id);
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_PositionsFirstRefresh)->Unit(benchmark::kMillisecond);

// The whole timer refresh of the window: the numbers above, then the
// table's text (10,395 rows) and the scroller, with the timer re-armed.
void BM_PositionsRefreshWithText(benchmark::State& state) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orbit_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    (void)app;
    TTleWin window(nullptr, nullptr, nullptr);
    const std::string file = (ProgramFolder() / "orbit-data" / "starlink.tle").string();
    if (!window.LoadFile(file.c_str())) {
        state.SkipWithError("orbit-data/starlink.tle not found");
        return;
    }
    for (auto _ : state) {
        window.UpdateTable();
        benchmark::DoNotOptimize(window.Report().data());
    }
    state.counters["lines"] = window.Lines();
}
BENCHMARK(BM_PositionsRefreshWithText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
