// The tables of a country's towns: whole reports of a small country, the
// look angles against the textbook geometry, and the feed spacing against
// the straight lines from a town to the two satellites.
#include <gtest/gtest.h>

#include "rftools/tables/national_tables.h"
#include "tables_support.h"

namespace {

using namespace orbiscope::tables;
using tablestest::Town;

SatPosRecord Satellite(const char* longitude, const char* cant)
{
    SatPosRecord r{};
    PutText(r.satelliteLongitude, longitude);
    PutText(r.polarizationCant, cant);
    return r;
}

// golden/look_angles_testland.txt, reviewed: D.MM read as degrees and
// minutes (Leeds 53.48 is 53.80N); polarization offsets relative to the -10
// degree cant; magnetic azimuths with each town's declination (Cape Town
// -26.6); the polar and apex elevations of towns beyond the satellite's
// horizon printed as well.
TEST(NationalLookAngles, Golden)
{
    tablestest::FixedDeclinationDate date;
    const TableText t = NationalLookAngles(Satellite("28.2E", "-10"), tablestest::Testland(), tablestest::kHeading);
    EXPECT_EQ(t.text, tablestest::Golden("look_angles_testland.txt"));
    EXPECT_EQ(t.caption, "28.2E Look Angles : Testland");
    EXPECT_EQ(t.tabs.positions, (std::vector<int>{21, 30, 39, 48, 57, 66, 75, 84}));
}

// A country beyond the old fixed report of 150000 bytes: 2500 towns with
// names of the full field are all listed, whole.
TEST(NationalLookAngles, LargeCountryIsListedWhole)
{
    std::vector<TownRecord> towns = {Town("Bigland", 0, 0)};
    for (int i = 0; i < 2500; ++i) towns.push_back(Town("TownWithALongName19", 40.0f + float(i % 20), -3.0f));
    const TableText t = NationalLookAngles(Satellite("28.2E", "0"), towns, {});
    EXPECT_GT(t.text.size(), 150000u);
    EXPECT_EQ(t.lineCount, 22 + 2500);
    const std::string last = tablestest::Lines(t.text).back();
    EXPECT_EQ(last.rfind("TownWithALongName19\t59.00N\t3.00W\t", 0), 0u) << last;
    EXPECT_EQ(std::count(last.begin(), last.end(), '\t'), 8) << last;
}

struct TownCase {
    const char* name;
    float latitudeDMM, longitudeDMM;
    double latitude, longitude;  // degrees, from the minutes by hand
};
const TownCase kTowns[] = {
    {"Leeds", 53.48f, -1.33f, 53.8, -1.55},
    {"Madrid", 40.25f, -3.42f, 40.0 + 25 / 60.0, -(3 + 42 / 60.0)},
    {"Cape Town", -33.55f, 18.25f, -(33 + 55 / 60.0), 18 + 25 / 60.0},
    {"Tromso", 69.39f, 18.57f, 69.65, 18.95},
};

TEST(NationalLookAngles, RowsMatchTheTextbookGeometry)
{
    for (const TownCase& c : kTowns) {
        const std::vector<TownRecord> towns = {Town("Land", 0, 0), Town(c.name, c.latitudeDMM, c.longitudeDMM)};
        const TableText t = NationalLookAngles(Satellite("13.0E", "0"), towns, {});
        const std::vector<double> v = tablestest::RowNumbers(t, c.name, 3);  // AZm AZ EL ELp ELa PO
        ASSERT_EQ(v.size(), 6u) << c.name;
        const auto look = tablestest::TextbookLookAngles(c.latitude, c.longitude, 13.0);
        EXPECT_NEAR(v[1], look.azimuth, 0.006) << c.name;
        EXPECT_GE(v[2], look.elevation - 0.006) << c.name;
        EXPECT_LE(v[2], look.elevation + tablestest::kRefractionBoundDeg) << c.name;
        // The apex: a satellite on the town's own meridian.
        EXPECT_NEAR(v[4], tablestest::TextbookLookAngles(c.latitude, 0, 0).elevation, 0.006) << c.name;
    }
}

DualTabRecord DualFeed(const char* primary, const char* secondary)
{
    DualTabRecord r{};
    PutText(r.primaryName, "Alpha");
    PutText(r.secondaryName, "Beta");
    PutText(r.primaryLongitude, primary);
    PutText(r.secondaryLongitude, secondary);
    PutText(r.aperture, "1.2");
    PutText(r.fOverD, "0.6");
    PutText(r.beamfactor, "1.1");
    return r;
}

// golden/dual_feed_testland.txt, reviewed: seen from behind the dish at
// Leeds, Beta (19.2E) lies clockwise of Alpha (28.2E): to the right (Ah < 0)
// and higher (Av > 0); its feed goes left and down, Dh = -0.72 tan(-9.26 /
// 1.1) = 0.107 m.  From Cape Town, looking north, Beta lies to the left.
// Towns that see either satellite at or below the horizon show "void" and
// stay out of the averages.
TEST(DualFeedTable, Golden)
{
    const TableText t = DualFeedTable(DualFeed("28.2E", "19.2E"), tablestest::Testland(), tablestest::kHeading);
    EXPECT_EQ(t.text, tablestest::Golden("dual_feed_testland.txt"));
    EXPECT_EQ(t.caption, "Dual Feeds: Testland");
}

// The angle between two geostationary satellites seen from a site, from the
// straight lines to them (Earth-centred vectors, no look angles at all).
double SeparationSeenFrom(double latitudeDeg, double longitudeDeg, double satellite1Deg, double satellite2Deg)
{
    constexpr double kDeg = 3.14159265358979323846 / 180.0;
    const double k = tablestest::kGeoRadiusRatio;
    const double site[3] = {std::cos(latitudeDeg * kDeg) * std::cos(longitudeDeg * kDeg),
                            std::cos(latitudeDeg * kDeg) * std::sin(longitudeDeg * kDeg), std::sin(latitudeDeg * kDeg)};
    double u[2][3];
    for (int s = 0; s < 2; ++s) {
        const double lon = (s == 0 ? satellite1Deg : satellite2Deg) * kDeg;
        const double d[3] = {k * std::cos(lon) - site[0], k * std::sin(lon) - site[1], -site[2]};
        const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        for (int i = 0; i < 3; ++i) u[s][i] = d[i] / n;
    }
    return std::acos(u[0][0] * u[1][0] + u[0][1] * u[1][1] + u[0][2] * u[1][2]) / kDeg;
}

// Ah and Av make up the whole separation of the two look directions, and the
// feed offsets follow from them: D = -F tan(A / beamfactor).
TEST(DualFeedTable, SeparationMatchesTheStraightLines)
{
    constexpr double kTolDeg = 0.02;  // two printed decimals and the refraction of two elevations
    const double focalM = 0.6 * 1.2, beamfactor = 1.1;
    for (const TownCase& c : kTowns) {
        const std::vector<TownRecord> towns = {Town("Land", 0, 0), Town(c.name, c.latitudeDMM, c.longitudeDMM)};
        const TableText t = DualFeedTable(DualFeed("28.2E", "19.2E"), towns, {});
        const std::vector<double> v = tablestest::RowNumbers(t, c.name, 3);  // AZ EL Ah Av Dh Dv
        ASSERT_EQ(v.size(), 6u) << c.name;
        EXPECT_NEAR(std::hypot(v[2], v[3]), SeparationSeenFrom(c.latitude, c.longitude, 28.2, 19.2), kTolDeg) << c.name;
        EXPECT_NEAR(v[4], -focalM * std::tan(v[2] / beamfactor * 3.14159265358979 / 180), 0.001) << c.name;
    }
}

// Looking north from the south at a primary just west of north and a
// secondary just east of it: the secondary lies clockwise, to the right,
// though its azimuth is 358 degrees less.
TEST(DualFeedTable, SideAcrossNorth)
{
    const std::vector<TownRecord> towns = {Town("Land", 0, 0), Town("Cape Town", -33.55f, 18.25f)};
    const std::vector<double> v = tablestest::RowNumbers(DualFeedTable(DualFeed("18.0E", "19.0E"), towns, {}),
                                                         "Cape Town", 3);
    ASSERT_EQ(v.size(), 6u);
    EXPECT_GT(v[0], 359.0) << "primary azimuth";
    EXPECT_LT(v[2], 0.0) << "Ah";
    EXPECT_GT(v[4], 0.0) << "Dh";

    const TableText none = DualFeedTable(DualFeed("28.2E", "150.0W"), towns, {});
    EXPECT_EQ(none.text.find("Averages"), std::string::npos) << "no town sees both";
}

}  // namespace
