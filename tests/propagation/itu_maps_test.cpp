#include "propagation/itu_maps.h"
#include "propagation_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"

namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "orbiscope-maps-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void WriteFile(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A small float map of the 0.25-degree kind, accepting `text`'s own sum.
ItuMapFormat SmallFormat(int rows, int columns, const std::string& text)
{
    return ItuMapFormat{"SMALL.TXT", rows, columns, 16, false, MapTextChecksum(text), 0};
}

class RecordingObserver : public ItuMapLoadObserver {
public:
    void MapLoadFailed(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

// The checksum adds every byte as a signed 8-bit value into a wrapping 32-bit
// sum; the bulk sum must equal adding byte by byte, at every length and
// alignment.
TEST(MapChecksum, SignedBytesWrapping)
{
    EXPECT_EQ(MapTextChecksum(""), 0u);
    EXPECT_EQ(MapTextChecksum("1 2\n"), 0x31u + 0x20u + 0x32u + 0x0Au);
    // 0xFF counts as -1 and 0x80 as -128.
    EXPECT_EQ(MapTextChecksum(std::string("\xFF", 1)), 0xFFFFFFFFu);
    EXPECT_EQ(MapTextChecksum(std::string("\x80\x01", 2)), static_cast<std::uint32_t>(-127));
    std::string text;
    std::uint32_t seed = 12345;
    for (int k = 0; k < 5000; ++k) {
        seed = seed * 1103515245u + 12345u;
        text += static_cast<char>(seed >> 24);
    }
    for (std::size_t offset = 0; offset < 9; ++offset) {
        for (std::size_t length : {0u, 1u, 7u, 8u, 9u, 1023u, 1024u, 1025u, 4991u}) {
            const std::string_view part(text.data() + offset, length);
            std::uint32_t bytewise = 0;
            for (const char c : part) bytewise += static_cast<std::uint32_t>(static_cast<std::int8_t>(c));
            EXPECT_EQ(MapTextChecksum(part), bytewise) << offset << " " << length;
        }
    }
}

// Files read as floats, each accepted with the sum of the bytes read (or a
// substitute sum).
TEST(MapFileFormat, NumbersAsStrtodReadsThem)
{
    struct Case { const char* name; std::string text; std::vector<float> expected; };
    const auto f = [](const char* number) { return static_cast<float>(std::strtod(number, nullptr)); };
    const Case cases[] = {
        {"space and line feed", "1.5 -2.25\n3 4\n", {1.5f, -2.25f, 3.0f, 4.0f}},
        {"exponent, sign and partial numbers", "1e3 +5 12abc .5\n", {1000, 5, 12, 0.5f}},
        {"text that is no number reads as 0", "abc - . 2\n", {0, 0, 0, 2}},
        {"an empty number reads as 0", "1  2 3\n", {1, 0, 2, 3}},
        {"three decimals round as strtod then float", "1013.247 0.001 -0.004 271.153\n",
         {f("1013.247"), f("0.001"), f("-0.004"), f("271.153")}},
        {"bytes after the last number are not read", "1 2\n3 4\ntrailing junk\r\n", {1, 2, 3, 4}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.path() / "SMALL.TXT", c.text);
        ItuMapGrid grid;
        const std::string read = c.text.substr(0, c.text.find("trailing"));
        ASSERT_TRUE(LoadMapFile(dir.path() / "SMALL.TXT", SmallFormat(2, 2, read), grid));
        EXPECT_EQ(grid.values, c.expected);
    }
    WriteFile(dir.path() / "SMALL.TXT", "5 6\n");
    ItuMapGrid grid;
    EXPECT_TRUE(LoadMapFile(dir.path() / "SMALL.TXT",
                            ItuMapFormat{"SMALL.TXT", 1, 2, 16, false, 0x12345678, MapTextChecksum("5 6\n")}, grid));
}

// The loader reads plain decimals on a fast path of its own and everything
// else through strtod; either way each number must come out as the C
// library's strtod rounded to float, bit for bit.  Compared as bit patterns,
// so that -0 and NaN count too.
std::uint32_t FloatBits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float StrtodAsFloat(const std::string& token)
{
    return static_cast<float>(std::strtod(token.c_str(), nullptr));
}

// Loads `tokens` as one row (each followed by a space, the last by a line
// feed) and checks each value against strtod.
void ExpectReadAsStrtod(const fs::path& dir, const std::vector<std::string>& tokens)
{
    std::string text;
    for (std::size_t k = 0; k < tokens.size(); ++k) text += tokens[k] + (k + 1 == tokens.size() ? "\n" : " ");
    WriteFile(dir / "SMALL.TXT", text);
    ItuMapGrid grid;
    ASSERT_TRUE(LoadMapFile(dir / "SMALL.TXT", SmallFormat(1, static_cast<int>(tokens.size()), text), grid));
    for (std::size_t k = 0; k < tokens.size(); ++k)
        EXPECT_EQ(FloatBits(grid.values[k]), FloatBits(StrtodAsFloat(tokens[k]))) << "\"" << tokens[k] << "\"";
}

TEST(MapFileFormat, AwkwardNumbersReadAsStrtod)
{
    const std::vector<std::string> tokens = {
        // signs and zeros
        "0", "-0", "+0", "-0.000", "+0.0", "-.0", "00000000000000",
        // no integer or no fraction part
        ".5", "+.5", "-.5", "5.", "-5.", ".000000000001",
        // exponents, which only strtod reads
        "1e3", "1E-3", "-1.5e+2", "2.5e-7", "1e38", "3.5e38", "1e39", "1e-45", "1e-46", "1e400", "-1e-400",
        // fifteen digits: the longest the fast path takes, and past it
        "999999999999999", "123456789012345", "1234567.8901234", "0.1234567890123",
        "9007199254740993", "0.30000000000000004",
        // values that sit on or near a float rounding boundary
        "0.1", "0.2", "0.3", "2.675", "1013.247", "16777217", "16777219", "1.00000006", "0.000000059604645",
        "33554433", "3.4028235e38", "340282356779733661637539395458142568448",
        // not plain decimals at all: read as far as strtod reads them
        "1.2.3", "--1", "+-1", "1-", "1e", "e5", "12abc", "0x1p3", "0x10", "inf", "-INF", "nan", "1,5", "+", "-", ".",
    };
    TempDir dir;
    // Each alone, and all together (so that each starts at another place
    // within the reader's words).
    std::vector<std::string> fitting;
    for (const std::string& t : tokens) {
        if (t.size() > 15) continue;  // longer than the 0.25-degree format allows
        fitting.push_back(t);
        ExpectReadAsStrtod(dir.path(), {t});
    }
    ExpectReadAsStrtod(dir.path(), fitting);
}

// Decimals that lie exactly halfway between two floats, and one unit of
// their last digit either side: the hardest cases for a float read through
// a double (ties go to the even float; a near miss must not).
TEST(MapFileFormat, DecimalsHalfwayBetweenFloatsReadAsStrtod)
{
    std::vector<std::string> tokens;
    std::uint64_t state = 777;
    for (int exponent = 10; exponent <= 30; ++exponent) {
        // Floats of [2^e, 2^(e+1)) are 2^(e-23) apart; halfway is 2^(e-24) on.
        const int fractionDigits = std::max(0, 24 - exponent);
        for (int k = 0; k < 40; ++k) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            const double low = std::ldexp(1.0, exponent) + std::ldexp(static_cast<double>(state >> 41), exponent - 23);
            const double halfway = low + std::ldexp(1.0, exponent - 24);
            char text[64];
            std::snprintf(text, sizeof text, "%.*f", fractionDigits, halfway);
            std::string t = text;
            if (t.size() > 15) continue;
            tokens.push_back(t);
            // The same text one unit of the last digit up and down.
            std::string up = t, down = t;
            for (std::size_t i = up.size(); i-- > 0;) {
                if (up[i] == '.') continue;
                if (up[i] != '9') { ++up[i]; break; }
                up[i] = '0';
            }
            for (std::size_t i = down.size(); i-- > 0;) {
                if (down[i] == '.') continue;
                if (down[i] != '0') { --down[i]; break; }
                down[i] = '9';
            }
            tokens.push_back(up);
            tokens.push_back(down);
            if (t.size() < 15) tokens.push_back("-" + t);
            if (fractionDigits > 0 && t.size() < 15) tokens.push_back(t + "0");
        }
    }
    ASSERT_GT(tokens.size(), 1000u);
    TempDir dir;
    ExpectReadAsStrtod(dir.path(), tokens);
}

// Many random plain decimals of every shape the maps use and some they don't.
TEST(MapFileFormat, RandomDecimalsReadAsStrtod)
{
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    const auto next = [&state](unsigned n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>((state >> 33) % n);
    };
    std::vector<std::string> tokens;
    for (int k = 0; k < 200000; ++k) {
        std::string t;
        switch (next(4)) {
        case 0: t += '-'; break;
        case 1: if (next(4) == 0) t += '+'; break;
        default: break;
        }
        const unsigned intDigits = next(9), fracDigits = next(4) == 0 ? 0 : next(10);
        for (unsigned d = 0; d < intDigits; ++d) t += static_cast<char>('0' + next(10));
        if (fracDigits > 0 || next(8) == 0) t += '.';
        for (unsigned d = 0; d < fracDigits; ++d) t += static_cast<char>('0' + next(10));
        if (t.size() > 15) t.resize(15);
        if (t.empty()) t = "0";
        tokens.push_back(t);
    }
    TempDir dir;
    ExpectReadAsStrtod(dir.path(), tokens);
}

// Heights: sign and digits up to the first other byte, kept in 16 bits.
TEST(MapFileFormat, RandomHeightsReadAsIntegers)
{
    std::uint64_t state = 12345;
    const auto next = [&state](unsigned n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>((state >> 33) % n);
    };
    std::vector<std::string> tokens;
    std::string text;
    for (int k = 0; k < 100000; ++k) {
        std::string t = next(3) == 0 ? "-" : next(10) == 0 ? "+" : "";
        const unsigned digits = 1 + next(k % 10 == 0 ? 11 : 5);
        for (unsigned d = 0; d < digits; ++d) t += static_cast<char>('0' + next(10));
        if (next(50) == 0) t += ".5";
        if (t.size() > 11) t.resize(11);  // the topography format's longest number
        tokens.push_back(t);
        text += t + (k % 100 == 99 ? "\n" : " ");
    }
    TempDir dir;
    WriteFile(dir.path() / "SMALL.TXT", text);
    ItuMapFormat format{"SMALL.TXT", 1000, 100, 12, true, MapTextChecksum(text), 0};
    ItuMapGrid grid;
    ASSERT_TRUE(LoadMapFile(dir.path() / "SMALL.TXT", format, grid));
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        // At most 11 characters: strtoll holds the value whole; beyond 2^31 - 1
        // the loader holds it at 2^31 - 1 before keeping 16 bits.
        long long v = std::strtoll(tokens[k].c_str(), nullptr, 10);
        v = std::clamp<long long>(v, -2147483647LL, 2147483647LL);
        const auto expected = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v) & 0xFFFF));
        ASSERT_EQ(grid.heights[k], expected) << "\"" << tokens[k] << "\"";
    }
}

