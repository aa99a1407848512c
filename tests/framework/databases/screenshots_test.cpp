// Renders the database windows and dialogs and the expression calculator to
// PNG files in "screens/" of the program directory, for a look by eye, and
// checks that the country report reaches the screen in its colours.
#include "tests/framework/databases/db_support.h"

#include <QDir>
#include <QImage>
#include <QPixmap>

#include "framework/databases/pickers.h"
#include "framework/forms/calculator.h"

namespace {

using dbtest::Presses;
using dbtest::Satellite;
using dbtest::Town;

QString ScreenPath(const char* name)
{
    const QString dir = QCoreApplication::applicationDirPath() + "/screens";
    QDir().mkpath(dir);
    return dir + "/" + name;
}

// A script step that saves the dialog as it is when the script first sees it.
std::function<void(platform::Dialog&, int)> Snap(const char* name)
{
    return [name](platform::Dialog& d, int step) {
        if (step == 0) {
            EXPECT_TRUE(d.grab().toImage().save(ScreenPath(name))) << name;
        }
    };
}

class ScreenshotTest : public dbtest::DatabaseTest {};

TEST_F(ScreenshotTest, CountryWindowAndTownDialogs)
{
    f.app->Frame()->resize(900, 600);
    TCountryWin* w = OpenCountry("Northland.twn", {Town("Northland", 0, 0), Town("aberdeen", 57.09f, -2.06f),
                                                   Town("Leeds", 53.48f, -1.33f), Town("York", 53.58f, -1.05f)});
    ASSERT_NE(w, nullptr);
    auto* child = f.app->Client()->ActiveChild();
    child->resize(700, 300);
    child->move(10, 10);
    QCoreApplication::processEvents();
    const QImage img = f.app->Frame()->grab().toImage();
    EXPECT_TRUE(img.save(ScreenPath("country-window.png")));
    bool title = false, heading = false;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            title |= p == (qRgb(127, 0, 0) & 0xFFFFFF);
            heading |= p == (qRgb(0, 0, 100) & 0xFFFFFF);
        }
    EXPECT_TRUE(title);
    EXPECT_TRUE(heading);

    platform::SetDialogDriver(TCityForm::kResourceId, Presses({platform::IDCANCEL}, Snap("city-form.png")));
    platform::SetDialogDriver(TNameForm::kResourceId, Presses({platform::IDCANCEL}, Snap("name-form.png")));
    platform::SetDialogDriver(TSelCityWin::kResourceId,
                              Presses({TSelCityWin::kModify, TSelCityWin::kEditCountryName, TSelCityWin::kDone},
                                      Snap("town-editor.png")));
    platform::SendCommand(w, TCountryWin::kEditCommand);

    platform::SetDialogDriver(TGetCountryDlg::kResourceId, Presses({platform::IDOK}, Snap("country-selector.png")));
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}, Snap("town-selector.png")));
    EXPECT_TRUE(databases::PickTown(nullptr));
}

TEST_F(ScreenshotTest, SatelliteWindowDialogsAndCalculator)
{
    f.app->Frame()->resize(900, 600);
    TSatelliteWin* w = OpenSatellites("fleet.geo", {Satellite("Fleet", 0, ""), Satellite("Gamma", -30.0f, "C,Ku"),
                                                    Satellite("Beta", 13.0f, "Ku"), Satellite("Alpha", 19.2f, "C")});
    ASSERT_NE(w, nullptr);
    auto* child = f.app->Client()->ActiveChild();
    child->resize(600, 260);
    child->move(10, 10);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.app->Frame()->grab().toImage().save(ScreenPath("satellite-window.png")));

    platform::SetDialogDriver(TGeoForm::kResourceId, Presses({platform::IDCANCEL}, Snap("satellite-form.png")));
    platform::SetDialogDriver(TSelGeoWin::kResourceId,
                              Presses({TSelGeoWin::kModify, TSelGeoWin::kDone}, Snap("satellite-editor.png")));
    platform::SendCommand(w, TSatelliteWin::kEditCommand);

    dbtest::WriteBytes(Dir() / "satlist.geo", SatelliteFileBytes(w->Records.size() > 4
                                                                      ? std::vector<SatelliteRecord>(
                                                                            w->Records.begin(), w->Records.begin() + 4)
                                                                      : w->Records));
    platform::SetDialogDriver(TGetSatDlg::kResourceId, Presses({platform::IDOK}, Snap("satellite-selector.png")));
    EXPECT_TRUE(databases::PickSatellite(nullptr));

    calculator::RegisterExpressionCalculator();
    platform::SetDialogDriver(TEvalForm::kResourceId,
                              Presses({platform::IDOK, platform::IDCANCEL}, [](platform::Dialog& d, int step) {
                                  if (step == 0) d.SetControlText(TEvalForm::kExpression, "SIN(30)+SQR(2)");
                                  if (step == 1) {
                                      EXPECT_TRUE(d.grab().toImage().save(ScreenPath("calculator.png")));
                                  }
                              }));
    f.app->Client()->CmCalculator(TEvalForm::kCommand);
}

}  // namespace
