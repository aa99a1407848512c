// Every command of the main menu, run in every state a user meets: no window
// open, then one window of each window type active.  Before the states, one
// pass with no window open presses the buttons of every dialog it meets, so
// that the dialogs behind them are reached too.  Between two commands the
// state is put back: what a command opened is closed, what it closed is
// opened again, the window is put back where it was and given the focus.
#pragma once

#include <QPointer>
#include <QRect>
#include <string>
#include <vector>

#include "tests/desktop/program/command_probe.h"
#include "tests/desktop/program/documents.h"

namespace wholeprogram {

// The state with no window open; the others are window types.
inline constexpr int kNoWindow = 0;

struct StateOutcome {
    int state = kNoWindow;
    CommandOutcome outcome;
};

struct MenuWalk {
    std::vector<CommandOutcome> exploration;  // the first pass, buttons pressed
    std::vector<StateOutcome> outcomes;
    std::vector<std::string> faults;          // states that could not be made
};

// Runs the walk; the dialog walk keeps what it saw of every dialog.
MenuWalk WalkMenus(InstalledProgram& program, Documents& documents, DialogWalk& dialogs);

// The window types of the program, then kNoWindow first.
std::vector<int> States();

}  // namespace wholeprogram
