#include "rftools/tables/polar_eirp_tables.h"

#include <cmath>

#include "propagation/coordinates.h"
#include "pointing/alignment/look_angles.h"

namespace orbiscope::tables {

namespace {
constexpr double kHighestLatitudeDeg = 81.0;
constexpr double kLatitudeStepDeg = 0.5;
constexpr double kHighBandGHz = 8.0;
}  // namespace

TableText PolarMountTable(const ReportHeading& heading)
{
    TableText t;
    t.tabs = TabsFromWidths({12, 12, 12, 12, 12, 12});
    ReportWriter line = t.Writer();
    WriteTitleAndCompany(line, "Modified Polar Mount Settings", heading);
    line.Blank();
    WriteKey(line, "Key to Abbreviations:~",
             {{"Lat", "Latitude (degrees N or S)"},
              {"P.Axis", "Polar axis (degrees)"},
              {"P.EL", "Polar elevation (degrees)"},
              {"A.Dec", "Apex declination (degrees)"},
              {"A.EL", "Apex elevation (degrees)"},
              {"D.Off", "Declination offset (degrees)"}});
    line.Blank();
    line("%s\t%s\t%s\t%s\t%s\t%s~", "Lat", "P.Axis", "P.EL", "A.Dec", "A.EL", "D.Off");
    line.Blank();
    for (double latitude = 0.0; latitude <= kHighestLatitudeDeg; latitude += kLatitudeStepDeg) {
        const PolarMountSettings p = PolarMountFor(latitude);
        line("%.2lf\t%.2lf\t%.2lf\t%.2f\t%.2lf\t%.2lf", latitude, p.polarAxis, p.polarElevation, p.apexDeclination,
             p.apexElevation, p.declinationOffset);
    }
    t.caption = "Polar Mount Angles";
    return t;
}

EirpRange EirpTableRange(double frequencyGHz)
{
    return frequencyGHz < kHighBandGHz ? EirpRange{20, 45} : EirpRange{30, 62};
}

TableText EirpApertureTable(const AntSysSmallRecord& r, const ReportHeading& heading)
{
    graphs::AntSysInputs link;
    link.frequencyGHz = FieldNumber(FieldView(r.frequency));
    link.systemNoiseK = FieldNumber(FieldView(r.systemNoise));
    link.bandwidthMHz = FieldNumber(FieldView(r.bandwidth));
    TableText t;
    t.tabs = TabsFromWidths({16, 5, 5, 5, 5, 5});
    ReportWriter line = t.Writer();
    WriteTitleAndCompany(line, ReportFormat("Antenna Apertures (m) at %.2lf GHz", link.frequencyGHz), heading);
    line.Blank();
    line.Append("Columns show antenna aperture(metres) for clear sky C/N values");
    line("Free space loss = %0.1lf dB", graphs::FreeSpaceLossDb(kEirpTableSlantRangeKm, link.frequencyGHz));
    line("Bandwidth = %0.1lf MHz", link.bandwidthMHz);
    line("Antenna efficiency = %.0lf %%", kEirpTableEfficiencyPct);
    line("Total noise temperature = %.0lf K", link.systemNoiseK);
    line.Blank();
    line.Append("EIRP(dBW)\t6dB\t9dB\t12dB\t15dB\t18dB\t21dB~");
    line.Blank();
    const EirpRange range = EirpTableRange(link.frequencyGHz);
    for (int eirp = range.lowestDbw; eirp <= range.highestDbw; ++eirp) {
        double d[std::size(kEirpTableCnDb)];
        for (std::size_t c = 0; c < std::size(kEirpTableCnDb); ++c) {
            link.requiredCnDb = kEirpTableCnDb[c];
            d[c] = graphs::ApertureForEirpM(link, eirp, kEirpTableSlantRangeKm, kEirpTableEfficiencyPct);
        }
        line("%2d\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf", eirp, d[0], d[1], d[2], d[3], d[4], d[5]);
    }
    t.caption = ReportFormat("Ant. Size at %.2lf GHz", link.frequencyGHz);
    return t;
}

}  // namespace orbiscope::tables
