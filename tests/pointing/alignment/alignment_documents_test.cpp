// ".ang" and ".duo" documents at the byte level: the current layouts, every
// older version the readers take, and files they must refuse.
#include "pointing/alignment/alignment_records.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orbiscope-align-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& bytes, const char* name = "doc") const
    {
        const std::string p = (path_ / name).string();
        std::ofstream(p, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return p;
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// One text field of a file: the text, zero-padded to its width.
std::string Field(const char* text, std::size_t width)
{
    std::string f(text);
    f.resize(width, '\0');
    return f;
}
std::string Name(const char* text) { return Field(text, 41); }
std::string Text(const char* text) { return Field(text, 13); }
std::string Version(std::uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }

template <class Record>
std::string Bytes(const Record& r)
{
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

// ---- .ang ---------------------------------------------------------------

// Fields at the offsets of the current file (version 1942, 162 bytes).
std::string CurrentAngFile()
{
    return Version(1942) + Name("Madrid") + Name("Hispasat 30W") + Text("40.42N") + Text("3.70W") +
           Text("30.0W") + Text("2.5") + Text("5") + Text("22.3");
}

TEST(LookAngleDocument, CurrentLayoutFieldByField)
{
    const std::string file = CurrentAngFile();
    ASSERT_EQ(file.size(), 162u);
    TempFolder dir;
    LookAngleInputRecord r;
    ASSERT_TRUE(ReadLookAngleDocument(dir.File(file).c_str(), r));
    EXPECT_STREQ(r.siteName, "Madrid");
    EXPECT_STREQ(r.satelliteName, "Hispasat 30W");
    EXPECT_STREQ(r.siteLatitude, "40.42N");
    EXPECT_STREQ(r.siteLongitude, "3.70W");
    EXPECT_STREQ(r.satelliteLongitude, "30.0W");
    EXPECT_STREQ(r.inclination, "2.5");
    EXPECT_STREQ(r.polarizationCant, "5");
    EXPECT_STREQ(r.offsetFocusAngle, "22.3");
    // The record is the file after its version word, byte for byte.
    EXPECT_EQ(Version(1942) + Bytes(r), file);
}

struct OldAng {
    const char* what;
    std::string bytes;
    const char* inclination;
    const char* cant;
    const char* offset;
};

TEST(LookAngleDocument, OlderVersionsSkipTheUnusedFieldAndFillWhatTheyLack)
{
    const std::string head = Name("Leeds") + Name("Eutelsat 10A") + Text("53.80N") + Text("1.55W");
    const std::string unused = Text("old");
    const OldAng cases[] = {
        {"1941", Version(1941) + head + unused + Text("10.0E") + Text("1.2") + Text("-7"), "1.2", "-7", "0.00"},
        {"1940", Version(1940) + head + unused + Text("10.0E") + Text("0") + Text("3"), "0", "3", "0.00"},
        {"1939", Version(1939) + head + unused + Text("10.0E") + Text("4"), "0.00", "4", "0.00"},
    };
    EXPECT_EQ(cases[0].bytes.size(), 162u);
    EXPECT_EQ(cases[2].bytes.size(), 149u);
    TempFolder dir;
    for (const OldAng& c : cases) {
        SCOPED_TRACE(c.what);
        LookAngleInputRecord r;
        ASSERT_TRUE(ReadLookAngleDocument(dir.File(c.bytes).c_str(), r));
        EXPECT_STREQ(r.siteName, "Leeds");
        EXPECT_STREQ(r.siteLongitude, "1.55W");
        EXPECT_STREQ(r.satelliteLongitude, "10.0E");
        EXPECT_STREQ(r.inclination, c.inclination);
        EXPECT_STREQ(r.polarizationCant, c.cant);
        EXPECT_STREQ(r.offsetFocusAngle, c.offset);
    }
}

TEST(LookAngleDocument, RefusesOtherVersionsAndEveryShortFile)
{
    TempFolder dir;
    LookAngleInputRecord r;
    std::string current = CurrentAngFile();
    for (std::uint16_t v : {1938, 1943, 0, 65535}) {
        const std::string bytes = Version(v) + current.substr(2);
        EXPECT_FALSE(ReadLookAngleDocument(dir.File(bytes).c_str(), r)) << v;
    }
    for (std::size_t n = 0; n < current.size(); ++n)
        EXPECT_FALSE(ReadLookAngleDocument(dir.File(current.substr(0, n)).c_str(), r)) << n << " bytes";
    const std::string v1939 = Version(1939) + std::string(147, 'x');
    for (std::size_t n = 2; n < v1939.size(); ++n)
        EXPECT_FALSE(ReadLookAngleDocument(dir.File(v1939.substr(0, n)).c_str(), r)) << n << " bytes of 1939";
    // Bytes past the record are not part of it.
    EXPECT_TRUE(ReadLookAngleDocument(dir.File(current + "trailing").c_str(), r));
}

TEST(LookAngleDocument, TextsWithoutTerminatorsEndAtTheirLastByte)
{
    TempFolder dir;
    const std::string full = Version(1942) + std::string(160, 'A');
    LookAngleInputRecord r;
    ASSERT_TRUE(ReadLookAngleDocument(dir.File(full).c_str(), r));
    EXPECT_EQ(std::strlen(r.siteName), 40u);
    EXPECT_EQ(std::strlen(r.offsetFocusAngle), 12u);
}

TEST(Documents, OnlyRegularFilesAreRead)
{
    TempFolder dir;
    LookAngleInputRecord ang;
    DualFeedInputRecord duo;
    EXPECT_FALSE(ReadLookAngleDocument((dir.Path() / "missing.ang").c_str(), ang));
    EXPECT_FALSE(ReadLookAngleDocument(dir.Path().c_str(), ang));
    EXPECT_FALSE(ReadDualFeedDocument(dir.Path().c_str(), duo));
    // A FIFO with no writer: refused at once rather than waited on.
    const std::string fifo = (dir.Path() / "pipe.ang").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(ReadLookAngleDocument(fifo.c_str(), ang));
    EXPECT_FALSE(ReadDualFeedDocument(fifo.c_str(), duo));
    EXPECT_FALSE(ReadLookAngleDocument("/dev/zero", ang));
}

// ---- .duo ---------------------------------------------------------------

std::string DuoTail()
{
    return Text("28.2E") + Text("13.0E") + Text("0.9") + Text("65") + Text("11.7") + Text("0.6") + Text("0.9");
}
std::string DuoHead() { return Name("London") + Name("Astra 2E") + Name("Hotbird 13E") + Text("51.51N") + Text("0.13W"); }

TEST(DualFeedDocument, CurrentLayoutFieldByField)
{
    const std::string file = Version(1992) + DuoHead() + DuoTail();
    ASSERT_EQ(file.size(), 242u);
    TempFolder dir;
    DualFeedInputRecord r;
    ASSERT_TRUE(ReadDualFeedDocument(dir.File(file).c_str(), r));
    EXPECT_STREQ(r.secondaryName, "Hotbird 13E");
    EXPECT_STREQ(r.siteLongitude, "0.13W");
    EXPECT_STREQ(r.primaryLongitude, "28.2E");
    EXPECT_STREQ(r.efficiency, "65");
    EXPECT_STREQ(r.beamfactor, "0.9");
    EXPECT_EQ(Version(1992) + Bytes(r), file);
}

TEST(DualFeedDocument, OlderVersions)
{
    TempFolder dir;
    DualFeedInputRecord current;
    ASSERT_TRUE(ReadDualFeedDocument(dir.File(Version(1992) + DuoHead() + DuoTail()).c_str(), current));
    const std::string v1991 = Version(1991) + DuoHead() + DuoTail();
    const std::string v1990 = Version(1990) + DuoHead() + Text("unused") + DuoTail();
    ASSERT_EQ(v1990.size(), 255u);
    for (const std::string& bytes : {v1991, v1990}) {
        DualFeedInputRecord r;
        ASSERT_TRUE(ReadDualFeedDocument(dir.File(bytes).c_str(), r));
        EXPECT_EQ(Bytes(r), Bytes(current));
    }
}

TEST(DualFeedDocument, RefusesOtherVersionsAndEveryShortFile)
{
    TempFolder dir;
    DualFeedInputRecord r;
    const std::string body = DuoHead() + DuoTail();
    for (std::uint16_t v : {1989, 1993, 1942})
        EXPECT_FALSE(ReadDualFeedDocument(dir.File(Version(v) + body).c_str(), r)) << v;
    const std::string current = Version(1992) + body;
    for (std::size_t n = 0; n < current.size(); ++n)
        EXPECT_FALSE(ReadDualFeedDocument(dir.File(current.substr(0, n)).c_str(), r)) << n << " bytes";
    const std::string v1990 = Version(1990) + DuoHead() + Text("unused") + DuoTail();
    for (std::size_t n = 2; n < v1990.size(); ++n)
        EXPECT_FALSE(ReadDualFeedDocument(dir.File(v1990.substr(0, n)).c_str(), r)) << n << " bytes of 1990";
}

}  // namespace
