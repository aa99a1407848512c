#include "framework/app/dde.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "platform/messagebox.h"

using namespace orbiscope;

namespace {

constexpr std::string_view kMarker = "DDE\t";

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Whether `text` starts with `word`, ignoring case over the word's length.
bool StartsWithNoCase(const char* text, std::string_view word)
{
    for (std::size_t i = 0; i < word.size(); ++i)
        if (text[i] == '\0' || AsciiLower(text[i]) != AsciiLower(word[i])) return false;
    return true;
}

// DDE string handles compare without regard to case.
bool SameDdeString(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

// Opens the file and returns the child that this open created, or null when
// the open made no window (an unsupported type, a window class not built).
TOrbiscopeMDIChild* OpenForPrinting(TOrbiscopeMDIClient& client, const char* name)
{
    const std::vector<platform::MdiChild*> before = client.Children();
    client.OpenFile(name);
    for (platform::MdiChild* c : client.Children())
        if (std::find(before.begin(), before.end(), c) == before.end()) return dynamic_cast<TOrbiscopeMDIChild*>(c);
    return nullptr;
}

// Opens the file, or prints it and ends the program.
void RunCommand(TOrbiscope& app, int index, const char* name)
{
    TOrbiscopeMDIClient* client = app.Client();
    // An empty name opens nothing.
    if (index == kDdeOpen) {
        if (client && name[0]) client->OpenFile(name);
        return;
    }
    // Print goes only to the window its own open made, never to a window the
    // user had open already; the program then ends through the close check,
    // so that no changed document is lost.
    if (client && name[0]) {
        TOrbiscopeMDIChild* child = OpenForPrinting(*client, name);
        if (TMyWindow* window = child ? child->Document() : nullptr)
            platform::RouteCommand({window, child, client, app.Frame(), &app}, CM_FILEPRINT);
    }
    app.BeginEnding();
    app.PostToMainWindow(CM_EXIT);
}

void ExecuteCommand(TOrbiscope& app, std::string_view data)
{
    // The text ends at its first zero byte and is read into a buffer of
    // fixed size.
    const std::string_view text = data.substr(0, data.find('\0'));
    char command[kDdeBufferBytes] = {};
    const bool fits = ExecuteTextFits(text);
    if (fits) std::memcpy(command, text.data(), text.size());

    int index = -1;
    char name[kDdeBufferBytes] = {};
    std::size_t size = sizeof name;
    if (!fits || !ParseDdeExecute(command, index, name, size)) {
        platform::MessageBox(nullptr, "Invalid Execute Command", kMainTitle, platform::MB_OK);
        return;
    }
    RunCommand(app, index, name);
}

}  // namespace

namespace orbiscope {

std::string DdeMessage(std::string_view service, std::string_view topic, std::string_view execute)
{
    std::string line(kMarker);
    line += service;
    line += '\t';
    line += topic;
    line += '\t';
    line += execute;
    return line;
}

bool IsDdeMessage(std::string_view line) { return line.substr(0, kMarker.size()) == kMarker; }

std::optional<DdeConversation> ParseDdeMessage(std::string_view line)
{
    if (!IsDdeMessage(line)) return std::nullopt;
    line.remove_prefix(kMarker.size());
    const std::size_t first = line.find('\t');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = line.find('\t', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    DdeConversation c;
    c.service = line.substr(0, first);
    c.topic = line.substr(first + 1, second - first - 1);
    c.execute = line.substr(second + 1);
    return c;
}

std::optional<DdeLaunch> TakeDdeLaunch(std::vector<std::string>& arguments)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const bool open = arguments[i] == "-ddeopen";
        const bool print = arguments[i] == "-ddeprint";
        if (!open && !print) continue;
        if (i + 1 >= arguments.size()) {
            arguments.erase(arguments.begin() + std::ptrdiff_t(i));
            return std::nullopt;
        }
        DdeLaunch launch;
        launch.print = print;
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(arguments[i + 1], ec);
        launch.file = ec ? arguments[i + 1] : absolute.string();
        arguments.erase(arguments.begin() + std::ptrdiff_t(i), arguments.begin() + std::ptrdiff_t(i + 2));
        return launch;
    }
    return std::nullopt;
}

std::string DdeLaunchExecute(const DdeLaunch& launch, bool startedForIt)
{
    return (launch.print && startedForIt ? "[Print(" : "[Open(") + launch.file + ")]";
}

std::string HandOverProblem(const DdeLaunch& launch)
{
    const std::string reason = " cannot be handed to the running Orbiscope";
    // One conversation is one line.
    if (launch.file.find_first_of("\r\n") != std::string::npos) return "a name with a line break" + reason;
    // The running program reads the name up to the first ")]": the rest
    // would be lost, and another file opened.
    if (launch.file.find(")]") != std::string::npos) return "a name holding \")]\"" + reason;
    const std::string execute = DdeLaunchExecute(launch, false);
    if (!ExecuteTextFits(execute)) {
        const std::size_t longest = kDdeBufferBytes - 1 - (execute.size() - launch.file.size());
        return "a name longer than " + std::to_string(longest) + " bytes" + reason;
    }
    return {};
}

platform::HandOver SendDdeLaunch(const DdeLaunch& launch, int connectMs, int answerMs)
{
    if (std::string problem = HandOverProblem(launch); !problem.empty())
        return {platform::HandOver::Result::Refused, std::move(problem)};
    const std::string line = DdeMessage(kDdeService, kDdeTopic, DdeLaunchExecute(launch, false));
    return platform::SingleInstance(QString::fromLatin1(kMainTitle)).SendToPrimary(line, connectMs, answerMs);
}

void RunDdeLaunch(TOrbiscope& app, const DdeLaunch& launch)
{
    // Run as its command, not through the execute text: the program's own
    // file need not fit that buffer, nor stop at the first ")]".
    if (app.DdeInstance != 0) RunCommand(app, launch.print ? kDdePrint : kDdeOpen, launch.file.c_str());
}

}  // namespace orbiscope

