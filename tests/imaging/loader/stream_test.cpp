// Byte streams and format sniffing: the stream rules the readers rely on,
// and sources that are not image files at all.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "image_test_support.h"
#include "imaging/loader/image_loader.h"

namespace {

using namespace orbiscope;
using imagetest::Bytes;

struct SniffRow { const char* name; std::array<std::uint8_t, 4> bytes; ImageFormat format; };

TEST(ImageFormat, DetectedByTheFirstBytesInOrder)
{
    const SniffRow rows[] = {
        {"GIF89a", {'G', 'I', 'F', '8'}, ImageFormat::Gif},
        {"GIF7 is nothing", {'G', 'I', 'F', '7'}, ImageFormat::Unknown},
        {"JPEG SOI", {0xFF, 0xD8, 0xFF, 0xE0}, ImageFormat::Jpeg},
        {"BM", {'B', 'M', 0x36, 0x00}, ImageFormat::Bmp},
        {"II", {'I', 'I', 42, 0}, ImageFormat::Tiff},
        {"MM", {'M', 'M', 0, 42}, ImageFormat::Tiff},
        {"0A", {0x0A, 0x05, 0x01, 0x08}, ImageFormat::Pcx},
        {"0A before anything", {0x0A, 'B', 'M', 0}, ImageFormat::Pcx},
        {"PNG", {0x89, 'P', 'N', 'G'}, ImageFormat::Unknown},
    };
    for (const auto& r : rows)
        EXPECT_EQ(DetectImageFormat(r.bytes), r.format) << r.name;
}

TEST(MemoryStream, SeekToTheEndIsAcceptedOneFurtherFails)
{
    const std::uint8_t bytes[5] = {1, 2, 3, 4, 5};
    MemoryImageStream s(bytes, sizeof bytes);
    EXPECT_EQ(s.Seek(5, kSeekBegin), 5);
    EXPECT_TRUE(s.eof);
    EXPECT_FALSE(s.error);
    EXPECT_EQ(s.GetByte(), -1);
    EXPECT_EQ(s.Seek(-2, kSeekEnd), 3);
    EXPECT_EQ(s.GetByte(), 4);
    EXPECT_EQ(s.Seek(2, kSeekCurrent), -1);   // 4 + 2 = 6 > 5
    EXPECT_TRUE(s.error);
    // The error is sticky.
    EXPECT_EQ(s.Seek(0, kSeekBegin), -1);
    EXPECT_EQ(s.GetByte(), -1);
    EXPECT_EQ(s.Tell(), -1);
}

TEST(MemoryStream, NegativeTargetsFail)
{
    const std::uint8_t bytes[4] = {};
    MemoryImageStream s(bytes, sizeof bytes);
    EXPECT_EQ(s.Seek(-1, kSeekBegin), -1);
    EXPECT_TRUE(s.error);
    MemoryImageStream t(bytes, sizeof bytes);
    EXPECT_EQ(t.Seek(-5, kSeekEnd), -1);
    MemoryImageStream u(bytes, sizeof bytes);
    EXPECT_EQ(u.Seek(INT64_MAX, kSeekEnd), -1);
}

TEST(MemoryStream, ReadsNeverPassTheBlock)
{
    const std::uint8_t bytes[4] = {9, 8, 7, 6};
    std::uint8_t out[8] = {};
    MemoryImageStream s(bytes, sizeof bytes);
    EXPECT_EQ(s.GetByte(), 9);
    // A count that would wrap position + count in 32 or 64 bits.
    EXPECT_EQ(s.ReadExact(out, SIZE_MAX), -1);
    EXPECT_TRUE(s.error);

    MemoryImageStream t(bytes, sizeof bytes);
    t.GetByte();
    EXPECT_EQ(t.Read(out, sizeof out), 3);   // clipped to what is left
    EXPECT_EQ(out[0], 8);
    EXPECT_EQ(out[2], 6);
    EXPECT_EQ(t.Read(out, sizeof out), 0);
    EXPECT_EQ(t.ReadExact(nullptr, 0), -1);   // a null buffer fails
}

TEST(MemoryStream, NullOrEmptySourcesAreNotOpen)
{
    const std::uint8_t one = 0;
    EXPECT_TRUE(MemoryImageStream(nullptr, 4).error);
    EXPECT_TRUE(MemoryImageStream(&one, 0).error);
    EXPECT_TRUE(LoadImageMemory(nullptr, 10).empty());
    EXPECT_TRUE(LoadImageMemory(&one, 0).empty());
}

class TempFolder : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("orbiscope-stream-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Write(const char* name, const Bytes& bytes)
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::filesystem::path dir_;
};

using FileStream = TempFolder;

TEST_F(FileStream, ReadsWithTheSameRulesAsMemory)
{
    const std::string path = Write("five", {1, 2, 3, 4, 5});
    FileImageStream s(path.c_str());
    ASSERT_TRUE(s.open);
    EXPECT_EQ(s.Size(), 5u);
    std::uint8_t out[8] = {};
    EXPECT_EQ(s.ReadExact(out, 2), 2);
    EXPECT_EQ(s.Tell(), 2);
    EXPECT_EQ(s.Read(out, 8), 3);   // what is there
    EXPECT_EQ(out[2], 5);
    EXPECT_EQ(s.Read(out, 8), 0);   // 0 at the end
    EXPECT_EQ(s.Seek(1, kSeekBegin), 1);
    EXPECT_EQ(s.ReadExact(out, 8), -1);   // fewer than asked
    EXPECT_TRUE(s.error);
    EXPECT_TRUE(s.eof);

    FileImageStream t(path.c_str());
    t.Seek(4, kSeekBegin);
    EXPECT_EQ(t.GetByte(), 5);
    EXPECT_EQ(t.GetByte(), -1);
    EXPECT_TRUE(t.eof);
    EXPECT_FALSE(t.error);
}

TEST_F(FileStream, OnlyRegularFilesAreOpened)
{
    EXPECT_TRUE(FileImageStream((dir_ / "missing").c_str()).error);
    EXPECT_TRUE(FileImageStream(dir_.c_str()).error);   // a folder
    const std::string fifo = (dir_ / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A FIFO with no writer would block a plain open for ever.
    EXPECT_TRUE(FileImageStream(fifo.c_str()).error);
    EXPECT_TRUE(LoadImageFile(fifo.c_str()).empty());
    EXPECT_TRUE(FileImageStream(nullptr).error);
}

TEST_F(FileStream, ThreeBytesAreNoImage)
{
    // Even a valid signature needs the four-byte probe.
    EXPECT_TRUE(LoadImageFile(Write("gif", {'G', 'I', 'F'}).c_str()).empty());
    EXPECT_TRUE(LoadImageFile(Write("bm", {'B', 'M', 0}).c_str()).empty());
    EXPECT_TRUE(LoadImageFile(Write("empty", {}).c_str()).empty());
}

TEST(ResourceStream, FindsItsBytesThroughTheModule)
{
    static const Bytes kGif = imagetest::ReadFile(std::string(ORBISCOPE_IMAGE_FIXTURES) + "/gif-16colours.gif");
    const ResourceLookup module = [](int id) {
        return id == 42 ? std::span<const std::uint8_t>(kGif) : std::span<const std::uint8_t>();
    };
    const Bytes dib = LoadImageResource(42, module);
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(dib, LoadImageMemory(kGif.data(), kGif.size()));
    EXPECT_EQ(dib, LoadGifResource(42, module));
    EXPECT_TRUE(LoadImageResource(43, module).empty());
    EXPECT_TRUE(LoadImageResource(42, nullptr).empty());
}

}  // namespace

#include "imaging/loader/reader_support.h"

namespace {

// The red-blue copy of 24-bit rows against a byte-by-byte reference, for
// every count around the 5-pixel steps, out of place and in place, with
// guard bytes on both sides that must stay untouched.
TEST(RedBlueCopy, MatchesAPixelByPixelSwapForEveryLength)
{
    for (std::size_t pixels = 0; pixels <= 23; ++pixels) {
        std::vector<std::uint8_t> in(3 * pixels + 2), out(3 * pixels + 2, 0xEE), expected(3 * pixels + 2, 0xEE);
        for (std::size_t i = 0; i < in.size(); ++i)
            in[i] = static_cast<std::uint8_t>(37 * i + 11);
        for (std::size_t x = 0; x < pixels; ++x)
            for (std::size_t c = 0; c < 3; ++c)
                expected[1 + 3 * x + c] = in[1 + 3 * x + 2 - c];
        orbiscope::CopySwappingRedBlue(out.data() + 1, in.data() + 1, pixels);
        EXPECT_EQ(out, expected) << pixels << " pixels";
        std::vector<std::uint8_t> inPlace = in;
        expected.front() = in.front();
        expected.back() = in.back();
        orbiscope::CopySwappingRedBlue(inPlace.data() + 1, inPlace.data() + 1, pixels);
        EXPECT_EQ(inPlace, expected) << pixels << " pixels in place";
    }
}

}  // namespace
