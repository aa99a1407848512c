// The bent-pipe link-budget report: the inputs as typed, then the results of
// the four weather cases.  Every line's format is fixed; columns are separated by
// tabs, "~" ends a heading and "#" a line in the emphasis font.
#include "linkbudget/geo/geo_report.h"

#include <span>
#include <string>
#include <vector>

#include "linkbudget/engine/report_text.h"
#include "linkbudget/nongeo/nongeo_record.h"

using namespace lbreport;

namespace {

// The report's tables have three value columns: up and down, or the
// weather cases.
constexpr int kValueColumns = 3;

// A weather case of the calculation sections: its results and which links
// are in rain.
struct Weather {
    const char* title;
    LinkCaseResult GeoLinkBudget::*result;
    bool upRain, dnRain;
};

constexpr Weather kClear{"Clear", &GeoLinkBudget::clearSky, false, false};
constexpr Weather kSingleFades[] = {kClear,
                                    {"Rain Up", &GeoLinkBudget::rainUp, true, false},
                                    {"Rain Dn", &GeoLinkBudget::rainDown, false, true}};
constexpr Weather kDualFade[] = {kClear, {"Rain", &GeoLinkBudget::rainBoth, true, true}};

// The calculation sections, one value column per weather case: clear sky,
// rain on the uplink and rain on the downlink, or clear sky and rain on both
// links (dual fade).
void WriteCaseSections(ReportWriter& line, const GeoLinkBudget& b, const NonGeoLinkInputRecord* leo,
                       std::span<const Weather> cases)
{
    const GeoLinkInputs& in = b.in;
    const GeoLinkSolution& s = b.sol;
    const PathLossRecord& up = b.upPath;
    const DownlinkPathLossRecord& dn = b.dnPath;
    const bool dual = cases.size() == 2;
    const ReportTable table(line, kValueColumns);
    // One value a case.
    const auto row = [&](const char* label, const char* unit, auto value) {
        std::vector<double> values;
        for (const Weather& w : cases) values.push_back(value(w, b.*w.result));
        table.Numbers(label, values, unit);
    };
    const auto field = [&](const char* label, const char* unit, int f) {
        row(label, unit, [f](const Weather&, const LinkCaseResult& c) { return c[f]; });
    };
    const auto same = [&](const char* label, const char* unit, double v) {
        row(label, unit, [v](const Weather&, const LinkCaseResult&) { return v; });
    };
    const auto heading = [&](const char* title) {
        if (dual)
            table.Heading(title, {cases[0].title, cases[1].title});
        else
            table.Heading(title, {cases[0].title, cases[1].title, cases[2].title});
    };
    // The ratios of one link (offset 0 up, 1 down, 2 end to end), whose
    // fields of each kind are consecutive.
    const auto ratios = [&](int link, bool ebNo) {
        field("C/No (thermal)", "dB-Hz", kUpCNo + link);
        field("C/N (thermal)", "dB", kUpCN + link);
        field("C/ACI", "dB", kUpCAci + link);
        field("C/ASI", "dB", kUpCAsi + link);
        field("C/XPI", "dB", kUpCXpi + link);
        field("C/IM", "dB", kHpaCIm + link);
        field("C/I (total)", "dB", kUpCI + link);
        if (link == 2) field("C/(No+Io)", "dB-Hz", kTotalCNoIo);
        field("C/(N+I)  [ Es/(No+Io) ]", "dB", kUpCNI + link);
        if (ebNo) field("Eb/(No+Io)", "dB", kUpEbNoIo + link);
    };
    // The non-GEO report leaves out the link Eb/(No+Io) of single fades when
    // the target is an Es/No.
    const bool linkEbNo = dual || !leo || in.targetEbNo;
    const double upcUsed = up.upcUsed;

    line.Blank();
    heading("Uplink Calculation");
    row(leo ? "Uplink transmit EIRP" : "Transmit EIRP", "dBW",
        [&](const Weather& w, const LinkCaseResult& c) { return c[kUplinkEirp] + (w.upRain ? upcUsed : 0.0); });
    row("Uplink power control used", "dB", [&](const Weather& w, const LinkCaseResult&) {
        return w.upRain ? upcUsed : 0.0;
    });
    same("Transponder input back-off (total)", "dB", in.transponderIbo);
    field("Input back-off per carrier", "dB", kInputBackoff);
    same("Antenna mispoint", "dB", in.up.mispointing);
    same("Free space loss", "dB", b.upSite.freeSpaceLoss);
    row("Atmospheric absorption (p=5% for p<5%)", "dB", [&](const Weather& w, const LinkCaseResult&) {
        return w.upRain ? up.gasAtAvailability : w.dnRain ? up.gas50Copy : up.gas50;
    });
    row(dual && !leo ? "Tropospheric scintillation fading" : "Tropospheric scintillation", "dB",
        [&](const Weather& w, const LinkCaseResult&) {
            return w.upRain ? up.scintillationAtAvailability : w.dnRain ? up.scintillation50Copy : up.scintillation50;
        });
    row("Cloud attenuation (p=5% for p<5%)", "dB",
        [&](const Weather& w, const LinkCaseResult&) { return w.upRain ? up.cloud : 0.0; });
    row("Rain attenuation (0dB for p>5%)", "dB",
        [&](const Weather& w, const LinkCaseResult&) { return w.upRain ? up.rain : 0.0; });
    row("Total attenuation (gas-rain-cloud-scintillation)", "dB", [&](const Weather& w, const LinkCaseResult&) {
        return w.upRain ? up.totalAttenuation : up.clearSkyAtmospheric;
    });
    row("Other path losses", "dB", [&](const Weather& w, const LinkCaseResult&) {
        return w.upRain ? in.otherLossesEntered : in.up.otherLosses;
    });
    ratios(0, linkEbNo);
    line.Blank();

    heading("Downlink Calculation");
    same("Satellite EIRP total", "dBW", in.eirpSaturation);
    same("Transponder output back-off (total)", "dB", in.transponderObo);
    field("Output back-off per carrier", "dB", kOutputBackoff);
    field("Satellite EIRP per carrier", "dBW", kSatelliteEirp);
    same("Antenna mispoint", "dB", in.dn.mispointing);
    same("Free space loss", "dB", b.dnSite.freeSpaceLoss);
    row("Atmospheric absorption (p=5% for p<5%)", "dB", [&](const Weather& w, const LinkCaseResult&) {
        return w.dnRain ? dn.gasAtAvailability : w.upRain ? dn.gas50Copy : dn.gas50;
    });
    row("Tropospheric scintillation", "dB", [&](const Weather& w, const LinkCaseResult&) {
        return w.dnRain ? dn.scintillationAtAvailability : w.upRain ? dn.scintillation50Copy : dn.scintillation50;
    });
    row("Cloud attenuation (p=5% for p<5%)", "dB",
        [&](const Weather& w, const LinkCaseResult&) { return w.dnRain ? dn.cloud : 0.0; });
    row("Rain attenuation (0dB for p>5%)", "dB",
        [&](const Weather& w, const LinkCaseResult&) { return w.dnRain ? dn.rain : 0.0; });
    row("Total attenuation (gas-rain-cloud-scintillation)", "dB", [&](const Weather& w, const LinkCaseResult&) {
        return w.dnRain ? dn.totalAttenuation : dn.clearSkyAtmospheric;
    });
    same("Other path losses", "dB", in.dn.otherLosses);
    row("Noise increase due to precipitation", "dB",
        [&](const Weather& w, const LinkCaseResult&) { return w.dnRain ? dn.noiseIncrease : 0.0; });
    row("Downlink degradation (DND)", "dB",
        [&](const Weather& w, const LinkCaseResult&) { return w.dnRain ? dn.degradation : 0.0; });
    row("Total system noise", "K", [&](const Weather& w, const LinkCaseResult&) {
        return w.dnRain ? dn.rainSystemTemp : dn.clearSkySystemTemp;
    });
    row("Figure of merit (G/T)", "dB/K",
        [&](const Weather& w, const LinkCaseResult&) { return w.dnRain ? dn.rainGt : dn.clearSkyGt; });
    ratios(1, linkEbNo);
    line.Blank();

    heading("Totals per Carrier (End-to-End)");
    ratios(2, true);
    same("Implementation loss", "dB", in.implementationLoss);
    same("System margin", "dB", in.systemMargin);
    field(in.targetEbNo ? "Net Eb/(No+Io)" : "Net Es/(No+Io)", "dB", kNetTarget);
    same(in.targetEbNo ? "Required Eb/(No+Io)" : "Required Es/(No+Io)", "dB", in.requiredTarget);
    field("Excess margin", "dB#", kExcessMargin);
    line.Blank();

    heading("Carrier EIRP Density Calculations");
    row("Flange transmit (up)", "dBW/Hz",
        [&](const Weather& w, const LinkCaseResult& c) { return c[kEirpDensityUp] + (w.upRain ? upcUsed : 0.0); });
    field("Satellite (down)", "dBW/Hz", kSatEirpDensity);
    if (in.eirpBeamPeak == 0.0) {
        // The single-fade sections spell the label as the program always has.
        const char* label = dual ? "Satellite beam peak (down)" : "Satelite beam peak (down)";
        if (dual)
            table.Texts(label, {"N/A", "N/A"}, "dBW/Hz");
        else
            table.Texts(label, {"N/A", "N/A", "N/A"}, "dBW/Hz");
    } else {
        same("Satellite beam peak (down)", "dBW/Hz", s.beamPeakDensity);
    }
    field("Flange receive (down)", "dBW/Hz", kReceiveDensity);
    line.Blank();
    if (!leo && !in.up.asiKnownTotal)
        for (int i = 0; i < 4; ++i)
            if (i == 0 || in.up.asiInclude[i])
                table.Numbers(("Antenna off axis transmit toward " + FieldText(b.record.upAsiLongitude[i])).c_str(),
                              {s.offAxisDensity[i]}, "dBW/Hz");
}

}  // namespace

