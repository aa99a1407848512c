#include "pointing/alignment/alignment_reports.h"

namespace {

// The offset-focus elevations: the dish's mechanical elevation either side
// of the beam's, and the one of a mount that measures from the vertical.
constexpr double kRightAngle = 90.0;

void WriteInputLine(ReportWriter& line, const char* label, const char* text)
{
    line("%s\t%s\tdegrees", label, text);
}

void WriteInclinedOrbitWindow(ReportWriter& line, const InclinedOrbitWindow& w)
{
    line.Blank();
    line.Append("Inclined Orbit Window~");
    line("Minimum azimuth\t%.3lf\tdegrees", w.minAzimuth);
    line("Maximum azimuth\t%.3lf\tdegrees", w.maxAzimuth);
    line("Minimum elevation\t%.3lf\tdegrees", w.minElevation);
    line("Maximum elevation\t%.3lf\tdegrees", w.maxElevation);
    line.Blank();
    line.Append("Elevation (20% time slice)\tMidpoint\t#");
    for (int k = 0; k < InclinedOrbitWindow::kSliceCount; ++k) {
        const double low = w.sliceBounds[k];
        const double high = w.sliceBounds[k + 1];
        line("%.3lf - %.3lf\t%.3lf\tdegrees", low, high, 0.5 * (low + high));
    }
}

void WriteSatelliteLookAngles(ReportWriter& line, const char* heading, const char* offsetLabel,
                              const SiteLookAngles& a)
{
    line("%s\tValue\tUnits~", heading);
    line("Elevation\t%.2lf\tdegrees", a.elevation);
    line("True azimuth\t%.2lf\tdegrees", a.trueAzimuth);
    line("Azimuth compass bearing\t%.2lf\tdegrees", a.magneticAzimuth);
    line("Path distance to satellite\t%.2lf\tkm", a.pathKm);
    line("%s\t%.2lf\tdegrees", offsetLabel, a.polarizationOffset);
    line.Blank();
}

}  // namespace

void WriteAlignmentReport(ReportWriter& line, const ReportHeading& heading, const LookAngleInputRecord& record,
                          const AlignmentInputs& inputs, const AlignmentResult& result)
{
    LookAngleInputRecord r = record;
    TerminateTexts(r);
    WriteReportHeading(line, kAlignmentReportTitle, heading);
    line.Blank();
    line("Site name\t%s", r.siteName);
    line("Satellite name\t%s", r.satelliteName);
    line.Blank();

    line.Append("Input Parameters\tValue\tUnits~");
    WriteInputLine(line, "Site latitude", r.siteLatitude);
    WriteInputLine(line, "Site longitude", r.siteLongitude);
    WriteInputLine(line, "Satellite longitude", r.satelliteLongitude);
    WriteInputLine(line, "Inclination", r.inclination);
    WriteInputLine(line, "Spot beam polarization cant", r.polarizationCant);
    WriteInputLine(line, "Antenna offset focus angle", r.offsetFocusAngle);
    line.Blank();

    const SiteLookAngles& a = result.look;
    line.Append("Satellite Look Angles\tValue\tUnits~");
    line("Elevation\t%.2lf\tdegrees", a.elevation);
    line("True azimuth\t%.2lf\tdegrees", a.trueAzimuth);
    line("Azimuth compass bearing\t%.2lf\tdegrees", a.magneticAzimuth);
    line("Polarization offset\t%.2lf\tdegrees", a.polarizationOffset);
    line("Path distance to satellite\t%.2lf\tkm", a.pathKm);

    const double offset = inputs.offsetFocusAngle;
    if (offset > 0.0) {
        line.Blank();
        line.Append("Offset Focus Elevation (fixed)\tValue\tUnits~");
        line("Elevation - offset\t%.2lf\tdegrees", a.elevation - offset);
        line("Elevation + offset\t%.2lf\tdegrees", a.elevation + offset);
        line("Elevation + offset + 90\t%.2lf\tdegrees", a.elevation + offset + kRightAngle);
    }

    const PolarMountSettings& p = result.polarMount;
    line.Blank();
    line.Append("Modified Polar Mount Settings\tValue\tUnits~");
    line("Polar axis\t%.2lf\tdegrees", p.polarAxis);
    line("Polar elevation\t%.2lf\tdegrees", p.polarElevation);
    line("Declination offset\t%.2lf\tdegrees", p.declinationOffset);
    line("Apex declination\t%.2lf\tdegrees", p.apexDeclination);
    line("Apex elevation\t%.2lf\tdegrees", p.apexElevation);

    if (result.inclined) WriteInclinedOrbitWindow(line, result.window);
}

