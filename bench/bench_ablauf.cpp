// Sequence programs: how many blocks a runner executes per second in a tight loop of variable
// blocks, and how long starting and stopping a program with 16 start blocks takes.
#include <benchmark/benchmark.h>

#include <chrono>

#include "sequence/u_ablauf.h"

using namespace kx;

namespace {

void Join(TAblauf& p, TBlock& from, int output, TBlock& to) {
    p.Connect(from, TAblauf::ConnectorPos(from, output), to, TAblauf::ConnectorPos(to, 1));
}

/// Start, variable 2 := n, variable 1 := 0, then variable 1 + 1 and variable 1 < variable 2
/// in a loop, end: 2n + 3 blocks.
void CountingProgram(TAblauf& p, int32_t n) {
    TBlock& start = p.AddBlock(TBlockKind::Start, 200, 40);
    auto& limit = static_cast<TBlockSetVar&>(p.AddBlock(TBlockKind::SetVar, 200, 120));
    limit.Variable = 2;
    limit.Wert = n;
    auto& zero = static_cast<TBlockSetVar&>(p.AddBlock(TBlockKind::SetVar, 200, 200));
    zero.Variable = 1;
    TBlock& inc = p.AddBlock(TBlockKind::IncVar, 200, 280);
    auto& cmp = static_cast<TBlockVariable&>(p.AddBlock(TBlockKind::Variable, 200, 360));
    cmp.Art = 1;
    cmp.Var2 = 2;
    TBlock& end = p.AddBlock(TBlockKind::Ende, 450, 440);
    Join(p, start, 1, limit);
    Join(p, limit, kOutYes, zero);
    Join(p, zero, kOutYes, inc);
    Join(p, inc, kOutYes, cmp);
    Join(p, cmp, kOutYes, inc);
    Join(p, cmp, kOutNo, end);
}

void BM_RunnerBlocksPerSecond(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    TAblauf program;
    CountingProgram(program, n);
    int64_t blocks = 0;
    for (auto _ : state) {
        program.StartProgram();
        program.Run()->WaitUntilFinished(600000);
        program.StopProgram();
        blocks += 2 * int64_t(n) + 3;
    }
    state.counters["blocks/s"] =
        benchmark::Counter(static_cast<double>(blocks), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RunnerBlocksPerSecond)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StartAndStopSixteenRunners(benchmark::State& state) {
    // Sixteen branches, each waiting in a pause of 0 ms, which lasts until the stop.
    TAblauf program;
    for (int i = 0; i < 16; ++i) {
        TBlock& start = program.AddBlock(TBlockKind::Start, 200 + 200 * i, 40);
        auto& pause =
            static_cast<TBlockPause&>(program.AddBlock(TBlockKind::Pause, 200 + 200 * i, 120));
        pause.Intervall = 0;
        Join(program, start, 1, pause);
    }
    double startMs = 0, stopMs = 0, worstStart = 0, worstStop = 0;
    using TClock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto t0 = TClock::now();
        program.StartProgram();
        const auto t1 = TClock::now();
        program.StopProgram();
        const auto t2 = TClock::now();
        const double a = std::chrono::duration<double, std::milli>(t1 - t0).count();
        const double b = std::chrono::duration<double, std::milli>(t2 - t1).count();
        startMs += a;
        stopMs += b;
        worstStart = std::max(worstStart, a);
        worstStop = std::max(worstStop, b);
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["start_ms"] = startMs / runs;
    state.counters["stop_ms"] = stopMs / runs;
    state.counters["worst_start_ms"] = worstStart;
    state.counters["worst_stop_ms"] = worstStop;
}
BENCHMARK(BM_StartAndStopSixteenRunners)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
