// Look angles, magnetic azimuth and the inclined-orbit window against
// calculations made independently of the program's formulas.
//
// Reference geometry (outside the program): the site on a sphere of radius
// 6378.14 km, the satellite at 42164.57 km from the centre; d = satellite -
// site as vectors; elevation = asin(d.up/|d|), azimuth = atan2(d.east,
// d.north), range = |d|; then the ITU-R P.834 refraction at sea level,
// 1 / (1.728 + 0.5411 e + 0.03723 e^2), added to the elevation.
// Worked by hand for Madrid (40.42N 3.70W) and a satellite at 30.0W:
//   dl = 26.30 deg, cos g = cos 40.42 cos 26.30 = 0.682506, g = 46.9602 deg
//   e = atan((0.682506 - 6378.14/42164.57) / sin g) = 36.0114 deg
//   refraction 1 / (1.728 + 19.4858 + 48.2805) = 0.01439 deg -> 36.0258 deg
//   azimuth 180 + atan(tan 26.30 / sin 40.42) = 217.3164 deg
//   range sqrt(R^2 + r^2 - 2 R r cos g) = 38097.73 km
// Declination: WMM2025 synthesised from the published coefficient file in
// double precision (geodetic to geocentric, Schmidt semi-normalised Legendre
// functions), at 0 km and 2026 + 74/365; that synthesis reproduces every
// official WMM2025 test value to 2e-6 deg.
#include "pointing/alignment/look_angles.h"

#include <cmath>

#include "alignment_fixtures.h"

