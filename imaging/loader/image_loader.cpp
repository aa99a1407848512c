#include "imaging/loader/image_loader.h"

#include <array>
#include <cstring>
#include <new>

namespace orbiscope {

namespace {

using Reader = PackedDib (*)(ImageStream&, ProgressCallback, void*);

// Memory running out inside a reader must make a failed load, not run
// whatever allocation-failure handler the program has installed.
class NoNewHandler {
public:
    NoNewHandler() : saved_(std::set_new_handler(nullptr)) {}
    ~NoNewHandler() { std::set_new_handler(saved_); }
    NoNewHandler(const NoNewHandler&) = delete;
    NoNewHandler& operator=(const NoNewHandler&) = delete;

private:
    std::new_handler saved_;
};

template <class Stream, class... Source>
PackedDib Load(Reader reader, ProgressCallback callback, void* data, Source... source)
{
    NoNewHandler guard;
    try {
        Stream stream(source...);
        PackedDib dib = reader(stream, callback, data);
        stream.Close();
        return dib;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

bool StartsWith(std::span<const std::uint8_t, 4> bytes, const char* prefix, std::size_t length)
{
    return std::memcmp(bytes.data(), prefix, length) == 0;
}

}  // namespace

ImageFormat DetectImageFormat(std::span<const std::uint8_t, 4> bytes)
{
    if (StartsWith(bytes, "GIF8", 4))
        return ImageFormat::Gif;
    if (StartsWith(bytes, "\xFF\xD8", 2))
        return ImageFormat::Jpeg;
    if (StartsWith(bytes, "BM", 2))
        return ImageFormat::Bmp;
    if (StartsWith(bytes, "II", 2) || StartsWith(bytes, "MM", 2))
        return ImageFormat::Tiff;
    if (bytes[0] == 0x0A)
        return ImageFormat::Pcx;
    return ImageFormat::Unknown;
}

PackedDib ReadImageStream(ImageStream& stream, ProgressCallback callback, void* data)
{
    std::array<std::uint8_t, 4> probe{};
    stream.ReadExact(probe.data(), probe.size());
    stream.Seek(0, kSeekBegin);
    if (stream.error)
        return {};
    switch (DetectImageFormat(probe)) {
    case ImageFormat::Bmp: return ReadBmpImage(stream, callback, data);
    case ImageFormat::Pcx: return ReadPcxImage(stream, callback, data);
    case ImageFormat::Gif: return ReadGifImage(stream, callback, data);
    case ImageFormat::Tiff: return ReadTiffImage(stream, callback, data);
    case ImageFormat::Jpeg: return ReadJpegImage(stream, callback, data);
    case ImageFormat::Unknown: break;
    }
    return {};
}

PackedDib LoadImageFile(const char* fileName, ProgressCallback callback, void* data)
{
    return Load<FileImageStream>(ReadImageStream, callback, data, fileName);
}

PackedDib LoadImageMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback, void* data)
{
    return Load<MemoryImageStream>(ReadImageStream, callback, data, bytes, size);
}

PackedDib LoadImageResource(int id, ResourceLookup module, ProgressCallback callback, void* data)
{
    return Load<ResourceImageStream>(ReadImageStream, callback, data, id, module);
}

PackedDib LoadBmpFile(const char* fileName, ProgressCallback callback, void* data)
{
    return Load<FileImageStream>(ReadBmpImage, callback, data, fileName);
}

PackedDib LoadPcxFile(const char* fileName, ProgressCallback callback, void* data)
{
    return Load<FileImageStream>(ReadPcxImage, callback, data, fileName);
}

PackedDib LoadGifFile(const char* fileName, ProgressCallback callback, void* data)
{
    return Load<FileImageStream>(ReadGifImage, callback, data, fileName);
}

PackedDib LoadTiffFile(const char* fileName, ProgressCallback callback, void* data)
{
    return Load<FileImageStream>(ReadTiffImage, callback, data, fileName);
}

PackedDib LoadJpegFile(const char* fileName, ProgressCallback callback, void* data)
{
    return Load<FileImageStream>(ReadJpegImage, callback, data, fileName);
}

PackedDib LoadBmpMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback, void* data)
{
    return Load<MemoryImageStream>(ReadBmpImage, callback, data, bytes, size);
}

PackedDib LoadPcxMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback, void* data)
{
    return Load<MemoryImageStream>(ReadPcxImage, callback, data, bytes, size);
}

PackedDib LoadGifMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback, void* data)
{
    return Load<MemoryImageStream>(ReadGifImage, callback, data, bytes, size);
}

PackedDib LoadTiffMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback, void* data)
{
    return Load<MemoryImageStream>(ReadTiffImage, callback, data, bytes, size);
}

PackedDib LoadJpegMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback, void* data)
{
    return Load<MemoryImageStream>(ReadJpegImage, callback, data, bytes, size);
}

PackedDib LoadBmpResource(int id, ResourceLookup module, ProgressCallback callback, void* data)
{
    return Load<ResourceImageStream>(ReadBmpImage, callback, data, id, module);
}

PackedDib LoadPcxResource(int id, ResourceLookup module, ProgressCallback callback, void* data)
{
    return Load<ResourceImageStream>(ReadPcxImage, callback, data, id, module);
}

PackedDib LoadGifResource(int id, ResourceLookup module, ProgressCallback callback, void* data)
{
    return Load<ResourceImageStream>(ReadGifImage, callback, data, id, module);
}

PackedDib LoadTiffResource(int id, ResourceLookup module, ProgressCallback callback, void* data)
{
    return Load<ResourceImageStream>(ReadTiffImage, callback, data, id, module);
}

PackedDib LoadJpegResource(int id, ResourceLookup module, ProgressCallback callback, void* data)
{
    return Load<ResourceImageStream>(ReadJpegImage, callback, data, id, module);
}

}  // namespace orbiscope
