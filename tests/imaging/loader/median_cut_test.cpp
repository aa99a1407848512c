// Palette reduction: histogram counting, the median cut's choices (worked out
// by hand below), the inverse map and the conversions built on it.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "image_test_support.h"
#include "imaging/loader/image_loader.h"
#include "imaging/loader/median_cut.h"

namespace {

using namespace orbiscope;
using imagetest::Bytes;
using imagetest::HeaderOf;

struct Colour { std::uint8_t r, g, b; };

// A 24-bit picture of one row holding the colours in order.
Bytes Row24(const std::vector<Colour>& colours)
{
    ImageDib dib = ImageDib::New(24, static_cast<std::int32_t>(colours.size()), 1, 0);
    for (std::size_t x = 0; x < colours.size(); ++x)
        dib.SetPixel(static_cast<std::int32_t>(x), 0,
                     colours[x].b | colours[x].g << 8 | std::uint32_t{colours[x].r} << 16);
    return dib.Detach();
}

std::vector<Colour> Repeat(Colour c, std::size_t n)
{
    return std::vector<Colour>(n, c);
}

std::vector<PaletteEntry> Palette(const Bytes& picture, std::uint32_t wanted, ColorHistogram& h)
{
    h = CreateColorHistogram();
    EXPECT_TRUE(AddDibToHistogram(h, picture));
    LogPalette log;
    const std::uint32_t n = BuildHistogramPalette(h, wanted, log);
    EXPECT_EQ(log.palVersion, 0x300);
    EXPECT_EQ(log.palNumEntries, n);
    return {log.palPalEntry.begin(), log.palPalEntry.begin() + n};
}

TEST(MedianCut, OneColourGivesItsCellCorner)
{
    ColorHistogram h;
    // 200 & F8 = 200, 100 & F8 = 96, 50 & F8 = 48
    const auto palette = Palette(Row24(Repeat({200, 100, 50}, 9)), 256, h);
    ASSERT_EQ(palette.size(), 1u);
    EXPECT_EQ(palette[0], (PaletteEntry{200, 96, 48, 0}));
}

TEST(MedianCut, FewCellsAreReproducedExactly)
{
    std::vector<Colour> colours;
    for (std::uint8_t i = 0; i < 10; ++i)
        colours.push_back({static_cast<std::uint8_t>(8 * i), static_cast<std::uint8_t>(255 - 16 * i), 40});
    ColorHistogram h;
    const auto palette = Palette(Row24(colours), 256, h);
    ASSERT_EQ(palette.size(), 10u);
    for (const Colour& c : colours) {
        const std::uint16_t index = h[HistogramCell(c.r, c.g, c.b)];
        ASSERT_LT(index, 10u);
        EXPECT_EQ(palette[index], (PaletteEntry{c.r, static_cast<std::uint8_t>(c.g & 0xF8), 40, 0}));
    }
}

// Four cells along red, r = 0, 8, 16, 24, one pixel each.
// Box 0 = all, count 4; the walk takes cells until the sum reaches 4 / 2:
// r 0 and 8 form box 0 (count 2), r 16 and 24 box 1 (count 2), both level 1.
// A third colour splits the lower-numbered of the two: box 0 -> {0}, {8}.
// Colours: box 0 = 0, box 1 = (16 + 24) / 2 = 20, box 2 = 8.
TEST(MedianCut, TiesGoToTheLowerBoxNumber)
{
    ColorHistogram h;
    const auto palette = Palette(Row24({{0, 0, 0}, {8, 0, 0}, {16, 0, 0}, {24, 0, 0}}), 3, h);
    ASSERT_EQ(palette.size(), 3u);
    EXPECT_EQ(palette[0].peRed, 0);
    EXPECT_EQ(palette[1].peRed, 20);
    EXPECT_EQ(palette[2].peRed, 8);
}

// Cells A (0, 0, 16), B (8, 0, 0), C (16, 0, 8): red and blue both span 16,
// and the tie goes to blue.  Sorted by blue: B, C, A; the walk takes B
// (sum 1 = 3 / 2).  Colours: B = (8, 0, 0) and (C + A) / 2 = (8, 0, 12).
// Split by red instead it would have given A and (12, 0, 4).
TEST(MedianCut, AxisTiesGoToBlueOverGreenOverRed)
{
    ColorHistogram h;
    const auto palette = Palette(Row24({{0, 0, 16}, {8, 0, 0}, {16, 0, 8}}), 2, h);
    ASSERT_EQ(palette.size(), 2u);
    EXPECT_EQ(palette[0], (PaletteEntry{8, 0, 0, 0}));
    EXPECT_EQ(palette[1], (PaletteEntry{8, 0, 12, 0}));
}

TEST(MedianCut, BoxColourIsTheWeightedMeanTruncated)
{
    // r 0 once, r 8 twice: (0 + 16) / 3 = 5.33 -> 5.
    ColorHistogram h;
    const auto palette = Palette(Row24({{0, 0, 0}, {8, 0, 0}, {8, 0, 0}}), 1, h);
    ASSERT_EQ(palette.size(), 1u);
    EXPECT_EQ(palette[0].peRed, 5);
    // Both cells map to the only entry.
    EXPECT_EQ(h[HistogramCell(0, 0, 0)], 0);
    EXPECT_EQ(h[HistogramCell(8, 0, 0)], 0);
}

TEST(MedianCut, CountersStopAt65535)
{
    ColorHistogram h = CreateColorHistogram();
    const Bytes picture = Row24(Repeat({1, 2, 3}, 30000));
    ASSERT_TRUE(AddDibToHistogram(h, picture));
    ASSERT_TRUE(AddDibToHistogram(h, picture));
    ASSERT_TRUE(AddDibToHistogram(h, picture));   // 90000 pixels
    EXPECT_EQ(h[HistogramCell(1, 2, 3)], 65535);
    ClearColorHistogram(h);
    EXPECT_EQ(h[HistogramCell(1, 2, 3)], 0);
}

TEST(MedianCut, CountsEveryPixelOfEveryDepthOnce)
{
    // 4 bits, width 3: the padding nibble of each row is not a pixel.
    ImageDib four = ImageDib::New(4, 3, 2, 0);
    for (std::uint32_t i = 0; i < 16; ++i)
        four.SetPaletteEntry(i, {static_cast<std::uint8_t>(16 * i), 0, 0, 0});
    four.SetPixel(0, 0, 1);
    ColorHistogram h = CreateColorHistogram();
    ASSERT_TRUE(AddDibToHistogram(h, four.Detach()));
    EXPECT_EQ(std::accumulate(h.begin(), h.end(), 0u), 6u);
    EXPECT_EQ(h[HistogramCell(0, 0, 16)], 1);   // entry 1: blue 16
    EXPECT_EQ(h[0], 5);

    // 1 bit is not counted at all.
    ColorHistogram h1 = CreateColorHistogram();
    EXPECT_FALSE(AddDibToHistogram(h1, ImageDib::New(1, 8, 1, 0).Detach()));
    LogPalette log;
    EXPECT_EQ(BuildHistogramPalette(h1, 256, log), 0u);   // no pixels: no colours
}

TEST(MedianCut, IndicesBeyondThePaletteCountAsBlack)
{
    // 1 x 1, 8 bits, one palette entry (white), pixel index 255.
    ImageDib dib = ImageDib::New(8, 1, 1, 1);
    dib.SetPaletteEntry(0, {255, 255, 255, 0});
    dib.SetPixel(0, 0, 255);
    ColorHistogram h = CreateColorHistogram();
    ASSERT_TRUE(AddDibToHistogram(h, dib.Detach()));
    EXPECT_EQ(h[0], 1);
    EXPECT_EQ(h[HistogramCell(255, 255, 255)], 0);
}

TEST(MedianCut, RlePicturesAreCountedExpanded)
{
    const Bytes bmp = imagetest::ReadFile(std::string(ORBISCOPE_IMAGE_FIXTURES) + "/bmp-rle8.bmp");
    const Bytes rle = LoadImageMemory(bmp.data(), bmp.size());
    ASSERT_EQ(HeaderOf(rle).compression, 1u);
    ColorHistogram h = CreateColorHistogram();
    ASSERT_TRUE(AddDibToHistogram(h, rle));
    EXPECT_EQ(std::accumulate(h.begin(), h.end(), 0u), 37u * 23u);
}

TEST(MedianCut, DeepPicturesMapToEightBits)
{
    const std::vector<Colour> colours = {{250, 0, 0}, {0, 250, 0}, {0, 0, 250}, {250, 0, 0}};
    const Bytes rgb24 = Row24(colours);
    // The same picture as 32 bits.
    ImageDib d32 = ImageDib::New(32, 4, 1, 0);
    for (std::size_t x = 0; x < colours.size(); ++x) {
        std::uint8_t* p = d32.RowPointer(0) + 4 * x;
        p[0] = colours[x].b;
        p[1] = colours[x].g;
        p[2] = colours[x].r;
    }
    const Bytes rgb32 = d32.Detach();
    ColorHistogram h = CreateColorHistogram();
    ASSERT_TRUE(AddDibToHistogram(h, rgb24));
    LogPalette log;
    ASSERT_EQ(BuildHistogramPalette(h, 256, log), 3u);
    const Bytes m24 = MapDibToPalette(rgb24, h, log);
    const Bytes m32 = MapDibToPalette(rgb32, h, log);
    ASSERT_FALSE(m24.empty());
    EXPECT_EQ(m24, m32);
    EXPECT_EQ(HeaderOf(m24).bitCount, 8u);
    EXPECT_EQ(HeaderOf(m24).colours, 3u);
    // Colours come back as their cell corners: 250 & F8 = 248.
    EXPECT_EQ(imagetest::RgbPixels(m24), (Bytes{248, 0, 0, 0, 248, 0, 0, 0, 248, 248, 0, 0}));
}

TEST(MedianCut, PalettedPicturesKeepTheirPixels)
{
    ImageDib dib = ImageDib::New(8, 2, 1, 2);
    dib.SetPaletteEntry(0, {3, 2, 201, 0});   // (R 201, G 2, B 3)
    dib.SetPaletteEntry(1, {250, 10, 10, 0});
    dib.SetPixel(0, 0, 1);
    const Bytes in = dib.Detach();
    ColorHistogram h = CreateColorHistogram();
    ASSERT_TRUE(AddDibToHistogram(h, in));
    LogPalette log;
    ASSERT_EQ(BuildHistogramPalette(h, 256, log), 2u);
    const Bytes out = MapDibToPalette(in, h, log);
    ASSERT_EQ(out.size(), in.size());
    EXPECT_EQ(Bytes(out.begin() + 48, out.end()), Bytes(in.begin() + 48, in.end()));
    EXPECT_EQ(imagetest::PaletteRgb(out, 0), (imagetest::Rgb{200, 0, 0}));
    EXPECT_EQ(imagetest::PaletteRgb(out, 1), (imagetest::Rgb{8, 8, 248}));
}

TEST(PaletteConversions, GreyAndExactPalette)
{
    // (11 x 200 + 59 x 150 + 30 x 100) / 100 = 14050 / 100 = 140
    const Bytes grey = ConvertDibToGray(Row24({{100, 150, 200}}));
    ASSERT_FALSE(grey.empty());
    EXPECT_EQ(HeaderOf(grey).bitCount, 8u);
    EXPECT_EQ(imagetest::RgbPixels(grey), (Bytes{140, 140, 140}));

    const Bytes exact = ReduceDibToExactPalette(Row24({{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}));
    ASSERT_FALSE(exact.empty());
    EXPECT_EQ(HeaderOf(exact).colours, 2u);
    EXPECT_EQ(imagetest::PaletteRgb(exact, 0), (imagetest::Rgb{1, 2, 3}));
    EXPECT_EQ(imagetest::PaletteRgb(exact, 1), (imagetest::Rgb{4, 5, 6}));
    EXPECT_EQ(Bytes(exact.end() - 4, exact.end() - 1), (Bytes{0, 1, 0}));

    std::vector<Colour> many;
    for (int i = 0; i < 257; ++i)
        many.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 256), 0});
    EXPECT_TRUE(ReduceDibToExactPalette(Row24(many)).empty());
    many.pop_back();
    EXPECT_FALSE(ReduceDibToExactPalette(Row24(many)).empty());
}

}  // namespace

