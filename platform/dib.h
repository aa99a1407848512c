// Packed device-independent bitmaps turned into images that a device context
// can draw.  A packed DIB is one byte block: a 40-byte BITMAPINFOHEADER, the
// three channel masks when the compression is BI_BITFIELDS, biClrUsed RGBQUAD
// palette entries (blue, green, red, 0), then the pixel rows, each padded to
// a multiple of 4 bytes and stored bottom-up unless biHeight is negative.
//
// The bytes come from files and resources and are not trusted: every size,
// count and offset is checked against the block before it is read.
#pragma once

#include <QImage>
#include <cstdint>
#include <span>

namespace platform {

inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;

// The picture of a packed DIB, top row first: an 8-bit indexed image with a
// 256-entry colour table for 1, 4 and 8 bits per pixel (palette entries past
// biClrUsed are black), a 32-bit RGB image for 16, 24 and 32 bits per pixel
// (BI_RGB: 5-5-5 for 16 bits, blue in the lowest byte for 24 and 32 bits;
// BI_BITFIELDS: the block's masks, each a run of set bits, scaled to 8 bits).
// A null image when the block is not such a DIB: a header other than 40
// bytes, planes other than 1, a width of 0 or less, a height of 0, another
// bit count, an RLE compression (the image library expands those before
// drawing), a zero or broken mask, a block too short for its palette or rows,
// or no memory for the picture.
QImage DibToImage(std::span<const std::uint8_t> dib);

}  // namespace platform
