#include "linkbudget/registration.h"

#include "framework/app/registration.h"
#include "framework/databases/pickers.h"
#include "linkbudget/leo_form.h"
#include "linkbudget/leo_win.h"
#include "linkbudget/rgn_downlink_form.h"
#include "linkbudget/rgn_downlink_win.h"
#include "linkbudget/rgn_uplink_form.h"
#include "linkbudget/rgn_uplink_win.h"
#include "linkbudget/uplink_form.h"
#include "linkbudget/uplink_win.h"

namespace orbiscope {

void RegisterLinkBudgetSubsystem()
{
    RegisterWindowFactory(TUpLinkWin::kWindowType,
                          [](const char* fileName) { return new TUpLinkWin(nullptr, nullptr, fileName); });
    RegisterWindowFactory(TRgnUpLinkWin::kWindowType,
                          [](const char* fileName) { return new TRgnUpLinkWin(nullptr, nullptr, fileName); });
    RegisterWindowFactory(TRgnDownLinkWin::kWindowType,
                          [](const char* fileName) { return new TRgnDownLinkWin(nullptr, nullptr, fileName); });
    RegisterWindowFactory(TLeoLinkWin::kWindowType,
                          [](const char* fileName) { return new TLeoLinkWin(nullptr, nullptr, fileName); });
    // The Site and Satellite buttons pick from the town and satellite databases.
    TUpLinkForm::SetSitePicker([](TForm& form) { return databases::PickTown(&form); });
    TUpLinkForm::SetSatellitePicker([](TForm& form) { return databases::PickSatellite(&form); });
    TLeoLinkForm::SetSitePicker([](TForm& form) { return databases::PickTown(&form); });
    TRgnUpLinkForm::SetSitePicker([](TForm& form) { return databases::PickTown(&form); });
    TRgnUpLinkForm::SetSatellitePicker([](TForm& form) { return databases::PickSatellite(&form); });
    TRgnDownLinkForm::SetSitePicker([](TForm& form) { return databases::PickTown(&form); });
    TRgnDownLinkForm::SetSatellitePicker([](TForm& form) { return databases::PickSatellite(&form); });
}

}  // namespace orbiscope
