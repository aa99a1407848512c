#include "pointing/sun/sun.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDegToRad = kPi / 180.0;

// Day number of 1900 January 0.5 on the Julian-date scale.
constexpr double kJulianDateOf1900Epoch = 2415020.0;
// Sidereal hours gained in one solar day (24 x 0.002737908).
constexpr double kSiderealGainPerDayHours = 0.0657098244;
constexpr double kSiderealPerSolar = 1.002737908;
constexpr double kHoursPerCentury = 876600.0;   // 24 x 36525
constexpr double kAberrationDeg = 0.00569;
constexpr double kKeplerTolerance = 0.000001;
// The refraction model's fixed atmosphere.
constexpr double kPressureMbar = 1000.0;
constexpr double kTemperatureK = 273.0 + 15.0;
constexpr double kRefractionHighLimitRad = 0.2617993877991494;    // 15 degrees
constexpr double kRefractionLowLimitRad = -0.08726646259971647;   // -5 degrees

// x minus x truncated toward zero.
double Frac(double x) { return x - std::trunc(x); }

// Into 0..24 by whole days; 24 itself stays.
double WrapHours(double h)
{
    while (h < 0.0) h += 24.0;
    while (h > 24.0) h -= 24.0;
    return h;
}

// Into 0..2 pi by whole turns; 2 pi itself stays.
double WrapRadians(double a)
{
    while (a < 0.0) a += kTwoPi;
    while (a > kTwoPi) a -= kTwoPi;
    return a;
}

// Planetary and lunar perturbations of the sun's longitude (degrees) at T
// centuries from 1900 January 0.5.
double PerturbationsDeg(double T)
{
    const double p1 = (153.23 + 360.0 * Frac(62.55209472 * T)) * kDegToRad;
    const double p2 = (216.57 + 360.0 * Frac(125.1041894 * T)) * kDegToRad;
    const double p3 = (312.69 + 360.0 * Frac(91.56766028 * T)) * kDegToRad;
    const double p4 = (350.74 - 0.00144 * T * T + 360.0 * Frac(1236.853095 * T)) * kDegToRad;
    const double p5 = (231.19 + 20.2 * T) * kDegToRad;
    return 0.00134 * std::cos(p1) + 0.00154 * std::cos(p2) + 0.002 * std::cos(p3) + 0.00179 * std::sin(p4) +
           0.00178 * std::sin(p5);
}

}  // namespace

TSun::TSun(double latitude, double longitude) : Latitude(latitude), Longitude(longitude) {}

double TSun::JulianDay(double day, int month, int year) const
{
    double y = year < 0 ? year + 1 : year;
    double m = month;
    if (m < 3) {
        m += 12;
        y -= 1;
    }
    const bool julianCalendar = year < 1582 || (year == 1582 && (month < 10 || (month == 10 && day < 15)));
    double b = 0.0;
    if (!julianCalendar) {
        const double a = std::trunc(y / 100.0);
        b = 2.0 - a + std::trunc(a / 4.0);
    }
    const double k = y < 0 ? std::trunc(365.25 * y - 0.75) : std::trunc(365.25 * y);
    const double d = std::trunc(30.6001 * (m + 1.0));
    return b + k + d + day - 694025.0 - 0.5;
}

void TSun::CalendarDate(double dayNumber, double& day, int& month, int& year) const
{
    const double x = dayNumber + 0.5;
    double i = std::floor(x);
    double f = x - i;
    if (f == 1.0) {
        f = 0.0;
        i += 1.0;
    }
    if (i > -115860.0) {
        const double a = std::floor(i / 36524.25 + 0.99835726) + 14.0;
        i = i + 1.0 + a - std::floor(a / 4.0);
    }
    const double b = std::floor(i / 365.25 + 0.802601);
    const double k = i - std::floor(365.25 * b + 0.750001) + 416.0;
    const double g = std::floor(k / 30.6001);
    month = static_cast<int>(g < 13.5 ? g - 1.0 : g - 13.0);
    day = k - std::floor(30.6001 * g) + f;
    year = static_cast<int>(month < 2.5 ? b + 1900.0 : b + 1899.0);
    if (year < 1) year -= 1;
}

double TSun::SiderealTime(double localTime, int year, double zone, int daylight)
{
    const double d0 = std::floor(DayNumber - 0.5) + 0.5;
    const double t = d0 / 36525.0 - 1.0;
    const double r0 = ((0.00002586222 - 0.000000001722 * t) * t + 0.0513366) * t;
    const double r1 = 6.697374558 + 2400.0 * (t - (year - 2000) / 100.0);
    double t0 = WrapHours(r0 + r1);

    double ut = localTime - daylight - zone;
    int shift = 0;
    while (ut < 0.0) {
        ut += 24.0;
        --shift;
    }
    while (ut > 24.0) {
        ut -= 24.0;
        ++shift;
    }
    UniversalTime = ut;
    utDayShift_ = shift;
    t0 += shift * kSiderealGainPerDayHours;

    const double gst = WrapHours(ut * kSiderealPerSolar + t0);
    return WrapHours(gst + Longitude / 15.0);
}

