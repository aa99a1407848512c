// What the isolated uplink's and downlink's records share.
#pragma once

#include "linkbudget/geo/geo_record.h"

#include <cstring>

// Zero-fills an isolated budget's record (uplink or downlink, whose fields
// are named alike) and writes the values both kinds of new window start with.
template <class Record>
void SetIsolatedDefaults(Record& r)
{
    std::memset(&r, 0, sizeof r);
    PutText(r.altitude, "AUTO");
    r.ituAuto.Set(1);
    r.depolarization.Set(1);
    r.geo.Set(1);
    PutText(r.spreadingGain, "0");
    PutText(r.implementationLoss, "0");
    r.mapsk.Set(1);
    PutText(r.modulationOrder, "4");
    r.targetEbNo.Set(1);
    r.infoRate.Set(1);
    PutText(r.modcodText, "Manual");
    r.csatIoUnits.Set(1);
}
