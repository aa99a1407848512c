// The isolated downlink window: its report against the hand-checked budget,
// its documents on disk, and a picture of it with a budget over the real maps.
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>
#include <fstream>
#include <iterator>

#include "linkbudget/registration.h"
#include "linkbudget/isolated/downlink_window.h"
#include "propagation/itu_maps.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

class RgnDownlinkWindow : public lbtest::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        atmosphere.gas = 0.2;
        atmosphere.scintillation = 0.3;
        atmosphere.cloud = 0.4;
        atmosphere.rain = 3.0;
        TRgnDownLinkWin::SetAtmosphere(&atmosphere);
    }
    void TearDown() override
    {
        rgn.clear();
        TRgnDownLinkWin::SetAtmosphere(nullptr);
        WindowFixture::TearDown();
    }
    TRgnDownLinkWin& Window()
    {
        rgn.push_back(std::make_unique<TRgnDownLinkWin>(nullptr, nullptr, nullptr));
        return *rgn.back();
    }
    std::vector<std::unique_ptr<TRgnDownLinkWin>> rgn;
};

TEST_F(RgnDownlinkWindow, ReportOfTheHandBudget)
{
    TRgnDownLinkWin& w = Window();
    HandDownlink(w.Record());
    w.Recalculate();
    const auto lines = lbtest::ReportLines(w);
    ASSERT_GT(lines.size(), 80u);
    EXPECT_EQ(lines[0], "Downlink Budget");
    for (const char* want : {
             "Polarization\tHorizontal\t\t",
             "Antenna noise\t40.00\t\tK",
             "LNB load impedance\t75\t\tOhms",
             "C/IM\t25\t\tdB",
             "EIRP (saturation)\t50\t\tdBW",
             "Antenna gain\t41.70\t\tdBi",
             "Noise increase due to precipitation\t0.00\t3.12\tdB",
             "Downlink degradation (DND)\t0.00\t6.52\tdB",
             "Total system noise\t126.25\t258.90\tK",
             "Figure of merit (G/T)\t20.49\t17.37\tdB/K",
             "Power flux density\t-112.99\t-119.51\tdBW/m2",
             "Carrier power at LNB output\t-59.52\t-66.04\tdBW",
             "Carrier power at LNB output\t-29.52\t-36.04\tdBm",
             "Carrier level at LNB output (75 Ohm)\t79.23\t72.71\tdBuV",
             "Carrier level at LNB output (75 Ohm)\t19.23\t12.71\tdBmV",
             "C/No (thermal)\t92.56\t86.04\tdB-Hz",
             "Excess margin\t13.13\t11.89\tdB#",
             "Coded bitrate\t2.8000\t\tMbps",
         }) {
        EXPECT_TRUE(lbtest::HasLine(w, want)) << want;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RgnDownlinkWindow, DocumentSavedAndOpened)
{
    TRgnDownLinkWin& w = Window();
    HandDownlink(w.Record());
    // A stored record is checked by the dialog before it is calculated.
    SetText(w.Record().satName, "Bird");
    SetText(w.Record().serviceName, "TV");
    const std::string path = (std::filesystem::current_path() / "hand.rdn").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(bytes.size(), 710u);
    EXPECT_EQ(std::memcmp(bytes.data() + 2, &w.Record(), 708), 0);

    TRgnDownLinkWin& back = Window();
    ASSERT_TRUE(back.LoadFile(path.c_str()));
    EXPECT_TRUE(lbtest::HasLine(back, "Excess margin\t13.13\t11.89\tdB#"));
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), 100);
    EXPECT_FALSE(back.LoadFile(path.c_str()));
    EXPECT_EQ(std::memcmp(&back.Record(), &w.Record(), 708), 0);
}

class Quiet final : public ItuMapLoadObserver {
public:
    int failures = 0;
    void MapLoadFailed(const std::string&) override { ++failures; }
};

TEST_F(RgnDownlinkWindow, ScreenshotWithARealBudget)
{
    Quiet observer;
    LoadItuMaps(startDir.string(), observer);
    ASSERT_EQ(observer.failures, 0);
    TRgnDownLinkWin::SetAtmosphere(nullptr);
    orbiscope::RegisterLinkBudgetSubsystem();

    auto& frame = *app->app->Frame();
    frame.resize(1000, 720);
    app->app->Dispatch(6028);
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TRgnDownLinkWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    DownlinkInputRecord& r = w->Record();
    HandDownlink(r);
    SetText(r.siteName, "Madrid");
    SetText(r.latitude, "40.4N");
    SetText(r.longitude, "3.7W");
    SetText(r.altitude, "auto");
    SetText(r.antennaNoise, "auto");
    SetText(r.satName, "Testsat 10E");
    SetText(r.serviceName, "Broadcast");
    r.geo.Set(1);
    r.nonGeo.Set(0);
    SetText(r.satLongitude, "10E");
    w->Recalculate();
    ASSERT_GT(w->Lines(), 80);
    child->move(0, 0);
    child->resize(900, 600);
    QCoreApplication::processEvents();
    const QImage img = frame.grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(QString::fromStdString((startDir / "rgn-downlink.png").string())));
    std::ofstream(startDir / "rgn-downlink.txt") << w->Report();
    FreeItuMaps();
}

}  // namespace
