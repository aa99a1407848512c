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

namespace {

const ReportHeading kHeading{"Orbiscope Test Bench", "Sunday 15 March 2026"};

const char* const kMadridReport = R"(Antenna Alignment
Orbiscope Test Bench~
Sunday 15 March 2026
 
Site name	Madrid, Spain
Satellite name	Hispasat 30W
 
Input Parameters	Value	Units~
Site latitude	40.42N	degrees
Site longitude	3.70W	degrees
Satellite longitude	30.0W	degrees
Inclination	2.5	degrees
Spot beam polarization cant	5	degrees
Antenna offset focus angle	22.3	degrees
 
Satellite Look Angles	Value	Units~
Elevation	36.03	degrees
True azimuth	217.32	degrees
Azimuth compass bearing	216.74	degrees
Polarization offset	22.66	degrees
Path distance to satellite	38097.73	km
 
Offset Focus Elevation (fixed)	Value	Units~
Elevation - offset	13.73	degrees
Elevation + offset	58.33	degrees
Elevation + offset + 90	148.33	degrees
 
Modified Polar Mount Settings	Value	Units~
Polar axis	41.11	degrees
Polar elevation	48.89	degrees
Declination offset	5.64	degrees
Apex declination	46.75	degrees
Apex elevation	43.25	degrees
 
Inclined Orbit Window~
Minimum azimuth	215.760	degrees
Maximum azimuth	218.989	degrees
Minimum elevation	33.574	degrees
Maximum elevation	38.469	degrees
 
Elevation (20% time slice)	Midpoint	#
33.574 - 34.553	34.063	degrees
34.553 - 35.532	35.042	degrees
35.532 - 36.511	36.022	degrees
36.511 - 37.490	37.001	degrees
37.490 - 38.469	37.980	degrees
)";

const char* const kSydneyReport = R"(Antenna Alignment
Orbiscope Test Bench~
Sunday 15 March 2026
 
Site name	Sydney, Australia
Satellite name	Testsat 151.2E
 
Input Parameters	Value	Units~
Site latitude	33.87S	degrees
Site longitude	151.21E	degrees
Satellite longitude	151.2E	degrees
Inclination	3	degrees
Spot beam polarization cant	0	degrees
Antenna offset focus angle	0	degrees
 
Satellite Look Angles	Value	Units~
Elevation	50.63	degrees
True azimuth	359.98	degrees
Azimuth compass bearing	347.17	degrees
Polarization offset	-0.01	degrees
Path distance to satellite	37039.73	km
 
Modified Polar Mount Settings	Value	Units~
Polar axis	34.52	degrees
Polar elevation	55.48	degrees
Declination offset	4.86	degrees
Apex declination	39.38	degrees
Apex elevation	50.62	degrees
 
Inclined Orbit Window~
Minimum azimuth	359.904	degrees
Maximum azimuth	0.057	degrees
Minimum elevation	47.244	degrees
Maximum elevation	54.040	degrees
 
Elevation (20% time slice)	Midpoint	#
47.244 - 48.603	47.923	degrees
48.603 - 49.962	49.283	degrees
49.962 - 51.322	50.642	degrees
51.322 - 52.681	52.001	degrees
52.681 - 54.040	53.360	degrees
)";

const char* const kLondonDualReport = R"(Dual Feed Spacing
Orbiscope Test Bench~
Sunday 15 March 2026
 
Site name	London, United Kingdom
Primary satellite name	Astra 2E
Secondary satellite name	Hotbird 13E
 
Polarization Offset Notes~
(1) Polarization offset assumes vertical polarization plane is
transmitted perpendicular to the equator at sub satellite point.
(2) Rotation of feed is clockwise, for positive values, looking
from behind the antenna toward the satellite.
 
Angular Separation Notes:~
(1) Viewpoint is behind antenna looking toward boresight
(2) Negative values show secondary satellite is to the right, or below, boresight
 
Feed Spacing Notes:~
(1) Viewpoint is looking directly into antenna face
(2) Negative values indicate mounting to the left, or below, focal point
 
