// Time and observer geometry against published and hand-worked values.
#include "pointing/orbit/sgp4sdp4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
constexpr double kTolJd = 1e-8;          // days (1 ms)
constexpr double kTolAngleRad = 1e-12;

// Julian dates of 0 h of the day, from the calendar: 2000 January 1.0 is
// JD 2451544.5; each year of 365 days, leap years 366.  The day of the year
// counts the leap day from March.
TEST(OrbitTime, CalendarToJulianDates) {
    const struct { const char* what; double epoch; double jd; } epochs[] = {
        {"2000 day 179.78495062 (2000-06-27 18:50:19.734)", 179.78495062, 2451723.28495062},
        {"57001 is 1957 January 1", 57001.0, 2435839.5},     // 2451544.5 - (43 x 365 + 10)
        {"56001 is 2056 January 1", 56001.0, 2471998.5},     // 2451544.5 + (56 x 365 + 14)
        {"the report's 88888 epoch", 80275.98708465, 2444514.48708465},  // 1980 Jan 1.0 = 2444239.5
        {"day 1.0 is January 1 at 0 h", 26001.0, 2461041.5},
    };
    for (const auto& c : epochs) EXPECT_NEAR(TSgp4Sdp4::JulianDateOfEpoch(c.epoch), c.jd, kTolJd) << c.what;
    // January 0.0 of the year: 1900 January 0.5 = JD 2415020.0.
    const struct { double year; double jd; } years[] = {
        {2026, 2461040.5}, {2000, 2451543.5}, {1900, 2415019.5}, {1957, 2435838.5}};
    for (const auto& c : years) EXPECT_DOUBLE_EQ(TSgp4Sdp4::JulianDateOfYear(c.year), c.jd) << c.year;
    const struct { int year, month, day, expected; } days[] = {
        {2000, 3, 1, 61}, {1900, 3, 1, 60}, {2026, 12, 31, 365}, {2024, 12, 31, 366}, {2024, 2, 29, 60},
    };
    for (const auto& c : days) EXPECT_EQ(TSgp4Sdp4::DayOfYear(c.year, c.month, c.day), c.expected) << c.year;
}

TEST(OrbitTime, CurrentUtcHoldsTheOffsetToOneDayEitherWay) {
    constexpr std::time_t k20260530_2250 = 1780181400;  // 2026-05-30 22:50:00 UTC, a Saturday
    const struct {
        const char* what;
        std::time_t now;
        std::int32_t offset;
        int year, month, day, hour, minute, second, weekday;
    } cases[] = {
        {"no offset", k20260530_2250, 0, 2026, 5, 30, 22, 50, 0, 6},
        {"an hour on", k20260530_2250, 3600, 2026, 5, 30, 23, 50, 0, 6},
        {"past midnight", k20260530_2250, 4200, 2026, 5, 31, 0, 0, 0, 0},
        {"100000 s ahead is one day", k20260530_2250, 100000, 2026, 5, 31, 22, 50, 0, 0},
        {"100000 s back is one day", k20260530_2250, -100000, 2026, 5, 29, 22, 50, 0, 5},
        {"leap day", 951868799, 0, 2000, 2, 29, 23, 59, 59, 2},
        {"before 1970", -86400, 0, 1969, 12, 31, 0, 0, 0, 3},
    };
    for (const auto& c : cases) {
        UtcDateTime t;
        TSgp4Sdp4::CurrentUtc(t, c.offset, c.now);
        EXPECT_EQ(t.year, c.year) << c.what;
        EXPECT_EQ(t.month, c.month) << c.what;
        EXPECT_EQ(t.day, c.day) << c.what;
        EXPECT_EQ(t.hour, c.hour) << c.what;
        EXPECT_EQ(t.minute, c.minute) << c.what;
        EXPECT_EQ(t.second, c.second) << c.what;
        EXPECT_EQ(t.weekday, c.weekday) << c.what;
    }
    // Its Julian date adds the fraction of the day: 2026-05-30 22:50 = JD 2461190.5 + 22.8333/24.
    UtcDateTime t;
    TSgp4Sdp4::CurrentUtc(t, 0, k20260530_2250);
    EXPECT_NEAR(TSgp4Sdp4::JulianDateOfTime(t), 2461191.451388889, kTolJd);
}

