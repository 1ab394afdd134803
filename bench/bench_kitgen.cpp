// The kit generator runs in every build: designing the kit and encoding all of its files.
#include <benchmark/benchmark.h>

#include "kg_kit.h"
#include "kg_output.h"

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
