// The GEO link-budget input dialog, driven offscreen: its transfer buffer is
// the record byte for byte; OK checks the fields in order and recalculates;
// Reverse, the interference pages' Satellite button and the field enabling.
// (What all budget dialogs share is tested in windows/budget_dialogs_ui_test.)
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include <QFocusEvent>

#include "linkbudget/geo/geo_form.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

using lbtest::FillNamedHandBudget;
using F = TUpLinkForm;

template <std::size_t N>
std::string Str(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}

TEST(UpLinkFormTable, TransferBufferIsTheRecord)
{
    const auto table = F::ControlTable();
    EXPECT_EQ(platform::TransferSize(table), 1337u);
    const struct { int id; std::size_t offset; } fields[] = {
        {F::kUpSiteName, offsetof(GeoLinkInputRecord, upSiteName)},
        {F::kUpPolarization, offsetof(GeoLinkInputRecord, upPolarization)},
        {F::kHpaPower, offsetof(GeoLinkInputRecord, hpaPower)},
        {F::kUpAsiLongitude1, offsetof(GeoLinkInputRecord, upAsiLongitude)},
        {F::kUpInclude2, offsetof(GeoLinkInputRecord, upAsiInclude)},
        {F::kUpKnownTotal, offsetof(GeoLinkInputRecord, upAsiKnownTotal)},
        {F::kUpCsatAsi, offsetof(GeoLinkInputRecord, upCsatAsi)},
        {F::kDnSiteName, offsetof(GeoLinkInputRecord, dnSiteName)},
        {F::kLnbNoise, offsetof(GeoLinkInputRecord, lnbNoise)},
        {F::kDnCsatAsi, offsetof(GeoLinkInputRecord, dnCsatAsi)},
        {F::kDualFade, offsetof(GeoLinkInputRecord, dualFade)},
        {F::kUpCraneUsa, offsetof(GeoLinkInputRecord, upCraneUsa)},
        {F::kUpRainRate, offsetof(GeoLinkInputRecord, upRainRate)},
        {F::kXpiColocated, offsetof(GeoLinkInputRecord, xpiColocated)},
        {F::kDnItuRate, offsetof(GeoLinkInputRecord, dnItuRate)},
        {F::kDnDepolarization, offsetof(GeoLinkInputRecord, dnDepolarization)},
        {F::kSatName, offsetof(GeoLinkInputRecord, satName)},
        {F::kCarriersPerTransponder, offsetof(GeoLinkInputRecord, carriersPerTransponder)},
        {F::kServiceName, offsetof(GeoLinkInputRecord, serviceName)},
        {F::kSystemMargin, offsetof(GeoLinkInputRecord, systemMargin)},
        {F::kMqam, offsetof(GeoLinkInputRecord, mqam)},
        {F::kModulationOrder, offsetof(GeoLinkInputRecord, modulationOrder)},
        {F::kSspa, offsetof(GeoLinkInputRecord, sspa)},
        {F::kEsNo, offsetof(GeoLinkInputRecord, targetEsNo)},
        {F::kSymbolRate, offsetof(GeoLinkInputRecord, symbolRate)},
        {F::kModcodText, offsetof(GeoLinkInputRecord, modcodText)},
        {F::kUpCsatIo, offsetof(GeoLinkInputRecord, upCsatIoUnits)},
        {F::kDnCi, offsetof(GeoLinkInputRecord, dnCiUnits)},
    };
    for (const auto& f : fields) EXPECT_EQ(platform::TransferOffset(table, f.id), long(f.offset)) << f.id;
    // Every control of a page belongs to that page only.
    std::map<int, int> owner;
    for (int p = 0; p < F::kPageCount; ++p)
        for (int id : F::PageControls()[std::size_t(p)]) EXPECT_TRUE(owner.emplace(id, p).second) << id;
}

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
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> c;
        for (const auto& m : app->messages.calls) c.push_back(m.caption);
        return c;
    }
};

TEST_F(UpLinkForm, ValidRecordIsAcceptedAndRecalculated)
{
    TUpLinkWin& w = NamedWindow();
    Edit(w, nullptr, platform::IDOK);
    EXPECT_TRUE(Messages().empty());
    EXPECT_GT(w.Lines(), 0);
    EXPECT_TRUE(w.Changed);
    EXPECT_TRUE(lbtest::HasLine(w, "Excess margin\t12.35\t12.35\t12.35\tdB#"));
}

struct BadField {
    int id;
    const char* text;
    const char* caption;
    const char* message;
};

