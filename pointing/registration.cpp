#include "pointing/registration.h"

#include "pointing/sun/sun_registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterPointingSubsystem()
{
    RegisterSunWindows();
}

}  // namespace orbiscope
