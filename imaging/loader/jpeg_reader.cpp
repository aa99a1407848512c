// JPEG files (baseline and progressive), decoded by libjpeg into an 8-bit
// grey or a 24-bit packed DIB.
//
// libjpeg reports errors by calling back, and the error manager leaves by
// longjmp.  So that no C++ destructor is ever skipped, everything that lives
// across the jump is kept in a `JpegJob` in the caller's frame, the function
// that calls setjmp holds only trivially destructible locals, and no C++
// object is alive inside the source callbacks when they report an error.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <utility>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

#include "imaging/loader/image_loader.h"
#include "imaging/loader/reader_support.h"

namespace orbiscope {

namespace {

constexpr std::size_t kFileSourceBytes = 32768;
constexpr std::size_t kMemorySourceWindow = 8192;
// libjpeg has no backing store here: a progressive picture keeps all its
// coefficients in memory, about twice the decoded picture at most.
constexpr long kMaxLibjpegMemory = 768L << 20;

struct JpegErrorManager {
    jpeg_error_mgr pub;   // first, so that libjpeg's pointer is ours
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings end the reading as errors do: a damaged picture is not shown.
void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

void OutputMessage(j_common_ptr) {}

void FormatMessage(j_common_ptr, char* buffer)
{
    buffer[0] = '\0';
}

void ResetErrorManager(j_common_ptr cinfo)
{
    cinfo->err->num_warnings = 0;
    cinfo->err->msg_code = 0;
}

void InstallErrorManager(JpegErrorManager& err)
{
    std::memset(&err.pub, 0, sizeof err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.emit_message = EmitMessage;
    err.pub.output_message = OutputMessage;
    err.pub.format_message = FormatMessage;
    err.pub.reset_error_mgr = ResetErrorManager;
}

// --- source over a file stream ----------------------------------------------
// The pattern of libjpeg's own stdio source manager (jdatasrc.c).

struct JpegFileSource {
    jpeg_source_mgr pub;
    ImageStream* stream;
    JOCTET* buffer;
    boolean startOfFile;
};

void FileInit(j_decompress_ptr cinfo)
{
    reinterpret_cast<JpegFileSource*>(cinfo->src)->startOfFile = TRUE;
}

boolean FileFill(j_decompress_ptr cinfo)
{
    auto* src = reinterpret_cast<JpegFileSource*>(cinfo->src);
    std::int64_t n = src->stream->Read(src->buffer, kFileSourceBytes);
    if (n <= 0) {
        if (src->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        n = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = static_cast<std::size_t>(n);
    src->startOfFile = FALSE;
    return TRUE;
}

// Skips `n` bytes within what a source has supplied; false when the skip
// goes past it, with the bytes beyond in `beyond`.
bool SkipSupplied(jpeg_source_mgr& pub, long n, std::size_t& beyond)
{
    beyond = 0;
    if (n <= 0)
        return true;
    const auto count = static_cast<std::size_t>(n);
    if (count < pub.bytes_in_buffer) {
        pub.next_input_byte += count;
        pub.bytes_in_buffer -= count;
        return true;
    }
    beyond = count - pub.bytes_in_buffer;
    return false;
}

void FileSkip(j_decompress_ptr cinfo, long n)
{
    auto* src = reinterpret_cast<JpegFileSource*>(cinfo->src);
    std::size_t beyond = 0;
    if (SkipSupplied(src->pub, n, beyond))
        return;
    if (beyond > 0)
        src->stream->Seek(static_cast<std::int64_t>(beyond), kSeekCurrent);
    FileFill(cinfo);
}

void NoOp(j_decompress_ptr) {}

void UseFileSource(j_decompress_ptr cinfo, ImageStream& stream)
{
    auto* src = static_cast<JpegFileSource*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(JpegFileSource)));
    src->buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kFileSourceBytes));
    src->stream = &stream;
    src->startOfFile = TRUE;
    src->pub.init_source = FileInit;
    src->pub.fill_input_buffer = FileFill;
    src->pub.skip_input_data = FileSkip;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = NoOp;
    src->pub.next_input_byte = nullptr;
    src->pub.bytes_in_buffer = 0;
    cinfo->src = &src->pub;
}

// --- source over a memory block ---------------------------------------------

struct JpegMemorySource {
    jpeg_source_mgr pub;
    const JOCTET* base;
    std::size_t size;
    std::size_t position;
    JOCTET endMarker[2];
};

// The block in windows of up to 8192 bytes, without copying; past its end a
// fake end-of-image marker.
boolean MemoryFill(j_decompress_ptr cinfo)
{
    auto* src = reinterpret_cast<JpegMemorySource*>(cinfo->src);
    if (src->position >= src->size) {
        src->endMarker[0] = 0xFF;
        src->endMarker[1] = JPEG_EOI;
        src->pub.next_input_byte = src->endMarker;
        src->pub.bytes_in_buffer = 2;
        return TRUE;
    }
    const std::size_t n = std::min(src->size - src->position, kMemorySourceWindow);
    src->pub.next_input_byte = src->base + src->position;
    src->pub.bytes_in_buffer = n;
    src->position += n;
    return TRUE;
}

// A skip past the block's end stops at the end, so the next fill supplies
// the end marker rather than bytes past the block.
void MemorySkip(j_decompress_ptr cinfo, long n)
{
    auto* src = reinterpret_cast<JpegMemorySource*>(cinfo->src);
    std::size_t beyond = 0;
    if (SkipSupplied(src->pub, n, beyond))
        return;
    src->position = beyond < src->size - src->position ? src->position + beyond : src->size;
    MemoryFill(cinfo);
}

void UseMemorySource(j_decompress_ptr cinfo, const std::uint8_t* base, std::size_t size)
{
    auto* src = static_cast<JpegMemorySource*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(JpegMemorySource)));
    src->base = base;
    src->size = size;
    src->position = 0;
    src->pub.init_source = NoOp;
    src->pub.fill_input_buffer = MemoryFill;
    src->pub.skip_input_data = MemorySkip;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = NoOp;
    src->pub.next_input_byte = nullptr;
    src->pub.bytes_in_buffer = 0;
    cinfo->src = &src->pub;
}