void WriteDualFeedReport(ReportWriter& line, const ReportHeading& heading, const DualFeedInputRecord& record,
                         const DualFeedResult& result)
{
    DualFeedInputRecord r = record;
    TerminateTexts(r);
    WriteReportHeading(line, kDualFeedReportTitle, heading);
    line.Blank();
    line("Site name\t%s", r.siteName);
    line("Primary satellite name\t%s", r.primaryName);
    line("Secondary satellite name\t%s", r.secondaryName);
    line.Blank();

    line.Append("Polarization Offset Notes~");
    line.Append("(1) Polarization offset assumes vertical polarization plane is");
    line.Append("transmitted perpendicular to the equator at sub satellite point.");
    line.Append("(2) Rotation of feed is clockwise, for positive values, looking");
    line.Append("from behind the antenna toward the satellite.");
    line.Blank();
    line.Append("Angular Separation Notes:~");
    line.Append("(1) Viewpoint is behind antenna looking toward boresight");
    line.Append("(2) Negative values show secondary satellite is to the right, or below, boresight");
    line.Blank();
    line.Append("Feed Spacing Notes:~");
    line.Append("(1) Viewpoint is looking directly into antenna face");
    line.Append("(2) Negative values indicate mounting to the left, or below, focal point");
    line.Blank();

    line.Append("Input Parameters\tValue\tUnits~");
    WriteInputLine(line, "Site latitude", r.siteLatitude);
    WriteInputLine(line, "Site longitude", r.siteLongitude);
    WriteInputLine(line, "Primary satellite longitude", r.primaryLongitude);
    WriteInputLine(line, "Secondary satellite longitude", r.secondaryLongitude);
    line("Antenna aperture\t%s\tmetres", r.aperture);
    line("Antenna gain  efficiency (boresight)\t%s\t%% (+ prefix dBi)", r.efficiency);
    line("Frequency\t%s\tGHz", r.frequency);
    line("Antenna f / D ratio\t%s\t-", r.fOverD);
    line("Beamfactor\t%s\t-", r.beamfactor);
    line.Blank();

    WriteSatelliteLookAngles(line, "Primary Satellite Look Angles", "Polarization offset (primary satellite)",
                             result.primary);
    WriteSatelliteLookAngles(line, "Secondary Satellite Look Angles", "Polarization offset (secondary satellite)",
                             result.secondary);

    const FeedSpacing& s = result.spacing;
    line.Append("Dual Feed Results\tValue\tUnits~");
    line("Relative separation angle to secondary satellite\t%.2lf\tdegrees", s.separation);
    line("Horizontal component\t%.2lf\tdegrees", s.horizontal);
    line("Vertical component\t%.2lf\tdegrees", s.vertical);
    line.Blank();
    line("Secondary feed offset from focal point\t%.4lf\tmetres", s.offset);
    line("Horizontal component\t%.4lf\tmetres", s.offsetHorizontal);
    line("Vertical component\t%.4lf\tmetres", s.offsetVertical);
    line.Blank();
    line("Antenna -3dB beamwidth\t%.2lf\tdegrees", result.beamwidth_deg);
    line("Focal Distance\t%.4lf\tmetres", result.focalDistance_m);
    line("Squint to secondary satellite\t%.2lf\tbeamwidths", result.squint_beamwidths);
    line("Boresight gain (primary satellite)\t%.2lf\tdBi", result.boresightGain_dBi);
    line("Antenna squint gain loss\t%.2lf\tdB", result.squintLoss_dB);
    line("Antenna squint gain\t%.2lf\tdBi", result.squintGain_dBi);
    line("Antenna squint efficiency\t%.2lf\t%%", result.squintEfficiency_pct);
}
