// The look-angle and dual-feed reports whole, for a northern and a southern
// site, on a fixed date (the magnetic declination depends on it).  The texts
// below were checked line by line against the reports' layout, and their
// numbers against look_angles_test.cpp and dual_feed_test.cpp: Madrid's
// elevation 36.03, azimuth 217.32, compass 217.32 - 0.58 = 216.74, range
// 38097.73 km, window 215.760..218.989 / 33.574..38.469; Sydney's window
// across north 359.904..0.057; London's spacing -16.50 / -15.90 / 4.39 with
// the feed at 0.1720 / -0.0461 m and 1.80 dB of squint loss; and Sydney's
// secondary 10.7 degrees clockwise across north, so to the right (-6.83).
#include "pointing/alignment/alignment_reports.h"

#include "alignment_fixtures.h"
#include "alignment_golden.h"

namespace {

using namespace aligntest;

const ReportHeading kHeading{"Orbiscope Test Bench", "Sunday 15 March 2026"};

struct AlignmentCase {
    const char* what;
    const char* site;
    const char* satellite;
    const char* latitude;
    const char* longitude;
    const char* slot;
    const char* inclination;
    const char* cant;
    const char* offset;
    const char* report;
};

const AlignmentCase kAlignmentCases[] = {
    {"northern site, offset dish, inclined orbit", "Madrid, Spain", "Hispasat 30W", "40.42N", "3.70W", "30.00W",
     "2.5", "5", "22.3", kMadridReport},
    {"southern site, satellite near north, inclined orbit", "Sydney, Australia", "Testsat 151.2E", "33.87S",
     "151.21E", "151.2E", "3", "0", "0", kSydneyReport},
};

class Reports : public aligntest::FixedDate {};

TEST_F(Reports, LookAngles)
{
    for (const AlignmentCase& c : kAlignmentCases) {
        SCOPED_TRACE(c.what);
        LookAngleInputRecord r = NewLookAngleRecord();
        PutText(r.siteName, c.site);
        PutText(r.satelliteName, c.satellite);
        PutText(r.siteLatitude, c.latitude);
        PutText(r.siteLongitude, c.longitude);
        PutText(r.satelliteLongitude, c.slot);
        PutText(r.inclination, c.inclination);
        PutText(r.polarizationCant, c.cant);
        PutText(r.offsetFocusAngle, c.offset);
        std::string text;
        std::int32_t lines = 0;
        ReportWriter line(text, lines);
        const AlignmentInputs in = ParseLookAngleRecord(r);
        WriteAlignmentReport(line, kHeading, r, in, ComputeAlignment(in));
        EXPECT_EQ(text, c.report);
    }
}

struct DualCase {
    const char* what;
    const char* site;
    const char* primary;
    const char* secondary;
    const char* latitude;
    const char* longitude;
    const char* primarySlot;
    const char* secondarySlot;
    const char* aperture;
    const char* efficiency;
    const char* frequency;
    const char* fOverD;
    const char* beamfactor;
    const char* report;
};

const DualCase kDualCases[] = {
    {"northern site, efficiency in percent", "London, United Kingdom", "Astra 2E", "Hotbird 13E", "51.51N",
     "0.13W", "28.2E", "13.0E", "0.9", "65", "11.7", "0.6", "0.9", kLondonDualReport},
    {"southern site, satellites either side of north, gain in dBi", "Sydney, Australia", "Testsat 148E",
     "Testsat 154E", "33.87S", "151.21E", "148.0E", "154.0E", "1.2", "+38.5", "12.5", "0.45", "1.1",
     kSydneyDualReport},
};

TEST_F(Reports, DualFeed)
{
    for (const DualCase& c : kDualCases) {
        SCOPED_TRACE(c.what);
        DualFeedInputRecord r{};
        PutText(r.siteName, c.site);
        PutText(r.primaryName, c.primary);
        PutText(r.secondaryName, c.secondary);
        PutText(r.siteLatitude, c.latitude);
        PutText(r.siteLongitude, c.longitude);
        PutText(r.primaryLongitude, c.primarySlot);
        PutText(r.secondaryLongitude, c.secondarySlot);
        PutText(r.aperture, c.aperture);
        PutText(r.efficiency, c.efficiency);
        PutText(r.frequency, c.frequency);
        PutText(r.fOverD, c.fOverD);
        PutText(r.beamfactor, c.beamfactor);
        std::string text;
        std::int32_t lines = 0;
        ReportWriter line(text, lines);
        WriteDualFeedReport(line, kHeading, r, ComputeDualFeed(ParseDualFeedRecord(r)));
        EXPECT_EQ(text, c.report);
    }
}

}  // namespace
