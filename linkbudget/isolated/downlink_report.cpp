// The isolated downlink report: the inputs as typed, the general figures,
// the clear and rain columns with the noise rise and the LNB output, and the
// space segment.
#include "linkbudget/isolated/downlink_report.h"

#include <string>

#include "linkbudget/isolated/isolated_report.h"

using lbreport::ReportTable;

void WriteDownlinkReport(ReportWriter& line, const ReportHeading& heading, const RgnDownlinkBudget& b)
{
    const DownlinkInputRecord& r = b.record;
    const RgnDownlinkInputs& in = b.in;
    const DownlinkPathLosses& p = b.path;
    const IsolatedDownlinkResult& c = b.clear;
    const IsolatedDownlinkResult& w = b.rainy;
    const ReportTable t(line, isolated::kValueColumns);

    isolated::WriteHead(line, heading, "Downlink Budget", "Downlink earth station", b);
    isolated::WriteSiteInputs(t, b, "Other path losses");
    t.Texts("LNB noise figure or temp (+ prefix)", {FieldView(r.lnbNoise)}, "dB or K");
    t.Numbers("Antenna noise", {in.antennaNoise}, "K");
    t.Texts("LNB gain", {FieldView(r.lnbGain)}, "dB");
    t.Texts("LNB load impedance", {FieldView(r.loadImpedance)}, "Ohms");
    isolated::WriteInterferenceInputs(t, r, in.ciUnits);
    t.Texts("C/IM", {FieldView(r.cim)}, "dB");
    line.Blank();

    t.Heading("Satellite Input Parameters", {"Value"});
    t.Texts("EIRP (saturation)", {FieldView(r.eirp)}, "dBW");
    isolated::WriteOrbitInputs(t, b);
    line.Blank();

    lbreport::WriteCarrierInputs(t, r, in, "Implementation loss");
    line.Blank();

    isolated::WriteStationFigures(t, b);
    t.Numbers("Carrier EIRP density (satellite) ", {w.satelliteDensity}, "dBW/Hz");
    t.Numbers("Carrier EIRP density (flange)", {w.flangeDensity}, "dBW/Hz");
    isolated::WriteAvailability(t, b.texts);
    line.Blank();

    t.Heading("Downlink Calculation", {"Clear", "Rain"});
    t.Numbers("Satellite EIRP per carrier", {in.eirp, in.eirp}, "dBW");
    isolated::WritePathLosses(t, b);
    t.Numbers("Other path losses", {in.otherLosses, in.otherLosses}, "dB");
    t.Numbers("Noise increase due to precipitation", {0.0, p.noiseIncrease}, "dB");
    t.Numbers("Downlink degradation (DND)", {0.0, p.degradation}, "dB");
    t.Numbers("Total system noise", {p.clearSkySystemTemp, p.rainSystemTemp}, "K");
    t.Numbers("Figure of merit (G/T)", {p.clearSkyGt, p.rainGt}, "dB/K");
    t.Numbers("Power flux density", {c.pfd, w.pfd}, "dBW/m2");
    t.Numbers("Carrier power at LNB output", {c.carrierPowerDbw, w.carrierPowerDbw}, "dBW");
    t.Numbers("Carrier power at LNB output", {c.carrierPowerDbm, w.carrierPowerDbm}, "dBm");
    const std::string level = "Carrier level at LNB output (" + lbreport::Fixed(in.loadImpedance, 0) + " Ohm)";
    t.Numbers(level.c_str(), {c.carrierLevelDbuV, w.carrierLevelDbuV}, "dBuV");
    t.Numbers(level.c_str(), {c.carrierLevelDbmV, w.carrierLevelDbmV}, "dBmV");
    isolated::WriteRatios(t, b);
    line.Blank();

    isolated::WriteSpaceSegment(t, b, "Coded bitrate");
}
