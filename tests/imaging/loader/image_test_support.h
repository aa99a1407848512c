// Helpers of the reader tests: a packed DIB turned into R, G, B bytes by
// reading its bytes directly (not through the library's own accessors), the
// hash the fixture references use, and builders of little files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "imaging/loader/image_loader.h"

namespace imagetest {

using Bytes = std::vector<std::uint8_t>;

inline std::uint32_t Le32(const std::uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline std::uint16_t Le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// The header fields a test looks at, read from the block's first 40 bytes.
struct Header {
    std::int32_t width = 0, height = 0;
    unsigned bitCount = 0;
    std::uint32_t compression = 0, sizeImage = 0, colours = 0;
};

inline Header HeaderOf(const Bytes& dib)
{
    Header h;
    h.width = static_cast<std::int32_t>(Le32(&dib[4]));
    h.height = static_cast<std::int32_t>(Le32(&dib[8]));
    h.bitCount = Le16(&dib[14]);
    h.compression = Le32(&dib[16]);
    h.sizeImage = Le32(&dib[20]);
    h.colours = Le32(&dib[32]);
    return h;
}

struct Rgb {
    std::uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Palette entry i as R, G, B.
inline Rgb PaletteRgb(const Bytes& dib, std::uint32_t i)
{
    const std::size_t at = 40 + (HeaderOf(dib).compression == 3 ? 12 : 0) + 4 * std::size_t{i};
    return {dib[at + 2], dib[at + 1], dib[at]};
}

// Channel value of a 16/32-bit pixel under a mask, scaled to 0-255 as the
// library promises: the top 8 bits of wide masks, v x 255 / (2^w - 1) else.
inline std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask)
{
    int shift = 0, width = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    while ((mask >> (shift + width)) & 1)
        ++width;
    const std::uint32_t v = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>(width >= 8 ? v >> (width - 8) : v * 255 / ((1u << width) - 1));
}

// Pixels of an uncompressed DIB as R, G, B bytes, rows from the top.  Palette
// indices beyond the palette read as black.
inline Bytes RgbPixels(const Bytes& dib)
{
    const Header h = HeaderOf(dib);
    const std::size_t rows = static_cast<std::size_t>(h.height < 0 ? -h.height : h.height);
    const std::size_t stride = ((std::size_t(h.width) * h.bitCount + 31) / 32) * 4;
    const std::size_t masksBytes = h.compression == 3 ? 12 : 0;
    const std::uint8_t* bits = dib.data() + 40 + masksBytes + 4 * std::size_t{h.colours};
    std::uint32_t masks[3] = {h.bitCount == 16 ? 0x7C00u : 0xFF0000u, h.bitCount == 16 ? 0x03E0u : 0xFF00u,
                              h.bitCount == 16 ? 0x001Fu : 0xFFu};
    if (masksBytes)
        for (int c = 0; c < 3; ++c)
            masks[c] = Le32(&dib[40 + 4 * std::size_t(c)]);
    Bytes out;
    for (std::size_t y = 0; y < rows; ++y) {
        const std::uint8_t* row = bits + stride * (h.height < 0 ? y : rows - 1 - y);
        for (std::size_t x = 0; x < std::size_t(h.width); ++x) {
            Rgb c{};
            std::uint32_t index = 0;
            switch (h.bitCount) {
            case 1: index = (row[x / 8] >> (7 - x % 8)) & 1; break;
            case 4: index = x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4; break;
            case 8: index = row[x]; break;
            case 24: c = {row[3 * x + 2], row[3 * x + 1], row[3 * x]}; break;
            case 16:
            case 32: {
                const std::uint32_t p = h.bitCount == 16 ? Le16(row + 2 * x) : Le32(row + 4 * x);
                c = {Channel(p, masks[0]), Channel(p, masks[1]), Channel(p, masks[2])};
                break;
            }
            }
            if (h.bitCount <= 8)
                c = index < h.colours ? PaletteRgb(dib, index) : Rgb{0, 0, 0};
            out.insert(out.end(), {c.r, c.g, c.b});
        }
    }
    return out;
}

// FNV-1a, 64 bits (as tests/imaging/loader/data/pixel_hash.py).
inline std::uint64_t Fnv1a64(const Bytes& bytes)
{
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (std::uint8_t b : bytes)
        h = (h ^ b) * 0x100000001B3ull;
    return h;
}

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Little file builder: appends bytes, little- or big-endian numbers.
class Builder {
public:
    Builder& U8(std::initializer_list<int> values)
    {
        for (int v : values)
            bytes_.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    Builder& Text(const char* s)
    {
        bytes_.insert(bytes_.end(), s, s + std::strlen(s));
        return *this;
    }
    Builder& Le16(std::uint32_t v) { return U8({int(v & 0xFF), int(v >> 8 & 0xFF)}); }
    Builder& Le32(std::uint32_t v) { return Le16(v & 0xFFFF).Le16(v >> 16); }
    Builder& Be16(std::uint32_t v) { return U8({int(v >> 8 & 0xFF), int(v & 0xFF)}); }
    Builder& Be32(std::uint32_t v) { return Be16(v >> 16).Be16(v & 0xFFFF); }
    Builder& Zeros(std::size_t n)
    {
        bytes_.insert(bytes_.end(), n, 0);
        return *this;
    }
    Builder& Append(const Bytes& more)
    {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    std::size_t Size() const { return bytes_.size(); }
    const Bytes& Get() const { return bytes_; }

private:
    Bytes bytes_;
};

// Progress calls a reader makes: (position, total) pairs.
struct ProgressLog {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> calls;
    static void Record(void* data, std::uint32_t position, std::uint32_t total)
    {
        static_cast<ProgressLog*>(data)->calls.emplace_back(position, total);
    }
};

// LZW codes as (code, width in bits), packed least significant bit first and
// cut into GIF data sub-blocks, with the zero-length terminator unless asked
// not to.
using GifCodes = std::vector<std::pair<unsigned, unsigned>>;
inline Bytes GifSubBlocks(const GifCodes& codes, bool terminate = true)
{
    Bytes packed;
    std::uint64_t bits = 0;
    unsigned filled = 0;
    for (const auto& [code, width] : codes) {
        bits |= std::uint64_t{code} << filled;
        for (filled += width; filled >= 8; filled -= 8, bits >>= 8)
            packed.push_back(static_cast<std::uint8_t>(bits));
    }
    if (filled > 0)
        packed.push_back(static_cast<std::uint8_t>(bits));
    Bytes out;
    for (std::size_t at = 0; at < packed.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, packed.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(at),
                   packed.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    if (terminate)
        out.push_back(0);
    return out;
}

}  // namespace imagetest
