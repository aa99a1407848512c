// Plugs this subsystem's windows, builders and calculators into the MDI
// client; called once from the program's entry, before the application runs.
#pragma once

namespace orbiscope {

void RegisterRfToolsSubsystem();

}  // namespace orbiscope
