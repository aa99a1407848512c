// ITU-R digital maps held in memory for the propagation models.
//
// Thirty text grids are read from the program directory at start-up, each
// checked against a 32-bit checksum of its bytes, and kept until shut-down.
// Grid geometry:
//   0.25-degree maps  721 x 1441, row j = latitude -90 + 0.25 j,
//                     column i = longitude -180 + 0.25 i (column 1440 repeats 0)
//   R001              1441 x 2881 at 0.125 degree, same orientation
//   TOPO              2164 x 4324 at 1/12 degree, row r = latitude 90.125 - r/12,
//                     column c = longitude -180.125 + c/12 (one cell beyond each edge)
// Lookups are constant-time index arithmetic; they take latitude and longitude
// in degrees as 32-bit floats, within -90..90 and -180..180.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Every map, in the order in which the program loads (and reports) them.
enum class ItuMap : int {
    TOPO, R001,
    L_5, L_10, L_20, L_30, L_50,
    P_mean, P_5, P_10, P_20, P_30, P_50,
    T_mean, T_5, T_10, T_20, T_30, T_50,
    V_5, V_10, V_20, V_30, V_50,
    RHO_mean, RHO_5, RHO_10, RHO_20, RHO_30, RHO_50,
};
inline constexpr int kItuMapCount = 30;

// How one map file is laid out and what its bytes must sum to.
struct ItuMapFormat {
    const char* fileName;        // bare name in the program directory
    int rows;
    int columns;
    int maxTokenBytes;           // a number with its separator takes at most this many bytes
    bool integerElements;        // true: int16 metres (topography); false: float32
    std::uint32_t checksum;      // the published constant
    std::uint32_t substituteChecksum;  // the project's substitute file, or 0 when none
};

const ItuMapFormat& ItuMapFormatOf(ItuMap map);

// One loaded grid: float32 elements, or int16 for the topography.
struct ItuMapGrid {
    int rows = 0;
    int columns = 0;
    std::vector<float> values;          // row-major, empty for the topography
    std::vector<std::int16_t> heights;  // row-major, topography only
};

// Reads one map file in its text format into `grid`.  Returns true when the
// file opened, held every number and its bytes summed to one of the accepted
// checksums.  A number longer than the format allows, or a file that ends
// before its last number, fails.  Whatever was read stays in `grid`.
bool LoadMapFile(const std::filesystem::path& file, const ItuMapFormat& format, ItuMapGrid& grid);

// LoadMapFile through a parsed copy kept in `cacheDir` as "NAME.grid": the
// copy is used only when the text's checksum still holds and its bytes are
// those the copy was made from; otherwise the text is read and the copy made
// again.  Gives exactly what LoadMapFile gives for a map that loads.
bool LoadMapFileCached(const std::filesystem::path& file, const ItuMapFormat& format, ItuMapGrid& grid,
                       const std::filesystem::path& cacheDir);

// The checksum the loader computes over a whole map text: every byte read,
// separators included, as a signed 8-bit value into a wrapping 32-bit sum.
std::uint32_t MapTextChecksum(std::string_view text);

// Told of each map that failed to load, in load order.  The application shows
// "NAME failed checksum" under the caption "File Load Error" with the stop
// icon, and ends the program once its message loop starts.
class ItuMapLoadObserver {
public:
    virtual ~ItuMapLoadObserver() = default;
    virtual void MapLoadFailed(const std::string& message) = 0;
};
inline constexpr const char* kMapLoadErrorCaption = "File Load Error";

// How many threads LoadItuMaps uses: one per processor the process may run on.
int ItuMapLoadThreads();

// Loads all thirty maps from `programDir` (files in parallel), then reports the
// failures in load order.  Returns the number of maps that failed.
// With `cacheDir`, each map goes through LoadMapFileCached.
int LoadItuMaps(const std::filesystem::path& programDir, ItuMapLoadObserver& observer,
                const std::filesystem::path& cacheDir = {});
void FreeItuMaps();
bool ItuMapLoaded(ItuMap map);
const ItuMapGrid* ItuMapGridOf(ItuMap map);   // null when not loaded

// Installs a grid directly (tests use small synthetic maps of real geometry).
void SetItuMapGrid(ItuMap map, ItuMapGrid grid);
void FreeMapFile(ItuMap map);

// The four values around a point of a 0.25-degree grid and where they lie.
struct MapCellsRecord {
    float v00;   // [j][i]
    float v10;   // [j1][i]
    float v01;   // [j][i1]
    float v11;   // [j1][i1]
    float y;     // (latitude + 90) / step
    float x;     // (longitude + 180) / step
    std::int32_t j, j1, i, i1;
};

// Corner fetch of a 0.25-degree map (every map but TOPO and R001).
MapCellsRecord MapCells(ItuMap map, float latitude, float longitude);

// Bilinear interpolation of a corner record (weights fy = y - j, fx = x - i).
double BilinearValue(const MapCellsRecord& cells);

// Rain rate exceeded for 0.01 % of an average year, mm/h.
float RainRate001At(float latitude, float longitude);

// Topographic height in km by bicubic interpolation; 0 when TOPO is not loaded.
double TopoHeightAt(float latitude, float longitude);

// Cubic convolution kernel with a = -0.5.
float CubicKernel(float t);
