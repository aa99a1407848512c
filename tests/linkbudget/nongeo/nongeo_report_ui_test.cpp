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

#include "tests/linkbudget/nongeo/nongeo_support.h"

namespace {

using lbtest::HasLine;
using lbtest::ReportLines;

class LeoReport : public lbtest::LeoWindowFixture {};

TEST_F(LeoReport, HandBudgetWholeText)
{
    const TLeoLinkWin& w = LeoHandWindow();
    const std::vector<std::string> want = {
        "Non GEO Link Budget",
        "Orbiscope Test Bench~",
        "Tuesday 5 March 2024",
        " ",
        "Service Name\tTrunk",
        "Coverage\tEurope",
        "Uplink earth station\tValencia",
        "Downlink earth station\tKrakow",
        "Satellite name\tTestsat LEO",
        "Modcod\tManual",
        " ",
        "Link Input Parameters\tUp\tDown\t\tUnits~",
        "Site latitude\t40.00N\t50.00N\t\tdegrees",
        "Site longitude\t0.00E\t20.00E\t\tdegrees",
        "Site altitude\t0.100\t0.100\t\tkm",
        "Elevation\t30\t40\t\tdegrees",
        "Range\t1500\t2000\t\tkm",
        "Site/Sat longitude difference\t12.5\t0\t\tdegrees",
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
        "Antenna Noise\t\t30.00\t\tK",
        "Csat/ACIo\t300\t\t\tdB-Hz",
        "Csat/ASIo\t300\t\t\tdB-Hz",
        "Csat/XPIo\t300\t\t\tdB-Hz",
        "HPA C/IMo\t300\t\t\tdB-Hz",
        "Csat/ACIo\t\t300\t\tdB-Hz",
        "Csat/ASIo\t\t300\t\tdB-Hz",
        "Csat/XPIo\t\t300\t\tdB-Hz",
        "Uplink station HPA output back-off\t3\t\t\tdB",
        "Uplink power control available\t0\t\t\tdB",
        "Number of carriers / HPA\t1\t\t\t",
        "Required HPA power\tMIN\t\t\tW",
        " ",
        "Satellite Input Parameters\tValue\t\t\tUnits~",
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
        "Downlink C/No\t121.22\t\t\tdB-Hz",
        "Total C/No\t94.21\t\t\tdB-Hz",
        "Uplink EIRP for saturation\t44.51\t\t\tdBW",
        " ",
        "General Calculations\tUp\tDown\t\tUnits~",
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
        "Uplink transmit EIRP\t38.51\t38.51\t38.51\tdBW",
        "Uplink power control used\t0.00\t0.00\t0.00\tdB",
        "Transponder input back-off (total)\t6.00\t6.00\t6.00\tdB",
        "Input back-off per carrier\t6.00\t6.00\t6.00\tdB",
        "Antenna mispoint\t0.00\t0.00\t0.00\tdB",
        "Free space loss\t178.89\t178.89\t178.89\tdB",
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
        "Free space loss\t180.05\t180.05\t180.05\tdB",
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
        "C/No (thermal)\t118.22\t118.22\t118.22\tdB-Hz",
        "C/N (thermal)\t49.98\t49.98\t49.98\tdB",
        "C/ACI\t228.76\t228.76\t228.76\tdB",
        "C/ASI\t228.76\t228.76\t228.76\tdB",
        "C/XPI\t228.76\t228.76\t228.76\tdB",
        "C/IM\t300.00\t300.00\t300.00\tdB",
        "C/I (total)\t223.99\t223.99\t223.99\tdB",
        "C/(N+I)  [ Es/(No+Io) ]\t49.98\t49.98\t49.98\tdB",
        "Eb/(No+Io)\t48.22\t48.22\t48.22\tdB",
        " ",
        "Totals per Carrier (End-to-End)\tClear\tRain Up\tRain Dn\tUnits~",
        "C/No (thermal)\t88.22\t88.22\t88.22\tdB-Hz",
        "C/N (thermal)\t19.98\t19.98\t19.98\tdB",
        "C/ACI\t224.00\t224.00\t224.00\tdB",
        "C/ASI\t224.00\t224.00\t224.00\tdB",
        "C/XPI\t224.00\t224.00\t224.00\tdB",
        "C/IM\t228.76\t228.76\t228.76\tdB",
        "C/I (total)\t218.77\t218.77\t218.77\tdB",
        "C/(No+Io)\t88.22\t88.22\t88.22\tdB-Hz",
        "C/(N+I)  [ Es/(No+Io) ]\t19.98\t19.98\t19.98\tdB",
        "Eb/(No+Io)\t18.22\t18.22\t18.22\tdB",
        "Implementation loss\t0.00\t0.00\t0.00\tdB",
        "System margin\t0.00\t0.00\t0.00\tdB",
        "Net Eb/(No+Io)\t18.22\t18.22\t18.22\tdB",
        "Required Eb/(No+Io)\t4.50\t4.50\t4.50\tdB",
        "Excess margin\t13.72\t13.72\t13.72\tdB#",
        " ",
        "Carrier EIRP Density Calculations\tClear\tRain Up\tRain Dn\tUnits~",
        "Flange transmit (up)\t-78.79\t-78.79\t-78.79\tdBW/Hz",
        "Satellite (down)\t-21.24\t-21.24\t-21.24\tdBW/Hz",
        "Satelite beam peak (down)\tN/A\tN/A\tN/A\tdBW/Hz",
        "Flange receive (down)\t-159.59\t-159.59\t-159.59\tdBW/Hz",
        " ",
        " ",
        "Earth Station Power Requirements\tValue\t\t\tUnits~",
        "EIRP per carrier\t38.51\t\t\tdBW",
        "Uplink power control available\t0.00\t\t\tdB",
        "Total EIRP requirement\t38.51\t\t\tdBW",
        "Antenna gain\t49.06\t\t\tdBi",
        "Antenna feed flange power per carrier\t-10.55\t\t\tdBW",
        "HPA output back off\t3.00\t\t\tdB",
        "Waveguide loss\t1\t\t\tdB",
        "Total HPA power required\t-6.5486\t\t\tdBW",
        "Required HPA power\t0.221382\t\t\tW",
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
        "Overall Link efficiency\t0.28\t\t\tbps/Hz",
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
    EXPECT_EQ(w.TabStops, (std::vector<int>{280, 350, 420, 490}));
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

}  // namespace
