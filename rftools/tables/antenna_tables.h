// The antenna and noise reference tables: noise temperature against noise
// figure, gain against aperture and efficiency, -3 dB beamwidth against
// aperture for five illumination tapers, one aperture's beamwidths, side
// lobes and nulls, and the off-axis gain of a reference template.  Free of Qt.
#pragma once

#include "rftools/graphs/graph_records.h"
#include "rftools/tables/table_records.h"
#include "rftools/tables/table_text.h"

namespace orbiscope::tables {

// An illumination taper of a circular reflector: its -3 dB beamwidth and
// first null as multiples of wavelength / diameter (radians), and its first
// side lobe.
struct Taper {
    const char* name;            // as the illumination table lists it
    double beamwidthFactor;
    const char* firstSideLobe;   // "-17.6 dB"
    double firstNullFactor;      // 0: the taper has no null to give
};
extern const Taper kTapers[5];   // Uniform, Cosine, Cosine squared, Pedestal, Taylor

// The angle (degrees) of `factor` wavelengths over the diameter.
double TaperAngleDeg(double factor, double wavelengthM, double diameterM);

TableText NoiseFigureTable(const ReportHeading& heading);
TableText AntennaGainTable(const FreqRecord& record, const ReportHeading& heading);
TableText BeamwidthTable(const FreqRecord& record, const ReportHeading& heading);
TableText IlluminationTable(const graphs::BeamRecord& record, const ReportHeading& heading);
// The template's warning, when there is one, is the window's to show first
// (graphs::TemplatePolarWarning).
TableText OffAxisGainTable(const graphs::TemplateRecord& record, const ReportHeading& heading);

}  // namespace orbiscope::tables
