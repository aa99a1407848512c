// TIFF files: the first image of a baseline file in strips, uncompressed,
// LZW or PackBits, bilevel, 4- or 8-bit grey or palette, or 8-bit RGB.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "imaging/loader/byte_order.h"
#include "imaging/loader/image_loader.h"
#include "imaging/loader/reader_support.h"

namespace orbiscope {

namespace {

constexpr std::uint16_t kLittleEndianMark = 0x4949;   // "II"
constexpr std::uint16_t kBigEndianMark = 0x4D4D;      // "MM"
constexpr std::uint16_t kTiffMagic = 42;
constexpr std::size_t kEntryBytes = 12;

enum Tag : std::uint16_t {
    kImageWidth = 256,
    kImageLength = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kStripOffsets = 273,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kPlanarConfiguration = 284,
    kPredictor = 317,
    kColorMap = 320,
};

constexpr std::uint16_t kCompressionNone = 1;
constexpr std::uint16_t kCompressionLzw = 5;
constexpr std::uint16_t kCompressionPackBits = 32773;
constexpr std::uint16_t kWhiteIsZero = 0;
constexpr std::uint16_t kRgb = 2;
constexpr std::uint16_t kPaletteColor = 3;

constexpr std::size_t kInputBufferBytes = 8192;

// Bytes of one value of each field type (1 BYTE ... 12 DOUBLE); unknown
// types count 0.
std::uint64_t TypeSize(std::uint16_t type)
{
    static constexpr std::array<std::uint8_t, 13> kSizes = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < kSizes.size() ? kSizes[type] : 0;
}

struct TiffEntry {
    std::uint16_t tag = 0, type = 0;
    std::uint32_t count = 0;
    std::array<std::uint8_t, 4> value{};   // the value field as stored

    bool Inline() const { return TypeSize(type) * count <= 4; }
};

// What the first IFD says about the image.
struct TiffImage {
    std::uint32_t width = 0, height = 0;
    std::uint16_t bitsPerSample = 8, samplesPerPixel = 1, compression = kCompressionNone;
    std::uint16_t photometric = kWhiteIsZero, predictor = 1;
    std::uint32_t rowsPerStrip = 0xFFFFFFFF;
    TiffEntry stripOffsets, stripByteCounts, colorMap;
    bool hasStripOffsets = false, hasByteCounts = false, hasColorMap = false;
};

class TiffReader {
public:
    explicit TiffReader(ImageStream& stream) : stream_(stream) {}

    bool ReadHeader()
    {
        std::array<std::uint8_t, 8> header{};
        if (stream_.ReadExact(header.data(), header.size()) < 0)
            return false;
        const std::uint16_t order = LoadLe16(header.data());
        if (order != kLittleEndianMark && order != kBigEndianMark)
            return false;
        bigEndian_ = order == kBigEndianMark;
        return Short(header.data() + 2) == kTiffMagic && stream_.Seek(Long(header.data() + 4), kSeekBegin) >= 0;
    }

    bool ReadDirectory(TiffImage& image)
    {
        std::array<std::uint8_t, 2> countBytes{};
        if (stream_.ReadExact(countBytes.data(), countBytes.size()) < 0)
            return false;
        const std::uint16_t entries = Short(countBytes.data());
        for (std::uint16_t i = 0; i < entries; ++i) {
            TiffEntry entry;
            if (!ReadEntry(entry) || !Apply(entry, image))
                return false;
        }
        return true;
    }

    // `n` values of a SHORT or LONG field, inline or at its offset.
    bool ReadArray(const TiffEntry& entry, std::size_t n, std::vector<std::uint32_t>& out)
    {
        if (entry.count < n || (entry.type != 3 && entry.type != 4))
            return false;
        out.resize(n);
        if (entry.Inline()) {
            for (std::size_t i = 0; i < n; ++i)
                out[i] = entry.type == 3 ? Short(entry.value.data() + 2 * i) : Long(entry.value.data());
            return true;
        }
        if (stream_.Seek(Long(entry.value.data()), kSeekBegin) < 0)
            return false;
        for (std::uint32_t& v : out)
            v = ReadValue(entry.type);
        return !stream_.error;
    }

