// What the four budget dialogs share, run on each of them from one table:
// Cancel, Freeze, the modulation-and-coding buttons with Manual, the Site
// and Satellite pickers, and the entries' status-bar hints.  Each row opens
// its own kind of window on its hand budget and drives the dialog through
// its buttons, as a user does.
#include <gtest/gtest.h>

#include <QTabBar>
#include <cstring>
#include <functional>
#include <memory>

#include "linkbudget/geo/geo_form.h"
#include "linkbudget/isolated/downlink_form.h"
#include "linkbudget/isolated/downlink_window.h"
#include "linkbudget/isolated/uplink_form.h"
#include "linkbudget/isolated/uplink_window.h"
#include "linkbudget/modcod/modcod_dialog.h"
#include "linkbudget/nongeo/nongeo_form.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"
#include "tests/linkbudget/nongeo/nongeo_support.h"

namespace {

// A budget window of any kind, seen through what the table needs of it.
struct Opened {
    TMyWindow* window = nullptr;
    std::function<void()> edit;          // the window's edit command
    std::function<bool()> frozen;
    std::function<std::string(int id)> field;  // a text of the window's record, by the dialog's id
};

// One budget dialog: its window, its ids, the page its carrier lies on.
struct Dialog {
    const char* name;
    int resource, tab, carrierPage;
    int frequency, availability;        // on page 0
    int siteName, siteLatitude;         // the station that Site fills on page 0
    int satName, satLongitude;          // what Satellite fills on the carrier page; 0: no Satellite button
    int fec, modulationOrder, target, rate, modcodText;
    std::function<Opened(std::vector<std::unique_ptr<TMyWindow>>&)> open;
};

template <class Win, class Fill>
Opened OpenWindow(std::vector<std::unique_ptr<TMyWindow>>& owned, Fill fill)
{
    auto w = std::make_unique<Win>(nullptr, nullptr, nullptr);
    Win* win = w.get();
    fill(win->Record());
    owned.push_back(std::move(w));
    const auto table = Win::Form::ControlTable();
    return {win, [win] { win->CmEditInputs(); }, [win] { return win->Budget().frozen; },
            [win, table](int id) {
                const auto* bytes = reinterpret_cast<const std::uint8_t*>(&win->Record());
                const std::span<const std::uint8_t> record(bytes, sizeof win->Record());
                for (const auto& c : table)
                    if (c.id == id)
                        return transfer::GetText(record, std::size_t(platform::TransferOffset(table, id)),
                                                 std::size_t(c.textLimit));
                return std::string("?");
            }};
}

void NamedUplink(UplinkInputRecord& r)
{
    HandRecord(r);
    SetText(r.satName, "Bird");
    SetText(r.serviceName, "Trunk");
}

void NamedDownlink(DownlinkInputRecord& r)
{
    HandDownlink(r);
    SetText(r.satName, "Bird");
    SetText(r.serviceName, "Trunk");
}

using G = TUpLinkForm;
using L = TLeoLinkForm;
using U = TRgnUpLinkForm;
using D = TRgnDownLinkForm;

const Dialog kDialogs[] = {
    {"GEO", G::kResourceId, G::kTab, 6, G::kUpFrequency, G::kUpAvailability, G::kUpSiteName, G::kUpLatitude,
     G::kSatName, G::kSatLongitude, G::kFecRate, G::kModulationOrder, G::kRequiredTarget, G::kRate, G::kModcodText,
     [](auto& owned) { return OpenWindow<TUpLinkWin>(owned, lbtest::FillNamedHandBudget); }},
    {"non-GEO", L::kResourceId, L::kTab, 4, L::kUpFrequency, L::kUpAvailability, L::kUpSiteName, L::kUpLatitude, 0,
     0, L::kFecRate, L::kModulationOrder, L::kRequiredTarget, L::kRate, L::kModcodText,
     [](auto& owned) { return OpenWindow<TLeoLinkWin>(owned, lbtest::FillNamedLeoHandBudget); }},
    {"isolated uplink", U::kResourceId, U::kTab, 3, U::kFrequency, U::kAvailability, U::kSiteName, U::kLatitude,
     U::kSatName, U::kSatLongitude, U::kFecRate, U::kModulationOrder, U::kRequiredTarget, U::kRate, U::kModcodText,
     [](auto& owned) { return OpenWindow<TRgnUpLinkWin>(owned, NamedUplink); }},
    {"isolated downlink", D::kResourceId, D::kTab, 3, D::kFrequency, D::kAvailability, D::kSiteName, D::kLatitude,
     D::kSatName, D::kSatLongitude, D::kFecRate, D::kModulationOrder, D::kRequiredTarget, D::kRate, D::kModcodText,
     [](auto& owned) { return OpenWindow<TRgnDownLinkWin>(owned, NamedDownlink); }},
};

class BudgetDialogs : public lbtest::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        TLeoLinkWin::SetAtmosphere(&atmosphere);
        TRgnUpLinkWin::SetAtmosphere(&atmosphere);
        TRgnDownLinkWin::SetAtmosphere(&atmosphere);
    }
    void TearDown() override
    {
        owned.clear();
        TLeoLinkWin::SetAtmosphere(nullptr);
        TRgnUpLinkWin::SetAtmosphere(nullptr);
        TRgnDownLinkWin::SetAtmosphere(nullptr);
        WindowFixture::TearDown();
    }
    // Runs the window's edit command; `script` works the open dialog, whose
    // button `close` then ends it.
    static void Edit(const Dialog& d, Opened& w, std::function<void(platform::Dialog&)> script, int close)
    {
        platform::SetDialogDriver(d.resource, [script, close, calls = 0](platform::Dialog& dialog) mutable {
            if (calls++ > 0) return int(platform::IDCANCEL);
            if (script) script(dialog);
            return close;
        });
        w.edit();
    }
    static void ShowPage(platform::Dialog& dialog, const Dialog& d, int page)
    {
        qobject_cast<QTabBar*>(dialog.Control(d.tab))->setCurrentIndex(page);
    }
    std::vector<std::unique_ptr<TMyWindow>> owned;
};

