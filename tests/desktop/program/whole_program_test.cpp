// The whole program, offscreen, in one process, over a program folder and a
// home of its own: every command of the main menu in every state (no window,
// then one window of each type active) shows what it is for or is disabled
// where it should be; every dialog it opens is cancelled cleanly, fits its
// controls and has a help topic for each id it sends; one document of every
// type opens and closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include <QAction>
#include <QMenu>

#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "framework/app/registration.h"
#include "platform/services.h"
#include "tests/desktop/program/menu_walk.h"

namespace {

using namespace wholeprogram;

// ---- what is disabled, and why ------------------------------------------------
struct DisabledRow {
    const char* reason;
    std::vector<int> commands;
    std::vector<int> states;
};

// The window types, as the states of the walk.
constexpr int kBitmap = 1, kTable = 2, kGraph = 3, kTle = 4, kCountry = 7, kSatellites = 8, kGeoBudget = 10;

std::vector<int> StatesBut(int excluded)
{
    std::vector<int> states = States();
    std::erase(states, excluded);
    return states;
}

const std::vector<DisabledRow>& DisabledTable()
{
    using namespace orbiscope;
    static const std::vector<DisabledRow> rows = {
        {"no document window is open to close, save, copy, print or arrange",
         {CM_FILECLOSE, CM_CLOSEALLDOCS, CM_FILESAVE, CM_FILESAVEAS, CM_SAVETABBED, CM_SAVEHTML, CM_EDITCOPY,
          CM_FILEPRINT, CM_FILEPRINTPREVIEW, CM_FILEPRINTERSETUP, CM_EDITACTIVE, CM_CASCADE, CM_TILE, CM_TILEHORZ,
          CM_ARRANGEICONS, CM_CLOSECHILDREN},
         {kNoWindow}},
        {"the two GEO exports belong to a calculated GEO link budget window",
         {CM_EXPORTBATCH, CM_EXPORTDISA},
         StatesBut(kGeoBudget)},
        {"a picture, a table, a graph and a TLE file are no documents to save",
         {CM_FILESAVE, CM_FILESAVEAS},
         {kBitmap, kTable, kGraph, kTle}},
        {"a picture has no report to export; a graph is drawn again from its menu, not exported",
         {CM_SAVETABBED, CM_SAVEHTML},
         {kBitmap, kGraph}},
        {"the town and satellite lists are edited in their dialogs, never reported, copied or printed",
         {CM_SAVETABBED, CM_SAVEHTML, CM_EDITCOPY, CM_FILEPRINT, CM_FILEPRINTPREVIEW, CM_FILEPRINTERSETUP},
         {kCountry, kSatellites}},
        {"Edit Active Document edits the windows of type 4 and above; pictures, tables and graphs have no inputs",
         {CM_EDITACTIVE},
         {kBitmap, kTable, kGraph}},
    };
    return rows;
}

const char* DisabledReason(int command, int state)
{
    for (const DisabledRow& row : DisabledTable()) {
        const bool listed = std::count(row.commands.begin(), row.commands.end(), command) &&
                            std::count(row.states.begin(), row.states.end(), state);
        if (listed) return row.reason;
    }
    return nullptr;
}

// ---- what an enabled command shows ----------------------------------------
enum class Windows {
    Unchanged,     // no window opened or closed
    OneNew,        // one window opens and stays
    FormOrWindow,  // a form (cancelled: nothing stays), or, without one, a window with content
    ActiveCloses,  // the active window closes
    AllClose,      // no window stays
};

struct Expected {
    Effect effect;
    Windows windows;
};

// The commands of one menu of the frame.
std::vector<int> MenuCommands(const char* title)
{
    for (const platform::MenuDef& menu : orbiscope::MainMenu()) {
        if (menu.title != title) continue;
        std::vector<int> ids;
        for (const platform::MenuItemDef& item : menu.items)
            for (const platform::MenuItemDef& leaf : item.children.empty() ? std::vector{item} : item.children)
                if (leaf.id) ids.push_back(leaf.id);
        return ids;
    }
    return {};
}

std::optional<Expected> ExpectedOf(int command)
{
    using namespace orbiscope;
    static const std::map<int, Expected> table = [] {
        std::map<int, Expected> t = {
            {CM_FILEOPEN, {Effect::FileDialog, Windows::Unchanged}},
            {CM_FILECLOSE, {Effect::WindowClosed, Windows::ActiveCloses}},
            {CM_CLOSEALLDOCS, {Effect::WindowClosed, Windows::AllClose}},
            {CM_FILESAVE, {Effect::DocumentWritten, Windows::Unchanged}},
            {CM_FILESAVEAS, {Effect::FileDialog, Windows::Unchanged}},
            {CM_SAVETABBED, {Effect::FileDialog, Windows::Unchanged}},
            {CM_SAVEHTML, {Effect::FileDialog, Windows::Unchanged}},
            {CM_EXPORTBATCH, {Effect::FileDialog, Windows::Unchanged}},
            {CM_EXPORTDISA, {Effect::FileDialog, Windows::Unchanged}},
            {CM_FILEPRINTPREVIEW, {Effect::Preview, Windows::Unchanged}},
            {CM_FILEPRINT, {Effect::Printed, Windows::Unchanged}},
            {CM_FILEPRINTERSETUP, {Effect::PageSetup, Windows::Unchanged}},
            {CM_EXIT, {Effect::FrameClosed, Windows::AllClose}},
            {CM_EDITCOPY, {Effect::Clipboard, Windows::Unchanged}},
            {CM_EDITACTIVE, {Effect::Dialog, Windows::Unchanged}},
            {CM_SETUP, {Effect::Dialog, Windows::Unchanged}},
            {CM_CASCADE, {Effect::WindowsArranged, Windows::Unchanged}},
            {CM_TILE, {Effect::WindowsArranged, Windows::Unchanged}},
            {CM_TILEHORZ, {Effect::WindowsArranged, Windows::Unchanged}},
            {CM_ARRANGEICONS, {Effect::WindowsArranged, Windows::Unchanged}},
            {CM_CLOSECHILDREN, {Effect::WindowClosed, Windows::AllClose}},
            {CM_HELPCONTENTS, {Effect::Help, Windows::Unchanged}},
            {CM_HELPABOUT, {Effect::Dialog, Windows::Unchanged}},
            // Map: the pictures and the time zones open; the viewer asks for a file.
            {6209, {Effect::NewWindow, Windows::OneNew}},
            {6218, {Effect::FileDialog, Windows::Unchanged}},
        };
        // File > New: the window, and its input dialog (cancelled, the window stays).
        for (int id : {6010, 6011, 6014, 6023, 6022, 6028, 6021, 6016, 6017, 6018})
            t[id] = {Effect::Dialog, Windows::OneNew};
        for (int id : {6210, 6222, 6219, 6220}) t[id] = {Effect::NewWindow, Windows::OneNew};
        // The calculators and batch processes, and the GEO batch process of the File menu.
        for (const CalculatorInfo& c : Calculators()) t[c.command] = {Effect::Dialog, Windows::Unchanged};
        // Graphs and tables: their form, or their window straight away.
        for (const char* menu : {"&Graph", "&Table"})
            for (int id : MenuCommands(menu)) t[id] = {Effect::NewWindow, Windows::FormOrWindow};
        return t;
    }();
    if (const auto it = table.find(command); it != table.end()) return it->second;
    return std::nullopt;
}

// What is wrong with an enabled command's outcome, "" when nothing.
std::string Fault(const CommandOutcome& o, int windowsBefore)
{
    const std::optional<Expected> expected = ExpectedOf(o.command);
    if (!expected) return "nothing is written here of what it should show";
    const Expected& e = *expected;
    if (!o.leftOpen.empty()) return "it left something open";
    // With every window in order, no command has anything to warn about.
    if (!o.messages.empty()) return "it showed a message";
    const int opened = int(o.newWindows.size());
    switch (e.windows) {
    case Windows::FormOrWindow:
        if (!o.dialogs.empty()) return opened == 0 ? "" : "its form was cancelled, yet its window stayed";
        if (opened != 1) return "it showed neither a form nor a window";
        return o.newWindowsShowSomething ? "" : "its window shows nothing";
    case Windows::OneNew:
        if (opened != 1 || o.windowsClosed != 0) return "it did not open one window";
        break;
    case Windows::Unchanged:
        if (opened != 0 || o.windowsClosed != 0) return "it opened or closed a window";
        break;
    case Windows::ActiveCloses:
        if (o.windowsClosed != 1 || o.windowsOpen != windowsBefore - 1) return "the active window did not close";
        break;
    case Windows::AllClose:
        if (o.windowsOpen != 0) return "windows stayed open";
        break;
    }
    if (!o.effects.count(e.effect)) return std::string("it led nowhere (expected: ") + EffectName(e.effect) + ")";
    if (e.effect == Effect::NewWindow && !o.newWindowsShowSomething) return "its window shows nothing";
    return "";
}

// ---- the program, shared by the tests of this binary --------------------------
class WholeProgram : public ::testing::Test {
protected:
    struct Session {
        InstalledProgram program;
        DialogWalk dialogs;
        Documents documents{program};
        std::unique_ptr<MenuWalk> walk;
    };

