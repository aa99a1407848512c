// The whole report of the hand-checkable clear-sky budget (the atmosphere
// set to zero), line by line, and the report's variants: dual fade, C/I
// units, the beam-peak and polarization cells, the off-axis lines.
//
// Every figure of the hand budget below follows from textbook formulas
// (R = 6378.14 km, r = 42164.57 km, c = 299792458 m/s, k = -228.5993213):
//  slant range      up 37586.756 km, down 38445.447 km
//  free-space loss  up 206.8710 dB, down 205.7283 dB
//  antenna gains    up 2.4 m 65 % at 14 GHz 49.0625 dBi, down 1.2 m at 12 GHz 41.7030 dBi
//  gain of 1 m^2    10 log10(4 pi / lambda^2) = 44.3782 dB/m^2
//  saturation       EIRP for saturation -90 + 10 log10(4 pi d^2) = 72.4928 dBW;
//                   C/No up -90 - 44.3782 + 0 + 228.5993 = 94.2211;
//                   down 50 - 205.7283 + 22.6721 + 228.5993 = 95.5431; sum 91.8200 dB-Hz
//  G/T              41.7030 - 10 log10(50 K + 30 K) = 22.6721 dB/K
//  one carrier      IBO 6: EIRP 66.4928 dBW, C/No up 88.2211; OBO 3: EIRP 47, C/No down 92.5431;
//                   total 86.8550 dB-Hz
//  rates            Rb 10, FEC 3/4 -> 13.3333 Mbps, QPSK 6.6667 Mbaud, NBW 68.2391 dB-Hz
//  C/N              up 19.982, down 24.304, total 18.616; Eb/No up 18.221, down 22.543, total 16.855
//  margin           16.855 - 4.5 = 12.355 dB
//  interference     each 300 dB-Hz entry: C/I = 300 - back-off - NBW (225.76 at IBO 6, 228.76 at 3)
//  densities        flange 66.4928 - 49.0625 - 68.2391 = -50.81; satellite 47 - 68.2391 = -21.24;
//                   receive 47 - 205.7283 + 41.7030 - 68.2391 = -185.26 dBW/Hz
//  HPA              66.4928 - 49.0625 + 1 + 3 = 21.4303 dBW = 139.0046 W
//  bandwidth        occupied 6.6667 x 1.35 = 9.0000, allocated x 1.4 = 9.3333 MHz, 25.93 % of 36;
//                   efficiency 10 / 36 = 0.278 bps/Hz; power share 100 % -> "Power"
// The compass bearings are the true azimuths less the magnetic declination
// on the fixed clock's date (about 1.4 degrees east at 40N 0E and 6.2 east
// at 50N 20E in March 2024).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "tests/linkbudget/windows/window_support.h"

