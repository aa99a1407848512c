// Plugs the atmospheric-losses window and the loss tables into the MDI
// client; called from the subsystem's registration.
#pragma once

namespace orbiscope {

void RegisterLossWindows();

}  // namespace orbiscope
