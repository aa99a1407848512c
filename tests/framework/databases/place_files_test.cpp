// Country files and satellite files at the byte level, and the hostile files
// every reader must refuse without reading past the image.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/framework/databases/db_support.h"

namespace {

using dbtest::Satellite;
using dbtest::Town;
using Bytes = std::vector<std::uint8_t>;

Bytes Of(const std::string& s) { return Bytes(s.begin(), s.end()); }

void PutWord(Bytes& b, std::uint16_t v)
{
    b.push_back(std::uint8_t(v & 0xFF));
    b.push_back(std::uint8_t(v >> 8));
}
void PutFloatBits(Bytes& b, std::uint32_t bits)
{
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(bits >> (8 * i)));
}
void PutText(Bytes& b, const char* text, std::size_t width)
{
    const std::size_t n = std::strlen(text);
    for (std::size_t i = 0; i < width; ++i) b.push_back(i < n ? std::uint8_t(text[i]) : 0);
}

// A town file image written by hand: head, then records whose coordinates
// are given as IEEE bit patterns.
struct TownRow { const char* name; std::uint32_t latitudeBits, longitudeBits; };
Bytes TownImage(std::uint16_t version, std::uint16_t count, std::initializer_list<TownRow> rows)
{
    Bytes b;
    PutWord(b, version);
    PutWord(b, count);
    for (const TownRow& r : rows) {
        PutText(b, r.name, 20);
        PutFloatBits(b, r.latitudeBits);
        PutFloatBits(b, r.longitudeBits);
    }
    return b;
}

// A satellite file image: head, then records at 19.125 degrees east.
Bytes SatelliteImage(std::uint16_t version, std::uint16_t count, std::size_t records, const char* title = "Satellite List",
                     const char* bands = "C,Ku")
{
    Bytes b;
    PutWord(b, version);
    PutWord(b, count);
    for (std::size_t i = 0; i < records; ++i) {
        PutText(b, i == 0 ? title : "Sat", 20);
        PutFloatBits(b, 0x41990000);  // 19.125
        PutText(b, bands, 20);
    }
    return b;
}

constexpr std::uint32_t kOne = 0x3F800000, kMinusTwo = 0xC0000000, kHalf = 0x3F000000;

// A folder of files written from byte images.
class TempFile : public testfiles::TempFolder {
public:
    std::filesystem::path Write(const char* name, const Bytes& bytes) const
    {
        testfiles::WriteText(*this / name, std::string(bytes.begin(), bytes.end()));
        return *this / name;
    }
    std::filesystem::path Path(const char* name) const { return *this / name; }
};

}  // namespace

TEST(CountryFile, HeadThenRecordsOf28BytesLaidOutByHand)
{
    // An empty country is its name record alone: 4 + 28 = 32 bytes, 1066 little-endian first.
    const Bytes empty = TownImage(1066, 0, {{"Northland", kOne, kMinusTwo}});
    ASSERT_EQ(empty.size(), 32u);
    EXPECT_EQ(empty[0], 0x2A);
    EXPECT_EQ(empty[1], 0x04);
    EXPECT_EQ(Of(TownFileBytes({Town("Northland", 1.0f, -2.0f)})), empty);

    std::vector<TownRecord> records = {Town("Northland", 0, 0), Town("Leeds", 0.5f, -2.0f), Town("York", 1.0f, 0.5f)};
    const Bytes expected =
        TownImage(1066, 2, {{"Northland", 0, 0}, {"Leeds", kHalf, kMinusTwo}, {"York", kOne, kHalf}});
    EXPECT_EQ(Of(TownFileBytes(records)), expected);
    std::vector<TownRecord> back;
    ASSERT_TRUE(ParseTownFile(expected, kCountryWindowRule, back));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(RecordText(back[1].name), "Leeds");
    EXPECT_EQ(back[1].latitude, 0.5f);
    EXPECT_EQ(back[1].longitude, -2.0f);
}

TEST(SatelliteFile, EmptyListIs48BytesLaidOutByHand)
{
    std::vector<SatelliteRecord> records = {Satellite("Satellite List", 19.125f, "C,Ku")};
    const Bytes expected = SatelliteImage(1993, 0, 1);
    ASSERT_EQ(expected.size(), 48u);
    EXPECT_EQ(Of(SatelliteFileBytes(records)), expected);
    EXPECT_EQ(expected[0], 0xC9);   // 1993 little-endian
    EXPECT_EQ(expected[1], 0x07);
    std::vector<SatelliteRecord> back;
    ASSERT_TRUE(ParseSatelliteFile(expected, kSatelliteWindowRule, back));
    EXPECT_EQ(RecordText(back[0].bands), "C,Ku");
    EXPECT_EQ(back[0].longitude, 19.125f);
}

