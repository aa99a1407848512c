// TSun: where the sun stands in the sky of one site.
//
// Low-precision solar theory of the calculator era, referred to the epoch
// 1900 January 0.5: Newcomb mean elements, Kepler's equation, five planetary
// and lunar perturbation terms, a 13-term nutation series, aberration, the
// IAU 1976 obliquity and a fixed-atmosphere refraction (1000 mbar, 15 C).
// Reproduces published worked examples of this family to 0.01 degree and the
// 2025 equinox and solstice instants to a few minutes (sun_test.cpp).
//
// Angles at the interface are degrees or hours as each operation states;
// inside, radians.  The object holds no resources.
#pragma once

namespace orbiscope::sun {
// "Not found" of TSun::FindEvent: far outside every time of day and its
// negation, so no reader can take it for a crossing time.
inline constexpr double kNoEvent = -1000.0;
}  // namespace orbiscope::sun

class TSun {
public:
    TSun(double latitude, double longitude);
    virtual ~TSun() = default;

    void SetJulianDay(double dayNumber) { DayNumber = dayNumber; }
    // Days since 1900 January 0.5 (Julian date - 2415020) of a calendar date;
    // `day` may carry a fraction.  Gregorian from 1582 October 15 on.
    double JulianDay(double day, int month, int year) const;
    void CalendarDate(double dayNumber, double& day, int& month, int& year) const;

    // Local sidereal time (hours, 0..24) at a local time (hours) of the date
    // set by SetJulianDay; zone = local standard time - UT (hours),
    // daylight = hours of daylight saving.  Stores UT (0..24) and remembers
    // on which day it falls, so that the next PositionAt computes the sun at
    // the true instant even when the local time lies on another UT date.
    double SiderealTime(double localTime, int year, double zone, int daylight);
    // Fills the ecliptic longitude, right ascension, declination, azimuth
    // and elevation for the instant of the last SiderealTime.  Nutation is
    // recomputed only when `nutation` is set (the first call must set it).
    void PositionAt(double localSiderealTime, bool nutation);

    void MeanElements(double& longitude) const;
    static void SolveKepler(double meanAnomaly, double eccentricity, double& trueAnomaly, double& eccentricAnomaly);
    void Nutation(double& obliquityNutation, double& longitudeNutation) const;
    void Obliquity(double& obliquity) const;
    void EclipticToEquatorial(int direction, double longitude, double latitude, double& rightAscension,
                              double& declination) const;
    void EquatorialToHorizontal(double hourAngle, double declination, double& azimuth, double& elevation) const;
    static double Refraction(double elevation);

    static void HoursToHms(bool wholeMinutes, double hours, int& h, int& m, int& s, int& negative);
    static void HmsToHours(double degrees, double minutes, double seconds, double& value);

    // Bisection over local time (hours) for the moment the sun's azimuth
    // reaches `targetAzimuth` (degrees).  Mode 0 answers
    // orbiscope::sun::kNoEvent when the crossing is not inside the interval,
    // and otherwise the time, negated by the meridian-side rule.
    double FindEvent(int mode, double start, double end, double tolerance, double targetAzimuth, int year,
                     double zone, int direction);

    // Fields, in the order of the model (angles in radians unless stated).
    double Latitude;                 // site, degrees north
    double Longitude;                // site, degrees east
    double DayNumber = 0;            // days since 1900 January 0.5 of the date at 0 h
    double UniversalTime = 0;        // hours, 0..24
    double EclipticLongitude = 0;    // geometric, 0..2 pi
    double LongitudeNutation = 0;    // degrees
    double ObliquityNutation = 0;    // degrees
    double RightAscension = 0;       // 0..2 pi
    double Declination = 0;
    double Azimuth = 0;              // from true north through east, 0..2 pi
    double Elevation = 0;            // with refraction

private:
    // Day number of the UT date of the last SiderealTime (the set date plus
    // the whole days its UT wrapped by).
    double InstantDay() const { return DayNumber + utDayShift_; }
    int utDayShift_ = 0;
};
