// The image loader: turns a BMP, PCX, GIF, TIFF or JPEG file, memory block or
// resource into one packed DIB (packed_dib.h).  Formats are recognised by
// their first four bytes.
//
// Every entry point returns the new block, or an empty block on any failure:
// a source that cannot be opened, an unknown signature, a damaged or hostile
// file, a picture beyond the size limits, or memory running out.  There are
// no messages and no exceptions; the caller owns what it gets.
#pragma once

#include <cstdint>
#include <span>

#include "imaging/loader/image_stream.h"
#include "imaging/loader/packed_dib.h"

namespace orbiscope {

enum class ImageFormat { Unknown = 0, Bmp = 1, Pcx = 2, Gif = 3, Tiff = 4, Jpeg = 5 };

// Told how far a reader has got, in the reader's own units (rows, strips or
// fixed phases).  A null callback is never called.
using ProgressCallback = void (*)(void* data, std::uint32_t position, std::uint32_t total);

// "GIF8", FF D8, "BM", "II", "MM", 0A, tried in this order.
ImageFormat DetectImageFormat(std::span<const std::uint8_t, 4> bytes);

// Probes four bytes, goes back to the start and calls the matching reader.
PackedDib ReadImageStream(ImageStream& stream, ProgressCallback callback, void* data);

// The readers, each over a stream positioned at the start of its file.
PackedDib ReadBmpImage(ImageStream& stream, ProgressCallback callback, void* data);
PackedDib ReadPcxImage(ImageStream& stream, ProgressCallback callback, void* data);
PackedDib ReadGifImage(ImageStream& stream, ProgressCallback callback, void* data);
PackedDib ReadTiffImage(ImageStream& stream, ProgressCallback callback, void* data);
PackedDib ReadJpegImage(ImageStream& stream, ProgressCallback callback, void* data);

// A new 8-bit, uncompressed copy of an RLE8 or RLE4 picture; empty for any
// other block, for compressed data that would write outside a row, and when
// memory runs out.  Data that ends early leaves the remaining rows at index 0.
PackedDib ExpandRleDib(std::span<const std::uint8_t> dib);

// Entry points by source and format.
PackedDib LoadImageFile(const char* fileName, ProgressCallback callback = nullptr, void* data = nullptr);
PackedDib LoadImageMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback = nullptr,
                          void* data = nullptr);
PackedDib LoadImageResource(int id, ResourceLookup module, ProgressCallback callback = nullptr,
                            void* data = nullptr);

PackedDib LoadBmpFile(const char* fileName, ProgressCallback callback = nullptr, void* data = nullptr);
PackedDib LoadPcxFile(const char* fileName, ProgressCallback callback = nullptr, void* data = nullptr);
PackedDib LoadGifFile(const char* fileName, ProgressCallback callback = nullptr, void* data = nullptr);
PackedDib LoadTiffFile(const char* fileName, ProgressCallback callback = nullptr, void* data = nullptr);
PackedDib LoadJpegFile(const char* fileName, ProgressCallback callback = nullptr, void* data = nullptr);

PackedDib LoadBmpMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback = nullptr,
                        void* data = nullptr);
PackedDib LoadPcxMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback = nullptr,
                        void* data = nullptr);
PackedDib LoadGifMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback = nullptr,
                        void* data = nullptr);
PackedDib LoadTiffMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback = nullptr,
                         void* data = nullptr);
PackedDib LoadJpegMemory(const std::uint8_t* bytes, std::size_t size, ProgressCallback callback = nullptr,
                         void* data = nullptr);

PackedDib LoadBmpResource(int id, ResourceLookup module, ProgressCallback callback = nullptr, void* data = nullptr);
PackedDib LoadPcxResource(int id, ResourceLookup module, ProgressCallback callback = nullptr, void* data = nullptr);
PackedDib LoadGifResource(int id, ResourceLookup module, ProgressCallback callback = nullptr, void* data = nullptr);
PackedDib LoadTiffResource(int id, ResourceLookup module, ProgressCallback callback = nullptr, void* data = nullptr);
PackedDib LoadJpegResource(int id, ResourceLookup module, ProgressCallback callback = nullptr, void* data = nullptr);

}  // namespace orbiscope
