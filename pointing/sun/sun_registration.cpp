#include "pointing/sun/sun_registration.h"

#include "framework/app/registration.h"
#include "pointing/alignment/magvar_batch.h"
#include "pointing/sun/solar_batch_forms.h"
#include "pointing/sun/solar_out_win.h"

namespace orbiscope {

void RegisterSunWindows()
{
    RegisterWindowFactory(TSolarOutWin::kWindowType,
                          [](const char* fileName) { return new TSolarOutWin(nullptr, nullptr, fileName); });
    sun::RegisterSolarBatches();
    RegisterMagVarBatch();
}

}  // namespace orbiscope
