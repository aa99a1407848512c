// How each subsystem plugs its windows and commands into the MDI client.
//
// The window-type table (type -> title, icon, extensions, edit command, File
// Open filter index) is fixed here; a subsystem's registration function,
// called from main, adds the constructor of each of its document window
// classes and the handlers of its Graph, Table, Map and Calculate commands.
// A command whose subsystem has registered nothing opens and shows nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TMyWindow;
class TOrbiscopeMDIClient;

namespace orbiscope {

// The window types whose windows the Map, Table and Graph commands make.
inline constexpr int kBitmapWindowType = 1;
inline constexpr int kTableWindowType = 2;
inline constexpr int kGraphWindowType = 3;

struct WindowTypeInfo {
    int type = 0;
    const char* className = "";
    const char* childTitle = "";
    int icon = 0;
    std::vector<std::string> extensions;  // with the dot, lower case
    bool takesFileName = false;
    int editCommand = 0;                  // 0: none
    int filterIndex = 0;                  // File Open filter entry, 0: unchanged
};

// The fixed table of window types 1..17 (9, 12 and 13 are unused).
const std::vector<WindowTypeInfo>& WindowTypes();
const WindowTypeInfo* FindWindowType(int type);
// The type whose extensions hold `extension` (with the dot), ignoring case.
const WindowTypeInfo* FindWindowTypeByExtension(const std::string& extension);

// Builds a document window; fileName is null for an empty window.
using WindowFactory = std::function<TMyWindow*(const char* fileName)>;
void RegisterWindowFactory(int windowType, WindowFactory factory);
const WindowFactory* FindWindowFactory(int windowType);

// Fills a new Graph, Table or Bitmap window for a menu command.  `argument`
// is the bitmap resource for the Map pictures (87, 99, 89, 88), 0 or 1 for
// the circular and rectangular aperture patterns, else the command id.  A
// builder whose form is cancelled calls the window's CloseWindow(0); the
// client closes the window, without asking, as soon as the builder returns.
using WindowBuilder = std::function<void(TMyWindow& window, int argument)>;
void RegisterWindowBuilder(int commandId, WindowBuilder builder);
const WindowBuilder* FindWindowBuilder(int commandId);

// Runs a calculator or batch form modally on the client's zero-filled and
// seeded buffer of the form's stored-record size.
using CalculatorRunner = std::function<void(TOrbiscopeMDIClient& client, std::uint8_t* buffer, std::size_t size)>;
void RegisterCalculator(int commandId, CalculatorRunner runner);
const CalculatorRunner* FindCalculator(int commandId);

// Other client commands filled in by later parts of the framework (Setup,
// Print Preview, Page Setup).
using ClientCommand = std::function<void(TOrbiscopeMDIClient& client)>;
void RegisterClientCommand(int commandId, ClientCommand handler);
const ClientCommand* FindClientCommand(int commandId);

// The Calculate menu's forms: dialog resource, buffer bytes and the words set
// to 1 (and texts) before the form runs.
struct CalculatorInfo {
    int command;
    const char* form;
    int dialog;
    int bufferBytes;
    int storedRecord;                 // 1-based record of the stored dialog values
    std::vector<int> wordSeeds;       // byte offsets of 16-bit words set to 1
    int textSeedOffset = -1;          // where textSeed is copied, -1: none
    const char* textSeed = "";
};
const std::vector<CalculatorInfo>& Calculators();
const CalculatorInfo* FindCalculatorInfo(int command);

// Forgets every registration (tests).
void ClearRegistrations();

// The framework's own windows and commands (called from main like the other
// subsystems' registration functions).
void RegisterFrameworkSubsystem();

}  // namespace orbiscope
