// Palette reduction by median cut: the colours of pictures of 4 bits per
// pixel or more are counted in a 5-5-5 histogram, a palette of up to 256
// colours is chosen by splitting boxes of colour cells at their median, and
// the histogram becomes an inverse colour map (cell -> palette index), so
// that mapping a pixel is one table look-up.
//
// All functions work on packed DIBs (packed_dib.h) and report failure as
// false, 0 or an empty block.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/loader/packed_dib.h"

namespace orbiscope {

// 32768 counters that stop at 65535.  Cell of a colour:
// (B AND 0xF8) x 128 + (G AND 0xF8) x 4 + R / 8; a cell's representative
// colour is its lower corner (each 5-bit field x 8).  After
// `BuildHistogramPalette` every non-empty cell holds a palette index.
using ColorHistogram = std::vector<std::uint16_t>;
inline constexpr std::size_t kHistogramCells = 32768;

std::uint16_t HistogramCell(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Empty when memory runs out.
ColorHistogram CreateColorHistogram();
void FreeColorHistogram(ColorHistogram& histogram);
void ClearColorHistogram(ColorHistogram& histogram);

// Counts every pixel of a 4-, 8-, 16-, 24- or 32-bit picture (RLE pictures
// are expanded first).  Palette indices beyond the picture's palette count
// as black.  False for other depths, 16/32-bit masks that cannot be used, an
// invalid block or a histogram of the wrong size.
bool AddDibToHistogram(ColorHistogram& histogram, std::span<const std::uint8_t> dib);

struct PaletteEntry {
    std::uint8_t peRed = 0, peGreen = 0, peBlue = 0, peFlags = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

struct LogPalette {
    std::uint16_t palVersion = 0x300;
    std::uint16_t palNumEntries = 0;
    std::array<PaletteEntry, 256> palPalEntry{};
};

// Chooses at most `wanted` (clamped to 256) colours, writes them into `palette`
// and turns the histogram into the inverse map; returns the number of colours
// (0 when the histogram holds no pixel).
std::uint32_t BuildHistogramPalette(ColorHistogram& histogram, std::uint32_t wanted, LogPalette& palette);

// The median cut itself: box colours into `colours`; the histogram becomes
// the inverse map.  Returns the number of boxes (fewer than wanted when no
// box can be split further).
std::uint32_t MedianCut(ColorHistogram& histogram, std::array<std::array<std::uint8_t, 3>, 256>& colours,
                        std::uint32_t wanted);

// Up to 8 bits: a copy whose palette entries are replaced by the nearest
// palette colours; 16, 24 and 32 bits: a new 8-bit picture on the palette.
// Needs the histogram turned into the inverse map.
PackedDib MapDibToPalette(std::span<const std::uint8_t> dib, const ColorHistogram& inverseMap,
                          const LogPalette& palette);

// Up to 8 bits: a copy with grey palette entries; deeper pictures: a new
// 8-bit picture on a grey ramp.  Grey = (11 B + 59 G + 30 R) / 100.
PackedDib ConvertDibToGray(std::span<const std::uint8_t> dib);

// Up to 8 bits: a plain copy; deeper pictures with at most 256 distinct
// colours: a new 8-bit picture whose palette holds them in order of first
// appearance (rows from the top, pixels from the left); empty for more.
PackedDib ReduceDibToExactPalette(std::span<const std::uint8_t> dib);

}  // namespace orbiscope
