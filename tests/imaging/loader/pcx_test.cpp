// The PCX reader, on files built byte by byte.
#include <gtest/gtest.h>

#include "image_test_support.h"
#include "imaging/loader/image_loader.h"

namespace {

using namespace orbiscope;
using imagetest::Builder;
using imagetest::Bytes;
using imagetest::HeaderOf;
using imagetest::PaletteRgb;
using imagetest::Rgb;

struct PcxInfo {
    int version = 5, bits = 8, planes = 1;
    int xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    int bytesPerLine = 2;
};

// 128-byte header; the 16-colour palette holds entry i = (16 i, 16 i + 1, 16 i + 2).
Bytes Pcx(const PcxInfo& p, const Bytes& data)
{
    Builder b;
    b.U8({0x0A, p.version, 1, p.bits}).Le16(static_cast<std::uint32_t>(p.xmin)).Le16(static_cast<std::uint32_t>(p.ymin));
    b.Le16(static_cast<std::uint32_t>(p.xmax)).Le16(static_cast<std::uint32_t>(p.ymax)).Le16(72).Le16(72);
    for (int i = 0; i < 16; ++i)
        b.U8({16 * i, 16 * i + 1, 16 * i + 2});
    b.U8({0, p.planes}).Le16(static_cast<std::uint32_t>(p.bytesPerLine)).Zeros(60);
    return b.Append(data).Get();
}

Bytes Load(const Bytes& file)
{
    return LoadImageMemory(file.data(), file.size());
}

TEST(PcxReader, Version5WithoutTrailingPaletteUsesTheHeaderColours)
{
    // 2 x 1, 8 bits; one line of 2 bytes (1, 15), then a byte that is not 12.
    const Bytes dib = Load(Pcx({.xmax = 1}, {1, 15, 0x0B}));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(HeaderOf(dib).bitCount, 8u);
    EXPECT_EQ(PaletteRgb(dib, 1), (Rgb{16, 17, 18}));
    EXPECT_EQ(PaletteRgb(dib, 15), (Rgb{240, 241, 242}));
    EXPECT_EQ(PaletteRgb(dib, 16), (Rgb{0, 0, 0}));
    EXPECT_EQ(PaletteRgb(dib, 255), (Rgb{0, 0, 0}));
}

TEST(PcxReader, TrailingPaletteAfterItsMarker)
{
    Builder data;
    data.U8({0xC2, 200, 0x0C});   // a run of 2 x 200, then the marker
    for (int i = 0; i < 256; ++i)
        data.U8({i, 255 - i, 7});
    const Bytes dib = Load(Pcx({.xmax = 1}, data.Get()));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(PaletteRgb(dib, 200), (Rgb{200, 55, 7}));
    EXPECT_EQ(imagetest::RgbPixels(dib), (Bytes{200, 55, 7, 200, 55, 7}));
}

TEST(PcxReader, Version3UsesTheBuiltInTable)
{
    const Bytes dib = Load(Pcx({.version = 3, .xmax = 1}, {0, 1}));
    ASSERT_FALSE(dib.empty());
    // The table's entries 1 and 15: 00 52 07 and 00 68 1f.
    EXPECT_EQ(PaletteRgb(dib, 1), (Rgb{0x00, 0x52, 0x07}));
    EXPECT_EQ(PaletteRgb(dib, 15), (Rgb{0x00, 0x68, 0x1f}));
}

TEST(PcxReader, FourBitPlanesBecomeNibbles)
{
    // 8 x 1, four 1-bit planes: FF, 0F, 00, 80.  Pixel x = sum of plane p bit
    // (7 - x) weighted 2^p: x0 = 1 + 8 = 9, x1-x3 = 1, x4-x7 = 1 + 2 = 3.
    // FF is written as a run of one (C1 FF), as every byte from C0 up must be.
    const Bytes dib = Load(Pcx({.bits = 1, .planes = 4, .xmax = 7, .bytesPerLine = 1}, {0xC1, 0xFF, 0x0F, 0x00, 0x80}));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(HeaderOf(dib).bitCount, 4u);
    EXPECT_EQ(Bytes(dib.end() - 4, dib.end()), (Bytes{0x91, 0x11, 0x33, 0x33}));
}

TEST(PcxReader, RgbPlanesBecomeBlueGreenRed)
{
    // 2 x 1: red plane (10, 11), green (20, 21), blue (30, 31).
    const Bytes dib = Load(Pcx({.planes = 3, .xmax = 1}, {10, 11, 20, 21, 30, 31}));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(HeaderOf(dib).bitCount, 24u);
    EXPECT_EQ(Bytes(dib.end() - 8, dib.end() - 2), (Bytes{30, 20, 10, 31, 21, 11}));
}

TEST(PcxReader, ReportsEveryRow)
{
    imagetest::ProgressLog log;
    const Bytes file = Pcx({.xmax = 1, .ymax = 2}, {1, 2, 3, 4, 5, 6});
    ASSERT_FALSE(LoadPcxMemory(file.data(), file.size(), imagetest::ProgressLog::Record, &log).empty());
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{0, 3}, {1, 3}, {2, 3}};
    EXPECT_EQ(log.calls, expected);
}

struct HostilePcx { const char* name; Bytes file; };

TEST(PcxReader, RefusesWhatItCannotDecodeSafely)
{
    const HostilePcx rows[] = {
        {"a run crossing the end of the line", Pcx({.xmax = 1}, {0xC3, 7})},
        {"xmax below xmin", Pcx({.xmin = 5, .xmax = 4}, {0, 0})},
        {"ymax below ymin", Pcx({.ymin = 5, .xmax = 1, .ymax = 4}, {0, 0})},
        {"lines shorter than the width", Pcx({.xmax = 9, .bytesPerLine = 2}, Bytes(40, 1))},
        {"two 1-bit planes", Pcx({.bits = 1, .planes = 2, .bytesPerLine = 1}, {0, 0})},
        {"2 bits in one plane", Pcx({.bits = 2, .bytesPerLine = 1}, {0})},
        {"two 8-bit planes", Pcx({.planes = 2, .xmax = 1}, {0, 0, 0, 0})},
        {"no planes", Pcx({.bits = 1, .planes = 0, .bytesPerLine = 1}, {0})},
        {"width beyond the limit", Pcx({.xmax = 65535, .bytesPerLine = 65535}, {})},
        {"short header", Bytes{0x0A, 5, 1, 8}},
    };
    for (const auto& r : rows)
        EXPECT_TRUE(Load(r.file).empty()) << r.name;
}

TEST(PcxReader, EndOfDataReadsAsFF)
{
    // 1 x 3 with two lines given: the missing line reads FF FF, a run of 63,
    // which does not fit a 1-byte line.
    EXPECT_TRUE(Load(Pcx({.ymax = 2, .bytesPerLine = 1}, {5, 5})).empty());
    // 63 x 2 with 63-byte lines: row 0 is 63 literal bytes 9; the missing row
    // 1 becomes 63 x FF.  (Two bytes, a run, would be enough for a line: the
    // file is long enough for the picture by count.)
    const Bytes dib = Load(Pcx({.version = 2, .xmax = 62, .ymax = 1, .bytesPerLine = 63}, Bytes(63, 9)));
    ASSERT_FALSE(dib.empty());
    const std::size_t bits = 40 + 1024, stride = 64;
    EXPECT_EQ(dib[bits + stride], 9);   // stored bottom-up: image row 0 is stored second
    EXPECT_EQ(dib[bits], 0xFF);
    EXPECT_EQ(dib[bits + 62], 0xFF);
}

}  // namespace
