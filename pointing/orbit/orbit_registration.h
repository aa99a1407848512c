// Plugs the satellite positions window (type 4, ".tle") and its options
// dialog's town picker into the program.
#pragma once

namespace orbiscope {

void RegisterOrbitWindows();

}  // namespace orbiscope
