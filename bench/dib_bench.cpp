// Turning packed DIBs into drawable pictures, and drawing one at its natural
// size: what an image window pays for each picture it is given, and for each
// paint of a built-in map when it keeps no converted copy.
#include "platform/dc.h"
#include "platform/dib.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

namespace {

// A packed DIB of the given size and depth with a grey-ramp palette and
// pixels that vary along each row.
std::vector<std::uint8_t> MakeDib(int width, int height, int bits)
{
    const std::uint32_t colours = bits <= 8 ? (1u << bits) : 0;
    const std::size_t stride = std::size_t(((width * bits + 31) & ~31) / 8);
    std::vector<std::uint8_t> dib(40 + 4 * colours + stride * std::size_t(height));
    auto put32 = [&dib](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) dib[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, std::uint32_t(width));
    put32(8, std::uint32_t(height));
    dib[12] = 1;
    dib[14] = std::uint8_t(bits);
    put32(32, colours);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const auto g = std::uint8_t(i * 255 / (colours - 1));
        dib[40 + 4 * i] = dib[41 + 4 * i] = dib[42 + 4 * i] = g;
    }
    std::uint8_t* bitsStart = dib.data() + 40 + 4 * colours;
    for (std::size_t i = 0; i < stride * std::size_t(height); ++i) bitsStart[i] = std::uint8_t(i * 7);
    return dib;
}

// The largest built-in map (800 x 430, 16 colours), a 1-bit diagram and a
// large true-colour photograph.
void BM_DibToImage(benchmark::State& state)
{
    const auto dib = MakeDib(int(state.range(0)), int(state.range(1)), int(state.range(2)));
    for (auto _ : state) {
        QImage image = platform::DibToImage(dib);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_DibToImage)->Args({800, 430, 4})->Args({480, 376, 1})->Args({4000, 3000, 24})->Unit(benchmark::kMillisecond);

void BM_StretchDibNaturalSize(benchmark::State& state)
{
    const auto dib = MakeDib(800, 430, 4);
    QImage target(800, 430, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        platform::DC dc(painter);
        benchmark::DoNotOptimize(dc.StretchDib(dib, QRect(0, 0, 800, 430)));
    }
}
BENCHMARK(BM_StretchDibNaturalSize)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
