// The commands of the File, Edit, Options, Window and Help menus that come
// with the budgets, run in turn on a calculated GEO budget as a user would:
// each is offered, and each answers with its window, dialog, file dialog,
// help or clipboard text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <functional>

#include "framework/app/menus.h"
#include "framework/app/registration.h"
#include "framework/output/preview.h"
#include "linkbudget/geo/geo_form.h"
#include "linkbudget/registration.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

// What a command is seen to do.
struct Seen {
    std::vector<int> dialogs;        // resource ids of the dialogs it opened
    std::vector<int> help;           // help contexts asked for
    std::string fileDialog;          // title of the file dialog it asked, if any
    std::size_t childrenBefore = 0, childrenAfter = 0;
    std::string clipboard;
    bool preview = false;
};

struct CommandRow {
    int command;
    std::function<bool(const Seen&)> answered;
    const char* what;
};

bool Opened(const Seen& s, int dialog) { return s.dialogs == std::vector<int>{dialog}; }

class MenuCommands : public lbtest::WindowFixture {
protected:
    Seen Run(int command)
    {
        Seen s;
        platform::SetDialogInspector([&s](platform::Dialog& d) { s.dialogs.push_back(d.ResourceId()); });
        platform::HelpViewer::SetSink([&s](const platform::HelpRequest& r) {
            s.help.push_back(r.contextId);
            return true;
        });
        const std::string titleBefore = platform::LastFileDialogRequest().title + "\x01";
        platform::QueueFileDialogAnswer({});
        QApplication::clipboard()->clear();
        s.childrenBefore = app->app->Client()->Children().size();
        app->app->Dispatch(command);
        QCoreApplication::processEvents();
        s.childrenAfter = app->app->Client()->Children().size();
        if (platform::LastFileDialogRequest().title + "\x01" != titleBefore)
            s.fileDialog = platform::LastFileDialogRequest().title;
        platform::ClearFileDialogAnswers();
        s.clipboard = QApplication::clipboard()->text().toStdString();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = dynamic_cast<TApxPreviewWin*>(w); p && p->isVisible()) {
                s.preview = true;
                p->close();
            }
        platform::SetDialogInspector({});
        platform::HelpViewer::SetSink({});
        return s;
    }
};

TEST_F(MenuCommands, EveryBudgetCommandIsOfferedAndAnswers)
{
    orbiscope::RegisterFrameworkSubsystem();
    orbiscope::RegisterLinkBudgetSubsystem();
    platform::SetDialogDriver(TUpLinkForm::kResourceId, [](platform::Dialog& d) {
        GeoLinkInputRecord r;
        lbtest::FillNamedHandBudget(r);
        static_cast<TUpLinkForm&>(d).PutScratch(r);
        return int(platform::IDOK);
    });
    const auto file = [](const char* title) { return [title](const Seen& s) { return s.fileDialog == title; }; };
    const auto dialog = [](int id) { return [id](const Seen& s) { return Opened(s, id); }; };
    const auto newWindow = [](int id) {
        return [id](const Seen& s) { return Opened(s, id) && s.childrenAfter == s.childrenBefore + 1; };
    };
    const CommandRow rows[] = {
        {6023, newWindow(5600), "a non-GEO budget and its dialog"},
        {6022, newWindow(5520), "an isolated uplink budget and its dialog"},
        {6028, newWindow(5522), "an isolated downlink budget and its dialog"},
        {6017, newWindow(550), "a country file and its country dialog"},
        {6018, newWindow(445), "a satellite file and its satellite dialog"},
        {6014, newWindow(14030), "a GEO budget, calculated by its dialog, active from here on"},
        {orbiscope::CM_FILEOPEN, file("Open"), "the open dialog"},
        {orbiscope::CM_FILESAVE, file("Save As"), "the save dialog of an untitled document"},
        {orbiscope::CM_SAVETABBED, file("Save Output As Tabbed Text"), "the tabbed-text export"},
        {orbiscope::CM_FILESAVEAS, file("Save As"), "the save dialog"},
        {orbiscope::CM_SAVEHTML, file("Save Output As HTML"), "the HTML export"},
        {orbiscope::CM_EXPORTBATCH, file("Export Input To Compatible Batch File Format"), "the input export"},
        {orbiscope::CM_GEOBATCH, dialog(6800), "the GEO batch dialog"},
        {orbiscope::CM_EXPORTDISA, file("Export Output to DISA Template Format"), "the results export"},
        {orbiscope::CM_FILEPRINTPREVIEW, [](const Seen& s) { return s.preview; }, "the print preview"},
        {orbiscope::CM_FILEPRINT, file("Print To PDF File"), "printing (to a file, without a printer)"},
        {orbiscope::CM_EDITCOPY, [](const Seen& s) { return s.clipboard.rfind("Link Budget", 0) == 0; },
         "the report on the clipboard"},
        {orbiscope::CM_EDITACTIVE, dialog(14030), "the active budget's dialog"},
        {orbiscope::CM_SETUP, dialog(30), "the set-up dialog"},
        {orbiscope::CM_HELPCONTENTS, [](const Seen& s) { return s.help == std::vector<int>{0}; }, "the help contents"},
        {orbiscope::CM_HELPABOUT, dialog(22000), "the about box"},
        {orbiscope::CM_FILECLOSE, [](const Seen& s) { return s.childrenAfter + 1 == s.childrenBefore; },
         "the active window closed"},
        {orbiscope::CM_CLOSEALLDOCS, [](const Seen& s) { return s.childrenBefore > 0 && s.childrenAfter == 0; },
         "every document closed"},
    };
    for (const CommandRow& r : rows) {
        EXPECT_TRUE(app->app->IsEnabled(r.command)) << r.command << ": " << r.what;
        if (r.command == orbiscope::CM_FILECLOSE) {
            // The Window menu's commands, with windows to arrange, before they go.
            for (int id : {orbiscope::CM_CASCADE, orbiscope::CM_TILE, orbiscope::CM_TILEHORZ, orbiscope::CM_ARRANGEICONS,
                           orbiscope::CM_CLOSECHILDREN, orbiscope::CM_FILEPRINTERSETUP})
                EXPECT_TRUE(app->app->IsEnabled(id)) << id;
        }
        EXPECT_TRUE(r.answered(Run(r.command))) << r.command << ": " << r.what;
    }
}

}  // namespace
