#include "platform/dib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <optional>

namespace platform {

namespace {

constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kMaskBytes = 12;     // three u32 masks after the header (BI_BITFIELDS)
constexpr std::size_t kRgbQuadBytes = 4;
constexpr int kIndexedColours = 256;

std::uint16_t U16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::int32_t I32(const std::uint8_t* p) { return std::int32_t(U32(p)); }

// One colour channel of a 16- or 32-bit pixel: its mask, the position of the
// mask's lowest bit and the number of bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int width = 0;

    int Value(std::uint32_t pixel) const
    {
        const std::uint32_t v = (pixel & mask) >> shift;
        if (width >= 8) return int(v >> (width - 8));
        return int(v * 255u / ((1u << width) - 1u));
    }
};

// A mask must be one run of set bits; anything else is a broken header.
std::optional<Channel> ChannelOf(std::uint32_t mask)
{
    if (mask == 0) return std::nullopt;
    Channel c;
    c.mask = mask;
    c.shift = std::countr_zero(mask);
    c.width = std::countr_one(mask >> c.shift);
    if (c.shift + c.width < 32 && (mask >> (c.shift + c.width)) != 0) return std::nullopt;
    return c;
}

struct Layout {
    int width = 0;
    int rows = 0;
    bool topDown = false;
    int bitCount = 0;
    std::size_t paletteOffset = 0;
    std::size_t paletteEntries = 0;  // entries stored in the block
    std::size_t bitsOffset = 0;
    std::size_t stride = 0;
    std::array<Channel, 3> channels{};  // red, green, blue (16 and 32 bits)
};

bool SupportedBitCount(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

std::optional<Layout> ParseLayout(std::span<const std::uint8_t> dib)
{
    if (dib.size() < kInfoHeaderBytes) return std::nullopt;
    const std::uint8_t* h = dib.data();
    if (U32(h) != kInfoHeaderBytes || U16(h + 12) != 1) return std::nullopt;
    const std::int32_t width = I32(h + 4);
    const std::int64_t height = I32(h + 8);
    const int bits = U16(h + 14);
    const std::uint32_t compression = U32(h + 16);
    const std::uint32_t clrUsed = U32(h + 32);
    const std::int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0 || rows > std::numeric_limits<int>::max() || !SupportedBitCount(bits))
        return std::nullopt;
    const bool bitfields = compression == kBiBitfields;
    if (compression != kBiRgb && !(bitfields && (bits == 16 || bits == 32))) return std::nullopt;

    Layout l;
    l.width = width;
    l.rows = int(rows);
    l.topDown = height < 0;
    l.bitCount = bits;
    l.paletteOffset = kInfoHeaderBytes + (bitfields ? kMaskBytes : 0);
    l.paletteEntries = clrUsed != 0 ? clrUsed : bits <= 8 ? (std::size_t(1) << bits) : 0;
    if (l.paletteOffset > dib.size() || l.paletteEntries > (dib.size() - l.paletteOffset) / kRgbQuadBytes)
        return std::nullopt;
    l.bitsOffset = l.paletteOffset + l.paletteEntries * kRgbQuadBytes;
    l.stride = std::size_t(((std::uint64_t(std::uint32_t(width)) * std::uint64_t(bits) + 31) & ~std::uint64_t(31)) / 8);
    if (std::size_t(l.rows) > (dib.size() - l.bitsOffset) / l.stride) return std::nullopt;

    if (bits == 16 || bits == 32) {
        std::array<std::uint32_t, 3> masks = bits == 16 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                                        : std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
        if (bitfields)
            for (std::size_t i = 0; i < 3; ++i) masks[i] = U32(h + kInfoHeaderBytes + 4 * i);
        for (std::size_t i = 0; i < 3; ++i) {
            const auto c = ChannelOf(masks[i]);
            if (!c || (bits == 16 && masks[i] > 0xFFFF)) return std::nullopt;
            l.channels[i] = *c;
        }
    }
    return l;
}

const std::uint8_t* StoredRow(std::span<const std::uint8_t> dib, const Layout& l, int y)
{
    const int stored = l.topDown ? y : l.rows - 1 - y;
    return dib.data() + l.bitsOffset + std::size_t(stored) * l.stride;
}

QImage IndexedImage(std::span<const std::uint8_t> dib, const Layout& l)
{
    QImage image(l.width, l.rows, QImage::Format_Indexed8);
    if (image.isNull()) return image;
    QList<QRgb> table(kIndexedColours, qRgb(0, 0, 0));
    const std::size_t used = std::min<std::size_t>(l.paletteEntries, kIndexedColours);
    for (std::size_t i = 0; i < used; ++i) {
        const std::uint8_t* q = dib.data() + l.paletteOffset + i * kRgbQuadBytes;
        table[qsizetype(i)] = qRgb(q[2], q[1], q[0]);
    }
    image.setColorTable(table);

    const int perByte = 8 / l.bitCount;
    const unsigned valueMask = (1u << l.bitCount) - 1u;
    for (int y = 0; y < l.rows; ++y) {
        const std::uint8_t* src = StoredRow(dib, l, y);
        std::uint8_t* dst = image.scanLine(y);
        if (l.bitCount == 8) {
            std::copy_n(src, l.width, dst);
            continue;
        }
        // The leftmost pixel sits in the byte's highest bits.
        for (int x = 0; x < l.width; ++x) {
            const int shift = 8 - l.bitCount * (x % perByte + 1);
            dst[x] = std::uint8_t((src[x / perByte] >> shift) & valueMask);
        }
    }
    return image;
}

QImage TrueColourImage(std::span<const std::uint8_t> dib, const Layout& l)
{
    QImage image(l.width, l.rows, QImage::Format_RGB32);
    if (image.isNull()) return image;
    const auto& [red, green, blue] = l.channels;
    for (int y = 0; y < l.rows; ++y) {
        const std::uint8_t* src = StoredRow(dib, l, y);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        switch (l.bitCount) {
        case 24:
            for (int x = 0; x < l.width; ++x, src += 3) dst[x] = qRgb(src[2], src[1], src[0]);
            break;
        case 16:
            for (int x = 0; x < l.width; ++x, src += 2) {
                const std::uint32_t p = U16(src);
                dst[x] = qRgb(red.Value(p), green.Value(p), blue.Value(p));
            }
            break;
        default:
            for (int x = 0; x < l.width; ++x, src += 4) {
                const std::uint32_t p = U32(src);
                dst[x] = qRgb(red.Value(p), green.Value(p), blue.Value(p));
            }
            break;
        }
    }
    return image;
}

}  // namespace

QImage DibToImage(std::span<const std::uint8_t> dib)
{
    const std::optional<Layout> layout = ParseLayout(dib);
    if (!layout) return QImage();
    return layout->bitCount <= 8 ? IndexedImage(dib, *layout) : TrueColourImage(dib, *layout);
}

}  // namespace platform
