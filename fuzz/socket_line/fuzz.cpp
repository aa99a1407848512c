// The single-instance socket: a byte stream cut into lines, each taken apart
// as a DDE conversation and its execute text, as the first instance does.
#include <cstring>
#include <string>
#include <vector>

#include "framework/app/dde.h"
#include "fuzz/fuzz_support.h"
#include "platform/socket_lines.h"

namespace {

// The execute text as the server reads it: up to its first zero byte, and
// only when it leaves room for the terminator in its buffer.
void Execute(const std::string& execute)
{
    const std::string text = execute.substr(0, execute.find('\0'));
    if (text.size() >= orbiscope::kDdeBufferBytes) return;
    char command[orbiscope::kDdeBufferBytes] = {};
    std::memcpy(command, text.data(), text.size());
    char name[orbiscope::kDdeBufferBytes];
    std::memset(name, 'q', sizeof name);
    int index = -1;
    std::size_t size = sizeof name;
    if (!ParseDdeExecute(command, index, name, size)) {
        FUZZ_CHECK(index == -1);
        return;
    }
    FUZZ_CHECK(index == orbiscope::kDdeOpen || index == orbiscope::kDdePrint);
    FUZZ_CHECK(size < sizeof name && std::strlen(name) == size);
    FUZZ_CHECK(text.find(std::string(name, size) + ")]") != std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte sets how the stream arrives: in reads of 1 to 256 bytes.
    if (size == 0) return 0;
    const std::size_t chunk = std::size_t(data[0]) + 1;
    const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);

    platform::LineAssembler assembler;
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < stream.size(); at += chunk) assembler.Feed(stream.substr(at, chunk), lines);
    assembler.Finish(lines);

    std::size_t newlines = 0;
    for (char c : stream) newlines += c == '\n';
    FUZZ_CHECK(lines.size() <= newlines + 1);  // a long line is never split into two
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.size() <= platform::kMaxSocketLineBytes);
        FUZZ_CHECK(line.find('\n') == std::string::npos);
        const auto conversation = orbiscope::ParseDdeMessage(line);
        FUZZ_CHECK(!conversation || orbiscope::IsDdeMessage(line));
        if (conversation) Execute(conversation->execute);
    }
    return 0;
}
