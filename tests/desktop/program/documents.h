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

#include "tests/desktop/program/installed_program.h"

class TMyWindow;
namespace platform {
class MdiChild;
}

namespace wholeprogram {

struct SampleDocument {
    int windowType = 0;
    std::filesystem::path path;
};

class Documents {
public:
    explicit Documents(InstalledProgram& program);

    // One file of every document type the program opens.
    const std::vector<SampleDocument>& Files() const { return files_; }
    // What could not be written or copied, one line each.
    const std::vector<std::string>& Problems() const { return problems_; }

    // Opens a window of the type (from its document where it has one) and
    // leaves it active; null when it could not be made.
    platform::MdiChild* OpenWindow(int windowType);

private:
    void AddDataFile(int windowType, const std::filesystem::path& source, const char* name);
    platform::MdiChild* NewWindowFromCommand(int command);

    InstalledProgram& program_;
    std::vector<SampleDocument> files_;
    std::vector<std::string> problems_;
};

}  // namespace wholeprogram
