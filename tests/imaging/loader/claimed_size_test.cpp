// Files whose headers claim more than their data can fill: cut-off files of
// every format declaring 16000 x 16000, GIFs of many images that fail, and
// pictures cheap when packed but huge when drawn.  Each must be refused
// without the memory its header asks for, so the global allocation function
// of this test program notes the largest block asked for while a file loads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "image_test_support.h"
#include "imaging/loader/image_loader.h"

namespace {

std::atomic<bool> gWatching{false};
std::atomic<std::size_t> gLargest{0};
std::atomic<std::size_t> gLargeCount{0};
constexpr std::size_t kLarge = std::size_t{1} << 20;

}  // namespace

void* operator new(std::size_t n)
{
    if (gWatching.load(std::memory_order_relaxed)) {
        std::size_t seen = gLargest.load(std::memory_order_relaxed);
        while (n > seen && !gLargest.compare_exchange_weak(seen, n)) {
        }
        if (n >= kLarge)
            gLargeCount.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(n == 0 ? 1 : n))
        return p;
    throw std::bad_alloc();
}

// The compiler cannot see that the allocation function above uses malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

void operator delete(void* p, std::size_t) noexcept
{
    ::operator delete(p);
}

namespace {

using namespace orbiscope;
using imagetest::Builder;
using imagetest::Bytes;

struct Watch {
    Watch()
    {
        gLargest = 0;
        gLargeCount = 0;
        gWatching = true;
    }
    ~Watch() { gWatching = false; }
};

struct LoadCost {
    bool refused;
    std::size_t largestAllocation;
    std::size_t largeAllocations;   // of 1 MiB or more
};

LoadCost Load(const Bytes& file)
{
    Watch watch;
    const bool refused = LoadImageMemory(file.data(), file.size()).empty();
    return {refused, gLargest.load(), gLargeCount.load()};
}

constexpr std::uint32_t kSide = 16000;

Bytes PadTo(Bytes bytes, std::size_t size)
{
    bytes.resize(size, 0x55);
    return bytes;
}

// 8-bit BMP: 14 + 40 header bytes, 256 palette entries, then 16000 x 16000
// pixel bytes are due; the file stops at 1 KB.
Bytes CutBmp()
{
    Builder b;
    b.Text("BM").Le32(1024).Le32(0).Le32(14 + 40 + 1024);
    b.Le32(40).Le32(kSide).Le32(kSide).Le16(1).Le16(8).Le32(0).Le32(0).Le32(0).Le32(0).Le32(256).Le32(0);
    return PadTo(b.Get(), 1024);
}

// 8-bit PCX: 16000 lines of 16000 bytes need at least 508 encoded bytes each.
Bytes CutPcx()
{
    Builder b;
    b.U8({0x0A, 5, 1, 8}).Le16(0).Le16(0).Le16(kSide - 1).Le16(kSide - 1);
    b.Zeros(65 - b.Size()).U8({1}).Le16(kSide).Zeros(128 - 68);
    return PadTo(b.Get(), 1024);
}

// 8-bit grey TIFF in one strip: uncompressed its strip must hold 256 MB,
// LZW-coded the 1 KB left cannot stand for more than about 0.4 MB.
Bytes CutTiff(std::uint16_t compression)
{
    Builder b;
    b.Text("II").Le16(42).Le32(8).Le16(8);
    const auto entry = [&b](int tag, int type, std::uint32_t value) {
        b.Le16(static_cast<std::uint32_t>(tag)).Le16(static_cast<std::uint32_t>(type)).Le32(1);
        b.Le32(value);
    };
    entry(256, 4, kSide);
    entry(257, 4, kSide);
    entry(258, 3, 8);
    entry(259, 3, compression);
    entry(262, 3, 1);
    entry(273, 4, 200);
    entry(278, 4, kSide);
    entry(279, 4, kSide * kSide);
    b.Le32(0);
    return PadTo(b.Get(), 1024);
}

// A real grey JPEG (549 bytes) with its frame header changed to 16000 x
// 16000: 4 million blocks take at least half a megabyte.
Bytes CutJpeg()
{
    Bytes jpeg = imagetest::ReadFile(std::string(ORBISCOPE_IMAGE_FIXTURES) + "/jpg-grey.jpg");
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = kSide >> 8;
            jpeg[i + 6] = kSide & 0xFF;
            jpeg[i + 7] = kSide >> 8;
            jpeg[i + 8] = kSide & 0xFF;
            return jpeg;
        }
    return {};
}

// The 16000 x 16000 GIF whose data stops after 3 bytes: 256 colours, one
// sub-block, a terminator, the trailer, zeros to 1 KB.
Bytes CutGif()
{
    Builder b;
    b.Text("GIF89a").Le16(kSide).Le16(kSide).U8({0xF7, 0, 0});
    for (int i = 0; i < 256; ++i)
        b.U8({i, i, i});
    b.U8({0x2C}).Le16(0).Le16(0).Le16(kSide).Le16(kSide).U8({0, 8, 3, 2, 0x4C, 1, 0, 0x3B});
    return PadTo(b.Get(), 1024);
}

