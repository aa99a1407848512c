// Small pieces the readers share.
#pragma once

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

// A picture of these sides and depth fits the packed DIB's limits; checked
// before anything is allocated for it.
inline bool WithinDibLimits(std::int64_t width, std::int64_t height, unsigned bitCount)
{
    return width > 0 && height > 0 && width <= kMaxDibSide && height <= kMaxDibSide &&
           DibStride(width, bitCount) * static_cast<std::uint64_t>(height) <= kMaxDibBytes;
}

}  // namespace orbiscope
