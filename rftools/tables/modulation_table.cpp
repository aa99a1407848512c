#include "rftools/tables/modulation_table.h"

#include <cmath>

#include "propagation/ber.h"

namespace orbiscope::tables {

namespace {

// One group of rows: the modulation kind of the Eb/No search, and the orders
// M = base^exponent for the exponents first..last.
struct ModulationGroup {
    int kind;          // 0 BPSK, 1 M-PSK, 2 M-QAM
    double base;
    int firstExponent, lastExponent;
    const char* label;
};
constexpr ModulationGroup kGroups[] = {
    {0, 2.0, 1, 1, "BPSK"},
    {1, 2.0, 2, 8, "%.0lf-PSK"},
    {2, 4.0, 1, 6, "%.0lf-QAM"},
};

}  // namespace

TableText ModulationTable(const BerRecord& r, const ReportHeading& heading)
{
    const std::string log10BerText = FieldText(r.log10Ber);
    const double log10Ber = FieldNumber(log10BerText);
    TableText t;
    t.tabs = TabsFromWidths({20, 20});
    ReportWriter line = t.Writer();
    WriteTitleAndCompany(line, "Comparison of Digital Modulation Schemes", heading);
    line.Blank();
    line.Blank();
    line("Log(BER)  = %s", log10BerText.c_str());
    line.Blank();
    line.Append("Notes~");
    line.Append("Eb/No values shown do not include channel coding");
    line.Append("Bandwidth efficiencies, BW(eff), shown in bits/sec/Hz");
    line.Blank();
    line.Blank();
    line.Append("Modulation\tEb/No(dB)\tBW(eff)~");
    line.Blank();
    for (const ModulationGroup& g : kGroups) {
        for (int exponent = g.firstExponent; exponent <= g.lastExponent; ++exponent) {
            const double m = std::pow(g.base, exponent);
            const std::string label = g.kind == 0 ? g.label : ReportFormat(g.label, m);
            // The Eb/No v BER graph's own search: uncoded, the error rate per bit.
            const double ebNoDb = graphs::EbNoForBerDb({label, m, g.kind}, log10Ber);
            line("%-s\t%.2lf\t%.2lf", label.c_str(), ebNoDb, Log2(m));
        }
        line.Blank();
    }
    t.caption = ReportFormat("Digital Modulation (Log(BER) = %s)", log10BerText.c_str());
    return t;
}

}  // namespace orbiscope::tables
