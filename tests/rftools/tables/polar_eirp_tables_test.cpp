// The polar mount and EIRP tables: whole reports, the mount against the
// textbook geometry, and the apertures against the link equation.
#include <gtest/gtest.h>

#include <cmath>

#include "rftools/tables/polar_eirp_tables.h"
#include "tables_support.h"

namespace {

using namespace orbiscope::tables;

// golden/polar_mount.txt, reviewed: no date line; 163 rows from 0 to 81
// degrees; the columns latitude, polar axis, polar elevation, apex
// declination, apex elevation, offset; the 45 degree row holds the
// published mount (offset 6.14, polar elevation 44.31, apex elevation 38.17).
TEST(PolarMountTable, Golden)
{
    const TableText t = PolarMountTable(tablestest::kHeading);
    EXPECT_EQ(t.text, tablestest::Golden("polar_mount.txt"));
    EXPECT_EQ(t.lineCount, 13 + 163);
    EXPECT_EQ(t.caption, "Polar Mount Angles");
    EXPECT_EQ(t.tabs.positions, (std::vector<int>{12, 24, 36, 48, 60, 72}));
}

// The apex is the arc's highest point, on the site's meridian: its elevation
// is the textbook elevation of a satellite at the site's own longitude, and
// the polar axis and polar elevation are complements.
TEST(PolarMountTable, ApexIsTheSatelliteOnTheMeridian)
{
    const TableText t = PolarMountTable({});
    for (const char* latitude : {"10.00", "30.50", "45.00", "60.00", "75.50"}) {
        const std::vector<double> row = tablestest::RowNumbers(t, latitude);
        ASSERT_EQ(row.size(), 6u) << latitude;
        const double apex = tablestest::TextbookLookAngles(row[0], 0.0, 0.0).elevation;
        EXPECT_NEAR(row[4], apex, 0.006) << latitude;
        EXPECT_NEAR(row[3], 90.0 - apex, 0.006) << latitude;
        EXPECT_NEAR(row[1] + row[2], 90.0, 0.011) << latitude;
    }
}

AntSysSmallRecord Link(const char* frequency)
{
    AntSysSmallRecord r{};
    PutText(r.frequency, frequency);
    PutText(r.systemNoise, "150");
    PutText(r.bandwidth, "36");
    return r;
}

// golden/eirp_aperture_12GHz.txt, reviewed: the free-space loss of 40000 km
// at 12 GHz, 20 log10(4 pi 4e7 / 0.02498) = 206.07 dB; "65 %"; 33 rows from
// 30 to 62 dBW; 3.42 m for 6 dB at 30 dBW.
TEST(EirpApertureTable, Golden)
{
    const TableText t = EirpApertureTable(Link("12"), tablestest::kHeading);
    EXPECT_EQ(t.text, tablestest::Golden("eirp_aperture_12GHz.txt"));
    EXPECT_EQ(t.caption, "Ant. Size at 12.00 GHz");
    EXPECT_EQ(t.tabs.positions, (std::vector<int>{16, 21, 26, 31, 36, 41}));
}

struct RangeCase {
    const char* frequency;
    const char *first, *last;
    std::size_t rows;
    const char* loss;
};
// Free-space loss 20 log10(4 pi d / lambda) over 40000 km: 196.53 dB at
// 4 GHz, 20 log10 2 = 6.02 dB more at 8 (202.55), 0.01 less at 7.99.
const RangeCase kRanges[] = {
    {"7.99", "20", "45", 26, "Free space loss = 202.5 dB"},
    {"8", "30", "62", 33, "Free space loss = 202.6 dB"},
    {"4", "20", "45", 26, "Free space loss = 196.5 dB"},
};

TEST(EirpApertureTable, EirpRangeAndLossByBand)
{
    for (const RangeCase& c : kRanges) {
        const std::vector<std::string> lines = tablestest::Lines(EirpApertureTable(Link(c.frequency), {}).text);
        EXPECT_EQ(lines.size() - 11, c.rows) << c.frequency;
        EXPECT_EQ(lines[11].substr(0, 2), c.first) << c.frequency;
        EXPECT_EQ(lines.back().substr(0, 2), c.last) << c.frequency;
        EXPECT_EQ(lines[4], c.loss) << c.frequency;
    }
}

// Each printed diameter closes the link: a dish of that size at 65 % gives
// the column's C/N from the row's EIRP through the textbook budget
// C/N = EIRP - L + G - 10 log T + 228.6 - 10 log B.
TEST(EirpApertureTable, DiametersCloseTheLink)
{
    const double t = 150, b = 36e6, lambda = 299792458.0 / 12e9;
    const TableText table = EirpApertureTable(Link("12"), {});
    for (const char* eirp : {"30", "41", "55"}) {
        const std::vector<double> row = tablestest::RowNumbers(table, eirp);
        ASSERT_EQ(row.size(), 7u) << eirp;
        for (std::size_t c = 0; c < 6; ++c) {
            const double gain = 10 * std::log10(0.65 * std::pow(3.14159265358979 * row[c + 1] / lambda, 2));
            const double cn = row[0] - 206.0746 + gain - 10 * std::log10(t) + 228.5993 - 10 * std::log10(b);
            // The two printed decimals of a small dish move its gain by up to 20 log10(1 + 0.005/D).
            const double tolDb = 20 * std::log10(1 + 0.005 / row[c + 1]) + 0.001;
            EXPECT_NEAR(cn, kEirpTableCnDb[c], tolDb) << eirp << " dBW, column " << c;
        }
    }
}

}  // namespace
