// The generator of the built-in pictures: the ITU region of known places,
// the GIF writer against the program's own reader, the packed bitmaps it
// writes, and the world data reader's refusals.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "gif_writer.h"
#include "imaging/loader/image_loader.h"
#include "pictures.h"

namespace {

using namespace pictures;

const std::string kWorld = ORBISCOPE_WORLD_DATA;

struct Place { const char* name; double lon, lat; int region; };

// Places whose region the Radio Regulations (Article 5, Nos. 5.3-5.9) fix:
// by the lines A, B and C, or by the country rules of No. 5.3 (the Russian
// Federation wholly in Region 1, Iran wholly in Region 3).
TEST(ItuRegionMap, KnownPlaces)
{
    const Place places[] = {
        {"Reykjavik (east of line B)", -21.9, 64.1, 1},
        {"Azores (east of line B)", -25.7, 37.7, 1},
        {"St Helena", -5.7, -15.9, 1},
        {"Madagascar (west of line A)", 46.9, -19.0, 1},
        {"Baghdad", 44.4, 33.3, 1},
        {"Svalbard", 15.6, 78.2, 1},
        {"Kamchatka, inland (Russian Federation)", 158.5, 55.5, 1},
        {"Novosibirsk (Russian Federation)", 82.9, 55.0, 1},
        {"Almaty (Kazakhstan)", 76.9, 43.2, 1},
        {"Arctic sea north of Siberia", 100.0, 80.0, 1},
        {"Greenland (west of line B)", -42.0, 72.0, 2},
        {"Falkland Islands", -59.0, -51.7, 2},
        {"Hawaii (east of line C)", -157.8, 21.3, 2},
        {"Attu, western Aleutians", 173.2, 52.9, 2},
        {"Beaufort Sea (east of line C)", -145.0, 74.0, 2},
        {"Tehran (Iran)", 51.4, 35.7, 3},
        {"Mumbai", 72.9, 19.1, 3},
        {"Perth", 115.9, -31.9, 3},
        {"Tahiti (west of line C)", -149.6, -17.6, 3},
    };
    const WorldData world = ReadWorldData(kWorld);
    constexpr int kWidth = 3600, kHeight = 1800;   // 0.1 degree a pixel
    const ItuRegionMap map(world, kWidth, kHeight);
    for (const Place& p : places) {
        const int x = static_cast<int>((p.lon + 180) / 360 * kWidth);
        const int y = static_cast<int>((90 - p.lat) / 180 * kHeight);
        EXPECT_EQ(map.RegionAt(x, y), p.region) << p.name;
    }
}

std::vector<Rgb8> TestPalette()
{
    std::vector<Rgb8> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>(i * 7)});
    return palette;
}

struct GifCase { const char* name; int width, height; std::vector<std::uint8_t> pixels; };

std::vector<GifCase> GifCases()
{
    std::mt19937 random(5);
    std::vector<GifCase> cases;
    cases.push_back({"one pixel", 1, 1, {200}});
    cases.push_back({"one flat row (long strings)", 5000, 1, std::vector<std::uint8_t>(5000, 9)});
    std::vector<std::uint8_t> noise(300 * 200);
    for (auto& v : noise)
        v = static_cast<std::uint8_t>(random());
    // About 60000 codes: the table fills and is cleared many times.
    cases.push_back({"noise of 256 colours", 300, 200, noise});
    std::vector<std::uint8_t> ramp(257 * 31);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<std::uint8_t>(i % 257 % 256);
    cases.push_back({"ramp", 257, 31, ramp});
    return cases;
}

TEST(GifWriter, TheReaderGetsBackEveryPixel)
{
    const std::vector<Rgb8> palette = TestPalette();
    for (const GifCase& c : GifCases()) {
        const std::vector<std::uint8_t> file = EncodeGif(c.width, c.height, c.pixels, palette);
        const orbiscope::PackedDib dib = orbiscope::LoadGifMemory(file.data(), file.size());
        ASSERT_FALSE(dib.empty()) << c.name;
        const orbiscope::DibView view = orbiscope::DibView::Wrap(dib);
        ASSERT_EQ(view.BitCount(), 8u) << c.name;
        ASSERT_EQ(view.Width(), c.width);
        ASSERT_EQ(view.Height(), c.height);
        EXPECT_EQ(view.PaletteEntry(7), (orbiscope::RgbQuad{49, 248, 7, 0})) << c.name;
        int wrong = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                wrong += view.GetPixel(x, y) != c.pixels[static_cast<std::size_t>(y * c.width + x)];
        EXPECT_EQ(wrong, 0) << c.name;
    }
}

TEST(GifWriter, RefusesWhatAGifCannotHold)
{
    EXPECT_THROW(EncodeGif(0, 1, {}, TestPalette()), std::invalid_argument);
    EXPECT_THROW(EncodeGif(2, 2, {1, 2, 3}, TestPalette()), std::invalid_argument);
    EXPECT_THROW(EncodeGif(1, 1, {0}, std::vector<Rgb8>(257)), std::invalid_argument);
}

