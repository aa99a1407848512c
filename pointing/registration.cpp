#include "pointing/registration.h"

#include "pointing/alignment/alignment_registration.h"
#include "pointing/orbit/orbit_registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterPointingSubsystem() {
    RegisterOrbitWindows();
    RegisterAlignmentWindows();
}

}  // namespace orbiscope
