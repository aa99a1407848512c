#include "rftools/registration.h"

#include "rftools/tables/table_registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterRfToolsSubsystem()
{
    RegisterTableWindows();
}

}  // namespace orbiscope
