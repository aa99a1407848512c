// Runs one menu command of the whole program and records what a user would
// see come of it: a window, a dialog, a message, a file dialog, help, a
// printout or its preview, the page set-up, the clipboard, the document
// written, the windows rearranged or closed, the frame closed.  Whatever a
// command leaves up that should have gone (a dialog, a message, a stray
// top-level window) is recorded too.
#pragma once

#include <QPointer>
#include <QRect>
#include <set>
#include <string>
#include <vector>

#include "platform/messagebox.h"
#include "tests/desktop/program/dialog_walk.h"
#include "tests/desktop/program/installed_program.h"

namespace platform {
class MdiChild;
}

namespace wholeprogram {

enum class Effect {
    NewWindow, Dialog, Message, FileDialog, Help, Printed, Preview, PageSetup, Clipboard, DocumentWritten,
    WindowsArranged, WindowClosed, FrameClosed,
};
const char* EffectName(Effect effect);

struct CommandOutcome {
    int command = 0;
    bool enabled = false;
    std::set<Effect> effects;
    std::vector<int> dialogs;                      // resource ids, in the order they opened
    std::vector<platform::MessageBoxCall> messages;
    std::vector<std::string> newWindows;           // titles of those opened and still open
    std::vector<int> newWindowTypes;
    bool newWindowsShowSomething = true;           // each has lines, a picture or a plot
    int windowsClosed = 0;                         // open before, gone after
    int windowsOpen = 0;                           // after the command
    std::vector<std::string> leftOpen;             // what is still up that should not be
    // One line for a failure message.
    std::string Describe() const;
};

class CommandProbe {
public:
    CommandProbe(InstalledProgram& program, DialogWalk& dialogs);
    ~CommandProbe();
    CommandProbe(const CommandProbe&) = delete;
    CommandProbe& operator=(const CommandProbe&) = delete;

    // Runs the command when it is enabled, as the menu does, and lets the
    // program settle (posted commands, closed windows).  Preview windows it
    // opened are counted, then closed.  A file dialog it opens is answered
    // with `chosenFile`, or cancelled when there is none.
    CommandOutcome Run(int command, const std::string& chosenFile = {});

private:
    struct Before;
    Before Observe() const;
    std::vector<std::string> StillUp() const;

    InstalledProgram& program_;
    DialogWalk& dialogs_;
    std::vector<platform::MessageBoxCall> messages_;
    int helpRequests_ = 0;
    int pageSetups_ = 0;
};

}  // namespace wholeprogram