// Cancel keeps what was typed in the record for the next edit, and neither
// recalculates nor marks the document changed.
TEST_F(BudgetDialogs, CancelKeepsTheTypingButNeitherRecalculatesNorMarksChanged)
{
    for (const Dialog& d : kDialogs) {
        Opened w = d.open(owned);
        Edit(d, w, nullptr, platform::IDOK);
        ASSERT_GT(w.window->Lines(), 0) << d.name;
        const std::string report = w.window->Report();
        w.window->Changed = false;
        Edit(d, w, [&d](platform::Dialog& dialog) { dialog.SetControlText(d.frequency, "99"); }, platform::IDCANCEL);
        EXPECT_EQ(w.field(d.frequency), "99") << d.name;
        EXPECT_EQ(w.window->Report(), report) << d.name;
        EXPECT_FALSE(w.window->Changed) << d.name;
        EXPECT_TRUE(Messages().empty()) << d.name;
    }
}

// Freeze wants a calculated budget; frozen, only the availability and the
// carrier's target, modulation and modcod stay open to typing.
TEST_F(BudgetDialogs, FreezeNeedsACalculatedBudgetAndLeavesTheAvailabilityOpen)
{
    for (const Dialog& d : kDialogs) {
        Opened fresh = d.open(owned);
        app->messages.calls.clear();
        Edit(d, fresh, [](platform::Dialog& dialog) { dialog.OnButton(budgetform::kFreeze); }, platform::IDCANCEL);
        ASSERT_EQ(app->messages.calls.size(), 1u) << d.name;
        EXPECT_EQ(app->messages.calls[0].text, "Cannot freeze/unfeeze until link budget is recalculated") << d.name;
        EXPECT_EQ(app->messages.calls[0].caption, "Invalid Option") << d.name;
        EXPECT_FALSE(fresh.frozen()) << d.name;

        Opened w = d.open(owned);
        Edit(d, w, nullptr, platform::IDOK);
        app->messages.calls.clear();
        struct {
            bool frequency = true, availability = false, target = false;
        } enabled;
        Edit(d, w, [&](platform::Dialog& dialog) {
            dialog.OnButton(budgetform::kFreeze);
            enabled.frequency = dialog.Control(d.frequency)->isEnabled();
            enabled.availability = dialog.Control(d.availability)->isEnabled();
            ShowPage(dialog, d, d.carrierPage);
            enabled.target = dialog.Control(d.target)->isEnabled();
        }, platform::IDCANCEL);
        EXPECT_TRUE(Messages().empty()) << d.name;
        EXPECT_TRUE(w.frozen()) << d.name;
        EXPECT_FALSE(enabled.frequency) << d.name;
        EXPECT_TRUE(enabled.availability) << d.name;
        EXPECT_TRUE(enabled.target) << d.name;
    }
}

