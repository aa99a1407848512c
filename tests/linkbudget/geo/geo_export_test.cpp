// The results export reads a budget report: every value after the sections
// that echo the inputs, named by its section, its row and (for rows of more
// than one value) its column.
#include <gtest/gtest.h>

#include "linkbudget/geo/geo_export.h"

namespace {

// A report cut down to one row of each kind the GEO report writes.
constexpr const char* kReport =
    "Link Budget\n"
    "Orbiscope Test Bench~\n"
    "Tuesday, 05 March 2024\n"
    " \n"
    "Service Name\tTrunk\n"
    " \n"
    "Link Input Parameters\tUp\tDown\t\tUnits~\n"
    "Site latitude\t40.00N\t50.00N\t\tdegrees\n"
    "Satellite Input Parameters\tValue\t\t\tUnits~\n"
    "Effective SFD\t-90.00\t\t\tdBW/m2#\n"
    "Carrier/Link Input Parameters\tValue\t\t\tUnits~\n"
    "FEC code rate\t3/4\t\t\t\n"
    " \n"
    "Calculations at Saturation\tValue\t\t\tUnits~\n"
    "Gain 1m^2\t44.37\t\t\tdB/m2\n"
    " \n"
    "General Calculations\tUp\tDown\t\tUnits~\n"
    "Elevation\t30.00\t40.00\t\tdegrees\n"
    "Availability (average year)\tN/A\tN/A\t\t%\n"
    "Totals per Carrier (End-to-End)\tClear\tRain Up\tRain Dn\tUnits~\n"
    "Excess margin\t12.35\t10.50\t9.25\tdB#\n"
    "Carrier EIRP Density Calculations\tClear\tRain\t\tUnits~\n"
    "Satellite beam peak (down)\tN/A\tN/A\t\tdBW/Hz\n"
    "Antenna off axis transmit toward 10.00E\t-40.00\t\t\tdBW/Hz\n"
    "Space Segment Utilization\tValue\t\t\tUnits~\n"
    "Number of carriers (user defined)\t1.00\t\t\t\n"
    "Percentage transponder power used\t3.25\t\t\t%#\n"
    "Max carriers / transponder\t30.77\n"
    "Limited by:\tBandwidth\n";

TEST(GeoResultsExport, EveryResultByItsSectionRowAndColumn)
{
    const std::vector<LabelledValue> expected = {
        {"Calculations at Saturation: Gain 1m^2", "44.37"},
        {"General Calculations: Elevation (Up)", "30.00"},
        {"General Calculations: Elevation (Down)", "40.00"},
        {"General Calculations: Availability (average year) (Up)", "N/A"},
        {"General Calculations: Availability (average year) (Down)", "N/A"},
        {"Totals per Carrier (End-to-End): Excess margin (Clear)", "12.35"},
        {"Totals per Carrier (End-to-End): Excess margin (Rain Up)", "10.50"},
        {"Totals per Carrier (End-to-End): Excess margin (Rain Dn)", "9.25"},
        {"Carrier EIRP Density Calculations: Satellite beam peak (down) (Clear)", "N/A"},
        {"Carrier EIRP Density Calculations: Satellite beam peak (down) (Rain)", "N/A"},
        {"Carrier EIRP Density Calculations: Antenna off axis transmit toward 10.00E", "-40.00"},
        {"Space Segment Utilization: Number of carriers (user defined)", "1.00"},
        {"Space Segment Utilization: Percentage transponder power used", "3.25"},
        {"Space Segment Utilization: Max carriers / transponder", "30.77"},
        {"Space Segment Utilization: Limited by:", "Bandwidth"},
    };
    const std::vector<LabelledValue> got = ReportResults(kReport, 1000);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].label, expected[i].label) << i;
        EXPECT_EQ(got[i].value, expected[i].value) << i;
    }
}

// Only the report's first lines count, as the window's line count says.
TEST(GeoResultsExport, StopsAtTheLineCount)
{
    EXPECT_TRUE(ReportResults(kReport, 14).empty());
    EXPECT_EQ(ReportResults(kReport, 15).size(), 1u);
    EXPECT_TRUE(ReportResults("", 0).empty());
}

TEST(GeoResultsExport, OneLabelAndValuePerLine)
{
    EXPECT_EQ(LabelledText({{"A: b (Clear)", "1.00"}, {"Site latitude \xB0", "40.00N"}}),
              "A: b (Clear)\t1.00\nSite latitude \xB0\t40.00N\n");
}

}  // namespace
