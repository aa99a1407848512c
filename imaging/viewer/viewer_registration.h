// The image window's part of the imaging subsystem's registration: the
// window type 1 factory, the Map menu's pictures and the built-in bitmaps.
#pragma once

namespace orbiscope {

void RegisterImagingWindows();

}  // namespace orbiscope
