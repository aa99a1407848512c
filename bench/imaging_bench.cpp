// Decoding a 4000 x 3000 picture in each format, and its reduction to 256
// colours by median cut.  Targets: each of the BMP, PCX, GIF and TIFF readers
// within twice the time of Debian's own decoder of the same file; the median
// cut (counting, palette, mapping) under 100 ms.
//
// The pictures come from bench/imaging_bench_images.sh, which makes them with
// Debian's tools into the folder named by ORBISCOPE_BENCH_IMAGES (default
// /tmp/orbiscope-bench-images) and times Debian's libraries on the same files.
// libjpeg is linked here anyway, so its plain decode runs in this program as
// the JPEG reader's reference; libtiff and giflib are too when they are
// installed (libtiff-dev, libgif-dev), decoding the same bytes from memory.  Each
// reference allocates its picture afresh in every round, as the readers do.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
#ifdef ORBISCOPE_BENCH_LIBTIFF
#include <tiffio.h>
#endif
#ifdef ORBISCOPE_BENCH_GIFLIB
#include <gif_lib.h>
#endif
}

#include "imaging/loader/image_loader.h"
#include "imaging/loader/median_cut.h"

namespace {

using orbiscope::PackedDib;

std::string ImageFolder()
{
    const char* env = std::getenv("ORBISCOPE_BENCH_IMAGES");
    return env != nullptr ? env : "/tmp/orbiscope-bench-images";
}

const std::vector<std::uint8_t>& FileBytes(const std::string& name)
{
    static std::map<std::string, std::vector<std::uint8_t>> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        std::vector<std::uint8_t> bytes;
        if (std::FILE* f = std::fopen((ImageFolder() + "/" + name).c_str(), "rb")) {
            std::uint8_t buffer[65536];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
                bytes.insert(bytes.end(), buffer, buffer + n);
            std::fclose(f);
        }
        it = cache.emplace(name, std::move(bytes)).first;
    }
    return it->second;
}

void Decode(benchmark::State& state, const char* name)
{
    const auto& bytes = FileBytes(name);
    if (bytes.empty()) {
        state.SkipWithError("picture missing: run bench/imaging_bench_images.sh first");
        return;
    }
    for (auto _ : state) {
        PackedDib dib = orbiscope::LoadImageMemory(bytes.data(), bytes.size());
        if (dib.empty())
            state.SkipWithError("the reader refused the picture");
        benchmark::DoNotOptimize(dib.data());
    }
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}

void BM_ReadBmp24(benchmark::State& state) { Decode(state, "bench.bmp"); }
void BM_ReadPcx8(benchmark::State& state) { Decode(state, "bench.pcx"); }
void BM_ReadGif(benchmark::State& state) { Decode(state, "bench.gif"); }
void BM_ReadTiffLzw(benchmark::State& state) { Decode(state, "bench.tif"); }
void BM_ReadTiffNone(benchmark::State& state) { Decode(state, "bench-none.tif"); }
void BM_ReadTiffPackBits(benchmark::State& state) { Decode(state, "bench-packbits.tif"); }
void BM_ReadJpeg(benchmark::State& state) { Decode(state, "bench.jpg"); }

// libjpeg on its own, with the reader's settings (defaults, RGB output).
void BM_LibjpegPlainDecode(benchmark::State& state)
{
    const auto& bytes = FileBytes("bench.jpg");
    if (bytes.empty()) {
        state.SkipWithError("picture missing: run bench/imaging_bench_images.sh first");
        return;
    }
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        const std::size_t stride = std::size_t{cinfo.output_width} * static_cast<std::size_t>(cinfo.output_components);
        std::vector<unsigned char> pixels(stride * cinfo.output_height);   // fresh and zeroed, as the reader's
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}

#ifdef ORBISCOPE_BENCH_LIBTIFF
// libtiff reading a file held in memory.
struct MemoryTiff {
    const std::vector<std::uint8_t>* bytes;
    toff_t at;
};

tsize_t TiffRead(thandle_t h, tdata_t out, tsize_t n)
{
    auto* m = static_cast<MemoryTiff*>(h);
    const auto left = static_cast<tsize_t>(m->bytes->size() - std::min<std::size_t>(m->at, m->bytes->size()));
    const tsize_t k = std::min(n, left);
    std::memcpy(out, m->bytes->data() + m->at, static_cast<std::size_t>(k));
    m->at += static_cast<toff_t>(k);
    return k;
}
tsize_t TiffWrite(thandle_t, tdata_t, tsize_t) { return 0; }
toff_t TiffSeek(thandle_t h, toff_t offset, int whence)
{
    auto* m = static_cast<MemoryTiff*>(h);
    m->at = whence == SEEK_SET ? offset : whence == SEEK_CUR ? m->at + offset : m->bytes->size() + offset;
    return m->at;
}
int TiffClose(thandle_t) { return 0; }
toff_t TiffSize(thandle_t h) { return static_cast<MemoryTiff*>(h)->bytes->size(); }
int TiffMap(thandle_t, tdata_t*, toff_t*) { return 0; }
void TiffUnmap(thandle_t, tdata_t, toff_t) {}

