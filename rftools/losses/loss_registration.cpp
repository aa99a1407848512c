#include "rftools/losses/loss_registration.h"

#include "framework/app/registration.h"
#include "rftools/losses/loss_table_builders.h"
#include "rftools/losses/rain_atten_win.h"
#include "rftools/tables/table_registration.h"

namespace orbiscope {

void RegisterLossWindows()
{
    RegisterWindowFactory(TRainAttenWin::kWindowType,
                          [](const char* fileName) { return new TRainAttenWin(nullptr, nullptr, fileName); });
    RegisterTableBuilder(6425, losses::AvailabilityLosses);
    RegisterTableBuilder(6427, losses::StartNationalAtmosLosses);
    RegisterTableBuilder(6429, losses::FrequencyLosses);
}

}  // namespace orbiscope
