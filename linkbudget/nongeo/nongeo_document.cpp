#include "linkbudget/nongeo/nongeo_document.h"

#include "linkbudget/geo/bent_pipe_document.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/forms/evaluate.h"
#include "linkbudget/engine/budget_documents.h"
#include "linkbudget/engine/input_text.h"

namespace {

using namespace lbdoc;

bool MinEqFlag(DocumentFieldReader& in, NonGeoLinkInputRecord& r)
{
    std::uint16_t minEq = 1;
    if (!in.UncountedFlag(minEq)) return false;
    if (minEq == 0) PutText(r.hpaPower, "MINEQ");
    return true;
}

}  // namespace

bool ReadNonGeoFileV9000(DocumentFile& file, int v, NonGeoLinkInputRecord& r, std::int32_t& notice)
{
    DocumentFieldReader in(file, sizeof(NonGeoLinkInputRecord));

    // Uplink
    if (!in.Texts(r.upSiteName, r.upLatitude, r.upLongitude, r.upElevation, r.upRange)) return false;
    if (v >= 9002) {
        if (!in.Text(r.upLongitudeDiff)) return false;
    } else {
        PutText(r.upLongitudeDiff, "0");
    }
    if (v == 9001)
        PutText(r.upAltitude, "AUTO");
    else if (!in.Text(r.upAltitude))
        return false;
    if (!in.Texts(r.upFrequency, r.upPolarization, r.upAvailability, r.upDiameter, r.upEfficiency,
                  r.upCouplingLoss, r.upMispointing, r.upOtherLosses, r.upCsatAci, r.upCsatAsi, r.upCsatXpi,
                  r.hpaObo, r.carriersPerHpa, r.hpaCim, r.upc))
        return false;
    if (v == 9000 && !in.Skip(13)) return false;
    if (!in.Text(r.hpaPower)) return false;

    // Downlink
    if (!in.Texts(r.dnSiteName, r.dnLatitude, r.dnLongitude, r.dnElevation, r.dnRange)) return false;
    if (v >= 9002) {
        if (!in.Text(r.dnLongitudeDiff)) return false;
    } else {
        PutText(r.dnLongitudeDiff, "0");
    }
    if (v == 9001)
        PutText(r.dnAltitude, "AUTO");
    else if (!in.Text(r.dnAltitude))
        return false;
    if (!in.Texts(r.dnFrequency, r.dnPolarization, r.dnAvailability, r.dnDiameter, r.dnEfficiency,
                  r.dnCouplingLoss, r.dnMispointing, r.dnOtherLosses, r.lnbNoise, r.antennaNoise, r.dnCsatAci,
                  r.dnCsatAsi, r.dnCsatXpi))
        return false;
    if (v < 9002 && !in.Skip(2)) return false;

    const BentPipeLayout has{.dualFade = v >= 9004,
                             .rainPad = v == 9000,
                             .rainPadMeansItu = false,
                             .crane = v >= 9003,
                             .clearSky = v >= 9009,
                             .depolarization = v >= 9011,
                             .xpiColocated = v == 9012,
                             .beamPeak = v >= 9010,
                             .legacyCim = v < 9002,
                             .carriersAuto = v == 9007,
                             .fecDivisor = v == 9000,
                             .implementationLoss = v >= 9004,
                             .minEqFlag = v < 9012 && v != 9005,
                             .modulationPad = v == 9000,
                             .transponderPad = false,
                             .targetButtons = v >= 9001,
                             .targetPad = false,
                             .rateButtons = v >= 9004,
                             .upUnits = v >= 9009,
                             .dnUnits = v >= 9011};
    return ReadBentPipeTail(in, r, has, notice);
}

bool ReadNonGeoFileV7001(DocumentFile& file, int v, NonGeoLinkInputRecord& r)
{
    DocumentFieldReader in(file, sizeof(NonGeoLinkInputRecord));

    if (!in.Texts(r.upSiteName, r.upLatitude, r.upLongitude, r.upElevation, r.upRange, r.upAltitude,
                  r.upFrequency, r.upPolarization, r.upAvailability))
        return false;
    if (v == 7001 && !in.Skip(26)) return false;
    if (!in.Texts(r.upDiameter, r.upEfficiency, r.upCouplingLoss, r.upMispointing, r.upCsatAci, r.upCsatAsi,
                  r.upCsatXpi, r.hpaObo, r.carriersPerHpa, r.hpaCim, r.upc))
        return false;
    if (!in.Skip(13) || !in.Text(r.hpaPower)) return false;

    if (!in.Texts(r.dnSiteName, r.dnLatitude, r.dnLongitude, r.dnElevation, r.dnRange, r.dnAltitude,
                  r.dnFrequency, r.dnPolarization, r.dnAvailability))
        return false;
    if (v == 7001 && !in.Skip(26)) return false;
    if (!in.Texts(r.dnDiameter, r.dnEfficiency, r.dnCouplingLoss, r.dnMispointing, r.lnbNoise, r.antennaNoise,
                  r.dnCsatAci, r.dnCsatAsi, r.dnCsatXpi))
        return false;

    if (!in.Skip(10) || !in.Text(r.upRainRate) || !in.Skip(8) || !in.Text(r.dnRainRate)) return false;

    if (!in.Texts(r.satName, r.gtReceive, r.sfdRef, r.fca, r.alc, r.eirpSaturation, r.transponderBandwidth,
                  r.transponderIbo, r.transponderObo, r.cim, r.carriersPerTransponder))
        return false;

    if (!in.Texts(r.serviceName, r.coverage, r.requiredTarget, r.rate, r.overhead, r.fecRate, r.spreadingGain))
        return false;
    char divisor[13] = {};
    if (!in.Unchecked(divisor)) return false;
    DivideFec(r.fecRate, divisor);
    if (!in.Texts(r.rollOff, r.carrierSpacing, r.allocationStep, r.systemMargin)) return false;
    if (!MinEqFlag(in, r)) return false;

    if (!in.State(r.oneBitPerSymbol) || !in.State(r.mapsk) || !in.State(r.mqam) || !in.Text(r.modulationOrder))
        return false;
    if (!in.Skip(13) || !in.State(r.twta) || !in.State(r.sspa)) return false;
    FixOldNonGeoFields(r);
    return true;
}

void FixOldNonGeoFields(NonGeoLinkInputRecord& r)
{
    FixOldBentPipeFields(r);
    PutText(r.cim, "AUTO");
    PutText(r.upLongitudeDiff, "0");
    PutText(r.dnLongitudeDiff, "0");
}

bool ReadNonGeoDocument(const char* fileName, NonGeoLinkInputRecord& r, std::int32_t& notice)
{
    return ReadBentPipeDocument(fileName, r, notice, TerminateNonGeoLinkTexts, [&](DocumentFile& file, int version) {
        if (version == 7001 || version == 7002) return ReadNonGeoFileV7001(file, version, r);
        if (version >= 9000 && version <= 9012) return ReadNonGeoFileV9000(file, version, r, notice);
        return false;
    });
}
