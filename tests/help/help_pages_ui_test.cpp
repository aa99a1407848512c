// Every context id that a dialog sends (F1 on a control, its Help button)
// opens a page of the help folder that exists and holds the topic, never the
// contents page by default.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>

#include "framework/app/setup_form.h"
#include "framework/databases/country_win.h"
#include "framework/databases/pickers.h"
#include "framework/databases/satellite_win.h"
#include "framework/forms/calculator.h"
#include "framework/forms/form_controls.h"
#include "linkbudget/nongeo/nongeo_form.h"
#include "linkbudget/nongeo/nongeo_window.h"
#include "linkbudget/modcod/modcod_dialog.h"
#include "linkbudget/isolated/downlink_form.h"
#include "linkbudget/isolated/downlink_window.h"
#include "linkbudget/isolated/uplink_form.h"
#include "linkbudget/isolated/uplink_window.h"
#include "linkbudget/geo/geo_form.h"
#include "linkbudget/geo/geo_window.h"
#include "tests/framework/app/gui_support.h"
#include "tests/platform/file_support.h"

namespace {

// The document windows some dialogs belong to, alive while the dialog is.
struct Owners {
    TUpLinkWin geo{nullptr, nullptr, nullptr};
    TLeoLinkWin nonGeo{nullptr, nullptr, nullptr};
    TRgnUpLinkWin uplink{nullptr, nullptr, nullptr};
    TRgnDownLinkWin downlink{nullptr, nullptr, nullptr};
    TCountryWin country{nullptr, nullptr, nullptr};
    TSatelliteWin satellites{nullptr, nullptr, nullptr};
};

using DialogFactory = std::function<std::unique_ptr<platform::Dialog>(Owners&)>;

// Every dialog built so far, by resource id.
const std::vector<std::pair<const char*, DialogFactory>>& Dialogs()
{
    static const std::vector<std::pair<const char*, DialogFactory>> dialogs = {
        {"set-up", [](Owners&) { return std::make_unique<TSetUpForm>(nullptr); }},
        {"expression evaluator", [](Owners&) { return std::make_unique<TEvalForm>(nullptr); }},
        {"town editor", [](Owners&) { return std::make_unique<TCityForm>(nullptr, "Edit Town"); }},
        {"country name", [](Owners&) { return std::make_unique<TNameForm>(nullptr); }},
        {"town list", [](Owners& o) { return std::make_unique<TSelCityWin>(o.country); }},
        {"satellite editor", [](Owners&) { return std::make_unique<TGeoForm>(nullptr, "Edit Satellite"); }},
        {"satellite list", [](Owners& o) { return std::make_unique<TSelGeoWin>(o.satellites); }},
        {"country picker", [](Owners&) { return std::make_unique<TGetCountryDlg>(nullptr); }},
        {"town picker", [](Owners&) { return std::make_unique<TGetTownDlg>(nullptr); }},
        {"satellite picker", [](Owners&) { return std::make_unique<TGetSatDlg>(nullptr); }},
        {"GEO budget", [](Owners& o) { return std::make_unique<TUpLinkForm>(nullptr, o.geo); }},
        {"non-GEO budget", [](Owners& o) { return std::make_unique<TLeoLinkForm>(nullptr, o.nonGeo); }},
        {"isolated uplink", [](Owners& o) { return std::make_unique<TRgnUpLinkForm>(nullptr, o.uplink); }},
        {"isolated downlink", [](Owners& o) { return std::make_unique<TRgnDownLinkForm>(nullptr, o.downlink); }},
        {"modcod DVB-S", [](Owners&) { return std::make_unique<TGetModcodDlg>(nullptr, 0); }},
        {"modcod DVB-S2", [](Owners&) { return std::make_unique<TGetModcodDlg>(nullptr, 1); }},
        {"modcod NS3", [](Owners&) { return std::make_unique<TGetModcodDlg>(nullptr, 2); }},
        {"modcod NS4", [](Owners&) { return std::make_unique<TGetModcodDlg>(nullptr, 3); }},
    };
    return dialogs;
}

struct SentId {
    int contextId;
    std::string dialog;
    std::string control;  // what the control's table entry says of it
};

// A control as the failure names it: its own text, or the label on its
// left in the same row.
std::string Describe(const platform::Dialog& d, int id)
{
    const auto& controls = d.Controls();
    const auto it = std::find_if(controls.begin(), controls.end(), [id](const auto& c) { return c.id == id; });
    if (it == controls.end()) return {};
    if (!it->text.empty()) return it->text;
    std::string label;
    int nearest = 1 << 30;
    for (const auto& c : controls) {
        const int gap = it->x - (c.x + c.width);
        if (c.kind != platform::ControlKind::Static || c.text.empty() || gap < -c.width / 2 || std::abs(c.y - it->y) > 6)
            continue;
        if (gap < nearest) nearest = gap, label = c.text;
    }
    return label;
}

// The ids a dialog sends: its Help button, then F1 on each control that
// offers help.
std::vector<SentId> IdsSentBy(const char* name, platform::Dialog& dialog)
{
    std::vector<int> received;
    platform::HelpViewer::SetSink([&received](int id) {
        received.push_back(id);
        return true;
    });
    std::vector<SentId> sent;
    for (const auto& c : dialog.Controls())
        if (c.kind == platform::ControlKind::PushButton && c.id == platform::IDHELP) {
            dialog.OnButton(platform::IDHELP);
            for (int id : received) sent.push_back({id, name, "Help button"});
            received.clear();
        }
    for (QObject* child : dialog.children())
        if (auto* control = dynamic_cast<TMyControl*>(child)) {
            control->EvHelp();
            for (int id : received) sent.push_back({id, name, Describe(dialog, control->Id())});
            received.clear();
        }
    platform::HelpViewer::SetSink({});
    return sent;
}

TEST(HelpPages, EveryIdADialogSendsHasItsTopic)
{
    testsupport::AppFixture f;
    // The pages of the build's program folder, as the program finds them.
    platform::SetProgramDirectoryOverride(QCoreApplication::applicationDirPath().toStdString());
    Owners owners;
    std::size_t total = 0;
    for (const auto& [name, make] : Dialogs()) {
        std::unique_ptr<platform::Dialog> dialog = make(owners);
        const std::vector<SentId> sent = IdsSentBy(name, *dialog);
        EXPECT_FALSE(sent.empty()) << name << " sends no help id";
        for (const SentId& s : sent) {
            ++total;
            const std::optional<platform::HelpTopic> topic = platform::FindHelpTopic(s.contextId);
            EXPECT_TRUE(topic.has_value()) << s.dialog << ": " << s.control << " (" << s.contextId << ") has no help topic";
        }
    }
    EXPECT_GT(total, 100u);  // the budget dialogs alone have more fields than that
}

TEST(HelpPages, ATopicIsItsOwnPageOrAnAnchorInOne)
{
    testsupport::AppFixture f;
    const std::filesystem::path help = f.dir.Path() / "help";
    std::filesystem::create_directories(help);
    testfiles::WriteText(help / "index.html", "<html><body>contents</body></html>");
    testfiles::WriteText(help / "30.html", "<html><body><a name=\"31\"></a></body></html>");
    testfiles::WriteText(help / "form.html", "<html><body><h2 id=\"4100\">x</h2><a name='4101'>y</a>"
                                                "<p>4102 is named in the text only</p></body></html>");
    struct Case {
        int id;
        const char* page;  // null: no topic
        const char* anchor;
    };
    const Case cases[] = {
        {30, "30.html", ""}, {31, "30.html", "31"}, {4100, "form.html", "4100"}, {4101, "form.html", "4101"},
        {4102, nullptr, ""}, {3, nullptr, ""},
    };
    for (const Case& c : cases) {
        const auto topic = platform::FindHelpTopic(c.id);
        ASSERT_EQ(topic.has_value(), c.page != nullptr) << c.id;
        if (!topic) continue;
        EXPECT_EQ(topic->page.filename(), c.page) << c.id;
        EXPECT_EQ(topic->anchor, c.anchor) << c.id;
    }
}

}  // namespace
