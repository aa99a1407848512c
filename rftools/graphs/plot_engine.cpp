#include "rftools/graphs/plot_engine.h"

#include <algorithm>
#include <cmath>

#include "framework/output/report_format.h"
#include "propagation/antenna.h"

namespace graphs {

namespace {

// The grid has a line every fifth of a step; every fifth line is labelled.
constexpr double kMinorFraction = 0.2;
constexpr int kLinesPerMajor = 5;
// A scale spans at most about 2 x 10 steps of the range and a step more:
// a hundred and some lines; the cap only guards against a broken scale.
constexpr int kMaxGridLines = 1000;
// Room around the plot that the screen layout keeps on its right.
constexpr int kReferenceLineLength = 20;
constexpr int kReferenceLabelGap = 24;

int HoldPixel(double v)
{
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::clamp(v, -double(kPixelLimit), double(kPixelLimit)));
}

bool UsableRange(double lo, double hi) { return std::isfinite(lo) && std::isfinite(hi) && hi > lo && std::isfinite(hi - lo); }

// The labels of a tick counter that starts one below r and counts up at
// every major line (each fifth line from the start).
template <class ToOffset>
AxisTicks MakeTicks(double minimum, double maximum, int length, ToOffset toOffset)
{
    AxisTicks out;
    out.scale = NiceTickStep(std::max(std::fabs(minimum), std::fabs(maximum)));
    const double minor = kMinorFraction * out.scale.step;
    double counter = out.scale.r - 1.0;
    double v = out.scale.start;
    for (int k = 0; v < maximum + minor && k < kMaxGridLines; ++k, v += minor) {
        const bool major = k % kLinesPerMajor == 0;
        if (major) counter += 1.0;
        const int offset = toOffset(v);
        if (offset < 0 || offset > length) continue;
        out.ticks.push_back(AxisTick{v, offset, major, counter});
    }
    return out;
}

// Title text without the "~" heading mark.
std::string_view WithoutMark(std::string_view line)
{
    if (!line.empty() && line.back() == '~') line.remove_suffix(1);
    return line;
}

int HalfTextWidth(const TextMetrics& m, std::size_t length) { return m.averageCharWidth * int(length) / 2; }

void LayOutXAxis(GraphDrawing& d, GraphPlot& plot, const GraphFontMetrics& fonts)
{
    const PlotArea& a = d.area;
    const AxisTicks x = XAxisTicks(plot.xMinimum, plot.xMaximum, a.width);
    const int labelY = a.top + a.height + fonts.label.lineHeight / 2;
    for (const AxisTick& t : x.ticks) {
        const int column = a.left + t.offset;
        if (t.major) {
            const std::string label = ReportFormat("%.0lf", t.label);
            d.texts.push_back({column - HalfTextWidth(fonts.label, label.size()), labelY, label, PlotFont::Label, 1});
        }
        d.grid.push_back({column, a.top, column, a.top + a.height, PlotPen::Grid});
    }
    const std::string title = AxisTitleText(plot.xAxisTitle, x.scale.step);
    const int titleX = a.left + a.width / 2 - HalfTextWidth(fonts.label, title.size());
    const int titleY = a.top + a.height + int(1.5 * fonts.label.lineHeight);
    d.texts.push_back({titleX, titleY, title, PlotFont::Label, 3});
}

void LayOutYAxis(GraphDrawing& d, GraphPlot& plot, const GraphFontMetrics& fonts)
{
    const PlotArea& a = d.area;
    const AxisTicks y = YAxisTicks(plot.yMinimum, plot.yMaximum, a.height);
    plot.tickStart = y.scale.start;
    plot.tickStep = y.scale.step;
    const int labelX = a.left - 3 * fonts.label.averageCharWidth;
    for (const AxisTick& t : y.ticks) {
        const int row = a.top + t.offset;
        if (t.major)
            d.texts.push_back(
                {labelX, row - fonts.label.lineHeight / 2, ReportFormat("%.0lf", t.label), PlotFont::Label, 1});
        d.grid.push_back({a.left, row, a.left + a.width, row, PlotPen::Grid});
    }
    const std::string title = AxisTitleText(plot.yAxisTitle, y.scale.step);
    const int titleX = a.left - 3 * fonts.axisTitle.lineHeight;
    const int titleY = (a.top + a.height) / 2 + HalfTextWidth(fonts.axisTitle, title.size()) + a.top / 2;
    d.texts.push_back({titleX, titleY, title, PlotFont::AxisTitle, 3});
}

void LayOutReferenceLines(GraphDrawing& d, const GraphPlot& plot, const GraphFontMetrics& fonts)
{
    const PlotArea& a = d.area;
    const int column = a.left + DataToPixelX(0.0, plot.xMinimum, plot.xMaximum, a.width);
    for (int level : kReferenceLevelsDb) {
        const int row = a.top + DataToPixelY(DbToAmplitudeRatio(level), plot.yMinimum, plot.yMaximum, a.height);
        d.references.push_back({column, row, column + kReferenceLineLength, row, PlotPen::Reference});
        d.texts.push_back({column + kReferenceLabelGap, row - fonts.label.lineHeight / 2, ReportFormat(" %d dB", level),
                           PlotFont::Label, 2});
    }
}

void LayOutAxes(GraphDrawing& d, const GraphPlot& plot)
{
    const PlotArea& a = d.area;
    const int column = a.left + DataToPixelX(plot.yAxisPosition, plot.xMinimum, plot.xMaximum, a.width);
    const int row = a.top + DataToPixelY(plot.xAxisPosition, plot.yMinimum, plot.yMaximum, a.height);
    d.axes.push_back({a.left, row, a.left + a.width, row, PlotPen::Axis});
    d.axes.push_back({column, a.top, column, a.top + a.height, PlotPen::Axis});
}

// The curve runs from point 0 (only moved to) through every later point
// below the y maximum; a point at or above it is stored as the maximum and
// the pen lifts there, so the curve breaks at the top edge.  A point with a
// coordinate that is not finite lifts the pen without moving it.
void LayOutCurve(GraphDrawing& d, GraphPlot& plot)
{
    const PlotArea& a = d.area;
    const auto at = [&](const PlotPoint& p) {
        return PlotPixel{a.left + DataToPixelX(p.x, plot.xMinimum, plot.xMaximum, a.width),
                         a.top + DataToPixelY(p.y, plot.yMinimum, plot.yMaximum, a.height)};
    };
    const float top = static_cast<float>(plot.yMaximum);
    std::vector<PlotPixel> run;
    const auto endRun = [&] {
        if (run.size() >= 2) d.curve.push_back(std::move(run));
        run.clear();
    };
    for (std::size_t i = 0; i < plot.points.size(); ++i) {
        PlotPoint& p = plot.points[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            endRun();
            continue;
        }
        if (i > 0 && !(p.y < top)) {
            p.y = top;
            endRun();
        }
        run.push_back(at(p));
    }
    endRun();
}

void LayOutTitleBlock(GraphDrawing& d, std::span<const std::string_view> lines, const GraphFontMetrics& fonts,
                      int x, int y)
{
    if (!lines.empty()) d.texts.push_back({x, y, std::string(lines[0]), PlotFont::Base, 0});
    if (lines.size() > 1) d.texts.push_back({x, y + fonts.base.lineHeight, std::string(WithoutMark(lines[1])), PlotFont::Label, 1});
}

void LayOutNotes(GraphDrawing& d, std::span<const std::string_view> lines, const GraphFontMetrics& fonts, int x)
{
    const PlotArea& a = d.area;
    for (std::size_t j = 2; j < lines.size(); ++j)
        d.texts.push_back({x, a.top + a.height + (int(j) + 3) * fonts.label.lineHeight, std::string(lines[j]),
                           PlotFont::Label, 3});
}

}  // namespace

