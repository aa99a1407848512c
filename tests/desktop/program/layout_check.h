// What a user sees wrong in a dialog at the default font: a control that
// overlaps another, a text wider (or, wrapped, taller) than its control, a
// control outside the dialog.  Only the controls shown at the time count, so
// a tabbed dialog is checked page by page.
#pragma once

#include <string>
#include <vector>

#include "platform/dialog.h"

namespace desktoptest {

struct LayoutFault {
    int dialog = 0;
    int page = 0;           // index on the dialog's tab bar, 0 without one
    std::string kind;       // "overlap", "text", "outside"
    std::string first;      // control id, or its quoted text when it has none
    std::string second;     // the other control of an overlap, else ""
    std::string Describe() const;
};

// The faults of the page shown now.
std::vector<LayoutFault> CheckShownLayout(platform::Dialog& dialog, int page);
// Every page in turn (the tab bar's pages), back to the page first shown.
std::vector<LayoutFault> CheckEveryPage(platform::Dialog& dialog);

}  // namespace desktoptest