    // The colour map: 2^bits red values, then green, then blue, 16 bits each.
    // A map whose values all fit 8 bits was written with 8-bit colours and
    // is taken as it is; otherwise the high byte of each value is the colour.
    bool ReadColorMap(const TiffEntry& entry, unsigned bits, PaletteRgb& palette)
    {
        const std::size_t n = std::size_t{1} << bits;
        if (stream_.Seek(Long(entry.value.data()), kSeekBegin) < 0)
            return false;
        std::vector<std::uint32_t> values(3 * n);
        for (std::uint32_t& v : values)
            v = ReadValue(entry.type);
        const bool wide = std::any_of(values.begin(), values.end(), [](std::uint32_t v) { return v > 0xFF; });
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t c = 0; c < 3; ++c)
                palette[3 * i + c] = static_cast<std::uint8_t>(wide ? values[c * n + i] >> 8 : values[c * n + i]);
        return !stream_.error;
    }

    ImageStream& Stream() { return stream_; }

private:
    std::uint16_t Short(const std::uint8_t* p) const { return bigEndian_ ? LoadBe16(p) : LoadLe16(p); }
    std::uint32_t Long(const std::uint8_t* p) const { return bigEndian_ ? LoadBe32(p) : LoadLe32(p); }

    std::uint32_t ReadValue(std::uint16_t type)
    {
        std::array<std::uint8_t, 4> b{};
        switch (TypeSize(type)) {
        case 1: return static_cast<std::uint32_t>(std::max(stream_.GetByte(), 0));
        case 2: return stream_.ReadExact(b.data(), 2) < 0 ? 0 : Short(b.data());
        case 4: return stream_.ReadExact(b.data(), 4) < 0 ? 0 : Long(b.data());
        default: return 0;
        }
    }

    bool ReadEntry(TiffEntry& entry)
    {
        std::array<std::uint8_t, kEntryBytes> b{};
        if (stream_.ReadExact(b.data(), b.size()) < 0)
            return false;
        entry.tag = Short(b.data());
        entry.type = Short(b.data() + 2);
        entry.count = Long(b.data() + 4);
        std::copy_n(b.begin() + 8, 4, entry.value.begin());
        return true;
    }

    // The first value of an inline field, read by its type.
    std::uint32_t FirstValue(const TiffEntry& entry) const
    {
        switch (TypeSize(entry.type)) {
        case 1: return entry.value[0];
        case 2: return Short(entry.value.data());
        case 4: return Long(entry.value.data());
        default: return 0;
        }
    }

    // The first value of a field inline or at its offset (BitsPerSample of
    // several samples); the directory position is kept.
    bool FirstValueAnywhere(const TiffEntry& entry, std::uint32_t& value)
    {
        if (entry.Inline()) {
            value = FirstValue(entry);
            return true;
        }
        const std::int64_t back = stream_.Tell();
        if (stream_.Seek(Long(entry.value.data()), kSeekBegin) < 0)
            return false;
        value = ReadValue(entry.type);
        return !stream_.error && stream_.Seek(back, kSeekBegin) >= 0;
    }

    static bool FitsShort(std::uint32_t v, std::uint16_t& out)
    {
        out = static_cast<std::uint16_t>(v);
        return v <= 0xFFFF;
    }

