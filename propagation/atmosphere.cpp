#include "propagation/atmosphere.h"

#include <cmath>
#include <cstdint>

#include "propagation/itu_maps.h"

using detail::BuiltinGrid;
using detail::BuiltinGridId;
using detail::BuiltinGridOf;

namespace {

// Keeps a fractional grid position on the grid, so that a coordinate outside
// its range (or not a number) reads the nearest edge instead of past the array.
float ClampPosition(float position, float last)
{
    if (!(position >= 0.0f)) return 0.0f;
    if (position > last) return last;
    return position;
}

// Indices and fractions of a point on a grid whose last column repeats the
// first and whose last row is a pole.
MapCellsRecord Locate(float y, float x, int rows, int columns)
{
    MapCellsRecord cells{};
    cells.y = ClampPosition(y, static_cast<float>(rows - 1));
    cells.x = ClampPosition(x, static_cast<float>(columns - 1));
    cells.j = static_cast<std::int32_t>(cells.y);
    cells.i = static_cast<std::int32_t>(cells.x);
    cells.j1 = cells.j + 1 == rows ? cells.j : cells.j + 1;
    cells.i1 = cells.i + 1 == columns ? 1 : cells.i + 1;
    return cells;
}

void FetchCorners(const BuiltinGrid& grid, MapCellsRecord& cells)
{
    const float* v = grid.values;
    const int n = grid.columns;
    cells.v00 = v[cells.j * n + cells.i];
    cells.v10 = v[cells.j1 * n + cells.i];
    cells.v01 = v[cells.j * n + cells.i1];
    cells.v11 = v[cells.j1 * n + cells.i1];
}

enum class HeightRule { Temperature, Pressure, Vapour, None };

// One map's value at the site height: every corner is moved from the grid's
// surface height with that corner's own scale, then interpolated.
float WorkerValue(ItuMap map, float latitude, float longitude, float height, HeightRule rule)
{
    MapCellsRecord cells = MapCells(map, latitude, longitude);
    if (rule != HeightRule::None) {
        const std::array<float, 4> z = SurfaceHeightCells(latitude, longitude);
        std::array<float, 4> scale{};
        switch (rule) {
        case HeightRule::Temperature: scale = LapseRateCells(latitude, longitude); break;
        case HeightRule::Pressure: scale = PressureScaleHeightCells(latitude, longitude); break;
        default: scale = VapourScaleHeightCells(latitude, longitude); break;
        }
        float* corner[4] = {&cells.v00, &cells.v10, &cells.v01, &cells.v11};
        for (int k = 0; k < 4; ++k) {
            const double x = *corner[k];
            const double dh = static_cast<double>(height) - z[k];
            double moved;
            if (rule == HeightRule::Temperature)
                moved = x + dh * scale[k];
            else
                moved = x * std::exp(-dh / scale[k]);
            *corner[k] = static_cast<float>(moved);
        }
    }
    return static_cast<float>(BilinearValue(cells));
}

// The 5, 10, 20, 30 and 50 % maps of one quantity.
struct ExceedanceMaps {
    ItuMap m5, m10, m20, m30, m50;
};

float ExceedanceValue(const ExceedanceMaps& maps, float latitude, float longitude,
                      float height, float availability, HeightRule rule)
{
    const float p = 100.0f - availability;
    if (!(p > 5.0f)) return WorkerValue(maps.m5, latitude, longitude, height, rule);

    ItuMap lo, hi;
    float pLo, pHi;
    if (p > 30.0f)      { lo = maps.m30; hi = maps.m50; pLo = 30.0f; pHi = 50.0f; }
    else if (p > 20.0f) { lo = maps.m20; hi = maps.m30; pLo = 20.0f; pHi = 30.0f; }
    else if (p > 10.0f) { lo = maps.m10; hi = maps.m20; pLo = 10.0f; pHi = 20.0f; }
    else                { lo = maps.m5;  hi = maps.m10; pLo = 5.0f;  pHi = 10.0f; }

    const double xLo = WorkerValue(lo, latitude, longitude, height, rule);
    const double xHi = WorkerValue(hi, latitude, longitude, height, rule);
    const double t = (std::log10(static_cast<double>(p)) - std::log10(static_cast<double>(pLo))) /
                     (std::log10(static_cast<double>(pHi)) - std::log10(static_cast<double>(pLo)));
    return static_cast<float>(xLo + (xHi - xLo) * t);
}

constexpr ExceedanceMaps kTemperatureMaps{ItuMap::T_5, ItuMap::T_10, ItuMap::T_20, ItuMap::T_30, ItuMap::T_50};
constexpr ExceedanceMaps kPressureMaps{ItuMap::P_5, ItuMap::P_10, ItuMap::P_20, ItuMap::P_30, ItuMap::P_50};
constexpr ExceedanceMaps kDensityMaps{ItuMap::RHO_5, ItuMap::RHO_10, ItuMap::RHO_20, ItuMap::RHO_30, ItuMap::RHO_50};
constexpr ExceedanceMaps kContentMaps{ItuMap::V_5, ItuMap::V_10, ItuMap::V_20, ItuMap::V_30, ItuMap::V_50};
constexpr ExceedanceMaps kCloudMaps{ItuMap::L_5, ItuMap::L_10, ItuMap::L_20, ItuMap::L_30, ItuMap::L_50};

}  // namespace

