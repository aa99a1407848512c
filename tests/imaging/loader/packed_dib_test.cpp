// The packed DIB: its layout rules, pixel access and channel masks, and the
// headers it refuses (sizes that would wrap or exhaust memory).
#include <gtest/gtest.h>

#include "image_test_support.h"
#include "imaging/loader/packed_dib.h"

namespace {

using namespace orbiscope;
using imagetest::Bytes;
using imagetest::HeaderOf;

struct ColourCountRow { unsigned bits; std::uint32_t colours; };

TEST(PackedDib, DefaultColorCountByDepth)
{
    const ColourCountRow rows[] = {{1, 2}, {4, 16}, {8, 256}, {16, 0}, {24, 0}, {32, 0}, {2, 65535}, {0, 65535}};
    for (const auto& r : rows)
        EXPECT_EQ(DefaultColorCount(r.bits), r.colours) << r.bits << " bits";
}

struct StrideRow {
    std::int64_t width;
    unsigned bits;
    std::uint64_t stride;   // ceil(width x bits / 32) x 4, by hand
};

TEST(PackedDib, StrideIsPaddedToFourBytes)
{
    const StrideRow rows[] = {
        {37, 1, 8},         // 37 bits -> 2 words
        {37, 4, 20},        // 148 bits -> 5 words
        {37, 8, 40},        // 296 bits -> 10 words
        {37, 24, 112},      // 888 bits -> 28 words
        {1, 24, 4},         // 24 bits -> 1 word
        {5, 16, 12},        // 80 bits -> 3 words
        {32767, 24, 98304}, // 786408 bits -> 24576 words; beyond a u16 stride
    };
    for (const auto& r : rows)
        EXPECT_EQ(DibStride(r.width, r.bits), r.stride) << r.width << " x " << r.bits;
}

TEST(PackedDib, NewWritesACompleteHeader)
{
    ImageDib dib = ImageDib::New(8, 3, 2, 0);
    ASSERT_TRUE(dib.Valid());
    const Bytes block = dib.Detach();
    // 40 header + 256 x 4 palette + 2 rows of 4 bytes
    EXPECT_EQ(block.size(), 40u + 1024u + 8u);
    const auto h = HeaderOf(block);
    EXPECT_EQ(imagetest::Le32(&block[0]), 40u);
    EXPECT_EQ(h.width, 3);
    EXPECT_EQ(h.height, 2);
    EXPECT_EQ(imagetest::Le16(&block[12]), 1u);
    EXPECT_EQ(h.bitCount, 8u);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 8u);
    EXPECT_EQ(h.colours, 256u);

    EXPECT_EQ(ImageDib::New(4, 5, 1, 3).ColorCount(), 3u);     // fewer than 16: kept
    EXPECT_EQ(ImageDib::New(4, 5, 1, 40).ColorCount(), 16u);   // not fewer: the default
    EXPECT_EQ(ImageDib::New(24, 5, 1, 7).ColorCount(), 0u);
}

BitmapInfoHeader Header(std::int32_t w, std::int32_t h, unsigned bits, std::uint32_t compression = kBiRgb,
                        std::uint32_t colours = 0, std::uint32_t sizeImage = 0)
{
    BitmapInfoHeader hd;
    hd.biWidth = w;
    hd.biHeight = h;
    hd.biBitCount = static_cast<std::uint16_t>(bits);
    hd.biCompression = compression;
    hd.biClrUsed = colours;
    hd.biSizeImage = sizeImage;
    return hd;
}