TEST(ClaimedSize, CutOffFilesAreRefusedBeforeTheirPictureIsAllocated)
{
    struct Row {
        const char* name;
        Bytes file;
    };
    const Row rows[] = {
        {"BMP", CutBmp()},          {"PCX", CutPcx()},   {"TIFF uncompressed", CutTiff(1)},
        {"TIFF LZW", CutTiff(5)},   {"JPEG", CutJpeg()}, {"GIF", CutGif()},
    };
    for (const Row& r : rows) {
        ASSERT_LE(r.file.size(), 1024u) << r.name;
        const LoadCost cost = Load(r.file);
        EXPECT_TRUE(cost.refused) << r.name;
        EXPECT_LT(cost.largestAllocation, kLarge) << r.name;
    }
}

// The reproduction of a GIF of 5000 images of 16000 x 16000 whose data each
// stop after 2 bytes (75 KB): no image's picture is allocated.
TEST(ClaimedSize, AGifOfManyFailingImagesAllocatesNoneOfThem)
{
    Builder b;
    b.Text("GIF89a").Le16(kSide).Le16(kSide).U8({0xF7, 0, 0});
    for (int copy = 0; copy < 3; ++copy)
        for (int i = 0; i < 256; ++i)
            b.U8({i});
    for (int frame = 0; frame < 5000; ++frame)
        b.U8({0x2C}).Le16(0).Le16(0).Le16(kSide).Le16(kSide).U8({0, 8, 2, 0x4C, 1, 0});
    const Bytes file = b.U8({0x3B}).Get();
    const LoadCost cost = Load(file);
    EXPECT_TRUE(cost.refused);
    EXPECT_EQ(cost.largeAllocations, 0u);
}

// LZW codes of min code size 8 after a clear, each the next free code, so
// that code k stands for k zeros: n codes fill n (n + 1) / 2 pixels.  Packed
// least significant bit first with the widths a decoder reads them at.
Bytes GrowingCodes(unsigned count, bool endWithABadCode)
{
    imagetest::GifCodes codes = {{256, 9}, {0, 9}};
    for (unsigned code = 258; codes.size() < count + 1; ++code)
        codes.push_back({code, code < 512 ? 9u : code < 1024 ? 10u : code < 2048 ? 11u : 12u});
    const unsigned width = codes.back().second;
    codes.push_back(endWithABadCode ? std::pair{(1u << width) - 1, width} : std::pair{257u, width});
    return imagetest::GifSubBlocks(codes);
}

// Images of 2048 x 1024 (2 MiB each) whose data could fill them but fail
// on the last code: once failed images have cost a quarter of the largest
// picture allowed (64 MiB), the file is given up, and a good image after
// them is not reached.  A good image after a few failures is still read.
TEST(ClaimedSize, FailingImagesOfAGifHaveABoundedCost)
{
    constexpr unsigned kCodes = 2100;   // 2,206,050 pixels: more than 2048 x 1024
    const Bytes failing = GrowingCodes(kCodes, true);
    const Bytes good = GrowingCodes(kCodes, false);
    const auto gif = [&](int failures) {
        Builder b;
        b.Text("GIF89a").Le16(2048).Le16(1024).U8({0xF7, 0, 0});
        for (int i = 0; i < 256; ++i)
            b.U8({i, i, i});
        for (int i = 0; i <= failures; ++i)
            b.U8({0x2C}).Le16(0).Le16(0).Le16(2048).Le16(1024).U8({0, 8}).Append(i < failures ? failing : good);
        return b.U8({0x3B}).Get();
    };
    const LoadCost few = Load(gif(3));
    EXPECT_FALSE(few.refused);
    const LoadCost many = Load(gif(100));
    EXPECT_TRUE(many.refused);
    // 32 pictures of 2 MiB and a palette pass the 64 MiB.
    EXPECT_EQ(many.largeAllocations, 32u);
}

// A picture is limited as drawn as well as packed: 1- and 4-bit rows are
// widened to a byte a pixel, deeper ones to four bytes.
TEST(ClaimedSize, TheSizeLimitHoldsForThePictureAsDrawn)
{
    struct Row {
        std::int32_t width, height;
        unsigned bits;
        bool accepted;
    };
    const Row rows[] = {
        {32767, 32767, 1, false},   // 134 MB packed, 1 GiB drawn
        {32767, 16000, 4, false},   // 262 MB packed, 524 MB drawn
        {16384, 16384, 1, true},    // drawn exactly 256 MiB
        {16384, 16385, 1, false},
        {8192, 8192, 24, true},     // 201 MB packed, 256 MiB drawn
        {8192, 8193, 24, false},
    };
    for (const Row& r : rows) {
        BitmapInfoHeader h;
        h.biWidth = r.width;
        h.biHeight = r.height;
        h.biBitCount = static_cast<std::uint16_t>(r.bits);
        h.biClrUsed = r.bits <= 8 ? 1u << r.bits : 0;
        DibLayout layout;
        EXPECT_EQ(LayoutOf(h, layout), r.accepted) << r.width << " x " << r.height << " x " << r.bits;
    }
    // The 35-byte GIF of 32767 x 32767 at 1 bit fails at its header.
    const Bytes tiny = imagetest::ReadFile(std::string(ORBISCOPE_IMAGE_FIXTURES) + "/refused/gif-1bit-32767-35b.gif");
    ASSERT_EQ(tiny.size(), 35u);
    const LoadCost cost = Load(tiny);
    EXPECT_TRUE(cost.refused);
    EXPECT_LT(cost.largestAllocation, kLarge);
}

}  // namespace
