#include "framework/app/config_files.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "tests/platform/file_support.h"

namespace fs = std::filesystem;

namespace {

using TempDir = testfiles::TempFolder;
using testfiles::ReadText;
using testfiles::WriteText;

// 47 buffers of the records' sizes, every byte set to `fill`.
struct Records {
    explicit Records(std::uint8_t fill)
    {
        for (auto size : kFormValueRecordSizes) buffers.emplace_back(size, fill);
        for (auto& b : buffers) spans.emplace_back(b);
    }
    std::vector<std::vector<std::uint8_t>> buffers;
    std::vector<std::span<std::uint8_t>> spans;
};

}  // namespace

TEST(SetupFile, DefaultRecordBytes)
{
    const SetUpRecord r = DefaultSetUpRecord();
    const std::string company = "Produced using Orbiscope Pro";
    // Company at 0 (71 bytes), site name at 71 (41), latitude at 112 (13),
    // longitude at 125 (13), the two option words at 138 and 140.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.bytes.data()), company.size()), company);
    for (std::size_t k = company.size(); k < 71; ++k) EXPECT_EQ(r.bytes[k], 0) << k;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r.bytes[112]), 6), "53.42N");
    EXPECT_EQ(r.bytes[118], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r.bytes[125]), 5), "3.00W");
    EXPECT_EQ(r.bytes[138] | r.bytes[139] | r.bytes[140] | r.bytes[141], 0);
    EXPECT_FALSE(r.SiteName().empty());
    EXPECT_EQ(r.Latitude(), "53.42N");
}

TEST(SetupFile, FieldsAreBoundedAndLittleEndian)
{
    SetUpRecord r;
    r.SetCompany(std::string(200, 'x'));   // keeps 70 characters and the terminator
    EXPECT_EQ(r.Company().size(), 70u);
    EXPECT_EQ(r.bytes[70], 0);
    EXPECT_EQ(r.bytes[71], 0);   // the site name is untouched
    r.SetRestrictTilt(0x0201);
    EXPECT_EQ(r.bytes[140], 0x01);
    EXPECT_EQ(r.bytes[141], 0x02);
    // A field that fills its whole width without a terminator still ends there.
    for (std::size_t k = 112; k < 125; ++k) r.bytes[k] = '9';
    EXPECT_EQ(r.Latitude(), std::string(13, '9'));
}

TEST(FormValuesFile, RecordSizes)
{
    EXPECT_EQ(std::accumulate(kFormValueRecordSizes.begin(), kFormValueRecordSizes.end(), 0), 5980);
    EXPECT_EQ(std::accumulate(kFormValueRecordSizes.begin(), kFormValueRecordSizes.begin() + 32, 0), 2994);
    EXPECT_EQ(kFormValueRecordSizes[0], 160);    // the absorption form
    EXPECT_EQ(kFormValueRecordSizes[45], 791);   // the GEO batch form
    EXPECT_EQ(kFormValueRecordSizes[46], 91);    // the range form
}

TEST(FormValuesFile, ShortFiles)
{
    struct Case { std::size_t fileBytes; FormValuesRead result; bool record33Touched; bool record32Whole; };
    const std::vector<Case> cases = {
        // Records 1 to 32 fill; record 33 comes up short; 33 to 47 keep their defaults.
        {2994, FormValuesRead::Short, false, true},
        // Record 32 itself is short: 33 to 47 are not even tried.
        {2993, FormValuesRead::Short, false, false},
        // Some of record 33 is read and stays.
        {3000, FormValuesRead::Short, true, true},
        {5980, FormValuesRead::Whole, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileBytes);
        TempDir dir;
        WriteText(dir / "orbisco.dat", std::string(c.fileBytes, '\x55'));
        Records records(0xAA);
        EXPECT_EQ(ReadFormValuesFile(dir / "orbisco.dat", records.spans), c.result);
        EXPECT_EQ(records.buffers[32][0] == 0x55, c.record33Touched);
        EXPECT_EQ(records.buffers[31].back() == 0x55, c.record32Whole);
        EXPECT_EQ(records.buffers[46][0], c.fileBytes == 5980 ? 0x55 : 0xAA);
    }
    Records records(0xAA);
    TempDir dir;
    EXPECT_EQ(ReadFormValuesFile(dir / "orbisco.dat", records.spans), FormValuesRead::Missing);
    EXPECT_EQ(records.buffers[0][0], 0xAA);
}

