#include "framework/databases/databases.h"

#include "framework/databases/country_win.h"
#include "framework/databases/pickers.h"
#include "framework/databases/satellite_win.h"

namespace databases {

void RegisterDatabases()
{
    RegisterCountryWindow();
    RegisterSatelliteWindow();
    RegisterPickers();
}

}  // namespace databases