std::array<float, 4> GridCorners025(BuiltinGridId id, float latitude, float longitude)
{
    const BuiltinGrid& grid = BuiltinGridOf(id);
    const float x = (longitude + 180.0f) / 0.25f;
    const float y = (latitude + 90.0f) / 0.25f;
    MapCellsRecord cells = Locate(y, x, grid.rows, grid.columns);
    FetchCorners(grid, cells);
    return {cells.v00, cells.v10, cells.v01, cells.v11};
}

std::array<float, 4> VapourScaleHeightCells(float latitude, float longitude)
{
    return GridCorners025(BuiltinGridId::Hv, latitude, longitude);
}

std::array<float, 4> PressureScaleHeightCells(float latitude, float longitude)
{
    return GridCorners025(BuiltinGridId::Hp, latitude, longitude);
}

std::array<float, 4> LapseRateCells(float latitude, float longitude)
{
    return GridCorners025(BuiltinGridId::LR, latitude, longitude);
}

std::array<float, 4> SurfaceHeightCells(float latitude, float longitude)
{
    return GridCorners025(BuiltinGridId::Zs, latitude, longitude);
}

float MeanTemperatureAt(float latitude, float longitude, float height)
{
    return WorkerValue(ItuMap::T_mean, latitude, longitude, height, HeightRule::Temperature);
}

float MeanPressureAt(float latitude, float longitude, float height)
{
    return WorkerValue(ItuMap::P_mean, latitude, longitude, height, HeightRule::Pressure);
}

float MeanWaterVapourDensityAt(float latitude, float longitude, float height)
{
    return WorkerValue(ItuMap::RHO_mean, latitude, longitude, height, HeightRule::Vapour);
}

float TemperatureAt(float latitude, float longitude, float height, float availability)
{
    return ExceedanceValue(kTemperatureMaps, latitude, longitude, height, availability,
                           HeightRule::Temperature);
}

float PressureAt(float latitude, float longitude, float height, float availability)
{
    return ExceedanceValue(kPressureMaps, latitude, longitude, height, availability,
                           HeightRule::Pressure);
}

float WaterVapourDensityAt(float latitude, float longitude, float height, float availability)
{
    return ExceedanceValue(kDensityMaps, latitude, longitude, height, availability,
                           HeightRule::Vapour);
}

float WaterVapourContentAt(float latitude, float longitude, float height, float availability)
{
    return ExceedanceValue(kContentMaps, latitude, longitude, height, availability,
                           HeightRule::Vapour);
}

float CloudLiquidAt(float latitude, float longitude, float availability)
{
    return ExceedanceValue(kCloudMaps, latitude, longitude, 0.0f, availability, HeightRule::None);
}

float IsothermHeightAt(float latitude, float longitude)
{
    const BuiltinGrid& grid = BuiltinGridOf(BuiltinGridId::H0);
    if (longitude < 0.0f) longitude += 360.0f;
    const float x = longitude / 1.5f;
    const float y = (latitude + 90.0f) / 1.5f;
    MapCellsRecord cells = Locate(y, x, grid.rows, grid.columns);
    FetchCorners(grid, cells);
    return static_cast<float>(BilinearValue(cells));
}

float WetRefractivityAt(float latitude, float longitude)
{
    const BuiltinGrid& grid = BuiltinGridOf(BuiltinGridId::NW);
    const float x = (longitude + 180.0f) / 0.75f;
    const float y = (latitude + 90.0f) / 0.75f;
    MapCellsRecord cells = Locate(y, x, grid.rows, grid.columns);
    FetchCorners(grid, cells);
    return static_cast<float>(BilinearValue(cells));
}
