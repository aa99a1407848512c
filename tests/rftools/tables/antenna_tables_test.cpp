// The antenna and noise tables: whole reports, and figures against the
// textbook: noise temperature, aperture gain, the uniform circular
// aperture's beamwidth and null, and the reference pattern's main lobe.
#include <gtest/gtest.h>

#include <cmath>

#include "rftools/tables/antenna_tables.h"
#include "tables_support.h"

namespace {

using namespace orbiscope::tables;

FreqRecord Frequency(const char* gigahertz)
{
    FreqRecord r{};
    PutText(r.frequency, gigahertz);
    return r;
}

// golden/noise_figure.txt, reviewed: T = 290 (10^(F/10) - 1), 1 dB is 75.09
// K and 3 dB 288.63; 31 rows from 0.00 to 3.00.
// golden/gain_12GHz.txt: 28 apertures; at 12 GHz (lambda 24.98 mm) a 1 m
// dish gives 10 log10(0.55 (pi / 0.02498)^2) = 39.39 dBi, 41.53 at 90 %.
// golden/beamwidth_12GHz.txt: 36 apertures; 1 m uniform at 12 GHz is 1.02
// lambda / D = 1.46 degrees (the textbook 58.9 lambda / D less 1 %); 2.2 m
// belongs to the gain table alone, 2.4 m to this one.
TEST(AntennaTables, Golden)
{
    const TableText noise = NoiseFigureTable(tablestest::kHeading);
    EXPECT_EQ(noise.text, tablestest::Golden("noise_figure.txt"));
    EXPECT_EQ(noise.caption, "Noise Figures");
    EXPECT_EQ(noise.tabs.unit, TableTabs::Unit::Pixels);
    const TableText gain = AntennaGainTable(Frequency("12"), tablestest::kHeading);
    EXPECT_EQ(gain.text, tablestest::Golden("gain_12GHz.txt"));
    EXPECT_EQ(gain.caption, "Gain (12.00 GHz)");
    EXPECT_EQ(gain.tabs.positions, (std::vector<int>{21, 28, 35, 42, 49, 56, 63, 70}));
    const TableText beam = BeamwidthTable(Frequency("12"), tablestest::kHeading);
    EXPECT_EQ(beam.text, tablestest::Golden("beamwidth_12GHz.txt"));
    EXPECT_EQ(beam.caption, "Beamwidths -3dB (12.00 GHz)");
    EXPECT_EQ(beam.tabs.positions, (std::vector<int>{20, 32, 44, 56, 68}));
}

// Published figures: 1 dB of noise figure is 75.09 K and 3 dB 288.63 K; a
// 1.2 m dish at 65 % has 41.70 dBi at 12 GHz; a uniform circular aperture's
// half-power width is 58.9 lambda / D degrees (1.471 for 1 m at 12 GHz),
// which the uniform taper's 1.02 lambda / D approaches within 1 %.
TEST(AntennaTables, TextbookFigures)
{
    const TableText noise = NoiseFigureTable({});
    EXPECT_EQ(tablestest::RowNumbers(noise, "1.00").at(1), 75.09);
    EXPECT_EQ(tablestest::RowNumbers(noise, "3.00").at(1), 288.63);
    EXPECT_EQ(tablestest::RowNumbers(AntennaGainTable(Frequency("12"), {}), "1.20").at(3), 41.70);
    const double uniform = tablestest::RowNumbers(BeamwidthTable(Frequency("12"), {}), "1.00").at(1);
    EXPECT_NEAR(uniform, 58.9 * 0.299792458 / 12, 0.01 * uniform);
}

graphs::BeamRecord Beam(const char* gigahertz, const char* metres)
{
    graphs::BeamRecord r{};
    PutText(r.frequency, gigahertz);
    PutText(r.aperture, metres);
    return r;
}

// golden/illumination_1m_12GHz.txt, reviewed.  A uniformly lit circular
// aperture has its half-power width at 58.9 lambda / D degrees (1.47 for 1 m
// at 12 GHz), its first null at 1.22 lambda / D radians (1.75) and its first
// side lobe at -17.6 dB; a line source its half-power width at 50.8 lambda /
// D (1.27).  The Taylor taper has no null to give.
TEST(IlluminationTable, Golden)
{
    const TableText t = IlluminationTable(Beam("12", "1"), tablestest::kHeading);
    EXPECT_EQ(t.text, tablestest::Golden("illumination_1m_12GHz.txt"));
    EXPECT_EQ(t.caption, "Illumination (1.00m,12.00GHz)");
    // The half-power widths at other sizes, against those constants.
    for (const char* metres : {"1.8", "3.7", "9"}) {
        const double lambdaOverD = 0.299792458 / 4.0 / std::atof(metres);
        const std::string row = tablestest::Lines(IlluminationTable(Beam("4", metres), {}).text)[18];
        double circular = 0, line = 0;
        ASSERT_EQ(std::sscanf(row.c_str(), " -3dB  = %lf degrees\t -3dB  = %lf", &circular, &line), 2) << row;
        EXPECT_NEAR(circular, 58.9 * lambdaOverD, 0.01) << metres;
        EXPECT_NEAR(line, 50.8 * lambdaOverD, 0.01) << metres;
    }
}

graphs::TemplateRecord Template(const char* limit, bool coPolar, bool bo1213)
{
    graphs::TemplateRecord r{};
    PutText(r.diameter, "1.2");
    PutText(r.efficiency, "65");
    PutText(r.frequency, "12");
    PutText(r.angularLimit, limit);
    (coPolar ? r.coPolar : r.crossPolar).Set(1);
    (bo1213 ? r.bo1213 : r.combined).Set(1);
    return r;
}

// golden/off_axis_1.2m_12GHz.txt, reviewed: Gmax of 1.2 m at 65 % and 12
// GHz is 41.70 dBi; the first row lies on the boresight; a limit of 1 gives
// 20 rows, the 1e-12 start carried by the additions putting a 21st just
// above 1.
TEST(OffAxisGainTable, Golden)
{
    const TableText t = OffAxisGainTable(Template("1", true, false), tablestest::kHeading);
    EXPECT_EQ(t.text, tablestest::Golden("off_axis_1.2m_12GHz.txt"));
    EXPECT_EQ(t.caption, "Off Axis Antenna Gain");
}

// Main lobe of the reference patterns: Gmax - 2.5e-3 (D phi / lambda)^2.
TEST(OffAxisGainTable, MainLobeOfTheReferencePattern)
{
    const double dOverLambda = 1.2 / (0.299792458 / 12.0);
    for (bool bo1213 : {false, true}) {
        const TableText t = OffAxisGainTable(Template("0.8", true, bo1213), {});
        for (const char* angle : {"0.25", "0.50", "0.70"}) {
            const double phi = std::atof(angle), loss = tablestest::RowNumbers(t, angle, 2).at(0);
            EXPECT_NEAR(loss, 2.5e-3 * std::pow(dOverLambda * phi, 2), 0.006) << angle << (bo1213 ? " BO.1213" : "");
        }
    }
}

// The form's widest limit, 26.3 degrees, gives 526 rows, the last at 26.25.
TEST(OffAxisGainTable, WidestLimit)
{
    const std::vector<std::string> rows = tablestest::Lines(OffAxisGainTable(Template("26.3", true, true), {}).text);
    EXPECT_EQ(rows.size(), 17u + 526u);
    EXPECT_EQ(rows.back().substr(0, 6), "26.25\t");
}

}  // namespace