bool ParseDdeExecute(const char* text, int& commandIndex, char* fileName, std::size_t& size)
{
    commandIndex = -1;
    if (!text || text[0] != '[') return false;
    const char* after = text + 1;
    int index = -1;
    const char* start = nullptr;
    if (StartsWithNoCase(after, "Open(")) {
        index = kDdeOpen;
        start = after + 5;
    } else if (StartsWithNoCase(after, "Print(")) {
        index = kDdePrint;
        start = after + 6;
    } else {
        return false;
    }
    const char* end = start;
    while (*end && !(end[0] == ')' && end[1] == ']')) ++end;
    if (!*end) return false;

    commandIndex = index;
    const std::size_t length = std::size_t(end - start);
    const std::size_t copied = (fileName && size > 0) ? std::min(length, size - 1) : 0;
    if (fileName && size > 0) {
        std::memcpy(fileName, start, copied);
        fileName[copied] = '\0';
    }
    size = copied;
    return true;
}

bool TOrbiscope::InitDdeServer()
{
    // The transport is the single-instance socket, which the first instance
    // opens; here the server only takes its names.
    DdeServiceHandle = kDdeService;
    DdeTopicHandle = kDdeTopic;
    DdeInstance = 1;
    return true;
}

void TOrbiscope::ShutdownDdeServer()
{
    DdeServiceHandle.clear();
    DdeTopicHandle.clear();
    DdeInstance = 0;
}

std::uintptr_t TOrbiscope::DdeServerCallback(DdeTransaction type, unsigned format, std::uintptr_t conversation,
                                             std::string_view string1, std::string_view string2,
                                             std::string_view data, std::uintptr_t data1, std::uintptr_t data2)
{
    (void)format, (void)conversation, (void)data1, (void)data2;
    TOrbiscope* app = Current();
    if (!app) return 0;
    switch (type) {
    case DdeTransaction::Connect:
        return app->DdeInstance != 0 && SameDdeString(string2, app->DdeServiceHandle) &&
               SameDdeString(string1, app->DdeTopicHandle);
    case DdeTransaction::Execute:
        ExecuteCommand(*app, data);
        return 0;
    case DdeTransaction::Error:
        platform::MessageBox(nullptr, "DDEML Error Encountered in CallBack", kMainTitle, platform::MB_OK);
        return 0;
    case DdeTransaction::WildConnect:
    case DdeTransaction::Disconnect:
    case DdeTransaction::Other:
        return 0;
    }
    return 0;
}

void TOrbiscope::ReceiveDdeMessage(std::string_view line)
{
    if (DdeInstance == 0) return;
    static std::uintptr_t conversations = 0;
    const std::optional<DdeConversation> c = ParseDdeMessage(line);
    if (!c) {
        DdeServerCallback(DdeTransaction::Error, 0, 0, {}, {}, {}, 0, 0);
        return;
    }
    // A connect without a service or topic names no server: a wildcard one.
    const DdeTransaction connect =
        (c->service.empty() || c->topic.empty()) ? DdeTransaction::WildConnect : DdeTransaction::Connect;
    if (!DdeServerCallback(connect, 0, 0, c->topic, c->service, {}, 0, 0)) return;
    const std::uintptr_t conversation = ++conversations;
    DdeServerCallback(DdeTransaction::Execute, 0, conversation, c->topic, {}, c->execute, 0, 0);
    DdeServerCallback(DdeTransaction::Disconnect, 0, conversation, {}, {}, {}, 0, 0);
}
