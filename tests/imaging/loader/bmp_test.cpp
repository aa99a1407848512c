// The BMP reader and the RLE expansion, on files built byte by byte.
#include <gtest/gtest.h>

#include "image_test_support.h"
#include "imaging/loader/image_loader.h"

namespace {

using namespace orbiscope;
using imagetest::Builder;
using imagetest::Bytes;
using imagetest::HeaderOf;

struct Info {
    std::int32_t width = 1, height = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0, sizeImage = 0, colours = 0;
};

// A file: 14-byte header, 40-byte info header, then `rest` (masks, palette,
// pixels).  `gap` bytes of 0xEE lie between `rest` and `pixels`.
Bytes Bmp(const Info& info, const Bytes& rest, const Bytes& pixels, std::size_t gap = 0)
{
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + 40 + rest.size() + gap);
    Builder b;
    b.Text("BM").Le32(offset + static_cast<std::uint32_t>(pixels.size())).Le32(0).Le32(offset);
    b.Le32(40).Le32(static_cast<std::uint32_t>(info.width)).Le32(static_cast<std::uint32_t>(info.height));
    b.Le16(1).Le16(info.bits).Le32(info.compression).Le32(info.sizeImage).Le32(0).Le32(0);
    b.Le32(info.colours).Le32(0).Append(rest);
    for (std::size_t i = 0; i < gap; ++i)
        b.U8({0xEE});
    return b.Append(pixels).Get();
}

Bytes Load(const Bytes& file)
{
    return LoadImageMemory(file.data(), file.size());
}

TEST(BmpReader, CoreHeaderTripletsBecomeQuads)
{
    // OS/2 header: 2 x 1, 8 bits; 256 triplets (B, G, R) = (i, 255 - i, i / 2).
    Builder b;
    b.Text("BM").Le32(0).Le32(0).Le32(14 + 12 + 768);
    b.Le32(12).Le16(2).Le16(1).Le16(1).Le16(8);
    for (int i = 0; i < 256; ++i)
        b.U8({i, 255 - i, i / 2});
    b.U8({7, 255, 0, 0});
    const Bytes dib = Load(b.Get());
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(HeaderOf(dib).colours, 256u);
    EXPECT_EQ(imagetest::Le32(&dib[0]), 40u);
    const std::uint8_t* pal = &dib[40];
    EXPECT_EQ(Bytes(pal, pal + 8), (Bytes{0, 255, 0, 0, 1, 254, 0, 0}));
    EXPECT_EQ(Bytes(pal + 4 * 255, pal + 4 * 256), (Bytes{255, 0, 127, 0}));
    EXPECT_EQ(dib[40 + 1024], 7);
    EXPECT_EQ(dib[40 + 1024 + 1], 255);
}

TEST(BmpReader, PixelsAreReadFromTheirOffset)
{
    const Bytes dib = Load(Bmp({}, {}, {0x11, 0x22, 0x33, 0}, 10));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(Bytes(dib.begin() + 40, dib.end()), (Bytes{0x11, 0x22, 0x33, 0}));
}

TEST(BmpReader, BitfieldMasksStayInTheBlock)
{
    const Info info{.bits = 16, .compression = kBiBitfields};
    const Bytes masks = Builder().Le32(0xF800).Le32(0x07E0).Le32(0x001F).Get();
    const Bytes dib = Load(Bmp(info, masks, {0x20, 0x00, 0, 0}));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(Bytes(dib.begin() + 40, dib.begin() + 52), masks);
    EXPECT_EQ(imagetest::RgbPixels(dib), (Bytes{0, 4, 0}));   // green 1 of 63
}

TEST(BmpReader, ReportsFourPhases)
{
    imagetest::ProgressLog log;
    const Bytes file = Bmp({}, {}, {1, 2, 3, 0});
    ASSERT_FALSE(LoadBmpMemory(file.data(), file.size(), imagetest::ProgressLog::Record, &log).empty());
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{0, 4}, {1, 4}, {2, 4}, {3, 4}};
    EXPECT_EQ(log.calls, expected);
}

struct HostileBmp { const char* name; Bytes file; };

TEST(BmpReader, RefusesHostileFiles)
{
    const Info fields{.bits = 16, .compression = kBiBitfields};
    Bytes v3 = Bmp({}, {}, {1, 2, 3, 0});
    v3[14] = 64;   // an OS/2 2.x header size
    const HostileBmp rows[] = {
        // x 4 bytes the count wraps a 32-bit size to 0
        {"colour count wrapping the block size", Bmp({.bits = 8, .colours = 0x40000000}, {}, {})},
        {"RLE byte count beyond the file",
         Bmp({.bits = 8, .compression = kBiRle8, .sizeImage = 0xFFFFFFF0}, Bytes(1024, 0), {0, 1})},
        {"RLE8 on a 24-bit picture", Bmp({.compression = kBiRle8, .sizeImage = 2}, {}, {0, 1})},
        {"width beyond the limit", Bmp({.width = 40000}, {}, Bytes(120000, 0))},
        {"pixel data shorter than the rows", Bmp({.width = 4}, {}, Bytes(11, 0))},
        {"2 bits per pixel", Bmp({.bits = 2}, {}, {0, 0, 0, 0})},
        {"unknown header size", v3},
        {"a zero mask", Bmp(fields, Builder().Le32(0xF800).Le32(0).Le32(0x1F).Get(), {0, 0, 0, 0})},
        {"a mask in two runs", Bmp(fields, Builder().Le32(0xF801).Le32(0x07E0).Le32(0x1E).Get(), {0, 0, 0, 0})},
        {"not BM", Builder().Text("BA").Zeros(60).Get()},
    };
    for (const auto& r : rows)
        EXPECT_TRUE(Load(r.file).empty()) << r.name;
}

