// Coordinate text and the geometry of geostationary links.
//
// Every routine is a free function of doubles; angles are degrees (north and
// east positive), distances km unless stated, frequencies GHz.  Spherical
// Earth of radius R = 6378140 m and geostationary radius r = 42164570 m
// (K = r / R = 6.610794055947345); refraction after ITU-R P.834 with the site
// height taken from the topography map; magnetic declination from the WMM2025
// model (pointing/alignment/geomag.h).
//
// Numbers are read and written in the C locale whatever the process locale.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string_view>

// ---- Coordinate text ---------------------------------------------------

// Signed degrees of a coordinate text such as "53.42N" or "3.00W": the
// leading decimal number (blanks before it skipped, anything after it
// ignored), negated when the text holds an upper-case 'W' or 'S' anywhere.
// Lower-case letters do not count, so "3.00w" is +3 and "-3.00W" is +3.
// No number, or a number that is not finite ("inf", "nan", 1e999), gives 0.
double ParseLatLon(const char* text);
double ParseLatLon(std::string_view text);

// Writes the absolute value with its hemisphere letter (N or E for zero and
// above): kind 0 latitude "%.2fN"/"%.2fS", kind 1 site longitude
// "%.2fE"/"%.2fW", kind 2 satellite longitude "%.1fE"/"%.1fW".  Any other kind
// leaves the buffer untouched.  The text is cut to fit the buffer and always
// terminated; callers pass at least 13 bytes.
void FormatLatLon(double value, int kind, char* buffer, std::size_t bufferSize);
template <std::size_t N>
void FormatLatLon(double value, int kind, char (&buffer)[N]) {
    FormatLatLon(value, kind, buffer, N);
}

// D.MM (whole degrees, minutes as the first two decimals) to decimal degrees:
// 53.30 gives 53.5.  The sign applies to both parts.
double DegMinToDegrees(double degMin);

// ---- Angles on the sphere ----------------------------------------------

// Central angle in degrees between two points, by the spherical law of
// cosines; 1e-6 in place of an exact 0.  Note the argument order.
double GreatCircleAngle(double longitude1, double longitude2, double latitude1, double latitude2);

// a - b in degrees after each negative value has had 360 added once; lies in
// -360..360 and is not normalised.
double LongitudeDifference(double a, double b);

// Subtracts 360 once if the angle is 360 or more, then adds 360 once if it
// is negative (720 gives 360).
void Normalize360(double* angle);

// Free-space wavelength in metres of a frequency in GHz.
double Wavelength(double frequencyGHz);

// ---- Look angles ---------------------------------------------------------

// Elevation seen through the troposphere (ITU-R P.834) for a free-space
// elevation at a site, or -1 when the satellite is hidden below the apparent
// horizon.  The site height comes from the topography map (0 when it is not
// loaded).
double ApparentElevation(double freeSpaceElevation, double siteLatitude, double siteLongitude);

// Look angles from a site to a geostationary satellite.  Writes the magnetic
// declination (degrees, east positive, today's date), the slant range (km),
// the apparent elevation (may be -1 or negative when the satellite is not
// visible), the true and magnetic azimuths (0..360) and the polarization
// offset (degrees, minus the reference angle; callers pass 0 unless they
// rotate the reference).  Null out-pointers are skipped.
void GeoLookAngles(double siteLatitude, double siteLongitude, double satelliteLongitude,
                   double polarizationReference, double* magneticDeclination, double* slantRangeKm,
                   double* elevation, double* trueAzimuth, double* magneticAzimuth,
                   double* polarizationOffset);

// Look angles to a geosynchronous satellite whose sub-satellite point lies
// off the equator (inclined orbit): apparent elevation (negative below the
// horizon, -1 when hidden by refraction) and true azimuth 0..360.
void LookAnglesToPoint(double siteLatitude, double siteLongitude, double satelliteLongitude,
                       double satelliteLatitude, double* elevation, double* azimuth);

// ---- Elevation checks ------------------------------------------------------
// Each shows its message through the installed CalculationNotifier
// (propagation/geo_notifier.h): caption "Elevation", exclamation icon.

inline constexpr const char* kElevationCaption = "Elevation";
inline constexpr const char* kBelowHorizonText = "Satellite below horizon";
inline constexpr const char* kLowElevationErrorText =
    "ERROR: Elevation < 3 degrees (some atmospheric models are invalid)";
inline constexpr const char* kLowElevationWarningText =
    "Warning: Elevation < 5 degrees (some atmospheric model results may be invalid)";

// True when the satellite is above the horizon; at 0 degrees or below (or an
// elevation that is not a number) shows "Satellite below horizon" and
// returns false.
bool CheckBelowHorizon(double elevation);

// 5 degrees or more: true, silently.  3 up to 5: the warning, true.  Below 3
// (or not a number): the error, false.
bool CheckLowElevation(double elevation);

// ---- Polar mount, orbits ---------------------------------------------------

// Modified polar mount for geostationary satellites at a latitude (its
// magnitude is used): declination offset, apex zenith angle (printed as
// "Apex declination"), apex elevation, polar axis angle and polar elevation,
// all degrees.  At 45 degrees: 6.14, 51.83, 38.17, 45.69, 44.31.
void PolarMountAngles(double latitude, double* declinationOffset, double* apexZenithAngle,
                      double* apexElevation, double* polarAxisAngle, double* polarElevation);

// Circular orbit of a height (km) seen at an elevation (degrees) and a
// frequency (GHz): returns the slant range in metres and writes the orbital
// speed (m/s), the largest Doppler shift (kHz) at that elevation, which a
// pass straight overhead gives (the Earth's rotation left out), and the
// period (s).
double OrbitRangeDoppler(double heightKm, double elevation, double frequencyGHz,
                         double* speed, double* maxDopplerKHz, double* periodSeconds);

// ---- Magnetic declination ----------------------------------------------------

// Magnetic declination in degrees (east positive) at a site, at altitude 0,
// for today's UTC date (never earlier than the model's epoch).
double MagneticDeclinationNow(double siteLatitude, double siteLongitude);

// The clock that gives "today": the system clock unless replaced (tests, or
// an application clock).  An empty function restores the system clock.
using UtcClock = std::function<std::chrono::system_clock::time_point()>;
void SetDeclinationClock(UtcClock clock);

// ---- Truncation and rounding -------------------------------------------------
// All three work on doubles (std::trunc): no integer range limit, so a value
// too large for a 32-bit integer is still cut correctly.  Non-finite values
// pass through unchanged.

// x cut toward zero to n decimals: (2.999, 2) gives 2.99, (-2.999, 2) -2.99.
double TruncateToDecimals(double x, int decimals);
// Whole part of x 10^n + 0.5, over 10^n: halves round up for positive values;
// a negative value is truncated after 0.5 is added ((-2.5, 0) gives -2).
double RoundToDecimals(double x, int decimals);
// The same rounding as RoundToDecimals (the name of the integer-based form).
double RoundToDecimalsInt(double x, int decimals);

namespace detail {
// Decimal year of a UTC calendar date as the declination uses it: day of
// year over 366 from March on in a leap year, over 365 otherwise.
double DecimalYearOf(int year, int month, int day);
}  // namespace detail
