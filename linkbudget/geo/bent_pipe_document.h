// The rain, satellite and carrier sections of a bent-pipe document (GEO or
// non-GEO), which both document generations store field by field in the
// same order; a version says which fields it holds.  Free of Qt.
#pragma once

#include <cstdint>
#include <cstring>

#include "framework/output/document_fields.h"
#include "linkbudget/engine/budget_documents.h"
#include "linkbudget/engine/input_text.h"

// Reads a whole bent-pipe document into a fresh record: `read(file,
// version)` takes the fields of the version (false for a version it does
// not know or a file that breaks off), `terminate` then ends every text at its
// last byte.  On failure the notice is 0 and the record holds nothing of use.
template <class Record, class ReadVersion>
bool ReadBentPipeDocument(const char* fileName, Record& r, std::int32_t& notice, void (*terminate)(Record&),
                          ReadVersion read)
{
    std::memset(&r, 0, sizeof r);
    r.upItuAuto.Set(1);
    r.dnItuAuto.Set(1);
    notice = 0;
    DocumentFile file(fileName ? fileName : "");
    std::uint16_t version = 0;
    if (!file.IsOpen() || !file.ReadVersion(version)) return false;
    if (!read(file, version)) {
        notice = 0;
        return false;
    }
    terminate(r);
    return true;
}

// Which fields of the later sections a document version holds.
struct BentPipeLayout {
    bool dualFade;           // the dual-fade state leads the rain section
    bool rainPad;            // four bytes follow each link's ITU-R state...
    bool rainPadMeansItu;    // ...and the ITU-R model is then the one in use
    bool crane, clearSky, depolarization, xpiColocated;
    bool beamPeak;           // the beam-peak EIRP
    bool legacyCim;          // a typed C/IM that the program now takes as AUTO
    bool carriersAuto;       // no carrier count: AUTO
    bool fecDivisor;         // the FEC rate as a numerator over a divisor
    bool implementationLoss, minEqFlag;
    bool modulationPad;      // 13 bytes after M
    bool transponderPad;     // 6 bytes after the transponder type
    bool targetButtons;
    bool targetPad;          // 4 bytes after the target buttons
    bool rateButtons;        // the rate buttons and the modcod text
    bool upUnits, dnUnits;   // the interference units of the uplink, then of the downlink
};

