#include "rftools/tables/national_tables.h"

#include "propagation/coordinates.h"
#include "rftools/tables/table_geometry.h"

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

void WriteKey(ReportWriter& line, std::initializer_list<std::pair<const char*, const char*>> entries)
{
    line.Append("Key to Abbreviations:~");
    for (const auto& [abbreviation, meaning] : entries) line("%s:\t%s", abbreviation, meaning);
    line.Blank();
    line.Blank();
}

}  // namespace

TableText NationalLookAngles(const SatPosRecord& r, std::span<const TownRecord> towns, const ReportHeading& heading)
{
    const std::string country = CountryOf(towns);
    const std::string longitudeText = FieldText(r.satelliteLongitude);
    TableText t;
    t.tabs = EvenTabs(8, 21, 9);
    ReportWriter line = t.Writer();
    WriteReportHeading(line, Format("Look Angle Table: %-s", country.c_str()).c_str(), heading);
    line.Blank();
    line.Blank();
    line("Satellite longitude\t%s degrees", longitudeText.c_str());
    line("Beam tilt angle\t%s degrees", FieldText(r.polarizationCant).c_str());
    line.Blank();
    line.Blank();
    WriteKey(line, {{"Lat", "Site latitude (degrees)"},
                    {"Long", "Site longitude (degrees)"},
                    {"AZm", "Magnetic azimuth or compass bearing (degrees)"},
                    {"AZ", "True azimuth (degrees)"},
                    {"EL", "Elevation (degrees)"},
                    {"ELp", "Polar elevation (degrees)"},
                    {"ELa", "Apex elevation (degrees)"},
                    {"PO", "Polarization offset (degrees)"}});
    line("%-s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s~", "Town/City", "Lat", "Long", "AZm", "AZ", "EL", "ELp", "ELa", "PO");
    line.Blank();

    const double satelliteLongitude = ParseLatLon(longitudeText);
    const double cant = FieldNumber(FieldView(r.polarizationCant));
    for (std::size_t i = 1; i < towns.size(); ++i) {
        const Town town = TownOf(towns[i]);
        const SiteLook look = LookFrom(town.latitude, town.longitude, satelliteLongitude, cant);
        const PolarMount mount = PolarMountAt(town.latitude);
        if (look.elevation < 0.0) {
            line("%s\t%s\t%s\t%s\t%s\t%s\t%.2lf\t%.2lf\t%s", town.name.c_str(), town.latitudeText, town.longitudeText,
                 "EL<0", "EL<0", "EL<0", mount.polarElevation, mount.apexElevation, "EL<0");
        } else {
            line("%s\t%s\t%s\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf", town.name.c_str(), town.latitudeText,
                 town.longitudeText, look.magneticAzimuth, look.trueAzimuth, look.elevation, mount.polarElevation,
                 mount.apexElevation, look.polarizationOffset);
        }
    }
    t.caption = Format("%-s Look Angles : %-s", longitudeText.c_str(), country.c_str());
    return t;
}

}  // namespace orbiscope::tables
