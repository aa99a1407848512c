// TExtendedDib: the image window's picture, a packed DIB read from an image
// file through the loader, or taken from the program's bitmap resources.
#pragma once

#include <QImage>

#include <cstdint>
#include <span>
#include <stdexcept>

#include "imaging/loader/image_loader.h"

// The class library's failures of the picture classes.  32735 is the
// string of a picture that cannot be read.
class TXGdi : public std::runtime_error {
public:
    static constexpr int kFileReadFailure = 32735;
    explicit TXGdi(int stringId) : std::runtime_error("GDI file read failure"), id(stringId) {}
    int id;
};

class TXOutOfMemory : public std::runtime_error {
public:
    TXOutOfMemory() : std::runtime_error("Out of memory") {}
};

// Where the program's built-in pictures are found by id: bitmap resources
// (packed DIBs) first, then data resources in any of the five file formats.
struct ResourceModule {
    orbiscope::ResourceLookup bitmaps = nullptr;
    orbiscope::ResourceLookup data = nullptr;
};
// The program's own module: the platform's bitmap resources; the program
// has no data resources.
ResourceModule ApplicationModule();

class TExtendedDib {
public:
    // Throws TXGdi (kFileReadFailure) when the file gives no picture.
    explicit TExtendedDib(const char* fileName);
    // A bitmap resource is used where it lies and never freed; without one, a
    // data resource is read.  Throws TXGdi when neither gives a picture.
    TExtendedDib(const ResourceModule& module, int id);

    // Takes a new block (the colour-mapped picture); false, keeping the old
    // one, when it is not a picture this class can hold.
    bool SetHandle(orbiscope::PackedDib dib);

    std::span<const std::uint8_t> Block() const { return resource_.empty() ? std::span<const std::uint8_t>(owned_) : resource_; }
    bool IsResourceHandle() const { return !resource_.empty(); }
    const orbiscope::BitmapInfoHeader& Header() const { return view_.Header(); }
    int Width() const { return view_.Width(); }
    int Height() const { return view_.Height(); }
    unsigned BitCount() const { return view_.BitCount(); }
    // The picture ready to draw (RLE pictures expanded).
    const QImage& Image() const { return image_; }

private:
    bool Attach();

    orbiscope::PackedDib owned_;
    std::span<const std::uint8_t> resource_;
    orbiscope::DibView view_;
    QImage image_;
};
