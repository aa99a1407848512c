#include "framework/forms/hint_strings.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "framework/app/strings.h"

namespace orbiscope {

namespace {

struct StringEntry {
    int id;
    const char* text;
};

// Texts exactly as the string table holds them, spelling included.
constexpr StringEntry kHintStrings[] = {
    {5610, "Select GEO as the active input"},
    {5611, "Select NON GEO as the active input"},
    {6811, "Check for CSV output, uncheck for TAB separated text output"},
    {6812, "Check to include input values in ouput files"},
    {6813, "Check to proceed without showing popup error messages"},
    {6815, "Check to hide the command line (cmd.exe) window"},
    {7072, "Select to enter uplink C/I interference inputs (dB)"},
    {7073, "Select to enter uplink C/Io interference inputs (dB-Hz)"},
    {7126, "Select for short frames"},
    {7127, "Select for medium frames"},
    {7129, "Select for normal frames"},
    {7133, "Check for active pilots, clear if no pilots (default)"},
    {7173, "Include S band satellites"},
    {7174, "Include C satellites"},
    {7175, "Include Ku band satellites"},
    {7176, "Include Ka band satellites"},
    {7178, "Select 1 bit/symbol modulation (MSK,GMSK,BPSK etc also set M=2}"},
    {7179, "Select M-ary PSK / APSK modulation (M=4,8,16,32 etc)"},
    {7180, "Select M-ary QAM modulation (M=8,16,64,256)"},
    {7207, "Use beamwidth of uniformly illuminated circular aperture"},
    {7208, "Use wide beamwidth, 1.5 times that of uniformly illuminated antenna"},
    {7221, "Select for TWTA transponder"},
    {7222, "Select for SSPA transponder"},
    {7223, "Calculate times to the nearest minute"},
    {7224, "Calculate times to the nearest second"},
    {7231, "Use BO.1213 antenna template"},
    {7232, "Selects co-polar antenna template"},
    {7233, "Selects cross-polar antenna template"},
    {7234, "Use AP8/S.580 antenna template"},
    {7240, "Select for LTWTA transponder"},
    {7310, "Sets Eb/No as the target value"},
    {7311, "Sets Es/No as the target value"},
    {7312, "Sets rate input to be an info rate"},
    {7313, "Sets rate input to a be a symbol rate"},
    {7350, "Selects ITU-R model"},
    {7355, "Fixed rain attenuation value in dB"},
    {7363, "Check for rain-up AND rain-down link budget scenario"},
    {7364, "Selects clear sky calculations only"},
    {7365, "Check to include rain depolarization (default), uncheck to exclude rain depolarization"},
    {7366, "Uncheck if source of XPI is not co-located with uplink site"},
    {7370, "Select to enter downlink C/I interference inputs (dB)"},
    {7371, "Select to enter downlink Csat/Io interference inputs (dB-Hz)"},
    {7400, "Include UHF band satellites"},
    {7401, "Include L band satellites"},
    {7402, "Include Q/V band satellites"},
    {7403, "Include X band satellites"},
    {7404, "Include other band satellites"},
    {7406, "Selects lat/long output in numerical mode (eg -112.00)"},
    {7407, "Selects lat/long output in string mode (eg 112.00W)"},
    {7408, "Sort TLE by modulo 180 (east +ve)"},
    {7409, "Sort TLE by longitude degrees east"},
    {7410, "Sort TLE by longitude degrees west"},
    {7411, "Sort TLE by satellite name"},
    {7412, "Sort TLE by satellite ID (chronological)"},
    {7413, "Sort TLE by orbit inclination"},
    {7414, "Sort TLE by satellite latitude"},
    {7415, "Sort TLE by satellite longitude"},
    {7416, "Sort TLE by satellite altitude"},
    {7417, "Sort TLE by satellite azimuth"},
    {7418, "Sort TLE by satellite elevation"},
    {7419, "Sort TLE by satellite range"},
    {7603, "Selects the info rate field for input"},
    {7604, "Selects the symbol rate field for input"},
    {7605, "Selects the occupied bandwidth field for input"},
    {7700, "Selects time output in Greenwich Mean Time (GMT)"},
    {7701, "Selects time output in Local Civil Time"},
    {7710, "Selects early season sun outages"},
    {7711, "Selects late season sun outage"},
    {7722, "Save TAB delimired text in vertical mode"},
    {7724, "Save TAB delimited text in horizontal mode for spreadsheet import"},
    {7725, "Save output as a HTML file"},
    {9204, "Check to include this satellite in ASI calculations"},
    {9205, "Check to use alternative manual inputs for Csat/ASIo"},
    {9211, "Check box to include this value in the power ratio addition"},
};

constexpr bool SortedById()
{
    for (std::size_t k = 1; k < std::size(kHintStrings); ++k)
        if (kHintStrings[k - 1].id >= kHintStrings[k].id) return false;
    return true;
}
static_assert(SortedById(), "the hint strings are kept in id order for the binary search");

}  // namespace

const char* FormStringText(int id)
{
    const auto* end = std::end(kHintStrings);
    const auto* it = std::lower_bound(std::begin(kHintStrings), end, id,
                                      [](const StringEntry& e, int key) { return e.id < key; });
    return it != end && it->id == id ? it->text : "";
}

const char* AnyStringText(int id)
{
    const char* text = StringText(id);
    return text && *text ? text : FormStringText(id);
}

}  // namespace orbiscope
