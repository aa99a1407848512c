#include "imaging/viewer/extended_dib.h"

#include <utility>

#include "platform/dib.h"
#include "platform/resources.h"

ResourceModule ApplicationModule()
{
    return {platform::FindBitmapResource, nullptr};
}

TExtendedDib::TExtendedDib(const char* fileName) : owned_(orbiscope::LoadImageFile(fileName))
{
    if (!Attach())
        throw TXGdi(TXGdi::kFileReadFailure);
}

TExtendedDib::TExtendedDib(const ResourceModule& module, int id)
{
    if (module.bitmaps != nullptr)
        resource_ = module.bitmaps(id);
    if (resource_.empty())
        owned_ = orbiscope::LoadImageResource(id, module.data);
    if (!Attach())
        throw TXGdi(TXGdi::kFileReadFailure);
}

// Checks the block (a resource is as untrusted as a file) and makes the
// picture to draw; false when the block is no picture.
bool TExtendedDib::Attach()
{
    view_ = orbiscope::DibView::Wrap(Block());
    if (!view_.Valid())
        return false;
    const std::uint32_t compression = view_.Compression();
    if (compression == orbiscope::kBiRle8 || compression == orbiscope::kBiRle4)
        image_ = platform::DibToImage(orbiscope::ExpandRleDib(Block()));
    else
        image_ = platform::DibToImage(Block());
    return !image_.isNull();
}

bool TExtendedDib::SetHandle(orbiscope::PackedDib dib)
{
    TExtendedDib replacement = std::move(*this);
    resource_ = {};
    owned_ = std::move(dib);
    if (Attach())
        return true;
    *this = std::move(replacement);
    return false;
}
