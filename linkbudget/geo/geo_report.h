// The bent-pipe budget report, shared by the GEO and non-GEO windows.  With a
// non-GEO record the report echoes that record's typed geometry and C/ASI and
// leaves out what only a geostationary satellite has (longitude, look angles,
// off-axis densities).  Free of Qt: the window hands in its report writer.
#pragma once

#include "framework/output/report_writer.h"
#include "linkbudget/geo/geo_budget.h"

struct NonGeoLinkInputRecord;

// The whole report of a calculated budget; `leo` is null for a GEO budget.
void WriteBentPipeReport(ReportWriter& line, const ReportHeading& heading, const GeoLinkBudget& b,
                         const NonGeoLinkInputRecord* leo);
// The two-column calculation sections of the dual-fade mode.
void WriteDualFadeSections(ReportWriter& line, const GeoLinkBudget& b, const NonGeoLinkInputRecord* leo);