    bool Apply(const TiffEntry& entry, TiffImage& image)
    {
        std::uint32_t v = 0;
        switch (entry.tag) {
        case kImageWidth: image.width = FirstValue(entry); return entry.Inline();
        case kImageLength: image.height = FirstValue(entry); return entry.Inline();
        case kBitsPerSample: return FirstValueAnywhere(entry, v) && FitsShort(v, image.bitsPerSample);
        case kCompression: return entry.Inline() && FitsShort(FirstValue(entry), image.compression);
        case kPhotometric: return entry.Inline() && FitsShort(FirstValue(entry), image.photometric);
        case kSamplesPerPixel: return entry.Inline() && FitsShort(FirstValue(entry), image.samplesPerPixel);
        case kRowsPerStrip: image.rowsPerStrip = FirstValue(entry); return entry.Inline();
        case kPredictor: return entry.Inline() && FitsShort(FirstValue(entry), image.predictor);
        case kPlanarConfiguration: return entry.Inline() && FirstValue(entry) == 1;
        case kStripOffsets:
            // A value (an offset, or the offset of the array) of 0 points at the header.
            image.stripOffsets = entry;
            image.hasStripOffsets = entry.count != 0 && Long(entry.value.data()) != 0;
            return true;
        case kStripByteCounts:
            image.stripByteCounts = entry;
            image.hasByteCounts = entry.count != 0;
            return true;
        case kColorMap:
            image.colorMap = entry;
            image.hasColorMap = true;
            return !entry.Inline();
        default: return true;
        }
    }

    ImageStream& stream_;
    bool bigEndian_ = false;
};

// Bilevel, 4- or 8-bit grey or palette, and 8-bit RGB; nothing else decodes
// into a packed DIB without guessing.
bool Supported(const TiffImage& t)
{
    const bool oneSample = t.samplesPerPixel == 1 &&
                           (t.bitsPerSample == 1 || t.bitsPerSample == 4 || t.bitsPerSample == 8) &&
                           t.photometric != kRgb && t.photometric <= kPaletteColor;
    const bool rgb = t.samplesPerPixel == 3 && t.bitsPerSample == 8 && t.photometric == kRgb;
    const bool coded = t.compression == kCompressionNone || t.compression == kCompressionLzw ||
                       t.compression == kCompressionPackBits;
    return (oneSample || rgb) && coded && t.predictor == 1;
}

// Finished rows go to the picture, top row first; the fix-ups make stored
// samples into DIB pixels.
class RowOutput {
public:
    RowOutput(ImageDib& dib, const TiffImage& t, std::size_t rowBytes)
        : dib_(dib), rowBytes_(rowBytes), rows_(t.height),
          invert_(t.photometric == kWhiteIsZero && !t.hasColorMap && t.samplesPerPixel == 1),
          swapRedBlue_(t.samplesPerPixel == 3), width_(t.width)
    {
    }

    // Takes `rowBytes` bytes of samples; the fixed-up row goes to the picture.
    void Put(const std::uint8_t* row)
    {
        if (next_ < rows_) {
            std::uint8_t* out = dib_.RowPointer(static_cast<std::int32_t>(next_));
            if (swapRedBlue_) {
                CopySwappingRedBlue(out, row, width_);
            } else if (invert_) {
                for (std::size_t i = 0; i < rowBytes_; ++i)
                    out[i] = static_cast<std::uint8_t>(~row[i]);
            } else {
                std::memcpy(out, row, rowBytes_);
            }
        }
        ++next_;
    }

    bool Full() const { return next_ >= rows_; }
    std::size_t RowBytes() const { return rowBytes_; }

private:
    ImageDib& dib_;
    std::size_t rowBytes_, rows_;
    bool invert_, swapRedBlue_;
    std::size_t width_;
    std::size_t next_ = 0;
};

// The bytes of one strip through a buffer; -1 marks the end of the strip.
class StripInput {
public:
    StripInput(ImageStream& stream, std::uint64_t bytes) : stream_(stream), left_(bytes) {}

    int Next()
    {
        if (position_ == fill_ && !Refill())
            return -1;
        return buffer_[position_++];
    }

