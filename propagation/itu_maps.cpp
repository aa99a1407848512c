#include "propagation/itu_maps.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include "platform/atomic_file.h"

namespace {

constexpr int kQuarterRows = 721, kQuarterCols = 1441;
constexpr int kQuarterToken = 16;

// The published checksums are those of ITU-R's own files.  Three of the
// project's files are rebuilt from public ITU-R data and sum differently; they
// are accepted under their own constants.  "P_10.TXT" has no published
// constant: the one here is that of the file rebuilt from ITU-R's data.
constexpr std::uint32_t kSubstituteTopo = 0x45A30849;
constexpr std::uint32_t kSubstituteR001 = 0x50EFAF34;
constexpr std::uint32_t kSubstituteL5 = 0x114B3EB0;

const std::array<ItuMapFormat, kItuMapCount> kFormats = {{
    {"TOPO.TXT", 2164, 4324, 12, true, 0x43A222E8, kSubstituteTopo},
    {"R001.TXT", 1441, 2881, 12, false, 0x50EFB16F, kSubstituteR001},
    {"L_5.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x114B3EB3, kSubstituteL5},
    {"L_10.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1143B8CE, 0},
    {"L_20.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x113B64BD, 0},
    {"L_30.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x112F50B9, 0},
    {"L_50.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x11032F4F, 0},
    {"P_mean.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x19F81EA2, 0},
    {"P_5.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1A4891B1, 0},
    {"P_10.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1A35253C, 0},
    {"P_20.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1A18D6D6, 0},
    {"P_30.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1A08F1B5, 0},
    {"P_50.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x19F57992, 0},
    {"T_mean.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x185595F9, 0},
    {"T_5.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x183BFD07, 0},
    {"T_10.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x183EFD26, 0},
    {"T_20.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1840D4C7, 0},
    {"T_30.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x184D5E6E, 0},
    {"T_50.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x185434A2, 0},
    {"V_5.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x148A944A, 0},
    {"V_10.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1478F4F7, 0},
    {"V_20.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x142EDBC7, 0},
    {"V_30.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x13F56A63, 0},
    {"V_50.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1393C32B, 0},
    {"RHO_mean.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x12EC3B5D, 0},
    {"RHO_5.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1386CD4E, 0},
    {"RHO_10.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x136469AE, 0},
    {"RHO_20.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x1331456F, 0},
    {"RHO_30.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x13117E03, 0},
    {"RHO_50.TXT", kQuarterRows, kQuarterCols, kQuarterToken, false, 0x12E1E944, 0},
}};

// The loaded grids, one slot per map; read-only between loading and freeing.
std::array<std::unique_ptr<ItuMapGrid>, kItuMapCount> g_grids;

inline bool IsSeparator(unsigned char byte)
{
    return static_cast<std::int8_t>(byte) <= 32;
}

// Powers of ten that are exact in a double.
constexpr double kExactPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The C run-time's decimal conversion, whatever locale the process runs in.
double StrtodC(const char* text)
{
    static const locale_t c_locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    return strtod_l(text, nullptr, c_locale);
}

// Converts a token as strtod would.  Plain decimals ("-12.345") take a fast
// exact path: an integer mantissa below 2^53 divided by an exact power of ten
// is correctly rounded, as strtod is.  Anything else goes to strtod itself.
double TokenToDouble(const char* begin, const char* end)
{
    const char* p = begin;
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    std::uint64_t mantissa = 0;
    int digits = 0, fraction = 0;
    bool point = false, plain = p != end;
    for (; p != end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            if (++digits > 15) { plain = false; break; }
            if (point) ++fraction;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            plain = false;
            break;
        }
    }
    if (plain && digits > 0) {
        const double value = static_cast<double>(mantissa) / kExactPow10[fraction];
        return negative ? -value : value;
    }
    char buffer[64];
    const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(end - begin), sizeof buffer - 1);
    std::memcpy(buffer, begin, length);
    buffer[length] = '\0';
    return StrtodC(buffer);
}

// Converts a token as atoi would (stopping at the first non-digit), stored in
// 16 bits as the grid keeps it.
std::int16_t TokenToHeight(const char* begin, const char* end)
{
    const char* p = begin;
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    std::int64_t value = 0;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) {
        value = std::min<std::int64_t>(value * 10 + (*p - '0'), INT32_MAX);
    }
    if (negative) value = -value;
    // Keep the low 16 bits, as a 16-bit store of an int does.
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

static_assert(std::endian::native == std::endian::little, "the scans below read byte 0 as the low byte");

// One bit (the top bit of its byte) for every separator byte of an 8-byte
// word: a byte from 0x80 up, or one of 0x20 and below.  Adding 0x5F to a
// byte below 0x80 sets its top bit exactly when the byte is above 0x20, and
// cannot carry into the next byte.
inline std::uint64_t SeparatorBits(std::uint64_t word)
{
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    constexpr std::uint64_t kAdd = 0x5F5F5F5F5F5F5F5Full;
    return (word & kHigh) | (~((word & kLow7) + kAdd) & kHigh);
}

// Sum of bytes as signed 8-bit values, wrapping in 32 bits.  Eight bytes at
// a time: their unsigned sum, less 256 for each byte from 0x80 up.
std::uint32_t SignedByteSum(const char* begin, const char* end)
{
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    std::uint64_t unsignedSum = 0, highBytes = 0;
    const char* p = begin;
    while (end - p >= 8) {
        // Four 16-bit lanes gain at most 510 a word: 128 words cannot overflow them.
        const char* stop = p + 8 * std::min<std::ptrdiff_t>((end - p) / 8, 128);
        std::uint64_t lanes = 0;
        for (; p != stop; p += 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            lanes += (word & kEvenBytes) + ((word >> 8) & kEvenBytes);
            // Count the top bits by gathering them into the highest byte
            // (no popcount instruction on the baseline processor).
            highBytes += (((word & kHigh) >> 7) * 0x0101010101010101ull) >> 56;
        }
        unsignedSum += (lanes & 0xFFFF) + ((lanes >> 16) & 0xFFFF) + ((lanes >> 32) & 0xFFFF) + (lanes >> 48);
    }
    auto sum = static_cast<std::uint32_t>(unsignedSum - 256 * highBytes);
    for (; p != end; ++p) {
        sum += static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(*p)));
    }
    return sum;
}

constexpr double kInversePow10[] = {1e0,  1e-1, 1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,
                                    1e-8, 1e-9, 1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15};

// mantissa / 10^fraction (mantissa below 2^53, fraction at most 15) as the
// grids keep it: the correctly rounded double quotient, rounded to float.  A
// product by the rounded inverse lies within three double units of that
// quotient, so both round to the same float unless a rounding boundary between
// floats (the 29 bits a float drops reading 0x10000000) lies that close; only
// then is the division made.
inline float PlainQuotient(std::uint64_t mantissa, int fraction)
{
    const double product = static_cast<double>(mantissa) * kInversePow10[fraction];
    const std::uint64_t dropped = std::bit_cast<std::uint64_t>(product) & 0x1FFFFFFFu;
    constexpr std::uint64_t kHalfway = 0x10000000u, kMargin = 16;
    if (dropped - (kHalfway - kMargin) > 2 * kMargin) return static_cast<float>(product);
    return static_cast<float>(static_cast<double>(mantissa) / kExactPow10[fraction]);
}

// The common token of the maps, a plain decimal ("-12.345", "0", "+.5"), read
// in one pass from `p` up to its separator as the float that TokenToDouble's
// value rounds to.  Returns the separator's place, or null when the token is
// anything else (no digits, more than 15 of them, an exponent, a second
// point, a byte that is neither digit nor separator), which the general path
// then reads as strtod would.  The separator must lie at `last` at the
// furthest, and the byte at `last` must be readable.
inline const char* PlainDecimal(const char* p, const char* last, float& value)
{
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    const char* first = p;
    std::uint64_t mantissa = 0;
    while (p < last && static_cast<unsigned>(*p - '0') < 10u) {
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        ++p;
    }
    int digits = static_cast<int>(p - first);
    int fraction = 0;
    if (p < last && *p == '.') {
        const char* point = ++p;
        while (p < last && static_cast<unsigned>(*p - '0') < 10u) {
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
            ++p;
        }
        fraction = static_cast<int>(p - point);
        digits += fraction;
    }
    if (digits == 0 || digits > 15 || !IsSeparator(static_cast<unsigned char>(*p))) return nullptr;
    const float magnitude = PlainQuotient(mantissa, fraction);
    value = negative ? -magnitude : magnitude;
    return p;
}

// The same for a height: sign and at most nine digits up to a separator, kept
// in 16 bits as the grid keeps it (more digits, or any other byte, go to the
// general path).
inline const char* PlainInteger(const char* p, const char* last, std::int16_t& value)
{
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    const char* first = p;
    std::uint64_t magnitude = 0;
    while (p < last && static_cast<unsigned>(*p - '0') < 10u) {
        magnitude = magnitude * 10 + static_cast<unsigned>(*p - '0');
        ++p;
    }
    if (p == first || p - first > 9 || !IsSeparator(static_cast<unsigned char>(*p))) return nullptr;
    const std::uint64_t bits = negative ? 0 - magnitude : magnitude;
    value = static_cast<std::int16_t>(static_cast<std::uint16_t>(bits & 0xFFFFu));
    return p;
}

// A 64-bit digest of a byte stream, four lanes of multiply-rotate rounds over
// 8-byte words (fast enough to run at the speed of reading the file), with
// the constants and round of Y. Collet's xxHash64.
class Digest {
public:
    void Add(const char* p, std::size_t n)
    {
        total_ += n;
        if (held_ > 0) {
            const std::size_t take = std::min(n, sizeof block_ - held_);
            std::memcpy(block_ + held_, p, take);
            held_ += take;
            p += take;
            n -= take;
            if (held_ < sizeof block_) return;
            Round(block_);
            held_ = 0;
        }
        for (; n >= sizeof block_; p += sizeof block_, n -= sizeof block_) Round(p);
        std::memcpy(block_, p, n);
        held_ = n;
    }

    std::uint64_t Finish() const
    {
        std::uint64_t h = total_ * kPrime1;
        for (const std::uint64_t lane : lanes_) h = std::rotl(h ^ lane, 27) * kPrime1 + kPrime2;
        for (std::size_t k = 0; k < held_; ++k)
            h = std::rotl(h ^ (static_cast<unsigned char>(block_[k]) * kPrime2), 11) * kPrime1;
        h ^= h >> 33;
        h *= kPrime2;
        h ^= h >> 29;
        return h;
    }

private:
    static constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull, kPrime2 = 0xC2B2AE3D27D4EB4Full;

    void Round(const char* p)
    {
        for (int k = 0; k < 4; ++k) {
            lanes_[k] = std::rotl(lanes_[k] + Load(p + 8 * k) * kPrime2, 31) * kPrime1;
        }
    }
    static std::uint64_t Load(const char* p)
    {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        return word;
    }

    std::uint64_t lanes_[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
    char block_[32] = {};
    std::size_t held_ = 0;
    std::uint64_t total_ = 0;
};

// Streams a map file through a fixed buffer, token by token.  Separators are
// found eight bytes at a time, and the checksum is summed over the consumed
// bytes in bulk, which gives the same sum as adding each byte as it is read.
class MapTokenReader {
public:
    // With `digest`, the consumed bytes are also digested into it (for a
    // parsed copy; a plain load goes without that cost).
    MapTokenReader(std::FILE* file, Digest* digest)
        : file_(file), buffer_(kBufferSize + kPadding), pos_(buffer_.data()), end_(buffer_.data()),
          summedTo_(buffer_.data()), digest_(digest)
    {
    }

    // Reads the next token when `parse` (PlainDecimal or PlainInteger) takes
    // it whole; otherwise consumes nothing and returns false, and Next reads it.
    template <class Value, class Parse>
    bool NextPlain(int maxChars, Parse parse, Value& value)
    {
        if (end_ - pos_ <= maxChars) Refill();
        const char* separator = parse(pos_, std::min(end_, pos_ + maxChars), value);
        if (!separator) return false;
        pos_ = separator + 1;
        return true;
    }

    // Reads the next number and its separator.  At end of file, as the
    // character-at-a-time reader did, the read returns -1 as a separator
    // that also counts into the checksum, so the token ends there.
    // Returns false when the number is longer than `maxChars`.
    bool Next(int maxChars, const char*& begin, const char*& end)
    {
        if (end_ - pos_ <= maxChars) Refill();
        begin = pos_;
        const char* limit = std::min(end_, pos_ + maxChars + 1);
        const char* p = pos_;
        const char* separator = nullptr;
        for (; end_ - p >= 8 && p < limit; p += 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if (const std::uint64_t bits = SeparatorBits(word)) {
                separator = p + (std::countr_zero(bits) >> 3);
                break;
            }
        }
        if (!separator) {
            for (; p < limit; ++p) {
                if (IsSeparator(static_cast<unsigned char>(*p))) {
                    separator = p;
                    break;
                }
            }
        }
        if (separator && separator < limit) {
            end = separator;
            pos_ = separator + 1;
            return true;
        }
        if (limit == end_ && eof_) {
            // End of file reached inside (or at the start of) the number.
            ++eofReads_;
            end = end_;
            pos_ = end_;
            shortFile_ = true;
            return true;
        }
        return false;  // the number is too long
    }

    std::uint32_t checksum()
    {
        SumConsumed();
        return checksum_ - eofReads_;
    }
    bool shortFile() const { return shortFile_; }
    // Bytes of the file read as numbers and separators so far.
    std::uint64_t consumed() const { return discarded_ + static_cast<std::uint64_t>(pos_ - buffer_.data()); }
    bool readError() const { return readError_; }

private:
    static constexpr std::size_t kBufferSize = 1 << 20;
    // Room past the data for the sentinel.
    static constexpr std::size_t kPadding = 1;

    void SumConsumed()
    {
        checksum_ += SignedByteSum(summedTo_, pos_);
        if (digest_) digest_->Add(summedTo_, static_cast<std::size_t>(pos_ - summedTo_));
        summedTo_ = pos_;
    }

    // Out of line: it runs once a megabyte, and inlined into the token loop
    // it costs that loop registers.
    [[gnu::noinline]] void Refill()
    {
        if (eof_) return;
        SumConsumed();
        const std::size_t kept = static_cast<std::size_t>(end_ - pos_);
        discarded_ += static_cast<std::uint64_t>(pos_ - buffer_.data());
        std::memmove(buffer_.data(), pos_, kept);
        const std::size_t room = kBufferSize - kept;
        const std::size_t got = std::fread(buffer_.data() + kept, 1, room, file_);
        if (got < room) {
            eof_ = true;
            readError_ = std::ferror(file_) != 0;
        }
        pos_ = buffer_.data();
        summedTo_ = pos_;
        end_ = buffer_.data() + kept + got;
        // The plain parsers look at the byte after a number's last digit: past
        // the data it is one that is no separator, so that a number cut by
        // the end of the file goes to Next.
        buffer_[kept + got] = 'x';
    }

    std::FILE* file_;
    std::vector<char> buffer_;
    const char* pos_;
    const char* end_;
    const char* summedTo_;        // the bytes before it are in checksum_
    std::uint32_t checksum_ = 0;
    Digest* digest_;              // of the same bytes as checksum_, or null
    std::uint32_t eofReads_ = 0;  // each read at end of file counts as -1
    std::uint64_t discarded_ = 0; // bytes moved out of the buffer's front
    bool eof_ = false;
    bool shortFile_ = false;
    bool readError_ = false;
};

}  // namespace

const ItuMapFormat& ItuMapFormatOf(ItuMap map)
{
    return kFormats.at(static_cast<std::size_t>(map));
}

std::uint32_t MapTextChecksum(std::string_view text)
{
    return SignedByteSum(text.data(), text.data() + text.size());
}

namespace {

bool Accepted(const ItuMapFormat& format, std::uint32_t sum)
{
    return sum == format.checksum || (format.substituteChecksum != 0 && sum == format.substituteChecksum);
}

// What a parse read of its text: the bytes the numbers came from, their
// checksum and their digest, all taken from the one stream that was parsed.
struct TextRead {
    std::uint64_t bytes = 0;
    std::uint32_t sum = 0;
    std::uint64_t digest = 0;
};

// LoadMapFile, also telling what was read when `read` is given.
bool ParseMapFile(const std::filesystem::path& file, const ItuMapFormat& format, ItuMapGrid& grid, TextRead* read)
{
    platform::UniqueFile stream = platform::OpenRegularFile(file);
    if (!stream) return false;

    grid.rows = format.rows;
    grid.columns = format.columns;
    const std::size_t count = static_cast<std::size_t>(format.rows) * static_cast<std::size_t>(format.columns);
    if (format.integerElements) {
        grid.heights.assign(count, 0);
        grid.values.clear();
    } else {
        grid.values.assign(count, 0.0f);
        grid.heights.clear();
    }

    Digest digest;
    MapTokenReader reader(stream.get(), read ? &digest : nullptr);
    const int maxChars = format.maxTokenBytes - 1;
    for (std::size_t n = 0; n < count; ++n) {
        if (format.integerElements) {
            if (reader.NextPlain(maxChars, PlainInteger, grid.heights[n])) continue;
        } else {
            if (reader.NextPlain(maxChars, PlainDecimal, grid.values[n])) continue;
        }
        const char* begin;
        const char* end;
        if (!reader.Next(maxChars, begin, end)) return false;  // a number longer than the format allows
        if (reader.shortFile()) return false;  // the file ended before its last number
        if (format.integerElements) {
            grid.heights[n] = TokenToHeight(begin, end);
        } else {
            grid.values[n] = static_cast<float>(TokenToDouble(begin, end));
        }
    }
    if (reader.readError()) return false;
    const std::uint32_t sum = reader.checksum();
    if (read) *read = TextRead{reader.consumed(), sum, digest.Finish()};
    return Accepted(format, sum);
}

// ---- Parsed maps kept in the user's cache folder ----
// Reading the numbers is most of the start-up's work.  A map read once is
// kept as its grid's bytes, beside the length of the text it came from, that
// text's checksum and a 64-bit digest of it.  The copy is used only when the
// text file still holds those bytes: its checksum is summed again as for any
// load (and must be one the map accepts) and its digest must match; the
// grid's own digest guards against a damaged copy.

struct MapCacheHeader {
    char magic[8];
    std::uint32_t version;
    std::int32_t rows;
    std::int32_t columns;
    std::int32_t integerElements;
    std::uint64_t textBytes;   // the bytes of the text the numbers were read from
    std::uint32_t textSum;
    std::uint32_t reserved;
    std::uint64_t textDigest;
    std::uint64_t gridDigest;
};
constexpr char kMapCacheMagic[8] = {'O', 'S', 'M', 'A', 'P', 'C', '\r', '\n'};
constexpr std::uint32_t kMapCacheVersion = 1;

// The checksum and digest of the first `bytes` bytes of a file; false when it
// cannot be read or is shorter.  Read piece by piece into a buffer that stays
// in the processor's cache between the two sums; not mapped, since a text cut
// short while it is read (a copy made over it in place) would end the
// program with a bus error where a read only comes up short.
bool SumAndDigest(const std::filesystem::path& file, std::uint64_t bytes, std::uint32_t& sum, std::uint64_t& digest)
{
    platform::UniqueFile stream = platform::OpenRegularFile(file);
    if (!stream) return false;
    const int fd = fileno(stream.get());
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    std::vector<char> buffer(64 * 1024);
    Digest d;
    sum = 0;
    for (std::uint64_t done = 0; done < bytes;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), bytes - done));
        const ssize_t n = ::read(fd, buffer.data(), want);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        const std::size_t got = static_cast<std::size_t>(n);
        sum += SignedByteSum(buffer.data(), buffer.data() + got);
        d.Add(buffer.data(), got);
        done += got;
    }
    digest = d.Finish();
    return true;
}

std::span<const char> GridBytes(const ItuMapGrid& grid)
{
    if (!grid.heights.empty())
        return {reinterpret_cast<const char*>(grid.heights.data()), grid.heights.size() * sizeof(std::int16_t)};
    return {reinterpret_cast<const char*>(grid.values.data()), grid.values.size() * sizeof(float)};
}

std::uint64_t GridDigest(const ItuMapGrid& grid)
{
    Digest d;
    const std::span<const char> bytes = GridBytes(grid);
    d.Add(bytes.data(), bytes.size());
    return d.Finish();
}

// The cached copy of `text`, when it still holds; false (and `grid` unset)
// otherwise.
bool ReadCachedMap(const std::filesystem::path& text, const std::filesystem::path& cache, const ItuMapFormat& format,
                   ItuMapGrid& grid)
{
    platform::UniqueFile stream = platform::OpenRegularFile(cache);
    if (!stream) return false;
    MapCacheHeader header{};
    if (std::fread(&header, sizeof header, 1, stream.get()) != 1) return false;
    if (std::memcmp(header.magic, kMapCacheMagic, sizeof header.magic) != 0 || header.version != kMapCacheVersion ||
        header.rows != format.rows || header.columns != format.columns ||
        header.integerElements != (format.integerElements ? 1 : 0) || !Accepted(format, header.textSum))
        return false;
    std::uint32_t sum = 0;
    std::uint64_t digest = 0;
    if (!SumAndDigest(text, header.textBytes, sum, digest) || sum != header.textSum || digest != header.textDigest)
        return false;
    ItuMapGrid copy;
    copy.rows = format.rows;
    copy.columns = format.columns;
    const std::size_t count = static_cast<std::size_t>(format.rows) * static_cast<std::size_t>(format.columns);
    if (format.integerElements) copy.heights.resize(count);
    else copy.values.resize(count);
    const std::span<const char> bytes = GridBytes(copy);
    if (std::fread(const_cast<char*>(bytes.data()), 1, bytes.size(), stream.get()) != bytes.size()) return false;
    if (std::fgetc(stream.get()) != EOF || GridDigest(copy) != header.gridDigest) return false;
    grid = std::move(copy);
    return true;
}

// Keeps a map just read as a cached copy.  A copy that cannot be written
// only means that the next start reads the text again.
void WriteCachedMap(const TextRead& read, const std::filesystem::path& cache, const ItuMapFormat& format,
                    const ItuMapGrid& grid)
{
    MapCacheHeader header{};
    std::memcpy(header.magic, kMapCacheMagic, sizeof header.magic);
    header.version = kMapCacheVersion;
    header.rows = format.rows;
    header.columns = format.columns;
    header.integerElements = format.integerElements ? 1 : 0;
    header.textBytes = read.bytes;
    header.textSum = read.sum;
    header.textDigest = read.digest;
    header.gridDigest = GridDigest(grid);
    const std::span<const char> bytes = GridBytes(grid);
    std::error_code ec;
    std::filesystem::create_directories(cache.parent_path(), ec);
    platform::WriteOwnFileAtomically(cache, {std::string_view(reinterpret_cast<const char*>(&header), sizeof header),
                                             std::string_view(bytes.data(), bytes.size())});
}

}  // namespace

bool LoadMapFile(const std::filesystem::path& file, const ItuMapFormat& format, ItuMapGrid& grid)
{
    return ParseMapFile(file, format, grid, nullptr);
}

bool LoadMapFileCached(const std::filesystem::path& file, const ItuMapFormat& format, ItuMapGrid& grid,
                       const std::filesystem::path& cacheDir)
{
    const std::filesystem::path cache = cacheDir / (std::string(format.fileName) + ".grid");
    if (ReadCachedMap(file, cache, format, grid)) return true;
    TextRead read;
    if (!ParseMapFile(file, format, grid, &read)) return false;
    WriteCachedMap(read, cache, format, grid);
    return true;
}

namespace {

// The temporaries of starts killed while writing their copies, each the size
// of a grid, would otherwise stay for good: a copy already in place is never
// written again.  Those of earlier versions ("NAME.grid.tmp-PID") go too.
void RemoveOrphanCopies(const std::filesystem::path& cacheDir)
{
    std::vector<std::string> prefixes;
    for (const ItuMapFormat& format : kFormats) {
        const std::string copy = std::string(format.fileName) + ".grid";
        prefixes.push_back(platform::TemporaryFilePrefix(copy));
        prefixes.push_back(copy + ".tmp-");
    }
    platform::RemoveOrphanTemporaries(cacheDir, prefixes);
}

}  // namespace

int ItuMapLoadThreads()
{
    // The processors this process may run on, not those of the machine: a
    // start pinned to two cores gains nothing from more threads than two.
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) return std::max(CPU_COUNT(&allowed), 1);
    return static_cast<int>(std::max(std::thread::hardware_concurrency(), 1u));
}

int LoadItuMaps(const std::filesystem::path& programDir, ItuMapLoadObserver& observer,
                const std::filesystem::path& cacheDir)
{
    std::array<bool, kItuMapCount> ok{};
    std::array<std::unique_ptr<ItuMapGrid>, kItuMapCount> loaded;
    if (!cacheDir.empty()) RemoveOrphanCopies(cacheDir);

    // Files load in parallel; the larger ones are first in the list, so a
    // simple shared counter keeps the threads evenly busy.
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int k; (k = next.fetch_add(1)) < kItuMapCount;) {
            auto grid = std::make_unique<ItuMapGrid>();
            const ItuMapFormat& format = kFormats[static_cast<std::size_t>(k)];
            const std::filesystem::path text = programDir / format.fileName;
            ok[static_cast<std::size_t>(k)] =
                cacheDir.empty() ? LoadMapFile(text, format, *grid) : LoadMapFileCached(text, format, *grid, cacheDir);
            // A file that never opened leaves no grid, as the program had none.
            if (grid->rows > 0) loaded[static_cast<std::size_t>(k)] = std::move(grid);
        }
    };
    const int threads = std::min(ItuMapLoadThreads(), kItuMapCount);
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (auto& t : pool) t.join();

    int failures = 0;
    for (int k = 0; k < kItuMapCount; ++k) {
        const auto index = static_cast<std::size_t>(k);
        g_grids[index] = std::move(loaded[index]);
        if (!ok[index]) {
            ++failures;
            observer.MapLoadFailed(std::string(kFormats[index].fileName) + " failed checksum");
        }
    }
    return failures;
}

void FreeMapFile(ItuMap map)
{
    g_grids.at(static_cast<std::size_t>(map)).reset();
}

void FreeItuMaps()
{
    for (auto& grid : g_grids) grid.reset();
}

bool ItuMapLoaded(ItuMap map)
{
    return g_grids.at(static_cast<std::size_t>(map)) != nullptr;
}

const ItuMapGrid* ItuMapGridOf(ItuMap map)
{
    return g_grids.at(static_cast<std::size_t>(map)).get();
}

void SetItuMapGrid(ItuMap map, ItuMapGrid grid)
{
    g_grids.at(static_cast<std::size_t>(map)) = std::make_unique<ItuMapGrid>(std::move(grid));
}

namespace {

// Truncates a grid position to an index in 0..last.  Callers keep coordinates
// on the globe; this only keeps a stray value from reading outside the grid.
std::int32_t TruncatedIndex(float position, std::int32_t last)
{
    if (!(position >= 0.0f)) return 0;
    if (position >= static_cast<float>(last)) return last;
    return static_cast<std::int32_t>(position);
}

// The corner fetch shared by the 0.25- and 0.125-degree grids.
MapCellsRecord FetchCells(const ItuMapGrid& grid, float step, float latitude, float longitude)
{
    MapCellsRecord r{};
    r.x = (longitude + 180.0f) / step;
    r.y = (latitude + 90.0f) / step;
    r.i = TruncatedIndex(r.x, grid.columns - 1);
    r.j = TruncatedIndex(r.y, grid.rows - 1);
    r.i1 = r.i + 1 == grid.columns ? 1 : r.i + 1;  // the last column repeats column 0
    r.j1 = r.j + 1 == grid.rows ? r.j : r.j + 1;    // nothing lies beyond the pole
    const auto at = [&](std::int32_t row, std::int32_t col) {
        return grid.values[static_cast<std::size_t>(row) * static_cast<std::size_t>(grid.columns) +
                           static_cast<std::size_t>(col)];
    };
    r.v00 = at(r.j, r.i);
    r.v10 = at(r.j1, r.i);
    r.v01 = at(r.j, r.i1);
    r.v11 = at(r.j1, r.i1);
    return r;
}

}  // namespace

MapCellsRecord MapCells(ItuMap map, float latitude, float longitude)
{
    // Start-up ends the program when a map fails, so calculations never see
    // a missing grid; should one slip through, it reads as zeros, not a crash.
    const ItuMapGrid* grid = g_grids.at(static_cast<std::size_t>(map)).get();
    if (!grid || grid->values.empty()) return MapCellsRecord{};
    return FetchCells(*grid, 0.25f, latitude, longitude);
}

double BilinearValue(const MapCellsRecord& c)
{
    const double fy = c.y - static_cast<float>(c.j);
    const double fx = c.x - static_cast<float>(c.i);
    return (1 - fy) * (1 - fx) * c.v00 + fy * (1 - fx) * c.v10 + (1 - fy) * fx * c.v01 + fy * fx * c.v11;
}

float RainRate001At(float latitude, float longitude)
{
    const ItuMapGrid* grid = g_grids[static_cast<std::size_t>(ItuMap::R001)].get();
    if (!grid || grid->values.empty()) return 0.0f;
    return static_cast<float>(BilinearValue(FetchCells(*grid, 0.125f, latitude, longitude)));
}

float CubicKernel(float t)
{
    const float u = std::fabs(t);
    if (u < 1.0f) return 1.5f * u * u * u - 2.5f * u * u + 1.0f;
    if (u < 2.0f) return -0.5f * u * u * u + 2.5f * u * u - 4.0f * u + 2.0f;
    return 0.0f;
}

double TopoHeightAt(float latitude, float longitude)
{
    const ItuMapGrid* grid = g_grids[static_cast<std::size_t>(ItuMap::TOPO)].get();
    if (!grid || grid->heights.empty()) return 0.0;
    const float s = 1.0f / 12.0f;
    const float x = (longitude + 180.125f) / s;
    const float y = 2163.0f - (latitude + 90.125f) / s;
    // Rows and columns j0..j0+3, i0..i0+3 stay inside the grid for every point
    // on the globe; the clamp only guards a stray coordinate.
    const int i0 = std::max(TruncatedIndex(x, grid->columns - 3), 1) - 1;
    const int j0 = std::max(TruncatedIndex(y, grid->rows - 3), 1) - 1;
    long double height = 0.0L;
    for (int r = j0; r < j0 + 4; ++r) {
        long double row = 0.0L;
        const std::int16_t* h = grid->heights.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(grid->columns);
        for (int c = i0; c < i0 + 4; ++c) {
            row += static_cast<long double>(CubicKernel(x - static_cast<float>(c))) * h[c];
        }
        height += static_cast<long double>(CubicKernel(y - static_cast<float>(r))) * row;
    }
    return static_cast<double>(height * 0.001L);
}
