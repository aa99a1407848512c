// A later start's side of the hand-over, and the cutting of the socket's
// stream into lines: what an answer means, how long a start waits between
// its tries, and lines read whole, never split into two commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/single_instance.h"
#include "platform/socket_lines.h"

namespace {

using platform::HandOver;
using platform::kMaxSocketLineBytes;

// ---- cutting the stream into lines -----------------------------------------------
struct LineCase {
    const char* name;
    std::vector<std::string> chunks;  // as they arrive
    bool hangUp;                      // the sender hangs up after the last chunk
    std::vector<std::string> lines;
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

TEST(SocketLines, AreReadWholeAndNeverSplit)
{
    const std::size_t L = kMaxSocketLineBytes;
    const LineCase cases[] = {
        {"one line", {"activate\n"}, false, {"activate"}},
        {"two lines in one read", {"a\nbc\n"}, false, {"a", "bc"}},
        {"a line across reads", {"DDE\tOrb", "iscope\tSystem\t[Open(x)]\n"}, false, {"DDE\tOrbiscope\tSystem\t[Open(x)]"}},
        {"unfinished line waits", {"activ"}, false, {}},
        {"last line completed by the hang-up", {"activate"}, true, {"activate"}},
        {"empty line", {"\n"}, false, {""}},
        {"carriage return kept", {"x\r\n"}, false, {"x\r"}},
        {"exactly the limit", {Repeat('a', L) + "\n"}, false, {Repeat('a', L)}},
        {"limit less one, last byte kept", {Repeat('a', L - 2) + "z\n"}, false, {Repeat('a', L - 2) + "z"}},
        {"limit reached at a read's end", {Repeat('a', L), "\nnext\n"}, false, {Repeat('a', L), "next"}},
        {"one over the limit is cut once", {Repeat('a', L) + "b\nnext\n"}, false, {Repeat('a', L), "next"}},
        {"long tail never a second command", {Repeat('a', L), Repeat('b', 3 * L), "DDE\tx\n", "ok\n"}, false,
         {Repeat('a', L), "ok"}},
        {"long line cut before the hang-up", {Repeat('a', 2 * L)}, true, {Repeat('a', L)}},
    };
    for (const LineCase& c : cases) {
        platform::LineAssembler assembler;
        std::vector<std::string> lines;
        for (const std::string& chunk : c.chunks) assembler.Feed(chunk, lines);
        if (c.hangUp) assembler.Finish(lines);
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

// ---- what a later start makes of an answer ------------------------------------------
TEST(HandOverAnswer, OnlyAWholeAnswerCounts)
{
    struct Case {
        std::string received;
        HandOver::Result result;
        std::string reason;
    };
    const Case cases[] = {
        {platform::HandOverAnswer(true), HandOver::Result::Taken, ""},
        {platform::HandOverAnswer(false, "it is busy"), HandOver::Result::Refused, "it is busy"},
        {"taken\nrefused\tx\n", HandOver::Result::Taken, ""},
        {"taken", HandOver::Result::NoAnswer, ""},  // cut off: the first may not have queued it
        {"", HandOver::Result::NoAnswer, ""},
        {"takenx\n", HandOver::Result::NoAnswer, ""},
        {"refused\n", HandOver::Result::NoAnswer, ""},
        {"refused\ta\x01\x7f" "b\xe9\n", HandOver::Result::Refused, "a??b\xe9"},
        {"refused\t" + Repeat('w', 5000) + "\n", HandOver::Result::Refused, Repeat('w', 200)},
    };
    for (const Case& c : cases) {
        const HandOver h = platform::ReadHandOverAnswer(c.received);
        EXPECT_EQ(h.result, c.result) << c.received;
        EXPECT_EQ(h.reason, c.reason) << c.received;
    }
}

// ---- a later start's waits between its tries ----------------------------------
TEST(RetryWaits, FromTheFirstSpanToTheLongest)
{
    // Each wait drawn as the lowest, or the highest, its span allows.
    for (const bool highest : {false, true}) {
        platform::RetryWaits waits([highest](int lowest, int most) { return highest ? most : lowest; });
        const int first = waits.Next();
        int late = 0;
        for (int k = 0; k < 20; ++k) late = waits.Next();
        EXPECT_EQ(first, highest ? 100 : 50);
        EXPECT_EQ(late, highest ? 1000 : 500);
    }
}

}  // namespace
