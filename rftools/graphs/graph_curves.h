// The numbers of every graph of the Graph menu: each builder's curve, ranges,
// axis titles and report lines from its form's record, and the curve
// functions themselves, which the antenna, template and EIRP tables call
// with the same inputs.  Free of Qt; the graph window runs the forms, shows
// the messages and draws the content.
//
// Frequencies in GHz, lengths in metres, angles in degrees, gains in dBi,
// levels in dB.  `plotWidth` is the number of x steps (the plot area's width
// in pixels, 737 on the screen).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rftools/graphs/graph_records.h"
#include "rftools/graphs/plot_engine.h"

namespace graphs {

// A message box a builder asks for: text, caption and the box's flags.
struct GraphMessage {
    std::string text;
    std::string caption;
    unsigned flags = 0;
};

// What a builder puts into the graph window.  `plot.curveShown` is false
// when an input problem leaves the window blank (after its messages).
struct GraphContent {
    GraphPlot plot;
    std::vector<std::string> lines;      // title, company line "%s~", notes
    bool setsDocTitle = true;            // the title is also the window's caption
    std::vector<GraphMessage> messages;  // shown before the graph, in order
};

// The leading number of a record's text as the C library reads it in the C
// locale ("12.5GHz" is 12.5, "" and "abc" are 0).
double FieldNumber(std::string_view text);
// True when the text is "auto" in any case.
bool IsAuto(std::string_view text);

// 10 log10((pi D)^2 eta / (100 lambda^2)): the gain of a parabolic aperture
// of diameter D (m) and efficiency eta (%) at wavelength lambda (m).
double ApertureGainDbi(double diameterM, double efficiencyPct, double wavelengthM);

// ---- antenna gain template (command 6323) ---------------------------------

struct TemplateInputs {
    double diameterM = 0.0;
    double efficiencyPct = 0.0;
    double frequencyGHz = 0.0;
    double angularLimitDeg = 0.0;
    bool coPolar = false;   // the co-polar radio
    bool bo1213 = false;    // the BO.1213 template radio
};
TemplateInputs ReadTemplate(const TemplateRecord& record);
// Boresight gain Gmax of the template, dBi.
double TemplateBoresightGainDbi(const TemplateInputs& in);
// The template's gain at an off-axis angle: BO.1213 (co- or cross-polar) or
// the combined AP8/S.580 co-polar pattern.
double TemplateGainDbi(const TemplateInputs& in, double angleDeg);
// The warning when cross-polar is asked of the combined template (which then
// gives its co-polar values).
std::optional<GraphMessage> TemplatePolarWarning(const TemplateInputs& in);
// "Antenna Gain Template (Co-Polar) - BO.1213" and its kin: the title of the
// template's graph and table.
std::string TemplateTitle(const TemplateInputs& in);
GraphContent GainTemplateGraph(const TemplateInputs& in, std::string_view company, int plotWidth);

// ---- aperture beam patterns (commands 6311 and 6312) ---------------------

struct BeamInputs {
    double frequencyGHz = 0.0;
    double apertureM = 0.0;
};
BeamInputs ReadBeam(const BeamRecord& record);
// The pattern's half range, degrees: 224 lambda / D (lambda in single
// precision), at most 180.
double BeamPatternLimitDeg(double apertureM, double frequencyGHz);
// Relative field strength (0 .. 1) at an angle from boresight: |2 J1(u)/u|
// of a circular aperture (16-term series) or |sin u / u| of a line source.
double BeamPatternValue(double angleDeg, double apertureM, double frequencyGHz, bool rectangular);
// Fills the plot's ranges and its symmetric curve over the plot width.
void BeamPatternPoints(GraphPlot& plot, double apertureM, double frequencyGHz, bool rectangular);
GraphContent BeamPatternGraph(const BeamInputs& in, bool rectangular, std::string_view company, int plotWidth);

// ---- antenna and noise graphs (6313, 6314, 6317, 6310) --------------------

struct AntGainInputs {
    double frequencyGHz = 0.0;
    double efficiencyPct = 0.0;
    double maximumApertureM = 0.0;
};
AntGainInputs ReadAntGain(const AntGainRecord& record);
GraphContent GainApertureGraph(const AntGainInputs& in, std::string_view company, int plotWidth);

struct AntSysInputs {
    double frequencyGHz = 0.0;
    double systemNoiseK = 0.0;
    double bandwidthMHz = 0.0;
    double requiredCnDb = 0.0;
    bool autoAperture = true;
    double maximumApertureM = 0.0;   // when not automatic
};
AntSysInputs ReadAntSys(const AntSysRecord& record);
// The graph's fixed antenna efficiency (%) and slant range (km).
inline constexpr double kEirpGraphEfficiencyPct = 65.0;
inline constexpr double kEirpGraphSlantRangeKm = 41000.0;
// The EIRP axis, dBW: 30 .. 70 from 8 GHz up, else 25 .. 55.
AxisRange EirpAxisRange(double frequencyGHz);
// Free-space loss over a slant range, dB; over the graph's, EirpGraphPathLossDb.
double FreeSpaceLossDb(double slantRangeKm, double frequencyGHz);
double EirpGraphPathLossDb(double frequencyGHz);
// The aperture (m) that gives the required C/N for a satellite EIRP (dBW):
// over a slant range with an antenna efficiency (%), or over the graph's.
double ApertureForEirpM(const AntSysInputs& in, double eirpDbw, double slantRangeKm, double efficiencyPct);
double ApertureForEirpM(const AntSysInputs& in, double eirpDbw);
GraphContent EirpApertureGraph(const AntSysInputs& in, std::string_view company, int plotWidth);

struct FocalInputs {
    double diameterM = 0.0;
    double fOverD = 0.0;
};
FocalInputs ReadFocal(const FocalRecord& record);
// Depth (m) of a parabola of focal ratio f/D and diameter D at a distance x (m) from its axis.
double ParabolaDepthM(double xM, double diameterM, double fOverD);
GraphContent ParabolaGraph(const FocalInputs& in, std::string_view company, int plotWidth);

// (10^(F/10) - 1) 290 K for a noise figure F (dB).
double NoiseTemperatureK(double noiseFigureDb);
GraphContent NoiseTempGraph(std::string_view company, int plotWidth);

// ---- rain and absorption graphs (6319, 6318) -----------------------------

struct RainGraphInputs {
    AttenRecord texts{};              // the form's texts, for the notes
    double latitude = 0.0;            // degrees north
    double longitude = 0.0;           // degrees east
    double satelliteLongitude = 0.0;
    double heightKm = 0.0;            // the terrain height when the field is "auto"
    double availabilityPct = 0.0;
    double frequencyLimitGHz = 0.0;
};
// The height comes from the topography map when the field is "auto".
RainGraphInputs ReadRain(const AttenRecord& record);
// `tauRad` is the polarization tilt of the window's PolarizationTerm.  The
// elevation checks show their own messages; a refused elevation leaves the
// content blank.
GraphContent RainAttenGraph(const RainGraphInputs& in, double tauRad, std::string_view company, int plotWidth);
// The same graph at a given antenna elevation (degrees), with no check.
GraphContent RainAttenGraphAt(const RainGraphInputs& in, double tauRad, double elevationDeg, std::string_view company,
                              int plotWidth);

struct AbsorbGraphInputs {
    AbsorbRecord texts{};
    double latitude = 0.0;
    double longitude = 0.0;
    double satelliteLongitude = 0.0;
    double heightKm = 0.0;            // always the terrain height
    double availabilityPct = 0.0;
    double frequencyLimitGHz = 0.0;
    double absorptionLimitDb = 0.0;
};
AbsorbGraphInputs ReadAbsorb(const AbsorbRecord& record);
// Elevation (degrees, no refraction) of a geostationary satellite from a site.
double AbsorptionElevationDeg(double latitude, double longitude, double satelliteLongitude);
GraphContent AbsorptionGraph(const AbsorbGraphInputs& in, std::string_view company, int plotWidth);

// ---- polar mount and modulation graphs (6315, 6316, 6321, 6322) ----------

// Declination offset of a modified polar mount at a latitude, degrees.
double DeclinationOffsetDeg(double latitudeDeg);
// The correction added to the polar axis so that the mount follows the geo arc, degrees.
double PolarAxisCorrectionDeg(double latitudeDeg);
GraphContent DeclinationOffsetGraph(std::string_view company, int plotWidth);
GraphContent PolarAxisCorrectionGraph(std::string_view company, int plotWidth);

struct EbNoInputs {
    std::string levelsText;  // M as typed
    double levels = 2.0;     // M
    int kind = 1;            // 0 one bit per symbol, 1 M-PSK / M-APSK, 2 M-QAM
};
EbNoInputs ReadEbNo(const EbNoRecord& record);
// Eb/No (dB) at which uncoded coherent modulation reaches a bit error rate of 10^log10Ber.
double EbNoForBerDb(const EbNoInputs& in, double log10Ber);
GraphContent EbNoBerGraph(const EbNoInputs& in, std::string_view company, int plotWidth);

// Eb/No (dB) on the Shannon capacity boundary at log2(R/W).
double ShannonEbNoDb(double log2RateOverBandwidth);
GraphContent ShannonGraph(std::string_view company, int plotWidth);

}  // namespace graphs
