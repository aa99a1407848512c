// Atmospheric parameters at a site: surface temperature, pressure, water-vapour
// density and content, cloud liquid water, 0-degree isotherm height and wet
// refractivity, from the ITU-R data maps and the built-in grids.
//
// Follows ITU-R P.2145-0 section 2 (values at the site height from the four
// surrounding grid points, each moved with its own surface height and scale
// height, then bilinear interpolation, then interpolation in log10 p between
// the exceedance maps), ITU-R P.840 (cloud liquid L), P.839-4 (h0) and
// P.453 (N_wet, 50 %).
//
// All arguments and results are 32-bit floats: latitude -90..90 and longitude
// -180..180 in degrees, height in km above mean sea level, availability in %.
// The exceedance percentage is p = 100 - availability.  Only the 5, 10, 20,
// 30 and 50 % maps exist: p of 5 or less takes the 5 % map, p above 50
// extrapolates from the 30 and 50 % maps.
#pragma once

#include <array>

#include "propagation/builtin_grids.h"

// Annual means (T_mean, P_mean, RHO_mean maps): K, hPa, g/m3.
float MeanTemperatureAt(float latitude, float longitude, float height);
float MeanPressureAt(float latitude, float longitude, float height);
float MeanWaterVapourDensityAt(float latitude, float longitude, float height);

// Values exceeded for p = 100 - availability: K, hPa, g/m3, kg/m2.
float TemperatureAt(float latitude, float longitude, float height, float availability);
float PressureAt(float latitude, float longitude, float height, float availability);
float WaterVapourDensityAt(float latitude, float longitude, float height, float availability);
float WaterVapourContentAt(float latitude, float longitude, float height, float availability);

// Total columnar cloud liquid water exceeded for p, kg/m2 (no height adjustment).
float CloudLiquidAt(float latitude, float longitude, float availability);

// Mean annual 0-degree isotherm height h0, km (ITU-R P.839-4 grid).
float IsothermHeightAt(float latitude, float longitude);

// Wet term of the surface refractivity exceeded 50 %, N-units (ITU-R P.453 grid).
float WetRefractivityAt(float latitude, float longitude);

// The four values [j][i], [j+1][i], [j][i+1], [j+1][i+1] of a 0.25-degree
// built-in grid around a point, with the file maps' indexing: i and j truncate
// (longitude + 180) / 0.25 and (latitude + 90) / 0.25 computed in float;
// column 1441 is column 1, row 721 stays row 720.
std::array<float, 4> GridCorners025(detail::BuiltinGridId grid, float latitude, float longitude);
std::array<float, 4> VapourScaleHeightCells(float latitude, float longitude);    // Hv, km
std::array<float, 4> PressureScaleHeightCells(float latitude, float longitude);  // Hp, km
std::array<float, 4> LapseRateCells(float latitude, float longitude);            // LR, K/km
std::array<float, 4> SurfaceHeightCells(float latitude, float longitude);        // Zs, km
