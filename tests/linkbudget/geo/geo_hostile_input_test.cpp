// Any record, however damaged, is calculated to the end without a crash or
// a hang: a document from a file is checked, but the engine does not rely on it.
#include "tests/linkbudget/engine/budget_fixtures.h"
#include "propagation/itu_maps.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const char* const kHostileTexts[] = {
    "", "0", "-1", "1", "99.9", "100", "101", "1e300", "-1e300", "1e-300", "nan", "inf",
    "AUTO", "auto-", "MIN", "mineq", "max", "abc", "+", "-", "+40", "-3", "3/0", "0/0",
    "((((", "90.00N", "180.0W", "45.5S", "1e39", "-0", "12345678901",
};

template <std::size_t N>
void Scramble(char (&field)[N], std::mt19937& rng)
{
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kHostileTexts) - 1);
    std::snprintf(field, N, "%s", kHostileTexts[pick(rng)]);
}

template <std::size_t K, std::size_t N>
void Scramble(char (&fields)[K][N], std::mt19937& rng)
{
    for (auto& f : fields) Scramble(f, rng);
}

void RunRandomRecords(LinkAtmosphere& atmosphere, int rounds, unsigned seed)
{
    std::mt19937 rng(seed);
    RecordingHost host;
    for (int round = 0; round < rounds; ++round) {
        GeoLinkBudget budget(atmosphere, host);
        GeoLinkInputRecord& r = budget.record;
        FillHandBudget(r);
        // Keep a visible geometry in half the rounds so that the whole road runs.
        if (round % 2 == 1) {
            Scramble(r.upLatitude, rng);
            Scramble(r.upLongitude, rng);
            Scramble(r.dnLatitude, rng);
            Scramble(r.satLongitude, rng);
        }
        Scramble(r.upFrequency, rng);
        Scramble(r.upAvailability, rng);
        Scramble(r.upDiameter, rng);
        Scramble(r.upEfficiency, rng);
        Scramble(r.upOtherLosses, rng);
        Scramble(r.upMispointing, rng);
        Scramble(r.hpaPower, rng);
        Scramble(r.carriersPerHpa, rng);
        Scramble(r.upAsiDensity, rng);
        Scramble(r.upAsiLongitude, rng);
        Scramble(r.dnFrequency, rng);
        Scramble(r.dnAvailability, rng);
        Scramble(r.dnDiameter, rng);
        Scramble(r.dnEfficiency, rng);
        Scramble(r.lnbNoise, rng);
        Scramble(r.antennaNoise, rng);
        Scramble(r.dnAsiLongitude, rng);
        Scramble(r.sfdRef, rng);
        Scramble(r.eirpSaturation, rng);
        Scramble(r.transponderBandwidth, rng);
        Scramble(r.transponderIbo, rng);
        Scramble(r.transponderObo, rng);
        Scramble(r.cim, rng);
        Scramble(r.carriersPerTransponder, rng);
        Scramble(r.rate, rng);
        Scramble(r.fecRate, rng);
        Scramble(r.modulationOrder, rng);
        Scramble(r.carrierSpacing, rng);
        Scramble(r.allocationStep, rng);
        Scramble(r.requiredTarget, rng);
        const std::uint16_t states = static_cast<std::uint16_t>(rng());
        r.upClearSky.Set(states & 1);
        r.dnClearSky.Set((states >> 1) & 1);
        r.dualFade.Set((states >> 2) & 1);
        r.upAsiKnownTotal.Set((states >> 3) & 1);
        r.dnAsiKnownTotal.Set((states >> 4) & 1);
        r.upAsiInclude[0].Set((states >> 5) & 1);
        r.upCiUnits.Set((states >> 6) & 1);
        r.dnCiUnits.Set((states >> 7) & 1);
        r.infoRate.Set((states >> 8) & 1);
        r.ltwta.Set((states >> 9) & 1);
        r.sspa.Set((states >> 10) & 1);
        budget.frozen = (states >> 11) & 1;
        budget.Recalculate();
        // Every result text is a terminated string of its field.
        for (const char* t : {budget.texts.overallTarget, budget.texts.up.availability,
                              budget.texts.down.worstDowntime, budget.texts.inputAvailabilityUp})
            EXPECT_LT(std::strlen(t), 20u);
        EXPECT_LT(budget.suggestion.size(), 96u);
    }
}

TEST(HostileInput, RandomRecordsRunToTheEnd)
{
    FixedAtmosphere atmosphere;
    RunRandomRecords(atmosphere, 400, 20261206);
}

class SilentLoad final : public ItuMapLoadObserver {
public:
    void MapLoadFailed(const std::string&) override {}
};

// The same through the real propagation models and maps.
TEST(HostileInput, RandomRecordsThroughThePropagationModels)
{
    SilentLoad observer;
    ASSERT_EQ(LoadItuMaps(".", observer), 0);
    RunRandomRecords(ItuLinkAtmosphere(), 150, 7);
    FreeItuMaps();
}

}  // namespace
