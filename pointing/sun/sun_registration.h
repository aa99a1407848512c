// The solar-outage window, its New and Open, and the four batch commands
// (three solar-outage batches and the magnetic-variation batch).
#pragma once

namespace orbiscope {
void RegisterSunWindows();
}  // namespace orbiscope
