// GEO link-budget documents: the version word 2013 and the whole input
// record.  The reader also takes every earlier version from 2000 and the
// older "*.upd" generation (130 to 139), field by field, with the values
// those versions lack.
#include "linkbudget/geo/geo_document.h"

#include "linkbudget/geo/bent_pipe_document.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "linkbudget/engine/input_text.h"
#include "linkbudget/engine/budget_documents.h"

namespace {

using namespace lbdoc;

// Versions 2001 and 2002 kept the interferers' EIRPs in dBW with a bandwidth
// in MHz: the density in dBW/Hz replaces the EIRP when both are positive.
void EirpToDensity(char (&eirp)[13], char (&bandwidth)[13])
{
    TerminateText(eirp);
    TerminateText(bandwidth);
    const double e = lbtext::Number(eirp);
    const double bw = lbtext::Number(bandwidth);
    if (e > 0.0 && bw > 0.0) std::snprintf(eirp, sizeof eirp, "%.2lf", e - 10.0 * std::log10(bw * 1e6));
}

}  // namespace

bool ReadGeoDocument(const char* fileName, GeoLinkInputRecord& r, std::int32_t& notice)
{
    return ReadBentPipeDocument(fileName, r, notice, TerminateGeoLinkTexts, [&](DocumentFile& file, int version) {
        if (version >= 130 && version <= 139) return ReadGeoFileV130(file, version, r);
        if (version >= 2000 && version <= 2013) return ReadGeoFileV2000(file, version, r, notice);
        return false;
    });
}

