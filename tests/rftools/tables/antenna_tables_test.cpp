// The antenna and noise tables: heads and chosen rows as the tables give
// them, and the figures against the textbook: noise temperature, aperture
// gain, the uniform circular aperture's beamwidth and null, and the
// reference pattern's main lobe.
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

std::vector<std::string> Head(const TableText& t, std::size_t n)
{
    const std::vector<std::string> lines = tablestest::Lines(t.text);
    return {lines.begin(), lines.begin() + std::min(n, lines.size())};
}

bool HasLine(const TableText& t, const std::string& line)
{
    return t.text.find("\n" + line + "\n") != std::string::npos;
}

// Reviewed by hand: T = 290 (10^(F/10) - 1): 1 dB is 75.09 K, 3 dB 288.63 K;
// 31 rows from 0.00 to 3.00.
TEST(NoiseFigureTable, Golden)
{
    const TableText t = NoiseFigureTable(tablestest::kHeading);
    EXPECT_EQ(Head(t, 8), (std::vector<std::string>{"Noise Figures (290K)", "Orbiscope Test Bench~", " ", " ",
                                                    "Noise Figure (dB)\tNoise Temp. (K)~", " ", "0.00\t0.00",
                                                    "0.10\t6.75"}));
    EXPECT_TRUE(HasLine(t, "1.00\t75.09"));
    EXPECT_EQ(tablestest::Lines(t.text).back(), "3.00\t288.63");
    EXPECT_EQ(t.lineCount, 6 + 31);
    EXPECT_EQ(t.caption, "Noise Figures");
    EXPECT_EQ(t.tabs.unit, TableTabs::Unit::Pixels);
}

// Reviewed by hand: 28 apertures; at 12 GHz (lambda 24.98 mm) a 1 m dish
// gives 10 log10(0.55 (pi / 0.02498)^2) = 39.39 dBi and 41.53 at 90 %.
TEST(AntennaGainTable, Golden)
{
    const TableText t = AntennaGainTable(Frequency("12"), tablestest::kHeading);
    EXPECT_EQ(Head(t, 9), (std::vector<std::string>{
                              "Antenna Gain at 12.00 GHz", "Orbiscope Test Bench~", " ", " ",
                              "Columns show antenna gain (dBi) at various efficiencies", " ",
                              "Aperture (m)\t55%\t60%\t65%\t70%\t75%\t80%\t85%\t90%~", " ",
                              "0.25\t27.35\t27.73\t28.08\t28.40\t28.70\t28.98\t29.24\t29.49"}));
    EXPECT_TRUE(HasLine(t, "1.00\t39.39\t39.77\t40.12\t40.44\t40.74\t41.02\t41.28\t41.53"));
    EXPECT_TRUE(HasLine(t, "2.20\t46.24\t46.62\t46.97\t47.29\t47.59\t47.87\t48.13\t48.38"));
    EXPECT_EQ(tablestest::Lines(t.text).back(), "20.00\t65.41\t65.79\t66.14\t66.46\t66.76\t67.04\t67.30\t67.55");
    EXPECT_EQ(t.lineCount, 8 + 28);
    EXPECT_EQ(t.caption, "Gain (12.00 GHz)");
    EXPECT_EQ(t.tabs.positions, (std::vector<int>{21, 28, 35, 42, 49, 56, 63, 70}));
}

// Reviewed by hand: 36 apertures; the uniform 1 m column at 12 GHz is
// 1.02 lambda / D = 1.46 degrees, the textbook 58.9 lambda / D less 1 %.
TEST(BeamwidthTable, Golden)
{
    const TableText t = BeamwidthTable(Frequency("12"), tablestest::kHeading);
    EXPECT_EQ(Head(t, 9), (std::vector<std::string>{
                              "-3dB Beamwidths 12.00 GHz", "Orbiscope Test Bench~", " ", " ",
                              "-3dB beamwidths for various illumination tapers (degrees)", " ",
                              "Aperture (m)\tUniform\tCosine\tCosine^2\tPedestal\tTaylor~", " ",
                              "0.25\t5.84\t7.27\t8.42\t6.64\t7.50"}));
    EXPECT_TRUE(HasLine(t, "1.00\t1.46\t1.82\t2.10\t1.66\t1.88"));
    EXPECT_TRUE(HasLine(t, "2.40\t0.61\t0.76\t0.88\t0.69\t0.78"));
    EXPECT_FALSE(HasLine(t, "2.20\t0.66\t0.83\t0.96\t0.75\t0.85")) << "2.2 m belongs to the gain table alone";
    EXPECT_EQ(tablestest::Lines(t.text).back(), "30.00\t0.05\t0.06\t0.07\t0.06\t0.06");
    EXPECT_EQ(t.lineCount, 8 + 36);
    EXPECT_EQ(t.caption, "Beamwidths -3dB (12.00 GHz)");
}

graphs::BeamRecord Beam(const char* gigahertz, const char* metres)
{
    graphs::BeamRecord r{};
    PutText(r.frequency, gigahertz);
    PutText(r.aperture, metres);
    return r;
}

