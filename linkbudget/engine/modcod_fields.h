// A confirmed modulation-and-coding row in a budget record's carrier fields,
// the same-named fields of every budget kind.  Free of Qt.
#pragma once

#include <cstdio>

#include "framework/forms/modcod_selection.h"
#include "framework/forms/record_fields.h"
#include "linkbudget/modcod/modcod.h"

// The FEC rate (the efficiency over log2 M: R / (Rs log2 M) with Rs =
// R / efficiency), the modcod text, M, the target (Eb/No for DVB-S, else
// Es/No) and the modulation buttons (one bit a symbol for a DVB-S2 row of
// type 0, QAM for a DVB-S row of type 2, else M-(A)PSK).
template <class Record>
void ApplyModcod(Record& r, const ModcodSelection& s, int standard)
{
    std::snprintf(r.fecRate, sizeof r.fecRate, "%.4lf", s.efficiency / s.log2M);
    PutText(r.modcodText, s.text);
    std::snprintf(r.modulationOrder, sizeof r.modulationOrder, "%d", s.m);
    const bool dvbs = standard == modcod::kDvbs;
    std::snprintf(r.requiredTarget, sizeof r.requiredTarget, "%.2lf", dvbs ? s.ebNo : s.esNo);
    r.targetEbNo.Set(dvbs ? 1 : 0);
    r.targetEsNo.Set(dvbs ? 0 : 1);
    const bool oneBit = standard == modcod::kDvbs2 && s.type == 0;
    const bool qam = dvbs && s.type == 2;
    r.oneBitPerSymbol.Set(oneBit ? 1 : 0);
    r.mqam.Set(qam ? 1 : 0);
    r.mapsk.Set(oneBit || qam ? 0 : 1);
}
