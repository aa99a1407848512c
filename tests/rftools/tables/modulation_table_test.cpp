// The modulation comparison table: its report, and the Eb/No of the rows
// against the textbook error probabilities.
#include <gtest/gtest.h>

#include <cmath>

#include "rftools/tables/modulation_table.h"
#include "tables_support.h"

namespace {

using namespace orbiscope::tables;

TableText Table(const char* log10Ber)
{
    BerRecord r{};
    PutText(r.log10Ber, log10Ber);
    return ModulationTable(r, tablestest::kHeading);
}

// golden/modulation_1e-5.txt, reviewed: fourteen rows in three groups; 9.59
// dB for BPSK at 1e-5 is the textbook figure, QPSK per bit equals BPSK, and
// the efficiencies are log2 M.
TEST(ModulationTable, Golden)
{
    const TableText t = Table("-5");
    EXPECT_EQ(t.text, tablestest::Golden("modulation_1e-5.txt"));
    EXPECT_EQ(t.caption, "Digital Modulation (Log(BER) = -5)");
    EXPECT_EQ(t.tabs.positions, (std::vector<int>{20, 40}));
}

// Q(x) of the standard normal distribution.
double Q(double x) { return 0.5 * std::erfc(x / std::sqrt(2.0)); }

struct RateCase {
    const char* name;
    const char* row;
    double (*bitErrorRate)(double ebNo);
};
const RateCase kRates[] = {
    {"BPSK: Q(sqrt(2 Eb/No))", "BPSK", [](double e) { return Q(std::sqrt(2 * e)); }},
    {"8-PSK: 2 Q(sqrt(6 Eb/No) sin(pi/8)) / 3",
     "8-PSK", [](double e) { return 2 * Q(std::sqrt(6 * e) * std::sin(3.14159265358979 / 8)) / 3; }},
    {"16-QAM: symbol errors 1 - (1 - p)^2, p = 2 (1 - 1/4) Q(sqrt(12 Eb/No / 15)), over 4 bits",
     "16-QAM", [](double e) {
         const double p = 2 * (1 - 0.25) * Q(std::sqrt(3.0 * 4 * e / 15));
         return (1 - (1 - p) * (1 - p)) / 4;
     }},
};

// The printed Eb/No brings the textbook error rate to the target; 0.005 dB
// either way moves these curves by under 2 % of the rate.
TEST(ModulationTable, EbNoReachesTheTargetRate)
{
    for (const char* target : {"-5", "-9"}) {
        const TableText t = Table(target);
        for (const RateCase& c : kRates) {
            const double ebNoDb = tablestest::RowNumbers(t, c.row, 1).at(0);
            const double rate = c.bitErrorRate(std::pow(10.0, ebNoDb / 10));
            EXPECT_NEAR(std::log10(rate), std::atof(target), 0.01) << c.name << " at " << target;
        }
    }
    // The search's ends: out of reach below 40 dB, and met at 0 dB already.
    EXPECT_EQ(tablestest::RowNumbers(Table("-15"), "256-PSK", 1).at(0), 40.0);
    EXPECT_EQ(tablestest::RowNumbers(Table("-0.1"), "BPSK", 1).at(0), 0.0);
}

}  // namespace
