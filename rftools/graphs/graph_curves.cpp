#include "rftools/graphs/graph_curves.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numbers>

#include "framework/output/report_format.h"
#include "propagation/antenna.h"
#include "propagation/ber.h"
#include "propagation/coordinates.h"
#include "propagation/gas.h"
#include "propagation/itu_maps.h"
#include "propagation/rain.h"

namespace graphs {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadToDeg = 180.0 / kPi;
// Geostationary orbit radius in Earth radii.
constexpr double kGeoRadiusInEarthRadii = 6.610794055947345;
// A zero angle or rate is replaced by this where a formula divides by it.
constexpr double kTinyRad = 1e-6;
// The x axes that start "at zero" start here, so that nothing divides by 0.
constexpr double kNearZeroStart = 1e-12;
// Boltzmann's constant, dBW/K/Hz.
constexpr double kBoltzmannDb = -228.5993213;
// Gains below this are not on the gain-against-aperture graph, dBi.
constexpr double kGainAxisFloorDbi = 25.0;
// The gain template's y axis starts here, dBi.
constexpr double kTemplateFloorDbi = -10.0;
// Standard noise reference temperature, K.
constexpr double kReferenceTemperatureK = 290.0;
// The bit error rate the Eb/No graph's y axis reaches: 10^-9.
constexpr double kLowestBerExponent = -9.0;

GraphContent StartContent(std::string title, std::string_view company)
{
    GraphContent c;
    c.lines.push_back(std::move(title));
    c.lines.push_back(std::string(company) + "~");
    return c;
}

void SetRanges(GraphPlot& p, double xmin, double xmax, double ymin, double ymax, double xAxisAt, double yAxisAt)
{
    p.xMinimum = xmin, p.xMaximum = xmax;
    p.yMinimum = ymin, p.yMaximum = ymax;
    p.xAxisPosition = xAxisAt;
    p.yAxisPosition = yAxisAt;
}

void SetTitles(GraphPlot& p, const char* x, const char* y)
{
    p.xAxisTitle = x;
    p.yAxisTitle = y;
}

// The x values of the plot width's steps from xmin, accumulated in double.
std::vector<double> Steps(double xmin, double xmax, int plotWidth)
{
    std::vector<double> xs;
    if (plotWidth <= 0) return xs;
    xs.reserve(std::size_t(plotWidth));
    const double step = (xmax - xmin) / plotWidth;
    double x = xmin;
    for (int i = 0; i < plotWidth; ++i, x += step) xs.push_back(x);
    return xs;
}

void Keep(GraphPlot& p, double x, double y) { p.points.push_back({static_cast<float>(x), static_cast<float>(y)}); }

// Every step's point (x, f(x)).
template <class F>
void FillAll(GraphPlot& p, int plotWidth, F f)
{
    for (double x : Steps(p.xMinimum, p.xMaximum, plotWidth)) Keep(p, x, f(x));
}

std::string Text(const char* field, std::size_t size) { return std::string(field, strnlen(field, size - 1)); }
template <std::size_t N>
std::string Text(const char (&field)[N])
{
    return Text(field, N);
}

}  // namespace

double FieldNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    double v = 0.0;
    const auto r = std::from_chars(text.data() + i, text.data() + text.size(), v);
    return r.ec == std::errc() ? v : 0.0;
}

bool IsAuto(std::string_view text)
{
    constexpr std::string_view kAuto = "auto";
    if (text.size() != kAuto.size()) return false;
    for (std::size_t i = 0; i < kAuto.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != kAuto[i]) return false;
    return true;
}

double ApertureGainDbi(double diameterM, double efficiencyPct, double wavelengthM)
{
    const double piD = kPi * diameterM;
    return 10.0 * std::log10(piD * piD * efficiencyPct / (wavelengthM * wavelengthM * 100.0));
}

// ---- antenna gain template ----------------------------------------------------

