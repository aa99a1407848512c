// The GEO window in the frame with a budget over the real ITU-R maps
// (London up, Madrid down), rendered to "geo-budget.png" in the build folder
// (docs/geo-budget.png is a copy), and the input dialog's first page to
// "geo-dialog.png".  The pictures must show the report's colours.
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>
#include <cstdlib>

#include "linkbudget/registration.h"
#include "linkbudget/geo/geo_form.h"
#include "propagation/itu_maps.h"
#include "tests/linkbudget/geo/real_budget_scenario.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

class Quiet final : public ItuMapLoadObserver {
public:
    int failures = 0;
    void MapLoadFailed(const std::string&) override { ++failures; }
};

bool HasColour(const QImage& img, QRgb colour)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
}

class Screenshot : public lbtest::WindowFixture {};

TEST_F(Screenshot, WindowWithARealBudgetAndTheDialog)
{
    Quiet observer;
    LoadItuMaps(startDir.string(), observer);
    ASSERT_EQ(observer.failures, 0) << "the ITU-R maps are unpacked into the build folder";
    TUpLinkWin::SetAtmosphere(nullptr);
    orbiscope::RegisterLinkBudgetSubsystem();

    auto& frame = *app->app->Frame();
    frame.resize(1000, 720);
    app->app->Dispatch(6014);  // File > New > GEO link budget; its dialog is cancelled
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TUpLinkWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    scenario::FillLondonMadrid(w->Record());
    w->Recalculate();
    ASSERT_GT(w->Lines(), 100);
    EXPECT_FALSE(lbtest::HasLine(*w, "Availability (average year)\tN/A\tN/A\t\t%"));
    child->move(0, 0);
    child->resize(900, 600);
    QCoreApplication::processEvents();
    const QImage img = frame.grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(QString::fromStdString((startDir / "geo-budget.png").string())));
    EXPECT_TRUE(HasColour(img, qRgb(0, 127, 0)));   // the company heading
    EXPECT_TRUE(HasColour(img, qRgb(0, 0, 100)));   // section headings

    TUpLinkForm form(nullptr, *w);
    form.SetupWindow();
    form.show();
    QCoreApplication::processEvents();
    const QImage dialog = form.grab().toImage();
    EXPECT_TRUE(dialog.save(QString::fromStdString((startDir / "geo-dialog.png").string())));
    EXPECT_TRUE(form.Control(TUpLinkForm::kUpSiteName)->isVisible());
    if (std::getenv("ORBISCOPE_DIALOG_PAGES")) {
        for (int page = 1; page < TUpLinkForm::kPageCount; ++page) {
            form.SelectPage(page);
            form.EnableFields(page);
            QCoreApplication::processEvents();
            form.grab().toImage().save(
                QString::fromStdString((startDir / ("geo-dialog-" + std::to_string(page) + ".png")).string()));
        }
        form.SelectPage(0);
        form.EnableFields(0);
    }
    EXPECT_FALSE(form.Control(TUpLinkForm::kSatName)->isVisible());
    form.hide();
    FreeItuMaps();
}

}  // namespace
