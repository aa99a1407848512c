// The public geographic data the pictures are drawn from (land, countries,
// time zones, ITU region lines; see ../shared/data/world/SOURCES.md): rings
// and lines of longitude/latitude points in a small text format.
#pragma once

#include <string>
#include <vector>

namespace pictures {

struct GeoPoint {
    double lon = 0;   // degrees east, -180 to 180
    double lat = 0;   // degrees north
};

struct Ring {
    std::string name;
    bool line = false;   // an open polyline ("line" block), else a closed ring
    std::vector<GeoPoint> points;
};

// Reads every block of a ring file; throws std::runtime_error naming the file
// and line when it is not in the format.
std::vector<Ring> ReadRings(const std::string& path);

// Rings whose name is `name` or starts with `prefix` + " " (countries.txt
// names are "<code> <name>").
std::vector<Ring> Select(const std::vector<Ring>& rings, const std::string& code);

// Whether the edge from a to b is a cut line of the data (both ends on the
// antimeridian or on a pole) rather than a coast or border.
bool IsCutEdge(const GeoPoint& a, const GeoPoint& b);

}  // namespace pictures
