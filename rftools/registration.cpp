#include "rftools/registration.h"

#include "rftools/losses/loss_registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterRfToolsSubsystem() {
    RegisterLossWindows();
}

}  // namespace orbiscope
