// The visible-satellites tables: whole reports for a fixed list, site and
// date, the look angles against the textbook geometry, and the band and
// elevation rules.
#include <gtest/gtest.h>

#include "pointing/alignment/look_angles.h"
#include "rftools/tables/visible_satellites.h"
#include "tables_support.h"

namespace {

using namespace orbiscope::tables;
using tablestest::Satellite;

constexpr std::size_t kC = 3, kKu = 5, kKa = 6;

// Record 0 titles the list and would pass every test if it were listed; the
// last record's texts fill their fields with no terminator.
std::vector<SatelliteRecord> TestList()
{
    return {Satellite("List title", 0.0f, "C,Ku"),  Satellite("Alpha", 28.2f, "C,Ku"),
            Satellite("Beta", -30.0f, "Ku"),         Satellite("Gamma", 120.0f, "C"),
            Satellite("Delta", 60.0f, "Ka"),         Satellite("TwentyCharacterName!", 13.0f, "C,Ku,Ka,X,L,S,P,Q/V?")};
}

RecSiteRecord London(std::string_view minimumElevation)
{
    RecSiteRecord r{};
    PutText(r.siteName, "London");
    PutText(r.siteLatitude, "51.50N");
    PutText(r.siteLongitude, "0.12W");
    PutText(r.minimumElevation, std::string(minimumElevation).c_str());
    return r;
}

// Reviewed by hand: heading and blocks as the table prescribes; magnetic
// azimuth = true azimuth - 1.08 (London's declination on 2026-01-01);
// Gamma (120E) is below London's horizon, Beta carries Ku alone, and the
// unterminated name and band texts end at their 19th character.
TEST(VisibleSatellites, GoldenOneSite)
{
    tablestest::FixedDeclinationDate date;
    RecSiteRecord r = London("5");
    r.bands[kC].Set(1);
    r.bands[kKa].Set(1);
    const auto table = VisibleSatellites(r, TestList(), tablestest::kHeading);
    ASSERT_TRUE(table);
    const std::vector<std::string> expected = {
        "Satellites (C,Ka,Band) > 5 Degrees EL", "Orbiscope Test Bench~", "Thursday 1 January 2026", " ", " ",
        "Notes~", "(1) Geometric listing only (check coverage)",
        "(2) Ground noise may be excessive below 10 degrees elevation",
        "(3) Reference V polarization taken as perpendicular to equator", " ",
        "Site~", "Location\tLondon", "Latitude\t51.50N\tdegrees", "Longitude\t0.12W\tdegrees",
        "Mag. variation\t1.1E\tdegrees", "Polar elevation\t37.84\tdegrees", "Apex elevation\t31.05\tdegrees",
        "Polar axis\t52.16\tdegrees", "Apex declination\t58.95\tdegrees", "Dec. offset\t6.78\tdegrees", " ",
        "Key to Abbreviations (degrees):~", "Long:\tSub satellite longitude",
        "AZm:\tMagnetic azimuth or compass bearing", "AZ:\tTrue azimuth", "EL:\tElevation",
        "Pol:\tPolarization Offset", "Band:\tActive Bands", " ", " ",
        "Name\tLong\tAZm\tAZ\tEL\tPol\tBand~", " ",
        "Alpha\t28.20E\t144.37\t145.45\t25.40\t-20.85\tC,Ku",
        "Delta\t60.00E\t113.13\t114.21\t9.58\t-34.90\tKa",
        "TwentyCharacterName\t13.00E\t162.34\t163.42\t29.80\t-10.32\tC,Ku,Ka,X,L,S,P,Q/V",
    };
    EXPECT_EQ(tablestest::Lines(table->text), expected);
    EXPECT_EQ(table->lineCount, int(expected.size()));
    EXPECT_EQ(table->caption, "Visible Satellites (51.50N,0.12W)");
    EXPECT_EQ(table->tabs.positions, (std::vector<int>{20, 29, 38, 47, 56, 65}));
}

// Reviewed by hand: a satellite is listed only when both sites see it at
// 10 degrees or more; the site-1 location line ends in a tab.
TEST(VisibleSatellites, GoldenTwoSites)
{
    tablestest::FixedDeclinationDate date;
    RecSite2Record r{};
    PutText(r.site1Name, "London");
    PutText(r.site1Latitude, "51.50N");
    PutText(r.site1Longitude, "0.12W");
    PutText(r.site2Name, "Nairobi");
    PutText(r.site2Latitude, "1.28S");
    PutText(r.site2Longitude, "36.82E");
    PutText(r.minimumElevation, "10");
    r.bands[kKu].Set(1);
    const auto table = VisibleSatellites2Sites(r, TestList(), tablestest::kHeading);
    ASSERT_TRUE(table);
    const std::vector<std::string> expected = {
        "Satellites (Ku,Band) > 10 Degrees EL", "Orbiscope Test Bench~", "Thursday 1 January 2026", " ", " ",
        "Notes~", "(1) Geometric listing only (check coverage)",
        "(2) Ground noise may be excessive below about 10 degrees elevation",
        "(3) Reference V polarization taken as perpendicular to equator", " ",
        "Site 1~", "Location\tLondon\t", "Latitude\t51.50N\tdegrees", "Longitude\t0.12W\tdegrees",
        "Mag. variation\t1.1E\tdegrees", " ",
        "Site 2~", "Location\tNairobi", "Latitude\t1.28S\tdegrees", "Longitude\t36.82E\tdegrees",
        "Mag. variation\t0.3E\tdegrees", " ",
        "Key to Abbreviations (degrees):~", "Long:\tSub satellite longitude", "AZm:\tSite 1, magnetic azimuth",
        "AZ:\tSite 1, true azimuth", "EL:\tSite 1, elevation", "Pol:\tSite 1, polarization offset",
        "AZm2:\tSite 2, magnetic azimuth", "AZ2:\tSite 2, true azimuth", "EL2:\tSite 2, elevation",
        "Pol2:\tSite 2, polarization offset", "Band:\tActive Bands", " ", " ",
        "Name\tLong\tAZm\tAZ\tEL\tPol\tAZm2\tAZ2\tEL2\tPol2\tBand~", " ",
        "Alpha\t28.20E\t144.37\t145.45\t25.40\t-20.85\t278.07\t278.38\t79.75\t-81.52\tC,Ku",
        "Beta\t30.00W\t215.20\t216.28\t24.80\t21.80\t270.23\t270.55\t14.82\t-88.62\tKu",
        "TwentyCharacterName\t13.00E\t162.34\t163.42\t29.80\t-10.32\t272.58\t272.90\t62.09\t-86.84\tC,Ku,Ka,X,L,S,P,Q/V",
    };
    EXPECT_EQ(tablestest::Lines(table->text), expected);
    EXPECT_EQ(table->caption, "Satellites Visible (2 Sites)");
    EXPECT_EQ(table->tabs.positions, (std::vector<int>{20, 28, 36, 44, 51, 58, 66, 74, 81, 88}));
}

struct LookCase {
    const char* name;
    double latitude, longitude, satellite;
};
// Elevation and azimuth against the spherical-triangle formulas; the table
// adds refraction.
const LookCase kLooks[] = {
    {"London to 28.2E", 51.5, -0.12, 28.2},
    {"London to 30W", 51.5, -0.12, -30.0},
    {"Nairobi to 28.2E", -1.28, 36.82, 28.2},
    {"Sydney to 156E", -33.87, 151.21, 156.0},
};

TEST(VisibleSatellites, LookAnglesMatchTheTextbookGeometry)
{
    constexpr double kAzimuthTolDeg = 0.006;  // the printed two decimals
    for (const LookCase& c : kLooks) {
        RecSiteRecord r{};
        PutText(r.siteName, c.name);
        char text[16];
        FormatLatLon(c.latitude, 0, text);
        PutText(r.siteLatitude, text);
        FormatLatLon(c.longitude, 1, text);
        PutText(r.siteLongitude, text);
        PutText(r.minimumElevation, "0");
        r.bands[kKu].Set(1);
        const auto table = VisibleSatellites(r, std::vector{Satellite("", 0, ""), Satellite("S", float(c.satellite), "Ku")},
                                             tablestest::kHeading);
        ASSERT_TRUE(table) << c.name;
        const std::string row = tablestest::Lines(table->text).back();
        double magnetic = 0, azimuth = 0, elevation = 0;
        ASSERT_EQ(std::sscanf(row.c_str(), "S\t%*[^\t]\t%lf\t%lf\t%lf", &magnetic, &azimuth, &elevation), 3) << row;
        const double satellite = double(float(c.satellite));
        const tablestest::TextbookLook t = tablestest::TextbookLookAngles(c.latitude, c.longitude, satellite);
        EXPECT_NEAR(azimuth, t.azimuth, kAzimuthTolDeg) << c.name;
        EXPECT_GE(elevation, t.elevation - 0.006) << c.name;
        EXPECT_LE(elevation, t.elevation + tablestest::kRefractionBoundDeg) << c.name;
    }
}

struct BandCase {
    const char* name;
    std::vector<std::size_t> ticked;
    const char* bandText;
    bool listed;
};
const BandCase kBands[] = {
    {"C finds C among others", {kC}, "C,Ku", true},
    {"C refuses Ku alone", {kC}, "Ku", false},
    {"the search is case-sensitive", {kKu}, "KU", false},
    {"any ticked band will do", {kC, kKa}, "Ka", true},
    {"a capital C anywhere counts", {kC}, "Ku (Cband spare)", true},
    {"Other matches a question mark", {8}, "?", true},
    {"nothing ticked lists nothing", {}, "C,Ku", false},
};

TEST(VisibleSatellites, BandRule)
{
    for (const BandCase& c : kBands) {
        ButtonState bands[kBandCount] = {};
        for (std::size_t b : c.ticked) bands[b].Set(1);
        EXPECT_EQ(SatelliteHasBand(c.bandText, bands), c.listed) << c.name;
    }
}

// A site under the satellite sees it straight up, whatever minimum the form
// allows; a minimum just above a satellite's elevation drops it, the
// elevation itself keeps it.
TEST(VisibleSatellites, ElevationRule)
{
    RecSiteRecord r = London("20");
    PutText(r.siteLatitude, "0.00N");
    PutText(r.siteLongitude, "28.20E");
    r.bands[kKu].Set(1);
    const auto overhead = VisibleSatellites(r, std::vector{Satellite("", 0, ""), Satellite("Up", 28.2f, "Ku")}, {});
    ASSERT_TRUE(overhead);
    EXPECT_NE(overhead->text.find("\t90.00\t"), std::string::npos) << overhead->text;

    // The minimum field holds 12 characters: bracket the elevation to 1e-9.
    const double elevation = LookAnglesFrom(51.5, -0.12, double(28.2f)).elevation;
    const std::vector<SatelliteRecord> list = {Satellite("", 0, ""), Satellite("Alpha", 28.2f, "Ku")};
    char minimum[13];
    std::snprintf(minimum, sizeof minimum, "%.9f", std::floor(elevation * 1e9) / 1e9);
    r = London(minimum);
    r.bands[kKu].Set(1);
    EXPECT_TRUE(VisibleSatellites(r, list, {})) << minimum;
    std::snprintf(minimum, sizeof minimum, "%.9f", std::ceil(elevation * 1e9) / 1e9);
    PutText(r.minimumElevation, minimum);
    EXPECT_FALSE(VisibleSatellites(r, list, {})) << minimum;
}

TEST(VisibleSatellites, NoneFoundWithEmptyList)
{
    RecSiteRecord r = London("0");
    r.bands[kKu].Set(1);
    EXPECT_FALSE(VisibleSatellites(r, std::vector{Satellite("Only the title", 0, "Ku")}, {}));
    EXPECT_FALSE(VisibleSatellites(r, std::vector<SatelliteRecord>{}, {}));
}

}  // namespace
