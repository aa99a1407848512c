// One season's solar-outage search for one site and one satellite at the
// finest step ("Nearest second"), as the window and the batches run it, and
// with every step's sun position computed (the plain stepping).
#include <benchmark/benchmark.h>

#include "pointing/sun/outage_search.h"
#include "pointing/sun/solar_batch.h"
#include "pointing/sun/sun.h"

namespace {

using namespace orbiscope::sun;

struct CountingSink : OutageSink {
    int events = 0;
    void Event(const OutageEvent&) override { ++events; }
    void NoOutages() override {}
};

void SeasonSearch(benchmark::State& state, Stepping stepping)
{
    constexpr double kLatitude = 51.5, kLongitude = -0.12, kSatelliteLongitude = 28.2;
    const LookAngles look = SatelliteLookAngles(kLatitude, kLongitude, kSatelliteLongitude);
    OutageInputs in;
    in.satelliteElevation = look.elevation;
    in.satelliteAzimuth = look.azimuth;
    in.year = 2025;
    in.apertureM = 1.2;
    in.frequencyGHz = 11.7;
    in.minuteRefinement = false;
    in.secondRefinement = true;
    for (auto _ : state) {
        TSun sun(kLatitude, kLongitude);
        CountingSink sink;
        FindOutages(sun, in, kEarlySeason, sink, stepping);
        benchmark::DoNotOptimize(sink.events);
    }
}

void BM_OutageSeasonNearestSecond(benchmark::State& state) { SeasonSearch(state, Stepping::SkipFarSteps); }
void BM_OutageSeasonNearestSecondEveryStep(benchmark::State& state) { SeasonSearch(state, Stepping::EveryStep); }

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
BENCHMARK(BM_SunPosition);
BENCHMARK_MAIN();