// DVB-S row 0 (QPSK 1/2): efficiency 188/204 x 1/2 x 2 = 0.92157 bit/symbol,
// so the code rate written is 0.92157 / log2 4 = 0.4608, and the target the
// row's Eb/No, 4.14 - 10 log10(0.92157) = 4.49 dB.  The chosen modcod fixes
// the code rate and M until Manual frees them again.
TEST_F(BudgetDialogs, ModcodFromTheTablesAndBackToManual)
{
    platform::SetDialogDriver(TGetModcodDlg::kResourceId, [](platform::Dialog&) { return int(platform::IDOK); });
    for (const Dialog& d : kDialogs) {
        app->app->SelectedModcod = ModcodSelection{};
        Opened empty = d.open(owned);
        app->messages.calls.clear();
        Edit(d, empty, [&d](platform::Dialog& dialog) {
            dialog.SetControlText(d.rate, "");
            dialog.OnButton(budgetform::kDvbs);
        }, platform::IDCANCEL);
        ASSERT_EQ(app->messages.calls.size(), 1u) << d.name;
        EXPECT_EQ(app->messages.calls[0].text, "Info Rate and optional overhead must be entered") << d.name;
        EXPECT_EQ(app->messages.calls[0].caption, "Error") << d.name;
        EXPECT_EQ(empty.field(d.modcodText), "Manual") << d.name;

        Opened w = d.open(owned);
        struct {
            std::string fec, m, target, modcod, manual;
            bool fecOn = true, mOn = true, fecOnAgain = false, mOnAgain = false;
        } seen;
        Edit(d, w, [&](platform::Dialog& dialog) {
            ShowPage(dialog, d, d.carrierPage);
            dialog.OnButton(budgetform::kDvbs);
            seen.fec = dialog.GetControlText(d.fec);
            seen.m = dialog.GetControlText(d.modulationOrder);
            seen.target = dialog.GetControlText(d.target);
            seen.modcod = dialog.GetControlText(d.modcodText);
            seen.fecOn = dialog.Control(d.fec)->isEnabled();
            seen.mOn = dialog.Control(d.modulationOrder)->isEnabled();
            dialog.OnButton(budgetform::kManual);
            seen.manual = dialog.GetControlText(d.modcodText);
            seen.fecOnAgain = dialog.Control(d.fec)->isEnabled();
            seen.mOnAgain = dialog.Control(d.modulationOrder)->isEnabled();
        }, platform::IDCANCEL);
        EXPECT_EQ(seen.fec, "0.4608") << d.name;
        EXPECT_EQ(seen.m, "4") << d.name;
        EXPECT_EQ(seen.target, "4.49") << d.name;
        EXPECT_EQ(seen.modcod, "DVBS 4-PSK (1/2)") << d.name;
        EXPECT_FALSE(seen.fecOn) << d.name;
        EXPECT_FALSE(seen.mOn) << d.name;
        EXPECT_EQ(seen.manual, "Manual") << d.name;
        EXPECT_TRUE(seen.fecOnAgain) << d.name;
        EXPECT_TRUE(seen.mOnAgain) << d.name;
    }
}

// Site on the first page fills its station; Satellite (where the dialog has
// it) fills the wanted satellite from the carrier page.  A picker cancelled
// changes nothing.
TEST_F(BudgetDialogs, PickersFillTheStationAndTheSatellite)
{
    bool pick = true;
    const auto site = [this, &pick](TForm&) {
        std::strcpy(app->app->PickedSiteName, "Goonhilly");
        std::strcpy(app->app->PickedSiteLatitude, "50.05N");
        std::strcpy(app->app->PickedSiteLongitude, "5.18W");
        std::strcpy(app->app->PickedSiteAltitude, "0.1");
        return pick;
    };
    const auto satellite = [this, &pick](TForm&) {
        std::strcpy(app->app->PickedSatName, "Picked");
        std::strcpy(app->app->PickedSatLongitude, "19.20E");
        return pick;
    };
    G::SetSitePicker(site), L::SetSitePicker(site), U::SetSitePicker(site), D::SetSitePicker(site);
    G::SetSatellitePicker(satellite), U::SetSatellitePicker(satellite), D::SetSatellitePicker(satellite);
    for (const bool picked : {true, false}) {
        pick = picked;
        for (const Dialog& d : kDialogs) {
            Opened w = d.open(owned);
            const std::string siteBefore = w.field(d.siteName), latitudeBefore = w.field(d.siteLatitude);
            const std::string satBefore = d.satName ? w.field(d.satName) : "";
            const std::string slotBefore = d.satName ? w.field(d.satLongitude) : "";
            std::string siteName, latitude, satName, satLongitude;
            Edit(d, w, [&](platform::Dialog& dialog) {
                dialog.OnButton(budgetform::kSite);
                siteName = dialog.GetControlText(d.siteName);
                latitude = dialog.GetControlText(d.siteLatitude);
                if (!d.satName) return;
                ShowPage(dialog, d, d.carrierPage);
                dialog.OnButton(budgetform::kSatellite);
                satName = dialog.GetControlText(d.satName);
                satLongitude = dialog.GetControlText(d.satLongitude);
            }, platform::IDCANCEL);
            EXPECT_EQ(siteName, picked ? "Goonhilly" : siteBefore) << d.name;
            EXPECT_EQ(latitude, picked ? "50.05N" : latitudeBefore) << d.name;
            if (!d.satName) continue;
            EXPECT_EQ(satName, picked ? "Picked" : satBefore) << d.name;
            EXPECT_EQ(satLongitude, picked ? "19.20E" : slotBefore) << d.name;
        }
    }
    for (auto set : {G::SetSitePicker, L::SetSitePicker, U::SetSitePicker, D::SetSitePicker}) set({});
    for (auto set : {G::SetSatellitePicker, U::SetSatellitePicker, D::SetSatellitePicker}) set({});
}