namespace {

constexpr double kAngleTolerance = 0.001;      // degrees, geometry
constexpr double kRangeTolerance = 0.01;       // km
constexpr double kMagneticTolerance = 0.01;    // degrees: the model runs in 32-bit floats

struct LookCase {
    const char* what;
    double siteLatitude, siteLongitude, satelliteLongitude;
    double elevation, trueAzimuth, rangeKm, declination;
};

const LookCase kLookCases[] = {
    {"Madrid, 30.0W", 40.42, -3.70, -30.0, 36.02581, 217.31639, 38097.7286, 0.57756},
    {"London, 28.2E", 51.51, -0.13, 28.2, 25.38776, 145.44168, 39036.7944, 1.11048},
    {"London, 13.0E", 51.51, -0.13, 13.0, 29.78275, 163.40529, 38633.2616, 1.11048},
    {"Sydney, 151.2E (just west of north)", -33.87, 151.21, 151.2, 50.63103, 359.98206, 37039.7311, 12.81510},
    {"Sydney, 148.0E", -33.87, 151.21, 148.0, 50.47960, 354.25351, 37049.1885, 12.81510},
    {"Sydney, 154.0E", -33.87, 151.21, 154.0, 50.51658, 4.99744, 37046.8762, 12.81510},
};

class LookAngles : public aligntest::FixedDate {};

TEST_F(LookAngles, AgreeWithTheVectorGeometryAndTheMagneticModel)
{
    for (const LookCase& c : kLookCases) {
        SCOPED_TRACE(c.what);
        const SiteLookAngles a = LookAnglesFrom(c.siteLatitude, c.siteLongitude, c.satelliteLongitude);
        EXPECT_NEAR(a.elevation, c.elevation, kAngleTolerance);
        EXPECT_NEAR(a.trueAzimuth, c.trueAzimuth, kAngleTolerance);
        EXPECT_NEAR(a.pathKm, c.rangeKm, kRangeTolerance);
        EXPECT_NEAR(a.magneticDeclination, c.declination, kMagneticTolerance);
        // magnetic azimuth = true azimuth - declination, on the compass
        double expected = c.trueAzimuth - c.declination;
        if (expected < 0.0) expected += 360.0;
        EXPECT_NEAR(a.magneticAzimuth, expected, kMagneticTolerance);
    }
}

TEST_F(LookAngles, PolarizationCantShiftsTheOffsetOnly)
{
    const SiteLookAngles plain = LookAnglesFrom(40.42, -3.70, -30.0, 0.0);
    const SiteLookAngles canted = LookAnglesFrom(40.42, -3.70, -30.0, 5.0);
    EXPECT_NEAR(canted.polarizationOffset, plain.polarizationOffset - 5.0, 1e-12);
    EXPECT_EQ(canted.elevation, plain.elevation);
}

// The largest east-west swing of a geosynchronous satellite's sub-point,
// found by following the orbit: at argument of latitude u the point lies at
// longitude atan2(cos i sin u, cos u) - u from its slot.
double SweptExcursion(double inclination)
{
    const double i = inclination * M_PI / 180.0;
    double largest = 0.0;
    for (int k = 0; k <= 900000; ++k) {
        const double u = k * (0.5 * M_PI / 900000.0);
        largest = std::max(largest, std::fabs(std::atan2(std::cos(i) * std::sin(u), std::cos(u)) - u));
    }
    return largest * 180.0 / M_PI;
}

TEST(InclinedOrbit, LongitudeExcursionIsTheLargestSwingOfTheOrbit)
{
    for (double inclination : {0.5, 2.5, 3.0, 9.0, 20.0, -20.0}) {
        SCOPED_TRACE(inclination);
        EXPECT_NEAR(LongitudeExcursion(inclination), SweptExcursion(inclination), 1e-6);
    }
    EXPECT_EQ(LongitudeExcursion(0.0), 0.0);
}

// Corners of the figure eight: (slot +/- excursion, +/- inclination), each
// seen by the vector geometry above with the satellite at that latitude.
struct WindowCase {
    const char* what;
    double siteLatitude, siteLongitude, satelliteLongitude, inclination;
    double minAzimuth, maxAzimuth, minElevation, maxElevation;
};

const WindowCase kWindowCases[] = {
    // excursion 0.027279: corners el 38.46917 / 38.44034 / 33.60042 / 33.57391,
    // az 218.92089 / 218.98884 / 215.76001 / 215.82448
    {"Madrid, 30.0W, 2.5 deg", 40.42, -3.70, -30.0, 2.5, 215.76001, 218.98884, 33.57391, 38.46917},
    // excursion 0.039288: corners el 47.24379 / 47.24377 / 54.04013 / 54.04010,
    // az 0.04875 / 359.91797 / 0.05700 / 359.90407: the window crosses north
    // and runs from 359.904 clockwise to 0.057
    {"Sydney, 151.2E, 3 deg, across north", -33.87, 151.21, 151.2, 3.0, 359.90407, 0.05700, 47.24377, 54.04013},
    {"Sydney, 151.2E, -3 deg", -33.87, 151.21, 151.2, -3.0, 359.90407, 0.05700, 47.24377, 54.04013},
};

TEST(InclinedOrbit, WindowHoldsTheCornersOfTheFigureEight)
{
    for (const WindowCase& c : kWindowCases) {
        SCOPED_TRACE(c.what);
        const InclinedOrbitWindow w =
            InclinedOrbitWindowFor(c.siteLatitude, c.siteLongitude, c.satelliteLongitude, c.inclination);
        EXPECT_NEAR(w.minAzimuth, c.minAzimuth, kAngleTolerance);
        EXPECT_NEAR(w.maxAzimuth, c.maxAzimuth, kAngleTolerance);
        EXPECT_NEAR(w.minElevation, c.minElevation, kAngleTolerance);
        EXPECT_NEAR(w.maxElevation, c.maxElevation, kAngleTolerance);
        EXPECT_NEAR(w.sliceBounds[0], c.minElevation, kAngleTolerance);
        EXPECT_NEAR(w.sliceBounds[InclinedOrbitWindow::kSliceCount], c.maxElevation, kAngleTolerance);
    }
}

TEST(InclinedOrbit, OnlyAnInclinedOrbitGetsAWindow)
{
    AlignmentInputs in;
    in.siteLatitude = 40.42;
    in.siteLongitude = -3.70;
    in.satelliteLongitude = -30.0;
    EXPECT_FALSE(ComputeAlignment(in).inclined);
    in.inclination = -0.1;
    EXPECT_TRUE(ComputeAlignment(in).inclined);
}

TEST(LookAngleRecord, TextsAreReadAsTheFormTypesThem)
{
    LookAngleInputRecord r = NewLookAngleRecord();
    PutText(r.siteLatitude, "33.87S");
    PutText(r.siteLongitude, "151.21E");
    PutText(r.satelliteLongitude, "30.0W");
    PutText(r.inclination, "-2.5");
    PutText(r.polarizationCant, "+12");
    const AlignmentInputs in = ParseLookAngleRecord(r);
    EXPECT_DOUBLE_EQ(in.siteLatitude, -33.87);
    EXPECT_DOUBLE_EQ(in.siteLongitude, 151.21);
    EXPECT_DOUBLE_EQ(in.satelliteLongitude, -30.0);
    EXPECT_DOUBLE_EQ(in.inclination, -2.5);
    EXPECT_DOUBLE_EQ(in.polarizationCant, 12.0);
    EXPECT_DOUBLE_EQ(in.offsetFocusAngle, 0.0);
}

struct TurnCase { double from, to, turn; };

TEST(AzimuthTurn, ShorterWayRoundAcrossNorth)
{
    const TurnCase cases[] = {
        {354.25, 4.99, 10.74},     // clockwise across north
        {4.99, 354.25, -10.74},
        {145.44, 163.41, 17.97},
        {359.9, 0.1, 0.2},
        {90.0, 90.0, 0.0},
    };
    for (const TurnCase& c : cases) EXPECT_NEAR(AzimuthTurn(c.from, c.to), c.turn, 1e-9) << c.from << " " << c.to;
    EXPECT_NEAR(std::fabs(AzimuthTurn(0.0, 180.0)), 180.0, 1e-12);
}

}  // namespace
