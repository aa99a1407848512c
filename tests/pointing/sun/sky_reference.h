// An independent sky for checking the sun model and the outage search: the
// Astronomical Almanac's low-precision solar coordinates (good to 0.01 degree
// from 1950 to 2050), Greenwich mean sidereal time from Meeus (12.4), and
// plain vector geometry for the directions from a site on a spherical Earth.
// Nothing here calls the code under test.
#pragma once

#include <cmath>
#include <numbers>

namespace sky {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr double kEarthRadiusKm = 6378.14;
constexpr double kGeoRadiusKm = 42164.57;

struct Vec { double x, y, z; };
inline double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec Unit(Vec a)
{
    const double n = std::sqrt(Dot(a, a));
    return {a.x / n, a.y / n, a.z / n};
}
inline double AngleDeg(Vec a, Vec b)
{
    double c = Dot(Unit(a), Unit(b));
    c = c > 1 ? 1 : c < -1 ? -1 : c;
    return std::acos(c) / kDeg;
}

// Julian date of a Gregorian calendar date at a UT (hours).
inline double JulianDate(int y, int m, int d, double utHours)
{
    if (m <= 2) {
        y -= 1;
        m += 12;
    }
    const int a = y / 100;
    const int b = 2 - a + a / 4;
    return std::floor(365.25 * (y + 4716)) + std::floor(30.6001 * (m + 1)) + d + b - 1524.5 + utHours / 24.0;
}

struct SunRaDec { double raDeg, decDeg, lambdaDeg; };
inline SunRaDec Sun(double jd)
{
    const double n = jd - 2451545.0;
    const double L = 280.460 + 0.9856474 * n;
    const double g = (357.528 + 0.9856003 * n) * kDeg;
    const double lambda = (L + 1.915 * std::sin(g) + 0.020 * std::sin(2 * g)) * kDeg;
    const double eps = (23.439 - 0.0000004 * n) * kDeg;
    const double ra = std::atan2(std::cos(eps) * std::sin(lambda), std::cos(lambda)) / kDeg;
    const double dec = std::asin(std::sin(eps) * std::sin(lambda)) / kDeg;
    return {std::fmod(ra + 360.0, 360.0), dec, std::fmod(lambda / kDeg, 360.0)};
}

inline double GmstDeg(double jd) { return std::fmod(280.46061837 + 360.98564736629 * (jd - 2451545.0), 360.0); }

// Earth-fixed unit vector towards the sun.
inline Vec SunDirection(double jd)
{
    const SunRaDec s = Sun(jd);
    const double lon = (s.raDeg - GmstDeg(jd)) * kDeg;
    const double dec = s.decDeg * kDeg;
    return {std::cos(dec) * std::cos(lon), std::cos(dec) * std::sin(lon), std::sin(dec)};
}

inline Vec SitePosition(double latDeg, double lonDeg)
{
    const double p = latDeg * kDeg, l = lonDeg * kDeg;
    return {kEarthRadiusKm * std::cos(p) * std::cos(l), kEarthRadiusKm * std::cos(p) * std::sin(l),
            kEarthRadiusKm * std::sin(p)};
}

inline Vec SatelliteDirection(double latDeg, double lonDeg, double satLonDeg)
{
    const Vec site = SitePosition(latDeg, lonDeg);
    const Vec sat{kGeoRadiusKm * std::cos(satLonDeg * kDeg), kGeoRadiusKm * std::sin(satLonDeg * kDeg), 0.0};
    return {sat.x - site.x, sat.y - site.y, sat.z - site.z};
}

// Angle between the sun and a geostationary satellite seen from a site.
inline double SeparationDeg(double jd, double latDeg, double lonDeg, double satLonDeg)
{
    return AngleDeg(SunDirection(jd), SatelliteDirection(latDeg, lonDeg, satLonDeg));
}

// Half-width (degrees) from the axis of a uniformly illuminated circular
// aperture to where |2 J1(u) / u| falls to `levelDb`, by bisection on the
// library Bessel function.
inline double HalfBeamDeg(double levelDb, double diameterM, double frequencyGHz)
{
    const double lambda = 299792458.0 / (frequencyGHz * 1e9);
    const double target = std::pow(10.0, levelDb / 20.0);
    double lo = 1e-9, hi = 3.8317;  // first null of J1
    for (int i = 0; i < 100; ++i) {
        const double u = (lo + hi) / 2;
        (std::fabs(2 * std::cyl_bessel_j(1.0, u) / u) > target ? lo : hi) = u;
    }
    return std::asin(lo * lambda / (std::numbers::pi * diameterM)) / kDeg;
}

}  // namespace sky
