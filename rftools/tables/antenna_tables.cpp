#include "rftools/tables/antenna_tables.h"


#include "propagation/antenna.h"
#include "propagation/coordinates.h"

namespace orbiscope::tables {

const Taper kTapers[5] = {
    {"Uniform", 1.02, "-17.6 dB", 1.22},
    {"Cosine", 1.27, "-24.6 dB", 1.63},
    {"Cosine squared", 1.47, "-30.6 dB", 2.03},
    {"Pedestal", 1.16, "-26.5 dB", 1.51},
    {"Taylor", 1.31, "-40.0 dB", 0.0},
};

namespace {

constexpr double kRadToDeg = 57.29577951308232;

// Noise figures 0 to 3 dB in tenths, the step summed as the table always has.
constexpr double kLastNoiseFigureDb = 3.09;
constexpr double kNoiseFigureStepDb = 0.1;

constexpr double kGainApertures[] = {0.25, 0.3, 0.35, 0.4, 0.45, 0.5, 0.55, 0.6, 0.65, 0.7, 0.75, 0.8, 0.85, 0.9,
                                     0.95, 1.0, 1.2, 1.5, 1.8, 2.0, 2.2, 2.5, 3.0, 5.0, 7.5, 10.0, 15.0, 20.0};
constexpr double kBeamwidthApertures[] = {0.25, 0.3, 0.35, 0.4, 0.45, 0.5, 0.55, 0.6, 0.65, 0.7, 0.75, 0.8,
                                          0.85, 0.9, 0.95, 1.0, 1.2, 1.5, 1.8, 2.0, 2.4, 2.8, 3.0, 3.5,
                                          3.7, 4.0, 4.5, 5.0, 5.6, 6.0, 6.5, 7.3, 9.3, 13.0, 20.0, 30.0};
constexpr int kLevelsDb[] = {-3, -6, -10, -12, -20};
constexpr int kCircularAperture = 0, kLineSource = 1;

// Off-axis angles from (almost) boresight in steps of 0.05 degree, summed.
constexpr double kFirstAngleDeg = 1e-12;
constexpr double kAngleStepDeg = 0.05;

}  // namespace

double TaperAngleDeg(double factor, double wavelengthM, double diameterM)
{
    return factor * wavelengthM / diameterM * kRadToDeg;
}

TableText NoiseFigureTable(const ReportHeading& heading)
{
    TableText t;
    t.tabs = AbsoluteTab(300);
    ReportWriter line = t.Writer();
    WriteTitleAndCompany(line, "Noise Figures (290K)", heading);
    line.Blank();
    line.Blank();
    line.Append("Noise Figure (dB)\tNoise Temp. (K)~");
    line.Blank();
    for (double f = 0.0; f <= kLastNoiseFigureDb; f += kNoiseFigureStepDb)
        line("%.2lf\t%.2lf", f, graphs::NoiseTemperatureK(f));
    t.caption = "Noise Figures";
    return t;
}

TableText AntennaGainTable(const FreqRecord& r, const ReportHeading& heading)
{
    const double f = FieldNumber(FieldView(r.frequency));
    const double lambda = Wavelength(f);
    TableText t;
    t.tabs = TabsFromWidths({21, 7, 7, 7, 7, 7, 7, 7});
    ReportWriter line = t.Writer();
    WriteTitleAndCompany(line, ReportFormat("Antenna Gain at %.2lf GHz", f), heading);
    line.Blank();
    line.Blank();
    line.Append("Columns show antenna gain (dBi) at various efficiencies");
    line.Blank();
    line.Append("Aperture (m)\t55%\t60%\t65%\t70%\t75%\t80%\t85%\t90%~");
    line.Blank();
    for (double d : kGainApertures) {
        std::string row = ReportFormat("%.2lf", d);
        for (int efficiency = 55; efficiency <= 90; efficiency += 5)
            row += ReportFormat("\t%.2lf", graphs::ApertureGainDbi(d, efficiency, lambda));
        line.Append(row);
    }
    t.caption = ReportFormat("Gain (%.2lf GHz)", f);
    return t;
}

TableText BeamwidthTable(const FreqRecord& r, const ReportHeading& heading)
{
    const double f = FieldNumber(FieldView(r.frequency));
    const double lambda = Wavelength(f);
    TableText t;
    t.tabs = TabsFromWidths({20, 12, 12, 12, 12});
    ReportWriter line = t.Writer();
    WriteTitleAndCompany(line, ReportFormat("-3dB Beamwidths %.2lf GHz", f), heading);
    line.Blank();
    line.Blank();
    line.Append("-3dB beamwidths for various illumination tapers (degrees)");
    line.Blank();
    line.Append("Aperture (m)\tUniform\tCosine\tCosine^2\tPedestal\tTaylor~");
    line.Blank();
    for (double d : kBeamwidthApertures) {
        std::string row = ReportFormat("%.2lf", d);
        for (const Taper& taper : kTapers)
            row += ReportFormat("\t%.2lf", TaperAngleDeg(taper.beamwidthFactor, lambda, d));
        line.Append(row);
    }
    t.caption = ReportFormat("Beamwidths -3dB (%.2lf GHz)", f);
    return t;
}

TableText IlluminationTable(const graphs::BeamRecord& r, const ReportHeading& heading)
{
    const graphs::BeamInputs in = graphs::ReadBeam(r);
    const double d = in.apertureM, f = in.frequencyGHz;
    const double lambda = Wavelength(f);
    TableText t;
    t.tabs = TabsFromWidths({20, 20, 20});
    ReportWriter line = t.Writer();
    WriteTitleAndCompany(line, "Illumination & Beamwidth Data", heading);
    line.Blank();
    line("%.2lf Metre Antenna at %.2lf GHz~", d, f);
    line.Blank();
    line.Append("Illumination\t-3dB Beamwidth\tSide Lobe Amp.\tFirst Null~");
    line.Blank();
    for (const Taper& taper : kTapers) {
        const std::string null = taper.firstNullFactor > 0.0
                                     ? ReportFormat("%.2f degrees", TaperAngleDeg(taper.firstNullFactor, lambda, d))
                                     : "-";
        line("%s\t%.2f degrees\t%s\t%s", taper.name, TaperAngleDeg(taper.beamwidthFactor, lambda, d),
             taper.firstSideLobe, null.c_str());
    }
    line.Blank();
    line.Blank();
    line.Append("Beamwidths at Various -dB Levels with Uniform Illumination~");
    line.Blank();
    line.Append("Circular Apertures\tRectangular Apertures~");
    line.Blank();
    for (int level : kLevelsDb) {
        line("%3ddB  = %.2f degrees\t%3ddB  = %.2f degrees", level,
             BeamAngleAtLevel(level, lambda, d, kCircularAperture), level,
             BeamAngleAtLevel(level, lambda, d, kLineSource));
    }
    t.caption = ReportFormat("Illumination (%.2lfm,%.2lfGHz)", d, f);
    return t;
}

TableText OffAxisGainTable(const graphs::TemplateRecord& r, const ReportHeading& heading)
{
    const graphs::TemplateInputs in = graphs::ReadTemplate(r);
    const double gmax = graphs::TemplateBoresightGainDbi(in);
    TableText t;
    t.tabs = TabsFromWidths({20, 20});
    ReportWriter line = t.Writer();
    WriteTitleAndCompany(line, graphs::TemplateTitle(in), heading);
    line.Blank();
    line.Blank();
    line("Antenna Aperture = %.2lf metres", in.diameterM);
    line("Efficiency = %.2lf %%", in.efficiencyPct);
    line("Frequency = %.6lf GHz", in.frequencyGHz);
    line.Blank();
    line.Blank();
    WriteKey(line, "Key to Abbreviations:~",
             {{"Angle", "Displacment angle from boresight (degrees)"},
              {"Gain", "Off axis gain (dB)"},
              {"Loss", "Reduction in gain relative to boresight maximum (dB)"}});
    line.Blank();
    line.Blank();
    line.Append("Angle(deg)\tGain(dB)\tLoss(dB)~");
    line.Blank();
    for (double phi = kFirstAngleDeg; phi <= in.angularLimitDeg; phi += kAngleStepDeg) {
        const double gain = graphs::TemplateGainDbi(in, phi);
        line("%.2lf\t%.2lf\t%.2lf", phi, gain, gmax - gain);
    }
    t.caption = "Off Axis Antenna Gain";
    return t;
}

}  // namespace orbiscope::tables
