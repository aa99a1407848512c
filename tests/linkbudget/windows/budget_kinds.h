// The four budget kinds seen alike, for the tests of what their windows and
// dialogs share: each kind opens its window on its hand budget, and the
// window's record is read and written by the dialog's control ids (the
// dialog's transfer buffer is the record).
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "linkbudget/geo/geo_form.h"
#include "linkbudget/isolated/downlink_form.h"
#include "linkbudget/isolated/downlink_window.h"
#include "linkbudget/isolated/uplink_form.h"
#include "linkbudget/isolated/uplink_window.h"
#include "linkbudget/nongeo/nongeo_form.h"
#include "tests/linkbudget/geo/real_budget_scenario.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"
#include "tests/linkbudget/nongeo/nongeo_support.h"

namespace lbtest {

using Owned = std::vector<std::unique_ptr<TMyWindow>>;

// A budget window of any kind, seen through what the tests need of it.
struct Opened {
    TMyWindow* window = nullptr;
    std::function<void()> edit;  // the window's edit command
    std::function<void()> recalculate;
    std::function<bool()> frozen;
    std::function<bool()> interferenceCI;           // the (uplink's) interference entered as C/I
    std::function<void(const char*)> suggest;      // the budget's suggestion for the dialog
    std::function<std::string()> suggestion;
    std::function<std::string(int id)> field;      // a text of the record, by the dialog's id
    std::function<void(int id, const char* text)> set;
    std::function<std::vector<std::uint8_t>()> bytes;  // the whole record
    std::function<void()> fillReal;                 // a budget over real sites, in rain
    std::function<void()> forgetTyping;             // what a cancelled edit kept for the next
};

// The window `win` seen through Opened; `real` fills its record with a budget
// over real sites.
template <class Win, class Real>
Opened Wrap(Win* win, Real real)
{
    const auto table = Win::Form::ControlTable();
    const auto at = [table](int id) {
        for (const auto& c : table)
            if (c.id == id) return std::pair{std::size_t(platform::TransferOffset(table, id)), std::size_t(c.textLimit)};
        ADD_FAILURE() << "no control " << id;
        return std::pair{std::size_t(0), std::size_t(0)};
    };
    const auto record = [win] {
        return std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(&win->Record()), sizeof win->Record());
    };
    Opened o;
    o.window = win;
    o.edit = [win] { win->CmEditInputs(); };
    o.recalculate = [win] { win->Recalculate(); };
    o.frozen = [win] { return win->Budget().frozen; };
    o.interferenceCI = [win] {
        if constexpr (requires { win->UpInterferenceCI; }) return win->UpInterferenceCI;
        else return win->InterferenceCI;
    };
    o.suggest = [win](const char* text) { win->Budget().suggestion = text; };
    o.suggestion = [win] { return win->Budget().suggestion; };
    o.field = [at, record](int id) { return transfer::GetText(record(), at(id).first, at(id).second); };
    o.set = [at, record](int id, const char* text) { transfer::SetText(record(), at(id).first, at(id).second, text); };
    o.bytes = [record] {
        const auto r = record();
        return std::vector<std::uint8_t>(r.begin(), r.end());
    };
    o.fillReal = [win, real] { real(win->Record()); };
    o.forgetTyping = [win] { win->KeptTyping.clear(); };
    return o;
}

template <class Win, class Fill, class Real>
Opened OpenWindow(Owned& owned, TMyWindow* existing, bool hand, Fill fill, Real real)
{
    if (existing) {
        auto* win = dynamic_cast<Win*>(existing);
        if (!win) throw std::invalid_argument("a window of another kind");
        return Wrap(win, real);
    }
    auto w = std::make_unique<Win>(nullptr, nullptr, nullptr);
    Win* win = w.get();
    if (hand) fill(win->Record());
    owned.push_back(std::move(w));
    return Wrap(win, real);
}

// One budget kind: its dialog's ids, its window and its documents.
struct Kind {
    const char* name;
    int resource, tab, carrierPage;
    int frequency, availability;  // on page 0
    int siteName, siteLatitude;   // the station that Site fills on page 0
    int satName, satLongitude;    // what Satellite fills on the carrier page; 0: no Satellite button
    int fec, modulationOrder, target, rate, modcodText;
    int upCi, upCiLabel;          // the (uplink's) C/I units button and an entry it relabels
    const char *csatLabel, *ciLabel;
    int windowType, newCommand;   // File > New
    const char *filter, *extension, *picture;
    std::uint16_t fileVersion;
    std::size_t recordSize;
    void (*setAtmosphere)(LinkAtmosphere*);
    const std::vector<std::vector<int>>& (*pages)();  // the dialog's controls of each page
    // `existing` (a window of the kind) as it is, or a new window on the
    // kind's hand budget (hand) or with a new window's inputs.
    std::function<Opened(Owned&, TMyWindow* existing, bool hand)> adopt;
    Opened open(Owned& owned, bool hand = true) const { return adopt(owned, nullptr, hand); }
    Opened of(TMyWindow* existing) const
    {
        Owned none;
        return adopt(none, existing, false);
    }
};

inline void NamedUplink(UplinkInputRecord& r)
{
    HandRecord(r);
    SetText(r.satName, "Bird");
    SetText(r.serviceName, "Trunk");
}

inline void NamedDownlink(DownlinkInputRecord& r)
{
    HandDownlink(r);
    SetText(r.satName, "Bird");
    SetText(r.serviceName, "TV");
}

