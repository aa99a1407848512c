// The plot engine: tick steps and labels over ranges across decades, zero,
// negative and log-quantity ranges, the pixel mapping, and the drawing of
// curves with breaks, values that are not finite and degenerate ranges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "rftools/graphs/plot_engine.h"

using namespace graphs;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kTickTol = 1e-12;  // relative, on start and step

// Metrics of the screen fonts, pixels: base (line height, average width),
// axis title, label.
constexpr int kBaseLine = 23, kLabelLine = 15, kLabelWidth = 7;
const GraphFontMetrics kFonts{{kBaseLine, 11}, {kLabelLine, kLabelWidth}, {kLabelLine, kLabelWidth}};

// The graph window's screen plot rectangle as its description gives it
// (left 63, top 89, width 737, height 359, so right 800), written here
// rather than taken from the engine so that every pixel below is derived
// from published figures.
constexpr int kLeft = 63, kTop = 89, kWidth = 737, kHeight = 359, kRight = 800;

TEST(ScreenPlot, TheEngineLaysTheScreenPlotWhereTheWindowSays)
{
    EXPECT_EQ(kScreenPlotLeft, kLeft);
    EXPECT_EQ(kScreenPlotTop, kTop);
    EXPECT_EQ(kScreenPlotWidth, kWidth);
    EXPECT_EQ(kScreenPlotHeight, kHeight);
    EXPECT_EQ(kLeft + kWidth, kRight);
    const PlotArea area;
    EXPECT_EQ(area.right, kRight);
    EXPECT_EQ(area.scrollHeight, 1077);   // the published scroll height, 3 x 359
}

std::vector<double> MajorLabels(const AxisTicks& t)
{
    std::vector<double> labels;
    for (const AxisTick& k : t.ticks)
        if (k.major) labels.push_back(k.label);
    return labels;
}

