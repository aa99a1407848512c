// Modulation and coding combinations (modcods) of DVB-S, DVB-S2 (with its
// extensions) and NS3/NS4, and how a confirmed row fills the selection the
// application keeps.  Free of Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

#include "framework/forms/modcod_selection.h"

struct DvbsModcodRow {
    float type, m, rate, esNo;
};
struct Dvbs2ModcodRow {
    float type, m, rate, kbch, s, esNo;
};
struct NsModcodRow {
    float type, m, rate, kbch, s, esNoNs3, esNoNs4;
};

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
