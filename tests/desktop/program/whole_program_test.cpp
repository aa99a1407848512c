#include <gtest/gtest.h>

#include <iostream>
#include <chrono>

#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "tests/desktop/program/command_probe.h"
#include "tests/desktop/program/documents.h"

namespace {

using namespace wholeprogram;

TEST(WholeProgram, Explore)
{
    InstalledProgram program;
    DialogWalk dialogs;
    Documents documents(program, dialogs);
    for (const auto& p : documents.Problems()) std::cout << "PROBLEM " << p << "\n";
    for (const auto& f : documents.Files()) std::cout << "FILE " << f.windowType << " " << f.path << "\n";
    if (getenv("ONLYDOCS")) return;
    CommandProbe probe(program, dialogs);
    std::vector<int> states = {0};
    for (int t : Documents::BuiltWindowTypes()) states.push_back(t);
    for (int state : states) {
        for (int id : orbiscope::MainMenuCommands()) {
            for (auto* c : program.App().Client()->Children()) c->CloseWithoutAsking();
            SettleEvents();
            if (!program.App().Frame()->isVisible()) program.App().Frame()->show();
            dialogs.TakeOpened();
            if (id == 6010 && (state == 15 || state == 17)) {
                platform::SetMessageBoxSink([](const platform::MessageBoxCall& c) { std::cout << "MSG " << c.caption << ": " << c.text << "\n"; return 1; });
                dialogs.SetAccepting(true);
            }
            auto* made = state != 0 ? documents.OpenWindow(state) : nullptr;
            dialogs.SetAccepting(false);
            if (id == 6010 && made) {
                auto* doc = dynamic_cast<TOrbiscopeMDIChild*>(made)->Document();
                std::cout << "MADE " << state << " lines " << doc->Lines() << " dialogs";
                for (int d : dialogs.TakeOpened()) std::cout << " " << d;
                std::cout << "\n";
            }
            if (state != 0 && !made) {
                std::cout << "STATE " << state << " cannot be made\n";
                break;
            }
            auto t0 = std::chrono::steady_clock::now();
            const CommandOutcome o = probe.Run(id);
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
            std::cout << "S" << state << " " << ms << "ms " << o.Describe() << "\n";
        }
    }
}

}  // namespace
