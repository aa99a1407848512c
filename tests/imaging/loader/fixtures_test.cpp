// Every committed fixture (made by Debian's own image tools, see data/README.md)
// decodes to exactly the pixels the tools decode: width, height and the hash
// of the R, G, B bytes listed in data/references.txt.  Each file is read
// from disk and from memory, through the sniffing entry points.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "image_test_support.h"
#include "imaging/loader/image_loader.h"

namespace {

using namespace imagetest;

const std::string kFixtures = ORBISCOPE_IMAGE_FIXTURES;

struct Reference { std::string file; int width = 0, height = 0; std::uint64_t hash = 0; };

std::vector<Reference> ReadReferences()
{
    std::vector<Reference> refs;
    std::ifstream in(kFixtures + "/references.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Reference r;
        std::string hash;
        if (fields >> r.file >> r.width >> r.height >> hash) {
            r.hash = std::stoull(hash, nullptr, 16);
            refs.push_back(r);
        }
    }
    return refs;
}

// Pixels of any block the loader returns; RLE blocks are expanded first.
Bytes Pixels(const Bytes& dib)
{
    const std::uint32_t compression = HeaderOf(dib).compression;
    if (compression == orbiscope::kBiRle8 || compression == orbiscope::kBiRle4)
        return RgbPixels(orbiscope::ExpandRleDib(dib));
    return RgbPixels(dib);
}

class Fixture : public testing::TestWithParam<Reference> {};

TEST_P(Fixture, DecodesAsTheDebianToolsDo)
{
    const Reference& ref = GetParam();
    const std::string path = kFixtures + "/" + ref.file;
    const Bytes fromFile = orbiscope::LoadImageFile(path.c_str());
    ASSERT_FALSE(fromFile.empty()) << path;
    EXPECT_EQ(HeaderOf(fromFile).width, ref.width);
    EXPECT_EQ(std::abs(HeaderOf(fromFile).height), ref.height);
    EXPECT_EQ(Fnv1a64(Pixels(fromFile)), ref.hash);

    const Bytes bytes = ReadFile(path);
    const Bytes fromMemory = orbiscope::LoadImageMemory(bytes.data(), bytes.size());
    EXPECT_EQ(fromMemory, fromFile) << "memory and file sources differ";
}

std::string NameOf(const testing::TestParamInfo<Reference>& info)
{
    std::string name = info.param.file;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, Fixture, testing::ValuesIn(ReadReferences()), NameOf);

// Files the readers refuse rather than show with wrong pixels (see
// data/README.md): each gives no picture.
TEST(FixtureCorpus, RefusedFilesGiveNoPicture)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kFixtures + "/refused")) {
        EXPECT_TRUE(orbiscope::LoadImageFile(entry.path().c_str()).empty()) << entry.path();
        ++count;
    }
    EXPECT_GE(count, 8);
}

}  // namespace