TEST(PlaceFiles, HeadsAndCountsJudgedByEachReader)
{
    struct Case { const char* what; std::uint16_t version, count; std::size_t records; bool window, picker; };
    const Case towns[] = {
        {"version 1066", 1066, 1, 2, true, true},
        {"version 1065", 1065, 1, 2, false, false},
        {"version 1067: the picker takes a later version", 1067, 1, 2, false, true},
        {"count 1999", 1066, 1999, 2000, true, true},
        {"bytes after the records are left alone", 1066, 1, 5, true, true},
        {"count 2000", 1066, 2000, 2001, false, true},
        {"count larger than the file", 1066, 5, 2, false, false},
        {"count 65535 in a short file (read unsigned)", 1066, 0xFFFF, 2, false, false},
        {"head only", 1066, 0, 0, false, false},
    };
    for (const Case& c : towns) {
        Bytes b;
        PutWord(b, c.version);
        PutWord(b, c.count);
        for (std::size_t i = 0; i < c.records; ++i) PutText(b, "Town", 28);
        std::vector<TownRecord> out;
        EXPECT_EQ(ParseTownFile(b, kCountryWindowRule, out), c.window) << c.what;
        out.clear();
        EXPECT_EQ(ParseTownFile(b, kTownPickerRule, out), c.picker) << c.what;
        if (c.picker) {
            EXPECT_EQ(out.size(), std::size_t(c.count) + 1) << c.what;
        }
    }
    const Case satellites[] = {
        {"version 1993", 1993, 2, 3, true, true},
        {"version 1992", 1992, 0, 1, false, false},
        {"version 1994", 1994, 0, 1, false, false},
        {"count 999", 1993, 999, 1000, true, true},
        {"count 1000: the picker takes what the file holds", 1993, 1000, 1001, false, true},
        {"one record short", 1993, 3, 3, false, false},
    };
    for (const Case& c : satellites) {
        const Bytes b = SatelliteImage(c.version, c.count, c.records);
        std::vector<SatelliteRecord> out;
        EXPECT_EQ(ParseSatelliteFile(b, kSatelliteWindowRule, out), c.window) << c.what;
        EXPECT_EQ(ParseSatelliteFile(b, kSatellitePickerRule, out), c.picker) << c.what;
    }
}

TEST(PlaceFiles, ShortImagesAreRefusedAndLeaveTheTableAlone)
{
    std::vector<TownRecord> table = {Town("Kept", 1, 1)};
    for (std::size_t size : {0u, 1u, 3u, 4u, 31u}) {
        const Bytes whole = TownImage(1066, 0, {{"Northland", 0, 0}});
        const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(size));
        EXPECT_FALSE(ParseTownFile(part, kTownPickerRule, table)) << size;
        ASSERT_EQ(table.size(), 1u);
        EXPECT_EQ(RecordText(table[0].name), "Kept");
    }
    std::vector<SatelliteRecord> sats;
    const Bytes whole = SatelliteImage(1993, 0, 1);
    EXPECT_FALSE(ParseSatelliteFile(std::span(whole).first(47), kSatellitePickerRule, sats));
}

TEST(PlaceFiles, UnterminatedTextsEndAtTheirFieldsLastByte)
{
    const std::string full(20, 'N');  // fills its 20-byte field, no terminator
    std::vector<TownRecord> towns;
    ASSERT_TRUE(ParseTownFile(TownImage(1066, 0, {{full.c_str(), 0, 0}}), kCountryWindowRule, towns));
    EXPECT_EQ(RecordText(towns[0].name), std::string(19, 'N'));
    EXPECT_EQ(towns[0].name[19], '\0');

    std::vector<SatelliteRecord> sats;
    ASSERT_TRUE(ParseSatelliteFile(SatelliteImage(1993, 0, 1, full.c_str(), full.c_str()), kSatellitePickerRule, sats));
    EXPECT_EQ(RecordText(sats[0].name), std::string(19, 'N'));
    EXPECT_EQ(RecordText(sats[0].bands), std::string(19, 'N'));
    // The list line is built from the cut name, never from the bytes behind
    // it; 19.125 is an exact half, which printf rounds to even.
    EXPECT_EQ(SatelliteListLine(sats[0]), std::string(19, 'N') + " (19.12E)");
}

