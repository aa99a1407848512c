#include "linkbudget/registration.h"

#include "framework/app/registration.h"
#include "linkbudget/uplink_win.h"

namespace orbiscope {

void RegisterLinkBudgetSubsystem()
{
    RegisterWindowFactory(TUpLinkWin::kWindowType,
                          [](const char* fileName) { return new TUpLinkWin(nullptr, nullptr, fileName); });
}

}  // namespace orbiscope
