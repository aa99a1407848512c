// The isolated uplink report: the inputs as typed, the general figures, the
// clear and rain columns, the earth-station power and the space segment.
#include "linkbudget/isolated/uplink_report.h"

#include "linkbudget/isolated/isolated_report.h"

using lbreport::ReportTable;

void WriteUplinkReport(ReportWriter& line, const ReportHeading& heading, const RgnUplinkBudget& b)
{
    const UplinkInputRecord& r = b.record;
    const RgnUplinkInputs& in = b.in;
    const RgnUplinkRates& s = b.sol;
    const UplinkPathLosses& p = b.path;
    const IsolatedLinkResult& c = b.clear;
    const IsolatedLinkResult& w = b.rainy;
    const ReportTable t(line, isolated::kValueColumns);

    isolated::WriteHead(line, heading, "Uplink Budget", "Uplink earth station", b);
    isolated::WriteSiteInputs(t, b, "Other path losses (site diversity gain -ve)");
    isolated::WriteInterferenceInputs(t, r, in.ciUnits);
    t.Texts(in.ciUnits ? "C/IM" : "C/IMo", {FieldView(r.hpaCim)}, in.ciUnits ? "dB" : "dB-Hz");
    t.Texts("Uplink station HPA output back-off", {FieldView(r.hpaObo)}, "dB");
    t.Texts("Uplink power control", {FieldView(r.powerControl)}, "dB");
    t.Texts("Required HPA power capability", {FieldView(r.hpaPower)}, "W");
    line.Blank();

    t.Heading("Satellite Input Parameters", {"Value"});
    t.Texts("G/T", {FieldView(r.satGt)}, "dB/K");
    isolated::WriteOrbitInputs(t, b);
    line.Blank();

    lbreport::WriteCarrierInputs(t, r, in, "Implementation Loss");
    line.Blank();

    isolated::WriteStationFigures(t, b);
    isolated::WriteAvailability(t, b.texts);
    line.Blank();

    t.Heading("Uplink Calculation", {"Clear", "Rain"});
    t.Numbers("Uplink transmit EIRP", {c.eirp, w.eirp + p.powerControlUsed}, "dBW");
    t.Numbers("Uplink power control used", {0.0, p.powerControlUsed}, "dB");
    isolated::WritePathLosses(t, b);
    t.Numbers("Other path losses", {in.otherLosses, in.otherLossesEntered}, "dB");
    t.Numbers("Power flux density", {c.pfd, w.pfd}, "dBW/m2");
    isolated::WriteRatios(t, b);
    line.Blank();

    t.Heading("Earth Station Power Requirements", {"Value"});
    t.Numbers("EIRP per carrier", {w.eirp}, "dBW");
    t.Numbers("Uplink power control available", {in.powerControl}, "dB");
    t.Numbers("Total EIRP requirement", {w.eirp + in.powerControl}, "dBW");
    t.Numbers("Carrier EIRP density", {w.flangeDensity + p.powerControlUsed}, "dBW/Hz");
    t.Numbers("HPA power per carrier", {s.hpaPerCarrier}, "dBW");
    t.Numbers("HPA output back off", {in.hpaObo}, "dB");
    t.Texts("Waveguide loss", {FieldView(r.couplingLoss)}, "dB");
    t.Numbers("Total HPA power required", {s.totalHpaPower}, "dBW", 4);
    t.Numbers("Required HPA power", {s.requiredHpaPower}, "W", 4);
    line.Blank();

    isolated::WriteSpaceSegment(t, b, "Transmit rate");
}
