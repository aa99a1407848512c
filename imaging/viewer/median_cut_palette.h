// TMedianCut: the image window's use of the palette reduction (the library
// in imaging/loader/median_cut.h), and TPalette, the palette it makes.
#pragma once

#include <QRgb>

#include <memory>
#include <vector>

#include "imaging/loader/median_cut.h"

class TExtendedDib;

// A logical palette: its colours in order.
class TPalette {
public:
    explicit TPalette(const orbiscope::LogPalette& palette);
    int Count() const { return static_cast<int>(colours_.size()); }
    QRgb Colour(int index) const { return colours_[static_cast<std::size_t>(index)]; }

private:
    std::vector<QRgb> colours_;
};

class TMedianCut {
public:
    TMedianCut() = default;
    ~TMedianCut() { Free(); }
    TMedianCut(const TMedianCut&) = delete;
    TMedianCut& operator=(const TMedianCut&) = delete;

    // Counts a picture of 4 bits or more (others are ignored, and so is any
    // picture once the palette is built).  Throws TXOutOfMemory when the
    // histogram cannot be made or the picture cannot be counted.
    void AddDib(const TExtendedDib& dib);
    // The first call chooses up to `wanted` colours; later calls return the
    // same count.  0 when nothing was counted.
    int GetPalette(int wanted);
    // The picture mapped onto the palette (after GetPalette); false, leaving
    // the picture as it was, when that fails.
    bool MapDib(TExtendedDib& dib);
    void Free();

    const TPalette* Palette() const { return palette_.get(); }

private:
    void Create();

    orbiscope::ColorHistogram histogram_;
    std::unique_ptr<orbiscope::LogPalette> logPalette_;
    bool built_ = false;
    bool created_ = false;
    int colours_ = 0;
    std::unique_ptr<TPalette> palette_;
};