// Every byte value, at several places within an 8-byte word: it ends a
// number exactly when its signed value is 32 or less.
TEST(MapFileFormat, EveryByteValueAsSeparator)
{
    TempDir dir;
    for (int b = 0; b < 256; ++b) {
        const bool separator = static_cast<std::int8_t>(b) <= 32;
        for (const std::string head : {"7", "123", "1234567", "123456789012"}) {
            const std::string text = head + static_cast<char>(b) + "5\n";
            WriteFile(dir.path() / "SMALL.TXT", text);
            ItuMapGrid grid;
            const bool loaded = LoadMapFile(dir.path() / "SMALL.TXT", SmallFormat(1, 2, text), grid);
            EXPECT_EQ(loaded, separator) << "byte " << b << " after " << head.size() << " digits";
            if (separator) {
                EXPECT_EQ(grid.values[1], 5.0f);
            }
        }
    }
}

// Failures: the file is refused, nothing is read past a buffer.
TEST(MapFileFormat, RefusedFiles)
{
    const std::string good = "1.25 2.5\n3.75 4\n";
    struct Case { const char* name; std::string text; };
    const Case cases[] = {
        // The CR before each line feed reads as an empty number and shifts the rest.
        {"CR LF line ends", "1.25 2.5\r\n3.75 4\r\n"},
        {"short file", "1.25 2.5\n3.75"},
        {"empty file", ""},
        {"one byte changed", "1.25 2.6\n3.75 4\n"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        WriteFile(dir.path() / "SMALL.TXT", c.text);
        ItuMapGrid grid;
        EXPECT_FALSE(LoadMapFile(dir.path() / "SMALL.TXT", SmallFormat(2, 2, good), grid)) << c.name;
    }
    ItuMapGrid grid;
    EXPECT_FALSE(LoadMapFile(dir.path() / "MISSING.TXT", SmallFormat(2, 2, good), grid));
    EXPECT_EQ(grid.rows, 0);
}

// 15 characters and a separator fit the 0.25-degree format; 16 do not, and
// neither do 12 in the rain-rate and topography format.
TEST(MapFileFormat, NumberLengthLimit)
{
    struct Case { int tokenBytes; std::string number; bool accepted; };
    const Case cases[] = {
        {16, "123456789.012345", false}, {16, "12345678.012345", true}, {16, std::string(4000, '7'), false},
        {12, "1234567.123", true},       {12, "12345678.123", false},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string text = "1 " + c.number + "\n";
        WriteFile(dir.path() / "SMALL.TXT", text);
        ItuMapFormat format{"SMALL.TXT", 1, 2, c.tokenBytes, false, MapTextChecksum(text), 0};
        ItuMapGrid grid;
        EXPECT_EQ(LoadMapFile(dir.path() / "SMALL.TXT", format, grid), c.accepted) << c.number.substr(0, 20);
    }
}

TEST(MapFileFormat, HeightsReadAsIntegers)
{
    TempDir dir;
    const std::string text = "-118 5820 12.9 +7 70000 x\n";
    WriteFile(dir.path() / "SMALL.TXT", text);
    ItuMapFormat format{"SMALL.TXT", 1, 6, 12, true, MapTextChecksum(text), 0};
    ItuMapGrid grid;
    ASSERT_TRUE(LoadMapFile(dir.path() / "SMALL.TXT", format, grid));
    // 70000 does not fit 16 bits and keeps its low 16 bits, as a 16-bit store does.
    EXPECT_EQ(grid.heights, (std::vector<std::int16_t>{-118, 5820, 12, 7, static_cast<std::int16_t>(70000 - 65536), 0}));
}

// ---- The parsed copies in the cache folder ----

ino_t InodeOf(const fs::path& file)
{
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

class CachedMap : public ::testing::Test {
protected:
    TempDir dir;
    // 2 x 3 numbers; the checksum is that of `kText`.
    const std::string kText = "12.5 -3 0.125\n7 1e2 -0\n";
    const fs::path text = dir.path() / "SMALL.TXT";
    const fs::path cacheDir = dir.path() / "cache";
    const fs::path cache = cacheDir / "SMALL.TXT.grid";
    ItuMapFormat format = SmallFormat(2, 3, kText);
    const std::vector<float> kValues = {12.5f, -3.0f, 0.125f, 7.0f, 100.0f, -0.0f};

    void SetUp() override { WriteFile(text, kText); }
    std::vector<std::uint32_t> Bits(const std::vector<float>& values)
    {
        std::vector<std::uint32_t> bits;
        for (const float v : values) bits.push_back(FloatBits(v));
        return bits;
    }
};

TEST_F(CachedMap, FirstLoadMakesTheCopyTheNextUsesIt)
{
    ItuMapGrid first;
    ASSERT_TRUE(LoadMapFileCached(text, format, first, cacheDir));
    EXPECT_EQ(Bits(first.values), Bits(kValues));
    ASSERT_TRUE(fs::exists(cache));
    // A header, then the six floats as they lie in memory.
    ASSERT_GE(fs::file_size(cache), 6 * sizeof(float));
    const ino_t made = InodeOf(cache);

    ItuMapGrid second;
    ASSERT_TRUE(LoadMapFileCached(text, format, second, cacheDir));
    EXPECT_EQ(Bits(second.values), Bits(kValues));
    EXPECT_EQ(second.rows, 2);
    EXPECT_EQ(second.columns, 3);
    EXPECT_EQ(InodeOf(cache), made) << "the copy was made again instead of used";
}

// The copy stands for the text only while the text is the same.
TEST_F(CachedMap, ChangedTextOrDamagedCopyIsReadFromTheText)
{
    struct Case {
        const char* name;
        std::string newText;                  // empty: the text stays
        std::function<void(const fs::path&)> damage;  // done to the copy
        bool loads;
        std::vector<float> values;
    };
    const auto flipLastByte = [](const fs::path& file) {
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekg(-1, std::ios::end);
        const char c = static_cast<char>(f.get() ^ 0x40);
        f.seekp(-1, std::ios::end);
        f.put(c);
    };
    const auto truncate = [](const fs::path& file) { fs::resize_file(file, fs::file_size(file) - 3); };
    const auto none = [](const fs::path&) {};
    const Case cases[] = {
        // Two digits swapped: the same checksum, other numbers.
        {"same checksum, other text", "21.5 -3 0.125\n7 1e2 -0\n", none, true, {21.5f, -3, 0.125f, 7, 100, -0.0f}},
        {"checksum fails", "12.5 -3 0.126\n7 1e2 -0\n", none, false, {}},
        {"text gone", "", [](const fs::path&) {}, false, {}},
        {"copy damaged", "", flipLastByte, true, kValues},
        {"copy cut short", "", truncate, true, kValues},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(text, kText);
        fs::remove_all(cacheDir);
        ItuMapGrid made;
        ASSERT_TRUE(LoadMapFileCached(text, format, made, cacheDir));
        if (!c.newText.empty()) WriteFile(text, c.newText);
        if (std::string(c.name) == "text gone") fs::remove(text);
        c.damage(cache);
        ItuMapGrid grid;
        EXPECT_EQ(LoadMapFileCached(text, format, grid, cacheDir), c.loads);
        if (c.loads) {
            EXPECT_EQ(Bits(grid.values), Bits(c.values));
            // What was read again is kept again, and holds.
            ItuMapGrid again;
            ASSERT_TRUE(LoadMapFileCached(text, format, again, cacheDir));
            EXPECT_EQ(Bits(again.values), Bits(c.values));
        }
    }
}

TEST_F(CachedMap, HeightsAndTheOtherAcceptedChecksum)
{
    const std::string heights = "-118 5820\n12 70000\n";
    WriteFile(text, heights);
    ItuMapFormat f{"SMALL.TXT", 2, 2, 12, true, 0x12345678, MapTextChecksum(heights)};
    for (int load = 0; load < 2; ++load) {
        ItuMapGrid grid;
        ASSERT_TRUE(LoadMapFileCached(text, f, grid, cacheDir));
        EXPECT_EQ(grid.heights, (std::vector<std::int16_t>{-118, 5820, 12, static_cast<std::int16_t>(70000 - 65536)}));
        EXPECT_TRUE(grid.values.empty());
    }
    // A copy made for one format is not taken for another shape.
    ItuMapFormat other = f;
    other.rows = 1;
    other.columns = 4;
    ItuMapGrid grid;
    ASSERT_TRUE(LoadMapFileCached(text, other, grid, cacheDir));
    EXPECT_EQ(grid.rows, 1);
}

// Loads the small map under a file-size limit far below its copy and exits
// with 42 when the load still gave the text's numbers and left no temporary
// copy.  The child runs the test afresh in a folder of its own: it looks
// there itself, and removes it, for it ends without its destructors.
[[noreturn]] void LoadUnderFileSizeLimit(const fs::path& folder, const fs::path& text, const ItuMapFormat& format,
                                         const fs::path& cacheDir)
{
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 16;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ItuMapGrid grid;
    const bool loaded = LoadMapFileCached(text, format, grid, cacheDir) && grid.values.size() == 6;
    std::error_code ec;
    const bool clean = !fs::exists(cacheDir) || fs::is_empty(cacheDir, ec);
    fs::remove_all(folder, ec);
    std::_Exit(loaded && clean ? 42 : 1);
}

// A copy is written as documents are: a file-size limit skips it instead of
// ending the start, a link at any name a temporary may take is never written
// through, and what killed starts left goes.
TEST_F(CachedMap, TheCopyIsWrittenAsDocumentsAre)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a child that ignores no signal yet
    EXPECT_EXIT(LoadUnderFileSizeLimit(dir.path(), text, format, cacheDir), ::testing::ExitedWithCode(42), "")
        << "the copy's limit ended the load, or it left a temporary copy";

    // A link planted at the very name the write is about to make its
    // temporary under, and one at the copy's own name: neither is followed,
    // and the copy is still made.
    const fs::path mine = dir.path() / "mine.txt";
    WriteFile(mine, "my own file");
    fs::create_directories(cacheDir);
    fs::create_symlink(mine, cache);
    int planted = 0;
    platform::SetTemporaryFileHook([&](const fs::path& temporary) {
        if (planted++ == 0) fs::create_symlink(mine, temporary);
    });
    ItuMapGrid grid;
    const bool loaded = LoadMapFileCached(text, format, grid, cacheDir);
    platform::SetTemporaryFileHook({});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(planted, 2) << "the planted name was taken";
    std::ifstream mineNow(mine);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(mineNow), {}), "my own file") << "written through a link";
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(cache))) << "the link at the copy's name stays";
    EXPECT_GT(fs::file_size(cache), 0u);

    // 999999999 is above any process number; the parent of the tests runs.
    TempDir noMaps;
    fs::remove_all(cacheDir);
    fs::create_directories(cacheDir);
    const std::string kept[] = {".P_5.TXT.grid.tmp-" + std::to_string(::getppid()) + "-1", "notes.txt"};
    for (const std::string& name : {std::string(".T_5.TXT.grid.tmp-999999999-4"), std::string("TOPO.TXT.grid.tmp-999999999"),
                                    kept[0], kept[1]})
        WriteFile(cacheDir / name, "x");
    RecordingObserver observer;
    LoadItuMaps(noMaps.path(), observer, cacheDir);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(cacheDir)) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, std::vector<std::string>(std::begin(kept), std::end(kept)));
}

