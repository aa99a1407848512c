// Any bytes as a look-angle and as a dual-feed document: the readers refuse
// them or fill a record, and a record that reads is calculated and reported
// to the end, whatever its texts hold.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "pointing/alignment/alignment_reports.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::InputFileRemover scratch{fuzzsupport::InputPath("input.ang")};
    const std::string path = scratch.path.string();
    if (!fuzzsupport::WriteInput(scratch.path, data, size)) return 0;
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
    return 0;
}
