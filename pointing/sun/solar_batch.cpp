#include "pointing/sun/solar_batch.h"

#include "framework/output/report_format.h"
#include "pointing/sun/sun.h"
#include "propagation/coordinates.h"

namespace orbiscope::sun {

namespace {

constexpr const char* kBlank = " ";
constexpr const char* kGroupedColumns = "Date\tBegin\tPeak\tEnd\tDepth\tClosest(deg)~";
constexpr const char* kSiteFileColumns =
    "Sat. Name\tSat. Long\tSite Name\tLat\tLong\tEL\tAZ\tTZ\tDia\tDate\tBegin\tPeak\tEnd\tDepth\tClosest(deg)";
constexpr const char* kSiteFirstColumns =
    "Site Name\tLat\tLong\tTZ\tDia\tSat. Name\tSat. Long\tEL\tAZ\tDate\tBegin\tPeak\tEnd\tDepth\tClosest(deg)";

std::string Coordinate(double value, int kind)
{
    char text[32];
    FormatLatLon(value, kind, text);
    return text;
}

// Rows of one item's search, in the layout of the batch.
class BatchRowSink : public OutageSink {
public:
    BatchRowSink(const SolarBatchSetup& setup, const BatchItem& item, const LookAngles& look,
                 const SolarBatchHooks& hooks)
        : setup_(setup), item_(item), look_(look), hooks_(hooks)
    {
    }

    void Event(const OutageEvent& e) override
    {
        ++events_;
        hooks_.status(ReportFormat("Item: %d solar outage events found : %d", item_.statusPosition, events_));
        const char* month = kShortMonthNames[(e.month + 11) % 12];
        const std::string columns = FormatEventColumns(e);
        if (!setup_.horizontal) {
            hooks_.line(ReportFormat("%s %d", month, e.day) + columns);
            return;
        }
        hooks_.line(RowPrefix(e.seconds) + ReportFormat("%s %d", month, e.day) + columns);
    }
    void NoOutages() override { hooks_.line("No solar outages found"); }
    bool Step() override
    {
        stopped_ = !hooks_.step();
        return !stopped_;
    }
    bool Stopped() const { return stopped_; }

private:
    std::string RowPrefix(bool seconds) const
    {
        const BatchSite& site = item_.site;
        const BatchSatellite& sat = item_.satellite;
        const std::string lat = Coordinate(site.latitude, 0), lon = Coordinate(site.longitude, 1);
        const std::string satLon = Coordinate(sat.longitude, 1);
        if (setup_.kind == BatchKind::SiteFile) {
            return ReportFormat("%s\t%s\t%s\t%s\t%s\t%.2lf\t%.2lf\t%.2lf\t%.2lf\t  ", sat.name.c_str(), satLon.c_str(),
                                site.name.c_str(), lat.c_str(), lon.c_str(), look_.elevation, look_.azimuth, site.zone,
                                site.apertureM);
        }
        return ReportFormat("%s\t%s\t%s\t%s\t%s\t %s\t%s\t%.2lf\t%.2lf\t%s", site.name.c_str(), lat.c_str(),
                            lon.c_str(), setup_.zoneText.c_str(), setup_.diameterText.c_str(), sat.name.c_str(),
                            satLon.c_str(), look_.elevation, look_.azimuth, seconds ? "   " : "  ");
    }

