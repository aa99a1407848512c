// The batch report: header, per-item blocks and rows in both layouts.
#include "pointing/sun/solar_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace orbiscope::sun;

struct BatchRun {
    std::vector<std::string> lines;
    std::vector<std::string> status;
    std::vector<int> done;
    bool completed = false;
};

SolarBatchSetup BatchSetupFor(BatchKind kind, bool horizontal)
{
    SolarBatchSetup s;
    s.kind = kind;
    s.horizontal = horizontal;
    s.options.year = 2025;
    s.options.frequencyGHz = 11.7;
    s.yearText = "2025";
    s.frequencyText = "11.7";
    s.zoneText = "0";
    s.diameterText = "1.2";
    s.formSite = {"Chilbolton, Hampshire", 51.14, -1.44, 0.0, 1.2};
    s.formSatellite = {"Sat 28.2E", 28.2};
    return s;
}

BatchRun Execute(const SolarBatchSetup& s, const std::vector<BatchItem>& items, int stopBefore = -1)
{
    BatchRun r;
    int started = 0;
    SolarBatchHooks h;
    h.line = [&](const std::string& l) { r.lines.push_back(l); };
    h.keepGoing = [&] { return started++ != stopBefore; };
    h.itemDone = [&](int n) { r.done.push_back(n); };
    h.status = [&](const std::string& t) { r.status.push_back(t); };
    h.step = [] { return true; };
    r.completed = RunSolarBatch(s, items, h);
    return r;
}

const std::vector<BatchSite> kSites = {{"London", 51.5, -0.12, 0.0, 1.2}, {"Sydney", -33.87, 151.21, 10.0, 2.4}};
const std::vector<BatchSatellite> kSatellites = {{"Sat 28.2E", 28.2}, {"Sat 97W", -97.0}, {"Sat 5W", -5.0}};

TEST(SolarBatch, GoldenSiteFileGrouped)
{
    const SolarBatchSetup s = BatchSetupFor(BatchKind::SiteFile, false);
    const BatchRun r = Execute(s, SiteFileItems(kSites, s.formSatellite));
    const std::vector<std::string> expected = {
        "SOLAR OUTAGE RISK 2025", " ", "Early Season Group~", "Local Standard Time (no daylight saving added)",
        "Standard antenna beamwidth at 11.7 GHz", "Sat 28.2E, 28.20E", " ", " ",
        " ", " ", "Site 1~", "London, 51.50N, 0.12W, EL=25.40, AZ=145.45, TZ=0.00, D=1.20", " ",
        "Date\tBegin\tPeak\tEnd\tDepth\tClosest(deg)~", " ",
        "Feb 26\t10:06\t10:09\t10:12\tLow\t1.19", "Feb 27\t10:05\t10:09\t10:13\tMedium\t0.82",
        "Feb 28\t10:04\t10:09\t10:14\tHigh\t0.44", "Mar 1\t10:03\t10:09\t10:14\tHigh\t0.08",
        "Mar 2\t10:03\t10:08\t10:14\tHigh\t0.32", "Mar 3\t10:04\t10:08\t10:13\tMedium\t0.71",
        "Mar 4\t10:05\t10:08\t10:11\tLow\t1.09",
        " ", " ", "Site 2~", "Satellite below horizon",
    };
    EXPECT_EQ(r.lines, expected);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.done, (std::vector<int>{1, 2}));
    // Text-file batches count their items from 0 in the busy text.
    EXPECT_EQ(r.status.back(), "Item: 0 solar outage events found : 7");
}

TEST(SolarBatch, HorizontalRowsRepeatSiteAndSatellite)
{
    SolarBatchSetup s = BatchSetupFor(BatchKind::SatelliteFile, true);
    s.options.minuteRefinement = false;
    s.options.secondRefinement = true;
    s.early = false;
    const BatchRun r = Execute(s, SatelliteFileItems(s.formSite, kSatellites));
    ASSERT_GE(r.lines.size(), 8u);
    EXPECT_EQ(r.lines[2], "Late Season Group~");
    EXPECT_EQ(r.lines[5], " ");
    EXPECT_EQ(
        r.lines[6],
        "Site Name\tLat\tLong\tTZ\tDia\tSat. Name\tSat. Long\tEL\tAZ\tDate\tBegin\tPeak\tEnd\tDepth\tClosest(deg)");
    const std::string prefix =
        "Chilbolton. Hampshire\t51.14N\t1.44W\t0\t1.2\t Sat 28.2E\t28.20E\t25.20\t143.84\t   Oct ";
    EXPECT_EQ(r.lines[7].rfind(prefix, 0), 0u) << r.lines[7];
    int belowHorizon = 0;
    for (std::size_t i = 7; i < r.lines.size(); ++i) {
        if (r.lines[i] == "Satellite below horizon") {
            ++belowHorizon;
            continue;
        }
        EXPECT_EQ(std::count(r.lines[i].begin(), r.lines[i].end(), '\t'), 14) << r.lines[i];
        EXPECT_EQ(r.lines[i].back() != '~', true);
    }
    EXPECT_EQ(belowHorizon, 1);  // 97W from the south of England
}

TEST(SolarBatch, AllSatellitesNumbersTheVisibleOnly)
{
    const SolarBatchSetup s = BatchSetupFor(BatchKind::AllSatellites, false);
    const std::vector<BatchItem> items = VisibleSatelliteItems(s.formSite, kSatellites);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].statusPosition, 3);  // its place in the list, from 1
    const BatchRun r = Execute(s, items);
    EXPECT_EQ(r.lines[3], "Local Standard Time (no daylight saving)");
    EXPECT_EQ(r.lines[5], "Site: Chilbolton. Hampshire. 51.14N. 1.44W.");
    EXPECT_EQ(r.lines[6], "Time Zone=0. Antenna Diameter=1.2m");
    EXPECT_NE(std::find(r.lines.begin(), r.lines.end(), "Satellite 2~"), r.lines.end());
    EXPECT_EQ(std::find(r.lines.begin(), r.lines.end(), "Satellite 3~"), r.lines.end());
    EXPECT_EQ(r.status.back().rfind("Item: 3 ", 0), 0u);
}

}  // namespace
