#include "rftools/tables/national_tables.h"

#include "propagation/coordinates.h"
#include "pointing/alignment/dual_feed.h"
#include "pointing/alignment/look_angles.h"

namespace orbiscope::tables {

namespace {

// The first columns of every town row: name, latitude and longitude texts.
struct Town {
    std::string name;
    double latitude = 0, longitude = 0;
    char latitudeText[16] = {}, longitudeText[16] = {};
};

Town TownOf(const TownRecord& record)
{
    Town t;
    t.name = RecordText(record.name);
    t.latitude = DegMinToDegrees(double(record.latitude));
    t.longitude = DegMinToDegrees(double(record.longitude));
    FormatLatLon(t.latitude, 0, t.latitudeText);
    FormatLatLon(t.longitude, 1, t.longitudeText);
    return t;
}

std::string CountryOf(std::span<const TownRecord> towns) { return towns.empty() ? "" : RecordText(towns[0].name); }

}  // namespace

TableText NationalLookAngles(const SatPosRecord& r, std::span<const TownRecord> towns, const ReportHeading& heading)
{
    const std::string country = CountryOf(towns);
    const std::string longitudeText = FieldText(r.satelliteLongitude);
    TableText t;
    t.tabs = EvenTabs(8, 21, 9);
    ReportWriter line = t.Writer();
    WriteReportHeading(line, ReportFormat("Look Angle Table: %-s", country.c_str()).c_str(), heading);
    line.Blank();
    line.Blank();
    line("Satellite longitude\t%s degrees", longitudeText.c_str());
    line("Beam tilt angle\t%s degrees", FieldText(r.polarizationCant).c_str());
    line.Blank();
    line.Blank();
    WriteKey(line, "Key to Abbreviations:~", {{"Lat", "Site latitude (degrees)"},
                    {"Long", "Site longitude (degrees)"},
                    {"AZm", "Magnetic azimuth or compass bearing (degrees)"},
                    {"AZ", "True azimuth (degrees)"},
                    {"EL", "Elevation (degrees)"},
                    {"ELp", "Polar elevation (degrees)"},
                    {"ELa", "Apex elevation (degrees)"},
                    {"PO", "Polarization offset (degrees)"}});
    line.Blank();
    line.Blank();
    line("%-s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s~", "Town/City", "Lat", "Long", "AZm", "AZ", "EL", "ELp", "ELa", "PO");
    line.Blank();

    const double satelliteLongitude = ParseLatLon(longitudeText);
    const double cant = FieldNumber(FieldView(r.polarizationCant));
    for (std::size_t i = 1; i < towns.size(); ++i) {
        const Town town = TownOf(towns[i]);
        const SiteLookAngles look = LookAnglesFrom(town.latitude, town.longitude, satelliteLongitude, cant);
        const PolarMountSettings mount = PolarMountFor(town.latitude);
        if (look.elevation < 0.0) {
            line("%s\t%s\t%s\t%s\t%s\t%s\t%.2lf\t%.2lf\t%s", town.name.c_str(), town.latitudeText, town.longitudeText,
                 "EL<0", "EL<0", "EL<0", mount.polarElevation, mount.apexElevation, "EL<0");
        } else {
            line("%s\t%s\t%s\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf", town.name.c_str(), town.latitudeText,
                 town.longitudeText, look.magneticAzimuth, look.trueAzimuth, look.elevation, mount.polarElevation,
                 mount.apexElevation, look.polarizationOffset);
        }
    }
    t.caption = ReportFormat("%-s Look Angles : %-s", longitudeText.c_str(), country.c_str());
    return t;
}

namespace {

void WriteDualFeedHead(ReportWriter& line, const DualTabRecord& r)
{
    line("Primary satellite name       \t%s", FieldText(r.primaryName).c_str());
    line("Secondary satellite name     \t%s", FieldText(r.secondaryName).c_str());
    line("Primary satellite longitude  \t%s degrees", FieldText(r.primaryLongitude).c_str());
    line("Secondary satellite longitude\t%s degrees", FieldText(r.secondaryLongitude).c_str());
    line("Antenna aperture             \t%s metres", FieldText(r.aperture).c_str());
    line("Antenna f / D ratio          \t%s", FieldText(r.fOverD).c_str());
    line("Beamfactor                   \t%s", FieldText(r.beamfactor).c_str());
    line.Blank();
    line.Blank();
    line.Append("Angular Separation Notes:~");
    line.Append("1) Viewpoint is behind antenna looking toward boresight");
    line.Append("2) Negative values show secondary satellite is to the right, or below, boresight");
    line.Blank();
    line.Append("Feed Spacing Notes:~");
    line.Append("1) Viewpoint is looking directly into antenna face");
    line.Append("2) Negative values indicate mounting to the left, or below, focal point");
    line.Blank();
}

// Sums of the towns that see both satellites.
struct SpacingSums {
    double horizontal = 0, vertical = 0, offsetHorizontal = 0, offsetVertical = 0;
    int count = 0;
};

}  // namespace

TableText DualFeedTable(const DualTabRecord& r, std::span<const TownRecord> towns, const ReportHeading& heading)
{
    const std::string country = CountryOf(towns);
    TableText t;
    t.tabs = EvenTabs(8, 21, 9);
    ReportWriter line = t.Writer();
    WriteReportHeading(line, ReportFormat("Dual Feed Table: %s", country.c_str()).c_str(), heading);
    line.Blank();
    line.Blank();
    WriteDualFeedHead(line, r);
    WriteKey(line, "Key to Abbreviations:~", {{"Lat", "Site latitude (degrees)"},
                    {"Long", "Site longitude (degrees)"},
                    {"AZ", "True azimuth [boresight - primary satellite] (degrees)"},
                    {"EL", "Elevation [boresight - primary satellite] (degrees)"},
                    {"Ah", "Angular horizontal satellite separation (degrees)"},
                    {"Av", "Angular vertical satellite separation (degrees)"},
                    {"Dh", "Feed mounting distance [horizontal component] (metres)"},
                    {"Dv", "Feed mounting distance [vertical component] (metres)"}});
    line.Blank();
    line.Blank();
    line("%-s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s~", "Town/City", "Lat", "Long", "AZ", "EL", "Ah", "Av", "Dh", "Dv");
    line.Blank();

    const double primaryLongitude = ParseLatLon(FieldText(r.primaryLongitude));
    const double secondaryLongitude = ParseLatLon(FieldText(r.secondaryLongitude));
    const double apertureM = FieldNumber(FieldView(r.aperture));
    const double focalDistanceM = FieldNumber(FieldView(r.fOverD)) * apertureM;
    const double beamfactor = FieldNumber(FieldView(r.beamfactor));
    SpacingSums sums;
    for (std::size_t i = 1; i < towns.size(); ++i) {
        const Town town = TownOf(towns[i]);
        const SiteLookAngles primary = LookAnglesFrom(town.latitude, town.longitude, primaryLongitude);
        const SiteLookAngles secondary = LookAnglesFrom(town.latitude, town.longitude, secondaryLongitude);
        if (!(primary.elevation > 0.0 && secondary.elevation > 0.0)) {
            line("%-s\t%s\t%s\t%.1lf\t%.1lf\t%s\t%s\t%s\t%s", town.name.c_str(), town.latitudeText,
                 town.longitudeText, primary.trueAzimuth, primary.elevation, "void", "void", "void", "void");
            continue;
        }
        const FeedSpacing s = DualFeedSpacing(primary, secondary, focalDistanceM, beamfactor);
        line("%-s\t%s\t%s\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.3lf\t%.3lf", town.name.c_str(), town.latitudeText,
             town.longitudeText, primary.trueAzimuth, primary.elevation, s.horizontal, s.vertical, s.offsetHorizontal,
             s.offsetVertical);
        sums.horizontal += s.horizontal;
        sums.vertical += s.vertical;
        sums.offsetHorizontal += s.offsetHorizontal;
        sums.offsetVertical += s.offsetVertical;
        ++sums.count;
    }
    if (sums.count > 0) {
        const double n = sums.count;
        line.Blank();
        line("%-s\t%s\t%s\t%s\t%s\t%.1lf\t%.2lf\t%.3lf\t%.3lf", "Averages", "", "", "", "", sums.horizontal / n,
             sums.vertical / n, sums.offsetHorizontal / n, sums.offsetVertical / n);
    }
    t.caption = ReportFormat("Dual Feeds: %s", country.c_str());
    return t;
}

}  // namespace orbiscope::tables
