// The GIF reader, on files whose LZW code streams are written out by hand:
// each code with the width a decoder must read it at, derived in the comments.
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

using Codes = imagetest::GifCodes;
using imagetest::GifSubBlocks;

struct Image {
    int width = 2, height = 2;
    bool interlaced = false;
    int minCodeSize = 2;
    Bytes data;   // sub-blocks
};

// "GIF89a" with a global table of 2^sizeBits entries, entry i = (i, 2i, 3i).
Bytes Gif(int sizeBits, const std::vector<Image>& images)
{
    Builder b;
    b.Text("GIF89a").Le16(16).Le16(16).U8({0x80 | (sizeBits - 1), 0, 0});
    for (int i = 0; i < (1 << sizeBits); ++i)
        b.U8({i, 2 * i & 0xFF, 3 * i & 0xFF});
    b.U8({0x21, 0xF9, 4, 0, 0, 0, 0, 0});   // a graphic control extension to skip
    for (const Image& im : images) {
        b.U8({0x2C}).Le16(0).Le16(0).Le16(static_cast<std::uint32_t>(im.width));
        b.Le16(static_cast<std::uint32_t>(im.height)).U8({im.interlaced ? 0x40 : 0, im.minCodeSize});
        b.Append(im.data);
    }
    return b.U8({0x3B}).Get();
}

Bytes Load(const Bytes& file)
{
    return LoadImageMemory(file.data(), file.size());
}

// Min code size 2: clear 4, end 5, first free 6, 3-bit codes.  After clear,
// 0 adds nothing; 1 adds entry 6; 2 adds entry 7, next = 8 = 2^3, so the
// width grows to 4 bits before 3 and the end code are read.
const Codes k2x2 = {{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {5, 4}};
const Codes k2x2WithoutEnd(k2x2.begin(), k2x2.end() - 1);   // 16 bits, no padding

// The depth follows the colour table's size.  Rows (0, 1) and (2, 3): 4-bit
// bytes 01 and 23, 8-bit bytes as they are; 1 bit: rows start as FF bytes,
// index 0 clears the pixel's bit, any other index sets it.
TEST(GifReader, DepthAndPixelsFollowTheColourTable)
{
    struct Row { int sizeBits; unsigned bitCount; };
    for (const Row& r : {Row{1, 1}, Row{2, 4}, Row{4, 4}, Row{5, 8}, Row{8, 8}}) {
        const Bytes dib = Load(Gif(r.sizeBits, {{.data = GifSubBlocks(k2x2)}}));
        ASSERT_FALSE(dib.empty()) << r.sizeBits;
        EXPECT_EQ(HeaderOf(dib).bitCount, r.bitCount) << r.sizeBits << " size bits";
    }
    const Bytes four = Load(Gif(2, {{.data = GifSubBlocks(k2x2)}}));
    const std::size_t bits4 = 40 + 16 * 4;
    EXPECT_EQ(four[bits4 + 4], 0x01);   // stored bottom-up: top row second
    EXPECT_EQ(four[bits4], 0x23);
    EXPECT_EQ(imagetest::RgbPixels(Load(Gif(8, {{.data = GifSubBlocks(k2x2)}}))), (Bytes{0, 0, 0, 1, 2, 3, 2, 4, 6, 3, 6, 9}));
    const Bytes one = Load(Gif(1, {{.data = GifSubBlocks(k2x2)}}));
    const std::size_t bits1 = 40 + 2 * 4;
    EXPECT_EQ(one[bits1 + 4], 0x7F);   // top row 0, 1
    EXPECT_EQ(one[bits1], 0xFF);       // bottom row 2, 3
}

TEST(GifReader, InterlacedRowsComeInFourPasses)
{
    // 1 x 8, min code size 3: clear 8, end 9, first free 10, 4-bit codes.
    // Literals 0-7 in stream order; after 6 the table reaches 16 entries, so
    // 7 and the end code are 5 bits wide.
    const Codes codes = {{8, 4}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 5}, {9, 5}};
    const Bytes dib = Load(Gif(8, {{.width = 1, .height = 8, .interlaced = true, .minCodeSize = 3,
                                   .data = GifSubBlocks(codes)}}));
    ASSERT_FALSE(dib.empty());
    // Passes fill rows 0; 4; 2, 6; 1, 3, 5, 7 with stream rows 0 to 7.
    const Bytes rgb = imagetest::RgbPixels(dib);
    const int streamRowOf[8] = {0, 4, 2, 5, 1, 6, 3, 7};
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(rgb[3 * static_cast<std::size_t>(y)], streamRowOf[y]) << "row " << y;
}

TEST(GifReader, InterlacedPassesBelowThePictureAreEmpty)
{
    // 1 x 3 interlaced: an encoder writes rows 0, 2, 1 (pass 2 starts at
    // row 4, below the picture, and has no rows).
    const Codes codes = {{8, 4}, {5, 4}, {6, 4}, {7, 4}, {9, 4}};
    const Bytes dib = Load(Gif(8, {{.width = 1, .height = 3, .interlaced = true, .minCodeSize = 3,
                                   .data = GifSubBlocks(codes)}}));
    ASSERT_FALSE(dib.empty());
    const Bytes rgb = imagetest::RgbPixels(dib);
    EXPECT_EQ(rgb[0], 5);
    EXPECT_EQ(rgb[3], 7);
    EXPECT_EQ(rgb[6], 6);
}

