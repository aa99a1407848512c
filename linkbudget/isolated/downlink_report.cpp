// The isolated downlink report: the inputs as typed, the general figures,
// the clear and rain columns with the noise rise and the LNB output, and the
// space segment.
// Columns are separated by tabs, "~" ends a heading and "#" a line in the
// emphasis font.
#include "linkbudget/isolated/downlink_report.h"

#include <string>

#include "linkbudget/engine/report_text.h"

using namespace lbreport;

void WriteDownlinkReport(ReportWriter& line, const ReportHeading& heading, const RgnDownlinkBudget& b)
{
    const DownlinkInputRecord& r = b.record;
    const RgnDownlinkInputs& in = b.in;
    const RgnDownlinkGeometry& g = b.geo;
    const RgnUplinkRates& s = b.sol;
    const DownlinkPathLosses& p = b.path;
    const IsolatedDownlinkResult& c = b.clear;
    const IsolatedDownlinkResult& w = b.rainy;
    const auto& t = b.texts;

    WriteReportHeading(line, "Downlink Budget", heading);
    line.Blank();

    line("Service Name\t%s", FieldText(r.serviceName).c_str());
    line("Downlink earth station\t%s", FieldText(r.siteName).c_str());
    line("Satellite name\t%s", FieldText(r.satName).c_str());
    line("Modcod\t%s", FieldText(r.modcodText).c_str());
    line.Blank();

    line("Link Input Parameters\tValue\t\tUnits~");
    line("Site latitude\t%s\t\tdegrees", FieldText(r.latitude).c_str());
    line("Site longitude\t%s\t\tdegrees", FieldText(r.longitude).c_str());
    line("Site altitude\t%.3lf\t\tkm", g.altitude);
    line("Frequency\t%s\t\tGHz", FieldText(r.frequency).c_str());
    line("Polarization\t%s\t\t", PolarizationName(r.polarization));
    line("Rain model\t%s\t\t", b.rain.modelName);
    line("R0.01%%\t%s\t\tmm/h", b.rain.rainRateText);
    line("Availability (average year)\t%s\t\t%%", t.inputAvailability);
    line("Antenna aperture\t%s\t\tmetres", FieldText(r.diameter).c_str());
    line("Antenna efficiency or gain (+ or - prefix)\t%s\t\t%% or dBi", FieldText(r.efficiency).c_str());
    line("Coupling loss\t%s\t\tdB", FieldText(r.couplingLoss).c_str());
    line("Antenna mispoint loss\t%s\t\tdB", FieldText(r.mispointing).c_str());
    line("Other path losses\t%s\t\tdB", FieldText(r.otherLosses).c_str());
    line("LNB noise figure or temp (+ prefix)\t%s\t\tdB or K", FieldText(r.lnbNoise).c_str());
    line("Antenna noise\t%.2lf\t\tK", in.antennaNoise);
    line("LNB gain\t%s\t\tdB", FieldText(r.lnbGain).c_str());
    line("LNB load impedance\t%s\t\tOhms", FieldText(r.loadImpedance).c_str());
    if (in.ciUnits) {
        line("C/ACI\t%s\t\tdB", FieldText(r.csatAci).c_str());
        line("C/ASI\t%s\t\tdB", FieldText(r.csatAsi).c_str());
        line("C/XPI\t%s\t\tdB", FieldText(r.csatXpi).c_str());
    } else {
        line("Csat/ACIo\t%s\t\tdB-Hz", FieldText(r.csatAci).c_str());
        line("Csat/ASIo\t%s\t\tdB-Hz", FieldText(r.csatAsi).c_str());
        line("Csat/XPIo\t%s\t\tdB-Hz", FieldText(r.csatXpi).c_str());
    }
    line("C/IM\t%s\t\tdB", FieldText(r.cim).c_str());
    line.Blank();

    line("Satellite Input Parameters\tValue\t\tUnits~");
    line("EIRP (saturation)\t%s\t\tdBW", FieldText(r.eirp).c_str());
    line("Bandwidth\t%s\t\tMHz", FieldText(r.satBandwidth).c_str());
    if (in.geoMode) {
        line("Longitude\t%s\t\tdegrees", FieldText(r.satLongitude).c_str());
    } else {
        line("Range\t%s\t\tkm", FieldText(r.range).c_str());
        line("Elevation\t%s\t\tdegrees", FieldText(r.elevation).c_str());
        line("Longitude difference\t%s\t\tdegrees", FieldText(r.longitudeDifference).c_str());
    }
    line.Blank();

    line("Carrier/Link Input Parameters\tValue\t\tUnits~");
    const std::string m = FieldText(r.modulationOrder);
    if (in.modulation == 0)
        line("Modulation\t%s\t\t", "1 bit/symbol");
    else if (in.modulation == 1)
        line("Modulation\t%s-PSK\t\t", m.c_str());
    else
        line("Modulation\t%s-QAM/APSK\t\t", m.c_str());
    if (in.targetEbNo)
        line("Required Eb/No\t%s\t\tdB", FieldText(r.requiredTarget).c_str());
    else
        line("Required Es/No\t%s\t\tdB", FieldText(r.requiredTarget).c_str());
    if (in.infoRateGiven)
        line("Information rate\t%s\t\tMbps", FieldText(r.rate).c_str());
    else
        line("Symbol rate\t%s\t\tMbaud", FieldText(r.rate).c_str());
    line("Information rate overhead\t%s\t\t%%", FieldText(r.overhead).c_str());
    line("FEC code rate\t%s\t\t", FieldText(r.fecRate).c_str());
    line("Spreading gain\t%s\t\tdB", FieldText(r.spreadingGain).c_str());
    line("(1 + Roll off factor)\t%s\t\t", FieldText(r.rollOff).c_str());
    line("Carrier spacing factor\t%s\t\t", FieldText(r.carrierSpacing).c_str());
    line("Bandwidth allocation step size\t%s\t\tMHz", FieldText(r.allocationStep).c_str());
    line("Implementation loss\t%s\t\tdB", FieldText(r.implementationLoss).c_str());
    line("System margin\t%s\t\tdB", FieldText(r.systemMargin).c_str());
    line.Blank();

    line("General Calculations\tValue\t\tUnits~");
    if (in.geoMode) {
        line("Elevation\t%.2lf\t\tdegrees", g.elevation);
        line("True azimuth\t%.2lf\t\tdegrees", g.azimuth);
        line("Compass bearing\t%.2lf\t\tdegrees", g.compassBearing);
        line("Path distance to satellite\t%.2lf\t\tkm", g.range);
    }
    line("XPD during rain\t%.2lf\t\tdB", p.xpd);
    line("Antenna gain\t%.2lf\t\tdBi", g.antennaGain);
    line("Carrier EIRP density (satellite) \t%.2lf\t\tdBW/Hz", w.satelliteDensity);
    line("Carrier EIRP density (flange)\t%.2lf\t\tdBW/Hz", w.flangeDensity);
    line("Availability (average year)\t%s\t\t%%", t.availability);
    line("Link downtime (average year)\t%s\t\thours", t.annualDowntime);
    line("Availability (worst month)\t%s\t\t%%", t.worstAvailability);
    line("Link downtime (worst month)\t%s\t\thours", t.worstDowntime);
    line.Blank();

    line("Downlink Calculation\tClear\tRain\tUnits~");
    line("Satellite EIRP per carrier\t%.2lf\t%.2lf\tdBW", in.eirp, in.eirp);
    line("Antenna mispoint\t%.2lf\t%.2lf\tdB", in.mispointing, in.mispointing);
    line("Free space loss\t%.2lf\t%.2lf\tdB", g.freeSpaceLoss, g.freeSpaceLoss);
    line("Atmospheric absorption (p=5%% for p<5%%)\t%.2lf\t%.2lf\tdB", p.gas50, p.gasAtAvailability);
    line("Tropospheric scintillation\t%.2lf\t%.2lf\tdB", p.scintillation50,
         p.scintillationAtAvailability);
    line("Cloud attenuation (p=5%% for p<5%%)\t%.2lf\t%.2lf\tdB", 0.0, p.cloud);
    line("Rain attenuation (0dB for p>5%%)\t%.2lf\t%.2lf\tdB", 0.0, p.rain);
    line("Total attenuation (gas-rain-cloud-scintillation)\t%.2lf\t%.2lf\tdB", p.clearSkyAtmospheric,
         p.totalAttenuation);
    line("Other path losses\t%.2lf\t%.2lf\tdB", in.otherLosses, in.otherLosses);
    line("Noise increase due to precipitation\t%.2lf\t%.2lf\tdB", 0.0, p.noiseIncrease);
    line("Downlink degradation (DND)\t%.2lf\t%.2lf\tdB", 0.0, p.degradation);
    line("Total system noise\t%.2lf\t%.2lf\tK", p.clearSkySystemTemp, p.rainSystemTemp);
    line("Figure of merit (G/T)\t%.2lf\t%.2lf\tdB/K", p.clearSkyGt, p.rainGt);
    line("Power flux density\t%.2lf\t%.2lf\tdBW/m2", c.pfd, w.pfd);
    line("Carrier power at LNB output\t%.2lf\t%.2lf\tdBW", c.carrierPowerDbw, w.carrierPowerDbw);
    line("Carrier power at LNB output\t%.2lf\t%.2lf\tdBm", c.carrierPowerDbm, w.carrierPowerDbm);
    line("Carrier level at LNB output (%.0lf Ohm)\t%.2lf\t%.2lf\tdBuV", in.loadImpedance,
         c.carrierLevelDbuV, w.carrierLevelDbuV);
    line("Carrier level at LNB output (%.0lf Ohm)\t%.2lf\t%.2lf\tdBmV", in.loadImpedance,
         c.carrierLevelDbmV, w.carrierLevelDbmV);
    line("C/No (thermal)\t%.2lf\t%.2lf\tdB-Hz", c.cNo, w.cNo);
    line("C/N (thermal)\t%.2lf\t%.2lf\tdB", c.cN, w.cN);
    line("C/ACI\t%.2lf\t%.2lf\tdB", c.cAci, w.cAci);
    line("C/ASI\t%.2lf\t%.2lf\tdB", c.cAsi, w.cAsi);
    line("C/XPI\t%.2lf\t%.2lf\tdB", c.cXpi, w.cXpi);
    line("C/IM\t%.2lf\t%.2lf\tdB", c.cIm, w.cIm);
    line("C/I (total)\t%.2lf\t%.2lf\tdB", c.cI, w.cI);
    line("C/(N+I)\t%.2lf\t%.2lf\tdB", c.cNI, w.cNI);
    if (in.targetEbNo) line("Eb/(No+Io)\t%.2lf\t%.2lf\tdB", c.ebNoIo, w.ebNoIo);
    line("Implementation loss\t%.2lf\t%.2lf\tdB", in.implementationLoss, in.implementationLoss);
    line("System margin\t%.2lf\t%.2lf\tdB", in.systemMargin, in.systemMargin);
    if (in.targetEbNo) {
        line("Net Eb/(No+Io)\t%.2lf\t%.2lf\tdB", c.net, w.net);
        line("Required Eb/(No+Io)\t%.2lf\t%.2lf\tdB", in.requiredTarget, in.requiredTarget);
    } else {
        line("Net Es/(No+Io)\t%.2lf\t%.2lf\tdB", c.net, w.net);
        line("Required Es/(No+Io)\t%.2lf\t%.2lf\tdB", in.requiredTarget, in.requiredTarget);
    }
    line("Excess margin\t%.2lf\t%.2lf\tdB#", c.excessMargin, w.excessMargin);
    line.Blank();

    line("Space Segment Utilization\tValue\t\tUnits~");
    line("Information rate\t%.4lf\t\tMbps", in.infoRateGiven ? in.rate : s.infoRate);
    line("Information rate (inc overhead)\t%.4lf\t\tMbps", s.infoRateWithOverhead);
    line("Coded bitrate\t%.4lf\t\tMbps", s.transmitRate);
    line("Symbol rate\t%.4lf\t\tMBaud", s.symbolRate);
    line("Noise Bandwidth\t%.2lf\t\tdB-Hz", s.noiseBandwidth);
    line("Occupied bandwidth\t%.4lf\t\tMHz", s.occupiedBandwidth);
    line("Allocated bandwidth\t%.4lf\t\tMHz", s.allocatedBandwidth);
}
