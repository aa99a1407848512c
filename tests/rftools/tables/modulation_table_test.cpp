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

// Reviewed by hand: fourteen rows in three groups; 9.59 dB for BPSK at 1e-5
// is the textbook figure, and QPSK per bit equals BPSK.
TEST(ModulationTable, GoldenAtOneInOneHundredThousand)
{
    const TableText t = Table("-5");
    const std::vector<std::string> expected = {
        "Comparison of Digital Modulation Schemes", "Orbiscope Test Bench~", " ", " ", "Log(BER)  = -5", " ",
        "Notes~", "Eb/No values shown do not include channel coding",
        "Bandwidth efficiencies, BW(eff), shown in bits/sec/Hz", " ", " ", "Modulation\tEb/No(dB)\tBW(eff)~", " ",
        "BPSK\t9.59\t1.00", " ",
        "4-PSK\t9.59\t2.00", "8-PSK\t12.97\t3.00", "16-PSK\t17.44\t4.00", "32-PSK\t22.34\t5.00",
        "64-PSK\t27.46\t6.00", "128-PSK\t32.73\t7.00", "256-PSK\t38.10\t8.00", " ",
        "4-QAM\t9.59\t2.00", "16-QAM\t13.43\t4.00", "64-QAM\t17.79\t6.00", "256-QAM\t22.50\t8.00",
        "1024-QAM\t27.47\t10.00", "4096-QAM\t32.62\t12.00", " ",
    };
    EXPECT_EQ(tablestest::Lines(t.text), expected);
    EXPECT_EQ(t.caption, "Digital Modulation (Log(BER) = -5)");
    EXPECT_EQ(t.tabs.positions, (std::vector<int>{20, 40}));
}

// Q(x) of the standard normal distribution.
double Q(double x) { return 0.5 * std::erfc(x / std::sqrt(2.0)); }

// The printed Eb/No brings the textbook error rate to the target within the
// effect of the two printed decimals.
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

TEST(ModulationTable, EbNoReachesTheTargetRate)
{
    for (const char* target : {"-5", "-9"}) {
        const TableText t = Table(target);
        for (const RateCase& c : kRates) {
            double ebNoDb = 0;
            for (const std::string& line : tablestest::Lines(t.text))
                if (line.rfind(std::string(c.row) + "\t", 0) == 0) ebNoDb = std::atof(line.c_str() + line.find('\t'));
            const double rate = c.bitErrorRate(std::pow(10.0, ebNoDb / 10));
            // 0.005 dB either way moves these curves by under 2 % of the rate at 1e-9.
            EXPECT_NEAR(std::log10(rate), std::atof(target), 0.01) << c.name << " at " << target;
        }
    }
}

struct EdgeCase {
    const char* log10Ber;
    const char* row;
    const char* shown;
};
const EdgeCase kEdges[] = {
    {"-15", "256-PSK\t40.00", "out of reach below the search's 40 dB: its last midpoint, 39.9994"},
    {"-0.1", "BPSK\t0.00", "met at 0 dB already: the first midpoint from below, 0.0006"},
};

TEST(ModulationTable, SearchLimits)
{
    for (const EdgeCase& c : kEdges) EXPECT_NE(Table(c.log10Ber).text.find(c.row), std::string::npos) << c.shown;
}

}  // namespace
