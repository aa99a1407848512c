// The tables of every town of a country file: the look angles of one
// geostationary satellite, and the spacing of a second feed for a second
// satellite.  Free of Qt.
#pragma once

#include <span>

#include "framework/databases/place_files.h"
#include "rftools/tables/table_records.h"
#include "rftools/tables/table_text.h"

namespace orbiscope::tables {

// Over records 0..n of a country file (record 0 names the country; towns in
// D.MM).  The magnetic azimuths are those of the declination clock's date.
TableText NationalLookAngles(const SatPosRecord& record, std::span<const TownRecord> towns,
                             const ReportHeading& heading);

// The look angle to the primary satellite, the separation of the secondary
// and the second feed's offsets at each town, with their averages over the
// towns that see both satellites; the geometry is the dual-feed window's.
TableText DualFeedTable(const DualTabRecord& record, std::span<const TownRecord> towns, const ReportHeading& heading);

}  // namespace orbiscope::tables