TEST(PlaceFiles, FilesOnDiskReadOnlyTheirRecords)
{
    TempFile dir;
    // A count that claims more than the file holds, however long the
    // claimed size, is refused from the head and the size alone.
    std::vector<TownRecord> towns;
    EXPECT_FALSE(ReadTownFile(dir.Write("big.twn", TownImage(1066, 0xFFFF, {{"N", 0, 0}})), kTownPickerRule, towns));
    EXPECT_FALSE(ReadTownFile(dir.Path("missing.twn"), kTownPickerRule, towns));
    EXPECT_FALSE(ReadTownFile(dir.Write("empty.twn", {}), kTownPickerRule, towns));
    ASSERT_TRUE(ReadTownFile(dir.Write("ok.twn", TownImage(1066, 1, {{"N", 0, 0}, {"Leeds", kHalf, kOne}})),
                             kCountryWindowRule, towns));
    EXPECT_EQ(towns.size(), 2u);
    std::vector<SatelliteRecord> sats;
    EXPECT_FALSE(ReadSatelliteFile(dir.Write("short.geo", SatelliteImage(1993, 2, 2)), kSatellitePickerRule, sats));
    ASSERT_TRUE(ReadSatelliteFile(dir.Write("ok.geo", SatelliteImage(1993, 2, 3)), kSatelliteWindowRule, sats));
    EXPECT_EQ(sats.size(), 3u);
}

TEST(PlaceFiles, FullFilesRoundTripAndOverfullTablesAreNotWritten)
{
    TempFile dir;
    std::vector<TownRecord> towns(kMaxTowns + 1);
    for (std::size_t i = 0; i < towns.size(); ++i)
        towns[i] = Town(("T" + std::to_string(i)).c_str(), float(i % 90), -float(i % 180));
    ASSERT_TRUE(WriteTownFile(dir.Path("full.twn"), towns));
    EXPECT_EQ(std::filesystem::file_size(dir.Path("full.twn")), 4u + 28u * 2000u);
    std::vector<TownRecord> back;
    ASSERT_TRUE(ReadTownFile(dir.Path("full.twn"), kCountryWindowRule, back));
    ASSERT_EQ(back.size(), towns.size());
    EXPECT_EQ(std::memcmp(back.data(), towns.data(), towns.size() * sizeof(TownRecord)), 0);

    towns.push_back(Town("One too many", 0, 0));
    EXPECT_FALSE(WriteTownFile(dir.Path("over.twn"), towns));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("over.twn")));

    std::vector<SatelliteRecord> sats(kMaxSatellites + 2);
    EXPECT_FALSE(WriteSatelliteFile(dir.Path("over.geo"), sats));
    sats.pop_back();
    ASSERT_TRUE(WriteSatelliteFile(dir.Path("full.geo"), sats));
    EXPECT_EQ(std::filesystem::file_size(dir.Path("full.geo")), 4u + 44u * 1000u);
}

TEST(PlaceFiles, TownsSortByNameWithoutRegardToCase)
{
    std::vector<TownRecord> t = {Town("Northland", 0, 0), Town("York", 0, 0), Town("aberdeen", 0, 0),
                                 Town("Leeds", 0, 0), Town("leeds", 0, 0)};
    SortTowns(t, 1, t.size() - 1);
    std::vector<std::string> names;
    for (const auto& r : t) names.push_back(RecordText(r.name));
    EXPECT_EQ(names, (std::vector<std::string>{"Northland", "aberdeen", "Leeds", "leeds", "York"}));
    // Upper-case comparison puts "_" (0x5F) after the letters, as the run-time does.
    EXPECT_GT(CompareNoCase("a_", "AZ"), 0);
    EXPECT_LT(CompareNoCase("Lee", "leeds"), 0);
    EXPECT_TRUE(StartsWithNoCase("LEEDS (53.48N,1.33W)", "leeds"));
    EXPECT_FALSE(StartsWithNoCase("Lee", "Leeds"));
}

TEST(PlaceFiles, SatellitesSortWestToEastWithDamagedLongitudesLast)
{
    std::vector<SatelliteRecord> s = {Satellite("List", 0, ""), Satellite("A", 19.2f, "C"),
                                      Satellite("Bad", std::numeric_limits<float>::quiet_NaN(), "C"),
                                      Satellite("B", 13.0f, "C"), Satellite("C", -30.0f, "C")};
    SortSatellites(s, 1, s.size() - 1);
    std::vector<std::string> names;
    for (const auto& r : s) names.push_back(RecordText(r.name));
    EXPECT_EQ(names, (std::vector<std::string>{"List", "C", "B", "A", "Bad"}));
}

