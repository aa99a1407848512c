// The hand-over of a later start: the answer it reads from the first
// instance's socket, and the file name it sends.  A name the later start
// agrees to send must reach the first instance as one line, parse as one
// Open command and name exactly that file.
#include <cstring>
#include <string>
#include <vector>

#include "framework/app/dde.h"
#include "fuzz/fuzz_support.h"
#include "platform/single_instance.h"
#include "platform/socket_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const platform::HandOver answer = platform::ReadHandOverAnswer(input);
    FUZZ_CHECK(answer.result != platform::HandOver::Result::Unreachable);
    FUZZ_CHECK(answer.reason.size() <= 200 && answer.reason.find('\n') == std::string::npos);
    FUZZ_CHECK(answer.result == platform::HandOver::Result::Refused || answer.reason.empty());

    orbiscope::DdeLaunch launch;
    launch.file.assign(input.substr(0, input.find('\0')));
    if (!orbiscope::HandOverProblem(launch).empty()) return 0;
    const std::string execute = orbiscope::DdeLaunchExecute(launch, false);
    const std::string line = orbiscope::DdeMessage(orbiscope::kDdeService, orbiscope::kDdeTopic, execute);
    platform::LineAssembler assembler;
    std::vector<std::string> lines;
    assembler.Feed(line + "\n", lines);
    FUZZ_CHECK(lines.size() == 1 && lines[0] == line);
    const auto conversation = orbiscope::ParseDdeMessage(lines[0]);
    FUZZ_CHECK(conversation && conversation->execute == execute && orbiscope::ExecuteTextFits(execute));
    char command[orbiscope::kDdeBufferBytes] = {};
    std::memcpy(command, execute.data(), execute.size());
    char name[orbiscope::kDdeBufferBytes];
    std::size_t copied = sizeof name;
    int index = -1;
    FUZZ_CHECK(ParseDdeExecute(command, index, name, copied));
    FUZZ_CHECK(index == orbiscope::kDdeOpen && std::string(name, copied) == launch.file);
    return 0;
}