// A bad field shows its message and keeps the dialog open (the script then
// cancels it); what was typed stays in the record, without a report.
TEST_F(UpLinkForm, BadFieldsAreRefusedInTheirOrder)
{
    const BadField cases[] = {
        {F::kUpFrequency, "99", "Range Error", "Frequency (up)\r\nRange 0.000700 to 55.000000 GHz"},
        {F::kUpAvailability, "30", "Range Error", "Availability (up))\r\nRange 40.000000 to 99.999990 %"},
        {F::kUpLatitude, "40.00", "Suffix Missing Error (N,S,E or W)", "Site latitude (up)"},
        {F::kDnSiteName, "", "Empty Field Error", "Site name (down)"},
        {F::kLnbNoise, "+0", "Range Error", "LNB noise temperature\r\nRange 0.010000 to 1000.000000 K"},
        {F::kLnbNoise, "7", "Range Error", "LNB noise figure\r\nRange 0.010000 to 6.500000 dB"},
        {F::kUpEfficiency, "5", "Range Error", "Antenna efficiency (up)\r\nRange 10.000000 to 100.000000 %"},
        {F::kTransponderObo, "auto", "Input Error", "IBO and OB0 cannot both be AUTO"},
        {F::kTransponderBandwidth, "0", "Range Error",
         "Transponder bandwidth\r\nRange 0.000010 to 6000.000000 MHz"},
        {F::kHpaPower, "9000", "Range Error", "HPA Power\r\nRange 0.000010 to 5000.000000 W"},
    };
    for (const BadField& c : cases) {
        TUpLinkWin& w = NamedWindow();
        app->messages.calls.clear();
        Edit(w, [&c](F& f) {
            f.SetControlText(c.id, c.text);
            if (c.id == F::kTransponderObo) f.SetControlText(F::kTransponderIbo, "AUTO");
        }, platform::IDOK);
        ASSERT_EQ(app->messages.calls.size(), 1u) << c.message;
        EXPECT_EQ(app->messages.calls[0].text, c.message);
        EXPECT_EQ(app->messages.calls[0].caption, c.caption);
        EXPECT_EQ(w.Lines(), 0) << c.message;
    }
    // "mineq" in any case passes the HPA check; so does one automatic back-off.
    TUpLinkWin& w = NamedWindow();
    app->messages.calls.clear();
    Edit(w, [](F& f) {
        f.SetControlText(F::kHpaPower, "MinEq");
        f.SetControlText(F::kTransponderObo, "auto");
    }, platform::IDOK);
    EXPECT_TRUE(Messages().empty());
    EXPECT_GT(w.Lines(), 0);
}

TEST_F(UpLinkForm, ReverseSwapsTheSitesTwiceRestores)
{
    TUpLinkWin& w = NamedWindow();
    SetText(w.Record().upRainRate, "42");
    GeoLinkInputRecord before = w.Record();
    F::ClearTextTails(before);
    GeoLinkInputRecord once{}, twice{};
    platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
        auto& f = static_cast<F&>(d);
        f.CmReverse();
        once = f.Scratch();
        f.CmReverse();
        twice = f.Scratch();
        return int(platform::IDCANCEL);
    });
    w.CmEditInputs();
    EXPECT_EQ(Str(once.upSiteName), "Krakow");
    EXPECT_EQ(Str(once.dnLatitude), "40.00N");
    EXPECT_EQ(Str(once.dnRainRate), "42");
    EXPECT_EQ(Str(once.upDiameter), "1.2");
    EXPECT_EQ(Str(once.upCouplingLoss), "0");
    EXPECT_EQ(Str(once.upFrequency), "14");      // stays
    EXPECT_EQ(Str(once.upPolarization), "V");    // stays
    EXPECT_EQ(Str(once.upEfficiency), "65");     // stays
    EXPECT_EQ(std::memcmp(&twice, &before, sizeof before), 0);
}

