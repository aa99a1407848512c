#include "gif_writer.h"

#include <stdexcept>
#include <unordered_map>

namespace pictures {

namespace {

constexpr int kMinCodeSize = 8;
constexpr unsigned kClear = 1u << kMinCodeSize;
constexpr unsigned kEnd = kClear + 1;
constexpr unsigned kTableSize = 4096;
constexpr int kMaxBits = 12;

// Codes least significant bit first, in data sub-blocks of up to 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Put(unsigned code, int width)
    {
        bits_ |= static_cast<std::uint64_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            Byte(static_cast<std::uint8_t>(bits_));
            bits_ >>= 8;
            count_ -= 8;
        }
    }

    void Finish()
    {
        if (count_ > 0)
            Byte(static_cast<std::uint8_t>(bits_));
        Flush();
        out_.push_back(0);   // block terminator
    }

private:
    void Byte(std::uint8_t b)
    {
        block_.push_back(b);
        if (block_.size() == 255)
            Flush();
    }
    void Flush()
    {
        if (block_.empty())
            return;
        out_.push_back(static_cast<std::uint8_t>(block_.size()));
        out_.insert(out_.end(), block_.begin(), block_.end());
        block_.clear();
    }

    std::vector<std::uint8_t>& out_;
    std::vector<std::uint8_t> block_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
};

// The LZW encoder, keeping the code width in step with a decoder: the
// decoder makes its table entry one code later than the encoder, and widens
// its codes when its next free entry reaches the width's limit.
class LzwEncoder {
public:
    explicit LzwEncoder(CodeWriter& writer) : writer_(writer) { Clear(); }

    void Encode(const std::vector<std::uint8_t>& indices)
    {
        unsigned current = indices.front();
        for (std::size_t i = 1; i < indices.size(); ++i) {
            const std::uint8_t c = indices[i];
            const auto found = table_.find(current << 8 | c);
            if (found != table_.end()) {
                current = found->second;
                continue;
            }
            Emit(current);
            if (free_ < kTableSize) {
                table_.emplace(current << 8 | c, free_++);
            } else {
                Emit(kClear);
                Clear();
            }
            current = c;
        }
        Emit(current);
        Emit(kEnd);
    }

private:
    void Clear()
    {
        table_.clear();
        free_ = kEnd + 1;
        decoderNext_ = kEnd + 1;
        width_ = kMinCodeSize + 1;
        codesSinceClear_ = 0;
    }

    void Emit(unsigned code)
    {
        writer_.Put(code, width_);
        if (code == kClear) {
            width_ = kMinCodeSize + 1;
            return;
        }
        if (codesSinceClear_++ > 0 && decoderNext_ < kTableSize) {
            ++decoderNext_;
            if (decoderNext_ >= (1u << width_) && width_ < kMaxBits)
                ++width_;
        }
    }

    CodeWriter& writer_;
    std::unordered_map<unsigned, unsigned> table_;
    unsigned free_ = 0, decoderNext_ = 0;
    int width_ = 0;
    unsigned codesSinceClear_ = 0;
};

void Put16(std::vector<std::uint8_t>& out, int v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

}  // namespace

std::vector<std::uint8_t> EncodeGif(int width, int height, const std::vector<std::uint8_t>& indices,
                                    const std::vector<Rgb8>& palette)
{
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 || palette.size() > 256 ||
        indices.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        throw std::invalid_argument("EncodeGif: picture and palette do not fit a GIF");
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, width);
    Put16(out, height);
    out.insert(out.end(), {0xF7, 0, 0});   // global table of 256 colours, 8 bits of colour resolution
    for (std::size_t i = 0; i < 256; ++i) {
        const Rgb8 c = i < palette.size() ? palette[i] : Rgb8{0, 0, 0};
        out.insert(out.end(), c.begin(), c.end());
    }
    out.push_back(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, width);
    Put16(out, height);
    out.push_back(0);   // no local table, not interlaced
    out.push_back(kMinCodeSize);
    CodeWriter writer(out);
    LzwEncoder encoder(writer);
    writer.Put(kClear, kMinCodeSize + 1);
    encoder.Encode(indices);
    writer.Finish();
    out.push_back(0x3B);
    return out;
}

}  // namespace pictures
