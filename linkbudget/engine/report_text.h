// What the link-budget reports share beyond the report writer of the
// framework: the names of the polarizations, the rows of their tables, and
// the sections every budget kind prints alike.  Free of Qt.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "framework/forms/record_fields.h"
#include "framework/output/report_writer.h"

namespace lbreport {

// "Vertical", "Horizontal" or "Circular" by the first letter of the
// polarization text (upper case only); empty for any other.
const char* PolarizationName(const char* text);

// A value with a fixed number of decimals, as "%.*lf" prints it.
std::string Fixed(double value, int decimals = 2);

// The rows of a report's tables: a label, value columns and the unit in the
// column after the last value column.  The bent-pipe report has three value
// columns, the isolated reports two; a row with fewer values leaves the
// columns after them empty.  A unit may carry the line's mark ("#").
class ReportTable {
public:
    ReportTable(ReportWriter& line, int valueColumns) : line_(line), columns_(valueColumns) {}

    // "title<TAB>column...<TAB>Units~".
    void Heading(const char* title, std::initializer_list<const char*> columns) const;
    void Texts(const char* label, std::initializer_list<std::string_view> cells, const char* unit) const;
    void Numbers(const char* label, std::span<const double> values, const char* unit, int decimals = 2) const;
    void Numbers(const char* label, std::initializer_list<double> values, const char* unit, int decimals = 2) const
    {
        Numbers(label, std::span<const double>(values.begin(), values.size()), unit, decimals);
    }

    ReportWriter& Line() const { return line_; }

private:
    void Row(std::string row, std::size_t cells, const char* unit) const;

    ReportWriter& line_;
    int columns_;
};

// The carrier's inputs as typed, from the same-named fields of any budget's
// record and its parsed modulation, target and rate choices.
template <class Record, class Inputs>
void WriteCarrierInputs(const ReportTable& t, const Record& r, const Inputs& in, const char* implementationLossLabel)
{
    t.Heading("Carrier/Link Input Parameters", {"Value"});
    const std::string m = FieldText(r.modulationOrder);
    if (in.modulation == 0)
        t.Texts("Modulation", {"1 bit/symbol"}, "");
    else if (in.modulation == 2)
        t.Texts("Modulation", {m + "-QAM/APSK"}, "");
    else
        t.Texts("Modulation", {m + "-PSK"}, "");
    t.Texts(in.targetEbNo ? "Required Eb/No" : "Required Es/No", {FieldView(r.requiredTarget)}, "dB");
    if (in.infoRateGiven)
        t.Texts("Information rate", {FieldView(r.rate)}, "Mbps");
    else
        t.Texts("Symbol rate", {FieldView(r.rate)}, "Mbaud");
    t.Texts("Information rate overhead", {FieldView(r.overhead)}, "%");
    t.Texts("FEC code rate", {FieldView(r.fecRate)}, "");
    t.Texts("Spreading gain", {FieldView(r.spreadingGain)}, "dB");
    t.Texts("(1 + Roll off factor)", {FieldView(r.rollOff)}, "");
    t.Texts("Carrier spacing factor", {FieldView(r.carrierSpacing)}, "");
    t.Texts("Bandwidth allocation step size", {FieldView(r.allocationStep)}, "MHz");
    t.Texts(implementationLossLabel, {FieldView(r.implementationLoss)}, "dB");
    t.Texts("System margin", {FieldView(r.systemMargin)}, "dB");
}

// The carrier's rates and bandwidths that open the space-segment section.
template <class Inputs, class Rates>
void WriteCarrierRates(const ReportTable& t, const Inputs& in, const Rates& s, const char* transmitRateLabel,
                       const char* symbolRateUnit)
{
    t.Numbers("Information rate", {in.infoRateGiven ? in.rate : s.infoRate}, "Mbps", 4);
    t.Numbers("Information rate (inc overhead)", {s.infoRateWithOverhead}, "Mbps", 4);
    t.Numbers(transmitRateLabel, {s.transmitRate}, "Mbps", 4);
    t.Numbers("Symbol rate", {s.symbolRate}, symbolRateUnit, 4);
    t.Numbers("Noise Bandwidth", {s.noiseBandwidth}, "dB-Hz");
    t.Numbers("Occupied bandwidth", {s.occupiedBandwidth}, "MHz", 4);
}

}  // namespace lbreport