TEST_F(UpLinkForm, EnablingAndLabels)
{
    TUpLinkWin& w = NewWindow();  // the defaults: downlink availability AUTO, carriers AUTO
    struct Seen {
        std::string availabilityLabel, aciLabel;
        bool hpaEnabled = false, fecEnabled = false, craneVisible = true, downlinkVisible = true;
    } first, second;
    Edit(w, [&](F& f) {
        f.SelectPage(0);
        f.EnableFields(0);
        first.availabilityLabel = f.GetControlText(F::LabelOf(F::kUpAvailability));
        first.hpaEnabled = f.Control(F::kHpaPower)->isEnabled();
        first.downlinkVisible = f.Control(F::kDnFrequency)->isVisibleTo(&f);
        first.aciLabel = f.GetControlText(F::LabelOf(F::kUpCsatAci));
        // C/I units, a fixed carrier count, a downlink availability and a modcod from the tables.
        f.SetControlText(F::kCarriersPerTransponder, "2");
        f.SetControlText(F::kDnAvailability, "99.9");
        f.SetControlText(F::kModcodText, "DVBS 4-PSK (1/2)");
        f.OnButton(F::kUpCi);
        f.SetCheck(F::kUpCi, 1);
        f.OnButton(F::kUpCi);
        f.SelectPage(4);
        f.EnableFields(4);
        second.craneVisible = f.Control(F::kUpCraneTc)->isVisibleTo(&f);
        f.SelectPage(0);
        f.EnableFields(0);
        second.availabilityLabel = f.GetControlText(F::LabelOf(F::kUpAvailability));
        second.hpaEnabled = f.Control(F::kHpaPower)->isEnabled();
        second.fecEnabled = f.Control(F::kFecRate)->isEnabled();
        second.aciLabel = f.GetControlText(F::LabelOf(F::kUpCsatAci));
    }, platform::IDCANCEL);
    EXPECT_EQ(first.availabilityLabel, "Overall availability %");
    EXPECT_TRUE(first.hpaEnabled);
    EXPECT_FALSE(first.downlinkVisible);
    EXPECT_EQ(first.aciLabel, "Csat/ACIo dB-Hz");
    EXPECT_EQ(second.availabilityLabel, "Availability %");
    EXPECT_FALSE(second.hpaEnabled);
    EXPECT_FALSE(second.fecEnabled);
    EXPECT_FALSE(second.craneVisible);
    EXPECT_EQ(second.aciLabel, "C/ACI dB");
    EXPECT_TRUE(w.UpInterferenceCI);
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
    EXPECT_EQ(Str(sat3.upAsiLongitude[2]), "19.20E");
    EXPECT_EQ(Str(sat3.upAsiLongitude[1]), "");
    EXPECT_EQ(Str(sat3.satName), "Testsat 10E");
    EXPECT_EQ(Str(density.upAsiLongitude[2]), "");
    EXPECT_EQ(Str(density.upAsiDensity[1]), "");
    EXPECT_EQ(Str(site2.dnSiteName), "Goonhilly");
    EXPECT_EQ(Str(site2.dnAltitude), "0.1");
    EXPECT_EQ(Str(site2.upSiteName), "Valencia");
}

// A loaded document whose fields fail is not calculated: no message during
// the load, and the dialog opens afterwards.
TEST_F(UpLinkForm, LoadedDocumentWithABadFieldOpensTheDialog)
{
    TUpLinkWin& source = NamedWindow();
    SetText(source.Record().upFrequency, "99");
    const std::string path = (app->dir / "bad.glb").string();
    ASSERT_TRUE(source.SaveFile(path.c_str()));
    int opened = 0;
    platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog&) {
        ++opened;
        return int(platform::IDCANCEL);
    });
    TUpLinkWin& w = NewWindow();
    ASSERT_TRUE(w.LoadFile(path.c_str()));
    EXPECT_EQ(w.Lines(), 0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(opened, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, 1);
}

// The dialog opens on the page last shown, with the window's suggestion; an
// entry taking the focus shows its hint and is remembered.
TEST_F(UpLinkForm, PageSuggestionAndHints)
{
    TUpLinkWin& w = NamedWindow();
    w.DialogPage = 5;
    w.Budget().suggestion = "Suggest 99.95";
    int page = -1;
    bool satelliteShown = false, uplinkShown = true;
    std::string suggestion, hint;
    int focused = 0;
    Edit(w, [&](F& f) {
        page = f.SelectedPage();
        satelliteShown = f.Control(F::kSatName)->isVisibleTo(&f);
        uplinkShown = f.Control(F::kUpSiteName)->isVisibleTo(&f);
        suggestion = f.GetControlText(F::kSuggestion);
        QFocusEvent in(QEvent::FocusIn);
        QCoreApplication::sendEvent(f.Control(F::kTransponderBandwidth), &in);
        hint = app->app->HintText;
        focused = app->app->LastFocusedEntry;
    }, platform::IDCANCEL);
    EXPECT_EQ(page, 5);
    EXPECT_TRUE(satelliteShown);
    EXPECT_FALSE(uplinkShown);
    EXPECT_EQ(suggestion, "Suggest 99.95");
    EXPECT_EQ(hint, "Enter full transponder bandwidth (typ. 24 to 72MHz)");
    EXPECT_EQ(focused, F::kTransponderBandwidth);
    EXPECT_EQ(w.DialogPage, 5);
}

}  // namespace
