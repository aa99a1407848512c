// The NORAD general-perturbation models of Spacetrack Report No. 3 (Hoots and
// Roehrich, 1980): SGP4 for near-earth orbits and SDP4, SGP4 with the
// report's lunar-solar and resonance terms, for orbits of 225 minutes or more.
// WGS-72 constants; double precision; Earth radii and minutes inside.
//
// Reproduces the report's printed sample cases (88888 near-earth, 11801
// deep-space half-day) to 3e-7 of the vector's size at epoch and 2e-6 over
// the day (sgp4_reference_test.cpp): the printed digits carry the report's
// single-precision arithmetic, which drifts by that much, so no closer match
// means anything.  Every set of the real element files propagates 10 days
// either side of its epoch to a finite state or a reported decay
// (real_sets_test.cpp).
//
// One object holds a whole element file (any number of sets) and serves a
// positions window: ConvertTleEntry makes one set the current element block,
// Propagate moves it to an instant.  The quantities the models compute once
// per set, and the deep-space resonance integrator, are kept per set: they
// depend only on the elements, so every result is what a fresh
// initialisation would give, whatever the order of sets and times.
//
// Beyond the report the model refuses what would divide by zero or never end:
// elements out of range (eccentricity outside 0 to 1, inclination outside 0 to
// 180 degrees or exactly 180, mean motion not positive, fields that are not
// finite) give OrbitStatus::BadElements; an orbit that has come down at the
// time asked (semi-major axis, eccentricity or radius no longer an orbit)
// gives OrbitStatus::Decayed; a state that is not finite gives BadElements.
// Every iteration has a cap.
#pragma once

#include "pointing/orbit/orbit_terms.h"
#include "pointing/orbit/orbit_types.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <vector>

// The element block: one set converted to the model's units.
struct TleElements {
    std::int32_t initialise = 0;  // set by every conversion
    std::int32_t deepSpace = 0;   // 1 when the period is 225 minutes or more
    double meanAnomaly = 0;       // rad
    double rightAscension = 0;    // of the ascending node, rad
    double argumentOfPerigee = 0; // rad
    double eccentricity = 0;
    double inclination = 0;       // rad
    double meanMotion = 0;        // rad/min
    double meanMotionDot2 = 0;    // first derivative / 2, rad/min^2
    double meanMotionDdot6 = 0;   // second derivative / 6, rad/min^3
    double bstar = 0;             // per Earth radius
    double epoch = 0;             // YYDDD.DDDDDDDD
    double daysSince1950 = 0;     // of the epoch, from 1950 January 0.0 UT
};

class TSgp4Sdp4 {
public:
    TSgp4Sdp4();

    // ---- the element table -------------------------------------------------
    // Replaces the table (any number of sets, in file order).
    void SetEntries(std::vector<TleEntry> entries);
    const std::vector<TleEntry>& Entries() const { return entries_; }
    std::size_t EntryCount() const { return entries_.size(); }

    // ---- element sets --------------------------------------------------------
    // Makes entry `index` the current element block.  With `check` set, an
    // entry that fails TlePairWellFormed gives false and changes nothing; so
    // does an index past the table.  Otherwise true, even for elements the
    // model cannot use (ElementStatus then says so).
    bool ConvertTleEntry(std::size_t index, bool check);

    const TleElements& Elements() const;
    double EpochJulianDate() const;
    std::int32_t CatalogueNumber() const;
    std::int32_t ElementSetNumber() const;
    // BadElements when the current elements are out of the model's range.
    OrbitStatus ElementStatus() const;

    // The number in the 1-based columns first..last of the line (blanks
    // before it skipped); 0 when there is none.  C locale.
    static double TleField(const char* line, int first, int last);

