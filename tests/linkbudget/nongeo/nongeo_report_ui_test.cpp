// The whole report of a hand-checkable non-GEO budget (the atmosphere set to
// zero), line by line, and the lines that change with the dual-fade mode, the
// target and the interference units.
//
// The budget is the GEO hand budget with each station's geometry typed:
// up 30 degrees, 1500 km, 12.5 degrees; down 40 degrees, 2000 km, 0
// (c = 299792458 m/s, k = -228.5993213):
//  free-space loss  20 log10(4 pi d f / c): up 178.8922 dB, down 180.0520 dB
//  antenna gains    up 2.4 m 65 % at 14 GHz 49.0625 dBi, down 1.2 m at 12 GHz 41.7030 dBi
//  G/T              41.7030 - 10 log10(50 K + 30 K) = 22.6721 dB/K
//  saturation       EIRP for saturation -90 + 10 log10(4 pi (1.5e6 m)^2) = 44.5139 dBW;
//                   C/No up -90 - 44.3782 + 228.5993 = 94.2211;
//                   down 50 - 180.0520 + 22.6721 + 228.5993 = 121.2194; sum 94.2124 dB-Hz
//  one carrier      IBO 6: EIRP 38.5139 dBW, C/No up 88.2211; OBO 3: C/No down 118.2194;
//                   total 88.2167 dB-Hz
//  rates            Rb 10, FEC 3/4, QPSK: 6.6667 Mbaud, NBW 68.2391 dB-Hz
//  C/N              up 19.98, down 49.98, total 19.98; Eb/No up 18.22, down 48.22, total 18.22
//  margin           18.2167 - 4.5 = 13.72 dB
//  interference     the typed 300 dB-Hz entries as in the GEO hand budget (C/I 220.32, 223.99, 218.77)
//  densities        flange 38.5139 - 49.0625 - 68.2391 = -78.79; satellite 47 - 68.2391 = -21.24;
//                   receive 47 - 180.0520 + 41.7030 - 68.2391 = -159.59 dBW/Hz
//  HPA              flange power 38.5139 - 49.0625 = -10.5486 dBW; + 1 + 3 = -6.5486 dBW = 0.221382 W
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/linkbudget/nongeo/nongeo_support.h"

namespace {

using lbtest::HasLine;
using lbtest::ReportLines;

class LeoReport : public lbtest::LeoWindowFixture {};

// The report is the GEO report's with the typed geometry: 190 lines, the
// ones below at their places (the figures of the derivation above), every
// other one a line of the GEO hand budget's report (checked whole there), and
// none of the GEO report's look angles, satellite longitude or HPA carriers.
TEST_F(LeoReport, HandBudgetAgainstTheGeoReport)
{
    const TLeoLinkWin& w = LeoHandWindow();
    const std::map<std::size_t, std::string> own = {
        {0, "Non GEO Link Budget"},
        {8, "Satellite name\tTestsat LEO"},
        {15, "Elevation\t30\t40\t\tdegrees"},
        {16, "Range\t1500\t2000\t\tkm"},
        {17, "Site/Sat longitude difference\t12.5\t0\t\tdegrees"},
        {29, "Antenna Noise\t\t30.00\t\tK"},
        {31, "Csat/ASIo\t300\t\t\tdB-Hz"},  // as typed
        {35, "Csat/ASIo\t\t300\t\tdB-Hz"},
        {74, "Downlink C/No\t121.22\t\t\tdB-Hz"},
        {75, "Total C/No\t94.21\t\t\tdB-Hz"},
        {76, "Uplink EIRP for saturation\t44.51\t\t\tdBW"},
        {89, "Uplink transmit EIRP\t38.51\t38.51\t38.51\tdBW"},
        {94, "Free space loss\t178.89\t178.89\t178.89\tdB"},
        {101, "C/No (thermal)\t88.22\t88.22\t88.22\tdB-Hz"},
        {117, "Free space loss\t180.05\t180.05\t180.05\tdB"},
        {128, "C/No (thermal)\t118.22\t118.22\t118.22\tdB-Hz"},
        {129, "C/N (thermal)\t49.98\t49.98\t49.98\tdB"},
        {135, "C/(N+I)  [ Es/(No+Io) ]\t49.98\t49.98\t49.98\tdB"},
        {136, "Eb/(No+Io)\t48.22\t48.22\t48.22\tdB"},
        {139, "C/No (thermal)\t88.22\t88.22\t88.22\tdB-Hz"},
        {146, "C/(No+Io)\t88.22\t88.22\t88.22\tdB-Hz"},
        {151, "Net Eb/(No+Io)\t18.22\t18.22\t18.22\tdB"},
        {153, "Excess margin\t13.72\t13.72\t13.72\tdB#"},
        {156, "Flange transmit (up)\t-78.79\t-78.79\t-78.79\tdBW/Hz"},
        {159, "Flange receive (down)\t-159.59\t-159.59\t-159.59\tdBW/Hz"},
        {163, "EIRP per carrier\t38.51\t\t\tdBW"},
        {164, "Uplink power control available\t0.00\t\t\tdB"},
        {165, "Total EIRP requirement\t38.51\t\t\tdBW"},
        {167, "Antenna feed flange power per carrier\t-10.55\t\t\tdBW"},
        {170, "Total HPA power required\t-6.5486\t\t\tdBW"},
        {171, "Required HPA power\t0.221382\t\t\tW"},
        {183, "Overall Link efficiency\t0.28\t\t\tbps/Hz"},
    };
    TUpLinkWin& geo = HandWindow();
    const std::vector<std::string> geoLines = ReportLines(geo);
    const std::set<std::string> geoOwn(geoLines.begin(), geoLines.end());
    const auto got = ReportLines(w);
    ASSERT_EQ(got.size(), 190u);
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (own.count(i)) EXPECT_EQ(got[i], own.at(i)) << "line " << i;
        else EXPECT_TRUE(geoOwn.count(got[i])) << "line " << i << ": " << got[i];
    }
    for (const std::string& line : got)
        for (const char* geoOnly : {"Satellite longitude\t", "True azimuth\t", "Compass bearing\t",
                                    "Path distance to satellite\t", "Number of HPA carriers\t"})
            EXPECT_NE(line.rfind(geoOnly, 0), 0u) << line;
    EXPECT_TRUE(Messages().empty());
}

