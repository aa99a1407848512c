// Converting element lines into the model's units, the choice of model, and
// the guards against elements and times the model cannot use.
#include "orbit_fixtures.h"
#include "pointing/orbit/sgp4sdp4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using orbit_test::MakeEntry;
using orbit_test::Orbit;

constexpr double kDeg = std::numbers::pi / 180.0;

TEST(TleFieldTest, ReadsTheNumberOfItsColumns) {
    const char* line = "1 25544U 98067A   26150.51748228 -.00011776 -11606-4  21767-3 0  9998";
    const struct { int first, last; double expected; } cases[] = {
        {3, 7, 25544}, {19, 32, 26150.51748228}, {34, 43, -0.00011776}, {45, 50, -11606}, {51, 52, -4},
        {54, 59, 21767}, {60, 61, -3}, {66, 68, 999}, {10, 17, 98067},  // "98067A" stops at the letter
        {9, 9, 0},      // a blank field
        {70, 75, 0},    // past the end of the line
        {5, 4, 0},      // columns the wrong way round
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(TSgp4Sdp4::TleField(line, c.first, c.last), c.expected) << c.first << "-" << c.last;
    }
    EXPECT_DOUBLE_EQ(TSgp4Sdp4::TleField(" +5", 1, 3), 5.0);
}

TEST(ElementConversion, TheStationSetInModelUnits) {
    TSgp4Sdp4 model;
    model.SetEntries(orbit_test::RealSets("stations"));
    ASSERT_TRUE(model.ConvertTleEntry(0, true));  // ISS (ZARYA)
    const TleElements& e = model.Elements();
    EXPECT_EQ(model.CatalogueNumber(), 25544);
    EXPECT_EQ(model.ElementSetNumber(), 999);
    EXPECT_NEAR(e.inclination / kDeg, 51.6337, 1e-12);
    EXPECT_NEAR(e.rightAscension / kDeg, 27.5746, 1e-12);
    EXPECT_DOUBLE_EQ(e.eccentricity, 0.0007245);
    EXPECT_DOUBLE_EQ(e.bstar, 0.21767e-3);
    EXPECT_NEAR(2 * std::numbers::pi / e.meanMotion, 1440.0 / 15.49496548, 1e-9);  // period, min
    EXPECT_EQ(e.deepSpace, 0);
    EXPECT_EQ(e.initialise, 1);
    EXPECT_NEAR(model.EpochJulianDate(), 2461040.5 + 150.51748228, 1e-8);
}

// Period 225 minutes is 6.4 revolutions a day before the recovery of the
// mean motion; below 54.7 degrees of inclination the recovery lengthens the
// period, above it shortens it.
TEST(ElementConversion, DeepSpaceFromTwoHundredTwentyFiveMinutes) {
    const struct { double revPerDay, inclination; int deep; } cases[] = {
        {6.4, 30.0, 1}, {6.41, 30.0, 0}, {6.4, 60.0, 0}, {6.3, 60.0, 1}, {1.0027, 0.05, 1}, {15.5, 51.6, 0},
    };
    for (const auto& c : cases) {
        Orbit o;
        o.meanMotion = c.revPerDay;
        o.inclination = c.inclination;
        TSgp4Sdp4 model;
        model.SetEntries({MakeEntry(o)});
        ASSERT_TRUE(model.ConvertTleEntry(0, true));
        EXPECT_EQ(model.Elements().deepSpace, c.deep) << c.revPerDay << " rev/day at " << c.inclination;
    }
}

TEST(ElementConversion, TheCheckFlagRefusesABadChecksumAndKeepsTheCurrentSet) {
    Orbit first;
    Orbit second;
    second.catalogue = 99002;
    TleEntry bad = MakeEntry(second);
    bad.line2[68] = bad.line2[68] == '9' ? '0' : static_cast<char>(bad.line2[68] + 1);
    TSgp4Sdp4 model;
    model.SetEntries({MakeEntry(first), bad});
    ASSERT_TRUE(model.ConvertTleEntry(0, true));
    EXPECT_FALSE(model.ConvertTleEntry(1, true));
    EXPECT_EQ(model.CatalogueNumber(), 99001);
    EXPECT_TRUE(model.ConvertTleEntry(1, false));
    EXPECT_EQ(model.CatalogueNumber(), 99002);
    EXPECT_FALSE(model.ConvertTleEntry(2, false));
}

struct GuardCase { const char* what; Orbit orbit; double t_min; OrbitStatus expected; };

Orbit With(void (*change)(Orbit&)) {
    Orbit o;
    change(o);
    return o;
}

