// Number formatting and parsing: the hot path of every model file.
#include <benchmark/benchmark.h>

#include "foundation/u_text.h"

static void BM_FormatFloat(benchmark::State& state) {
    float v = 0.123456f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::FormatFloat(v));
        v += 1.0f;
    }
}
BENCHMARK(BM_FormatFloat);

static void BM_ParseFloat(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::ParseFloat("-12,3456001281738"));
    }
}
BENCHMARK(BM_ParseFloat);