    // Up to `n` bytes straight from the buffer; 0 at the end of the strip.
    std::size_t Take(std::uint8_t* out, std::size_t n)
    {
        if (position_ == fill_ && !Refill())
            return 0;
        const std::size_t k = std::min(n, fill_ - position_);
        std::memcpy(out, buffer_.data() + position_, k);
        position_ += k;
        return k;
    }

    bool Failed() const { return failed_; }
    bool AtEnd() const { return position_ == fill_ && left_ == 0; }

    // The strip's first two bytes, not taken; false when it has fewer.
    bool PeekTwo(std::uint8_t& first, std::uint8_t& second)
    {
        if (position_ == fill_ && !Refill())
            return false;
        if (fill_ - position_ < 2)
            return false;
        first = buffer_[position_];
        second = buffer_[position_ + 1];
        return true;
    }

    // Four bytes at once when the buffer holds them (the decoders' fast path).
    bool Take4(const std::uint8_t*& bytes)
    {
        if (fill_ - position_ < 4)
            return false;
        bytes = buffer_.data() + position_;
        position_ += 4;
        return true;
    }

private:
    bool Refill()
    {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left_, buffer_.size()));
        if (n == 0)
            return false;
        if (stream_.ReadExact(buffer_.data(), n) < 0) {
            failed_ = true;
            left_ = 0;
            return false;
        }
        left_ -= n;
        position_ = 0;
        fill_ = n;
        return true;
    }

    ImageStream& stream_;
    std::uint64_t left_;
    std::array<std::uint8_t, kInputBufferBytes> buffer_;   // only [0, fill_) is read
    std::size_t position_ = 0, fill_ = 0;
    bool failed_ = false;
};

bool DecodeUncompressed(ImageStream& stream, std::uint64_t bytes, RowOutput& out, std::vector<std::uint8_t>& row)
{
    const std::size_t rowBytes = out.RowBytes();
    // From memory, whole rows go to the picture straight from the block.
    if (const std::uint8_t* base = stream.MemoryBase(); base != nullptr) {
        const std::int64_t at = stream.Tell();
        const std::uint64_t whole = std::min(bytes, BytesLeft(stream)) / rowBytes * rowBytes;
        const std::uint8_t* p = base + at;
        std::uint64_t used = 0;
        for (; used < whole && !out.Full(); used += rowBytes, p += rowBytes)
            out.Put(p);
        if (stream.Seek(at + static_cast<std::int64_t>(used), kSeekBegin) < 0)
            return false;
        bytes -= used;
    }
    while (bytes > 0 && !out.Full()) {
        const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, rowBytes));
        if (stream.ReadExact(row.data(), piece) < 0)
            return false;
        std::fill(row.begin() + static_cast<std::ptrdiff_t>(piece), row.end(), 0);
        out.Put(row.data());
        bytes -= piece;
    }
    return true;
}

// PackBits runs and literal groups; one that crosses the end of a row goes
// on into the next row of the strip, so no run writes past a row buffer.
class PackBitsDecoder {
public:
    explicit PackBitsDecoder(StripInput& input) : input_(input) {}

    // Every byte of the strip used, no run or group pending.
    bool Done() const { return literal_ == 0 && run_ == 0 && input_.AtEnd(); }

    bool FillRow(std::uint8_t* row, std::size_t n)
    {
        std::size_t i = 0;
        while (i < n) {
            if (literal_ > 0) {
                const std::size_t k = input_.Take(row + i, std::min(literal_, n - i));
                if (k == 0)
                    return false;
                literal_ -= k;
                i += k;
            } else if (run_ > 0) {
                const std::size_t k = std::min(run_, n - i);
                std::memset(row + i, value_, k);
                run_ -= k;
                i += k;
            } else if (!ReadHeader()) {
                return false;
            }
        }
        return true;
    }

private:
    bool ReadHeader()
    {
        const int h = input_.Next();
        if (h < 0)
            return false;
        if (h < 128) {
            literal_ = static_cast<std::size_t>(h) + 1;
        } else if (h > 128) {
            const int v = input_.Next();
            if (v < 0)
                return false;
            run_ = 257 - static_cast<std::size_t>(h);
            value_ = static_cast<std::uint8_t>(v);
        }
        return true;
    }

