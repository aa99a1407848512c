#include "linkbudget/modcod/modcod.h"

#include <cmath>
#include <cstdio>

namespace modcod {

namespace {

// Pilot blocks of 36 symbols, one per 16 slots after the first.
double FrameSymbols(double slots, bool pilots)
{
    const double blocks = std::trunc((slots - 1.0) / 16.0);
    return (slots + 1.0) * 90.0 + blocks * (pilots ? 36.0 : 0.0);
}

}  // namespace

std::span<const char* const> ListNames(int standard, int frameSize)
{
    switch (standard) {
    case kDvbs: return DvbsTable().names;
    case kDvbs2:
        return frameSize == kShort ? Dvbs2ShortTable().names
               : frameSize == kMedium ? Dvbs2MediumTable().names
                                      : Dvbs2NormalTable().names;
    default: return frameSize == kShort ? NsShortTable().names : NsNormalTable().names;
    }
}

std::int32_t& RememberedRow(ModcodSelection& s, int standard, int frameSize)
{
    switch (standard) {
    case kDvbs: return s.dvbsRow;
    case kDvbs2:
        return frameSize == kShort ? s.dvbs2ShortRow : frameSize == kMedium ? s.dvbs2MediumRow : s.dvbs2NormalRow;
    default: return frameSize == kShort ? s.nsShortRow : s.nsNormalRow;
    }
}

bool Confirm(ModcodSelection& s, int standard, int row)
{
    if (row < 0 || std::size_t(row) >= ListNames(standard, s.frameSize).size()) return false;
    const std::size_t i = std::size_t(row);
    const bool pilots = s.pilots != 0;
    double type = 0, m = 0, rate = 0, efficiency = 0, esNo = 0;
    const char* prefix = "";
    const char* name = ListNames(standard, s.frameSize)[i];
    if (standard == kDvbs) {
        const DvbsModcodRow& r = DvbsTable().rows[i];
        type = r.type, m = r.m, rate = r.rate, esNo = r.esNo;
        efficiency = 188.0 / 204.0 * rate * (std::log(m) / std::log(2.0));
        prefix = "DVBS ";
    } else if (standard == kDvbs2) {
        const int frame = s.frameSize == kShort ? kShort : s.frameSize == kMedium ? kMedium : kNormal;
        const Dvbs2ModcodRow& r = frame == kShort    ? Dvbs2ShortTable().rows[i]
                                  : frame == kMedium ? Dvbs2MediumTable().rows[i]
                                                     : Dvbs2NormalTable().rows[i];
        type = r.type, m = r.m, rate = r.rate, esNo = r.esNo;
        // The very-low-SNR frames carry their length in symbols, pilots or not.
        const bool lengthGiven = frame == kMedium || (frame == kShort && row <= 4) || (frame == kNormal && row == 0);
        efficiency = (double(r.kbch) - 80.0) / (lengthGiven ? double(r.s) : FrameSymbols(r.s, pilots));
        if (frame == kShort) esNo = double(r.esNo) + 0.3;
        prefix = frame == kShort ? "DVBS2,short frame," : frame == kMedium ? "DVBS2,medium frame," : "DVBS2,normal frame,";
    } else {
        const bool shortFrames = s.frameSize == kShort;
        const NsModcodRow& r = shortFrames ? NsShortTable().rows[i] : NsNormalTable().rows[i];
        type = r.type, m = r.m, rate = r.rate;
        esNo = standard == kNs3 ? r.esNoNs3 : r.esNoNs4;
        efficiency = (double(r.kbch) - 80.0) / FrameSymbols(r.s, pilots);
        prefix = standard == kNs3 ? (shortFrames ? "NS3,short frame," : "NS3,normal frame,")
                                  : (shortFrames ? "NS4,short frame," : "NS4,normal frame,");
    }
    RememberedRow(s, standard, s.frameSize) = row;
    s.type = std::int32_t(type);
    s.m = std::int32_t(m);
    s.rate = rate;
    s.log2M = std::log(m) / std::log(2.0);
    s.efficiency = efficiency;
    s.esNo = esNo;
    s.ebNo = esNo - 10.0 * std::log10(efficiency);
    const char* suffix = pilots ? ",pilots" : standard == kDvbs ? "" : ",no pilots";
    std::snprintf(s.text, sizeof s.text, "%s%s%s", prefix, name, suffix);
    return true;
}

}  // namespace modcod
