// The table window and the builders of the Table menu.
#pragma once

#include <functional>

class TTableWin;

namespace orbiscope {

// Registers the table window (type 2) and the builders of its commands.
void RegisterTableWindows();

// Binds a Table command to a builder that fills the new table window.
using TableBuilder = std::function<void(TTableWin& window)>;
void RegisterTableBuilder(int commandId, TableBuilder builder);

}  // namespace orbiscope
