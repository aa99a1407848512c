// Every set of the real element files, propagated ten days either side of
// its epoch, and physical checks on a few well-known satellites.
#include "orbit_fixtures.h"
#include "pointing/orbit/sgp4sdp4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace {

constexpr double kEarthRadiusKm = 6378.135;
constexpr double kMuKm3PerS2 = 398600.8;
constexpr double kTenDaysMin = 14400.0;
constexpr double kStepMin = 360.0;

struct FileCase {
    const char* file;
    std::size_t maxDecayed;  // sets with no orbit somewhere in the twenty days
};

TEST(RealSets, EveryElementSetPropagatesTenDaysEitherWay) {
    const FileCase cases[] = {{"geo", 0}, {"stations", 0}, {"weather", 0}, {"science", 0}, {"starlink", 120}};
    // In the large file about 10 sets at 200-280 km come down within the ten
    // days after their epoch, and about 100 sets with a large negative drag
    // term (orbit raising) have no orbit the model can give ten days before.
    for (const FileCase& c : cases) {
        TSgp4Sdp4 model;
        model.SetEntries(orbit_test::RealSets(c.file));
        ASSERT_GT(model.EntryCount(), 0u) << c.file;
        std::size_t decayed = 0;
        for (std::size_t i = 0; i < model.EntryCount(); ++i) {
            ASSERT_TRUE(model.ConvertTleEntry(i, true)) << c.file << " set " << i;
            bool came_down = false;
            for (double t = -kTenDaysMin; t <= kTenDaysMin; t += kStepMin) {
                EciVector r, v;
                const OrbitStatus status = model.PropagateMinutes(t, r, v);
                ASSERT_NE(status, OrbitStatus::BadElements) << c.file << " " << model.Entries()[i].name << " t=" << t;
                if (status == OrbitStatus::Decayed) {
                    came_down = true;
                    continue;
                }
                ASSERT_TRUE(std::isfinite(r.x + r.y + r.z + v.x + v.y + v.z)) << c.file << " set " << i;
                ASSERT_GE(std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z), 1.0) << c.file << " set " << i;
            }
            decayed += came_down ? 1 : 0;
        }
        EXPECT_LE(decayed, c.maxDecayed) << c.file;
    }
}

std::size_t IndexOf(const std::vector<TleEntry>& sets, const char* name) {
    for (std::size_t i = 0; i < sets.size(); ++i) {
        if (std::strncmp(sets[i].name, name, std::strlen(name)) == 0) return i;
    }
    return sets.size();
}

struct Track { double rMin_km = 1e30, rMax_km = 0; double lonMin_deg = 1e30, lonMax_deg = -1e30; };

Track TrackOver(TSgp4Sdp4& model, double fromMin, double toMin) {
    Track track;
    const double epoch = model.EpochJulianDate();
    for (double t = fromMin; t <= toMin; t += 30.0) {
        EciVector r, v;
        EXPECT_EQ(model.PropagateMinutes(t, r, v), OrbitStatus::Ok);
        TSgp4Sdp4::ConvertSatState(r, v);
        GeodeticPos point;
        TSgp4Sdp4::SatLatLonAlt(r, epoch + t / 1440.0, point);
        double lon = point.longitude * 180.0 / std::numbers::pi;
        if (lon > 180.0) lon -= 360.0;
        track.rMin_km = std::min(track.rMin_km, r.w);
        track.rMax_km = std::max(track.rMax_km, r.w);
        track.lonMin_deg = std::min(track.lonMin_deg, lon);
        track.lonMax_deg = std::max(track.lonMax_deg, lon);
    }
    return track;
}

// Kepler's third law: a = (mu / n^2)^(1/3) with n the mean motion.
double SemiMajorAxisKm(double revPerDay) {
    const double n_rad_s = revPerDay * 2.0 * std::numbers::pi / 86400.0;
    return std::cbrt(kMuKm3PerS2 / (n_rad_s * n_rad_s));
}

