// Where the tests draw the pictures a person looks at: the build folder's
// "pictures", whatever folder a test binary was started from, so that no run
// writes into the sources.  scripts/update-docs.sh copies them into docs/.
#pragma once

#include <filesystem>
#include <string>

inline std::filesystem::path TestPicture(const std::string& name)
{
    const std::filesystem::path dir = ORBISCOPE_PICTURES_DIR;
    std::filesystem::create_directories(dir);
    return dir / name;
}
