// The three loss tables over a known atmosphere: the availability ladder,
// the frequency sweep, the national table's rows and the text around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "fake_atmosphere.h"
#include "rftools/losses/loss_tables.h"

namespace {

using namespace orbiscope::losses;

const ReportHeading kHeading{"Orbiscope Test Bench", "Tuesday 5 March 2024"};

struct Written {
    std::string text;
    std::int32_t lines = 0;
    ReportWriter writer{text, lines};
    std::vector<std::string> Lines() const { return losstest::Lines(text); }
};

// Rain only up to p = 5 %, as the real model.
void RainLikeTheModel(losstest::FakeAtmosphere& atm)
{
    atm.rainAt = [](double a) { return 100.0 - a > 5.0 ? 0.0 : 6.64; };
}

// ---- frequency sweep ----------------------------------------------------------

struct SweepCase {
    const char* name;
    double start, end;
    std::size_t rows;
    double first, last;
};

const SweepCase kSweeps[] = {
    {"10 to 20 GHz by 0.01", 10.0, 20.0, 1001, 10.0, 20.0},
    {"10 to 20.5 GHz by 0.1", 10.0, 20.5, 106, 10.0, 20.5},
    {"start equal to end", 12.5, 12.5, 1, 12.5, 12.5},
    {"start 0 is 1e-12", 0.0, 1.0, 101, 1e-12, 1.0},
    // 16.01 - 6.01 comes out as 10.000000000000002: still the fine step
    {"a typed 10 GHz span a few ulps wide", 6.01, 16.01, 1001, 6.01, 16.01},
    {"1 to 55 GHz by 0.1", 1.0, 55.0, 541, 1.0, 55.0},
};

TEST(FrequencySweep, RowsAndSteps)
{
    constexpr double kTolGHz = 1e-9;
    for (const SweepCase& c : kSweeps) {
        const std::vector<double> f = FrequencySweep(c.start, c.end);
        ASSERT_EQ(f.size(), c.rows) << c.name;
        EXPECT_NEAR(f.front(), c.first, 1e-15) << c.name;
        EXPECT_NEAR(f.back(), c.last, kTolGHz) << c.name;
    }
}

TEST(FrequencySweep, EndsWhenTheStepNoLongerMovesIt)
{
    EXPECT_TRUE(FrequencySweep(1e17, 2e17).empty());
}

// ---- national table ------------------------------------------------------------

TownRecord Town(const char* name, float latitudeDMM, float longitudeDMM)
{
    TownRecord t;
    std::memcpy(t.name, name, strnlen(name, sizeof t.name));
    t.latitude = latitudeDMM;
    t.longitude = longitudeDMM;
    return t;
}

NationalLossInputRecord NationalRecord()
{
    NationalLossInputRecord r{};
    PutText(r.satLongitude, "28.2E");
    PutText(r.polarization, "V");
    return r;
}

LossTableInputs NationalInputs()
{
    LossTableInputs in;
    in.satLongitude = 28.2, in.frequencyGHz = 11.7, in.availability = 99.9, in.diameterM = 0.6;
    in.efficiencyPct = 65.0, in.polarization[0] = 'V';
    return in;
}

// Towns in D.MM: London 51.30N 0.07W (51.5, -0.1167 degrees); a town at
// 20.00N 170.00W cannot see 28.2E at all; a name of all 20 bytes.  Total at
// 99.9 %: 0.31 + sqrt((6.64 + 0.53)^2 + 0.42^2) = 7.49.
TEST(NationalLossTable, HeadingAndRows)
{
    losstest::FakeAtmosphere atm;
    const TownRecord towns[] = {
        Town("United Kingdom", 0, 0), Town("London", 51.30f, -0.07f), Town("Honolulu", 20.0f, -170.0f),
        Town("Llanfairpwllgwyngyll", 53.13f, -4.12f),
    };
    Written w;
    const std::string title =
        WriteNationalLossTable(w.writer, kHeading, NationalRecord(), NationalInputs(), towns, atm, false);
    EXPECT_EQ(title, "28.2E National Atmospheric Losses  : United Kingdom");
    const std::vector<std::string> lines = w.Lines();
    ASSERT_EQ(lines.size(), 33u);
    const std::pair<std::size_t, const char*> expected[] = {
        {0, "National Atmospheric Losses Table (ITU-R)"},
        {5, "Country\tUnited Kingdom"},
        {10, "Polarization\tVertical"},
        {21, "R0.01:\tRain Rate exceeded for 0.01% of the average year (mm/hr)"},
        {26, "(1) Ag and Ac capped above 95% availability for Atot inclusion."},
        {29, "Town/City\tLat\tLong\tAlt\tAg\tAc\tAs\tR0.01\tAr\tAtot~"},
        {30, "London\t51.50N\t0.12W\t0.250\t0.31\t0.53\t0.42\t31.500\t6.64\t7.49"},
        {31, "Honolulu\t20.00N\t170.00W\t0.250\tEL<5\tEL<5\tEL<5\tEL<5\tEL<5\tEL<5"},
        {32, "Llanfairpwllgwyngyll\t53.22N\t4.20W\t0.250\t0.31\t0.53\t0.42\t31.500\t6.64\t7.49"},
    };
    for (const auto& [index, line] : expected) EXPECT_EQ(lines[index], line) << index;
    // No model runs for the town that cannot see the satellite.
    EXPECT_EQ(atm.Count("gas"), 2);
    EXPECT_EQ(atm.Count("topo"), 3);
    EXPECT_EQ(atm.Find("rain")->args[6], 0.0);  // the rain-rate map
}

// A country of 2,500 towns writes about 182,000 bytes, more than a report of
// fixed size would hold: every row is there and the last one is whole.
TEST(NationalLossTable, ManyTownsAreWrittenWhole)
{
    losstest::FakeAtmosphere atm;
    std::vector<TownRecord> towns(2501, Town("Llanfairpwllgwyngyll", 53.13f, -4.12f));
    towns.front() = Town("United Kingdom", 0, 0);
    towns.back() = Town("Last town", 51.30f, -0.07f);
    Written w;
    WriteNationalLossTable(w.writer, kHeading, NationalRecord(), NationalInputs(), towns, atm, false);
    const std::vector<std::string> lines = w.Lines();
    ASSERT_EQ(lines.size(), 30u + 2500u);
    EXPECT_GT(w.text.size(), 150000u);
    EXPECT_EQ(lines[30], "Llanfairpwllgwyngyll\t53.22N\t4.20W\t0.250\t0.31\t0.53\t0.42\t31.500\t6.64\t7.49");
    EXPECT_EQ(lines.back(), "Last town\t51.50N\t0.12W\t0.250\t0.31\t0.53\t0.42\t31.500\t6.64\t7.49");
    EXPECT_EQ(atm.Count("gas"), 2500);
}

TEST(NationalLossTable, CountryWithoutTowns)
{
    losstest::FakeAtmosphere atm;
    const TownRecord towns[] = {Town("Vatican City", 0, 0)};
    Written w;
    WriteNationalLossTable(w.writer, kHeading, NationalRecord(), NationalInputs(), towns, atm, false);
    EXPECT_EQ(w.Lines().back(), "Town/City\tLat\tLong\tAlt\tAg\tAc\tAs\tR0.01\tAr\tAtot~");
    EXPECT_TRUE(atm.calls.empty());
}

// ---- availability and frequency tables ------------------------------------------

LossTableInputs SiteInputs()
{
    LossTableInputs in;
    in.latitude = 51.5, in.longitude = -0.12, in.altitudeKm = 0.08, in.satLongitude = 28.2;
    in.frequencyGHz = 11.7, in.availability = 99.9, in.diameterM = 1.2, in.efficiencyPct = 65.0;
    in.tiltRad = 0.3, in.polarization[0] = 'H';
    return in;
}

TEST(AvailabilityLossTable, RowsOfTheLadder)
{
    losstest::FakeAtmosphere atm;
    RainLikeTheModel(atm);
    AvailLossInputRecord r{};
    PutText(r.frequency, "11.7");
    Written w;
    WriteAvailabilityLossTable(w.writer, kHeading, r, SiteInputs(), SiteLook{30.0, 145.0, 38500.0}, atm);
    const std::vector<std::string> lines = w.Lines();
    EXPECT_EQ(lines[0], "Availability v Atmospheric Losses 11.7 GHz (ITU-R Model)");
    const auto heading = std::find(lines.begin(), lines.end(), "Avail\tAg\tAc\tAs\tAr\tAtot\tXPD\tDTime~");
    ASSERT_NE(heading, lines.end());
    const std::vector<std::string> rows(heading + 2, lines.end());
    // 38 rows and a blank after each of the five decades.
    ASSERT_EQ(rows.size(), 43u);
    // 99.999 %: DTime 0.001 x 87.66 = 0.08766 h; XPD with rain.
    EXPECT_EQ(rows.front(), "99.999\t0.31\t0.53\t0.42\t6.64\t7.49\t27.75\t0.09");
    EXPECT_EQ(rows[9], " ");
    // 95 %: p = 5, rain still counts; 90 %: no rain, no XPD, total gas + sqrt(cloud^2 + scint^2).
    EXPECT_EQ(rows[34], "95.000\t0.31\t0.53\t0.42\t6.64\t7.49\t27.75\t438.30");
    EXPECT_EQ(rows[36], "90.000\t0.31\t0.53\t0.42\t0.00\t0.99\t0.00\t876.60");
    EXPECT_EQ(rows[41], "40.000\t0.31\t0.53\t0.42\t0.00\t0.99\t0.00\t5259.60");
    EXPECT_EQ(rows.back(), " ");
    // The model line is the rain rate at 99.99 %.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Model(mm/h)\tITU-R(31.500)"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Elevation\t30.00 degrees"), lines.end());
}

TEST(FrequencyLossTable, OneRowPerFrequency)
{
    losstest::FakeAtmosphere atm;
    FreqLossInputRecord r{};
    PutText(r.availability, "99.9");
    const std::vector<double> sweep = FrequencySweep(0.0, 0.02);
    Written w;
    WriteFrequencyLossTable(w.writer, kHeading, r, SiteInputs(), SiteLook{30.0, 145.0, 38500.0}, sweep, atm);
    const std::vector<std::string> lines = w.Lines();
    EXPECT_EQ(lines[0], "Frequency v Atmospheric Losses");
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()),
              (std::vector<std::string>{"Freq(GHz)\tAg\tAc\tAs\tAr\tAtot\t~", " ", "0.00\t0.31\t0.53\t0.42\t6.64\t7.49",
                                        "0.01\t0.31\t0.53\t0.42\t6.64\t7.49", "0.02\t0.31\t0.53\t0.42\t6.64\t7.49"}));
    EXPECT_EQ(atm.Find("gas")->args[2], 1e-12);
    EXPECT_EQ(atm.Find("gas")->args[5], 99.9);
}

}  // namespace
