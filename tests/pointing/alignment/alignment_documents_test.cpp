// ".ang" and ".duo" documents at the byte level: the current layouts, every
// older version the readers take, and files they must refuse.
#include "pointing/alignment/alignment_records.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orbiscope-align-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& bytes) const
    {
        const std::string p = (path_ / "doc").string();
        std::ofstream(p, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return p;
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// One text field of a file: the text, zero-padded to its width.
std::string Name(const char* text) { return std::string(text).append(41 - std::strlen(text), '\0'); }
std::string Text(const char* text) { return std::string(text).append(13 - std::strlen(text), '\0'); }
std::string Version(std::uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }
template <class Record>
std::string Bytes(const Record& r)
{
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

// Version 1942, 162 bytes: the texts at 2, 43, 84, 97, 110, 123, 136, 149.
const std::string kAngHead = Name("Leeds") + Name("Eutelsat 10A") + Text("53.80N") + Text("1.55W");
const std::string kAng1942 = Version(1942) + kAngHead + Text("10.0E") + Text("1.2") + Text("-7") + Text("22.3");
// Version 1992, 242 bytes: names at 2, 43, 84, then texts from 125 every 13.
const std::string kDuoHead = Name("London") + Name("Astra 2E") + Name("Hotbird 13E") + Text("51.51N") + Text("0.13W");
const std::string kDuoTail =
    Text("28.2E") + Text("13.0E") + Text("0.9") + Text("65") + Text("11.7") + Text("0.6") + Text("0.9");
const std::string kDuo1992 = Version(1992) + kDuoHead + kDuoTail;

TEST(LookAngleDocument, EveryVersionFieldByField)
{
    const std::string unused = Text("old");
    const struct {
        const char* what;
        std::string bytes;
        std::size_t size;
        const char *inclination, *cant, *offset;
    } cases[] = {
        {"1942", kAng1942, 162, "1.2", "-7", "22.3"},
        {"1941: unused field, no offset", Version(1941) + kAngHead + unused + Text("10.0E") + Text("1.2") + Text("-7"),
         162, "1.2", "-7", "0.00"},
        {"1940", Version(1940) + kAngHead + unused + Text("10.0E") + Text("0") + Text("3"), 162, "0", "3", "0.00"},
        {"1939: no inclination either", Version(1939) + kAngHead + unused + Text("10.0E") + Text("4"), 149, "0.00",
         "4", "0.00"},
    };
    TempFolder dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.bytes.size(), c.size);
        LookAngleInputRecord r;
        ASSERT_TRUE(ReadLookAngleDocument(dir.File(c.bytes).c_str(), r));
        EXPECT_STREQ(r.siteName, "Leeds");
        EXPECT_STREQ(r.siteLongitude, "1.55W");
        EXPECT_STREQ(r.satelliteLongitude, "10.0E");
        EXPECT_STREQ(r.inclination, c.inclination);
        EXPECT_STREQ(r.polarizationCant, c.cant);
        EXPECT_STREQ(r.offsetFocusAngle, c.offset);
    }
    LookAngleInputRecord r;
    ASSERT_TRUE(ReadLookAngleDocument(dir.File(kAng1942).c_str(), r));
    EXPECT_EQ(Version(1942) + Bytes(r), kAng1942);   // the record is the file, byte for byte
}

TEST(DualFeedDocument, EveryVersionFieldByField)
{
    TempFolder dir;
    DualFeedInputRecord current;
    ASSERT_TRUE(ReadDualFeedDocument(dir.File(kDuo1992).c_str(), current));
    EXPECT_EQ(Version(1992) + Bytes(current), kDuo1992);
    EXPECT_STREQ(current.secondaryName, "Hotbird 13E");
    EXPECT_STREQ(current.primaryLongitude, "28.2E");
    EXPECT_STREQ(current.beamfactor, "0.9");
    const std::string v1990 = Version(1990) + kDuoHead + Text("unused") + kDuoTail;
    ASSERT_EQ(v1990.size(), 255u);
    for (const std::string& bytes : {Version(1991) + kDuoHead + kDuoTail, v1990}) {
        DualFeedInputRecord r;
        ASSERT_TRUE(ReadDualFeedDocument(dir.File(bytes).c_str(), r));
        EXPECT_EQ(Bytes(r), Bytes(current));
    }
}

bool ReadsAng(const char* path)
{
    LookAngleInputRecord r;
    return ReadLookAngleDocument(path, r);
}
bool ReadsDuo(const char* path)
{
    DualFeedInputRecord r;
    return ReadDualFeedDocument(path, r);
}

TEST(Documents, RefuseOtherVersionsAndEveryShortFile)
{
    const struct {
        const char* what;
        std::function<bool(const char*)> read;
        std::string whole;
        std::uint16_t tooOld, tooNew;
    } kinds[] = {
        {".ang 1942", ReadsAng, kAng1942, 1938, 1943},
        {".ang 1939", ReadsAng, Version(1939) + std::string(147, 'x'), 1938, 1943},
        {".duo 1992", ReadsDuo, kDuo1992, 1989, 1993},
        {".duo 1990", ReadsDuo, Version(1990) + std::string(253, 'x'), 1989, 1993},
    };
    TempFolder dir;
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.what);
        EXPECT_TRUE(k.read(dir.File(k.whole + "bytes past the record").c_str()));
        for (std::size_t n = 0; n < k.whole.size(); ++n) EXPECT_FALSE(k.read(dir.File(k.whole.substr(0, n)).c_str())) << n;
        for (std::uint16_t v : {k.tooOld, k.tooNew, std::uint16_t(0)})
            EXPECT_FALSE(k.read(dir.File(Version(v) + k.whole.substr(2)).c_str())) << v;
    }
}

TEST(Documents, TextsWithoutTerminatorsEndAtTheirLastByte)
{
    TempFolder dir;
    LookAngleInputRecord r;
    ASSERT_TRUE(ReadLookAngleDocument(dir.File(Version(1942) + std::string(160, 'A')).c_str(), r));
    EXPECT_EQ(std::strlen(r.siteName), 40u);
    EXPECT_EQ(std::strlen(r.offsetFocusAngle), 12u);
}

TEST(Documents, OnlyRegularFilesAreRead)
{
    TempFolder dir;
    const std::string fifo = (dir.Path() / "pipe.ang").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A FIFO with no writer is refused at once rather than waited on.
    for (const std::string& path : {fifo, dir.Path().string(), (dir.Path() / "missing").string(), std::string("/dev/zero")}) {
        EXPECT_FALSE(ReadsAng(path.c_str())) << path;
        EXPECT_FALSE(ReadsDuo(path.c_str())) << path;
    }
}

}  // namespace
