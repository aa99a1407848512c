// The atmospheric-losses documents: every version the window reads (files
// made here field by field, as each version wrote them), and the rain-model
// and altitude rules of a record.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "rftools/losses/atmos_loss_record.h"

namespace {

using namespace orbiscope::losses;

// A document written field by field: texts padded with zeros to their width.
struct DocBytes {
    std::string bytes;
    explicit DocBytes(std::uint16_t version) { Word(version); }
    DocBytes& Text(const char* t, std::size_t width) { return Append(std::string(t).append(width, '\0'), width); }
    DocBytes& Word(std::uint16_t w) { return Append({char(w & 0xFF), char(w >> 8)}, 2); }
    DocBytes& Filler(std::size_t n) { return Append(std::string(n, '\x5A'), n); }
    DocBytes& Append(const std::string& field, std::size_t width)
    {
        bytes += field.substr(0, width);
        return *this;
    }
    const std::string& Bytes() const { return bytes; }
};

// The fields every version starts with, up to the polarization.
DocBytes& Common(DocBytes& d)
{
    return d.Text("Manchester", 41).Text("Eutelsat 10A", 41).Text("53.48N", 13).Text("2.24W", 13).Text("auto", 13)
        .Text("10.0E", 13).Text("12.5", 13).Text("V", 2);
}

std::string Version4000Family(std::uint16_t version)
{
    DocBytes d(version);
    Common(d).Text("99.95", 13).Text("150", 13);
    if (version >= 4004) d.Text("0.9", 13).Text("70", 13);
    d.Word(0);                                   // ITU-R (auto)
    if (version < 4001) d.Filler(4);
    if (version >= 4003) d.Word(0).Word(1);      // Crane T-C., Crane USA
    d.Word(1).Text("38.5", 13);                  // ITU-R (mm/h) and its rate
    return d.Bytes();
}

std::string Version1812(std::uint16_t version)
{
    DocBytes d(version);
    Common(d);
    if (version == 1812) d.Filler(4);
    d.Text("99.95", 13).Text("150", 13);
    if (version == 1813) d.Filler(8).Text("38.5", 13);
    return d.Bytes();
}

struct VersionCase {
    const char* name;
    std::uint16_t version;
    std::size_t fileBytes;        // as each version wrote it
    const char* diameter;
    const char* efficiency;
    bool ituAuto, craneUsa, ituManual;
    const char* manualRate;
};

const VersionCase kVersions[] = {
    {"4004", 4004, 224, "0.9", "70", false, true, true, "38.5"},
    {"4003", 4003, 198, "1.20", "64", false, true, true, "38.5"},
    {"4002", 4002, 194, "1.20", "64", false, false, true, "38.5"},
    {"4001", 4001, 194, "1.20", "64", false, false, true, "38.5"},
    {"4000 skips four bytes", 4000, 198, "1.20", "64", false, false, true, "38.5"},
    {"1813 keeps its rate, map selected", 1813, 198, "1.20", "64", true, false, false, "38.5"},
    {"1812", 1812, 181, "1.20", "64", true, false, false, ""},
};

class AtmosLossDocument : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& bytes)
    {
        const auto path = std::filesystem::temp_directory_path() /
                          ("atmos-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                           std::to_string(++count_) + ".atn");
        std::ofstream(path, std::ios::binary) << bytes;
        paths_.push_back(path);
        return path;
    }
    // Opens the file, reads the version and the record.
    bool Read(const std::filesystem::path& path, AtmosLossInputRecord& r)
    {
        DocumentFile file(path);
        std::uint16_t version = 0;
        return file.IsOpen() && file.ReadVersion(version) && ReadAtmosLossDocument(file, version, r);
    }
    void TearDown() override
    {
        for (const auto& p : paths_) std::filesystem::remove(p);
    }

private:
    int count_ = 0;
    std::vector<std::filesystem::path> paths_;
};

