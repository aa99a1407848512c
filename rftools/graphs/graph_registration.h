// The graph window, its printout and the builders of the Graph menu's
// commands, registered with the MDI client.
#pragma once

namespace orbiscope {

void RegisterGraphWindows();

}  // namespace orbiscope