TEST(SatelliteBands, TextInTableOrderAndBackToTheBoxes)
{
    struct Case { std::vector<int> ticked; const char* text; };
    const Case cases[] = {
        {{3, 5}, "C,Ku"},
        {{0}, "P"},
        {{8}, "?"},
        {{7, 1}, "L,Q/V"},
        {{}, ""},
        {{0, 1, 2, 3, 4, 5, 6, 7}, "P,L,S,C,X,Ku,Ka,Q/V"},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8}, "P,L,S,C,X,Ku,Ka,Q/V,?"},
    };
    for (const Case& c : cases) {
        bool ticked[kBandCount] = {};
        for (int i : c.ticked) ticked[i] = true;
        EXPECT_EQ(BandText(ticked), c.text);
        bool back[kBandCount] = {};
        BandsInText(c.text, back);
        for (std::size_t i = 0; i < kBandCount; ++i) EXPECT_EQ(back[i], ticked[i]) << c.text << " box " << i;
    }
    // Eight bands fit the 19 characters the record holds; all nine do not.
    EXPECT_EQ(std::string("P,L,S,C,X,Ku,Ka,Q/V").size(), kMaxBandText);
}

TEST(PlaceFiles, ShippedSatelliteListOpensInThePicker)
{
    const char* home = std::getenv("ORBISCOPE_HOME");
    const std::filesystem::path file = std::filesystem::path(home ? home : ".") / kSatelliteListFile;
    if (!std::filesystem::exists(file)) GTEST_SKIP() << "no satlist.geo made in this build";
    std::vector<SatelliteRecord> s;
    ASSERT_TRUE(ReadSatelliteFile(file, kSatelliteWindowRule, s));
    ASSERT_GT(s.size(), 1u);
    EXPECT_EQ(RecordText(s[0].name), "Satellite List");
    for (std::size_t i = 1; i < s.size(); ++i) {
        EXPECT_LE(RecordText(s[i].name).size(), 18u);
        EXPECT_FALSE(RecordText(s[i].bands).empty());
        EXPECT_LE(std::fabs(s[i].longitude), 180.0f);
        if (i > 1) {
            EXPECT_LE(s[i - 1].longitude, s[i].longitude);
        }
    }
}

TEST(PlaceFiles, ShippedCountryFilesHoldTownsInDegreesAndMinutes)
{
    const char* home = std::getenv("ORBISCOPE_HOME");
    const std::filesystem::path dir = home ? home : ".";
    if (!std::filesystem::exists(dir / "United Kingdom.twn")) GTEST_SKIP() << "no country files made in this build";
    // Decimal degrees of the place list, minutes rounded by hand:
    // London 51.5085, -0.1257 is 51 deg 30.51 min, 0 deg 7.54 min W;
    // Edinburgh 55.9521, -3.1965 is 55 deg 57.13 min, 3 deg 11.79 min W;
    // Zurich 47.3667, 8.5500 is 47 deg 22.00 min, 8 deg 33.00 min E.
    struct Case { const char* file; const char* country; const char* town; float lat, lon; };
    const Case cases[] = {
        {"United Kingdom.twn", "United Kingdom", "London", 51.31f, -0.08f},
        {"United Kingdom.twn", "United Kingdom", "Edinburgh", 55.57f, -3.12f},
        {"Switzerland.twn", "Switzerland", "Z\xFCrich", 47.22f, 8.33f},
    };
    for (const Case& c : cases) {
        std::vector<TownRecord> t;
        ASSERT_TRUE(ReadTownFile(dir / c.file, kCountryWindowRule, t)) << c.file;
        EXPECT_EQ(RecordText(t[0].name), c.country);
        bool found = false;
        for (std::size_t i = 1; i < t.size(); ++i) {
            if (RecordText(t[i].name) != c.town) continue;
            found = true;
            EXPECT_EQ(t[i].latitude, c.lat) << c.town;
            EXPECT_EQ(t[i].longitude, c.lon) << c.town;
        }
        EXPECT_TRUE(found) << c.town;
        for (std::size_t i = 2; i < t.size(); ++i)
            EXPECT_LE(CompareNoCase(RecordText(t[i - 1].name), RecordText(t[i].name)), 0) << c.file << " " << i;
    }
}

TEST(PlaceFiles, DamagedFiguresStillMakeBoundedLines)
{
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    TownRecord t;
    SetRecordText(t.name, "Odd");
    t.latitude = nan;
    t.longitude = 3.0e38f;
    const std::string town = TownListLine(t);
    EXPECT_EQ(town.rfind("Odd (", 0), 0u);
    EXPECT_LT(town.size(), 100u);
    SatelliteRecord s;
    s.longitude = -inf;
    EXPECT_LT(SatelliteListLine(s).size(), 40u);
}
