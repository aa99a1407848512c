// Every dialog the program opens while a test drives it, seen through the
// dialog inspector: the first time a dialog shows, its layout is checked page
// by page, the help ids it sends (its Help button, F1 on each control) are
// collected, and, while exploring, its other buttons are pressed as a user
// finding their way would, which reaches the dialogs behind them (pickers,
// record editors, the modulation-and-coding choice).  Then, every time, it is
// cancelled the way a user cancels it: its Cancel button, or its only button.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/services.h"
#include "tests/desktop/program/layout_check.h"

namespace wholeprogram {

struct HelpIdSent {
    int contextId = 0;
    int field = 0;        // F1: the control's id; 0 for the Help button
    std::string control;  // "Help button", or what the control's row says of it
};

struct DialogSeen {
    int resourceId = 0;
    std::string caption;
    std::vector<desktoptest::LayoutFault> layoutFaults;
    std::vector<HelpIdSent> helpIds;
    bool hasHelpButton = false;
    bool cancelledCleanly = true;  // its Cancel (or only) button closed it
};

class DialogWalk {
public:
    // Installs the inspector; the destructor removes it.
    DialogWalk();
    ~DialogWalk();
    DialogWalk(const DialogWalk&) = delete;
    DialogWalk& operator=(const DialogWalk&) = delete;

    // Whether the buttons of a dialog seen for the first time are pressed.
    void SetExploring(bool explore) { exploring_ = explore; }
    // The dialogs opened since the last call, in order.
    std::vector<int> TakeOpened();
    const std::map<int, DialogSeen>& Seen() const { return seen_; }

    // Where the help requests of the program go while no dialog is examined.
    void SetHelpListener(std::function<void(int contextId)> listener) { helpListener_ = std::move(listener); }

private:
    void Inspect(platform::Dialog& dialog);
    void Examine(platform::Dialog& dialog, DialogSeen& seen);
    std::vector<HelpIdSent> HelpIdsOf(platform::Dialog& dialog);
    void PressButtons(platform::Dialog& dialog);
    static bool Cancel(platform::Dialog& dialog);

    std::map<int, DialogSeen> seen_;
    std::vector<int> opened_;
    bool exploring_ = true;
    int depth_ = 0;
    std::vector<platform::HelpRequest>* helpCollector_ = nullptr;
    std::function<void(int)> helpListener_;
};

}  // namespace wholeprogram