bool ReadGeoFileV2000(DocumentFile& file, int v, GeoLinkInputRecord& r, std::int32_t& notice)
{
    DocumentFieldReader in(file, sizeof(GeoLinkInputRecord));

    // Uplink
    if (!in.Texts(r.upSiteName, r.upLatitude, r.upLongitude)) return false;
    if (v == 2002)
        PutText(r.upAltitude, "AUTO");
    else if (!in.Text(r.upAltitude))
        return false;
    if (!in.Texts(r.upFrequency, r.upPolarization, r.upAvailability, r.upDiameter, r.upEfficiency,
                  r.upCouplingLoss, r.upMispointing, r.upOtherLosses, r.upCsatAci, r.upCsatXpi, r.hpaObo,
                  r.carriersPerHpa, r.hpaCim, r.upc))
        return false;
    if (v < 2002 && !in.Skip(13)) return false;
    if (!in.Text(r.hpaPower)) return false;

    char bandwidth[4][13] = {};
    if (v >= 2001) {
        for (auto& d : r.upAsiDensity)
            if (!in.Text(d)) return false;
        if (v <= 2002) {
            if (!in.Skip(104)) return false;
            for (int i = 0; i < 4; ++i)
                if (!in.Unchecked(bandwidth[i])) return false;
            for (int i = 0; i < 4; ++i) EirpToDensity(r.upAsiDensity[i], bandwidth[i]);
        }
        for (auto& l : r.upAsiLongitude)
            if (!in.Text(l)) return false;
        for (auto& s : r.upAsiInclude)
            if (!in.State(s)) return false;
        if (!in.State(r.upAsiKnownTotal) || !in.Text(r.upCsatAsi)) return false;
    }

    // Downlink
    if (!in.Texts(r.dnSiteName, r.dnLatitude, r.dnLongitude)) return false;
    if (v == 2002)
        PutText(r.dnAltitude, "AUTO");
    else if (!in.Text(r.dnAltitude))
        return false;
    if (!in.Texts(r.dnFrequency, r.dnPolarization, r.dnAvailability, r.dnDiameter, r.dnEfficiency,
                  r.dnCouplingLoss, r.dnMispointing, r.dnOtherLosses, r.lnbNoise, r.antennaNoise, r.dnCsatAci,
                  r.dnCsatXpi))
        return false;

    if (v >= 2001) {
        for (auto& d : r.dnAsiDensity)
            if (!in.Text(d)) return false;
        if (v <= 2002) {
            for (int i = 0; i < 4; ++i)
                if (!in.Unchecked(bandwidth[i])) return false;
            for (int i = 0; i < 4; ++i) EirpToDensity(r.dnAsiDensity[i], bandwidth[i]);
        }
        for (auto& l : r.dnAsiLongitude)
            if (!in.Text(l)) return false;
        if (v < 2002 && !in.Skip(8)) return false;
        for (auto& s : r.dnAsiInclude)
            if (!in.State(s)) return false;
        if (!in.State(r.dnAsiKnownTotal) || !in.Text(r.dnCsatAsi)) return false;
    }

    if (v == 2000) {
        // The interferers in their first layout: both EIRPs, one bandwidth and
        // one longitude per satellite.
        for (int i = 0; i < 4; ++i) {
            char bw[13] = {};
            if (!in.Text(r.upAsiDensity[i]) || !in.Text(r.dnAsiDensity[i]) || !in.Unchecked(bw)) return false;
            char bwCopy[13];
            std::memcpy(bwCopy, bw, sizeof bw);
            EirpToDensity(r.upAsiDensity[i], bw);
            EirpToDensity(r.dnAsiDensity[i], bwCopy);
            if (!in.Text(r.upAsiLongitude[i])) return false;
        }
        for (int i = 0; i < 3; ++i) {
            if (!in.State(r.upAsiInclude[i])) return false;
            if (r.upAsiInclude[i].On()) r.dnAsiInclude[i].Set(1);
        }
        if (!in.Skip(8)) return false;
        if (!in.State(r.upAsiKnownTotal) || !in.Text(r.upCsatAsi) || !in.Text(r.dnCsatAsi)) return false;
        std::memcpy(r.dnAsiLongitude, r.upAsiLongitude, sizeof r.dnAsiLongitude);
        if (!r.upAsiKnownTotal.On()) {
            r.upAsiKnownTotal.Set(1);
            PutText(r.upCsatAsi, "100");
        }
        r.dnAsiKnownTotal.Set(1);
        PutText(r.dnCsatAsi, "100");
    }

    const BentPipeLayout has{.dualFade = v < 2003 || v >= 2005,
                             .rainPad = v < 2002,
                             .rainPadMeansItu = true,
                             .crane = v >= 2004,
                             .clearSky = v >= 2010,
                             .depolarization = v >= 2012,
                             .xpiColocated = v >= 2013,
                             .beamPeak = v >= 2011,
                             .legacyCim = v < 2003,
                             .carriersAuto = v == 2008,
                             .fecDivisor = v < 2002,
                             .implementationLoss = v >= 2003,
                             .minEqFlag = v < 2013 && v != 2006,
                             .modulationPad = v < 2002,
                             .transponderPad = v < 2008,
                             .targetButtons = v >= 2002,
                             .targetPad = v == 2003,
                             .rateButtons = v >= 2004,
                             .upUnits = v >= 2010,
                             .dnUnits = v >= 2012};
    return ReadBentPipeTail(in, r, has, notice);
}