Input Parameters	Value	Units~
Site latitude	51.51N	degrees
Site longitude	0.13W	degrees
Primary satellite longitude	28.2E	degrees
Secondary satellite longitude	13.0E	degrees
Antenna aperture	0.9	metres
Antenna gain  efficiency (boresight)	65	% (+ prefix dBi)
Frequency	11.7	GHz
Antenna f / D ratio	0.6	-
Beamfactor	0.9	-
 
Primary Satellite Look Angles	Value	Units~
Elevation	25.39	degrees
True azimuth	145.44	degrees
Azimuth compass bearing	144.33	degrees
Path distance to satellite	39036.79	km
Polarization offset (primary satellite)	-20.85	degrees
 
Secondary Satellite Look Angles	Value	Units~
Elevation	29.78	degrees
True azimuth	163.41	degrees
Azimuth compass bearing	162.29	degrees
Path distance to satellite	38633.26	km
Polarization offset (secondary satellite)	-10.33	degrees
 
Dual Feed Results	Value	Units~
Relative separation angle to secondary satellite	-16.50	degrees
Horizontal component	-15.90	degrees
Vertical component	4.39	degrees
 
Secondary feed offset from focal point	0.1781	metres
Horizontal component	0.1720	metres
Vertical component	-0.0461	metres
 
Antenna -3dB beamwidth	1.99	degrees
Focal Distance	0.5400	metres
Squint to secondary satellite	7.98	beamwidths
Boresight gain (primary satellite)	38.98	dBi
Antenna squint gain loss	1.80	dB
Antenna squint gain	37.18	dBi
Antenna squint efficiency	42.94	%
)";

const char* const kSydneyDualReport = R"(Dual Feed Spacing
Orbiscope Test Bench~
Sunday 15 March 2026
 
Site name	Sydney, Australia
Primary satellite name	Testsat 148E
Secondary satellite name	Testsat 154E
 
Polarization Offset Notes~
(1) Polarization offset assumes vertical polarization plane is
transmitted perpendicular to the equator at sub satellite point.
(2) Rotation of feed is clockwise, for positive values, looking
from behind the antenna toward the satellite.
 
Angular Separation Notes:~
(1) Viewpoint is behind antenna looking toward boresight
(2) Negative values show secondary satellite is to the right, or below, boresight
 
Feed Spacing Notes:~
(1) Viewpoint is looking directly into antenna face
(2) Negative values indicate mounting to the left, or below, focal point
 
Input Parameters	Value	Units~
Site latitude	33.87S	degrees
Site longitude	151.21E	degrees
Primary satellite longitude	148.0E	degrees
Secondary satellite longitude	154.0E	degrees
Antenna aperture	1.2	metres
Antenna gain  efficiency (boresight)	+38.5	% (+ prefix dBi)
Frequency	12.5	GHz
Antenna f / D ratio	0.45	-
Beamfactor	1.1	-
 
Primary Satellite Look Angles	Value	Units~
Elevation	50.48	degrees
True azimuth	354.25	degrees
Azimuth compass bearing	341.44	degrees
Path distance to satellite	37049.19	km
Polarization offset (primary satellite)	-4.79	degrees
 
Secondary Satellite Look Angles	Value	Units~
Elevation	50.52	degrees
True azimuth	5.00	degrees
Azimuth compass bearing	352.18	degrees
Path distance to satellite	37046.88	km
Polarization offset (secondary satellite)	4.17	degrees
 
Dual Feed Results	Value	Units~
Relative separation angle to secondary satellite	-6.83	degrees
Horizontal component	-6.83	degrees
Vertical component	0.04	degrees
 
Secondary feed offset from focal point	0.0587	metres
Horizontal component	0.0587	metres
Vertical component	-0.0003	metres
 
Antenna -3dB beamwidth	1.40	degrees
Focal Distance	0.5400	metres
Squint to secondary satellite	4.88	beamwidths
Boresight gain (primary satellite)	38.50	dBi
Antenna squint gain loss	2.00	dB
Antenna squint gain	36.50	dBi
Antenna squint efficiency	18.09	%
)";

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
    {"northern site, offset dish, inclined orbit", "Madrid, Spain", "Hispasat 30W", "40.42N", "3.70W", "30.0W",
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
