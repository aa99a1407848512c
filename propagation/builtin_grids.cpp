#include "propagation/builtin_grids.h"

#include <bit>

static_assert(std::endian::native == std::endian::little,
              "the built-in grids are stored little-endian");

extern "C" {
extern const float orbiscope_builtin_Hv[], orbiscope_builtin_Hv_end[];
extern const float orbiscope_builtin_Hp[], orbiscope_builtin_Hp_end[];
extern const float orbiscope_builtin_LR[], orbiscope_builtin_LR_end[];
extern const float orbiscope_builtin_Zs[], orbiscope_builtin_Zs_end[];
extern const float orbiscope_builtin_H0[], orbiscope_builtin_H0_end[];
extern const float orbiscope_builtin_NW[], orbiscope_builtin_NW_end[];
}

namespace detail {
namespace {

std::size_t BytesBetween(const float* begin, const float* end)
{
    return static_cast<std::size_t>(reinterpret_cast<const char*>(end) -
                                    reinterpret_cast<const char*>(begin));
}

const BuiltinGrid kGrids[kBuiltinGridCount] = {
    {orbiscope_builtin_Hv, 721, 1441, BytesBetween(orbiscope_builtin_Hv, orbiscope_builtin_Hv_end)},
    {orbiscope_builtin_Hp, 721, 1441, BytesBetween(orbiscope_builtin_Hp, orbiscope_builtin_Hp_end)},
    {orbiscope_builtin_LR, 721, 1441, BytesBetween(orbiscope_builtin_LR, orbiscope_builtin_LR_end)},
    {orbiscope_builtin_Zs, 721, 1441, BytesBetween(orbiscope_builtin_Zs, orbiscope_builtin_Zs_end)},
    {orbiscope_builtin_H0, 121, 241, BytesBetween(orbiscope_builtin_H0, orbiscope_builtin_H0_end)},
    {orbiscope_builtin_NW, 241, 481, BytesBetween(orbiscope_builtin_NW, orbiscope_builtin_NW_end)},
};

}  // namespace

const BuiltinGrid& BuiltinGridOf(BuiltinGridId id)
{
    return kGrids[static_cast<int>(id)];
}

}  // namespace detail