void TSun::MeanElements(double& longitude) const
{
    const double T = InstantDay() / 36525.0 + UniversalTime / kHoursPerCentury;
    const double meanLongitudeDeg = 279.69668 + 360.0 * Frac(100.0021359 * T) + 0.0003025 * T * T;
    const double meanAnomalyDeg = 358.47583 + 360.0 * Frac(99.99736042 * T) - (0.00015 + 0.0000033 * T) * T * T;
    const double e = 0.01675104 - 0.0000418 * T - 0.000000126 * T * T;
    double trueAnomaly = 0.0;
    double eccentricAnomaly = 0.0;
    SolveKepler(meanAnomalyDeg * kDegToRad, e, trueAnomaly, eccentricAnomaly);
    const double h = PerturbationsDeg(T);
    longitude = WrapRadians((meanLongitudeDeg - meanAnomalyDeg + h) * kDegToRad + trueAnomaly);
}

void TSun::SolveKepler(double meanAnomaly, double eccentricity, double& trueAnomaly, double& eccentricAnomaly)
{
    const double m = meanAnomaly - kTwoPi * std::trunc(meanAnomaly / kTwoPi);
    double e = m;
    for (;;) {
        const double delta = e - eccentricity * std::sin(e) - m;
        if (std::fabs(delta) < kKeplerTolerance) break;
        e -= delta / (1.0 - eccentricity * std::cos(e));
    }
    eccentricAnomaly = e;
    trueAnomaly = 2.0 * std::atan(std::sqrt((1.0 + eccentricity) / (1.0 - eccentricity)) * std::tan(e / 2.0));
}

void TSun::Nutation(double& obliquityNutation, double& longitudeNutation) const
{
    const double T = InstantDay() / 36525.0;
    const double T2 = T * T;
    const double l = (279.6967 + 360.0 * Frac(100.0021358 * T) + 0.000303 * T2) * kDegToRad;
    const double lm = (270.4342 + 360.0 * Frac(1336.855231 * T) - 0.001133 * T2) * kDegToRad;
    const double m = (358.4758 + 360.0 * Frac(99.99736056 * T) - 0.00015 * T2) * kDegToRad;
    const double mm = (296.1046 + 360.0 * Frac(1325.552359 * T) + 0.009192 * T2) * kDegToRad;
    const double n = (259.1833 - 360.0 * Frac(5.372616667 * T) + 0.002078 * T2) * kDegToRad;
    const double l2 = 2.0 * l, lm2 = 2.0 * lm, n2 = 2.0 * n;

    const double dpsiArcsec = (-17.2327 - 0.01737 * T) * std::sin(n) + (-1.2729 - 0.00013 * T) * std::sin(l2) +
                              0.2088 * std::sin(n2) - 0.2037 * std::sin(lm2) + (0.1261 - 0.00031 * T) * std::sin(m) +
                              0.0675 * std::sin(mm) - (0.0497 - 0.00012 * T) * std::sin(l2 + m) -
                              0.0342 * std::sin(lm2 - n) - 0.0261 * std::sin(lm2 + mm) + 0.0214 * std::sin(l2 - m) -
                              0.0149 * std::sin(l2 - lm2 + mm) + 0.0124 * std::sin(l2 - n) +
                              0.0114 * std::sin(lm2 - mm);
    const double depsArcsec = (9.21 + 0.00091 * T) * std::cos(n) + (0.5522 - 0.00029 * T) * std::cos(l2) -
                              0.0904 * std::cos(n2) + 0.0884 * std::cos(lm2) + 0.0216 * std::cos(l2 + m) +
                              0.0183 * std::cos(lm2 - n) + 0.0113 * std::cos(lm2 + mm) - 0.0093 * std::cos(l2 - m) -
                              0.0066 * std::cos(l2 - n);
    longitudeNutation = dpsiArcsec / 3600.0;
    obliquityNutation = depsArcsec / 3600.0;
}

void TSun::Obliquity(double& obliquity) const
{
    const double T = InstantDay() / 36525.0 - 1.0;
    obliquity = 23.43929167 - (46.815 * T + 0.0006 * T * T - 0.00181 * T * T * T) / 3600.0 + ObliquityNutation;
}

void TSun::EclipticToEquatorial(int direction, double longitude, double latitude, double& rightAscension,
                                double& declination) const
{
    double obliquityDeg = 0.0;
    Obliquity(obliquityDeg);
    const double eps = obliquityDeg * kDegToRad;
    const double s = direction;
    double cy = std::cos(latitude);
    if (std::fabs(cy) < 1e-20) cy = 1e-20;
    const double sinDec = std::sin(latitude) * std::cos(eps) - cy * std::sin(eps) * std::sin(longitude) * s;
    declination = std::asin(sinDec);
    const double a = std::sin(longitude) * std::cos(eps) + std::sin(latitude) / cy * std::sin(eps) * s;
    double ra = std::atan(a / std::cos(longitude));
    if (std::cos(longitude) < 0.0) ra += kPi;
    rightAscension = WrapRadians(ra);
}

