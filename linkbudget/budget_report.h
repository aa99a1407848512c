// The bent-pipe budget report, shared by the GEO and non-GEO windows.  With a
// non-GEO record the report echoes that record's typed geometry and C/ASI and
// leaves out what only a geostationary satellite has (longitude, look angles,
// off-axis densities).
#pragma once

#include "framework/output/mywindow.h"
#include "linkbudget/geo_link_budget.h"
#include "linkbudget/nongeo_link_record.h"

class TOrbiscope;

namespace detail {

// Rewrites the window's whole report from the budget; `leo` is null for a
// GEO budget.  `app` gives the company name and date (null: both empty).
void WriteBudgetReport(TMyWindow& w, TOrbiscope* app, const GeoLinkBudget& b, const NonGeoLinkInputRecord* leo);
// The two-column calculation sections of the dual-fade mode.
void WriteDualFadeSections(TMyWindow& w, const GeoLinkBudget& b, const NonGeoLinkInputRecord* leo);

}  // namespace detail
