// Records and constants shared by the orbit model, its time and observer
// routines, the element-set reader and the positions table.
//
// Everything here belongs to the WGS-72 world of the 1980 general-perturbation
// models (Spacetrack Report No. 3, Hoots and Roehrich): the model, the
// observer's ellipsoid and the sub-satellite point all use the same Earth.
// WGS-84 appears only in the magnetic model.
#pragma once

#include <cstdint>
#include <numbers>

namespace orbit_constants {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2.0 * std::numbers::pi;
inline constexpr double kDegToRad = std::numbers::pi / 180.0;
inline constexpr double kRadToDeg = 180.0 / std::numbers::pi;

// WGS-72, as the 1980 report gives it.
inline constexpr double kEarthRadiusKm = 6378.135;
inline constexpr double kMuKm3PerS2 = 398600.8;
inline constexpr double kHalfJ2 = 5.413079e-4;          // J2/2
inline constexpr double kMinus3_8J4 = 6.2098875e-7;     // -3/8 J4
inline constexpr double kJ3 = -2.53881e-6;
inline constexpr double kMinutesPerDay = 1440.0;
// Earth radii per minute to km/s: 6378.135 / 60.
inline constexpr double kKmPerSecondPerEarthRadiusPerMinute = kEarthRadiusKm / 60.0;

// The observer's ellipsoid: flattening 1/298.26.
inline constexpr double kFlattening = 1.0 / 298.26;
inline constexpr double kEccentricitySquared = kFlattening * (2.0 - kFlattening);
// Earth rotation, rad/s: 2 pi x 1.00273790934 / 86400.
inline constexpr double kEarthRotationRadPerS = 7.292115855228083e-5;

}  // namespace orbit_constants

// A calendar instant in UTC, laid out as the run-time library's broken-down
// time: weekday (0 = Sunday), day of year (0-based) and the daylight flag are
// filled but read by nobody here.
struct UtcDateTime {
    std::int32_t second = 0;
    std::int32_t minute = 0;
    std::int32_t hour = 0;
    std::int32_t day = 1;      // of the month, 1-31
    std::int32_t month = 1;    // 1-12
    std::int32_t year = 1970;  // four digits
    std::int32_t weekday = 4;
    std::int32_t dayOfYear = 0;
    std::int32_t daylight = 0;
};

// A Cartesian vector with its magnitude w (valid once Magnitude has run).
// Inertial (true equator, mean equinox) positions in km and velocities in
// km/s once they leave the model; Earth radii and Earth radii per minute
// inside it.
struct EciVector {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 0.0;
};

// A point over the ellipsoid.  theta is the local sidereal angle for an
// observer and the right ascension of the position for a satellite.
struct GeodeticPos {
    double latitude = 0.0;   // rad, north positive
    double longitude = 0.0;  // rad, east positive
    double altitude = 0.0;   // km above the ellipsoid
    double theta = 0.0;      // rad
};

// Topocentric look angles of a satellite.
struct LookAngleSet {
    double azimuth = 0.0;    // rad, from north through east
    double elevation = 0.0;  // rad, with refraction when above the horizon
    double range = 0.0;      // km
    double rangeRate = 0.0;  // km/s, positive when receding
};

// One two-line element set as stored: the name line (cut to 24 characters)
// and the two 69-character element lines, each zero-terminated.
struct TleEntry {
    char name[25] = {};
    char line1[70] = {};
    char line2[70] = {};
};

// What became of one propagation.
enum class OrbitStatus : std::uint8_t {
    Ok,
    BadElements,  // elements the model cannot use, or a result that is not finite
    Decayed,      // the orbit has come down: no orbit is left at that time
};
