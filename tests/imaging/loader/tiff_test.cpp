// The TIFF reader, on files built entry by entry.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "image_test_support.h"
#include "imaging/loader/image_loader.h"

namespace {

using namespace orbiscope;
using imagetest::Builder;
using imagetest::Bytes;
using imagetest::HeaderOf;
using imagetest::PaletteRgb;
using imagetest::Rgb;

constexpr std::uint16_t kByte = 1, kShort = 3, kLong = 4;

struct Entry { std::uint16_t tag, type; std::vector<std::uint32_t> values; };

Entry Short(std::uint16_t tag, std::uint32_t v) { return {tag, kShort, {v}}; }
Entry Long(std::uint16_t tag, std::uint32_t v) { return {tag, kLong, {v}}; }

// The placeholder a StripOffsets value takes for "where the strip data lies".
constexpr std::uint32_t kData = 0xFFFFFFFF;

// Header, strip data at offset 8, the IFD after it, then values that do not
// fit inline.  A StripOffsets value kData + k is replaced by 8 + k.
Bytes Tiff(bool bigEndian, std::vector<Entry> entries, const Bytes& strips)
{
    const auto put16 = [&](Builder& b, std::uint32_t v) -> Builder& { return bigEndian ? b.Be16(v) : b.Le16(v); };
    const auto put32 = [&](Builder& b, std::uint32_t v) -> Builder& { return bigEndian ? b.Be32(v) : b.Le32(v); };
    const std::uint32_t ifd = static_cast<std::uint32_t>(8 + strips.size() + strips.size() % 2);
    std::uint32_t extra = ifd + 2 + 12 * static_cast<std::uint32_t>(entries.size()) + 4;
    Builder file, tail;
    file.Text(bigEndian ? "MM" : "II");
    put16(file, 42);
    put32(file, ifd);
    file.Append(strips).Zeros(strips.size() % 2);
    put16(file, static_cast<std::uint32_t>(entries.size()));
    for (Entry& e : entries) {
        for (std::uint32_t& v : e.values)
            if (e.tag == 273 && v >= kData - 1000)
                v = 8 + (v - (kData - 1000));
        Builder value;
        for (std::uint32_t v : e.values)
            e.type == kByte ? value.U8({static_cast<int>(v)}) : e.type == kShort ? put16(value, v) : put32(value, v);
        put16(file, e.tag);
        put16(file, e.type);
        put32(file, static_cast<std::uint32_t>(e.values.size()));
        if (value.Size() <= 4) {
            file.Append(value.Get()).Zeros(4 - value.Size());
        } else {
            put32(file, extra);
            tail.Append(value.Get());
            extra += static_cast<std::uint32_t>(value.Size());
        }
    }
    put32(file, 0);
    return file.Append(tail.Get()).Get();
}

// An 8-bit grey picture in one strip.
std::vector<Entry> Grey(std::uint32_t width, std::uint32_t height, std::uint32_t stripBytes)
{
    return {Short(256, width), Short(257, height), Short(258, 8), Short(259, 1), Short(262, 1),
            Long(273, kData - 1000), Short(277, 1), Short(278, height), Long(279, stripBytes)};
}

std::vector<Entry> With(std::vector<Entry> entries, const Entry& changed)
{
    for (Entry& e : entries)
        if (e.tag == changed.tag) {
            e = changed;
            return entries;
        }
    entries.push_back(changed);
    return entries;
}

std::vector<Entry> Without(std::vector<Entry> entries, std::uint16_t tag)
{
    std::erase_if(entries, [tag](const Entry& e) { return e.tag == tag; });
    return entries;
}

Bytes Load(const Bytes& file)
{
    return LoadImageMemory(file.data(), file.size());
}

// Grey levels of a decoded picture, rows from the top (red channel).
Bytes Levels(const Bytes& dib)
{
    const Bytes rgb = imagetest::RgbPixels(dib);
    Bytes out;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        out.push_back(rgb[i]);
    return out;
}

TEST(TiffReader, BigEndianFilesReadAsTheirLittleEndianTwins)
{
    const Bytes little = Load(Tiff(false, Grey(3, 1, 3), {10, 20, 30}));
    const Bytes big = Load(Tiff(true, Grey(3, 1, 3), {10, 20, 30}));
    ASSERT_FALSE(little.empty());
    EXPECT_EQ(big, little);
    EXPECT_EQ(Levels(little), (Bytes{10, 20, 30}));
    // Byte-typed values sit in the first byte of the value field in both orders.
    const Bytes byteTyped = Load(Tiff(true, With(Grey(3, 1, 3), {277, kByte, {1}}), {10, 20, 30}));
    EXPECT_EQ(byteTyped, little);
}

TEST(TiffReader, GreyRampsAndBilevelPalette)
{
    const Bytes eight = Load(Tiff(false, Grey(1, 1, 1), {0}));
    EXPECT_EQ(PaletteRgb(eight, 1), (Rgb{1, 1, 1}));
    EXPECT_EQ(PaletteRgb(eight, 255), (Rgb{255, 255, 255}));
    // 4 bits: entry i = i x (256 / 16).
    const Bytes four = Load(Tiff(false, With(Grey(2, 1, 1), Short(258, 4)), {0x1F}));
    ASSERT_FALSE(four.empty());
    EXPECT_EQ(HeaderOf(four).bitCount, 4u);
    EXPECT_EQ(PaletteRgb(four, 1), (Rgb{16, 16, 16}));
    EXPECT_EQ(PaletteRgb(four, 15), (Rgb{240, 240, 240}));
    EXPECT_EQ(Levels(four), (Bytes{16, 240}));
}

TEST(TiffReader, WhiteIsZeroIsInverted)
{
    // 8 x 1 bilevel, WhiteIsZero: 0F is four white then four black pixels;
    // stored inverted, F0, so that palette entry 1 (white) shows white.
    const Bytes one = Load(Tiff(false, With(With(Grey(8, 1, 1), Short(258, 1)), Short(262, 0)), {0x0F}));
    ASSERT_FALSE(one.empty());
    EXPECT_EQ(one[40 + 8], 0xF0);   // after the header and two palette entries
    EXPECT_EQ(PaletteRgb(one, 1), (Rgb{255, 255, 255}));
    EXPECT_EQ(Levels(one), (Bytes{255, 255, 255, 255, 0, 0, 0, 0}));
    // 8-bit WhiteIsZero grey: sample 0 is white.
    EXPECT_EQ(Levels(Load(Tiff(false, With(Grey(2, 1, 2), Short(262, 0)), {0, 200}))), (Bytes{255, 55}));
}

TEST(TiffReader, RgbBecomesBlueGreenRed)
{
    const std::vector<Entry> rgb = {Short(256, 2), Short(257, 1), {258, kShort, {8, 8, 8}}, Short(259, 1),
                                    Short(262, 2), Long(273, kData - 1000), Short(277, 3), Long(279, 6)};
    const Bytes dib = Load(Tiff(false, rgb, {1, 2, 3, 4, 5, 6}));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(HeaderOf(dib).bitCount, 24u);
    EXPECT_EQ(Bytes(dib.begin() + 40, dib.begin() + 46), (Bytes{3, 2, 1, 6, 5, 4}));
}

// Strips without byte counts are whole rows (here two strips of one row,
// their offsets a SHORT array held inline); rows per strip of 0 or beyond 16
// bits is the whole image.
TEST(TiffReader, StripLayouts)
{
    const std::vector<Entry> twoStrips =
        With(Without(With(Grey(2, 2, 0), Short(278, 1)), 279), {273, kShort, {kData - 1000, kData - 998}});
    for (const auto& entries : {twoStrips, With(Grey(2, 2, 4), Short(278, 0)), With(Grey(2, 2, 4), Long(278, 65536))})
        EXPECT_EQ(Levels(Load(Tiff(false, entries, {1, 2, 3, 4}))), (Bytes{1, 2, 3, 4}));
}

TEST(TiffReader, ColourMapsOfSixteenAndEightBits)
{
    // 4-bit palette: red = i x 0x1111, green = 0x1234 for all, blue = i x 257.
    std::vector<std::uint32_t> map;
    for (std::uint32_t i = 0; i < 16; ++i)
        map.push_back(i * 0x1111);
    for (std::uint32_t i = 0; i < 16; ++i)
        map.push_back(0x1234);
    for (std::uint32_t i = 0; i < 16; ++i)
        map.push_back(i * 257);
    const std::vector<Entry> base = With(With(Grey(2, 1, 1), Short(258, 4)), Short(262, 3));
    const Bytes wide = Load(Tiff(false, With(base, {320, kShort, map}), {0x0F}));
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(PaletteRgb(wide, 15), (Rgb{0xFF, 0x12, 0x0F}));   // high bytes
    EXPECT_EQ(PaletteRgb(wide, 1), (Rgb{0x11, 0x12, 0x01}));
    // A map written with 8-bit values keeps them.
    std::vector<std::uint32_t> narrow(48);
    for (std::uint32_t i = 0; i < 48; ++i)
        narrow[i] = i * 5;
    const Bytes small = Load(Tiff(false, With(base, {320, kShort, narrow}), {0x0F}));
    EXPECT_EQ(PaletteRgb(small, 1), (Rgb{5, 85, 165}));
}

TEST(TiffReader, PackBitsRunsMayCrossRows)
{
    // 2 x 2 PackBits: FD is a run of 257 - 253 = 4 bytes of 7; 80 does
    // nothing; 01 copies the next 2 bytes.
    EXPECT_EQ(Levels(Load(Tiff(false, With(Grey(2, 2, 2), Short(259, 32773)), {0xFD, 7}))), (Bytes{7, 7, 7, 7}));
    EXPECT_EQ(Levels(Load(Tiff(false, With(Grey(2, 2, 7), Short(259, 32773)), {0x80, 1, 5, 6, 0xFF, 9, 0x80}))),
              (Bytes{5, 6, 9, 9}));
    // Data ending inside a row fails the strip.
    EXPECT_TRUE(Load(Tiff(false, With(Grey(2, 2, 2), Short(259, 32773)), {0x02, 5})).empty());
}

using Codes = std::vector<std::pair<unsigned, int>>;

// Codes packed most significant bit first (TIFF order), or least
// significant first (old files).
Bytes Pack(const Codes& codes, bool lsbFirst = false)
{
    Bytes out;
    std::uint64_t bits = 0;
    int count = 0;
    for (const auto& [code, width] : codes) {
        if (lsbFirst) {
            bits |= std::uint64_t{code} << count;
        } else {
            bits = bits << width | code;
        }
        count += width;
        while (count >= 8) {
            if (lsbFirst) {
                out.push_back(static_cast<std::uint8_t>(bits));
                bits >>= 8;
            } else {
                out.push_back(static_cast<std::uint8_t>(bits >> (count - 8)));
            }
            count -= 8;
        }
    }
    if (count > 0)
        out.push_back(static_cast<std::uint8_t>(lsbFirst ? bits : bits << (8 - count)));
    return out;
}

std::vector<Entry> Lzw(std::uint32_t width, std::uint32_t height, const Bytes& strip)
{
    return With(Grey(width, height, static_cast<std::uint32_t>(strip.size())), Short(259, 5));
}

TEST(TiffReader, LzwStrings)
{
    // clear 256, literals, end 257; all 9 bits wide while the table is small.
    const Codes plain = {{256, 9}, {10, 9}, {20, 9}, {30, 9}, {257, 9}};
    EXPECT_EQ(Levels(Load(Tiff(false, Lzw(3, 1, Pack(plain)), Pack(plain)))), (Bytes{10, 20, 30}));
    // The same codes least significant bit first: the strip starts 00 01.
    EXPECT_EQ(Levels(Load(Tiff(false, Lzw(3, 1, Pack(plain, true)), Pack(plain, true)))), (Bytes{10, 20, 30}));
    // 1 x 10: 7, then 258 = the code being made ("7" + "7"), then 259 =
    // "77" + "7": six rows of 7 from three codes, rows of one byte.
    const Codes strings = {{256, 9}, {7, 9}, {258, 9}, {259, 9}, {257, 9}};
    EXPECT_EQ(Levels(Load(Tiff(false, Lzw(1, 10, Pack(strings)), Pack(strings)))),
              (Bytes{7, 7, 7, 7, 7, 7, 0, 0, 0, 0}));
}

// A strip of `literals` single-byte codes after a clear.  The first literal
// adds no table entry and each later one adds one; the code width grows
// when the next free entry reaches 511, 1023 and 2047 (the TIFF rule of
// switching one code early) and stays at 12 bits.
Codes Literals(std::size_t literals, bool endCode)
{
    Codes codes = {{256, 9}};
    unsigned next = 258;
    for (std::size_t i = 0; i < literals; ++i) {
        const int width = next >= 2047 ? 12 : next >= 1023 ? 11 : next >= 511 ? 10 : 9;
        codes.push_back({static_cast<unsigned>(i % 200), width});
        if (i > 0)
            ++next;
    }
    const int width = next >= 2047 ? 12 : next >= 1023 ? 11 : next >= 511 ? 10 : 9;
    if (endCode)
        codes.push_back({257, width});
    return codes;
}

TEST(TiffReader, LzwTableOfFourThousandNinetySixEntriesIsTheLimit)
{
    // 1 + 3838 literals fill entries 258 to 4095; one more needs entry 4096.
    const std::size_t fill = 1 + (4096 - 258);
    const Bytes full = Pack(Literals(fill, true));
    EXPECT_FALSE(Load(Tiff(false, Lzw(fill, 1, full), full)).empty());
    const Bytes over = Pack(Literals(fill + 1, true));
    EXPECT_TRUE(Load(Tiff(false, Lzw(fill + 1, 1, over), over)).empty());
}

TEST(TiffReader, LzwCodesThatNameNoString)
{
    struct Row { const char* name; Codes codes; };
    const Row rows[] = {
        {"a table code right after clear", {{256, 9}, {300, 9}, {257, 9}}},
        {"the code being made with nothing before it", {{256, 9}, {258, 9}, {257, 9}}},
        {"a code beyond the next free one", {{256, 9}, {1, 9}, {2, 9}, {261, 9}, {257, 9}}},
    };
    for (const auto& r : rows) {
        const Bytes strip = Pack(r.codes);
        EXPECT_TRUE(Load(Tiff(false, Lzw(4, 1, strip), strip)).empty()) << r.name;
    }
}

TEST(TiffReader, ReportsTheStartAndEachStrip)
{
    imagetest::ProgressLog log;
    const Bytes file = Tiff(false, With(Grey(1, 3, 1), Short(278, 1)), {1});
    // Three strips of one row: offsets and counts for the first only are
    // not enough, so give whole arrays.
    std::vector<Entry> e = With(With(Grey(1, 3, 0), Short(278, 1)), {273, kLong, {kData - 1000, kData - 999, kData - 998}});
    e = With(e, {279, kLong, {1, 1, 1}});
    const Bytes three = Tiff(false, e, {1, 2, 3});
    ASSERT_FALSE(LoadTiffMemory(three.data(), three.size(), imagetest::ProgressLog::Record, &log).empty());
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{0, 3}, {0, 3}, {1, 3}, {2, 3}};
    EXPECT_EQ(log.calls, expected);
    EXPECT_TRUE(Load(file).empty());   // one offset for three strips
}

