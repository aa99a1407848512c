// The packed device-independent bitmap that every image reader produces and
// the palette reduction and the image window consume: one owned block
//
//   offset 0   BITMAPINFOHEADER, 40 bytes, little-endian
//   40         three u32 channel masks (red, green, blue), only for BI_BITFIELDS
//   next       biClrUsed RGBQUAD palette entries (blue, green, red, 0)
//   next       the pixel rows, each padded to a multiple of 4 bytes, stored
//              bottom-up unless biHeight is negative; RLE data kept compressed
//
// `ImageDib` is the readers' working object over such a block.  Every size is
// computed in 64 bits and checked against the limits below before anything is
// allocated, so a hostile header can neither wrap a size nor ask for gigabytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orbiscope {

// A packed DIB.  An empty block stands for "no bitmap" (a failed load).
using PackedDib = std::vector<std::uint8_t>;

// biCompression values.
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;

inline constexpr std::size_t kInfoHeaderBytes = 40;
inline constexpr std::size_t kMaskBytes = 12;
inline constexpr std::size_t kRgbQuadBytes = 4;

// Limits of what the library accepts from any source: a side of at most
// 32767 pixels, and at most 256 MiB both for the block and for the picture
// as the image window draws it (DrawnBytes).  Larger pictures are refused
// like a damaged file; nothing this program shows comes near them.
inline constexpr std::int64_t kMaxDibSide = 32767;
inline constexpr std::uint64_t kMaxDibBytes = std::uint64_t{256} << 20;

struct BitmapInfoHeader {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = kBiRgb;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};

BitmapInfoHeader ReadInfoHeader(const std::uint8_t* bytes);
void WriteInfoHeader(std::uint8_t* bytes, const BitmapInfoHeader& header);

// 256 palette colours as consecutive R, G, B bytes, as the readers collect them.
using PaletteRgb = std::array<std::uint8_t, 768>;

struct RgbQuad {
    std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

// Palette entries a header with biClrUsed = 0 implies: 1 bit 2, 4 bits 16,
// 8 bits 256, 16/24/32 bits none, any other count 65535.
std::uint32_t DefaultColorCount(unsigned bitCount);

// Row stride in bytes: rows padded to a multiple of 4 bytes.
std::uint64_t DibStride(std::int64_t width, unsigned bitCount);

// Bytes of the picture as the screen gets it: one byte a pixel for 8 bits
// and less (1- and 4-bit rows and RLE data are widened to 8 bits to be
// drawn), four for deeper pictures.  A tiny 1-bit picture of a large size is
// cheap packed but not drawn, so the limit holds for this size as well.
std::uint64_t DrawnBytes(std::int64_t width, std::int64_t rows, unsigned bitCount);

// Where the parts of a block lie, for a header that passed the checks.
struct DibLayout {
    BitmapInfoHeader header;
    std::size_t masksOffset = 0;    // 0 when the block has no masks
    std::size_t paletteOffset = 0;
    std::size_t bitsOffset = 0;
    std::size_t bitsBytes = 0;      // stride x |height|, or the RLE byte count
    std::size_t stride = 0;
    std::size_t blockBytes = 0;
};

// Checks a header against everything a packed DIB of this library may hold:
// biSize 40, one plane, 1/4/8/16/24/32 bits, a width of 1 to 32767 and a
// non-zero height of at most 32767 rows, a compression that fits the depth
// (RLE8 with 8 bits, RLE4 with 4, both bottom-up; BI_BITFIELDS with 16 or 32),
// at most 2^bits (8 bits and less) or 256 palette entries, an RLE byte count
// above 0, and a block within the size limit.  Uses the header's biClrUsed and,
// for the RLE compressions, its biSizeImage as they are.
bool LayoutOf(const BitmapInfoHeader& header, DibLayout& layout);

// A read-only view of a packed DIB (the readers' working object for a block
// they do not own).
class DibView {
public:
    DibView() = default;
    // Valid only when the block holds a header that passes `LayoutOf` and is
    // long enough for the parts it announces.
    static DibView Wrap(std::span<const std::uint8_t> block);