PlotArea ScreenPlotArea() { return PlotArea{}; }

PlotArea PrintPlotArea(int baseLineHeight, int clientWidth, int clientHeight)
{
    PlotArea a;
    a.left = 4 * baseLineHeight;
    a.top = 6 * baseLineHeight;
    a.width = std::max(1, clientWidth - 2 * a.left);
    a.height = std::max(1, clientHeight / 3);
    a.right = a.left + a.width;
    a.scrollHeight = 3 * a.height;
    return a;
}

TickScale NiceTickStep(double value)
{
    double m = std::fabs(value);
    if (!(m > 0.0) || !std::isfinite(m)) return TickScale{};
    int n = 0;
    while (m < 1.0) {
        m *= 10.0;
        --n;
    }
    while (m >= 10.0) {
        m *= 0.1;
        ++n;
    }
    TickScale s;
    s.r = std::floor(-m);
    s.step = std::pow(10.0, n);
    s.start = s.r * s.step;
    return s;
}

AxisTicks XAxisTicks(double minimum, double maximum, int width)
{
    return MakeTicks(minimum, maximum, width, [&](double v) { return DataToPixelX(v, minimum, maximum, width); });
}

AxisTicks YAxisTicks(double minimum, double maximum, int height)
{
    return MakeTicks(minimum, maximum, height, [&](double v) { return DataToPixelY(v, minimum, maximum, height); });
}

