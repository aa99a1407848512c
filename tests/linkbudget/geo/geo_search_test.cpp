// Availability searches: single links, joint fades and the split of an
// overall target between the links.
#include "tests/linkbudget/engine/budget_fixtures.h"

#include <gtest/gtest.h>

namespace {

// Rain that deepens as the availability asked for rises: 1.5 dB at 99 %,
// 15 dB at 99.99 %.
double GrowingRain(double availability)
{
    return 1.5 / std::sqrt(100.0 - std::min(availability, 99.99999));
}

double HeavyRain(double) { return 100.0; }

class Search : public ::testing::Test {
protected:
    FixedAtmosphere atmosphere;
    RecordingHost host;
    GeoLinkBudget budget{atmosphere, host};
    GeoLinkInputRecord& r = budget.record;
    void SetUp() override
    {
        FillHandBudget(r);
        r.upClearSky.Set(0);
        r.upItuAuto.Set(1);
        r.dnClearSky.Set(0);
        r.dnItuAuto.Set(1);
        atmosphere.rainAt = GrowingRain;
    }
    void Run() { ASSERT_EQ(budget.Recalculate(), GeoLinkBudget::Outcome::Completed); }
};

TEST_F(Search, SingleLinkBounds)
{
    const struct { double (*rain)(double); const char* target; double up, down; } rows[] = {
        // No rain at all: the link closes up to the top of the range; 19 halvings
        // of 40..99.99999 end 60 / 2^19 = 0.000114 below it, cut to 99.9998.
        {nullptr, "4.5", 99.9998, 99.9998},
        // A requirement no carrier meets: 0.000114 above the bottom, 40.0001.
        {nullptr, "60", 40.0001, 40.0001},
    };
    for (const auto& row : rows) {
        atmosphere.rainAt = row.rain;
        SetText(r.requiredTarget, row.target);
        Run();
        const double eirp = budget.clearSky[kUplinkEirp];
        EXPECT_EQ(budget.FindUplinkAvailability(eirp), row.up) << row.target;
        EXPECT_EQ(budget.FindDownlinkAvailability(eirp), row.down) << row.target;
    }
}

TEST_F(Search, SingleSearchLeavesThePathAsItFoundIt)
{
    Run();
    const PathLossRecord up = budget.upPath;
    const DownlinkPathLossRecord dn = budget.dnPath;
    const double found = budget.FindUplinkAvailability(budget.clearSky[kUplinkEirp]);
    budget.FindDownlinkAvailability(budget.clearSky[kUplinkEirp]);
    EXPECT_GT(found, 99.9);
    EXPECT_LT(found, 99.9999);
    EXPECT_EQ(std::memcmp(&up, &budget.upPath, sizeof up), 0);
    EXPECT_EQ(std::memcmp(&dn, &budget.dnPath, sizeof dn), 0);
    EXPECT_EQ(budget.in.up.availability, 99.9);
    // The search stops where the rain-up margin crosses zero.
    budget.CalcUplinkPath(budget.upPath, found);
    LinkCaseResult c{};
    budget.CalcColumn(c, 0.0, budget.upPath.fadeBeyondUpc, 0.0, budget.upPath.rain, 0.0);
    EXPECT_NEAR(c[kExcessMargin], 0.0, 0.05);
}

TEST_F(Search, SplitStartsFromTheSquareRoot)
{
    SetText(r.upAvailability, "99.5");
    SetText(r.dnAvailability, "AUTO");
    budget.ParseInputs();
    budget.upSite.slantRange = budget.dnSite.slantRange = 38000.0;
    budget.upSite.elevation = budget.dnSite.elevation = 30.0;
    budget.CalcDerived();
    // sqrt(100 x 99.5) = 99.749687..., cut to 4 decimals.
    EXPECT_EQ(budget.in.up.availability, 99.7496);
    EXPECT_EQ(budget.in.dn.availability, 99.7496);
    EXPECT_EQ(budget.overallAvailability, 99.5);
}

TEST_F(Search, SplitWithClearSkyLinks)
{
    const struct { bool upClear, dnClear; double overall, up, dn; } rows[] = {
        {true, true, 100.0, 100.0, 100.0},
        {true, false, 99.5, 100.0, 99.5},
        {false, true, 99.5, 99.5, 100.0},
    };
    for (const auto& row : rows) {
        SetText(r.upAvailability, "99.5");
        SetText(r.dnAvailability, "AUTO");
        r.upClearSky.Set(row.upClear);
        r.dnClearSky.Set(row.dnClear);
        Run();
        EXPECT_FALSE(budget.in.splitAvailability);
        EXPECT_EQ(budget.overallAvailability, row.overall);
        EXPECT_EQ(budget.in.up.availability, row.up);
        EXPECT_EQ(budget.in.dn.availability, row.dn);
    }
    EXPECT_STREQ(budget.texts.down.availability, "N/A");
    EXPECT_STREQ(budget.texts.down.worstDowntime, "N/A");
}

TEST_F(Search, SplitMeetsTheOverallTarget)
{
    SetText(r.upAvailability, "99.5");
    SetText(r.dnAvailability, "AUTO");
    Run();
    const double up = budget.in.up.availability, dn = budget.in.dn.availability;
    EXPECT_NEAR(budget.overallAvailability, 99.5, 1e-9);
    EXPECT_NEAR(0.01 * up * dn, 99.5, 1e-9);
    EXPECT_GT(up, 99.5);
    EXPECT_LT(up, 100.0);
    EXPECT_GT(dn, 99.5);
    EXPECT_LT(dn, 100.0);
    // Both links keep a positive rain margin at their share of the target.
    EXPECT_GT(budget.rainUp[kExcessMargin], 0.0);
    EXPECT_GT(budget.rainDown[kExcessMargin], 0.0);
    EXPECT_EQ(budget.errorCode, 0);
    // HPA power "MIN" parses as 0: the overall target goes up, the downlink reads AUTO.
    EXPECT_STREQ(budget.texts.inputAvailabilityUp, "99.5000");
    EXPECT_STREQ(budget.texts.inputAvailabilityDown, "AUTO");
    EXPECT_EQ(budget.suggestion.rfind("Suggested overall availability setting = ", 0), 0u);
}

TEST_F(Search, SplitOfAnUnreachableTargetStaysWithin100Percent)
{
    atmosphere.rainAt = HeavyRain;
    SetText(r.upAvailability, "99.5");
    SetText(r.dnAvailability, "AUTO");
    Run();
    EXPECT_LE(budget.in.up.availability, 100.0);
    EXPECT_LE(budget.in.dn.availability, 100.0);
    EXPECT_LE(budget.overallAvailability, 100.0);
    EXPECT_EQ(budget.errorCode, kErrNegativeMargin);
}

TEST_F(Search, DualFadeSuggestsTheSquareOfTheJointAvailability)
{
    r.dualFade.Set(1);
    SetText(r.upAvailability, "99.5");
    SetText(r.dnAvailability, "AUTO");
    Run();
    EXPECT_EQ(budget.in.up.availability, budget.in.dn.availability);
    // With a fixed carrier count the EIRP argument does not matter.
    const double joint = budget.FindJointAvailability(0.0);
    char want[96];
    std::snprintf(want, sizeof want, "Suggested overall availability setting = %.4lf%%",
                  0.01 * joint * joint);
    EXPECT_EQ(budget.suggestion, want);
    EXPECT_EQ(budget.in.up.availability, joint);
}

// A fixed carrier count closes the joint fade well above the starting split
// of 99.7496 %: the paths, the rain column and the texts must all belong to
// the availability the search found, not to the split it started from.
TEST_F(Search, DualFadeSplitEndsWithThePathsOfTheAvailabilityFound)
{
    r.dualFade.Set(1);
    SetText(r.upAvailability, "99.5");
    SetText(r.dnAvailability, "AUTO");
    Run();
    const double a = budget.in.up.availability;
    ASSERT_GT(a, 99.9);
    ASSERT_LT(a, 99.99);
    // Annual downtime (100 - A) x 8766 x 0.01 h and the rain of that availability.
    const double downtime = (100.0 - a) * 87.66;
    EXPECT_NEAR(budget.upPath.annualDowntime, downtime, 1e-9);
    EXPECT_NEAR(budget.dnPath.annualDowntime, downtime, 1e-9);
    EXPECT_NEAR(budget.upPath.rain, GrowingRain(a), 1e-9);
    EXPECT_NEAR(budget.dnPath.rain, GrowingRain(a), 1e-9);
    char text[20];
    std::snprintf(text, sizeof text, "%.3lf", std::trunc(downtime * 1000.0) / 1000.0);
    EXPECT_STREQ(budget.texts.up.annualDowntime, text);
    EXPECT_STREQ(budget.texts.down.annualDowntime, text);
    // The joint search stops where the margin of rain on both crosses zero.
    EXPECT_NEAR(budget.rainBoth[kExcessMargin], 0.0, 0.02);
    EXPECT_EQ(budget.errorCode, 0);
}

// The EIRP search tries each EIRP on the ratio it aims at alone; the column
// it leaves must still be the whole column of the EIRP it found, field for
// field, as the report prints it.
TEST_F(Search, AutoColumnIsTheWholeColumnOfItsEirp)
{
    SetText(r.carriersPerTransponder, "AUTO");
    SetText(r.upAvailability, "99.9");
    SetText(r.dnAvailability, "99.9");
    Run();
    const double d1 = budget.upPath.fadeBeyondUpc, d3 = budget.upPath.rain;
    LinkCaseResult searched{}, whole{};
    budget.CalcColumnAuto(searched, d1, 0.0, d3, 0.0, budget.sol.requiredCNo);
    budget.CalcColumn(whole, searched[kUplinkEirp], d1, 0.0, d3, 0.0);
    // The search ends within 2^-19 of its 50 dB span above the C/(No+Io) asked for.
    EXPECT_NEAR(searched[kTotalCNoIo], budget.sol.requiredCNo, 1e-3);
    const int fields[] = {kInputBackoff, kOutputBackoff, kUpCNo,       kDownCNo,     kTotalCNo,    kHpaCImo,
                          kTransponderCImo, kTotalCImo, kUpCAcio,     kDownCAcio,   kTotalCAcio,  kUpCXpio,
                          kDownCXpio,    kTotalCXpio,   kUpCAsio,     kDownCAsio,   kTotalCAsio,  kUpCIo,
                          kDownCIo,      kTotalCIo,     kUpCNoIo,     kDownCNoIo,   kTotalCNoIo,  kUplinkEirp,
                          kSatelliteEirp, kPowerShare,  kCarriersByPower};
    for (int f : fields) EXPECT_EQ(searched[f], whole[f]) << "field " << f;
}

// With a given amplifier every trial of the split search asks for the
// suggestion again; what it ends with is what the budget's final state gives,
// and a second recalculation at the same EIRP (MAX) with a harder target
// gets its own suggestion, as a fresh budget does.
TEST_F(Search, SuggestionOfTheSplitSearchIsTheFinalStates)
{
    SetText(r.carriersPerTransponder, "AUTO");
    SetText(r.upAvailability, "99.5");
    SetText(r.dnAvailability, "AUTO");
    SetText(r.hpaPower, "MAX");
    Run();
    const std::string found = budget.suggestion;
    ASSERT_EQ(found.rfind("Suggested overall availability setting = ", 0), 0u);
    budget.SolveAutoBackoff(0.0);   // MAX: the EIRP is the amplifier's, the suggestion worked out anew
    EXPECT_EQ(budget.suggestion, found);

    SetText(r.requiredTarget, "9");
    Run();
    GeoLinkBudget fresh{atmosphere, host};
    fresh.record = r;
    ASSERT_EQ(fresh.Recalculate(), GeoLinkBudget::Outcome::Completed);
    EXPECT_NE(fresh.suggestion, found);
    EXPECT_EQ(budget.suggestion, fresh.suggestion);
}

TEST(ResultText, CutToItsDigitsButNotByRoundingError)
{
    const struct { double value; int decimals; const char* text; } rows[] = {
        {99.99996, 4, "99.9999"},
        {99.12345, 4, "99.1234"},
        {40.000114, 4, "40.0001"},
        {2.808825302315993, 3, "2.808"},
        {0.0008766, 3, "0.000"},
        // (100 - 99.9) x 8766 x 0.01 h: 8.766 by hand, 8.7659999999995 in binary.
        {(100.0 - 99.9) * 8766.0 * 0.01, 3, "8.766"},
        // An overall target of 99.5 % split at 99.917799 % on the uplink and
        // multiplied back: 99.49999999999999 in binary.
        {0.01 * (100.0 * 99.5 / 99.917799) * 99.917799, 4, "99.5000"},
        // Short of the boundary by a real amount: cut.
        {99.49999999, 4, "99.4999"},
        {8.7659999, 3, "8.765"},
        {-2.999, 3, "-2.999"},
    };
    for (const auto& row : rows) {
        char text[20];
        FormatTruncated(text, row.value, row.decimals);
        EXPECT_STREQ(text, row.text) << row.value;
    }
}

}  // namespace
