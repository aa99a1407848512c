// The solar transit table: for every day of a month, the local standard time
// at which the sun stands on the site's meridian (transit) or at the true
// azimuth of a geostationary satellite (coincidence).  Which of the two is
// decided by the longitude entered: the site's own longitude gives a transit
// table.  Free of Qt.
#pragma once

#include "rftools/tables/table_records.h"
#include "rftools/tables/table_text.h"

namespace orbiscope::tables {

// Days of a month of the Gregorian calendar; 0 for a month outside 1..12.
int DaysInMonth(int month, int year);

struct SolarTransitTable {
    bool belowHorizon = false;  // coincidence with a satellite the site cannot see: no table
    TableText table;
};
SolarTransitTable SolarTransit(const SolarTransitRecord& record, const ReportHeading& heading);

}  // namespace orbiscope::tables
