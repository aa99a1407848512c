#include "linkbudget/registration.h"

#include "framework/app/registration.h"
#include "framework/databases/pickers.h"
#include "linkbudget/geo/geo_batch_form.h"
#include "linkbudget/nongeo/nongeo_form.h"
#include "linkbudget/nongeo/nongeo_window.h"
#include "linkbudget/isolated/downlink_form.h"
#include "linkbudget/isolated/downlink_window.h"
#include "linkbudget/isolated/uplink_form.h"
#include "linkbudget/isolated/uplink_window.h"
#include "linkbudget/geo/geo_form.h"
#include "linkbudget/geo/geo_window.h"

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
    // File > Run GEO Batch Link Budget Process.
    RegisterCalculator(TGeoBatchForm::kCommand, TGeoBatchForm::Run);
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
