// Plugs the look-angles (type 5, ".ang") and dual-feed (type 6, ".duo")
// windows into the program.
#pragma once

namespace orbiscope {

void RegisterAlignmentWindows();

}  // namespace orbiscope
