// Dual-feed spacing: the separation of two satellites against the angle
// between the two site-to-satellite directions, the side the secondary lies
// on across north, the feed offsets, the gain and the scan-loss curves.
//
// Reference separations (outside the program): each satellite seen by the
// vector geometry of look_angles_test.cpp (elevation with refraction); the
// direction as the unit vector (cos e sin a, cos e cos a, sin e); the
// separation is the angle between the two vectors.  V = e2 - e1 and
// H = sqrt(S^2 - V^2) follow from it.
#include "pointing/alignment/dual_feed.h"

#include <cmath>
#include <limits>

#include "alignment_fixtures.h"

namespace {

constexpr double kAngleTolerance = 0.001;     // degrees
constexpr double kOffsetTolerance = 2e-5;     // metres
constexpr double kLossTolerance = 1e-12;      // dB, table arithmetic

struct SpacingCase {
    const char* what;
    double siteLatitude, siteLongitude, primaryLongitude, secondaryLongitude;
    double separation, horizontal, vertical;
};

const SpacingCase kSpacingCases[] = {
    // az 145.4417 -> 163.4053: the secondary is clockwise, to the right
    {"London, 28.2E then 13.0E", 51.51, -0.13, 28.2, 13.0, -16.49657, -15.90034, 4.39499},
    {"London, 13.0E then 28.2E", 51.51, -0.13, 13.0, 28.2, 16.49657, 15.90034, -4.39499},
    // az 354.2535 -> 4.9974: the secondary is 10.7 deg clockwise across north,
    // to the right, though the plain azimuth difference is -349.3
    {"Sydney, 148.0E then 154.0E", -33.87, 151.21, 148.0, 154.0, -6.82839, -6.82829, 0.03697},
    {"Sydney, 154.0E then 148.0E", -33.87, 151.21, 154.0, 148.0, 6.82839, 6.82829, -0.03697},
};

class Spacing : public aligntest::FixedDate {};

TEST_F(Spacing, SeparationIsTheAngleBetweenTheTwoLookDirections)
{
    for (const SpacingCase& c : kSpacingCases) {
        SCOPED_TRACE(c.what);
        const SiteLookAngles p = LookAnglesFrom(c.siteLatitude, c.siteLongitude, c.primaryLongitude);
        const SiteLookAngles s = LookAnglesFrom(c.siteLatitude, c.siteLongitude, c.secondaryLongitude);
        const FeedSpacing f = DualFeedSpacing(p, s, 1.0, 1.0);
        EXPECT_NEAR(f.separation, c.separation, kAngleTolerance);
        EXPECT_NEAR(f.horizontal, c.horizontal, kAngleTolerance);
        EXPECT_NEAR(f.vertical, c.vertical, kAngleTolerance);
    }
}

TEST(SpacingLimits, OneAboveTheOtherHasNoHorizontalComponent)
{
    // With equal azimuths the law of cosines can give S a hair below |V|
    // (for half of these steps it does): the root must not become NaN.
    for (int k = 1; k <= 2000; ++k) {
        SiteLookAngles p;
        p.elevation = 30.0;
        p.trueAzimuth = 180.0;
        SiteLookAngles s = p;
        s.elevation = 30.0 + k * 1e-4;
        const FeedSpacing f = DualFeedSpacing(p, s, 0.5, 1.0);
        ASSERT_FALSE(std::isnan(f.horizontal)) << k;
        ASSERT_LT(std::fabs(f.horizontal), 1e-5) << k;
        ASSERT_FALSE(std::isnan(f.offset)) << k;
    }
}

// Feed offsets: F = f/D x D; Fh = -F tan(H / beamfactor), Fv likewise.
// London: F = 0.6 x 0.9 = 0.54 m, H = -15.90034, V = 4.39499, beamfactor 0.9:
//   Fh = -0.54 tan(-17.66704 deg) = 0.17199 m, Fv = -0.54 tan(4.88332 deg) = -0.04614 m,
//   total 0.17807 m.
// Gain: lambda = 0.299792458 / 11.7 = 0.0256233 m; (pi 0.9 / lambda)^2 x 0.65
//   = 7915.5 -> 38.9843 dBi; beamwidth 70 x 0.0256233 / 0.9 = 1.9929 deg;
//   squint 15.90034 / 1.9929 = 7.9784 beamwidths.
// Scan loss at 7.9784 beamwidths, f/D 0.6: f/D 1.0 curve 0.14 + 0.9784 x 0.07
//   = 0.208488; f/D 0.5 curve 1.70 + 0.9784 x 0.51 = 2.198984;
//   0.208488 + 0.4 x 2 x (2.198984 - 0.208488) = 1.800885 dB.
TEST_F(Spacing, LondonDishByHand)
{
    DualFeedInputs in;
    in.siteLatitude = 51.51;
    in.siteLongitude = -0.13;
    in.primaryLongitude = 28.2;
    in.secondaryLongitude = 13.0;
    in.aperture_m = 0.9;
    in.efficiency = 65.0;
    in.frequency_GHz = 11.7;
    in.fOverD = 0.6;
    in.beamfactor = 0.9;
    const DualFeedResult r = ComputeDualFeed(in);
    EXPECT_DOUBLE_EQ(r.focalDistance_m, 0.54);
    EXPECT_NEAR(r.spacing.offsetHorizontal, 0.17199, kOffsetTolerance);
    EXPECT_NEAR(r.spacing.offsetVertical, -0.04614, kOffsetTolerance);
    EXPECT_NEAR(r.spacing.offset, 0.17807, kOffsetTolerance);
    EXPECT_NEAR(r.boresightGain_dBi, 38.9843, 1e-4);
    EXPECT_NEAR(r.beamwidth_deg, 1.9929, 1e-4);
    EXPECT_NEAR(r.squint_beamwidths, 7.9784, 1e-3);
    EXPECT_NEAR(r.squintLoss_dB, 1.800885, 1e-4);
    EXPECT_NEAR(r.squintGain_dBi, 38.9843 - 1.800885, 2e-4);
    // 100 x 10^(0.1 (G - L)) / (pi D / lambda)^2 = 65 % x 10^(-0.1 L) = 42.93 %
    EXPECT_NEAR(r.squintEfficiency_pct, 42.93, 0.01);
}

TEST_F(Spacing, AGainWithAPlusIsTakenAsDbi)
{
    DualFeedInputRecord rec = aligntest::SydneyDualRecord();
    PutText(rec.efficiency, "+42");
    EXPECT_DOUBLE_EQ(ComputeDualFeed(ParseDualFeedRecord(rec)).boresightGain_dBi, 42.0);
}

struct ScanCase { const char* what; double beamwidths, fOverD, loss; };

// The measured curves (dB at 0..10 beamwidths) for f/D 1.0, 0.5 and 0.25,
// read off directly or interpolated by hand.
const ScanCase kScanCases[] = {
    {"no scan", 0.0, 0.5, 0.0},
    {"10 beamwidths, middle curve, its last point", 10.0, 0.5, 3.35},
    {"10 beamwidths, steepest curve", 10.0, 0.25, 10.40},
    {"10 beamwidths, flattest curve", 10.0, 1.0, 0.35},
    {"3 beamwidths, f/D 0.25", 3.0, 0.25, 3.00},
    {"4.5 beamwidths, f/D 1.0: halfway 0.03 to 0.07", 4.5, 1.0, 0.05},
    {"2 beamwidths, f/D 0.75: 0.01 + 0.25 x 2 x 0.20", 2.0, 0.75, 0.11},
    {"1.5 beamwidths, f/D 0.375: 0.115 + 0.125 x 4 x 0.815", 1.5, 0.375, 0.5225},
    {"9.99 beamwidths, f/D 0.5", 9.99, 0.5, 2.85 + 0.99 * 0.50},
    {"beyond 10", 10.01, 0.5, -1.0},
    {"negative scan", -0.01, 0.5, -1.0},
    {"not a number", std::numeric_limits<double>::quiet_NaN(), 0.5, -1.0},
    {"f/D below the curves takes the steepest", 3.0, 0.1, 3.00},
    {"f/D above the curves takes the flattest", 3.0, 2.0, 0.01},
};

TEST(ScanLoss, CurvesAndTheirLimits)
{
    for (const ScanCase& c : kScanCases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(ScanLossFactor(c.beamwidths, c.fOverD), c.loss, kLossTolerance);
    }
}

}  // namespace
