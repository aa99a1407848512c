#include "framework/app/registration.h"

#include "framework/app/about.h"
#include "framework/app/setup_form.h"
#include "framework/databases/databases.h"
#include "framework/forms/calculator.h"
#include "framework/output/print.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace orbiscope {

namespace {
struct Registry {
    std::map<int, WindowFactory> factories;
    std::map<int, WindowBuilder> builders;
    std::map<int, CalculatorRunner> calculators;
    std::map<int, ClientCommand> clientCommands;
};
Registry& Reg()
{
    static Registry r;
    return r;
}

template <class Map>
const typename Map::mapped_type* Lookup(const Map& m, int key)
{
    auto it = m.find(key);
    return it == m.end() ? nullptr : &it->second;
}
}  // namespace

const std::vector<WindowTypeInfo>& WindowTypes()
{
    static const std::vector<WindowTypeInfo> types = {
        {1, "TBitmapWin", "Bitmap", 69, {".bmp", ".gif", ".pcx", ".tif", ".jpg"}, true, 0, 7},
        {2, "TTableWin", "Table", 73, {}, false, 0, 0},
        {3, "TGraphWin", "Graph", 70, {}, false, 0, 0},
        {4, "TTleWin", "TLE File", 78, {".tle"}, true, 6130, 13},
        {5, "TAngleWin", "Look Angles", 67, {".ang"}, true, 6110, 1},
        {6, "TDualWin", "Dual Feed", 68, {".duo"}, true, 6111, 2},
        {7, "TCountryWin", "Country Data", 72, {".twn"}, true, 6117, 4},
        {8, "TSatelliteWin", "Satellite Data", 66, {".geo"}, true, 6118, 5},
        {10, "TUpLinkWin", "GEO Link Budget", 63, {".glb", ".upd"}, true, 6114, 3},
        {11, "TSolarOutWin", "Solar Outage", 61, {".sun"}, true, 6116, 6},
        {14, "TRainAttenWin", "Rain Attenuation", 75, {".atn", ".att"}, true, 6123, 8},
        {15, "TRgnUpLinkWin", "Uplink Budget", 74, {".rup"}, true, 5524, 9},
        {16, "TLeoLinkWin", "Link Budget (Non GEO)", 77, {".llb", ".leo"}, true, 6126, 11},
        {17, "TRgnDownLinkWin", "Downlink Budget", 62, {".rdn", ".dlb", ".dnd"}, true, 5525, 10},
    };
    return types;
}

const WindowTypeInfo* FindWindowType(int type)
{
    for (const auto& t : WindowTypes())
        if (t.type == type) return &t;
    return nullptr;
}

const WindowTypeInfo* FindWindowTypeByExtension(const std::string& extension)
{
    std::string lower = extension;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const auto& t : WindowTypes())
        for (const auto& e : t.extensions)
            if (e == lower) return &t;
    return nullptr;
}

void RegisterWindowFactory(int windowType, WindowFactory factory) { Reg().factories[windowType] = std::move(factory); }
const WindowFactory* FindWindowFactory(int windowType) { return Lookup(Reg().factories, windowType); }
void RegisterWindowBuilder(int commandId, WindowBuilder builder) { Reg().builders[commandId] = std::move(builder); }
const WindowBuilder* FindWindowBuilder(int commandId) { return Lookup(Reg().builders, commandId); }
void RegisterCalculator(int commandId, CalculatorRunner runner) { Reg().calculators[commandId] = std::move(runner); }
const CalculatorRunner* FindCalculator(int commandId) { return Lookup(Reg().calculators, commandId); }
void RegisterClientCommand(int commandId, ClientCommand handler) { Reg().clientCommands[commandId] = std::move(handler); }
const ClientCommand* FindClientCommand(int commandId) { return Lookup(Reg().clientCommands, commandId); }

void ClearRegistrations() { Reg() = Registry{}; }

const std::vector<CalculatorInfo>& Calculators()
{
    static const std::vector<CalculatorInfo> calculators = {
        {6510, "TEvalForm", 800, 166, 17, {162}},
        {6511, "TDegMinForm", 2200, 51, 13, {}},
        {6526, "TMinDegForm", 2230, 54, 14, {}},
        {6513, "TNoiseTempForm", 2300, 54, 23, {}},
        {6514, "TNoiseFigForm", 2400, 54, 22, {}},
        {6515, "TCalcBeamwidthForm", 2500, 80, 10, {}},
        {6516, "TCalcWavelengthForm", 2600, 54, 12, {}},
        {6517, "TCalcFreqForm", 2700, 54, 11, {}},
        {6519, "TSigAvailForm", 2900, 136, 26, {}},
        {6512, "TAntNoiseForm", 24000, 78, 3, {}},
        {6521, "TFocalfDForm", 8000, 67, 18, {}},
        {6520, "TFocalMForm", 8010, 67, 20, {}},
        {6522, "TOffAxisForm", 2650, 142, 24, {134, 138}},
        {6523, "TPowerForm", 2671, 149, 25, {}},
        {6527, "TSolarBatchForm", 590, 363, 31, {341, 345, 349, 355, 357}},
        {6529, "TSunAllSatsForm", 594, 141, 33, {119, 123, 127, 133, 135}},
        {6530, "TSunBatchForm", 595, 402, 34, {380, 384, 388, 394, 396}},
        {6532, "TMagVarBatchForm", 596, 261, 35, {}},
        {6528, "TWndForm", 8030, 108, 32, {104}},
        {1313, "TIonForm", 3100, 81, 36, {79}},
        {6534, "TPowSumForm", 2950, 84, 39, {}},
        {6531, "TCalcBWForm", 2850, 275, 40, {171, 188}, 39, "0"},
        {6535, "TCalcGTForm", 8800, 273, 41, {}},
        {1314, "TDegrToCimForm", 2718, 67, 43, {}},
        {1315, "TCimToDegrForm", 2719, 67, 44, {}},
        {1316, "TSdivForm", 2800, 78, 45, {}},
        {1317, "TRangeForm", 805, 91, 47, {}},
        // File > Run GEO Batch Link Budget Process runs its form the same way.
        {6808, "TGeoBatchForm", 6800, 791, 46, {}},
    };
    return calculators;
}

const CalculatorInfo* FindCalculatorInfo(int command)
{
    for (const auto& c : Calculators())
        if (c.command == command) return &c;
    return nullptr;
}

}  // namespace orbiscope

namespace orbiscope {

void RegisterFrameworkSubsystem()
{
    // The country and satellite windows, the about box and the expression
    // calculator register here as they are built.
    setup::RegisterSetUpCommand();
    RegisterPrintCommands();
    about::RegisterAboutCommand();
    databases::RegisterDatabases();
    calculator::RegisterExpressionCalculator();
}

}  // namespace orbiscope
