// The graph window through the Graph menu: the forms run by the builders,
// the pixels of the drawn graphs where the formulas and ranges put them, the
// blank window of a refused input, the printout on a page and in a PDF file,
// and the screenshots of four graphs ("graph-*.png" in the build folder;
// docs/ holds copies).
#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <cstdlib>

#include "framework/app/menus.h"
#include "framework/output/print.h"
#include "propagation/itu_maps.h"
#include "tests/propagation/propagation_fixtures.h"
#include "tests/rftools/graphs/graph_ui_support.h"
#include "tests/picture_path.h"

using namespace graphtest;

namespace {

constexpr int kPixelRadius = 2;  // the curve pen is 2 px wide; rounding moves it one more

class GraphWindow : public GraphFixture {};

TEST_F(GraphWindow, NoiseGraphIsDrawnWhereItsFormulaAndRangesSay)
{
    TGraphWin* w = Graph(6310);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Lines(*w), (std::vector<std::string>{"Noise Temperature v Noise Figure (290K)", "Orbiscope Test Bench~"}));
    EXPECT_EQ(Caption(), "Noise Temperature v Noise Figure (290K)");
    const QImage image = w->RenderImage();
    EXPECT_TRUE(app->app->PlotPainted);
    // Plot 63/89, 737 x 359 over 0..3 dB and 0..300 K.  Axes at (0, 0): the
    // x axis on row 89 + 359, the y axis on column 63.
    EXPECT_TRUE(Near(image, 250, 448, 1, IsBlack));
    EXPECT_TRUE(Near(image, 63, 250, 1, IsBlack));
    // T = 290 (10^(F/10) - 1): 1.5 dB gives 119.64 K: column 63 + 369,
    // row 89 + trunc(359 x 180.36 / 300 + 0.5) = 305.  0.5 dB gives 35.39 K:
    // column 63 + 123, row 89 + 317.
    EXPECT_TRUE(Near(image, 432, 305, kPixelRadius, IsBlue));
    EXPECT_TRUE(Near(image, 186, 406, kPixelRadius, IsBlue));
    EXPECT_FALSE(Near(image, 432, 250, 8, IsBlue));
    // The grid line of 1 dB (column 63 + 246) in light grey above the curve.
    EXPECT_TRUE(Near(image, 309, 150, 0, IsGrey));
    // Nothing of the curve above the plot or right of it.
    for (int y = 0; y < 87; ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_FALSE(IsBlue(image.pixel(x, y))) << x << "," << y;
    image.save(QString::fromStdString(TestPicture("graph-noise-temperature.png").string()));

    // A graph is never saved as a document; it can be copied as a picture.
    bool enabled = true;
    for (int id : {orbiscope::CM_FILESAVE, orbiscope::CM_FILESAVEAS, orbiscope::CM_SAVETABBED, orbiscope::CM_SAVEHTML}) {
        EXPECT_TRUE(w->QueryEnabler(id, enabled));
        EXPECT_FALSE(enabled) << id;
    }
    app->app->Dispatch(orbiscope::CM_EDITCOPY);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), w->ScreenExtent());
}

TEST_F(GraphWindow, BeamPatternCrossesItsHalfPowerLineWhereTheApertureSays)
{
    platform::SetDialogDriver(TBeamForm::kResourceId, Fill({{TBeamForm::kFrequency, "12"}, {TBeamForm::kAperture, "1.2"}}));
    TGraphWin* w = Graph(6311);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Caption(), "Circular Aperture Beam Pattern (uniform illumination)");
    EXPECT_EQ(Lines(*w)[3], "Antenna Aperture = 1.20 metres");
    const QImage image = w->RenderImage();
    // x over +-4.6634 degrees; 2 J1(u)/u = 0.7071 at u = 1.6163, 0.6137
    // degrees for 1.2 m at 12 GHz: column 63 + trunc(737 x 5.2771 / 9.3269 + 0.5) = 480;
    // the -3 dB level 0.70795 on row 89 + 105, where its red mark starts at x = 0 (column 432).
    EXPECT_TRUE(Near(image, 480, 194, kPixelRadius, IsBlue));
    EXPECT_TRUE(Near(image, 2 * 432 - 480, 194, kPixelRadius, IsBlue));  // the mirror side
    EXPECT_TRUE(Near(image, 442, 194, 1, IsRed));
    // First null at 1.4551 degrees: column 63 + 483 on the x axis (row 448).
    EXPECT_TRUE(Near(image, 546, 447, kPixelRadius, IsBlue));
    image.save(QString::fromStdString(TestPicture("graph-beam-pattern.png").string()));
}