// ---- hints ---------------------------------------------------------------------

template <class Form>
std::string HintOf(int id)
{
    return HintFor(Form::Hints(), id);
}

// Every entry shows a hint, but those whose string the program has none for.
template <class Form>
void EveryEntryHasAHint(const char* dialog, std::initializer_list<int> without)
{
    for (const auto& c : Form::ControlTable()) {
        if (c.kind != platform::ControlKind::Edit) continue;
        const bool none = std::find(without.begin(), without.end(), c.id) != without.end();
        EXPECT_EQ(HintOf<Form>(c.id).empty(), none) << dialog << " entry " << c.id;
    }
}

TEST(BudgetDialogHints, EveryEntryButCarriersPerTransponderAndModcodHasOne)
{
    EveryEntryHasAHint<G>("GEO", {G::kCarriersPerTransponder, G::kModcodText});
    EveryEntryHasAHint<L>("non-GEO", {L::kCarriersPerTransponder, L::kModcodText});
    EveryEntryHasAHint<U>("isolated uplink", {U::kModcodText});
    EveryEntryHasAHint<D>("isolated downlink", {D::kModcodText});
}

// The hints that differ between the dialogs, or that one of them lacked.
TEST(BudgetDialogHints, TheEntriesShowTheirOwnTexts)
{
    const struct {
        const char* entry;
        std::string hint;
        const char* expected;  // the program's string for the field
    } rows[] = {
        {"GEO UPC dB", HintOf<G>(G::kUpc), "Dynamic carrier control range (typ. 8 to 13dB)"},
        {"GEO No of carriers / HPA", HintOf<G>(G::kCarriersPerHpa), "Number of simultaneous carriers the HPA handles"},
        {"GEO ASI (down) density", HintOf<G>(G::kDnAsiDensity3),
         "EIRP density of interfering satellite toward earth station dBW/Hz"},
        {"non-GEO UPC dB", HintOf<L>(L::kUpc), "Dynamic carrier control range (typ. 8 to 13dB)"},
        {"non-GEO longitude difference", HintOf<L>(L::kDnLongitudeDiff),
         "Estimate of worst case site/satellite longitude difference (degrees)"},
        {"uplink mispointing", HintOf<U>(U::kMispointing), "Antenna mispoint losses (dB)"},
        {"uplink power control", HintOf<U>(U::kPowerControl), "Dynamic carrier control range (typ. 8 to 13dB)"},
        {"uplink Sat bandwidth", HintOf<U>(U::kSatBandwidth), "Mandwidth of adjacent satellite interfering network (MHz)"},
        {"downlink mispointing", HintOf<D>(D::kMispointing), "Antenna mispoint losses (dB)"},
        {"downlink LNB gain", HintOf<D>(D::kLnbGain), "Enter gain of the LNB (10 to 100dB)"},
        {"downlink load impedance", HintOf<D>(D::kLoadImpedance),
         "Matching impedance of the LNB output (usually 50 or 75 ohms)"},
    };
    for (const auto& r : rows) EXPECT_EQ(r.hint, r.expected) << r.entry;
}

}  // namespace
