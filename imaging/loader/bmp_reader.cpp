// Windows bitmap files, read into a packed DIB with their pixel data as stored
// (RLE data stays compressed), and the expansion of RLE8/RLE4 pictures.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "imaging/loader/byte_order.h"
#include "imaging/loader/image_loader.h"
#include "imaging/loader/reader_support.h"

namespace orbiscope {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint16_t kBmpSignature = 0x4D42;   // "BM"
constexpr std::uint32_t kCoreHeaderBytes = 12;
// Version 4 and 5 headers as current tools write them: the 40-byte header,
// then the channel masks, then colour-space fields this program does not use.
constexpr std::uint32_t kV4HeaderBytes = 108;
constexpr std::uint32_t kV5HeaderBytes = 124;
constexpr std::uint32_t kProgressPhases = 4;

struct BmpHeaders {
    BitmapInfoHeader info;
    std::uint32_t pixelOffset = 0;   // bfOffBits, 0 when not given
    bool core = false;               // palette of RGBTRIPLEs
    bool masksInHeader = false;      // version 4/5: masks already read
    std::array<std::uint8_t, kMaskBytes> masks{};
};

bool ReadCoreHeader(ImageStream& stream, BmpHeaders& bmp)
{
    std::array<std::uint8_t, kCoreHeaderBytes - 4> rest{};
    if (stream.ReadExact(rest.data(), rest.size()) < 0)
        return false;
    bmp.core = true;
    bmp.info.biWidth = LoadLe16(rest.data());
    bmp.info.biHeight = LoadLe16(rest.data() + 2);
    bmp.info.biPlanes = LoadLe16(rest.data() + 4);
    bmp.info.biBitCount = LoadLe16(rest.data() + 6);
    return true;
}

// The 40-byte header, or the first 40 bytes of a version 4/5 header with its
// masks; the rest of a longer header is skipped.
bool ReadInfoHeaderOf(ImageStream& stream, std::uint32_t headerBytes, BmpHeaders& bmp)
{
    std::array<std::uint8_t, kV5HeaderBytes> bytes{};
    StoreLe32(bytes.data(), static_cast<std::uint32_t>(kInfoHeaderBytes));
    if (stream.ReadExact(bytes.data() + 4, headerBytes - 4) < 0)
        return false;
    bmp.info = ReadInfoHeader(bytes.data());
    if (headerBytes > kInfoHeaderBytes) {
        bmp.masksInHeader = true;
        std::memcpy(bmp.masks.data(), bytes.data() + kInfoHeaderBytes, kMaskBytes);
    }
    return true;
}

bool ReadHeaders(ImageStream& stream, BmpHeaders& bmp)
{
    std::array<std::uint8_t, kFileHeaderBytes> file{};
    if (stream.ReadExact(file.data(), file.size()) < 0 || LoadLe16(file.data()) != kBmpSignature)
        return false;
    bmp.pixelOffset = LoadLe32(file.data() + 10);
    std::array<std::uint8_t, 4> size{};
    if (stream.ReadExact(size.data(), size.size()) < 0)
        return false;
    const std::uint32_t headerBytes = LoadLe32(size.data());
    if (headerBytes == kCoreHeaderBytes)
        return ReadCoreHeader(stream, bmp);
    if (headerBytes == kInfoHeaderBytes || headerBytes == kV4HeaderBytes || headerBytes == kV5HeaderBytes)
        return ReadInfoHeaderOf(stream, headerBytes, bmp);
    return false;
}

// A core header's RGBTRIPLEs, read into the front of the palette area, spread
// into RGBQUADs from the last entry down so that nothing is overwritten early.
void SpreadTriplets(std::uint8_t* palette, std::uint32_t count)
{
    for (std::uint32_t i = count; i-- > 0;) {
        const std::uint8_t b = palette[3 * i], g = palette[3 * i + 1], r = palette[3 * i + 2];
        palette[4 * i] = b;
        palette[4 * i + 1] = g;
        palette[4 * i + 2] = r;
        palette[4 * i + 3] = 0;
    }
}

// Channel masks must each be one run of set bits: anything else is a broken
// header that no one could draw.
bool MasksUsable(const std::uint8_t* masks)
{
    for (int c = 0; c < 3; ++c) {
        const std::uint32_t m = LoadLe32(masks + 4 * c);
        if (m == 0)
            return false;
        const std::uint32_t run = m >> std::countr_zero(m);
        if ((run & (run + 1)) != 0)
            return false;
    }
    return true;
}

// The palette, masks and pixels the header announces must be in the file
// before a block is allocated for them.
bool FileHoldsData(ImageStream& stream, const BmpHeaders& bmp, const DibLayout& layout)
{
    const std::uint64_t entryBytes = bmp.core ? 3 : kRgbQuadBytes;
    const std::uint64_t masks = layout.masksOffset != 0 && !bmp.masksInHeader ? kMaskBytes : 0;
    return masks + entryBytes * layout.header.biClrUsed + layout.bitsBytes <= BytesLeft(stream);
}

}  // namespace

