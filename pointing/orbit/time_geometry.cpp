// Time and observer geometry around the orbit model: UTC instants, Julian
// dates, sidereal time, the observer on the WGS-72 ellipsoid, look angles and
// the sub-satellite point.
#include "pointing/orbit/observer.h"
#include "pointing/orbit/sgp4sdp4.h"

#include <algorithm>
#include <cmath>

using namespace orbit_constants;

namespace {

// Held offset of the current instant, s.
constexpr std::int32_t kMaxOffsetSeconds = 86400;
constexpr std::int64_t kSecondsPerDay = 86400;
// Julian date of 2000 January 1.5 (J2000) and of 1950 January 0.0.
constexpr double kJ2000 = 2451545.0;
constexpr double kJd1950Jan0 = 2433281.5;
// IAU 1982 mean sidereal time at 0 h UT, s, and the sidereal seconds per UT
// second x 86400.
constexpr double kGmst0 = 24110.54841;
constexpr double kGmst1 = 8640184.812866;
constexpr double kGmst2 = 0.093104;
constexpr double kGmst3 = -6.2e-6;
constexpr double kSiderealSecondsPerDay = 86636.555366976;
// The report's linear sidereal angle from 1950: rad and rad per day.
constexpr double kTheta1950 = 1.72944494;
constexpr double kThetaRate1950 = 6.3003880987;
// The geodetic latitude iteration: tolerance (rad) and cap.
constexpr double kLatitudeTolerance = 1e-10;
constexpr int kLatitudeIterations = 50;
// Refraction of the satellite elevation (arcmin from degrees).
constexpr double kRefractionA = 1.02;
constexpr double kRefractionB = 10.3;
constexpr double kRefractionC = 5.11;

// Days since 1970-01-01 to a Gregorian calendar date: H. Hinnant's
// civil_from_days ("chrono-Compatible Low-Level Date Algorithms").
void CivilFromDays(std::int64_t days, std::int32_t& year, std::int32_t& month, std::int32_t& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<std::int32_t>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<std::int32_t>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<std::int32_t>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

// Year and (1-based, fractional) day of an element-set epoch.
struct EpochDate {
    double year;
    double day;
};

EpochDate SplitEpoch(double epoch) {
    const double scaled = epoch / 1000.0;
    const double yy = std::trunc(scaled);
    const double day = (scaled - yy) * 1000.0;
    return {yy >= 57.0 ? yy + 1900.0 : yy + 2000.0, day};
}

}  // namespace

void TSgp4Sdp4::CurrentUtc(UtcDateTime& out, std::int32_t offsetSeconds, std::time_t now) {
    const std::int32_t offset = std::clamp(offsetSeconds, -kMaxOffsetSeconds, kMaxOffsetSeconds);
    const std::int64_t t = static_cast<std::int64_t>(now) + offset;
    std::int64_t days = t / kSecondsPerDay;
    std::int64_t seconds = t % kSecondsPerDay;
    if (seconds < 0) {
        seconds += kSecondsPerDay;
        days -= 1;
    }
    CivilFromDays(days, out.year, out.month, out.day);
    out.hour = static_cast<std::int32_t>(seconds / 3600);
    out.minute = static_cast<std::int32_t>(seconds / 60 % 60);
    out.second = static_cast<std::int32_t>(seconds % 60);
    out.weekday = static_cast<std::int32_t>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    out.dayOfYear = DayOfYear(out.year, out.month, out.day) - 1;
    out.daylight = 0;
}

double TSgp4Sdp4::JulianDateOfYear(double year) {
    const double y = year - 1.0;
    const double a = std::trunc(y / 100.0);
    const double b = 2.0 - a + std::trunc(a / 4.0);
    return std::trunc(365.25 * y) + std::trunc(30.6001 * 14.0) + 1720994.5 + b;
}

double TSgp4Sdp4::JulianDateOfEpoch(double epoch) {
    const EpochDate date = SplitEpoch(epoch);
    return JulianDateOfYear(date.year) + date.day;
}

std::int32_t TSgp4Sdp4::DayOfYear(std::int32_t year, std::int32_t month, std::int32_t day) {
    static constexpr std::int32_t kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const std::int32_t m = std::clamp(month, 1, 12);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDaysBefore[m - 1] + day + (leap && m > 2 ? 1 : 0);
}

double TSgp4Sdp4::FractionOfDay(double hour, double minute, double second) {
    return (hour + (minute + second / 60.0) / 60.0) / 24.0;
}

double TSgp4Sdp4::JulianDateOfTime(const UtcDateTime& time) {
    return JulianDateOfYear(time.year) + DayOfYear(time.year, time.month, time.day) +
           FractionOfDay(time.hour, time.minute, time.second);
}

double TSgp4Sdp4::SiderealTime(double julianDate) {
    const double ut = (julianDate + 0.5) - std::trunc(julianDate + 0.5);
    const double jd0 = julianDate - ut;
    const double t = (jd0 - kJ2000) / 36525.0;
    const double gmst0 = kGmst0 + t * (kGmst1 + t * (kGmst2 + kGmst3 * t));
    const double gmst = Modulus(gmst0 + kSiderealSecondsPerDay * ut, 86400.0);
    return kTwoPi * gmst / 86400.0;
}

double TSgp4Sdp4::SiderealTimeEpoch(double epoch, double& daysSince1950) {
    const EpochDate date = SplitEpoch(epoch);
    const double wholeDay = std::trunc(date.day);
    const double ut = date.day - wholeDay;
    const double jd = JulianDateOfYear(date.year) + wholeDay;
    daysSince1950 = jd - kJd1950Jan0 + ut;
    return FMod2p(kTheta1950 + kThetaRate1950 * daysSince1950);
}

double TSgp4Sdp4::SiderealTimeEpoch(double epoch) {
    if (current_ == nullptr) {
        double unused = 0;
        return SiderealTimeEpoch(epoch, unused);
    }
    return SiderealTimeEpoch(epoch, current_->elements.daysSince1950);
}

ObserverState ObserverAt(const GeodeticPos& site, double siderealAngle) {
    ObserverState o;
    o.site = site;
    o.site.theta = TSgp4Sdp4::FMod2p(siderealAngle + site.longitude);
    o.sinLat = std::sin(site.latitude);
    o.cosLat = std::cos(site.latitude);
    o.sinTheta = std::sin(o.site.theta);
    o.cosTheta = std::cos(o.site.theta);
    const double c = 1.0 / std::sqrt(1.0 - kEccentricitySquared * o.sinLat * o.sinLat);
    const double sq = (1.0 - kFlattening) * (1.0 - kFlattening) * c;
    const double achcp = (kEarthRadiusKm * c + site.altitude) * o.cosLat;
    o.position = {achcp * o.cosTheta, achcp * o.sinTheta, (kEarthRadiusKm * sq + site.altitude) * o.sinLat, 0.0};
    o.velocity = {-kEarthRotationRadPerS * o.position.y, kEarthRotationRadPerS * o.position.x, 0.0, 0.0};
    TSgp4Sdp4::Magnitude(o.position);
    TSgp4Sdp4::Magnitude(o.velocity);
    return o;
}

LookAngleSet LookAnglesFrom(const ObserverState& o, const EciVector& position, const EciVector& velocity) {
    EciVector range{position.x - o.position.x, position.y - o.position.y, position.z - o.position.z, 0.0};
    const EciVector rate{velocity.x - o.velocity.x, velocity.y - o.velocity.y, velocity.z - o.velocity.z, 0.0};
    TSgp4Sdp4::Magnitude(range);
    const double south = o.sinLat * o.cosTheta * range.x + o.sinLat * o.sinTheta * range.y - o.cosLat * range.z;
    const double east = -o.sinTheta * range.x + o.cosTheta * range.y;
    const double zenith = o.cosLat * o.cosTheta * range.x + o.cosLat * o.sinTheta * range.y + o.sinLat * range.z;

    LookAngleSet out;
    if (south != 0.0) {
        out.azimuth = std::atan(-east / south);
        if (south > 0.0) out.azimuth += kPi;
        if (out.azimuth < 0.0) out.azimuth += kTwoPi;
    } else {
        // Due east or west, where -east / south would take the sign of a
        // zero; straight overhead the azimuth is undefined: call it north.
        out.azimuth = east > 0.0 ? kPi / 2.0 : (east < 0.0 ? 3.0 * kPi / 2.0 : 0.0);
    }
    out.elevation = std::asin(zenith / range.w);
    out.range = range.w;
    out.rangeRate = TSgp4Sdp4::Dot(range, rate) / range.w;

    const double h = out.elevation * kRadToDeg;
    const double corrected = h + kRefractionA / std::tan((h + kRefractionB / (h + kRefractionC)) * kDegToRad) / 60.0;
    if (corrected >= 0.0 && std::isfinite(corrected)) out.elevation = corrected * kDegToRad;
    return out;
}

GeodeticPos SubSatellitePoint(const EciVector& position, double siderealAngle) {
    GeodeticPos out;
    out.theta = TSgp4Sdp4::ArcTan2(position.y, position.x);
    out.longitude = TSgp4Sdp4::FMod2p(out.theta - siderealAngle);
    // The geodetic latitude phi is the fixed point of
    //   tan phi = (z + a e^2 N(phi) sin phi) / r,  N = 1 / sqrt(1 - e^2 sin^2 phi),
    // iterated from the geocentric latitude.  Each step is carried on the
    // numerator n = r tan phi, where a e^2 N sin phi = a e^2 n / sqrt(r^2 +
    // (1 - e^2) n^2): the same iterates as stepping the angle with sine and
    // arc tangent, without either, and the same stop (the step in phi under
    // the tolerance: tan(dphi) = r dn / (r^2 + n0 n1)).  The altitude
    // r / cos phi - a N is sqrt(r^2 + n^2) - a N, which also holds over a
    // pole, where r is 0.
    const double z = position.z;
    const double r = std::sqrt(position.x * position.x + position.y * position.y);
    const double r2 = r * r;
    constexpr double kOneMinusE2 = 1.0 - kEccentricitySquared;
    constexpr double kAe2 = kEarthRadiusKm * kEccentricitySquared;
    double n = z;
    double from = z;  // the numerator the last step started from
    for (int i = 0; i < kLatitudeIterations; ++i) {
        const double next = z + kAe2 * n / std::sqrt(r2 + kOneMinusE2 * n * n);
        const double step = std::fabs(next - n) * r;
        const double scale = r2 + n * next;
        from = n;
        n = next;
        if (step < kLatitudeTolerance * scale) break;
    }
    // a N at the last step's starting latitude, as the step itself used: the
    // altitude then carries the step's own error in both terms, which cancel.
    const double radiusOfCurvature =
        kEarthRadiusKm * std::sqrt((r2 + from * from) / (r2 + kOneMinusE2 * from * from));
    out.latitude = TSgp4Sdp4::ArcTan2(n, r);
    out.altitude = std::sqrt(r2 + n * n) - radiusOfCurvature;
    return out;
}

void TSgp4Sdp4::ObserverPosVel(double julianDate, GeodeticPos& site, EciVector& position, EciVector& velocity) {
    const ObserverState o = ObserverAt(site, SiderealTime(julianDate));
    site.theta = o.site.theta;
    position = o.position;
    velocity = o.velocity;
}

void TSgp4Sdp4::LookAngles(const EciVector& position, const EciVector& velocity, GeodeticPos& site,
                           double julianDate, LookAngleSet& out) {
    const ObserverState o = ObserverAt(site, SiderealTime(julianDate));
    site.theta = o.site.theta;
    out = LookAnglesFrom(o, position, velocity);
}

void TSgp4Sdp4::SatLatLonAlt(const EciVector& position, double julianDate, GeodeticPos& out) {
    out = SubSatellitePoint(position, SiderealTime(julianDate));
}

double TSgp4Sdp4::ArcTan2(double sine, double cosine) {
    if (cosine == 0.0) return sine > 0.0 ? kPi / 2.0 : 3.0 * kPi / 2.0;
    if (cosine < 0.0) return std::atan(sine / cosine) + kPi;
    return sine > 0.0 ? std::atan(sine / cosine) : std::atan(sine / cosine) + kTwoPi;
}

double TSgp4Sdp4::Modulus(double a, double b) {
    double result = a - std::trunc(a / b) * b;
    if (result < 0.0) result += b;
    return result;
}

double TSgp4Sdp4::FMod2p(double x) { return Modulus(x, kTwoPi); }

double TSgp4Sdp4::Dot(const EciVector& a, const EciVector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

void TSgp4Sdp4::Magnitude(EciVector& v) { v.w = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
