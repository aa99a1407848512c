#include "framework/app/menus.h"

#include <functional>

namespace orbiscope {

using platform::MenuDef;
using platform::MenuItemDef;

namespace {
const MenuItemDef kSep{};

std::vector<MenuDef> BuildMenu()
{
    std::vector<MenuDef> m;
    m.push_back({"&File",
                 {{0, "&New", "",
                   {{6010, "Look Angles", "Create a new Look Angle document", {}},
                    {6011, "Dual Feed", "Create a new dual feed data file", {}},
                    {6014, "Link Budget (GEO Bent Pipe)", "Create a new GEO 'bent pipe' link budget", {}},
                    {6023, "Link Budget (Non GEO Bent Pipe)", "Create a link budget for a non GEO satellite", {}},
                    {6022, "Uplink Budget (Regenerative)", "Create a new uplink budget for regenerative transponders", {}},
                    {6028, "Downlink Budget (Regenerative or Sat TV)",
                     "Create a new downlink budget for regenerative transponders or TVRO.", {}},
                    {6021, "Total Atmospheric Attenuation", "Creates a new rain attenuation file", {}},
                    {6016, "Solar Outage", "Create a new Solar Outage File", {}},
                    {6017, "Country Data", "Create a new country data file", {}},
                    {6018, "Satellite Data", "Create a new satellite data file", {}}}},
                  {24332, "Open...", "Open an existing document", {}},
                  {24339, "Close", "Close active document", {}},
                  {24341, "Close All", "Close all open documents", {}},
                  kSep,
                  {24333, "Save", "Save the input parameters to reproduce this document", {}},
                  {24334, "Save As...", "Save the input parameters to reproduce this document", {}},
                  {6019, "Save Output As Tabbed Text", "Exports output to a tabbed text file", {}},
                  {6020, "Save Output As HTML (Ctrl+F3)", "Exports output to a HTML file", {}},
                  kSep,
                  {6026, "Export Input To Compatible Batch File Format",
                   "Exports input to the format expected by the ORBISCOPE.EXE batch process", {}},
                  {6808, "Run GEO Batch Link Budget Process", "Runs the external ORBISCOPE.EXE batch file process", {}},
                  {6027, "Export Output to DISA Template Format [Ctrl+F2]",
                   "Exports GEO link budget output in DISA template order", {}},
                  kSep,
                  {24340, "Print Preview...", "Display preview of printer output", {}},
                  {24337, "Print...", "Print this document", {}},
                  {24338, "Page Setup", "Sets up the printer page size and orientation", {}},
                  kSep,
                  {24310, "Exit\tAlt+F4", "Quit application and prompt to save documents", {}}}});
    m.push_back({"&Edit",
                 {{24323, "Copy to Clipboard\tCtrl+Ins", "Copies window contents to Clipboard", {}},
                  {6121, "Edit Active Document\tF12", "Display the associated edit form for the active window", {}}}});
    m.push_back({"&Map",
                 {{6210, "ITU Regions", "Display map of the three ITU Regions", {}},
                  {6209, "World Time Zones", "Display map of world time zones", {}},
                  {6222, "Ionospheric Scintillation",
                   "Display map of L Band ionospheric fading depth during solar maxima and minima years", {}},
                  {6218, "General Map/Image File Viewer", "Select a footprint map or diagram and display it", {}},
                  {6219, "Polarization Offset Diagram", "Display a polarization diagram", {}},
                  {6220, "Polar Mount Diagram", "Display definitions of polar mount terminology", {}}}});
    m.push_back({"&Graph",
                 {{6310, "Noise Temperature v Noise Figure", "Plot noise temperature v noise figure (290K)", {}},
                  {6323, "Plot Antenna Gain Template", "Plot ITU-R antenna gain template", {}},
                  {0, "Aperture Lobe Patterns (uniform illumination)", "",
                   {{6311, "Circular", "Plot radiation pattern for a circular aperture", {}},
                    {6312, "Rectangular", "Plot radiation pattern for a rectangular aperture", {}}}},
                  {6313, "Antenna Aperture v Gain", "Plot antenna aperture versus gain", {}},
                  {6314, "EIRP v Antenna Aperture", "Plot EIRP versus antenna aperture", {}},
                  {6315, "Modified Declination Offset", "Plot modified polar mount declination values ", {}},
                  {6316, "Polar Axis Modification Factor", "Plot modified polar mount correction factor", {}},
                  {6317, "Plot Antenna Parabola", "Plots a graph of a parabolic dish for any diameter and f/D ratio", {}},
                  {6318, "Plot Atmospheric Absorption", "Plot atmospheric absorption by water vapour and oxygen", {}},
                  {6319, "Plot Rain Attenuation v Frequency", "Plot rain attenuation versus frequency", {}},
                  {6321, "Plot Eb/No v BER (uncoded channel)", "Plot Eb/No for an uncoded channel", {}},
                  {6322, "Plot Shannon's Capacity Boundary", "Plot Shannon's capacity boundary for error free transmission", {}}}});
    m.push_back({"&Table",
                 {{6410, "Noise Temperature v Noise Figure", "Tabulate noise temperature versus noise figure", {}},
                  {6411, "National Look Angles", "Tabulate satellite look angles for a country", {}},
                  {6412, "Satellites > Horizon (1 Site)", "Tabulate look angles to all satellites above horizon", {}},
                  {6426, "Satellites > Horizon (2 Sites)", "List common satellites above horizon for any two sites", {}},
                  {6413, "Dual Feed Spacing", "Tabulate dual feed spacing for a country", {}},
                  {6414, "Modified Polar Mount Angles", "Tabulate world modified polar mount angles", {}},
                  {6428, "Off Axis Antenna Gain", "Tabulate off axis gains using amtenna template", {}},
                  {6415, "Solar Transit/Azimuth Coincidence",
                   "Tabulate times when azimuth of sun and a specified longitude are equal", {}},
                  {6425, "Availability v Atmospheric Losses",
                   "Tabulates rain attenuation at given site for a range of availabilities", {}},
                  {6429, "Frequency v Atmospheric Losses", "Tabulates rain attenuation versus frequency", {}},
                  {6427, "National Atmospheric Losses", "Tabulates rain attenuation for a given country and satellite", {}},
                  {6417, "Antenna Beamwidths", "Tabulate -3dB beamwidth for various illumination methods", {}},
                  {6419, "Antenna Aperture v Gain", "Tabulate antenna aperture versus gain", {}},
                  {6420, "Illumination and Beamwidth", "Tabulate beamwidth for a variety of illumination methods", {}},
                  {6421, "EIRP v Antenna Aperture", "Tabulate EIRP versus various antenna apertures", {}},
                  {6422, "Compare Digital Modulation Schemes", "Tabulate data for various modulation schemes", {}}}});
    m.push_back({"&Calculate",
                 {{6531, "Bandwidth Calculator", "Calculates bandwidth of digital carriers", {}},
                  {6523, "Flange Power Density", "Calculates the power spectral density (eg at HPA output flange)", {}},
                  {6534, "Power Ratio Addition", "Calculates the power ratio addition of several dB values", {}},
                  {1314, "Non Linear Degradation to equiv C/IM",
                   "Converts non-linear degraadation to an equivalent C/IM value", {}},
                  {1315, "C/IM to equiv. Non Linear Degradation",
                   "Converts a C/IM value to an equivlalent non-linear degradation value", {}},
                  kSep,
                  {6510, "Expression Evaluator", "Runs the expression evaluator", {}},
                  kSep,
                  {6511, "Convert D:M:S to Degrees", "Convert degrees:minutes:seconds to degrees", {}},
                  {6526, "Convert Degrees to D:M:S", "Convert degrees to degrees:minutes:seconds", {}},
                  {6514, "Noise Figure", "Convert noise temperature to noise figure", {}},
                  {6513, "Noise Temperature", "Convert noise figure to  noise temperature", {}},
                  {6515, "Beamwidth", "Calculate nominal beamwidth for any dB level", {}},
                  {6516, "Wavelength", "Convert frequency to wavelength", {}},
                  {6517, "Frequency", "Convert wavelength to frequency", {}},
                  kSep,
                  {1317, "Slant Range and Doppler Shift (circular orbits)",
                   "Calculate slant range and Doppler shift for circular orbits", {}},
                  kSep,
                  {1316, "Site Diversity Gain (<20km separation)", "Calculate site diversity gain", {}},
                  {6519, "Average Year Availability", "Convert 'worst month' to 'average year' availability", {}},
                  {6521, "Focal Distance (f/D known)", "Calculate focal distance of dish if f/D known", {}},
                  {6520, "Focal Distance (f/D not known)", "Calculate focal distance of dish if f/D is not known", {}},
                  {6528, "Antenna Wind Loading",
                   "Calculates the ballast required to prevent antenna overturning during wind", {}},
                  {6522, "Antenna Gains (inc. off-axis)", "Calculate boresight and off-axis antenna gain using templates", {}},
                  {6512, "Estimate Antenna Noise", "Estimates antenna noise for given elevation and size", {}},
                  {6535, "G/T", "Calculates the total G/T taking into account losses from various sources", {}},
                  kSep,
                  {6527, "Sun Outage Batch File Process (Multiple Sites)",
                   "Runs a multi-site sun outage batch file and exports the results to a file", {}},
                  {6529, "Sun Outage Batch Process (All Visible Satellites)",
                   "Calculates sun outages for every visible satellite in database and exports the results to a file", {}},
                  {6530, "Sun Outage Batch File Process (Multiple Satellites)",
                   "Runs a multi-satellite sun outage batch file and and exports the results to a file", {}},
                  {6532, "Magnetic Variation Batch File Process",
                   "Calculates magnetic variation from entries in a batch file and exports the results to a file", {}},
                  kSep,
                  {1313, "Estimate Ionospheric Scintillation Loss", "Estimates L Band ionospheric scintillation loss", {}}}});
    m.push_back({"&Options", {{6610, "Setup", "Set preferences", {}}}});
    m.push_back({"&Window",
                 {{24361, "Cascade", "Display all open windows in cascade", {}},
                  {24362, "Tile Vertically", "Display all open widows tiled", {}},
                  {24363, "Tile Horizontally", "Tile windows horizontally on screen", {}},
                  {24364, "Arrange Icons", "Arranges window icons along bottom of frame", {}},
                  {24365, "Close All", "Closes all open windows", {}}},
                 true});
    m.push_back({"&Help",
                 {{6710, "Help Contents", "Display help table of contents", {}},
                  kSep,
                  {6712, "About...", "Version and developer information", {}}}});
    return m;
}

void Collect(const std::vector<MenuItemDef>& items, std::vector<int>& out)
{
    for (const auto& i : items) {
        if (!i.children.empty()) Collect(i.children, out);
        else if (i.id != 0) out.push_back(i.id);
    }
}

const MenuItemDef* FindItem(const std::vector<MenuItemDef>& items, int id)
{
    for (const auto& i : items) {
        if (i.id == id && i.children.empty()) return &i;
        if (const MenuItemDef* f = FindItem(i.children, id)) return f;
    }
    return nullptr;
}
}  // namespace

const std::vector<MenuDef>& MainMenu()
{
    static const std::vector<MenuDef> menu = BuildMenu();
    return menu;
}

const std::vector<int>& ToolbarCommands()
{
    static const std::vector<int> ids = {24332, 24333, 0, 6121, 0, 24323, 0, 6510, 0, 24337, 24340, 0, 24361, 24362, 0, 6710};
    return ids;
}

std::vector<int> MainMenuCommands()
{
    std::vector<int> out;
    for (const auto& m : MainMenu()) Collect(m.items, out);
    return out;
}

const char* MenuHint(int id)
{
    for (const auto& m : MainMenu())
        if (const MenuItemDef* i = FindItem(m.items, id)) return i->hint.c_str();
    return "";
}

}  // namespace orbiscope