// Data that ends properly, at its block terminator or its end code, before
// the last pixel gives the picture with the rows decoded so far; rows never
// reached stay as allocated, zero bytes, which read as index 0 at every
// depth.  (A file cut short, its data running out before the terminator, is
// refused: the next test.)
TEST(GifReader, DecodingEndedEarlyKeepsTheRowsSoFar)
{
    struct Row {
        const char* what;
        int sizeBits;
        Image image;
        Bytes rgb;
    };
    // 3, 1, 2, 3 fill two rows in 16 bits: no padding bits to read as pixels.
    const Codes twoRows = {{4, 3}, {3, 3}, {1, 3}, {2, 3}, {3, 4}};
    const Row rows[] = {
        {"terminator after row 2 of 3", 8, {.height = 3, .data = GifSubBlocks(twoRows)},
         {3, 6, 9, 1, 2, 3, 2, 4, 6, 3, 6, 9, 0, 0, 0, 0, 0, 0}},
        {"end code after row 1 of 2", 8, {.data = GifSubBlocks({{4, 3}, {3, 3}, {1, 3}, {5, 3}})},
         {3, 6, 9, 1, 2, 3, 0, 0, 0, 0, 0, 0}},
        {"1 bit, end code after row 1 of 2", 1, {.data = GifSubBlocks({{4, 3}, {1, 3}, {1, 3}, {5, 3}})},
         {1, 2, 3, 1, 2, 3, 0, 0, 0, 0, 0, 0}},
        {"terminator in place of the end code after the last pixel", 8,
         {.data = GifSubBlocks(k2x2WithoutEnd)}, {0, 0, 0, 1, 2, 3, 2, 4, 6, 3, 6, 9}},
    };
    for (const Row& r : rows) {
        const Bytes dib = Load(Gif(r.sizeBits, {r.image}));
        EXPECT_EQ(dib.empty() ? Bytes{} : imagetest::RgbPixels(dib), r.rgb) << r.what;
    }
}

// Data that runs out of the file, inside a sub-block or where the next count
// should be, fails the image, even one whose pixels have all come.
TEST(GifReader, DataRunningOutOfTheFileIsRefused)
{
    // Every pixel and no end code: a count of 2, two data bytes, no
    // terminator, the trailer.
    const Bytes whole = Gif(8, {{.data = GifSubBlocks(k2x2WithoutEnd, false)}});
    for (std::size_t cut : {1, 2}) {   // the trailer; the trailer and a data byte
        const Bytes file(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(cut));
        EXPECT_TRUE(Load(file).empty()) << cut << " bytes cut";
    }
    // The trailer read as a count of 59 bytes that the file does not hold.
    EXPECT_TRUE(Load(whole).empty());
}

TEST(GifReader, AFailedImageGivesWayToTheNext)
{
    const Image badMinimum{.minCodeSize = 1, .data = GifSubBlocks({{2, 2}, {1, 2}, {3, 2}})};
    // Code 6 right after clear equals the next free code with no string before it.
    const Image codeIsNextAfterClear{.data = GifSubBlocks({{4, 3}, {6, 3}, {5, 3}})};
    const Image emptyImage{.width = 0, .height = 0, .data = GifSubBlocks({{4, 3}, {5, 3}})};
    const Image good{.data = GifSubBlocks(k2x2)};
    for (const Image& bad : {badMinimum, codeIsNextAfterClear, emptyImage}) {
        EXPECT_TRUE(Load(Gif(8, {bad})).empty());
        const Bytes dib = Load(Gif(8, {bad, good}));
        ASSERT_FALSE(dib.empty());
        EXPECT_EQ(imagetest::RgbPixels(dib), (Bytes{0, 0, 0, 1, 2, 3, 2, 4, 6, 3, 6, 9}));
    }
}

TEST(GifReader, LongStringsRunAcrossShortRows)
{
    // 1 x 4: clear, 1, then 6 = the next free code: "1" + "1"; entry 6 = "11",
    // then 6 again ("11"); 5 pixels for 4 rows: the last is dropped.
    const Codes codes = {{4, 3}, {1, 3}, {6, 3}, {6, 3}, {5, 4}};
    const Bytes dib = Load(Gif(8, {{.width = 1, .height = 4, .data = GifSubBlocks(codes)}}));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(imagetest::RgbPixels(dib), (Bytes{1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3}));
}

TEST(GifReader, ReportsTheStartAndEveryRow)
{
    imagetest::ProgressLog log;
    const Bytes file = Gif(8, {{.data = GifSubBlocks(k2x2)}});
    ASSERT_FALSE(LoadGifMemory(file.data(), file.size(), imagetest::ProgressLog::Record, &log).empty());
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{0, 2}, {1, 2}, {2, 2}};
    EXPECT_EQ(log.calls, expected);
}

TEST(GifReader, RefusesFilesWithoutAnImage)
{
    EXPECT_TRUE(Load(Gif(8, {})).empty());                            // trailer only
    EXPECT_TRUE(Load(Builder().Text("GIF89a").Zeros(7).Get()).empty());   // ends after the screen
    EXPECT_TRUE(Load(Builder().Text("GIX89a").Zeros(20).Get()).empty());
    Bytes truncatedTable = Gif(8, {{.data = GifSubBlocks(k2x2)}});
    truncatedTable.resize(13 + 100);
    EXPECT_TRUE(Load(truncatedTable).empty());
    // An extension whose sub-block claims more than the file holds.
    EXPECT_TRUE(Load(Builder().Text("GIF89a").Zeros(7).U8({0x21, 0xFE, 200, 1, 2}).Get()).empty());
    // 65535 x 65535 is beyond the limits: refused without allocating.
    EXPECT_TRUE(Load(Gif(8, {{.width = 65535, .height = 65535, .data = GifSubBlocks(k2x2)}})).empty());
}

}  // namespace
