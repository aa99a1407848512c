#include "rftools/registration.h"

#include "rftools/graphs/graph_registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterRfToolsSubsystem()
{
    RegisterGraphWindows();
}

}  // namespace orbiscope