namespace {

using lbtest::FillNamedHandBudget;
using lbtest::HasLine;
using lbtest::ReportLines;

class Report : public lbtest::WindowFixture {};

// golden/geo_hand_budget.txt: the whole report, reviewed line by line
// against the derivation above.
TEST_F(Report, HandBudgetWholeText)
{
    const TUpLinkWin& w = HandWindow();
    // The application has made its own folder the current one; the source
    // path is relative to where the tests started.
    std::ifstream in(startDir / std::filesystem::path(__FILE__).parent_path() / "../golden/geo_hand_budget.txt",
                     std::ios::binary);
    const std::string golden{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(w.Report(), golden);
    EXPECT_EQ(w.Lines(), 193);
    EXPECT_EQ(w.TabStops, (std::vector<int>{280, 350, 420, 490}));
    EXPECT_TRUE(Messages().empty());
}

// Each variant changes one thing of the hand budget; the lines listed must
// appear as given and the lines of the other variant must not.
struct Variant {
    const char* name;
    void (*edit)(GeoLinkInputRecord&);
    std::vector<const char*> present;
    std::vector<const char*> absent;
};

const Variant kVariants[] = {
    {"dual fade: two columns, the rain-on-both case",
     [](GeoLinkInputRecord& r) { r.dualFade.Set(1); },
     {"Uplink Calculation\tClear\tRain\t\tUnits~", "Transmit EIRP\t66.49\t66.49\t\tdBW",
      "Tropospheric scintillation fading\t0.00\t0.00\t\tdB", "Downlink Calculation\tClear\tRain\t\tUnits~",
      "Tropospheric scintillation\t0.00\t0.00\t\tdB", "Total system noise\t80.00\t80.00\t\tK",
      "Totals per Carrier (End-to-End)\tClear\tRain\t\tUnits~", "Excess margin\t12.35\t12.35\t\tdB#",
      "Carrier EIRP Density Calculations\tClear\tRain\t\tUnits~",
      "Satellite beam peak (down)\tN/A\tN/A\t\tdBW/Hz", "EIRP per carrier\t66.49\t\t\tdBW"},
     {"Uplink Calculation\tClear\tRain Up\tRain Dn\tUnits~", "Satelite beam peak (down)\tN/A\tN/A\tN/A\tdBW/Hz"}},
    // 10 log10(10^((52 - 3) / 10) x 100 % / 100) - 68.2391 = -19.24 dBW/Hz
    {"beam-peak EIRP given", [](GeoLinkInputRecord& r) { SetText(r.eirpBeamPeak, "52"); },
     {"EIRP (beam peak)\t52\t\t\tdBW", "Satellite beam peak (down)\t-19.24\t-19.24\t-19.24\tdBW/Hz"},
     {"Satelite beam peak (down)\tN/A\tN/A\tN/A\tdBW/Hz"}},
    {"beam-peak EIRP typed as 0", [](GeoLinkInputRecord& r) { SetText(r.eirpBeamPeak, "0"); },
     {"Satelite beam peak (down)\tN/A\tN/A\tN/A\tdBW/Hz"}, {}},
    {"lower-case polarization", [](GeoLinkInputRecord& r) { SetText(r.upPolarization, "c"); },
     {"Polarization\t\tHorizontal\t\t"}, {}},
    {"circular polarization", [](GeoLinkInputRecord& r) { SetText(r.dnPolarization, "C"); },
     {"Polarization\tVertical\tCircular\t\t"}, {}},
    {"C/I units on both links",
     [](GeoLinkInputRecord& r) {
         r.upCsatIoUnits.Set(0);
         r.upCiUnits.Set(1);
         r.dnCsatIoUnits.Set(0);
         r.dnCiUnits.Set(1);
     },
     {"C/ACI\t300\t\t\tdB", "C/XPI\t300\t\t\tdB", "HPA C/IM\t300\t\t\tdB", "C/ACI\t\t300\t\tdB",
      "C/XPI\t\t300\t\tdB"},
     {"Csat/ACIo\t300\t\t\tdB-Hz", "Csat/ACIo\t\t300\t\tdB-Hz"}},
    {"HPA power mineq echoed as typed", [](GeoLinkInputRecord& r) { SetText(r.hpaPower, "mineq"); },
     {"Required HPA power\tmineq\t\t\tW"}, {"Required HPA power\tMIN\t\t\tW"}},
    {"symbol rate and Es/No target",
     [](GeoLinkInputRecord& r) {
         r.infoRate.Set(0);
         r.symbolRate.Set(1);
         r.targetEbNo.Set(0);
         r.targetEsNo.Set(1);
         r.mapsk.Set(0);
         r.mqam.Set(1);
         SetText(r.modulationOrder, "16");
     },
     {"Symbol rate\t10\t\t\tMbaud", "Required Es/No\t4.5\t\t\tdB", "Modulation\t16-QAM/APSK\t\t\t",
      "Required Es/(No+Io)\t4.50\t4.50\t4.50\tdB"},
     {"Information rate\t10\t\t\tMbps", "Required Eb/No\t4.5\t\t\tdB"}},
    {"TWTA", [](GeoLinkInputRecord& r) { r.ltwta.Set(0); r.twta.Set(1); }, {"Transponder type\tTWTA\t\t\t"}, {}},
    {"SSPA", [](GeoLinkInputRecord& r) { r.ltwta.Set(0); r.sspa.Set(1); }, {"Transponder type\tSSPA\t\t\t"}, {}},
    {"one bit per symbol", [](GeoLinkInputRecord& r) { r.mapsk.Set(0); r.oneBitPerSymbol.Set(1); SetText(r.modulationOrder, "2"); },
     {"Modulation\t1 bit/symbol\t\t\t"}, {}},
};

TEST_F(Report, Variants)
{
    for (const Variant& v : kVariants) {
        TUpLinkWin& w = NewWindow();
        FillNamedHandBudget(w.Record());
        v.edit(w.Record());
        w.Recalculate();
        for (const char* line : v.present) EXPECT_TRUE(HasLine(w, line)) << v.name << ": " << line;
        for (const char* line : v.absent) EXPECT_FALSE(HasLine(w, line)) << v.name << ": " << line;
    }
}

// Off-axis lines only without the known total: Sat1 always, the others when
// their box is set.
TEST_F(Report, OffAxisLinesFollowTheIncludeBoxes)
{
    TUpLinkWin& w = NewWindow();
    FillNamedHandBudget(w.Record());
    GeoLinkInputRecord& r = w.Record();
    r.upAsiKnownTotal.Set(0);
    const char* longitudes[] = {"12.00E", "13.00E", "14.00E", "15.00E"};
    for (int i = 0; i < 4; ++i) {
        SetText(r.upAsiDensity[i], "-60");
        SetText(r.upAsiLongitude[i], longitudes[i]);
    }
    r.upAsiInclude[1].Set(1);  // Sat3 only
    w.Recalculate();
    std::vector<std::string> offAxis;
    for (const auto& l : ReportLines(w))
        if (l.rfind("Antenna off axis transmit toward ", 0) == 0) offAxis.push_back(l.substr(0, l.find('\t')));
    EXPECT_EQ(offAxis, (std::vector<std::string>{"Antenna off axis transmit toward 12.00E",
                                                 "Antenna off axis transmit toward 14.00E"}));
}

// Carriers AUTO with "MIN": the search sets the carrier's uplink EIRP so that
// the end-to-end C/No just meets the required 10 log10(10e6) + 4.5 = 74.5
// dB-Hz.  Input and output back-off per carrier move together (3 dB apart),
// so both C/No of the one-carrier budget (86.8550 dB-Hz at IBO 6, OBO 3) fall
// by the same 12.355 dB: the carrier takes 100 x 10^-1.2355 = 5.81 % of the
// transponder power, so power allows 100 / 5.813 = 17.20 carriers.
// Bandwidth allows 36 / 9.3333 = 3.86 (25.93 % each), or 38.57 of a 360 MHz
// transponder (2.59 % each).  The count printed is what the transponder can
// take, the smaller, whichever limits; the margin the search leaves (a hair
// either side of zero) prints as 0.00.
TEST_F(Report, CarrierCountIsTheSmallerOfBandwidthAndPower)
{
    const struct {
        const char* bandwidth;
        bool dualFade;
        const char* carriers;
        const char* limit;
        const char* bandwidthUsed;
    } rows[] = {
        {"36", false, "3.86", "Bandwidth", "25.93"},
        {"36", true, "3.86", "Bandwidth", "25.93"},
        {"360", false, "17.20", "Power", "2.59"},
        {"360", true, "17.20", "Power", "2.59"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.bandwidth) + (row.dualFade ? " MHz, dual fade" : " MHz"));
        TUpLinkWin& w = NewWindow();
        FillNamedHandBudget(w.Record());
        SetText(w.Record().carriersPerTransponder, "AUTO");
        SetText(w.Record().transponderBandwidth, row.bandwidth);
        w.Record().dualFade.Set(row.dualFade);
        w.Recalculate();
        const std::string results[] = {
            "Percentage transponder bandwidth used\t" + std::string(row.bandwidthUsed) + "\t\t\t%#",
            "Percentage transponder power used\t5.81\t\t\t%#",
            "Max carriers / transponder\t" + std::string(row.carriers),
            "Limited by:\t" + std::string(row.limit),
            row.dualFade ? "Excess margin\t0.00\t0.00\t\tdB#" : "Excess margin\t0.00\t0.00\t0.00\tdB#",
        };
        for (const std::string& line : results) EXPECT_TRUE(HasLine(w, line)) << line;
        for (const std::string& line : ReportLines(w))
            EXPECT_FALSE(std::regex_search(line, std::regex("(^|\t)-0(\\.0*)?(\t|$)"))) << line;

        // The results export reads the same lines.
        const std::filesystem::path path = app->dir.Path() / "results.txt";
        platform::QueueFileDialogAnswer({{path.string()}});
        w.HandleCommand(TUpLinkWin::kExportResultsCommand);
        std::ifstream in(path, std::ios::binary);
        const std::string exported{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::string exportedLines[] = {
            "Space Segment Utilization: Max carriers / transponder\t" + std::string(row.carriers) + "\n",
            "Totals per Carrier (End-to-End): Excess margin (Clear)\t0.00\n"};
        for (const std::string& line : exportedLines)
            EXPECT_NE(exported.find(line), std::string::npos) << line;
        EXPECT_EQ(exported.find("\t-0.00\n"), std::string::npos);
    }
}

// The report is rebuilt from its start at every recalculation.
TEST_F(Report, RebuiltFromTheStart)
{
    TUpLinkWin& w = HandWindow();
    const std::string first = w.Report();
    const int lines = w.Lines();
    w.Recalculate();
    EXPECT_EQ(w.Report(), first);
    EXPECT_EQ(w.Lines(), lines);
}

}  // namespace
