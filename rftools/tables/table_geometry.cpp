#include "rftools/tables/table_geometry.h"

#include "propagation/coordinates.h"

namespace orbiscope::tables {

SiteLook LookFrom(double siteLatitude, double siteLongitude, double satelliteLongitude, double polarizationReference)
{
    SiteLook l;
    GeoLookAngles(siteLatitude, siteLongitude, satelliteLongitude, polarizationReference, &l.magneticDeclination,
                  &l.rangeKm, &l.elevation, &l.trueAzimuth, &l.magneticAzimuth, &l.polarizationOffset);
    return l;
}

PolarMount PolarMountAt(double latitude)
{
    PolarMount p;
    PolarMountAngles(latitude, &p.declinationOffset, &p.apexDeclination, &p.apexElevation, &p.polarAxis,
                     &p.polarElevation);
    return p;
}

}  // namespace orbiscope::tables
