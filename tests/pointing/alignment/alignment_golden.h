// The reports of three cases, whole, as the program writes them on
// Sunday 15 March 2026 for "Orbiscope Test Bench"; alignment_reports_test.cpp
// says how they were checked.
#pragma once

namespace aligntest {

inline constexpr const char* kMadridReport = R"(Antenna Alignment
Orbiscope Test Bench~
Sunday 15 March 2026
 
Site name	Madrid, Spain
Satellite name	Hispasat 30W
 
Input Parameters	Value	Units~
Site latitude	40.42N	degrees
Site longitude	3.70W	degrees
Satellite longitude	30.00W	degrees
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

inline constexpr const char* kSydneyReport = R"(Antenna Alignment
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

inline constexpr const char* kSydneyDualReport = R"(Dual Feed Spacing
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

}  // namespace aligntest
