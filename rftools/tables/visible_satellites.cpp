#include "rftools/tables/visible_satellites.h"

#include "propagation/coordinates.h"
#include "pointing/alignment/look_angles.h"

namespace orbiscope::tables {

const char* const kBandTexts[kBandCount] = {"P", "L", "S", "C", "X", "Ku", "Ka", "Q/V", "?"};

namespace {

struct Site {
    std::string name, latitudeText, longitudeText;
    double latitude = 0, longitude = 0;
};

template <std::size_t N1, std::size_t N2>
Site SiteOf(const char (&name)[N1], const char (&latitude)[N2], const char (&longitude)[N2])
{
    Site s{FieldText(name), FieldText(latitude), FieldText(longitude)};
    s.latitude = ParseLatLon(s.latitudeText);
    s.longitude = ParseLatLon(s.longitudeText);
    return s;
}

// Title, company, date and the notes, which differ in their second line.
void WriteHead(ReportWriter& line, const ButtonState (&bands)[kBandCount], const std::string& minimumElevation,
               const ReportHeading& heading, const char* groundNoiseNote)
{
    const std::string title = ReportFormat("Satellites (%sBand) > %s Degrees EL", BandList(bands).c_str(),
                                           minimumElevation.c_str());
    WriteReportHeading(line, title.c_str(), heading);
    line.Blank();
    line.Blank();
    line.Append("Notes~");
    line.Append("(1) Geometric listing only (check coverage)");
    line.Append(groundNoiseNote);
    line.Append("(3) Reference V polarization taken as perpendicular to equator");
    line.Blank();
}

// "Location" to "Mag. variation"; `locationFormat` differs between the tables.
void WriteSite(ReportWriter& line, const Site& site, const char* locationFormat)
{
    line(locationFormat, site.name.c_str());
    line("Latitude\t%-s\tdegrees", site.latitudeText.c_str());
    line("Longitude\t%-s\tdegrees", site.longitudeText.c_str());
    char variation[16];
    FormatLatLon(MagneticDeclinationNow(site.latitude, site.longitude), 2, variation);
    line("Mag. variation\t%s\tdegrees", variation);
}

void WriteSatelliteKey(ReportWriter& line, KeyEntries entries)
{
    WriteKey(line, "Key to Abbreviations (degrees):~", entries);
    line.Blank();
    line.Blank();
}

std::string LongitudeText(const SatelliteRecord& satellite)
{
    char text[16];
    FormatLatLon(double(satellite.longitude), 1, text);
    return text;
}

// A blank band text is as unknown as "?", and shows as "?".
std::string BandColumn(const std::string& bandText) { return BandUnknown(bandText) ? "?" : bandText; }

}  // namespace

bool BandUnknown(std::string_view bandText)
{
    const auto first = bandText.find_first_not_of(" \t");
    if (first == std::string_view::npos) return true;
    const auto last = bandText.find_last_not_of(" \t");
    return bandText.substr(first, last - first + 1) == "?";
}

bool SatelliteListed(std::string_view bandText, const ButtonState (&bands)[kBandCount])
{
    return BandUnknown(bandText) || SatelliteHasBand(bandText, bands);
}

bool SatelliteHasBand(std::string_view bandText, const ButtonState (&bands)[kBandCount])
{
    for (std::size_t i = 0; i < kBandCount; ++i)
        if (bands[i].On() && bandText.find(kBandTexts[i]) != std::string_view::npos) return true;
    return false;
}

std::string BandList(const ButtonState (&bands)[kBandCount])
{
    std::string list;
    for (std::size_t i = 0; i < kBandCount; ++i)
        if (bands[i].On()) list += std::string(kBandTexts[i]) + ",";
    return list;
}

std::optional<TableText> VisibleSatellites(const RecSiteRecord& r, std::span<const SatelliteRecord> satellites,
                                           const ReportHeading& heading)
{
    const Site site = SiteOf(r.siteName, r.siteLatitude, r.siteLongitude);
    const std::string minimumText = FieldText(r.minimumElevation);
    TableText t;
    t.tabs = TabsFromWidths({20, 9, 9, 9, 9, 9});
    ReportWriter line = t.Writer();
    WriteHead(line, r.bands, minimumText, heading, "(2) Ground noise may be excessive below 10 degrees elevation");
    line.Append("Site~");
    WriteSite(line, site, "Location\t%-s");
    const double minimumElevation = FieldNumber(minimumText);
    const PolarMountSettings mount = PolarMountFor(site.latitude);
    line("Polar elevation\t%.2lf\tdegrees", mount.polarElevation);
    line("Apex elevation\t%.2lf\tdegrees", mount.apexElevation);
    line("Polar axis\t%.2lf\tdegrees", mount.polarAxis);
    line("Apex declination\t%.2lf\tdegrees", mount.apexDeclination);
    line("Dec. offset\t%.2lf\tdegrees", mount.declinationOffset);
    line.Blank();
    WriteSatelliteKey(line, {{"Long", "Sub satellite longitude"},
                    {"AZm", "Magnetic azimuth or compass bearing"},
                    {"AZ", "True azimuth"},
                    {"EL", "Elevation"},
                    {"Pol", "Polarization Offset"},
                    {"Band", "Active Bands"}});
    line("%-s\t%s\t%s\t%s\t%s\t%s\t%s~", "Name", "Long", "AZm", "AZ", "EL", "Pol", "Band");
    line.Blank();

    int listed = 0;
    for (std::size_t i = 1; i < satellites.size(); ++i) {
        const SatelliteRecord& s = satellites[i];
        const SiteLookAngles look = LookAnglesFrom(site.latitude, site.longitude, double(s.longitude));
        const std::string bands = RecordText(s.bands);
        if (!(look.elevation >= minimumElevation) || !SatelliteListed(bands, r.bands)) continue;
        line("%-s\t%s\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%s", RecordText(s.name).c_str(), LongitudeText(s).c_str(),
             look.magneticAzimuth, look.trueAzimuth, look.elevation, look.polarizationOffset, BandColumn(bands).c_str());
        ++listed;
    }
    if (listed == 0) return std::nullopt;
    t.caption = ReportFormat("Visible Satellites (%s,%s)", site.latitudeText.c_str(), site.longitudeText.c_str());
    return t;
}

std::optional<TableText> VisibleSatellites2Sites(const RecSite2Record& r, std::span<const SatelliteRecord> satellites,
                                                 const ReportHeading& heading)
{
    const Site site1 = SiteOf(r.site1Name, r.site1Latitude, r.site1Longitude);
    const Site site2 = SiteOf(r.site2Name, r.site2Latitude, r.site2Longitude);
    const std::string minimumText = FieldText(r.minimumElevation);
    TableText t;
    t.tabs = TabsFromWidths({20, 8, 8, 8, 7, 7, 8, 8, 7, 7});
    ReportWriter line = t.Writer();
    WriteHead(line, r.bands, minimumText, heading,
              "(2) Ground noise may be excessive below about 10 degrees elevation");
    line.Append("Site 1~");
    WriteSite(line, site1, "Location\t%-s\t");
    line.Blank();
    line.Append("Site 2~");
    WriteSite(line, site2, "Location\t%-s");
    line.Blank();
    WriteSatelliteKey(line, {{"Long", "Sub satellite longitude"},
                    {"AZm", "Site 1, magnetic azimuth"},
                    {"AZ", "Site 1, true azimuth"},
                    {"EL", "Site 1, elevation"},
                    {"Pol", "Site 1, polarization offset"},
                    {"AZm2", "Site 2, magnetic azimuth"},
                    {"AZ2", "Site 2, true azimuth"},
                    {"EL2", "Site 2, elevation"},
                    {"Pol2", "Site 2, polarization offset"},
                    {"Band", "Active Bands"}});
    line("%-s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s~", "Name", "Long", "AZm", "AZ", "EL", "Pol", "AZm2", "AZ2",
         "EL2", "Pol2", "Band");
    line.Blank();

    const double minimumElevation = FieldNumber(minimumText);
    int listed = 0;
    for (std::size_t i = 1; i < satellites.size(); ++i) {
        const SatelliteRecord& s = satellites[i];
        const SiteLookAngles a = LookAnglesFrom(site1.latitude, site1.longitude, double(s.longitude));
        const SiteLookAngles b = LookAnglesFrom(site2.latitude, site2.longitude, double(s.longitude));
        const std::string bands = RecordText(s.bands);
        if (!(a.elevation >= minimumElevation && b.elevation >= minimumElevation) ||
            !SatelliteListed(bands, r.bands))
            continue;
        line("%-s\t%s\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t%s", RecordText(s.name).c_str(),
             LongitudeText(s).c_str(), a.magneticAzimuth, a.trueAzimuth, a.elevation, a.polarizationOffset,
             b.magneticAzimuth, b.trueAzimuth, b.elevation, b.polarizationOffset, BandColumn(bands).c_str());
        ++listed;
    }
    if (listed == 0) return std::nullopt;
    t.caption = "Satellites Visible (2 Sites)";
    return t;
}

}  // namespace orbiscope::tables
