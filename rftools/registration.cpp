#include "rftools/registration.h"

#include "rftools/calculators/calculator_registration.h"
#include "rftools/graphs/graph_registration.h"
#include "rftools/losses/loss_registration.h"
#include "rftools/tables/table_registration.h"

namespace orbiscope {

// Each folder of the subsystem registers its own windows and commands.
void RegisterRfToolsSubsystem()
{
    RegisterCalculatorForms();
    RegisterGraphWindows();
    RegisterTableWindows();
    RegisterLossWindows();
}

}  // namespace orbiscope
