#include "linkbudget/isolated/downlink_document.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "linkbudget/engine/budget_documents.h"

#include "linkbudget/engine/input_text.h"

namespace {

using R = DownlinkInputRecord;

// The stretches of the record in each version.
constexpr lbdoc::DocumentStretch kStretches[] = {
    {0, offsetof(R, lnbGain), 8005},
    {offsetof(R, lnbGain), 26, 8008},                  // LNB gain and load impedance
    {offsetof(R, csatAci), offsetof(R, craneTc) - offsetof(R, csatAci), 8005},
    {offsetof(R, craneTc), 4, 8006},
    {offsetof(R, clearSky), 2, 8009},
    {offsetof(R, ituRate), 15, 8005},
    {offsetof(R, depolarization), 2, 8010},
    {offsetof(R, satName), offsetof(R, implementationLoss) - offsetof(R, satName), 8005},
    {offsetof(R, implementationLoss), 13, 8007},
    {offsetof(R, systemMargin), offsetof(R, infoRate) - offsetof(R, systemMargin), 8005},
    {offsetof(R, infoRate), 85, 8007},
    {offsetof(R, csatIoUnits), 4, 8009},
};


// Reads the fields of an older layout one after another; every read fails
// once a field would pass the end of the file.
class Cursor {
public:
    Cursor(const unsigned char* data, std::size_t size) : data_(data), size_(size), at_(2) {}
    bool Bytes(void* dst, std::size_t n)
    {
        if (!ok_ || n > size_ - at_) return ok_ = false;
        std::memcpy(dst, data_ + at_, n);
        at_ += n;
        return true;
    }
    template <std::size_t N>
    Cursor& operator>>(char (&field)[N])
    {
        Bytes(field, N);
        return *this;
    }
    Cursor& operator>>(ButtonState& s)
    {
        Bytes(s.bytes, 2);
        return *this;
    }
    // A 32-bit state of the oldest files: its low 16 bits are the state.
    Cursor& Wide(ButtonState& s)
    {
        unsigned char wide[4] = {};
        if (Bytes(wide, 4)) {
            s.bytes[0] = wide[0];
            s.bytes[1] = wide[1];
        }
        return *this;
    }
    Cursor& Skip(std::size_t n)
    {
        if (!ok_ || n > size_ - at_)
            ok_ = false;
        else
            at_ += n;
        return *this;
    }
    bool Ok() const { return ok_; }

private:
    const unsigned char* data_;
    std::size_t size_, at_;
    bool ok_ = true;
};

// Older files kept the code rate as a numerator and a denominator.
void DivideCodeRate(R& r, const char (&denominator)[13])
{
    char den[13];
    std::memcpy(den, denominator, sizeof den);
    den[12] = '\0';
    r.fecRate[12] = '\0';
    const double d = lbtext::FecRate(den);
    const double q = lbtext::FecRate(r.fecRate) / d;
    // A zero or unreadable denominator leaves the numerator for the dialog to reject.
    if (d != 0.0 && std::isfinite(q)) std::snprintf(r.fecRate, sizeof r.fecRate, "%.4lf", q);
}

bool ReadLayoutA(Cursor& in, std::uint16_t v, R& r)
{
    in >> r.siteName >> r.latitude >> r.longitude;
    if (v == 3002)
        PutText(r.altitude, "AUTO");
    else
        in >> r.altitude;
    in.Skip(13);
    in >> r.frequency >> r.diameter >> r.efficiency >> r.antennaNoise >> r.lnbNoise >> r.couplingLoss >>
        r.otherLosses >> r.lnbGain >> r.loadImpedance >> r.csatAci >> r.csatXpi >> r.availability >>
        r.polarization;
    in.Skip(v == 3002 ? 164 : 172);
    in >> r.csatAsi;
    in.Skip(8);
    in >> r.rainRate >> r.satName >> r.satLongitude >> r.eirp >> r.satBandwidth >> r.rate >> r.fecRate;
    if (v != 3002) {
        char denominator[13] = {};
        in >> denominator;
        if (in.Ok()) DivideCodeRate(r, denominator);
    }
    in >> r.rollOff >> r.requiredTarget >> r.oneBitPerSymbol >> r.mapsk >> r.mqam >> r.modulationOrder;
    in.Skip(4);
    if (v == 3002)
        in >> r.targetEbNo >> r.targetEsNo;
    else
        r.targetEbNo.Set(1);
    if (!in.Ok()) return false;

    PutText(r.mispointing, "0");
    if (r.csatAsi[0] == '\0') PutText(r.csatAsi, "100");
    PutText(r.cim, "25");
    r.ituAuto.Set(1);
    PutText(r.serviceName, "N/A");
    r.geo.Set(1);
    PutText(r.overhead, "0");
    PutText(r.spreadingGain, "0");
    PutText(r.carrierSpacing, "1.4");
    PutText(r.allocationStep, "0");
    PutText(r.implementationLoss, "0");
    PutText(r.systemMargin, "0");
    r.symbolRate.Set(1);
    PutText(r.modcodText, "Manual");
    r.csatIoUnits.Set(1);
    r.depolarization.Set(1);
    return true;
}

bool ReadLayoutB(Cursor& in, std::uint16_t v, R& r)
{
    in >> r.siteName;
    if (v <= 1953) in >> r.satName;
    in >> r.latitude >> r.longitude;
    if (v <= 1957) in.Skip(13);
    in >> r.altitude;
    in.Skip(13);
    in >> r.frequency >> r.diameter >> r.efficiency >> r.antennaNoise >> r.lnbNoise >> r.couplingLoss >>
        r.otherLosses >> r.lnbGain >> r.loadImpedance >> r.csatXpi >> r.csatAsi >> r.availability >>
        r.polarization;
    if (v <= 1952)
        in.Skip(2);
    else if (v <= 1957)
        in.Skip(4);
    if (v <= 1957) r.ituAuto.Set(1);
    if (v <= 1959) in.Skip(26);
    if (v >= 1958) {
        in.Skip(8);
        in >> r.rainRate;
    }
    if (v >= 1954) in >> r.satName;
    in >> r.satLongitude >> r.eirp;
    if (v <= 1953)
        in >> r.satBandwidth;
    else
        PutText(r.satBandwidth, "36");
    in >> r.rate;
    if (v <= 1954)
        in >> r.overhead;
    else
        PutText(r.overhead, "0");
    in >> r.fecRate;
    if (v >= 1956) {
        char denominator[13] = {};
        in >> denominator;
        if (in.Ok()) DivideCodeRate(r, denominator);
    }
    if (v == 1958)
        PutText(r.rollOff, "1.2");
    else
        in >> r.rollOff;
    in >> r.requiredTarget;
    if (v == 1952)
        in.Wide(r.oneBitPerSymbol).Wide(r.mapsk).Wide(r.mqam);
    else
        in >> r.oneBitPerSymbol >> r.mapsk >> r.mqam;
    in >> r.modulationOrder;
    if (v >= 1954) in.Skip(14);
    if (!in.Ok()) return false;

    PutText(r.mispointing, "0");
    r.ituAuto.Set(1);
    PutText(r.serviceName, "N/A");
    r.geo.Set(1);
    PutText(r.spreadingGain, "0");
    PutText(r.carrierSpacing, "1.4");
    PutText(r.allocationStep, "0");
    PutText(r.implementationLoss, "0");
    PutText(r.systemMargin, "0");
    r.targetEbNo.Set(1);
    PutText(r.csatAci, "60");
    PutText(r.cim, "25");
    PutText(r.modcodText, "Manual");
    if (v >= 1955) {
        r.symbolRate.Set(1);
        PutText(r.satBandwidth, "36");
    } else {
        r.infoRate.Set(1);
    }
    r.csatIoUnits.Set(1);
    r.depolarization.Set(1);
    return true;
}

}  // namespace