TEST(ProfileStruct, HexTextWithChecksum)
{
    const std::uint8_t block[] = {0x2C, 0x00, 0xFF, 0x10};
    // 0x2C + 0xFF + 0x10 = 0x13B; the low byte 0x3B closes the text.
    EXPECT_EQ(EncodeProfileStruct(block), "2C00FF103B");
    EXPECT_EQ(DecodeProfileStruct("2C00FF103B", 4), std::string("\x2C\x00\xFF\x10", 4));
    EXPECT_EQ(DecodeProfileStruct("2c00ff103b", 4), std::string("\x2C\x00\xFF\x10", 4));
    EXPECT_FALSE(DecodeProfileStruct("2C00FF103C", 4));   // wrong checksum
    EXPECT_FALSE(DecodeProfileStruct("2C00FF10", 4));     // too short
    EXPECT_FALSE(DecodeProfileStruct("2C00FG103B", 4));   // not hex
}

TEST(PlacementFile, LayoutAndRoundTrip)
{
    WindowPlacement p;
    p.flags = 2;
    p.showCommand = 3;   // closed maximized
    p.minX = -1;
    p.minY = -1;
    p.left = 10;
    p.top = 20;
    p.right = 810;
    p.bottom = 620;
    const auto bytes = p.ToBytes();
    EXPECT_EQ(bytes[0], 44);
    EXPECT_EQ(bytes[8], 3);
    EXPECT_EQ(bytes[12], 0xFF);   // minimized x = -1
    EXPECT_EQ(bytes[28], 10);     // normal rectangle starts at byte 28
    EXPECT_EQ(bytes[36], 810 & 0xFF);
    EXPECT_EQ(bytes[37], 810 >> 8);

    TempDir dir;
    WriteText(dir / "orbisco.ini", "[Other]\nKey=1\n[Section]\nKey=00\n");
    ASSERT_TRUE(WritePlacementFile(dir / "orbisco.ini", p));
    const std::string text = ReadText(dir / "orbisco.ini");
    EXPECT_NE(text.find("[Other]\nKey=1\n"), std::string::npos);
    EXPECT_NE(text.find("Key=" + EncodeProfileStruct(bytes)), std::string::npos);
    const auto back = ReadPlacementFile(dir / "orbisco.ini");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->ToBytes(), bytes);

    EXPECT_FALSE(ReadPlacementFile(dir / "missing.ini"));
    WriteText(dir / "orbisco.ini", "[Section]\nKey=2C00\n");
    EXPECT_FALSE(ReadPlacementFile(dir / "orbisco.ini"));

    // A file past the settings' limit, its placement first: neither read nor
    // cut to one line by the write.
    WriteText(dir / "orbisco.ini", "[Section]\nKey=" + EncodeProfileStruct(bytes) + "\n");
    fs::resize_file(dir / "orbisco.ini", platform::kMaxSettingsFileBytes + 1);
    platform::SettingsFile refused = platform::SettingsFile::Usable;
    EXPECT_FALSE(ReadPlacementFile(dir / "orbisco.ini", &refused));
    EXPECT_EQ(refused, platform::SettingsFile::TooLarge);
    EXPECT_FALSE(WritePlacementFile(dir / "orbisco.ini", p));
    EXPECT_EQ(fs::file_size(dir / "orbisco.ini"), platform::kMaxSettingsFileBytes + 1);
}