    bool Valid() const { return valid_; }
    const BitmapInfoHeader& Header() const { return layout_.header; }
    std::int32_t Width() const { return layout_.header.biWidth; }
    // Rows, whatever the storage order.
    std::int32_t Height() const;
    unsigned BitCount() const { return layout_.header.biBitCount; }
    std::uint32_t Compression() const { return layout_.header.biCompression; }
    std::size_t Stride() const { return layout_.stride; }
    std::uint32_t ColorCount() const { return layout_.header.biClrUsed; }
    std::span<const std::uint8_t> Block() const { return {block_, layout_.blockBytes}; }

    RgbQuad PaletteEntry(std::uint32_t index) const;   // index < ColorCount()
    bool HasMasks() const { return layout_.masksOffset != 0; }
    const std::uint8_t* Bits() const { return block_ + layout_.bitsOffset; }
    std::size_t BitsBytes() const { return layout_.bitsBytes; }

    // Image row y counted from the top.
    const std::uint8_t* RowPointer(std::int32_t y) const;
    // 0 outside the image.  1, 4, 8 and 24 bits; other depths give 0.
    std::uint32_t GetPixel(std::int32_t x, std::int32_t y) const;

    // Channel masks of a 16- or 32-bit image: from the block for
    // BI_BITFIELDS (a zero mask fails), else 5-5-5 or 8-8-8.  Other depths
    // and compressions fail.
    bool SetupMasks();
    // Channel 0 red, 1 green, 2 blue of a 16/32-bit pixel, scaled to 0-255.
    std::uint8_t GetComponent(std::uint32_t pixel, int channel) const;
    std::uint16_t Pixel555(std::uint32_t pixel) const;
    std::uint8_t PixelGray(std::uint32_t pixel) const;
    std::uint32_t PixelRgb(std::uint32_t pixel) const;

protected:
    bool Attach(const std::uint8_t* block, std::size_t bytes);

    const std::uint8_t* block_ = nullptr;
    DibLayout layout_;
    bool valid_ = false;

private:
    std::uint32_t channelMask_[3] = {};
    std::uint16_t channelShift_[3] = {};
    std::uint16_t channelWidth_[3] = {};
};

// A packed DIB under construction, owning its block.  Allocation failure or a
// refused header leaves the object invalid; it never throws.
class ImageDib : public DibView {
public:
    ImageDib() = default;
    ImageDib(ImageDib&&) = default;
    ImageDib& operator=(ImageDib&&) = default;

    // A zero-filled picture with biClrUsed = colours when that is non-zero and
    // below DefaultColorCount(bitCount), else the default.
    static ImageDib New(unsigned bitCount, std::int32_t width, std::int32_t height,
                        std::uint32_t colours);
    // Completes biClrUsed (the default for 0) and, for BI_RGB and
    // BI_BITFIELDS, biSizeImage, and checks the header: the layout of the
    // block Allocate would make, found without allocating anything.
    static bool Plan(BitmapInfoHeader& header, DibLayout& layout);
    // Plans the block and allocates it.
    static ImageDib Allocate(BitmapInfoHeader header);
    // Takes over a whole block (a copy to be changed); validated as Wrap.
    static ImageDib Adopt(PackedDib block);

    std::uint8_t* MutableBits() { return owned_.data() + layout_.bitsOffset; }
    std::uint8_t* MutableMasks() { return owned_.data() + layout_.masksOffset; }
    std::uint8_t* MutablePalette() { return owned_.data() + layout_.paletteOffset; }
    using DibView::RowPointer;
    std::uint8_t* RowPointer(std::int32_t y);
    // Coordinates must lie inside the image.
    void SetPixel(std::int32_t x, std::int32_t y, std::uint32_t value);
    void SetPaletteEntry(std::uint32_t index, RgbQuad colour);
    // Entries 0 to min(biClrUsed, 256) - 1 from consecutive R, G, B triplets.
    void SetPaletteRgb(const PaletteRgb& triplets);

    // Hands the block out; the object is left invalid.
    PackedDib Detach();

private:
    PackedDib owned_;
};

}  // namespace orbiscope