// --- the reading --------------------------------------------------------------

struct JpegJob {
    ImageStream* stream = nullptr;
    ProgressCallback callback = nullptr;
    void* data = nullptr;
    jpeg_decompress_struct cinfo{};
    JpegErrorManager err{};
    bool created = false;
    ImageDib dib;
};

bool AttachSource(JpegJob& job)
{
    if (job.stream->IsFile()) {
        UseFileSource(&job.cinfo, *job.stream);
        return true;
    }
    if (job.stream->IsMemory()) {
        UseMemorySource(&job.cinfo, job.stream->MemoryBase(), static_cast<std::size_t>(job.stream->Size()));
        return true;
    }
    return false;
}

// Grey and RGB output only: four-component (CMYK) pictures are refused, and
// so is a picture beyond the packed DIB's limits, before libjpeg allocates
// anything for its pixels.
bool Acceptable(const jpeg_decompress_struct& cinfo)
{
    const int components = cinfo.out_color_space == JCS_GRAYSCALE ? 1 : cinfo.out_color_space == JCS_RGB ? 3 : 0;
    return components != 0 &&
           WithinDibLimits(cinfo.image_width, cinfo.image_height, static_cast<unsigned>(8 * components));
}

// Whether the file can hold the picture its frame header announces.  With
// Huffman coding every 8 x 8 block of a component costs at least one bit (its
// DC code), so a cut-off file claiming a large picture is refused before the
// picture, or libjpeg's coefficient store, is allocated.  Arithmetic coding
// has no such floor; its pictures are bounded by the size limit alone.
bool FileCanHoldPicture(const jpeg_decompress_struct& cinfo, std::uint64_t fileBytes)
{
    if (cinfo.arith_code)
        return true;
    std::uint64_t blocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& component = cinfo.comp_info[c];
        blocks = std::max(blocks, std::uint64_t{component.width_in_blocks} * component.height_in_blocks);
    }
    return blocks <= 8 * fileBytes;
}

void SetGreyPalette(JpegJob& job)
{
    PaletteRgb palette{};
    const jpeg_decompress_struct& c = job.cinfo;
    if (c.actual_number_of_colors != 0 && c.colormap != nullptr) {
        for (int i = 0; i < c.actual_number_of_colors && i < 256; ++i)
            std::fill_n(palette.begin() + 3 * i, 3, c.colormap[0][i]);
    } else {
        for (std::size_t i = 0; i < 256; ++i)
            std::fill_n(palette.begin() + static_cast<std::ptrdiff_t>(3 * i), 3, static_cast<std::uint8_t>(i));
    }
    job.dib.SetPaletteRgb(palette);
}

// Holds the setjmp: only trivially destructible locals here.
bool Decode(JpegJob& job)
{
    job.cinfo.err = &job.err.pub;
    InstallErrorManager(job.err);
    if (setjmp(job.err.jump) != 0)
        return false;
    jpeg_create_decompress(&job.cinfo);
    job.created = true;
    job.cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
    if (!AttachSource(job))
        return false;
    jpeg_read_header(&job.cinfo, TRUE);
    if (!Acceptable(job.cinfo) || !FileCanHoldPicture(job.cinfo, job.stream->Size()))
        return false;
#ifdef JCS_EXTENSIONS
    // The same samples in a packed DIB's blue-green-red order, straight from
    // libjpeg's colour conversion.
    const bool bgr = job.cinfo.out_color_space == JCS_RGB;
    if (bgr)
        job.cinfo.out_color_space = JCS_EXT_BGR;
#else
    const bool bgr = false;
#endif
    jpeg_start_decompress(&job.cinfo);
    const JDIMENSION width = job.cinfo.output_width, height = job.cinfo.output_height;
    const int components = job.cinfo.out_color_components;
    ReportProgress(job.callback, job.data, 1, std::uint64_t{height} + 2);
    job.dib = ImageDib::New(static_cast<unsigned>(8 * components), static_cast<std::int32_t>(width),
                            static_cast<std::int32_t>(height), 0);
    if (!job.dib.Valid())
        return false;
    if (components == 1)
        SetGreyPalette(job);
    ReportProgress(job.callback, job.data, 2, std::uint64_t{height} + 2);
    while (job.cinfo.output_scanline < height) {
        const JDIMENSION y = job.cinfo.output_scanline;
        JSAMPROW row = job.dib.RowPointer(static_cast<std::int32_t>(y));
        if (jpeg_read_scanlines(&job.cinfo, &row, 1) != 1)
            return false;
        if (components == 3 && !bgr)
            CopySwappingRedBlue(row, row, width);
        ReportProgress(job.callback, job.data, std::uint64_t{y} + 2, std::uint64_t{height} + 2);
    }
    jpeg_finish_decompress(&job.cinfo);
    return true;
}

}  // namespace

PackedDib ReadJpegImage(ImageStream& stream, ProgressCallback callback, void* data)
{
    if (!Readable(stream))
        return {};
    ReportProgress(callback, data, 0, 1);
    JpegJob job;
    job.stream = &stream;
    job.callback = callback;
    job.data = data;
    const bool ok = Decode(job);
    if (job.created)
        jpeg_destroy_decompress(&job.cinfo);
    if (!ok)
        return {};
    return job.dib.Detach();
}

}  // namespace orbiscope
