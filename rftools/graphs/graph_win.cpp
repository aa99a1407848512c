#include "rftools/graphs/graph_win.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "framework/app/config_files.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/output/report.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "propagation/coordinates.h"
#include "rftools/graphs/graph_forms.h"

using namespace graphs;

namespace {

const platform::Pen kGridPen{QColor(192, 192, 192), 1};
const platform::Pen kAxisPen{QColor(0, 0, 0), 2};
const platform::Pen kCurvePen{QColor(0, 0, 255), 2};
const platform::Pen kReferencePen{QColor(255, 0, 0), 2};
constexpr int kTurnedUpwards = 900;  // tenths of a degree

TextMetrics MetricsOf(const QFont& font, QPaintDevice* device)
{
    return TextMetrics{platform::LineHeightOf(font, device), platform::AverageCharWidthOf(font, device)};
}

void DrawLines(platform::DC& dc, const std::vector<PlotLine>& lines, const platform::Pen& pen)
{
    dc.SelectPen(pen);
    for (const PlotLine& l : lines) {
        dc.MoveTo(l.x1, l.y1);
        dc.LineTo(l.x2, l.y2);
    }
}

}  // namespace

TGraphWin::TGraphWin(QWidget* parent, const char* fileName) : TMyWindow(parent, nullptr, fileName)
{
    ReportText.reserve(1024);
    // A graph is never saved: it is made again from the Graph menu.
    for (int id : {orbiscope::CM_FILESAVE, orbiscope::CM_FILESAVEAS, orbiscope::CM_SAVETABBED, orbiscope::CM_SAVEHTML})
        SetEnabler(id, [] { return false; });
    SetHandler(orbiscope::CM_EDITCOPY, [this] { CopyGraph(); });
    SetEnabler(orbiscope::CM_EDITCOPY, [this] { return Plot.curveShown; });
}

void TGraphWin::SetupWindow() { TMyWindow::SetupWindow(); }

void TGraphWin::Rescale(bool scrollHome)
{
    Plot.area = ScreenPlotArea();
    const QFontMetrics fm(platform::MakeFont(AxisTitleFont), viewport());
    const int unitX = std::max(1, fm.averageCharWidth()), unitY = std::max(1, fm.height());
    auto& s = GetScroller();
    s.SetUnits(unitX, unitY);
    s.SetRange((Plot.area.right + Plot.area.left) / unitX, Plot.area.scrollHeight / unitY);
    if (scrollHome) s.ScrollTo(0, 0);
    Invalidate();
}

GraphFontMetrics TGraphWin::Metrics(QPaintDevice* device) const
{
    return GraphFontMetrics{MetricsOf(platform::MakeFont(TitleFont), device),
                            MetricsOf(platform::MakeFont(AxisTitleFont), device),
                            MetricsOf(platform::MakeFont(LabelFont), device)};
}

void TGraphWin::Paint(platform::DC& dc, bool /*erase*/, const QRect& /*rect*/)
{
    TOrbiscope* app = App();
    if (!Plot.curveShown) {
        if (app) app->PlotPainted = false;
        return;
    }
    if (app) app->PlotPainted = true;
    const bool printing = app && app->Printing;
    const QRect client = ClientRect();
    const PlotLayout layout{printing && app->GraphPrintLayout != 0, client.width(), client.height()};
    const auto lines = orbiscope::SplitReportLines(ReportText, LineCount);
    const GraphDrawing drawing = LayOutGraph(Plot, lines, Metrics(dc.Painter().device()), layout);
    Draw(dc, drawing);
}

void TGraphWin::Draw(platform::DC& dc, const GraphDrawing& d)
{
    dc.Save();
    dc.IntersectClipRect(QRect(0, 0, d.extentWidth, d.extentHeight));
    DrawLines(dc, d.grid, kGridPen);

    const QFont fonts[3] = {platform::MakeFont(TitleFont), platform::MakeFont(AxisTitleFont),
                            platform::MakeFont(LabelFont)};
    const QColor colours[4] = {TitleColour, FirstHeadingColour, HeadingColour, BodyColour};
    dc.SetTextAlign({platform::TextH::Left, platform::TextV::Top});
    for (const PlotText& t : d.texts) {
        dc.SelectFont(fonts[static_cast<int>(t.font)]);
        dc.SetTextColor(colours[std::clamp(t.colour, 0, 3)]);
        dc.SetTextEscapement(t.font == PlotFont::AxisTitle ? kTurnedUpwards : 0);
        dc.TextOut(t.x, t.y, t.text);
    }
    dc.SetTextEscapement(0);

    DrawLines(dc, d.references, kReferencePen);
    DrawLines(dc, d.axes, kAxisPen);
    dc.SelectPen(kCurvePen);
    std::vector<QPoint> run;
    for (const auto& polyline : d.curve) {
        run.clear();
        for (const PlotPixel& p : polyline) run.emplace_back(p.x, p.y);
        dc.Polyline(run);
    }
    dc.Restore();
}

QSize TGraphWin::ScreenExtent()
{
    const PlotArea a = ScreenPlotArea();
    const int label = platform::LineHeightOf(platform::MakeFont(LabelFont), viewport());
    // The last note line sits (line + 3) label lines under the plot.
    const int notesBottom = a.top + a.height + (std::max(LineCount, 2) + 3) * label;
    return QSize(a.right + a.left, std::max(notesBottom, a.top + a.height + 3 * label));
}

