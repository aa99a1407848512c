#include "framework/app/strings.h"

#include "framework/app/menus.h"
#include "framework/forms/hint_strings.h"

namespace orbiscope {

const char* StringText(int id)
{
    switch (id) {
    case 32550: return "Untitled";
    case 32551: return "Cannot read file %s";
    case 32552: return "Unable to write file %s to disk.";
    case 32553: return "File %s may have been edited.\n\nDo you want to save any changes?";
    case 17500: return "ERROR: Antenna elevation below 5 degrees";
    case 17501: return "ERROR: Negative margin detected: cannot close LB - premature exit - results invalid";
    case 17502: return "ERROR: Carrier overspills available transponder bandwidth";
    case 17504: return "ERROR: Oversaturation of transponder, HPA power value entered exceeds MAX (maximum)";
    case 17505: return "ERROR: Number of carriers entered exceeds the transponder bandwidth";
    case 17506: return "Legacy File: Transponder bandwidth is needed, 36MHz has been assumed";
    case 17512: return "ERROR: An adjacent satellite is below horizon";
    case 17513: return "ERROR: Transponder usage exceeds 100%";
    case 17514: return "Legacy File: C/IM(down) input value changed to AUTO";
    default: break;
    }
    // The form controls' hints.
    if (const char* hint = FormStringText(id); *hint) return hint;
    // Menu hints are the strings of their command ids.
    return MenuHint(id);
}

}  // namespace orbiscope
