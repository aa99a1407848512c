// Pictures built into the program, found by resource id: the stand-in for a
// Windows executable's bitmap resources.  A subsystem registers the bytes it
// embeds (a packed device-independent bitmap, as a bitmap resource holds it)
// at start-up; the bytes live as long as the program.
#pragma once

#include <cstdint>
#include <span>

namespace platform {

void RegisterBitmapResource(int id, std::span<const std::uint8_t> bytes);
// Empty when nothing was registered under the id.
std::span<const std::uint8_t> FindBitmapResource(int id);

}  // namespace platform