// Reviewed by hand.  A uniformly lit circular aperture has its half-power
// width at 58.9 lambda / D degrees (1.47 for 1 m at 12 GHz), its first null
// at 1.22 lambda / D radians (1.75) and its first side lobe at -17.6 dB; a
// line source its half-power width at 50.8 lambda / D (1.27).
TEST(IlluminationTable, Golden)
{
    const TableText t = IlluminationTable(Beam("12", "1"), tablestest::kHeading);
    const std::vector<std::string> expected = {
        "Illumination & Beamwidth Data", "Orbiscope Test Bench~", " ", "1.00 Metre Antenna at 12.00 GHz~", " ",
        "Illumination\t-3dB Beamwidth\tSide Lobe Amp.\tFirst Null~", " ",
        "Uniform\t1.46 degrees\t-17.6 dB\t1.75 degrees", "Cosine\t1.82 degrees\t-24.6 dB\t2.33 degrees",
        "Cosine squared\t2.10 degrees\t-30.6 dB\t2.91 degrees", "Pedestal\t1.66 degrees\t-26.5 dB\t2.16 degrees",
        "Taylor\t1.88 degrees\t-40.0 dB\t-", " ", " ",
        "Beamwidths at Various -dB Levels with Uniform Illumination~", " ",
        "Circular Apertures\tRectangular Apertures~", " ",
        " -3dB  = 1.47 degrees\t -3dB  = 1.27 degrees", " -6dB  = 2.02 degrees\t -6dB  = 1.73 degrees",
        "-10dB  = 2.49 degrees\t-10dB  = 2.11 degrees", "-12dB  = 2.66 degrees\t-12dB  = 2.25 degrees",
        "-20dB  = 3.12 degrees\t-20dB  = 2.60 degrees",
    };
    EXPECT_EQ(tablestest::Lines(t.text), expected);
    EXPECT_EQ(t.caption, "Illumination (1.00m,12.00GHz)");
}

// The half-power widths against the textbook constants at other sizes.
TEST(IlluminationTable, HalfPowerWidthsOfTheTextbook)
{
    constexpr double kCircularLambdaOverD = 58.9, kLineLambdaOverD = 50.8;
    for (const char* metres : {"1.8", "3.7", "9"}) {
        const double lambdaOverD = 0.299792458 / 4.0 / std::atof(metres);
        const std::string levels = tablestest::Lines(IlluminationTable(Beam("4", metres), {}).text)[18];
        double circular = 0, line = 0;
        ASSERT_EQ(std::sscanf(levels.c_str(), " -3dB  = %lf degrees\t -3dB  = %lf", &circular, &line), 2) << levels;
        EXPECT_NEAR(circular, kCircularLambdaOverD * lambdaOverD, 0.01) << metres;
        EXPECT_NEAR(line, kLineLambdaOverD * lambdaOverD, 0.01) << metres;
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

// Reviewed by hand: Gmax of 1.2 m at 65 % and 12 GHz is 41.70 dBi; the
// first row lies on the boresight; a limit of 1 gives 20 rows, the 1e-12
// start carried by the additions puts a 21st just above 1.
TEST(OffAxisGainTable, Golden)
{
    const TableText t = OffAxisGainTable(Template("1", true, false), tablestest::kHeading);
    const std::vector<std::string> lines = tablestest::Lines(t.text);
    const std::vector<std::string> expected = {
        "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8", "Orbiscope Test Bench~", " ", " ",
        "Antenna Aperture = 1.20 metres", "Efficiency = 65.00 %", "Frequency = 12.000000 GHz", " ", " ",
        "Key to Abbreviations:~", "Angle:\tDisplacment angle from boresight (degrees)", "Gain:\tOff axis gain (dB)",
        "Loss:\tReduction in gain relative to boresight maximum (dB)", " ", " ", "Angle(deg)\tGain(dB)\tLoss(dB)~",
        " ", "0.00\t41.70\t0.00", "0.05\t41.69\t0.01", "0.10\t41.65\t0.06",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 20), expected);
    EXPECT_EQ(lines.back(), "0.95\t36.50\t5.21");
    EXPECT_EQ(lines.size(), 17u + 20u);
    EXPECT_EQ(t.caption, "Off Axis Antenna Gain");
}

// Main lobe of the reference patterns: Gmax - 2.5e-3 (D phi / lambda)^2.
TEST(OffAxisGainTable, MainLobeOfTheReferencePattern)
{
    const double dOverLambda = 1.2 / (0.299792458 / 12.0);
    for (bool bo1213 : {false, true}) {
        const std::vector<std::string> lines = tablestest::Lines(OffAxisGainTable(Template("0.8", true, bo1213), {}).text);
        for (const char* angle : {"0.25", "0.50", "0.70"}) {
            const auto row = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
                return l.rfind(std::string(angle) + "\t", 0) == 0;
            });
            ASSERT_NE(row, lines.end()) << angle;
            const double phi = std::atof(angle), loss = std::atof(row->c_str() + row->rfind('\t') + 1);
            EXPECT_NEAR(loss, 2.5e-3 * std::pow(dOverLambda * phi, 2), 0.006) << angle << (bo1213 ? " BO.1213" : "");
        }
    }
}

struct TitleCase {
    bool coPolar, bo1213;
    const char* title;
};
const TitleCase kTitles[] = {
    {true, true, "Antenna Gain Template (Co-Polar) - BO.1213"},
    {false, true, "Antenna Gain Template (Cross-Polar) - BO.1213"},
    {true, false, "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8"},
    {false, false, "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8"},
};

TEST(OffAxisGainTable, TitlesAndLength)
{
    for (const TitleCase& c : kTitles)
        EXPECT_EQ(tablestest::Lines(OffAxisGainTable(Template("1", c.coPolar, c.bo1213), {}).text)[0], c.title);
    const std::vector<std::string> widest = tablestest::Lines(OffAxisGainTable(Template("26.3", true, true), {}).text);
    EXPECT_EQ(widest.size(), 17u + 526u);
    EXPECT_EQ(widest.back().substr(0, 6), "26.25\t");
}

}  // namespace