struct Refused { const char* name; std::vector<Entry> entries; };

TEST(TiffReader, RefusesWhatItCannotShowFaithfully)
{
    const auto g = Grey(2, 1, 2);
    const Refused rows[] = {
        {"separate planes", With(g, Short(284, 2))},
        {"CCITT compression", With(g, Short(259, 2))},
        {"JPEG compression", With(g, Short(259, 7))},
        {"a differencing predictor", With(g, Short(317, 2))},
        {"0 bits per sample", With(g, Short(258, 0))},
        {"16 bits per sample", With(g, Short(258, 16))},
        {"grey and alpha", With(g, Short(277, 2))},
        {"3 samples that are not RGB", With(g, Short(277, 3))},
        {"YCbCr", With(With(g, Short(277, 3)), Short(262, 6))},
        {"width not inline", With(g, {256, kLong, {2, 2}})},
        {"colour map inline", With(g, Short(320, 1))},
        {"no strip offsets", Without(g, 273)},
        {"a strip offset of 0", With(g, Long(273, 0))},
        {"width 0", With(g, Short(256, 0))},
        {"width beyond the limit", With(g, Long(256, 70000))},
        {"strip beyond the file", With(g, Long(273, 100000))},
        {"planar configuration at an offset", With(g, {284, kShort, {1, 1, 1}})},
    };
    for (const auto& r : rows)
        EXPECT_TRUE(Load(Tiff(false, r.entries, {1, 2})).empty()) << r.name;
    EXPECT_TRUE(Load(Builder().Text("II").Le16(43).Le32(8).Zeros(8).Get()).empty());   // BigTIFF
    EXPECT_TRUE(Load(Builder().Text("II").Le16(42).Le32(1000).Get()).empty());         // IFD beyond the file
}

}  // namespace
