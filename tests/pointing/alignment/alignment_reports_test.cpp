// The look-angle and dual-feed reports whole, for a northern and a southern
// site, on a fixed date (the magnetic declination depends on it).  The texts
// in alignment_golden.h were checked line by line against the reports'
// layout, and their numbers against look_angles_test.cpp and
// dual_feed_test.cpp: Madrid's elevation 36.03, azimuth 217.32, compass
// 217.32 - 0.58 = 216.74, range 38097.73 km, window 215.760..218.989 /
// 33.574..38.469; Sydney's window across north 359.904..0.057; and Sydney's
// secondary satellite 10.7 degrees clockwise across north, so to the right
// (-6.83), with 2.00 dB of squint loss at 4.88 beamwidths.
#include "pointing/alignment/alignment_reports.h"

#include "alignment_fixtures.h"
#include "alignment_golden.h"

namespace {

using namespace aligntest;

const ReportHeading kHeading{"Orbiscope Test Bench", "Sunday 15 March 2026"};

class Reports : public FixedDate {};

TEST_F(Reports, LookAngles)
{
    const struct { const char* what; LookAngleInputRecord record; const char* report; } cases[] = {
        {"northern site, offset dish, inclined orbit", MadridRecord(), kMadridReport},
        {"southern site, satellite near north, prime focus", SydneyLookRecord(), kSydneyReport},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text;
        std::int32_t lines = 0;
        ReportWriter line(text, lines);
        const AlignmentInputs in = ParseLookAngleRecord(c.record);
        WriteAlignmentReport(line, kHeading, c.record, in, ComputeAlignment(in));
        EXPECT_EQ(text, c.report);
    }
}

TEST_F(Reports, SectionsOnlyWhenTheirAngleAsksForThem)
{
    LookAngleInputRecord r = MadridRecord();
    PutText(r.inclination, "0");
    PutText(r.offsetFocusAngle, "-10");
    std::string text;
    std::int32_t lines = 0;
    ReportWriter line(text, lines);
    const AlignmentInputs in = ParseLookAngleRecord(r);
    WriteAlignmentReport(line, kHeading, r, in, ComputeAlignment(in));
    EXPECT_EQ(text.find("Inclined Orbit Window~"), std::string::npos);
    EXPECT_EQ(text.find("Offset Focus Elevation"), std::string::npos);
    EXPECT_NE(text.find("Apex elevation\t43.25\tdegrees\n"), std::string::npos);
}

TEST_F(Reports, DualFeedAcrossNorth)
{
    std::string text;
    std::int32_t lines = 0;
    ReportWriter line(text, lines);
    const DualFeedInputRecord r = SydneyDualRecord();
    WriteDualFeedReport(line, kHeading, r, ComputeDualFeed(ParseDualFeedRecord(r)));
    EXPECT_EQ(text, kSydneyDualReport);
}

}  // namespace