// Meeus, Astronomical Algorithms, examples 12.a and 12.b (mean sidereal time
// at Greenwich, 1987 April 10).
TEST(OrbitTime, SiderealTimeMatchesMeeus) {
    constexpr double kTolDeg = 2e-6;
    EXPECT_NEAR(TSgp4Sdp4::SiderealTime(2446895.5) / kDeg, 197.693195, kTolDeg);    // 0 h UT
    EXPECT_NEAR(TSgp4Sdp4::SiderealTime(2446896.30625) / kDeg, 128.737873, kTolDeg);  // 19:21 UT
}

// The report's epoch sidereal angle counts days from 1950 January 0.0 as the
// report does, 7305 + 365 (YY - 70) + (YY - 69) / 4 + day; its linear formula
// agrees with the IAU 1982 angle to a few hundredths of a degree in 1980.
TEST(OrbitTime, EpochSiderealAngleOfTheReportCase) {
    double ds50 = 0;
    const double theta = TSgp4Sdp4::SiderealTimeEpoch(80275.98708465, ds50);
    EXPECT_NEAR(ds50, 7305 + 365 * 10 + 2 + 275.98708465, 1e-8);
    const double iau = TSgp4Sdp4::SiderealTime(2444514.48708465);
    EXPECT_NEAR(std::remainder(theta - iau, 2 * kPi) / kDeg, 0.0, 0.05);
}

TEST(OrbitAngles, ArcTan2AndModuliCoverZeroToTwoPi) {
    const struct { double s, c, expected; } cases[] = {
        {0, 1, 2 * kPi}, {1, 0, kPi / 2}, {0, 0, 3 * kPi / 2}, {-1, 0, 3 * kPi / 2},
        {-1, -1, 5 * kPi / 4}, {1, 1, kPi / 4}, {1, -1, 3 * kPi / 4}, {-1, 1, 7 * kPi / 4},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(TSgp4Sdp4::ArcTan2(c.s, c.c), c.expected, kTolAngleRad) << c.s << "," << c.c;
    }
    EXPECT_DOUBLE_EQ(TSgp4Sdp4::Modulus(-3.0, 360.0), 357.0);
    EXPECT_DOUBLE_EQ(TSgp4Sdp4::Modulus(725.0, 360.0), 5.0);
    EXPECT_DOUBLE_EQ(TSgp4Sdp4::Modulus(360.0, 360.0), 0.0);
    EXPECT_NEAR(TSgp4Sdp4::FMod2p(-kPi / 2), 3 * kPi / 2, kTolAngleRad);
}

// WGS-72: equatorial radius 6378.135 km, polar radius a (1 - f) = 6356.7505 km;
// the surface turns at 7.292116e-5 rad/s.
TEST(OrbitObserver, SitesLieOnTheWgs72Ellipsoid) {
    constexpr double kTolKm = 1e-6;
    GeodeticPos pole{90 * kDeg, 0, 0, 0};
    EciVector r, v;
    TSgp4Sdp4::ObserverPosVel(2461191.0, pole, r, v);
    EXPECT_NEAR(r.z, 6356.750520016094, kTolKm);
    EXPECT_NEAR(std::hypot(r.x, r.y), 0.0, kTolKm);
    EXPECT_NEAR(v.w, 0.0, 1e-12);

    GeodeticPos equator{0, 0, 1.5, 0};
    TSgp4Sdp4::ObserverPosVel(2461191.0, equator, r, v);
    EXPECT_NEAR(r.w, 6379.635, kTolKm);
    EXPECT_NEAR(v.w, 6379.635 * 7.292115855228083e-5, 1e-12);
    EXPECT_NEAR(equator.theta, TSgp4Sdp4::SiderealTime(2461191.0), kTolAngleRad);
}

