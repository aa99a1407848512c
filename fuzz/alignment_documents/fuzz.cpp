// Any bytes as a look-angle and as a dual-feed document: the readers refuse
// them or fill a record, and a record that reads is calculated and reported
// to the end, whatever its texts hold.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "pointing/alignment/alignment_reports.h"

namespace {

std::string ScratchFile()
{
    return (std::filesystem::temp_directory_path() / ("orbiscope-fuzz-align-" + std::to_string(::getpid()))).string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = ScratchFile();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    std::string text;
    std::int32_t lines = 0;
    ReportWriter line(text, lines);
    LookAngleInputRecord angle;
    if (ReadLookAngleDocument(path.c_str(), angle)) {
        const AlignmentInputs in = ParseLookAngleRecord(angle);
        WriteAlignmentReport(line, {}, angle, in, ComputeAlignment(in));
    }
    DualFeedInputRecord dual;
    if (ReadDualFeedDocument(path.c_str(), dual))
        WriteDualFeedReport(line, {}, dual, ComputeDualFeed(ParseDualFeedRecord(dual)));
    std::remove(path.c_str());
    return 0;
}