// Renames `other` over `text` the moment something opens the text, as a
// package update might while the maps load: the load that opened it goes on
// reading the old bytes.
class ReplaceWhenOpened {
public:
    ReplaceWhenOpened(const fs::path& text, const fs::path& other) : fd_(::inotify_init1(IN_CLOEXEC))
    {
        ::inotify_add_watch(fd_, text.c_str(), IN_OPEN);
        thread_ = std::thread([this, text, other] {
            pollfd p{fd_, POLLIN, 0};
            char event[4096];
            if (::poll(&p, 1, 10000) == 1 && ::read(fd_, event, sizeof event) > 0) fs::rename(other, text);
        });
    }
    ~ReplaceWhenOpened()
    {
        thread_.join();
        ::close(fd_);
    }

private:
    int fd_;
    std::thread thread_;
};

TEST(CachedMapText, ACopyHoldsTheNumbersOfTheBytesItWasReadFrom)
{
    // Two texts of one length and checksum, a digit pair swapped: long
    // enough that the swap lands while the first is still being read.
    std::string a;
    for (int k = 0; k < 400 * 1000; ++k) a += std::to_string(k % 9973) + "." + std::to_string(k % 89 + 10) + (k % 1000 == 999 ? "\n" : " ");
    std::string b = a;
    std::swap(b[1], b[2]);  // "0.10" -> "01.0"
    TempDir dir;
    const fs::path text = dir.path() / "SMALL.TXT", cacheDir = dir.path() / "cache";
    const ItuMapFormat format = SmallFormat(400, 1000, a);
    WriteFile(text, a);
    WriteFile(dir.path() / "b", b);
    ItuMapGrid fromB, loaded, cached;
    ASSERT_TRUE(LoadMapFile(dir.path() / "b", format, fromB));
    {
        ReplaceWhenOpened swap(text, dir.path() / "b");
        ASSERT_TRUE(LoadMapFileCached(text, format, loaded, cacheDir));
    }
    ASSERT_TRUE(LoadMapFileCached(text, format, cached, cacheDir));  // the text is b now
    EXPECT_EQ(cached.values[0], fromB.values[0]) << "the copy gave another text's numbers";
}