TEST_F(GraphWindow, GainTemplateWithItsFormAndTheCrossPolarWarning)
{
    platform::SetDialogDriver(TTemplateForm::kResourceId,
                              Fill({{TTemplateForm::kDiameter, "3"}, {TTemplateForm::kEfficiency, "65"},
                                    {TTemplateForm::kFrequency, "12"}, {TTemplateForm::kAngularLimit, "7.37"}},
                                   {TTemplateForm::kCoPolar, TTemplateForm::kCombined}));
    TGraphWin* w = Graph(6323);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Caption(), "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8");
    EXPECT_TRUE(app->messages.calls.empty());
    const QImage image = w->RenderImage();
    // y over -10 .. 49.662 dBi: 29 - 25 log 5 = 11.526 dBi at 5 degrees is
    // column 63 + 500, row 89 + trunc(359 x 38.136 / 59.662 + 0.5) = 318; the
    // x axis (0 dBi) on row 89 + 299.
    EXPECT_TRUE(Near(image, 563, 318, kPixelRadius, IsBlue));
    EXPECT_TRUE(Near(image, 700, 388, 1, IsBlack));
    image.save(QString::fromStdString(TestPicture("graph-gain-template.png").string()));

    // Cross-polar asked of the combined template: the warning, then the co-polar curve.
    platform::SetDialogDriver(TTemplateForm::kResourceId, Fill({}, {TTemplateForm::kCrossPolar, TTemplateForm::kCombined}));
    TGraphWin* cross = Graph(6323);
    ASSERT_NE(cross, nullptr);
    ASSERT_EQ(app->messages.calls.size(), 1u);
    EXPECT_EQ(app->messages.calls[0].text, "Only co-polar is defined in AP8/S.580");
    EXPECT_EQ(app->messages.calls[0].caption, "Cross-polar Option Invalid");
    EXPECT_EQ(Lines(*cross)[0], "Antenna Gain Template (Co-Polar) - Combined S-580-6/AP8");
}

TEST_F(GraphWindow, ACancelledFormClosesItsNewWindow)
{
    for (int command : {6311, 6312, 6313, 6314, 6317, 6318, 6319, 6321, 6323}) {
        SCOPED_TRACE(command);
        platform::SetDialogDriver(TBeamForm::kResourceId, [](platform::Dialog&) { return platform::IDCANCEL; });
        EXPECT_EQ(Graph(command), nullptr);  // the other forms have no script: cancelled
        int shown = 0;
        for (platform::MdiChild* c : app->app->Client()->Children()) shown += c->isVisible();
        EXPECT_EQ(shown, 0);
    }
}

TEST_F(GraphWindow, EveryFormlessGraphAndTheModulationGraph)
{
    struct Row { int command; const char* title; };
    const Row rows[] = {
        {6315, "Declination Offset for Modified Polar Mounts"},
        {6316, "Modified Polar Axis Correction"},
        {6322, "Shannon's Capacity Boundary"},
        {6321, "Graph: Eb/No v BER uncoded (coherent 8-PSK)"},
    };
    platform::SetDialogDriver(TEbNoNoCodeForm::kResourceId, Fill({{TEbNoNoCodeForm::kLevels, "8"}}, {TEbNoNoCodeForm::kPsk}));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.title);
        TGraphWin* w = Graph(r.command);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(Caption(), r.title);
        const QImage image = w->RenderImage();
        int blue = 0;
        for (int y = 89; y <= 89 + 359; ++y)
            for (int x = 63; x <= 800; ++x) blue += IsBlue(image.pixel(x, y));
        EXPECT_GT(blue, 700) << "a curve across the plot";
        if (r.command == 6322) image.save(QString::fromStdString(TestPicture("graph-shannon.png").string()));
        if (r.command == 6321) image.save(QString::fromStdString(TestPicture("graph-eb-no-ber.png").string()));
    }
}

TEST_F(GraphWindow, RainGraphKeepsItsCaptionAndALowSatelliteLeavesAbsorptionBlank)
{
    proptest::UniformAtmosphere{}.Install();
    platform::SetDialogDriver(TAttenForm::kResourceId,
                              Fill({{TAttenForm::kLocation, "Lisbon"}, {TAttenForm::kSatellite, "Testsat"},
                                    {TAttenForm::kSiteLatitude, "38.72N"}, {TAttenForm::kSiteLongitude, "9.14W"},
                                    {TAttenForm::kSiteAltitude, "auto"}, {TAttenForm::kSatelliteLongitude, "10.0W"},
                                    {TAttenForm::kPolarization, "C"}, {TAttenForm::kAvailability, "99.99"},
                                    {TAttenForm::kFrequencyLimit, "30"}},
                                   {TAttenForm::kItu}));
    TGraphWin* rain = Graph(6319);
    FreeItuMaps();
    ASSERT_NE(rain, nullptr);
    EXPECT_EQ(Caption(), "Graph");  // this graph leaves its window's caption
    const auto lines = Lines(*rain);
    EXPECT_EQ(lines[0], "Rain Attenuation v Frequency (ITU-R Model)");
    EXPECT_EQ(lines.back(), "Polarization = Circular");
    EXPECT_GT(rain->Plot.yMaximum, 1.0);

    // 60N seeing a satellite 120 degrees of longitude away: below the horizon.
    platform::SetDialogDriver(TAbsorbForm::kResourceId,
                              Fill({{TAbsorbForm::kLocation, "Oslo"}, {TAbsorbForm::kSatellite, "Far"},
                                    {TAbsorbForm::kSiteLatitude, "60.0N"}, {TAbsorbForm::kSiteLongitude, "10.0E"},
                                    {TAbsorbForm::kSatelliteLongitude, "130.0E"}, {TAbsorbForm::kAvailability, "95"},
                                    {TAbsorbForm::kFrequencyLimit, "100"}, {TAbsorbForm::kAbsorptionLimit, "10"}}));
    app->messages.calls.clear();
    TGraphWin* blank = Graph(6318);
    ASSERT_NE(blank, nullptr);  // open and blank
    ASSERT_EQ(app->messages.calls.size(), 1u);
    EXPECT_EQ(app->messages.calls[0].text, "Satellite below horizon");
    const QImage image = blank->RenderImage();
    EXPECT_FALSE(app->app->PlotPainted);
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255));
}

