// The GEO link-budget input dialog, driven offscreen: the field enabling,
// the interference pages' Satellite button, the page last shown and the
// entries' hints.  (What all budget dialogs share is tested in
// windows/budget_dialogs_ui_test.)
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <cstring>

#include "linkbudget/geo/geo_form.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

using lbtest::FillNamedHandBudget;
using F = TUpLinkForm;

class UpLinkForm : public lbtest::WindowFixture {
protected:
    TUpLinkWin& NamedWindow()
    {
        TUpLinkWin& w = NewWindow();
        FillNamedHandBudget(w.Record());
        return w;
    }
    // Runs the window's edit command with a script; `edit` is applied to
    // the open dialog before the button is pressed.
    void Edit(TUpLinkWin& w, std::function<void(F&)> edit, int button)
    {
        platform::SetDialogDriver(F::kResourceId, [edit, button, calls = 0](platform::Dialog& d) mutable {
            if (calls++ > 0) return int(platform::IDCANCEL);
            if (edit) edit(static_cast<F&>(d));
            return button;
        });
        w.CmEditInputs();
    }
};

TEST_F(UpLinkForm, EnablingAndLabels)
{
    TUpLinkWin& w = NewWindow();  // the defaults: downlink availability AUTO, carriers AUTO
    struct Seen {
        std::string availabilityLabel;
        bool hpaEnabled = false, fecEnabled = false, craneVisible = true;
    } first, second;
    Edit(w, [&](F& f) {
        f.SelectPage(0);
        f.EnableFields(0);
        first.availabilityLabel = f.GetControlText(F::LabelOf(F::kUpAvailability));
        first.hpaEnabled = f.Control(F::kHpaPower)->isEnabled();
        // A fixed carrier count, a downlink availability and a modcod from the tables.
        f.SetControlText(F::kCarriersPerTransponder, "2");
        f.SetControlText(F::kDnAvailability, "99.9");
        f.SetControlText(F::kModcodText, "DVBS 4-PSK (1/2)");
        f.SelectPage(4);
        f.EnableFields(4);
        second.craneVisible = f.Control(F::kUpCraneTc)->isVisibleTo(&f);
        f.SelectPage(0);
        f.EnableFields(0);
        second.availabilityLabel = f.GetControlText(F::LabelOf(F::kUpAvailability));
        second.hpaEnabled = f.Control(F::kHpaPower)->isEnabled();
        second.fecEnabled = f.Control(F::kFecRate)->isEnabled();
    }, platform::IDCANCEL);
    EXPECT_EQ(first.availabilityLabel, "Overall availability %");
    EXPECT_TRUE(first.hpaEnabled);
    EXPECT_EQ(second.availabilityLabel, "Availability %");
    EXPECT_FALSE(second.hpaEnabled);
    EXPECT_FALSE(second.fecEnabled);
    EXPECT_FALSE(second.craneVisible);
    EXPECT_EQ(w.DialogPage, 0);
}

// The Satellite button on an interference page fills only the longitude entry
// that last had the focus; the Site button fills the downlink station on any
// page but the first.
TEST_F(UpLinkForm, PickersFillTheFieldsOfThePage)
{
    F::SetSatellitePicker([this](TForm&) {
        std::snprintf(app->app->PickedSatName, 41, "Picked");
        std::snprintf(app->app->PickedSatLongitude, 13, "19.20E");
        return true;
    });
    F::SetSitePicker([this](TForm&) {
        std::snprintf(app->app->PickedSiteName, 41, "Goonhilly");
        std::snprintf(app->app->PickedSiteLatitude, 13, "50.05N");
        std::snprintf(app->app->PickedSiteLongitude, 13, "5.18W");
        std::snprintf(app->app->PickedSiteAltitude, 13, "0.1");
        return true;
    });
    TUpLinkWin& w = NamedWindow();
    GeoLinkInputRecord sat3{}, density{}, site2{};
    Edit(w, [&](F& f) {
        f.SelectPage(1);
        app->app->LastFocusedEntry = F::kUpAsiLongitude3;
        f.CmSatellite();
        sat3 = f.Scratch();
        app->app->LastFocusedEntry = F::kUpAsiDensity2;
        f.SetControlText(F::kUpAsiLongitude3, "");
        f.CmSatellite();
        density = f.Scratch();
        f.SelectPage(2);
        f.CmSite();
        site2 = f.Scratch();
    }, platform::IDCANCEL);
    F::SetSatellitePicker({});
    F::SetSitePicker({});
    EXPECT_EQ(FieldText(sat3.upAsiLongitude[2]), "19.20E");
    EXPECT_EQ(FieldText(sat3.upAsiLongitude[1]), "");
    EXPECT_EQ(FieldText(sat3.satName), "Testsat 10E");
    EXPECT_EQ(FieldText(density.upAsiLongitude[2]), "");
    EXPECT_EQ(FieldText(density.upAsiDensity[1]), "");
    EXPECT_EQ(FieldText(site2.dnSiteName), "Goonhilly");
    EXPECT_EQ(FieldText(site2.dnAltitude), "0.1");
    EXPECT_EQ(FieldText(site2.upSiteName), "Valencia");
}

// The dialog opens on the page last shown; an entry taking the focus shows
// its hint and is remembered.
TEST_F(UpLinkForm, PageLastShownAndHints)
{
    TUpLinkWin& w = NamedWindow();
    w.DialogPage = 5;
    int page = -1;
    bool satelliteShown = false;
    std::string hint;
    int focused = 0;
    Edit(w, [&](F& f) {
        page = f.SelectedPage();
        satelliteShown = f.Control(F::kSatName)->isVisibleTo(&f);
        QFocusEvent in(QEvent::FocusIn);
        QCoreApplication::sendEvent(f.Control(F::kTransponderBandwidth), &in);
        hint = app->app->HintText;
        focused = app->app->LastFocusedEntry;
    }, platform::IDCANCEL);
    EXPECT_EQ(page, 5);
    EXPECT_TRUE(satelliteShown);
    EXPECT_EQ(hint, "Enter full transponder bandwidth (typ. 24 to 72MHz)");
    EXPECT_EQ(focused, F::kTransponderBandwidth);
    EXPECT_EQ(w.DialogPage, 5);
}

}  // namespace