// The hand budgets at real sites over a geostationary satellite, in rain.
template <class Record>
inline void RealIsolated(Record& r, const char* site, const char* latitude, const char* longitude)
{
    SetText(r.siteName, site);
    SetText(r.latitude, latitude);
    SetText(r.longitude, longitude);
    SetText(r.altitude, "auto");
    SetText(r.satName, "Testsat 10E");
    r.geo.Set(1);
    r.nonGeo.Set(0);
    SetText(r.satLongitude, "10E");
}

inline void RealLeo(NonGeoLinkInputRecord& r)
{
    FillNamedLeoHandBudget(r);
    for (ButtonState* b : {&r.upClearSky, &r.dnClearSky}) b->Set(0);
    for (ButtonState* b : {&r.upItuAuto, &r.dnItuAuto}) b->Set(1);
}

using G = TUpLinkForm;
using L = TLeoLinkForm;
using U = TRgnUpLinkForm;
using D = TRgnDownLinkForm;

inline const Kind kKinds[] = {
    {"GEO", G::kResourceId, G::kTab, 6, G::kUpFrequency, G::kUpAvailability, G::kUpSiteName, G::kUpLatitude,
     G::kSatName, G::kSatLongitude, G::kFecRate, G::kModulationOrder, G::kRequiredTarget, G::kRate, G::kModcodText,
     G::kUpCi, G::kUpCsatAci, "Csat/ACIo dB-Hz", "C/ACI dB", TUpLinkWin::kWindowType, 6014,
     "GEO Link Budget (*.glb)|*.glb", "glb", "geo-budget.png", 2013, 1337, &TUpLinkWin::SetAtmosphere,
     &G::PageControls, [](Owned& owned, TMyWindow* existing, bool hand) {
         return OpenWindow<TUpLinkWin>(owned, existing, hand, FillNamedHandBudget,
                                       [](GeoLinkInputRecord& r) { scenario::FillLondonMadrid(r); });
     }},
    {"non-GEO", L::kResourceId, L::kTab, 4, L::kUpFrequency, L::kUpAvailability, L::kUpSiteName, L::kUpLatitude, 0,
     0, L::kFecRate, L::kModulationOrder, L::kRequiredTarget, L::kRate, L::kModcodText, G::kUpCi, L::kUpCsatAsi,
     "Csat/ASIo dB-Hz", "C/ASI dB", TLeoLinkWin::kWindowType, 6023, "Non GEO Link Budget (*.llb)|*.llb", "llb",
     "leo-budget.png", 9012, 1178, &TLeoLinkWin::SetAtmosphere,
     &L::PageControls, [](Owned& owned, TMyWindow* existing, bool hand) {
         return OpenWindow<TLeoLinkWin>(owned, existing, hand, FillNamedLeoHandBudget, RealLeo);
     }},
    {"isolated uplink", U::kResourceId, U::kTab, 3, U::kFrequency, U::kAvailability, U::kSiteName, U::kLatitude,
     U::kSatName, U::kSatLongitude, U::kFecRate, U::kModulationOrder, U::kRequiredTarget, U::kRate, U::kModcodText,
     U::kCi, U::kHpaCim, "HPA Csat/IMo dB-Hz", "HPA C/IM dB", TRgnUpLinkWin::kWindowType, 6022,
     "Upink Budget (Isolated) (*.rup)|*.rup", "rup", "rgn-uplink.png", 7010, 697, &TRgnUpLinkWin::SetAtmosphere,
     &U::PageControls, [](Owned& owned, TMyWindow* existing, bool hand) {
         return OpenWindow<TRgnUpLinkWin>(owned, existing, hand, NamedUplink, [](UplinkInputRecord& r) {
             NamedUplink(r);
             RealIsolated(r, "London", "51.5N", "0.12W");
         });
     }},
    {"isolated downlink", D::kResourceId, D::kTab, 3, D::kFrequency, D::kAvailability, D::kSiteName, D::kLatitude,
     D::kSatName, D::kSatLongitude, D::kFecRate, D::kModulationOrder, D::kRequiredTarget, D::kRate, D::kModcodText,
     D::kCi, D::kCsatAci, "Csat/ACIo dB-Hz", "C/ACI dB", TRgnDownLinkWin::kWindowType, 6028,
     "Downlink Budget (Isolated) (*.rdn)|*.rdn", "rdn", "rgn-downlink.png", 8010, 708,
     &TRgnDownLinkWin::SetAtmosphere,
     &D::PageControls, [](Owned& owned, TMyWindow* existing, bool hand) {
         return OpenWindow<TRgnDownLinkWin>(owned, existing, hand, NamedDownlink, [](DownlinkInputRecord& r) {
             NamedDownlink(r);
             RealIsolated(r, "Madrid", "40.4N", "3.7W");
             SetText(r.antennaNoise, "auto");
         });
     }},
};

inline const Kind& KindNamed(const char* name)
{
    for (const Kind& k : kKinds)
        if (std::strcmp(k.name, name) == 0) return k;
    throw std::invalid_argument(name);
}

// The window fixture with every kind's windows over the fixed atmosphere.
class KindsFixture : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        for (const Kind& k : kKinds) k.setAtmosphere(&atmosphere);
    }
    void TearDown() override
    {
        owned.clear();
        for (const Kind& k : kKinds) k.setAtmosphere(nullptr);
        WindowFixture::TearDown();
    }
    // Runs the window's edit command; `script` works the open dialog, whose
    // button `close` then ends it.
    static void Edit(const Kind& k, Opened& w, std::function<void(platform::Dialog&)> script, int close)
    {
        platform::SetDialogDriver(k.resource, [script, close, calls = 0](platform::Dialog& dialog) mutable {
            if (calls++ > 0) return int(platform::IDCANCEL);
            if (script) script(dialog);
            return close;
        });
        w.edit();
    }
    Owned owned;
};

}  // namespace lbtest