TEST(NiceTickStep, PowerOfTenStepAndStartBelowMinusTheValue)
{
    struct Row { const char* name; double value, start, step, r; };
    const Row rows[] = {
        // the three worked examples of the graph window's tick rule
        {"300", 300.0, -300.0, 100.0, -3.0},
        {"3", 3.0, -3.0, 1.0, -3.0},
        {"0.7", 0.7, -0.7, 0.1, -7.0},
        // by hand: mantissa 2.63 of 10^1, r = floor(-2.63) = -3
        {"26.3", 26.3, -30.0, 10.0, -3.0},
        {"41.7 dBi", 41.7, -50.0, 10.0, -5.0},
        {"whole mantissa 10", 10.0, -10.0, 10.0, -1.0},
        {"just under a decade", 9.99, -10.0, 1.0, -10.0},
        {"0.0123", 0.0123, -0.02, 0.01, -2.0},
        {"negative takes the magnitude", -9.0, -9.0, 1.0, -9.0},
        {"2e-12 GHz", 2e-12, -2e-12, 1e-12, -2.0},
        {"a large value", 4.2e7, -5e7, 1e7, -5.0},
        // no decade: the range is given one unit step from 0 (this used to loop forever)
        {"zero", 0.0, 0.0, 1.0, 0.0},
        {"not a number", kNaN, 0.0, 1.0, 0.0},
        {"infinite", kInf, 0.0, 1.0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const TickScale s = NiceTickStep(r.value);
        EXPECT_NEAR(s.step, r.step, kTickTol * r.step);
        EXPECT_NEAR(s.start, r.start, kTickTol * std::fabs(r.step));
        EXPECT_EQ(s.r, r.r);
    }
}

TEST(AxisTicks, MajorLabelsAndTitlesAcrossRanges)
{
    struct Row { const char* name; double lo, hi; std::vector<double> labels; const char* title; };
    const Row rows[] = {
        {"0..3: labels 0 to 3, no factor", 0.0, 3.0, {0, 1, 2, 3}, "Noise Figure (dB)"},
        {"0..300: labels 0 to 3 of 100", 0.0, 300.0, {0, 1, 2, 3}, "Noise Figure (dB x 100)"},
        {"0..0.7: steps of 0.1", 0.0, 0.7, {0, 1, 2, 3, 4, 5, 6, 7}, "Noise Figure (dB x 0.10)"},
        {"-9..0: negative integers", -9.0, 0.0, {-9, -8, -7, -6, -5, -4, -3, -2, -1, 0}, "Noise Figure (dB)"},
        {"-10..41.7 dBi", -10.0, 41.7, {-1, 0, 1, 2, 3, 4}, "Noise Figure (dB x 10)"},
        {"-4..20 dB", -4.0, 20.0, {0, 1, 2}, "Noise Figure (dB x 10)"},
        {"1e-12..26.3 degrees", 1e-12, 26.3, {0, 1, 2}, "Noise Figure (dB x 10)"},
        {"0.001..0.004: the factor keeps its digit", 0.001, 0.004, {1, 2, 3, 4}, "Noise Figure (dB x 0.001)"},
        {"-9..1: the whole negative part labelled", -9.0, 1.0, {-9, -8, -7, -6, -5, -4, -3, -2, -1, 0, 1},
         "Noise Figure (dB)"},
        {"-4..3 in log2 units", -4.0, 3.0, {-4, -3, -2, -1, 0, 1, 2, 3}, "Noise Figure (dB)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const AxisTicks x = XAxisTicks(r.lo, r.hi, kScreenPlotWidth);
        EXPECT_EQ(MajorLabels(x), r.labels);
        EXPECT_EQ(AxisTitleText("Noise Figure (dB", x.scale.step), r.title);
        const AxisTicks y = YAxisTicks(r.lo, r.hi, kScreenPlotHeight);
        EXPECT_EQ(MajorLabels(y), r.labels);
        for (const AxisTick& t : x.ticks) {
            EXPECT_GE(t.offset, 0);
            EXPECT_LE(t.offset, kScreenPlotWidth);
        }
    }
}

TEST(AxisTicks, ZeroRangeHasNoGridInsteadOfHanging)
{
    // Every value maps to offset 0; the scale of 5 still ends.
    const AxisTicks t = XAxisTicks(5.0, 5.0, kScreenPlotWidth);
    EXPECT_EQ(t.scale.step, 1.0);
    EXPECT_LT(t.ticks.size(), 60u);
    const AxisTicks zero = YAxisTicks(0.0, 0.0, kScreenPlotHeight);
    EXPECT_LT(zero.ticks.size(), 60u);
}

TEST(DataToPixel, OffsetsFromThePlotEdgesTruncatedTowardsZero)
{
    struct Row { const char* name; int x, y; int xExpected, yExpected; };
    // By hand on the screen plot 737 x 359 over x 0..3, y 0..300 (x offset
    // trunc(737 x / 3 + 0.5), y offset trunc(359 (300 - y) / 300 + 0.5)):
    const Row rows[] = {
        {"origin", DataToPixelX(0, 0, 3, kWidth), DataToPixelY(0, 0, 300, kHeight), 0, 359},                 // 0.5, 359.5
        {"middle", DataToPixelX(1.5, 0, 3, kWidth), DataToPixelY(150, 0, 300, kHeight), 369, 180},        // 369.0, 180.0
        {"one third", DataToPixelX(1, 0, 3, kWidth), DataToPixelY(200, 0, 300, kHeight), 246, 120},       // 246.17, 120.17
        {"left of the plot", DataToPixelX(-1, 0, 3, kWidth), DataToPixelY(400, 0, 300, kHeight), -245, -119},  // -245.17, -119.17
        {"empty range", DataToPixelX(2, 5, 5, kWidth), DataToPixelY(2, 1, 1, kHeight), 0, 0},
        {"reversed range", DataToPixelX(2, 5, 1, kWidth), DataToPixelY(2, 5, 1, kHeight), 0, 0},
        {"not a number", DataToPixelX(kNaN, 0, 3, kWidth), DataToPixelY(kNaN, 0, 3, kHeight), 0, 0},
        {"infinite value held", DataToPixelX(kInf, 0, 3, kWidth), DataToPixelY(kInf, 0, 3, kHeight), kPixelLimit, -kPixelLimit},
        {"infinite range", DataToPixelX(1, 0, kInf, kWidth), DataToPixelY(1, -kInf, 3, kHeight), 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.x, r.xExpected);
        EXPECT_EQ(r.y, r.yExpected);
    }
}

TEST(DrawableRange, DegenerateRangesOpenOrFallBack)
{
    struct Row { const char* name; double lo, hi, lo2, hi2; };
    const Row rows[] = {
        {"usable kept", -10.0, 41.7, -10.0, 41.7},
        {"zero range", 0.0, 0.0, 0.0, 1.0},
        {"gain floor above the largest gain", 25.0, 17.0, 25.0, 26.0},
        {"no minimum", kNaN, 5.0, 4.0, 5.0},
        {"no maximum", 2.0, kInf, 2.0, 3.0},
        {"nothing finite", -kInf, kNaN, 0.0, 1.0},
        {"too wide to subtract", -1.5e308, 1.5e308, -0.75e308, 0.75e308},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const AxisRange a = DrawableRange(r.lo, r.hi);
        EXPECT_EQ(a.minimum, r.lo2);
        EXPECT_EQ(a.maximum, r.hi2);
    }
}

GraphPlot LinePlot(std::vector<PlotPoint> points, double ymax = 10.0)
{
    GraphPlot p;
    p.xMinimum = 0.0, p.xMaximum = 10.0, p.yMinimum = 0.0, p.yMaximum = ymax;
    p.points = std::move(points);
    p.curveShown = true;
    p.xAxisTitle = "x (m";
    p.yAxisTitle = "y (m";
    return p;
}

std::size_t CurvePixels(const GraphDrawing& d)
{
    std::size_t n = 0;
    for (const auto& run : d.curve) n += run.size();
    return n;
}

TEST(LayOutGraph, TheCurveBreaksAtTheTopAndAtValuesThatAreNotFinite)
{
    const std::vector<std::string_view> report = {"Title", "Company~"};
    struct Row { const char* name; std::vector<PlotPoint> points; std::size_t runs; std::size_t pixels; };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Row rows[] = {
        {"unbroken", {{0, 1}, {1, 2}, {2, 3}, {3, 4}}, 1, 4},
        {"over the top in the middle", {{0, 1}, {1, 2}, {2, 12}, {3, 4}, {4, 5}}, 2, 5},
        {"first point above the top is only a start", {{0, 11}, {1, 2}, {2, 3}}, 1, 3},
        {"not a number lifts the pen", {{0, 1}, {1, nan}, {2, 3}, {3, 4}}, 1, 2},
        {"minus infinity of a log of zero", {{0, -inf}, {1, 2}, {2, 3}}, 1, 2},
        {"a single point draws no line", {{5, 5}}, 0, 0},
        {"no points", {}, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GraphPlot plot = LinePlot(r.points);
        const GraphDrawing d = LayOutGraph(plot, report, kFonts, PlotLayout{false, 600, 400});
        EXPECT_EQ(d.curve.size(), r.runs);
        EXPECT_EQ(CurvePixels(d), r.pixels);
        EXPECT_EQ(d.axes.size(), 2u);
        EXPECT_FALSE(d.texts.empty());
    }
    // A point at or above the top is stored as the top after one lay-out.
    GraphPlot plot = LinePlot({{0, 1}, {1, 12}, {2, 10}, {3, 4}});
    LayOutGraph(plot, report, kFonts, PlotLayout{});
    EXPECT_EQ(plot.points[1].y, 10.0f);
    EXPECT_EQ(plot.points[2].y, 10.0f);
    EXPECT_EQ(plot.points[3].y, 4.0f);
}

TEST(LayOutGraph, DegenerateContentStillGivesALabelledGraphInsideItsExtent)
{
    const std::vector<std::string_view> report = {"Title", "Company~", "a note"};
    struct Row { const char* name; double xmin, xmax, ymin, ymax; std::vector<PlotPoint> points; };
    const float big = 1e30f;
    const Row rows[] = {
        {"zero x and y range", 5.0, 5.0, 0.0, 0.0, {{5, 0}, {5, 0}}},
        {"ranges not finite", kNaN, kInf, -kInf, kNaN, {{0, 0}, {1, 1}}},
        {"values far below the range", 0.0, 1.0, 0.0, 1.0, {{0, 0.5f}, {0.5f, -big}, {1, 0.5f}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GraphPlot plot = LinePlot(r.points);
        plot.xMinimum = r.xmin, plot.xMaximum = r.xmax, plot.yMinimum = r.ymin, plot.yMaximum = r.ymax;
        const GraphDrawing d = LayOutGraph(plot, report, kFonts, PlotLayout{false, 0, 0});
        EXPECT_GT(plot.xMaximum, plot.xMinimum);
        EXPECT_GT(plot.yMaximum, plot.yMinimum);
        int labels = 0;
        for (const PlotText& t : d.texts) labels += t.font == PlotFont::Label;
        EXPECT_GE(labels, 4);  // company line, a tick label on each axis, the x title, the note
        for (const auto& run : d.curve)
            for (const PlotPixel& p : run) {
                EXPECT_LE(std::abs(p.x), kPixelLimit + kScreenPlotLeft);
                EXPECT_LE(std::abs(p.y), kPixelLimit + kScreenPlotTop);
            }
    }
}

TEST(LayOutGraph, TitleBlockAxisTitlesAndNotesStandWhereTheScreenLayoutPutsThem)
{
    GraphPlot plot = LinePlot({{0, 0}, {3, 288.6f}}, 300.0);
    plot.xMaximum = 3.0;
    plot.xAxisTitle = "Noise Figure (dB";
    plot.yAxisTitle = "Noise Temperature (K";
    const std::vector<std::string_view> report = {"Noise Temperature v Noise Figure (290K)", "Bench~", "note one"};
    const GraphDrawing d = LayOutGraph(plot, report, kFonts, PlotLayout{false, 500, 300});
    ASSERT_GE(d.texts.size(), 3u);
    // Title block one base line from the corner; the company line without
    // its mark, one base line lower.
    EXPECT_EQ(d.texts[0].text, report[0]);
    EXPECT_EQ(d.texts[0].x, kBaseLine);
    EXPECT_EQ(d.texts[0].y, kBaseLine);
    EXPECT_EQ(d.texts[1].text, "Bench");
    EXPECT_EQ(d.texts[1].y, 2 * kBaseLine);
    const PlotText* yTitle = nullptr;
    const PlotText* note = nullptr;
    for (const PlotText& t : d.texts) {
        if (t.font == PlotFont::AxisTitle) yTitle = &t;
        if (t.text == "note one") note = &t;
    }
    ASSERT_NE(yTitle, nullptr);
    EXPECT_EQ(yTitle->text, "Noise Temperature (K x 100)");
    // Turned upwards, the title runs from its reference point up: its middle
    // is the plot's middle (89 + 359 / 2 = 268.5) within the rounding of halves.
    const int middle = yTitle->y - kLabelWidth * int(yTitle->text.size()) / 2;
    EXPECT_NEAR(middle, kTop + kHeight / 2.0, 1.0);
    EXPECT_EQ(yTitle->x, kLeft - 3 * kLabelLine);   // three label lines left of the plot: 18
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->y, kTop + kHeight + 5 * kLabelLine);  // line 2: (2 + 3) label lines under the plot: 523
    // The extent holds the plot and a right margin as wide as the left one
    // (800 + 63 = 863), and the scroll height (3 x 359 = 1077); both exceed
    // the 500 x 300 client.
    EXPECT_EQ(d.extentWidth, kRight + kLeft);
    EXPECT_EQ(d.extentHeight, 3 * kHeight);
}

TEST(LayOutGraph, ReferenceLinesStandAtTheFieldLevelsOfTheirDecibels)
{
    GraphPlot plot = LinePlot({{-4, 0.1f}, {0, 0.99f}, {4, 0.1f}}, 1.0);
    plot.xMinimum = -4.0, plot.xMaximum = 4.0;
    plot.dbLinesShown = true;
    const std::vector<std::string_view> report = {"Beam", "Bench~"};
    const GraphDrawing d = LayOutGraph(plot, report, kFonts, PlotLayout{});
    ASSERT_EQ(d.references.size(), 6u);
    // 10^(L/20) = 1, 0.70795, 0.50119, 0.31623, 0.25119, 0.1; row = top + trunc(359 (1 - v) + 0.5):
    // 0.5, 105.35, 179.57, 245.97, 269.32, 323.6
    const int rows[] = {kTop, kTop + 105, kTop + 179, kTop + 245, kTop + 269, kTop + 323};
    // x = 0 in the middle of -4..4: trunc(737 x 4 / 8 + 0.5) = trunc(369.0) = 369.
    const int column = kLeft + 369;
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(d.references[std::size_t(k)].y1, rows[k]) << k;
        EXPECT_EQ(d.references[std::size_t(k)].x1, column) << k;
        EXPECT_EQ(d.references[std::size_t(k)].x2 - d.references[std::size_t(k)].x1, 20);
    }
}

TEST(LayOutGraph, PrintLayoutSizesThePlotFromThePage)
{
    GraphPlot plot = LinePlot({{0, 1}, {10, 9}});
    const std::vector<std::string_view> report = {"T", "C~"};
    const GraphDrawing d = LayOutGraph(plot, report, kFonts, PlotLayout{true, 794, 1123});
    // On a page of 794 x 1123 (A4 at 96 dpi): the plot 4 base lines in
    // (4 x 23 = 92) and 6 down (138), as wide as the page less both margins
    // (794 - 2 x 92 = 610) and a third of the page high (1123 / 3 = 374);
    // the title at the left margin, 3 base lines down (69).
    constexpr int kPageWidth = 794, kPageHeight = 1123;
    EXPECT_EQ(d.area.left, 4 * kBaseLine);
    EXPECT_EQ(d.area.top, 6 * kBaseLine);
    EXPECT_EQ(d.area.width, kPageWidth - 2 * 4 * kBaseLine);
    EXPECT_EQ(d.area.height, kPageHeight / 3);
    EXPECT_EQ(d.texts[0].x, 4 * kBaseLine);
    EXPECT_EQ(d.texts[0].y, 3 * kBaseLine);
    EXPECT_EQ(d.extentWidth, kPageWidth);
    EXPECT_EQ(d.extentHeight, kPageHeight);
}

}  // namespace