// A 0.25-degree grid whose value tells its row and column apart.
ItuMapGrid IndexGrid()
{
    ItuMapGrid grid;
    grid.rows = 721;
    grid.columns = 1441;
    grid.values.resize(721u * 1441u);
    for (int j = 0; j < 721; ++j)
        for (int i = 0; i < 1441; ++i) grid.values[static_cast<std::size_t>(j) * 1441 + static_cast<std::size_t>(i)] = static_cast<float>(j * 10000 + i);
    return grid;
}

TEST(MapCorners, EdgesOfTheQuarterDegreeGrid)
{
    SetItuMapGrid(ItuMap::T_mean, IndexGrid());
    struct Case { float lat, lon; int j, j1, i, i1; double value; };
    const std::vector<Case> cases = {
        // Latitude 90 uses row 720 for both corner rows with weight 0.
        {90.0f, 0.0f, 720, 720, 720, 721, 7200720.0},
        // Longitude 180 takes column 1440 and its neighbour column 1 with weight 0.
        {0.0f, 180.0f, 360, 361, 1440, 1, 3601440.0},
        {-90.0f, -180.0f, 0, 1, 0, 1, 0.0},
        // Halfway between rows 1 and 2 and columns 4 and 5.
        {-89.625f, -178.875f, 1, 2, 4, 5, 15004.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon);
        const MapCellsRecord r = MapCells(ItuMap::T_mean, c.lat, c.lon);
        EXPECT_EQ((std::array{r.j, r.j1, r.i, r.i1}), (std::array{c.j, c.j1, c.i, c.i1}));
        EXPECT_EQ(r.v00, static_cast<float>(c.j * 10000 + c.i));
        EXPECT_EQ(r.v11, static_cast<float>(c.j1 * 10000 + c.i1));
        EXPECT_NEAR(BilinearValue(r), c.value, 1e-6);
    }
    FreeMapFile(ItuMap::T_mean);
    EXPECT_FALSE(ItuMapLoaded(ItuMap::T_mean));
    // A grid that is not there reads as zeros.
    EXPECT_EQ(MapCells(ItuMap::T_mean, 10.0f, 10.0f).v11, 0.0f);
    FreeMapFile(ItuMap::R001);
    EXPECT_EQ(RainRate001At(10.0f, 10.0f), 0.0f);
}

