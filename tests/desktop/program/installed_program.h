// The whole program as a user has it, in one test process: a program folder
// of its own (the ITU-R maps, the time-zone picture and the help pages of the
// build, copies of the country files and "satlist.geo"), a home of its own
// (configuration, desktop entries, the runtime socket), every subsystem
// registered as the program's entry registers it, and the frame set up as at
// start-up, maps loaded.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/app/orbiscope.h"
#include "tests/platform/file_support.h"

namespace wholeprogram {

class InstalledProgram {
public:
    InstalledProgram();
    ~InstalledProgram();
    InstalledProgram(const InstalledProgram&) = delete;
    InstalledProgram& operator=(const InstalledProgram&) = delete;

    TOrbiscope& App() const { return *app_; }
    std::filesystem::path ProgramDir() const { return root_.Path() / "program"; }
    // Where the walk's documents and exports are written.
    std::filesystem::path Documents() const { return root_.Path() / "documents"; }
    // The build folder the program's data comes from.
    static std::filesystem::path BuildDir();

private:
    void SetEnvironment(const char* name, const std::filesystem::path& value);

    testfiles::TempFolder root_;
    std::vector<std::pair<std::string, std::optional<std::string>>> savedEnvironment_;
    std::unique_ptr<TOrbiscope> app_;
};

// Lets the program do what it posted (a new window's edit command) and
// delete the windows that closed.
void SettleEvents();

}  // namespace wholeprogram
