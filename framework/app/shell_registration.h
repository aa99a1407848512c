// Registration of the document types with the desktop, and the command line
// option that removes it.
//
// The desktop's document classes are a desktop entry and one shared-mime-info
// package per class in the user's data folder:
//   applications/orbiscope.desktop      the program; its Exec is the open
//                                       verb ("-ddeopen FILE"), its action
//                                       "Print" the print verb ("-ddeprint FILE")
//   mime/packages/Orbiscope.Doc.N.xml   class N: one mime type whose glob is
//                                       the class's extension
// The two verbs reach a running program through its DDE server (dde.h).
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orbiscope {

// The registered document classes, in registration order.  The class number
// names the class ("Orbiscope.Doc.N") and its mime type.
struct DocClass {
    int number;
    const char* extension;    // with the dot
    const char* description;
};
const std::vector<DocClass>& DocClasses();

std::string DocClassName(int classNumber);      // "Orbiscope.Doc.N"
std::string DocClassMimeType(int classNumber);  // "application/x-orbiscope-doc-N"

// The user's data folder: XDG_DATA_HOME when it holds an absolute path, else
// .local/share in an absolute home; empty (nothing is registered) when there
// is neither.  Tests set a folder of their own.
std::filesystem::path ShellDataFolder();
void SetShellDataFolder(const std::filesystem::path& folder);  // empty: the default
std::filesystem::path DesktopEntryPath();
std::filesystem::path MimePackagePath(int classNumber);

// The files' contents.  The desktop entry is empty when the program's path
// cannot be written into one (a line break in it).
std::string DesktopEntryText(const std::string& programPath);
std::string MimePackageText(int classNumber, const char* extension);

// After the files changed, the desktop rebuilds its caches (the default runs
// update-mime-database and update-desktop-database when they are installed,
// and waits a few seconds at most for each).
using ShellCacheUpdater = std::function<void(const std::filesystem::path& dataFolder)>;
void SetShellCacheUpdater(ShellCacheUpdater updater);  // empty: the default

// The command line: each argument is a name, or an option introduced by "-"
// or "/" whose text ends at "=" or ":", where its value begins.
struct CmdLineToken {
    enum Kind { Name, Option, Value };
    Kind kind;
    std::string text;
};
std::vector<CmdLineToken> TokenizeCommandLine(const std::vector<std::string>& arguments);
// Whether an option's text, compared over its own length without regard to
// case, is the start of "unregister".  An empty option matches nothing.
bool IsUnregisterOption(std::string_view optionText);

}  // namespace orbiscope
