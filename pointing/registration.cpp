#include "pointing/registration.h"

#include "pointing/alignment/alignment_registration.h"
#include "pointing/orbit/orbit_registration.h"
#include "pointing/orbit/range_form.h"
#include "pointing/sun/sun_registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterPointingSubsystem() {
    RegisterOrbitWindows();
    ::orbit::RegisterRangeCalculator();
    RegisterSunWindows();
    RegisterAlignmentWindows();
}

}  // namespace orbiscope
