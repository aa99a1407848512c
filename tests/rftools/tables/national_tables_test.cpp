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
