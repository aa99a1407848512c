#include "imaging/loader/packed_dib.h"

#include <bit>
#include <new>
#include <utility>

#include "imaging/loader/byte_order.h"

namespace orbiscope {

BitmapInfoHeader ReadInfoHeader(const std::uint8_t* bytes)
{
    BitmapInfoHeader h;
    h.biSize = LoadLe32(bytes);
    h.biWidth = static_cast<std::int32_t>(LoadLe32(bytes + 4));
    h.biHeight = static_cast<std::int32_t>(LoadLe32(bytes + 8));
    h.biPlanes = LoadLe16(bytes + 12);
    h.biBitCount = LoadLe16(bytes + 14);
    h.biCompression = LoadLe32(bytes + 16);
    h.biSizeImage = LoadLe32(bytes + 20);
    h.biXPelsPerMeter = static_cast<std::int32_t>(LoadLe32(bytes + 24));
    h.biYPelsPerMeter = static_cast<std::int32_t>(LoadLe32(bytes + 28));
    h.biClrUsed = LoadLe32(bytes + 32);
    h.biClrImportant = LoadLe32(bytes + 36);
    return h;
}

void WriteInfoHeader(std::uint8_t* bytes, const BitmapInfoHeader& h)
{
    StoreLe32(bytes, h.biSize);
    StoreLe32(bytes + 4, static_cast<std::uint32_t>(h.biWidth));
    StoreLe32(bytes + 8, static_cast<std::uint32_t>(h.biHeight));
    StoreLe16(bytes + 12, h.biPlanes);
    StoreLe16(bytes + 14, h.biBitCount);
    StoreLe32(bytes + 16, h.biCompression);
    StoreLe32(bytes + 20, h.biSizeImage);
    StoreLe32(bytes + 24, static_cast<std::uint32_t>(h.biXPelsPerMeter));
    StoreLe32(bytes + 28, static_cast<std::uint32_t>(h.biYPelsPerMeter));
    StoreLe32(bytes + 32, h.biClrUsed);
    StoreLe32(bytes + 36, h.biClrImportant);
}

std::uint32_t DefaultColorCount(unsigned bitCount)
{
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    case 16:
    case 24:
    case 32: return 0;
    default: return 65535;
    }
}

std::uint64_t DibStride(std::int64_t width, unsigned bitCount)
{
    const std::uint64_t bits = static_cast<std::uint64_t>(width) * bitCount;
    return ((bits + 31) & ~std::uint64_t{31}) / 8;
}

std::uint64_t DrawnBytes(std::int64_t width, std::int64_t rows, unsigned bitCount)
{
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(rows);
    return bitCount <= 8 ? pixels : 4 * pixels;
}