TEST(CubicKernel, Weights)
{
    struct Case { float t, weight; };
    // 1.5u^3 - 2.5u^2 + 1 below 1; -0.5u^3 + 2.5u^2 - 4u + 2 below 2.
    const std::vector<Case> cases = {{0, 1}, {0.5f, 0.5625f}, {-0.5f, 0.5625f}, {1, 0},
                                     {1.5f, -0.0625f}, {-1.5f, -0.0625f}, {2, 0}, {7, 0}};
    for (const auto& c : cases) EXPECT_FLOAT_EQ(CubicKernel(c.t), c.weight) << c.t;
    // The weights of four neighbours always sum to one.
    for (float f = 0; f < 1; f += 0.125f)
        EXPECT_NEAR(CubicKernel(1 + f) + CubicKernel(f) + CubicKernel(1 - f) + CubicKernel(2 - f), 1.0f, 1e-6f);
}

// A topography grid that is 0 except for a 4 x 4 block of 1000 m.
ItuMapGrid TopoWithBlock(int row0, int col0)
{
    ItuMapGrid grid;
    grid.rows = 2164;
    grid.columns = 4324;
    grid.heights.assign(2164u * 4324u, 0);
    for (int r = row0; r < row0 + 4; ++r)
        for (int c = col0; c < col0 + 4; ++c) grid.heights[static_cast<std::size_t>(r) * 4324 + static_cast<std::size_t>(c)] = 1000;
    return grid;
}

