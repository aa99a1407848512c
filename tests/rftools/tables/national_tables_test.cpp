// The national look-angles table: the whole report of a small country, and
// its rows against the textbook geometry.
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

// Record 0 names the country; coordinates in D.MM, as country files hold them.
const std::vector<TownRecord> kTestland = {
    Town("Testland", 0, 0),
    Town("Leeds", 53.48f, -1.33f),        // 53 48' N, 1 33' W
    Town("Wellington", -41.17f, 174.47f),  // beyond the satellite's horizon
    Town("Quito", -0.13f, -78.30f),        // beyond it too, on the equator
};

// Reviewed by hand: D.MM read as degrees and minutes (53.48 is 53.80N);
// polarization offset relative to the -10 degree cant; the polar and apex
// elevations of towns that cannot see the satellite are printed as well.
TEST(NationalLookAngles, Golden)
{
    tablestest::FixedDeclinationDate date;
    const TableText t = NationalLookAngles(Satellite("28.2E", "-10"), kTestland, tablestest::kHeading);
    const std::vector<std::string> expected = {
        "Look Angle Table: Testland", "Orbiscope Test Bench~", "Thursday 1 January 2026", " ", " ",
        "Satellite longitude\t28.2E degrees", "Beam tilt angle\t-10 degrees", " ", " ", "Key to Abbreviations:~",
        "Lat:\tSite latitude (degrees)", "Long:\tSite longitude (degrees)",
        "AZm:\tMagnetic azimuth or compass bearing (degrees)", "AZ:\tTrue azimuth (degrees)",
        "EL:\tElevation (degrees)", "ELp:\tPolar elevation (degrees)", "ELa:\tApex elevation (degrees)",
        "PO:\tPolarization offset (degrees)", " ", " ", "Town/City\tLat\tLong\tAZm\tAZ\tEL\tELp\tELa\tPO~", " ",
        "Leeds\t53.80N\t1.55W\t144.30\t144.69\t22.86\t35.55\t28.57\t-10.14",
        "Wellington\t41.28S\t174.78E\tEL<0\tEL<0\tEL<0\t48.03\t42.29\tEL<0",
        "Quito\t0.22S\t78.50W\tEL<0\tEL<0\tEL<0\t89.78\t89.74\tEL<0",
    };
    EXPECT_EQ(tablestest::Lines(t.text), expected);
    EXPECT_EQ(t.caption, "28.2E Look Angles : Testland");
    EXPECT_EQ(t.tabs.positions, (std::vector<int>{21, 30, 39, 48, 57, 66, 75, 84}));
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

// Elevation and azimuth against the spherical-triangle formulas; refraction
// lifts the table's elevations by a few hundredths of a degree.
TEST(NationalLookAngles, RowsMatchTheTextbookGeometry)
{
    for (const TownCase& c : kTowns) {
        const TableText t =
            NationalLookAngles(Satellite("13.0E", "0"), std::vector{Town("Land", 0, 0), Town(c.name, c.latitudeDMM, c.longitudeDMM)}, {});
        const std::string row = tablestest::Lines(t.text).back();
        char latitude[16], longitude[16];
        double magnetic = 0, azimuth = 0, elevation = 0;
        ASSERT_EQ(std::sscanf(row.c_str(), "%*[^\t]\t%15[^\t]\t%15[^\t]\t%lf\t%lf\t%lf", latitude, longitude, &magnetic,
                              &azimuth, &elevation),
                  5)
            << row;
        const tablestest::TextbookLook look = tablestest::TextbookLookAngles(c.latitude, c.longitude, 13.0);
        EXPECT_NEAR(azimuth, look.azimuth, 0.006) << c.name;
        EXPECT_GE(elevation, look.elevation - 0.006) << c.name;
        EXPECT_LE(elevation, look.elevation + tablestest::kRefractionBoundDeg) << c.name;
        EXPECT_NEAR(ParseLatLon(latitude), c.latitude, 0.005) << c.name;
        EXPECT_NEAR(ParseLatLon(longitude), c.longitude, 0.005) << c.name;
    }
}

TEST(NationalLookAngles, CountryWithoutTowns)
{
    const TableText t = NationalLookAngles(Satellite("28.2E", "0"), std::vector{Town("Emptyland", 0, 0)}, {});
    EXPECT_EQ(tablestest::Lines(t.text).back(), " ");
    EXPECT_EQ(t.caption, "28.2E Look Angles : Emptyland");
}

}  // namespace

