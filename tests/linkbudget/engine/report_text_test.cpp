// The rows of the budget reports' tables against the report's own line
// formats, for the three value columns of the bent-pipe report and the two
// of the isolated reports.
#include <gtest/gtest.h>

#include <string>

#include "linkbudget/engine/report_text.h"

namespace {

using lbreport::ReportTable;

struct RowCase {
    const char* name;
    int columns;
    void (*write)(const ReportTable&);
    const char* line;  // as the report's printf format writes it
};

const RowCase kRows[] = {
    {"three-column heading", 3, [](const ReportTable& t) { t.Heading("Uplink Calculation", {"Clear", "Rain Up", "Rain Dn"}); },
     "Uplink Calculation\tClear\tRain Up\tRain Dn\tUnits~"},
    {"dual-fade heading", 3, [](const ReportTable& t) { t.Heading("Uplink Calculation", {"Clear", "Rain"}); },
     "Uplink Calculation\tClear\tRain\t\tUnits~"},
    {"one value of three", 3, [](const ReportTable& t) { t.Numbers("Effective SFD", {-91.5}, "dBW/m2#"); },
     "Effective SFD\t-91.50\t\t\tdBW/m2#"},
    {"texts up and down", 3, [](const ReportTable& t) { t.Texts("Frequency", {"14", "12"}, "GHz"); },
     "Frequency\t14\t12\t\tGHz"},
    {"only the downlink", 3, [](const ReportTable& t) { t.Texts("LNB noise figure or temp (+ prefix)", {"", "+50"}, "dB or K"); },
     "LNB noise figure or temp (+ prefix)\t\t+50\t\tdB or K"},
    {"no unit", 3, [](const ReportTable& t) { t.Texts("Modulation", {"1 bit/symbol"}, ""); },
     "Modulation\t1 bit/symbol\t\t\t"},
    {"isolated heading", 2, [](const ReportTable& t) { t.Heading("Link Input Parameters", {"Value"}); },
     "Link Input Parameters\tValue\t\tUnits~"},
    {"isolated clear and rain", 2, [](const ReportTable& t) { t.Numbers("C/No (thermal)", {88.2211, 85.9}, "dB-Hz"); },
     "C/No (thermal)\t88.22\t85.90\tdB-Hz"},
    {"four decimals", 2, [](const ReportTable& t) { t.Numbers("Symbol rate", {7.0}, "MBaud", 4); },
     "Symbol rate\t7.0000\t\tMBaud"},
};

TEST(ReportTable, RowsAsTheFormatsWriteThem)
{
    for (const RowCase& c : kRows) {
        SCOPED_TRACE(c.name);
        std::string text;
        std::int32_t lines = 0;
        ReportWriter line(text, lines);
        c.write(ReportTable(line, c.columns));
        EXPECT_EQ(text, std::string(c.line) + "\n");
        EXPECT_EQ(lines, 1);
    }
}

struct CarrierRecord {
    char modulationOrder[13] = "8", requiredTarget[13] = "6.5", rate[13] = "2.048", overhead[13] = "0",
         fecRate[13] = "3/4", spreadingGain[13] = "0", rollOff[13] = "1.2", carrierSpacing[13] = "1.4",
         allocationStep[13] = "0", implementationLoss[13] = "0.5", systemMargin[13] = "1";
};
struct CarrierInputs {
    int modulation = 1;
    bool targetEbNo = false, infoRateGiven = false;
};

// The carrier inputs of the isolated report: an 8-PSK carrier at 2.048 Mbaud
// with an Es/No target.
TEST(ReportSections, CarrierInputsAsTyped)
{
    std::string text;
    std::int32_t lines = 0;
    ReportWriter line(text, lines);
    lbreport::WriteCarrierInputs(ReportTable(line, 2), CarrierRecord{}, CarrierInputs{}, "Implementation loss");
    EXPECT_EQ(text,
              "Carrier/Link Input Parameters\tValue\t\tUnits~\n"
              "Modulation\t8-PSK\t\t\n"
              "Required Es/No\t6.5\t\tdB\n"
              "Symbol rate\t2.048\t\tMbaud\n"
              "Information rate overhead\t0\t\t%\n"
              "FEC code rate\t3/4\t\t\n"
              "Spreading gain\t0\t\tdB\n"
              "(1 + Roll off factor)\t1.2\t\t\n"
              "Carrier spacing factor\t1.4\t\t\n"
              "Bandwidth allocation step size\t0\t\tMHz\n"
              "Implementation loss\t0.5\t\tdB\n"
              "System margin\t1\t\tdB\n");
    EXPECT_EQ(lines, 12);
}

}  // namespace