PackedDib ReadBmpImage(ImageStream& stream, ProgressCallback callback, void* data)
{
    if (!Readable(stream))
        return {};
    ReportProgress(callback, data, 0, kProgressPhases);
    BmpHeaders bmp;
    if (!ReadHeaders(stream, bmp))
        return {};
    ReportProgress(callback, data, 1, kProgressPhases);

    DibLayout layout;
    if (!ImageDib::Plan(bmp.info, layout) || !FileHoldsData(stream, bmp, layout))
        return {};
    ImageDib dib = ImageDib::Allocate(bmp.info);
    if (!dib.Valid())
        return {};
    if (dib.HasMasks()) {
        if (bmp.masksInHeader)
            std::memcpy(dib.MutableMasks(), bmp.masks.data(), kMaskBytes);
        else if (stream.ReadExact(dib.MutableMasks(), kMaskBytes) < 0)
            return {};
        if (!MasksUsable(dib.MutableMasks()))
            return {};
    }
    const std::size_t entryBytes = bmp.core ? 3 : kRgbQuadBytes;
    if (dib.ColorCount() != 0 && stream.ReadExact(dib.MutablePalette(), entryBytes * dib.ColorCount()) < 0)
        return {};
    if (bmp.core)
        SpreadTriplets(dib.MutablePalette(), dib.ColorCount());
    ReportProgress(callback, data, 2, kProgressPhases);

    if (bmp.pixelOffset != 0 && stream.Tell() < static_cast<std::int64_t>(bmp.pixelOffset))
        stream.Seek(bmp.pixelOffset, kSeekBegin);
    if (stream.ReadExact(dib.MutableBits(), dib.BitsBytes()) < 0)
        return {};
    ReportProgress(callback, data, 3, kProgressPhases);
    return dib.Detach();
}

// --- RLE expansion ----------------------------------------------------------

namespace {

constexpr std::uint8_t kRleEscape = 0;
constexpr std::uint8_t kRleEndOfLine = 0;
constexpr std::uint8_t kRleEndOfBitmap = 1;
constexpr std::uint8_t kRleDelta = 2;

// Walks the compressed data of one picture into an 8-bit output whose stored
// rows run bottom-up, as RLE data does.  Runs may cover a row's padding bytes
// (some writers encode whole padded rows) but never go beyond the row.
class RleExpander {
public:
    RleExpander(const DibView& in, ImageDib& out)
        : data_(in.Bits()), end_(in.Bits() + in.BitsBytes()), rle4_(in.Compression() == kBiRle4), out_(out),
          width_(out.Stride()), rows_(static_cast<std::size_t>(in.Height()))
    {
    }

    // False when a run would write outside its row.
    bool Run()
    {
        while (row_ < rows_ && end_ - data_ >= 2) {
            const std::uint8_t n = data_[0], b = data_[1];
            data_ += 2;
            if (n != kRleEscape) {
                if (!Fill(n, b))
                    return false;
            } else if (b == kRleEndOfLine) {
                ++row_;
                x_ = 0;
            } else if (b == kRleEndOfBitmap) {
                break;
            } else if (b == kRleDelta) {
                if (end_ - data_ < 2)
                    break;
                x_ += data_[0];
                row_ += data_[1];
                data_ += 2;
                if (x_ > width_)
                    return false;
            } else if (!Absolute(b)) {
                return false;
            }
        }
        return true;
    }

private:
    std::uint8_t* Row() { return out_.MutableBits() + out_.Stride() * row_; }

    // An encoded run: RLE8 repeats b, RLE4 alternates its high and low nibble.
    bool Fill(std::size_t count, std::uint8_t b)
    {
        if (count > width_ - x_)
            return false;
        std::uint8_t* p = Row() + x_;
        for (std::size_t i = 0; i < count; ++i)
            p[i] = rle4_ ? static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F) : b;
        x_ += count;
        return true;
    }

    // An absolute group of `count` pixels, padded to an even byte count.
    bool Absolute(std::size_t count)
    {
        const std::size_t bytes = rle4_ ? (count + 1) / 2 : count;
        if (bytes > static_cast<std::size_t>(end_ - data_)) {
            data_ = end_;   // data ends inside the group: the rows so far stay
            return true;
        }
        if (count > width_ - x_)
            return false;
        std::uint8_t* p = Row() + x_;
        for (std::size_t i = 0; i < count; ++i)
            p[i] = rle4_ ? static_cast<std::uint8_t>(i % 2 == 0 ? data_[i / 2] >> 4 : data_[i / 2] & 0x0F)
                         : data_[i];
        x_ += count;
        data_ += bytes;
        if (bytes % 2 != 0 && data_ < end_)
            ++data_;
        return true;
    }

    const std::uint8_t* data_;
    const std::uint8_t* end_;
    bool rle4_;
    ImageDib& out_;
    std::size_t width_, rows_;   // width_: output bytes a row holds
    std::size_t x_ = 0, row_ = 0;   // row counted from the bottom
};

}  // namespace

PackedDib ExpandRleDib(std::span<const std::uint8_t> block)
{
    const DibView in = DibView::Wrap(block);
    if (!in.Valid() || (in.Compression() != kBiRle8 && in.Compression() != kBiRle4))
        return {};
    ImageDib out = ImageDib::New(8, in.Width(), in.Height(), in.ColorCount());
    if (!out.Valid())
        return {};
    const std::uint32_t entries = std::min(in.ColorCount(), out.ColorCount());
    for (std::uint32_t i = 0; i < entries; ++i)
        out.SetPaletteEntry(i, in.PaletteEntry(i));
    RleExpander expander(in, out);
    if (!expander.Run())
        return {};
    return out.Detach();
}

}  // namespace orbiscope
