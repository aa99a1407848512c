#include "linkbudget/nongeo/nongeo_budget.h"

void LoadNonGeoBudget(NonGeoLinkInputRecord& r, GeoLinkBudget& b)
{
    NonGeoGeometry up, down;
    ParseNonGeoGeometry(r, up, down);
    NonGeoToGeoRecord(r, b.record);
    b.geometryEntered = true;
    b.upEntered = {up.elevation, up.range, up.longitudeDifference};
    b.dnEntered = {down.elevation, down.range, down.longitudeDifference};
    b.outerSearchTolerance = kNonGeoOuterSearchTolerance;
}