TemplateInputs ReadTemplate(const TemplateRecord& r)
{
    TemplateInputs in;
    in.diameterM = FieldNumber(FieldView(r.diameter));
    in.efficiencyPct = FieldNumber(FieldView(r.efficiency));
    in.frequencyGHz = FieldNumber(FieldView(r.frequency));
    in.angularLimitDeg = FieldNumber(FieldView(r.angularLimit));
    in.coPolar = r.coPolar.On();
    in.bo1213 = r.bo1213.On();
    return in;
}

double TemplateBoresightGainDbi(const TemplateInputs& in)
{
    return ApertureGainDbi(in.diameterM, in.efficiencyPct, Wavelength(in.frequencyGHz));
}

double TemplateGainDbi(const TemplateInputs& in, double angleDeg)
{
    return OffAxisGain(TemplateBoresightGainDbi(in), angleDeg, in.frequencyGHz, in.diameterM, in.coPolar ? 1 : 0,
                       in.bo1213 ? 1 : 0);
}

std::optional<GraphMessage> TemplatePolarWarning(const TemplateInputs& in)
{
    if (in.coPolar || in.bo1213) return std::nullopt;
    return GraphMessage{"Only co-polar is defined in AP8/S.580", "Cross-polar Option Invalid", 0};
}

std::string TemplateTitle(const TemplateInputs& in)
{
    std::string title = in.coPolar || !in.bo1213 ? "Antenna Gain Template (Co-Polar)" : "Antenna Gain Template (Cross-Polar)";
    return title + (in.bo1213 ? " - BO.1213" : " - Combined S-580-6/AP8");
}

GraphContent GainTemplateGraph(const TemplateInputs& in, std::string_view company, int plotWidth)
{
    GraphContent c = StartContent(TemplateTitle(in), company);
    if (auto warning = TemplatePolarWarning(in)) c.messages.push_back(*warning);
    c.lines.push_back(ReportFormat("Antenna Aperture = %.2lf metres", in.diameterM));
    c.lines.push_back(ReportFormat("Efficiency = %.2lf %%", in.efficiencyPct));
    c.lines.push_back(ReportFormat("Frequency = %.6lf GHz", in.frequencyGHz));

    GraphPlot& p = c.plot;
    const double gmax = TemplateBoresightGainDbi(in);
    SetRanges(p, kNearZeroStart, in.angularLimitDeg, kTemplateFloorDbi, gmax, 0.0, 0.0);
    SetTitles(p, "Angular Displacement (degrees", "Antenna Gain (dBi");
    if (!(gmax > kTemplateFloorDbi)) {
        // The whole template lies on its floor: there is no curve to show.
        c.messages.push_back({ReportFormat("The boresight gain (%.2lf dBi) is not above the template's floor of "
                                           "-10 dBi: there is no template to draw",
                                           gmax),
                              "Antenna Gain Template", 48});
        return c;
    }
    FillAll(p, plotWidth, [&](double x) { return TemplateGainDbi(in, x); });
    p.curveShown = true;
    return c;
}

// ---- beam patterns -------------------------------------------------------------

BeamInputs ReadBeam(const BeamRecord& r)
{
    return BeamInputs{FieldNumber(FieldView(r.frequency)), FieldNumber(FieldView(r.aperture))};
}

namespace {
// The pattern keeps the wavelength in single precision.
double BeamWavelength(double frequencyGHz) { return static_cast<float>(Wavelength(frequencyGHz)); }
constexpr double kBeamRangeInWavelengthsPerAperture = 224.0;
constexpr double kWidestBeamRangeDeg = 180.0;
}  // namespace

double BeamPatternLimitDeg(double apertureM, double frequencyGHz)
{
    const double xmin = std::max(-kBeamRangeInWavelengthsPerAperture * BeamWavelength(frequencyGHz) / apertureM,
                                 -kWidestBeamRangeDeg);
    return -xmin;
}

