#include "rftools/tables/table_registration.h"

#include "framework/app/registration.h"
#include "rftools/tables/table_win.h"

namespace orbiscope {

void RegisterTableBuilder(int commandId, TableBuilder builder)
{
    RegisterWindowBuilder(commandId, [builder = std::move(builder)](TMyWindow& window, int) {
        if (auto* table = dynamic_cast<TTableWin*>(&window)) builder(*table);
    });
}

void RegisterTableWindows()
{
    RegisterWindowFactory(TTableWin::kWindowType,
                          [](const char* fileName) { return new TTableWin(nullptr, nullptr, fileName); });
    const std::pair<int, void (TTableWin::*)()> builders[] = {
        {6410, &TTableWin::NoiseFigureTable},
        {6411, &TTableWin::StartNationalLookAngles},
        {6413, &TTableWin::StartDualFeedTable},
        {6412, &TTableWin::StartVisibleSatellites},
        {6426, &TTableWin::StartVisibleSatellites2Sites},
        {6414, &TTableWin::PolarMountTable},
        {6415, &TTableWin::SolarTransitTable},
        {6417, &TTableWin::BeamwidthTable},
        {6419, &TTableWin::AntennaGainTable},
        {6420, &TTableWin::IlluminationTable},
        {6421, &TTableWin::EirpApertureTable},
        {6422, &TTableWin::ModulationTable},
        {6428, &TTableWin::OffAxisGainTable},
    };
    for (const auto& [command, build] : builders)
        RegisterTableBuilder(command, [b = build](TTableWin& window) { (window.*b)(); });
}

}  // namespace orbiscope
