// make_map_copies PROGRAM_DIR COPIES_DIR: parses the thirty ITU-R maps of a
// program directory once, into the copies the program keeps in its cache
// folder.  The tests' program starts read these copies rather than parse
// the texts each: an unoptimised or sanitized build parses for many seconds,
// and a test of a later start must not hang on that.  Ends non-zero, naming
// them, when maps fail to load: no copy is made of those.
#include <iostream>
#include <string>

#include "propagation/itu_maps.h"

namespace {
class Failures : public ItuMapLoadObserver {
public:
    void MapLoadFailed(const std::string& message) override { std::cerr << "make_map_copies: " << message << '\n'; }
};
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_map_copies PROGRAM_DIR COPIES_DIR\n";
        return 2;
    }
    Failures failures;
    const int failed = LoadItuMaps(argv[1], failures, argv[2]);
    FreeItuMaps();
    return failed == 0 ? 0 : 1;
}
