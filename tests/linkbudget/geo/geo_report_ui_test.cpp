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

#include "tests/linkbudget/windows/window_support.h"

namespace {

using lbtest::FillNamedHandBudget;
using lbtest::HasLine;
using lbtest::ReportLines;

class Report : public lbtest::WindowFixture {};

TEST_F(Report, HandBudgetWholeText)
{
    const TUpLinkWin& w = HandWindow();
    const std::vector<std::string> want = {
        "Link Budget",
        "Orbiscope Test Bench~",
        "Tuesday 5 March 2024",
        " ",
        "Service Name\tTrunk",
        "Coverage\tEurope",
        "Uplink earth station\tValencia",
        "Downlink earth station\tKrakow",
        "Satellite name\tTestsat 10E",
        "Modcod\tManual",
        " ",
        "Link Input Parameters\tUp\tDown\t\tUnits~",
        "Site latitude\t40.00N\t50.00N\t\tdegrees",
        "Site longitude\t0.00E\t20.00E\t\tdegrees",
        "Site altitude\t0.100\t0.100\t\tkm",
        "Frequency\t14\t12\t\tGHz",
        "Polarization\tVertical\tHorizontal\t\t",
        "Rain model\tClear sky\tClear sky\t\t",
        "R0.01%\t0\t0\t\tmm/h",
        "Availability (average year)\tN/A\tN/A\t\t%",
        "Antenna aperture\t2.4\t1.2\t\tmetres",
        "Antenna efficiency or gain (+ or - prefix)\t65\t65\t\t% or dBi",
        "Coupling loss\t1\t0\t\tdB",
        "Antenna mispoint loss\t0\t0\t\tdB",
        "Other path losses (site diversity gain -ve)\t0\t0\t\tdB",
        "LNB noise figure or temp (+ prefix)\t\t+50\t\tdB or K",
        "Antenna noise\t\t30.00\t\tK",
        "Csat/ACIo\t300\t\t\tdB-Hz",
        "Csat/ASIo\t300.00\t\t\tdB-Hz",
        "Csat/XPIo\t300\t\t\tdB-Hz",
        "HPA C/IMo\t300\t\t\tdB-Hz",
        "Csat/ACIo\t\t300\t\tdB-Hz",
        "Csat/ASIo\t\t300.00\t\tdB-Hz",
        "Csat/XPIo\t\t300\t\tdB-Hz",
        "Uplink station HPA output back-off\t3\t\t\tdB",
        "Uplink power control available\t0\t\t\tdB",
        "Number of carriers / HPA\t1\t\t\t",
        "Required HPA power\tMIN\t\t\tW",
        " ",
        "Satellite Input Parameters\tValue\t\t\tUnits~",
        "Satellite longitude\t10.00E\t\t\tdegrees",
        "Transponder type\tLTWTA\t\t\t",
        "G/T Reference\t0\t\t\tdB/K",
        "SFD Reference\t-90\t\t\tdBW/m2",
        "Receive G/T\t0\t\t\tdB/K",
        "Flux control attenuator (FCA)\t0\t\t\tdB",
        "Effective SFD\t-90.00\t\t\tdBW/m2#",
        "Satellite ALC\t0\t\t\tdB",
        "EIRP (saturation)\t50\t\t\tdBW",
        "EIRP (beam peak)\t\t\t\tdBW",
        "Transponder bandwidth\t36\t\t\tMHz",
        "Input back off total\t6\t\t\tdB",
        "Output back off total\t3\t\t\tdB",
        "C/IM\t300.00\t\t\tdB",
        "Carriers per transponder\t1\t\t\t",
        " ",
        "Carrier/Link Input Parameters\tValue\t\t\tUnits~",
        "Modulation\t4-PSK\t\t\t",
        "Required Eb/No\t4.5\t\t\tdB",
        "Information rate\t10\t\t\tMbps",
        "Information rate overhead\t0\t\t\t%",
        "FEC code rate\t3/4\t\t\t",
        "Spreading gain\t0\t\t\tdB",
        "(1 + Roll off factor)\t1.35\t\t\t",
        "Carrier spacing factor\t1.4\t\t\t",
        "Bandwidth allocation step size\t0\t\t\tMHz",
        "Implementation loss\t0\t\t\tdB",
        "System margin\t0\t\t\tdB",
        " ",
        "Calculations at Saturation\tValue\t\t\tUnits~",
        "Gain 1m^2\t44.38\t\t\tdB/m2",
        "Uplink C/No\t94.22\t\t\tdB-Hz",
        "Downlink C/No\t95.54\t\t\tdB-Hz",
        "Total C/No\t91.82\t\t\tdB-Hz",
        "Uplink EIRP for saturation\t72.49\t\t\tdBW",
        " ",
        "General Calculations\tUp\tDown\t\tUnits~",
        "Elevation\t42.59\t31.91\t\tdegrees",
        "True azimuth\t164.66\t192.96\t\tdegrees",
        "Compass bearing\t163.30\t186.77\t\tdegrees",
        "Path distance to satellite\t37586.76\t38445.45\t\tkm",
        "XPD during rain\t0.00\t0.00\t\tdB",
        "Antenna efficiency\t65.00\t65.00\t\t%",
        "Antenna gain\t49.06\t41.70\t\tdBi",
        "Availability (average year)\tN/A\tN/A\t\t%",
        "Link downtime (average year)\tN/A\tN/A\t\thours",
        "Availability (worst month)\tN/A\tN/A\t\t%",
        "Link downtime (worst month)\tN/A\tN/A\t\thours",
        " ",
        " ",
        "Uplink Calculation\tClear\tRain Up\tRain Dn\tUnits~",
        "Transmit EIRP\t66.49\t66.49\t66.49\tdBW",
        "Uplink power control used\t0.00\t0.00\t0.00\tdB",
        "Transponder input back-off (total)\t6.00\t6.00\t6.00\tdB",
        "Input back-off per carrier\t6.00\t6.00\t6.00\tdB",
        "Antenna mispoint\t0.00\t0.00\t0.00\tdB",
        "Free space loss\t206.87\t206.87\t206.87\tdB",
        "Atmospheric absorption (p=5% for p<5%)\t0.00\t0.00\t0.00\tdB",
        "Tropospheric scintillation\t0.00\t0.00\t0.00\tdB",
        "Cloud attenuation (p=5% for p<5%)\t0.00\t0.00\t0.00\tdB",
        "Rain attenuation (0dB for p>5%)\t0.00\t0.00\t0.00\tdB",
        "Total attenuation (gas-rain-cloud-scintillation)\t0.00\t0.00\t0.00\tdB",
        "Other path losses\t0.00\t0.00\t0.00\tdB",
        "C/No (thermal)\t88.22\t88.22\t88.22\tdB-Hz",
        "C/N (thermal)\t19.98\t19.98\t19.98\tdB",
        "C/ACI\t225.76\t225.76\t225.76\tdB",
        "C/ASI\t225.76\t225.76\t225.76\tdB",
        "C/XPI\t225.76\t225.76\t225.76\tdB",
        "C/IM\t228.76\t228.76\t228.76\tdB",
        "C/I (total)\t220.32\t220.32\t220.32\tdB",
        "C/(N+I)  [ Es/(No+Io) ]\t19.98\t19.98\t19.98\tdB",
        "Eb/(No+Io)\t18.22\t18.22\t18.22\tdB",
        " ",
        "Downlink Calculation\tClear\tRain Up\tRain Dn\tUnits~",
        "Satellite EIRP total\t50.00\t50.00\t50.00\tdBW",
        "Transponder output back-off (total)\t3.00\t3.00\t3.00\tdB",
        "Output back-off per carrier\t3.00\t3.00\t3.00\tdB",
        "Satellite EIRP per carrier\t47.00\t47.00\t47.00\tdBW",
        "Antenna mispoint\t0.00\t0.00\t0.00\tdB",
        "Free space loss\t205.73\t205.73\t205.73\tdB",
        "Atmospheric absorption (p=5% for p<5%)\t0.00\t0.00\t0.00\tdB",
        "Tropospheric scintillation\t0.00\t0.00\t0.00\tdB",
        "Cloud attenuation (p=5% for p<5%)\t0.00\t0.00\t0.00\tdB",
        "Rain attenuation (0dB for p>5%)\t0.00\t0.00\t0.00\tdB",
        "Total attenuation (gas-rain-cloud-scintillation)\t0.00\t0.00\t0.00\tdB",
        "Other path losses\t0.00\t0.00\t0.00\tdB",
        "Noise increase due to precipitation\t0.00\t0.00\t0.00\tdB",
        "Downlink degradation (DND)\t0.00\t0.00\t0.00\tdB",
        "Total system noise\t80.00\t80.00\t80.00\tK",
        "Figure of merit (G/T)\t22.67\t22.67\t22.67\tdB/K",
        "C/No (thermal)\t92.54\t92.54\t92.54\tdB-Hz",
        "C/N (thermal)\t24.30\t24.30\t24.30\tdB",
        "C/ACI\t228.76\t228.76\t228.76\tdB",
        "C/ASI\t228.76\t228.76\t228.76\tdB",
        "C/XPI\t228.76\t228.76\t228.76\tdB",
        "C/IM\t300.00\t300.00\t300.00\tdB",
        "C/I (total)\t223.99\t223.99\t223.99\tdB",
        "C/(N+I)  [ Es/(No+Io) ]\t24.30\t24.30\t24.30\tdB",
        "Eb/(No+Io)\t22.54\t22.54\t22.54\tdB",
        " ",
        "Totals per Carrier (End-to-End)\tClear\tRain Up\tRain Dn\tUnits~",
        "C/No (thermal)\t86.85\t86.85\t86.85\tdB-Hz",
        "C/N (thermal)\t18.62\t18.62\t18.62\tdB",
        "C/ACI\t224.00\t224.00\t224.00\tdB",
        "C/ASI\t224.00\t224.00\t224.00\tdB",
        "C/XPI\t224.00\t224.00\t224.00\tdB",
        "C/IM\t228.76\t228.76\t228.76\tdB",
        "C/I (total)\t218.77\t218.77\t218.77\tdB",
        "C/(No+Io)\t86.85\t86.85\t86.85\tdB-Hz",
        "C/(N+I)  [ Es/(No+Io) ]\t18.62\t18.62\t18.62\tdB",
        "Eb/(No+Io)\t16.85\t16.85\t16.85\tdB",
        "Implementation loss\t0.00\t0.00\t0.00\tdB",
        "System margin\t0.00\t0.00\t0.00\tdB",
        "Net Eb/(No+Io)\t16.85\t16.85\t16.85\tdB",
        "Required Eb/(No+Io)\t4.50\t4.50\t4.50\tdB",
        "Excess margin\t12.35\t12.35\t12.35\tdB#",
        " ",
        "Carrier EIRP Density Calculations\tClear\tRain Up\tRain Dn\tUnits~",
        "Flange transmit (up)\t-50.81\t-50.81\t-50.81\tdBW/Hz",
        "Satellite (down)\t-21.24\t-21.24\t-21.24\tdBW/Hz",
        "Satelite beam peak (down)\tN/A\tN/A\tN/A\tdBW/Hz",
        "Flange receive (down)\t-185.26\t-185.26\t-185.26\tdBW/Hz",
        " ",
        " ",
        "Earth Station Power Requirements\tValue\t\t\tUnits~",
        "EIRP per carrier\t66.49\t\t\tdBW",
        "Available uplink power control\t0.00\t\t\tdB",
        "Total EIRP required\t66.49\t\t\tdBW",
        "Antenna gain\t49.06\t\t\tdBi",
        "Antenna feed flange power per carrier\t17.43\t\t\tdBW",
        "HPA output back off\t3.00\t\t\tdB",
        "Waveguide loss\t1\t\t\tdB",
        "Number of HPA carriers\t1\t\t\t",
        "Total HPA power required\t21.4303\t\t\tdBW",
        "Required HPA power\t139.0046\t\t\tW",
        " ",
        "Space Segment Utilization\tValue\t\t\tUnits~",
        "Overall target availability\tN/A\t\t\t%",
        "Information rate\t10.0000\t\t\tMbps",
        "Information rate (inc overhead)\t10.0000\t\t\tMbps",
        "Transmit rate\t13.3333\t\t\tMbps",
        "Symbol rate\t6.6667\t\t\tMbaud",
        "Noise Bandwidth\t68.24\t\t\tdB-Hz",
        "Occupied bandwidth\t9.0000\t\t\tMHz",
        "Minimum allocated bandwidth required\t9.3333\t\t\tMHz",
        "Allocated transponder bandwidth\t9.3333\t\t\tMHz",
        "Overall Link efficiency\t0.278\t\t\tbps/Hz",
        "Percentage transponder bandwidth used\t25.93\t\t\t%#",
        "Used transponder power\t47.00\t\t\tdBW",
        "Percentage transponder power used\t100.00\t\t\t%#",
        "Number of carriers (user defined)\t1.00\t\t\t",
        "Limited by:\tPower",
        "Power equivalent bandwidth usage\t36.0000\t\t\tMHz",
    };
    const auto got = ReportLines(w);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], want[i]) << "line " << i;
    EXPECT_EQ(w.Lines(), int(want.size()));
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
