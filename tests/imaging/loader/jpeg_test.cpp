// The JPEG reader: output depths, damaged files, both sources.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "image_test_support.h"
#include "imaging/loader/image_loader.h"

namespace {

using namespace orbiscope;
using imagetest::Bytes;
using imagetest::HeaderOf;
using imagetest::PaletteRgb;
using imagetest::Rgb;

const std::string kFixtures = ORBISCOPE_IMAGE_FIXTURES;

Bytes Fixture(const char* name)
{
    return imagetest::ReadFile(kFixtures + "/" + name);
}

Bytes Load(const Bytes& file)
{
    return LoadJpegMemory(file.data(), file.size());
}

std::string WriteTemp(const char* name, const Bytes& bytes)
{
    const auto path = std::filesystem::temp_directory_path() / (std::string("orbiscope-jpeg-") + std::to_string(::getpid()) + name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

// Colour files give 24 bits (their pixels: the corpus test); CMYK is refused
// (the corpus's refused files).
TEST(JpegReader, GreyGivesEightBitsOnARamp)
{
    const Bytes dib = Load(Fixture("jpg-grey.jpg"));
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(HeaderOf(dib).bitCount, 8u);
    EXPECT_EQ(HeaderOf(dib).colours, 256u);
    for (std::uint32_t i : {0u, 1u, 128u, 255u})
        EXPECT_EQ(PaletteRgb(dib, i), (Rgb{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)}));
}

TEST(JpegReader, ATruncatedFileIsRefusedFromFileAndMemory)
{
    Bytes cut = Fixture("jpg-baseline.jpg");
    cut.resize(cut.size() / 2);
    EXPECT_TRUE(Load(cut).empty());
    const std::string path = WriteTemp("cut.jpg", cut);
    EXPECT_TRUE(LoadJpegFile(path.c_str()).empty());
    EXPECT_TRUE(LoadImageFile(path.c_str()).empty());
    const std::string empty = WriteTemp("empty.jpg", {});
    EXPECT_TRUE(LoadJpegFile(empty.c_str()).empty());
    std::filesystem::remove(path);
    std::filesystem::remove(empty);
}

TEST(JpegReader, ReportsThreePhasesThenEveryRow)
{
    imagetest::ProgressLog log;
    const Bytes file = Fixture("jpg-grey.jpg");   // 23 rows
    ASSERT_FALSE(LoadJpegMemory(file.data(), file.size(), imagetest::ProgressLog::Record, &log).empty());
    ASSERT_EQ(log.calls.size(), 3u + 23u);
    EXPECT_EQ(log.calls[0], (std::pair<std::uint32_t, std::uint32_t>{0, 1}));
    EXPECT_EQ(log.calls[1], (std::pair<std::uint32_t, std::uint32_t>{1, 25}));
    EXPECT_EQ(log.calls[2], (std::pair<std::uint32_t, std::uint32_t>{2, 25}));
    for (std::uint32_t y = 0; y < 23; ++y)
        EXPECT_EQ(log.calls[3 + y], (std::pair<std::uint32_t, std::uint32_t>{y + 2, 25}));
}

TEST(JpegReader, AnEightKilobyteBlockInMemoryReadsWhole)
{
    // A comment segment after SOI pads the file to exactly one window.
    const Bytes plain = Fixture("jpg-baseline.jpg");
    ASSERT_LT(plain.size(), 8192u - 4);
    const std::size_t comment = 8192 - plain.size() - 2;   // segment length, its own 2 bytes included
    Bytes padded(plain.begin(), plain.begin() + 2);
    padded.insert(padded.end(), {0xFF, 0xFE, std::uint8_t(comment >> 8), std::uint8_t(comment)});
    padded.insert(padded.end(), comment - 2, 'x');
    padded.insert(padded.end(), plain.begin() + 2, plain.end());
    ASSERT_EQ(padded.size(), 8192u);
    EXPECT_EQ(Load(padded), Load(plain));
    const std::string path = WriteTemp("padded.jpg", padded);
    EXPECT_EQ(LoadJpegFile(path.c_str()), Load(plain));
    std::filesystem::remove(path);
}

TEST(JpegReader, SegmentsLongerThanTheFileAreNotFollowedPastIt)
{
    // An APP1 segment claiming 60000 bytes in a file of a few hundred: the
    // skip stops at the end of the block and the fake end marker fails the
    // reading.
    Bytes file = {0xFF, 0xD8, 0xFF, 0xE1, 0xEA, 0x60};
    file.insert(file.end(), 300, 0x55);
    EXPECT_TRUE(Load(file).empty());
    const std::string path = WriteTemp("app1.jpg", file);
    EXPECT_TRUE(LoadJpegFile(path.c_str()).empty());
    std::filesystem::remove(path);
}

}  // namespace