double BeamPatternValue(double angleDeg, double apertureM, double frequencyGHz, bool rectangular)
{
    const double lambda = BeamWavelength(frequencyGHz);
    return rectangular ? LineSourcePattern(angleDeg, apertureM, lambda)
                       : CircularAperturePattern(angleDeg, apertureM, lambda, 1);
}

void BeamPatternPoints(GraphPlot& p, double apertureM, double frequencyGHz, bool rectangular)
{
    const double xmax = BeamPatternLimitDeg(apertureM, frequencyGHz);
    SetRanges(p, -xmax, xmax, 0.0, 1.0, 0.0, 0.0);
    const int width = p.area.width;
    p.points.assign(std::size_t(std::max(0, width)), PlotPoint{});
    const double step = (p.xMaximum - p.xMinimum) / width;
    double x = p.xMinimum;
    for (int i = 0; i < (width + 1) / 2; ++i, x += step) {
        const float g = static_cast<float>(BeamPatternValue(x, apertureM, frequencyGHz, rectangular));
        p.points[std::size_t(i)] = {static_cast<float>(x), g};
        // The mirror of point 0 would be point `width`, past the drawn curve.
        if (i > 0) p.points[std::size_t(width - i)] = {static_cast<float>(-x), g};
    }
}

GraphContent BeamPatternGraph(const BeamInputs& in, bool rectangular, std::string_view company, int plotWidth)
{
    GraphContent c = StartContent(rectangular ? "Rectangular Aperture Beam Pattern (uniform illumination)"
                                              : "Circular Aperture Beam Pattern (uniform illumination)",
                                  company);
    c.lines.push_back("Uniform Illumination");
    c.lines.push_back(ReportFormat("Antenna Aperture = %.2lf metres", in.apertureM));
    c.lines.push_back(ReportFormat("Frequency = %.6lf GHz", in.frequencyGHz));
    c.plot.area.width = plotWidth;
    BeamPatternPoints(c.plot, in.apertureM, in.frequencyGHz, rectangular);
    SetTitles(c.plot, "Angular Displacement (degrees", "Field Strength (relative");
    c.plot.curveShown = true;
    c.plot.dbLinesShown = true;
    return c;
}

// ---- gain against aperture -------------------------------------------------------

AntGainInputs ReadAntGain(const AntGainRecord& r)
{
    return AntGainInputs{FieldNumber(FieldView(r.frequency)), FieldNumber(FieldView(r.efficiency)),
                         FieldNumber(FieldView(r.maximumAperture))};
}

GraphContent GainApertureGraph(const AntGainInputs& in, std::string_view company, int plotWidth)
{
    GraphContent c = StartContent("Antenna Gain v Aperture", company);
    c.lines.push_back(ReportFormat("Efficiency = %.2lf %%", in.efficiencyPct));
    c.lines.push_back(ReportFormat("Frequency = %.6lf GHz", in.frequencyGHz));
    GraphPlot& p = c.plot;
    SetTitles(p, "Aperture (metres", "Antenna Gain (dBi");
    const double lambda = Wavelength(in.frequencyGHz);
    const std::vector<double> apertures = Steps(kNearZeroStart, in.maximumApertureM, plotWidth);
    std::vector<double> gains;
    gains.reserve(apertures.size());
    double gmax = 0.0;
    for (double d : apertures) {
        gains.push_back(ApertureGainDbi(d, in.efficiencyPct, lambda));
        gmax = std::max(gmax, gains.back());
    }
    SetRanges(p, kNearZeroStart, in.maximumApertureM, kGainAxisFloorDbi, gmax, kGainAxisFloorDbi, kNearZeroStart);
    if (!(gmax > kGainAxisFloorDbi)) {
        c.messages.push_back({ReportFormat("No aperture up to %.2lf metres has a gain above 25 dBi at %.6lf GHz "
                                           "and %.2lf %% efficiency: there is nothing to draw",
                                           in.maximumApertureM, in.frequencyGHz, in.efficiencyPct),
                              "Antenna Gain v Aperture", 48});
        return c;
    }
    for (std::size_t i = 0; i < apertures.size(); ++i)
        if (gains[i] >= kGainAxisFloorDbi && gains[i] <= gmax) Keep(p, apertures[i], gains[i]);
    p.curveShown = true;
    return c;
}

