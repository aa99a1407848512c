#include "pointing/alignment/look_angles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "propagation/coordinates.h"

namespace {

constexpr double kDegToRad = 0.017453292519943295;
constexpr double kRadToDeg = 57.29577951308232;

// Stands in for a zero cos^2(i/2) (an inclination of 180 degrees).
constexpr double kTinyCosine = 1e-6;

}  // namespace

double AzimuthTurn(double from, double to) { return std::remainder(to - from, 360.0); }

double TextNumber(const char* text)
{
    const double value = std::strtod(text, nullptr);
    return std::isfinite(value) ? value : 0.0;
}

SiteLookAngles LookAnglesFrom(double siteLatitude, double siteLongitude, double satelliteLongitude,
                              double polarizationCant)
{
    SiteLookAngles a;
    GeoLookAngles(siteLatitude, siteLongitude, satelliteLongitude, polarizationCant, &a.magneticDeclination,
                  &a.pathKm, &a.elevation, &a.trueAzimuth, &a.magneticAzimuth, &a.polarizationOffset);
    return a;
}

PolarMountSettings PolarMountFor(double siteLatitude)
{
    PolarMountSettings p;
    PolarMountAngles(siteLatitude, &p.declinationOffset, &p.apexDeclination, &p.apexElevation, &p.polarAxis,
                     &p.polarElevation);
    return p;
}

double LongitudeExcursion(double inclination)
{
    const double half = 0.5 * inclination * kDegToRad;
    double c = std::cos(half) * std::cos(half);
    if (c == 0.0) c = kTinyCosine;
    const double t = std::clamp(std::sin(half) * std::sin(half) / c, -1.0, 1.0);
    return std::asin(t) * kRadToDeg;
}

InclinedOrbitWindow InclinedOrbitWindowFor(double siteLatitude, double siteLongitude, double satelliteLongitude,
                                           double inclination)
{
    const double excursion = LongitudeExcursion(inclination);
    double east = satelliteLongitude + excursion;
    double west = satelliteLongitude - excursion;
    Normalize360(&east);
    Normalize360(&west);
    const double corners[4][2] = {
        {east, inclination}, {west, inclination}, {east, -inclination}, {west, -inclination}};

    // Azimuths are compared as turns from the slot's own azimuth, so that a
    // window across north (a southern site looking at a satellite due north)
    // keeps its two edges instead of spanning the whole compass.
    double slotElevation = 0.0;
    double slotAzimuth = 0.0;
    LookAnglesToPoint(siteLatitude, siteLongitude, satelliteLongitude, 0.0, &slotElevation, &slotAzimuth);

    InclinedOrbitWindow w;
    w.minElevation = 90.0;
    w.maxElevation = 0.0;
    double leftmost = 0.0;
    double rightmost = 0.0;
    for (int k = 0; k < 4; ++k) {
        double elevation = 0.0;
        double azimuth = 0.0;
        LookAnglesToPoint(siteLatitude, siteLongitude, corners[k][0], corners[k][1], &elevation, &azimuth);
        if (elevation < w.minElevation) w.minElevation = elevation;
        if (elevation > w.maxElevation) w.maxElevation = elevation;
        const double turn = AzimuthTurn(slotAzimuth, azimuth);
        if (k == 0 || turn < leftmost) leftmost = turn;
        if (k == 0 || turn > rightmost) rightmost = turn;
    }
    w.minAzimuth = slotAzimuth + leftmost;
    w.maxAzimuth = slotAzimuth + rightmost;
    Normalize360(&w.minAzimuth);
    Normalize360(&w.maxAzimuth);

    const double step = (w.maxElevation - w.minElevation) / InclinedOrbitWindow::kSliceCount;
    for (int k = 0; k <= InclinedOrbitWindow::kSliceCount; ++k) w.sliceBounds[k] = w.minElevation + k * step;
    return w;
}

AlignmentInputs ParseLookAngleRecord(const LookAngleInputRecord& record)
{
    LookAngleInputRecord r = record;
    TerminateTexts(r);
    AlignmentInputs in;
    in.siteLatitude = ParseLatLon(r.siteLatitude);
    in.siteLongitude = ParseLatLon(r.siteLongitude);
    in.satelliteLongitude = ParseLatLon(r.satelliteLongitude);
    in.inclination = TextNumber(r.inclination);
    in.polarizationCant = TextNumber(r.polarizationCant);
    in.offsetFocusAngle = TextNumber(r.offsetFocusAngle);
    return in;
}

AlignmentResult ComputeAlignment(const AlignmentInputs& in)
{
    AlignmentResult r;
    r.look = LookAnglesFrom(in.siteLatitude, in.siteLongitude, in.satelliteLongitude, in.polarizationCant);
    r.polarMount = PolarMountFor(in.siteLatitude);
    r.inclined = in.inclination != 0.0;
    if (r.inclined)
        r.window = InclinedOrbitWindowFor(in.siteLatitude, in.siteLongitude, in.satelliteLongitude, in.inclination);
    return r;
}