// The bicubic sum reads exactly the 4 x 4 block around the point, so a block
// of 1000 m there gives 1 km (the weights sum to one) and elsewhere nothing.
TEST(TopoHeight, CornersReadTheirBlock)
{
    struct Case { float lat, lon; int row0, col0; };
    const Case cases[] = {{-90.0f, -180.0f, 2160, 0}, {90.0f, 180.0f, 0, 4320}, {90.0f, -180.0f, 0, 0},
                          {-90.0f, 180.0f, 2160, 4320}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon);
        SetItuMapGrid(ItuMap::TOPO, TopoWithBlock(c.row0, c.col0));
        EXPECT_NEAR(TopoHeightAt(c.lat, c.lon), 1.0, 1e-6);
        SetItuMapGrid(ItuMap::TOPO, TopoWithBlock(c.row0 == 0 ? 4 : c.row0 - 4, c.col0));
        EXPECT_EQ(TopoHeightAt(c.lat, c.lon), 0.0);
    }
    FreeMapFile(ItuMap::TOPO);
    EXPECT_EQ(TopoHeightAt(10.0f, 10.0f), 0.0);
}

TEST(LoadItuMaps, MissingFilesReportedInLoadOrder)
{
    TempDir dir;
    RecordingObserver observer;
    EXPECT_EQ(LoadItuMaps(dir.path(), observer), kItuMapCount);
    ASSERT_EQ(observer.messages.size(), static_cast<std::size_t>(kItuMapCount));
    EXPECT_EQ(observer.messages.front(), "TOPO.TXT failed checksum");
    EXPECT_EQ(observer.messages[1], "R001.TXT failed checksum");
    EXPECT_EQ(observer.messages[2], "L_5.TXT failed checksum");
    EXPECT_EQ(observer.messages[7], "P_mean.TXT failed checksum");
    EXPECT_EQ(observer.messages.back(), "RHO_50.TXT failed checksum");
    for (int k = 0; k < kItuMapCount; ++k) EXPECT_FALSE(ItuMapLoaded(static_cast<ItuMap>(k)));
}