// Each variant changes one thing of the hand budget; the lines listed must
// appear as given and the lines of the other form must not.
struct Variant {
    const char* name;
    void (*edit)(NonGeoLinkInputRecord&);
    std::vector<const char*> present;
    std::vector<const char*> absent;
};

const Variant kVariants[] = {
    {"dual fade: two columns, the plain scintillation label on both links",
     [](NonGeoLinkInputRecord& r) { r.dualFade.Set(1); },
     {"Uplink Calculation\tClear\tRain\t\tUnits~", "Uplink transmit EIRP\t38.51\t38.51\t\tdBW",
      "Tropospheric scintillation\t0.00\t0.00\t\tdB", "Eb/(No+Io)\t18.22\t18.22\t\tdB",
      "Eb/(No+Io)\t48.22\t48.22\t\tdB", "EIRP per carrier\t38.51\t\t\tdBW"},
     {"Tropospheric scintillation fading\t0.00\t0.00\t\tdB", "Transmit EIRP\t38.51\t38.51\t\tdBW",
      "Uplink Calculation\tClear\tRain Up\tRain Dn\tUnits~"}},
    {"Es/No target: no per-link Eb/(No+Io) lines in three columns, the total stays",
     [](NonGeoLinkInputRecord& r) {
         r.targetEbNo.Set(0);
         r.targetEsNo.Set(1);
     },
     {"Required Es/No\t4.5\t\t\tdB", "Eb/(No+Io)\t18.22\t18.22\t18.22\tdB", "Net Es/(No+Io)\t19.98\t19.98\t19.98\tdB"},
     {"Eb/(No+Io)\t48.22\t48.22\t48.22\tdB"}},
    {"Es/No target in dual fade: the per-link lines stay",
     [](NonGeoLinkInputRecord& r) {
         r.targetEbNo.Set(0);
         r.targetEsNo.Set(1);
         r.dualFade.Set(1);
     },
     {"Eb/(No+Io)\t18.22\t18.22\t\tdB", "Eb/(No+Io)\t48.22\t48.22\t\tdB"},
     {}},
    {"C/I units: the typed C/ASI echoed as typed",
     [](NonGeoLinkInputRecord& r) {
         r.upCsatIoUnits.Set(0);
         r.upCiUnits.Set(1);
         r.dnCsatIoUnits.Set(0);
         r.dnCiUnits.Set(1);
         std::snprintf(r.upCsatAsi, sizeof r.upCsatAsi, "%s", "25.5");
         std::snprintf(r.dnCsatAsi, sizeof r.dnCsatAsi, "%s", "26");
     },
     {"C/ASI\t25.5\t\t\tdB", "C/ASI\t\t26\t\tdB"},
     {"Csat/ASIo\t300\t\t\tdB-Hz"}},
    {"lower-case polarization gives an empty cell",
     [](NonGeoLinkInputRecord& r) { std::snprintf(r.upPolarization, sizeof r.upPolarization, "%s", "c"); },
     {"Polarization\t\tHorizontal\t\t"},
     {}},
    {"mineq HPA power echoed as typed, computed power with six decimals",
     [](NonGeoLinkInputRecord& r) { std::snprintf(r.hpaPower, sizeof r.hpaPower, "%s", "mineq"); },
     {"Required HPA power\tmineq\t\t\tW", "Required HPA power\t0.221382\t\t\tW"},
     {}},
};

TEST_F(LeoReport, Variants)
{
    for (const Variant& v : kVariants) {
        SCOPED_TRACE(v.name);
        const TLeoLinkWin& w = LeoHandWindow(v.edit);
        for (const char* line : v.present) EXPECT_TRUE(HasLine(w, line)) << line;
        for (const char* line : v.absent) EXPECT_FALSE(HasLine(w, line)) << line;
        for (const auto& line : ReportLines(w)) {
            EXPECT_EQ(line.rfind("Antenna off axis", 0), std::string::npos) << line;
            EXPECT_EQ(line.rfind("Satellite longitude", 0), std::string::npos) << line;
        }
    }
}

// A frozen budget keeps its symbol rate (6.6667 Mbaud for 10 Mbps at 3/4
// with QPSK) and HPA power, and the window's record shows them.
TEST_F(LeoReport, FrozenRateAndPowerReachTheRecord)
{
    TLeoLinkWin& w = LeoHandWindow();
    w.Budget().frozen = true;
    SetText(w.Record().rate, "20");
    w.Recalculate();
    EXPECT_EQ(FieldText(w.Record().rate), "6.6667");
    EXPECT_EQ(FieldText(w.Record().hpaPower), "0.2214");
    EXPECT_EQ(w.Record().symbolRate.Value(), 1);
    EXPECT_EQ(w.Record().infoRate.Value(), 0);
    EXPECT_TRUE(HasLine(w, "Symbol rate\t6.6667\t\t\tMbaud"));
    EXPECT_TRUE(HasLine(w, "Excess margin\t13.72\t13.72\t13.72\tdB#"));
}

}  // namespace
