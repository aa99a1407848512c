// The element-set reader and the line tests.
#include "orbit_fixtures.h"
#include "pointing/orbit/sgp4sdp4.h"
#include "pointing/orbit/tle_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// A published set (the station, from stations.tle) whose checksums hold.
const std::string kName = "ISS (ZARYA)";
const std::string kLine1 = "1 25544U 98067A   26150.51748228  .00011776  00000+0  21767-3 0  9998";
const std::string kLine2 = "2 25544  51.6337  27.5746 0007245 114.7080 245.4664 15.49496548569014";

std::string TwoSets(const std::string& eol) {
    return kName + eol + kLine1 + eol + kLine2 + eol + "SECOND" + eol + kLine1 + eol + kLine2;
}

// "MKS (ZARYA)" in Cyrillic, UTF-8: 10 characters, 17 bytes.
const std::string kMks = "\xd0\x9c\xd0\x9a\xd0\xa1 (\xd0\x97\xd0\x90\xd0\xa0\xd0\xaf)";

std::string Set(const std::string& nameLine) { return nameLine + "\n" + kLine1 + "\n" + kLine2 + "\n"; }

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Whether the file is taken, how many sets, the first set's name and the
// line that refused the file.
struct ReadCase {
    const char* what;
    std::string text;
    bool ok;
    std::size_t sets;
    const char* firstName = "";
    std::size_t failedLine = 0;
    const char* lastName = "";
};

TEST(TleReader, AcceptsEveryLineEndAndTrailingBlanks) {
    const std::string two = TwoSets("\n");
    const std::string e24(24, '\xc9');  // Latin-1 E acute
    const ReadCase cases[] = {
        {"CR LF", TwoSets("\r\n") + "\r\n", true, 2, "ISS (ZARYA)"},
        {"LF", two + "\n", true, 2},
        {"CR", TwoSets("\r") + "\r", true, 2},
        {"no line end after the last line", two, true, 2},
        {"blank lines after the last set", TwoSets("\r\n") + "\r\n\r\n  \r\n\n", true, 2},
        {"blanks after the element lines", kName + "\n" + kLine1 + "   \n" + kLine2 + "\t\n", true, 1},
        {"blanks after the name", "ISS (ZARYA)             \r\n" + kLine1 + "\r\n" + kLine2, true, 1, "ISS (ZARYA)"},
        {"empty file", "", true, 0},
        {"a name cut off by the end of the file", TwoSets("\r\n") + "\r\nTHIR", true, 2, "ISS (ZARYA)"},
        {"a long name cut off by the end of the file", TwoSets("\n") + "\n" + std::string(27, 'N'), false, 0},
        {"a name line ended, its set missing", TwoSets("\r\n") + "\r\nTHIRD\r\n", false, 0, "", 8},
        {"name of 26 characters, 24 kept", "ABCDEFGHIJKLMNOPQRSTUVWXYZ\n" + kLine1 + "\n" + kLine2 + "\n", true, 1,
         "ABCDEFGHIJKLMNOPQRSTUVWX"},
        {"name of 27 characters", std::string(27, 'N') + "\n" + kLine1 + "\n" + kLine2 + "\n", false, 0},
        {"element line of 68 characters", kName + "\n" + kLine1.substr(0, 68) + "\n" + kLine2 + "\n", false, 0},
        {"element line of 70 characters", kName + "\n" + kLine1 + "7\n" + kLine2 + "\n", false, 0},
        {"second element line missing", kName + "\n" + kLine1 + "\n", false, 0},
        {"blank line between sets", kName + "\n" + kLine1 + "\n" + kLine2 + "\n\n" + two, false, 0},
        {"a later bad set refuses the file", two + "\nTHIRD\n" + kLine1.substr(0, 60) + "\n", false, 0, "", 8},
        // Names in UTF-8 or Latin-1, counted in characters, shown in Latin-1.
        {"a Cyrillic UTF-8 name: ? for each letter", Set(kMks), true, 1, "\?\?\? (\?\?\?\?)"},
        {"a UTF-8 byte-order mark is not the name's", Set("\xef\xbb\xbf" "ISS (ZARYA)"), true, 1, "ISS (ZARYA)"},
        {"a UTF-8 name of 26 letters, 24 kept whole", Set(Repeat("\xc3\x89", 26)), true, 1, e24.c_str()},
        {"a Cyrillic letter at the 24th character", Set(std::string(23, 'A') + Repeat("\xd0\x96", 3)), true, 1,
         "AAAAAAAAAAAAAAAAAAAAAAA?"},
        {"27 Cyrillic letters", Set(Repeat("\xd0\x96", 27)), false, 0, "", 1},
        {"a Latin-1 name, 0xFF a letter", Set("S\xc3O PAULO L'HA\xff"), true, 1, "S\xc3O PAULO L'HA\xff"},
        {"UTF-8 cut short by the end of the file", two + "\n\xd0", true, 2, "ISS (ZARYA)"},
        {"a Latin-1 name after a UTF-8 one", Set("Z\xc3\xbcRICH") + Set("K\xf6LN"), true, 2, "Z\xfcRICH", 0,
         "K\xf6LN"},
        {"a mark, then a Latin-1 name", Set("\xef\xbb\xbf" "K\xf6LN"), true, 1, "K\xf6LN"},
        // Files joined from ones saved with a mark: a later one is a character
        // the table cannot show, before a UTF-8 name or a Latin-1 one.
        {"a mark on a later line",
         Set("\xef\xbb\xbf" "A") + Set("\xef\xbb\xbf" "Z\xc3\xbcRICH") + Set("\xef\xbb\xbf" "K\xf6LN"), true, 3, "A", 0,
         "?K\xf6LN"},
        {"a mark on a later line counts as a character", Set("A") + Set("\xef\xbb\xbf" + std::string(26, 'N')), false,
         0, "", 4},
        {"a mark inside a name is one character", Set("A\xef\xbb\xbf" "B"), true, 1, "A?B"},
    };
    for (const ReadCase& c : cases) {
        const TleReadResult r = ReadTleText(c.text);
        EXPECT_EQ(r.ok, c.ok) << c.what;
        ASSERT_EQ(r.entries.size(), c.sets) << c.what;
        if (*c.firstName) {
            EXPECT_STREQ(r.entries[0].name, c.firstName) << c.what;
            EXPECT_EQ(r.entries[0].line1, kLine1) << c.what;   // stored without their ends
            EXPECT_EQ(r.entries[0].line2, kLine2) << c.what;
        }
        if (c.failedLine) {
            EXPECT_EQ(r.failedLine, c.failedLine) << c.what;
        }
        if (*c.lastName) {
            EXPECT_STREQ(r.entries.back().name, c.lastName) << c.what;
        }
    }
    // More sets than the 1500 of the old table: the whole constellation file.
    EXPECT_EQ(orbit_test::RealSets("starlink").size(), 10395u);
    EXPECT_EQ(orbit_test::RealSets("geo").size(), 574u);
}

