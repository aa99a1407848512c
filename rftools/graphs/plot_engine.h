// The plot engine's numbers: the content of a graph window (`GraphPlot`),
// its tick steps and labels, the data-to-pixel mapping and the layout of
// everything Paint draws, as plain lists of texts, lines and polylines in
// pixels.  Free of Qt: the window measures its three fonts, asks for the
// drawing and replays it on its device context.
//
// Pixels are logical units with y growing downwards, as on the screen; the
// plot area is given by its left and top edges and its width and height.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace graphs {

// The screen layout of every graph window.
inline constexpr int kScreenPlotLeft = 63;
inline constexpr int kScreenPlotTop = 89;
inline constexpr int kScreenPlotWidth = 737;   // also the number of x steps of every builder
inline constexpr int kScreenPlotHeight = 359;

// Room for the curve of one screen-wide plot; a curve may hold more.
inline constexpr std::size_t kPlotPointCapacity = 738;

struct PlotPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// The plot area, pixels.  Right = left + width; the scroll height (3 x the
// plot height) is the vertical extent the window scrolls over.
struct PlotArea {
    std::int32_t left = kScreenPlotLeft;
    std::int32_t top = kScreenPlotTop;
    std::int32_t width = kScreenPlotWidth;
    std::int32_t height = kScreenPlotHeight;
    std::int32_t right = kScreenPlotLeft + kScreenPlotWidth;
    std::int32_t scrollHeight = 3 * kScreenPlotHeight;
};

PlotArea ScreenPlotArea();
// The printed page's layout: margins of 4 and 6 base line heights, the plot
// as wide as the page leaves and a third of its height.
PlotArea PrintPlotArea(int baseLineHeight, int clientWidth, int clientHeight);

// The content of one graph window: one curve in x and y ranges, where its
// axes cross, the axis titles (each without its closing parenthesis, which
// the engine adds with the tick factor) and what Paint shows.  The screen
// plot area is set from the start, so a builder can read the plot width
// before the first rescale.
struct GraphPlot {
    PlotArea area;
    std::vector<PlotPoint> points;   // the curve, drawn in order
    double xAxisPosition = 0.0;      // y value at which the x axis is drawn
    double yAxisPosition = 0.0;      // x value at which the y axis is drawn
    bool curveShown = false;         // false: Paint draws nothing
    bool dbLinesShown = false;       // the six decibel reference lines
    double tickStart = 0.0;          // of the axis last laid out
    double tickStep = 1.0;
    double xMinimum = 0.0, xMaximum = 1.0;
    double yMinimum = 0.0, yMaximum = 1.0;
    std::string xAxisTitle;          // "Frequency (GHz"
    std::string yAxisTitle;

    GraphPlot() { points.reserve(kPlotPointCapacity); }
};

// ---- ticks ----------------------------------------------------------------

// A tick scale from the largest magnitude an axis shows: the step is the
// power of ten at or below it, the start that many steps below zero that
// reaches past -|value| (r = floor(-mantissa)).  300 gives step 100, start
// -300, r -3; 0.7 gives 0.1, -0.7, -7.  Zero or a value that is not finite
// has no decade: step 1, start 0, r 0.
struct TickScale {
    double start = 0.0;
    double step = 1.0;
    double r = 0.0;
};
TickScale NiceTickStep(double value);

// One grid line of an axis: its value, its pixel offset from the plot
// area's left (x) or top (y) edge, and for every fifth line (a major tick)
// the label, the tick value in units of the step.
struct AxisTick {
    double value = 0.0;
    int offset = 0;
    bool major = false;
    double label = 0.0;
};

// The grid lines of an axis over [minimum, maximum] drawn `length` pixels
// long (x: left to right, y: bottom to top), minor lines every 0.2 step,
// only those within the plot.  The scale comes from the larger magnitude of
// the two ends, so a range reaching further below zero than above it is
// labelled over its whole length.
struct AxisTicks {
    TickScale scale;
    std::vector<AxisTick> ticks;
};
AxisTicks XAxisTicks(double minimum, double maximum, int width);
AxisTicks YAxisTicks(double minimum, double maximum, int height);

// "%s)" for a step of 1, "%s x %.0lf)" above, and below 1 the step with as
// many decimals as it needs, two at least ("x 0.10)", "x 0.001)").
std::string AxisTitleText(std::string_view title, double step);

// ---- mapping -------------------------------------------------------------

// width (x - xmin) / (xmax - xmin) + 0.5 and height (ymax - y) / (ymax - ymin)
// + 0.5, truncated towards zero: offsets from the plot area's left and top
// edges.  A range that is empty or not finite maps everything to offset 0; a
// result beyond the pixel limit is held at it.
inline constexpr int kPixelLimit = 1 << 20;
int DataToPixelX(double x, double xmin, double xmax, int width);
int DataToPixelY(double y, double ymin, double ymax, int height);

// A range a plot can be drawn in: a finite one with maximum above minimum
// is kept; an empty one is opened to one unit above its value; one that is
// not finite becomes 0 .. 1 (its finite end kept where it has one).
struct AxisRange {
    double minimum = 0.0;
    double maximum = 1.0;
};
AxisRange DrawableRange(double minimum, double maximum);

// ---- the drawing ---------------------------------------------------------

// A font's measures in pixels: line height (cell height + external leading)
// and average character width.
struct TextMetrics {
    int lineHeight = 1;
    int averageCharWidth = 1;
};
struct GraphFontMetrics {
    TextMetrics base;        // the title
    TextMetrics axisTitle;   // turned upwards
    TextMetrics label;
};

enum class PlotFont { Base, AxisTitle, Label };
enum class PlotPen { Grid, Axis, Curve, Reference };

// A text whose top-left corner (before the turn, for the axis-title font)
// is at (x, y), in one of the window's four text colours (0 .. 3).
struct PlotText {
    int x = 0, y = 0;
    std::string text;
    PlotFont font = PlotFont::Label;
    int colour = 0;
};
struct PlotLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    PlotPen pen = PlotPen::Grid;
};
struct PlotPixel {
    int x = 0, y = 0;
};

// Where the window paints: on the screen, or on a printed page whose client
// area (page units) may take the print layout.
struct PlotLayout {
    bool printLayout = false;
    int clientWidth = 0;
    int clientHeight = 0;
};

// Everything Paint draws, in its order: grid lines, texts (title block,
// tick labels, axis titles, reference labels, notes), reference lines, the
// two axes, the curve as polylines broken where it leaves the top of the
// range or has a value that is not finite.  `extent` is the rectangle
// (from 0, 0) that holds the drawing; nothing is drawn beyond it.
struct GraphDrawing {
    PlotArea area;
    std::vector<PlotLine> grid;
    std::vector<PlotText> texts;
    std::vector<PlotLine> references;
    std::vector<PlotLine> axes;
    std::vector<std::vector<PlotPixel>> curve;
    int extentWidth = 0;
    int extentHeight = 0;
};

// Lays out the graph for a report (line 0 the title, line 1 the company line
// with its heading mark, then the notes).  Points other than the first at or
// above the y maximum are stored as the y maximum, as the curve breaks there.
GraphDrawing LayOutGraph(GraphPlot& plot, std::span<const std::string_view> reportLines,
                         const GraphFontMetrics& fonts, const PlotLayout& layout);

// The levels (dB) of the reference lines of a field-strength plot.
inline constexpr int kReferenceLevelsDb[] = {0, -3, -6, -10, -12, -20};

}  // namespace graphs
