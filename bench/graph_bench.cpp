// Redrawing a graph window: the whole paint of a 2,000-point curve with its
// grid, labels, titles and notes into an image the size of the screen
// drawing (the target is under 5 ms), and the engine's lay-out alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <string_view>
#include <vector>

#include "rftools/graphs/graph_win.h"
#include "rftools/graphs/plot_engine.h"

namespace {

constexpr int kPoints = 2000;

// A damped wave over 0 .. 10 that leaves the top of the range now and then,
// so that the curve breaks as real graphs do.
void FillPlot(graphs::GraphPlot& plot, int points)
{
    plot.xMinimum = 0.0, plot.xMaximum = 10.0, plot.yMinimum = -1.0, plot.yMaximum = 1.0;
    plot.xAxisTitle = "Frequency (GHz";
    plot.yAxisTitle = "Attenuation (dB";
    plot.curveShown = true;
    plot.points.clear();
    for (int i = 0; i < points; ++i) {
        const double x = 10.0 * i / points;
        plot.points.push_back({static_cast<float>(x), static_cast<float>(1.2 * std::sin(3.0 * x) * std::exp(-0.1 * x))});
    }
}

void BM_GraphWindowRedraw(benchmark::State& state)
{
    TGraphWin window(nullptr, nullptr);
    window.resize(900, 700);
    for (const char* line : {"Rain Attenuation v Frequency (ITU-R Model)", "Orbiscope Benchmark~", "Location = Lisbon",
                             "Satellite = Testsat", "Site latitude = 38.72N", "Site longitude = 9.14W"})
        window.AddLine(line);
    FillPlot(window.Plot, int(state.range(0)));
    QImage image(window.ScreenExtent(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        window.PaintInto(painter, image.rect());
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GraphWindowRedraw)->Arg(kPoints)->Arg(737)->Unit(benchmark::kMillisecond);

void BM_GraphLayOut(benchmark::State& state)
{
    graphs::GraphPlot plot;
    const std::vector<std::string_view> lines = {"Title", "Company~", "a note", "another note"};
    const graphs::GraphFontMetrics fonts{{23, 11}, {15, 7}, {15, 7}};
    for (auto _ : state) {
        state.PauseTiming();
        FillPlot(plot, kPoints);
        state.ResumeTiming();
        benchmark::DoNotOptimize(graphs::LayOutGraph(plot, lines, fonts, graphs::PlotLayout{}));
    }
}
BENCHMARK(BM_GraphLayOut)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
