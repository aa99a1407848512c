// Decoding a 4000 x 3000 picture in each format, and its reduction to 256
// colours by median cut.  Targets: each of the BMP, PCX, GIF and TIFF readers
// within twice the time of Debian's own decoder of the same file; the median
// cut (counting, palette, mapping) under 100 ms.
//
// The pictures come from bench/imaging_bench_images.sh, which makes them with
// Debian's tools into the folder named by ORBISCOPE_BENCH_IMAGES (default
// /tmp/orbiscope-bench-images) and times Debian's libraries on the same files.
// libjpeg is linked here anyway, so its plain decode runs in this program as
// the JPEG reader's reference.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
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
void BM_ReadJpeg(benchmark::State& state) { Decode(state, "bench.jpg"); }

// libjpeg on its own, with the reader's settings (defaults, RGB output).
void BM_LibjpegPlainDecode(benchmark::State& state)
{
    const auto& bytes = FileBytes("bench.jpg");
    if (bytes.empty()) {
        state.SkipWithError("picture missing: run bench/imaging_bench_images.sh first");
        return;
    }
    std::vector<unsigned char> pixels;
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        const std::size_t stride = std::size_t{cinfo.output_width} * static_cast<std::size_t>(cinfo.output_components);
        pixels.resize(stride * cinfo.output_height);
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
BENCHMARK(BM_ReadJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibjpegPlainDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MedianCut256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MedianCutPaletteOnly)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