bool ReadGeoFileV130(DocumentFile& file, int v, GeoLinkInputRecord& r)
{
    DocumentFieldReader in(file, sizeof(GeoLinkInputRecord));
    const auto site = [&](char (&name)[41], char (&lat)[13], char (&lon)[13], char (&alt)[13], char (&freq)[13],
                          char (&pol)[2], char (&avail)[13]) {
        if (!in.Texts(name, lat, lon)) return false;
        if (v < 137 && !in.Skip(13)) return false;
        if (!in.Texts(alt, freq, pol)) return false;
        if (v < 137 && !in.Skip(v >= 132 ? 4 : 2)) return false;
        if (v >= 133 && !in.Text(avail)) return false;
        if (v < 139 && !in.Skip(26)) return false;
        return true;
    };

    if (!site(r.upSiteName, r.upLatitude, r.upLongitude, r.upAltitude, r.upFrequency, r.upPolarization,
              r.upAvailability))
        return false;
    if (!in.Texts(r.upDiameter, r.upEfficiency, r.upCouplingLoss, r.upMispointing, r.upCsatAci, r.upCsatAsi))
        return false;
    if (v >= 133) {
        if (!in.Text(r.upCsatXpi)) return false;
    } else {
        PutText(r.upCsatXpi, "30");
    }
    if (!in.Text(r.hpaObo)) return false;
    if (v >= 133) {
        if (!in.Texts(r.carriersPerHpa, r.hpaCim, r.upc) || !in.Skip(13)) return false;
    } else {
        PutText(r.carriersPerHpa, "1");
        PutText(r.hpaCim, "60");
        PutText(r.upc, "0");
    }
    if (v < 137)
        PutText(r.hpaPower, "MIN");
    else if (!in.Text(r.hpaPower))
        return false;

    if (!site(r.dnSiteName, r.dnLatitude, r.dnLongitude, r.dnAltitude, r.dnFrequency, r.dnPolarization,
              r.dnAvailability))
        return false;
    if (!in.Texts(r.dnDiameter, r.dnEfficiency, r.dnCouplingLoss, r.dnMispointing, r.lnbNoise, r.antennaNoise,
                  r.dnCsatAci, r.dnCsatAsi))
        return false;
    if (v >= 133) {
        if (!in.Text(r.dnCsatXpi)) return false;
    } else {
        PutText(r.dnCsatXpi, "30");
    }
    if (v >= 137) {
        if (!in.Skip(10) || !in.Text(r.upRainRate) || !in.Skip(8) || !in.Text(r.dnRainRate)) return false;
    }

    if (!in.Texts(r.satName, r.satLongitude, r.gtReceive, r.sfdRef)) return false;
    if (v >= 133) {
        if (!in.Text(r.fca)) return false;
    } else {
        PutText(r.fca, "0");
    }
    if (v >= 137) {
        if (!in.Text(r.alc)) return false;
    } else {
        PutText(r.alc, "0");
    }
    if (!in.Texts(r.eirpSaturation, r.transponderBandwidth, r.transponderIbo, r.transponderObo, r.cim)) return false;
    if (v >= 137) {
        if (!in.Text(r.carriersPerTransponder)) return false;
    } else {
        PutText(r.carriersPerTransponder, "AUTO");
    }
    if (v >= 133) {
        if (!in.Texts(r.serviceName, r.coverage)) return false;
    } else {
        PutText(r.serviceName, "Unspecified");
        PutText(r.coverage, "Unspecified");
    }
    if (v < 133) {
        if (!in.Text(r.dnAvailability)) return false;
        std::memcpy(r.upAvailability, r.dnAvailability, sizeof r.upAvailability);
    }
    if (!in.Texts(r.requiredTarget, r.rate, r.overhead, r.fecRate)) return false;
    if (v >= 134) {
        if (!in.Text(r.spreadingGain)) return false;
    } else {
        PutText(r.spreadingGain, "0");
    }
    if (v >= 135) {
        char divisor[13] = {};
        if (!in.Unchecked(divisor)) return false;
        DivideFec(r.fecRate, divisor);
    }
    if (v == 135) {
        PutText(r.rollOff, "1.3");
        PutText(r.carrierSpacing, "1.495");
    } else if (!in.Texts(r.rollOff, r.carrierSpacing)) {
        return false;
    }
    if (!in.Texts(r.allocationStep, r.systemMargin)) return false;
    if (v >= 136) {
        std::uint16_t minEq = 1;
        if (!in.UncountedFlag(minEq)) return false;
        if (minEq == 0) PutText(r.hpaPower, "MINEQ");
    }
    const auto state = [&](ButtonState& s) { return v == 131 ? in.WideState(s) : in.State(s); };
    if (!state(r.oneBitPerSymbol) || !state(r.mapsk) || !state(r.mqam)) return false;
    if (!in.Text(r.modulationOrder) || !in.Skip(13)) return false;
    if (v < 133 && !in.Skip(v == 131 ? 8 : 4)) return false;
    if (!state(r.twta) || !state(r.sspa)) return false;
    if (v >= 133 && v <= 136) {
        std::uint16_t first = 0, second = 0;
        if (!in.Flag(first) || !in.Flag(second)) return false;
        PutText(r.hpaPower, second != 0 ? "MIN" : "MAX");
    } else if (v < 133) {
        PutText(r.hpaPower, r.transponderIbo[0] == '+' ? "MAX" : "MIN");
    }
    if (v >= 138 && !in.Skip(6)) return false;
    FixOldGeoFields(r);
    return true;
}

void FixOldGeoFields(GeoLinkInputRecord& r)
{
    FixOldBentPipeFields(r);
    r.upAsiKnownTotal.Set(1);
    r.dnAsiKnownTotal.Set(1);
}
