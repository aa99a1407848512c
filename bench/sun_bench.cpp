// The solar-outage search for one site and one satellite at the finest step
// ("Nearest second"), as the window and the batches run it, and with every
// step's sun position computed (the plain stepping): one season, a whole
// year (both seasons, as the window searches), a beam wider than the day
// (a 0.4 m dish at 1 GHz, wide), and a site-file batch.  The counter
// "positions" is the sun positions computed per search.
#include <benchmark/benchmark.h>

#include <cmath>

#include "pointing/sun/outage_search.h"
#include "pointing/sun/solar_batch.h"
#include "pointing/sun/sun.h"

namespace {

using namespace orbiscope::sun;

struct CountingSink : OutageSink {
    int events = 0;
    long steps = 0;
    void Event(const OutageEvent&) override { ++events; }
    void NoOutages() override {}
    bool Step() override
    {
        ++steps;
        return true;
    }
};

struct Case {
    double latitude, longitude, satelliteLongitude, zone, apertureM, frequencyGHz;
    bool wide;
};
constexpr Case kLondon{51.5, -0.12, 28.2, 0.0, 1.2, 11.7, false};
constexpr Case kWideBeam{-34.87, 151.42, 156.0, 10.0, 0.4, 1.0, true};

void Search(benchmark::State& state, const Case& c, bool year, Stepping stepping)
{
    const LookAngles look = SatelliteLookAngles(c.latitude, c.longitude, c.satelliteLongitude);
    OutageInputs in;
    in.satelliteElevation = look.elevation;
    in.satelliteAzimuth = look.azimuth;
    in.year = 2025;
    in.zone = c.zone;
    in.apertureM = c.apertureM;
    in.frequencyGHz = c.frequencyGHz;
    in.wide = c.wide;
    in.minuteRefinement = false;
    in.secondRefinement = true;
    long positions = 0;
    for (auto _ : state) {
        CountingSink sink;
        for (SeasonGroup g : {kEarlySeason, kLateSeason}) {
            TSun sun(c.latitude, c.longitude);
            FindOutages(sun, in, g, sink, stepping);
            if (!year) break;
        }
        benchmark::DoNotOptimize(sink.events);
        positions = sink.steps;
    }
    state.counters["positions"] = static_cast<double>(positions);
}

void BM_OutageSeasonNearestSecond(benchmark::State& state) { Search(state, kLondon, false, Stepping::SkipFarSteps); }
void BM_OutageSeasonNearestSecondEveryStep(benchmark::State& state)
{
    Search(state, kLondon, false, Stepping::EveryStep);
}
void BM_OutageYearNearestSecond(benchmark::State& state) { Search(state, kLondon, true, Stepping::SkipFarSteps); }
void BM_OutageYearWideBeamNearestSecond(benchmark::State& state)
{
    Search(state, kWideBeam, true, Stepping::SkipFarSteps);
}

// Sites between 60S and 60N around the satellite's longitude, 1.2 to 3.6 m,
// each with its own zone: the site-file batch, grouped rows to the minute
// (argument 0) or to the second (1).
void BM_SiteBatch1000(benchmark::State& state)
{
    std::vector<BatchSite> sites;
    for (int i = 0; i < 1000; ++i) {
        const double lat = -60.0 + 120.0 * std::fmod(i * 0.618034, 1.0);
        const double lon = -30.0 + 0.06 * i;
        sites.push_back({"Site", lat, lon, std::round(lon / 15.0), 1.2 + 0.3 * (i % 9)});
    }
    SolarBatchSetup s;
    s.kind = BatchKind::SiteFile;
    s.options.year = 2025;
    s.options.frequencyGHz = 11.7;
    s.options.minuteRefinement = state.range(0) == 0;
    s.options.secondRefinement = state.range(0) == 1;
    s.yearText = "2025";
    s.frequencyText = "11.7";
    s.formSatellite = {"Sat 0.8W", -0.8};
    const std::vector<BatchItem> items = SiteFileItems(sites, s.formSatellite);
    for (auto _ : state) {
        long lines = 0;
        SolarBatchHooks h;
        h.line = [&](const std::string&) { ++lines; };
        h.keepGoing = [] { return true; };
        h.itemDone = [](int) {};
        h.status = [](const std::string&) {};
        h.step = [] { return true; };
        RunSolarBatch(s, items, h);
        benchmark::DoNotOptimize(lines);
    }
}

void BM_SunPosition(benchmark::State& state)
{
    TSun sun(51.5, -0.12);
    sun.SetJulianDay(sun.JulianDay(1, 3, 2025));
    double t = 10.0;
    for (auto _ : state) {
        sun.PositionAt(sun.SiderealTime(t, 2025, 0.0, 0), false);
        benchmark::DoNotOptimize(sun.Elevation);
        t += 1.0 / 7200.0;
    }
}

}  // namespace

BENCHMARK(BM_OutageSeasonNearestSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutageSeasonNearestSecondEveryStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutageYearNearestSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutageYearWideBeamNearestSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SiteBatch1000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SunPosition);
BENCHMARK_MAIN();
