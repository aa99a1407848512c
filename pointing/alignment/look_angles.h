// Pointing a dish at a geostationary satellite: the look angles, the
// settings of a modified polar mount, and the daily window of a satellite in
// an inclined orbit.  Angles in degrees (north and east positive), distances
// in km.  Free of Qt.
#pragma once

#include "pointing/alignment/alignment_records.h"

// What a site sees of one geostationary satellite.
struct SiteLookAngles {
    double magneticDeclination = 0;  // east positive, on the application's date
    double pathKm = 0;               // slant range
    double elevation = 0;            // with refraction; -1 or below when not visible
    double trueAzimuth = 0;          // 0..360
    double magneticAzimuth = 0;      // true azimuth - declination, 0..360
    double polarizationOffset = 0;   // minus the polarization cant given
};

// Look angles from a site to the satellite at `satelliteLongitude`; the
// polarization offset is taken relative to `polarizationCant`.
SiteLookAngles LookAnglesFrom(double siteLatitude, double siteLongitude, double satelliteLongitude,
                              double polarizationCant = 0.0);

// A modified polar mount for geostationary satellites at a latitude.
struct PolarMountSettings {
    double declinationOffset = 0;
    double apexDeclination = 0;
    double apexElevation = 0;
    double polarAxis = 0;
    double polarElevation = 0;
};
PolarMountSettings PolarMountFor(double siteLatitude);

// The sky a satellite of the given inclination sweeps in a day, bounded by
// the four corners of its figure eight (slot +/- the longitude excursion,
// latitude +/- the inclination).  The azimuth window runs clockwise from its
// minimum to its maximum, so a window across north has a minimum above its
// maximum (359.6 to 0.4, say).
struct InclinedOrbitWindow {
    static constexpr int kSliceCount = 5;
    double minAzimuth = 0, maxAzimuth = 0;      // 0..360
    double minElevation = 0, maxElevation = 0;
    double sliceBounds[kSliceCount + 1] = {};   // elevation slices of equal width
};

// Largest east-west excursion of the sub-satellite point from its slot for
// an orbit of the given inclination: asin(tan^2(i/2)).
double LongitudeExcursion(double inclination);

InclinedOrbitWindow InclinedOrbitWindowFor(double siteLatitude, double siteLongitude, double satelliteLongitude,
                                           double inclination);

// Everything the look-angles report shows, from its parsed inputs.
struct AlignmentInputs {
    double siteLatitude = 0;
    double siteLongitude = 0;
    double satelliteLongitude = 0;
    double inclination = 0;
    double polarizationCant = 0;
    double offsetFocusAngle = 0;
};
struct AlignmentResult {
    SiteLookAngles look;
    PolarMountSettings polarMount;
    bool inclined = false;           // the inclination is not 0
    InclinedOrbitWindow window;      // only when inclined
};

AlignmentInputs ParseLookAngleRecord(const LookAngleInputRecord& record);
AlignmentResult ComputeAlignment(const AlignmentInputs& in);

// The turn from azimuth `from` to azimuth `to`, clockwise positive, the
// shorter way round: -180..180 degrees, across north too.
double AzimuthTurn(double from, double to);

// The leading number of a record's text as the C run-time reads it; 0 when
// there is none or it is not finite.
double TextNumber(const char* text);