TEST(PackedDib, PixelsByDepthAndRowOrder)
{
    // 4 bits: pixel 3 is the low nibble of byte 1, pixel 2 its high one.
    ImageDib four = ImageDib::New(4, 8, 1, 0);
    four.SetPixel(3, 0, 0xA);
    const std::uint8_t* row = four.RowPointer(0);
    EXPECT_EQ((Bytes{row[0], row[1], row[2]}), (Bytes{0x00, 0x0A, 0x00}));
    four.SetPixel(2, 0, 0x5);
    EXPECT_EQ(row[1], 0x5A);
    EXPECT_EQ(four.GetPixel(2, 0), 0x5u);
    EXPECT_EQ(four.GetPixel(3, 0), 0xAu);

    ImageDib one = ImageDib::New(1, 10, 1, 0);
    one.SetPixel(9, 0, 1);   // bit 0x40 of byte 1
    EXPECT_EQ(one.RowPointer(0)[1], 0x40);
    one.SetPixel(9, 0, 0);
    EXPECT_EQ(one.RowPointer(0)[1], 0x00);

    ImageDib deep = ImageDib::New(24, 2, 1, 0);
    deep.SetPixel(1, 0, 0x112233);   // blue lowest: stored 33 22 11
    EXPECT_EQ((Bytes{deep.RowPointer(0)[3], deep.RowPointer(0)[4], deep.RowPointer(0)[5]}), (Bytes{0x33, 0x22, 0x11}));
    EXPECT_EQ(deep.GetPixel(1, 0), 0x112233u);
    for (auto [x, y] : {std::pair{2, 0}, std::pair{-1, 0}, std::pair{0, 1}}) EXPECT_EQ(deep.GetPixel(x, y), 0u);  // outside

    // Bottom-up unless the height is negative: the top image row is the last
    // stored row (stride 4), or the first.
    ImageDib up = ImageDib::New(8, 2, 3, 0);
    up.SetPixel(0, 0, 7);
    EXPECT_EQ(up.MutableBits()[2 * 4], 7);
    ImageDib down = ImageDib::Allocate(Header(2, -3, 8));
    ASSERT_TRUE(down.Valid());
    down.SetPixel(0, 0, 7);
    EXPECT_EQ(down.MutableBits()[0], 7);
}

// A 16- or 32-bit picture with the given masks, for the channel tests.
ImageDib DeepPicture(unsigned bits, std::uint32_t compression, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    ImageDib dib = ImageDib::Allocate(Header(1, 1, bits, compression));
    if (compression == kBiBitfields) {
        const std::uint32_t masks[3] = {r, g, b};
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 4; ++i)
                dib.MutableMasks()[4 * c + i] = static_cast<std::uint8_t>(masks[c] >> (8 * i));
    }
    return dib;
}

struct ComponentRow {
    const char* name;
    unsigned bits;
    std::uint32_t compression, rMask, gMask, bMask, pixel;
    std::uint8_t r, g, b;   // by hand
};

TEST(PackedDib, ComponentsThroughTheMasks)
{
    const ComponentRow rows[] = {
        // 5-5-5: 16 x 255 / 31 = 131 (integer division)
        {"555 default", 16, kBiRgb, 0, 0, 0, 0x4210, 131, 131, 131},
        {"555 white", 16, kBiRgb, 0, 0, 0, 0x7FFF, 255, 255, 255},
        // 5-6-5: green 1 x 255 / 63 = 4
        {"565 green", 16, kBiBitfields, 0xF800, 0x07E0, 0x001F, 0x0020, 0, 4, 0},
        {"888 default", 32, kBiRgb, 0, 0, 0, 0x00123456, 0x12, 0x34, 0x56},
        // a 10-bit channel gives its top 8 bits: 0x3FF -> 0xFF, 0x200 -> 0x80
        {"10-bit masks", 32, kBiBitfields, 0x3FF00000, 0x000FFC00, 0x000003FF, 0x3FF80000, 0xFF, 0x80, 0x00},
    };
    for (const auto& row : rows) {
        ImageDib dib = DeepPicture(row.bits, row.compression, row.rMask, row.gMask, row.bMask);
        ASSERT_TRUE(dib.SetupMasks()) << row.name;
        EXPECT_EQ(dib.GetComponent(row.pixel, 0), row.r) << row.name;
        EXPECT_EQ(dib.GetComponent(row.pixel, 1), row.g) << row.name;
        EXPECT_EQ(dib.GetComponent(row.pixel, 2), row.b) << row.name;
    }
}