void TSun::EquatorialToHorizontal(double hourAngle, double declination, double& azimuth, double& elevation) const
{
    const double phi = Latitude * kDegToRad;
    const double sinEl =
        std::sin(declination) * std::sin(phi) + std::cos(declination) * std::cos(phi) * std::cos(hourAngle);
    elevation = std::asin(sinEl);
    double divisor = std::cos(elevation) * std::cos(phi);
    if (divisor < 1e-12) divisor = 1e-12;
    double cosAz = (std::sin(declination) - std::sin(phi) * sinEl) / divisor;
    if (cosAz > 1.0) cosAz = 1.0;
    if (cosAz < -1.0) cosAz = -1.0;
    azimuth = std::acos(cosAz);
    if (std::sin(hourAngle) > 0.0) azimuth = kTwoPi - azimuth;
}

double TSun::Refraction(double elevation)
{
    double r = 0.0;
    if (elevation >= kRefractionHighLimitRad) {
        r = 0.00007888888 * kPressureMbar / (std::tan(elevation) * kTemperatureK);
    } else if (elevation > kRefractionLowLimitRad) {
        const double y = elevation / kDegToRad;
        r = kPressureMbar * (0.1594 + 0.0196 * y + 0.00002 * y * y) /
            (kTemperatureK * (1.0 + 0.505 * y + 0.0845 * y * y)) * kDegToRad;
    }
    return elevation + r;
}

void TSun::PositionAt(double localSiderealTime, bool nutation)
{
    MeanElements(EclipticLongitude);
    if (nutation) Nutation(ObliquityNutation, LongitudeNutation);
    const double apparentDeg = EclipticLongitude / kDegToRad + LongitudeNutation - kAberrationDeg;
    EclipticToEquatorial(-1, apparentDeg * kDegToRad, 0.0, RightAscension, Declination);
    double hourAngle = localSiderealTime - RightAscension * 12.0 / kPi;
    if (hourAngle < 0.0) hourAngle += 24.0;
    else if (hourAngle > 24.0) hourAngle -= 24.0;
    EquatorialToHorizontal(hourAngle * 15.0 * kDegToRad, Declination, Azimuth, Elevation);
    Elevation = Refraction(Elevation);
}

void TSun::HoursToHms(bool wholeMinutes, double hours, int& h, int& m, int& s, int& negative)
{
    negative = 0;
    double x = hours;
    if (x < 0.0) {
        negative = 1;
        x = -x;
    }
    h = static_cast<int>(std::trunc(x));
    const double minutes = Frac(x) * 60.0;
    m = static_cast<int>(std::trunc(minutes));
    s = static_cast<int>(std::trunc((minutes - m) * 60.0 + 0.5));
    if (s == 60) {
        m += 1;
        if (m == 60) {
            h += 1;
            m = 0;
        }
        s = 0;
    }
    if (wholeMinutes && s >= 30) {
        m += 1;
        if (m == 60) {
            h += 1;
            m = 0;
        }
    }
    if (h == 0 && m == 0 && s == 0) negative = 0;
}

void TSun::HmsToHours(double degrees, double minutes, double seconds, double& value)
{
    double sign = 1.0;
    if (degrees < 0.0) {
        sign = -1.0;
        degrees = -degrees;
    } else if (minutes < 0.0) {
        sign = -1.0;
        minutes = -minutes;
    } else if (seconds < 0.0) {
        sign = -1.0;
        seconds = -seconds;
    }
    value = ((seconds / 60.0 + minutes) / 60.0 + degrees) * sign;
}

double TSun::FindEvent(int mode, double start, double end, double tolerance, double targetAzimuth, int year,
                       double zone, int direction)
{
    const double intervalStart = start, intervalEnd = end;
    double width = std::fabs(end - start);
    double mid = start;
    double azDeg = 0.0;
    bool computed = false;
    while (width > tolerance) {
        mid = (start + end) / 2.0;
        width /= 2.0;
        const double lst = SiderealTime(mid, year, zone, 0);
        PositionAt(lst, true);
        azDeg = Azimuth / kDegToRad;
        computed = true;
        if (direction >= 0) {
            if (azDeg > targetAzimuth) end = mid;
            else start = mid;
        } else {
            if (azDeg > 180.0) azDeg -= 360.0;
            if (targetAzimuth > 180.0) targetAzimuth -= 360.0;
            if (azDeg < targetAzimuth) end = mid;
            else start = mid;
        }
    }
    if (mode != 0) return mid;
    // A crossing within 0.1 h of an end of the interval means the target lies
    // outside the interval's azimuths.  (The ends as narrowed by the loop
    // always lie within the tolerance of the result.)
    if (!computed || !(intervalStart + 0.1 < mid && intervalEnd - 0.1 > mid)) return orbiscope::sun::kNoEvent;
    if (direction >= 0) {
        if (azDeg > 270.0 || azDeg < 90.0) return -mid;
    } else {
        if (azDeg > 180.0) azDeg -= 360.0;
        if (!(-90.0 < azDeg && azDeg < 90.0)) return -mid;
    }
    return mid;
}