// ---- aperture against EIRP ----------------------------------------------------------

AntSysInputs ReadAntSys(const AntSysRecord& r)
{
    AntSysInputs in;
    in.frequencyGHz = FieldNumber(FieldView(r.frequency));
    in.systemNoiseK = FieldNumber(FieldView(r.systemNoise));
    in.bandwidthMHz = FieldNumber(FieldView(r.bandwidth));
    in.requiredCnDb = FieldNumber(FieldView(r.requiredCn));
    in.autoAperture = IsAuto(FieldView(r.maximumAperture));
    in.maximumApertureM = in.autoAperture ? 0.0 : FieldNumber(FieldView(r.maximumAperture));
    return in;
}

AxisRange EirpAxisRange(double frequencyGHz)
{
    constexpr double kHighBandStartGHz = 8.0;
    return frequencyGHz >= kHighBandStartGHz ? AxisRange{30.0, 70.0} : AxisRange{25.0, 55.0};
}

double FreeSpaceLossDb(double slantRangeKm, double frequencyGHz)
{
    return 20.0 * std::log10(4.0 * kPi * slantRangeKm * 1000.0 / Wavelength(frequencyGHz));
}

double EirpGraphPathLossDb(double frequencyGHz) { return FreeSpaceLossDb(kEirpGraphSlantRangeKm, frequencyGHz); }

double ApertureForEirpM(const AntSysInputs& in, double eirpDbw, double slantRangeKm, double efficiencyPct)
{
    const double lambda = Wavelength(in.frequencyGHz);
    const double gOverT = (in.requiredCnDb - eirpDbw) + kBoltzmannDb + 10.0 * std::log10(1e6 * in.bandwidthMHz) +
                          FreeSpaceLossDb(slantRangeKm, in.frequencyGHz);
    const double g = 10.0 * std::log10(std::pow(10.0, 0.1 * gOverT) * in.systemNoiseK);
    return (1.0 / kPi) * std::pow(std::pow(10.0, 0.1 * g) * lambda * lambda * 100.0 / efficiencyPct, 0.5);
}

double ApertureForEirpM(const AntSysInputs& in, double eirpDbw)
{
    return ApertureForEirpM(in, eirpDbw, kEirpGraphSlantRangeKm, kEirpGraphEfficiencyPct);
}

GraphContent EirpApertureGraph(const AntSysInputs& in, std::string_view company, int plotWidth)
{
    GraphContent c = StartContent("EIRP v Antenna Aperture", company);
    c.lines.push_back("Calculation is based on following values:");
    c.lines.push_back(ReportFormat("Frequency = %.6lf GHz", in.frequencyGHz));
    c.lines.push_back(ReportFormat("C/N (clear sky) = %.2lf dB", in.requiredCnDb));
    c.lines.push_back(ReportFormat("Free space loss = %0.1lf dB", EirpGraphPathLossDb(in.frequencyGHz)));
    c.lines.push_back(ReportFormat("Bandwidth = %0.1lf MHz", in.bandwidthMHz));
    c.lines.push_back(ReportFormat("Antenna efficiency = %.0lf %%", kEirpGraphEfficiencyPct));
    c.lines.push_back(ReportFormat("Total noise temperature = %.0lf K", in.systemNoiseK));
    GraphPlot& p = c.plot;
    const AxisRange eirp = EirpAxisRange(in.frequencyGHz);
    const double ymax = in.autoAperture ? ApertureForEirpM(in, eirp.minimum) : in.maximumApertureM;
    SetRanges(p, eirp.minimum, eirp.maximum, 0.0, ymax, 0.0, eirp.minimum);
    SetTitles(p, "EIRP (dBw", "Antenna Aperture (metres");
    for (double e : Steps(eirp.minimum, eirp.maximum, plotWidth)) {
        const double d = ApertureForEirpM(in, e);
        if (d >= 0.0 && d <= ymax) Keep(p, e, d);
    }
    p.curveShown = true;
    return c;
}

