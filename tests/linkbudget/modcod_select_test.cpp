// The modulation and coding tables and the selection: rows that tell a
// misprint, efficiencies and Eb/No computed by hand, the texts, and the
// dialog's remembered rows, frame sizes and pilots.
#include <gtest/gtest.h>

#include <cmath>

#include "linkbudget/modcod_dialog.h"
#include "window_support.h"

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

class ModcodDialog : public lbtest::WindowFixture {
protected:
    void SetUp() override
    {
        lbtest::WindowFixture::SetUp();
        app->app->SelectedModcod = ModcodSelection{};
    }
};

TEST_F(ModcodDialog, FirstUseAndRememberedRows)
{
    TGetModcodDlg d(nullptr, 1);
    d.SetupWindow();
    EXPECT_EQ(d.windowTitle().toStdString(), "Select Modcod - DVBS2");
    EXPECT_EQ(d.ListCount(TGetModcodDlg::kList), 67);
    EXPECT_EQ(d.ListSelIndex(TGetModcodDlg::kList), 0);
    EXPECT_EQ(d.GetCheck(TGetModcodDlg::kNormalFrames), 1);
    EXPECT_EQ(d.GetCheck(TGetModcodDlg::kPilots), 0);

    // Confirmed rows are remembered per table and come back with their frames.
    app->app->SelectedModcod.dvbs2ShortRow = 7;
    app->app->SelectedModcod.dvbs2NormalRow = 12;
    d.CmFrame(modcod::kShort);
    EXPECT_EQ(d.ListCount(TGetModcodDlg::kList), 46);
    EXPECT_EQ(d.ListSelIndex(TGetModcodDlg::kList), 7);
    d.CmFrame(modcod::kNormal);
    EXPECT_EQ(d.ListSelIndex(TGetModcodDlg::kList), 12);
    EXPECT_EQ(d.CurrentRow(), 12);
}

TEST_F(ModcodDialog, FrameAndPilotsPersistOnCancel)
{
    {
        TGetModcodDlg d(nullptr, 1);
        d.SetupWindow();
        d.SetCheck(TGetModcodDlg::kPilots, 1);
        d.CmPilots();
        d.CmFrame(modcod::kMedium);
        d.CloseWindow(platform::IDCANCEL);
    }
    const ModcodSelection& s = app->app->SelectedModcod;
    EXPECT_EQ(s.pilots, 1);
    EXPECT_EQ(s.frameSize, 1);
    EXPECT_STREQ(s.text, "");  // nothing confirmed

    // NS has no medium frames: the normal list with its button.
    TGetModcodDlg ns(nullptr, 3);
    ns.SetupWindow();
    EXPECT_EQ(ns.windowTitle().toStdString(), "Select Modcod - NS4");
    EXPECT_EQ(ns.ListCount(TGetModcodDlg::kList), 70);
    EXPECT_EQ(ns.GetCheck(TGetModcodDlg::kNormalFrames), 1);
    EXPECT_FALSE(ns.Control(TGetModcodDlg::kMediumFrames)->isVisibleTo(&ns));
    EXPECT_EQ(ns.GetCheck(TGetModcodDlg::kPilots), 1);
}

TEST_F(ModcodDialog, DoubleClickConfirmsTheRow)
{
    TGetModcodDlg d(nullptr, 0);
    d.SetupWindow();
    EXPECT_FALSE(d.Control(TGetModcodDlg::kPilots)->isVisibleTo(&d));
    d.ListSetSelIndex(TGetModcodDlg::kList, 5);
    d.CmDoubleClick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(d.Closed());
    EXPECT_EQ(d.Result(), platform::IDOK);
    EXPECT_EQ(app->app->SelectedModcod.dvbsRow, 5);
    EXPECT_STREQ(app->app->SelectedModcod.text, "DVBS 8-PSK (2/3)");
    // A list that loses its selection keeps the row last chosen.
    TGetModcodDlg e(nullptr, 0);
    e.SetupWindow();
    EXPECT_EQ(e.CurrentRow(), 5);
    e.ListSetSelIndex(TGetModcodDlg::kList, -1);
    EXPECT_EQ(e.CurrentRow(), 5);
}

}  // namespace
