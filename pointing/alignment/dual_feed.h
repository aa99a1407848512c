// One dish, two geostationary satellites: the separation of the second from
// the first as the dish sees it, where its feed goes, and what the squint
// costs in gain.  Angles in degrees, lengths in metres.  Free of Qt.
#pragma once

#include "pointing/alignment/alignment_records.h"
#include "pointing/alignment/look_angles.h"

// The secondary satellite seen from behind the dish pointed at the primary,
// and the secondary feed's place seen looking into the dish.  Negative
// angles: the secondary lies to the right of or below boresight; negative
// offsets: the feed goes to the left of or below the focal point.
struct FeedSpacing {
    double separation = 0;         // total angle between the two look directions
    double horizontal = 0;
    double vertical = 0;           // secondary elevation - primary elevation
    double offset = 0;             // feed distance from the focal point
    double offsetHorizontal = 0;
    double offsetVertical = 0;
};

// The spacing from the two satellites' look angles, for a dish of focal
// distance `focalDistance_m` and the given beamfactor.
FeedSpacing DualFeedSpacing(const SiteLookAngles& primary, const SiteLookAngles& secondary, double focalDistance_m,
                            double beamfactor);

// Gain lost by scanning a beam `beamwidths` beamwidths off axis on a dish of
// the given f/D, from the measured curves for f/D 0.25, 0.5 and 1.0; -1 when
// the scan lies outside 0..10 beamwidths.  An f/D outside 0.25..1.0 is taken
// as the nearer end.
double ScanLossFactor(double beamwidths, double fOverD);
inline constexpr double kNoScanLoss = -1.0;

struct DualFeedInputs {
    double siteLatitude = 0;
    double siteLongitude = 0;
    double primaryLongitude = 0;
    double secondaryLongitude = 0;
    double aperture_m = 0;
    double efficiency = 0;           // percent, or dBi when efficiencyIsGain
    bool efficiencyIsGain = false;
    double frequency_GHz = 0;
    double fOverD = 0;
    double beamfactor = 0;
};

struct DualFeedResult {
    SiteLookAngles primary;
    SiteLookAngles secondary;
    double focalDistance_m = 0;
    FeedSpacing spacing;
    double boresightGain_dBi = 0;
    double beamwidth_deg = 0;        // -3 dB
    double squint_beamwidths = 0;    // horizontal separation over the beamwidth
    double squintLoss_dB = 0;        // kNoScanLoss beyond 10 beamwidths
    double squintGain_dBi = 0;
    double squintEfficiency_pct = 0;
};

DualFeedInputs ParseDualFeedRecord(const DualFeedInputRecord& record);
DualFeedResult ComputeDualFeed(const DualFeedInputs& in);
