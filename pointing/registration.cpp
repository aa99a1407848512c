#include "pointing/registration.h"

#include "pointing/orbit/range_form.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterPointingSubsystem()
{
    ::orbit::RegisterRangeCalculator();
}

}  // namespace orbiscope
