// Orbiscope entry point: each subsystem registers its windows and commands
// with the MDI client, then the application runs.
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"

int main(int argc, char** argv)
{
    orbiscope::RegisterFrameworkSubsystem();
    return OwlMain(argc, argv);
}
