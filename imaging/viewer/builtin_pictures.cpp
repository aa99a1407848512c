#include "imaging/viewer/builtin_pictures.h"

#include <cstdint>
#include <span>

#include "platform/resources.h"

// Symbols of the assembled pictures (builtin_pictures.S.in).
extern "C" {
extern const std::uint8_t orbiscope_picture_87[], orbiscope_picture_87_end[];
extern const std::uint8_t orbiscope_picture_88[], orbiscope_picture_88_end[];
extern const std::uint8_t orbiscope_picture_89[], orbiscope_picture_89_end[];
extern const std::uint8_t orbiscope_picture_99[], orbiscope_picture_99_end[];
}

namespace orbiscope {

void RegisterBuiltInPictures()
{
    platform::RegisterBitmapResource(87, std::span(orbiscope_picture_87, orbiscope_picture_87_end));
    platform::RegisterBitmapResource(88, std::span(orbiscope_picture_88, orbiscope_picture_88_end));
    platform::RegisterBitmapResource(89, std::span(orbiscope_picture_89, orbiscope_picture_89_end));
    platform::RegisterBitmapResource(99, std::span(orbiscope_picture_99, orbiscope_picture_99_end));
}

}  // namespace orbiscope
