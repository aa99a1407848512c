#include "imaging/registration.h"

#include "imaging/viewer/viewer_registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterImagingSubsystem()
{
    RegisterImagingWindows();
}

}  // namespace orbiscope
