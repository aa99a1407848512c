// PCX pictures (run-length encoded lines, planar or packed pixels).
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imaging/loader/byte_order.h"
#include "imaging/loader/image_loader.h"
#include "imaging/loader/reader_support.h"

namespace orbiscope {

namespace {

constexpr std::size_t kPcxHeaderBytes = 128;
constexpr std::uint8_t kPcxManufacturer = 0x0A;
constexpr std::uint8_t kTrailingPaletteMarker = 0x0C;
constexpr std::size_t kInputBufferBytes = 16384;
constexpr std::uint8_t kRunFlag = 0xC0;
constexpr std::uint8_t kRunCountMask = 0x3F;
constexpr std::uint8_t kEndOfDataByte = 0xFF;

// The 16 colours version 3 files use, whatever their header holds.
constexpr std::array<std::uint8_t, 48> kVersion3Palette = {
    0x00, 0x00, 0x0e, 0x00, 0x52, 0x07, 0x2c, 0x00, 0x0e, 0x00, 0x00, 0x00, 0xf8, 0x01, 0x2c, 0x00,
    0x85, 0x0f, 0x42, 0x00, 0x21, 0x00, 0x00, 0x00, 0x00, 0x00, 0x6a, 0x24, 0x9b, 0x49, 0xa1, 0x5e,
    0x90, 0x5e, 0x18, 0x5e, 0x84, 0x14, 0xd9, 0x95, 0xa0, 0x14, 0x12, 0x00, 0x06, 0x00, 0x68, 0x1f};

enum class PcxLayout { Bilevel, Planar16, Packed16, Indexed256, Rgb24 };

struct PcxHeader {
    std::uint8_t version = 0;
    std::int64_t width = 0, height = 0;
    std::size_t bytesPerLine = 0;
    PcxLayout layout = PcxLayout::Bilevel;
    unsigned bitCount = 0;     // of the DIB
    unsigned planeBits = 0;    // bits of one pixel in one plane line
    std::array<std::uint8_t, 48> palette16{};
};

// The bits-per-pixel and plane combinations this reader handles; others
// (2 or 3 planes, 2 bits, several 8-bit planes other than RGB) are refused.
bool PcxLayoutOf(std::uint8_t bitsPerPixel, std::uint8_t planes, PcxHeader& h)
{
    struct Combination {
        std::uint8_t bits, planes;
        PcxLayout layout;
        unsigned bitCount;
    };
    static constexpr Combination kCombinations[] = {
        {1, 1, PcxLayout::Bilevel, 1},    {1, 4, PcxLayout::Planar16, 4},
        {4, 1, PcxLayout::Packed16, 4},   {8, 1, PcxLayout::Indexed256, 8},
        {8, 3, PcxLayout::Rgb24, 24},
    };
    for (const Combination& c : kCombinations)
        if (c.bits == bitsPerPixel && c.planes == planes) {
            h.layout = c.layout;
            h.bitCount = c.bitCount;
            h.planeBits = c.bits;
            return true;
        }
    return false;
}

bool ParseHeader(const std::array<std::uint8_t, kPcxHeaderBytes>& bytes, PcxHeader& h)
{
    if (bytes[0] != kPcxManufacturer)
        return false;
    h.version = bytes[1];
    const std::uint8_t bitsPerPixel = bytes[3];
    const std::int64_t xmin = LoadLe16(&bytes[4]), ymin = LoadLe16(&bytes[6]);
    const std::int64_t xmax = LoadLe16(&bytes[8]), ymax = LoadLe16(&bytes[10]);
    std::copy_n(&bytes[16], h.palette16.size(), h.palette16.begin());
    h.bytesPerLine = LoadLe16(&bytes[66]);
    h.width = xmax - xmin + 1;
    h.height = ymax - ymin + 1;
    if (!PcxLayoutOf(bitsPerPixel, bytes[65], h) || !WithinDibLimits(h.width, h.height, h.bitCount))
        return false;
    // Every plane line must hold the pixels of one row.
    return std::uint64_t{h.bytesPerLine} * 8 >= static_cast<std::uint64_t>(h.width) * h.planeBits;
}

std::size_t EncodedLineBytes(const PcxHeader& h)
{
    switch (h.layout) {
    case PcxLayout::Rgb24: return 3 * h.bytesPerLine;
    case PcxLayout::Planar16: return 4 * h.bytesPerLine;
    default: return h.bytesPerLine;
    }
}

class PcxReader {
public:
    PcxReader(ImageStream& stream, const PcxHeader& header)
        : stream_(stream), header_(header), input_(kInputBufferBytes), line_(EncodedLineBytes(header))
    {
    }

