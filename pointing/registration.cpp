#include "pointing/registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterPointingSubsystem() {}

}  // namespace orbiscope
