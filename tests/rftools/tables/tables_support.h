// Shared by the table engine tests: the reviewed reports of golden/, the
// report's lines and rows, records filled the way a file or a form leaves
// them, the test lists, and a fixed date for the magnetic model.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "framework/databases/place_files.h"
#include "propagation/coordinates.h"
#include "rftools/tables/table_text.h"

namespace tablestest {

using orbiscope::tables::TableText;

inline const ReportHeading kHeading{"Orbiscope Test Bench", "Thursday 1 January 2026"};

// 2026 January 1, 00:00 UTC: inside the magnetic model's years.
inline constexpr std::time_t kNewYear2026 = 1767225600;

// The magnetic declinations of the tables on one fixed date.
class FixedDeclinationDate {
public:
    FixedDeclinationDate()
    {
        SetDeclinationClock([] { return std::chrono::system_clock::from_time_t(kNewYear2026); });
    }
    ~FixedDeclinationDate() { SetDeclinationClock({}); }
};

#ifdef TABLES_GOLDEN_DIR
// A reviewed report of golden/ (each checked by hand against the table's
// description before it was committed).
inline std::string Golden(const char* name)
{
    std::ifstream in(std::string(TABLES_GOLDEN_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
#endif

inline std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The numbers of the row that starts with `first`, after its first
// `skip` columns; empty when there is no such row.
inline std::vector<double> RowNumbers(const TableText& t, const std::string& first, int skip = 0)
{
    for (const std::string& line : Lines(t.text)) {
        if (line.rfind(first + "\t", 0) != 0) continue;
        std::vector<double> v;
        std::size_t at = 0;
        for (int column = 0; at != std::string::npos; ++column) {
            if (column >= skip) v.push_back(std::atof(line.c_str() + at));
            at = line.find('\t', at);
            if (at != std::string::npos) ++at;
        }
        return v;
    }
    return {};
}

// Copies at most the field's width, as a file's bytes fill it: a text of the
// full width keeps no terminator.
template <std::size_t N>
void FillField(char (&field)[N], std::string_view text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(N, text.size()));
}

inline SatelliteRecord Satellite(std::string_view name, float longitudeEast, std::string_view bands)
{
    SatelliteRecord s;
    FillField(s.name, name);
    s.longitude = longitudeEast;
    FillField(s.bands, bands);
    return s;
}

// A town at D.MM coordinates, as country files hold them.
inline TownRecord Town(std::string_view name, float latitudeDMM, float longitudeDMM)
{
    TownRecord t;
    FillField(t.name, name);
    t.latitude = latitudeDMM;
    t.longitude = longitudeDMM;
    return t;
}

// Record 0 titles the list and would pass every test if it were listed; the
// last record's texts fill their fields with no terminator.
inline std::vector<SatelliteRecord> TestSatellites()
{
    return {Satellite("List title", 0.0f, "C,Ku"),  Satellite("Alpha", 28.2f, "C,Ku"),
            Satellite("Beta", -30.0f, "Ku"),         Satellite("Gamma", 120.0f, "C"),
            Satellite("Delta", 60.0f, "Ka"),         Satellite("TwentyCharacterName!", 13.0f, "C,Ku,Ka,X,L,S,P,Q/V?")};
}

// Record 0 names the country; coordinates in D.MM, as country files hold them.
inline std::vector<TownRecord> Testland()
{
    return {Town("Testland", 0, 0), Town("Leeds", 53.48f, -1.33f), Town("Wellington", -41.17f, 174.47f),
            Town("Cape Town", -33.55f, 18.25f), Town("Kano", 12.0f, 23.42f), Town("Quito", -0.13f, -78.30f)};
}

// The geostationary radius over the Earth's radius, as the look-angle
// routines take it (R = 6378.14 km, r = 42164.57 km).
inline constexpr double kGeoRadiusRatio = 42164.57 / 6378.14;

// Atmospheric refraction lifts an elevation of 10 degrees or more by less
// than 0.1 degree (Bennett's formula gives 0.09 at 10 degrees, 0.03 at 30).
inline constexpr double kRefractionBoundDeg = 0.1;

// Textbook free-space look angles (no refraction) to a geostationary
// satellite, from the spherical triangle site - sub-satellite point:
// cos(gamma) = cos(lat) cos(dLon), tan(EL) = (cos(gamma) - 1/K) / sin(gamma).
struct TextbookLook {
    double elevation, azimuth;
};
inline TextbookLook TextbookLookAngles(double latitudeDeg, double longitudeDeg, double satelliteLongitudeDeg)
{
    constexpr double kDeg = 3.14159265358979323846 / 180.0;
    const double dLon = (satelliteLongitudeDeg - longitudeDeg) * kDeg;
    const double lat = latitudeDeg * kDeg;
    const double cosGamma = std::cos(lat) * std::cos(dLon);
    const double sinGamma = std::sqrt(1.0 - cosGamma * cosGamma);
    const double elevation = std::atan((cosGamma - 1.0 / kGeoRadiusRatio) / sinGamma) / kDeg;
    // Azimuth from north through east: the bearing of the sub-satellite point.
    const double azimuth = std::atan2(std::sin(dLon), -std::sin(lat) * std::cos(dLon)) / kDeg;
    return {elevation, azimuth < 0 ? azimuth + 360.0 : azimuth};
}

}  // namespace tablestest
