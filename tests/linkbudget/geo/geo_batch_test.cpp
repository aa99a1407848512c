// The GEO batch settings as stored (byte for byte) and the command that
// starts the batch processor from them.
#include <gtest/gtest.h>

#include <cstring>

#include "linkbudget/geo/geo_batch.h"

namespace {

// The stored block: three 261-byte names, then four 16-bit switches,
// little-endian, packed.
TEST(GeoBatchSettings, StoredBlockLayout)
{
    GeoBatchSettings s;
    std::memset(&s, 0, sizeof s);
    PutText(s.executable, "/opt/bin/batch");
    PutText(s.inputFile, "in.txt");
    PutText(s.outputBase, "out");
    s.csv.Set(1);
    s.quiet.Set(0x0102);
    s.hideTerminal.Set(1);
    std::uint8_t bytes[791];
    std::memcpy(bytes, &s, sizeof bytes);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes)), "/opt/bin/batch");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + 261)), "in.txt");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + 522)), "out");
    const struct { std::size_t offset; std::uint8_t low, high; } words[] = {
        {783, 1, 0}, {785, 0, 0}, {787, 0x02, 0x01}, {789, 1, 0},
    };
    for (const auto& w : words) {
        EXPECT_EQ(bytes[w.offset], w.low) << w.offset;
        EXPECT_EQ(bytes[w.offset + 1], w.high) << w.offset;
    }
}

struct CommandCase {
    const char* name;
    bool csv, include, quiet, hide;
    std::vector<std::string> switches;  // after the input and output names
};

// Names with blanks and shell characters stay single arguments as typed.
TEST(GeoBatchSettings, CommandIsTheProcessorTheTwoNamesAndOneSwitchPerBox)
{
    const CommandCase cases[] = {
        {"no switch", false, false, false, false, {}},
        {"CSV", true, false, false, false, {"--csv"}},
        {"include input", false, true, false, false, {"--include-input"}},
        {"quiet, hidden", false, false, true, true, {"--quiet"}},
        {"all", true, true, true, true, {"--csv", "--include-input", "--quiet"}},
    };
    for (const CommandCase& c : cases) {
        GeoBatchSettings s;
        std::memset(&s, 0, sizeof s);
        PutText(s.executable, "/opt/orbiscope batch/run");
        PutText(s.inputFile, "my budgets; rm -rf ~.txt");
        PutText(s.outputBase, "$(results)");
        s.csv.Set(c.csv);
        s.includeInput.Set(c.include);
        s.quiet.Set(c.quiet);
        s.hideTerminal.Set(c.hide);
        const BatchCommand command = BatchCommandFor(s);
        std::vector<std::string> expected = {"my budgets; rm -rf ~.txt", "$(results)"};
        expected.insert(expected.end(), c.switches.begin(), c.switches.end());
        EXPECT_EQ(command.program, "/opt/orbiscope batch/run") << c.name;
        EXPECT_EQ(command.arguments, expected) << c.name;
        EXPECT_EQ(command.hideTerminal, c.hide) << c.name;
    }
}

// A name that fills its field is cut at its last byte, never read past it.
TEST(GeoBatchSettings, FullFieldsEndAtTheirLastByte)
{
    GeoBatchSettings s;
    std::memset(&s, 'x', sizeof s);
    const BatchCommand command = BatchCommandFor(s);
    EXPECT_EQ(command.program, std::string(260, 'x'));
    EXPECT_EQ(command.arguments.at(0), std::string(260, 'x'));
    EXPECT_EQ(command.arguments.at(1), std::string(260, 'x'));
}

}  // namespace
