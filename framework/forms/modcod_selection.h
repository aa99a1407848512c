// The modulation and coding row last confirmed in the "Select Modcod"
// dialog, as the application object keeps it for every dialog of the session
// (the link-budget dialogs and the bandwidth calculator read it after an OK),
// with what the dialog remembers between its runs.  Zero at start-up: the
// first row of each list, no pilots, normal frames.  Free of Qt.
#pragma once

#include <cstdint>

struct ModcodSelection {
    std::int32_t type = 0;         // 0 one bit per symbol, 1 PSK/APSK, 2 QAM
    std::int32_t m = 0;            // points of the constellation
    double rate = 0.0;             // code rate
    double log2M = 0.0;            // bits per symbol before coding
    double efficiency = 0.0;       // information bits per symbol (bit/s/Hz)
    double esNo = 0.0;             // required Es/No, dB
    double ebNo = 0.0;             // Es/No - 10 log10(efficiency), dB
    char text[81] = {};            // family label, row name and pilots suffix
    // The row last confirmed in each list.
    std::int32_t dvbsRow = 0, dvbs2NormalRow = 0, dvbs2ShortRow = 0, dvbs2MediumRow = 0, nsNormalRow = 0,
                 nsShortRow = 0;
    std::uint8_t pilots = 0;
    std::int32_t frameSize = 0;    // 0 normal, 1 medium, 2 short
};