// ---- printing -------------------------------------------------------------------

// Prints a graph on an image page of A4 at 192 dots per inch (twice the
// screen's resolution) and returns the page.
QImage PrintOnPage(TGraphWin& w, QSize pageDots)
{
    QImage page(pageDots, QImage::Format_RGB32);
    page.fill(Qt::white);
    constexpr int kDotsPerMetre192Dpi = 7559;  // 192 / 0.0254
    page.setDotsPerMeterX(kDotsPerMetre192Dpi);
    page.setDotsPerMeterY(kDotsPerMetre192Dpi);
    QPainter painter(&page);
    TGraphWinOut printout(&orbiscope::ApplicationPrinter(), "graph", &w, true);
    printout.SetPrintParams(&page, &painter, page.size());
    printout.BeginPrinting();
    QRect band = page.rect();
    printout.PrintPage(1, band);
    return page;
}

// The screen layout printed keeps its 737 : 359 plot whatever the page and
// fits it; the print layout sizes the plot from the page: margins of 4 base
// lines left and right, a third of the page high (the y axis, 4 dots wide
// here, widens the left end by 2 dots).
TEST_F(GraphWindow, PrintedLayoutsFitThePage)
{
    TGraphWin* w = Graph(6310);
    ASSERT_NE(w, nullptr);
    struct Row { const char* name; QSize page; };
    for (const Row& r : {Row{"A4 portrait", {1588, 2246}}, Row{"A4 landscape", {2246, 1588}}}) {
        SCOPED_TRACE(r.name);
        const QImage page = PrintOnPage(*w, r.page);
        int row = 0, column = 0;
        const int xAxis = LongestRow(page, IsBlack, &row);
        const int yAxis = LongestColumn(page, IsBlack, &column);
        EXPECT_NEAR(double(xAxis) / yAxis, 737.0 / 359.0, 0.03);
        EXPECT_LT(column + xAxis, page.width() - 20);   // nothing cut, the margin kept
        EXPECT_GT(xAxis, page.width() / 2);
    }
    app->app->GraphPrintLayout = 1;
    const QImage page = PrintOnPage(*w, {1588, 2246});
    app->app->GraphPrintLayout = 0;
    int row = 0, column = 0;
    const int xAxis = LongestRow(page, IsBlack, &row);
    const int yAxis = LongestColumn(page, IsBlack, &column);
    int left = page.width();
    for (int x = 0; x < page.width() && left == page.width(); ++x)
        if (IsBlack(page.pixel(x, row))) left = x;
    EXPECT_NEAR(left, page.width() - (left + xAxis), 8);
    EXPECT_NEAR(yAxis, page.height() / 3, 6);
}

TEST_F(GraphWindow, PrintCommandWritesAOnePagePdfWhoseGraphFitsAndKeepsItsShape)
{
    TGraphWin* w = Graph(6310);
    ASSERT_NE(w, nullptr);
    const std::filesystem::path pdf = app->dir.Path() / "graph.pdf";
    platform::Printer::SetPrintToPdfFile(pdf.string());
    orbiscope::PrintDocumentWindow(*w);
    platform::Printer::SetPrintToPdfFile({});
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const std::filesystem::path stem = app->dir.Path() / "page";
    QProcess raster;
    raster.start("pdftoppm", {"-r", "100", "-png", QString::fromStdString(pdf.string()), QString::fromStdString(stem.string())});
    ASSERT_TRUE(raster.waitForFinished(30000)) << "pdftoppm (poppler-utils) is needed to read the PDF back";
    ASSERT_EQ(raster.exitCode(), 0);
    EXPECT_FALSE(std::filesystem::exists(app->dir.Path() / "page-2.png"));  // one page
    const QImage page(QString::fromStdString((app->dir.Path() / "page-1.png").string()));
    ASSERT_FALSE(page.isNull());
    int row = 0, column = 0;
    const int xAxis = LongestRow(page, IsBlack, &row);
    const int yAxis = LongestColumn(page, IsBlack, &column);
    EXPECT_NEAR(double(xAxis) / yAxis, 737.0 / 359.0, 0.04);
    EXPECT_LT(column + xAxis, page.width() - 10);
    EXPECT_GT(xAxis, page.width() / 2);
}

}  // namespace