    const SolarBatchSetup& setup_;
    const BatchItem& item_;
    LookAngles look_;
    const SolarBatchHooks& hooks_;
    int events_ = 0;
    bool stopped_ = false;
};

void WriteHeader(const SolarBatchSetup& s, const SolarBatchHooks& h)
{
    h.line(ReportFormat("SOLAR OUTAGE RISK %s", s.yearText.c_str()));
    h.line(kBlank);
    h.line(s.early ? "Early Season Group~" : "Late Season Group~");
    if (s.options.gmtOutput) h.line("Greenwich Mean Time (GMT)");
    else if (s.kind == BatchKind::AllSatellites) h.line("Local Standard Time (no daylight saving)");
    else h.line("Local Standard Time (no daylight saving added)");
    h.line(ReportFormat("%s antenna beamwidth at %s GHz", s.options.wide ? "Wide" : "Standard",
                        s.frequencyText.c_str()));
    if (s.horizontal) {
        h.line(kBlank);
        h.line(s.kind == BatchKind::SiteFile ? kSiteFileColumns : kSiteFirstColumns);
        return;
    }
    if (s.kind == BatchKind::SiteFile) {
        h.line(ReportFormat("%s, %s", s.formSatellite.name.c_str(), Coordinate(s.formSatellite.longitude, 1).c_str()));
        h.line(kBlank);
        h.line(kBlank);
        return;
    }
    const std::string name = WithoutCommas(s.formSite.name);
    const std::string lat = Coordinate(s.formSite.latitude, 0), lon = Coordinate(s.formSite.longitude, 1);
    const char* siteFormat = s.kind == BatchKind::AllSatellites ? "Site: %s. %s. %s." : "Site: %s. %s. %s";
    h.line(ReportFormat(siteFormat, name.c_str(), lat.c_str(), lon.c_str()));
    h.line(ReportFormat("Time Zone=%s. Antenna Diameter=%sm", s.zoneText.c_str(), s.diameterText.c_str()));
}

std::string ItemLine(const SolarBatchSetup& s, const BatchItem& item, const LookAngles& look)
{
    if (s.kind == BatchKind::SiteFile) {
        return ReportFormat("%s, %s, %s, EL=%.2lf, AZ=%.2lf, TZ=%.2lf, D=%.2lf", item.site.name.c_str(),
                            Coordinate(item.site.latitude, 0).c_str(), Coordinate(item.site.longitude, 1).c_str(),
                            look.elevation, look.azimuth, item.site.zone, item.site.apertureM);
    }
    return ReportFormat("%s, Long=%s, EL=%.2lf, AZ=%.2lf", item.satellite.name.c_str(),
                        Coordinate(item.satellite.longitude, 1).c_str(), look.elevation, look.azimuth);
}

// False when the owner stopped the run during the item's search.
bool RunItem(const SolarBatchSetup& s, const BatchItem& item, int number, const SolarBatchHooks& h)
{
    TSun sun(item.site.latitude, item.site.longitude);
    const LookAngles look = SatelliteLookAngles(item.site.latitude, item.site.longitude, item.satellite.longitude);
    if (!s.horizontal) {
        h.line(kBlank);
        h.line(kBlank);
        h.line(ReportFormat(s.kind == BatchKind::SiteFile ? "Site %d~" : "Satellite %d~", number));
    }
    if (look.elevation <= 0.0) {
        h.line("Satellite below horizon");
        return true;
    }
    if (!s.horizontal) {
        h.line(ItemLine(s, item, look));
        h.line(kBlank);
        h.line(kGroupedColumns);
        h.line(kBlank);
    }
    OutageInputs in = s.options;
    in.satelliteElevation = look.elevation;
    in.satelliteAzimuth = look.azimuth;
    in.zone = item.site.zone;
    in.apertureM = item.site.apertureM;
    h.status(ReportFormat("Item: %d solar outage events found : %d", item.statusPosition, 0));
    BatchRowSink sink(s, item, look, h);
    FindOutages(sun, in, s.early ? kEarlySeason : kLateSeason, sink);
    return !sink.Stopped();
}

BatchItem Pair(const BatchSite& site, const BatchSatellite& sat, int position)
{
    BatchItem item;
    item.site = site;
    item.satellite = sat;
    item.statusPosition = position;
    return item;
}

}  // namespace

std::string WithoutCommas(std::string name)
{
    for (char& c : name) {
        if (c == ',') c = '.';
    }
    return name;
}

LookAngles SatelliteLookAngles(double siteLatitude, double siteLongitude, double satelliteLongitude)
{
    LookAngles look;
    GeoLookAngles(siteLatitude, siteLongitude, satelliteLongitude, 0.0, nullptr, nullptr, &look.elevation,
                  &look.azimuth, nullptr, nullptr);
    return look;
}

std::vector<BatchItem> SiteFileItems(const std::vector<BatchSite>& sites, const BatchSatellite& satellite)
{
    std::vector<BatchItem> items;
    for (std::size_t i = 0; i < sites.size(); ++i) items.push_back(Pair(sites[i], satellite, static_cast<int>(i)));
    return items;
}

std::vector<BatchItem> SatelliteFileItems(const BatchSite& site, const std::vector<BatchSatellite>& satellites)
{
    BatchSite s = site;
    s.name = WithoutCommas(s.name);
    std::vector<BatchItem> items;
    for (std::size_t i = 0; i < satellites.size(); ++i) items.push_back(Pair(s, satellites[i], static_cast<int>(i)));
    return items;
}

std::vector<BatchItem> VisibleSatelliteItems(const BatchSite& site, const std::vector<BatchSatellite>& satellites)
{
    BatchSite s = site;
    s.name = WithoutCommas(s.name);
    std::vector<BatchItem> items;
    for (std::size_t i = 0; i < satellites.size(); ++i) {
        const LookAngles look = SatelliteLookAngles(site.latitude, site.longitude, satellites[i].longitude);
        if (look.elevation > 0.0) items.push_back(Pair(s, satellites[i], static_cast<int>(i) + 1));
    }
    return items;
}

bool RunSolarBatch(const SolarBatchSetup& setup, const std::vector<BatchItem>& items, const SolarBatchHooks& hooks)
{
    WriteHeader(setup, hooks);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!hooks.keepGoing()) return false;
        if (!RunItem(setup, items[i], static_cast<int>(i) + 1, hooks)) return false;
        hooks.itemDone(static_cast<int>(i) + 1);
    }
    return true;
}

}  // namespace orbiscope::sun
