// The one-day resonance against the physics of the geostationary orbit: the
// Earth's ellipticity of the equator (J22, with J31 and J33) pulls a
// geostationary satellite towards two stable longitudes, about 75 E and
// 105 W, with an east-west acceleration of at most about 0.0017 degree per
// day squared (Soop, Handbook of Geostationary Orbits, ch. 4).
#include "orbit_fixtures.h"
#include "pointing/orbit/sgp4sdp4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kDaysEitherWay = 10.0;

double Wrap180(double degrees) { return std::remainder(degrees, 360.0); }

double LongitudeDeg(TSgp4Sdp4& model, double t_min) {
    EciVector r, v;
    EXPECT_EQ(model.PropagateMinutes(t_min, r, v), OrbitStatus::Ok);
    TSgp4Sdp4::ConvertSatState(r, v);
    GeodeticPos point;
    TSgp4Sdp4::SatLatLonAlt(r, model.EpochJulianDate() + t_min / 1440.0, point);
    return point.longitude * 180.0 / std::numbers::pi;
}

struct Drift { double longitude_deg; double acceleration_deg_day2; };

// A circular, nearly equatorial satellite at one sidereal day, placed around
// the equator by its mean anomaly; the acceleration is the second
// difference of its longitude over ten days either way.
std::vector<Drift> DriftAroundTheEquator() {
    std::vector<Drift> drifts;
    for (double meanAnomaly = 0; meanAnomaly < 360; meanAnomaly += 5) {
        orbit_test::Orbit o;
        o.meanMotion = 1.00273791;
        o.inclination = 0.05;
        o.eccentricity7 = 1;
        o.node = 0;
        o.perigee = 0;
        o.meanAnomaly = meanAnomaly;
        o.bstar = " 00000-0";
        TSgp4Sdp4 model;
        model.SetEntries({orbit_test::MakeEntry(o)});
        EXPECT_TRUE(model.ConvertTleEntry(0, true));
        const double t = kDaysEitherWay * 1440.0;
        const double l0 = LongitudeDeg(model, 0);
        const double ahead = Wrap180(LongitudeDeg(model, t) - l0);
        const double behind = Wrap180(l0 - LongitudeDeg(model, -t));
        drifts.push_back({l0, (ahead - behind) / (kDaysEitherWay * kDaysEitherWay)});
    }
    return drifts;
}

TEST(SynchronousResonance, GeostationarySatellitesDriftTowardsTheStableLongitudes) {
    const std::vector<Drift> drifts = DriftAroundTheEquator();
    std::vector<double> stable;
    double peak = 0;
    for (std::size_t i = 0; i < drifts.size(); ++i) {
        const Drift& a = drifts[i];
        const Drift& b = drifts[(i + 1) % drifts.size()];
        peak = std::max(peak, std::fabs(a.acceleration_deg_day2));
        if (a.acceleration_deg_day2 > 0 && b.acceleration_deg_day2 <= 0) {
            const double span = Wrap180(b.longitude_deg - a.longitude_deg);
            const double f = a.acceleration_deg_day2 / (a.acceleration_deg_day2 - b.acceleration_deg_day2);
            stable.push_back(std::fmod(a.longitude_deg + f * span + 360.0, 360.0));
        }
    }
    constexpr double kTolStableDeg = 3.0;
    ASSERT_EQ(stable.size(), 2u);
    const double east = std::min(stable[0], stable[1]);
    const double west = std::max(stable[0], stable[1]);
    EXPECT_NEAR(east, 75.0, kTolStableDeg);
    EXPECT_NEAR(west, 360.0 - 105.0, kTolStableDeg);
    EXPECT_GT(peak, 0.0012);
    EXPECT_LT(peak, 0.0022);
}

}  // namespace
