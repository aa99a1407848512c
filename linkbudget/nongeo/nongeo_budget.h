// The non-GEO budget runs on the GEO engine: the same bent pipe, with each
// earth station's geometry typed and each link's C/ASI a typed total.
#pragma once

#include "linkbudget/geo/geo_budget.h"
#include "linkbudget/nongeo/nongeo_record.h"

// The outer step of the split search of a non-GEO budget.
inline constexpr double kNonGeoOuterSearchTolerance = 0.01;

// Hands the record to the budget for its next Recalculate: the same-named
// fields, the typed geometry (an empty longitude difference is written back
// into the record as "0") and the non-GEO search step.
void LoadNonGeoBudget(NonGeoLinkInputRecord& record, GeoLinkBudget& budget);
