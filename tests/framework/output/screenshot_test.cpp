// Renders the frame with one report window to "frame-screenshot.png" in the
// program directory (docs/screenshot.png is a copy), and checks that the
// report's colours reach the screen through the MDI child.
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>

#include "tests/framework/app/gui_support.h"

namespace {

class SampleReport : public testsupport::RecordingWindow {
public:
    SampleReport() : RecordingWindow(0, nullptr)
    {
        TabStops = {0};
    }
    void SetupWindow() override
    {
        TMyWindow::SetupWindow();
        const int w = AverageCharWidth;
        TabStops = {30 * w, 42 * w, 50 * w};
        const char* lines[] = {
            "GEO Link Budget",
            "Produced using Orbiscope Pro~",
            "Tuesday 7 March 2023 (GMT: 09:05:03)",
            " ",
            "UPLINK EARTH STATION~",
            "Site\tLiverpool\t53.42N\t3.00W",
            "Elevation\t28.41\tdeg",
            "Azimuth\t160.22\tdeg",
            " ",
            "CLEAR SKY\tUplink\tDownlink\tTotal#",
            "C/No\t92.35\t85.10\t84.35",
            "Eb/No\t10.12\t6.30\t5.84",
            "Margin\t4.20\t2.10\t1.75",
        };
        for (const char* l : lines) AddLine(l);
        UpdateScroller(true);
    }
};

TEST(Screenshot, FrameWithOneReportWindow)
{
    testsupport::AppFixture f;
    orbiscope::RegisterWindowFactory(10, [](const char*) { return new SampleReport; });
    f.app->Frame()->resize(900, 600);
    f.app->Dispatch(6014);
    auto* child = f.app->Client()->ActiveChild();
    ASSERT_NE(child, nullptr);
    child->resize(620, 380);
    child->move(10, 10);
    f.app->Frame()->SetStatusText("Create a new GEO 'bent pipe' link budget");
    QCoreApplication::processEvents();
    const QImage img = f.app->Frame()->grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(QCoreApplication::applicationDirPath() + "/frame-screenshot.png"));
    bool title = false, firstHeading = false, heading = false;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            title |= p == (qRgb(127, 0, 0) & 0xFFFFFF);
            firstHeading |= p == (qRgb(0, 127, 0) & 0xFFFFFF);
            heading |= p == (qRgb(0, 0, 100) & 0xFFFFFF);
        }
    EXPECT_TRUE(title);
    EXPECT_TRUE(firstHeading);
    EXPECT_TRUE(heading);
}

}  // namespace