// ---- The real maps, unpacked into the program directory by the build. ----

using RealMaps = proptest::RealItuMaps;   // its set-up requires every checksum to hold

// The n-th number of a map file, read straight out of its text.
double NumberAt(const char* fileName, std::size_t index)
{
    std::ifstream in(fs::current_path() / fileName, std::ios::binary);
    std::string token;
    for (std::size_t k = 0; k <= index; ++k) in >> token;
    return std::strtod(token.c_str(), nullptr);
}

// London, 51.5N 0.14W: the four surrounding values of the mean surface
// pressure, read from the text, interpolated by hand.
TEST_F(RealMaps, PressureSpotValueByHand)
{
    // Rows 565 (51.25N) and 566 (51.5N); columns 719 (-0.25) and 720 (0).
    const double p00 = NumberAt("P_mean.TXT", 565u * 1441 + 719);
    const double p01 = NumberAt("P_mean.TXT", 565u * 1441 + 720);
    const double p10 = NumberAt("P_mean.TXT", 566u * 1441 + 719);
    const double p11 = NumberAt("P_mean.TXT", 566u * 1441 + 720);
    const double fy = 0.6, fx = 0.44;   // 51.4N is 0.6 of a row above 51.25; -0.14 is 0.44 of a column east of -0.25
    const double byHand = (1 - fy) * (1 - fx) * p00 + fy * (1 - fx) * p10 + (1 - fy) * fx * p01 + fy * fx * p11;
    EXPECT_GT(byHand, 990.0);
    EXPECT_LT(byHand, 1030.0);
    EXPECT_NEAR(BilinearValue(MapCells(ItuMap::P_mean, 51.4f, -0.14f)), byHand, 1e-3);
}

