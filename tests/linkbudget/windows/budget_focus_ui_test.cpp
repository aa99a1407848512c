// Every field of every tabbed budget dialog, made to fail alone with each
// check it has (empty, invalid character, range), and each check that weighs
// a field against others: by the time OK shows the message, the field's page
// is the one shown and the field holds the focus.
#include <gtest/gtest.h>

#include <QTabBar>
#include <algorithm>
#include <set>
#include <string>

#include "tests/linkbudget/windows/budget_kinds.h"

namespace {

using namespace lbtest;
using Texts = std::vector<std::pair<int, const char*>>;
using Checks = std::vector<std::pair<int, int>>;

// What a dialog is set to before a field is made to fail, so that the
// fields checked only in some settings are checked: the interferers or the
// known totals, a geostationary satellite or a typed geometry.  Every
// setting types its rain rates and leaves the HPA power and the code rate
// open to typing.
struct Setting {
    const char* name;
    const char* kind;
    Texts texts;
    Checks checks;
};

template <class F>
Setting Isolated(const char* name, const char* kind, bool geo)
{
    return {name, kind, {{F::kRainRate, "50"}, {F::kSatLongitude, "10E"}, {F::kModcodText, "Manual"}},
            {{F::kItuRate, 1}, {F::kClearSky, 0}, {F::kItuAuto, 0}, {F::kGeo, geo}, {F::kNonGeo, !geo}}};
}

std::vector<Setting> Settings()
{
    const Texts bentPipe = {{G::kUpRainRate, "50"}, {G::kDnRainRate, "50"}, {G::kCarriersPerTransponder, "AUTO"},
                            {G::kModcodText, "Manual"}};
    const Checks rain = {{G::kUpItuRate, 1}, {G::kUpClearSky, 0}, {G::kUpItuAuto, 0},
                         {G::kDnItuRate, 1}, {G::kDnClearSky, 0}, {G::kDnItuAuto, 0}};
    Setting interferers{"GEO interferers", "GEO", bentPipe, rain};
    const char* const longitudes[] = {"13E", "16E", "19E", "22E"};
    for (int i = 0; i < 4; ++i)
        interferers.texts.insert(interferers.texts.end(),
                                 {{G::kUpAsiDensity1 + i, "-60"}, {G::kDnAsiDensity1 + i, "-60"},
                                  {G::kUpAsiLongitude1 + i, longitudes[i]}, {G::kDnAsiLongitude1 + i, longitudes[i]}});
    interferers.checks.insert(interferers.checks.end(),
                              {{G::kUpKnownTotal, 0}, {G::kDnKnownTotal, 0}, {G::kUpInclude2, 1}, {G::kUpInclude3, 1},
                               {G::kUpInclude4, 1}, {G::kDnInclude2, 1}, {G::kDnInclude3, 1}, {G::kDnInclude4, 1}});
    Setting totals{"GEO known totals", "GEO", bentPipe, rain};
    totals.checks.insert(totals.checks.end(), {{G::kUpKnownTotal, 1}, {G::kDnKnownTotal, 1}});
    const Texts leo = {{L::kUpRainRate, "50"}, {L::kDnRainRate, "50"}, {L::kCarriersPerTransponder, "AUTO"},
                       {L::kModcodText, "Manual"}};
    return {interferers, totals, {"non-GEO", "non-GEO", leo, rain},
            Isolated<U>("uplink GEO", "isolated uplink", true), Isolated<U>("uplink non-GEO", "isolated uplink", false),
            Isolated<D>("downlink GEO", "isolated downlink", true),
            Isolated<D>("downlink non-GEO", "isolated downlink", false)};
}

// A field made to fail: `texts` typed over a setting; the failure is shown
// at `field`.
struct Failure {
    std::string setting;
    Texts texts;
    int field;
};

// The texts the walk types into each field in turn: together they fail every
// check of a field of any type (the last one every range).
const char* const kBadTexts[] = {"", "x", "99999999"};

// The checks that weigh a field against others, each shown at the field the
// user has to change.
const Failure kCrossChecks[] = {
    {"GEO interferers", {{G::kTransponderIbo, "auto"}, {G::kTransponderObo, "AUTO"}}, G::kTransponderIbo},
    {"non-GEO", {{L::kTransponderIbo, "auto"}, {L::kTransponderObo, "AUTO"}}, L::kTransponderIbo},
    {"GEO interferers", {{G::kUpAsiLongitude1, "10.00E"}}, G::kSatLongitude},
    {"GEO interferers", {{G::kDnAsiLongitude3, "10.00E"}}, G::kSatLongitude},
    {"GEO known totals", {{G::kUpEfficiency, "+99"}}, G::kUpEfficiency},
    {"GEO known totals", {{G::kDnEfficiency, "+99"}}, G::kDnEfficiency},
    {"non-GEO", {{L::kDnEfficiency, "+99"}}, L::kDnEfficiency},
    {"uplink GEO", {{U::kEfficiency, "+99"}}, U::kEfficiency},
    {"downlink GEO", {{D::kEfficiency, "+99"}}, D::kEfficiency},
    {"GEO known totals", {{G::kModulationOrder, "6"}}, G::kModulationOrder},
    {"non-GEO", {{L::kModulationOrder, "6"}}, L::kModulationOrder},
    {"uplink GEO", {{U::kModulationOrder, "6"}}, U::kModulationOrder},
    {"downlink GEO", {{D::kModulationOrder, "6"}}, D::kModulationOrder},
    {"GEO known totals", {{G::kCarrierSpacing, "1.2"}}, G::kCarrierSpacing},
    {"non-GEO", {{L::kCarrierSpacing, "1.2"}}, L::kCarrierSpacing},
    {"uplink non-GEO", {{U::kCarrierSpacing, "1.2"}}, U::kCarrierSpacing},
    {"downlink non-GEO", {{D::kCarrierSpacing, "1.2"}}, D::kCarrierSpacing},
};

class FailingFieldPage : public KindsFixture {
protected:
    // What the first box of a refused OK found.
    struct Seen {
        bool shown = false;
        std::string message;
        int page = -1, focus = 0;
    };