// ---- parabola and noise --------------------------------------------------------------

FocalInputs ReadFocal(const FocalRecord& r)
{
    return FocalInputs{FieldNumber(FieldView(r.diameter)), FieldNumber(FieldView(r.fOverD))};
}

double ParabolaDepthM(double xM, double diameterM, double fOverD) { return xM * xM / (4.0 * diameterM * fOverD); }

GraphContent ParabolaGraph(const FocalInputs& in, std::string_view company, int plotWidth)
{
    constexpr double kFocusOnRimRatio = 0.25;  // f/D at which the focus lies in the rim's plane
    constexpr double kAxisStartM = 0.0001;
    const double focal = in.fOverD * in.diameterM;
    GraphContent c = StartContent(ReportFormat("Parabola Plot (f/D=%.2lf,D=%.2lfm)", in.fOverD, in.diameterM), company);
    c.lines.push_back(ReportFormat("Antenna diameter = %.2lf metres", in.diameterM));
    c.lines.push_back(ReportFormat("f/D ratio = %.2lf", in.fOverD));
    c.lines.push_back(ReportFormat("Focal distance (along y axis) = %.2lf metres", focal));
    GraphPlot& p = c.plot;
    const double ymax = in.fOverD >= kFocusOnRimRatio ? focal : in.diameterM / 2.0;
    SetRanges(p, kAxisStartM, in.diameterM / 2.0, 0.0, ymax, 0.0, kAxisStartM);
    SetTitles(p, "x (metres", "y (metres");
    FillAll(p, plotWidth, [&](double x) { return ParabolaDepthM(x, in.diameterM, in.fOverD); });
    p.curveShown = true;
    return c;
}

double NoiseTemperatureK(double noiseFigureDb)
{
    return (std::pow(10.0, 0.1 * noiseFigureDb) - 1.0) * kReferenceTemperatureK;
}

GraphContent NoiseTempGraph(std::string_view company, int plotWidth)
{
    GraphContent c = StartContent("Noise Temperature v Noise Figure (290K)", company);
    GraphPlot& p = c.plot;
    SetRanges(p, 0.0, 3.0, 0.0, 300.0, 0.0, 0.0);
    SetTitles(p, "Noise Figure (dB", "Noise Temperature (K");
    // i x 3 / width rather than an accumulated step, as the graph has always done.
    for (int i = 0; i < plotWidth; ++i) {
        const double f = i * 3.0 / plotWidth;
        Keep(p, f, NoiseTemperatureK(f));
    }
    p.curveShown = true;
    return c;
}

// ---- rain and absorption ---------------------------------------------------------------

RainGraphInputs ReadRain(const AttenRecord& r)
{
    RainGraphInputs in;
    in.texts = r;
    in.latitude = ParseLatLon(FieldView(r.siteLatitude));
    in.longitude = ParseLatLon(FieldView(r.siteLongitude));
    in.satelliteLongitude = ParseLatLon(FieldView(r.satelliteLongitude));
    in.heightKm = IsAuto(FieldView(r.siteAltitude))
                      ? TopoHeightAt(static_cast<float>(in.latitude), static_cast<float>(in.longitude))
                      : FieldNumber(FieldView(r.siteAltitude));
    in.availabilityPct = FieldNumber(FieldView(r.availability));
    in.frequencyLimitGHz = FieldNumber(FieldView(r.frequencyLimit));
    return in;
}

