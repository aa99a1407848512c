// Modulation and coding combinations (modcods) of DVB-S, DVB-S2 (with its
// extensions) and NS3/NS4, and the choice the selection dialog leaves for
// the budget dialogs.  Free of Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

struct DvbsModcodRow {
    float type, m, rate, esNo;
};
struct Dvbs2ModcodRow {
    float type, m, rate, kbch, s, esNo;
};
struct NsModcodRow {
    float type, m, rate, kbch, s, esNoNs3, esNoNs4;
};

// The last confirmed choice, zero at start-up (first row, no pilots,
// normal frames).
struct ModcodSelection {
    std::int32_t type = 0;
    std::int32_t m = 0;
    double rate = 0.0;
    double log2M = 0.0;
    double efficiency = 0.0;       // information bits per symbol
    double esNo = 0.0;             // dB
    double ebNo = 0.0;             // dB
    char text[81] = {};
    // Remembered row of each list.
    std::int32_t dvbsRow = 0, dvbs2NormalRow = 0, dvbs2ShortRow = 0, dvbs2MediumRow = 0, nsNormalRow = 0,
                 nsShortRow = 0;
    std::uint8_t pilots = 0;
    std::int32_t frameSize = 0;    // 0 normal, 1 medium, 2 short
};

// The choice the application keeps for every dialog of this session.
ModcodSelection& CurrentModcodSelection();

namespace modcod {

enum Standard : int { kDvbs = 0, kDvbs2 = 1, kNs3 = 2, kNs4 = 3 };
enum FrameSize : int { kNormal = 0, kMedium = 1, kShort = 2 };

template <class Row>
struct ModcodTable {
    std::span<const Row> rows;
    std::span<const char* const> names;
    std::size_t size() const { return rows.size(); }
};

ModcodTable<DvbsModcodRow> DvbsTable();
ModcodTable<Dvbs2ModcodRow> Dvbs2NormalTable();
ModcodTable<Dvbs2ModcodRow> Dvbs2MediumTable();
ModcodTable<Dvbs2ModcodRow> Dvbs2ShortTable();
ModcodTable<NsModcodRow> NsNormalTable();
ModcodTable<NsModcodRow> NsShortTable();

// The names of the list shown for a standard and frame size (NS has no
// medium frames: it shows the normal ones).
std::span<const char* const> ListNames(int standard, int frameSize);
// The remembered row of that list.
std::int32_t& RememberedRow(ModcodSelection& selection, int standard, int frameSize);

// Fills the computed fields and the text of `selection` from row `row` of the
// list shown, and remembers the row.  False (nothing changed) for a row that
// is not in the list.
bool Confirm(ModcodSelection& selection, int standard, int row);

}  // namespace modcod
