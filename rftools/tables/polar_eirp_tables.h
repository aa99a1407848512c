// The modified polar mount table (every half degree of latitude from 0 to
// 81) and the table of antenna apertures that receive a clear-sky C/N from
// a satellite of a given EIRP.  Free of Qt.
#pragma once

#include "rftools/tables/table_records.h"
#include "rftools/tables/table_text.h"

namespace orbiscope::tables {

TableText PolarMountTable(const ReportHeading& heading);

// The EIRP table's fixed link: slant path, antenna efficiency and the C/N
// columns (the graph of the same quantity takes 41000 km).
inline constexpr double kEirpTableSlantRangeKm = 40000.0;
inline constexpr double kEirpTableEfficiencyPct = 65.0;
inline constexpr int kEirpTableCnDb[] = {6, 9, 12, 15, 18, 21};

// The table's EIRP rows, whole dBW, both ends included: 20..45 below 8 GHz,
// 30..62 from 8 GHz up.
struct EirpRange {
    int lowestDbw, highestDbw;
};
EirpRange EirpTableRange(double frequencyGHz);

TableText EirpApertureTable(const AntSysSmallRecord& record, const ReportHeading& heading);

}  // namespace orbiscope::tables