namespace {

void AddSiteLines(GraphContent& c, std::string_view location, std::string_view satellite, std::string_view latitude,
                  std::string_view longitude)
{
    c.lines.push_back("Location = " + std::string(location));
    c.lines.push_back("Satellite = " + std::string(satellite));
    c.lines.push_back("Site latitude = " + std::string(latitude));
    c.lines.push_back("Site longitude = " + std::string(longitude));
}

const char* PolarizationLine(char first)
{
    switch (first) {
    case 'C': return "Polarization = Circular";
    case 'H': return "Polarization = Horizontal";
    case 'V': return "Polarization = Vertical";
    default: return nullptr;
    }
}

}  // namespace

GraphContent RainAttenGraph(const RainGraphInputs& in, double tauRad, std::string_view company, int plotWidth)
{
    double elevation = 0.0;
    GeoLookAngles(in.latitude, in.longitude, in.satelliteLongitude, 0.0, nullptr, nullptr, &elevation, nullptr,
                  nullptr, nullptr);
    if (CheckLowElevation(elevation)) return RainAttenGraphAt(in, tauRad, elevation, company, plotWidth);
    GraphContent c = StartContent("Rain Attenuation v Frequency (ITU-R Model)", company);
    c.setsDocTitle = false;
    return c;
}

GraphContent RainAttenGraphAt(const RainGraphInputs& in, double tauRad, double elevation, std::string_view company,
                              int plotWidth)
{
    GraphContent c = StartContent("Rain Attenuation v Frequency (ITU-R Model)", company);
    c.setsDocTitle = false;
    GraphPlot& p = c.plot;
    SetTitles(p, "Frequency (GHz", "Attenuation (dB");
    const std::string polarization = FieldText(in.texts.polarization);
    const std::vector<double> fs = Steps(kNearZeroStart, in.frequencyLimitGHz, plotWidth);
    std::vector<double> a;
    a.reserve(fs.size());
    RainAttenuationResult last;
    double ymax = 0.0;
    for (double f : fs) {
        last = RainAttenuation(in.latitude, in.longitude, tauRad, in.heightKm, elevation, f, polarization.c_str(),
                               kRainRateFromMap, 0.0, in.availabilityPct);
        a.push_back(last.attenuation);
        ymax = std::max(ymax, last.attenuation);
    }
    constexpr double kNoRainTopDb = 0.01;  // the y axis of a graph with no rain at all
    if (ymax <= kNearZeroStart) ymax = kNoRainTopDb;
    SetRanges(p, kNearZeroStart, in.frequencyLimitGHz, 0.0, ymax, 0.0, kNearZeroStart);
    for (std::size_t i = 0; i < fs.size(); ++i) Keep(p, fs[i], a[i]);

    const AttenRecord& t = in.texts;
    AddSiteLines(c, FieldView(t.location), FieldView(t.satellite), FieldView(t.siteLatitude), FieldView(t.siteLongitude));
    c.lines.push_back(ReportFormat("Site altitude = %.3lf km", in.heightKm));
    c.lines.push_back("Satellite longitude = " + FieldText(t.satelliteLongitude));
    c.lines.push_back(ReportFormat("Antenna elevation = %.2lf degrees", elevation));
    c.lines.push_back(ReportFormat("Availability (average year) = % 0.3lf %%", in.availabilityPct));
    c.lines.push_back(
        ReportFormat("Rain Model (mm/h) = %s (%s)", Text(last.modelName).c_str(), Text(last.rainRateText).c_str()));
    if (const char* line = PolarizationLine(polarization.empty() ? '\0' : polarization[0])) c.lines.push_back(line);
    p.curveShown = true;
    return c;
}

