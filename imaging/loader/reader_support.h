// Small pieces the readers share.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/loader/image_loader.h"

namespace orbiscope {

inline void ReportProgress(ProgressCallback callback, void* data, std::uint64_t position, std::uint64_t total)
{
    if (callback != nullptr)
        callback(data, static_cast<std::uint32_t>(position), static_cast<std::uint32_t>(total));
}

// A stream that can be read from: opened and without error.
inline bool Readable(const ImageStream& stream)
{
    return stream.open && !stream.error;
}

// A picture of these sides and depth fits the packed DIB's limits, packed
// and drawn; checked before anything is allocated for it.
inline bool WithinDibLimits(std::int64_t width, std::int64_t height, unsigned bitCount)
{
    return width > 0 && height > 0 && width <= kMaxDibSide && height <= kMaxDibSide &&
           DibStride(width, bitCount) * static_cast<std::uint64_t>(height) <= kMaxDibBytes &&
           DrawnBytes(width, height, bitCount) <= kMaxDibBytes;
}

// The most bytes (or pixels) `dataBytes` of LZW data can stand for, codes
// being at least `minCodeBits` wide: the k-th code after a clear stands for
// at most k symbols (each new string is an older one plus one), and no
// string is longer than the 4096-entry table allows.  A picture larger than
// this cannot be filled by the data, whatever the codes are.
inline std::uint64_t MaxLzwOutput(std::uint64_t dataBytes, unsigned minCodeBits)
{
    constexpr std::uint64_t kLongestString = 4096;
    const std::uint64_t codes = dataBytes * 8 / minCodeBits + 1;
    if (codes <= kLongestString)
        return codes * (codes + 1) / 2;
    return kLongestString * (kLongestString + 1) / 2 + (codes - kLongestString) * kLongestString;
}

// `pixels` R, G, B triplets written as B, G, R (a packed DIB's order), in
// one pass; `out` may be `in`.  Nothing beyond the 3 x pixels bytes is read
// or written.
void CopySwappingRedBlue(std::uint8_t* out, const std::uint8_t* in, std::size_t pixels);

}  // namespace orbiscope