TEST_F(AtmosLossDocument, EveryVersionItReads)
{
    for (const VersionCase& c : kVersions) {
        const std::string bytes = c.version >= 4000 ? Version4000Family(c.version) : Version1812(c.version);
        ASSERT_EQ(bytes.size(), c.fileBytes) << c.name;
        AtmosLossInputRecord r;
        ASSERT_TRUE(Read(Write(bytes), r)) << c.name;
        EXPECT_EQ(FieldText(r.siteName), "Manchester") << c.name;
        EXPECT_EQ(FieldText(r.satLongitude), "10.0E") << c.name;
        EXPECT_EQ(FieldText(r.polarization), "V") << c.name;
        EXPECT_EQ(FieldText(r.availability), "99.95") << c.name;
        EXPECT_EQ(FieldText(r.systemNoise), "150") << c.name;
        EXPECT_EQ(FieldText(r.diameter), c.diameter) << c.name;
        EXPECT_EQ(FieldText(r.efficiency), c.efficiency) << c.name;
        EXPECT_EQ(r.ituAuto.On(), c.ituAuto) << c.name;
        EXPECT_EQ(r.craneUsa.On(), c.craneUsa) << c.name;
        EXPECT_FALSE(r.craneTc.On()) << c.name;
        EXPECT_EQ(r.ituManual.On(), c.ituManual) << c.name;
        EXPECT_EQ(FieldText(r.manualRainRate), c.manualRate) << c.name;
    }
}

// A file cut anywhere before its last field, or of a version the window
// never wrote, is not read.
TEST_F(AtmosLossDocument, RefusesShortFilesAndOtherVersions)
{
    for (const VersionCase& c : kVersions) {
        const std::string whole = c.version >= 4000 ? Version4000Family(c.version) : Version1812(c.version);
        for (std::size_t cut : {std::size_t{2}, std::size_t{40}, whole.size() / 2, whole.size() - 1}) {
            AtmosLossInputRecord r;
            EXPECT_FALSE(Read(Write(whole.substr(0, cut)), r)) << c.name << " cut at " << cut;
        }
    }
    for (std::uint16_t version : {1811, 1814, 3999, 4005, 0, 65535}) {
        std::string bytes = Version4000Family(4004);
        bytes[0] = char(version & 0xFF);
        bytes[1] = char(version >> 8);
        AtmosLossInputRecord r;
        EXPECT_FALSE(Read(Write(bytes), r)) << version;
    }
}

struct ModeCase {
    const char* name;
    int ituAuto, craneTc, craneUsa, ituManual;
    int mode;
    bool autoAfter;  // "ITU-R (auto)" set afterwards
};

TEST(AtmosLossRecord, RainRateMode)
{
    const ModeCase cases[] = {
        {"ITU-R (auto)", 1, 0, 0, 0, 0, true},
        {"ITU-R (mm/h)", 0, 0, 0, 1, 1, false},
        {"Crane T-C. takes the map", 0, 1, 0, 0, 0, true},
        {"Crane USA takes the map", 0, 0, 1, 0, 0, true},
        {"nothing selected", 0, 0, 0, 0, 0, false},
        {"both ITU-R buttons of a damaged file", 1, 0, 0, 1, 1, true},
    };
    for (const ModeCase& c : cases) {
        AtmosLossInputRecord r{};
        r.ituAuto.Set(std::uint16_t(c.ituAuto));
        r.craneTc.Set(std::uint16_t(c.craneTc));
        r.craneUsa.Set(std::uint16_t(c.craneUsa));
        r.ituManual.Set(std::uint16_t(c.ituManual));
        EXPECT_EQ(RainRateMode(r), c.mode) << c.name;
        EXPECT_EQ(r.ituAuto.On(), c.autoAfter) << c.name;
        EXPECT_EQ(r.craneUsa.Value(), c.craneUsa) << c.name;  // the Crane buttons stay as they were
    }
}

TEST(AtmosLossRecord, AutoInAnyLetterCase)
{
    for (const char* yes : {"auto", "AUTO", "Auto", "aUtO"}) EXPECT_TRUE(IsAutoText(yes)) << yes;
    for (const char* no : {"", "aut", "autos", " auto", "auto ", "0.1", "au to"}) EXPECT_FALSE(IsAutoText(no)) << no;
}

}  // namespace
