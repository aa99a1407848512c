#include "imaging/viewer/median_cut_palette.h"

#include "imaging/viewer/extended_dib.h"

TPalette::TPalette(const orbiscope::LogPalette& palette)
{
    for (int i = 0; i < palette.palNumEntries && i < 256; ++i) {
        const orbiscope::PaletteEntry& e = palette.palPalEntry[static_cast<std::size_t>(i)];
        colours_.push_back(qRgb(e.peRed, e.peGreen, e.peBlue));
    }
}

void TMedianCut::Create()
{
    if (created_)
        return;
    histogram_ = orbiscope::CreateColorHistogram();
    if (histogram_.empty())
        throw TXOutOfMemory();
    logPalette_ = std::make_unique<orbiscope::LogPalette>();
    created_ = true;
}

void TMedianCut::AddDib(const TExtendedDib& dib)
{
    if (built_ || dib.BitCount() < 4)
        return;
    Create();
    if (!orbiscope::AddDibToHistogram(histogram_, dib.Block()))
        throw TXOutOfMemory();
}

int TMedianCut::GetPalette(int wanted)
{
    if (built_)
        return colours_;
    if (!created_)
        return 0;
    colours_ = static_cast<int>(orbiscope::BuildHistogramPalette(histogram_, static_cast<std::uint32_t>(wanted), *logPalette_));
    built_ = true;
    if (colours_ != 0)
        palette_ = std::make_unique<TPalette>(*logPalette_);
    return colours_;
}

bool TMedianCut::MapDib(TExtendedDib& dib)
{
    if (!built_ || !logPalette_)
        return false;
    orbiscope::PackedDib mapped = orbiscope::MapDibToPalette(dib.Block(), histogram_, *logPalette_);
    return !mapped.empty() && dib.SetHandle(std::move(mapped));
}

void TMedianCut::Free()
{
    orbiscope::FreeColorHistogram(histogram_);
    logPalette_.reset();
    palette_.reset();
    created_ = false;
}
