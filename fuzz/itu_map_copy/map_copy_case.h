// The map behind the copies that the cache-folder fuzz target reads: a text
// that both kinds of grid accept, and the two formats it is read in.
#pragma once

#include <string_view>

#include "propagation/itu_maps.h"

namespace fuzzmapcopy {

inline constexpr std::string_view kText = "12 -3 125\n7 100 -1\n";

inline ItuMapFormat Format(bool heights)
{
    return ItuMapFormat{"MAP.TXT", 2, 3, heights ? 12 : 16, heights, MapTextChecksum(kText), 0};
}

}  // namespace fuzzmapcopy
