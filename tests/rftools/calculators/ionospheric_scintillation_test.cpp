// Ionospheric scintillation: the worked cases of the fit tables and the
// limit of each fit met exactly as typed.
#include <gtest/gtest.h>

#include <cmath>

#include "rftools/calculators/ionospheric_scintillation.h"
#include "rftools/calculators/result_text.h"

namespace {

using namespace rfcalc;
using enum SunspotRange;

TEST(ScintillationAt, WorkedCases)
{
    struct Case {
        const char* name;
        double frequency_GHz, availability;
        SunspotRange range;
        bool east;
        const char* fluctuation;   // "%.1lf", "%.2lf", "%.1lf"
        const char* index;
        const char* loss;
    };
    const Case cases[] = {
        // F(0.1) = 9.6008 dB at 4 GHz, x (1.5 / 4)^-1.5 = 4.3546: 41.81
        {"L-band-solar-max", 1.5, 99.9, R153to165, true, "41.8", "1.39", "29.6"},
        {"4GHz-p1", 4.0, 99.0, R110to160, true, "3.9", "0.21", "2.8"},
        {"above-the-fit", 1.5, 99.0, R20to70, false, "0.0", "0.00", "0.0"},   // p 1 > limit 0.3
        // At 4 GHz the scaling is 1: P = F.  F(1.7) of 110-160 West = 1.637 dB
        {"limit-110-160-west", 4.0, 98.3, R110to160, false, "1.6", "0.11", "1.2"},
    };
    for (const Case& c : cases) {
        const Scintillation s = ScintillationAt(c.frequency_GHz, c.availability, c.range, c.east);
        EXPECT_EQ(FormatFixed(s.fluctuation_dB, 1), c.fluctuation) << c.name;
        EXPECT_EQ(FormatFixed(s.index, 2), c.index) << c.name;
        EXPECT_EQ(FormatFixed(s.loss_dB, 1), c.loss) << c.name;
    }
}

// 100 - 98.3 is 1.7000000000000028 in binary: a p typed right at a fit's
// limit still gets its value, and only a p truly above it gets 0.
TEST(ScintillationLoss, LimitMetExactlyIsComputed)
{
    constexpr double kTolDb = 1e-6;
    struct Case {
        const char* name;
        double availability;
        SunspotRange range;
        bool east;
        double expected_dB;   // F(p) at 4 GHz
    };
    const Case cases[] = {
        {"110-160-west", 98.3, R110to160, false, 1.6373644355},
        {"44-110-east", 97.6, R44to110, true, 0.6664702628},
        {"10-15-west", 99.96, R10to15, false, 0.0084262465},
        {"just-above", 98.29, R110to160, false, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(ScintillationLoss(100.0 - c.availability, c.range, c.east), c.expected_dB, kTolDb) << c.name;
}

// Every fit stays positive from p = 0.01 % up to its limit, so S4 is real.
TEST(ScintillationLoss, PositiveUpToEachLimit)
{
    for (SunspotRange range : {R10to15, R12to26, R20to70, R44to110, R110to160, R153to165}) {
        for (bool east : {true, false}) {
            const double limit = ScintillationFitOf(range, east).limit;
            for (double p = 0.01; p <= limit; p += 0.01)
                EXPECT_GT(ScintillationLoss(p, range, east), 0.0) << int(range) << east << " p " << p;
        }
    }
}

TEST(SunspotRangeOf, FirstButtonOnOrNone)
{
    const bool none[6] = {};
    const bool third[6] = {false, false, true, false, false, false};
    const bool last[6] = {false, false, false, false, false, true};
    EXPECT_FALSE(SunspotRangeOf(none).has_value());
    EXPECT_EQ(SunspotRangeOf(third), R20to70);
    EXPECT_EQ(SunspotRangeOf(last), R153to165);
}

}  // namespace