TEST_F(RealMaps, RainRateSpotValueByHand)
{
    // 0.125-degree grid: 51.5N is row 1132, -0.14 lies between columns 1438 (-0.25) and 1439 (-0.125).
    const double r00 = NumberAt("R001.TXT", 1132u * 2881 + 1438);
    const double r01 = NumberAt("R001.TXT", 1132u * 2881 + 1439);
    const double fx = 0.88;   // (-0.14 + 0.25) / 0.125
    const double byHand = (1 - fx) * r00 + fx * r01;
    // London's R0.01 is of the order of 30 mm/h.
    EXPECT_GT(byHand, 20.0);
    EXPECT_LT(byHand, 45.0);
    EXPECT_NEAR(RainRate001At(51.5f, -0.14f), byHand, 1e-3);
}

// Every number of every map as the C library reads it: the text cut at each
// byte whose signed value is 32 or less, strtod rounded to float (heights:
// the integer in 16 bits), compared bit for bit with the loaded grids.
TEST_F(RealMaps, EveryNumberAsTheCLibraryReadsIt)
{
    for (int k = 0; k < kItuMapCount; ++k) {
        const ItuMapFormat& format = ItuMapFormatOf(static_cast<ItuMap>(k));
        const ItuMapGrid* grid = ItuMapGridOf(static_cast<ItuMap>(k));
        ASSERT_NE(grid, nullptr) << format.fileName;
        std::ifstream in(fs::current_path() / format.fileName, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t count = static_cast<std::size_t>(format.rows) * static_cast<std::size_t>(format.columns);
        std::size_t start = 0, mismatches = 0;
        std::string token;
        for (std::size_t n = 0; n < count; ++n) {
            std::size_t end = start;
            while (end < text.size() && static_cast<std::int8_t>(text[end]) > 32) ++end;
            ASSERT_LT(end, text.size()) << format.fileName;
            token.assign(text, start, end - start);
            if (format.integerElements) {
                const auto expected = static_cast<std::int16_t>(std::strtol(token.c_str(), nullptr, 10));
                if (grid->heights[n] != expected) ++mismatches;
            } else if (FloatBits(grid->values[n]) != FloatBits(StrtodAsFloat(token))) {
                if (++mismatches < 5) ADD_FAILURE() << format.fileName << " number " << n << " \"" << token << "\"";
            }
            start = end + 1;
        }
        EXPECT_EQ(mismatches, 0u) << format.fileName;
    }
}

TEST_F(RealMaps, TopographySpotValues)
{
    // Sea level in mid-Atlantic; the Tibetan plateau is high.
    EXPECT_NEAR(TopoHeightAt(30.0f, -40.0f), 0.0, 0.01);
    EXPECT_GT(TopoHeightAt(33.0f, 88.0f), 4.0);
    // At a grid node the bicubic value is the node's own height: node row
    // 2163 - (lat + 90.125) * 12 and column (lon + 180.125) * 12.
    // Single-precision positions land a hair off the node, hence 1 m.
    const float lat = 45.875f, lon = 6.875f;   // row 531, column 2244, in the Alps
    const double node = NumberAt("TOPO.TXT", 531u * 4324 + 2244) / 1000.0;
    EXPECT_GT(node, 0.5);
    EXPECT_NEAR(TopoHeightAt(lat, lon), node, 1e-3);
}

}  // namespace