AbsorbGraphInputs ReadAbsorb(const AbsorbRecord& r)
{
    AbsorbGraphInputs in;
    in.texts = r;
    in.latitude = ParseLatLon(FieldView(r.siteLatitude));
    in.longitude = ParseLatLon(FieldView(r.siteLongitude));
    in.satelliteLongitude = ParseLatLon(FieldView(r.satelliteLongitude));
    in.heightKm = TopoHeightAt(static_cast<float>(in.latitude), static_cast<float>(in.longitude));
    in.availabilityPct = FieldNumber(FieldView(r.availability));
    in.frequencyLimitGHz = FieldNumber(FieldView(r.frequencyLimit));
    in.absorptionLimitDb = FieldNumber(FieldView(r.absorptionLimit));
    return in;
}

double AbsorptionElevationDeg(double latitude, double longitude, double satelliteLongitude)
{
    double phi = latitude / kRadToDeg;
    if (phi == 0.0) phi = kTinyRad;
    const double delta = LongitudeDifference(longitude, satelliteLongitude) / kRadToDeg;
    if (phi == kTinyRad && delta == 0.0) return 90.0;
    const double k = kGeoRadiusInEarthRadii;
    const double cosDelta = std::cos(delta), cosPhi = std::cos(phi);
    return kRadToDeg * std::atan((k * cosPhi * cosDelta - 1.0) / (k * std::sqrt(1.0 - cosDelta * cosDelta * cosPhi * cosPhi)));
}

GraphContent AbsorptionGraph(const AbsorbGraphInputs& in, std::string_view company, int plotWidth)
{
    GraphContent c = StartContent("Atmospheric Absorption v Frequency", company);
    GraphPlot& p = c.plot;
    SetTitles(p, "Frequency (GHz", "Absorption (dB");
    const double elevation = AbsorptionElevationDeg(in.latitude, in.longitude, in.satelliteLongitude);
    if (!CheckBelowHorizon(elevation)) return c;
    constexpr double kAxisStartGHz = 1.0;
    SetRanges(p, kAxisStartGHz, in.frequencyLimitGHz, 0.0, in.absorptionLimitDb, 0.0, kAxisStartGHz);
    for (double f : Steps(kAxisStartGHz, in.frequencyLimitGHz, plotWidth)) {
        const double a = GaseousAttenuation(in.latitude, in.longitude, f, elevation, in.heightKm, in.availabilityPct);
        if (a >= 0.0) Keep(p, f, a);
    }
    const AbsorbRecord& t = in.texts;
    AddSiteLines(c, FieldView(t.location), FieldView(t.satellite), FieldView(t.siteLatitude), FieldView(t.siteLongitude));
    c.lines.push_back(ReportFormat("Site altitude = %.2lf km", in.heightKm));
    c.lines.push_back("Satellite longitude = " + FieldText(t.satelliteLongitude));
    c.lines.push_back(ReportFormat("Antenna elevation = %.2lf degrees", elevation));
    c.lines.push_back(ReportFormat("Availability = %.4lf %% (probability, p=5%% for p<5%%)", in.availabilityPct));
    p.curveShown = true;
    return c;
}

// ---- polar mount -----------------------------------------------------------------------

double DeclinationOffsetDeg(double latitudeDeg)
{
    double offset = 0.0;
    PolarMountAngles(latitudeDeg, &offset, nullptr, nullptr, nullptr, nullptr);
    return offset;
}

double PolarAxisCorrectionDeg(double latitudeDeg)
{
    double polarAxis = 0.0;
    PolarMountAngles(latitudeDeg, nullptr, nullptr, nullptr, &polarAxis, nullptr);
    return polarAxis - std::fabs(latitudeDeg);
}

namespace {
GraphContent MountGraph(const char* title, const char* note1, const char* note2, const char* yTitle, double ymax,
                        double (*f)(double), std::string_view company, int plotWidth)
{
    constexpr double kLastLatitudeDeg = 90.0;
    GraphContent c = StartContent(title, company);
    c.lines.push_back(note1);
    c.lines.push_back(note2);
    SetRanges(c.plot, 0.0, kLastLatitudeDeg, 0.0, ymax, 0.0, 0.0);
    SetTitles(c.plot, "Latitude (degrees", yTitle);
    FillAll(c.plot, plotWidth, f);
    c.plot.curveShown = true;
    return c;
}
}  // namespace