namespace {

bool IsDibDepth(unsigned bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

bool CompressionFitsDepth(const BitmapInfoHeader& h)
{
    switch (h.biCompression) {
    case kBiRgb: return true;
    case kBiRle8: return h.biBitCount == 8 && h.biHeight > 0;
    case kBiRle4: return h.biBitCount == 4 && h.biHeight > 0;
    case kBiBitfields: return h.biBitCount == 16 || h.biBitCount == 32;
    default: return false;
    }
}

std::uint32_t MaxPaletteEntries(unsigned bitCount)
{
    return bitCount <= 8 ? std::uint32_t{1} << bitCount : 256;
}

bool IsRle(std::uint32_t compression)
{
    return compression == kBiRle8 || compression == kBiRle4;
}

}  // namespace

bool LayoutOf(const BitmapInfoHeader& h, DibLayout& layout)
{
    const std::int64_t rows = h.biHeight < 0 ? -std::int64_t{h.biHeight} : h.biHeight;
    if (h.biSize != kInfoHeaderBytes || h.biPlanes != 1 || !IsDibDepth(h.biBitCount) ||
        h.biWidth <= 0 || h.biWidth > kMaxDibSide || rows == 0 || rows > kMaxDibSide ||
        !CompressionFitsDepth(h) || h.biClrUsed > MaxPaletteEntries(h.biBitCount))
        return false;
    const std::uint64_t stride = DibStride(h.biWidth, h.biBitCount);
    std::uint64_t bitsBytes = stride * static_cast<std::uint64_t>(rows);
    if (IsRle(h.biCompression)) {
        if (h.biSizeImage == 0)
            return false;
        bitsBytes = h.biSizeImage;
    }
    const std::uint64_t masks = h.biCompression == kBiBitfields ? kMaskBytes : 0;
    const std::uint64_t palette = std::uint64_t{h.biClrUsed} * kRgbQuadBytes;
    const std::uint64_t total = kInfoHeaderBytes + masks + palette + bitsBytes;
    if (total > kMaxDibBytes || DrawnBytes(h.biWidth, rows, h.biBitCount) > kMaxDibBytes)
        return false;
    layout.header = h;
    layout.masksOffset = masks ? kInfoHeaderBytes : 0;
    layout.paletteOffset = static_cast<std::size_t>(kInfoHeaderBytes + masks);
    layout.bitsOffset = static_cast<std::size_t>(kInfoHeaderBytes + masks + palette);
    layout.bitsBytes = static_cast<std::size_t>(bitsBytes);
    layout.stride = static_cast<std::size_t>(stride);
    layout.blockBytes = static_cast<std::size_t>(total);
    return true;
}

// --- DibView ---------------------------------------------------------------

DibView DibView::Wrap(std::span<const std::uint8_t> block)
{
    DibView view;
    view.Attach(block.data(), block.size());
    return view;
}

bool DibView::Attach(const std::uint8_t* block, std::size_t bytes)
{
    valid_ = false;
    block_ = nullptr;
    if (block == nullptr || bytes < kInfoHeaderBytes)
        return false;
    DibLayout layout;
    if (!LayoutOf(ReadInfoHeader(block), layout) || layout.blockBytes > bytes)
        return false;
    layout_ = layout;
    block_ = block;
    valid_ = true;
    return true;
}

std::int32_t DibView::Height() const
{
    const std::int32_t h = layout_.header.biHeight;
    return h < 0 ? -h : h;
}

RgbQuad DibView::PaletteEntry(std::uint32_t index) const
{
    const std::uint8_t* p = block_ + layout_.paletteOffset + std::size_t{index} * kRgbQuadBytes;
    return {p[0], p[1], p[2], p[3]};
}

const std::uint8_t* DibView::RowPointer(std::int32_t y) const
{
    const std::int32_t stored = layout_.header.biHeight < 0 ? y : layout_.header.biHeight - 1 - y;
    return Bits() + layout_.stride * static_cast<std::size_t>(stored);
}

std::uint32_t DibView::GetPixel(std::int32_t x, std::int32_t y) const
{
    if (x < 0 || x >= Width() || y < 0 || y >= Height())
        return 0;
    const std::uint8_t* row = RowPointer(y);
    const auto ux = static_cast<std::size_t>(x);
    switch (BitCount()) {
    case 1: return (row[ux / 8] & (0x80u >> (ux % 8))) ? 1u : 0u;
    case 4: return ux % 2 == 0 ? row[ux / 2] >> 4 : row[ux / 2] & 0x0Fu;
    case 8: return row[ux];
    case 24: return row[3 * ux] | unsigned{row[3 * ux + 1]} << 8 | static_cast<std::uint32_t>(row[3 * ux + 2]) << 16;
    default: return 0;
    }
}

bool DibView::SetupMasks()
{
    const unsigned bits = BitCount();
    if (bits != 16 && bits != 32)
        return false;
    if (Compression() == kBiBitfields) {
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t mask = LoadLe32(block_ + layout_.masksOffset + 4 * static_cast<std::size_t>(c));
            if (mask == 0)
                return false;
            const int shift = std::countr_zero(mask);
            channelMask_[c] = mask;
            channelShift_[c] = static_cast<std::uint16_t>(shift);
            channelWidth_[c] = static_cast<std::uint16_t>(std::countr_one(mask >> shift));
        }
        return true;
    }
    if (Compression() != kBiRgb)
        return false;
    // The default layouts: 5-5-5 for 16 bits, 8-8-8 for 32 bits (red highest).
    const std::uint16_t width = bits == 16 ? 5 : 8;
    for (int c = 0; c < 3; ++c) {
        channelShift_[c] = static_cast<std::uint16_t>(width * (2 - c));
        channelWidth_[c] = width;
        channelMask_[c] = ((std::uint32_t{1} << width) - 1) << channelShift_[c];
    }
    return true;
}

std::uint8_t DibView::GetComponent(std::uint32_t pixel, int channel) const
{
    const std::uint32_t value = pixel & channelMask_[channel];
    const unsigned shift = channelShift_[channel];
    const unsigned width = channelWidth_[channel];
    if (width >= 8)
        return static_cast<std::uint8_t>(value >> (shift + width - 8));
    return static_cast<std::uint8_t>((value >> shift) * 255 / ((std::uint32_t{1} << width) - 1));
}

std::uint16_t DibView::Pixel555(std::uint32_t pixel) const
{
    const unsigned r = GetComponent(pixel, 0), g = GetComponent(pixel, 1), b = GetComponent(pixel, 2);
    return static_cast<std::uint16_t>((b & 0xF8) * 128 | (g & 0xF8) * 4 | r >> 3);
}

