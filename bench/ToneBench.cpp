// Time of one key press's work on the 176 x 180 canvas: one AdjustTone per
// kind, one ApplyColorTone, and one whole paint effect (edge map and eight
// passes, without the pauses between them).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "effects/BuildEdgeMap.h"
#include "effects/EdgeMap.h"
#include "effects/OilPaint.h"
#include "effects/PaintRandom.h"
#include "effects/WaterPaint.h"
#include "effects/WaxPaint.h"
#include "image/DibImage.h"

namespace {

// A photo-like canvas: smooth gradients with some grain and a few hard
// edges, so that every hue sector and every edge-map window occurs.
std::vector<uint8_t> MakeCanvas() {
    std::vector<uint8_t> pixels(kCanvasPixelBytes, 0);
    SeededPaintRandom grain(2024);
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            uint8_t* p = &pixels[static_cast<size_t>(y * kCanvasStride + x * 3)];
            const int32_t noise = static_cast<int32_t>(grain.Next() % 9u) - 4;
            const int32_t block = ((x / 22) + (y / 30)) % 2 == 0 ? 0 : 60;
            p[0] = static_cast<uint8_t>(std::min(255, std::max(0, x + noise + block)));
            p[1] = static_cast<uint8_t>(std::min(255, std::max(0, y + noise)));
            p[2] = static_cast<uint8_t>(std::min(255, std::max(0, 255 - x - y / 2 + noise)));
        }
    }
    return pixels;
}

void BM_AdjustTone(benchmark::State& state) {
    const std::vector<uint8_t> source = MakeCanvas();
    std::vector<uint8_t> destination(source.size());
    const auto kind = static_cast<AdjustKind>(state.range(0));
    const auto level = static_cast<int16_t>(state.range(1));
    for (auto _ : state) {
        AdjustTone(source.data(), destination.data(), kind, level, kCanvasWidth, kCanvasHeight);
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AdjustTone)
    ->ArgNames({"kind", "level"})
    ->Args({ADJUST_BRIGHTNESS, 40})
    ->Args({ADJUST_CONTRAST, 40})
    ->Args({ADJUST_HUE, 40})
    ->Args({ADJUST_VIVIDNESS, 30})
    ->Unit(benchmark::kMicrosecond);

void BM_ApplyColorTone(benchmark::State& state) {
    const std::vector<uint8_t> source = MakeCanvas();
    std::vector<uint8_t> destination(source.size());
    for (auto _ : state) {
        ApplyColorTone(source.data(), destination.data(), 50, 100, 200, kCanvasWidth,
                       kCanvasHeight);
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ApplyColorTone)->Unit(benchmark::kMicrosecond);

using PassFunction = void (*)(const uint8_t*, uint8_t*, uint8_t*, int32_t, int32_t, int16_t,
                              PaintRandom&);

void RunPaintEffect(benchmark::State& state, PassFunction pass) {
    const std::vector<uint8_t> source = MakeCanvas();
    std::vector<uint8_t> destination(source.size());
    std::vector<uint8_t> edges(static_cast<size_t>(EdgeMapStride(kCanvasWidth) * kCanvasHeight));
    SeededPaintRandom random(1);
    for (auto _ : state) {
        BuildEdgeMap(source.data(), destination.data(), edges.data(), kCanvasWidth, kCanvasHeight);
        for (int32_t n = 0; n < kPaintPassCount; ++n) {
            pass(source.data(), destination.data(), edges.data(), kCanvasWidth, kCanvasHeight,
                 PaintPassThreshold(n), random);
        }
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
}

void BM_OilPaint(benchmark::State& state) {
    RunPaintEffect(state, OilPaint);
}
void BM_WaterPaint(benchmark::State& state) {
    RunPaintEffect(state, WaterPaint);
}
void BM_WaxPaint(benchmark::State& state) {
    RunPaintEffect(state, WaxPaint);
}
BENCHMARK(BM_OilPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WaterPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WaxPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
