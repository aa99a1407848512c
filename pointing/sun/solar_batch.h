// The report of the three solar-outage batches: every site of a file with one
// satellite, one site with every satellite of a file, and one site with every
// satellite of the satellite list above its horizon.  The run builds the
// report lines (tabbed columns, "~" headings) and hands them to a line sink;
// the form around it shows the progress, pumps the user interface and writes
// the file.  Free of Qt.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pointing/sun/outage_search.h"

namespace orbiscope::sun {

enum class BatchKind { SiteFile, SatelliteFile, AllSatellites };

struct BatchSite {
    std::string name;
    double latitude = 0, longitude = 0;  // degrees, north and east positive
    double zone = 0;                     // hours east of Greenwich
    double apertureM = 0;
};

struct BatchSatellite {
    std::string name;
    double longitude = 0;                // degrees east
};

// One site/satellite pair in list order.
struct BatchItem {
    BatchSite site;
    BatchSatellite satellite;
    int statusPosition = 0;  // the item's place in its input list, shown in the status text
};

struct SolarBatchSetup {
    BatchKind kind = BatchKind::SiteFile;
    bool early = true;
    bool horizontal = false;        // one self-contained row per event
    OutageInputs options;           // year, frequency and the four options; the site part is per item
    std::string yearText, frequencyText;
    std::string zoneText, diameterText;  // the form's site (satellite-file and all-satellites batches)
    BatchSite formSite;                  // the same, parsed
    BatchSatellite formSatellite;        // the site-file batch's satellite
};

// What the run asks of its owner.
struct SolarBatchHooks {
    std::function<void(const std::string&)> line;             // appends one report line
    std::function<bool()> keepGoing;                          // false stops before the next item
    std::function<void(int done)> itemDone;                   // items finished so far
    std::function<void(const std::string&)> status;           // busy text
    std::function<bool()> step;                               // after each search step; false stops the run
};

// The pairs of each batch, in list order.  The site-file and satellite-file
// batches take every record; the all-satellites batch only the satellites
// above the site's horizon, positions counted from 1.
std::vector<BatchItem> SiteFileItems(const std::vector<BatchSite>& sites, const BatchSatellite& satellite);
std::vector<BatchItem> SatelliteFileItems(const BatchSite& site, const std::vector<BatchSatellite>& satellites);
std::vector<BatchItem> VisibleSatelliteItems(const BatchSite& site, const std::vector<BatchSatellite>& satellites);

// Writes the header, then searches each item; false when keepGoing or step
// stopped the run (the report then holds what was done, and must not be
// written as if complete).
bool RunSolarBatch(const SolarBatchSetup& setup, const std::vector<BatchItem>& items, const SolarBatchHooks& hooks);

// The apparent elevation and true azimuth (degrees) of a geostationary
// satellite seen from a site.
struct LookAngles {
    double elevation = 0, azimuth = 0;
};
LookAngles SatelliteLookAngles(double siteLatitude, double siteLongitude, double satelliteLongitude);

// A site name with every "," made ".".
std::string WithoutCommas(std::string name);

}  // namespace orbiscope::sun
