// Any bytes as a GIF file from memory; the picture, if any, goes on
// through the palette reduction.
#include <cstddef>
#include <cstdint>

#include "fuzz/imaging/exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orbiscope::fuzzing::Exercise(orbiscope::LoadGifMemory(data, size));
    return 0;
}
