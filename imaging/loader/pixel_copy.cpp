// Red and blue exchanged while 24-bit rows are copied: the TIFF and JPEG
// readers get R, G, B samples, a packed DIB holds B, G, R.  This copy is most
// of what an uncompressed picture costs beyond its allocation, so processors
// that can shuffle 16 bytes at once do five pixels a step.
#include <cstddef>
#include <cstdint>

#include "imaging/loader/reader_support.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <tmmintrin.h>
#define ORBISCOPE_SHUFFLE_COPY 1
#endif

namespace orbiscope {

namespace {

void CopyPixelByPixel(std::uint8_t* out, const std::uint8_t* in, std::size_t pixels)
{
    for (std::size_t x = 0; x < pixels; ++x, in += 3, out += 3) {
        const std::uint8_t r = in[0], g = in[1], b = in[2];
        out[0] = b;
        out[1] = g;
        out[2] = r;
    }
}

#ifdef ORBISCOPE_SHUFFLE_COPY
// 16 bytes in, five pixels swapped and the 16th byte kept, 15 bytes on.  A
// step needs 16 bytes, so the last pixels go one by one.  In place the 16th
// byte is written back unchanged before the next step reads it.
__attribute__((target("ssse3"))) void CopyByShuffles(std::uint8_t* out, const std::uint8_t* in, std::size_t pixels)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    std::size_t x = 0;
    for (; x + 6 <= pixels; x += 5, in += 15, out += 15) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(v, order));
    }
    CopyPixelByPixel(out, in, pixels - x);
}

bool CanShuffle()
{
    static const bool can = __builtin_cpu_supports("ssse3");
    return can;
}
#endif

}  // namespace

void CopySwappingRedBlue(std::uint8_t* out, const std::uint8_t* in, std::size_t pixels)
{
#ifdef ORBISCOPE_SHUFFLE_COPY
    if (CanShuffle()) {
        CopyByShuffles(out, in, pixels);
        return;
    }
#endif
    CopyPixelByPixel(out, in, pixels);
}

}  // namespace orbiscope