    // ---- propagation ---------------------------------------------------------
    // Position (Earth radii) and velocity (Earth radii per minute) of the
    // current set at a Julian date.
    OrbitStatus Propagate(double julianDate, EciVector& position, EciVector& velocity);
    // The same at t minutes since epoch, by SGP4 or SDP4 as the set needs.
    OrbitStatus PropagateMinutes(double t, EciVector& position, EciVector& velocity);
    OrbitStatus Sgp4(double t, std::int32_t initialise, EciVector& position, EciVector& velocity);
    OrbitStatus Sdp4(double t, std::int32_t initialise, EciVector& position, EciVector& velocity);
    // Earth radii to km and Earth radii per minute to km/s; sets both w.
    static void ConvertSatState(EciVector& position, EciVector& velocity);

    // ---- time and observer geometry -------------------------------------------
    // The UTC instant `now` (seconds since 1970) shifted by the offset, which
    // is held to +-86400 s, broken down.
    static void CurrentUtc(UtcDateTime& out, std::int32_t offsetSeconds, std::time_t now);
    // Julian date of 0.0 January of the (Gregorian) year.
    static double JulianDateOfYear(double year);
    // Julian date of an element-set epoch YYDDD.DDDDDDDD (YY 57-99 is 19YY).
    static double JulianDateOfEpoch(double epoch);
    static std::int32_t DayOfYear(std::int32_t year, std::int32_t month, std::int32_t day);
    static double FractionOfDay(double hour, double minute, double second);
    static double JulianDateOfTime(const UtcDateTime& time);
    // Greenwich mean sidereal angle (IAU 1982), rad in [0, 2 pi).
    static double SiderealTime(double julianDate);
    // Greenwich sidereal angle at an epoch by the report's 1950-based linear
    // formula, rad; stores the days since 1950 in the element block.
    double SiderealTimeEpoch(double epoch);
    static double SiderealTimeEpoch(double epoch, double& daysSince1950);
    // Observer position (km) and velocity (km/s); writes theta into `site`.
    static void ObserverPosVel(double julianDate, GeodeticPos& site, EciVector& position,
                               EciVector& velocity);
    // Look angles of a satellite (km, km/s) from the site.
    static void LookAngles(const EciVector& position, const EciVector& velocity, GeodeticPos& site,
                           double julianDate, LookAngleSet& out);
    // Geodetic sub-satellite point of a position in km: latitude in
    // (-pi/2, pi/2] as an angle in [0, 2 pi) (southern latitudes above
    // 3 pi/2), longitude east in [0, 2 pi), altitude km.
    static void SatLatLonAlt(const EciVector& position, double julianDate, GeodeticPos& out);

    // Angle of (cosine, sine) in (0, 2 pi]; (0, 1) gives 2 pi, (0, 0) 3 pi/2.
    static double ArcTan2(double sine, double cosine);
    // a - trunc(a / b) b, plus b when negative.
    static double Modulus(double a, double b);
    static double FMod2p(double x);
    static double Dot(const EciVector& a, const EciVector& b);
    static void Magnitude(EciVector& v);

    // ---- element-line tests ---------------------------------------------------
    // Column 69 holds the sum of the digits of columns 1-68 (each '-' counts
    // 1) modulo 10.
    static bool TleLineChecksumOk(const char* line);
    // Both checksums, line numbers, equal catalogue numbers and the layout
    // marks of the public format.
    static bool TlePairWellFormed(const char* line1, const char* line2);

private:
    // One set of the table, converted and initialised on first use.
    struct PreparedSet {
        bool converted = false;
        bool wellFormed = false;
        bool initialised = false;
        OrbitStatus elementStatus = OrbitStatus::Ok;
        std::int32_t catalogueNumber = 0;
        std::int32_t elementSetNumber = 0;
        double epochJulianDate = 0;
        TleElements elements;
        orbit_detail::NearEarthTerms nearEarth;
        std::int32_t deepIndex = -1;  // into deep_
        orbit_detail::ResonanceState resonance;
    };

    void ConvertSet(const TleEntry& entry, PreparedSet& set);
    void Initialise(PreparedSet& set);

    std::vector<TleEntry> entries_;
    std::vector<PreparedSet> prepared_;
    std::vector<orbit_detail::DeepSpaceTerms> deep_;
    PreparedSet* current_ = nullptr;
};
