// The program's own pictures: one icon per document window type, the
// toolbar's buttons and the program's icon, drawn as SVG in
// framework/app/icons and built into the program.
#pragma once

#include <QIcon>

namespace orbiscope {

// An icon resource by number (60 the program, 61 to 78 the window types, as
// the window-type table names them); a null icon for a number without one.
QIcon IconResource(int iconId);
// The toolbar button of a command (the bitmap resource of the command's
// number); a null icon for a command without one.
QIcon ToolbarBitmap(int commandId);
// The program's icon (resource 60).
QIcon ProgramIcon();

}  // namespace orbiscope
