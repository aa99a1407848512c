#include "pointing/alignment/alignment_registration.h"

#include "framework/app/registration.h"
#include "pointing/alignment/angle_win.h"
#include "pointing/alignment/dual_win.h"

namespace orbiscope {

void RegisterAlignmentWindows()
{
    RegisterWindowFactory(TAngleWin::kWindowType,
                          [](const char* fileName) { return new TAngleWin(nullptr, nullptr, fileName); });
    RegisterWindowFactory(TDualWin::kWindowType,
                          [](const char* fileName) { return new TDualWin(nullptr, nullptr, fileName); });
}

}  // namespace orbiscope
