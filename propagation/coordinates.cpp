#include "propagation/coordinates.h"

#include "pointing/alignment/geomag.h"
#include "propagation/geo_notifier.h"
#include "propagation/itu_maps.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <utility>

namespace {

constexpr double kDegToRad = 0.017453292519943295;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kPi = 3.14159265358979323846;

// Spherical Earth and geostationary orbit, metres.
constexpr double kEarthRadius_m = 6378140.0;
constexpr double kGeoRadius_m = 42164570.0;
constexpr double kGeoToEarth = 6.610794055947345;   // K = r / R
constexpr double kTwoRr_m2 = 537863060999600.0;     // 2 R r
constexpr double kGeoHeight_m = 35786430.0;         // r - R
constexpr double kSpeedOfLight_m_s = 299792458.0;
constexpr double kEarthMu_m3_s2 = 3.986005e14;

// Replaces an exact zero that would divide by zero.
constexpr double kTinyAngle = 1e-6;

double Clamp1(double v) {
    if (v > 1.0) return 1.0;
    if (v < -1.0) return -1.0;
    return v;
}

void Put(double* out, double value) {
    if (out) *out = value;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::mutex g_clockMutex;
UtcClock g_clock;

std::chrono::system_clock::time_point NowUtc() {
    std::lock_guard<std::mutex> lock(g_clockMutex);
    if (g_clock) return g_clock();
    return std::chrono::system_clock::now();
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The pieces of the text "<number><letter>" for FormatLatLon.
void WriteCoordinate(double magnitude, int decimals, char letter, char* buffer, std::size_t size) {
    char text[400];
    auto [end, ec] = std::to_chars(text, text + sizeof text - 2, magnitude,
                                   std::chars_format::fixed, decimals);
    if (ec != std::errc()) {
        std::memcpy(text, "nan", 3);
        end = text + 3;
    }
    *end++ = letter;
    *end = '\0';
    const std::size_t length = static_cast<std::size_t>(end - text);
    const std::size_t n = length < size - 1 ? length : size - 1;
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

}  // namespace

// ---- Coordinate text ---------------------------------------------------

double ParseLatLon(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negate = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negate = text[i] == '-';
        ++i;
    }
    double value = 0.0;
    // Digits, a point and an exponent as the C library reads them; no hex
    // forms, no locale.  A sign after the one above is not a number.
    if (i < text.size() && text[i] != '+' && text[i] != '-') {
        const char* first = text.data() + i;
        const char* last = text.data() + text.size();
        double parsed = 0.0;
        auto [ptr, ec] = std::from_chars(first, last, parsed, std::chars_format::general);
        (void)ptr;
        if (ec == std::errc() && std::isfinite(parsed)) value = parsed;
    }
    if (negate) value = -value;
    if (text.find('W') != std::string_view::npos || text.find('S') != std::string_view::npos) {
        value = -value;
    }
    return value;
}

double ParseLatLon(const char* text) {
    if (!text) return 0.0;
    return ParseLatLon(std::string_view(text));
}

void FormatLatLon(double value, int kind, char* buffer, std::size_t bufferSize) {
    if (!buffer || bufferSize == 0) return;
    const bool positive = value >= 0.0;
    const double magnitude = std::fabs(value);
    switch (kind) {
    case 0: WriteCoordinate(magnitude, 2, positive ? 'N' : 'S', buffer, bufferSize); break;
    case 1: WriteCoordinate(magnitude, 2, positive ? 'E' : 'W', buffer, bufferSize); break;
    case 2: WriteCoordinate(magnitude, 1, positive ? 'E' : 'W', buffer, bufferSize); break;
    default: break;
    }
}

double DegMinToDegrees(double degMin) {
    double whole = 0.0;
    const double fraction = std::modf(degMin, &whole);
    return whole + fraction * 100.0 * (1.0 / 60.0);
}

// ---- Angles on the sphere ----------------------------------------------

double GreatCircleAngle(double longitude1, double longitude2, double latitude1, double latitude2) {
    const double lon1 = longitude1 * kDegToRad;
    const double lon2 = longitude2 * kDegToRad;
    const double lat1 = latitude1 * kDegToRad;
    const double lat2 = latitude2 * kDegToRad;
    const double c = std::sin(lat1) * std::sin(lat2) +
                     std::cos(lat1) * std::cos(lat2) * std::cos(lon1 - lon2);
    const double angle = std::acos(Clamp1(c)) * kRadToDeg;
    return angle == 0.0 ? kTinyAngle : angle;
}

double LongitudeDifference(double a, double b) {
    if (a < 0.0) a += 360.0;
    if (b < 0.0) b += 360.0;
    return a - b;
}

void Normalize360(double* angle) {
    if (!angle) return;
    if (*angle >= 360.0) *angle -= 360.0;
    if (*angle < 0.0) *angle += 360.0;
}

double Wavelength(double frequencyGHz) { return kSpeedOfLight_m_s / (frequencyGHz * 1e9); }

// ---- Look angles ---------------------------------------------------------

double ApparentElevation(double theta, double siteLatitude, double siteLongitude) {
    const double h = TopoHeightAt(static_cast<float>(siteLatitude), static_cast<float>(siteLongitude));
    auto refractiveIndex = [](double x_km) { return 1.0 + 0.000315 * std::exp(-0.1361 * x_km); };
    const double c = Clamp1((6378.14 / (6378.14 + h)) * refractiveIndex(0.0) / refractiveIndex(h));
    const double thetaM = -std::acos(c) * kRadToDeg;
    const double tauM = 1.0 / (1.314 + 0.6437 * thetaM + 0.02869 * thetaM * thetaM +
                               h * (0.2305 + 0.09428 * thetaM + 0.01096 * thetaM * thetaM) +
                               0.008583 * h * h);
    if (theta < thetaM - tauM) return -1.0;
    return theta + 1.0 / (1.728 + 0.5411 * theta + 0.03723 * theta * theta +
                          h * (0.1815 + 0.06272 * theta + 0.0138 * theta * theta) +
                          h * h * (0.01727 + 0.008288 * theta));
}

void GeoLookAngles(double siteLatitude, double siteLongitude, double satelliteLongitude,
                   double polarizationReference, double* magneticDeclination, double* slantRangeKm,
                   double* elevation, double* trueAzimuth, double* magneticAzimuth,
                   double* polarizationOffset) {
    const double K = kGeoToEarth;
    double phi = siteLatitude * kDegToRad;
    if (phi == 0.0) phi = kTinyAngle;
    double dl = LongitudeDifference(siteLongitude, satelliteLongitude) * kDegToRad;
    if (dl == 0.0) dl = kTinyAngle;

    const double cosPhi = std::cos(phi);
    const double cosDl = std::cos(dl);
    if (phi == kTinyAngle && dl == kTinyAngle) {
        // On the equator right under the satellite.
        Put(elevation, 90.0);
        Put(slantRangeKm, 35786.43);
    } else {
        const double freeSpace =
            std::atan((K * cosPhi * cosDl - 1.0) /
                      (K * std::sqrt(1.0 - cosPhi * cosPhi * cosDl * cosDl))) * kRadToDeg;
        Put(elevation, ApparentElevation(freeSpace, siteLatitude, siteLongitude));
        Put(slantRangeKm,
            0.001 * std::sqrt(kTwoRr_m2 * (1.0 - cosPhi * cosDl) + kGeoHeight_m * kGeoHeight_m));
    }

    double azimuth = std::atan(std::tan(dl) / std::sin(phi)) * kRadToDeg;
    if (siteLatitude >= 0.0) azimuth += 180.0;
    Normalize360(&azimuth);
    Put(trueAzimuth, azimuth);

    if (magneticDeclination || magneticAzimuth) {
        const double declination = MagneticDeclinationNow(siteLatitude, siteLongitude);
        double magnetic = azimuth - declination;
        Normalize360(&magnetic);
        Put(magneticDeclination, declination);
        Put(magneticAzimuth, magnetic);
    }

    const double beta = std::acos(Clamp1(cosDl * cosPhi));
    const double ratio = std::sin(beta) / (K - std::cos(beta));
    Put(polarizationOffset,
        std::atan(std::sqrt(1.0 + ratio * ratio) * std::sin(dl) / std::tan(phi)) * kRadToDeg -
            polarizationReference);
}

void LookAnglesToPoint(double siteLatitude, double siteLongitude, double satelliteLongitude,
                       double satelliteLatitude, double* elevation, double* azimuth) {
    const double dl = LongitudeDifference(siteLongitude, satelliteLongitude) * kDegToRad;
    const double phi = siteLatitude * kDegToRad;
    const double phis = satelliteLatitude * kDegToRad;

    const double cosGamma =
        Clamp1(std::sin(phi) * std::sin(phis) + std::cos(phi) * std::cos(phis) * std::cos(dl));
    double sinGamma = std::sqrt(1.0 - cosGamma * cosGamma);

    // tan(el) = (cos(gamma) - R/r) / sin(gamma): negative beyond the horizon,
    // where the arc-cosine form would mirror it to a positive value.
    const double freeSpace =
        std::atan2(cosGamma - kEarthRadius_m / kGeoRadius_m, sinGamma) * kRadToDeg;
    Put(elevation, ApparentElevation(freeSpace, siteLatitude, siteLongitude));

    if (sinGamma == 0.0) sinGamma = kTinyAngle;
    double az;
    // North-south component of the direction to the sub-satellite point.
    const double north = std::cos(phi) * std::sin(phis) - std::sin(phi) * std::cos(phis) * std::cos(dl);
    const bool pointTowardEquator = siteLatitude < 0.0 ? north >= 0.0 : north <= 0.0;
    if (pointTowardEquator || sinGamma == kTinyAngle) {
        const double s = Clamp1(std::cos(phis) * std::sin(dl) / sinGamma);
        const double a = std::asin(s) * kRadToDeg;
        az = siteLatitude < 0.0 ? 360.0 - a : a + 180.0;
    } else {
        // The point lies on the pole's side of the site (a site nearer the
        // equator than the orbit's inclination): the bearing turns north for a
        // northern site and south for a southern one.
        az = std::atan2(-std::cos(phis) * std::sin(dl), north) * kRadToDeg;
    }
    Normalize360(&az);
    Put(azimuth, az);
}

// ---- Elevation checks ------------------------------------------------------

bool CheckBelowHorizon(double elevation) {
    if (!(elevation > 0.0)) {
        ShowNotice({kElevationCaption, kBelowHorizonText, NoticeIcon::Exclamation, NoticeButtons::Ok});
        return false;
    }
    return true;
}

bool CheckLowElevation(double elevation) {
    if (elevation >= 5.0) return true;
    if (!(elevation >= 3.0)) {
        ShowNotice({kElevationCaption, kLowElevationErrorText, NoticeIcon::Exclamation, NoticeButtons::Ok});
        return false;
    }
    ShowNotice({kElevationCaption, kLowElevationWarningText, NoticeIcon::Exclamation, NoticeButtons::Ok});
    return true;
}

// ---- Polar mount, orbits ---------------------------------------------------

void PolarMountAngles(double latitude, double* declinationOffset, double* apexZenithAngle,
                      double* apexElevation, double* polarAxisAngle, double* polarElevation) {
    const double K = kGeoToEarth;
    const double a = std::fabs(latitude);
    double phi = a * kDegToRad;
    if (phi == 0.0) phi = kTinyAngle;
    const double cosPhi = std::cos(phi);
    const double sinPhi = std::sin(phi);
    const double d1 = std::atan(std::sqrt(K * K - cosPhi * cosPhi) / sinPhi) * kRadToDeg;
    const double d2 = std::atan((K - cosPhi) / sinPhi) * kRadToDeg;
    const double e = d1 - d2;
    const double offset = std::fabs(90.0 - d1);
    const double polarAxis = a + e;
    const double apexZenith = offset + polarAxis;
    Put(declinationOffset, offset);
    Put(polarAxisAngle, polarAxis);
    Put(polarElevation, 90.0 - polarAxis);
    Put(apexZenithAngle, apexZenith);
    Put(apexElevation, 90.0 - apexZenith);
}

double OrbitRangeDoppler(double heightKm, double elevation, double frequencyGHz,
                         double* speed, double* maxDopplerKHz, double* periodSeconds) {
    const double e = elevation * kDegToRad;
    const double rho = (heightKm * 1000.0 + kEarthRadius_m) / kEarthRadius_m;
    const double cosE = std::cos(e);
    // A height below the ground leaves no real range; keep it finite.
    const double under = rho * rho - cosE * cosE;
    const double d = (std::sqrt(under > 0.0 ? under : 0.0) - std::sin(e)) * kEarthRadius_m;
    const double r = std::sqrt(d * d + kEarthRadius_m * kEarthRadius_m -
                               12756280.0 * d * std::cos(e + kPi / 2.0));
    const double v = std::sqrt(kEarthMu_m3_s2 / r);
    Put(speed, v);
    // The satellite moves square to its orbit radius, not to the ground: the
    // line of sight leaves that radius at the nadir angle, whose sine is
    // R cos(el) / r, so at most v R cos(el) / r of the speed lies along it.
    // All of that does when the pass goes overhead (the track in the plane
    // of station, satellite and centre), which makes it the largest shift
    // seen at this elevation; the Earth's rotation is left out.
    const double lineOfSightSpeed = v * kEarthRadius_m * cosE / r;
    Put(maxDopplerKHz, 0.001 * lineOfSightSpeed * (frequencyGHz * 1e9) / kSpeedOfLight_m_s);
    Put(periodSeconds, 2.0 * kPi * r / v);
    return d;
}

// ---- Magnetic declination ----------------------------------------------------

namespace detail {
double DecimalYearOf(int year, int month, int day) {
    const bool leap = IsLeapYear(year);
    int dayOfYear = (month - 1) * 31 + day;
    if (month >= 3) dayOfYear -= 31 - (leap ? 29 : 28);
    if (month > 4) --dayOfYear;
    if (month > 6) --dayOfYear;
    if (month > 9) --dayOfYear;
    if (month > 11) --dayOfYear;
    const double daysInYear = (leap && month >= 3) ? 366.0 : 365.0;
    return year + dayOfYear / daysInYear;
}
}  // namespace detail

void SetDeclinationClock(UtcClock clock) {
    std::lock_guard<std::mutex> lock(g_clockMutex);
    g_clock = std::move(clock);
}

double MagneticDeclinationNow(double siteLatitude, double siteLongitude) {
    const std::time_t now = std::chrono::system_clock::to_time_t(NowUtc());
    std::tm utc{};
    gmtime_r(&now, &utc);
    double year = detail::DecimalYearOf(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);

    auto model = std::make_unique<TGeoMag>();
    if (year < model->epoch) year = model->epoch;
    return model->Evaluate(year, siteLatitude, siteLongitude, 0.0);
}

// ---- Truncation and rounding -------------------------------------------------

double TruncateToDecimals(double x, int decimals) {
    const double p = std::pow(10.0, decimals);
    return std::trunc(x * p) / p;
}

double RoundToDecimals(double x, int decimals) {
    const double p = std::pow(10.0, decimals);
    return std::trunc(x * p + 0.5) / p;
}

double RoundToDecimalsInt(double x, int decimals) {
    const double p = std::pow(10.0, decimals);
    return std::trunc(x * p + 0.5) / p;
}