std::vector<unsigned char> EncodeDownlinkDocument(const DownlinkInputRecord& record)
{
    return lbdoc::EncodeDocument(kDownlinkDocumentVersion, &record, sizeof record);
}

bool DecodeDownlinkDocument(const unsigned char* data, std::size_t size, DownlinkInputRecord& r)
{
    std::memset(&r, 0, sizeof r);
    std::uint16_t version = 0;
    if (!lbdoc::DocumentVersion(data, size, version)) return false;
    if ((version >= 3000 && version <= 3002) || (version >= 1951 && version <= 1960)) {
        Cursor in(data, size);
        const bool read = version >= 3000 ? ReadLayoutA(in, version, r) : ReadLayoutB(in, version, r);
        if (!read) {
            std::memset(&r, 0, sizeof r);
            return false;
        }
        TerminateDownlinkTexts(r);
        return true;
    }
    if (version < 8005 || version > kDownlinkDocumentVersion) return false;

    PutText(r.implementationLoss, "0");
    r.infoRate.Set(1);
    PutText(r.modcodText, "Manual");
    PutText(r.lnbGain, "55");
    PutText(r.loadImpedance, "75");
    r.csatIoUnits.Set(1);
    r.depolarization.Set(1);

    if (!lbdoc::ReadStretches(data, size, version, kStretches, &r)) {
        std::memset(&r, 0, sizeof r);
        return false;
    }
    TerminateDownlinkTexts(r);
    return true;
}

bool ReadDownlinkDocument(const char* fileName, DownlinkInputRecord& record)
{
    std::vector<unsigned char> bytes;
    return lbdoc::ReadDocumentBytes(fileName, bytes) && DecodeDownlinkDocument(bytes.data(), bytes.size(), record);
}
