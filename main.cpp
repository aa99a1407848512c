// Orbiscope entry point: each subsystem registers its windows and commands
// with the MDI client, then the application runs.
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "imaging/registration.h"
#include "linkbudget/registration.h"
#include "pointing/registration.h"
#include "rftools/registration.h"

int main(int argc, char** argv)
{
    orbiscope::RegisterFrameworkSubsystem();
    orbiscope::RegisterLinkBudgetSubsystem();
    orbiscope::RegisterPointingSubsystem();
    orbiscope::RegisterRfToolsSubsystem();
    orbiscope::RegisterImagingSubsystem();
    return OwlMain(argc, argv);
}
