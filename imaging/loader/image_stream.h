// The byte sources the image readers read from: a file, a memory block, or a
// resource (a memory block found by id).  Every failure sets the sticky error
// flag; from then on every operation fails with -1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orbiscope {

inline constexpr int kSeekBegin = 0;
inline constexpr int kSeekCurrent = 1;
inline constexpr int kSeekEnd = 2;   // any other origin counts as the end

class ImageStream {
public:
    ImageStream() = default;
    ImageStream(const ImageStream&) = delete;
    ImageStream& operator=(const ImageStream&) = delete;
    virtual ~ImageStream() = default;

    virtual void Close() {}
    virtual std::int64_t Tell() { return 0; }
    // Moves to offset from the origin; returns the new position or -1.
    virtual std::int64_t Seek(std::int64_t /*offset*/, int /*origin*/) { return 0; }
    // One byte 0-255, or -1 with eof set at the end.
    virtual int GetByte() { return -1; }
    // All `count` bytes, or -1 (error set) when fewer are there.
    virtual std::int64_t ReadExact(void* /*buffer*/, std::size_t /*count*/) { return 0; }
    // Up to `count` bytes: the number delivered, 0 at the end, -1 on failure.
    virtual std::int64_t Read(void* /*buffer*/, std::size_t /*count*/) { return 0; }
    virtual bool IsFile() const { return false; }
    virtual bool IsMemory() const { return false; }
    // The block of a memory stream (null for other kinds).
    virtual const std::uint8_t* MemoryBase() const { return nullptr; }
    // The byte size of the source (0 when unknown).
    virtual std::uint64_t Size() const { return 0; }

    bool eof = false;     // a read met the end
    bool open = false;    // the source was opened
    bool error = false;   // any failure; sticky
};

// Bytes between the current position and the end, 0 when unknown or past it.
std::uint64_t BytesLeft(ImageStream& stream);

// A regular file, read through a buffer.  Anything that is not a regular file
// (a folder, a FIFO, a device) is refused at once, so opening never blocks.
class FileImageStream : public ImageStream {
public:
    explicit FileImageStream(const char* fileName);
    ~FileImageStream() override;

    void Close() override;
    std::int64_t Tell() override;
    std::int64_t Seek(std::int64_t offset, int origin) override;
    int GetByte() override;
    std::int64_t ReadExact(void* buffer, std::size_t count) override;
    std::int64_t Read(void* buffer, std::size_t count) override;
    bool IsFile() const override { return true; }
    std::uint64_t Size() const override { return fileSize_; }

private:
    bool Usable();
    bool Refill();
    std::size_t Take(std::uint8_t* out, std::size_t count);

    int fd_ = -1;
    std::uint64_t fileSize_ = 0;
    std::uint64_t position_ = 0;       // logical position of the next byte
    std::vector<std::uint8_t> buffer_;
    std::uint64_t bufferStart_ = 0;    // file offset of buffer_[0]
    std::size_t bufferFill_ = 0;
};

class MemoryImageStream : public ImageStream {
public:
    // Valid only for a non-null pointer and at least one byte.
    MemoryImageStream(const std::uint8_t* base, std::size_t size);
    ~MemoryImageStream() override = default;

    std::int64_t Tell() override;
    std::int64_t Seek(std::int64_t offset, int origin) override;
    int GetByte() override;
    std::int64_t ReadExact(void* buffer, std::size_t count) override;
    std::int64_t Read(void* buffer, std::size_t count) override;
    bool IsMemory() const override { return true; }
    const std::uint8_t* MemoryBase() const override { return base_; }
    std::uint64_t Size() const override { return size_; }

protected:
    void Attach(const std::uint8_t* base, std::size_t size);

private:
    bool Usable();

    const std::uint8_t* base_ = nullptr;
    std::size_t cursor_ = 0;
    std::size_t size_ = 0;
};

// Finds the bytes of a data resource by id; empty when there is none.  The
// bytes must outlive the stream.
using ResourceLookup = std::span<const std::uint8_t> (*)(int id);

class ResourceImageStream : public MemoryImageStream {
public:
    ResourceImageStream(int id, ResourceLookup lookup);
};

}  // namespace orbiscope