std::string AxisTitleText(std::string_view title, double step)
{
    std::string out(title);
    if (step == 1.0 || !std::isfinite(step) || step <= 0.0) return out + ")";
    if (step > 1.0) return out + ReportFormat(" x %.0lf)", step);
    const int decimals = std::max(2, int(std::ceil(-std::log10(step) - 1e-9)));
    return out + ReportFormat(" x %.*lf)", decimals, step);
}

int DataToPixelX(double x, double xmin, double xmax, int width)
{
    if (!UsableRange(xmin, xmax)) return 0;
    return HoldPixel(width * (x - xmin) / (xmax - xmin) + 0.5);
}

int DataToPixelY(double y, double ymin, double ymax, int height)
{
    if (!UsableRange(ymin, ymax)) return 0;
    return HoldPixel(height * (ymax - y) / (ymax - ymin) + 0.5);
}

AxisRange DrawableRange(double minimum, double maximum)
{
    if (UsableRange(minimum, maximum)) return {minimum, maximum};
    const bool loFinite = std::isfinite(minimum), hiFinite = std::isfinite(maximum);
    if (loFinite && hiFinite && maximum > minimum) return {0.5 * minimum, 0.5 * maximum};  // too wide to subtract
    if (!loFinite && !hiFinite) return {};
    // One usable end: the range opens one unit (or a millionth of the value)
    // above it, or below it where above would overflow.
    const double base = loFinite ? minimum : maximum;
    const double span = std::max(1.0, std::fabs(base) * 1e-6);
    if (!loFinite) return {base - span, base};
    if (std::isfinite(base + span)) return {base, base + span};
    return {base - span, base};
}

GraphDrawing LayOutGraph(GraphPlot& plot, std::span<const std::string_view> lines, const GraphFontMetrics& fonts,
                         const PlotLayout& layout)
{
    const AxisRange xr = DrawableRange(plot.xMinimum, plot.xMaximum);
    const AxisRange yr = DrawableRange(plot.yMinimum, plot.yMaximum);
    plot.xMinimum = xr.minimum, plot.xMaximum = xr.maximum;
    plot.yMinimum = yr.minimum, plot.yMaximum = yr.maximum;

    GraphDrawing d;
    int titleX = fonts.base.lineHeight, titleY = fonts.base.lineHeight;
    if (layout.printLayout) {
        d.area = PrintPlotArea(fonts.base.lineHeight, layout.clientWidth, layout.clientHeight);
        titleX = 4 * fonts.base.lineHeight;
        titleY = 3 * fonts.base.lineHeight;
        d.extentWidth = layout.clientWidth;
        d.extentHeight = layout.clientHeight;
    } else {
        d.area = ScreenPlotArea();
        d.extentWidth = std::max(layout.clientWidth, d.area.right + d.area.left);
        d.extentHeight = std::max(layout.clientHeight, d.area.scrollHeight);
    }
    plot.area = d.area;

    LayOutTitleBlock(d, lines, fonts, titleX, titleY);
    LayOutXAxis(d, plot, fonts);
    LayOutYAxis(d, plot, fonts);
    if (plot.dbLinesShown) LayOutReferenceLines(d, plot, fonts);
    LayOutAxes(d, plot);
    LayOutCurve(d, plot);
    LayOutNotes(d, lines, fonts, titleX);
    return d;
}

}  // namespace graphs
