// What every image fuzz target does with a decoded picture: checks that the
// block is a well-formed packed DIB, then runs it through everything that
// consumes one (RLE expansion, colour counting, median cut, mapping), since
// a hostile file reaches those as well.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "imaging/loader/image_loader.h"
#include "imaging/loader/median_cut.h"

namespace orbiscope::fuzzing {

// `reduce` false stops after the colour count: the median cut and the
// mapping cost a fixed few milliseconds whatever the picture, which would
// dominate a reader's target; the `imaging` target runs them on every format.
inline void Exercise(const PackedDib& dib, bool reduce = true)
{
    if (dib.empty())
        return;
    const DibView view = DibView::Wrap(dib);
    if (!view.Valid() || view.Block().size() != dib.size())
        std::abort();   // a reader handed out a block that breaks its own layout
    // Counting the colours of a huge picture takes seconds and finds nothing
    // a small one would not: the fuzzer's time goes to the readers instead.
    constexpr std::int64_t kMaxExercisedPixels = std::int64_t{1} << 22;
    if (std::int64_t{view.Width()} * view.Height() > kMaxExercisedPixels)
        return;
    if (view.Compression() == kBiRle8 || view.Compression() == kBiRle4)
        ExpandRleDib(dib);
    ColorHistogram histogram = CreateColorHistogram();
    if (!AddDibToHistogram(histogram, dib) || !reduce)
        return;
    LogPalette palette;
    if (BuildHistogramPalette(histogram, 256, palette) != 0)
        MapDibToPalette(dib, histogram, palette);
}

}  // namespace orbiscope::fuzzing
