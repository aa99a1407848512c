// GIF files (GIF87a and GIF89a block structure): the first image that
// decodes, as a 1-, 4- or 8-bit packed DIB.
#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "imaging/loader/byte_order.h"
#include "imaging/loader/image_loader.h"
#include "imaging/loader/reader_support.h"

namespace orbiscope {

namespace {

constexpr std::size_t kScreenBytes = 13;
constexpr std::size_t kDescriptorBytes = 9;
constexpr std::uint8_t kTableFlag = 0x80;
constexpr std::uint8_t kInterlaceFlag = 0x40;
constexpr std::uint8_t kTableSizeMask = 0x07;
constexpr int kExtensionIntroducer = 0x21;   // '!'
constexpr int kImageSeparator = 0x2C;        // ','
constexpr int kTrailer = 0x3B;               // ';'
constexpr int kPlainTextLabel = 0x01;
constexpr int kGraphicControlLabel = 0xF9;
constexpr int kApplicationLabel = 0xFF;
// Fixed parts of the extensions, with their block-size byte (and, for the
// graphic control extension, its terminator).
constexpr std::int64_t kPlainTextFixedBytes = 13;
constexpr std::int64_t kGraphicControlBytes = 6;
constexpr std::int64_t kApplicationFixedBytes = 12;

constexpr int kMaxLzwBits = 12;
constexpr std::size_t kLzwTableSize = std::size_t{1} << kMaxLzwBits;

// The four interlace passes: first row and row step.
constexpr std::array<std::size_t, 4> kPassStart = {0, 4, 2, 1};
constexpr std::array<std::size_t, 4> kPassStep = {8, 8, 4, 2};

// Data sub-blocks (a count byte, then that many bytes) up to a count of 0.
void SkipSubBlocks(ImageStream& stream)
{
    for (int count = stream.GetByte(); count > 0; count = stream.GetByte())
        if (stream.Seek(count, kSeekCurrent) < 0)
            return;
}

void SkipExtension(ImageStream& stream)
{
    switch (stream.GetByte()) {
    case kPlainTextLabel:
        stream.Seek(kPlainTextFixedBytes, kSeekCurrent);
        SkipSubBlocks(stream);
        break;
    case kGraphicControlLabel: stream.Seek(kGraphicControlBytes, kSeekCurrent); break;
    case kApplicationLabel:
        stream.Seek(kApplicationFixedBytes, kSeekCurrent);
        SkipSubBlocks(stream);
        break;
    default: SkipSubBlocks(stream); break;
    }
}

unsigned BitCountForTable(int sizeBits)
{
    return sizeBits == 1 ? 1 : sizeBits <= 4 ? 4 : 8;
}

struct GifImage {
    std::size_t width = 0, height = 0;
    bool interlaced = false;
};

// Where decoded rows go: the row order of plain or interlaced images, and the
// packing of one line of indices into the picture's depth.
class RowSink {
public:
    RowSink(ImageDib& dib, const GifImage& image, ProgressCallback callback, void* data)
        : dib_(dib), image_(image), callback_(callback), data_(data),
          line_(std::max(dib.Stride(), image.width))
    {
    }

    // Takes one pixel index; stores the row when it is full.
    void Put(std::uint8_t index)
    {
        line_[fill_++] = index;
        if (fill_ == image_.width) {
            StoreRow();
            fill_ = 0;
        }
    }

private:
    void StoreRow()
    {
        if (row_ < image_.height)
            PackRow(dib_.RowPointer(static_cast<std::int32_t>(row_)));
        ++rowsDone_;
        ReportProgress(callback_, data_, rowsDone_, image_.height);
        AdvanceRow();
    }

    void PackRow(std::uint8_t* out) const
    {
        const std::size_t width = image_.width;
        switch (dib_.BitCount()) {
        case 1:
            std::memset(out, 0xFF, dib_.Stride());
            for (std::size_t x = 0; x < width; ++x)
                if (line_[x] == 0)
                    out[x / 8] = static_cast<std::uint8_t>(out[x / 8] & ~(0x80u >> (x % 8)));
            break;
        case 4:
            for (std::size_t x = 0; x < width; x += 2) {
                const unsigned low = x + 1 < width ? line_[x + 1] & 0x0Fu : 0u;
                out[x / 2] = static_cast<std::uint8_t>(unsigned{line_[x]} << 4 | low);
            }
            break;
        default: std::memcpy(out, line_.data(), dib_.Stride()); break;
        }
    }

