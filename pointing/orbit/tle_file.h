// Reading a ".tle" file: three-line element sets (a name line, then the two
// 69-character element lines) into the element table.
//
// Each line is read as UTF-8 when it is valid UTF-8 and as Latin-1
// otherwise (platform/user_text.h), and lines are measured in characters.
// Line ends may be LF, CR LF or CR; blanks and tabs at the end of a line are
// not part of it; blank lines after the last set, and a name line that the
// end of the file cuts off, are ignored.  A name line of more than 26
// characters, or an element line that is missing or not exactly 69
// characters long, refuses the whole file (nothing is loaded).  Names are
// kept to their first 24 characters.  The sets hold their lines as the table
// shows them, in Latin-1: a character it cannot show (one outside Latin-1,
// as every Cyrillic letter is, or a control code, or a byte-order mark at
// the start of a later line, as where two files were joined) is shown as
// "?"; the file is never written back, so this touches nothing stored.  The
// file may hold any number of sets.
// Checksums and layout are not tested here: the positions table tests each
// set (TSgp4Sdp4::TlePairWellFormed) and reports it in its row.
#pragma once

#include "pointing/orbit/orbit_types.h"

#include <cstddef>
#include <string_view>
#include <vector>

struct TleReadResult {
    bool ok = false;
    std::vector<TleEntry> entries;  // empty unless ok
    std::size_t failedLine = 0;     // 1-based line that refused the file
};

TleReadResult ReadTleText(std::string_view fileBytes);