// A satellite in the equator plane seen from an equator site: plane geometry
// gives range sqrt(R^2 + r^2 - 2 R r cos d) and elevation
// atan((cos d - R/r) / sin d), due east for d > 0.  Saemundsson's refraction,
// 1.02 / tan(h + 10.3 / (h + 5.11)) arcmin, worked by hand for elevations
// above the horizon: 0.708999' at 55.02568 degrees, -0.001928' at 90.
TEST(OrbitObserver, LookAnglesOfAnEquatorialSatellite) {
    constexpr double kR = 6378.135;
    constexpr double kTolKm = 1e-6;
    const double jd = 2461191.0;
    const struct { const char* what; double r_km, d_deg, refraction_deg; } cases[] = {
        {"geostationary 30 degrees east", 42164.0, 30.0, 0.011816644131},
        {"low orbit below the horizon", 7000.0, 40.0, 0.0},
        {"low orbit overhead", 7000.0, 0.0, -0.000032132007},
    };
    for (const auto& c : cases) {
        GeodeticPos site{0, 0, 0, 0};
        const double theta = TSgp4Sdp4::SiderealTime(jd) + c.d_deg * kDeg;
        const EciVector sat{c.r_km * std::cos(theta), c.r_km * std::sin(theta), 0, c.r_km};
        LookAngleSet look;
        TSgp4Sdp4::LookAngles(sat, EciVector{}, site, jd, look);
        const double d = c.d_deg * kDeg;
        EXPECT_NEAR(look.range, std::sqrt(kR * kR + c.r_km * c.r_km - 2 * kR * c.r_km * std::cos(d)), kTolKm) << c.what;
        const double geometric = c.d_deg == 0 ? 90.0 : std::atan((std::cos(d) - kR / c.r_km) / std::sin(d)) / kDeg;
        EXPECT_NEAR(look.elevation / kDeg, geometric + c.refraction_deg, 1e-9) << c.what;
        if (c.d_deg != 0) {
            EXPECT_NEAR(look.azimuth / kDeg, 90.0, 1e-9) << c.what;
        }
    }
}

// Geodetic point -> inertial position -> geodetic point.
TEST(OrbitObserver, SubSatellitePointInvertsTheEllipsoid) {
    constexpr double kTolLatRad = 1e-9;
    constexpr double kTolAltKm = 1e-6;
    const double jd = 2461191.3;
    const struct { double lat_deg, lon_deg, alt_km; } cases[] = {
        {45, 10, 500}, {-33.9, 151.2, 420}, {0, 300, 35786}, {89.5, 0, 800}, {-70, 200, 20200},
    };
    for (const auto& c : cases) {
        GeodeticPos site{c.lat_deg * kDeg, c.lon_deg * kDeg, c.alt_km, 0};
        EciVector r, v;
        TSgp4Sdp4::ObserverPosVel(jd, site, r, v);
        GeodeticPos back;
        TSgp4Sdp4::SatLatLonAlt(r, jd, back);
        const double lat = back.latitude > kPi ? back.latitude - 2 * kPi : back.latitude;
        EXPECT_NEAR(lat, c.lat_deg * kDeg, kTolLatRad) << c.lat_deg;
        EXPECT_NEAR(back.longitude, c.lon_deg * kDeg, kTolLatRad) << c.lon_deg;
        EXPECT_NEAR(back.altitude, c.alt_km, kTolAltKm) << c.alt_km;
    }
}

// A state straight over a pole (x = y = 0): the height is above the polar
// radius b = a (1 - f) = 6356.751 km of WGS-72.
TEST(OrbitObserver, SubSatellitePointOverAPole) {
    constexpr double kPolarRadiusKm = 6378.135 * (1.0 - 1.0 / 298.26);
    const struct { double z_km, lat_rad, alt_km; } cases[] = {
        {7000.0, kPi / 2, 7000.0 - kPolarRadiusKm},
        {-6800.0, 3 * kPi / 2, 6800.0 - kPolarRadiusKm},
        {kPolarRadiusKm, kPi / 2, 0.0},
    };
    for (const auto& c : cases) {
        GeodeticPos out;
        TSgp4Sdp4::SatLatLonAlt(EciVector{0, 0, c.z_km, 0}, 2461191.0, out);
        EXPECT_NEAR(out.latitude, c.lat_rad, 1e-12) << c.z_km;
        EXPECT_NEAR(out.altitude, c.alt_km, 1e-9) << c.z_km;
    }
}

TEST(OrbitObserver, SubSatellitePointOfANonFiniteStateEnds) {
    GeodeticPos out;
    TSgp4Sdp4::SatLatLonAlt(EciVector{NAN, 1, 1, 0}, 2461191.0, out);
    EXPECT_TRUE(std::isnan(out.latitude) || std::isnan(out.altitude));
}

}  // namespace
