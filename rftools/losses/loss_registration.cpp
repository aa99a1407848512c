#include "rftools/losses/loss_registration.h"

#include "framework/app/registration.h"
#include "rftools/losses/rain_atten_win.h"

namespace orbiscope {

void RegisterLossWindows()
{
    RegisterWindowFactory(TRainAttenWin::kWindowType,
                          [](const char* fileName) { return new TRainAttenWin(nullptr, nullptr, fileName); });
}

}  // namespace orbiscope
