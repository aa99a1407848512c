#include "rftools/registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterRfToolsSubsystem() {}

}  // namespace orbiscope
