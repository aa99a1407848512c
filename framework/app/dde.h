// The DDE server "Orbiscope" / "System" and its execute commands.
//
// There is no DDE here: a conversation is one line on the first instance's
// single-instance socket, "DDE<TAB>service<TAB>topic<TAB>execute text".  The
// first instance answers it as a DDE server would: connect (service and
// topic checked), execute, disconnect.  The desktop entry starts the program
// with "-ddeopen FILE" or "-ddeprint FILE"; that start either hands the
// execute text to a running first instance and ends, or becomes the first
// instance and executes it itself, as the shell's DDE verbs do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/single_instance.h"

class TOrbiscope;

namespace orbiscope {

inline constexpr const char* kDdeService = "Orbiscope";
inline constexpr const char* kDdeTopic = "System";
// The execute text and the file name it carries are read into buffers of
// this size (terminator included).
inline constexpr std::size_t kDdeBufferBytes = 260;

// Whether an execute text fits its buffer with the terminator.  One that
// does not is refused whole: cut, it could still parse as another command
// than the one sent.
inline bool ExecuteTextFits(std::string_view text) { return text.size() < kDdeBufferBytes; }

// Command indices of ParseDdeExecute.
inline constexpr int kDdeOpen = 0;
inline constexpr int kDdePrint = 1;

// The transaction kinds the server's callback tells apart.
enum class DdeTransaction { Connect, WildConnect, Execute, Disconnect, Error, Other };

// The line of one conversation, and back.  A line that starts with the
// marker but lacks a field is malformed (nullopt).
std::string DdeMessage(std::string_view service, std::string_view topic, std::string_view execute);
bool IsDdeMessage(std::string_view line);
struct DdeConversation {
    std::string service;
    std::string topic;
    std::string execute;
};
std::optional<DdeConversation> ParseDdeMessage(std::string_view line);

// A start by the desktop entry's open or print verb.
struct DdeLaunch {
    bool print = false;
    std::string file;  // absolute
};
// Takes "-ddeopen FILE" or "-ddeprint FILE" out of the arguments (the first
// such pair; a verb without its file is dropped too).  Relative names are
// made absolute against the current directory.
std::optional<DdeLaunch> TakeDdeLaunch(std::vector<std::string>& arguments);
// What the verb sends: a running program only opens the file; a program
// started for the print verb prints it and ends.
std::string DdeLaunchExecute(const DdeLaunch& launch, bool startedForIt);
// Why a later start cannot hand its file to the running program, as it ends
// "FILE was not opened: ..."; empty when it can.  The file travels in one
// line, inside an execute text that must fit its buffer and that ends at
// the first ")]".
std::string HandOverProblem(const DdeLaunch& launch);
// A later start hands its launch to the first instance and learns what became
// of it (a launch with a problem is refused here, unsent).
platform::HandOver SendDdeLaunch(const DdeLaunch& launch, int connectMs = platform::SingleInstance::kConnectTimeoutMs,
                                 int answerMs = platform::SingleInstance::kAnswerTimeoutMs);
// The first instance's own launch, run from the message loop once the main
// window exists.  The file is opened (or printed) by its own name, whatever
// an execute text could carry.
void RunDdeLaunch(TOrbiscope& app, const DdeLaunch& launch);

}  // namespace orbiscope

// Parses "[Open(name)]" or "[Print(name)]" (command words without regard to
// case; anything after the first ")]" ignored).  On success commandIndex is
// kDdeOpen or kDdePrint, the name (cut to size - 1 characters) and a
// terminator are in fileName, and size is set to the characters copied.  On
// failure commandIndex is -1 and nothing is copied.
bool ParseDdeExecute(const char* text, int& commandIndex, char* fileName, std::size_t& size);
