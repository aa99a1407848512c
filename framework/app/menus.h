// The main menu (resource 100), the toolbar, the accelerators and the product
// names.  Every command id of the menu and its texts live here.
#pragma once

#include <vector>

#include "platform/mdi.h"

namespace orbiscope {

// The version is the project's (major.minor), set by the build.
#ifndef ORBISCOPE_PRODUCT_VERSION
#define ORBISCOPE_PRODUCT_VERSION "1.0"
#endif
inline constexpr const char* kProductName = "Orbiscope Pro";
inline constexpr const char* kProductVersion = ORBISCOPE_PRODUCT_VERSION;
// The main window title, the application's name and the default caption.
inline constexpr const char* kMainTitle = "Orbiscope Pro " ORBISCOPE_PRODUCT_VERSION;

// Command ids of the frame and the document windows.
enum Command : int {
    CM_FILEOPEN = 24332, CM_FILECLOSE = 24339, CM_CLOSEALLDOCS = 24341, CM_FILESAVE = 24333,
    CM_FILESAVEAS = 24334, CM_SAVETABBED = 6019, CM_SAVEHTML = 6020, CM_EXPORTBATCH = 6026,
    CM_GEOBATCH = 6808, CM_EXPORTDISA = 6027, CM_FILEPRINTPREVIEW = 24340, CM_FILEPRINT = 24337,
    CM_FILEPRINTERSETUP = 24338, CM_EXIT = 24310, CM_EDITCOPY = 24323, CM_EDITACTIVE = 6121,
    CM_SETUP = 6610, CM_CASCADE = 24361, CM_TILE = 24362, CM_TILEHORZ = 24363, CM_ARRANGEICONS = 24364,
    CM_CLOSECHILDREN = 24365, CM_HELPCONTENTS = 6710, CM_HELPABOUT = 6712,
};

// First command id of the recent-files entries (six ids from here).
inline constexpr int kMruFirstCommand = 31001;

const std::vector<platform::MenuDef>& MainMenu();
// Toolbar button commands in order, 0 = separator.
const std::vector<int>& ToolbarCommands();
// Every command id of the main menu, in menu order.
std::vector<int> MainMenuCommands();
// The hint of a command, "" when none.
const char* MenuHint(int id);

}  // namespace orbiscope