GraphContent DeclinationOffsetGraph(std::string_view company, int plotWidth)
{
    return MountGraph("Declination Offset for Modified Polar Mounts", "This is the reduced declination offset resulting from the",
                      "slight forward tilt of the polar axis in a modified polar mount", "Declination Offset (degrees", 9.0,
                      DeclinationOffsetDeg, company, plotWidth);
}

GraphContent PolarAxisCorrectionGraph(std::string_view company, int plotWidth)
{
    return MountGraph("Modified Polar Axis Correction", "This correction factor is added to the polar axis (latitude)",
                      "to enable accurate tracking of the geo-arc", "Correction Factor (degrees", 0.7,
                      PolarAxisCorrectionDeg, company, plotWidth);
}

// ---- modulation -------------------------------------------------------------------------

EbNoInputs ReadEbNo(const EbNoRecord& r)
{
    EbNoInputs in;
    in.levelsText = FieldText(r.levels);
    in.levels = FieldNumber(in.levelsText);
    // Tested in button order: the last one set wins.
    if (r.oneBit.On()) in.kind = 0;
    if (r.psk.On()) in.kind = 1;
    if (r.qam.On()) in.kind = 2;
    return in;
}

double EbNoForBerDb(const EbNoInputs& in, double log10Ber)
{
    return EbNoForBer(in.kind, in.levels, 0, std::pow(10.0, log10Ber), 1.0);
}

GraphContent EbNoBerGraph(const EbNoInputs& in, std::string_view company, int plotWidth)
{
    const char* kTitles[] = {"Graph: Eb/No v BER uncoded (coherent BPSK)", "Graph: Eb/No v BER uncoded (coherent %s-PSK)",
                             "Graph: Eb/No v BER uncoded (coherent %s-QAM)"};
    GraphContent c = StartContent(ReportFormat(kTitles[std::clamp(in.kind, 0, 2)], in.levelsText.c_str()), company);
    GraphPlot& p = c.plot;
    SetRanges(p, kLowestBerExponent, 0.0, 0.0, EbNoForBerDb(in, kLowestBerExponent), 0.0, kLowestBerExponent);
    SetTitles(p, "Log(bit error probability) or Log(BER", "Eb/No (dB");
    for (int i = 0; i < plotWidth; ++i) {
        const double x = kLowestBerExponent + i * -kLowestBerExponent / plotWidth;
        Keep(p, x, EbNoForBerDb(in, x));
    }
    p.curveShown = true;
    return c;
}

double ShannonEbNoDb(double log2RateOverBandwidth)
{
    double r = std::pow(2.0, log2RateOverBandwidth);
    if (r == 0.0) r = kTinyRad;
    return 10.0 * std::log10((std::pow(2.0, r) - 1.0) / r);
}

GraphContent ShannonGraph(std::string_view company, int plotWidth)
{
    GraphContent c = StartContent("Shannon's Capacity Boundary", company);
    for (const char* note : {"Notes:", "(1) R = Data Rate (bits/sec),  W = Transmission Bandwidth (Hz)",
                             "(2) Graph denotes a capacity boundary for error-free communication.",
                             "(3) Operating points for error-free communication lie above curve.",
                             "(4) Infinite bandwidth is required for Eb/No <= -1.6dB",
                             "(5) Power limited operating points lie on left of Eb/No axis (R < W)",
                             "(6) Bandwidth limited points lie on right of Eb/No axis (R > W)"})
        c.lines.push_back(note);
    SetRanges(c.plot, -4.0, 3.0, -4.0, 20.0, 0.0, 0.0);
    SetTitles(c.plot, "Log2(R/W) (bits/sec/Hz", "Eb/No (dB");
    FillAll(c.plot, plotWidth, ShannonEbNoDb);
    c.plot.curveShown = true;
    return c;
}

}  // namespace graphs