TEST(PackedDib, DerivedPixelValues)
{
    ImageDib dib = DeepPicture(32, kBiRgb, 0, 0, 0);
    ASSERT_TRUE(dib.SetupMasks());
    // R 0x12, G 0x34, B 0x56
    EXPECT_EQ(dib.PixelRgb(0x00123456), 0x563412u);
    // (11 x 86 + 59 x 52 + 30 x 18) / 100 = 4554 / 100
    EXPECT_EQ(dib.PixelGray(0x00123456), 45);
    // (0x56 & 0xF8) x 128 | (0x34 & 0xF8) x 4 | 0x12 >> 3 = 10240 | 192 | 2
    EXPECT_EQ(dib.Pixel555(0x00123456), 10434);

    ImageDib d555 = DeepPicture(16, kBiRgb, 0, 0, 0);
    ASSERT_TRUE(d555.SetupMasks());
    // 131 -> 128 in each cell field: 128 x 128 | 128 x 4 | 16
    EXPECT_EQ(d555.Pixel555(0x4210), 0x4210);
}

TEST(PackedDib, MasksThatCannotBeUsed)
{
    EXPECT_FALSE(DeepPicture(16, kBiBitfields, 0xF800, 0, 0x1F).SetupMasks());   // zero green mask
    EXPECT_FALSE(ImageDib::New(8, 1, 1, 0).SetupMasks());
    EXPECT_FALSE(ImageDib::New(24, 1, 1, 0).SetupMasks());
}

struct RefusedHeader { const char* name; BitmapInfoHeader header; };

// Headers a hostile file may carry: each would have wrapped a 32-bit size,
// truncated a 16-bit stride, or asked for gigabytes.
TEST(PackedDib, RefusesHeadersBeyondItsLimits)
{
    BitmapInfoHeader twoPlanes = Header(4, 4, 8);
    twoPlanes.biPlanes = 2;
    const RefusedHeader rows[] = {
        {"width 0", Header(0, 4, 8)},
        {"negative width", Header(-4, 4, 8)},
        {"width 32768", Header(32768, 1, 8)},
        {"height 0", Header(4, 0, 8)},
        {"height -32768", Header(4, -32768, 8)},
        {"2 bits", Header(4, 4, 2)},
        {"0 bits", Header(4, 4, 0)},
        {"two planes", twoPlanes},
        {"RLE8 with 4 bits", Header(4, 4, 4, kBiRle8, 0, 10)},
        {"RLE4 with 8 bits", Header(4, 4, 8, kBiRle4, 0, 10)},
        {"top-down RLE8", Header(4, -4, 8, kBiRle8, 0, 10)},
        {"RLE8 of 0 bytes", Header(4, 4, 8, kBiRle8, 0, 0)},
        {"bit fields with 24 bits", Header(4, 4, 24, kBiBitfields)},
        {"compression 4", Header(4, 4, 24, 4)},
        {"17 colours in 4 bits", Header(4, 4, 4, kBiRgb, 17)},
        {"257 colours in 24 bits", Header(4, 4, 24, kBiRgb, 257)},
        {"4G colours", Header(4, 4, 8, kBiRgb, 0x40000001)},
        // 21846 x 3 = 65538: a 16-bit stride would wrap to 2
        {"24-bit 32767 x 32767 (3.2 GB)", Header(32767, 32767, 24)},
        {"RLE8 claiming 4 GB", Header(4, 4, 8, kBiRle8, 0, 0xFFFFFFF0)},
    };
    for (const auto& row : rows) {
        EXPECT_FALSE(ImageDib::Allocate(row.header).Valid()) << row.name;
        DibLayout layout;
        EXPECT_FALSE(LayoutOf(row.header, layout)) << row.name;
    }
    EXPECT_TRUE(ImageDib::Allocate(Header(21846, 1, 24)).Valid());
    EXPECT_EQ(ImageDib::Allocate(Header(21846, 1, 24)).Stride(), 65540u);
}

TEST(PackedDib, WrapChecksTheBlockAgainstItsHeader)
{
    Bytes block = ImageDib::New(8, 2, 2, 0).Detach();
    EXPECT_TRUE(DibView::Wrap(block).Valid());
    block.pop_back();   // one pixel byte short
    EXPECT_FALSE(DibView::Wrap(block).Valid());
    Bytes core = ImageDib::New(8, 2, 2, 0).Detach();
    core[0] = 12;   // only 40-byte headers
    EXPECT_FALSE(DibView::Wrap(core).Valid());
    EXPECT_FALSE(DibView::Wrap({}).Valid());
    EXPECT_FALSE(ImageDib::Adopt(Bytes(39, 0)).Valid());
}

}  // namespace