// --- RLE ----------------------------------------------------------------------

// A packed RLE DIB: `bits` 8 (RLE8) or 4 (RLE4), palette of 16 entries
// where entry i = (i, i, i), compressed `data`.
Bytes RlePicture(unsigned bits, std::int32_t width, std::int32_t height, const Bytes& data)
{
    const Info info{width, height, static_cast<std::uint16_t>(bits), bits == 8 ? kBiRle8 : kBiRle4,
                    static_cast<std::uint32_t>(data.size()), 16};
    Builder palette;
    for (int i = 0; i < 16; ++i)
        palette.U8({i, i, i, 0});
    return Load(Bmp(info, palette.Get(), data));
}

// Index of each pixel of an expanded picture, rows from the top.
Bytes Indices(const Bytes& expanded)
{
    const Bytes rgb = imagetest::RgbPixels(expanded);
    Bytes out;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        out.push_back(rgb[i]);   // entry i is (i, i, i)
    return out;
}

struct RleRow {
    const char* name;
    unsigned bits;
    std::int32_t width, height;
    Bytes data;
    Bytes pixels;   // expected indices, rows from the top; empty: expansion fails
};

TEST(RleExpansion, DecodesEveryCode)
{
    const RleRow rows[] = {
        // Bottom row: run of 2 x 5; end of line; end of bitmap before the top rows.
        {"RLE8 ends early", 8, 2, 3, {2, 5, 0, 0, 0, 1}, {0, 0, 0, 0, 5, 5}},
        {"RLE8 absolute run, odd length padded", 8, 4, 1, {0, 3, 1, 2, 3, 0, 1, 4, 0, 1}, {1, 2, 3, 4}},
        // 3 pixels: 2 bytes, no padding; the next code is a run of 1 x 1.
        {"RLE4 absolute run of 3", 4, 4, 1, {0, 3, 0xAB, 0xC0, 1, 0x11, 0, 1}, {0xA, 0xB, 0xC, 1}},
        // 5 pixels: 3 bytes and 1 byte of padding.
        {"RLE4 absolute run of 5", 4, 5, 1, {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}, {1, 2, 3, 4, 5}},
        {"RLE4 run alternates nibbles", 4, 5, 1, {5, 0x9A, 0, 1}, {9, 10, 9, 10, 9}},
        // Bottom row x 0-1 = 7; delta (1, 1) to x 3 of the top row; run 1 x 9.
        {"delta", 8, 4, 2, {2, 7, 0, 2, 1, 1, 1, 9, 0, 1}, {0, 0, 0, 9, 7, 7, 0, 0}},
        // Width 3 has a row of 4 bytes: a run over the padding byte is harmless.
        {"run over the row padding", 8, 3, 1, {4, 6, 0, 0, 0, 1}, {6, 6, 6}},
        {"data without an end code", 8, 2, 2, {2, 3}, {0, 0, 3, 3}},
        {"run beyond the row", 8, 2, 2, {5, 3, 0, 1}, {}},
        {"absolute group beyond the row", 8, 2, 1, {0, 5, 1, 2, 3, 4, 5, 0}, {}},
        {"delta beyond the row", 8, 2, 2, {0, 2, 9, 0, 1, 1}, {}},
        {"end of line above the top ends", 8, 1, 1, {1, 2, 0, 0, 1, 9, 0, 1}, {2}},
    };
    for (const auto& r : rows) {
        const Bytes dib = RlePicture(r.bits, r.width, r.height, r.data);
        ASSERT_FALSE(dib.empty()) << r.name;
        const Bytes expanded = ExpandRleDib(dib);
        if (r.pixels.empty()) {
            EXPECT_TRUE(expanded.empty()) << r.name;
            continue;
        }
        ASSERT_FALSE(expanded.empty()) << r.name;
        EXPECT_EQ(HeaderOf(expanded).bitCount, 8u) << r.name;
        EXPECT_EQ(HeaderOf(expanded).compression, 0u) << r.name;
        EXPECT_EQ(HeaderOf(expanded).colours, 16u) << r.name;
        EXPECT_EQ(Indices(expanded), r.pixels) << r.name;
    }
}

TEST(RleExpansion, LeavesTheInputAndRefusesOtherBlocks)
{
    const Bytes dib = RlePicture(8, 2, 1, {2, 5, 0, 1});
    const Bytes before = dib;
    ASSERT_FALSE(ExpandRleDib(dib).empty());
    EXPECT_EQ(dib, before);
    EXPECT_TRUE(ExpandRleDib(Load(Bmp({}, {}, {1, 2, 3, 0}))).empty());   // not RLE
    EXPECT_TRUE(ExpandRleDib({}).empty());
}

}  // namespace
