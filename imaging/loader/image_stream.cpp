#include "imaging/loader/image_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace orbiscope {

namespace {

constexpr std::size_t kFileBufferBytes = 64 * 1024;

// The position `offset` bytes from `origin`, or -1 when it would be negative
// or does not fit.
std::int64_t SeekTarget(std::int64_t offset, int origin, std::uint64_t current, std::uint64_t size)
{
    const std::uint64_t base = origin == kSeekBegin ? 0 : origin == kSeekCurrent ? current : size;
    if (base > static_cast<std::uint64_t>(INT64_MAX))
        return -1;
    const auto b = static_cast<std::int64_t>(base);
    if (offset > 0 && b > INT64_MAX - offset)
        return -1;
    const std::int64_t target = b + offset;
    return target < 0 ? -1 : target;
}

}  // namespace

std::uint64_t BytesLeft(ImageStream& stream)
{
    const std::int64_t at = stream.Tell();
    const std::uint64_t size = stream.Size();
    if (at < 0 || static_cast<std::uint64_t>(at) >= size)
        return 0;
    return size - static_cast<std::uint64_t>(at);
}

// --- FileImageStream -------------------------------------------------------

FileImageStream::FileImageStream(const char* fileName)
{
    eof = error = true;
    if (fileName == nullptr)
        return;
    const int fd = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    try {
        buffer_.resize(kFileBufferBytes);
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    fileSize_ = static_cast<std::uint64_t>(st.st_size);
    open = true;
    eof = error = false;
}

FileImageStream::~FileImageStream()
{
    if (open)
        Close();
}

void FileImageStream::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    open = false;
}

bool FileImageStream::Usable()
{
    if (!open || error || eof) {
        error = true;
        return false;
    }
    return true;
}

std::int64_t FileImageStream::Tell()
{
    if (!open || error) {
        error = true;
        return -1;
    }
    return static_cast<std::int64_t>(position_);
}

std::int64_t FileImageStream::Seek(std::int64_t offset, int origin)
{
    const std::int64_t target = open && !error ? SeekTarget(offset, origin, position_, fileSize_) : -1;
    if (target < 0) {
        error = true;
        return -1;
    }
    position_ = static_cast<std::uint64_t>(target);
    eof = false;
    return target;
}

bool FileImageStream::Refill()
{
    bufferStart_ = position_;
    bufferFill_ = 0;
    for (;;) {
        const ssize_t n = ::pread(fd_, buffer_.data(), buffer_.size(), static_cast<off_t>(position_));
        if (n >= 0) {
            bufferFill_ = static_cast<std::size_t>(n);
            return n > 0;
        }
        if (errno != EINTR) {
            eof = error = true;
            return false;
        }
    }
}

// Copies up to `count` bytes at the position from the buffer, refilling it
// once when the position lies outside; large reads go straight to the file.
std::size_t FileImageStream::Take(std::uint8_t* out, std::size_t count)
{
    const bool inBuffer = position_ >= bufferStart_ && position_ < bufferStart_ + bufferFill_;
    if (!inBuffer && count >= buffer_.size()) {
        for (;;) {
            const ssize_t n = ::pread(fd_, out, count, static_cast<off_t>(position_));
            if (n >= 0) {
                position_ += static_cast<std::uint64_t>(n);
                return static_cast<std::size_t>(n);
            }
            if (errno != EINTR) {
                eof = error = true;
                return 0;
            }
        }
    }
    if (!inBuffer && !Refill())
        return 0;
    const auto at = static_cast<std::size_t>(position_ - bufferStart_);
    const std::size_t n = std::min(count, bufferFill_ - at);
    std::memcpy(out, buffer_.data() + at, n);
    position_ += n;
    return n;
}

int FileImageStream::GetByte()
{
    if (!Usable())
        return -1;
    const bool inBuffer = position_ >= bufferStart_ && position_ < bufferStart_ + bufferFill_;
    if (!inBuffer && !Refill()) {
        if (!error)
            eof = true;
        return -1;
    }
    return buffer_[static_cast<std::size_t>(position_++ - bufferStart_)];
}

std::int64_t FileImageStream::Read(void* buffer, std::size_t count)
{
    if (!Usable() || buffer == nullptr)
        return -1;
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t n = Take(out + done, count - done);
        if (error)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return static_cast<std::int64_t>(done);
}

std::int64_t FileImageStream::ReadExact(void* buffer, std::size_t count)
{
    const std::int64_t n = Read(buffer, count);
    if (n < 0 || static_cast<std::size_t>(n) != count) {
        eof = error = true;
        return -1;
    }
    return n;
}

// --- MemoryImageStream -----------------------------------------------------

MemoryImageStream::MemoryImageStream(const std::uint8_t* base, std::size_t size)
{
    Attach(base, size);
}

void MemoryImageStream::Attach(const std::uint8_t* base, std::size_t size)
{
    if (base == nullptr || size == 0) {
        eof = error = true;
        open = false;
        return;
    }
    base_ = base;
    size_ = size;
    cursor_ = 0;
    open = true;
    eof = error = false;
}

bool MemoryImageStream::Usable()
{
    if (!open || error) {
        error = true;
        return false;
    }
    return true;
}

std::int64_t MemoryImageStream::Tell()
{
    return Usable() ? static_cast<std::int64_t>(cursor_) : -1;
}

std::int64_t MemoryImageStream::Seek(std::int64_t offset, int origin)
{
    const std::int64_t target = Usable() ? SeekTarget(offset, origin, cursor_, size_) : -1;
    if (target < 0 || static_cast<std::uint64_t>(target) > size_) {
        error = true;
        return -1;
    }
    cursor_ = static_cast<std::size_t>(target);
    eof = cursor_ == size_;
    return target;
}

int MemoryImageStream::GetByte()
{
    if (!Usable())
        return -1;
    if (cursor_ >= size_) {
        eof = true;
        return -1;
    }
    return base_[cursor_++];
}

std::int64_t MemoryImageStream::ReadExact(void* buffer, std::size_t count)
{
    if (!Usable())
        return -1;
    if (buffer == nullptr || count > size_ - cursor_) {
        error = true;
        return -1;
    }
    std::memcpy(buffer, base_ + cursor_, count);
    cursor_ += count;
    return static_cast<std::int64_t>(count);
}

std::int64_t MemoryImageStream::Read(void* buffer, std::size_t count)
{
    if (!Usable())
        return -1;
    return ReadExact(buffer, std::min(count, size_ - cursor_));
}

// --- ResourceImageStream ---------------------------------------------------

ResourceImageStream::ResourceImageStream(int id, ResourceLookup lookup)
    : MemoryImageStream(nullptr, 0)
{
    if (lookup == nullptr)
        return;
    const std::span<const std::uint8_t> bytes = lookup(id);
    Attach(bytes.data(), bytes.size());
}

}  // namespace orbiscope