    StripInput& input_;
    std::size_t literal_ = 0, run_ = 0;
    std::uint8_t value_ = 0;
};

bool DecodePackBits(ImageStream& stream, std::uint64_t bytes, std::uint32_t rowsPerStrip, RowOutput& out,
                    std::vector<std::uint8_t>& row)
{
    StripInput input(stream, bytes);
    PackBitsDecoder decoder(input);
    for (std::uint32_t done = 0; done < rowsPerStrip && !out.Full() && !decoder.Done(); ++done) {
        if (!decoder.FillRow(row.data(), out.RowBytes()))
            return false;
        out.Put(row.data());
    }
    return true;
}

// TIFF LZW: 9- to 12-bit codes, normally most significant bit first, with
// the width growing one code early; old files with codes packed least
// significant bit first are recognised by their first two bytes.
class TiffLzw {
public:
    TiffLzw() : table_(kTableSize)
    {
        for (unsigned i = 0; i < 256; ++i)
            table_[i] = {0, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), 1};
    }

    bool Decode(StripInput& input, RowOutput& out, std::vector<std::uint8_t>& buffer)
    {
        std::uint8_t first = 0, second = 0;
        const bool lsbFirst = input.PeekTwo(first, second) && first == 0 && (second & 1) != 0;
        if (input.Failed())
            return false;
        input_ = &input;
        lsbFirst_ = lsbFirst;
        bits_ = 0;
        bitCount_ = 0;
        Reset();
        const std::size_t rowBytes = out.RowBytes();
        std::size_t fill = 0;
        unsigned previous = kNone;
        for (;;) {
            unsigned code = 0;
            if (!NextCode(code) || code == kEnd)
                break;
            if (code == kClear) {
                Reset();
                previous = kNone;
                continue;
            }
            // After a clear only a single character can come.
            if (code > next_ || (previous == kNone && code > kEnd))
                return false;
            if (previous != kNone && !AddEntry(previous, code))
                return false;
            fill += WriteString(code, buffer.data() + fill);
            previous = code;
            if (fill >= rowBytes) {
                fill = FlushRows(buffer, fill, out);
                if (out.Full())
                    return true;
            }
        }
        if (input_->Failed())
            return false;
        if (fill > 0) {
            std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(fill), buffer.begin() + static_cast<std::ptrdiff_t>(rowBytes), 0);
            out.Put(buffer.data());
        }
        return true;
    }

