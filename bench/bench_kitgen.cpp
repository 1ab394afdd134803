// The kit generator runs in every build: designing the kit and encoding all of its files.
#include <benchmark/benchmark.h>

#include "kg_kit.h"
#include "kg_output.h"
#include "kg_painter.h"
#ifdef KX_BENCH_GL
#include "bench_support.h"
#include "kg_glpainter.h"
#endif

static void BM_BuildKit(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::kitgen::BuildKit());
    }
}
BENCHMARK(BM_BuildKit)->Unit(benchmark::kMillisecond);

static void BM_KitFiles(benchmark::State& state) {
    const auto kit = kx::kitgen::BuildKit();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::kitgen::KitFiles(kit));
    }
}
BENCHMARK(BM_KitFiles)->Unit(benchmark::kMillisecond);

// The pictures alone, as the build draws them: in software, and through the renderer headless.
static void BM_KitPicturesSoftware(benchmark::State& state) {
    const auto kit = kx::kitgen::BuildKit();
    kx::kitgen::TSoftwarePartPainter painter;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::kitgen::KitPictures(kit, painter));
    }
}
BENCHMARK(BM_KitPicturesSoftware)->Unit(benchmark::kMillisecond);

#ifdef KX_BENCH_GL
static void BM_KitPicturesRenderer(benchmark::State& state) {
    const auto kit = kx::kitgen::BuildKit();
    kxbench::TScratch dir;
    if (!kx::kitgen::WriteKitFiles(kx::kitgen::KitDataFiles(kit), dir.Path())) {
        state.SkipWithError("cannot write the kit");
        return;
    }
    kx::kitgen::TGlPartPainter painter(dir.Path());
    if (!painter.Valid()) {
        state.SkipWithError(painter.Error().c_str());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::kitgen::KitPictures(kit, painter));
    }
}
BENCHMARK(BM_KitPicturesRenderer)->Unit(benchmark::kMillisecond)->Iterations(2);
#endif