namespace {

// A 24-, 16- or 32-bit picture of odd width filled from a fixed
// pseudo-random sequence of smooth and noisy areas: thousands of colours.
Bytes BusyPicture(unsigned bits, std::int32_t width, std::int32_t height)
{
    ImageDib dib = ImageDib::New(bits, width, height, 0);
    std::uint32_t state = 12345;
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = dib.RowPointer(y);
        for (std::int32_t x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const std::uint32_t noise = (x / 16 + y / 16) % 2 ? state >> 24 : 0;
            const std::uint32_t r = (x * 255 / width + noise) & 0xFF, g = (y * 255 / height) & 0xFF;
            const std::uint32_t b = ((x + y) * 3 + (noise >> 2)) & 0xFF;
            const std::size_t ux = static_cast<std::size_t>(x);
            if (bits == 24) {
                row[3 * ux] = static_cast<std::uint8_t>(b);
                row[3 * ux + 1] = static_cast<std::uint8_t>(g);
                row[3 * ux + 2] = static_cast<std::uint8_t>(r);
            } else if (bits == 16) {
                const std::uint32_t p = (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
                row[2 * ux] = static_cast<std::uint8_t>(p);
                row[2 * ux + 1] = static_cast<std::uint8_t>(p >> 8);
            } else {
                const std::uint32_t p = r << 16 | g << 8 | b;
                for (int i = 0; i < 4; ++i)
                    row[4 * ux + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(p >> (8 * i));
            }
        }
    }
    return dib.Detach();
}

// The whole reduction and the grey conversion of busy pictures, hashed
// (FNV-1a of the output blocks): the hashes were taken from the per-pixel
// implementation, so a faster one must give the very same bytes.
TEST(MedianCut, FasterLoopsGiveTheSameBytes)
{
    struct Row {
        unsigned bits;
        std::uint64_t mapped, grey;
    };
    const Row rows[] = {
        // 16 bits map as 24 do: the histogram's cells keep 5 bits a channel.
        {24, 0x36d316a4a8f49f2bull, 0xb056ffd50055144bull},
        {16, 0x36d316a4a8f49f2bull, 0x9ec51aeb29ca075bull},
        {32, 0x36d316a4a8f49f2bull, 0xb056ffd50055144bull},
    };
    for (const Row& r : rows) {
        const Bytes picture = BusyPicture(r.bits, 301, 203);
        ColorHistogram h = CreateColorHistogram();
        ASSERT_TRUE(AddDibToHistogram(h, picture));
        LogPalette palette;
        ASSERT_EQ(BuildHistogramPalette(h, 256, palette), 256u);
        const Bytes mapped = MapDibToPalette(picture, h, palette);
        const Bytes grey = ConvertDibToGray(picture);
        EXPECT_EQ(imagetest::Fnv1a64(mapped), r.mapped) << r.bits;
        EXPECT_EQ(imagetest::Fnv1a64(grey), r.grey) << r.bits;
    }
}

}  // namespace
