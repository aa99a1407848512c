// The six atmospheric grids built into the program (read-only, little-endian
// float32, row-major; row 0 first, columns west to east).
//
//   Hv  721 x 1441, 0.25 deg, lat -90 / lon -180: water-vapour scale height, km (ITU-R P.2145 VSCH)
//   Hp  721 x 1441, 0.25 deg, lat -90 / lon -180: pressure scale height, km (ITU-R P.2145 PSCH)
//   LR  721 x 1441, 0.25 deg, lat -90 / lon -180: temperature lapse rate, K/km, negative when
//       temperature falls with height (ITU-R P.2145 TSCH)
//   Zs  721 x 1441, 0.25 deg, lat -90 / lon -180: surface height of the grid, km (ITU-R P.2145 Z_ground)
//   H0  121 x 241,  1.5 deg,  lat -90 / lon 0 (east to 360): mean 0-degree isotherm height, km (ITU-R P.839-4)
//   NW  241 x 481,  0.75 deg, lat -90 / lon -180: wet surface refractivity exceeded 50 %, N-units (ITU-R P.453)
#pragma once

#include <cstddef>

namespace detail {

enum class BuiltinGridId : int { Hv, Hp, LR, Zs, H0, NW };
inline constexpr int kBuiltinGridCount = 6;

struct BuiltinGrid {
    const float* values;   // rows x columns elements
    int rows;
    int columns;
    std::size_t bytes;     // size of the embedded data as assembled
};

const BuiltinGrid& BuiltinGridOf(BuiltinGridId id);

}  // namespace detail