std::uint8_t DibView::PixelGray(std::uint32_t pixel) const
{
    const unsigned r = GetComponent(pixel, 0), g = GetComponent(pixel, 1), b = GetComponent(pixel, 2);
    return static_cast<std::uint8_t>((11 * b + 59 * g + 30 * r) / 100);
}

std::uint32_t DibView::PixelRgb(std::uint32_t pixel) const
{
    return GetComponent(pixel, 0) | std::uint32_t{GetComponent(pixel, 1)} << 8 |
           std::uint32_t{GetComponent(pixel, 2)} << 16;
}

// --- ImageDib --------------------------------------------------------------

ImageDib ImageDib::New(unsigned bitCount, std::int32_t width, std::int32_t height, std::uint32_t colours)
{
    BitmapInfoHeader h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<std::uint16_t>(bitCount);
    const std::uint32_t defaults = DefaultColorCount(bitCount);
    h.biClrUsed = colours != 0 && colours < defaults ? colours : defaults;
    return Allocate(h);
}

bool ImageDib::Plan(BitmapInfoHeader& header, DibLayout& layout)
{
    if (header.biPlanes != 1)
        return false;
    if (header.biClrUsed == 0)
        header.biClrUsed = DefaultColorCount(header.biBitCount);
    if (!IsRle(header.biCompression)) {
        const std::int64_t rows = header.biHeight < 0 ? -std::int64_t{header.biHeight} : header.biHeight;
        const std::uint64_t bytes = DibStride(header.biWidth, header.biBitCount) * static_cast<std::uint64_t>(rows);
        if (header.biWidth <= 0 || bytes > kMaxDibBytes)
            return false;
        header.biSizeImage = static_cast<std::uint32_t>(bytes);
    }
    return LayoutOf(header, layout);
}

ImageDib ImageDib::Allocate(BitmapInfoHeader header)
{
    ImageDib dib;
    DibLayout layout;
    if (!Plan(header, layout))
        return dib;
    try {
        dib.owned_.assign(layout.blockBytes, 0);
    } catch (const std::bad_alloc&) {
        return dib;
    }
    WriteInfoHeader(dib.owned_.data(), header);
    dib.Attach(dib.owned_.data(), dib.owned_.size());
    return dib;
}

ImageDib ImageDib::Adopt(PackedDib block)
{
    ImageDib dib;
    dib.owned_ = std::move(block);
    if (!dib.Attach(dib.owned_.data(), dib.owned_.size()))
        dib.owned_.clear();
    return dib;
}

std::uint8_t* ImageDib::RowPointer(std::int32_t y)
{
    return owned_.data() + (DibView::RowPointer(y) - block_);
}

void ImageDib::SetPixel(std::int32_t x, std::int32_t y, std::uint32_t value)
{
    std::uint8_t* row = RowPointer(y);
    const auto ux = static_cast<std::size_t>(x);
    switch (BitCount()) {
    case 1: {
        const auto bit = static_cast<std::uint8_t>(0x80u >> (ux % 8));
        row[ux / 8] = static_cast<std::uint8_t>(value ? row[ux / 8] | bit : row[ux / 8] & ~bit);
        break;
    }
    case 4: {
        std::uint8_t& b = row[ux / 2];
        b = ux % 2 == 0 ? static_cast<std::uint8_t>((b & 0x0F) | (value & 0x0F) << 4)
                        : static_cast<std::uint8_t>((b & 0xF0) | (value & 0x0F));
        break;
    }
    case 8: row[ux] = static_cast<std::uint8_t>(value); break;
    case 24:
        row[3 * ux] = static_cast<std::uint8_t>(value);
        row[3 * ux + 1] = static_cast<std::uint8_t>(value >> 8);
        row[3 * ux + 2] = static_cast<std::uint8_t>(value >> 16);
        break;
    default: break;
    }
}

void ImageDib::SetPaletteEntry(std::uint32_t index, RgbQuad colour)
{
    std::uint8_t* p = MutablePalette() + std::size_t{index} * kRgbQuadBytes;
    p[0] = colour.blue;
    p[1] = colour.green;
    p[2] = colour.red;
    p[3] = colour.reserved;
}

void ImageDib::SetPaletteRgb(const PaletteRgb& triplets)
{
    const std::uint32_t count = ColorCount() < 256 ? ColorCount() : 256;
    for (std::uint32_t i = 0; i < count; ++i)
        SetPaletteEntry(i, {triplets[3 * i + 2], triplets[3 * i + 1], triplets[3 * i], 0});
}

PackedDib ImageDib::Detach()
{
    valid_ = false;
    block_ = nullptr;
    return std::move(owned_);
}

}  // namespace orbiscope