    // The run-length codes of one line; false when a run crosses its end.
    bool DecodeLine()
    {
        std::uint8_t* out = line_.data();
        const std::size_t count = line_.size();
        std::size_t produced = 0;
        while (produced < count) {
            const std::uint8_t b = NextByte();
            if (b < kRunFlag) {
                out[produced++] = b;
                continue;
            }
            const std::size_t run = b & kRunCountMask;
            const std::uint8_t value = NextByte();
            if (run > count - produced)
                return false;
            std::memset(out + produced, value, run);
            produced += run;
        }
        return true;
    }

    void ConvertLine(std::uint8_t* row, std::size_t stride) const
    {
        const std::size_t width = static_cast<std::size_t>(header_.width);
        const std::size_t plane = header_.bytesPerLine;
        const std::uint8_t* in = line_.data();
        switch (header_.layout) {
        case PcxLayout::Rgb24:
            for (std::size_t x = 0; x < width; ++x) {
                row[3 * x] = in[2 * plane + x];
                row[3 * x + 1] = in[plane + x];
                row[3 * x + 2] = in[x];
            }
            break;
        case PcxLayout::Planar16:
            std::memset(row, 0, stride);
            for (std::size_t x = 0; x < width; ++x) {
                const unsigned shift = 7 - static_cast<unsigned>(x % 8);
                unsigned value = 0;
                for (unsigned p = 0; p < 4; ++p)
                    value |= ((in[p * plane + x / 8] >> shift) & 1u) << p;
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? value << 4 : value);
            }
            break;
        default: std::memcpy(row, in, std::min(stride, line_.size())); break;
        }
    }

    // The 768-byte palette after the data, when its marker is there.
    bool ReadTrailingPalette(PaletteRgb& palette)
    {
        if (NextByte() != kTrailingPaletteMarker)
            return false;
        for (std::uint8_t& b : palette)
            b = NextByte();
        return true;
    }

private:
    // The end of the data reads as 0xFF bytes.
    std::uint8_t NextByte()
    {
        if (position_ == fill_) {
            const std::int64_t n = stream_.Read(input_.data(), input_.size());
            if (n <= 0)
                return kEndOfDataByte;
            position_ = 0;
            fill_ = static_cast<std::size_t>(n);
        }
        return input_[position_++];
    }

    ImageStream& stream_;
    const PcxHeader& header_;
    std::vector<std::uint8_t> input_, line_;
    std::size_t position_ = 0, fill_ = 0;
};

// The fewest encoded bytes that can make the picture's lines: a run (two
// bytes) stands for at most 63 bytes and runs end with their line, so a line
// of 63k + r bytes takes 2k bytes, plus 1 for r = 1 (a literal) or 2 for a
// longer rest.  A file shorter than this was cut off.
std::uint64_t MinimumEncodedBytes(const PcxHeader& h)
{
    const std::uint64_t line = EncodedLineBytes(h);
    const std::uint64_t perLine = 2 * (line / kRunCountMask) + std::min<std::uint64_t>(line % kRunCountMask, 2);
    return perLine * static_cast<std::uint64_t>(h.height);
}

PaletteRgb HeaderPalette(const PcxHeader& h)
{
    PaletteRgb palette{};
    const auto& sixteen = h.version == 3 ? kVersion3Palette : h.palette16;
    std::copy(sixteen.begin(), sixteen.end(), palette.begin());
    return palette;
}

}  // namespace

PackedDib ReadPcxImage(ImageStream& stream, ProgressCallback callback, void* data)
{
    if (!Readable(stream))
        return {};
    std::array<std::uint8_t, kPcxHeaderBytes> bytes{};
    PcxHeader header;
    if (stream.ReadExact(bytes.data(), bytes.size()) < 0 || !ParseHeader(bytes, header) ||
        MinimumEncodedBytes(header) > BytesLeft(stream))
        return {};
    const auto height = static_cast<std::int32_t>(header.height);
    ImageDib dib = ImageDib::New(header.bitCount, static_cast<std::int32_t>(header.width), height, 0);
    if (!dib.Valid())
        return {};
    PcxReader reader(stream, header);
    for (std::int32_t y = 0; y < height; ++y) {
        ReportProgress(callback, data, static_cast<std::uint64_t>(y), static_cast<std::uint64_t>(height));
        if (!reader.DecodeLine())
            return {};
        reader.ConvertLine(dib.RowPointer(y), dib.Stride());
    }
    PaletteRgb palette{};
    if (header.layout == PcxLayout::Bilevel) {
        std::fill_n(palette.begin() + 3, 3, 0xFF);
    } else if (header.layout == PcxLayout::Indexed256 && header.version > 4) {
        if (!reader.ReadTrailingPalette(palette))
            palette = HeaderPalette(header);
    } else {
        palette = HeaderPalette(header);
    }
    if (header.layout != PcxLayout::Rgb24)
        dib.SetPaletteRgb(palette);
    return dib.Detach();
}

}  // namespace orbiscope
