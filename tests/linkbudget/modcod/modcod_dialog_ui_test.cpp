// The "Select Modcod" dialog: its remembered rows, frame sizes and pilots,
// kept in the application object.
#include <gtest/gtest.h>

#include "linkbudget/modcod/modcod_dialog.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

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