    // Types `failure` over its setting in the dialog of `w`, on a page other
    // than the field's, and presses OK once.
    Seen Run(const Kind& k, Opened& w, const Setting& s, const Failure& failure)
    {
        int fieldPage = 0;
        const auto& pages = k.pages();
        for (std::size_t p = 0; p < pages.size(); ++p)
            if (std::count(pages[p].begin(), pages[p].end(), failure.field)) fieldPage = int(p);
        std::vector<std::string> kept;
        for (const auto& [id, text] : failure.texts) kept.push_back(w.field(id));
        Seen seen;
        platform::Dialog* open = nullptr;
        platform::SetMessageBoxSink([&](const platform::MessageBoxCall& c) {
            if (open && !open->Closed() && !seen.shown) {
                seen = {true, c.caption + ": " + c.text, qobject_cast<QTabBar*>(open->Control(k.tab))->currentIndex(),
                        open->ControlId(open->focusWidget())};
            }
            return int(platform::IDOK);
        });
        platform::SetDialogDriver(k.resource, [&](platform::Dialog& d) {
            if (open) return int(platform::IDCANCEL);
            open = &d;
            for (const auto& [id, text] : s.texts) d.SetControlText(id, text);
            for (const auto& [id, state] : s.checks) d.SetCheck(id, state);
            for (const auto& [id, text] : failure.texts) d.SetControlText(id, text);
            auto* tabs = qobject_cast<QTabBar*>(d.Control(k.tab));
            tabs->setCurrentIndex(fieldPage);  // the pages are enabled afresh on the way to another
            tabs->setCurrentIndex((fieldPage + 1) % tabs->count());
            return int(platform::IDOK);
        });
        w.edit();
        open = nullptr;
        // The next run starts from the record as it was.
        for (std::size_t i = 0; i < kept.size(); ++i) w.set(failure.texts[i].first, kept[i].c_str());
        w.forgetTyping();
        if (seen.shown && (seen.page != fieldPage || seen.focus != failure.field)) {
            std::string typed;
            for (const auto& [id, text] : failure.texts) typed += " " + std::to_string(id) + "=\"" + text + "\"";
            ADD_FAILURE() << s.name << ":" << typed << " shows \"" << seen.message << "\" on page " << seen.page
                          << " with the focus on " << seen.focus << ", not on " << failure.field << " on page "
                          << fieldPage;
        }
        return seen;
    }
    // The dialog's entries, in record order.
    static std::vector<int> Entries(const Kind& k, Opened& w)
    {
        std::vector<int> ids;
        platform::SetDialogDriver(k.resource, [&ids](platform::Dialog& d) {
            for (const platform::ControlSpec& c : d.Controls())
                if (c.kind == platform::ControlKind::Edit && c.transfer) ids.push_back(c.id);
            return int(platform::IDCANCEL);
        });
        w.edit();
        return ids;
    }
};

TEST_F(FailingFieldPage, EveryFieldOfEveryTabbedDialog)
{
    const std::vector<Setting> settings = Settings();
    for (const Kind& k : kKinds) {
        std::vector<int> entries;
        std::set<int> failed;
        for (const Setting& s : settings) {
            if (s.kind != std::string(k.name)) continue;
            Opened w = k.open(owned, true);
            if (entries.empty()) entries = Entries(k, w);
            for (int id : entries)
                for (const char* bad : kBadTexts)
                    if (Run(k, w, s, {s.name, {{id, bad}}, id}).shown) failed.insert(id);
        }
        // The modcod text and the downlink's LNB gain take any text.
        for (int id : entries) {
            const bool anyText = id == k.modcodText || (k.resource == D::kResourceId && id == D::kLnbGain);
            EXPECT_TRUE(anyText || failed.count(id)) << k.name << ": field " << id << " never failed";
        }
    }
    for (const Failure& f : kCrossChecks) {
        const Setting& s = *std::find_if(settings.begin(), settings.end(),
                                         [&f](const Setting& x) { return x.name == f.setting; });
        const Kind& k = KindNamed(s.kind);
        Opened w = k.open(owned, true);
        EXPECT_TRUE(Run(k, w, s, f).shown) << f.setting << ": field " << f.field << " passed";
    }
}

}  // namespace