// Ten days either way, sampled every 30 minutes: GOES 19 keeps its published
// slot, 75.2 degrees west ("GOES East"), on the geostationary radius
// (42164 km); the 12-hour orbit of eccentricity 0.728 swings between perigee
// a (1 - e) and apogee a (1 + e) (its fast perigee passes fall between the
// samples); the station flies between 370 and 440 km (it reboosts; its orbit
// is nearly circular at a = 6796 km).
TEST(RealSets, WellKnownSatellitesKeepTheirOrbits) {
    const double a = SemiMajorAxisKm(2.00628608), e = 0.7281048, R = kEarthRadiusKm;
    const struct {
        const char *file, *name;
        double rMinLo, rMinHi, rMaxLo, rMaxHi, lonLo, lonHi;   // km, km, km, km, deg, deg
    } cases[] = {
        {"geo", "GOES 19", 42134.0, 42194.0, 42134.0, 42194.0, -75.3, -75.1},
        {"weather", "ARKTIKA-M 1", a * (1 - e) - 60, a * (1 - e) + 1500, a * (1 + e) - 60, a * (1 + e) + 60, -180, 180},
        {"stations", "ISS (ZARYA)", R + 330, R + 460, R + 330, R + 460, -180, 180},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TSgp4Sdp4 model;
        model.SetEntries(orbit_test::RealSets(c.file));
        ASSERT_TRUE(model.ConvertTleEntry(IndexOf(model.Entries(), c.name), true));
        const Track t = TrackOver(model, -kTenDaysMin, kTenDaysMin);
        EXPECT_GE(t.rMin_km, c.rMinLo);
        EXPECT_LE(t.rMin_km, c.rMinHi);
        EXPECT_GE(t.rMax_km, c.rMaxLo);
        EXPECT_LE(t.rMax_km, c.rMaxHi);
        EXPECT_GE(t.lonMin_deg, c.lonLo);
        EXPECT_LE(t.lonMax_deg, c.lonHi);
    }
}

// The velocity is the rate of the position: a central difference over
// +-0.5 s agrees to 2e-4 of the speed (the model's velocity leaves out the
// rates of some slow terms; a wrong term costs far more).
TEST(RealSets, VelocityIsTheRateOfThePosition) {
    const struct { const char* file; const char* name; } cases[] = {
        {"stations", "ISS (ZARYA)"}, {"geo", "ASTRA 1KR"}, {"weather", "ARKTIKA-M 1"}, {"science", "POLAR"},
    };
    constexpr double kHalfStepMin = 0.5 / 60.0;
    constexpr double kRelativeTolerance = 2e-4;
    for (const auto& c : cases) {
        TSgp4Sdp4 model;
        model.SetEntries(orbit_test::RealSets(c.file));
        ASSERT_TRUE(model.ConvertTleEntry(IndexOf(model.Entries(), c.name), true)) << c.name;
        for (double t : {-5000.0, 0.0, 3000.0, 11000.0}) {
            EciVector r0, v0, r1, v1, r, v;
            ASSERT_EQ(model.PropagateMinutes(t - kHalfStepMin, r0, v0), OrbitStatus::Ok);
            ASSERT_EQ(model.PropagateMinutes(t + kHalfStepMin, r1, v1), OrbitStatus::Ok);
            ASSERT_EQ(model.PropagateMinutes(t, r, v), OrbitStatus::Ok);
            TSgp4Sdp4::ConvertSatState(r0, v0);
            TSgp4Sdp4::ConvertSatState(r1, v1);
            TSgp4Sdp4::ConvertSatState(r, v);
            const double tolerance = kRelativeTolerance * v.w;
            EXPECT_NEAR(r1.x - r0.x, v.x, tolerance) << c.name << " t=" << t;  // km over 1 s
            EXPECT_NEAR(r1.y - r0.y, v.y, tolerance) << c.name << " t=" << t;
            EXPECT_NEAR(r1.z - r0.z, v.z, tolerance) << c.name << " t=" << t;
        }
    }
}

// No jumps: over ten-minute steps each position follows from the last by the
// mean of the two velocities (the chord error of a geostationary orbit is
// 0.3 km); a node or perigee taken a turn too far, or an integrator that
// restarts wrongly, moves the satellite hundreds of km.
TEST(RealSets, GeostationaryTracksAreContinuous) {
    constexpr double kStepS = 600.0;
    constexpr double kTolKm = 5.0;
    TSgp4Sdp4 model;
    model.SetEntries(orbit_test::RealSets("geo"));
    for (std::size_t i = 0; i < model.EntryCount(); ++i) {
        ASSERT_TRUE(model.ConvertTleEntry(i, true));
        EciVector r0, v0;
        ASSERT_EQ(model.PropagateMinutes(-kTenDaysMin, r0, v0), OrbitStatus::Ok);
        TSgp4Sdp4::ConvertSatState(r0, v0);
        double worst_km = 0;
        for (double t = -kTenDaysMin + kStepS / 60.0; t <= kTenDaysMin; t += kStepS / 60.0) {
            EciVector r1, v1;
            ASSERT_EQ(model.PropagateMinutes(t, r1, v1), OrbitStatus::Ok);
            TSgp4Sdp4::ConvertSatState(r1, v1);
            const double dx = r1.x - r0.x - kStepS * 0.5 * (v0.x + v1.x);
            const double dy = r1.y - r0.y - kStepS * 0.5 * (v0.y + v1.y);
            const double dz = r1.z - r0.z - kStepS * 0.5 * (v0.z + v1.z);
            worst_km = std::max(worst_km, std::sqrt(dx * dx + dy * dy + dz * dz));
            r0 = r1;
            v0 = v1;
        }
        EXPECT_LT(worst_km, kTolKm) << model.Entries()[i].name;
    }
}

}  // namespace