TEST(OrbitGuards, ElementsAndTimesTheModelCannotUse) {
    const GuardCase cases[] = {
        {"inclination of 180 degrees", With([](Orbit& o) { o.inclination = 180.0; }), 0, OrbitStatus::BadElements},
        {"inclination above 180 degrees", With([](Orbit& o) { o.inclination = 190.0; }), 0, OrbitStatus::BadElements},
        {"retrograde 179.9 degrees", With([](Orbit& o) { o.inclination = 179.9; }), 60, OrbitStatus::Ok},
        {"inclination 0, taken as a microdegree", With([](Orbit& o) { o.inclination = 0.0; }), 100, OrbitStatus::Ok},
        {"mean motion 0", With([](Orbit& o) { o.meanMotion = 0.0; }), 0, OrbitStatus::BadElements},
        {"negative eccentricity", With([](Orbit& o) { o.eccentricity7 = -123456; }), 0, OrbitStatus::BadElements},
        {"circular orbit", With([](Orbit& o) { o.eccentricity7 = 0; }), 1440, OrbitStatus::Ok},
        {"heavy drag comes down within days",
         With([](Orbit& o) { o.meanMotion = 16.2; o.bstar = " 50000-0"; }), 14400, OrbitStatus::Decayed},
        {"perigee under the ground", With([](Orbit& o) { o.meanMotion = 16.5; o.eccentricity7 = 2000000; }), 10,
         OrbitStatus::Decayed},
        {"a geostationary set 10^12 minutes on",
         With([](Orbit& o) { o.meanMotion = 1.0027; o.inclination = 0.05; o.eccentricity7 = 300; }), 1e12,
         OrbitStatus::BadElements},
        {"a time that is not a number", Orbit{}, NAN, OrbitStatus::BadElements},
    };
    for (const GuardCase& c : cases) {
        TSgp4Sdp4 model;
        model.SetEntries({MakeEntry(c.orbit)});
        ASSERT_TRUE(model.ConvertTleEntry(0, false)) << c.what;
        EciVector r, v;
        const OrbitStatus status = model.PropagateMinutes(c.t_min, r, v);
        EXPECT_EQ(status, c.expected) << c.what;
        if (status == OrbitStatus::Ok) {
            EXPECT_TRUE(std::isfinite(r.x + r.y + r.z + v.x + v.y + v.z)) << c.what;
        }
    }
}

// A circular set moves as its nearest non-circular neighbour (eccentricity
// 1e-7): the terms left out for it only shift mean anomaly against perigee.
TEST(OrbitGuards, ACircularOrbitIsTheLimitOfNearlyCircularOnes) {
    Orbit circular;
    circular.eccentricity7 = 0;
    Orbit nearly = circular;
    nearly.eccentricity7 = 1;
    TSgp4Sdp4 model;
    model.SetEntries({MakeEntry(circular), MakeEntry(nearly)});
    for (double t : {0.0, 720.0, 1440.0}) {
        EciVector r0, v0, r1, v1;
        ASSERT_TRUE(model.ConvertTleEntry(0, true));
        ASSERT_EQ(model.PropagateMinutes(t, r0, v0), OrbitStatus::Ok);
        ASSERT_TRUE(model.ConvertTleEntry(1, true));
        ASSERT_EQ(model.PropagateMinutes(t, r1, v1), OrbitStatus::Ok);
        const double dr_km = std::hypot(r0.x - r1.x, r0.y - r1.y, r0.z - r1.z) * 6378.135;
        EXPECT_LT(dr_km, 0.05) << t;
    }
}

// Results do not depend on the order of times or sets: the kept resonance
// integrator gives what a fresh model gives.
TEST(OrbitState, AnyOrderOfTimesGivesTheSameStates) {
    const std::vector<TleEntry> geo = orbit_test::RealSets("geo");
    const std::vector<TleEntry> weather = orbit_test::RealSets("weather");
    const std::vector<TleEntry> sets = {geo[0], weather[39], geo[100]};  // GEO, 12-hour ARKTIKA-M 1, GEO
    const double times[] = {7200.0, -1440.0, 2000.0, 14400.0, 100.0, -9000.0, -700.0, 0.0};
    TSgp4Sdp4 kept;
    kept.SetEntries(sets);
    for (double t : times) {
        for (std::size_t i = 0; i < sets.size(); ++i) {
            TSgp4Sdp4 fresh;
            fresh.SetEntries(sets);
            ASSERT_TRUE(fresh.ConvertTleEntry(i, true));
            ASSERT_TRUE(kept.ConvertTleEntry(i, true));
            EciVector r0, v0, r1, v1;
            ASSERT_EQ(fresh.PropagateMinutes(t, r0, v0), OrbitStatus::Ok);
            ASSERT_EQ(kept.PropagateMinutes(t, r1, v1), OrbitStatus::Ok);
            EXPECT_EQ(r0.x, r1.x) << i << " t=" << t;
            EXPECT_EQ(r0.y, r1.y) << i << " t=" << t;
            EXPECT_EQ(v0.z, v1.z) << i << " t=" << t;
        }
    }
}

}  // namespace
