// The isolated uplink and downlink reports against their hand-checked
// budgets (the figures worked out in the engine tests, at two decimals).
#include <gtest/gtest.h>

#include "linkbudget/isolated/downlink_window.h"
#include "linkbudget/isolated/uplink_window.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

// The fixed atmosphere of the engine tests: gas 0.2, scintillation 0.3,
// cloud 0.4 and rain 3.0 dB.
class IsolatedReports : public lbtest::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        atmosphere.gas = 0.2;
        atmosphere.scintillation = 0.3;
        atmosphere.cloud = 0.4;
        atmosphere.rain = 3.0;
        TRgnUpLinkWin::SetAtmosphere(&atmosphere);
        TRgnDownLinkWin::SetAtmosphere(&atmosphere);
    }
    void TearDown() override
    {
        owned.clear();
        TRgnUpLinkWin::SetAtmosphere(nullptr);
        TRgnDownLinkWin::SetAtmosphere(nullptr);
        WindowFixture::TearDown();
    }
    template <class Win>
    Win& Window()
    {
        owned.push_back(std::make_unique<Win>(nullptr, nullptr, nullptr));
        return static_cast<Win&>(*owned.back());
    }
    std::vector<std::unique_ptr<TMyWindow>> owned;
};

TEST_F(IsolatedReports, UplinkReportOfTheHandBudget)
{
    TRgnUpLinkWin& w = Window<TRgnUpLinkWin>();
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

TEST_F(IsolatedReports, DownlinkReportOfTheHandBudget)
{
    TRgnDownLinkWin& w = Window<TRgnDownLinkWin>();
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

}  // namespace