struct ChecksumCase { const char* what; std::string line; bool ok; };

// Digits count their value, '-' counts 1, letters, '.', '+' and blanks 0.
TEST(TleChecks, LineChecksum) {
    const ChecksumCase cases[] = {
        {"published line 1", kLine1, true},
        {"published line 2", kLine2, true},
        {"last digit off by one", kLine1.substr(0, 68) + "9", false},
        {"a minus counts one: 1-1 sums to 3", "1-1" + std::string(65, ' ') + "3", true},
        {"letters, points and plus count nothing", "2A.+" + std::string(64, ' ') + "2", true},
        {"a letter in column 69", kLine1.substr(0, 68) + "X", false},
        {"empty", "", false},
    };
    for (const ChecksumCase& c : cases) EXPECT_EQ(TSgp4Sdp4::TleLineChecksumOk(c.line.c_str()), c.ok) << c.what;
}

std::string Fixed(std::string line, std::size_t column, char c) {
    line[column - 1] = c;
    return orbit_test::WithChecksum(line.substr(0, 68));
}

TEST(TleChecks, PairLayout) {
    const struct { const char* what; std::string l1, l2; bool ok; } cases[] = {
        {"published pair", kLine1, kLine2, true},
        {"line numbers swapped", kLine2, kLine1, false},
        {"catalogue numbers differ", Fixed(kLine1, 7, '5'), kLine2, false},
        {"catalogue letters compared without case", Fixed(Fixed(kLine1, 3, 'A'), 7, '4'),
         Fixed(Fixed(kLine2, 3, 'a'), 7, '4'), true},
        {"ephemeris type 2", Fixed(kLine1, 63, '2'), kLine2, false},
        {"column 62 not blank", Fixed(kLine1, 62, '1'), kLine2, false},
        {"no point in the epoch", Fixed(kLine1, 24, '5'), kLine2, false},
        {"no point in the mean motion", kLine1, Fixed(kLine2, 55, '5'), false},
        {"bad checksum", kLine1.substr(0, 68) + "0", kLine2, false},
    };
    for (const auto& c : cases) EXPECT_EQ(TSgp4Sdp4::TlePairWellFormed(c.l1.c_str(), c.l2.c_str()), c.ok) << c.what;
}

}  // namespace