void WriteBentPipeReport(ReportWriter& line, const ReportHeading& heading, const GeoLinkBudget& b,
                         const NonGeoLinkInputRecord* leo)
{
    const GeoLinkInputRecord& r = b.record;
    const GeoLinkInputs& in = b.in;
    const GeoLinkSolution& s = b.sol;
    const LinkCaseResult& cs = b.clearSky;
    const LinkCaseResult& ru = b.rainUp;
    const auto& t = b.texts;
    const PathLossRecord& up = b.upPath;
    const DownlinkPathLossRecord& dn = b.dnPath;

    const ReportTable table(line, kValueColumns);

    // Head
    WriteReportHeading(line, leo ? "Non GEO Link Budget" : "Link Budget", heading);
    line.Blank();

    line("Service Name\t%s", FieldText(r.serviceName).c_str());
    line("Coverage\t%s", FieldText(r.coverage).c_str());
    line("Uplink earth station\t%s", FieldText(r.upSiteName).c_str());
    line("Downlink earth station\t%s", FieldText(r.dnSiteName).c_str());
    line("Satellite name\t%s", FieldText(r.satName).c_str());
    line("Modcod\t%s", FieldText(r.modcodText).c_str());
    line.Blank();

    // Link inputs
    line("Link Input Parameters\tUp\tDown\t\tUnits~");
    line("Site latitude\t%s\t%s\t\tdegrees", FieldText(r.upLatitude).c_str(), FieldText(r.dnLatitude).c_str());
    line("Site longitude\t%s\t%s\t\tdegrees", FieldText(r.upLongitude).c_str(), FieldText(r.dnLongitude).c_str());
    line("Site altitude\t%.3lf\t%.3lf\t\tkm", b.upSite.altitude, b.dnSite.altitude);
    if (leo) {
        line("Elevation\t%s\t%s\t\tdegrees", FieldText(leo->upElevation).c_str(), FieldText(leo->dnElevation).c_str());
        line("Range\t%s\t%s\t\tkm", FieldText(leo->upRange).c_str(), FieldText(leo->dnRange).c_str());
        line("Site/Sat longitude difference\t%s\t%s\t\tdegrees", FieldText(leo->upLongitudeDiff).c_str(),
             FieldText(leo->dnLongitudeDiff).c_str());
    }
    line("Frequency\t%s\t%s\t\tGHz", FieldText(r.upFrequency).c_str(), FieldText(r.dnFrequency).c_str());
    line("Polarization\t%s\t%s\t\t", PolarizationName(r.upPolarization), PolarizationName(r.dnPolarization));
    line("Rain model\t%s\t%s\t\t", FieldText(b.upRain.modelName).c_str(), FieldText(b.dnRain.modelName).c_str());
    line("R0.01%%\t%s\t%s\t\tmm/h", FieldText(b.upRain.rainRateText).c_str(), FieldText(b.dnRain.rainRateText).c_str());
    if (in.splitAvailability)
        line("Overall availability (average year)\t%s\t%s\t\t%%", t.inputAvailabilityUp, t.inputAvailabilityDown);
    else
        line("Availability (average year)\t%s\t%s\t\t%%", t.inputAvailabilityUp, t.inputAvailabilityDown);
    line("Antenna aperture\t%s\t%s\t\tmetres", FieldText(r.upDiameter).c_str(), FieldText(r.dnDiameter).c_str());
    line("Antenna efficiency or gain (+ or - prefix)\t%s\t%s\t\t%% or dBi", FieldText(r.upEfficiency).c_str(),
         FieldText(r.dnEfficiency).c_str());
    line("Coupling loss\t%s\t%s\t\tdB", FieldText(r.upCouplingLoss).c_str(), FieldText(r.dnCouplingLoss).c_str());
    line("Antenna mispoint loss\t%s\t%s\t\tdB", FieldText(r.upMispointing).c_str(), FieldText(r.dnMispointing).c_str());
    line("Other path losses (site diversity gain -ve)\t%s\t%s\t\tdB", FieldText(r.upOtherLosses).c_str(),
         FieldText(r.dnOtherLosses).c_str());
    line("LNB noise figure or temp (+ prefix)\t\t%s\t\tdB or K", FieldText(r.lnbNoise).c_str());
    line(leo ? "Antenna Noise\t\t%.2lf\t\tK" : "Antenna noise\t\t%.2lf\t\tK", in.antennaNoise);
    if (!in.up.ciUnits) {
        line("Csat/ACIo\t%s\t\t\tdB-Hz", FieldText(r.upCsatAci).c_str());
        if (leo)
            line("Csat/ASIo\t%s\t\t\tdB-Hz", FieldText(leo->upCsatAsi).c_str());
        else
            line("Csat/ASIo\t%.2lf\t\t\tdB-Hz", s.upAsiTotal);
        line("Csat/XPIo\t%s\t\t\tdB-Hz", FieldText(r.upCsatXpi).c_str());
        line("HPA C/IMo\t%s\t\t\tdB-Hz", FieldText(r.hpaCim).c_str());
    } else {
        line("C/ACI\t%s\t\t\tdB", FieldText(r.upCsatAci).c_str());
        if (leo)
            line("C/ASI\t%s\t\t\tdB", FieldText(leo->upCsatAsi).c_str());
        else
            line("C/ASI\t%.2lf\t\t\tdB", s.upAsiTotal - s.noiseBandwidth);
        line("C/XPI\t%s\t\t\tdB", FieldText(r.upCsatXpi).c_str());
        line("HPA C/IM\t%s\t\t\tdB", FieldText(r.hpaCim).c_str());
    }
    if (!in.dn.ciUnits) {
        line("Csat/ACIo\t\t%s\t\tdB-Hz", FieldText(r.dnCsatAci).c_str());
        if (leo)
            line("Csat/ASIo\t\t%s\t\tdB-Hz", FieldText(leo->dnCsatAsi).c_str());
        else
            line("Csat/ASIo\t\t%.2lf\t\tdB-Hz", s.dnAsiTotal);
        line("Csat/XPIo\t\t%s\t\tdB-Hz", FieldText(r.dnCsatXpi).c_str());
    } else {
        line("C/ACI\t\t%s\t\tdB", FieldText(r.dnCsatAci).c_str());
        if (leo)
            line("C/ASI\t\t%s\t\tdB", FieldText(leo->dnCsatAsi).c_str());
        else
            line("C/ASI\t\t%.2lf\t\tdB", s.dnAsiTotal - s.noiseBandwidth);
        line("C/XPI\t\t%s\t\tdB", FieldText(r.dnCsatXpi).c_str());
    }
    line("Uplink station HPA output back-off\t%s\t\t\tdB", FieldText(r.hpaObo).c_str());
    line("Uplink power control available\t%s\t\t\tdB", FieldText(r.upc).c_str());
    line("Number of carriers / HPA\t%s\t\t\t", FieldText(r.carriersPerHpa).c_str());
    line("Required HPA power\t%s\t\t\tW", FieldText(r.hpaPower).c_str());
    line.Blank();

    // Satellite inputs
    line("Satellite Input Parameters\tValue\t\t\tUnits~");
    if (!leo) line("Satellite longitude\t%s\t\t\tdegrees", FieldText(r.satLongitude).c_str());
    if (in.transponderType == 0)
        line("Transponder type\tTWTA\t\t\t");
    else if (in.transponderType == 2)
        line("Transponder type\tSSPA\t\t\t");
    else
        line("Transponder type\tLTWTA\t\t\t");
    line("G/T Reference\t%s\t\t\tdB/K", FieldText(r.gtRef).c_str());
    line("SFD Reference\t%s\t\t\tdBW/m2", FieldText(r.sfdRef).c_str());
    line("Receive G/T\t%s\t\t\tdB/K", FieldText(r.gtReceive).c_str());
    line("Flux control attenuator (FCA)\t%s\t\t\tdB", FieldText(r.fca).c_str());
    line("Effective SFD\t%.2lf\t\t\tdBW/m2#", s.effectiveSfd);
    line("Satellite ALC\t%s\t\t\tdB", FieldText(r.alc).c_str());
    line("EIRP (saturation)\t%s\t\t\tdBW", FieldText(r.eirpSaturation).c_str());
    line("EIRP (beam peak)\t%s\t\t\tdBW", FieldText(r.eirpBeamPeak).c_str());
    line("Transponder bandwidth\t%s\t\t\tMHz", FieldText(r.transponderBandwidth).c_str());
    line("Input back off total\t%s\t\t\tdB", FieldText(r.transponderIbo).c_str());
    line("Output back off total\t%s\t\t\tdB", FieldText(r.transponderObo).c_str());
    line("C/IM\t%.2lf\t\t\tdB", in.cim);
    line("Carriers per transponder\t%s\t\t\t", FieldText(r.carriersPerTransponder).c_str());
    line.Blank();

    WriteCarrierInputs(table, r, in, "Implementation loss");
    line.Blank();

    line("Calculations at Saturation\tValue\t\t\tUnits~");
    line("Gain 1m^2\t%.2lf\t\t\tdB/m2", s.gain1m2);
    line("Uplink C/No\t%.2lf\t\t\tdB-Hz", s.satUpCNo);
    line("Downlink C/No\t%.2lf\t\t\tdB-Hz", s.satDownCNo);
    line("Total C/No\t%.2lf\t\t\tdB-Hz", s.satTotalCNo);
    line("Uplink EIRP for saturation\t%.2lf\t\t\tdBW", s.eirpForSaturation);
    line.Blank();

    line("General Calculations\tUp\tDown\t\tUnits~");
    if (!leo) {
        line("Elevation\t%.2lf\t%.2lf\t\tdegrees", b.upSite.elevation, b.dnSite.elevation);
        line("True azimuth\t%.2lf\t%.2lf\t\tdegrees", b.upSite.azimuth, b.dnSite.azimuth);
        line("Compass bearing\t%.2lf\t%.2lf\t\tdegrees", b.upSite.compassBearing, b.dnSite.compassBearing);
        line("Path distance to satellite\t%.2lf\t%.2lf\t\tkm", b.upSite.slantRange, b.dnSite.slantRange);
    }
    line("XPD during rain\t%.2lf\t%.2lf\t\tdB", up.xpd, dn.xpd);
    line("Antenna efficiency\t%.2lf\t%.2lf\t\t%%", in.up.efficiency, in.dn.efficiency);
    line("Antenna gain\t%.2lf\t%.2lf\t\tdBi", b.upSite.antennaGain, b.dnSite.antennaGain);
    line("Availability (average year)\t%s\t%s\t\t%%", t.up.availability, t.down.availability);
    line("Link downtime (average year)\t%s\t%s\t\thours", t.up.annualDowntime, t.down.annualDowntime);
    line("Availability (worst month)\t%s\t%s\t\t%%", t.up.worstAvailability, t.down.worstAvailability);
    line("Link downtime (worst month)\t%s\t%s\t\thours", t.up.worstDowntime, t.down.worstDowntime);
    line.Blank();

    if (!in.dualFade)
        WriteCaseSections(line, b, leo, kSingleFades);
    else
        WriteDualFadeSections(line, b, leo);

    line.Blank();
    const double eirpPerCarrier = in.dualFade ? b.rainBoth[kUplinkEirp] : ru[kUplinkEirp];
    line("Earth Station Power Requirements\tValue\t\t\tUnits~");
    line("EIRP per carrier\t%.2lf\t\t\tdBW", eirpPerCarrier);
    line(leo ? "Uplink power control available\t%.2lf\t\t\tdB" : "Available uplink power control\t%.2lf\t\t\tdB",
         in.upc);
    line(leo ? "Total EIRP requirement\t%.2lf\t\t\tdBW" : "Total EIRP required\t%.2lf\t\t\tdBW", eirpPerCarrier + in.upc);
    line("Antenna gain\t%.2lf\t\t\tdBi", b.upSite.antennaGain);
    line("Antenna feed flange power per carrier\t%.2lf\t\t\tdBW", s.flangePower);
    line("HPA output back off\t%.2lf\t\t\tdB", in.hpaObo);
    line("Waveguide loss\t%s\t\t\tdB", FieldText(r.upCouplingLoss).c_str());
    if (!leo) line("Number of HPA carriers\t%s\t\t\t", FieldText(r.carriersPerHpa).c_str());
    line("Total HPA power required\t%.4lf\t\t\tdBW", s.totalHpaPower);
    line(leo ? "Required HPA power\t%.6lf\t\t\tW" : "Required HPA power\t%.4lf\t\t\tW", s.requiredHpaPower);
    line.Blank();

    line("Space Segment Utilization\tValue\t\t\tUnits~");
    line("Overall target availability\t%s\t\t\t%%", t.overallTarget);
    WriteCarrierRates(table, in, s, "Transmit rate", "Mbaud");
    line("Minimum allocated bandwidth required\t%.4lf\t\t\tMHz", s.minimumAllocated);
    line("Allocated transponder bandwidth\t%.4lf\t\t\tMHz", s.allocatedBandwidth);
    line(leo ? "Overall Link efficiency\t%.2lf\t\t\tbps/Hz" : "Overall Link efficiency\t%.3lf\t\t\tbps/Hz", s.efficiency);
    line("Percentage transponder bandwidth used\t%.2lf\t\t\t%%#", s.bandwidthUsedPct);
    line("Used transponder power\t%.2lf\t\t\tdBW", cs[kSatelliteEirp]);
    line("Percentage transponder power used\t%.2lf\t\t\t%%#", cs[kPowerShare]);
    // The count the transponder takes, the smaller of what its bandwidth and
    // its power allow: the line must agree with "Limited by" below it.
    if (in.carriersPerTransponder == 0.0)
        line("Max carriers / transponder\t%.2lf", s.transponderCarriers);
    else
        line("Number of carriers (user defined)\t%.2lf\t\t\t", in.carriersPerTransponder);
    line("Limited by:\t%s", b.LimitedBy());
    line("Power equivalent bandwidth usage\t%.4lf\t\t\tMHz", s.powerEquivalentBandwidth);
}

void WriteDualFadeSections(ReportWriter& line, const GeoLinkBudget& b, const NonGeoLinkInputRecord* leo)
{
    WriteCaseSections(line, b, leo, kDualFade);
}
