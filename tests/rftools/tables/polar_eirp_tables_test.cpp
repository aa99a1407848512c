// The polar mount and EIRP tables: their heads and chosen rows, the rows
// against the textbook geometry and link equation.
#include <gtest/gtest.h>

#include <cmath>

#include "rftools/tables/polar_eirp_tables.h"
#include "tables_support.h"

namespace {

using namespace orbiscope::tables;

// The row of a table that starts with `first`.
std::vector<double> Row(const TableText& t, const std::string& first)
{
    for (const std::string& line : tablestest::Lines(t.text)) {
        if (line.rfind(first + "\t", 0) != 0) continue;
        std::vector<double> v;
        std::size_t at = 0;
        while (at != std::string::npos) {
            v.push_back(std::atof(line.c_str() + at));
            at = line.find('\t', at);
            if (at != std::string::npos) ++at;
        }
        return v;
    }
    return {};
}

// Reviewed by hand: no date line; the columns in the order latitude, polar
// axis, polar elevation, apex declination, apex elevation, offset; the 45
// degree row holds the published mount (offset 6.14, polar elevation 44.31,
// apex elevation 38.17).
TEST(PolarMountTable, GoldenHeadAndRows)
{
    const TableText t = PolarMountTable(tablestest::kHeading);
    const std::vector<std::string> lines = tablestest::Lines(t.text);
    const std::vector<std::string> head(lines.begin(), lines.begin() + 17);
    const std::vector<std::string> expected = {
        "Modified Polar Mount Settings", "Orbiscope Test Bench~", " ", "Key to Abbreviations:~",
        "Lat:\tLatitude (degrees N or S)", "P.Axis:\tPolar axis (degrees)", "P.EL:\tPolar elevation (degrees)",
        "A.Dec:\tApex declination (degrees)", "A.EL:\tApex elevation (degrees)",
        "D.Off:\tDeclination offset (degrees)", " ", "Lat\tP.Axis\tP.EL\tA.Dec\tA.EL\tD.Off~", " ",
        "0.00\t0.00\t90.00\t0.00\t90.00\t0.00", "0.50\t0.51\t89.49\t0.59\t89.41\t0.08",
        "1.00\t1.03\t88.97\t1.18\t88.82\t0.15", "1.50\t1.54\t88.46\t1.77\t88.23\t0.23",
    };
    EXPECT_EQ(head, expected);
    EXPECT_NE(t.text.find("\n45.00\t45.69\t44.31\t51.83\t38.17\t6.14\n"), std::string::npos);
    EXPECT_EQ(lines.back(), "81.00\t81.20\t8.80\t89.70\t0.30\t8.50");
    EXPECT_EQ(lines.size(), 13u + 163u) << "0 to 81 degrees in half degrees";
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
        const std::vector<double> row = Row(t, latitude);
        ASSERT_EQ(row.size(), 6u) << latitude;
        const double apex = tablestest::TextbookLookAngles(row[0], 0.0, 0.0).elevation;
        EXPECT_NEAR(row[4], apex, 0.006) << latitude;
        EXPECT_NEAR(row[3], 90.0 - apex, 0.006) << latitude;
        EXPECT_NEAR(row[1] + row[2], 90.0, 0.011) << latitude;
    }
}

AntSysSmallRecord Link(const char* frequency, const char* noise, const char* bandwidth)
{
    AntSysSmallRecord r{};
    PutText(r.frequency, frequency);
    PutText(r.systemNoise, noise);
    PutText(r.bandwidth, bandwidth);
    return r;
}

// Reviewed by hand: the free-space loss of 40000 km at 12 GHz, 206.07 dB;
// the efficiency line's percent sign; 33 rows from 30 to 62 dBW.
TEST(EirpApertureTable, GoldenHeadAndRows)
{
    const TableText t = EirpApertureTable(Link("12", "150", "36"), tablestest::kHeading);
    const std::vector<std::string> lines = tablestest::Lines(t.text);
    const std::vector<std::string> head(lines.begin(), lines.begin() + 14);
    const std::vector<std::string> expected = {
        "Antenna Apertures (m) at 12.00 GHz", "Orbiscope Test Bench~", " ",
        "Columns show antenna aperture(metres) for clear sky C/N values", "Free space loss = 206.1 dB",
        "Bandwidth = 36.0 MHz", "Antenna efficiency = 65 %", "Total noise temperature = 150 K", " ",
        "EIRP(dBW)\t6dB\t9dB\t12dB\t15dB\t18dB\t21dB~", " ", "30\t3.42\t4.83\t6.82\t9.64\t13.61\t19.23",
        "31\t3.05\t4.30\t6.08\t8.59\t12.13\t17.14", "32\t2.72\t3.84\t5.42\t7.65\t10.81\t15.27",
    };
    EXPECT_EQ(head, expected);
    EXPECT_EQ(lines.back(), "62\t0.09\t0.12\t0.17\t0.24\t0.34\t0.48");
    EXPECT_EQ(lines.size(), 11u + 33u);
    EXPECT_EQ(t.caption, "Ant. Size at 12.00 GHz");
    EXPECT_EQ(t.tabs.positions, (std::vector<int>{16, 21, 26, 31, 36, 41}));
}

struct RangeCase {
    const char* frequency;
    const char *first, *last;
    std::size_t rows;
};
const RangeCase kRanges[] = {
    {"7.99", "20", "45", 26},
    {"8", "30", "62", 33},
    {"4", "20", "45", 26},
};

TEST(EirpApertureTable, EirpRangeByBand)
{
    for (const RangeCase& c : kRanges) {
        const TableText t = EirpApertureTable(Link(c.frequency, "150", "36"), {});
        const std::vector<std::string> lines = tablestest::Lines(t.text);
        EXPECT_EQ(lines.size() - 11, c.rows) << c.frequency;
        EXPECT_EQ(lines[11].substr(0, 2), c.first) << c.frequency;
        EXPECT_EQ(lines.back().substr(0, 2), c.last) << c.frequency;
    }
}

// Free-space loss 20 log10(4 pi d / lambda): 196.5 dB at 4 GHz, 206.1 at 12.
TEST(EirpApertureTable, FreeSpaceLoss)
{
    EXPECT_NEAR(graphs::FreeSpaceLossDb(40000, 12), 206.07, 0.005);
    EXPECT_NEAR(graphs::FreeSpaceLossDb(40000, 4), 196.53, 0.005);
    EXPECT_NE(EirpApertureTable(Link("4", "150", "36"), {}).text.find("Free space loss = 196.5 dB"),
              std::string::npos);
}

// Each printed diameter closes the link: a dish of that size at 65 % gives
// the column's C/N from the row's EIRP through the textbook link budget
// C/N = EIRP - L + G - 10 log T + 228.6 - 10 log B.
TEST(EirpApertureTable, DiametersCloseTheLink)
{
    const double f = 12, t = 150, b = 36e6;
    const double lambda = 299792458.0 / (f * 1e9);
    const TableText table = EirpApertureTable(Link("12", "150", "36"), {});
    for (const char* eirp : {"30", "41", "55"}) {
        const std::vector<double> row = Row(table, eirp);
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