namespace {

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

// The columns of a town's row after its name, latitude and longitude.
std::vector<double> Numbers(const TableText& t, const std::string& town)
{
    for (const std::string& line : tablestest::Lines(t.text)) {
        if (line.rfind(town + "\t", 0) != 0) continue;
        std::vector<double> v;
        std::size_t at = line.find('\t', line.find('\t', line.find('\t') + 1) + 1);
        while (at != std::string::npos) {
            v.push_back(std::atof(line.c_str() + at + 1));
            at = line.find('\t', at + 1);
        }
        return v;
    }
    return {};
}

// Reviewed by hand: seen from behind the dish at Leeds, Beta (19.2E) lies
// clockwise of Alpha (28.2E), to the right (Ah < 0) and higher (Av > 0);
// its feed goes left and down: Dh = -0.72 tan(-9.26/1.1) = 0.107 m.  From
// Cape Town, looking north, Beta lies to the left.  Wellington sees neither.
TEST(DualFeedTable, Golden)
{
    const std::vector<TownRecord> towns = {Town("Testland", 0, 0), Town("Leeds", 53.48f, -1.33f),
                                           Town("Wellington", -41.17f, 174.47f), Town("Cape Town", -33.55f, 18.25f),
                                           Town("Kano", 12.0f, 23.42f)};
    const TableText t = DualFeedTable(DualFeed("28.2E", "19.2E"), towns, tablestest::kHeading);
    const std::vector<std::string> expected = {
        "Dual Feed Table: Testland", "Orbiscope Test Bench~", "Thursday 1 January 2026", " ", " ",
        "Primary satellite name       \tAlpha", "Secondary satellite name     \tBeta",
        "Primary satellite longitude  \t28.2E degrees", "Secondary satellite longitude\t19.2E degrees",
        "Antenna aperture             \t1.2 metres", "Antenna f / D ratio          \t0.6",
        "Beamfactor                   \t1.1", " ", " ", "Angular Separation Notes:~",
        "1) Viewpoint is behind antenna looking toward boresight",
        "2) Negative values show secondary satellite is to the right, or below, boresight", " ",
        "Feed Spacing Notes:~", "1) Viewpoint is looking directly into antenna face",
        "2) Negative values indicate mounting to the left, or below, focal point", " ", "Key to Abbreviations:~",
        "Lat:\tSite latitude (degrees)", "Long:\tSite longitude (degrees)",
        "AZ:\tTrue azimuth [boresight - primary satellite] (degrees)",
        "EL:\tElevation [boresight - primary satellite] (degrees)",
        "Ah:\tAngular horizontal satellite separation (degrees)",
        "Av:\tAngular vertical satellite separation (degrees)",
        "Dh:\tFeed mounting distance [horizontal component] (metres)",
        "Dv:\tFeed mounting distance [vertical component] (metres)", " ", " ",
        "Town/City\tLat\tLong\tAZ\tEL\tAh\tAv\tDh\tDv~", " ",
        "Leeds\t53.80N\t1.55W\t144.69\t22.86\t-9.26\t2.85\t0.107\t-0.033",
        "Wellington\t41.28S\t174.78E\t45.0\t-1.0\tvoid\tvoid\tvoid\tvoid",
        "Cape Town\t33.92S\t18.42E\t17.17\t49.20\t10.14\t1.37\t-0.117\t-0.016",
        "Kano\t12.00N\t23.70E\t159.27\t74.95\t-10.55\t-0.00\t0.122\t0.000", " ",
        "Averages\t\t\t\t\t-3.2\t1.41\t0.037\t-0.016",
    };
    EXPECT_EQ(tablestest::Lines(t.text), expected);
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

// Ah and Av make up the whole separation of the two look directions, and
// the feed offsets follow from them: D = -F tan(A / beamfactor).
TEST(DualFeedTable, SeparationMatchesTheStraightLines)
{
    constexpr double kTolDeg = 0.02;  // rounding to two decimals and refraction of the two elevations
    for (const TownCase& c : kTowns) {
        const TableText t = DualFeedTable(DualFeed("28.2E", "19.2E"),
                                          std::vector{Town("Land", 0, 0), Town(c.name, c.latitudeDMM, c.longitudeDMM)},
                                          {});
        const std::vector<double> v = Numbers(t, c.name);  // AZ EL Ah Av Dh Dv
        ASSERT_EQ(v.size(), 6u) << c.name;
        EXPECT_NEAR(std::hypot(v[2], v[3]), SeparationSeenFrom(c.latitude, c.longitude, 28.2, 19.2), kTolDeg) << c.name;
        const double focalM = 0.6 * 1.2;
        EXPECT_NEAR(v[4], -focalM * std::tan(v[2] / 1.1 * 3.14159265358979 / 180), 0.001) << c.name;
    }
}

// Looking north from the south, a primary just west of north and a
// secondary just east of it: the secondary lies clockwise, to the right,
// though its azimuth is 358 degrees less.
TEST(DualFeedTable, SideAcrossNorth)
{
    const TableText t =
        DualFeedTable(DualFeed("18.0E", "19.0E"), std::vector{Town("Land", 0, 0), Town("Cape Town", -33.55f, 18.25f)}, {});
    const std::vector<double> v = Numbers(t, "Cape Town");
    ASSERT_EQ(v.size(), 6u);
    EXPECT_GT(v[0], 359.0) << "primary azimuth";
    EXPECT_LT(v[2], 0.0) << "Ah";
    EXPECT_GT(v[4], 0.0) << "Dh";
}

TEST(DualFeedTable, NoAveragesWithoutATownThatSeesBoth)
{
    const TableText t =
        DualFeedTable(DualFeed("28.2E", "150.0W"), std::vector{Town("Land", 0, 0), Town("Leeds", 53.48f, -1.33f)}, {});
    EXPECT_EQ(t.text.find("Averages"), std::string::npos);
    EXPECT_NE(t.text.find("\tvoid\tvoid\tvoid\tvoid\n"), std::string::npos);
}

}  // namespace