    // The next row: the next one down, or the next of the interlace pass;
    // passes whose first row lies below the picture have no rows.
    void AdvanceRow()
    {
        if (!image_.interlaced) {
            ++row_;
            return;
        }
        row_ += kPassStep[pass_];
        while (row_ >= image_.height && pass_ + 1 < kPassStart.size())
            row_ = kPassStart[++pass_];
    }

    ImageDib& dib_;
    const GifImage& image_;
    ProgressCallback callback_;
    void* data_;
    std::vector<std::uint8_t> line_;
    std::size_t fill_ = 0;
    std::size_t row_ = 0, pass_ = 0, rowsDone_ = 0;
};

enum class CodeResult { Code, EndOfData, Failure };

// Variable-width LZW codes, least significant bit first, from data sub-blocks.
class CodeReader {
public:
    explicit CodeReader(ImageStream& stream) : stream_(stream) {}

    CodeResult Next(int width, unsigned& code)
    {
        while (bitCount_ < width) {
            if (position_ == fill_) {
                const int count = stream_.GetByte();
                if (count == 0)
                    return CodeResult::EndOfData;
                if (count < 0 || stream_.ReadExact(block_.data(), static_cast<std::size_t>(count)) < 0)
                    return CodeResult::Failure;
                position_ = 0;
                fill_ = static_cast<std::size_t>(count);
            }
            bits_ |= std::uint32_t{block_[position_++]} << bitCount_;
            bitCount_ += 8;
        }
        code = bits_ & ((1u << width) - 1);
        bits_ >>= width;
        bitCount_ -= width;
        return CodeResult::Code;
    }

private:
    ImageStream& stream_;
    std::array<std::uint8_t, 256> block_{};
    std::size_t position_ = 0, fill_ = 0;
    std::uint32_t bits_ = 0;
    int bitCount_ = 0;
};

class LzwDecoder {
public:
    LzwDecoder() : stack_(kLzwTableSize), suffix_(kLzwTableSize), prefix_(kLzwTableSize) {}

    // True at the end code or the block terminator; false for a minimum code
    // size outside 2-8, a code beyond the table, or a read failure.
    bool Decode(int minCodeSize, CodeReader& codes, RowSink& sink)
    {
        if (minCodeSize < 2 || minCodeSize > 8)
            return false;
        clear_ = 1u << minCodeSize;
        const unsigned end = clear_ + 1;
        Reset(minCodeSize);
        for (;;) {
            unsigned code = 0;
            const CodeResult r = codes.Next(width_, code);
            if (r != CodeResult::Code)
                return r == CodeResult::EndOfData;
            if (code == end)
                return true;
            if (code > next_)
                return false;
            if (code == clear_) {
                Reset(minCodeSize);
                continue;
            }
            if (!Emit(code, sink))
                return false;
            AddEntry(code);
        }
    }

private:
    static constexpr unsigned kNone = 0xFFFFFFFFu;

    void Reset(int minCodeSize)
    {
        next_ = clear_ + 2;
        width_ = minCodeSize + 1;
        limit_ = 1u << width_;
        previous_ = kNone;
        first_ = 0;
    }

    // The string of `code`, first character first.
    bool Emit(unsigned code, RowSink& sink)
    {
        std::size_t depth = 0;
        if (code == next_) {
            if (previous_ == kNone)
                return false;
            stack_[depth++] = first_;
            code = previous_;
        }
        while (code >= clear_) {
            if (depth == stack_.size())
                return false;
            stack_[depth++] = suffix_[code];
            code = prefix_[code];
        }
        first_ = static_cast<std::uint8_t>(code);
        sink.Put(first_);
        while (depth > 0)
            sink.Put(stack_[--depth]);
        return true;
    }

    void AddEntry(unsigned code)
    {
        if (next_ < kLzwTableSize && previous_ != kNone) {
            prefix_[next_] = static_cast<std::uint16_t>(previous_);
            suffix_[next_] = first_;
            ++next_;
            if (next_ >= limit_ && width_ < kMaxLzwBits) {
                ++width_;
                limit_ <<= 1;
            }
        }
        previous_ = code;
    }