QImage TGraphWin::RenderImage()
{
    QImage image(ScreenExtent(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintInto(painter, image.rect());
    return image;
}

void TGraphWin::CopyGraph()
{
    if (!Plot.curveShown) return;
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(RenderImage());
}

// ---- builders --------------------------------------------------------------------

std::string TGraphWin::Company() const
{
    TOrbiscope* app = App();
    if (!app) return {};
    SetUpRecord setup;
    setup.bytes = app->SetUpRecord;
    return setup.Company();
}

template <class Form, class Record>
bool TGraphWin::RunForm(Record& buffer)
{
    Form form(this, buffer);
    if (form.Execute() == platform::IDOK) return true;
    CloseWindow(0);
    return false;
}

void TGraphWin::Show(GraphContent content)
{
    for (const GraphMessage& m : content.messages) platform::MessageBox(this, m.text, m.caption, m.flags);
    ClearReport();
    if (!content.plot.curveShown) {
        Plot.curveShown = false;
        Rescale(true);
        return;
    }
    for (const std::string& line : content.lines) AddLine(line.c_str());
    Plot = std::move(content.plot);
    if (content.setsDocTitle && !content.lines.empty()) SetDocTitle(content.lines.front().c_str());
    Rescale(true);
}

template <class Form, class Record, class Make>
void TGraphWin::BuildWithForm(Record& buffer, Make make)
{
    ClearReport();
    if (!RunForm<Form>(buffer)) return;
    platform::WaitCursor wait;
    Show(make());
}

template <class Make>
void TGraphWin::BuildWithoutForm(Make make)
{
    ClearReport();
    platform::WaitCursor wait;
    Show(make());
}

void TGraphWin::GainTemplateGraph()
{
    BuildWithForm<TTemplateForm>(TemplateBuffer, [this] {
        return graphs::GainTemplateGraph(ReadTemplate(TemplateBuffer), Company(), Plot.area.width);
    });
}

void TGraphWin::BeamPatternGraph(bool rectangular)
{
    BuildWithForm<TBeamForm>(BeamBuffer, [this, rectangular] {
        return graphs::BeamPatternGraph(ReadBeam(BeamBuffer), rectangular, Company(), Plot.area.width);
    });
}

void TGraphWin::GainApertureGraph()
{
    BuildWithForm<TAntGainForm>(AntGainBuffer, [this] {
        return graphs::GainApertureGraph(ReadAntGain(AntGainBuffer), Company(), Plot.area.width);
    });
}

void TGraphWin::EirpApertureGraph()
{
    BuildWithForm<TAntSysForm>(AntSysBuffer, [this] {
        return graphs::EirpApertureGraph(ReadAntSys(AntSysBuffer), Company(), Plot.area.width);
    });
}

void TGraphWin::ParabolaGraph()
{
    BuildWithForm<TFocalfD2Form>(FocalBuffer, [this] {
        return graphs::ParabolaGraph(ReadFocal(FocalBuffer), Company(), Plot.area.width);
    });
}

void TGraphWin::RainAttenGraph()
{
    BuildWithForm<TAttenForm>(AttenBuffer, [this] {
        const RainGraphInputs in = ReadRain(AttenBuffer);
        const double tau = PolarizationTerm(in.latitude, LongitudeDifference(in.longitude, in.satelliteLongitude),
                                            FieldText(AttenBuffer.polarization).c_str());
        return graphs::RainAttenGraph(in, tau, Company(), Plot.area.width);
    });
}

void TGraphWin::AbsorptionGraph()
{
    BuildWithForm<TAbsorbForm>(AbsorbBuffer, [this] {
        return graphs::AbsorptionGraph(ReadAbsorb(AbsorbBuffer), Company(), Plot.area.width);
    });
}

void TGraphWin::EbNoBerGraph()
{
    BuildWithForm<TEbNoNoCodeForm>(EbNoBuffer, [this] {
        return graphs::EbNoBerGraph(ReadEbNo(EbNoBuffer), Company(), Plot.area.width);
    });
}

void TGraphWin::NoiseTempGraph()
{
    BuildWithoutForm([this] { return graphs::NoiseTempGraph(Company(), Plot.area.width); });
}

void TGraphWin::DeclinationOffsetGraph()
{
    BuildWithoutForm([this] { return graphs::DeclinationOffsetGraph(Company(), Plot.area.width); });
}

void TGraphWin::PolarAxisCorrectionGraph()
{
    BuildWithoutForm([this] { return graphs::PolarAxisCorrectionGraph(Company(), Plot.area.width); });
}

void TGraphWin::ShannonGraph()
{
    BuildWithoutForm([this] { return graphs::ShannonGraph(Company(), Plot.area.width); });
}

// ---- printout ---------------------------------------------------------------------

QRect graphs::FitGraphToPage(QSize drawing, const QRect& page)
{
    if (page.width() <= 0 || page.height() <= 0) return page;
    const double factor = std::max({1.0, double(drawing.width()) / page.width(), double(drawing.height()) / page.height()});
    return QRect(page.topLeft(), QSize(int(std::ceil(page.width() * factor)), int(std::ceil(page.height() * factor))));
}

TGraphWinOut::TGraphWinOut(platform::Printer* printer, const char* title, TGraphWin* window, bool scale)
    : TApxPrintout(printer, title, window, scale), graph_(window)
{
}

void TGraphWinOut::BeginPrinting() { TApxPrintout::BeginPrinting(); }

QRect TGraphWinOut::FitPageClient(const QRect& pageClient)
{
    TOrbiscope* app = TOrbiscope::Current();
    // The print layout sizes the plot from the page; only the screen layout
    // can be too large for it.
    if (!graph_ || (app && app->GraphPrintLayout != 0)) return pageClient;
    return FitGraphToPage(graph_->ScreenExtent(), pageClient);
}
