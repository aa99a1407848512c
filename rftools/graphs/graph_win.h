// TGraphWin: the graph window (window type 3).  A Graph command makes a new
// one and calls one builder on it; the builder runs its form on the
// window's buffer, fills the plot and the report (title, company line,
// notes) and rescales.  Paint lays the graph out with the plot engine and
// draws it; the printout draws the same graph on a page.
#pragma once

#include <QImage>
#include <QSize>

#include "framework/output/mywindow.h"
#include "framework/output/print.h"
#include "rftools/graphs/graph_curves.h"
#include "rftools/graphs/graph_records.h"
#include "rftools/graphs/plot_engine.h"

class TGraphWin : public TMyWindow {
public:
    static constexpr int kWindowType = 3;

    TGraphWin(QWidget* parent, const char* fileName);

    void SetupWindow() override;
    void Paint(platform::DC& dc, bool erase, const QRect& rect) override;
    // The screen plot area, the scroller in the axis-title font's units
    // over the plot's extent, then a repaint.
    void Rescale(bool scrollHome);
    void UpdateScroller(bool scrollToTop) override { Rescale(scrollToTop); }

    // ---- the builders of the Graph menu ----
    void GainTemplateGraph();                 // 6323
    void BeamPatternGraph(bool rectangular);  // 6311, 6312
    void GainApertureGraph();                 // 6313
    void EirpApertureGraph();                 // 6314
    void ParabolaGraph();                     // 6317
    void NoiseTempGraph();                    // 6310
    void RainAttenGraph();                    // 6319
    void AbsorptionGraph();                   // 6318
    void DeclinationOffsetGraph();            // 6315
    void PolarAxisCorrectionGraph();          // 6316
    void EbNoBerGraph();                      // 6321
    void ShannonGraph();                      // 6322

    // The whole graph as the screen shows it (Edit Copy), white behind.
    QImage RenderImage();
    // Width and height the screen drawing takes, pixels.
    QSize ScreenExtent();

    graphs::GraphPlot Plot;
    platform::FontDesc AxisTitleFont{12, 700, "Arial"};   // turned upwards
    platform::FontDesc LabelFont{12, 700, "Arial"};

    // The forms' buffers, kept for the window's life.
    graphs::BeamRecord BeamBuffer{};
    graphs::AntGainRecord AntGainBuffer{};
    graphs::AntSysRecord AntSysBuffer{};
    graphs::AttenRecord AttenBuffer{};
    graphs::AbsorbRecord AbsorbBuffer{};
    graphs::EbNoRecord EbNoBuffer{};
    graphs::FocalRecord FocalBuffer{};
    graphs::TemplateRecord TemplateBuffer{};

private:
    // Runs the form on its buffer; a cancelled form closes the window.
    template <class Form, class Record>
    bool RunForm(Record& buffer);
    // The builder protocol: the report emptied, the form (Cancel closes the
    // window), then the content made under the wait cursor and shown.
    template <class Form, class Record, class Make>
    void BuildWithForm(Record& buffer, Make make);
    template <class Make>
    void BuildWithoutForm(Make make);
    // Shows the builder's messages, then its graph (or leaves the window blank).
    void Show(graphs::GraphContent content);
    std::string Company() const;
    graphs::GraphFontMetrics Metrics(QPaintDevice* device) const;
    void Draw(platform::DC& dc, const graphs::GraphDrawing& drawing);
    void CopyGraph();
};

// The one-page printout of a graph.  With the application's print-layout
// value 0 the page shows the screen layout, reduced to fit the page when it
// is wider or taller than the page, with its proportions kept.
class TGraphWinOut : public TApxPrintout {
public:
    TGraphWinOut(platform::Printer* printer, const char* title, TGraphWin* window, bool scale);
    void BeginPrinting() override;

protected:
    QRect FitPageClient(const QRect& pageClient) override;

private:
    TGraphWin* graph_;
};

namespace graphs {
// The screen drawing's extent and the page in screen units it is printed
// on: the page enlarged by one factor, when needed, to hold the drawing.
QRect FitGraphToPage(QSize drawing, const QRect& page);
}  // namespace graphs