    std::vector<std::uint8_t> stack_, suffix_;
    std::vector<std::uint16_t> prefix_;
    unsigned clear_ = 0, next_ = 0, limit_ = 0, previous_ = kNone;
    int width_ = 0;
    std::uint8_t first_ = 0;
};

struct ImageResult {
    PackedDib dib;
    bool fileEnds = false;   // the file cannot be read on: no later image
};

// The bytes of the data sub-blocks ahead, up to their terminator or the end
// of the file; the stream is left where it was.
std::uint64_t DataBytesAhead(ImageStream& stream)
{
    const std::int64_t start = stream.Tell();
    const bool eof = stream.eof;
    std::uint64_t total = 0;
    for (int count = stream.GetByte(); count > 0; count = stream.GetByte()) {
        const std::uint64_t left = BytesLeft(stream);
        if (static_cast<std::uint64_t>(count) >= left) {
            total += left;
            break;
        }
        total += static_cast<std::uint64_t>(count);
        stream.Seek(count, kSeekCurrent);
    }
    stream.Seek(start, kSeekBegin);
    stream.eof = eof;
    return total;
}

// What the images of one file may cost before the reader gives up on it:
// every image that fails has its picture's bytes counted (its decoding work
// is in proportion), and once they pass a quarter of the largest picture
// allowed, no further image is tried.
class FileBudget {
public:
    bool Spend(std::uint64_t bytes)
    {
        spent_ += bytes;
        return spent_ <= kMaxDibBytes / 4;
    }

private:
    std::uint64_t spent_ = 0;
};

// One image after its separator: descriptor, local table, LZW data.  An
// image that cannot be decoded gives an empty block; the caller then goes on
// to the next block.  Nothing is allocated for a picture that its data
// cannot fill.  Data that ends properly, at its block terminator or its end
// code, before the last pixel still gives the picture, the rows not reached
// left as allocated (index 0): what the encoder wrote is shown.  Data that
// runs out of the file before its terminator fails the image, however many
// pixels came: a file cut short is refused.
ImageResult ReadOneImage(ImageStream& stream, PaletteRgb& palette, int& sizeBits, FileBudget& budget,
                         ProgressCallback callback, void* data)
{
    std::array<std::uint8_t, kDescriptorBytes> descriptor{};
    if (stream.ReadExact(descriptor.data(), descriptor.size()) < 0)
        return {{}, true};
    const std::uint8_t flags = descriptor[8];
    if (flags & kTableFlag) {
        sizeBits = (flags & kTableSizeMask) + 1;
        if (stream.ReadExact(palette.data(), std::size_t{3} << sizeBits) < 0)
            return {{}, true};
    }
    const int minCodeSize = stream.GetByte();
    if (minCodeSize < 0)
        return {{}, true};
    GifImage image;
    image.width = LoadLe16(&descriptor[4]);
    image.height = LoadLe16(&descriptor[6]);
    image.interlaced = (flags & kInterlaceFlag) != 0;
    ReportProgress(callback, data, 0, image.height);
    const unsigned bitCount = BitCountForTable(sizeBits);
    const std::uint64_t pixels = std::uint64_t{image.width} * image.height;
    if (pixels == 0 || minCodeSize < 2 || minCodeSize > 8 ||
        MaxLzwOutput(DataBytesAhead(stream), static_cast<unsigned>(minCodeSize) + 1) < pixels)
        return {};
    ImageDib dib = ImageDib::New(bitCount, static_cast<std::int32_t>(image.width),
                                 static_cast<std::int32_t>(image.height), 0);
    if (!dib.Valid())
        return {};
    dib.SetPaletteRgb(palette);
    RowSink sink(dib, image, callback, data);
    CodeReader codes(stream);
    LzwDecoder decoder;
    if (!decoder.Decode(minCodeSize, codes, sink))
        return {{}, !budget.Spend(dib.Block().size())};
    return {dib.Detach()};
}

}  // namespace

PackedDib ReadGifImage(ImageStream& stream, ProgressCallback callback, void* data)
{
    if (!Readable(stream))
        return {};
    std::array<std::uint8_t, kScreenBytes> screen{};
    if (stream.ReadExact(screen.data(), screen.size()) < 0 || std::memcmp(screen.data(), "GIF", 3) != 0)
        return {};
    PaletteRgb palette{};
    FileBudget budget;
    int sizeBits = (screen[10] & kTableSizeMask) + 1;
    if ((screen[10] & kTableFlag) && stream.ReadExact(palette.data(), std::size_t{3} << sizeBits) < 0)
        return {};
    for (;;) {
        const int block = stream.GetByte();
        if (block <= 0 || block == kTrailer)
            return {};
        if (block == kExtensionIntroducer) {
            SkipExtension(stream);
            if (stream.error)
                return {};
        } else if (block == kImageSeparator) {
            ImageResult result = ReadOneImage(stream, palette, sizeBits, budget, callback, data);
            if (!result.dib.empty() || result.fileEnds)
                return std::move(result.dib);
            // The rest of a failed image's data is skipped so that a later
            // image can be found.
            SkipSubBlocks(stream);
            if (stream.error)
                return {};
        }
    }
}

}  // namespace orbiscope