// Every strip decoded into one fresh picture-sized buffer, as its samples
// come (no reordering of rows or channels).
void LibtiffDecode(benchmark::State& state, const char* name)
{
    const auto& bytes = FileBytes(name);
    if (bytes.empty()) {
        state.SkipWithError("picture missing: run bench/imaging_bench_images.sh first");
        return;
    }
    TIFFSetWarningHandler(nullptr);
    for (auto _ : state) {
        MemoryTiff m{&bytes, 0};
        TIFF* t = TIFFClientOpen(name, "rm", &m, TiffRead, TiffWrite, TiffSeek, TiffClose, TiffSize, TiffMap, TiffUnmap);
        if (t == nullptr) {
            state.SkipWithError("libtiff refused the picture");
            return;
        }
        const tmsize_t strip = TIFFStripSize(t);
        const tstrip_t strips = TIFFNumberOfStrips(t);
        std::vector<unsigned char> pixels(static_cast<std::size_t>(strip) * strips);
        for (tstrip_t s = 0; s < strips; ++s)
            TIFFReadEncodedStrip(t, s, pixels.data() + static_cast<std::size_t>(strip) * s, strip);
        TIFFClose(t);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}

#endif

#ifdef ORBISCOPE_BENCH_GIFLIB
struct MemoryGif {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at;
};

int GifRead(GifFileType* g, GifByteType* out, int n)
{
    auto* m = static_cast<MemoryGif*>(g->UserData);
    const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(n), m->bytes->size() - m->at);
    std::memcpy(out, m->bytes->data() + m->at, k);
    m->at += k;
    return static_cast<int>(k);
}

// giflib's whole-file read: every image's indices into fresh memory.
void BM_GiflibSlurp(benchmark::State& state)
{
    const auto& bytes = FileBytes("bench.gif");
    if (bytes.empty()) {
        state.SkipWithError("picture missing: run bench/imaging_bench_images.sh first");
        return;
    }
    for (auto _ : state) {
        MemoryGif m{&bytes, 0};
        int error = 0;
        GifFileType* g = DGifOpen(&m, GifRead, &error);
        if (g == nullptr || DGifSlurp(g) != GIF_OK) {
            state.SkipWithError("giflib refused the picture");
            return;
        }
        benchmark::DoNotOptimize(g->SavedImages);
        DGifCloseFile(g, &error);
    }
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}
#endif

#ifdef ORBISCOPE_BENCH_LIBTIFF
void BM_LibtiffLzw(benchmark::State& state) { LibtiffDecode(state, "bench.tif"); }
void BM_LibtiffNone(benchmark::State& state) { LibtiffDecode(state, "bench-none.tif"); }
void BM_LibtiffPackBits(benchmark::State& state) { LibtiffDecode(state, "bench-packbits.tif"); }
#endif

const PackedDib& TrueColourPicture()
{
    static const PackedDib dib = [] {
        const auto& bytes = FileBytes("bench.bmp");
        return orbiscope::LoadImageMemory(bytes.data(), bytes.size());
    }();
    return dib;
}

// What the image window does with a picture on a palette display: count its
// colours, choose 256 by median cut, map the picture onto them.
void BM_MedianCut256(benchmark::State& state)
{
    const PackedDib& dib = TrueColourPicture();
    if (dib.empty()) {
        state.SkipWithError("picture missing: run bench/imaging_bench_images.sh first");
        return;
    }
    std::uint32_t colours = 0;
    for (auto _ : state) {
        orbiscope::ColorHistogram histogram = orbiscope::CreateColorHistogram();
        orbiscope::AddDibToHistogram(histogram, dib);
        orbiscope::LogPalette palette;
        colours = orbiscope::BuildHistogramPalette(histogram, 256, palette);
        PackedDib mapped = orbiscope::MapDibToPalette(dib, histogram, palette);
        benchmark::DoNotOptimize(mapped.data());
    }
    state.counters["colours"] = colours;
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}

// The palette choice alone, from a histogram already counted.
void BM_MedianCutPaletteOnly(benchmark::State& state)
{
    const PackedDib& dib = TrueColourPicture();
    if (dib.empty()) {
        state.SkipWithError("picture missing: run bench/imaging_bench_images.sh first");
        return;
    }
    orbiscope::ColorHistogram counted = orbiscope::CreateColorHistogram();
    orbiscope::AddDibToHistogram(counted, dib);
    for (auto _ : state) {
        orbiscope::ColorHistogram histogram = counted;
        orbiscope::LogPalette palette;
        benchmark::DoNotOptimize(orbiscope::BuildHistogramPalette(histogram, 256, palette));
    }
}

}  // namespace

BENCHMARK(BM_ReadBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPcx8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadGif)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTiffLzw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTiffNone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTiffPackBits)->Unit(benchmark::kMillisecond);
#ifdef ORBISCOPE_BENCH_LIBTIFF
BENCHMARK(BM_LibtiffLzw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibtiffNone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibtiffPackBits)->Unit(benchmark::kMillisecond);
#endif
#ifdef ORBISCOPE_BENCH_GIFLIB
BENCHMARK(BM_GiflibSlurp)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_ReadJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibjpegPlainDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MedianCut256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MedianCutPaletteOnly)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
