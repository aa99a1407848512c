// The bent-pipe link-budget report: the inputs as typed, then the results of
// the four weather cases.  Every line's format is fixed; columns are separated by
// tabs, "~" ends a heading and "#" a line in the emphasis font.
#include "linkbudget/geo/geo_report.h"

#include "linkbudget/engine/report_text.h"
#include "linkbudget/nongeo/nongeo_record.h"

using namespace lbreport;

void WriteBentPipeReport(ReportWriter& line, const ReportHeading& heading, const GeoLinkBudget& b,
                         const NonGeoLinkInputRecord* leo)
{
    const GeoLinkInputRecord& r = b.record;
    const GeoLinkInputs& in = b.in;
    const GeoLinkSolution& s = b.sol;
    const LinkCaseResult& cs = b.clearSky;
    const LinkCaseResult& ru = b.rainUp;
    const LinkCaseResult& rd = b.rainDown;
    const auto& t = b.texts;
    const PathLossRecord& up = b.upPath;
    const DownlinkPathLossRecord& dn = b.dnPath;
    const double upcUsed = up.upcUsed;

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

    // Carrier inputs
    line("Carrier/Link Input Parameters\tValue\t\t\tUnits~");
    if (in.modulation == 0)
        line("Modulation\t1 bit/symbol\t\t\t");
    else if (in.modulation == 2)
        line("Modulation\t%s-QAM/APSK\t\t\t", FieldText(r.modulationOrder).c_str());
    else
        line("Modulation\t%s-PSK\t\t\t", FieldText(r.modulationOrder).c_str());
    if (in.targetEbNo)
        line("Required Eb/No\t%s\t\t\tdB", FieldText(r.requiredTarget).c_str());
    else
        line("Required Es/No\t%s\t\t\tdB", FieldText(r.requiredTarget).c_str());
    if (in.infoRateGiven)
        line("Information rate\t%s\t\t\tMbps", FieldText(r.rate).c_str());
    else
        line("Symbol rate\t%s\t\t\tMbaud", FieldText(r.rate).c_str());
    line("Information rate overhead\t%s\t\t\t%%", FieldText(r.overhead).c_str());
    line("FEC code rate\t%s\t\t\t", FieldText(r.fecRate).c_str());
    line("Spreading gain\t%s\t\t\tdB", FieldText(r.spreadingGain).c_str());
    line("(1 + Roll off factor)\t%s\t\t\t", FieldText(r.rollOff).c_str());
    line("Carrier spacing factor\t%s\t\t\t", FieldText(r.carrierSpacing).c_str());
    line("Bandwidth allocation step size\t%s\t\t\tMHz", FieldText(r.allocationStep).c_str());
    line("Implementation loss\t%s\t\t\tdB", FieldText(r.implementationLoss).c_str());
    line("System margin\t%s\t\t\tdB", FieldText(r.systemMargin).c_str());
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

    if (!in.dualFade) {
        line.Blank();
        line("Uplink Calculation\tClear\tRain Up\tRain Dn\tUnits~");
        line(leo ? "Uplink transmit EIRP\t%.2lf\t%.2lf\t%.2lf\tdBW" : "Transmit EIRP\t%.2lf\t%.2lf\t%.2lf\tdBW", cs[kUplinkEirp],
             ru[kUplinkEirp] + upcUsed, rd[kUplinkEirp]);
        line("Uplink power control used\t%.2lf\t%.2lf\t%.2lf\tdB", 0.0, upcUsed, 0.0);
        line("Transponder input back-off (total)\t%.2lf\t%.2lf\t%.2lf\tdB", in.transponderIbo, in.transponderIbo,
             in.transponderIbo);
        line("Input back-off per carrier\t%.2lf\t%.2lf\t%.2lf\tdB",
             cs[kInputBackoff], ru[kInputBackoff], rd[kInputBackoff]);
        line("Antenna mispoint\t%.2lf\t%.2lf\t%.2lf\tdB", in.up.mispointing, in.up.mispointing, in.up.mispointing);
        line("Free space loss\t%.2lf\t%.2lf\t%.2lf\tdB", b.upSite.freeSpaceLoss, b.upSite.freeSpaceLoss,
             b.upSite.freeSpaceLoss);
        line("Atmospheric absorption (p=5%% for p<5%%)\t%.2lf\t%.2lf\t%.2lf\tdB",
             up.gas50, up.gasAtAvailability, up.gas50Copy);
        line("Tropospheric scintillation\t%.2lf\t%.2lf\t%.2lf\tdB",
             up.scintillation50, up.scintillationAtAvailability, up.scintillation50Copy);
        line("Cloud attenuation (p=5%% for p<5%%)\t%.2lf\t%.2lf\t%.2lf\tdB", 0.0, up.cloud, 0.0);
        line("Rain attenuation (0dB for p>5%%)\t%.2lf\t%.2lf\t%.2lf\tdB", 0.0, up.rain, 0.0);
        line("Total attenuation (gas-rain-cloud-scintillation)\t%.2lf\t%.2lf\t%.2lf\tdB",
             up.clearSkyAtmospheric, up.totalAttenuation, up.clearSkyAtmospheric);
        line("Other path losses\t%.2lf\t%.2lf\t%.2lf\tdB", in.up.otherLosses, in.otherLossesEntered,
             in.up.otherLosses);
        line("C/No (thermal)\t%.2lf\t%.2lf\t%.2lf\tdB-Hz", cs[kUpCNo], ru[kUpCNo], rd[kUpCNo]);
        line("C/N (thermal)\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kUpCN], ru[kUpCN], rd[kUpCN]);
        line("C/ACI\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kUpCAci], ru[kUpCAci], rd[kUpCAci]);
        line("C/ASI\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kUpCAsi], ru[kUpCAsi], rd[kUpCAsi]);
        line("C/XPI\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kUpCXpi], ru[kUpCXpi], rd[kUpCXpi]);
        line("C/IM\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kHpaCIm], ru[kHpaCIm], rd[kHpaCIm]);
        line("C/I (total)\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kUpCI], ru[kUpCI], rd[kUpCI]);
        line("C/(N+I)  [ Es/(No+Io) ]\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kUpCNI], ru[kUpCNI], rd[kUpCNI]);
        if (!leo || in.targetEbNo) line("Eb/(No+Io)\t%.2lf\t%.2lf\t%.2lf\tdB",
                                        cs[kUpEbNoIo], ru[kUpEbNoIo], rd[kUpEbNoIo]);
        line.Blank();

        line("Downlink Calculation\tClear\tRain Up\tRain Dn\tUnits~");
        line("Satellite EIRP total\t%.2lf\t%.2lf\t%.2lf\tdBW", in.eirpSaturation, in.eirpSaturation,
             in.eirpSaturation);
        line("Transponder output back-off (total)\t%.2lf\t%.2lf\t%.2lf\tdB", in.transponderObo, in.transponderObo,
             in.transponderObo);
        line("Output back-off per carrier\t%.2lf\t%.2lf\t%.2lf\tdB",
             cs[kOutputBackoff], ru[kOutputBackoff], rd[kOutputBackoff]);
        line("Satellite EIRP per carrier\t%.2lf\t%.2lf\t%.2lf\tdBW",
             cs[kSatelliteEirp], ru[kSatelliteEirp], rd[kSatelliteEirp]);
        line("Antenna mispoint\t%.2lf\t%.2lf\t%.2lf\tdB", in.dn.mispointing, in.dn.mispointing, in.dn.mispointing);
        line("Free space loss\t%.2lf\t%.2lf\t%.2lf\tdB", b.dnSite.freeSpaceLoss, b.dnSite.freeSpaceLoss,
             b.dnSite.freeSpaceLoss);
        line("Atmospheric absorption (p=5%% for p<5%%)\t%.2lf\t%.2lf\t%.2lf\tdB",
             dn.gas50, dn.gas50Copy, dn.gasAtAvailability);
        line("Tropospheric scintillation\t%.2lf\t%.2lf\t%.2lf\tdB",
             dn.scintillation50, dn.scintillation50Copy, dn.scintillationAtAvailability);
        line("Cloud attenuation (p=5%% for p<5%%)\t%.2lf\t%.2lf\t%.2lf\tdB", 0.0, 0.0, dn.cloud);
        line("Rain attenuation (0dB for p>5%%)\t%.2lf\t%.2lf\t%.2lf\tdB", 0.0, 0.0, dn.rain);
        line("Total attenuation (gas-rain-cloud-scintillation)\t%.2lf\t%.2lf\t%.2lf\tdB",
             dn.clearSkyAtmospheric, dn.clearSkyAtmospheric, dn.totalAttenuation);
        line("Other path losses\t%.2lf\t%.2lf\t%.2lf\tdB", in.dn.otherLosses, in.dn.otherLosses, in.dn.otherLosses);
        line("Noise increase due to precipitation\t%.2lf\t%.2lf\t%.2lf\tdB", 0.0, 0.0, dn.noiseIncrease);
        line("Downlink degradation (DND)\t%.2lf\t%.2lf\t%.2lf\tdB", 0.0, 0.0, dn.degradation);
        line("Total system noise\t%.2lf\t%.2lf\t%.2lf\tK",
             dn.clearSkySystemTemp, dn.clearSkySystemTemp, dn.rainSystemTemp);
        line("Figure of merit (G/T)\t%.2lf\t%.2lf\t%.2lf\tdB/K", dn.clearSkyGt, dn.clearSkyGt, dn.rainGt);
        line("C/No (thermal)\t%.2lf\t%.2lf\t%.2lf\tdB-Hz", cs[kDownCNo], ru[kDownCNo], rd[kDownCNo]);
        line("C/N (thermal)\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kDownCN], ru[kDownCN], rd[kDownCN]);
        line("C/ACI\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kDownCAci], ru[kDownCAci], rd[kDownCAci]);
        line("C/ASI\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kDownCAsi], ru[kDownCAsi], rd[kDownCAsi]);
        line("C/XPI\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kDownCXpi], ru[kDownCXpi], rd[kDownCXpi]);
        line("C/IM\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kTransponderCIm], ru[kTransponderCIm], rd[kTransponderCIm]);
        line("C/I (total)\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kDownCI], ru[kDownCI], rd[kDownCI]);
        line("C/(N+I)  [ Es/(No+Io) ]\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kDownCNI], ru[kDownCNI], rd[kDownCNI]);
        if (!leo || in.targetEbNo) line("Eb/(No+Io)\t%.2lf\t%.2lf\t%.2lf\tdB",
                                        cs[kDownEbNoIo], ru[kDownEbNoIo], rd[kDownEbNoIo]);
        line.Blank();

        line("Totals per Carrier (End-to-End)\tClear\tRain Up\tRain Dn\tUnits~");
        line("C/No (thermal)\t%.2lf\t%.2lf\t%.2lf\tdB-Hz", cs[kTotalCNo], ru[kTotalCNo], rd[kTotalCNo]);
        line("C/N (thermal)\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kTotalCN], ru[kTotalCN], rd[kTotalCN]);
        line("C/ACI\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kTotalCAci], ru[kTotalCAci], rd[kTotalCAci]);
        line("C/ASI\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kTotalCAsi], ru[kTotalCAsi], rd[kTotalCAsi]);
        line("C/XPI\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kTotalCXpi], ru[kTotalCXpi], rd[kTotalCXpi]);
        line("C/IM\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kTotalCIm], ru[kTotalCIm], rd[kTotalCIm]);
        line("C/I (total)\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kTotalCI], ru[kTotalCI], rd[kTotalCI]);
        line("C/(No+Io)\t%.2lf\t%.2lf\t%.2lf\tdB-Hz", cs[kTotalCNoIo], ru[kTotalCNoIo], rd[kTotalCNoIo]);
        line("C/(N+I)  [ Es/(No+Io) ]\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kTotalCNI], ru[kTotalCNI], rd[kTotalCNI]);
        line("Eb/(No+Io)\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kTotalEbNoIo], ru[kTotalEbNoIo], rd[kTotalEbNoIo]);
        line("Implementation loss\t%.2lf\t%.2lf\t%.2lf\tdB", in.implementationLoss, in.implementationLoss,
             in.implementationLoss);
        line("System margin\t%.2lf\t%.2lf\t%.2lf\tdB", in.systemMargin, in.systemMargin, in.systemMargin);
        if (in.targetEbNo) {
            line("Net Eb/(No+Io)\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kNetTarget], ru[kNetTarget], rd[kNetTarget]);
            line("Required Eb/(No+Io)\t%.2lf\t%.2lf\t%.2lf\tdB", in.requiredTarget, in.requiredTarget,
                 in.requiredTarget);
        } else {
            line("Net Es/(No+Io)\t%.2lf\t%.2lf\t%.2lf\tdB", cs[kNetTarget], ru[kNetTarget], rd[kNetTarget]);
            line("Required Es/(No+Io)\t%.2lf\t%.2lf\t%.2lf\tdB", in.requiredTarget, in.requiredTarget,
                 in.requiredTarget);
        }
        line("Excess margin\t%.2lf\t%.2lf\t%.2lf\tdB#", cs[kExcessMargin], ru[kExcessMargin], rd[kExcessMargin]);
        line.Blank();

        line("Carrier EIRP Density Calculations\tClear\tRain Up\tRain Dn\tUnits~");
        line("Flange transmit (up)\t%.2lf\t%.2lf\t%.2lf\tdBW/Hz",
             cs[kEirpDensityUp], ru[kEirpDensityUp] + upcUsed, rd[kEirpDensityUp]);
        line("Satellite (down)\t%.2lf\t%.2lf\t%.2lf\tdBW/Hz",
             cs[kSatEirpDensity], ru[kSatEirpDensity], rd[kSatEirpDensity]);
        if (in.eirpBeamPeak == 0.0)
            line("Satelite beam peak (down)\t%s\t%s\t%s\tdBW/Hz", "N/A", "N/A", "N/A");
        else
            line("Satellite beam peak (down)\t%.2lf\t%.2lf\t%.2lf\tdBW/Hz", s.beamPeakDensity, s.beamPeakDensity,
                 s.beamPeakDensity);
        line("Flange receive (down)\t%.2lf\t%.2lf\t%.2lf\tdBW/Hz",
             cs[kReceiveDensity], ru[kReceiveDensity], rd[kReceiveDensity]);
        line.Blank();
        if (!leo && !in.up.asiKnownTotal)
            for (int i = 0; i < 4; ++i)
                if (i == 0 || in.up.asiInclude[i])
                    line("Antenna off axis transmit toward %s\t%.2lf\t\t\tdBW/Hz",
                         FieldText(r.upAsiLongitude[i]).c_str(),
                         s.offAxisDensity[i]);
    } else {
        WriteDualFadeSections(line, b, leo);
    }

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
    line("Information rate\t%.4lf\t\t\tMbps", in.infoRateGiven ? in.rate : s.infoRate);
    line("Information rate (inc overhead)\t%.4lf\t\t\tMbps", s.infoRateWithOverhead);
    line("Transmit rate\t%.4lf\t\t\tMbps", s.transmitRate);
    line("Symbol rate\t%.4lf\t\t\tMbaud", s.symbolRate);
    line("Noise Bandwidth\t%.2lf\t\t\tdB-Hz", s.noiseBandwidth);
    line("Occupied bandwidth\t%.4lf\t\t\tMHz", s.occupiedBandwidth);
    line("Minimum allocated bandwidth required\t%.4lf\t\t\tMHz", s.minimumAllocated);
    line("Allocated transponder bandwidth\t%.4lf\t\t\tMHz", s.allocatedBandwidth);
    line(leo ? "Overall Link efficiency\t%.2lf\t\t\tbps/Hz" : "Overall Link efficiency\t%.3lf\t\t\tbps/Hz", s.efficiency);
    line("Percentage transponder bandwidth used\t%.2lf\t\t\t%%#", s.bandwidthUsedPct);
    line("Used transponder power\t%.2lf\t\t\tdBW", cs[kSatelliteEirp]);
    line("Percentage transponder power used\t%.2lf\t\t\t%%#", cs[kPowerShare]);
    if (in.carriersPerTransponder == 0.0)
        line("Max carriers / transponder\t%.2lf", s.maxCarriers);
    else
        line("Number of carriers (user defined)\t%.2lf\t\t\t", in.carriersPerTransponder);
    line("Limited by:\t%s", b.LimitedBy());
    line("Power equivalent bandwidth usage\t%.4lf\t\t\tMHz", s.powerEquivalentBandwidth);
}

void WriteDualFadeSections(ReportWriter& line, const GeoLinkBudget& b, const NonGeoLinkInputRecord* leo)
{
    const GeoLinkInputRecord& r = b.record;
    const GeoLinkInputs& in = b.in;
    const GeoLinkSolution& s = b.sol;
    const LinkCaseResult& cs = b.clearSky;
    const LinkCaseResult& rb = b.rainBoth;
    const PathLossRecord& up = b.upPath;
    const DownlinkPathLossRecord& dn = b.dnPath;
    const double upcUsed = up.upcUsed;

    line.Blank();
    line("Uplink Calculation\tClear\tRain\t\tUnits~");
    line(leo ? "Uplink transmit EIRP\t%.2lf\t%.2lf\t\tdBW" : "Transmit EIRP\t%.2lf\t%.2lf\t\tdBW", cs[kUplinkEirp],
         rb[kUplinkEirp] + upcUsed);
    line("Uplink power control used\t%.2lf\t%.2lf\t\tdB", 0.0, upcUsed);
    line("Transponder input back-off (total)\t%.2lf\t%.2lf\t\tdB", in.transponderIbo, in.transponderIbo);
    line("Input back-off per carrier\t%.2lf\t%.2lf\t\tdB", cs[kInputBackoff], rb[kInputBackoff]);
    line("Antenna mispoint\t%.2lf\t%.2lf\t\tdB", in.up.mispointing, in.up.mispointing);
    line("Free space loss\t%.2lf\t%.2lf\t\tdB", b.upSite.freeSpaceLoss, b.upSite.freeSpaceLoss);
    line("Atmospheric absorption (p=5%% for p<5%%)\t%.2lf\t%.2lf\t\tdB", up.gas50, up.gasAtAvailability);
    line(leo ? "Tropospheric scintillation\t%.2lf\t%.2lf\t\tdB" : "Tropospheric scintillation fading\t%.2lf\t%.2lf\t\tdB",
         up.scintillation50, up.scintillationAtAvailability);
    line("Cloud attenuation (p=5%% for p<5%%)\t%.2lf\t%.2lf\t\tdB", 0.0, up.cloud);
    line("Rain attenuation (0dB for p>5%%)\t%.2lf\t%.2lf\t\tdB", 0.0, up.rain);
    line("Total attenuation (gas-rain-cloud-scintillation)\t%.2lf\t%.2lf\t\tdB",
         up.clearSkyAtmospheric, up.totalAttenuation);
    line("Other path losses\t%.2lf\t%.2lf\t\tdB", in.up.otherLosses, in.otherLossesEntered);
    line("C/No (thermal)\t%.2lf\t%.2lf\t\tdB-Hz", cs[kUpCNo], rb[kUpCNo]);
    line("C/N (thermal)\t%.2lf\t%.2lf\t\tdB", cs[kUpCN], rb[kUpCN]);
    line("C/ACI\t%.2lf\t%.2lf\t\tdB", cs[kUpCAci], rb[kUpCAci]);
    line("C/ASI\t%.2lf\t%.2lf\t\tdB", cs[kUpCAsi], rb[kUpCAsi]);
    line("C/XPI\t%.2lf\t%.2lf\t\tdB", cs[kUpCXpi], rb[kUpCXpi]);
    line("C/IM\t%.2lf\t%.2lf\t\tdB", cs[kHpaCIm], rb[kHpaCIm]);
    line("C/I (total)\t%.2lf\t%.2lf\t\tdB", cs[kUpCI], rb[kUpCI]);
    line("C/(N+I)  [ Es/(No+Io) ]\t%.2lf\t%.2lf\t\tdB", cs[kUpCNI], rb[kUpCNI]);
    line("Eb/(No+Io)\t%.2lf\t%.2lf\t\tdB", cs[kUpEbNoIo], rb[kUpEbNoIo]);
    line.Blank();

    line("Downlink Calculation\tClear\tRain\t\tUnits~");
    line("Satellite EIRP total\t%.2lf\t%.2lf\t\tdBW", in.eirpSaturation, in.eirpSaturation);
    line("Transponder output back-off (total)\t%.2lf\t%.2lf\t\tdB", in.transponderObo, in.transponderObo);
    line("Output back-off per carrier\t%.2lf\t%.2lf\t\tdB", cs[kOutputBackoff], rb[kOutputBackoff]);
    line("Satellite EIRP per carrier\t%.2lf\t%.2lf\t\tdBW", cs[kSatelliteEirp], rb[kSatelliteEirp]);
    line("Antenna mispoint\t%.2lf\t%.2lf\t\tdB", in.dn.mispointing, in.dn.mispointing);
    line("Free space loss\t%.2lf\t%.2lf\t\tdB", b.dnSite.freeSpaceLoss, b.dnSite.freeSpaceLoss);
    line("Atmospheric absorption (p=5%% for p<5%%)\t%.2lf\t%.2lf\t\tdB", dn.gas50, dn.gasAtAvailability);
    line("Tropospheric scintillation\t%.2lf\t%.2lf\t\tdB", dn.scintillation50, dn.scintillationAtAvailability);
    line("Cloud attenuation (p=5%% for p<5%%)\t%.2lf\t%.2lf\t\tdB", 0.0, dn.cloud);
    line("Rain attenuation (0dB for p>5%%)\t%.2lf\t%.2lf\t\tdB", 0.0, dn.rain);
    line("Total attenuation (gas-rain-cloud-scintillation)\t%.2lf\t%.2lf\t\tdB",
         dn.clearSkyAtmospheric, dn.totalAttenuation);
    line("Other path losses\t%.2lf\t%.2lf\t\tdB", in.dn.otherLosses, in.dn.otherLosses);
    line("Noise increase due to precipitation\t%.2lf\t%.2lf\t\tdB", 0.0, dn.noiseIncrease);
    line("Downlink degradation (DND)\t%.2lf\t%.2lf\t\tdB", 0.0, dn.degradation);
    line("Total system noise\t%.2lf\t%.2lf\t\tK", dn.clearSkySystemTemp, dn.rainSystemTemp);
    line("Figure of merit (G/T)\t%.2lf\t%.2lf\t\tdB/K", dn.clearSkyGt, dn.rainGt);
    line("C/No (thermal)\t%.2lf\t%.2lf\t\tdB-Hz", cs[kDownCNo], rb[kDownCNo]);
    line("C/N (thermal)\t%.2lf\t%.2lf\t\tdB", cs[kDownCN], rb[kDownCN]);
    line("C/ACI\t%.2lf\t%.2lf\t\tdB", cs[kDownCAci], rb[kDownCAci]);
    line("C/ASI\t%.2lf\t%.2lf\t\tdB", cs[kDownCAsi], rb[kDownCAsi]);
    line("C/XPI\t%.2lf\t%.2lf\t\tdB", cs[kDownCXpi], rb[kDownCXpi]);
    line("C/IM\t%.2lf\t%.2lf\t\tdB", cs[kTransponderCIm], rb[kTransponderCIm]);
    line("C/I (total)\t%.2lf\t%.2lf\t\tdB", cs[kDownCI], rb[kDownCI]);
    line("C/(N+I)  [ Es/(No+Io) ]\t%.2lf\t%.2lf\t\tdB", cs[kDownCNI], rb[kDownCNI]);
    line("Eb/(No+Io)\t%.2lf\t%.2lf\t\tdB", cs[kDownEbNoIo], rb[kDownEbNoIo]);
    line.Blank();

    line("Totals per Carrier (End-to-End)\tClear\tRain\t\tUnits~");
    line("C/No (thermal)\t%.2lf\t%.2lf\t\tdB-Hz", cs[kTotalCNo], rb[kTotalCNo]);
    line("C/N (thermal)\t%.2lf\t%.2lf\t\tdB", cs[kTotalCN], rb[kTotalCN]);
    line("C/ACI\t%.2lf\t%.2lf\t\tdB", cs[kTotalCAci], rb[kTotalCAci]);
    line("C/ASI\t%.2lf\t%.2lf\t\tdB", cs[kTotalCAsi], rb[kTotalCAsi]);
    line("C/XPI\t%.2lf\t%.2lf\t\tdB", cs[kTotalCXpi], rb[kTotalCXpi]);
    line("C/IM\t%.2lf\t%.2lf\t\tdB", cs[kTotalCIm], rb[kTotalCIm]);
    line("C/I (total)\t%.2lf\t%.2lf\t\tdB", cs[kTotalCI], rb[kTotalCI]);
    line("C/(No+Io)\t%.2lf\t%.2lf\t\tdB-Hz", cs[kTotalCNoIo], rb[kTotalCNoIo]);
    line("C/(N+I)  [ Es/(No+Io) ]\t%.2lf\t%.2lf\t\tdB", cs[kTotalCNI], rb[kTotalCNI]);
    line("Eb/(No+Io)\t%.2lf\t%.2lf\t\tdB", cs[kTotalEbNoIo], rb[kTotalEbNoIo]);
    line("Implementation loss\t%.2lf\t%.2lf\t\tdB", in.implementationLoss, in.implementationLoss);
    line("System margin\t%.2lf\t%.2lf\t\tdB", in.systemMargin, in.systemMargin);
    if (in.targetEbNo) {
        line("Net Eb/(No+Io)\t%.2lf\t%.2lf\t\tdB", cs[kNetTarget], rb[kNetTarget]);
        line("Required Eb/(No+Io)\t%.2lf\t%.2lf\t\tdB", in.requiredTarget, in.requiredTarget);
    } else {
        line("Net Es/(No+Io)\t%.2lf\t%.2lf\t\tdB", cs[kNetTarget], rb[kNetTarget]);
        line("Required Es/(No+Io)\t%.2lf\t%.2lf\t\tdB", in.requiredTarget, in.requiredTarget);
    }
    line("Excess margin\t%.2lf\t%.2lf\t\tdB#", cs[kExcessMargin], rb[kExcessMargin]);
    line.Blank();

    line("Carrier EIRP Density Calculations\tClear\tRain\t\tUnits~");
    line("Flange transmit (up)\t%.2lf\t%.2lf\t\tdBW/Hz", cs[kEirpDensityUp], rb[kEirpDensityUp] + upcUsed);
    line("Satellite (down)\t%.2lf\t%.2lf\t\tdBW/Hz", cs[kSatEirpDensity], rb[kSatEirpDensity]);
    if (in.eirpBeamPeak == 0.0)
        line("Satellite beam peak (down)\t%s\t%s\t\tdBW/Hz", "N/A", "N/A");
    else
        line("Satellite beam peak (down)\t%.2lf\t%.2lf\t\tdBW/Hz", s.beamPeakDensity, s.beamPeakDensity);
    line("Flange receive (down)\t%.2lf\t%.2lf\t\tdBW/Hz", cs[kReceiveDensity], rb[kReceiveDensity]);
    line.Blank();
    if (!leo && !in.up.asiKnownTotal)
        for (int i = 0; i < 4; ++i)
            if (i == 0 || in.up.asiInclude[i])
                line("Antenna off axis transmit toward %s\t%.2lf\t\t\tdBW/Hz", FieldText(r.upAsiLongitude[i]).c_str(),
                     s.offAxisDensity[i]);
}

