// The isolated uplink window: its report against the hand-checked budget,
// its documents on disk, and a picture of it with a budget over the real maps.
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>
#include <fstream>
#include <iterator>

#include "linkbudget/registration.h"
#include "linkbudget/isolated/uplink_window.h"
#include "propagation/itu_maps.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

class RgnUplinkWindow : public lbtest::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        atmosphere.gas = 0.2;
        atmosphere.scintillation = 0.3;
        atmosphere.cloud = 0.4;
        atmosphere.rain = 3.0;
        TRgnUpLinkWin::SetAtmosphere(&atmosphere);
    }
    void TearDown() override
    {
        rgn.clear();
        TRgnUpLinkWin::SetAtmosphere(nullptr);
        WindowFixture::TearDown();
    }
    TRgnUpLinkWin& Window()
    {
        rgn.push_back(std::make_unique<TRgnUpLinkWin>(nullptr, nullptr, nullptr));
        return *rgn.back();
    }
    std::vector<std::unique_ptr<TRgnUpLinkWin>> rgn;
};

TEST_F(RgnUplinkWindow, ReportOfTheHandBudget)
{
    TRgnUpLinkWin& w = Window();
    HandRecord(w.Record());
    SetText(w.Record().serviceName, "Trunk");
    w.Recalculate();
    const auto lines = lbtest::ReportLines(w);
    ASSERT_GT(lines.size(), 80u);
    EXPECT_EQ(lines[0], "Uplink Budget");
    EXPECT_EQ(lines[1], "Orbiscope Test Bench~");
    // Figures worked out by hand in the engine test, at two decimals.
    for (const char* want : {
             "Service Name\tTrunk",
             "Polarization\tVertical\t\t",
             "Range\t38000\t\tkm",
             "Modulation\t4-PSK\t\t",
             "Antenna gain\t48.71\t\tdBi",
             "Availability (average year)\t99.9000\t\t%",
             "Link downtime (average year)\t8.766\t\thours",
             "Availability (worst month)\t99.6154\t\t%",
             "Uplink transmit EIRP\t65.21\t65.21\tdBW",
             "Free space loss\t206.97\t206.97\tdB",
             "Total attenuation (gas-rain-cloud-scintillation)\t0.50\t3.90\tdB",
             "Power flux density\t-97.37\t-100.77\tdBW/m2",
             "C/No (thermal)\t87.85\t84.45\tdB-Hz",
             "Eb/(No+Io)\t19.26\t16.79\tdB",
             "Excess margin\t13.26\t10.79\tdB#",
             "Required HPA power\t100.0000\t\tW",
             "Symbol rate\t1.4000\t\tMBaud",
             "Noise Bandwidth\t61.46\t\tdB-Hz",
             "Allocated bandwidth\t2.0000\t\tMHz",
         }) {
        EXPECT_TRUE(lbtest::HasLine(w, want)) << want;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RgnUplinkWindow, DocumentSavedAndOpened)
{
    TRgnUpLinkWin& w = Window();
    HandRecord(w.Record());
    // A stored record is checked by the dialog before it is calculated.
    SetText(w.Record().satName, "Bird");
    SetText(w.Record().serviceName, "Trunk");
    const std::string path = (std::filesystem::current_path() / "hand.rup").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(bytes.size(), 699u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x62);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0x1B);
    EXPECT_EQ(std::memcmp(bytes.data() + 2, &w.Record(), 697), 0);

    TRgnUpLinkWin& back = Window();
    ASSERT_TRUE(back.LoadFile(path.c_str()));
    EXPECT_EQ(std::memcmp(&back.Record(), &w.Record(), 697), 0);
    EXPECT_TRUE(lbtest::HasLine(back, "Excess margin\t13.26\t10.79\tdB#"));

    // A file cut short is refused and leaves the window as it was.
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), 300);
    EXPECT_FALSE(back.LoadFile(path.c_str()));
    EXPECT_EQ(std::memcmp(&back.Record(), &w.Record(), 697), 0);
    EXPECT_FALSE(back.LoadFile("no such file.rup"));
}

class Quiet final : public ItuMapLoadObserver {
public:
    int failures = 0;
    void MapLoadFailed(const std::string&) override { ++failures; }
};

TEST_F(RgnUplinkWindow, ScreenshotWithARealBudget)
{
    Quiet observer;
    LoadItuMaps(startDir.string(), observer);
    ASSERT_EQ(observer.failures, 0);
    TRgnUpLinkWin::SetAtmosphere(nullptr);
    orbiscope::RegisterLinkBudgetSubsystem();

    auto& frame = *app->app->Frame();
    frame.resize(1000, 720);
    app->app->Dispatch(6022);
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TRgnUpLinkWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    UplinkInputRecord& r = w->Record();
    HandRecord(r);
    SetText(r.siteName, "London");
    SetText(r.latitude, "51.5N");
    SetText(r.longitude, "0.12W");
    SetText(r.altitude, "auto");
    SetText(r.satName, "Testsat 10E");
    SetText(r.serviceName, "Trunk");
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
    EXPECT_TRUE(img.save(QString::fromStdString((startDir / "rgn-uplink.png").string())));
    FreeItuMaps();
}

}  // namespace