TEST(PackedBitmaps, RowsAreWrittenBottomUpAndPadded)
{
    // 3 x 2, 4 bits: rows (1, 2, 3) and (4, 5, 6); stride 4 bytes.
    Indexed picture{3, 2, {1, 2, 3, 4, 5, 6}, std::vector<QRgb>(16, qRgb(1, 2, 3))};
    picture.palette[1] = qRgb(10, 20, 30);
    const orbiscope::PackedDib dib = ToPackedDib(picture, 4);
    ASSERT_EQ(dib.size(), 40u + 16 * 4 + 2 * 4);
    const std::uint8_t* bits = dib.data() + 40 + 64;
    EXPECT_EQ(std::vector<std::uint8_t>(bits, bits + 8), (std::vector<std::uint8_t>{0x45, 0x60, 0, 0, 0x12, 0x30, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(dib.begin() + 44, dib.begin() + 48), (std::vector<std::uint8_t>{30, 20, 10, 0}));
    EXPECT_EQ(dib[32], 16);   // biClrUsed
    // 1 bit, 10 x 1: bits 1 0 1 0 ... in one 4-byte row.
    Indexed bw{10, 1, {1, 0, 1, 0, 1, 0, 1, 0, 1, 1}, {qRgb(0, 0, 0), qRgb(255, 255, 255)}};
    const orbiscope::PackedDib one = ToPackedDib(bw, 1);
    ASSERT_EQ(one.size(), 40u + 8 + 4);
    EXPECT_EQ(one[48], 0xAA);
    EXPECT_EQ(one[49], 0xC0);
}

TEST(WorldData, BadFilesAreRefusedWithTheirLine)
{
    const auto path = std::filesystem::temp_directory_path() / "orbiscope-world-test.txt";
    const std::pair<const char*, const char*> bad[] = {
        {"# header\nring 1 3 land\n1.0 2.0\n3.0 4.0\n", "ends inside"},
        {"ring 1 2 land\n1.0 2.0\n3.0\n", "bad point"},
        {"ring 1 1 land\n1,5 2.0\n", "bad point"},
        {"ring 1 1 land\n200.0 2.0\n", "bad point"},
        {"blob 1 1 land\n1.0 2.0\n", "expected a ring"},
        {"", "ends inside"},
    };
    for (const auto& [text, message] : bad) {
        std::ofstream(path) << text;
        try {
            ReadRings(path.string());
            ADD_FAILURE() << "accepted: " << text;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
    std::ofstream(path) << "# comment\nring 1 2 R1\n-180.0 10.0\n-180.0 20.0\nline 2 2 A\n40.0 90.0\n40.0 40.0\n";
    const std::vector<Ring> rings = ReadRings(path.string());
    ASSERT_EQ(rings.size(), 2u);
    EXPECT_EQ(rings[1].name, "A");
    EXPECT_TRUE(rings[1].line);
    EXPECT_TRUE(IsCutEdge(rings[0].points[0], rings[0].points[1]));   // along the antimeridian
    EXPECT_FALSE(IsCutEdge(rings[1].points[0], rings[1].points[1]));
    std::filesystem::remove(path);
}

}  // namespace

namespace {

// Text is drawn with the platform's fonts, which need the GUI application.
void NeedFonts()
{
    static int argc = 1;
    static char name[] = "test_pictures";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
}

// How many pixels of each palette index lie in rows [top, bottom).
std::vector<int> IndexCounts(const pictures::Indexed& picture, int top, int bottom)
{
    std::vector<int> counts(256, 0);
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < picture.width; ++x) ++counts[picture.pixels[std::size_t(y * picture.width + x)]];
    return counts;
}

}  // namespace

// No label of the polar-mount diagram covers another (the angle numbers
// once sat on the boresight's caption), and each lies inside the picture
// above the key.
TEST(PolarMountDiagram, LabelsStayClearOfEachOther)
{
    NeedFonts();
    std::vector<pictures::PictureLabel> labels;
    const pictures::Indexed picture = pictures::PolarMountAngles(&labels);
    ASSERT_EQ(picture.width, 418);
    ASSERT_EQ(labels.size(), 13u);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_TRUE(QRectF(0, 0, 418, 290).contains(labels[i].box)) << labels[i].text;
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(labels[i].box.intersects(labels[j].box)) << labels[i].text << " / " << labels[j].text;
    }
    const auto three = std::find_if(labels.begin(), labels.end(), [](const auto& l) { return l.text == "3"; });
    ASSERT_NE(three, labels.end());
}

// The globes tint land darker than sea at each depth, and the legend shows
// both tints of every depth.  Palette indices 4 to 11 are the sea and land
// tints, in pairs from slight to severe.
TEST(ScintillationGlobes, LegendShowsTheSeaAndLandTints)
{
    NeedFonts();
    const pictures::Indexed picture = pictures::ScintillationFading(pictures::ReadWorldData(kWorld));
    ASSERT_EQ(picture.height, 430);
    const std::vector<int> globes = IndexCounts(picture, 0, 360);
    const std::vector<int> legend = IndexCounts(picture, 370, 392);
    for (int tint = 4; tint <= 11; ++tint) {
        EXPECT_GT(legend[std::size_t(tint)], 100) << "legend lacks tint " << tint;
        // Land tints are darker than the sea tints of the same depth.
        if (tint % 2 == 1) {
            EXPECT_LT(qGray(picture.palette[std::size_t(tint)]), qGray(picture.palette[std::size_t(tint - 1)]));
        }
    }
    for (int tint : {5, 7, 9}) EXPECT_GT(globes[std::size_t(tint)], 0) << "globes show land tint " << tint;
}