// Reads the sections after the downlink earth station: rain models,
// satellite and transponder, carrier.  A legacy C/IM turned AUTO leaves its
// notice in `notice` (unless one is there already).
template <class Record>
bool ReadBentPipeTail(DocumentFieldReader& in, Record& r, const BentPipeLayout& has, std::int32_t& notice)
{
    // Rain models
    if (has.dualFade && !in.State(r.dualFade)) return false;
    for (const bool up : {true, false}) {
        ButtonState& itu = up ? r.upItuAuto : r.dnItuAuto;
        if (!in.State(itu)) return false;
        if (has.rainPad) {
            if (!in.Skip(4)) return false;
            if (has.rainPadMeansItu) itu.Set(1);
        }
        if (has.crane && (!in.State(up ? r.upCraneTc : r.dnCraneTc) || !in.State(up ? r.upCraneUsa : r.dnCraneUsa)))
            return false;
        if (has.clearSky && !in.State(up ? r.upClearSky : r.dnClearSky)) return false;
        if (!in.State(up ? r.upItuRate : r.dnItuRate) || !in.Text(up ? r.upRainRate : r.dnRainRate)) return false;
        ButtonState& depolarization = up ? r.upDepolarization : r.dnDepolarization;
        if (!has.depolarization)
            depolarization.Set(1);
        else if (!in.State(depolarization))
            return false;
        if (up) {
            if (!has.xpiColocated)
                r.xpiColocated.Set(1);
            else if (!in.State(r.xpiColocated))
                return false;
        }
    }

    // Satellite
    if (!in.Text(r.satName)) return false;
    if constexpr (requires { r.satLongitude; }) {
        if (!in.Text(r.satLongitude)) return false;
    }
    if (!in.Texts(r.gtRef, r.sfdRef, r.gtReceive, r.fca, r.alc, r.eirpSaturation)) return false;
    if (has.beamPeak && !in.Text(r.eirpBeamPeak)) return false;
    if (!in.Texts(r.transponderBandwidth, r.transponderIbo, r.transponderObo, r.cim)) return false;
    if (has.legacyCim) {
        TerminateText(r.cim);
        if (!lbtext::IsKeyword(r.cim, "auto")) {
            PutText(r.cim, "AUTO");
            if (notice == 0) notice = lbdoc::kErrLegacyCim;
        }
    }
    if (has.carriersAuto)
        PutText(r.carriersPerTransponder, "AUTO");
    else if (!in.Text(r.carriersPerTransponder))
        return false;

    // Carrier
    if (!in.Texts(r.serviceName, r.coverage, r.requiredTarget, r.rate, r.overhead, r.fecRate, r.spreadingGain))
        return false;
    if (has.fecDivisor) {
        char divisor[13] = {};
        if (!in.Unchecked(divisor)) return false;
        lbdoc::DivideFec(r.fecRate, divisor);
    }
    if (!in.Texts(r.rollOff, r.carrierSpacing, r.allocationStep)) return false;
    if (!has.implementationLoss)
        PutText(r.implementationLoss, "0");
    else if (!in.Text(r.implementationLoss))
        return false;
    if (!in.Text(r.systemMargin)) return false;
    if (has.minEqFlag) {
        // A cleared flag of these versions asked for equal shares of the transponder.
        std::uint16_t minEq = 1;
        if (!in.UncountedFlag(minEq)) return false;
        if (minEq == 0) PutText(r.hpaPower, "MINEQ");
    }
    if (!in.State(r.oneBitPerSymbol) || !in.State(r.mapsk) || !in.State(r.mqam) || !in.Text(r.modulationOrder))
        return false;
    if (has.modulationPad && !in.Skip(13)) return false;
    if (!in.State(r.twta) || !in.State(r.ltwta) || !in.State(r.sspa)) return false;
    if (has.transponderPad && !in.Skip(6)) return false;
    if (!has.targetButtons)
        r.targetEbNo.Set(1);
    else if (!in.State(r.targetEbNo) || !in.State(r.targetEsNo))
        return false;
    if (has.targetPad && !in.Skip(4)) return false;
    if (!has.rateButtons) {
        PutText(r.modcodText, "Manual");
        r.infoRate.Set(1);
    } else if (!in.State(r.infoRate) || !in.State(r.symbolRate) || !in.Text(r.modcodText)) {
        return false;
    }
    if (has.upUnits) {
        if (!in.State(r.upCsatIoUnits) || !in.State(r.upCiUnits)) return false;
        r.dnCsatIoUnits = r.upCsatIoUnits;
        r.dnCiUnits = r.upCiUnits;
    } else {
        r.upCsatIoUnits.Set(1);
        r.dnCsatIoUnits.Set(1);
    }
    if (has.dnUnits && (!in.State(r.dnCsatIoUnits) || !in.State(r.dnCiUnits))) return false;

    // An availability once typed as "auto-" is AUTO.
    TerminateText(r.dnAvailability);
    if (lbtext::IsKeyword(r.dnAvailability, "auto-")) PutText(r.dnAvailability, "AUTO");
    return true;
}

// The values neither kind's first document generation stored, in a record
// of either kind: the receive G/T as the reference, no other losses or
// implementation loss, one fade at a time, an Eb/No target over a typed
// information rate, interference in C/I units with depolarization and
// co-located cross-polar interference, and the manual modulation.
template <class Record>
void FixOldBentPipeFields(Record& r)
{
    std::memcpy(r.gtRef, r.gtReceive, sizeof r.gtRef);
    PutText(r.upOtherLosses, "0");
    PutText(r.dnOtherLosses, "0");
    r.dualFade.Set(0);
    r.targetEbNo.Set(1);
    PutText(r.implementationLoss, "0");
    r.infoRate.Set(1);
    PutText(r.modcodText, "Manual");
    r.upCiUnits.Set(1);
    r.dnCiUnits.Set(1);
    r.upDepolarization.Set(1);
    r.xpiColocated.Set(1);
    r.dnDepolarization.Set(1);
}
