#include "pointing/orbit/orbit_registration.h"

#include "framework/app/registration.h"
#include "framework/databases/pickers.h"
#include "pointing/orbit/loc_form.h"
#include "pointing/orbit/tle_win.h"

namespace orbiscope {

void RegisterOrbitWindows() {
    RegisterWindowFactory(TTleWin::kWindowType,
                          [](const char* fileName) { return new TTleWin(nullptr, nullptr, fileName); });
    TLocForm::SetSitePicker([](TForm& form) { return databases::PickTown(&form); });
}

}  // namespace orbiscope
