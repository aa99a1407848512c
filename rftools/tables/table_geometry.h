// The pointing quantities the tables print, from the geometry routines of
// the propagation library.  Angles in degrees, north and east positive.
#pragma once

namespace orbiscope::tables {

// What a site sees of a geostationary satellite.
struct SiteLook {
    double magneticDeclination = 0;  // east positive, on the declination clock's date
    double rangeKm = 0;
    double elevation = 0;            // with refraction; negative when not visible
    double trueAzimuth = 0;          // 0..360
    double magneticAzimuth = 0;      // 0..360
    double polarizationOffset = 0;   // relative to the reference given
};
SiteLook LookFrom(double siteLatitude, double siteLongitude, double satelliteLongitude,
                  double polarizationReference = 0.0);

struct PolarMount {
    double declinationOffset = 0;
    double apexDeclination = 0;
    double apexElevation = 0;
    double polarAxis = 0;
    double polarElevation = 0;
};
PolarMount PolarMountAt(double latitude);

}  // namespace orbiscope::tables
