// The sections the isolated uplink and downlink reports print alike, over
// the same-named fields of either budget.  Both reports lay their tables out
// in two value columns (the input value, or clear sky and rain).  Free of Qt.
#pragma once

#include <cstdio>

#include "linkbudget/engine/report_text.h"
#include "linkbudget/isolated/isolated_budget.h"

namespace isolated {

inline constexpr int kValueColumns = 2;

// The title, the company and date lines, and what the budget is of.
template <class Budget>
void WriteHead(ReportWriter& line, const ReportHeading& heading, const char* title, const char* stationLabel,
               const Budget& b)
{
    const auto& r = b.record;
    WriteReportHeading(line, title, heading);
    line.Blank();
    line("Service Name\t%s", FieldText(r.serviceName).c_str());
    line("%s\t%s", stationLabel, FieldText(r.siteName).c_str());
    line("Satellite name\t%s", FieldText(r.satName).c_str());
    line("Modcod\t%s", FieldText(r.modcodText).c_str());
    line.Blank();
}

// The station's inputs from its latitude to its other path losses.
template <class Budget>
void WriteSiteInputs(const lbreport::ReportTable& t, const Budget& b, const char* otherLossesLabel)
{
    const auto& r = b.record;
    t.Heading("Link Input Parameters", {"Value"});
    t.Texts("Site latitude", {FieldView(r.latitude)}, "degrees");
    t.Texts("Site longitude", {FieldView(r.longitude)}, "degrees");
    t.Numbers("Site altitude", {b.geo.altitude}, "km", 3);
    t.Texts("Frequency", {FieldView(r.frequency)}, "GHz");
    t.Texts("Polarization", {lbreport::PolarizationName(r.polarization)}, "");
    t.Texts("Rain model", {b.rain.modelName}, "");
    t.Texts("R0.01%", {b.rain.rainRateText}, "mm/h");
    t.Texts("Availability (average year)", {b.texts.inputAvailability}, "%");
    t.Texts("Antenna aperture", {FieldView(r.diameter)}, "metres");
    t.Texts("Antenna efficiency or gain (+ or - prefix)", {FieldView(r.efficiency)}, "% or dBi");
    t.Texts("Coupling loss", {FieldView(r.couplingLoss)}, "dB");
    t.Texts("Antenna mispoint loss", {FieldView(r.mispointing)}, "dB");
    t.Texts(otherLossesLabel, {FieldView(r.otherLosses)}, "dB");
}

// The interference entries as typed: C/I in dB, or Csat/Io in dB-Hz.
template <class Record>
void WriteInterferenceInputs(const lbreport::ReportTable& t, const Record& r, bool ciUnits)
{
    t.Texts(ciUnits ? "C/ACI" : "Csat/ACIo", {FieldView(r.csatAci)}, ciUnits ? "dB" : "dB-Hz");
    t.Texts(ciUnits ? "C/ASI" : "Csat/ASIo", {FieldView(r.csatAsi)}, ciUnits ? "dB" : "dB-Hz");
    t.Texts(ciUnits ? "C/XPI" : "Csat/XPIo", {FieldView(r.csatXpi)}, ciUnits ? "dB" : "dB-Hz");
}

// The satellite's bandwidth and where it is: its longitude, or the typed
// range, elevation and longitude difference of a satellite that is not
// geostationary.
template <class Budget>
void WriteOrbitInputs(const lbreport::ReportTable& t, const Budget& b)
{
    const auto& r = b.record;
    t.Texts("Bandwidth", {FieldView(r.satBandwidth)}, "MHz");
    if (b.in.geoMode) {
        t.Texts("Longitude", {FieldView(r.satLongitude)}, "degrees");
    } else {
        t.Texts("Range", {FieldView(r.range)}, "km");
        t.Texts("Elevation", {FieldView(r.elevation)}, "degrees");
        t.Texts("Longitude difference", {FieldView(r.longitudeDifference)}, "degrees");
    }
}

// The look angles (geostationary satellite only), the XPD in rain and the
// antenna gain.
template <class Budget>
void WriteStationFigures(const lbreport::ReportTable& t, const Budget& b)
{
    const RgnUplinkGeometry& g = b.geo;
    t.Heading("General Calculations", {"Value"});
    if (b.in.geoMode) {
        t.Numbers("Elevation", {g.elevation}, "degrees");
        t.Numbers("True azimuth", {g.azimuth}, "degrees");
        t.Numbers("Compass bearing", {g.compassBearing}, "degrees");
        t.Numbers("Path distance to satellite", {g.range}, "km");
    }
    t.Numbers("XPD during rain", {b.path.xpd}, "dB");
    t.Numbers("Antenna gain", {g.antennaGain}, "dBi");
}

void WriteAvailability(const lbreport::ReportTable& t, const IsolatedTexts& texts);

// The path losses in clear sky and in rain, from the antenna mispointing to
// the total attenuation.
template <class Budget>
void WritePathLosses(const lbreport::ReportTable& t, const Budget& b)
{
    const auto& in = b.in;
    const auto& p = b.path;
    t.Numbers("Antenna mispoint", {in.mispointing, in.mispointing}, "dB");
    t.Numbers("Free space loss", {b.geo.freeSpaceLoss, b.geo.freeSpaceLoss}, "dB");
    t.Numbers("Atmospheric absorption (p=5% for p<5%)", {p.gas50, p.gasAtAvailability}, "dB");
    t.Numbers("Tropospheric scintillation", {p.scintillation50, p.scintillationAtAvailability}, "dB");
    t.Numbers("Cloud attenuation (p=5% for p<5%)", {0.0, p.cloud}, "dB");
    t.Numbers("Rain attenuation (0dB for p>5%)", {0.0, p.rain}, "dB");
    t.Numbers("Total attenuation (gas-rain-cloud-scintillation)", {p.clearSkyAtmospheric, p.totalAttenuation}, "dB");
}

// The carrier-to-noise and interference ratios in clear sky and in rain, the
// margins and what is left of them.
template <class Budget>
void WriteRatios(const lbreport::ReportTable& t, const Budget& b)
{
    const auto& in = b.in;
    const auto& c = b.clear;
    const auto& w = b.rainy;
    t.Numbers("C/No (thermal)", {c.cNo, w.cNo}, "dB-Hz");
    t.Numbers("C/N (thermal)", {c.cN, w.cN}, "dB");
    t.Numbers("C/ACI", {c.cAci, w.cAci}, "dB");
    t.Numbers("C/ASI", {c.cAsi, w.cAsi}, "dB");
    t.Numbers("C/XPI", {c.cXpi, w.cXpi}, "dB");
    t.Numbers("C/IM", {c.cIm, w.cIm}, "dB");
    t.Numbers("C/I (total)", {c.cI, w.cI}, "dB");
    t.Numbers("C/(N+I)", {c.cNI, w.cNI}, "dB");
    if (in.targetEbNo) t.Numbers("Eb/(No+Io)", {c.ebNoIo, w.ebNoIo}, "dB");
    t.Numbers("Implementation loss", {in.implementationLoss, in.implementationLoss}, "dB");
    t.Numbers("System margin", {in.systemMargin, in.systemMargin}, "dB");
    t.Numbers(in.targetEbNo ? "Net Eb/(No+Io)" : "Net Es/(No+Io)", {c.net, w.net}, "dB");
    t.Numbers(in.targetEbNo ? "Required Eb/(No+Io)" : "Required Es/(No+Io)", {in.requiredTarget, in.requiredTarget},
              "dB");
    t.Numbers("Excess margin", {c.excessMargin, w.excessMargin}, "dB#");
}

// The carrier's rates and bandwidths in the space segment.
template <class Budget>
void WriteSpaceSegment(const lbreport::ReportTable& t, const Budget& b, const char* transmitRateLabel)
{
    t.Heading("Space Segment Utilization", {"Value"});
    lbreport::WriteCarrierRates(t, b.in, b.sol, transmitRateLabel, "MBaud");
    t.Numbers("Allocated bandwidth", {b.sol.allocatedBandwidth}, "MHz", 4);
}

}  // namespace isolated
