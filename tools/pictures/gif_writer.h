// A GIF89a writer for one 8-bit picture with a global colour table: the
// format the time-zone map is read in.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace pictures {

using Rgb8 = std::array<std::uint8_t, 3>;

// `indices` holds width x height palette indices, rows from the top; the
// palette at most 256 colours.
std::vector<std::uint8_t> EncodeGif(int width, int height, const std::vector<std::uint8_t>& indices,
                                    const std::vector<Rgb8>& palette);

}  // namespace pictures
