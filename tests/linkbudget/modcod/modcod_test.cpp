// The modulation and coding tables and the selection: rows that tell a
// misprint, efficiencies and Eb/No computed by hand, and the texts.
#include <gtest/gtest.h>

#include <cmath>

#include "linkbudget/modcod/modcod.h"

namespace {

constexpr double kTol = 1e-5;

TEST(ModcodTables, SizesAndTellingRows)
{
    EXPECT_EQ(modcod::DvbsTable().size(), 10u);
    EXPECT_EQ(modcod::Dvbs2NormalTable().size(), 67u);
    EXPECT_EQ(modcod::Dvbs2MediumTable().size(), 3u);
    EXPECT_EQ(modcod::Dvbs2ShortTable().size(), 46u);
    EXPECT_EQ(modcod::NsNormalTable().size(), 70u);
    EXPECT_EQ(modcod::NsShortTable().size(), 65u);

    const auto dvbs = modcod::DvbsTable();
    EXPECT_STREQ(dvbs.names[8], "16-QAM (3/4)");
    EXPECT_EQ(dvbs.rows[8].type, 2.0f);
    EXPECT_EQ(dvbs.rows[8].m, 16.0f);
    EXPECT_EQ(dvbs.rows[8].rate, 0.75f);
    EXPECT_EQ(dvbs.rows[8].esNo, 13.42f);

    const auto normal = modcod::Dvbs2NormalTable();
    EXPECT_STREQ(normal.names[0], "4-PSK (2/9) *");
    EXPECT_EQ(normal.rows[0].rate, 0.22f);       // not 2/9
    EXPECT_EQ(normal.rows[0].s, 33282.0f);       // the frame length
    EXPECT_EQ(normal.rows[58].kbch, 53808.0f);   // 64-APSK (5/6) as the table has it
    EXPECT_STREQ(normal.names[66], "256-APSK (3/4) *");
    EXPECT_EQ(normal.rows[66].esNo, 19.57f);
    EXPECT_EQ(normal.rows[59].s, 103.0f);

    const auto shortFrames = modcod::Dvbs2ShortTable();
    EXPECT_STREQ(shortFrames.names[2], "BPSK (1/5)) *");
    EXPECT_EQ(shortFrames.rows[2].type, 0.0f);
    EXPECT_EQ(shortFrames.rows[2].m, 2.0f);
    EXPECT_EQ(shortFrames.rows[2].s, 16686.0f);
    EXPECT_EQ(shortFrames.rows[45].kbch, 14232.0f);

    const auto medium = modcod::Dvbs2MediumTable();
    EXPECT_STREQ(medium.names[2], "BPSK (1/3) *");
    EXPECT_EQ(medium.rows[2].kbch, 10620.0f);
    EXPECT_EQ(medium.rows[2].esNo, -4.0f);

    const auto ns = modcod::NsNormalTable();
    EXPECT_STREQ(ns.names[69], "64-APSK (9/10)");
    EXPECT_EQ(ns.rows[69].esNoNs3, 18.81f);
    EXPECT_EQ(ns.rows[69].esNoNs4, 18.56f);
    EXPECT_EQ(ns.rows[3].rate, float(13.0 / 30.0));
    const auto nsShort = modcod::NsShortTable();
    EXPECT_STREQ(nsShort.names[0], "4-PSK (1/5)");
    EXPECT_EQ(nsShort.rows[0].esNoNs4, -2.78f);
    EXPECT_EQ(nsShort.rows[64].kbch, 14232.0f);
}

struct Confirmed {
    const char* name;
    int standard, frameSize;
    bool pilots;
    int row;
    double efficiency, esNo;
    const char* text;
    int m;
};

// Efficiencies by hand: DVB-S 188/204 x rate x log2 M; DVB-S2 and NS
// (Kbch - 80) / ((S + 1) x 90 + trunc((S - 1) / 16) x 36 with pilots); the
// very-low-SNR rows (Kbch - 80) / frame length.
const Confirmed kConfirmed[] = {
    {"DVB-S row 0", 0, 0, false, 0, 188.0 / 204.0, 4.14, "DVBS 4-PSK (1/2)", 4},
    {"DVB-S 16-QAM 7/8", 0, 0, false, 9, 188.0 / 204.0 * 0.875 * 4, 15.79, "DVBS 16-QAM (7/8)", 16},
    {"DVB-S with pilots remembered", 0, 0, true, 0, 188.0 / 204.0, 4.14, "DVBS 4-PSK (1/2),pilots", 4},
    {"DVB-S2 normal row 6", 1, 0, false, 6, 32128.0 / 32490.0, 1.0, "DVBS2,normal frame,4-PSK (1/2),no pilots", 4},
    {"DVB-S2 normal row 6 pilots", 1, 0, true, 6, 32128.0 / 33282.0, 1.0, "DVBS2,normal frame,4-PSK (1/2),pilots", 4},
    {"DVB-S2 normal row 0 ignores pilots", 1, 0, true, 0, 14128.0 / 33282.0, -2.85,
     "DVBS2,normal frame,4-PSK (2/9) *,pilots", 4},
    // (7032 - 80) / (91 x 90) and with 5 pilot blocks / 8370; Es/No 1 + 0.3
    {"DVB-S2 short row 12", 1, 2, false, 12, 6952.0 / 8190.0, 1.3, "DVBS2,short frame,4-PSK (1/2),no pilots", 4},
    {"DVB-S2 short row 12 pilots", 1, 2, true, 12, 6952.0 / 8370.0, 1.3, "DVBS2,short frame,4-PSK (1/2),pilots", 4},
    {"DVB-S2 short row 0", 1, 2, true, 0, 2432.0 / 33282.0, -9.6, "DVBS2,short frame,BPSK-S (1/5) *,pilots", 2},
    {"DVB-S2 short row 3", 1, 2, false, 3, 4072.0 / 16686.0, -4.6, "DVBS2,short frame,BPSK (4/15) *,no pilots", 2},
    {"DVB-S2 medium row 1", 1, 1, false, 1, 7660.0 / 33282.0, -5.5, "DVBS2,medium frame,BPSK (11/45) *,no pilots", 2},
    {"NS3 normal row 5", 2, 0, false, 5, 32128.0 / 32490.0, 1.13, "NS3,normal frame,4-PSK (1/2),no pilots", 4},
    {"NS4 normal row 5", 3, 0, false, 5, 32128.0 / 32490.0, 1.04, "NS4,normal frame,4-PSK (1/2),no pilots", 4},
    {"NS4 medium shows normal", 3, 1, false, 5, 32128.0 / 32490.0, 1.04, "NS4,normal frame,4-PSK (1/2),no pilots", 4},
    // (7032 - 80) / 8190, no 0.3 dB for NS short frames
    {"NS3 short row 3", 2, 2, false, 3, 6952.0 / 8190.0, 0.71, "NS3,short frame,4-PSK (4/9),no pilots", 4},
    {"NS4 short 64-APSK pilots", 3, 2, true, 64, 14152.0 / (31.0 * 90.0 + 36.0), 18.73,
     "NS4,short frame,64-APSK (8/9),pilots", 64},
};

TEST(ModcodConfirm, EfficiencyEsNoEbNoAndText)
{
    for (const Confirmed& c : kConfirmed) {
        ModcodSelection s;
        s.pilots = c.pilots ? 1 : 0;
        s.frameSize = c.frameSize;
        ASSERT_TRUE(modcod::Confirm(s, c.standard, c.row)) << c.name;
        EXPECT_NEAR(s.efficiency, c.efficiency, kTol) << c.name;
        EXPECT_NEAR(s.esNo, c.esNo, kTol) << c.name;
        EXPECT_NEAR(s.ebNo, c.esNo - 10.0 * std::log10(c.efficiency), kTol) << c.name;
        EXPECT_STREQ(s.text, c.text) << c.name;
        EXPECT_EQ(s.m, c.m) << c.name;
        EXPECT_NEAR(s.log2M, std::log2(double(c.m)), 1e-12) << c.name;
        EXPECT_EQ(modcod::RememberedRow(s, c.standard, c.frameSize), c.row) << c.name;
    }
    // The worked figure: DVB-S row 0 needs Eb/No 4.14 + 0.3547 = 4.49 dB.
    ModcodSelection s;
    ASSERT_TRUE(modcod::Confirm(s, 0, 0));
    EXPECT_NEAR(s.ebNo, 4.4947, 1e-4);
    // A row outside the list changes nothing.
    EXPECT_FALSE(modcod::Confirm(s, 0, 10));
    EXPECT_FALSE(modcod::Confirm(s, 1, -1));
    EXPECT_EQ(s.dvbsRow, 0);
}

}  // namespace
