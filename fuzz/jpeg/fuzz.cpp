// Any bytes as a JPEG file from memory; the picture, if any, is checked and
// its colours counted.  libjpeg's own output (8-bit grey or 24 bits) meets
// the rest of the palette reduction in the `imaging` target.
#include <cstddef>
#include <cstdint>

#include "fuzz/imaging/exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orbiscope::fuzzing::Exercise(orbiscope::LoadJpegMemory(data, size), false);
    return 0;
}
