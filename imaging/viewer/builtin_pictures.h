// The four pictures built into the program (bitmap resources 87, 88, 89 and
// 99), registered with the platform's resource table at start-up.
#pragma once

namespace orbiscope {

void RegisterBuiltInPictures();

}  // namespace orbiscope