private:
    static constexpr unsigned kClear = 256, kEnd = 257, kFirstFree = 258;
    static constexpr unsigned kNone = 0xFFFFFFFFu;
    static constexpr unsigned kTableSize = 4096;
    static constexpr int kMaxBits = 12;

    // 8 bytes, so that an entry's address is a shift away.
    struct alignas(8) Entry {
        std::uint16_t previous = 0;
        std::uint8_t first = 0, last = 0;
        std::uint16_t length = 0;
    };

    void Reset()
    {
        next_ = kFirstFree;
        width_ = 9;
        limit_ = 512;
    }

    bool NextCode(unsigned& code)
    {
        if (bitCount_ < width_)
            Refill();
        while (bitCount_ < width_) {
            const int b = input_->Next();
            if (b < 0)
                return false;
            if (lsbFirst_)
                bits_ |= static_cast<std::uint64_t>(b) << bitCount_;
            else
                bits_ = bits_ << 8 | static_cast<std::uint64_t>(b);
            bitCount_ += 8;
        }
        const std::uint64_t mask = (std::uint64_t{1} << width_) - 1;
        if (lsbFirst_) {
            code = static_cast<unsigned>(bits_ & mask);
            bits_ >>= width_;
        } else {
            code = static_cast<unsigned>((bits_ >> (bitCount_ - width_)) & mask);
        }
        bitCount_ -= width_;
        return true;
    }

    // Tops the bit buffer up by 32 bits when the input has them at hand.
    void Refill()
    {
        const std::uint8_t* b = nullptr;
        if (!input_->Take4(b))
            return;
        if (lsbFirst_) {
            bits_ |= static_cast<std::uint64_t>(LoadLe32(b)) << bitCount_;
        } else {
            bits_ = bits_ << 32 | LoadBe32(b);   // bits above the unread ones are never looked at
        }
        bitCount_ += 32;
    }

    // The previous string plus the first character of the code's string (of
    // the previous string itself when the code is the one being made).
    bool AddEntry(unsigned previous, unsigned code)
    {
        if (next_ >= kTableSize)
            return false;
        const Entry& p = table_[previous];
        const std::uint8_t c = code < next_ ? table_[code].first : p.first;
        table_[next_] = {static_cast<std::uint16_t>(previous), p.first, c, static_cast<std::uint16_t>(p.length + 1)};
        ++next_;
        if (next_ >= limit_ - 1 && width_ < kMaxBits) {
            ++width_;
            limit_ <<= 1;
        }
        return true;
    }

    std::size_t WriteString(unsigned code, std::uint8_t* out) const
    {
        if (code < 256) {
            out[0] = static_cast<std::uint8_t>(code);
            return 1;
        }
        const std::size_t length = table_[code].length;
        for (std::size_t i = length; i-- > 0;) {
            out[i] = table_[code].last;
            code = table_[code].previous;
        }
        return length;
    }

    // Hands every whole row in the buffer out; the rest moves to its start.
    static std::size_t FlushRows(std::vector<std::uint8_t>& buffer, std::size_t fill, RowOutput& out)
    {
        const std::size_t rowBytes = out.RowBytes();
        std::size_t at = 0;
        while (fill - at >= rowBytes && !out.Full()) {
            out.Put(buffer.data() + at);
            at += rowBytes;
        }
        if (out.Full())
            return 0;
        std::memmove(buffer.data(), buffer.data() + at, fill - at);
        return fill - at;
    }

    StripInput* input_ = nullptr;
    bool lsbFirst_ = false;
    std::vector<Entry> table_;
    unsigned next_ = kFirstFree, limit_ = 512;
    int width_ = 9;
    std::uint64_t bits_ = 0;   // unread bits, the next code's at the top (MSB) or bottom (LSB)
    int bitCount_ = 0;
};

bool DecodeLzw(ImageStream& stream, std::uint64_t bytes, TiffLzw& lzw, RowOutput& out, std::vector<std::uint8_t>& buffer)
{
    StripInput input(stream, bytes);
    return lzw.Decode(input, out, buffer);
}

// Entry i of a grey ramp of 2^bits steps: i x (256 / 2^bits).
PaletteRgb GreyRamp(unsigned bits)
{
    PaletteRgb palette{};
    const std::size_t n = std::size_t{1} << bits;
    for (std::size_t i = 0; i < n; ++i)
        std::fill_n(palette.begin() + static_cast<std::ptrdiff_t>(3 * i), 3, static_cast<std::uint8_t>(i * (256 / n)));
    return palette;
}

// The most bytes of samples `bytes` of a strip can decode to.
std::uint64_t MaxStripOutput(std::uint16_t compression, std::uint64_t bytes)
{
    constexpr std::uint64_t kLongestPackBitsRun = 128;   // from two bytes
    constexpr unsigned kNarrowestLzwCode = 9;
    switch (compression) {
    case kCompressionNone: return bytes;
    case kCompressionPackBits: return (bytes + 1) / 2 * kLongestPackBitsRun;
    default: return MaxLzwOutput(bytes, kNarrowestLzwCode);
    }
}

