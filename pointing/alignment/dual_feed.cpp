#include "pointing/alignment/dual_feed.h"

#include <algorithm>
#include <cmath>

#include "propagation/coordinates.h"

namespace {

constexpr double kDegToRad = 0.017453292519943295;
constexpr double kPi = 3.14159265358979323846;

// -3 dB beamwidth of a parabolic dish: 70 wavelengths per aperture, degrees.
constexpr double kBeamwidthFactor = 70.0;

// Gain loss (dB) of a beam scanned 0, 1, ..., 10 beamwidths off axis, for
// three dish depths.
constexpr int kScanPoints = 11;
constexpr double kMaxScanBeamwidths = 10.0;
constexpr double kScanLossShallow[kScanPoints] = {0, 0.01, 0.01, 0.01, 0.03, 0.07, 0.11, 0.14, 0.21, 0.28, 0.35};
constexpr double kScanLossMedium[kScanPoints] = {0, 0.02, 0.21, 0.35, 0.64, 0.93, 1.28, 1.70, 2.21, 2.85, 3.35};
constexpr double kScanLossDeep[kScanPoints] = {0, 0.43, 1.43, 3.00, 5.00, 6.60, 7.60, 8.43, 9.21, 9.86, 10.40};
constexpr double kShallowFOverD = 1.0;
constexpr double kMediumFOverD = 0.5;
constexpr double kDeepFOverD = 0.25;

// A curve at a scan between its points, by straight lines.
double OnCurve(const double (&curve)[kScanPoints], double beamwidths)
{
    const int i = static_cast<int>(beamwidths);
    if (i >= kScanPoints - 1) return curve[kScanPoints - 1];
    const double t = beamwidths - i;
    return curve[i] + t * (curve[i + 1] - curve[i]);
}

}  // namespace

FeedSpacing DualFeedSpacing(const SiteLookAngles& primary, const SiteLookAngles& secondary, double focalDistance_m,
                            double beamfactor)
{
    FeedSpacing s;
    // The two look directions as points on the sky: elevation as latitude,
    // azimuth as longitude.
    s.separation = GreatCircleAngle(primary.trueAzimuth, secondary.trueAzimuth, primary.elevation,
                                    secondary.elevation);
    s.vertical = secondary.elevation - primary.elevation;
    // Rounding can leave S^2 a hair below V^2 when the azimuths coincide.
    s.horizontal = std::sqrt(std::max(0.0, s.separation * s.separation - s.vertical * s.vertical));
    // A secondary clockwise of the primary lies to the right seen from behind
    // the dish, whichever side of north the two azimuths fall.
    if (AzimuthTurn(primary.trueAzimuth, secondary.trueAzimuth) > 0.0) {
        s.horizontal = -s.horizontal;
        s.separation = -s.separation;
    }
    s.offsetHorizontal = -focalDistance_m * std::tan(s.horizontal / beamfactor * kDegToRad);
    s.offsetVertical = -focalDistance_m * std::tan(s.vertical / beamfactor * kDegToRad);
    s.offset = std::hypot(s.offsetHorizontal, s.offsetVertical);
    return s;
}

double ScanLossFactor(double beamwidths, double fOverD)
{
    if (!(beamwidths >= 0.0 && beamwidths <= kMaxScanBeamwidths)) return kNoScanLoss;
    const double f = std::clamp(fOverD, kDeepFOverD, kShallowFOverD);
    const double shallow = OnCurve(kScanLossShallow, beamwidths);
    const double medium = OnCurve(kScanLossMedium, beamwidths);
    const double deep = OnCurve(kScanLossDeep, beamwidths);
    if (f < kMediumFOverD)
        return medium + (kMediumFOverD - f) / (kMediumFOverD - kDeepFOverD) * (deep - medium);
    return shallow + (kShallowFOverD - f) / (kShallowFOverD - kMediumFOverD) * (medium - shallow);
}

DualFeedInputs ParseDualFeedRecord(const DualFeedInputRecord& record)
{
    DualFeedInputRecord r = record;
    TerminateTexts(r);
    DualFeedInputs in;
    in.siteLatitude = ParseLatLon(r.siteLatitude);
    in.siteLongitude = ParseLatLon(r.siteLongitude);
    in.primaryLongitude = ParseLatLon(r.primaryLongitude);
    in.secondaryLongitude = ParseLatLon(r.secondaryLongitude);
    in.aperture_m = TextNumber(r.aperture);
    in.efficiency = TextNumber(r.efficiency);
    in.efficiencyIsGain = r.efficiency[0] == '+';
    in.frequency_GHz = TextNumber(r.frequency);
    in.fOverD = TextNumber(r.fOverD);
    in.beamfactor = TextNumber(r.beamfactor);
    return in;
}

DualFeedResult ComputeDualFeed(const DualFeedInputs& in)
{
    DualFeedResult r;
    r.primary = LookAnglesFrom(in.siteLatitude, in.siteLongitude, in.primaryLongitude);
    r.secondary = LookAnglesFrom(in.siteLatitude, in.siteLongitude, in.secondaryLongitude);
    r.focalDistance_m = in.fOverD * in.aperture_m;
    r.spacing = DualFeedSpacing(r.primary, r.secondary, r.focalDistance_m, in.beamfactor);

    const double wavelength_m = Wavelength(in.frequency_GHz);
    const double apertureInWavelengths = kPi * in.aperture_m / wavelength_m;
    r.boresightGain_dBi = in.efficiencyIsGain
                              ? in.efficiency
                              : 10.0 * std::log10(apertureInWavelengths * apertureInWavelengths * in.efficiency / 100.0);
    r.beamwidth_deg = kBeamwidthFactor * wavelength_m / in.aperture_m;
    r.squint_beamwidths = std::fabs(r.spacing.horizontal) / r.beamwidth_deg;
    r.squintLoss_dB = ScanLossFactor(r.squint_beamwidths, in.fOverD);
    r.squintGain_dBi = r.boresightGain_dBi - r.squintLoss_dB;
    r.squintEfficiency_pct =
        100.0 * std::pow(10.0, 0.1 * r.squintGain_dBi) / (apertureInWavelengths * apertureInWavelengths);
    return r;
}
