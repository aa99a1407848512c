// One document of every type the program reads, and one window of every
// window type, made the way a user makes them: the calculation documents by
// File > New with the input dialog accepted as it stands and File > Save As;
// the TLE file, the town and satellite lists and the pictures from the data
// the build lays out and the image corpora; tables and graphs from their
// menu commands with their forms accepted.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/desktop/program/dialog_walk.h"
#include "tests/desktop/program/installed_program.h"

class TMyWindow;
namespace platform {
class MdiChild;
}

namespace wholeprogram {

struct DocumentFile {
    int windowType = 0;
    std::filesystem::path path;
};

class Documents {
public:
    Documents(InstalledProgram& program, DialogWalk& dialogs);

    // Every document type the program opens, written once (closed again).
    const std::vector<DocumentFile>& Files() const { return files_; }
    // What could not be made, one line each (a test reports them).
    const std::vector<std::string>& Problems() const { return problems_; }
    // The window types that have a window class in this build.
    static std::vector<int> BuiltWindowTypes();

    // Opens a window of the type (from its document where it has one) and
    // leaves it active; null when it could not be made.
    platform::MdiChild* OpenWindow(int windowType);

private:
    void WriteCalculationDocument(int windowType, int newCommand, const char* name);
    void AddDataFile(int windowType, const std::filesystem::path& source, const char* name);
    platform::MdiChild* NewWindowFromCommand(int command);

    InstalledProgram& program_;
    DialogWalk& dialogs_;
    std::vector<DocumentFile> files_;
    std::vector<std::string> problems_;
};

}  // namespace wholeprogram