// Whether the strips, as far as they lie inside the file, can fill the
// picture: checked before the picture is allocated, so that a cut-off file
// never costs the size its header claims.
template <class StripBytes>
bool StripsCanFill(const TiffImage& t, std::uint64_t fileSize, const std::vector<std::uint32_t>& offsets,
                   const StripBytes& stripBytes, std::uint64_t needed)
{
    std::uint64_t capacity = 0;
    for (std::size_t i = 0; i < offsets.size() && capacity < needed; ++i) {
        if (offsets[i] >= fileSize)
            continue;
        const std::uint64_t inFile = std::min<std::uint64_t>(stripBytes(i), fileSize - offsets[i]);
        capacity += MaxStripOutput(t.compression, inFile);
    }
    return capacity >= needed;
}

}  // namespace

PackedDib ReadTiffImage(ImageStream& stream, ProgressCallback callback, void* data)
{
    if (!Readable(stream))
        return {};
    TiffReader reader(stream);
    TiffImage t;
    if (!reader.ReadHeader() || !reader.ReadDirectory(t))
        return {};
    if (t.width == 0 || t.height == 0 || !t.hasStripOffsets)
        return {};
    ReportProgress(callback, data, 0, t.height);
    const unsigned bitCount = static_cast<unsigned>(t.samplesPerPixel) * t.bitsPerSample;
    if (!Supported(t) || !WithinDibLimits(t.width, t.height, bitCount))
        return {};
    const std::size_t rowBytes = (std::size_t{t.width} * bitCount + 7) / 8;
    const std::uint32_t rowsPerStrip = t.rowsPerStrip == 0 || t.rowsPerStrip > t.height ? t.height : t.rowsPerStrip;

    PaletteRgb palette{};
    if (bitCount == 1)
        std::fill_n(palette.begin() + 3, 3, 0xFF);
    else if (t.hasColorMap && bitCount <= 8)
        reader.ReadColorMap(t.colorMap, bitCount, palette);
    else if (bitCount <= 8)
        palette = GreyRamp(bitCount);
    if (stream.error)
        return {};

    const std::size_t strips = (t.height + std::size_t{rowsPerStrip} - 1) / rowsPerStrip;
    std::vector<std::uint32_t> offsets, counts;
    if (!reader.ReadArray(t.stripOffsets, strips, offsets))
        return {};
    const bool countsGiven = t.hasByteCounts && reader.ReadArray(t.stripByteCounts, strips, counts);
    if (t.hasByteCounts && !countsGiven)
        return {};
    const auto stripBytes = [&](std::size_t i) {
        return countsGiven && counts[i] != 0 ? std::uint64_t{counts[i]} : std::uint64_t{rowBytes} * rowsPerStrip;
    };
    if (!StripsCanFill(t, stream.Size(), offsets, stripBytes, std::uint64_t{rowBytes} * t.height))
        return {};

    ImageDib dib = ImageDib::New(bitCount, static_cast<std::int32_t>(t.width), static_cast<std::int32_t>(t.height), 0);
    if (!dib.Valid())
        return {};
    dib.SetPaletteRgb(palette);

    // One row plus the longest string an LZW code can stand for.
    std::vector<std::uint8_t> buffer(rowBytes + 4096);
    RowOutput out(dib, t, rowBytes);
    TiffLzw lzw;
    for (std::size_t i = 0; i < strips && !out.Full(); ++i) {
        const std::uint64_t bytes = stripBytes(i);
        if (stream.Seek(offsets[i], kSeekBegin) < 0)
            return {};
        bool ok = false;
        switch (t.compression) {
        case kCompressionNone: ok = DecodeUncompressed(stream, bytes, out, buffer); break;
        case kCompressionPackBits: ok = DecodePackBits(stream, bytes, rowsPerStrip, out, buffer); break;
        default: ok = DecodeLzw(stream, bytes, lzw, out, buffer); break;
        }
        if (!ok)
            return {};
        ReportProgress(callback, data, i, strips);
    }
    return dib.Detach();
}

}  // namespace orbiscope
