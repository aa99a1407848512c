// The numbers of the positions table: display forms, sort orders and the
// rows of sets that give no position.
#include "orbit_fixtures.h"
#include "pointing/orbit/positions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using orbit_test::MakeEntry;
using orbit_test::Orbit;

const TleSite kLondon{51.5, -0.13, 0.02};
constexpr double kJd20260530 = 2461191.0;  // 2026-05-30 12:00 UTC

const TleSatPosition& Row(const std::vector<TleSatPosition>& rows, const char* name) {
    return *std::find_if(rows.begin(), rows.end(), [name](const TleSatPosition& r) { return std::strcmp(r.name, name) == 0; });
}

// The same geostationary satellite (GOES 19, near 75.2 W) in the three
// longitude forms.
TEST(PositionsTable, LongitudeDisplayForms) {
    TSgp4Sdp4 model;
    model.SetEntries(orbit_test::RealSets("geo"));
    const struct { LongitudeDisplay display; double expected; } cases[] = {
        {LongitudeDisplay::Modulo180, -75.2}, {LongitudeDisplay::DegreesEast, 284.8}, {LongitudeDisplay::DegreesWest, 75.2},
    };
    for (const auto& c : cases) {
        std::vector<TleSatPosition> rows;
        ComputeSatPositions(model, kJd20260530, kLondon, c.display, rows);
        const TleSatPosition& goes = Row(rows, "GOES 19");
        EXPECT_NEAR(goes.longitude, c.expected, 0.1);
        EXPECT_NEAR(goes.latitude, 0.0, 0.1);
        EXPECT_NEAR(goes.altitude, 35786.0, 30.0);
        EXPECT_EQ(goes.catalogue, 60133.0f);
    }
}

// The station seen from London: whatever the instant, range, elevation and
// altitude obey the triangle of Earth centre, site and satellite.
TEST(PositionsTable, LookAnglesAgreeWithTheSubSatellitePoint) {
    TSgp4Sdp4 model;
    model.SetEntries(orbit_test::RealSets("stations"));
    for (double jd = kJd20260530; jd < kJd20260530 + 1.0; jd += 0.1) {
        std::vector<TleSatPosition> rows;
        ComputeSatPositions(model, jd, kLondon, LongitudeDisplay::Modulo180, rows);
        const TleSatPosition& iss = rows[0];
        ASSERT_EQ(iss.state, TleRowState::Ok);
        // Spherical Earth: central angle from the two points, then the range.
        const double d2r = std::acos(-1.0) / 180.0;
        const double c = std::sin(kLondon.latitude * d2r) * std::sin(iss.latitude * d2r) +
                         std::cos(kLondon.latitude * d2r) * std::cos(iss.latitude * d2r) *
                             std::cos((iss.longitude - kLondon.longitude) * d2r);
        const double rs = 6371.0 + iss.altitude;
        const double range = std::sqrt(6371.0 * 6371.0 + rs * rs - 2 * 6371.0 * rs * c);
        EXPECT_NEAR(iss.range, range, 30.0) << jd;  // the ellipsoid's 21 km against a sphere
        EXPECT_NEAR(iss.inclination, 51.6337, 1e-4);
    }
}

TEST(PositionsTable, RowsWithoutAPositionSayWhy) {
    Orbit good;
    Orbit flat = good;
    flat.catalogue = 99002;
    flat.inclination = 180.0;
    Orbit falling = good;
    falling.catalogue = 99003;
    falling.meanMotion = 16.5;
    falling.eccentricity7 = 2000000;
    TleEntry bad = MakeEntry(Orbit{}, "BAD SUM");
    bad.line1[68] = bad.line1[68] == '0' ? '1' : '0';
    TSgp4Sdp4 model;
    model.SetEntries({MakeEntry(good, "GOOD"), bad, MakeEntry(flat, "FLAT"), MakeEntry(falling, "FALLING"),
                      MakeEntry(good, "AFTER")});
    std::vector<TleSatPosition> rows;
    ComputeSatPositions(model, kJd20260530, kLondon, LongitudeDisplay::Modulo180, rows);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].state, TleRowState::Ok);
    EXPECT_STREQ(TleRowMessage(rows[1].state), "TLE file checksum error");
    EXPECT_EQ(rows[1].catalogue, 99001.0f);
    EXPECT_STREQ(TleRowMessage(rows[2].state), "bad elements");
    EXPECT_STREQ(TleRowMessage(rows[3].state), "decayed");
    EXPECT_EQ(rows[4].state, TleRowState::Ok);  // a bad set ends nothing
}

std::vector<std::string> Names(const std::vector<TleSatPosition>& rows) {
    std::vector<std::string> names;
    for (const TleSatPosition& r : rows) names.push_back(r.name);
    return names;
}

TleSatPosition Made(const char* name, float id, float elevation, TleRowState state = TleRowState::Ok) {
    TleSatPosition r;
    std::snprintf(r.name, sizeof r.name, "%s", name);
    r.catalogue = id;
    r.elevation = elevation;
    r.state = state;
    return r;
}

TEST(PositionsTable, SortOrders) {
    const std::vector<TleSatPosition> rows = {
        Made("beta", 3, 10), Made("ALPHA", 2, -5), Made("Gamma", 1, 10), Made("delta", 4, 0, TleRowState::Decayed),
    };
    const struct { TleSortField field; std::vector<std::string> expected; } cases[] = {
        {TleSortField::Name, {"ALPHA", "beta", "delta", "Gamma"}},   // without regard to case
        {TleSortField::Id, {"Gamma", "ALPHA", "beta", "delta"}},
        {TleSortField::Elevation, {"ALPHA", "beta", "Gamma", "delta"}},  // equal keys keep file order
    };
    for (const auto& c : cases) {
        std::vector<TleSatPosition> sorted = rows;
        SortSatPositions(sorted, c.field);
        EXPECT_EQ(Names(sorted), c.expected) << static_cast<int>(c.field);
    }
}

}  // namespace