    static void SetUpTestSuite() { session_ = new Session; }
    static void TearDownTestSuite()
    {
        delete session_;
        session_ = nullptr;
    }
    // The walk runs once, for whichever test asks first.
    static const MenuWalk& Walk()
    {
        if (!session_->walk)
            session_->walk = std::make_unique<MenuWalk>(WalkMenus(session_->program, session_->documents, session_->dialogs));
        return *session_->walk;
    }

    static Session* session_;
};
WholeProgram::Session* WholeProgram::session_ = nullptr;

TEST_F(WholeProgram, EveryCommandShowsItsEffectOrIsDisabledWhereItShouldBe)
{
    const MenuWalk& walk = Walk();
    for (const std::string& fault : walk.faults) ADD_FAILURE() << fault;
    for (const CommandOutcome& o : walk.exploration)
        EXPECT_TRUE(o.leftOpen.empty()) << "exploring the dialogs: " << o.Describe();

    for (const StateOutcome& s : walk.outcomes) {
        const CommandOutcome& o = s.outcome;
        const char* reason = DisabledReason(o.command, s.state);
        const std::string where = "state " + std::to_string(s.state) + ", " + o.Describe();
        if (!o.enabled) {
            EXPECT_NE(reason, nullptr) << "disabled for no reason: " << where;
            continue;
        }
        EXPECT_EQ(reason, nullptr) << "enabled although " << (reason ? reason : "") << ": " << where;
        EXPECT_EQ(Fault(o, s.state == kNoWindow ? 0 : 1), "") << where;
    }
}

// ---- documents ---------------------------------------------------------------
// The document types the program reads, by the extension each is opened by.
const std::set<std::string> kDocumentExtensions = {
    ".glb", ".llb", ".rup", ".rdn",                   // the link budgets
    ".upd", ".leo", ".dlb", ".dnd",                   // their older extensions
    ".ang", ".duo", ".sun", ".atn", ".att", ".tle",   // pointing, outages, losses, orbits
    ".bmp", ".gif", ".pcx", ".tif", ".jpg",           // pictures
    ".twn", ".geo",                                   // town and satellite lists
};

// The recent-files list keeps the last six documents opened.
constexpr std::size_t kRecentFileEntries = 6;

TEST_F(WholeProgram, OneDocumentOfEveryTypeOpensShowsItselfAndCloses)
{
    for (const std::string& problem : session_->documents.Problems()) ADD_FAILURE() << problem;
    CommandProbe probe(session_->program, session_->dialogs);
    std::set<std::string> opened;
    for (const SampleDocument& file : session_->documents.Files()) {
        const std::string name = file.path.filename().string();
        const CommandOutcome open = probe.Run(orbiscope::CM_FILEOPEN, file.path.string());
        ASSERT_EQ(open.newWindowTypes, std::vector<int>{file.windowType}) << name << ": " << open.Describe();
        EXPECT_TRUE(open.newWindowsShowSomething) << name << " shows nothing";
        EXPECT_TRUE(open.messages.empty() && open.dialogs.empty() && open.leftOpen.empty())
            << name << " did not open quietly: " << open.Describe();
        // Nothing was changed: it closes without a question.
        const CommandOutcome close = probe.Run(orbiscope::CM_FILECLOSE);
        EXPECT_EQ(close.windowsClosed, 1) << name << ": " << close.Describe();
        EXPECT_EQ(close.windowsOpen, 0) << name << ": " << close.Describe();
        EXPECT_TRUE(close.messages.empty()) << name << ": " << close.Describe();
        opened.insert(file.path.extension().string());
    }
    for (const std::string& extension : kDocumentExtensions)
        EXPECT_TRUE(opened.count(extension)) << "no " << extension << " document was opened";

    // The File menu's recent-files entries, numbered newest first, open those documents again.
    TOrbiscope& app = session_->program.App();
    const std::vector<std::string> recent = app.Recent().Files();
    ASSERT_EQ(recent.size(), kRecentFileEntries);
    QMenu* fileMenu = app.Frame()->Menu("&File");
    ASSERT_NE(fileMenu, nullptr);
    for (std::size_t i = 0; i < recent.size(); ++i) {
        const QString number = QStringLiteral("&%1 ").arg(i + 1);
        QAction* entry = nullptr;
        for (QAction* a : fileMenu->actions())
            if (a->text().startsWith(number)) entry = a;
        ASSERT_NE(entry, nullptr) << "no recent-files entry " << i + 1;
        entry->trigger();
        SettleEvents();
        auto* child = app.Client()->ActiveDocumentChild();
        ASSERT_NE(child, nullptr) << recent[i];
        // A document of an older extension takes its window's own (".att" becomes ".atn").
        EXPECT_EQ(std::filesystem::path(child->Document()->FileName()).replace_extension(),
                  std::filesystem::path(recent[i]).replace_extension());
        EXPECT_EQ(app.Client()->Children().size(), 1u);
        child->CloseWithoutAsking();
        SettleEvents();
    }
}

// ---- dialogs -------------------------------------------------------------------
// Dialogs the walk must reach, so that a change that hides one from it is seen:
// the framework's own, the pickers and record editors, the budgets' input and
// modulation-and-coding dialogs, the GEO batch, the expression evaluator.
constexpr int kDialogsReached[] = {30, 445, 450, 546, 550, 560, 660, 670, 672, 800, 22000,
                                   652, 5520, 5522, 5600, 6800, 14030};

// Dialogs with nothing to explain: no field, no Help button.
const std::map<int, const char*> kDialogsWithoutHelp = {
    {22000, "the about box shows the version and the publisher, with one OK button"},
};

TEST_F(WholeProgram, EveryDialogReachedFitsCancelsAndHasItsHelp)
{
    Walk();
    const std::map<int, DialogSeen>& seen = session_->dialogs.Seen();
    for (int id : kDialogsReached) EXPECT_TRUE(seen.count(id)) << "dialog " << id << " was not reached";
    std::size_t helpIds = 0;
    for (const auto& [id, dialog] : seen) {
        const std::string name = "dialog " + std::to_string(id) + " \"" + dialog.caption + "\"";
        for (const desktoptest::LayoutFault& fault : dialog.layoutFaults) ADD_FAILURE() << fault.Describe();
        EXPECT_TRUE(dialog.cancelledCleanly) << name << " stayed open when cancelled";
        EXPECT_EQ(dialog.helpIds.empty(), kDialogsWithoutHelp.count(id) == 1) << name << ": help ids sent";
        // F1 in a field opens the page its form's Help button opens, at the
        // field's entry (a list that is its form's topic: the page itself).
        // Control ids repeat from form to form: another form's page is no help.
        const auto button = std::find_if(dialog.helpIds.begin(), dialog.helpIds.end(),
                                         [](const HelpIdSent& s) { return s.field == 0; });
        for (const HelpIdSent& sent : dialog.helpIds) {
            ++helpIds;
            EXPECT_TRUE(platform::FindHelpTopic(sent.contextId).has_value())
                << name << ": " << sent.control << " (" << sent.contextId << ") has no help topic";
            if (sent.field == 0) continue;
            if (button != dialog.helpIds.end()) {
                EXPECT_EQ(sent.contextId, button->contextId)
                    << name << ": F1 in " << sent.control << " (" << sent.field << ") opens another page";
            }
            const auto topic = platform::FindFieldTopic(sent.contextId, sent.field);
            if (topic && sent.field != sent.contextId) {
                EXPECT_EQ(topic->anchor, std::to_string(sent.field))
                    << name << ": " << sent.control << " (" << sent.field << ") has no entry on "
                    << topic->page.filename().string();
            }
        }
    }
    EXPECT_GT(helpIds, 500u);  // the budget dialogs alone have more fields than that
}

}  // namespace
